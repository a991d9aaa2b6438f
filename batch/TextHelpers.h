#pragma once
// Pure text helpers of the run: counter padding, placeholder replacement, log-name stamps.

#include <QDateTime>
#include <QString>
#include <cstdint>

/// Value with Fill put in front until it is Width characters long; never truncates.
QString PadLeft(const QString& value, int32_t width, const QString& fill);
/// Every occurrence of pattern replaced, each search restarting from the beginning,
/// so occurrences formed by a replacement are replaced too. An empty pattern changes nothing.
QString ReplaceAll(const QString& source, const QString& pattern, const QString& replacement);
/// year*10000 + month*100 + day in decimal.
QString DateStamp(const QDateTime& moment);
/// HHMM, 24-hour clock, seconds dropped.
QString HourMinuteStamp(const QDateTime& moment);
/// DateStamp "_" HourMinuteStamp of the one moment.
QString LogFileStamp(const QDateTime& moment);
