// The batch cases that depend on the database, run once per configured database: the
// SQLite file, PostgreSQL through QPSQL, and PostgreSQL through ODBC. The session reads the
// layer's own alias file, as the program does.

#include "batch/BatchRun.h"

#include "batch/TimeStamp.h"
#include "common/AliasHome.h"
#include "common/QtPrint.h"
#include "common/ScriptedWindow.h"
#include "common/TempDir.h"
#include "common/TestBackends.h"
#include "db/Session.h"
#include "db/TQuery.h"

#include <QSqlQueryModel>
#include <QSqlRecord>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QDateTime kMoment(QDate(2026, 3, 5), QTime(9, 7, 59));
const QString kLogName = QStringLiteral("20260305_0907.txt");

class ServerBatch : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    const QString missing = BackendMissing(GetParam().kind);
    if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    StopRequested = false;
    const QString sqliteFile = dir_.File(QStringLiteral("test.db"));
    home_.Write(DefaultAliasIni(GetParam().kind, sqliteFile));
    data = std::make_unique<DirectConnection>(GetParam().kind, sqliteFile);
    table = UniqueTable("batch");
    session_ = std::make_unique<TSession>(QStringLiteral("server-batch-") + table);
    qry = std::make_unique<TQuery>(QStringLiteral("qry"), session_.get());
  }
  void TearDown() override {
    qry.reset();
    session_.reset();
    if (data) data->Exec(QStringLiteral("DROP TABLE IF EXISTS ") + table);
  }

  /// The template with every "%T" standing for this test's table.
  void Template(const QString& line) { window.lines = QStringList{QString(line).replace(QLatin1String("%T"), table)}; }
  void Sql(const QString& sql) { data->Exec(QString(sql).replace(QLatin1String("%T"), table)); }
  QStringList Rows(const QString& sql) { return data->Rows(QString(sql).replace(QLatin1String("%T"), table)); }

  void Run() {
    RunBatch(window, *qry, [] { return kMoment; });
  }
  QByteArray LogBytes() const { return dir_.Read(kLogName); }
  QStringList LogLines() const { return QString::fromUtf8(LogBytes()).split(QStringLiteral("\r\n")); }
  QStringList ErrorLines() const {
    QStringList errors;
    for (const QString& line : LogLines())
      if (line.startsWith(QLatin1String("** ERROR "))) errors << line;
    return errors;
  }
  void Counters(int to1, int to2, int to3) {
    window.SetCounter(1, 1, to1, 1);
    window.SetCounter(2, 1, to2, 1);
    window.SetCounter(3, 1, to3, 1);
  }

  ScopedTempDir dir_;
  AliasHome home_;
  std::unique_ptr<DirectConnection> data;
  std::unique_ptr<TSession> session_;
  std::unique_ptr<TQuery> qry;
  QString table;
  ScriptedWindow window;
};

TEST_P(ServerBatch, DefaultsGive360Statements) {
  Sql(QStringLiteral("CREATE TABLE %T(c1 INTEGER, c2 INTEGER, c3 INTEGER)"));
  Template(QStringLiteral("INSERT INTO %T VALUES($LICZ1$, $LICZ2$, $LICZ3$)"));
  Run();

  QStringList stored, counterLines;
  for (int c1 = 2009; c1 <= 2011; ++c1)
    for (int c2 = 1; c2 <= 12; ++c2)
      for (int c3 = 1; c3 <= 10; ++c3) {
        stored << QStringLiteral("%1 %2 %3").arg(c1).arg(c2).arg(c3);
        counterLines << QStringLiteral("%1 %2 %3").arg(c1).arg(c2, 2, 10, QLatin1Char('0')).arg(c3);
      }
  EXPECT_EQ(Rows(QStringLiteral("SELECT c1, c2, c3 FROM %T ORDER BY c1, c2, c3")), stored);
  // Each counter line is followed by its statement in the log, in loop order.
  const QStringList log = LogLines();
  QStringList logged;
  for (int i = 0; i + 1 < log.size(); ++i)
    if (log[i + 1].startsWith(QLatin1String("INSERT INTO "))) logged << log[i];
  EXPECT_EQ(logged, counterLines);
  EXPECT_TRUE(ErrorLines().isEmpty()) << ErrorLines().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(window.status, QStringLiteral("KONIEC"));
  EXPECT_TRUE(window.messages.isEmpty());
}

