#include "db/EngineMessage.h"

#include "db/Exception.h"

namespace {

constexpr int kMaxTextLength = 128;

void AddText(QStringList& texts, const QString& text) {
  const QString t = text.trimmed().left(kMaxTextLength);
  if (t.isEmpty()) return;
  for (const QString& seen : texts)
    if (seen.compare(t, Qt::CaseInsensitive) == 0) return;
  texts.append(t);
}

// Top codes by Qt's error type. Qt gives no finer class, so one code per type, in the
// engine's server-error range: connection 0x3301, statement 0x3302, transaction 0x3303,
// anything else 0x3300. None of them is the context-only code.
int TopCodeFor(QSqlError::ErrorType type) {
  switch (type) {
    case QSqlError::ConnectionError: return 0x3301;
    case QSqlError::StatementError: return 0x3302;
    case QSqlError::TransactionError: return 0x3303;
    default: return 0x3300;
  }
}

}  // namespace

QString BuildEngineMessage(int topCode, const QString& topText, const QVector<EngineErrorEntry>& stack) {
  const bool contextOnly = topCode == kContextOnlyCode;
  QStringList texts;
  if (!contextOnly) AddText(texts, topText);
  for (const EngineErrorEntry& e : stack) {
    if (!contextOnly && e.nativeCode.isEmpty()) AddText(texts, e.genericText);
    AddText(texts, e.contextText);
  }
  if (texts.isEmpty()) return QString::asprintf("BDE error $%.4X", static_cast<unsigned>(topCode));
  return texts.join(QStringLiteral("\r\n"));
}

EDBEngineError EngineErrorFrom(const QSqlError& error, const QString& query) {
  const int code = TopCodeFor(error.type());
  EngineErrorEntry entry;
  entry.nativeCode = error.nativeErrorCode();
  entry.contextText = error.databaseText();
  const QString message = BuildEngineMessage(code, error.driverText(), {entry});
  return EDBEngineError(message, code, entry.nativeCode, query);
}

QString EngineLoadMessage(int status) {
  return QString::asprintf("An error occurred while attempting to initialize the Borland Database Engine (error $%.4x)",
                           static_cast<unsigned>(status));
}
