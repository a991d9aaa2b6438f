// A counter field's text read as a value and the value written back as text.

#include "FuzzCheck.h"
#include "app/SpinValue.h"

#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool IsCanonicalDecimal(const QString& t) {
  if (t == QLatin1String("0")) return true;
  qsizetype i = t.startsWith(u'-') ? 1 : 0;
  if (i >= t.size() || t.at(i) < u'1' || t.at(i) > u'9') return false;
  for (; i < t.size(); ++i)
    if (t.at(i) < u'0' || t.at(i) > u'9') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const double real = in.ConsumeFloatingPoint<double>();
  const QString text = Latin1Text(in.ConsumeRemainingBytesAsString());

  // Any text reads as a whole number in the 32-bit range, and that number reads back.
  const double value = SpinValueOf(text);
  FUZZ_CHECK(std::floor(value) == value, "whole");
  FUZZ_CHECK(value >= INT32_MIN && value <= INT32_MAX, "32-bit");
  const QString written = SpinTextOf(value);
  FUZZ_CHECK(IsCanonicalDecimal(written), "plain decimal");
  FUZZ_CHECK(SpinValueOf(written) == value, "reads back");
  if (IsCanonicalDecimal(text) && value != 0) FUZZ_CHECK(written == text, "decimal text unchanged");

  // Any real number is written as a whole number, halves to even; within 32 bits it reads back.
  const QString rounded = SpinTextOf(real);
  FUZZ_CHECK(IsCanonicalDecimal(rounded), "real written plainly");
  if (std::isfinite(real) && std::fabs(real) < 2147483647.0)
    FUZZ_CHECK(SpinValueOf(rounded) == std::nearbyint(real), "rounded half to even");
  return 0;
}
