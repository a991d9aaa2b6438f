#pragma once
// An integer entry field with a diagonal spin button at its right end.
#include <QLineEdit>
#include <QTimer>

class TRxSpinEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TRxSpinEdit(QWidget* parent = nullptr);

  // The text read as a 32-bit integer; text that is not one reads as 0.
  double Value() const;
  // Writes the value, rounded, as plain decimal text.
  void SetValue(double value);

  // Where the spin button lies, in widget coordinates.
  QRect SpinButtonRect() const;

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  enum class Part { None, Up, Down };

  Part PartAt(const QPoint& pos) const;
  void Step(int delta);
  void StepPressedPart();
  void StopPress();
  void RepeatTimeout();
  void UpdateButtonMargin();
  void DrawTriangle(QPainter& p, Part part, bool sunken) const;

  QTimer repeatTimer_;
  Part pressedPart_ = Part::None;
  bool pointerOnPressedPart_ = false;
  bool focusedByMouse_ = false;
};
