#include "common/TestBackends.h"

#include "common/PgEnv.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <gtest/gtest.h>

namespace {

const char* DriverOf(BackendKind kind) {
  switch (kind) {
    case BackendKind::Sqlite: return "QSQLITE";
    case BackendKind::Postgres: return "QPSQL";
    case BackendKind::Odbc: return "QODBC";
  }
  return "";
}

}  // namespace

QString BackendMissing(BackendKind kind) {
  if (!QSqlDatabase::isDriverAvailable(QLatin1String(DriverOf(kind))))
    return QStringLiteral("Qt SQL driver %1 is not installed").arg(QLatin1String(DriverOf(kind)));
  if (kind == BackendKind::Sqlite) return {};
  if (!TestPg()) return QStringLiteral("LICZNIKI_TEST_PG names no server (scripts/test starts one)");
  if (kind == BackendKind::Odbc && qEnvironmentVariableIsEmpty("LICZNIKI_TEST_ODBC_DSN"))
    return QStringLiteral("LICZNIKI_TEST_ODBC_DSN names no ODBC data source");
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
    return QStringLiteral("Qt SQL driver QPSQL (for setting up the server's data) is not installed");
  return {};
}

QByteArray DefaultAliasIni(BackendKind kind, const QString& sqliteFile, bool withPassword) {
  QByteArray ini = "[Default]\nDriver=" + QByteArray(DriverOf(kind)) + "\n";
  if (kind == BackendKind::Sqlite) return ini + "Database=" + sqliteFile.toUtf8() + "\n";
  const PgEnv pg = TestPg().value_or(PgEnv{});
  if (kind == BackendKind::Postgres) {
    ini += "Database=" + pg.dbname.toUtf8() + "\nHost=" + pg.host.toUtf8() + "\nPort=" + QByteArray::number(pg.port) +
           "\n";
  } else {
    // The data source carries server, port and database; the alias only names it.
    ini += "Database=" + qgetenv("LICZNIKI_TEST_ODBC_DSN") + "\n";
  }
  ini += "User=" + pg.user.toUtf8() + "\n";
  if (withPassword) ini += "Password=" + pg.password.toUtf8() + "\n";
  return ini;
}

DirectConnection::DirectConnection(BackendKind kind, const QString& sqliteFile)
    : connection_(QStringLiteral("direct-%1").arg(reinterpret_cast<quintptr>(this))) {
  QSqlDatabase db;
  if (kind == BackendKind::Sqlite) {
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(sqliteFile);
  } else {
    const PgEnv pg = TestPg().value_or(PgEnv{});
    db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    db.setHostName(pg.host);
    db.setPort(pg.port);
    db.setUserName(pg.user);
    db.setPassword(pg.password);
    db.setDatabaseName(pg.dbname);
  }
  EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
}

DirectConnection::~DirectConnection() {
  QSqlDatabase::database(connection_, false).close();
  QSqlDatabase::removeDatabase(connection_);
}

void DirectConnection::Exec(const QString& sql) {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

QStringList DirectConnection::Rows(const QString& sql) {
  QSqlQuery q(QSqlDatabase::database(connection_, false));
  QStringList rows;
  if (!q.exec(sql)) {
    ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
    return rows;
  }
  while (q.next()) {
    QStringList fields;
    for (int i = 0; i < q.record().count(); ++i) fields << q.value(i).toString();
    rows << fields.join(QLatin1Char(' '));
  }
  return rows;
}

QString UniqueTable(const char* stem) {
  static std::atomic<int> serial{0};
  return QStringLiteral("%1_%2_%3").arg(QLatin1String(stem)).arg(QCoreApplication::applicationPid()).arg(++serial);
}
