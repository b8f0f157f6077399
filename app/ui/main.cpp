#include <QApplication>
#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

#include "app/settings/kestrel_app.h"
#include "app/settings/program_folder.h"
#include "app/ui/command_line_tools.h"
#include "app/ui/main_window.h"
#include "app/ui/ui_language.h"
#include "engine/gen2/gen2_engine.h"

int main(int argc, char** argv) {
  kestrel::gen2::RegisterKestrel4();
  const kestrel::ToolRequest request = kestrel::ParseToolRequest(std::vector<std::string>(argv + 1, argv + argc));
  if (request.kind != kestrel::ToolRequest::Kind::None) {
    // Tools draw off screen and need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication gui(argc, argv);
    return kestrel::RunTool(request, kestrel::ProgramFolder(), std::cout, std::cerr);
  }
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kestrel::ApplicationTitle));
  kestrel::InstallStandardButtonTexts();
  kestrel::KestrelApp app = kestrel::KestrelApp::ForRunningProgram();
  kestrel::MainWindow window(app);
  window.Start();
  window.show();
  return QApplication::exec();
}
