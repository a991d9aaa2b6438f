#include "batch/TimeStamp.h"

#include <QByteArray>
#include <QTime>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

struct FormatCase {
  const char* title;
  const char* format;
  const char* am;
  const char* pm;
  bool leadingZero;
  bool clock24;
  bool designatorFirst;
  const char* expectedAm;
  const char* expectedPm;
  char separator;
};

class TimeSettingsFromFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TimeSettingsFromFormatTest, ReadsTheSettings) {
  const FormatCase& c = GetParam();
  const TimeSettings s =
      TimeSettingsFromFormat(QString::fromUtf8(c.format), QString::fromUtf8(c.am), QString::fromUtf8(c.pm));
  EXPECT_EQ(s.leadingZero, c.leadingZero);
  EXPECT_EQ(s.clock24, c.clock24);
  EXPECT_EQ(s.designatorFirst, c.designatorFirst);
  EXPECT_EQ(s.am, QString::fromUtf8(c.expectedAm));
  EXPECT_EQ(s.pm, QString::fromUtf8(c.expectedPm));
  EXPECT_EQ(s.separator, QLatin1Char(c.separator));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, TimeSettingsFromFormatTest,
    ::testing::Values(
        FormatCase{"CLocale", "%H:%M:%S", "AM", "PM", true, true, false, "AM", "PM", ':'},
        FormatCase{"TwelveHourAfter", "%I:%M:%S %p", "AM", "PM", true, false, false, "AM", "PM", ':'},
        FormatCase{"TwelveHourBefore", "%p %I:%M:%S", "오전", "오후", true, false, true, "오전", "오후", ':'},
        FormatCase{"SpacePaddedDots", "%l.%M.%S", "", "", false, false, false, "am", "pm", '.'},
        FormatCase{"SpacePadded24", "%k:%M:%S", "", "", false, true, false, "am", "pm", ':'},
        FormatCase{"FlagDropsZero", "%-H:%M:%S", "", "", false, true, false, "am", "pm", ':'},
        FormatCase{"FlagAddsZero", "%0l:%M:%S", "", "", true, false, false, "am", "pm", ':'},
        FormatCase{"AmPmFormat", "%r", "AM", "PM", true, false, false, "AM", "PM", ':'},
        FormatCase{"TimeShorthand", "%T", "", "", true, true, false, "am", "pm", ':'},
        FormatCase{"LowerCaseDesignator", "%I:%M:%S %P", "AM", "PM", true, false, false, "am", "pm", ':'},
        FormatCase{"WordsBetweenParts", "%H시 %M분 %S초", "오전", "오후", true, true, false, "오전", "오후", ':'},
        FormatCase{"EscapedPercent", "%%%H:%M", "", "", true, true, false, "am", "pm", ':'},
        FormatCase{"Unreadable", "", "", "", false, false, false, "am", "pm", ':'},
        FormatCase{"NoHour", "%M:%S", "", "", false, false, false, "am", "pm", ':'}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.title); });

TimeSettings Settings(bool leadingZero, bool clock24, bool designatorFirst, QChar separator = QLatin1Char(':')) {
  TimeSettings s;
  s.leadingZero = leadingZero;
  s.clock24 = clock24;
  s.designatorFirst = designatorFirst;
  s.separator = separator;
  return s;
}

struct TextCase {
  TimeSettings settings;
  QTime time;
  const char* expected;
};

class TimeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TimeTextTest, WritesTheTime) {
  EXPECT_EQ(TimeText(GetParam().time, GetParam().settings), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Times, TimeTextTest,
    ::testing::Values(TextCase{Settings(true, true, false), QTime(9, 5, 7), "09:05:07"},
                      TextCase{Settings(false, true, false), QTime(9, 5, 7), "9:05:07"},
                      TextCase{Settings(true, true, false), QTime(0, 0, 0), "00:00:00"},
                      TextCase{Settings(true, true, false), QTime(23, 59, 59), "23:59:59"},
                      TextCase{TimeSettings{}, QTime(0, 0, 0), "12:00:00 am"},
                      TextCase{TimeSettings{}, QTime(12, 0, 0), "12:00:00 pm"},
                      TextCase{TimeSettings{}, QTime(13, 4, 5), "1:04:05 pm"},
                      TextCase{TimeSettings{}, QTime(11, 59, 59), "11:59:59 am"},
                      TextCase{Settings(true, false, false), QTime(13, 4, 5), "01:04:05 pm"},
                      TextCase{Settings(false, false, true, QLatin1Char('.')), QTime(9, 5, 7), "am 9.05.07"},
                      TextCase{Settings(false, true, false, QLatin1Char('%')), QTime(9, 5, 7), "9%05%07"}));

// Sets LC_TIME for one test and puts the previous one back.
class ScopedTimeLocale {
 public:
  explicit ScopedTimeLocale(const char* name) : previous_(std::setlocale(LC_TIME, nullptr)) {
    ok_ = std::setlocale(LC_TIME, name) != nullptr;
  }
  ~ScopedTimeLocale() {
    std::setlocale(LC_TIME, previous_.constData());
    RefreshTimeSettings();
  }
  bool Ok() const { return ok_; }

 private:
  QByteArray previous_;
  bool ok_ = false;
};

TEST(TimeSettingsTest, CLocaleGivesA24HourClockWithZeros) {
  ScopedTimeLocale locale("C");
  ASSERT_TRUE(locale.Ok());
  RefreshTimeSettings();
  EXPECT_EQ(TimeText(QTime(9, 5, 7)), QStringLiteral("09:05:07"));
  EXPECT_EQ(TimeText(QTime(21, 5, 7)), QStringLiteral("21:05:07"));
}

TEST(TimeSettingsTest, RefreshFollowsALocaleChange) {
  ScopedTimeLocale c("C");
  ASSERT_TRUE(c.Ok());
  RefreshTimeSettings();
  ScopedTimeLocale us("en_US.UTF-8");
  if (!us.Ok()) GTEST_SKIP() << "en_US.UTF-8 is not installed";
  EXPECT_TRUE(CurrentTimeSettings().clock24);  // read once, kept until told
  RefreshTimeSettings();
  EXPECT_EQ(TimeText(QTime(21, 5, 7)), QStringLiteral("09:05:07 PM"));
}

}  // namespace
