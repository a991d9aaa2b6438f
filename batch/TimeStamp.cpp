#include "batch/TimeStamp.h"

#include <langinfo.h>

#include <vector>

namespace {

// One piece of an strftime format: a literal character, or a conversion with its flag.
struct FormatItem {
  bool conversion = false;
  QChar letter;  // the literal, or the conversion letter
  QChar flag;    // '-', '_', '0', '^', '#' or none
};

constexpr int kMaxExpansionDepth = 3;

// Flattens format into items, %r, %T and %R expanded into the conversions they stand for.
void Scan(const QString& format, const QString& ampmFormat, int depth, std::vector<FormatItem>& items) {
  for (int i = 0; i < format.size(); ++i) {
    if (format[i] != QLatin1Char('%') || i + 1 >= format.size()) {
      items.push_back({false, format[i], {}});
      continue;
    }
    ++i;
    QChar flag;
    if (QStringLiteral("-_0^#").contains(format[i]) && i + 1 < format.size()) flag = format[i++];
    while (i + 1 < format.size() && format[i].isDigit()) ++i;  // field width
    if ((format[i] == QLatin1Char('E') || format[i] == QLatin1Char('O')) && i + 1 < format.size()) ++i;
    const QChar letter = format[i];
    const char c = letter.toLatin1();
    if (c == '%') {
      items.push_back({false, letter, {}});
    } else if (c == 't') {
      items.push_back({false, QLatin1Char('\t'), {}});
    } else if (c == 'n') {
      items.push_back({false, QLatin1Char('\n'), {}});
    } else if ((c == 'r' || c == 'T' || c == 'R') && depth < kMaxExpansionDepth) {
      const QString expansion = c == 'T' ? QStringLiteral("%H:%M:%S") : c == 'R' ? QStringLiteral("%H:%M") : ampmFormat;
      Scan(expansion, ampmFormat, depth + 1, items);
    } else {
      items.push_back({true, letter, flag});
    }
  }
}

bool IsHour(const FormatItem& item) { return item.conversion && QStringLiteral("HkIl").contains(item.letter); }

TimeSettings FromFormat(const QString& format, const QString& ampmFormat, const QString& am, const QString& pm) {
  TimeSettings settings;
  std::vector<FormatItem> items;
  Scan(format, ampmFormat, 0, items);

  std::size_t hour = items.size();
  for (std::size_t i = 0; i < items.size() && hour == items.size(); ++i) {
    if (IsHour(items[i])) hour = i;
  }
  if (hour < items.size()) {
    const FormatItem& h = items[hour];
    const char letter = h.letter.toLatin1();
    settings.clock24 = letter == 'H' || letter == 'k';
    // %H and %I pad with zeros, %k and %l with spaces; a flag overrides either.
    const bool zeroPadded = letter == 'H' || letter == 'I';
    if (h.flag == QLatin1Char('0')) {
      settings.leadingZero = true;
    } else if (h.flag == QLatin1Char('-') || h.flag == QLatin1Char('_')) {
      settings.leadingZero = false;
    } else {
      settings.leadingZero = zeroPadded;
    }
    // Only a single character between hour and minutes is a separator; words such as
    // "%H시 %M분" name the parts instead, and the stamp keeps the default.
    const std::size_t next = hour + 2;
    if (next < items.size() && !items[hour + 1].conversion && items[next].conversion) {
      settings.separator = items[hour + 1].letter;
    }
  }

  bool lowerCase = false;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].conversion && (items[i].letter == QLatin1Char('p') || items[i].letter == QLatin1Char('P'))) {
      settings.designatorFirst = i < hour;
      lowerCase = items[i].letter == QLatin1Char('P');
      break;
    }
  }
  // An empty designator (a 24-hour locale names none) counts as unreadable, so a 12-hour
  // stamp never loses its half of the day.
  if (!am.isEmpty()) settings.am = lowerCase ? am.toLower() : am;
  if (!pm.isEmpty()) settings.pm = lowerCase ? pm.toLower() : pm;
  return settings;
}

QString LangInfo(nl_item item) {
  const char* text = nl_langinfo(item);
  return text ? QString::fromLocal8Bit(text) : QString();
}

TimeSettings& Current() {
  static TimeSettings settings = ReadTimeSettings();
  return settings;
}

}  // namespace

TimeSettings ReadTimeSettings() {
  QString ampmFormat = LangInfo(T_FMT_AMPM);
  if (ampmFormat.isEmpty()) ampmFormat = QStringLiteral("%I:%M:%S %p");
  return FromFormat(LangInfo(T_FMT), ampmFormat, LangInfo(AM_STR), LangInfo(PM_STR));
}

TimeSettings TimeSettingsFromFormat(const QString& format, const QString& am, const QString& pm) {
  return FromFormat(format, QStringLiteral("%I:%M:%S %p"), am, pm);
}

const TimeSettings& CurrentTimeSettings() { return Current(); }

void RefreshTimeSettings() { Current() = ReadTimeSettings(); }

QString TimeText(const QTime& time, const TimeSettings& settings) {
  int hour = time.hour();
  if (!settings.clock24) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  const QLatin1Char zero('0');
  // Joined piece by piece: a separator such as '%' must not be read as a placeholder.
  QString text = QString::number(hour).rightJustified(settings.leadingZero ? 2 : 0, zero);
  text += settings.separator;
  text += QString::number(time.minute()).rightJustified(2, zero);
  text += settings.separator;
  text += QString::number(time.second()).rightJustified(2, zero);
  if (settings.clock24) return text;
  const QString& designator = time.hour() < 12 ? settings.am : settings.pm;
  return settings.designatorFirst ? designator + QLatin1Char(' ') + text : text + QLatin1Char(' ') + designator;
}
