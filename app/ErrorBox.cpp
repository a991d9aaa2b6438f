#include "app/ErrorBox.h"

#include "app/ModalBox.h"
#include "db/Exception.h"

#include <new>

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

QString ErrorMessage(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
  if (dynamic_cast<const std::bad_alloc*>(&error)) return QStringLiteral("Out of memory");
  return QString::fromLocal8Bit(error.what());
}

void ShowErrorBox(QWidget* parent, const QString& message, bool closeAtOnce) {
  ShowModalBox(parent, ErrorBoxText(message), true, closeAtOnce);
}
