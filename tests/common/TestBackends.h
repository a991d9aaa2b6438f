#pragma once
// The databases a cross-driver test runs on: the SQLite file, and the test PostgreSQL
// server reached through QPSQL and through unixODBC's PostgreSQL driver.

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>

enum class BackendKind { Sqlite, Postgres, Odbc };

struct Backend {
  const char* name;
  BackendKind kind;
};

inline void PrintTo(const Backend& b, std::ostream* os) { *os << b.name; }

/// All three, for INSTANTIATE_TEST_SUITE_P.
const Backend kAllBackends[] = {
    {"sqlite", BackendKind::Sqlite}, {"postgres", BackendKind::Postgres}, {"odbc", BackendKind::Odbc}};

/// Why the backend cannot run here (driver plugin or server missing); empty when it can.
QString BackendMissing(BackendKind kind);

/// The [Default] section that points the layer at the backend. sqliteFile is used for SQLite.
/// withPassword false leaves the password out.
QByteArray DefaultAliasIni(BackendKind kind, const QString& sqliteFile, bool withPassword = true);

/// A connection of its own beside the layer under test, to set up and inspect data without
/// going through the code being tested. Server backends are reached straight through QPSQL.
class DirectConnection {
 public:
  DirectConnection(BackendKind kind, const QString& sqliteFile);
  ~DirectConnection();
  DirectConnection(const DirectConnection&) = delete;
  DirectConnection& operator=(const DirectConnection&) = delete;

  /// Runs sql; fails the test when it fails.
  void Exec(const QString& sql);
  /// Every row, its fields joined by single spaces.
  QStringList Rows(const QString& sql);

 private:
  QString connection_;
};

/// A table name no other test process uses at the same time.
QString UniqueTable(const char* stem);
