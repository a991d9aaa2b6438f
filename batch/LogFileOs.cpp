#include "batch/LogFileOs.h"

#include "batch/InOutError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString IoErrorMessage(int error) {
  switch (error) {
    case ENOENT: return QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG: return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE: return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case ELOOP:
    case EWOULDBLOCK: return QStringLiteral("File access denied");
    default: return QStringLiteral("I/O error %1").arg(error);
  }
}

namespace {

[[noreturn]] void Fail(int error) { throw EInOutError(IoErrorMessage(error), error); }

void CloseQuietly(int fd) {
  const int saved = errno;
  ::close(fd);
  errno = saved;
}

}  // namespace

int OsCreateLogFile(const QByteArray& name) {
  // Not truncated on open: a log another run still holds must stay intact, so the lock
  // comes first and only its holder empties the file. O_NOFOLLOW keeps a planted link
  // from redirecting the log onto some other file.
  int fd;
  do {
    fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) Fail(errno);

  // flock, not fcntl: fcntl locks never conflict within one process, and this process must
  // not open its own running log twice either.
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc < 0 && errno == EINTR);
  if (rc == 0) {
    do {
      rc = ::ftruncate(fd, 0);
    } while (rc < 0 && errno == EINTR);
  }
  if (rc < 0) {
    const int error = errno;
    CloseQuietly(fd);
    Fail(error);
  }
  return fd;
}

void OsWriteLogFile(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t written = ::write(fd, data, n);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (written == 0) Fail(EIO);  // no progress and no reason given: never spin
    data += written;
    n -= static_cast<std::size_t>(written);
  }
}

void OsCloseLogFile(int fd) {
  // Linux releases the descriptor even when close reports EINTR; retrying could close
  // a descriptor someone else has meanwhile been given.
  if (::close(fd) < 0 && errno != EINTR) Fail(errno);
}
