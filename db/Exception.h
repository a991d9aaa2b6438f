#pragma once
// The one root of every failure the program reports to the user: a message, and the
// kinds the data-access layer raises. I/O errors of the run log derive from it too.

#include <QByteArray>
#include <QString>
#include <exception>

/// Root of all reported failures; carries the text the user sees.
class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  /// The user-facing message, exactly as shown in boxes and logs.
  const QString& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

/// Any failure of the data-access layer.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

/// A failure reported by the engine (the database or its driver).
/// Keeps what a user needs to act on it: the SQLSTATE / native code and the statement text.
class EDBEngineError : public EDatabaseError {
 public:
  EDBEngineError(QString message, int errorCode, QString nativeCode = {}, QString query = {})
      : EDatabaseError(std::move(message)),
        errorCode_(errorCode),
        nativeCode_(std::move(nativeCode)),
        query_(std::move(query)) {}
  /// The engine's top error code (the one "BDE error $%.4x" names).
  int ErrorCode() const noexcept { return errorCode_; }
  /// The server's own code (SQLSTATE for PostgreSQL), empty when it gave none.
  const QString& NativeCode() const noexcept { return nativeCode_; }
  /// The text that was sent when it failed; empty for connection failures.
  const QString& Query() const noexcept { return query_; }

 private:
  int errorCode_;
  QString nativeCode_;
  QString query_;
};

/// An open asked for a result set and the statement, already carried out, yielded none.
class ENoResultSet : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};
