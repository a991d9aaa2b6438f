#include "app/ResultGrid.h"
#include "app/TBitBtn.h"
#include "app/TRxSpinEdit.h"
#include "app/TfrmMain.h"
#include "common/TempDir.h"
#include "db/TQuery.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <ostream>

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  QWidget* Child(const char* name) { return form.findChild<QWidget*>(QString::fromLatin1(name)); }

  ScopedTempDir dir;
  TfrmMain form;
};

TEST_F(MainWindowTest, StartsWithTheDefaults) {
  const TRxSpinEdit* fields[] = {form.edOD1, form.edDO1, form.edPL1, form.edOD2, form.edDO2,
                                 form.edPL2, form.edOD3, form.edDO3, form.edPL3};
  const double expected[] = {2009, 2011, 2, 1, 12, 2, 1, 10, 1};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(fields[i]->Value(), expected[i]) << i;
    EXPECT_EQ(fields[i]->text(), QString::number(expected[i])) << i;
  }
  EXPECT_TRUE(form.chExecSQL->isChecked());
  EXPECT_TRUE(form.chCichy->isChecked());
  EXPECT_FALSE(form.chExecSQL->isTristate());
  EXPECT_EQ(form.lblOpis->text(), QString(14, '-'));
  EXPECT_TRUE(form.memSQL->toPlainText().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), form.memSQL);
  EXPECT_FALSE(form.grd->isVisible());
  EXPECT_TRUE(form.memSQL->isVisible());
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Użycie SQL z wykorzystaniem liczników"));
  EXPECT_EQ(form.frameGeometry(), QRect(28, 98, 809, 635));  // no frame where no window manager draws one
  EXPECT_EQ(form.ds, form.qry ? form.qry->ResultModel() : nullptr);
  EXPECT_EQ(form.grd->model(), static_cast<QAbstractItemModel*>(form.ds));
  EXPECT_EQ(form.grd->model()->rowCount(), 0);
}

TEST_F(MainWindowTest, ControlsLieWhereTheDescriptionPutsThem) {
  struct Row {
    const char* name;
    QString text;
    QRect geometry;
  };
  // Labels size themselves to their text: only their place is fixed.
  const Row rows[] = {
      {"Label1", "Treść", {8, 8, 0, 0}},
      {"Label2", "LICZNIK 1", {704, 24, 0, 0}},
      {"Label3", "OD", {680, 56, 0, 0}},
      {"Label4", "DO", {680, 80, 0, 0}},
      {"Label5", "LICZNIK 2", {704, 136, 0, 0}},
      {"Label6", "OD", {680, 168, 0, 0}},
      {"Label7", "DO", {680, 192, 0, 0}},
      {"Label8", "LICZNIK 3", {704, 248, 0, 0}},
      {"Label9", "OD", {680, 280, 0, 0}},
      {"Label10", "DO", {680, 304, 0, 0}},
      {"lblOpis", "--------------", {688, 448, 0, 0}},
      {"Label11", "miejsc", {688, 104, 0, 0}},
      {"Label12", "miejsc", {688, 216, 0, 0}},
      {"Label13", "miejsc", {688, 328, 0, 0}},
      {"memSQL", "", {8, 24, 657, 529}},
      {"edOD1", "2009", {704, 48, 65, 24}},
      {"edDO1", "2011", {704, 74, 65, 24}},
      {"edOD2", "1", {704, 160, 65, 24}},
      {"edDO2", "12", {704, 186, 65, 24}},
      {"edOD3", "1", {704, 272, 65, 24}},
      {"edDO3", "10", {704, 298, 65, 24}},
      {"chExecSQL", "Exec SQL", {688, 368, 81, 17}},
      {"btnDO", "Wykonaj", {688, 416, 75, 25}},
      {"BitBtn2", "Wyjście", {688, 528, 75, 25}},
      {"grd", "", {8, 8, 665, 553}},
      {"edPL1", "2", {721, 99, 48, 21}},
      {"edPL2", "2", {721, 211, 48, 21}},
      {"edPL3", "1", {721, 323, 48, 21}},
      {"BitBtn1", "STOP", {688, 472, 75, 25}},
      {"chCichy", "Tryb cichy", {688, 384, 81, 17}},
  };
  QWidgetList created;
  for (QObject* o : form.children())
    if (o->isWidgetType()) created << static_cast<QWidget*>(o);
  ASSERT_EQ(created.size(), int(std::size(rows)));
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    QWidget* w = created[int(i)];
    ASSERT_EQ(w->objectName(), row.name) << "creation order at " << i;
    if (row.geometry.width() == 0)
      EXPECT_EQ(w->pos(), row.geometry.topLeft()) << row.name;
    else
      EXPECT_EQ(w->geometry(), row.geometry) << row.name;
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w))
      text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
      text = b->text();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
      text = e->text();
    EXPECT_EQ(text, row.text) << row.name;
    if (auto* l = qobject_cast<QLabel*>(w)) {
      EXPECT_GE(l->width(), l->sizeHint().width()) << row.name;
    }
  }
}

