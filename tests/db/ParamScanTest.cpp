#include "db/ParamScan.h"

#include <gtest/gtest.h>

namespace {

struct ScanCase {
  const char* text;
  const char* sent;
  bool hasMarker;
  const char* firstName;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << ::testing::PrintToString(std::string(c.text)); }

class ScanParamsTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanParamsTest, SendsAndFinds) {
  const ScanCase& c = GetParam();
  const ParamScanResult r = ScanParams(QString::fromUtf8(c.text));
  EXPECT_EQ(r.sent, QString::fromUtf8(c.sent));
  EXPECT_EQ(r.hasMarker, c.hasMarker);
  EXPECT_EQ(r.firstName, QString::fromUtf8(c.firstName));
}

const ScanCase kCases[] = {
    {"SELECT 1\r\n", "SELECT 1\r\n", false, ""},
    // Markers outside quotes, up to each of their end characters.
    {"a=:id\r\n", "a=?\r\n", true, "id"},
    {"a=:id\nb", "a=?\nb", true, "id"},
    {"a=:id b", "a=? b", true, "id"},
    {"f(:id)", "f(?)", true, "id"},
    {"f(:id,:two)", "f(?,?)", true, "id"},
    {"a=:id;", "a=?;", true, "id"},
    {"WHERE a=:id", "WHERE a=?", true, "id"},  // at the end of the text
    {"a=:x\tb c", "a=? c", true, "x\tb"},      // a tab does not end it
    {"a=:x'y' b", "a=? b", true, "x'y'"},      // a quote inside a name does not start quoting
    {":", "?", true, ""},
    {"a=:first, b=:second", "a=?, b=?", true, "first"},
    // "::" outside quotes is one colon.
    {"x::int", "x:int", false, ""},
    {":::p", ":?", true, "p"},
    {"::::", "::", false, ""},
    // Inside any of the three quotes nothing is touched.
    {"'a :x ::b'", "'a :x ::b'", false, ""},
    {"\"a :x ::b\"", "\"a :x ::b\"", false, ""},
    {"`a :x ::b`", "`a :x ::b`", false, ""},
    // One flag for all three: a double quote closes a single-quoted text.
    {"'a\" :x", "'a\" ?", true, "x"},
    {"'a\"b' :x", "'a\"b' :x", false, ""},
    {"'it''s' :x", "'it''s' ?", true, "x"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScanParamsTest, ::testing::ValuesIn(kCases));

}  // namespace
