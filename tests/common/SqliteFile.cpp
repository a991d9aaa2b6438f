#include "common/SqliteFile.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

SqliteFile::SqliteFile(const QString& path) : connection_(QUuid::createUuid().toString()) {
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db.setDatabaseName(path);
  EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
}

SqliteFile::~SqliteFile() {
  QSqlDatabase::database(connection_, false).close();
  QSqlDatabase::removeDatabase(connection_);
}

void SqliteFile::Exec(const QString& sql) {
  QSqlQuery q(QSqlDatabase::database(connection_));
  EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

QStringList SqliteFile::Column(const QString& sql) {
  QSqlQuery q(QSqlDatabase::database(connection_));
  QStringList values;
  EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
  while (q.next()) values << q.value(0).toString();
  return values;
}
