#include "app/AppTitle.h"
#include "app/ResultGrid.h"
#include "app/TBitBtn.h"
#include "app/TRxSpinEdit.h"
#include "app/TfrmMain.h"
#include "batch/TextHelpers.h"
#include "common/SqliteFile.h"
#include "common/TempDir.h"
#include "db/Session.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

/// What a modal box showed before the test dismissed it.
struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class WindowRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TfrmMain>();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  void TearDown() override {
    form.reset();
    TSession::Default().Forget();  // the next test's default.db is in another directory
  }

  void SetCounters(double from1, double to1, double from2, double to2, double from3, double to3) {
    form->edOD1->SetValue(from1);
    form->edDO1->SetValue(to1);
    form->edOD2->SetValue(from2);
    form->edDO2->SetValue(to2);
    form->edOD3->SetValue(from3);
    form->edDO3->SetValue(to3);
  }
  void TypeTemplate(const QString& text) {
    form->memSQL->setFocus();
    form->memSQL->selectAll();
    QTest::keyClicks(form->memSQL, text);
  }
  /// A left click that waits in the queue until the event loop next runs (for a run: its first yield).
  static void PostClick(QWidget* button) {
    const QPointF at = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(at);
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  }
  /// Dismisses each modal box as it opens, remembering what it showed.
  void WatchBoxes() {
    auto* watcher = new QTimer(form.get());
    QObject::connect(watcher, &QTimer::timeout, watcher, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      boxes.push_back({box->windowTitle(), box->text(), box->icon()});
      box->accept();
    });
    watcher->start(10);
  }
  /// The run log's lines; the test makes one run log per directory.
  QStringList LogLines() const {
    const QStringList logs = QDir(dir.Path()).entryList({"*.txt"}, QDir::Files);
    EXPECT_EQ(logs.size(), 1);
    if (logs.isEmpty()) return {};
    return QString::fromLatin1(dir.Read(logs.first())).split(QStringLiteral("\r\n"));
  }
  bool EditorSeen() {
    QWidget* at = form->childAt(form->memSQL->geometry().center());
    return at == form->memSQL || form->memSQL->isAncestorOf(at);
  }

  ScopedTempDir dir;
  std::unique_ptr<TfrmMain> form;
  std::vector<SeenBox> boxes;
};

TEST_F(WindowRunTest, QueryRunShowsTheGridOverTheEditorUntilAnExecuteRun) {
  {
    SqliteFile db(dir.File("default.db"));
    db.Exec("CREATE TABLE t(a INTEGER, b TEXT)");
    for (int i = 1; i <= 5; ++i) db.Exec(QStringLiteral("INSERT INTO t VALUES(%1, 'r%1')").arg(i));
  }
  SetCounters(1, 1, 1, 1, 1, 3);
  TypeTemplate("SELECT a, b FROM t WHERE a <= $LICZ3$");
  QTest::mouseClick(form->chExecSQL, Qt::LeftButton);
  ASSERT_FALSE(form->chExecSQL->isChecked());
  QTest::mouseClick(form->btnDO, Qt::LeftButton);

  EXPECT_EQ(form->lblOpis->text(), "KONIEC");
  ASSERT_TRUE(form->grd->isVisible());
  EXPECT_FALSE(EditorSeen());
  QWidget* atCaption = form->childAt(form->Label1->geometry().center());
  EXPECT_TRUE(atCaption == form->grd || form->grd->isAncestorOf(atCaption));
  QAbstractItemModel* model = form->grd->model();
  ASSERT_EQ(model->columnCount(), 2);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "a");
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "b");
  EXPECT_EQ(model->rowCount(), 3);  // the last statement's result set
  EXPECT_EQ(model->index(2, 1).data().toString(), "r3");
  EXPECT_EQ(form->grd->CurrentRecord(), 0);

  // The covered editor still takes the focus and typing; the next run uses what it holds.
  TypeTemplate("SELECT 7");
  EXPECT_EQ(QApplication::focusWidget(), form->memSQL);
  EXPECT_EQ(form->memSQL->toPlainText(), "SELECT 7");
  QTest::mouseClick(form->chExecSQL, Qt::LeftButton);
  QTest::mouseClick(form->btnDO, Qt::LeftButton);
  EXPECT_FALSE(form->grd->isVisible());
  EXPECT_TRUE(EditorSeen());
  EXPECT_TRUE(LogLines().contains("SELECT 7"));
}

