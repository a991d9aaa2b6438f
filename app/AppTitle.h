#pragma once
// The application title, taken from the executable's file name.

#include <QString>

/// The file name without directory and without everything from its first "." on,
/// every character after the first in lower case: /x/MyTool.EXE gives Mytool.
QString AppTitleFromPath(const QString& executablePath);
/// The title of this process.
QString AppTitle();
