// The layer against a real PostgreSQL server; skipped unless LICZNIKI_TEST_PG names one.
#include "common/PgEnv.h"
#include "db/Credentials.h"
#include "db/Exception.h"
#include "db/Session.h"
#include "db/TQuery.h"

#include <QCoreApplication>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {

QString UniqueName(const char* prefix) {
  static int n = 0;
  return QStringLiteral("%1_%2_%3").arg(QLatin1String(prefix)).arg(QCoreApplication::applicationPid()).arg(++n);
}

DatabaseAlias AliasOf(const PgEnv& env) {
  DatabaseAlias alias;
  alias.driver = QStringLiteral("QPSQL");
  alias.host = env.host;
  alias.port = env.port;
  alias.user = env.user;
  alias.password = env.password;
  alias.database = env.dbname;
  return alias;
}

struct Failed {
  QString message;
  QString nativeCode;
  QString query;
};

/// What an execute or open failed with, when it failed with an E.
template <typename E>
Failed Failure(TQuery& qry, bool open) {
  try {
    open ? qry.Open() : qry.ExecSQL();
  } catch (const EDatabaseError& e) {
    const auto* engine = dynamic_cast<const EDBEngineError*>(&e);
    constexpr bool wantEngine = std::is_same_v<E, EDBEngineError>;
    EXPECT_TRUE(dynamic_cast<const E*>(&e) && (engine != nullptr) == wantEngine) << "another kind: " << e.what();
    return {e.Message(), engine ? engine->NativeCode() : QString(), engine ? engine->Query() : QString()};
  }
  ADD_FAILURE() << "no failure";
  return {};
}

/// A query on its own session, with a table of its own in the test database.
class PgQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::optional<PgEnv> env = TestPg();
    if (!env) GTEST_SKIP() << "LICZNIKI_TEST_PG is not set";
    alias_ = AliasOf(*env);
    session_ = std::make_unique<TSession>(UniqueName("pgsession"), [this] { return alias_; });
    qry_ = std::make_unique<TQuery>(QStringLiteral("qry"), session_.get());
    table_ = UniqueName("dbt");
    Exec({QStringLiteral("CREATE TABLE %1 (a integer)").arg(table_)});
  }
  void TearDown() override {
    if (!qry_) return;
    qry_.reset();
    Run({QStringLiteral("DROP TABLE IF EXISTS %1").arg(table_)}, false);
  }

  void Exec(const QStringList& lines) {
    qry_->AssignLines(lines);
    qry_->ExecSQL();
  }
  void Open(const QStringList& lines) {
    qry_->AssignLines(lines);
    qry_->Open();
  }
  /// Runs on a connection of its own; the first value of the result when open.
  QVariant Run(const QStringList& lines, bool open) {
    TSession other(UniqueName("pgcheck"), [this] { return alias_; });
    TQuery q(QStringLiteral("check"), &other);
    q.AssignLines(lines);
    open ? q.Open() : q.ExecSQL();
    return open ? q.ResultModel()->data(q.ResultModel()->index(0, 0)) : QVariant();
  }
  int Rows() { return Run({QStringLiteral("SELECT count(*) FROM %1").arg(table_)}, true).toInt(); }
  QVariant Cell(int row, int column) const {
    return qry_->ResultModel()->data(qry_->ResultModel()->index(row, column));
  }

  DatabaseAlias alias_;
  std::unique_ptr<TSession> session_;
  std::unique_ptr<TQuery> qry_;
  QString table_;
};

TEST_F(PgQueryTest, SeveralStatementsDefinitionsAndDoBlocksRunAsOneText) {
  Exec({QStringLiteral("CREATE TEMP TABLE x (b integer); INSERT INTO x VALUES (1);"),
        QStringLiteral("DO $$BEGIN INSERT INTO %1 SELECT b + 1 FROM x; END$$;").arg(table_),
        QStringLiteral("INSERT INTO %1 VALUES ('5'::::integer)").arg(table_)});
  EXPECT_EQ(Rows(), 2);
}

TEST_F(PgQueryTest, LaterStatementsFailureIsReportedInBothModesAndNothingStays) {
  for (bool open : {false, true}) {
    Open({QStringLiteral("SELECT 1")});
    qry_->AssignLines(
        {QStringLiteral("INSERT INTO %1 VALUES (7) RETURNING a;").arg(table_), QStringLiteral("SELECT 1 / 0")});
    const Failed e = Failure<EDBEngineError>(*qry_, open);
    EXPECT_EQ(e.nativeCode, QStringLiteral("22012")) << open;
    EXPECT_TRUE(e.message.contains(QStringLiteral("division by zero"))) << e.message.toStdString();
    EXPECT_FALSE(qry_->Active());
    EXPECT_EQ(qry_->ResultModel()->rowCount(), 0);
  }
  EXPECT_EQ(Rows(), 0);
}

TEST_F(PgQueryTest, OpenOfSeveralStatementsShowsTheFirstResultSet) {
  Open({QStringLiteral("SELECT g AS first FROM generate_series(1, 300) g;"), QStringLiteral("SELECT 8;")});
  ASSERT_TRUE(qry_->Active());
  while (qry_->ResultModel()->canFetchMore()) qry_->ResultModel()->fetchMore();
  EXPECT_EQ(qry_->ResultModel()->rowCount(), 300);
  EXPECT_EQ(qry_->ResultModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("first"));
  EXPECT_EQ(Cell(299, 0).toInt(), 300);
}

