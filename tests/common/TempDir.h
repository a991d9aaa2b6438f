#pragma once
// A fresh temporary directory made current for one test, restored afterwards.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

class ScopedTempDir {
 public:
  ScopedTempDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~ScopedTempDir() { QDir::setCurrent(previous_); }
  QString Path() const { return dir_.path(); }
  QString File(const QString& name) const { return dir_.filePath(name); }
  /// The whole file's bytes; empty when it is missing.
  QByteArray Read(const QString& name) const;

 private:
  QTemporaryDir dir_;
  QString previous_;
};