TEST_P(ServerBatch, ErrorsAreShownLoggedAndTheRunGoesOn) {
  Counters(1, 2, 3);
  Template(QStringLiteral("SELEC $LICZ3$"));
  window.boxes[ModeBox::Cichy] = false;
  Run();
  ASSERT_EQ(window.messages.size(), 6);
  EXPECT_EQ(ErrorLines().size(), 6);
  EXPECT_TRUE(LogLines().contains(QStringLiteral("KONIEC ") + TimeText(kMoment.time())));
  const QString head = QStringLiteral("Jest bład w 1 1 1\r\n");
  ASSERT_TRUE(window.messages.first().startsWith(head)) << window.messages.first().toStdString();
  const QString message = window.messages.first().mid(head.size());
  EXPECT_TRUE(message.contains(QLatin1String("syntax error"), Qt::CaseInsensitive)) << message.toStdString();
  EXPECT_TRUE(LogBytes().contains((QStringLiteral("** ERROR ") + message + QStringLiteral("\r\n \r\n")).toUtf8()));
}

// A failed statement must not spoil the ones after it (a server transaction left aborted would).
TEST_P(ServerBatch, StatementsAfterAFailedOneAreCarriedOut) {
  Sql(QStringLiteral("CREATE TABLE %T(n INTEGER CHECK (n <> 2))"));
  Counters(1, 1, 4);
  Template(QStringLiteral("INSERT INTO %T VALUES($LICZ3$)"));
  Run();
  EXPECT_EQ(ErrorLines().size(), 1);
  EXPECT_EQ(Rows(QStringLiteral("SELECT n FROM %T ORDER BY n")),
            (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("4")}));
}

TEST_P(ServerBatch, QueryModeLeavesTheLastResultSetForTheGrid) {
  Sql(QStringLiteral("CREATE TABLE %T(n INTEGER)"));
  QStringList values;
  for (int n = 1; n <= 300; ++n) values << QStringLiteral("(%1)").arg(n);
  Sql(QStringLiteral("INSERT INTO %T VALUES ") + values.join(QLatin1Char(',')));
  Counters(1, 1, 3);
  window.boxes[ModeBox::ExecSQL] = false;
  Template(QStringLiteral("SELECT n, 'r$LICZ3$' AS w FROM %T WHERE n > $LICZ3$ ORDER BY n"));
  Run();

  EXPECT_TRUE(ErrorLines().isEmpty()) << ErrorLines().join(QLatin1Char('\n')).toStdString();
  ASSERT_TRUE(qry->Active());
  EXPECT_TRUE(window.gridVisible);
  QSqlQueryModel* model = qry->ResultModel();
  while (model->canFetchMore()) model->fetchMore();  // the grid fetches in blocks as it scrolls
  ASSERT_EQ(model->rowCount(), 297);
  EXPECT_EQ(model->record().fieldName(0), QStringLiteral("n"));
  EXPECT_EQ(model->record().fieldName(1), QStringLiteral("w"));
  EXPECT_EQ(model->data(model->index(0, 0)).toInt(), 4);
  EXPECT_EQ(model->data(model->index(296, 0)).toInt(), 300);
  EXPECT_EQ(model->data(model->index(296, 1)).toString(), QStringLiteral("r3"));
}

TEST_P(ServerBatch, UpdateOpenedInQueryModeIsCarriedOutAndReported) {
  Sql(QStringLiteral("CREATE TABLE %T(n INTEGER)"));
  Sql(QStringLiteral("INSERT INTO %T VALUES(0)"));
  Counters(1, 1, 3);
  window.boxes[ModeBox::ExecSQL] = false;
  Template(QStringLiteral("UPDATE %T SET n = n + $LICZ3$"));
  Run();
  EXPECT_EQ(Rows(QStringLiteral("SELECT n FROM %T")), QStringList{QStringLiteral("6")});
  EXPECT_EQ(ErrorLines(), QStringList(3, QStringLiteral("** ERROR Error creating cursor handle")));
  EXPECT_FALSE(qry->Active());
  EXPECT_TRUE(window.gridVisible);
}

