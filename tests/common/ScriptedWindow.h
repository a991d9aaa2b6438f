#pragma once
// The run's window without widgets: settings held in plain members, with a hook at
// every yield so a test can press STOP, change a field or toggle a box mid-run.

#include "batch/RunWindow.h"

#include <QMap>
#include <QStringList>
#include <functional>

class ScriptedWindow : public RunWindow {
 public:
  /// Starts from the window's defaults: 2009..2011/2, 1..12/2, 1..10/1, both boxes checked.
  ScriptedWindow();

  double FieldValue(CounterField field) override { return fields[field]; }
  bool BoxChecked(ModeBox box) override { return boxes[box]; }
  QStringList EditorLines() override { return lines; }
  void SetStatus(const QString& text) override { status = text; }
  QString Status() override { return status; }
  void SetGridVisible(bool visible) override { gridVisible = visible; }
  void ProcessPendingInput() override;
  void ShowMessage(const QString& text) override { messages << text; }

  /// Sets From, To and Places of counter n (1..3).
  void SetCounter(int n, double from, double to, double places);

  QMap<CounterField, double> fields;
  QMap<ModeBox, bool> boxes;
  QStringList lines;
  QString status = QStringLiteral("--------------");
  bool gridVisible = false;
  QStringList messages;
  int yields = 0;
  /// Called at each yield with its 1-based number.
  std::function<void(int)> onYield;
};
