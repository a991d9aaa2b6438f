#include "app/WindowRunAdapter.h"

#include "app/MemoLines.h"
#include "app/ModalBox.h"
#include "app/ResultGrid.h"
#include "app/TRxSpinEdit.h"
#include "app/TfrmMain.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>

double WindowRunAdapter::FieldValue(CounterField field) {
  TRxSpinEdit* const fields[] = {form_.edOD1, form_.edDO1, form_.edOD2, form_.edDO2, form_.edOD3,
                                 form_.edDO3, form_.edPL1, form_.edPL2, form_.edPL3};
  return fields[static_cast<int>(field)]->Value();
}

bool WindowRunAdapter::BoxChecked(ModeBox box) {
  return (box == ModeBox::ExecSQL ? form_.chExecSQL : form_.chCichy)->isChecked();
}

QStringList WindowRunAdapter::EditorLines() { return editorLines_.Lines(); }

void WindowRunAdapter::SetStatus(const QString& text) {
  QLabel* label = form_.lblOpis;
  label->setText(text);
  // The run writes one line of plain text: its advance is the width the label grows to, at a
  // fraction of the cost of the label's own size hint, which lays the text out again.
  label->resize(label->fontMetrics().horizontalAdvance(text), label->height());
}

QString WindowRunAdapter::Status() { return form_.lblOpis->text(); }

void WindowRunAdapter::SetGridVisible(bool visible) { form_.grd->setVisible(visible); }

void WindowRunAdapter::ProcessPendingInput() { QCoreApplication::processEvents(); }

void WindowRunAdapter::ShowMessage(const QString& text) { ShowModalBox(&form_, text, false, form_.CloseRequested()); }
