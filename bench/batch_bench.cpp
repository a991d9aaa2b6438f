// Runs the batch over N statements against the default database in the current directory,
// headless or through the real main window, and reports its speed and peak memory.
//
//   batch_bench COUNT exec|query|window [TEMPLATE]
// COUNT must be a multiple of 100: counter 2 runs 1..COUNT/100, counter 3 runs 1..100.
// "window" runs execute mode through TfrmMain (give it QT_QPA_PLATFORM=offscreen).

#include "app/TRxSpinEdit.h"
#include "app/TfrmMain.h"
#include "batch/BatchRun.h"
#include "batch/RunWindow.h"
#include "db/Exception.h"
#include "db/TQuery.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <cstdio>
#include <memory>
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

// The same settings typed into the real window; its handler runs the batch.
void RunThroughWindow(int count, const QString& line) {
  TfrmMain form;
  frmMain = &form;
  form.edOD1->SetValue(1);
  form.edDO1->SetValue(1);
  form.edOD2->SetValue(1);
  form.edDO2->SetValue(count / 100);
  form.edOD3->SetValue(1);
  form.edDO3->SetValue(100);
  for (TRxSpinEdit* places : {form.edPL1, form.edPL2, form.edPL3}) places->SetValue(1);
  form.chCichy->setChecked(true);
  form.chExecSQL->setChecked(true);
  form.memSQL->setPlainText(line);
  form.show();
  QApplication::processEvents();
  form.btnDOClick();
  frmMain = nullptr;
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  // Widgets need a platform; the headless runs must not.
  const bool window = argc > 2 && QByteArray(argv[2]) == "window";
  std::unique_ptr<QCoreApplication> app(window ? new QApplication(argc, argv) : new QCoreApplication(argc, argv));
  const QStringList args = QCoreApplication::arguments();
  const QStringList modes{QStringLiteral("exec"), QStringLiteral("query"), QStringLiteral("window")};
  if (args.size() < 3 || args[1].toInt() % 100 != 0 || !modes.contains(args[2])) {
    std::fprintf(stderr, "usage: batch_bench COUNT(multiple of 100) exec|query|window [TEMPLATE]\n");
    return 2;
  }
  const int count = args[1].toInt();
  const bool exec = args[2] != "query";
  const QString line = args.size() > 3 ? args[3]
                       : exec          ? QStringLiteral("INSERT INTO t VALUES($LICZ1$, $LICZ2$, $LICZ3$);")
                                       : QStringLiteral("SELECT a, b, c FROM t WHERE c = $LICZ3$;");
  QElapsedTimer timer;
  timer.start();
  try {
    if (window) {
      RunThroughWindow(count, line);
    } else {
      BenchWindow headless(count, exec, line);
      TQuery qry;
      RunBatch(headless, qry);
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "run failed: %s\n", e.what());
    return 1;
  }
  const double seconds = timer.nsecsElapsed() / 1e9;
  std::printf("statements=%d seconds=%.3f per_second=%.0f peak_rss_kb=%ld\n", count, seconds, count / seconds,
              PeakRssKb());
  return 0;
}
