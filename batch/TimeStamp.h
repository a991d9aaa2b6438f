#pragma once
// Time of day as the user's regional settings write it (LC_TIME).

#include <QString>
#include <QTime>

/// The regional time settings the log's time stamps follow.
struct TimeSettings {
  bool leadingZero = false;
  bool clock24 = false;
  bool designatorFirst = false;
  QString am = QStringLiteral("am");
  QString pm = QStringLiteral("pm");
  QChar separator = QLatin1Char(':');
};

/// Reads the settings from the C library's current LC_TIME locale; fallbacks where unreadable.
TimeSettings ReadTimeSettings();
/// Settings from an strftime time format and designators, as LC_TIME gives them.
TimeSettings TimeSettingsFromFormat(const QString& format, const QString& am, const QString& pm);
/// The settings in force; read at start.
const TimeSettings& CurrentTimeSettings();
/// Reads the settings again (the program heard of a change).
void RefreshTimeSettings();
/// Hour, minutes and seconds by the settings.
QString TimeText(const QTime& time, const TimeSettings& settings = CurrentTimeSettings());
