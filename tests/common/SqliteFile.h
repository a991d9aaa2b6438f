#pragma once
// A SQLite file opened beside the layer under test, to set up and inspect data
// without going through the code being tested.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class SqliteFile {
 public:
  explicit SqliteFile(const QString& path);
  ~SqliteFile();
  /// Runs sql; fails the test when it fails.
  void Exec(const QString& sql);
  /// The first column of every row, as text.
  QStringList Column(const QString& sql);

 private:
  QString connection_;
};
