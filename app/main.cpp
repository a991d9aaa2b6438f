#include "app/TfrmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TfrmMain form;
  frmMain = &form;
  form.show();
  app.exec();
  frmMain = nullptr;
  return 0;
}
