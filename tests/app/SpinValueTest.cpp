#include "app/SpinValue.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <ostream>

namespace {

struct ReadCase {
  const char* text;
  double value;
};

// Case names stay ASCII so that test runners can list them.
void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << '"';
  for (QChar ch : QString::fromUtf8(c.text)) {
    if (ch.unicode() >= 32 && ch.unicode() < 127)
      *os << static_cast<char>(ch.unicode());
    else
      *os << "\\u" << std::hex << std::setw(4) << std::setfill('0') << ch.unicode() << std::dec;
  }
  *os << '"';
}

class SpinValueRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SpinValueRead, ReadsTextAsInteger) {
  EXPECT_EQ(SpinValueOf(QString::fromUtf8(GetParam().text)), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SpinValueRead,
    ::testing::Values(ReadCase{"2009", 2009}, ReadCase{"0", 0}, ReadCase{" 12", 12}, ReadCase{"   -5", -5},
                      ReadCase{"+7", 7}, ReadCase{"007", 7}, ReadCase{"-0", 0}, ReadCase{"00000000000000012", 12},
                      ReadCase{"2147483647", 2147483647.0}, ReadCase{"-2147483648", -2147483648.0},
                      // Not integers: no message, just 0.
                      ReadCase{"", 0}, ReadCase{"   ", 0}, ReadCase{"-", 0}, ReadCase{"+", 0}, ReadCase{"+-1", 0},
                      ReadCase{"1-2", 0}, ReadCase{"12 ", 0}, ReadCase{"1 2", 0}, ReadCase{"- 1", 0},
                      ReadCase{"\t12", 0}, ReadCase{"abc", 0}, ReadCase{"1.5", 0}, ReadCase{"1e3", 0},
                      ReadCase{"\xd9\xa3", 0} /* Arabic-Indic three */, ReadCase{"\xef\xbc\x91", 0} /* fullwidth one */,
                      ReadCase{"2147483648", 0}, ReadCase{"-2147483649", 0},
                      ReadCase{"99999999999999999999999999999", 0},
                      // Hexadecimal patterns.
                      ReadCase{"$FF", 255}, ReadCase{"$ff", 255}, ReadCase{"xff", 255}, ReadCase{"X10", 16},
                      ReadCase{"0x7FFFFFFF", 2147483647.0}, ReadCase{"0XFFFFFFFF", -1},
                      ReadCase{"$80000000", -2147483648.0}, ReadCase{"$0000000000FF", 255}, ReadCase{" $1A", 26},
                      ReadCase{"-$10", -16}, ReadCase{"$FFFFFFFFF", 0}, ReadCase{"$100000000", 0}, ReadCase{"$", 0},
                      ReadCase{"x", 0}, ReadCase{"0x", 0}, ReadCase{"$FG", 0}, ReadCase{"$ FF", 0},
                      ReadCase{"0x0x1", 0}, ReadCase{"-$80000000", 0}));

TEST(SpinValueRead, VeryLongTextsReadAsZeroOrTheirValue) {
  EXPECT_EQ(SpinValueOf(QString(100000, u'9')), 0);
  EXPECT_EQ(SpinValueOf(QString(100000, u'0') + QStringLiteral("42")), 42);
  EXPECT_EQ(SpinValueOf(QStringLiteral("$") + QString(100000, u'0') + QStringLiteral("7")), 7);
}

struct WriteCase {
  double value;
  const char* text;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.value; }

class SpinValueWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SpinValueWrite, WritesPlainDecimal) {
  EXPECT_EQ(SpinTextOf(GetParam().value), QString::fromLatin1(GetParam().text)) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SpinValueWrite,
    ::testing::Values(WriteCase{0, "0"}, WriteCase{-0.0, "0"}, WriteCase{2009, "2009"}, WriteCase{-1, "-1"},
                      WriteCase{1234567, "1234567"}, WriteCase{2147483648.0, "2147483648"},
                      WriteCase{-2147483649.0, "-2147483649"}, WriteCase{0.5, "0"}, WriteCase{1.5, "2"},
                      WriteCase{2.5, "2"}, WriteCase{-0.5, "0"}, WriteCase{-1.5, "-2"}, WriteCase{-2.5, "-2"},
                      WriteCase{2.4999, "2"}, WriteCase{2.5001, "3"}, WriteCase{-0.4, "0"},
                      WriteCase{std::numeric_limits<double>::quiet_NaN(), "0"},
                      WriteCase{std::numeric_limits<double>::infinity(), "9223372036854775807"},
                      WriteCase{-std::numeric_limits<double>::infinity(), "-9223372036854775808"}));

TEST(SpinValueWrite, WrittenValuesReadBack) {
  for (double v : {0.0, 1.0, -1.0, 2147483647.0, -2147483648.0}) EXPECT_EQ(SpinValueOf(SpinTextOf(v)), v);
  EXPECT_EQ(SpinValueOf(SpinTextOf(2147483647.0 + 1)), 0);
}

}  // namespace
