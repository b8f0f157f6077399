#include "app/ui/main_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include "app/board_layout.h"
#include "app/kestrel_app.h"
#include "app/ui/board_panel.h"

namespace kestrel {

MainWindow::MainWindow(KestrelApp& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setWindowTitle(QString::fromUtf8(ApplicationTitle));
  setMinimumSize(MinMainWindowWidth, MinMainWindowHeight);
  board_ = new BoardPanel(app_, this);
  setCentralWidget(board_);
  board_->AddViewActions(menuBar()->addMenu(tr("&View")));
}

void MainWindow::Start() {
  app_.InitKestrel();
  // Missing figure files are no error: the built-in pictures stay, and the
  // user learns which files were not loaded.
  const QStringList figureMessages = board_->ApplySettings();
  for (const QString& m : figureMessages) app_.log().Write(m.toStdString());
  if (!figureMessages.isEmpty()) statusBar()->showMessage(figureMessages.join(QStringLiteral("; ")));
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
