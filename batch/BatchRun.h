#pragma once
// The batch run: every counter combination turned into a statement, logged, then
// executed or opened, with the error, silent-mode and stop policies.

#include <QDateTime>
#include <cstdint>
#include <functional>

class RunWindow;
class TQuery;

/// Set by STOP, cleared at the start of each run, tested once per statement.
extern bool StopRequested;

/// The local clock; tests put a fixed one in its place.
using Clock = std::function<QDateTime()>;
QDateTime LocalNow();

/// A field's real value as the run uses it: rounded half to even, a signed 32-bit integer.
int32_t CounterValue(double value);

/// One whole run. Statement failures are handled inside; failures of the log propagate
/// as EInOutError with no further statement executed.
void RunBatch(RunWindow& window, TQuery& qry, const Clock& now = LocalNow);
