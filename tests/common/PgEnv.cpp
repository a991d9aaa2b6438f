#include "common/PgEnv.h"

#include <QStringList>
#include <gtest/gtest.h>

std::optional<PgEnv> ParsePgEnv(const QString& value) {
  PgEnv env;
  bool havePort = false;
  for (const QString& part : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const int eq = part.indexOf(QLatin1Char('='));
    if (eq <= 0) return std::nullopt;
    const QString key = part.left(eq).trimmed();
    const QString val = part.mid(eq + 1);
    if (key == QLatin1String("host"))
      env.host = val;
    else if (key == QLatin1String("port"))
      env.port = val.toInt(&havePort);
    else if (key == QLatin1String("user"))
      env.user = val;
    else if (key == QLatin1String("password"))
      env.password = val;
    else if (key == QLatin1String("dbname"))
      env.dbname = val;
    else
      return std::nullopt;
  }
  if (env.host.isEmpty() || !havePort || env.user.isEmpty() || env.dbname.isEmpty()) return std::nullopt;
  return env;
}

std::optional<PgEnv> TestPg() {
  const QString value = qEnvironmentVariable("LICZNIKI_TEST_PG");
  if (value.isEmpty()) return std::nullopt;
  std::optional<PgEnv> env = ParsePgEnv(value);
  EXPECT_TRUE(env.has_value()) << "LICZNIKI_TEST_PG does not parse: " << value.toStdString();
  return env;
}
