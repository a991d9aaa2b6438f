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
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QDateTime kMoment(QDate(2026, 3, 5), QTime(9, 7, 59));
const QString kLogName = QStringLiteral("20260305_0907.txt");

// Each run against its own SQLite file through the layer's real session code.
class BatchRun : public ::testing::Test {
 protected:
  BatchRun()
      : dbPath_(dir.File(QStringLiteral("test.db"))),
        session(QStringLiteral("batch-test"), [this] { return Alias(); }),
        qry(QStringLiteral("qry"), &session),
        data(dbPath_) {
    StopRequested = false;
  }

  DatabaseAlias Alias() const {
    DatabaseAlias alias;
    alias.database = dbPath_;
    return alias;
  }

  // Runs sql through the layer itself (for databases only it can see).
  void ExecThroughLayer(const QString& sql) {
    TQuery setup(QStringLiteral("setup"), &session);
    setup.AssignLines({sql});
    setup.ExecSQL();
  }
  QString CountThroughLayer() {
    TQuery count(QStringLiteral("count"), &session);
    count.AssignLines({QStringLiteral("SELECT count(*) FROM t")});
    count.Open();
    return count.ResultModel()->data(count.ResultModel()->index(0, 0)).toString();
  }

  void Run() {
    RunBatch(window, qry, [] { return kMoment; });
  }

