#include "common/TempDir.h"

#include <QFile>

QByteArray ScopedTempDir::Read(const QString& name) const {
  QFile f(File(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
