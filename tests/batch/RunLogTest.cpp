#include "batch/InOutError.h"
#include "batch/LogFileOs.h"
#include "batch/RunLog.h"
#include "common/TempDir.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kName = QStringLiteral("20090305_0907.txt");

// The message of the EInOutError that action raises; empty when it raises none.
QString FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EInOutError& e) {
    return e.Message();
  }
  return {};
}

qint64 SizeOnDisk(const ScopedTempDir& dir, const QString& name) { return QFileInfo(dir.File(name)).size(); }

// In a forked child: report on stderr and end with 0 when it holds, 1 otherwise.
[[noreturn]] void ExitWith(bool ok, const QString& what) {
  std::fprintf(stderr, "%s\n", what.toLocal8Bit().constData());
  std::_Exit(ok ? 0 : 1);
}

// Lets a check run in a child where root's bypass of permissions would hide it.
void DropRootInChild() {
  if (::geteuid() != 0) return;
  if (::setgid(65534) != 0 || ::setuid(65534) != 0) ExitWith(false, QStringLiteral("cannot drop root"));
}

}  // namespace

TEST(RunLogTest, WritesExactBytesWithCrLfAndNoBom) {
  ScopedTempDir dir;
  RunLog log(kName);
  log.WriteLn(QStringLiteral("START 9:05:07"));
  log.WriteLn(QString::fromUtf8("UPDATE t SET x = 'zażółć gęślą jaźń'"));
  log.WriteLn(QString());
  log.WriteLn(QStringLiteral("** ERROR first\nsecond"));
  log.WriteLn(' ');
  log.Close();
  EXPECT_EQ(
      dir.Read(kName),
      QByteArray(
          "START 9:05:07\r\n"
          "UPDATE t SET x = 'za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87 g\xc4\x99\xc5\x9bl\xc4\x85 ja\xc5\xba\xc5\x84'\r\n"
          "\r\n"
          "** ERROR first\nsecond\r\n"
          " \r\n"));
}

TEST(RunLogTest, DiskHoldsOnlyWholeBlocksUntilClosed) {
  ScopedTempDir dir;
  RunLog log(kName);
  const QString first(100, QLatin1Char('a'));
  log.WriteLn(first);  // 102 bytes: a short log stays in the buffer
  EXPECT_EQ(SizeOnDisk(dir, kName), 0);

  log.WriteLn(QStringLiteral("bbbbbbbbbbbbbbbbbbbbbbbbbb"));  // 130 bytes
  EXPECT_EQ(SizeOnDisk(dir, kName), 128);

  const QString big(1 << 20, QLatin1Char('c'));
  log.WriteLn(big);
  const qint64 total = 130 + (1 << 20) + 2;
  EXPECT_EQ(SizeOnDisk(dir, kName), total - total % 128);

  log.Close();
  const QByteArray expected = first.toLatin1() + "\r\nbbbbbbbbbbbbbbbbbbbbbbbbbb\r\n" + big.toLatin1() + "\r\n";
  EXPECT_EQ(dir.Read(kName), expected);
}

TEST(RunLogTest, ReplacesAnExistingFile) {
  ScopedTempDir dir;
  {
    QFile old(dir.File(kName));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
  }
  RunLog log(kName);
  EXPECT_EQ(SizeOnDisk(dir, kName), 0);
  log.WriteLn(QStringLiteral("KONIEC 10:00:00"));
  log.Close();
  EXPECT_EQ(dir.Read(kName), QByteArray("KONIEC 10:00:00\r\n"));
}

TEST(RunLogTest, OpenLogCannotBeOpenedForWritingAgain) {
  ScopedTempDir dir;
  RunLog first(kName);
  first.WriteLn(QString(200, QLatin1Char('a')));
  EXPECT_EQ(FailureOf([] { RunLog second(kName); }), QStringLiteral("File access denied"));
  first.WriteLn(QStringLiteral("end"));
  first.Close();
  EXPECT_EQ(dir.Read(kName), QByteArray(200, 'a') + "\r\nend\r\n");

  // Closing releases it: the next run of the same minute replaces it.
  RunLog next(kName);
  next.Close();
  EXPECT_EQ(dir.Read(kName), QByteArray());
}

TEST(RunLogTest, AbandonedLogKeepsItsBytesAndIsReleased) {
  ScopedTempDir dir;
  {
    RunLog log(kName);
    log.WriteLn(QStringLiteral("START 9:05:07"));
  }
  EXPECT_EQ(dir.Read(kName), QByteArray("START 9:05:07\r\n"));
  EXPECT_EQ(FailureOf([] { RunLog again(kName); }), QString());
}

TEST(RunLogTest, WritingAfterCloseFails) {
  ScopedTempDir dir;
  RunLog log(kName);
  log.Close();
  EXPECT_EQ(FailureOf([&] { log.WriteLn(' '); }), QStringLiteral("I/O error %1").arg(EBADF));
}

// A name that cannot be created, and what stands in its way.
struct BadNameCase {
  const char* title;
  std::function<QString(const ScopedTempDir&)> prepare;  // returns the name to create
  QString message;
};

class RunLogBadNameTest : public ::testing::TestWithParam<BadNameCase> {};