  QByteArray LogBytes() const { return dir.Read(kLogName); }
  QStringList LogLines() const {
    QStringList lines = QString::fromUtf8(LogBytes()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "the log ends with a line end";
    return lines;
  }
  QStringList CounterLinesOfLog() const {
    // A counter line follows the start line or a separator line.
    QStringList lines = LogLines(), counters;
    for (int i = 1; i < lines.size(); ++i)
      if (lines[i - 1].startsWith(QLatin1String("START ")) || lines[i - 1] == QLatin1String(" "))
        if (!lines[i].startsWith(QLatin1String("KONIEC ")) && !lines[i].startsWith(QLatin1String("ANUL ")))
          counters << lines[i];
    return counters;
  }
  static QString Stamp() { return TimeText(kMoment.time()); }

  void Counters(int from1, int to1, int from2, int to2, int from3, int to3, int places = 1) {
    window.SetCounter(1, from1, to1, places);
    window.SetCounter(2, from2, to2, places);
    window.SetCounter(3, from3, to3, places);
  }

  ScopedTempDir dir;
  QString dbPath_;
  TSession session;
  TQuery qry;
  SqliteFile data;
  ScriptedWindow window;
};

TEST_F(BatchRun, DefaultsGive360StatementsInLoopOrder) {
  data.Exec(QStringLiteral("CREATE TABLE t(c TEXT)"));
  window.lines = QStringList{QStringLiteral("INSERT INTO t(c) VALUES('$LICZ1$ $LICZ2$ $LICZ3$');")};
  Run();

  QStringList expected;
  for (int c1 = 2009; c1 <= 2011; ++c1)
    for (int c2 = 1; c2 <= 12; ++c2)
      for (int c3 = 1; c3 <= 10; ++c3)
        expected << QStringLiteral("%1 %2 %3").arg(c1).arg(c2, 2, 10, QLatin1Char('0')).arg(c3);
  ASSERT_EQ(expected.size(), 360);
  EXPECT_EQ(expected.first(), QStringLiteral("2009 01 1"));
  EXPECT_EQ(expected.last(), QStringLiteral("2011 12 10"));
  EXPECT_EQ(data.Column(QStringLiteral("SELECT c FROM t ORDER BY rowid")), expected);
  EXPECT_EQ(CounterLinesOfLog(), expected);
  EXPECT_EQ(window.yields, 360);
  EXPECT_EQ(window.status, QStringLiteral("KONIEC"));
  EXPECT_FALSE(window.gridVisible);
  EXPECT_TRUE(window.messages.isEmpty());
}

TEST_F(BatchRun, TenLineLogByteForByte) {
  window.SetCounter(1, 2009, 2009, 2);
  window.SetCounter(2, 1, 2, 2);
  window.SetCounter(3, 1, 1, 1);
  window.lines = QStringList{QStringLiteral("SELECT '$LICZ1$', '$LICZ2$', '$LICZ3$'")};
  Run();

  const QString t = Stamp();
  const QString expected = QStringLiteral("START ") + t + QStringLiteral("\r\n") +
                           QStringLiteral("2009 01 1\r\nSELECT '2009', '01', '1'\r\n\r\n \r\n") +
                           QStringLiteral("2009 02 1\r\nSELECT '2009', '02', '1'\r\n\r\n \r\n") +
                           QStringLiteral("KONIEC ") + t + QStringLiteral("\r\n");
  EXPECT_EQ(LogBytes(), expected.toUtf8());
  EXPECT_EQ(LogLines().size(), 10);
}

TEST_F(BatchRun, EmptyRangesWriteOnlyStartAndEnd) {
  struct Case {
    const char* name;
    int from1, to1, from2, to2, from3, to3;
  } const cases[] = {
      {"outer", 5, 4, 1, 3, 1, 3},
      {"middle", 1, 3, 2, 1, 1, 3},
      {"inner", 1, 3, 1, 3, 1, 0},
  };
  data.Exec(QStringLiteral("CREATE TABLE t(c)"));
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES(1)")};
  for (const Case& c : cases) {
    Counters(c.from1, c.to1, c.from2, c.to2, c.from3, c.to3);
    window.status = QStringLiteral("--------------");
    Run();
    EXPECT_EQ(LogLines(), (QStringList{QStringLiteral("START ") + Stamp(), QStringLiteral("KONIEC ") + Stamp()}))
        << c.name;
    EXPECT_EQ(window.status, QStringLiteral("KONIEC")) << c.name;
  }
  EXPECT_EQ(data.Column(QStringLiteral("SELECT count(*) FROM t")), QStringList{QStringLiteral("0")});
  EXPECT_EQ(window.yields, 0);
}

TEST_F(BatchRun, StopTakesEffectBetweenStatements) {
  data.Exec(QStringLiteral("CREATE TABLE t(c)"));
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  for (int stopAt : {1, 4}) {
    data.Exec(QStringLiteral("DELETE FROM t"));
    window.yields = 0;
    window.gridVisible = true;  // a stopped run leaves the grid as it was
    window.onYield = [stopAt](int n) {
      if (n == stopAt) StopRequested = true;
    };
    Run();
    EXPECT_EQ(data.Column(QStringLiteral("SELECT count(*) FROM t")), QStringList{QString::number(stopAt - 1)});
    const QStringList lines = LogLines();
    EXPECT_EQ(lines.last(), QStringLiteral("ANUL ") + Stamp());
    // Start, four lines per executed statement, three for the stopped one, cancel.
    EXPECT_EQ(lines.size(), 4 * stopAt + 1);
    EXPECT_EQ(window.status, QStringLiteral("2009 01 %1 ANUL").arg(stopAt));
    EXPECT_TRUE(window.gridVisible);
  }
}

TEST_F(BatchRun, StopAtFirstYieldLogsOneStatementAndExecutesNothing) {
  data.Exec(QStringLiteral("CREATE TABLE t(c)"));
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES($LICZ3$)")};
  window.onYield = [](int) { StopRequested = true; };
  Run();
  EXPECT_EQ(LogLines(),
            (QStringList{QStringLiteral("START ") + Stamp(), QStringLiteral("2009 01 1"),
                         QStringLiteral("INSERT INTO t VALUES(1)"), QString(), QStringLiteral("ANUL ") + Stamp()}));
  EXPECT_EQ(data.Column(QStringLiteral("SELECT count(*) FROM t")), QStringList{QStringLiteral("0")});
  EXPECT_EQ(window.status, QStringLiteral("2009 01 1 ANUL"));
}

TEST_F(BatchRun, StopPressedBeforeTheRunHasNoEffect) {
  Counters(1, 1, 1, 1, 1, 3);
  window.lines = QStringList{QStringLiteral("SELECT 1")};
  StopRequested = true;
  Run();
  EXPECT_EQ(window.status, QStringLiteral("KONIEC"));
  EXPECT_EQ(window.yields, 3);
}

TEST_F(BatchRun, FailingStatementsAreLoggedAndShownUnlessSilent) {
  Counters(1, 1, 1, 2, 1, 3);
  window.lines = QStringList{QStringLiteral("SELEC $LICZ3$")};
  for (bool silent : {true, false}) {
    window.boxes[ModeBox::Cichy] = silent;
    window.messages.clear();
    Run();
    const QStringList lines = LogLines();
    const QString all = lines.join(QStringLiteral("\n"));
    EXPECT_EQ(all.count(QStringLiteral("** ERROR ")), 6) << "silent " << silent;
    EXPECT_EQ(lines.last(), QStringLiteral("KONIEC ") + Stamp());
    EXPECT_EQ(window.messages.size(), silent ? 0 : 6);
  }
  // The box names the counter line on its own line, then the message; the log holds the same message.
  const QString box = window.messages.first();
  ASSERT_TRUE(box.startsWith(QStringLiteral("Jest bład w 1 1 1\r\n"))) << box.toStdString();
  const QString message = box.mid(QStringLiteral("Jest bład w 1 1 1\r\n").size());
  EXPECT_TRUE(message.contains(QStringLiteral("syntax error"))) << message.toStdString();
  EXPECT_TRUE(LogBytes().contains((QStringLiteral("** ERROR ") + message + QStringLiteral("\r\n \r\n")).toUtf8()));
}

TEST_F(BatchRun, UpdateOpenedInQueryModeIsCarriedOutAndReported) {
  data.Exec(QStringLiteral("CREATE TABLE t(n INTEGER)"));
  data.Exec(QStringLiteral("INSERT INTO t VALUES(0)"));
  Counters(1, 1, 1, 1, 1, 3);
  window.boxes[ModeBox::ExecSQL] = false;
  window.lines = QStringList{QStringLiteral("UPDATE t SET n = n + $LICZ3$")};
  Run();
  EXPECT_EQ(data.Column(QStringLiteral("SELECT n FROM t")), QStringList{QStringLiteral("6")});
  EXPECT_EQ(LogLines().count(QStringLiteral("** ERROR Error creating cursor handle")), 3);
  EXPECT_FALSE(qry.Active());
  EXPECT_TRUE(window.gridVisible);
}

TEST_F(BatchRun, QueryModeKeepsTheLastResultSetOpen) {
  Counters(1, 1, 1, 1, 1, 4);
  window.boxes[ModeBox::ExecSQL] = false;
  window.lines = QStringList{QStringLiteral("SELECT $LICZ3$ AS v, 'x' AS w")};
  Run();
  ASSERT_TRUE(qry.Active());
  QSqlQueryModel* model = qry.ResultModel();
  EXPECT_EQ(model->rowCount(), 1);
  EXPECT_EQ(model->record().fieldName(0), QStringLiteral("v"));
  EXPECT_EQ(model->data(model->index(0, 0)).toString(), QStringLiteral("4"));
  EXPECT_TRUE(window.gridVisible);
}

TEST_F(BatchRun, RowsReturnedInExecuteModeAreDropped) {
  Counters(1, 1, 1, 1, 1, 2);
  window.lines = QStringList{QStringLiteral("SELECT $LICZ3$")};
  window.boxes[ModeBox::Cichy] = false;
  Run();
  EXPECT_TRUE(window.messages.isEmpty());
  EXPECT_FALSE(qry.Active());
  EXPECT_FALSE(LogBytes().contains("** ERROR"));
}

TEST_F(BatchRun, ColonsStartParametersUnlessDoubledOrQuoted) {
  struct Case {
    const char* line;
    const char* error;  // nullptr: the statement runs
    const char* stored;
  } const cases[] = {
      {"INSERT INTO t VALUES(:abc)", "qry: No value for parameter 'abc'", nullptr},
      {"INSERT INTO t VALUES($LICZ3$) -- ratio::1", nullptr, "1"},
      {"INSERT INTO t VALUES('a:b')", nullptr, "a:b"},
      {"INSERT INTO t VALUES('a::b')", nullptr, "a::b"},
  };
  data.Exec(QStringLiteral("CREATE TABLE t(c)"));
  Counters(1, 1, 1, 1, 1, 1);
  for (const Case& c : cases) {
    data.Exec(QStringLiteral("DELETE FROM t"));
    window.lines = QStringList{QString::fromUtf8(c.line)};
    Run();
    const QStringList errors = LogLines().filter(QStringLiteral("** ERROR "));
    if (c.error) {
      EXPECT_EQ(errors, QStringList{QStringLiteral("** ERROR ") + QString::fromUtf8(c.error)}) << c.line;
      EXPECT_EQ(data.Column(QStringLiteral("SELECT count(*) FROM t")), QStringList{QStringLiteral("0")}) << c.line;
    } else {
      EXPECT_TRUE(errors.isEmpty()) << c.line << ": " << errors.join(QLatin1Char('|')).toStdString();
      EXPECT_EQ(data.Column(QStringLiteral("SELECT c FROM t")), QStringList{QString::fromUtf8(c.stored)}) << c.line;
    }
  }
}

TEST_F(BatchRun, SettingsChangedMidRunTakeEffectWhenNextRead) {
  data.Exec(QStringLiteral("CREATE TABLE t(c TEXT)"));
  Counters(1, 1, 1, 2, 1, 3);
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES('a $LICZ2$ $LICZ3$')")};
  window.boxes[ModeBox::Cichy] = false;
  window.onYield = [this](int n) {
    if (n == 1) {
      window.fields[CounterField::DO3] = 1;  // inner range read again when counter 2 advances
      window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES('b $LICZ2$ $LICZ3$')")};
      window.fields[CounterField::PL3] = 2;  // places are read for every statement
    }
  };
  Run();
  EXPECT_EQ(data.Column(QStringLiteral("SELECT c FROM t ORDER BY rowid")),
            (QStringList{QStringLiteral("a 1 1"), QStringLiteral("b 1 02"), QStringLiteral("b 1 03"),
                         QStringLiteral("b 2 01")}));
}

TEST_F(BatchRun, ModesAreReadWhenNeeded) {
  Counters(1, 1, 1, 1, 1, 3);
  window.lines = QStringList{QStringLiteral("SELEC")};
  window.boxes[ModeBox::Cichy] = false;
  window.onYield = [this](int n) {
    window.boxes[ModeBox::Cichy] = n == 2;  // silent only for the second statement
    if (n == 3) window.boxes[ModeBox::ExecSQL] = false;
  };
  Run();
  EXPECT_EQ(window.messages.size(), 2);
  EXPECT_EQ(LogLines().filter(QStringLiteral("** ERROR ")).size(), 3);
  EXPECT_TRUE(window.gridVisible) << "grid follows the mode at the end of the run";
}

TEST_F(BatchRun, CounterTextsAtTheEndsOfTheRange) {
  struct Case {
    double from, to, places;
    QStringList counters;
  } const cases[] = {
      {2147483646, 2147483647, 1, {QStringLiteral("2147483646 1 1"), QStringLiteral("2147483647 1 1")}},
      {-2147483648.0, -2147483647.0, 1, {QStringLiteral("-2147483648 1 1"), QStringLiteral("-2147483647 1 1")}},
      {-3, -3, 3, {QStringLiteral("0-3 1 1")}},
      {7, 7, 2.5, {QStringLiteral("07 1 1")}},    // places rounded half to even: 2
      {7, 7, 3.5, {QStringLiteral("0007 1 1")}},  // 4
      {7.5, 8.5, 0, {QStringLiteral("8 1 1")}},   // 8 .. 8
      {1234, 1234, -4, {QStringLiteral("1234 1 1")}},
  };
  window.lines = QStringList{QStringLiteral("SELECT 1")};
  for (const Case& c : cases) {
    window.SetCounter(1, c.from, c.to, c.places);
    window.SetCounter(2, 1, 1, 1);
    window.SetCounter(3, 1, 1, 1);
    Run();
    EXPECT_EQ(CounterLinesOfLog(), c.counters) << c.from;
  }
}

TEST(CounterValue, RoundsHalfToEvenWithinThe32BitRange) {
  const struct {
    double in;
    int32_t out;
  } cases[] = {{2.5, 2},
               {3.5, 4},
               {-2.5, -2},
               {0.49, 0},
               {-0.5, 0},
               {2147483647.0, 2147483647},
               {-2147483648.0, -2147483647 - 1},
               {1e20, 2147483647},
               {-1e20, -2147483647 - 1}};
  for (const auto& c : cases) EXPECT_EQ(CounterValue(c.in), c.out) << c.in;
}

TEST_F(BatchRun, TemplateLinesAndMultiLineMessagesReachTheLogAsTheyAre) {
  Counters(1, 1, 1, 1, 1, 1);
  window.boxes[ModeBox::ExecSQL] = true;
  window.lines = QStringList{QStringLiteral("SELECT"), QStringLiteral("  $LICZ1$ +"), QStringLiteral("  nosuchcolumn")};
  Run();
  const QByteArray log = LogBytes();
  EXPECT_TRUE(log.contains("1 1 1\r\nSELECT\r\n  1 +\r\n  nosuchcolumn\r\n\r\n** ERROR ")) << log.toStdString();
}

// A log name that cannot be opened for writing, even by root: a directory stands there.
TEST_F(BatchRun, LogThatCannotBeCreatedAbandonsTheRunBeforeAnyStatement) {
  data.Exec(QStringLiteral("CREATE TABLE t(c)"));
  ASSERT_TRUE(QDir(dir.Path()).mkdir(kLogName));
  window.lines = QStringList{QStringLiteral("INSERT INTO t VALUES(1)")};
  try {
    Run();
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("File access denied"));
  }
  EXPECT_EQ(window.yields, 0);
  EXPECT_EQ(window.status, QStringLiteral("--------------"));
  EXPECT_EQ(data.Column(QStringLiteral("SELECT count(*) FROM t")), QStringList{QStringLiteral("0")});
}

