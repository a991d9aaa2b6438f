#include "batch/BatchRun.h"

#include "batch/RunLog.h"
#include "batch/RunWindow.h"
#include "batch/TextHelpers.h"
#include "batch/TimeStamp.h"
#include "db/Exception.h"
#include "db/TQuery.h"

#include <cmath>
#include <limits>

bool StopRequested = false;

QDateTime LocalNow() { return QDateTime::currentDateTime(); }

int32_t CounterValue(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint under the default rounding mode takes halves to the even neighbour.
  const double rounded = std::nearbyint(value);
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(rounded < lo ? lo : rounded > hi ? hi : rounded);
}

namespace {

const QString kZero = QStringLiteral("0");

// Widest counter text the run builds. Places of two billion would ask for gigabytes per
// statement and end the process; far beyond any real key, far below what memory holds.
constexpr int32_t kMaxPlaces = 1000000;

class Run {
 public:
  Run(RunWindow& window, TQuery& qry, const Clock& now)
      : window_(window), qry_(qry), now_(now), log_(LogFileStamp(now()) + QStringLiteral(".txt")) {}

  void Execute() {
    log_.WriteLn(QStringLiteral("START ") + Time());
    StopRequested = false;
    qry_.Close();
    // 64-bit loop variables so that a range ending at the 32-bit maximum still ends.
    const int64_t from1 = Value(CounterField::OD1), to1 = Value(CounterField::DO1);
    for (int64_t c1 = from1; c1 <= to1; ++c1) {
      const int64_t from2 = Value(CounterField::OD2), to2 = Value(CounterField::DO2);
      for (int64_t c2 = from2; c2 <= to2; ++c2) {
        const int64_t from3 = Value(CounterField::OD3), to3 = Value(CounterField::DO3);
        for (int64_t c3 = from3; c3 <= to3; ++c3) {
          if (!Statement(c1, c2, c3)) return;
        }
      }
    }
    log_.WriteLn(QStringLiteral("KONIEC ") + Time());
    log_.Close();
    window_.SetStatus(QStringLiteral("KONIEC"));
    window_.SetGridVisible(!window_.BoxChecked(ModeBox::ExecSQL));
  }

 private:
  int32_t Value(CounterField field) { return CounterValue(window_.FieldValue(field)); }
  QString Time() { return TimeText(now_().time()); }
  QString Counter(int64_t c, int n, CounterField places) {
    const int32_t width = Value(places);
    if (width > kMaxPlaces) {
      // Abandons the run like a failure of the log, but with the reason in the log first.
      const QString message =
          QStringLiteral("Places of counter %1 too large: %2 (at most %3)").arg(n).arg(width).arg(kMaxPlaces);
      log_.WriteLn(QStringLiteral("** ERROR ") + message);
      log_.Close();
      throw Exception(message);
    }
    return PadLeft(QString::number(c), width, kZero);
  }

  // One combination; false when the user stopped the run before it was executed.
  bool Statement(int64_t c1, int64_t c2, int64_t c3) {
    qry_.ClearLines();
    qry_.AssignLines(window_.EditorLines());

    const QString t1 = Counter(c1, 1, CounterField::PL1);
    const QString t2 = Counter(c2, 2, CounterField::PL2);
    const QString t3 = Counter(c3, 3, CounterField::PL3);
    window_.SetStatus(t1 + QLatin1Char(' ') + t2 + QLatin1Char(' ') + t3);
    log_.WriteLn(window_.Status());

    const int count = qry_.LineCount();
    for (int i = 0; i < count; ++i) {
      qry_.SetLine(i, ReplaceAll(qry_.Line(i), QStringLiteral("$LICZ1$"), t1));
      qry_.SetLine(i, ReplaceAll(qry_.Line(i), QStringLiteral("$LICZ2$"), t2));
      qry_.SetLine(i, ReplaceAll(qry_.Line(i), QStringLiteral("$LICZ3$"), t3));
    }
    log_.WriteLn(qry_.Text());

    window_.ProcessPendingInput();
    if (StopRequested) {
      window_.SetStatus(window_.Status() + QStringLiteral(" ANUL"));
      log_.WriteLn(QStringLiteral("ANUL ") + Time());
      log_.Close();
      return false;
    }

    try {
      if (window_.BoxChecked(ModeBox::ExecSQL))
        qry_.ExecSQL();
      else
        qry_.Open();
    } catch (const EDatabaseError& e) {
      if (!window_.BoxChecked(ModeBox::Cichy))
        window_.ShowMessage(QStringLiteral("Jest bład w ") + window_.Status() + QStringLiteral("\r\n") + e.Message());
      log_.WriteLn(QStringLiteral("** ERROR ") + e.Message());
    }
    log_.WriteLn(' ');
    return true;
  }

  RunWindow& window_;
  TQuery& qry_;
  const Clock& now_;
  RunLog log_;
};

}  // namespace

void RunBatch(RunWindow& window, TQuery& qry, const Clock& now) { Run(window, qry, now).Execute(); }
