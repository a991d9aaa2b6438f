#pragma once
// The layer's session: one connection to its default database, made by the first
// execute or open and kept for the program's life.

#include "db/DatabaseAlias.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

class CredentialsProvider;

/// A session of the data-access layer and its default database.
class TSession {
 public:
  using AliasLoader = std::function<DatabaseAlias()>;

  /// A session with its own Qt connection name; loader gives the default database's alias
  /// each time a connection is attempted (so a mended alias file takes effect).
  TSession(QString name, AliasLoader loader = LoadDefaultAlias);
  ~TSession();
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  /// The program-wide session named "Default".
  static TSession& Default();

  /// The open default database, connecting first when needed.
  /// Throws EDBEngineError (driver load failures, connection errors).
  QSqlDatabase& Database();
  /// True while a connection is open; never connects.
  bool Connected() const;
  /// Drops a connection that the server has lost, so that the next Database() reconnects.
  void Forget();

  const QString& Name() const { return name_; }

  /// The provider asked for credentials; null: a login request fails the statement.
  static void SetCredentialsProvider(CredentialsProvider* provider);
  static CredentialsProvider* Credentials();

 private:
  static void ForgetDefault();

  QString name_;
  QString connectionName_;
  AliasLoader loader_;
  QSqlDatabase db_;
};
