#include "app/TRxSpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

// A shown, active window with the field and another control to take the focus from.
class SpinEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(200, 100);
    other = new QLineEdit(&window);
    other->setGeometry(10, 10, 80, 24);
    field = new TRxSpinEdit(&window);
    field->setGeometry(10, 50, 65, 24);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
  }

  QPoint UpperLeftTriangle() const {
    const QRect r = field->SpinButtonRect();
    return r.topLeft() + QPoint(r.width() / 4, r.height() / 4);
  }
  QPoint LowerRightTriangle() const {
    const QRect r = field->SpinButtonRect();
    return r.bottomRight() - QPoint(r.width() / 4, r.height() / 4);
  }
  QPoint InText() const { return QPoint(5, field->height() / 2); }

  static bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 5000); }

  QWidget window;
  QLineEdit* other = nullptr;
  TRxSpinEdit* field = nullptr;
};

TEST_F(SpinEditTest, TypingKeepsOnlySignsDigitsAndEditingKeys) {
  field->setFocus();
  QTest::keyClicks(field, "1a+ -b.2,x");
  EXPECT_EQ(field->text(), "1+-2");
  EXPECT_EQ(field->Value(), 0);

  field->clear();
  QTest::keyClicks(field, "123");
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClick(field, Qt::Key_Home);
  QTest::keyClick(field, Qt::Key_Delete);
  EXPECT_EQ(field->text(), "2");
  QTest::keyClick(field, Qt::Key_5, Qt::KeypadModifier);
  EXPECT_EQ(field->text(), "52");
}

TEST_F(SpinEditTest, RejectedLetterLeavesSelectionAndTextAlone) {
  field->SetValue(2009);
  field->setFocus();
  ASSERT_TRUE(field->hasSelectedText());
  QTest::keyClick(field, Qt::Key_Q);
  EXPECT_EQ(field->text(), "2009");
  EXPECT_EQ(field->selectedText(), "2009");
}

TEST_F(SpinEditTest, PasteIsNotFiltered) {
  field->setFocus();
  QGuiApplication::clipboard()->setText(" 12");
  QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(field->text(), " 12");
  EXPECT_EQ(field->Value(), 12);

  field->selectAll();
  QGuiApplication::clipboard()->setText("abc");
  QScopedPointer<QMenu> menu(field->createStandardContextMenu());
  QAction* paste = nullptr;
  for (QAction* action : menu->actions())
    if (action->text().startsWith("&Paste")) paste = action;
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  EXPECT_EQ(field->text(), "abc");
  EXPECT_EQ(field->Value(), 0);
}

TEST_F(SpinEditTest, LongTextIsKept) {
  const QString text(40000, u'7');
  field->setText(text);
  EXPECT_EQ(field->text(), text);
  EXPECT_EQ(field->Value(), 0);
}

TEST(SpinEditEnter, EnterDoesNotReachTheDefaultButton) {
  QDialog dialog;
  auto* field = new TRxSpinEdit(&dialog);
  field->setGeometry(10, 10, 65, 24);
  auto* button = new QPushButton("OK", &dialog);
  button->setGeometry(10, 50, 75, 25);
  button->setDefault(true);
  QSignalSpy clicked(button, &QPushButton::clicked);
  QSignalSpy accepted(&dialog, &QDialog::accepted);
  QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  field->setFocus();
  QTest::keyClicks(field, "12");

  QTest::keyClick(field, Qt::Key_Return);
  QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);

  EXPECT_EQ(clicked.count(), 0);
  EXPECT_EQ(accepted.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(field->text(), "12");
}

struct KeyStepCase {
  const char* before;
  Qt::Key key;
  const char* after;
  double value;
};

void PrintTo(const KeyStepCase& c, std::ostream* os) {
  *os << '"' << c.before << (c.key == Qt::Key_Up ? "\" up" : "\" down");
}

class SpinEditKeyStep : public SpinEditTest, public ::testing::WithParamInterface<KeyStepCase> {};

TEST_P(SpinEditKeyStep, ArrowStepsTheReadValue) {
  field->setText(GetParam().before);
  field->setFocus();
  QTest::keyClick(field, GetParam().key);
  EXPECT_EQ(field->text(), GetParam().after);
  EXPECT_EQ(field->Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Keys, SpinEditKeyStep,
                         ::testing::Values(KeyStepCase{"", Qt::Key_Up, "1", 1}, KeyStepCase{"", Qt::Key_Down, "-1", -1},
                                           KeyStepCase{"007", Qt::Key_Up, "8", 8},
                                           KeyStepCase{"abc", Qt::Key_Up, "1", 1},
                                           KeyStepCase{"1-2", Qt::Key_Down, "-1", -1},
                                           KeyStepCase{" 12", Qt::Key_Down, "11", 11},
                                           KeyStepCase{"$FF", Qt::Key_Up, "256", 256},
                                           KeyStepCase{"2147483647", Qt::Key_Up, "2147483648", 0},
                                           KeyStepCase{"-2147483648", Qt::Key_Down, "-2147483649", 0}));

TEST_F(SpinEditTest, HeldArrowKeyRepeats) {
  field->setFocus();
  for (int i = 0; i < 3; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), /*autorep=*/i > 0);
    QApplication::sendEvent(field, &press);
    EXPECT_TRUE(press.isAccepted());
  }
  EXPECT_EQ(field->text(), "3");
}

