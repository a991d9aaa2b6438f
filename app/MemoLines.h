#pragma once
// The lines a word-wrapped editor displays, worked out from the text alone, so they
// come out the same whether the editor is shown, covered, scrolled or never shown.

#include <QFont>
#include <QObject>
#include <QStringList>
#include <QTextOption>

class QPlainTextEdit;

/// A displayed line is never longer than this when handed to the run.
constexpr int kMaxLineChars = 4096;

/// The rows one paragraph occupies at the given text width (always at least one row).
QStringList WrapParagraph(const QString& text, const QFont& font, const QTextOption& option, qreal width);

/// Display rows as statement lines: one trailing empty row dropped, each cut to 4096 chars.
QStringList StatementLines(QStringList rows);

/// The editor's displayed lines as statement lines, kept per paragraph between edits so a
/// long template is not laid out again for every statement.
class MemoLines : public QObject {
 public:
  explicit MemoLines(QPlainTextEdit* editor);

  QStringList Lines();
  /// The width the editor wraps its text at.
  qreal WrapWidth() const;

 private:
  void OnContentsChange(int position, int charsRemoved, int charsAdded);

  QPlainTextEdit* editor_;
  QStringList lines_;
  bool linesValid_ = false;
  // Paragraph caches from before the last change of font, width or wrap mode are stale.
  quint64 generation_ = 0;
  QFont font_;
  qreal width_ = -1;
  QTextOption::WrapMode wrapMode_ = QTextOption::NoWrap;
};
