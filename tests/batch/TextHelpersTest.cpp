#include "batch/TextHelpers.h"

#include <gtest/gtest.h>

namespace {

struct PadCase {
  const char* value;
  int width;
  const char* fill;
  const char* expected;
};

TEST(PadLeft, PadsNeverTruncatesAndIgnoresSigns) {
  const PadCase cases[] = {
      {"7", 2, "0", "07"},       {"2009", 2, "0", "2009"}, {"7", 0, "0", "7"},  {"7", -5, "0", "7"},
      {"-5", 3, "0", "0-5"},     {"-3", 3, "0", "0-3"},    {"", 3, "0", "000"}, {"12", 2, "0", "12"},
      {"1", 4, "ab", "ababab1"}, {"1", 3, "", "1"},
  };
  for (const PadCase& c : cases) {
    EXPECT_EQ(PadLeft(QString::fromUtf8(c.value), c.width, QString::fromUtf8(c.fill)), QString::fromUtf8(c.expected))
        << c.value << " to " << c.width;
  }
}

struct ReplaceCase {
  const char* source;
  const char* pattern;
  const char* replacement;
  const char* expected;
};

TEST(ReplaceAll, ReplacesEveryOccurrenceIncludingOnesFormedByReplacing) {
  const ReplaceCase cases[] = {
      {"a $LICZ1$ b $LICZ1$", "$LICZ1$", "2009", "a 2009 b 2009"},
      {"no placeholder", "$LICZ1$", "1", "no placeholder"},
      {"", "$LICZ1$", "1", ""},
      {"$LICZ$LICZ1$$", "$LICZ1$", "1", "1"},  // the replacement forms a new occurrence
      {"$LICZ1$LICZ1$$", "$LICZ1$", "1", "1LICZ1$$"},
      {"xx", "", "1", "xx"},
      {"$licz1$", "$LICZ1$", "1", "$licz1$"},  // case-sensitive
      {"zażółć $LICZ2$", "$LICZ2$", "01", "zażółć 01"},
      {"aaa", "aa", "a", "a"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceAll(QString::fromUtf8(c.source), QString::fromUtf8(c.pattern), QString::fromUtf8(c.replacement)),
              QString::fromUtf8(c.expected))
        << c.source;
  }
}

TEST(ReplaceAll, LongLineWithManyPlaceholders) {
  QString line;
  for (int i = 0; i < 20000; ++i) line += QStringLiteral("($LICZ3$),");
  const QString out = ReplaceAll(line, QStringLiteral("$LICZ3$"), QStringLiteral("7"));
  EXPECT_EQ(out, QStringLiteral("(7),").repeated(20000));
}

TEST(Stamps, DateAndMinuteFromOneMoment) {
  struct Case {
    QDateTime moment;
    const char* date;
    const char* hm;
  } const cases[] = {
      {QDateTime(QDate(2009, 3, 5), QTime(9, 7, 59, 999)), "20090305", "0907"},
      {QDateTime(QDate(2011, 12, 31), QTime(23, 59, 59)), "20111231", "2359"},
      {QDateTime(QDate(2026, 1, 1), QTime(0, 0)), "20260101", "0000"},
      {QDateTime(QDate(999, 1, 2), QTime(12, 30)), "9990102", "1230"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateStamp(c.moment), QLatin1String(c.date));
    EXPECT_EQ(HourMinuteStamp(c.moment), QLatin1String(c.hm));
    EXPECT_EQ(LogFileStamp(c.moment), QLatin1String(c.date) + QLatin1Char('_') + QLatin1String(c.hm));
  }
}

}  // namespace