TEST_F(SpinEditTest, SpinButtonIsASquareInsideTheRightEnd) {
  for (QSize size : {QSize(65, 24), QSize(48, 21)}) {
    field->resize(size);
    const QRect r = field->SpinButtonRect();
    EXPECT_EQ(r.width(), r.height());
    EXPECT_TRUE(field->rect().adjusted(1, 1, -1, -1).contains(r)) << r.x() << "," << r.y();
    EXPECT_GE(r.right(), field->width() - 4);
    EXPECT_GE(r.height(), field->height() - 6);

    // Text never runs under the button, however long.
    field->setText("21474836482147483648");
    field->end(false);
    field->repaint();  // the line edit scrolls its text while painting
    EXPECT_LE(field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(), r.left());
  }
}

TEST_F(SpinEditTest, HoldingUpperLeftTriangleStepsThenRepeats) {
  QElapsedTimer clock;
  clock.start();
  QTest::mousePress(field, Qt::LeftButton, Qt::NoModifier, UpperLeftTriangle());
  EXPECT_EQ(field->text(), "1");  // at once, before any timer
  EXPECT_TRUE(field->hasFocus());

  ASSERT_TRUE(WaitFor([this] { return field->Value() >= 2; }));
  EXPECT_GE(clock.elapsed(), 350);
  ASSERT_TRUE(WaitFor([this] { return field->Value() >= 5; }));

  // Off the triangle where the press began (onto the other one): paused.
  QTest::mouseMove(field, LowerRightTriangle());
  const double paused = field->Value();
  QTest::qWait(500);
  EXPECT_EQ(field->Value(), paused);

  QTest::mouseMove(field, UpperLeftTriangle());
  ASSERT_TRUE(WaitFor([&] { return field->Value() >= paused + 2; }));

  QTest::mouseRelease(field, Qt::LeftButton, Qt::NoModifier, UpperLeftTriangle());
  const double released = field->Value();
  QTest::qWait(500);
  EXPECT_EQ(field->Value(), released);
}

TEST_F(SpinEditTest, LowerRightTriangleStepsDown) {
  field->SetValue(10);
  QTest::mousePress(field, Qt::LeftButton, Qt::NoModifier, LowerRightTriangle());
  EXPECT_EQ(field->text(), "9");
  QTest::mouseRelease(field, Qt::LeftButton, Qt::NoModifier, LowerRightTriangle());
  QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, LowerRightTriangle());
  EXPECT_EQ(field->text(), "8");
}

TEST_F(SpinEditTest, OtherMouseButtonsOnTheSpinButtonDoNothing) {
  field->SetValue(5);
  for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    QTest::mousePress(field, button, Qt::NoModifier, UpperLeftTriangle());
    QTest::qWait(500);
    QTest::mouseRelease(field, button, Qt::NoModifier, UpperLeftTriangle());
  }
  EXPECT_EQ(field->text(), "5");
}

TEST_F(SpinEditTest, EnteringOtherThanByClickingTheTextSelectsAll) {
  field->setText("007");
  QTest::keyClick(other, Qt::Key_Tab);
  ASSERT_TRUE(field->hasFocus());
  EXPECT_EQ(field->selectedText(), "007");

  QTest::keyClick(field, Qt::Key_Tab);  // leaving keeps the text as typed
  ASSERT_FALSE(field->hasFocus());
  EXPECT_EQ(field->text(), "007");

  QTest::keyClick(other, Qt::Key_Backtab);
  ASSERT_TRUE(field->hasFocus());
  EXPECT_EQ(field->selectedText(), "007");

  other->setFocus();
  field->setFocus();
  EXPECT_EQ(field->selectedText(), "007");
}

TEST_F(SpinEditTest, PressOnTheSpinButtonFocusesAndSelectsAll) {
  field->setText("007");
  QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, UpperLeftTriangle());
  ASSERT_TRUE(field->hasFocus());
  EXPECT_EQ(field->text(), "8");
  EXPECT_EQ(field->selectedText(), "8");
}

TEST_F(SpinEditTest, ClickIntoTheTextPlacesTheCaret) {
  field->setText("2009");
  QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, InText());
  ASSERT_TRUE(field->hasFocus());
  EXPECT_FALSE(field->hasSelectedText());
  EXPECT_EQ(field->text(), "2009");
}

}  // namespace
