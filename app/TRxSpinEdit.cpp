#include "TRxSpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <limits>

#include "SpinValue.h"

namespace {

constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 100;

// Controls (and DEL, which the Delete key carries here) are never judged: they edit, not type.
bool IsControl(QChar c) { return c.unicode() < 32 || c.unicode() == 0x7F; }

bool IsTypable(QChar c) { return c == u'+' || c == u'-' || (c.unicode() >= u'0' && c.unicode() <= u'9'); }

// The typed characters the field keeps, each judged alone; rejected ones are dropped.
QString TypedCharsKept(const QString& typed, bool& rejected) {
  QString kept;
  rejected = false;
  for (QChar c : typed) {
    if (IsControl(c) || IsTypable(c))
      kept += c;
    else
      rejected = true;
  }
  return kept;
}

bool IsPlainKey(const QKeyEvent* e) {
  return !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool IsFieldKey(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    default: return false;
  }
}

}  // namespace

TRxSpinEdit::TRxSpinEdit(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(std::numeric_limits<int>::max());
  setMouseTracking(true);
  repeatTimer_.setTimerType(Qt::PreciseTimer);
  connect(&repeatTimer_, &QTimer::timeout, this, &TRxSpinEdit::RepeatTimeout);
  UpdateButtonMargin();
}

double TRxSpinEdit::Value() const { return SpinValueOf(text()); }

void TRxSpinEdit::SetValue(double value) { setText(SpinTextOf(value)); }

QRect TRxSpinEdit::SpinButtonRect() const {
  QStyleOptionFrame opt;
  initStyleOption(&opt);
  const QRect inside = style()->subElementRect(QStyle::SE_LineEditContents, &opt, this);
  const int side = inside.height();
  return QRect(inside.right() - side + 1, inside.top(), side, side);
}

TRxSpinEdit::Part TRxSpinEdit::PartAt(const QPoint& pos) const {
  const QRect r = SpinButtonRect();
  if (!r.contains(pos)) return Part::None;
  // The diagonal runs from the lower-left to the upper-right corner.
  const int x = pos.x() - r.left();
  const int y = pos.y() - r.top();
  return x + y + 1 < r.height() ? Part::Up : Part::Down;
}

void TRxSpinEdit::Step(int delta) {
  const bool wholeSelected = hasSelectedText() && selectedText() == text();
  SetValue(Value() + delta);
  if (wholeSelected) selectAll();
}

void TRxSpinEdit::StepPressedPart() { Step(pressedPart_ == Part::Up ? 1 : -1); }

void TRxSpinEdit::StopPress() {
  repeatTimer_.stop();
  if (pressedPart_ == Part::None) return;
  pressedPart_ = Part::None;
  pointerOnPressedPart_ = false;
  update();
}

void TRxSpinEdit::RepeatTimeout() {
  if (repeatTimer_.interval() != kRepeatMs) repeatTimer_.setInterval(kRepeatMs);
  // Off the pressed triangle the timer keeps running, so coming back resumes the repeat.
  if (pointerOnPressedPart_) StepPressedPart();
}

void TRxSpinEdit::UpdateButtonMargin() {
  QMargins margins = textMargins();
  const int right = SpinButtonRect().width();
  if (margins.right() == right) return;
  margins.setRight(right);
  setTextMargins(margins);
}

bool TRxSpinEdit::event(QEvent* e) {
  // Keep these keys from window shortcuts: Enter must do nothing, arrows step.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (IsFieldKey(key) && IsPlainKey(key)) {
      e->accept();
      return true;
    }
  }
  return QLineEdit::event(e);
}

