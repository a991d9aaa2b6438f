#include "db/DatabaseAlias.h"
#include "db/Exception.h"

#include "common/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Points the layer's config location at a fresh directory for one test.
class AliasFile : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = qgetenv("XDG_CONFIG_HOME");
    hadSaved_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", tmp_.Path().toUtf8());
  }
  void TearDown() override {
    if (hadSaved_)
      qputenv("XDG_CONFIG_HOME", saved_);
    else
      qunsetenv("XDG_CONFIG_HOME");
  }
  QString Path() const { return tmp_.Path() + QStringLiteral("/liczniki/databases.ini"); }
  void Write(const QByteArray& bytes) {
    QDir().mkpath(tmp_.Path() + QStringLiteral("/liczniki"));
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  ScopedTempDir tmp_;
  QByteArray saved_;
  bool hadSaved_ = false;
};

void ExpectSqliteDefault(const DatabaseAlias& a) {
  EXPECT_EQ(a.driver, "QSQLITE");
  EXPECT_EQ(a.database, "default.db");
  EXPECT_TRUE(a.host.isEmpty());
  EXPECT_EQ(a.port, -1);
  EXPECT_TRUE(a.user.isEmpty());
  EXPECT_TRUE(a.password.isEmpty());
}

TEST_F(AliasFile, NoFileOrNoDefaultSectionKeepsTheSqliteFile) {
  ExpectSqliteDefault(LoadDefaultAlias());
  Write("[Other]\nDriver=QPSQL\nDatabase=elsewhere\n");
  ExpectSqliteDefault(LoadDefaultAlias());
}

TEST_F(AliasFile, ValuesAreTakenLiterallyUpToTheLineEnd) {
  // Every character here is one that a generic INI reader would cut, split or unescape.
  Write(
      "\xEF\xBB\xBF; the team's server\r\n"
      "[Other]\r\nHost=wrong\r\n"
      "[Default]\r\n"
      "Driver = QPSQL\r\n"
      "Database=liczniki\r\n"
      "Host=db.example.test\r\n"
      "Port=5433\r\n"
      "User=zażółć\r\n"
      "Password=a,b;c#d\\n\"e=f\r\n"
      "Options=connect_timeout=5;sslmode=disable\r\n");
  const DatabaseAlias a = LoadDefaultAlias();
  EXPECT_EQ(a.driver, "QPSQL");
  EXPECT_EQ(a.database, "liczniki");
  EXPECT_EQ(a.host, "db.example.test");
  EXPECT_EQ(a.port, 5433);
  EXPECT_EQ(a.user, QString::fromUtf8("zażółć"));
  EXPECT_EQ(a.password, "a,b;c#d\\n\"e=f");
  EXPECT_EQ(a.options, "connect_timeout=5;sslmode=disable");
}

TEST_F(AliasFile, QuotesKeepOuterSpacesAndNamesIgnoreCase) {
  Write("[default]\ndriver=qodbc\nDATABASE=liczniki-dsn\npassword=\"  spaced  \"\n");
  const DatabaseAlias a = LoadDefaultAlias();
  EXPECT_EQ(a.driver, "QODBC");
  EXPECT_EQ(a.database, "liczniki-dsn");
  EXPECT_EQ(a.password, "  spaced  ");
  EXPECT_EQ(a.port, -1);
}

// Qt's own driver names pass even without their plugin: loading it is the engine's to fail,
// with the engine's load message.
TEST_F(AliasFile, QtDriverWithoutItsPluginIsLeftToTheEngine) {
  Write("[Default]\nDriver=qibase\n");
  EXPECT_EQ(LoadDefaultAlias().driver, "QIBASE");
}

TEST_F(AliasFile, SqliteAliasWithoutDatabaseKeepsDefaultFile) {
  Write("[Default]\nDriver=QSQLITE\n");
  ExpectSqliteDefault(LoadDefaultAlias());
}

struct BrokenCase {
  const char* name;
  QByteArray content;
  const char* where;  // the key or line the message must name
};

class BrokenAlias : public AliasFile, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenAlias, FailsNamingFileAndKeyEveryTime) {
  Write(GetParam().content);
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      LoadDefaultAlias();
      FAIL() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_TRUE(e.Message().contains(Path())) << e.Message().toStdString();
      EXPECT_TRUE(e.Message().contains(QLatin1String(GetParam().where))) << e.Message().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenAlias,
    ::testing::Values(
        BrokenCase{"UnknownDriver", "[Default]\nDriver=QPOSTGRES\n", "[Default] Driver: unknown driver \"QPOSTGRES\""},
        BrokenCase{"EmptyDriver", "[Default]\nDriver=\n", "[Default] Driver"},
        BrokenCase{"MissingDriver", "[Default]\nDatabase=x\n", "[Default] Driver: missing"},
        BrokenCase{"PortNotANumber", "[Default]\nDriver=QPSQL\nPort=54x2\n", "[Default] Port: \"54x2\""},
        BrokenCase{"PortOutOfRange", "[Default]\nDriver=QPSQL\nPort=70000\n", "[Default] Port: \"70000\""},
        BrokenCase{"MisspelledKey", "[Default]\nDriver=QPSQL\nHots=db\n", "[Default] Hots: unknown key"},
        BrokenCase{"KeyTwice", "[Default]\nDriver=QPSQL\nUser=a\nUser=b\n", "[Default] User: given twice"},
        BrokenCase{"LineWithoutEquals", "[Default]\nDriver=QPSQL\nHost db\n", "line 3"},
        BrokenCase{"UnclosedSection", "[Default\nDriver=QPSQL\n", "line 1"}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST_F(AliasFile, UnreadableFileFails) {
  // Root reads any file whatever its mode, so a directory in its place stands for the unreadable one.
  ASSERT_TRUE(QDir().mkpath(Path()));
  try {
    LoadDefaultAlias();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().contains(Path() + QStringLiteral(" cannot be read"))) << e.Message().toStdString();
  }
}

}  // namespace
