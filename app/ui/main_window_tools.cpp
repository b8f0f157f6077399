// Tool windows opened from the menus: the internet game server client and
// the endgame databases generator.
#include <QAction>

#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "app/settings/kestrel_app.h"
#include "app/ui/endgame_generator_window.h"
#include "app/ui/main_window.h"
#include "app/ui/ui_language.h"
#include "engine/endgame/edb_tables.h"
#include "rules/current_game_type.h"

#ifdef KESTREL_HAS_NET
#include "net/game_server_window.h"
#endif

namespace kestrel {

namespace {

// Shows a tool window made once and kept while the main window lives.
template <class Make>
void ShowToolWindow(QPointer<QWidget>& window, Make make) {
  if (!window) window = make();
  window->show();
  window->raise();
  window->activateWindow();
}

// Where new tables go: the folder the engine reads them from, unless that
// cannot be written (an installed program), then the user's data folder.
std::filesystem::path GeneratorFolder(const KestrelApp& app) {
  const std::filesystem::path engineRoot = EndgameRoot(app.programFolder(), app.settings().EDPath);
  std::error_code ec;
  std::filesystem::create_directories(engineRoot, ec);
  const bool writable = !ec && access(engineRoot.c_str(), W_OK) == 0;
  if (writable || app.dataFolder().empty()) return engineRoot;
  return app.dataFolder() / "ED";
}

}  // namespace

void MainWindow::CreateToolActions() {
#ifdef KESTREL_HAS_NET
  gameServer_ = new QAction(this);
  BindLang(gameServer_, 35);  // "Connect to Internet game server"
  gameServer_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
  connect(gameServer_, &QAction::triggered, this, &MainWindow::OnGameServer);
#endif
  endgameGenerator_ = new QAction(this);
  BindLang(endgameGenerator_, 356);
  endgameGenerator_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
  connect(endgameGenerator_, &QAction::triggered, this, &MainWindow::OnEndgameGenerator);
}

void MainWindow::OnGameServer() {
#ifdef KESTREL_HAS_NET
  ShowToolWindow(gameServerWindow_, [this] { return new TGameServerWindow(app_.settings(), this); });
#endif
}

void MainWindow::OnEndgameGenerator() {
  ShowToolWindow(endgameGeneratorWindow_, [this] {
    auto* window = new EndgameGeneratorWindow(GeneratorFolder(app_), CurrentGameType, this);
    window->onTablesWritten = [this](const std::filesystem::path& folder) {
      // New tables in the engine's folder are read from the next search on.
      std::error_code ec;
      if (std::filesystem::equivalent(folder, EndgameRoot(app_.programFolder(), app_.settings().EDPath), ec))
        controller_->ResetEndgameCache();
      else
        ShowInfo(LangQ(LtNewTablesFolder)
                     .arg(QString::fromStdString(folder.string())));
    };
    return window;
  });
}

}  // namespace kestrel
