#include "app/MemoLines.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <ostream>

namespace {

// The editor as the window sets it up: word wrap at its own edge, no scroll bars.
class MemoLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    window.setFont(font);
    window.resize(700, 600);
    editor = new QPlainTextEdit(&window);
    editor->setGeometry(8, 24, 657, 529);
    editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lines = std::make_unique<MemoLines>(editor);
  }

  /// What the shown editor itself lays out, row by row, after forcing its layout.
  QStringList ShownRows() {
    QStringList rows;
    QTextDocument* doc = editor->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
      doc->documentLayout()->blockBoundingRect(b);
      const QTextLayout* layout = b.layout();
      for (int i = 0; i < layout->lineCount(); ++i)
        rows << b.text().mid(layout->lineAt(i).textStart(), layout->lineAt(i).textLength());
    }
    return rows;
  }

  /// Every paragraph laid out afresh.
  QStringList Uncached() {
    QStringList rows;
    QTextDocument* doc = editor->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
      rows += WrapParagraph(b.text(), doc->defaultFont(), doc->defaultTextOption(), lines->WrapWidth());
    return StatementLines(rows);
  }

  QWidget window;
  QPlainTextEdit* editor = nullptr;
  std::unique_ptr<MemoLines> lines;
};

QString Words(int count) {
  QString text;
  for (int i = 0; i < count; ++i) text += QStringLiteral("INSERT%1 ").arg(i % 10);
  return text.trimmed();
}

TEST(StatementLines, DropOneTrailingEmptyRowAndCutLongRows) {
  struct Case {
    QStringList rows;
    QStringList expected;
  };
  const Case cases[] = {
      {{""}, {}},
      {{"a", ""}, {"a"}},
      {{"a", "", ""}, {"a", ""}},
      {{"", "b"}, {"", "b"}},
      {{QString(5000, 'x')}, {QString(4096, 'x')}},
  };
  for (const Case& c : cases) EXPECT_EQ(StatementLines(c.rows), c.expected) << c.rows.join('|').left(40).toStdString();
}

TEST_F(MemoLinesTest, TypedLineBreaksAtTheEndCountAsTheEditorShowsThem) {
  struct Case {
    QString text;
    QStringList expected;
  };
  const Case cases[] = {
      {"", {}},
      {"SELECT 1", {"SELECT 1"}},
      {"SELECT 1\n", {"SELECT 1"}},
      {"SELECT 1\n\n", {"SELECT 1", ""}},
      {"a\n\nb", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    editor->setPlainText(c.text);
    EXPECT_EQ(lines->Lines(), c.expected) << c.text.toStdString();
  }
}

TEST_F(MemoLinesTest, NeverShownEditorWrapsAsTheShownEditorDoes) {
  const QString text = Words(300) + "\nshort\n" + QString(5000, 'X') + "\n\tTAB " + Words(40);
  editor->setPlainText(text);
  const QStringList unseen = lines->Lines();

  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QStringList shown = StatementLines(ShownRows());
  EXPECT_GT(shown.size(), 10);
  EXPECT_EQ(unseen, shown);
  EXPECT_EQ(lines->Lines(), shown);
}

TEST_F(MemoLinesTest, LongUnbrokenLineComesInRowsOfAtMost4096) {
  const QString text(5000, 'W');
  editor->setPlainText(text);
  const QStringList result = lines->Lines();
  ASSERT_GT(result.size(), 1);
  for (const QString& row : result) EXPECT_LE(row.size(), kMaxLineChars);
  EXPECT_EQ(result.join(QString()), text);
}

TEST_F(MemoLinesTest, WrappedRowsJoinBackToTheTypedLine) {
  const QString typed = Words(120);
  editor->setPlainText(typed);
  const QStringList result = lines->Lines();
  ASSERT_GT(result.size(), 2);
  EXPECT_EQ(result.join(QString()), typed);
}

TEST_F(MemoLinesTest, CoveredAndScrolledEditorStillGivesEveryLine) {
  QStringList typed;
  for (int i = 0; i < 500; ++i) typed << QStringLiteral("line %1").arg(i);
  editor->setPlainText(typed.join('\n'));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  editor->moveCursor(QTextCursor::End);
  auto* cover = new QWidget(&window);
  cover->setGeometry(0, 0, 700, 600);
  cover->show();
  EXPECT_EQ(lines->Lines(), typed);
}

TEST_F(MemoLinesTest, EditsAreSeenWhateverParagraphTheyTouch) {
  QStringList typed;
  for (int i = 0; i < 50; ++i) typed << QStringLiteral("line %1").arg(i);
  editor->setPlainText(typed.join('\n'));
  ASSERT_EQ(lines->Lines(), typed);

  QRandomGenerator random(7);
  for (int step = 0; step < 200; ++step) {
    QTextCursor cursor(editor->document());
    const int length = editor->document()->characterCount() - 1;
    cursor.setPosition(random.bounded(length + 1));
    switch (random.bounded(3)) {
      case 0: cursor.insertText(random.bounded(4) == 0 ? QStringLiteral("\n") : QStringLiteral("xy ")); break;
      case 1:
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, random.bounded(30));
        cursor.removeSelectedText();
        break;
      case 2: cursor.insertText(Words(random.bounded(200))); break;
    }
    ASSERT_EQ(lines->Lines(), Uncached()) << "step " << step;
  }
}

}  // namespace
