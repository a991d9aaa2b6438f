#include "common/ScriptedWindow.h"

ScriptedWindow::ScriptedWindow() {
  SetCounter(1, 2009, 2011, 2);
  SetCounter(2, 1, 12, 2);
  SetCounter(3, 1, 10, 1);
  boxes[ModeBox::ExecSQL] = true;
  boxes[ModeBox::Cichy] = true;
}

void ScriptedWindow::SetCounter(int n, double from, double to, double places) {
  static const CounterField od[] = {CounterField::OD1, CounterField::OD2, CounterField::OD3};
  static const CounterField dd[] = {CounterField::DO1, CounterField::DO2, CounterField::DO3};
  static const CounterField pl[] = {CounterField::PL1, CounterField::PL2, CounterField::PL3};
  fields[od[n - 1]] = from;
  fields[dd[n - 1]] = to;
  fields[pl[n - 1]] = places;
}

void ScriptedWindow::ProcessPendingInput() {
  ++yields;
  if (onYield) onYield(yields);
}