TEST_P(ServerBatch, ColonsStartParametersUnlessDoubledOrQuoted) {
  struct Case {
    const char* line;
    const char* error;  // nullptr: the statement runs
    const char* stored;
    bool serverOnly;  // PostgreSQL's cast syntax
  } const cases[] = {
      {"INSERT INTO %T VALUES(:abc)", "qry: No value for parameter 'abc'", nullptr, false},
      {"INSERT INTO %T VALUES(:first) -- :second", "qry: No value for parameter 'first'", nullptr, false},
      {"INSERT INTO %T VALUES('$LICZ3$') -- ratio::1", nullptr, "1", false},
      {"INSERT INTO %T VALUES('a:b')", nullptr, "a:b", false},
      {"INSERT INTO %T VALUES('a::b')", nullptr, "a::b", false},
      {"INSERT INTO %T VALUES(('x' || $LICZ3$)::::text)", nullptr, "x1", true},
  };
  Sql(QStringLiteral("CREATE TABLE %T(c TEXT)"));
  Counters(1, 1, 1);
  for (const Case& c : cases) {
    if (c.serverOnly && GetParam().kind == BackendKind::Sqlite) continue;
    Sql(QStringLiteral("DELETE FROM %T"));
    Template(QString::fromUtf8(c.line));
    Run();
    if (c.error) {
      EXPECT_EQ(ErrorLines(), QStringList{QStringLiteral("** ERROR ") + QString::fromUtf8(c.error)}) << c.line;
      EXPECT_TRUE(Rows(QStringLiteral("SELECT c FROM %T")).isEmpty()) << c.line;
    } else {
      EXPECT_TRUE(ErrorLines().isEmpty()) << c.line << ": " << ErrorLines().join(QLatin1Char('|')).toStdString();
      EXPECT_EQ(Rows(QStringLiteral("SELECT c FROM %T")), QStringList{QString::fromUtf8(c.stored)}) << c.line;
    }
  }
}

// A mistake in the alias file is reported by each statement like any statement error, and a
// mended file takes effect at the next statement: no fall-back to some other database.
TEST(BrokenAlias, FailsEveryStatementUntilMended) {
  ScopedTempDir dir;
  AliasHome home;
  const QString file = dir.File(QStringLiteral("test.db"));
  home.Write(DefaultAliasIni(BackendKind::Sqlite, file) + "Port=5432x\n");
  DirectConnection data(BackendKind::Sqlite, file);
  data.Exec(QStringLiteral("CREATE TABLE t(n INTEGER)"));
  TSession session(QStringLiteral("broken-alias"));
  TQuery qry(QStringLiteral("qry"), &session);
  ScriptedWindow window;
  window.SetCounter(1, 1, 1, 1);
  window.SetCounter(2, 1, 1, 1);
  window.SetCounter(3, 1, 4, 1);
  window.boxes[ModeBox::Cichy] = false;
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  window.onYield = [&](int n) {
    if (n == 3) home.Write(DefaultAliasIni(BackendKind::Sqlite, file));
  };
  RunBatch(window, qry, [] { return kMoment; });

  ASSERT_EQ(window.messages.size(), 2);
  for (const QString& m : window.messages) {
    EXPECT_TRUE(m.contains(home.FilePath())) << m.toStdString();
    EXPECT_TRUE(m.contains(QLatin1String("[Default] Port"))) << m.toStdString();
  }
  EXPECT_EQ(data.Rows(QStringLiteral("SELECT n FROM t ORDER BY n")),
            (QStringList{QStringLiteral("3"), QStringLiteral("4")}));
  EXPECT_EQ(window.status, QStringLiteral("KONIEC"));
}

INSTANTIATE_TEST_SUITE_P(Databases, ServerBatch, ::testing::ValuesIn(kAllBackends),
                         [](const ::testing::TestParamInfo<Backend>& info) { return std::string(info.param.name); });

}  // namespace