TEST_F(MainWindowTest, TabRunsInTheDescribedOrderAndSkipsTheHiddenGrid) {
  const char* order[] = {"edOD1",   "edDO1", "edOD2", "edDO2", "edOD3",   "edDO3",   "chExecSQL", "btnDO",
                         "BitBtn2", "edPL1", "edPL2", "edPL3", "BitBtn1", "chCichy", "memSQL"};
  for (const char* name : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Child(name)) << name;
  }
  form.grd->show();
  form.btnDO->setFocus();
  QTest::keyClick(form.btnDO, Qt::Key_Tab);
  QTest::keyClick(form.BitBtn2, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form.grd);
}

TEST_F(MainWindowTest, FontsColoursAndPictures) {
  EXPECT_EQ(form.font().pixelSize(), 11);
  EXPECT_FALSE(form.font().bold());
  for (QWidget* w : {static_cast<QWidget*>(form.Label2), static_cast<QWidget*>(form.Label5),
                     static_cast<QWidget*>(form.Label8), static_cast<QWidget*>(form.lblOpis)}) {
    EXPECT_EQ(w->font().pixelSize(), 13) << w->objectName().toStdString();
    EXPECT_TRUE(w->font().bold()) << w->objectName().toStdString();
  }
  for (TRxSpinEdit* w : {form.edOD1, form.edDO1, form.edOD2, form.edDO2, form.edOD3, form.edDO3})
    EXPECT_EQ(w->font().pixelSize(), 13) << w->objectName().toStdString();
  for (QWidget* w : {static_cast<QWidget*>(form.edPL1), static_cast<QWidget*>(form.edPL2),
                     static_cast<QWidget*>(form.edPL3), static_cast<QWidget*>(form.memSQL)})
    EXPECT_EQ(w->font().pixelSize(), 11) << w->objectName().toStdString();
  EXPECT_EQ(form.lblOpis->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_EQ(form.palette().color(QPalette::Window), form.palette().color(QPalette::Button));

  EXPECT_TRUE(form.btnDO->icon().isNull());
  EXPECT_FALSE(form.BitBtn1->icon().isNull());
  EXPECT_FALSE(form.BitBtn2->icon().isNull());
  const QImage normal = form.BitBtn1->icon().pixmap(16, 16, QIcon::Normal).toImage();
  const QImage grey = form.BitBtn1->icon().pixmap(16, 16, QIcon::Disabled).toImage();
  EXPECT_EQ(qAlpha(normal.pixel(0, 15)), 0);  // the olive background is transparent
  EXPECT_NE(normal, grey);
  for (TBitBtn* b : {form.btnDO, form.BitBtn1, form.BitBtn2}) {
    EXPECT_FALSE(b->autoDefault());
    EXPECT_FALSE(b->isDefault());
  }
}

TEST_F(MainWindowTest, HintsOnlyOnTheEditorAndSilentMode) {
  const QString memoHint = QString::fromUtf8(
      "W zapytaniu można korzystać z \n$LICZ1$, $LICZ2$, $LICZ3$\n-po kolei podstawia wartości liczników\n"
      "UWAGA! Jeśli chcemy korzystać z jednego licznika to wtedy w pozostałych trzeba ustawić OD=1 i DO=1\n"
      "\nPOZIOMY PĘTLI:\n\nfor LICZ1\n   for LICZ2\n       for LICZ3");
  EXPECT_EQ(form.memSQL->toolTip(), memoHint);
  EXPECT_EQ(form.chCichy->toolTip(),
            QString::fromUtf8("Zaznaczenie powoduje, że program nie wyświetla komunikatów o błędach"));
  EXPECT_EQ(form.memSQL->toolTipDuration(), 2500);
  for (QWidget* w : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (w != form.memSQL && w != form.chCichy) {
      EXPECT_TRUE(w->toolTip().isEmpty()) << w->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, HintAppearsWhenThePointerRestsAndGoesWhenItLeaves) {
  QTest::mouseMove(form.chCichy, QPoint(10, 8));
  ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 10000));
  EXPECT_EQ(QToolTip::text(), form.chCichy->toolTip());
  QTest::mouseMove(form.btnDO, QPoint(10, 8));
  EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 10000));
}

TEST_F(MainWindowTest, ResizingMovesNoControl) {
  const QRect editor = form.memSQL->geometry();
  const QRect button = form.BitBtn2->geometry();
  form.resize(1200, 900);
  QTest::qWait(0);
  EXPECT_EQ(form.memSQL->geometry(), editor);
  EXPECT_EQ(form.BitBtn2->geometry(), button);
}

TEST_F(MainWindowTest, EnterClicksOnlyTheFocusedButtonAndEscapeNone) {
  QSignalSpy stop(form.BitBtn1, &QAbstractButton::clicked);
  QSignalSpy run(form.btnDO, &QAbstractButton::clicked);
  form.edOD1->setFocus();
  QTest::keyClick(form.edOD1, Qt::Key_Return);
  QTest::keyClick(form.edOD1, Qt::Key_Escape);
  EXPECT_EQ(stop.count() + run.count(), 0);
  form.BitBtn1->setFocus();
  QTest::keyClick(form.BitBtn1, Qt::Key_Return);
  EXPECT_EQ(stop.count(), 1);
}

}  // namespace
