#include "app/LoginDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

/// Plays the user at the dialog once it is up.
void WhenDialogOpens(std::function<void(LoginDialog*)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(dialog);
  });
}

TEST(LoginDialog, OkGivesWhatWasTypedCutTo31Characters) {
  LoginDialogProvider provider;
  QString user = "prefilled", password;
  QString title, prefilled;
  WhenDialogOpens([&](LoginDialog* d) {
    title = d->windowTitle();
    prefilled = d->userEdit->text();
    QTest::keyClicks(d->passwordEdit, QString(40, 'p'));
    QTest::keyClick(d->passwordEdit, Qt::Key_Return);
  });
  EXPECT_TRUE(provider.AskLogin("db", user, password));
  EXPECT_EQ(title.toStdString(), "Database Login");
  EXPECT_EQ(prefilled.toStdString(), "prefilled");
  EXPECT_EQ(user.toStdString(), "prefilled");
  EXPECT_EQ(password.toStdString(), std::string(31, 'p'));
}

TEST(LoginDialog, CancelGivesFalseAndKeepsTheInputs) {
  LoginDialogProvider provider;
  QString user = "u", password = "keep";
  WhenDialogOpens([](LoginDialog* d) {
    QTest::keyClicks(d->passwordEdit, "secret");
    QTest::keyClick(d, Qt::Key_Escape);
  });
  EXPECT_FALSE(provider.AskLogin("db", user, password));
  EXPECT_EQ(password.toStdString(), "keep");
}

}  // namespace
