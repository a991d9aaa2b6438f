#pragma once
// The layer's "Database Login" dialog, and the provider that shows it when a database
// asks for a user name and password.

#include "db/Credentials.h"

#include <QDialog>

class QLineEdit;

class LoginDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxChars = 31;

  LoginDialog(const QString& databaseName, const QString& user, QWidget* parent = nullptr);
  QString User() const;
  QString Password() const;

  QLineEdit* userEdit;
  QLineEdit* passwordEdit;
};

/// Asks through LoginDialog; installed for the program's life at start.
class LoginDialogProvider : public CredentialsProvider {
 public:
  bool AskLogin(const QString& databaseName, QString& user, QString& password) override;
};
