// The engine's error stack turned into the user's message.

#include "FuzzCheck.h"
#include "db/EngineMessage.h"

#include <QRegularExpression>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int topCode = in.ConsumeBool() ? kContextOnlyCode : in.ConsumeIntegralInRange(0, 0xFFFF);
  // Without CR, so that the message's lines are exactly its texts (a text may hold LF).
  const auto text = [&in] { return Utf16Text(in.ConsumeRandomLengthString(600)).remove(u'\r'); };
  const QString topText = text();
  QVector<EngineErrorEntry> stack(in.ConsumeIntegralInRange(0, 5));
  for (EngineErrorEntry& e : stack) {
    e.nativeCode = in.ConsumeBool() ? QString() : Utf16Text(in.ConsumeRandomLengthString(8));
    e.genericText = text();
    e.contextText = text();
  }

  const QString message = BuildEngineMessage(topCode, topText, stack);
  FUZZ_CHECK(!message.isEmpty(), "never empty");
  static const QRegularExpression kFallback(QStringLiteral("^BDE error \\$[0-9A-F]{4}$"));
  if (message.startsWith(QLatin1String("BDE error $")) && kFallback.match(message).hasMatch()) return 0;

  const QStringList lines = message.split(QStringLiteral("\r\n"));
  for (int i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    FUZZ_CHECK(!line.isEmpty(), "no empty line");
    FUZZ_CHECK(line.size() <= 128, "at most 128 characters");
    // A text cut at 128 characters may end in a space; otherwise each text is trimmed.
    FUZZ_CHECK(!line.front().isSpace(), "trimmed at the front");
    if (line.size() < 128) FUZZ_CHECK(!line.back().isSpace(), "trimmed at the end");
    for (int j = 0; j < i; ++j)
      FUZZ_CHECK(lines[j].compare(line, Qt::CaseInsensitive) != 0, "no repeat in any letter case");
  }
  return 0;
}
