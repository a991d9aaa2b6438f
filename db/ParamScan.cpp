#include "db/ParamScan.h"

namespace {

bool IsQuote(QChar c) { return c == u'\'' || c == u'"' || c == u'`'; }

bool EndsMarker(QChar c) { return c == u'\r' || c == u'\n' || c == u' ' || c == u')' || c == u',' || c == u';'; }

}  // namespace

ParamScanResult ScanParams(const QString& text) {
  ParamScanResult result;
  result.sent.reserve(text.size());
  // One flag for all three quote characters: a " inside '...' ends the quoting too.
  bool quoted = false;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = text.at(i);
    if (IsQuote(c)) {
      quoted = !quoted;
      result.sent += c;
      ++i;
    } else if (quoted || c != u':') {
      result.sent += c;
      ++i;
    } else if (i + 1 < n && text.at(i + 1) == u':') {
      result.sent += u':';
      i += 2;
    } else {
      // The marker's name takes everything up to its end character, quotes included.
      const qsizetype start = ++i;
      while (i < n && !EndsMarker(text.at(i))) ++i;
      if (!result.hasMarker) {
        result.hasMarker = true;
        result.firstName = text.mid(start, i - start);
      }
      result.sent += u'?';
    }
  }
  return result;
}
