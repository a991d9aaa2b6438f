// The server going away in the middle of a run, and coming back. The test owns a cluster
// of its own, so stopping it disturbs no other test.

#include "batch/BatchRun.h"

#include "common/AliasHome.h"
#include "common/PgEnv.h"
#include "common/ScriptedWindow.h"
#include "common/TempDir.h"
#include "db/Session.h"
#include "db/TQuery.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDateTime kMoment(QDate(2026, 3, 5), QTime(9, 7, 59));

QString ClusterScript() {
  return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../scripts/pg-cluster");
}

// scripts/pg-cluster on a directory of this test's own.
class PrivateCluster {
 public:
  ~PrivateCluster() { Call(QStringLiteral("remove")); }
  QString Call(const QString& command) {
    QProcess p;
    p.start(ClusterScript(), {command, dir_.path()});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
      ADD_FAILURE() << "pg-cluster " << command.toStdString() << ": " << p.readAllStandardError().toStdString();
      return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
  }

 private:
  QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/liczniki-pg-XXXXXX")};
};

// The test server seen through a connection of the test's own.
class ServerRows {
 public:
  explicit ServerRows(const PgEnv& pg) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kName);
    db.setHostName(pg.host);
    db.setPort(pg.port);
    db.setDatabaseName(pg.dbname);
    db.setUserName(pg.user);
    db.setPassword(pg.password);
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
  }
  ~ServerRows() {
    QSqlDatabase::database(kName, false).close();
    QSqlDatabase::removeDatabase(kName);
  }
  void Exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(kName, false));
    EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
  }
  QStringList Column(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(kName, false));
    EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    QStringList values;
    while (q.next()) values << q.value(0).toString();
    return values;
  }

 private:
  const QString kName = QStringLiteral("server-stopped-check");
};

TEST(ServerStopped, StatementsFailUntilItIsBackAndTheRunEndsNormally) {
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) GTEST_SKIP() << "Qt SQL driver QPSQL is not installed";
  if (!QFileInfo(QStringLiteral("/usr/lib/postgresql/15/bin/initdb")).isExecutable())
    GTEST_SKIP() << "PostgreSQL 15 server is not installed";

  PrivateCluster cluster;
  const std::optional<PgEnv> pg = ParsePgEnv(cluster.Call(QStringLiteral("start")));
  ASSERT_TRUE(pg);
  ScopedTempDir dir;
  AliasHome home;
  home.Write(QStringLiteral("[Default]\nDriver=QPSQL\nHost=%1\nPort=%2\nDatabase=%3\nUser=%4\nPassword=%5\n")
                 .arg(pg->host)
                 .arg(pg->port)
                 .arg(pg->dbname, pg->user, pg->password)
                 .toUtf8());

  ServerRows(*pg).Exec(QStringLiteral("CREATE TABLE t(n INTEGER)"));

  TSession session(QStringLiteral("server-stopped"));
  TQuery qry(QStringLiteral("qry"), &session);
  ScriptedWindow window;
  window.SetCounter(1, 1, 1, 1);
  window.SetCounter(2, 1, 1, 1);
  window.SetCounter(3, 1, 6, 1);
  window.boxes[ModeBox::Cichy] = true;
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  // Yield n comes right before statement n: the server is down for 3 and 4, back for 5 and 6.
  window.onYield = [&cluster](int n) {
    if (n == 3) cluster.Call(QStringLiteral("stop"));
    if (n == 5) cluster.Call(QStringLiteral("start"));
  };
  RunBatch(window, qry, [] { return kMoment; });

  const QString text = QString::fromUtf8(dir.Read(QStringLiteral("20260305_0907.txt")));
  QStringList statements, errors;
  int ends = 0;
  for (const QString& line : text.split(QStringLiteral("\r\n"))) {
    if (line.startsWith(QLatin1String("INSERT INTO t VALUES("))) statements << line.mid(21, 1);
    if (line.startsWith(QLatin1String("KONIEC "))) ++ends;
  }
  // An error's message may span lines; the separator line ends it.
  for (int at = text.indexOf(QLatin1String("** ERROR ")); at >= 0;
       at = text.indexOf(QLatin1String("** ERROR "), at + 1))
    errors << text.mid(at, text.indexOf(QLatin1String("\r\n \r\n"), at) - at);
  EXPECT_EQ(statements, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                                     QStringLiteral("5"), QStringLiteral("6")}));
  ASSERT_EQ(errors.size(), 2) << errors.join(QLatin1Char('\n')).toStdString();
  // The engine's own words about the lost or refused connection, not a bare code.
  for (const QString& error : errors)
    EXPECT_TRUE(error.contains(QLatin1String("connection"), Qt::CaseInsensitive)) << error.toStdString();
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(window.status, QStringLiteral("KONIEC"));
  EXPECT_EQ(ServerRows(*pg).Column(QStringLiteral("SELECT n FROM t ORDER BY n")),
            (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("6")}));
}

}  // namespace
