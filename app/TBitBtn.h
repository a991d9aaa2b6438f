#pragma once
// A command button: never a default or cancel button, clicked by the mouse, Space,
// or Enter while it has the focus.

#include <QPushButton>

class TBitBtn : public QPushButton {
  Q_OBJECT

 public:
  explicit TBitBtn(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