TEST_P(RunLogBadNameTest, FailsWithTheMessage) {
  ScopedTempDir dir;
  const QString name = GetParam().prepare(dir);
  EXPECT_EQ(FailureOf([&] { RunLog log(name); }), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RunLogBadNameTest,
    ::testing::Values(BadNameCase{"MissingDirectory",
                                  [](const ScopedTempDir&) { return QStringLiteral("brak/") + kName; },
                                  QStringLiteral("File not found")},
                      BadNameCase{"FileAsDirectory",
                                  [](const ScopedTempDir& dir) {
                                    QFile f(dir.File(QStringLiteral("plik")));
                                    (void)f.open(QIODevice::WriteOnly);
                                    return QStringLiteral("plik/") + kName;
                                  },
                                  QStringLiteral("Invalid filename")},
                      BadNameCase{"NameTooLong", [](const ScopedTempDir&) { return QString(300, QLatin1Char('n')); },
                                  QStringLiteral("Invalid filename")},
                      BadNameCase{"DirectoryOfThatName",
                                  [](const ScopedTempDir& dir) {
                                    QDir(dir.Path()).mkdir(kName);
                                    return kName;
                                  },
                                  QStringLiteral("File access denied")}),
    [](const ::testing::TestParamInfo<BadNameCase>& info) { return std::string(info.param.title); });

class RunLogLinkTest : public ::testing::TestWithParam<bool> {};

TEST_P(RunLogLinkTest, NeverWritesThroughASymbolicLink) {
  ScopedTempDir dir;
  const bool targetExists = GetParam();
  const QString target = dir.File(QStringLiteral("cel.txt"));
  if (targetExists) {
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
  }
  ASSERT_TRUE(QFile::link(target, dir.File(kName)));
  EXPECT_EQ(FailureOf([] { RunLog log(kName); }), QStringLiteral("File access denied"));
  EXPECT_EQ(QFile::exists(target), targetExists);
  if (targetExists) {
    EXPECT_EQ(dir.Read(QStringLiteral("cel.txt")), QByteArray("keep"));
  }
}

INSTANTIATE_TEST_SUITE_P(Links, RunLogLinkTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "ToExistingFile" : "Dangling");
                         });

TEST(RunLogDeathTest, ReadOnlyDirectoryDeniesAccess) {
  ScopedTempDir dir;
  ASSERT_EQ(::chmod(QFile::encodeName(dir.Path()).constData(), 0555), 0);
  EXPECT_EXIT(
      {
        DropRootInChild();
        const QString message = FailureOf([] { RunLog log(kName); });
        ExitWith(message == QStringLiteral("File access denied"), message);
      },
      ::testing::ExitedWithCode(0), "File access denied");
  ::chmod(QFile::encodeName(dir.Path()).constData(), 0700);
  EXPECT_FALSE(QFile::exists(dir.File(kName)));
}

// Files may grow to limit bytes; writes beyond it fail with EFBIG. Returns the limit before.
rlim_t LimitFileSize(rlim_t limit) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit r{};
  ::getrlimit(RLIMIT_FSIZE, &r);
  const rlim_t before = r.rlim_cur;
  r.rlim_cur = limit;
  if (::setrlimit(RLIMIT_FSIZE, &r) != 0) ExitWith(false, QStringLiteral("setrlimit"));
  return before;
}

TEST(RunLogDeathTest, WriteThatFillsTheBufferReportsTheFailure) {
  ScopedTempDir dir;
  const QString line(100, QLatin1Char('a'));
  EXPECT_EXIT(
      {
        const rlim_t before = LimitFileSize(200);
        RunLog log(kName);
        log.WriteLn(line);  // 102 bytes buffered
        log.WriteLn(line);  // first block written, 76 buffered
        const QString message = FailureOf([&] { log.WriteLn(QString(60, QLatin1Char('b'))); });
        LimitFileSize(before);  // the report itself goes to a file
        ExitWith(message == QStringLiteral("I/O error 27"), message);
      },
      ::testing::ExitedWithCode(0), "I/O error 27");
  const QByteArray written = (line.toLatin1() + "\r\n" + line.toLatin1() + "\r\n" + QByteArray(60, 'b')).left(200);
  EXPECT_EQ(dir.Read(kName), written);
}

TEST(RunLogDeathTest, CloseReportsTheLastBlocksFailure) {
  ScopedTempDir dir;
  EXPECT_EXIT(
      {
        const rlim_t before = LimitFileSize(10);
        RunLog log(kName);
        log.WriteLn(QStringLiteral("START 9:05:07"));
        const QString message = FailureOf([&] { log.Close(); });
        LimitFileSize(before);  // the report itself goes to a file
        ExitWith(message == QStringLiteral("I/O error 27"), message);
      },
      ::testing::ExitedWithCode(0), "I/O error 27");
  EXPECT_EQ(dir.Read(kName), QByteArray("START 9:05"));
  EXPECT_EQ(FailureOf([] { RunLog again(kName); }), QString());  // released despite the failure
}

struct ErrnoCase {
  int error;
  const char* message;
};

class IoErrorMessageTest : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(IoErrorMessageTest, NamesTheError) {
  EXPECT_EQ(IoErrorMessage(GetParam().error), QString::fromLatin1(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, IoErrorMessageTest,
    ::testing::Values(ErrnoCase{ENOENT, "File not found"}, ErrnoCase{ENOTDIR, "Invalid filename"},
                      ErrnoCase{ENAMETOOLONG, "Invalid filename"}, ErrnoCase{EMFILE, "Too many open files"},
                      ErrnoCase{ENFILE, "Too many open files"}, ErrnoCase{EACCES, "File access denied"},
                      ErrnoCase{EPERM, "File access denied"}, ErrnoCase{EROFS, "File access denied"},
                      ErrnoCase{EISDIR, "File access denied"}, ErrnoCase{ETXTBSY, "File access denied"},
                      ErrnoCase{ELOOP, "File access denied"}, ErrnoCase{EWOULDBLOCK, "File access denied"},
                      ErrnoCase{ENOSPC, "I/O error 28"}, ErrnoCase{EFBIG, "I/O error 27"},
                      ErrnoCase{EIO, "I/O error 5"}, ErrnoCase{EDQUOT, "I/O error 122"}));
