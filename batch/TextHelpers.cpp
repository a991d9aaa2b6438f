#include "batch/TextHelpers.h"

QString PadLeft(const QString& value, int32_t width, const QString& fill) {
  if (value.size() >= width || fill.isEmpty()) return value;
  // One copy of Fill per missing character, as the run's "0" fill needs.
  return fill.repeated(width - value.size()) + value;
}

QString ReplaceAll(const QString& source, const QString& pattern, const QString& replacement) {
  if (pattern.isEmpty()) return source;
  QString text = source;
  qsizetype from = 0;
  for (;;) {
    const qsizetype at = text.indexOf(pattern, from, Qt::CaseSensitive);
    if (at < 0) return text;
    text.replace(at, pattern.size(), replacement);
    // A new occurrence can only overlap the replaced run; none starts earlier, so this
    // finds the same occurrences as searching again from the first character.
    from = qMax<qsizetype>(0, at - pattern.size() + 1);
  }
}

QString DateStamp(const QDateTime& moment) {
  const QDate d = moment.date();
  return QString::number(d.year() * 10000 + d.month() * 100 + d.day());
}

QString HourMinuteStamp(const QDateTime& moment) {
  const QTime t = moment.time();
  const QString zero = QStringLiteral("0");
  return PadLeft(QString::number(t.hour()), 2, zero) + PadLeft(QString::number(t.minute()), 2, zero);
}

QString LogFileStamp(const QDateTime& moment) { return DateStamp(moment) + QLatin1Char('_') + HourMinuteStamp(moment); }
