#include "common/AliasHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

AliasHome::AliasHome() : saved_(qgetenv("XDG_CONFIG_HOME")), hadSaved_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
  qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
}

AliasHome::~AliasHome() {
  if (hadSaved_)
    qputenv("XDG_CONFIG_HOME", saved_);
  else
    qunsetenv("XDG_CONFIG_HOME");
}

QString AliasHome::FilePath() const { return dir_.filePath(QStringLiteral("liczniki/databases.ini")); }

void AliasHome::Write(const QByteArray& ini) {
  QDir().mkpath(dir_.filePath(QStringLiteral("liczniki")));
  QFile f(FilePath());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << f.errorString().toStdString();
  ASSERT_EQ(f.write(ini), ini.size());
}
