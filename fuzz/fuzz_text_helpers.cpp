// Placeholder replacement and counter padding, checked against their definitions.

#include "FuzzCheck.h"
#include "batch/TextHelpers.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The definition as written: every search starts again at the first character.
QString ReplaceAllNaive(QString text, const QString& pattern, const QString& replacement) {
  for (qsizetype at; !pattern.isEmpty() && (at = text.indexOf(pattern)) >= 0;)
    text.replace(at, pattern.size(), replacement);
  return text;
}

// A counter text as the run builds it: digits with at most one minus sign, here anywhere.
QString CounterText(FuzzedDataProvider& in) {
  QString t = QString::number(in.ConsumeIntegral<int32_t>());
  if (in.ConsumeBool()) t = PadLeft(t, in.ConsumeIntegralInRange<int32_t>(-2, 12), QStringLiteral("0"));
  return t;
}

// Widths up to this many characters are padded for real; the run allows no more than this.
constexpr int32_t kLargestPadded = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static const QString kPatterns[] = {QStringLiteral("$LICZ1$"), QStringLiteral("$LICZ2$"), QStringLiteral("$LICZ3$")};
  const QString& pattern = kPatterns[in.ConsumeIntegralInRange(0, 2)];
  const QString replacement = CounterText(in);
  const int32_t width = in.ConsumeBool() ? in.ConsumeIntegral<int32_t>() : in.ConsumeIntegralInRange<int32_t>(-4, 300);
  const QString fill = Latin1Text(in.ConsumeRandomLengthString(3));
  const QString source = Latin1Text(in.ConsumeRemainingBytesAsString());

  const QString replaced = ReplaceAll(source, pattern, replacement);
  FUZZ_CHECK(!replaced.contains(pattern), "no occurrence left");
  FUZZ_CHECK(replaced == ReplaceAllNaive(source, pattern, replacement), "same as searching from the start");
  FUZZ_CHECK(ReplaceAll(source, QString(), replacement) == source, "empty pattern");

  if (width > kLargestPadded && width > source.size()) return 0;
  const QString padded = PadLeft(source, width, fill);
  FUZZ_CHECK(padded.endsWith(source), "never truncates");
  if (width <= source.size() || fill.isEmpty()) {
    FUZZ_CHECK(padded == source, "unchanged when wide enough");
  } else {
    const qsizetype copies = width - source.size();
    FUZZ_CHECK(padded.size() == source.size() + copies * fill.size(), "one fill per missing character");
    FUZZ_CHECK(padded.left(copies * fill.size()) == fill.repeated(copies), "only fill in front");
    if (fill.size() == 1) FUZZ_CHECK(padded.size() == width, "exactly the width");
  }
  return 0;
}
