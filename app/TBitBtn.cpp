#include "app/TBitBtn.h"

#include <QKeyEvent>

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent) {
  setAutoDefault(false);
  setDefault(false);
}

void TBitBtn::keyPressEvent(QKeyEvent* event) {
  // Without auto-default, Qt would pass Enter on; here it clicks the focused button.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}
