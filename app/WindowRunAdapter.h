#pragma once
// The run's view of the main window: settings read straight from the controls.

#include "batch/RunWindow.h"

class MemoLines;
class TfrmMain;

class WindowRunAdapter : public RunWindow {
 public:
  WindowRunAdapter(TfrmMain& form, MemoLines& editorLines) : form_(form), editorLines_(editorLines) {}

  double FieldValue(CounterField field) override;
  bool BoxChecked(ModeBox box) override;
  QStringList EditorLines() override;
  void SetStatus(const QString& text) override;
  QString Status() override;
  void SetGridVisible(bool visible) override;
  void ProcessPendingInput() override;
  void ShowMessage(const QString& text) override;

 private:
  TfrmMain& form_;
  MemoLines& editorLines_;
};
