#include "SpinValue.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

bool IsDecimalDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

// Length of the hexadecimal prefix at i, or 0 when there is none.
int HexPrefixLength(const QString& text, int i) {
  const int n = text.size();
  if (i >= n) return 0;
  const QChar c = text.at(i);
  if (c == u'$' || c == u'x' || c == u'X') return 1;
  if (c == u'0' && i + 1 < n && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) return 2;
  return 0;
}

// Eight significant digits at most, so the pattern always fits 32 bits.
bool ReadHex(const QString& text, int i, std::int64_t& out) {
  const int n = text.size();
  if (i >= n) return false;
  std::uint32_t pattern = 0;
  int significant = 0;
  for (; i < n; ++i) {
    const int d = HexDigit(text.at(i));
    if (d < 0) return false;
    if (pattern != 0 || d != 0) ++significant;
    if (significant > 8) return false;
    pattern = (pattern << 4) | static_cast<std::uint32_t>(d);
  }
  out = static_cast<std::int32_t>(pattern);
  return true;
}

// Stops as soon as the magnitude leaves the 32-bit range, so long texts cannot overflow.
bool ReadDecimal(const QString& text, int i, std::int64_t& out) {
  const int n = text.size();
  if (i >= n) return false;
  std::int64_t magnitude = 0;
  for (; i < n; ++i) {
    if (!IsDecimalDigit(text.at(i))) return false;
    magnitude = magnitude * 10 + (text.at(i).unicode() - u'0');
    if (magnitude > std::int64_t{1} << 31) return false;
  }
  out = magnitude;
  return true;
}

}  // namespace

double SpinValueOf(const QString& text) {
  const int n = text.size();
  int i = 0;
  while (i < n && text.at(i) == u' ') ++i;
  bool negative = false;
  if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
    negative = text.at(i) == u'-';
    ++i;
  }
  std::int64_t value = 0;
  const int prefix = HexPrefixLength(text, i);
  const bool ok = prefix > 0 ? ReadHex(text, i + prefix, value) : ReadDecimal(text, i, value);
  if (!ok) return 0;
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) return 0;
  return static_cast<double>(value);
}

QString SpinTextOf(double value) {
  if (std::isnan(value)) return QStringLiteral("0");
  double whole = std::floor(value);
  const double fraction = value - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  // Out-of-range values (never produced by stepping a 32-bit value) are held at the 64-bit limits.
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (whole >= kLimit) return QString::number(std::numeric_limits<qint64>::max());
  if (whole < -kLimit) return QString::number(std::numeric_limits<qint64>::min());
  return QString::number(static_cast<qint64>(whole));
}
