#pragma once
// How the layer asks the user for a login. The layer itself shows nothing: the
// application installs a provider that shows its dialogs.

#include <QString>

/// Asks the user for a user name and password for a database.
class CredentialsProvider {
 public:
  virtual ~CredentialsProvider() = default;
  /// Shows the modal "Database Login" dialog for databaseName, user prefilled.
  /// Returns false when the user cancelled; then the statement fails with the engine's error.
  virtual bool AskLogin(const QString& databaseName, QString& user, QString& password) = 0;
};
