#pragma once
// I/O errors of the run-time library: they carry the operating system's error number.

#include "db/Exception.h"

/// A failed file operation; the message follows the error number's meaning.
class EInOutError : public Exception {
 public:
  EInOutError(QString message, int errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
  /// The OS's errno.
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};
