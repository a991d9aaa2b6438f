#pragma once
// A named database of the layer: which Qt SQL driver and how to connect.

#include <QString>

/// Connection settings of one database, as the layer's alias file holds them.
struct DatabaseAlias {
  QString driver = QStringLiteral("QSQLITE");
  QString database = QStringLiteral("default.db");
  QString host;
  int port = -1;  // -1: the driver's default
  QString user;
  QString password;
  QString options;  // Qt's connect options, "key=value;key=value"
};

/// The alias of the default database: section [Default] of the alias file when there is
/// one, else the SQLite file default.db in the current directory.
/// Throws EDatabaseError naming the file and key when the file is broken.
DatabaseAlias LoadDefaultAlias();