// Permission checks are bypassed by root, so the run happens as an unprivileged user in a child.
TEST_F(BatchRun, ReadOnlyDirectory) {
  const QString ro = dir.File(QStringLiteral("ro"));
  ASSERT_TRUE(QDir(dir.Path()).mkdir(QStringLiteral("ro")));
  ASSERT_EQ(::chmod(QFile::encodeName(dir.Path()).constData(), 0755), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(ro).constData(), 0555), 0);
  window.lines = QStringList{QStringLiteral("SELECT 1")};
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
        if (::chdir(QFile::encodeName(ro).constData()) != 0) std::_Exit(4);
        try {
          Run();
        } catch (const EInOutError& e) {
          std::cerr << e.what() << " after " << window.yields << " statements" << std::endl;
          std::_Exit(0);
        }
        std::_Exit(5);
      },
      ::testing::ExitedWithCode(0), "File access denied after 0 statements");
}

// The file-size limit makes the fourth 128-byte block fail: the run stops at the statement
// whose logging filled it, and every byte before it stays on disk. The limit binds every
// file, so the statements go to an in-memory database and are counted in the child.
TEST_F(BatchRun, WriteFailingMidRunAbandonsTheRun) {
  dbPath_ = QStringLiteral(":memory:");
  Counters(1, 1, 1, 1, 1, 9);
  // 128 log bytes per combination: counter line 7, statement 114+2, empty line 2, separator 3.
  const QString head = QStringLiteral("INSERT INTO t VALUES($LICZ3$) --");
  window.lines = QStringList{head + QString(120 - head.size(), QLatin1Char('x'))};
  const int startBytes = (QStringLiteral("START ") + Stamp()).toUtf8().size() + 2;
  const int executedBeforeFailure = (4 * 128 - startBytes - 1) / 128;

  EXPECT_EXIT(
      {
        ExecThroughLayer(QStringLiteral("CREATE TABLE t(c)"));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 3 * 128;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) std::_Exit(3);
        try {
          Run();
        } catch (const EInOutError& e) {
          std::cerr << e.what() << " rows=" << CountThroughLayer().toStdString() << std::endl;
          std::_Exit(0);
        }
        std::_Exit(5);
      },
      ::testing::ExitedWithCode(0), "I/O error 27 rows=" + std::to_string(executedBeforeFailure) + "\\b");

  const QByteArray partial = LogBytes();
  EXPECT_EQ(partial.size(), 3 * 128);
  QFile::remove(dir.File(kLogName));
  ExecThroughLayer(QStringLiteral("CREATE TABLE t(c)"));
  Run();
  EXPECT_FALSE(LogBytes().contains("** ERROR"));
  EXPECT_TRUE(LogBytes().startsWith(partial));
}

}  // namespace
