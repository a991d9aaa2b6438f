// Logging in to a server whose alias holds no password: the "Database Login" dialog asks
// once, the typed password stays in memory; libpq's password file answers without asking.

#include "app/LoginDialog.h"
#include "batch/BatchRun.h"

#include "common/AliasHome.h"
#include "common/PgEnv.h"
#include "common/QtPrint.h"
#include "common/ScriptedWindow.h"
#include "common/TempDir.h"
#include "common/TestBackends.h"
#include "db/Session.h"
#include "db/TQuery.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QDateTime kMoment(QDate(2026, 3, 5), QTime(9, 7, 59));

// Plays the user at the login dialog whenever one is up: types the password and presses
// Enter, or presses Escape.
class DialogUser {
 public:
  void Start() { Poll(); }
  void Poll() {
    if (auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget())) Answer(dialog);
    if (!stopped_) QTimer::singleShot(20, [this] { Poll(); });
  }
  void Stop() { stopped_ = true; }

  bool cancel = false;
  QString typed;
  int shown = 0;
  QString title, prefilledUser;
  QStringList labels;

 private:
  void Answer(LoginDialog* dialog) {
    ++shown;
    title = dialog->windowTitle();
    for (const QLabel* label : dialog->findChildren<QLabel*>()) labels << label->text();
    prefilledUser = dialog->userEdit->text();
    if (cancel) {
      QTest::keyClick(dialog, Qt::Key_Escape);
      return;
    }
    QTest::keyClicks(dialog->passwordEdit, typed);
    QTest::keyClick(dialog->passwordEdit, Qt::Key_Return);
  }
  bool stopped_ = false;
};

// A typed login is kept for the process's life, as the program keeps it; the cases that must
// find none come first for a run of the whole binary in one process (ctest runs each alone).
class ServerLogin : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString missing = BackendMissing(BackendKind::Postgres);
    if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    pg = *TestPg();
    savedPassFile_ = qgetenv("PGPASSFILE");
    hadPassFile_ = qEnvironmentVariableIsSet("PGPASSFILE");
    // No password file of the machine's may answer for the user.
    qputenv("PGPASSFILE", dir.File(QStringLiteral("no-such-pgpass")).toUtf8());
    qunsetenv("PGPASSWORD");
    home.Write(DefaultAliasIni(BackendKind::Postgres, {}, false));
    data = std::make_unique<DirectConnection>(BackendKind::Postgres, QString());
    table = UniqueTable("login");
    data->Exec(QStringLiteral("CREATE TABLE %1(n INTEGER)").arg(table));
    user.typed = pg.password;
    TSession::SetCredentialsProvider(&dialogs);
    window.SetCounter(1, 1, 1, 1);
    window.SetCounter(2, 1, 1, 1);
    window.SetCounter(3, 1, 3, 1);
    window.lines = QStringList{QStringLiteral("INSERT INTO %1 VALUES($LICZ3$)").arg(table)};
  }
  void TearDown() override {
    user.Stop();
    TSession::SetCredentialsProvider(nullptr);
    if (data) data->Exec(QStringLiteral("DROP TABLE IF EXISTS ") + table);
    if (hadPassFile_)
      qputenv("PGPASSFILE", savedPassFile_);
    else
      qunsetenv("PGPASSFILE");
  }

  void Run() {
    TSession session(QStringLiteral("login-") + table);
    TQuery qry(QStringLiteral("qry"), &session);
    user.Start();
    RunBatch(window, qry, [] { return kMoment; });
  }
  QStringList Stored() { return data->Rows(QStringLiteral("SELECT n FROM %1 ORDER BY n").arg(table)); }

  /// Every file under the directories the run and the layer write to, and the user's own
  /// password file, that holds the text.
  QStringList FilesHolding(const QString& text) const {
    QStringList found;
    QStringList files = {QDir::homePath() + QStringLiteral("/.pgpass")};
    for (const QString& root : {dir.Path(), home.Path()}) {
      QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
      while (it.hasNext()) files << it.next();
    }
    for (const QString& path : files) {
      QFile f(path);
      if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text.toUtf8())) found << path;
    }
    return found;
  }

  ScopedTempDir dir;
  AliasHome home;
  PgEnv pg;
  std::unique_ptr<DirectConnection> data;
  QString table;
  LoginDialogProvider dialogs;
  DialogUser user;
  ScriptedWindow window;

 private:
  QByteArray savedPassFile_;
  bool hadPassFile_ = false;
};

TEST_F(ServerLogin, CancelFailsEachStatementWithTheServersError) {
  user.cancel = true;
  window.boxes[ModeBox::Cichy] = false;
  Run();
  EXPECT_EQ(user.shown, 3);  // each statement tries to connect again
  ASSERT_EQ(window.messages.size(), 3);
  EXPECT_TRUE(window.messages.first().contains(QLatin1String("no password supplied")))
      << window.messages.first().toStdString();
  EXPECT_TRUE(Stored().isEmpty());
  EXPECT_EQ(window.status, QStringLiteral("KONIEC"));
}

TEST_F(ServerLogin, PasswordFileAnswersWithoutAsking) {
  const QString passFile = dir.File(QStringLiteral("pgpass"));
  QFile f(passFile);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QStringLiteral("%1:%2:%3:%4:%5\n").arg(pg.host).arg(pg.port).arg(pg.dbname, pg.user, pg.password).toUtf8());
  f.close();
  f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);  // libpq ignores a readable one
  qputenv("PGPASSFILE", passFile.toUtf8());
  Run();
  EXPECT_EQ(user.shown, 0);
  EXPECT_EQ(Stored(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
}

TEST_F(ServerLogin, TypedPasswordConnectsOnceAndIsWrittenNowhere) {
  Run();
  EXPECT_EQ(user.shown, 1);
  EXPECT_EQ(user.title, QStringLiteral("Database Login"));
  EXPECT_EQ(user.prefilledUser, pg.user);
  EXPECT_TRUE(user.labels.contains(pg.dbname)) << user.labels.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(Stored(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
  EXPECT_FALSE(dir.Read(QStringLiteral("20260305_0907.txt")).contains("** ERROR"));
  EXPECT_EQ(FilesHolding(pg.password), QStringList());
}

}  // namespace
