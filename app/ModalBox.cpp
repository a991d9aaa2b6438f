#include "app/ModalBox.h"

#include "app/AppTitle.h"

#include <QMessageBox>

void ShowModalBox(QWidget* parent, const QString& text, bool errorIcon, bool closeAtOnce) {
  QMessageBox box(errorIcon ? QMessageBox::Critical : QMessageBox::NoIcon, AppTitle(), QString(), QMessageBox::Ok,
                  parent);
  box.setTextFormat(Qt::PlainText);
  // Messages break their lines with CR LF; the label breaks at LF alone.
  box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  if (closeAtOnce) QMetaObject::invokeMethod(&box, &QDialog::accept, Qt::QueuedConnection);
  box.exec();
}
