#include "app/LoginDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

LoginDialog::LoginDialog(const QString& databaseName, const QString& user, QWidget* parent)
    : QDialog(parent), userEdit(new QLineEdit(user, this)), passwordEdit(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Database Login"));
  userEdit->setMaxLength(kMaxChars);
  passwordEdit->setMaxLength(kMaxChars);
  passwordEdit->setEchoMode(QLineEdit::Password);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Database:"), new QLabel(databaseName, this));
  form->addRow(QStringLiteral("User Name:"), userEdit);
  form->addRow(QStringLiteral("Password:"), passwordEdit);
  form->addRow(buttons);

  // A prefilled user name leaves only the password to type.
  (user.isEmpty() ? userEdit : passwordEdit)->setFocus();
}

QString LoginDialog::User() const { return userEdit->text(); }
QString LoginDialog::Password() const { return passwordEdit->text(); }

bool LoginDialogProvider::AskLogin(const QString& databaseName, QString& user, QString& password) {
  LoginDialog dialog(databaseName, user, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return false;
  user = dialog.User();
  password = dialog.Password();
  return true;
}
