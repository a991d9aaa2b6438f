#include "batch/RunLog.h"

#include "batch/InOutError.h"
#include "batch/LogFileOs.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

RunLog::RunLog(const QString& fileName) : fd_(OsCreateLogFile(QFile::encodeName(fileName))) {}

RunLog::~RunLog() {
  if (fd_ < 0) return;
  try {
    Close();
  } catch (...) {
    // The run is already failing with its own error; this one would only hide it.
  }
}

void RunLog::WriteLn(const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  Append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  Append("\r\n", 2);
}

void RunLog::WriteLn(char c) {
  Append(&c, 1);
  Append("\r\n", 2);
}

void RunLog::Close() {
  if (fd_ < 0) return;
  const int fd = std::exchange(fd_, -1);
  const std::size_t rest = std::exchange(used_, 0);
  try {
    if (rest > 0) OsWriteLogFile(fd, buffer_.data(), rest);
  } catch (const EInOutError&) {
    try {
      OsCloseLogFile(fd);
    } catch (const EInOutError&) {
      // The write's error is the one to report.
    }
    throw;
  }
  OsCloseLogFile(fd);
}

void RunLog::Append(const char* data, std::size_t n) {
  if (fd_ < 0) throw EInOutError(IoErrorMessage(EBADF), EBADF);
  while (n > 0) {
    if (used_ == 0 && n >= kBufferSize) {
      // Whole blocks skip the copy; the file still only grows by multiples of the block.
      const std::size_t whole = n - n % kBufferSize;
      OsWriteLogFile(fd_, data, whole);
      data += whole;
      n -= whole;
      continue;
    }
    const std::size_t take = std::min(kBufferSize - used_, n);
    std::memcpy(buffer_.data() + used_, data, take);
    used_ += take;
    data += take;
    n -= take;
    if (used_ == kBufferSize) {
      // Emptied before the write: after a failure the OS may hold part of the block, and
      // handing it over again at close would write those bytes twice.
      used_ = 0;
      OsWriteLogFile(fd_, buffer_.data(), kBufferSize);
    }
  }
}