TEST_F(PgQueryTest, OpenOfOneStatementKeepsTheDriversResult) {
  // The server sends the whole result at once, so the model knows every row at open.
  Open({QStringLiteral("SELECT g FROM generate_series(1, 1000) g;")});
  EXPECT_EQ(qry_->ResultModel()->rowCount(), 1000);
  EXPECT_EQ(Cell(999, 0).toInt(), 1000);
  EXPECT_EQ(qry_->ResultModel()->record().fieldName(0), QStringLiteral("g"));
}

TEST_F(PgQueryTest, FailureWhileReadingTheFirstOfSeveralResultSetsIsReported) {
  qry_->AssignLines({QStringLiteral("SELECT 1 / (g - 3) FROM generate_series(1, 5) g; SELECT 1")});
  EXPECT_EQ(Failure<EDBEngineError>(*qry_, true).nativeCode, QStringLiteral("22012"));
  EXPECT_FALSE(qry_->Active());
}

TEST_F(PgQueryTest, OpenWithoutResultSetCarriesItOut) {
  for (const QString& text : {QStringLiteral("INSERT INTO %1 VALUES (1)").arg(table_),
                              QStringLiteral("INSERT INTO %1 VALUES (2); SELECT 1").arg(table_)}) {
    qry_->AssignLines({text});
    EXPECT_EQ(Failure<ENoResultSet>(*qry_, true).message, QStringLiteral("Error creating cursor handle"));
    EXPECT_FALSE(qry_->Active());
  }
  EXPECT_EQ(Rows(), 2);
}

TEST_F(PgQueryTest, MarkersAndCasts) {
  Open({QStringLiteral("SELECT '5'::::integer + 1, ':x'")});
  EXPECT_EQ(Cell(0, 0).toInt(), 6);
  EXPECT_EQ(Cell(0, 1).toString(), QStringLiteral(":x"));
  qry_->AssignLines({QStringLiteral("INSERT INTO %1 VALUES (:x)").arg(table_)});
  EXPECT_EQ(Failure<EDatabaseError>(*qry_, false).message, QStringLiteral("qry: No value for parameter 'x'"));
  qry_->AssignLines({QStringLiteral("INSERT INTO %1 VALUES (:x::integer)").arg(table_)});
  EXPECT_EQ(Failure<EDatabaseError>(*qry_, true).message, QStringLiteral("qry: No value for parameter 'x::integer'"));
  EXPECT_EQ(Rows(), 0);
}

TEST_F(PgQueryTest, SyntaxErrorCarriesSqlStateQueryAndTheServersLines) {
  qry_->AssignLines({QStringLiteral("SELEC 1")});
  const Failed e = Failure<EDBEngineError>(*qry_, false);
  EXPECT_EQ(e.nativeCode, QStringLiteral("42601"));
  EXPECT_EQ(e.query, QStringLiteral("SELEC 1\r\n"));
  EXPECT_TRUE(e.message.startsWith(
      QStringLiteral("QPSQL: Unable to create query\r\nERROR:  syntax error at or near \"SELEC\"\nLINE 1")))
      << e.message.toStdString();
}

TEST_F(PgQueryTest, LostConnectionFailsOnceThenTheNextStatementConnectsAgain) {
  Open({QStringLiteral("SELECT pg_backend_pid()")});
  const int pid = Cell(0, 0).toInt();
  Run({QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid)}, true);
  qry_->AssignLines({QStringLiteral("INSERT INTO %1 VALUES (1)").arg(table_)});
  Failure<EDBEngineError>(*qry_, false);
  EXPECT_EQ(Rows(), 0);
  qry_->ExecSQL();
  EXPECT_EQ(Rows(), 1);
}

int logins_ = 0;

class ScriptedLogin : public CredentialsProvider {
 public:
  bool AskLogin(const QString& databaseName, QString& user, QString& password) override {
    ++asked;
    askedFor = databaseName;
    prefilled = user;
    password = typedPassword;
    return !cancel;
  }
  int asked = 0;
  QString askedFor, prefilled, typedPassword;
  bool cancel = false;
};

TEST_F(PgQueryTest, MissingPasswordIsAskedForOnceAndKept) {
  DatabaseAlias noPassword = alias_;
  noPassword.password.clear();
  noPassword.options = QStringLiteral("connect_timeout=%1").arg(10 + ++logins_);  // a login of its own
  TSession session(UniqueName("pglogin"), [&] { return noPassword; });
  TQuery qry(QStringLiteral("qry"), &session);
  qry.AssignLines({QStringLiteral("SELECT 1")});

  ScriptedLogin login;
  EXPECT_TRUE(Failure<EDBEngineError>(qry, false).message.contains(QStringLiteral("no password supplied")));
  TSession::SetCredentialsProvider(&login);
  login.cancel = true;
  EXPECT_TRUE(Failure<EDBEngineError>(qry, false).message.contains(QStringLiteral("no password supplied")));
  login.cancel = false;
  login.typedPassword = QStringLiteral("wrong");
  EXPECT_TRUE(Failure<EDBEngineError>(qry, true).message.contains(QStringLiteral("password authentication failed")));
  login.typedPassword = alias_.password;
  qry.Open();
  EXPECT_EQ(login.asked, 3);
  EXPECT_EQ(login.askedFor, alias_.database);
  EXPECT_EQ(login.prefilled, alias_.user);

  session.Forget();
  TSession again(UniqueName("pglogin"), [&] { return noPassword; });
  TQuery other(QStringLiteral("other"), &again);
  other.AssignLines({QStringLiteral("SELECT 1")});
  other.ExecSQL();
  EXPECT_EQ(login.asked, 3);
  TSession::SetCredentialsProvider(nullptr);
}

}  // namespace
