#include <QApplication>

#include "app/kestrel_app.h"
#include "app/ui/main_window.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kestrel::ApplicationTitle));
  kestrel::KestrelApp app = kestrel::KestrelApp::ForRunningProgram();
  kestrel::MainWindow window(app);
  window.Start();
  window.show();
  return QApplication::exec();
}
