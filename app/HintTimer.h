#pragma once
// Hints with this window's timing: shown below the pointer after it rests 500 ms on the
// control, gone after 2500 ms or when the pointer leaves.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class QWidget;

class HintTimer : public QObject {
 public:
  static constexpr int kWakeUpMs = 500;
  static constexpr int kShowMs = 2500;

  explicit HintTimer(QObject* parent = nullptr);
  /// Gives the control its hint (lines separated by CR LF) with this timing.
  void Attach(QWidget* control, const QString& hint);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WakeUp();

  QTimer wakeUp_;
  QPointer<QWidget> control_;  // the control under the pointer
};
