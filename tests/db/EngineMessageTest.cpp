#include "db/EngineMessage.h"
#include "db/Exception.h"

#include <gtest/gtest.h>

namespace {

struct MessageCase {
  const char* what;
  int topCode;
  QString topText;
  QVector<EngineErrorEntry> stack;
  QString expected;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << ::testing::PrintToString(std::string(c.what)); }

class BuildEngineMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(BuildEngineMessageTest, Assembles) {
  const MessageCase& c = GetParam();
  EXPECT_EQ(BuildEngineMessage(c.topCode, c.topText, c.stack), c.expected) << c.what;
}

const QString k130 = QString(130, u'x');
const QString k128 = QString(128, u'x');

const MessageCase kCases[] = {
    {"top only, trimmed", 0x3302, "  Top text \r\n", {}, "Top text"},
    {"context after top, no final break", 0x3302, "Top", {{"1", "", " near x "}}, "Top\r\nnear x"},
    {"cut to 128", 0x3302, k130, {{"", "", "  " + k130 + "y"}}, k128},
    {"repeat in other case dropped",
     0x3302,
     "Syntax Error",
     {{"", "", "SYNTAX error"}, {"", "", "other"}},
     "Syntax Error\r\nother"},
    {"empty ones skipped", 0x3302, "", {{"", "  ", ""}, {"", "", "ctx"}}, "ctx"},
    {"generic text without native code", 0x3302, "Top", {{"", "generic", "ctx"}}, "Top\r\ngeneric\r\nctx"},
    {"no generic text with native code", 0x3302, "Top", {{"42601", "generic", "ctx"}}, "Top\r\nctx"},
    {"context-only code", kContextOnlyCode, "Top", {{"", "generic", "one"}, {"", "", "two"}}, "one\r\ntwo"},
    {"context-only code, nothing left", kContextOnlyCode, "Top", {{"", "generic", " "}}, "BDE error $2EC4"},
    {"nothing at all", 0xab, "", {}, "BDE error $00AB"},
    {"a multi-line text stays so", 0x3302, "Top", {{"1", "", "ERROR: x\nLINE 1: y"}}, "Top\r\nERROR: x\nLINE 1: y"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildEngineMessageTest, ::testing::ValuesIn(kCases));

TEST(EngineErrorFrom, DriverTextOnTopDatabaseTextBelowNativeCodeAndQueryKept) {
  const QSqlError sqlError(QStringLiteral("Unable to execute statement"),
                           QStringLiteral("near \"SELEC\": syntax error"), QSqlError::StatementError,
                           QStringLiteral("1"));
  const EDBEngineError e = EngineErrorFrom(sqlError, QStringLiteral("SELEC 1\r\n"));
  EXPECT_EQ(e.Message(), QStringLiteral("Unable to execute statement\r\nnear \"SELEC\": syntax error"));
  EXPECT_EQ(e.NativeCode(), QStringLiteral("1"));
  EXPECT_EQ(e.Query(), QStringLiteral("SELEC 1\r\n"));
  EXPECT_NE(e.ErrorCode(), kContextOnlyCode);
}

TEST(EngineErrorFrom, NoErrorTypeGivesTheContextOnlyCode) {
  for (auto type : {QSqlError::NoError, QSqlError::ConnectionError, QSqlError::StatementError,
                    QSqlError::TransactionError, QSqlError::UnknownError}) {
    const EDBEngineError e = EngineErrorFrom(QSqlError(QStringLiteral("Driver"), QString(), type));
    EXPECT_EQ(e.Message(), QStringLiteral("Driver"));
    EXPECT_NE(e.ErrorCode(), kContextOnlyCode);
  }
}

TEST(EngineLoadMessage, NamesTheStatus) {
  EXPECT_EQ(
      EngineLoadMessage(0x2108),
      QStringLiteral("An error occurred while attempting to initialize the Borland Database Engine (error $2108)"));
}

}  // namespace
