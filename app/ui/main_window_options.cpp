// The main window's options and help: "Engine settings", "Interface", the
// fonts, the language, "Help", "Show Log", "About" and the welcome of a first
// start.
#include <QAction>
#include <QDesktopServices>
#include <QEvent>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

#include "app/language/language_table.h"
#include "app/play/engine_settings_apply.h"
#include "app/settings/code_page_setting.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/about_dialog.h"
#include "app/ui/board_panel.h"
#include "app/ui/engine_settings_dialog.h"
#include "app/ui/game_input.h"
#include "app/ui/game_panel.h"
#include "app/ui/interface_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "app/ui/ui_language.h"
#include "engine/system_memory.h"
#include "rules/current_game_type.h"
#include "rules/notation.h"

namespace kestrel {

void MainWindow::CreateOptionActions() {
  engineSettings_ = new QAction(this);
  BindLang(engineSettings_, 36);
  BindLangTip(engineSettings_, 36);
  connect(engineSettings_, &QAction::triggered, this, &MainWindow::OnEngineSettings);
  interface_ = new QAction(this);
  BindLang(interface_, 139);
  connect(interface_, &QAction::triggered, this, &MainWindow::OnInterface);
  gameFont_ = new QAction(this);
  BindLang(gameFont_, 318);
  connect(gameFont_, &QAction::triggered, this, [this] { OnFont(true); });
  databaseFont_ = new QAction(this);
  BindLang(databaseFont_, 37);
  connect(databaseFont_, &QAction::triggered, this, [this] { OnFont(false); });
  help_ = new QAction(this);
  BindLang(help_, 40);
  BindLangTip(help_, 40);
  help_->setShortcut(QKeySequence(Qt::Key_F1));
  help_->setShortcutContext(Qt::ApplicationShortcut);
  connect(help_, &QAction::triggered, this, &MainWindow::OnHelp);
  showLog_ = new QAction(this);
  BindLang(showLog_, 278);
  connect(showLog_, &QAction::triggered, this, &MainWindow::OnShowLog);
  about_ = new QAction(this);
  BindLang(about_, 41);
  connect(about_, &QAction::triggered, this, &MainWindow::OnAbout);
}

void MainWindow::SetLanguage(const std::string& name) {
  // A file changes only the entries it names; English restores them all.
  if (!ReadLanguage(app_.programFolder(), name) && name != DefaultLanguageName)
    app_.log().Write("Language file not found: " + name);
  app_.settings().LanguageName = name;
  ChangeLanguage();
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange && controller_) {
    RebuildWindowMenu();
    RenderStatusBar();
    stop_->setText(QString());  // made again in the new language
    RenderStopButton();
    controller_->Refresh().Request(rqBuildTree | rqBook);
  }
  QMainWindow::changeEvent(event);
}

void MainWindow::ApplyDisplaySettings() {
  const Settings& s = app_.settings();
  const std::string take = s.TakeChar == 0 ? ":" : "x";
  // Move texts are made on the worker too; the sign changes between runs.
  // The code page says how the stored bytes of names and comments read, so a
  // change shows the open database and the game in it at once; no byte is
  // rewritten.
  const TCodePage page = CodePageOfSetting(s.CodePage);
  const bool codePageChanged = page != CurrentCodePage();
  if (take != TakeChar || s.PoolChessNotation != PoolChessNotation || codePageChanged) controller_->StopAndWait();
  SetCodePage(page);
  NotationMode = s.Notation;
  TakeChar = take;
  PoolChessNotation = s.PoolChessNotation;
  BoardScene scene = board_->view().scene();
  scene.highlight = s.HighlightMove;
  scene.showCoords = s.ShowCoords;
  scene.showJamaican = s.ShowJamaican;
  scene.poolWhiteBottom = s.PoolWhiteBottom;
  scene.poolChessNotation = s.PoolChessNotation;
  board_->view().SetScene(scene);
  input_->gamePanel().SetGameFont(QFont(QString::fromStdString(s.GameFont.Name), s.GameFont.Size));
  emit databaseFontChanged(QFont(QString::fromStdString(s.DatabaseFont.Name), s.DatabaseFont.Size));
  if (database_) database_->DisplaySettingsChanged(codePageChanged);
  controller_->Refresh().Request(rqBoard | rqBuildTree | rqBook | rqStatusBar);
  TimerStep();
}

void MainWindow::OnFont(bool gamePanel) {
  FontSetting& f = gamePanel ? app_.settings().GameFont : app_.settings().DatabaseFont;
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, QFont(QString::fromStdString(f.Name), f.Size), this, LangQ(23));
  if (!ok) return;
  f.Name = chosen.family().toStdString();
  f.Size = chosen.pointSize() > 0 ? chosen.pointSize() : f.Size;
  ApplyDisplaySettings();
}

void MainWindow::ReportEngineProblems(const std::vector<std::string>& problems) {
  QStringList shown;
  for (const std::string& p : problems) {
    app_.log().Write(p);
    shown << ProgramTextQ(p);
  }
  if (!shown.isEmpty()) {
    statusBar()->showMessage(shown.join(QStringLiteral("; ")), 30000);
    for (const QString& line : shown) ShowInfo(line);
  }
}

void MainWindow::OnEngineSettings() {
  EngineSettingsDialog dialog(app_.programFolder(), MaxHashMegabytes(GetMemoryTotalPhys()), this);
  dialog.SetValues(EngineSettingsFrom(app_.settings()), CurrentGameType);
  if (dialog.exec() != QDialog::Accepted) return;
  const TEngineSettingsOutcome outcome = ApplyEngineSettings(*controller_, dialog.Values());
  ReportEngineProblems(outcome.problems);
  if (outcome.hashFailed) QMessageBox::warning(this, windowTitle(), LangQ(138));
  RenderStopButton();
  RenderSearchInfo(true);
}

void MainWindow::OnInterface() {
  InterfaceDialog dialog(app_.settings(), app_.programFolder(), this);
  dialog.onChange = [this] { ApplyDisplaySettings(); };
  dialog.onLanguage = [this](const std::string& name) { SetLanguage(name); };
  dialog.exec();
  ApplyDisplaySettings();
}

void MainWindow::OnHelp() {
  const std::filesystem::path document = HelpDocumentPath(app_.programFolder(), app_.settings().LanguageName);
  const QString path = QString::fromStdString(document.string());
  if (openDocument) {
    openDocument(path);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
    statusBar()->showMessage(LangQ(40) + QStringLiteral(": ") + path, 10000);
}

void MainWindow::OnShowLog() {
  LogDialog dialog(app_.LogPath(), this);
  dialog.exec();
}

void MainWindow::OnAbout() {
  AboutDialog dialog(app_.programFolder(), this);
  dialog.exec();
}

void MainWindow::ShowWelcome() {
  // A first start: the user chooses the language and the look, then meets
  // the program.
  auto* interface = new InterfaceDialog(app_.settings(), app_.programFolder(), this);
  interface->setAttribute(Qt::WA_DeleteOnClose);
  interface->onChange = [this] { ApplyDisplaySettings(); };
  interface->onLanguage = [this](const std::string& name) { SetLanguage(name); };
  connect(interface, &QDialog::finished, this, [this] {
    ApplyDisplaySettings();
    auto* about = new AboutDialog(app_.programFolder(), this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
  });
  interface->open();
}

}  // namespace kestrel