void TRxSpinEdit::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      e->accept();  // not passed on, so no default button is pressed
      return;
    case Qt::Key_Up:
      Step(1);
      e->accept();
      return;
    case Qt::Key_Down:
      Step(-1);
      e->accept();
      return;
    default: break;
  }
  if (!(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && !e->text().isEmpty()) {
    bool rejected = false;
    const QString kept = TypedCharsKept(e->text(), rejected);
    if (rejected) {
      QApplication::beep();
      QString printable;
      for (QChar c : kept)
        if (!IsControl(c)) printable += c;
      if (!printable.isEmpty()) insert(printable);
      e->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(e);
}

void TRxSpinEdit::inputMethodEvent(QInputMethodEvent* e) {
  bool rejected = false;
  const QString kept = TypedCharsKept(e->commitString(), rejected);
  if (!rejected) {
    QLineEdit::inputMethodEvent(e);
    return;
  }
  QApplication::beep();
  QInputMethodEvent filtered(e->preeditString(), e->attributes());
  filtered.setCommitString(kept, e->replacementStart(), e->replacementLength());
  QLineEdit::inputMethodEvent(&filtered);
  e->accept();
}

void TRxSpinEdit::mousePressEvent(QMouseEvent* e) {
  const bool focusedByThisPress = focusedByMouse_;
  focusedByMouse_ = false;
  const Part part = PartAt(e->position().toPoint());
  if (part == Part::None) {
    QLineEdit::mousePressEvent(e);
    return;
  }
  e->accept();
  if (e->button() != Qt::LeftButton || pressedPart_ != Part::None) return;
  // Focus given by a press on the button is an entry like any other: the whole text is selected.
  if (!hasFocus())
    setFocus(Qt::OtherFocusReason);
  else if (focusedByThisPress)
    selectAll();
  pressedPart_ = part;
  pointerOnPressedPart_ = true;
  StepPressedPart();
  repeatTimer_.start(kFirstRepeatMs);
  update();
}

void TRxSpinEdit::mouseDoubleClickEvent(QMouseEvent* e) {
  // The second press of a double click on the button is just another press.
  if (PartAt(e->position().toPoint()) != Part::None)
    mousePressEvent(e);
  else
    QLineEdit::mouseDoubleClickEvent(e);
}

void TRxSpinEdit::mouseMoveEvent(QMouseEvent* e) {
  const Part part = PartAt(e->position().toPoint());
  if (pressedPart_ != Part::None) {
    const bool on = part == pressedPart_;
    if (on != pointerOnPressedPart_) {
      pointerOnPressedPart_ = on;
      update();
    }
    return;
  }
  setCursor(part == Part::None ? Qt::IBeamCursor : Qt::ArrowCursor);
  QLineEdit::mouseMoveEvent(e);
}

void TRxSpinEdit::mouseReleaseEvent(QMouseEvent* e) {
  if (pressedPart_ != Part::None) {
    if (e->button() == Qt::LeftButton) StopPress();
    return;
  }
  // Other buttons on the spin button do nothing (no selection paste either).
  if (e->button() != Qt::LeftButton && PartAt(e->position().toPoint()) != Part::None) return;
  QLineEdit::mouseReleaseEvent(e);
}

void TRxSpinEdit::contextMenuEvent(QContextMenuEvent* e) {
  if (e->reason() == QContextMenuEvent::Mouse && PartAt(e->pos()) != Part::None) {
    e->accept();
    return;
  }
  QLineEdit::contextMenuEvent(e);
}

void TRxSpinEdit::focusInEvent(QFocusEvent* e) {
  focusedByMouse_ = e->reason() == Qt::MouseFocusReason;
  QLineEdit::focusInEvent(e);
  switch (e->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason: selectAll(); break;
    default:  // a click into the text, or focus coming back from a menu or another window
      break;
  }
}

void TRxSpinEdit::focusOutEvent(QFocusEvent* e) {
  StopPress();
  QLineEdit::focusOutEvent(e);
}

void TRxSpinEdit::hideEvent(QHideEvent* e) {
  StopPress();
  QLineEdit::hideEvent(e);
}

void TRxSpinEdit::resizeEvent(QResizeEvent* e) {
  QLineEdit::resizeEvent(e);
  UpdateButtonMargin();
}

void TRxSpinEdit::changeEvent(QEvent* e) {
  QLineEdit::changeEvent(e);
  if (e->type() == QEvent::StyleChange) UpdateButtonMargin();
}

void TRxSpinEdit::DrawTriangle(QPainter& p, Part part, bool sunken) const {
  const QRectF r = QRectF(SpinButtonRect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPointF lowerLeft = r.bottomLeft(), upperRight = r.topRight();
  const QPointF corner = part == Part::Up ? r.topLeft() : r.bottomRight();
  const QPalette& pal = palette();

  p.setPen(Qt::NoPen);
  p.setBrush(sunken ? pal.mid() : pal.button());
  p.drawPolygon(QPolygonF({lowerLeft, corner, upperRight}));

  // Light from the upper left: the outer edges of the upper triangle and the diagonal side of the
  // lower one are lit when raised, and the other way round when sunken.
  const bool outerLit = (part == Part::Up) != sunken;
  p.setPen(outerLit ? pal.light().color() : pal.dark().color());
  p.drawPolyline(QPolygonF({lowerLeft, corner, upperRight}));
  p.setPen(outerLit ? pal.dark().color() : pal.light().color());
  p.drawLine(lowerLeft, upperRight);

  QStyleOption arrow;
  arrow.initFrom(this);
  const qreal side = r.height() * 0.4;
  const qreal offset = sunken ? 1 : 0;
  const QPointF centre = part == Part::Up ? r.topLeft() + QPointF(r.width() * 0.3, r.height() * 0.3)
                                          : r.bottomRight() - QPointF(r.width() * 0.3, r.height() * 0.3);
  arrow.rect = QRectF(centre.x() - side / 2 + offset, centre.y() - side / 2 + offset, side, side).toRect();
  style()->drawPrimitive(part == Part::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &p,
                         this);
}

void TRxSpinEdit::paintEvent(QPaintEvent* e) {
  QLineEdit::paintEvent(e);
  QPainter p(this);
  const bool sunken = pointerOnPressedPart_;
  DrawTriangle(p, Part::Up, sunken && pressedPart_ == Part::Up);
  DrawTriangle(p, Part::Down, sunken && pressedPart_ == Part::Down);
}
