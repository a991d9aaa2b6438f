#include "app/TfrmMain.h"
#include "db/Session.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  {
    TfrmMain form;
    frmMain = &form;
    form.show();
    app.exec();
    frmMain = nullptr;
  }
  // Qt's registry of connections is gone once main returns: the session lets go first.
  TSession::Default().Forget();
  return 0;
}
