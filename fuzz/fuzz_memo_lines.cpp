// The editor's displayed lines: a paragraph's rows put together give it back, and the rows
// handed to the run are cut only at the line limit.

#include "FuzzCheck.h"
#include "app/MemoLines.h"

#include <QGuiApplication>
#include <QTextOption>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static const QTextOption::WrapMode kModes[] = {QTextOption::WrapAtWordBoundaryOrAnywhere, QTextOption::WordWrap,
                                                 QTextOption::WrapAnywhere, QTextOption::NoWrap};
  QTextOption option;
  option.setWrapMode(kModes[in.ConsumeIntegralInRange(0, 3)]);
  const qreal width = in.ConsumeIntegralInRange(1, 1200);
  QFont font;
  font.setPixelSize(in.ConsumeIntegralInRange(6, 40));
  QStringList paragraphs;
  for (int n = in.ConsumeIntegralInRange(1, 4); n > 0; --n) {
    // A paragraph holds no line break of its own; the editor splits the text at them.
    QString p = Latin1Text(in.ConsumeRandomLengthString(6000));
    p.replace(u'\n', u' ').replace(u'\r', u' ');
    paragraphs << p;
  }

  QStringList rows;
  for (const QString& p : paragraphs) {
    const QStringList own = WrapParagraph(p, font, option, width);
    FUZZ_CHECK(!own.isEmpty(), "at least one row");
    FUZZ_CHECK(own.join(QString()) == p, "rows give the paragraph back");
    if (option.wrapMode() == QTextOption::NoWrap) FUZZ_CHECK(own.size() == 1, "no wrap, one row");
    rows += own;
  }

  const QStringList lines = StatementLines(rows);
  const bool dropLast = !rows.isEmpty() && rows.last().isEmpty();
  FUZZ_CHECK(lines.size() == rows.size() - (dropLast ? 1 : 0), "only a trailing empty row dropped");
  for (int i = 0; i < lines.size(); ++i) {
    FUZZ_CHECK(lines[i].size() <= kMaxLineChars, "line limit");
    FUZZ_CHECK(rows[i].startsWith(lines[i]), "a row's beginning");
    FUZZ_CHECK(lines[i].size() == qMin<qsizetype>(rows[i].size(), kMaxLineChars), "cut only at the limit");
  }
  return 0;
}
