#pragma once
// The operating system's file calls for the run log, and their errors mapped onto the
// run-time library's messages. The only platform-specific file of the log.

#include <QByteArray>
#include <QString>
#include <cstddef>

/// The message for an errno: "File not found", "Invalid filename", "Too many open files",
/// "File access denied" or "I/O error N".
QString IoErrorMessage(int error);

/// Creates name for writing, empty, exclusively locked, never through a symbolic link.
/// Throws EInOutError.
int OsCreateLogFile(const QByteArray& name);
/// Writes all n bytes. Throws EInOutError.
void OsWriteLogFile(int fd, const char* data, std::size_t n);
/// Releases the file. Throws EInOutError.
void OsCloseLogFile(int fd);
