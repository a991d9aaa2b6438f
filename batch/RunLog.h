#pragma once
// The log of one run: a new file written through a 128-byte buffer, lines ended by CR LF.

#include <QString>
#include <array>
#include <cstddef>

/// One run's log file. Bytes reach the OS in whole 128-byte blocks and the rest at Close.
class RunLog {
 public:
  static constexpr std::size_t kBufferSize = 128;

  /// Creates the file anew in the current directory. Throws EInOutError.
  explicit RunLog(const QString& fileName);
  /// Closes a log the run abandoned, handing over what the buffer still holds; errors ignored.
  ~RunLog();
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  /// text, then CR LF. Throws EInOutError when a full buffer cannot be written.
  void WriteLn(const QString& text);
  /// One character, then CR LF.
  void WriteLn(char c);
  /// Hands over the rest and releases the file. Throws EInOutError.
  void Close();

 private:
  void Append(const char* data, std::size_t n);

  int fd_ = -1;
  std::array<char, kBufferSize> buffer_{};
  std::size_t used_ = 0;
};
