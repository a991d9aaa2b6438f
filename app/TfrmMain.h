#pragma once
// The main window: the template editor, three counters, two mode boxes, the commands,
// the status label and the result grid, built from its description.

#include "app/HintTimer.h"
#include "app/LoginDialog.h"

#include <QWidget>
#include <memory>

class MemoLines;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QSqlQueryModel;
class ResultGrid;
class TBitBtn;
class TQuery;
class TRxSpinEdit;
class WindowRunAdapter;

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The components, owned by the window.
  QPlainTextEdit* memSQL = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  TRxSpinEdit* edOD1 = nullptr;
  TRxSpinEdit* edDO1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  TRxSpinEdit* edOD2 = nullptr;
  TRxSpinEdit* edDO2 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  TRxSpinEdit* edOD3 = nullptr;
  TRxSpinEdit* edDO3 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QCheckBox* chExecSQL = nullptr;
  QLabel* lblOpis = nullptr;
  TBitBtn* btnDO = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  std::unique_ptr<TQuery> qry;
  QSqlQueryModel* ds = nullptr;
  ResultGrid* grd = nullptr;
  TRxSpinEdit* edPL1 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label12 = nullptr;
  TRxSpinEdit* edPL2 = nullptr;
  QLabel* Label13 = nullptr;
  TRxSpinEdit* edPL3 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  QCheckBox* chCichy = nullptr;

  /// True between the start and the end of a run.
  bool Running() const { return running_; }
  /// A close was asked for during a run; the program ends when the run returns.
  bool CloseRequested() const { return closeRequested_; }

 public Q_SLOTS:
  /// "Wykonaj": one batch run. A press during a run does nothing: runs never nest.
  void btnDOClick();
  /// "STOP": the run stops before its next statement.
  void BitBtn1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Build();
  void BindMembers();
  void EndProgram();

  HintTimer hints_;
  LoginDialogProvider login_;
  std::unique_ptr<MemoLines> editorLines_;
  std::unique_ptr<WindowRunAdapter> runWindow_;
  bool running_ = false;
  bool closeRequested_ = false;
  bool frameFitted_ = false;
};

/// The program's one main window.
extern TfrmMain* frmMain;
