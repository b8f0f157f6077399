#include "app/ui/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>

#include "app/kestrel_app.h"

namespace kestrel {

MainWindow::MainWindow(KestrelApp& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setWindowTitle(QString::fromUtf8(ApplicationTitle));
  setMinimumSize(480, 360);
  auto* placeholder = new QLabel(this);
  placeholder->setAlignment(Qt::AlignCenter);
  setCentralWidget(placeholder);
}

void MainWindow::Start() {
  app_.InitKestrel();
  ApplyPlacement();
  // The welcome dialogs of a first start are shown once; the flag is cleared
  // so that the next start goes straight to work.
  app_.TakeFirstRunFlag();
}

void MainWindow::ApplyPlacement() {
  const Settings& s = app_.settings();
  setGeometry(s.MainLeft, s.MainTop, s.MainWidth, s.MainHeight);
  if (s.MainMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::RememberPlacement() {
  Settings& s = app_.settings();
  const QRect r = isMaximized() ? normalGeometry() : geometry();
  if (r.isValid()) {
    s.MainLeft = r.left();
    s.MainTop = r.top();
    s.MainWidth = r.width();
    s.MainHeight = r.height();
  }
  s.MainMaximized = isMaximized();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  RememberPlacement();
  std::string error;
  if (!app_.Close(&error))
    QMessageBox::warning(this, windowTitle(),
                         QString::fromUtf8("The settings could not be saved: ") + QString::fromStdString(error));
  event->accept();
}

}  // namespace kestrel
