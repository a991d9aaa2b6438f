#pragma once
// What the batch run needs of the window, and nothing more: the run reads settings
// through it at the moments it names, so it runs without widgets in tests.

#include <QString>
#include <QStringList>

/// The nine counter fields.
enum class CounterField { OD1, DO1, OD2, DO2, OD3, DO3, PL1, PL2, PL3 };
/// The two mode boxes.
enum class ModeBox { ExecSQL, Cichy };

/// The window as the run sees it.
class RunWindow {
 public:
  virtual ~RunWindow() = default;
  /// A counter field's value as a real number.
  virtual double FieldValue(CounterField field) = 0;
  /// Whether a mode box is checked now.
  virtual bool BoxChecked(ModeBox box) = 0;
  /// The editor's displayed lines.
  virtual QStringList EditorLines() = 0;
  virtual void SetStatus(const QString& text) = 0;
  /// Exactly the text last set.
  virtual QString Status() = 0;
  virtual void SetGridVisible(bool visible) = 0;
  /// Handles all input waiting now and returns.
  virtual void ProcessPendingInput() = 0;
  /// A modal box with the application title, no icon, one OK button.
  virtual void ShowMessage(const QString& text) = 0;
};
