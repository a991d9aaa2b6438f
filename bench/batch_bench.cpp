// Runs the batch core headless over N statements against the default database in the
// current directory, and reports its speed and peak memory.
//
//   batch_bench COUNT exec|query [TEMPLATE]
// COUNT must be a multiple of 100: counter 2 runs 1..COUNT/100, counter 3 runs 1..100.

#include "batch/BatchRun.h"
#include "batch/RunWindow.h"
#include "db/Exception.h"
#include "db/TQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

class BenchWindow : public RunWindow {
 public:
  BenchWindow(int count, bool exec, QString line) : count_(count), exec_(exec), line_(std::move(line)) {}
  double FieldValue(CounterField f) override {
    switch (f) {
      case CounterField::DO2: return count_ / 100;
      case CounterField::DO3: return 100;
      default: return 1;
    }
  }
  bool BoxChecked(ModeBox box) override { return box == ModeBox::Cichy || exec_; }
  QStringList EditorLines() override { return {line_}; }
  void SetStatus(const QString& text) override { status_ = text; }
  QString Status() override { return status_; }
  void SetGridVisible(bool) override {}
  void ProcessPendingInput() override { QCoreApplication::processEvents(); }
  void ShowMessage(const QString&) override {}

 private:
  int count_;
  bool exec_;
  QString line_;
  QString status_;
};

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3 || args[1].toInt() % 100 != 0 || (args[2] != "exec" && args[2] != "query")) {
    std::fprintf(stderr, "usage: batch_bench COUNT(multiple of 100) exec|query [TEMPLATE]\n");
    return 2;
  }
  const int count = args[1].toInt();
  const bool exec = args[2] == "exec";
  const QString line = args.size() > 3 ? args[3]
                       : exec        ? QStringLiteral("INSERT INTO t VALUES($LICZ1$, $LICZ2$, $LICZ3$);")
                                     : QStringLiteral("SELECT a, b, c FROM t WHERE c = $LICZ3$;");
  BenchWindow window(count, exec, line);
  TQuery qry;
  QElapsedTimer timer;
  timer.start();
  try {
    RunBatch(window, qry);
  } catch (const Exception& e) {
    std::fprintf(stderr, "run failed: %s\n", e.what());
    return 1;
  }
  const double seconds = timer.nsecsElapsed() / 1e9;
  std::printf("statements=%d seconds=%.3f per_second=%.0f peak_rss_kb=%ld\n", count, seconds, count / seconds,
              PeakRssKb());
  return 0;
}
