#include "db/OdbcValue.h"

QString OdbcValue(const QString& value) {
  if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('}')))
    return value;
  QString escaped = value;
  escaped.replace(QLatin1Char('}'), QLatin1String("}}"));
  return QLatin1Char('{') + escaped + QLatin1Char('}');
}
