#include "app/FormBuilder.h"

#include "app/Glyphs.h"
#include "app/HintTimer.h"
#include "app/ResultGrid.h"
#include "app/TBitBtn.h"
#include "app/TRxSpinEdit.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <algorithm>

namespace {

QWidget* NewWidget(ComponentKind kind, QWidget* form) {
  switch (kind) {
    case ComponentKind::Label: return new QLabel(form);
    case ComponentKind::Memo: return new QPlainTextEdit(form);
    case ComponentKind::SpinEdit: return new TRxSpinEdit(form);
    case ComponentKind::CheckBox: return new QCheckBox(form);
    case ComponentKind::Button:
    case ComponentKind::CloseButton: return new TBitBtn(form);
    case ComponentKind::Grid: return new ResultGrid(form);
    case ComponentKind::Query:
    case ComponentKind::DataSource: break;
  }
  return nullptr;
}

void SetUpMemo(QPlainTextEdit* memo) {
  memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setTabChangesFocus(true);
}

void ConnectClick(QWidget* button, QWidget* form, const char* handler) {
  const QMetaObject* meta = form->metaObject();
  const QMetaMethod method = meta->method(meta->indexOfMethod(handler));
  Q_ASSERT(method.isValid());
  QObject::connect(button, QMetaMethod::fromSignal(&QAbstractButton::clicked), form, method);
}

}  // namespace

FormFonts ResolveFonts(const FormSpec& description) {
  const QString preferred = QString::fromUtf8(description.fontFamily);
  const QString family =
      QFontDatabase::families().contains(preferred) ? preferred : QString::fromUtf8(description.fallbackFamily);
  FormFonts fonts;
  fonts.window = QFont(family);
  fonts.window.setPixelSize(description.fontPixels);
  fonts.px13 = fonts.window;
  fonts.px13.setPixelSize(description.largePixels);
  return fonts;
}

void ApplyFormSettings(QWidget* form, const FormSpec& description, const FormFonts& fonts) {
  form->setWindowTitle(QString::fromUtf8(description.caption));
  form->setFont(fonts.window);
  QPalette palette = form->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  form->setPalette(palette);
  form->setAutoFillBackground(true);
  // Frame size is only known once shown; the window corrects its client size then.
  form->move(description.frame.topLeft());
  form->resize(description.frame.size());
}

QWidget* CreateControl(const ComponentSpec& description, QWidget* form, const FormFonts& fonts, HintTimer& hints) {
  QWidget* w = NewWidget(description.kind, form);
  if (!w) return nullptr;
  const Settings& s = description.settings;
  const QString text = QString::fromUtf8(description.text);
  w->setObjectName(QString::fromLatin1(description.name));
  w->setGeometry(description.geometry);
  if (s.font == FontKind::Px13 || s.bold) {
    QFont font = s.font == FontKind::Px13 ? fonts.px13 : fonts.window;
    font.setBold(s.bold);
    w->setFont(font);
  }
  if (s.navy) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    w->setPalette(palette);
  }

  if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    if (s.autoSize) label->adjustSize();
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
    SetUpMemo(memo);
    memo->setPlainText(text);
  } else if (auto* spin = qobject_cast<TRxSpinEdit*>(w)) {
    if (s.hasValue) spin->SetValue(s.value);
  } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
    box->setTristate(false);
    box->setText(text);
    box->setChecked(s.checked);
  } else if (auto* button = qobject_cast<TBitBtn*>(w)) {
    button->setText(text);
    button->setIconSize(QSize(16, 16));
    if (s.glyph == Glyph::Stop) button->setIcon(IconFromStrip(StopStrip()));
    if (description.kind == ComponentKind::CloseButton) {
      button->setIcon(DoorIcon());
      QObject::connect(button, &QAbstractButton::clicked, form, &QWidget::close);
    }
  }
  if (s.onClick) ConnectClick(w, form, s.onClick);
  if (s.hint) hints.Attach(w, QString::fromUtf8(s.hint));
  if (s.hidden) w->hide();
  return w;
}

void ApplyTabOrder(QWidget* form, const std::vector<ComponentSpec>& components) {
  std::vector<const ComponentSpec*> ordered;
  for (const ComponentSpec& c : components)
    if (c.tab >= 0) ordered.push_back(&c);
  std::sort(ordered.begin(), ordered.end(),
            [](const ComponentSpec* a, const ComponentSpec* b) { return a->tab < b->tab; });
  for (size_t i = 1; i < ordered.size(); ++i)
    QWidget::setTabOrder(form->findChild<QWidget*>(QString::fromLatin1(ordered[i - 1]->name)),
                         form->findChild<QWidget*>(QString::fromLatin1(ordered[i]->name)));
}
