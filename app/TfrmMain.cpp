#include "app/TfrmMain.h"

#include "app/ErrorBox.h"
#include "app/FormBuilder.h"
#include "app/MemoLines.h"
#include "app/ResultGrid.h"
#include "app/TBitBtn.h"
#include "app/TRxSpinEdit.h"
#include "app/WindowRunAdapter.h"
#include "batch/BatchRun.h"
#include "batch/TimeStamp.h"
#include "db/Exception.h"
#include "db/Session.h"
#include "db/TQuery.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWindow>

TfrmMain* frmMain = nullptr;

namespace {

template <typename T>
void Bind(QWidget* form, T*& member, const char* name) {
  member = form->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
  Q_ASSERT_X(member, "TfrmMain", name);
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent) {
  Build();
  TSession::SetCredentialsProvider(&login_);
}

TfrmMain::~TfrmMain() {
  TSession::SetCredentialsProvider(nullptr);
  grd->setModel(nullptr);
}

void TfrmMain::Build() {
  const FormSpec& form = MainFormSpec();
  const FormFonts fonts = ResolveFonts(form);
  ApplyFormSettings(this, form, fonts);
  for (const ComponentSpec& component : MainFormComponents()) {
    if (component.kind == ComponentKind::Query)
      qry = std::make_unique<TQuery>(QString::fromLatin1(component.name));
    else if (component.kind == ComponentKind::DataSource)
      ds = qry->ResultModel();
    else
      CreateControl(component, this, fonts, hints_);
  }
  ApplyTabOrder(this, MainFormComponents());
  BindMembers();
  grd->setModel(ds);
  findChild<QWidget*>(QString::fromLatin1(form.firstFocus))->setFocus();

  editorLines_ = std::make_unique<MemoLines>(memSQL);
  runWindow_ = std::make_unique<WindowRunAdapter>(*this, *editorLines_);
}

void TfrmMain::BindMembers() {
  Bind(this, memSQL, "memSQL");
  Bind(this, Label1, "Label1");
  Bind(this, Label2, "Label2");
  Bind(this, edOD1, "edOD1");
  Bind(this, edDO1, "edDO1");
  Bind(this, Label3, "Label3");
  Bind(this, Label4, "Label4");
  Bind(this, Label5, "Label5");
  Bind(this, edOD2, "edOD2");
  Bind(this, edDO2, "edDO2");
  Bind(this, Label6, "Label6");
  Bind(this, Label7, "Label7");
  Bind(this, Label8, "Label8");
  Bind(this, edOD3, "edOD3");
  Bind(this, edDO3, "edDO3");
  Bind(this, Label9, "Label9");
  Bind(this, Label10, "Label10");
  Bind(this, chExecSQL, "chExecSQL");
  Bind(this, lblOpis, "lblOpis");
  Bind(this, btnDO, "btnDO");
  Bind(this, BitBtn2, "BitBtn2");
  Bind(this, grd, "grd");
  Bind(this, edPL1, "edPL1");
  Bind(this, Label11, "Label11");
  Bind(this, Label12, "Label12");
  Bind(this, edPL2, "edPL2");
  Bind(this, Label13, "Label13");
  Bind(this, edPL3, "edPL3");
  Bind(this, BitBtn1, "BitBtn1");
  Bind(this, chCichy, "chCichy");
}

void TfrmMain::btnDOClick() {
  if (running_) return;
  running_ = true;
  try {
    RunBatch(*runWindow_, *qry);
  } catch (const std::exception& error) {
    ShowErrorBox(this, ErrorMessage(error), closeRequested_);
  } catch (...) {
    // Nothing may escape into Qt's event loop; the log has already been closed by then.
    ShowErrorBox(this, QStringLiteral("Unknown error"), closeRequested_);
  }
  running_ = false;
  if (closeRequested_) EndProgram();
}

void TfrmMain::BitBtn1Click() { StopRequested = true; }

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (!running_) return QWidget::closeEvent(event);
  // The run goes on with the window shown; the program ends when it returns.
  closeRequested_ = true;
  event->ignore();
}

void TfrmMain::EndProgram() {
  close();
  QCoreApplication::exit(0);
}

void TfrmMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) RefreshTimeSettings();
  QWidget::changeEvent(event);
}

void TfrmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (frameFitted_ || !windowHandle()) return;
  frameFitted_ = true;
  // The designed size includes the frame, whose size only the shown window knows.
  const QMargins frame = windowHandle()->frameMargins();
  const QRect designed = MainFormSpec().frame;
  resize(designed.width() - frame.left() - frame.right(), designed.height() - frame.top() - frame.bottom());
}
