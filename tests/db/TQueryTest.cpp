#include "common/TempDir.h"
#include "db/Exception.h"
#include "db/Session.h"
#include "db/TQuery.h"

#include <QFile>
#include <QSqlRecord>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

QString UniqueSessionName() {
  static int n = 0;
  return QStringLiteral("test-%1").arg(++n);
}

/// A query on its own session over a fresh SQLite file.
class TQueryTest : public ::testing::Test {
 protected:
  DatabaseAlias Alias() const {
    DatabaseAlias alias;
    alias.database = dir_.File(QStringLiteral("test.db"));
    return alias;
  }

  void Exec(const QStringList& lines) {
    qry_.AssignLines(lines);
    qry_.ExecSQL();
  }
  void Open(const QStringList& lines) {
    qry_.AssignLines(lines);
    qry_.Open();
  }
  /// A value read afresh, on a connection of its own.
  QVariant Scalar(const QString& sql) {
    TSession other(UniqueSessionName(), [this] { return Alias(); });
    TQuery q(QStringLiteral("check"), &other);
    q.AssignLines({sql});
    q.Open();
    return q.ResultModel()->data(q.ResultModel()->index(0, 0));
  }

  ScopedTempDir dir_;
  TSession session_{UniqueSessionName(), [this] { return Alias(); }};
  TQuery qry_{QStringLiteral("qry"), &session_};
};

TEST_F(TQueryTest, TextIsEachLineWithCrLf) {
  EXPECT_EQ(qry_.Text(), QString());
  qry_.AssignLines({QStringLiteral("SELECT 1"), QString(), QStringLiteral("FROM t")});
  EXPECT_EQ(qry_.Text(), QStringLiteral("SELECT 1\r\n\r\nFROM t\r\n"));
  EXPECT_EQ(qry_.LineCount(), 3);
  qry_.SetLine(2, QStringLiteral("WHERE 1"));
  EXPECT_EQ(qry_.Line(2), QStringLiteral("WHERE 1"));
}

struct LineChange {
  const char* what;
  void (*change)(TQuery&);
  bool staysOpen;
};

void PrintTo(const LineChange& c, std::ostream* os) { *os << ::testing::PrintToString(std::string(c.what)); }

class LineChangeTest : public TQueryTest, public ::testing::WithParamInterface<LineChange> {};

TEST_P(LineChangeTest, ClosesUnlessNothingChanges) {
  Open({QStringLiteral("SELECT 1 AS a"), QStringLiteral("UNION ALL SELECT 2")});
  ASSERT_TRUE(qry_.Active());
  GetParam().change(qry_);
  EXPECT_EQ(qry_.Active(), GetParam().staysOpen) << GetParam().what;
  EXPECT_EQ(qry_.ResultModel()->rowCount(), GetParam().staysOpen ? 2 : 0) << GetParam().what;
}

const LineChange kLineChanges[] = {
    {"assign equal lines",
     [](TQuery& q) {
       q.AssignLines({QStringLiteral("SELECT 1 AS a"), QStringLiteral("UNION ALL SELECT 2")});
     },
     true},
    {"assign other lines", [](TQuery& q) { q.AssignLines({QStringLiteral("SELECT 1")}); }, false},
    {"rewrite a line with the same text", [](TQuery& q) { q.SetLine(0, q.Line(0)); }, false},
    {"clear the lines", [](TQuery& q) { q.ClearLines(); }, false},
    {"close", [](TQuery& q) { q.Close(); }, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineChangeTest, ::testing::ValuesIn(kLineChanges));

TEST_F(TQueryTest, ConnectsAtTheFirstExecuteOnlyAndStaysConnected) {
  qry_.Close();
  qry_.AssignLines({QStringLiteral("CREATE TEMP TABLE t(a)")});
  qry_.SetLine(0, qry_.Line(0));
  qry_.ClearLines();
  qry_.AssignLines({QStringLiteral("CREATE TEMP TABLE t(a)")});
  EXPECT_FALSE(session_.Connected());
  EXPECT_FALSE(QFile::exists(dir_.File(QStringLiteral("test.db"))));

  qry_.ExecSQL();
  EXPECT_TRUE(session_.Connected());
  EXPECT_TRUE(QFile::exists(dir_.File(QStringLiteral("test.db"))));
  // A temporary table lives only as long as its connection.
  Exec({QStringLiteral("INSERT INTO t VALUES (1)")});
  TQuery another(QStringLiteral("another"), &session_);
  another.AssignLines({QStringLiteral("SELECT count(*) FROM t")});
  another.Open();
  EXPECT_EQ(another.ResultModel()->data(another.ResultModel()->index(0, 0)).toInt(), 1);
}

TEST_F(TQueryTest, ConnectsAtTheFirstOpen) {
  Open({QStringLiteral("SELECT 1")});
  EXPECT_TRUE(session_.Connected());
}

TEST_F(TQueryTest, DefinesInsertsAndSelects) {
  Exec({QStringLiteral("CREATE TABLE t (id INTEGER,"), QStringLiteral(" name TEXT)")});
  Exec({QStringLiteral("INSERT INTO t VALUES (2009, 'ab')")});
  Open({QStringLiteral("SELECT id, name FROM t")});
  QSqlQueryModel* model = qry_.ResultModel();
  ASSERT_EQ(model->rowCount(), 1);
  EXPECT_EQ(model->record().fieldName(1), QStringLiteral("name"));
  EXPECT_EQ(model->data(model->index(0, 0)).toInt(), 2009);
  EXPECT_EQ(model->data(model->index(0, 1)).toString(), QStringLiteral("ab"));
}

TEST_F(TQueryTest, ExecuteOfASelectRunsWithoutOpening) {
  Exec({QStringLiteral("SELECT 1")});
  EXPECT_FALSE(qry_.Active());
  EXPECT_EQ(qry_.ResultModel()->rowCount(), 0);
}

TEST_F(TQueryTest, OpenFetchesRowsAsTheViewAsks) {
  Exec({QStringLiteral("CREATE TABLE t (n INTEGER)")});
  Exec({QStringLiteral("WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 1000)"),
        QStringLiteral("INSERT INTO t SELECT n FROM c")});
  Open({QStringLiteral("SELECT n FROM t ORDER BY n")});
  QSqlQueryModel* model = qry_.ResultModel();
  EXPECT_LT(model->rowCount(), 1000);
  ASSERT_TRUE(model->canFetchMore());
  while (model->canFetchMore()) model->fetchMore();
  EXPECT_EQ(model->rowCount(), 1000);
  EXPECT_EQ(model->data(model->index(999, 0)).toInt(), 1000);
}

TEST_F(TQueryTest, OpenOfAnUpdateCarriesItOutAndHasNoCursor) {
  Exec({QStringLiteral("CREATE TABLE t (a INTEGER)")});
  Exec({QStringLiteral("INSERT INTO t VALUES (1)")});
  Open({QStringLiteral("SELECT a FROM t")});
  qry_.AssignLines({QStringLiteral("UPDATE t SET a = 2")});
  try {
    qry_.Open();
    FAIL() << "opened";
  } catch (const ENoResultSet& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Error creating cursor handle"));
  }
  EXPECT_FALSE(qry_.Active());
  EXPECT_EQ(Scalar(QStringLiteral("SELECT a FROM t")).toInt(), 2);
}

TEST_F(TQueryTest, MarkerFailsWithoutRunningAnything) {
  Exec({QStringLiteral("CREATE TABLE t (a INTEGER)")});
  for (bool open : {false, true}) {
    qry_.AssignLines({QStringLiteral("INSERT INTO t VALUES (:x)")});
    try {
      open ? qry_.Open() : qry_.ExecSQL();
      FAIL() << "ran";
    } catch (const EDBEngineError& e) {
      FAIL() << e.what();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("qry: No value for parameter 'x'"));
    }
  }
  EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 0);
}

