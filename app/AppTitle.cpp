#include "app/AppTitle.h"

#include <QCoreApplication>
#include <QFileInfo>

QString AppTitleFromPath(const QString& executablePath) {
  QString name = QFileInfo(executablePath).fileName();
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  if (name.isEmpty()) return name;
  return name.left(1) + name.mid(1).toLower();
}

QString AppTitle() { return AppTitleFromPath(QCoreApplication::applicationFilePath()); }
