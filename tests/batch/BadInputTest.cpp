// Runs fed with input far outside the ordinary: huge places, ranges and texts, text the code
// page cannot hold, errors of any kind, and log files that cannot be written. Each run either
// completes or ends with a clear error, and the log keeps every line written up to that point.

#include "batch/BatchRun.h"

#include "batch/InOutError.h"
#include "batch/TimeStamp.h"
#include "common/ScriptedWindow.h"
#include "common/SqliteFile.h"
#include "common/TempDir.h"
#include "db/Exception.h"
#include "db/Session.h"
#include "db/TQuery.h"

#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <new>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QDateTime kMoment(QDate(2026, 3, 5), QTime(9, 7, 59));
const QString kLogName = QStringLiteral("20260305_0907.txt");

class BadInput : public ::testing::Test {
 protected:
  BadInput()
      : session_(QStringLiteral("bad-input"), [this] { return Alias(); }),
        qry(QStringLiteral("qry"), &session_),
        data(dbPath_) {
    StopRequested = false;
    data.Exec(QStringLiteral("CREATE TABLE t(c)"));
    window.boxes[ModeBox::Cichy] = true;
  }

  DatabaseAlias Alias() const {
    DatabaseAlias alias;
    alias.database = dbPath_;
    return alias;
  }

  void Run() {
    RunBatch(window, qry, [] { return kMoment; });
  }
  /// The run's error message; empty when it completed.
  QString RunFailure() {
    try {
      Run();
    } catch (const Exception& e) {
      return e.Message();
    }
    return {};
  }
  void OneCounter(double from, double to) {
    window.SetCounter(1, 1, 1, 1);
    window.SetCounter(2, 1, 1, 1);
    window.SetCounter(3, from, to, 1);
  }

  QByteArray Log() const { return dir.Read(kLogName); }
  QStringList LogLines() const { return QString::fromUtf8(Log()).split(QStringLiteral("\r\n")); }
  QStringList Rows() { return data.Column(QStringLiteral("SELECT c FROM t ORDER BY rowid")); }
  static QString Stamp() { return TimeText(kMoment.time()); }
  static QByteArray Combination(const QString& counter, const QString& statement) {
    return (counter + QStringLiteral("\r\n") + statement + QStringLiteral("\r\n\r\n \r\n")).toUtf8();
  }

  ScopedTempDir dir;
  QString dbPath_ = dir.File(QStringLiteral("test.db"));
  TSession session_;
  TQuery qry;
  SqliteFile data;
  ScriptedWindow window;
};

