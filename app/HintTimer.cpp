#include "app/HintTimer.h"

#include <QCursor>
#include <QEvent>
#include <QToolTip>
#include <QWidget>

HintTimer::HintTimer(QObject* parent) : QObject(parent) {
  wakeUp_.setSingleShot(true);
  wakeUp_.setInterval(kWakeUpMs);
  connect(&wakeUp_, &QTimer::timeout, this, &HintTimer::WakeUp);
}

void HintTimer::Attach(QWidget* control, const QString& hint) {
  control->setToolTip(QString(hint).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  control->setToolTipDuration(kShowMs);
  control->setAttribute(Qt::WA_Hover);
  control->installEventFilter(this);
}

bool HintTimer::eventFilter(QObject* watched, QEvent* event) {
  auto* control = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::ToolTip: return true;  // the toolkit's own timing is replaced by ours
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
      if (!QToolTip::isVisible()) {
        control_ = control;
        wakeUp_.start();
      }
      break;
    case QEvent::HoverLeave:
    case QEvent::Hide:
    case QEvent::MouseButtonPress:
      wakeUp_.stop();
      control_ = nullptr;
      QToolTip::hideText();
      break;
    default: break;
  }
  return false;
}

void HintTimer::WakeUp() {
  if (!control_) return;
  QToolTip::showText(QCursor::pos(), control_->toolTip(), control_, control_->rect(), kShowMs);
}
