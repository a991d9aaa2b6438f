#include "db/Session.h"

#include "db/Credentials.h"
#include "db/EngineMessage.h"
#include "db/Exception.h"
#include "db/OdbcValue.h"

#include <QCoreApplication>
#include <QHash>

namespace {

constexpr int kEngineNotFound = 0x2108;
constexpr int kEngineLoadFailed = 0x2109;

CredentialsProvider* g_credentials = nullptr;

/// Logins typed by the user, kept for the program's life, by the database they were typed for.
QHash<QString, QPair<QString, QString>>& TypedLogins() {
  static QHash<QString, QPair<QString, QString>> logins;
  return logins;
}

QString LoginKey(const DatabaseAlias& alias) {
  return QStringList{alias.driver, alias.host, QString::number(alias.port), alias.database, alias.options, alias.user}
      .join(u'\x1f');
}

/// The server turned the login down for want of a (right) password, so asking the user can help.
bool AsksForPassword(const QSqlError& error) {
  const QString text = error.databaseText() + u' ' + error.driverText();
  return text.contains(QLatin1String("no password supplied")) ||
         text.contains(QLatin1String("password authentication failed"));
}

/// Qt's ODBC driver copies user and password into the connection string unquoted.
void SetLogin(QSqlDatabase& db, const QString& user, const QString& password) {
  const bool odbc = db.driverName() == QLatin1String("QODBC");
  db.setUserName(odbc ? OdbcValue(user) : user);
  db.setPassword(odbc ? OdbcValue(password) : password);
}

}  // namespace

TSession::TSession(QString name, AliasLoader loader)
    : name_(std::move(name)),
      connectionName_(QStringLiteral("liczniki-session-") + name_),
      loader_(std::move(loader)) {}

TSession::~TSession() { Forget(); }

TSession& TSession::Default() {
  // Qt's connection registry is gone by the time function statics are destroyed, so the
  // connection is closed while the application object still lives, and the session is
  // never destroyed after that.
  static TSession* session = [] {
    auto* s = new TSession(QStringLiteral("Default"));
    qAddPostRoutine(ForgetDefault);
    return s;
  }();
  return *session;
}

void TSession::ForgetDefault() { Default().Forget(); }

bool TSession::Connected() const { return db_.isValid() && db_.isOpen(); }

void TSession::Forget() {
  if (!db_.isValid()) return;
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase& TSession::Database() {
  if (Connected()) return db_;
  const DatabaseAlias alias = loader_();
  // The alias may have changed since the last attempt: always start from a fresh connection.
  Forget();
  if (!QSqlDatabase::isDriverAvailable(alias.driver))
    throw EDBEngineError(EngineLoadMessage(kEngineNotFound), kEngineNotFound);
  db_ = QSqlDatabase::addDatabase(alias.driver, connectionName_);
  if (!db_.isValid()) {
    Forget();
    throw EDBEngineError(EngineLoadMessage(kEngineLoadFailed), kEngineLoadFailed);
  }
  db_.setDatabaseName(alias.database);
  db_.setHostName(alias.host);
  db_.setPort(alias.port);
  db_.setConnectOptions(alias.options);

  const QString key = LoginKey(alias);
  const auto typed = TypedLogins().constFind(key);
  const bool hasTyped = typed != TypedLogins().constEnd();
  QString user = hasTyped ? typed->first : alias.user;
  SetLogin(db_, user, hasTyped ? typed->second : alias.password);
  if (db_.open()) return db_;

  const QSqlError refused = db_.lastError();
  if (!AsksForPassword(refused) || !g_credentials) throw EngineErrorFrom(refused);
  TypedLogins().remove(key);
  QString password;
  if (!g_credentials->AskLogin(alias.database, user, password)) throw EngineErrorFrom(refused);
  SetLogin(db_, user, password);
  if (!db_.open()) throw EngineErrorFrom(db_.lastError());
  TypedLogins().insert(key, {user, password});
  return db_;
}

void TSession::SetCredentialsProvider(CredentialsProvider* provider) { g_credentials = provider; }

CredentialsProvider* TSession::Credentials() { return g_credentials; }
