#include "app/MemoLines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

/// Rows of one paragraph, remembered on the paragraph itself; the document drops it
/// with the paragraph.
struct CachedRows : QTextBlockUserData {
  CachedRows(quint64 g, QStringList r) : generation(g), rows(std::move(r)) {}
  quint64 generation;
  QStringList rows;
};

/// Generations are unique across instances, so two readers of one editor never take
/// each other's rows for their own.
quint64 NextGeneration() {
  static quint64 last = 0;
  return ++last;
}

}  // namespace

QStringList WrapParagraph(const QString& text, const QFont& font, const QTextOption& option, qreal width) {
  QTextLayout layout(text, font);
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) line.setLineWidth(width);
  layout.endLayout();

  QStringList rows;
  for (int i = 0; i < layout.lineCount(); ++i) {
    const QTextLine line = layout.lineAt(i);
    rows << text.mid(line.textStart(), line.textLength());
  }
  if (rows.isEmpty()) rows << QString();
  return rows;
}

QStringList StatementLines(QStringList rows) {
  if (!rows.isEmpty() && rows.last().isEmpty()) rows.removeLast();
  for (QString& row : rows)
    if (row.size() > kMaxLineChars) row.truncate(kMaxLineChars);
  return rows;
}

MemoLines::MemoLines(QPlainTextEdit* editor) : editor_(editor) {
  connect(editor_->document(), &QTextDocument::contentsChange, this, &MemoLines::OnContentsChange);
}

qreal MemoLines::WrapWidth() const {
  // The viewport fills the frame's inside (no scroll bars), even before the editor is shown.
  return editor_->contentsRect().width() - 2 * editor_->document()->documentMargin();
}

QStringList MemoLines::Lines() {
  QTextDocument* doc = editor_->document();
  const QTextOption option = doc->defaultTextOption();
  const QFont font = doc->defaultFont();
  const qreal width = WrapWidth();
  if (font != font_ || width != width_ || option.wrapMode() != wrapMode_) {
    font_ = font;
    width_ = width;
    wrapMode_ = option.wrapMode();
    generation_ = NextGeneration();
    linesValid_ = false;
  }
  if (linesValid_) return lines_;

  QStringList rows;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    auto* cached = static_cast<CachedRows*>(block.userData());
    if (!cached || cached->generation != generation_) {
      cached = new CachedRows(generation_, WrapParagraph(block.text(), font, option, width));
      block.setUserData(cached);
    }
    rows += cached->rows;
  }
  lines_ = StatementLines(std::move(rows));
  linesValid_ = true;
  return lines_;
}

void MemoLines::OnContentsChange(int position, int /*charsRemoved*/, int charsAdded) {
  linesValid_ = false;
  QTextDocument* doc = editor_->document();
  const QTextBlock last = doc->findBlock(position + charsAdded);
  for (QTextBlock block = doc->findBlock(position); block.isValid(); block = block.next()) {
    block.setUserData(nullptr);
    if (block == last) break;
  }
}
