#pragma once
// Turning the engine's error stack into the message the user reads.

#include <QSqlError>
#include <QString>
#include <QVector>

/// One entry of the engine's error stack.
struct EngineErrorEntry {
  QString nativeCode;   // the server's own code; empty when none
  QString genericText;  // the engine's text for the entry; listed only without a native code
  QString contextText;  // e.g. the server's own message
};

/// Code whose message lists only the context texts.
constexpr int kContextOnlyCode = 0x2EC4;

/// Top text, then per entry its generic text (when it has no native code) and context text;
/// each trimmed and cut to 128 characters, repeats (any letter case) and empty ones dropped,
/// joined by CR LF. "BDE error $XXXX" when nothing is left.
QString BuildEngineMessage(int topCode, const QString& topText, const QVector<EngineErrorEntry>& stack);

/// The engine error for a Qt SQL error: driver text on top, the database's text as context.
/// Throws nothing; returns the exception to throw.
class EDBEngineError;
EDBEngineError EngineErrorFrom(const QSqlError& error, const QString& query = {});

/// The message when the driver (the engine) cannot be loaded: 0x2108 not found, 0x2109 other.
QString EngineLoadMessage(int status);
