// The parameter-marker scan: what is sent is the text with "::" made ":" and each marker made
// "?", nothing else changed, and no marker is left outside quotes.

#include "FuzzCheck.h"
#include "db/ParamScan.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool IsQuote(QChar c) { return c == u'\'' || c == u'"' || c == u'`'; }
bool EndsMarker(QChar c) { return c == u'\r' || c == u'\n' || c == u' ' || c == u')' || c == u',' || c == u';'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const QString text = Latin1Text(in.ConsumeRemainingBytesAsString());
  const ParamScanResult scan = ScanParams(text);
  const QString& sent = scan.sent;

  // Walk the sent text and the original side by side. Outside quotes a ":" in the sent text
  // must stand for "::" and a "?" at a ":" of the original for one whole marker.
  qsizetype s = 0, t = 0;
  bool quoted = false, found = false;
  QString firstName;
  while (s < sent.size()) {
    FUZZ_CHECK(t < text.size(), "sent text longer than its source");
    const QChar c = sent.at(s);
    if (!quoted && c == u':') {
      FUZZ_CHECK(text.mid(t, 2) == QLatin1String("::"), "a ':' outside quotes came from '::'");
      t += 2;
    } else if (!quoted && c == u'?' && text.at(t) == u':') {
      const qsizetype start = ++t;
      while (t < text.size() && !EndsMarker(text.at(t))) ++t;
      if (!found) firstName = text.mid(start, t - start);
      found = true;
    } else {
      FUZZ_CHECK(text.at(t) == c, "other characters pass unchanged");
      if (IsQuote(c)) quoted = !quoted;
      ++t;
    }
    ++s;
  }
  FUZZ_CHECK(t == text.size(), "nothing dropped at the end");
  FUZZ_CHECK(scan.hasMarker == found, "a marker is reported exactly when one was sent as '?'");
  FUZZ_CHECK(scan.firstName == firstName, "the first marker's name");
  for (QChar c : scan.firstName) FUZZ_CHECK(!EndsMarker(c), "name holds no end character");

  // The text sent holds no marker of its own outside quotes but the colons of "::".
  if (!scan.hasMarker && !text.contains(QLatin1String("::"))) FUZZ_CHECK(sent == text, "no colon, no change");
  return 0;
}
