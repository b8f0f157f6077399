#include "app/ui/name_tools_menu.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

#include <filesystem>

#include "app/play/play_controller.h"
#include "app/play/refresh_requests.h"
#include "app/ui/build_tree_dialog.h"
#include "app/ui/database_command.h"
#include "app/ui/database_window.h"
#include "app/ui/progress_dialog.h"
#include "app/ui/tournament_list_window.h"
#include "app/ui/ui_language.h"
#include "database/file_replace.h"
#include "database/maintenance/name_tools.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {

NameToolsMenu::NameToolsMenu(DatabaseWindow& window, TPlayController& controller)
    : QObject(&window), window_(window), controller_(controller) {
  confirm = [this](const QString& question) {
    return QMessageBox::question(&window_, window_.windowTitle(), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };
  showMessage = [this](const QString& message) { QMessageBox::information(&window_, window_.windowTitle(), message); };
  askSaveFile = [this](const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(&window_, title, QString(), filter);
  };
  askBuildTree = [this](QString& book, TBookBuildOptions& options) {
    BuildTreeDialog dialog(book, &window_);
    if (dialog.exec() != QDialog::Accepted) return false;
    book = dialog.Book();
    options = dialog.Options();
    return !book.isEmpty();
  };

  menu_ = window_.AddMenu(QString());
  BindLang(menu_, 115);  // "Tools"
  const auto add = [this](QMenu* menu, int text, const QKeySequence& key, std::function<QString()> command,
                          bool writes) {
    QAction* a = menu->addAction(QString());
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, [this, command = std::move(command), writes] { Run(command, writes); });
    if (text > 0) BindLang(a, text);
    return a;
  };
  buildTree_ = add(menu_, 0, QKeySequence(Qt::CTRL | Qt::Key_B), [this] { return BuildTree(); }, false);
  BindLang(buildTree_, 118, {}, QStringLiteral("..."));  // "Build tree"
  tournaments_ = add(menu_, 119, QKeySequence(Qt::CTRL | Qt::Key_L), [this] { return ShowTournaments(); }, false);
  QMenu* names = menu_->addMenu(QString());
  BindLang(names, 120);  // "Names"
  saveNames_ = add(names, 0, {}, [this] { return SaveNamesSorted(); }, false);
  BindLang(saveNames_, 336, {}, QStringLiteral("..."));  // "Save names sorted"
  correctNames_ = add(names, 337, {}, [this] {
    return ChangeNames([this] { return CorrectPlayerNames(window_.Current().DB()); }, QStringLiteral("OK!"));
  }, true);
  gambler_ = add(names, 338, {}, [this] {
    return ChangeNames([this] { return GamblerRenameTournaments(window_.Current().DB()); }, LangQ(340));
  }, true);
  BindLangTip(gambler_, 339);
  transliterate_ = add(names, 0, {}, [this]() -> QString {
    if (!confirm(LangQ(LtTransliterateWarning) + QLatin1Char('\n') + LangQ(LtCannotBeUndoneContinue))) return {};
    return ChangeNames([this] { return TransliterateNames(window_.Current().DB()); }, LangQ(341));
  }, true);
  BindLang(transliterate_, 281, {}, QStringLiteral("..."));  // "Transliterate names"
}

void NameToolsMenu::Run(const std::function<QString()>& command, bool writes) {
  RunDatabaseCommand(window_, showMessage, command, writes);
}

QString NameToolsMenu::BuildTree() {
  // The engine's book of the variant in play is the usual target.
  const int type = IsValidGameType(CurrentGameType) ? CurrentGameType : gtRussian;
  QString book = QString::fromStdString(controller_.VariantParams(type).Book);
  TBookBuildOptions options;
  if (!askBuildTree(book, options)) return {};
  const std::filesystem::path path = book.toStdString();
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  TCurrentDatabase& db = window_.Current();
  TBookBuildReport report;
  {
    // The window is titled like the command, in the language in use.
    struct TTitled : TProgress {
      ProgressDialog& dialog;
      explicit TTitled(ProgressDialog& d) : dialog(d) {}
      void Open(std::string_view caption, std::string_view text, int64_t maximum) override {
        dialog.Open(caption, text, maximum);
        dialog.setWindowTitle(LangQ(118));  // "Build tree"
      }
      bool Step(int64_t done) override { return dialog.Step(done); }
      void Close() override { dialog.Close(); }
    };
    ProgressDialog dialog(&window_);
    TTitled progress(dialog);
    report = BuildBookFromDatabase(db.DB(), db.List(), path.string(), options, progress, &controller_.Book());
  }
  // Whichever file was built, the engine opens its own book again, so that
  // a book that did not exist before is found now, and the grid shows it.
  if (IsValidGameType(CurrentGameType)) controller_.Book().BookIni(controller_.VariantParams(CurrentGameType).Book);
  controller_.Refresh().Request(rqBook);
  if (report.cancelled) return LangQ(347);
  QString text = LangQ(348)
                     .arg(report.positions)
                     .arg(report.games)
                     .arg(book)
                     .arg(report.records);
  if (report.unreadable > 0) text += QLatin1Char(' ') + LangQ(349).arg(report.unreadable);
  return text;
}

QString NameToolsMenu::ShowTournaments() {
  if (!tournamentWindow_) tournamentWindow_ = new TournamentListWindow(&window_);
  tournamentWindow_->SetRows(TournamentSummary(window_.Current().DB(), window_.Current().List()));
  tournamentWindow_->show();
  tournamentWindow_->raise();
  return {};
}

QString NameToolsMenu::SaveNamesSorted() {
  const QString path = askSaveFile(LangQ(345), LangQ(LtTextFileFilter));
  if (path.isEmpty()) return {};
  const std::string file = TextFileName(path.toStdString());
  ReplaceFileContents(file, SortedNamesText(window_.Current().DB()));
  return LangQ(346).arg(QString::fromStdString(file));
}

QString NameToolsMenu::ChangeNames(const std::function<int32_t()>& tool, const QString& done) {
  const int32_t changed = tool();
  window_.Reload(false);
  return done.contains(QLatin1String("%1")) ? done.arg(changed) : done;
}

}  // namespace kestrel