TEST_F(TQueryTest, MarkerInAStatementTheDatabaseRejectsGivesItsError) {
  qry_.AssignLines({QStringLiteral("SELEC :x")});
  try {
    qry_.ExecSQL();
    FAIL() << "ran";
  } catch (const EDBEngineError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("syntax error"))) << e.what();
  }
}

TEST_F(TQueryTest, DoubleColonSendsOneColon) {
  Open({QStringLiteral("SELECT 1 AS [a::b], ':x::y' AS c")});
  EXPECT_EQ(qry_.ResultModel()->record().fieldName(0), QStringLiteral("a:b"));
  EXPECT_EQ(qry_.ResultModel()->data(qry_.ResultModel()->index(0, 1)).toString(), QStringLiteral(":x::y"));
}

TEST_F(TQueryTest, NoLinesFailsAfterConnecting) {
  for (bool open : {false, true}) {
    try {
      open ? qry_.Open() : qry_.ExecSQL();
      FAIL() << "ran";
    } catch (const EDBEngineError& e) {
      FAIL() << e.what();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("qry: No SQL statement available"));
    }
    EXPECT_TRUE(session_.Connected());
  }
}

TEST_F(TQueryTest, SyntaxErrorIsTheEnginesOnTwoLinesAndLeavesItClosed) {
  Open({QStringLiteral("SELECT 1")});
  qry_.AssignLines({QStringLiteral("SELEC 1")});
  try {
    qry_.Open();
    FAIL() << "opened";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Unable to execute statement\r\nnear \"SELEC\": syntax error"));
    EXPECT_EQ(e.NativeCode(), QStringLiteral("1"));
    EXPECT_EQ(e.Query(), QStringLiteral("SELEC 1\r\n"));
  }
  EXPECT_FALSE(qry_.Active());
  EXPECT_EQ(qry_.ResultModel()->rowCount(), 0);
}

TEST(TQueryDriver, MissingDriverFailsEveryAttemptWithTheLoadMessage) {
  ScopedTempDir dir;
  TSession session(UniqueSessionName(), [] {
    DatabaseAlias alias;
    alias.driver = QStringLiteral("QNOSUCHDRIVER");
    return alias;
  });
  TQuery qry(QStringLiteral("qry"), &session);
  const QString expected =
      QStringLiteral("An error occurred while attempting to initialize the Borland Database Engine (error $2108)");
  for (int attempt = 0; attempt < 2; ++attempt) {
    for (bool open : {false, true}) {
      try {
        open ? qry.Open() : qry.ExecSQL();  // no lines: loading comes first
        FAIL() << "ran";
      } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.Message(), expected);
        EXPECT_EQ(e.ErrorCode(), 0x2108);
      }
      EXPECT_FALSE(session.Connected());
    }
  }
}

TEST(TQueryDefault, DefaultSessionMakesDefaultDbInTheCurrentDirectory) {
  QStandardPaths::setTestModeEnabled(true);  // no alias file of the machine's user
  ScopedTempDir dir;
  EXPECT_EQ(TSession::Default().Name(), QStringLiteral("Default"));
  {
    TQuery qry;
    EXPECT_EQ(qry.Name(), QStringLiteral("qry"));
    qry.AssignLines({QStringLiteral("CREATE TABLE t (a INTEGER)")});
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("default.db"))));
    qry.ExecSQL();
  }
  EXPECT_TRUE(QFile::exists(dir.File(QStringLiteral("default.db"))));
  TSession::Default().Forget();
  QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