// Two billion places would need gigabytes for one counter text: the run ends with the reason
// logged after every statement so far, the statements before it carried out.
TEST_F(BadInput, PlacesBeyondAMillionEndTheRunWithTheReasonLogged) {
  OneCounter(1, 3);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  window.onYield = [this](int n) {
    if (n == 2) window.fields[CounterField::PL3] = 2000000000;
  };
  EXPECT_EQ(RunFailure(), QStringLiteral("Places of counter 3 too large: 2000000000 (at most 1000000)"));
  EXPECT_EQ(Rows(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
  EXPECT_EQ(Log(), QStringLiteral("START ").toUtf8() + Stamp().toUtf8() + "\r\n" +
                       Combination(QStringLiteral("1 1 1"), QStringLiteral("INSERT INTO t VALUES(1)")) +
                       Combination(QStringLiteral("1 1 2"), QStringLiteral("INSERT INTO t VALUES(2)")) +
                       "** ERROR Places of counter 3 too large: 2000000000 (at most 1000000)\r\n");
  EXPECT_EQ(window.status, QStringLiteral("1 1 2")) << "the label keeps the last counter line";

  // A million places is still built and written whole.
  window.onYield = nullptr;
  OneCounter(1, 1);
  window.fields[CounterField::PL1] = 1000000;
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES(length('$LICZ1$'))")};
  EXPECT_EQ(RunFailure(), QString());
  EXPECT_EQ(Rows().last(), QStringLiteral("1000000"));
  EXPECT_TRUE(Log().contains(QByteArray(999999, '0') + "1 1 1\r\n"));
}

// The range is walked, never built: a stop ends a run of a billion statements at once.
TEST_F(BadInput, ABillionStatementsStopAtOnce) {
  OneCounter(1, 1000000000);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  window.onYield = [](int n) {
    if (n == 500) StopRequested = true;
  };
  EXPECT_EQ(RunFailure(), QString());
  EXPECT_EQ(window.yields, 500);
  EXPECT_EQ(data.Column(QStringLiteral("SELECT count(*) FROM t")), QStringList{QStringLiteral("499")});
  const QStringList lines = LogLines();
  EXPECT_EQ(lines.size(), 1 + 499 * 4 + 3 + 1 + 1);
  EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("ANUL ") + Stamp());
  EXPECT_EQ(window.status, QStringLiteral("1 1 500 ANUL"));
}

// Ranges ending at the 32-bit limits end there, in every loop.
TEST_F(BadInput, RangesEndingAtThe32BitLimitsEnd) {
  window.SetCounter(1, 2147483646, 2147483647, 1);
  window.SetCounter(2, -2147483648.0, -2147483647.0, 1);
  window.SetCounter(3, 2147483647, 2147483647, 1);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES('$LICZ1$ $LICZ2$ $LICZ3$')")};
  EXPECT_EQ(RunFailure(), QString());
  EXPECT_EQ(Rows(), (QStringList{QStringLiteral("2147483646 -2147483648 2147483647"),
                                 QStringLiteral("2147483646 -2147483647 2147483647"),
                                 QStringLiteral("2147483647 -2147483648 2147483647"),
                                 QStringLiteral("2147483647 -2147483647 2147483647")}));
}

// A 10 MB template and a 1 MB line reach the database and the log whole.
TEST_F(BadInput, HugeTemplatesAreSentAndLoggedWhole) {
  OneCounter(1, 2);
  const QString megabyte(1 << 20, QLatin1Char('x'));
  QStringList lines{QStringLiteral("INSERT INTO t VALUES('$LICZ3$' || '") + megabyte + QStringLiteral("')")};
  for (int i = 0; i < 9 * 1024; ++i) lines << QStringLiteral("-- ") + QString(1021, QLatin1Char('y'));
  window.lines = lines;
  EXPECT_EQ(RunFailure(), QString());
  EXPECT_EQ(data.Column(QStringLiteral("SELECT length(c) FROM t")),
            (QStringList{QString::number(megabyte.size() + 1), QString::number(megabyte.size() + 1)}));
  lines[0].replace(QStringLiteral("$LICZ3$"), QStringLiteral("2"));
  const QByteArray second = Combination(QStringLiteral("1 1 2"), lines.join(QStringLiteral("\r\n")));
  EXPECT_GT(second.size(), 10 << 20);
  EXPECT_TRUE(Log().contains(second));
  EXPECT_TRUE(Log().endsWith("KONIEC " + Stamp().toUtf8() + "\r\n"));
}

// A NUL would cut the statement short in the driver; the statement fails instead, and the log
// shows it whole.
TEST_F(BadInput, NulCharacterFailsTheStatementInsteadOfCuttingIt) {
  OneCounter(1, 1);
  const QString line = QStringLiteral("INSERT INTO t VALUES(1)") + QChar(0) + QStringLiteral("; DELETE FROM t");
  window.lines = QStringList{line};
  EXPECT_EQ(RunFailure(), QString());
  EXPECT_TRUE(Rows().isEmpty());
  EXPECT_TRUE(Log().contains(QByteArray("INSERT INTO t VALUES(1)\0; DELETE FROM t\r\n\r\n", 41)));
  EXPECT_TRUE(Log().contains("** ERROR qry: The statement holds a NUL character\r\n"));
}

// Half a surrogate pair is no character of any code page: the log gets the code page's
// replacement for it and the run goes on.
TEST_F(BadInput, TextTheCodePageCannotHoldIsReplacedInTheLog) {
  OneCounter(1, 1);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES('a") + QChar(0xD800) + QStringLiteral("b')")};
  EXPECT_EQ(RunFailure(), QString());
  EXPECT_EQ(Rows().size(), 1);
  const QByteArray log = Log();
  EXPECT_EQ(QString::fromUtf8(log).toUtf8(), log) << "valid text in the code page";
  EXPECT_TRUE(log.contains("INSERT INTO t VALUES('a")) << log.toStdString();
  EXPECT_TRUE(log.endsWith("KONIEC " + Stamp().toUtf8() + "\r\n"));
  EXPECT_EQ(LogLines().size(), 7);
}

// Whatever escapes the run (out of memory included) ends it with the log closed, holding every
// line written so far, and released for the next run.
TEST_F(BadInput, AnyErrorEscapingTheRunLeavesTheLogClosedAndComplete) {
  OneCounter(1, 5);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  const std::function<void()> throwers[] = {
      [] { throw std::bad_alloc(); },
      [] { throw std::runtime_error("anything"); },
      [] { throw 42; },
  };
  for (const auto& thrower : throwers) {
    data.Exec(QStringLiteral("DELETE FROM t"));
    window.yields = 0;
    window.onYield = [&thrower](int n) {
      if (n == 3) thrower();
    };
    EXPECT_ANY_THROW(Run());
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(Log(), QStringLiteral("START ").toUtf8() + Stamp().toUtf8() + "\r\n" +
                         Combination(QStringLiteral("1 1 1"), QStringLiteral("INSERT INTO t VALUES(1)")) +
                         Combination(QStringLiteral("1 1 2"), QStringLiteral("INSERT INTO t VALUES(2)")) +
                         "1 1 3\r\nINSERT INTO t VALUES(3)\r\n\r\n");
  }
  window.onYield = nullptr;
  EXPECT_EQ(RunFailure(), QString()) << "the next run of the same minute replaces the log";
  EXPECT_TRUE(Log().endsWith("KONIEC " + Stamp().toUtf8() + "\r\n"));
}

// A link planted in the log's place is never written through, whether its target exists or not.
TEST_F(BadInput, LogNameTakenByASymbolicLink) {
  OneCounter(1, 2);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  const QString target = dir.File(QStringLiteral("precious.txt"));
  ASSERT_TRUE(QFile::link(target, dir.File(kLogName)));
  EXPECT_EQ(RunFailure(), QStringLiteral("File access denied"));
  EXPECT_FALSE(QFileInfo::exists(target));
  {
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
  }
  EXPECT_EQ(RunFailure(), QStringLiteral("File access denied"));
  EXPECT_EQ(dir.Read(QStringLiteral("precious.txt")), QByteArray("keep"));
  EXPECT_TRUE(Rows().isEmpty());
  EXPECT_EQ(window.yields, 0);
}

// A second run of the same minute started while the first still writes (from inside the
// first's input handling): it fails before any statement and the first run's log is untouched.
TEST_F(BadInput, SecondRunOfTheSameMinuteWhileTheFirstWrites) {
  OneCounter(1, 40);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  QString nested;
  window.onYield = [this, &nested](int n) {
    if (n != 20) return;
    ScriptedWindow other;
    other.lines = QStringList{QStringLiteral("INSERT INTO t VALUES(-1)")};
    try {
      RunBatch(other, qry, [] { return kMoment; });
    } catch (const EInOutError& e) {
      nested = e.Message() + QStringLiteral(" after %1").arg(other.yields);
    }
  };
  EXPECT_EQ(RunFailure(), QString());
  EXPECT_EQ(nested, QStringLiteral("File access denied after 0"));
  EXPECT_EQ(data.Column(QStringLiteral("SELECT count(*) FROM t")), QStringList{QStringLiteral("40")});
  const QStringList lines = LogLines();
  EXPECT_EQ(lines.size(), 1 + 40 * 4 + 1 + 1);
  EXPECT_EQ(lines.first(), QStringLiteral("START ") + Stamp());
  EXPECT_FALSE(Log().contains("-1"));
}

// Root ignores permissions, so these runs happen as an unprivileged user in a child.
void RunAsNobody(const QString& where) {
  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
  if (::chdir(QFile::encodeName(where).constData()) != 0) std::_Exit(4);
}

// An existing read-only log of the same minute: the run fails before any statement and the
// old file keeps its bytes.
TEST_F(BadInput, ReadOnlyExistingLog) {
  OneCounter(1, 2);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  ASSERT_EQ(::chmod(QFile::encodeName(dir.Path()).constData(), 0777), 0);
  {
    QFile old(dir.File(kLogName));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older run\r\n");
  }
  ASSERT_EQ(::chmod(QFile::encodeName(dir.File(kLogName)).constData(), 0444), 0);
  EXPECT_EXIT(
      {
        RunAsNobody(dir.Path());
        std::cerr << RunFailure().toStdString() << " after " << window.yields << std::endl;
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "File access denied after 0");
  EXPECT_EQ(Log(), QByteArray("an older run\r\n"));
  EXPECT_TRUE(Rows().isEmpty());
}

// A disk that fills during the run: a 64 KiB tmpfs when this process may mount one. The run
// ends at the block that did not fit, with every byte before it on disk and every statement
// logged before the failure carried out.
TEST_F(BadInput, DiskFillingDuringTheRun) {
  const QString mnt = dir.File(QStringLiteral("small"));
  ASSERT_TRUE(QDir(dir.Path()).mkdir(QStringLiteral("small")));
  if (::mount("tmpfs", QFile::encodeName(mnt).constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0)
    GTEST_SKIP() << "no tmpfs mount here; the file-size limit case in BatchRunTest covers this";
  struct Unmount {
    QByteArray path;
    ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
  } unmount{QFile::encodeName(mnt)};

  OneCounter(1, 100000);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$) -- ") + QString(200, QLatin1Char('x'))};
  ASSERT_TRUE(QDir::setCurrent(mnt));
  const QString failure = RunFailure();
  const QByteArray log = [&] {
    QFile f(mnt + QLatin1Char('/') + kLogName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  QDir::setCurrent(dir.Path());

  EXPECT_EQ(failure, QStringLiteral("I/O error %1").arg(ENOSPC));
  EXPECT_GT(log.size(), 32 * 1024);
  EXPECT_EQ(log.size() % 128, 0) << "whole blocks only";
  // Every combination whose separator is on disk was carried out; the run ended in the
  // combination the label shows, which was carried out only if its own separator failed.
  const int logged = static_cast<int>(log.count(" \r\n"));
  const QStringList rows = Rows();
  ASSERT_FALSE(rows.isEmpty());
  EXPECT_EQ(rows.last(), QString::number(rows.size())) << "in order, none skipped";
  EXPECT_TRUE(rows.size() == logged || rows.size() == logged + 1) << rows.size() << " " << logged;
  const int last = window.status.section(u' ', 2).toInt();
  EXPECT_TRUE(last == rows.size() || last == rows.size() + 1) << window.status.toStdString();
}

}  // namespace
