#pragma once
// The PostgreSQL server the tests may use, named by LICZNIKI_TEST_PG as
// "host=127.0.0.1;port=N;user=U;password=P;dbname=D" (scripts/test sets it).

#include <QString>
#include <optional>

struct PgEnv {
  QString host;
  int port = 5432;
  QString user;
  QString password;
  QString dbname;
};

/// The server from the environment; nothing when the variable is unset or empty.
/// A value that does not parse fails the calling test (and gives nothing).
std::optional<PgEnv> TestPg();
/// Parses one value of the variable's format; nothing when a part is missing or wrong.
std::optional<PgEnv> ParsePgEnv(const QString& value);