TEST_F(WindowRunTest, StopWaitingAtTheFirstYieldEndsTheRunBeforeAnyStatement) {
  SetCounters(1, 1, 1, 2, 1, 3);
  TypeTemplate("CREATE TABLE x$LICZ3$(a)");
  PostClick(form->BitBtn1);
  QTest::mouseClick(form->btnDO, Qt::LeftButton);

  EXPECT_EQ(form->lblOpis->text(), "01 01 1 ANUL");
  const QStringList log = LogLines();
  ASSERT_EQ(log.size(), 6);
  EXPECT_TRUE(log[0].startsWith("START "));
  EXPECT_EQ(log[1], "01 01 1");
  EXPECT_EQ(log[2], "CREATE TABLE x1(a)");
  EXPECT_EQ(log[3], "");
  EXPECT_TRUE(log[4].startsWith("ANUL "));
  EXPECT_EQ(log[5], "");
  SqliteFile db(dir.File("default.db"));
  EXPECT_TRUE(db.Column("SELECT name FROM sqlite_master").isEmpty());
  EXPECT_FALSE(form->grd->isVisible());
}

TEST_F(WindowRunTest, WykonajDuringARunStartsNoSecondRun) {
  {
    SqliteFile db(dir.File("default.db"));
    db.Exec("CREATE TABLE t(a)");
  }
  SetCounters(1, 1, 1, 1, 1, 4);
  TypeTemplate("INSERT INTO t VALUES($LICZ3$)");
  PostClick(form->btnDO);
  QTest::mouseClick(form->btnDO, Qt::LeftButton);

  EXPECT_FALSE(form->Running());
  const QStringList log = LogLines();
  EXPECT_EQ(log.filter(QRegularExpression("^START ")).size(), 1);
  EXPECT_EQ(log.filter(QRegularExpression("^KONIEC ")).size(), 1);
  EXPECT_EQ(log.filter(QRegularExpression("^INSERT")).size(), 4);
  SqliteFile db(dir.File("default.db"));
  EXPECT_EQ(db.Column("SELECT a FROM t ORDER BY a"), QStringList({"1", "2", "3", "4"}));
}

TEST_F(WindowRunTest, StatementErrorBoxCarriesTheTitleAndNoIcon) {
  SetCounters(1, 1, 1, 1, 1, 1);
  TypeTemplate("SELEC 1");
  QTest::mouseClick(form->chCichy, Qt::LeftButton);
  WatchBoxes();
  QTest::mouseClick(form->btnDO, Qt::LeftButton);

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, AppTitle());
  EXPECT_EQ(boxes[0].icon, QMessageBox::NoIcon);
  EXPECT_TRUE(boxes[0].text.startsWith(QString::fromUtf8("Jest bład w 01 01 1\n"))) << boxes[0].text.toStdString();
  EXPECT_EQ(form->lblOpis->text(), "KONIEC");
}

TEST_F(WindowRunTest, ALogThatCannotBeCreatedShowsTheStandardErrorBoxAndTheWindowGoesOn) {
  // A directory in the place of this minute's and the next minute's log file.
  const QDateTime now = QDateTime::currentDateTime();
  for (int minute = 0; minute <= 1; ++minute)
    ASSERT_TRUE(QDir(dir.Path()).mkdir(LogFileStamp(now.addSecs(60 * minute)) + ".txt"));
  WatchBoxes();
  QTest::mouseClick(form->btnDO, Qt::LeftButton);

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, AppTitle());
  EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(boxes[0].text.endsWith(".")) << boxes[0].text.toStdString();
  EXPECT_FALSE(form->Running());
  EXPECT_EQ(form->lblOpis->text(), QString(14, '-'));
  EXPECT_TRUE(form->isVisible());
}

TEST_F(WindowRunTest, CloseDuringARunLetsItFinishWithBoxesClosingThemselvesThenEndsTheProgram) {
  SetCounters(1, 1, 1, 1, 1, 3);
  TypeTemplate("SELEC $LICZ3$");
  QTest::mouseClick(form->chCichy, Qt::LeftButton);
  ASSERT_FALSE(form->chCichy->isChecked());
  PostClick(form->btnDO);
  PostClick(form->BitBtn2);
  // Only a guard against hanging: the program is expected to end long before.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
  guard.start(120000);

  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(form->CloseRequested());
  EXPECT_FALSE(form->Running());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->lblOpis->text(), "KONIEC");
  const QStringList log = LogLines();
  EXPECT_EQ(log.filter(QRegularExpression("^\\*\\* ERROR ")).size(), 3);
  EXPECT_TRUE(log.filter(QRegularExpression("^KONIEC ")).size() == 1);
}

TEST_F(WindowRunTest, CloseWhileIdleClosesTheWindow) {
  QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->CloseRequested());
}

}  // namespace
