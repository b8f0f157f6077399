#include "app/ui/database_edit_commands.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QToolBar>

#include <algorithm>

#include "app/play/play_controller.h"
#include "app/play/refresh_requests.h"
#include "app/settings/settings.h"
#include "app/ui/database_command.h"
#include "app/ui/database_maintenance_menu.h"
#include "app/ui/database_window.h"
#include "app/ui/game_info_dialog.h"
#include "app/ui/header_edit_dialogs.h"
#include "app/ui/main_window_database.h"
#include "app/ui/maintenance_dialogs.h"
#include "app/ui/menu_command.h"
#include "app/ui/progress_dialog.h"
#include "app/ui/ui_language.h"
#include "database/game_io.h"
#include "database/maintenance/game_append.h"
#include "database/maintenance/game_transfer.h"
#include "database/name_repair.h"

namespace kestrel {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// At most this many notes of a command are shown; the rest are counted.
constexpr std::size_t ShownNotes = 20;

QString WithNotes(QString text, const std::vector<std::string>& notes) {
  for (std::size_t i = 0; i < notes.size() && i < ShownNotes; ++i) text += QLatin1Char('\n') + ProgramTextQ(notes[i]);
  if (notes.size() > ShownNotes) text += QLatin1Char('\n') + LangQ(LtAndMore).arg(notes.size() - ShownNotes);
  return text;
}

}  // namespace

DatabaseEditCommands::DatabaseEditCommands(MainWindowDatabase& database, TPlayController& controller,
                                           const Settings& settings)
    : QObject(&database.Window()),
      database_(database),
      window_(database.Window()),
      controller_(controller),
      settings_(settings) {
  showMessage = [this](const QString& message) { QMessageBox::information(&window_, window_.windowTitle(), message); };
  askCopyTarget = [this] {
    return QFileDialog::getSaveFileName(&window_, LangQ(113), database_.DefaultFolder(),
                                        QStringLiteral("Kestrel Thornby Database (*.abd *.ABD)"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
  };
  askMergeFiles = [this] {
    return QFileDialog::getOpenFileNames(&window_, LangQ(170), database_.DefaultFolder(),
                                         QStringLiteral("All supported databases (*.abd *.ABD *.pdn *.PDN)"));
  };
  askMatch = [this](TMatchOptions& options) {
    MatchGamesDialog dialog(&window_);
    if (dialog.exec() != QDialog::Accepted) return false;
    options = dialog.Options();
    return true;
  };
  askHeaders = [this](THeaderFields& fields) {
    HeadersSetDialog dialog(settings_.ResType, &window_);
    const TKestrelDB& db = window_.Current().DB();
    dialog.SetNameLists(db.DBNames.Names(), db.DBTourn.Names(), db.DBSites.Names());
    if (dialog.exec() != QDialog::Accepted) return false;
    fields = dialog.Fields();
    return true;
  };
  askHeader = [this](TQuickGameHeader& header) {
    GameInfoDialog dialog(&window_);
    BindLangTitle(&dialog, 112);  // "Edit header"
    dialog.SetHeader(header, header.Header.TypeOfGame, settings_.PoolWhiteBottom, settings_.ResType);
    const TKestrelDB& db = window_.Current().DB();
    dialog.SetNameLists(db.DBNames.Names(), db.DBTourn.Names(), db.DBSites.Names());
    if (dialog.exec() != QDialog::Accepted) return false;
    header = dialog.Header();
    return true;
  };

  const auto command = [this](QMenu* menu, int text, const QString& suffix, const QKeySequence& key,
                              QString (DatabaseEditCommands::*f)(), bool writes) {
    QAction* a = AddCommand(menu, QString(), key, this, [this, f, writes] { Run([this, f] { return (this->*f)(); }, writes); });
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    BindLang(a, text, {}, suffix);
    return a;
  };
  const QString more = QStringLiteral("...");
  QMenu* databaseMenu = window_.Menu(DatabaseWindow::MenuId::database);
  merge_ = command(databaseMenu, 170, more, {}, &DatabaseEditCommands::Merge, true);  // "Merge databases"

  QMenu* games = window_.Menu(DatabaseWindow::MenuId::games);
  games->addSeparator();
  copy_ = command(games, 113, more, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &DatabaseEditCommands::Copy, false);
  BindLangTip(copy_, LtCopyGamesTip);
  append_ = command(games, 202, {}, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), &DatabaseEditCommands::Append, false);
  BindLangTip(append_, LtAppendTip);
  games->addSeparator();
  editHeader_ = command(games, 112, more, QKeySequence(Qt::CTRL | Qt::Key_E), &DatabaseEditCommands::EditHeader, true);
  BindLangTip(editHeader_, LtEditHeaderTip);
  QMenu* headers = games->addMenu(QString());
  BindLang(headers, 156);  // "Headers"
  headersSet_ = command(headers, 157, more, QKeySequence(Qt::CTRL | Qt::Key_H), &DatabaseEditCommands::SetHeaders, true);

  // Beside the other commands that look after the whole database.
  if (auto* maintenance = window_.findChild<DatabaseMaintenanceMenu*>()) {
    QMenu* menu = maintenance->menu();
    repair_ = command(menu, 245, {}, {}, &DatabaseEditCommands::Repair, true);  // "Repair Database headers"
    menu->insertAction(maintenance->backupAction(), repair_);
    menu->addSeparator();
    match_ = command(menu, 155, more, QKeySequence(Qt::CTRL | Qt::Key_M), &DatabaseEditCommands::Match, true);
  } else {
    repair_ = command(databaseMenu, 245, {}, {}, &DatabaseEditCommands::Repair, true);
    match_ = command(databaseMenu, 155, more, QKeySequence(Qt::CTRL | Qt::Key_M), &DatabaseEditCommands::Match, true);
  }
  window_.ToolBar()->addAction(copy_);
  window_.ToolBar()->addAction(editHeader_);
}

void DatabaseEditCommands::Run(const std::function<QString()>& command, bool writes) {
  RunDatabaseCommand(window_, showMessage, command, writes);
}

QString DatabaseEditCommands::Repair() {
  const TNameRepairReport r = RepairNameLists(window_.Current().DB());
  window_.Reload(false);
  QStringList lines;
  if (r.playersAdded > 0) lines << LangQ(LtPlayersAdded).arg(r.playersAdded);
  if (r.tournamentsAdded > 0) lines << LangQ(LtTournamentsAdded).arg(r.tournamentsAdded);
  if (r.sitesAdded > 0) lines << LangQ(LtSitesAdded).arg(r.sitesAdded);
  if (r.implausible > 0)
    lines << LangQ(LtImplausibleIndexes).arg(r.implausible);
  for (const std::string& m : r.messages) lines << Q(m);
  return lines.join(QLatin1Char('\n'));
}

QString DatabaseEditCommands::Copy() {
  TCurrentDatabase& db = window_.Current();
  const std::vector<int32_t> games = GamesToCopy(db.DB(), db.List());
  if (games.empty()) return LangQ(LtNoGameToCopy);
  const QString path = askCopyTarget();
  if (path.isEmpty()) return {};
  database_.RememberFolder(path);
  ProgressDialog progress(&window_);
  const TTransferReport r = CopyGames(db.DB(), games, path.toStdString(), progress);
  QString text = LangQ(LtGamesCopied).arg(r.copied).arg(path);
  if (r.unreadable > 0) text += QLatin1Char(' ') + LangQ(LtUnreadableStoredEmpty).arg(r.unreadable);
  return WithNotes(text, r.notes);
}

QString DatabaseEditCommands::Merge() {
  const QStringList files = askMergeFiles();
  if (files.isEmpty()) return {};
  database_.RememberFolder(files.front());
  std::vector<std::string> paths;
  for (const QString& f : files) paths.push_back(f.toStdString());
  TCurrentDatabase& db = window_.Current();
  ProgressDialog progress(&window_);
  const TTransferReport r = MergeIntoDatabase(db.DB(), paths, progress);
  // Games were only added: the open games keep their numbers.
  db.ResetList();
  window_.Reload(true);
  return WithNotes(LangQ(LtGamesMerged).arg(r.copied).arg(db.DB().DBSize), r.notes);
}

QString DatabaseEditCommands::Match() {
  TMatchOptions options;
  if (!askMatch(options)) return {};
  TCurrentDatabase& db = window_.Current();
  ProgressDialog progress(&window_);
  const TMatchResult r = MatchGames(db.DB(), options, db.MutableList(), true, progress);
  if (r.cancelled) return {};
  if (r.entries.empty()) {
    // An empty list would only hide the games: the whole database stays.
    db.ResetList();
    window_.Reload(true);
    return LangQ(LtNoDuplicates);
  }
  db.SetCursor(1);
  window_.Reload(true);
  return LangQ(LtDuplicateGroups)
      .arg(r.groups)
      .arg(r.duplicates);
}

QString DatabaseEditCommands::EditHeader() {
  TCurrentDatabase& db = window_.Current();
  const int32_t pos = db.Cursor();
  if (pos < 1) return LangQ(LtNoGameSelected);
  const int32_t n = db.GameAt(pos);
  TQuickGameHeader q;
  if (!ReadQuickHeader(db.DB(), n, q)) return LangQ(LtGameUnreadable).arg(n);
  if (!askHeader(q)) return {};
  WriteQuickHeader(db.DB(), n, q);
  TakeStoredHeaders({n});
  window_.RowChanged(pos);
  return {};
}

QString DatabaseEditCommands::SetHeaders() {
  TCurrentDatabase& db = window_.Current();
  std::vector<TListEntry> entries;
  std::vector<int32_t> numbers;
  for (int32_t pos = 1; pos <= db.Count(); ++pos)
    if (db.List()[pos].selected) {
      entries.push_back({pos, db.List()[pos].num});
      numbers.push_back(db.List()[pos].num);
    }
  if (entries.empty()) return LangQ(LtNoGameSelected);
  THeaderFields fields;
  if (!askHeaders(fields)) return {};
  const int32_t written = kestrel::SetHeaders(db.DB(), entries, fields);
  TakeStoredHeaders(numbers);
  window_.Reload(false);
  return LangQ(LtHeadersWritten).arg(written);
}

QString DatabaseEditCommands::Append() {
  TCurrentDatabase& db = window_.Current();
  const std::vector<TDBListRec> entries = EntriesToAppend(db.DB(), db.List());
  if (entries.empty()) return LangQ(LtNoGameSelected);
  if (entries.size() > static_cast<std::size_t>(MaxGamesLoadedAsOneTree))
    return LangQ(LtTooManyGames) + QString::number(entries.size());
  controller_.StopAndWait();
  TAppendReport r;
  controller_.ChangeGame([&](TGame& game) { r = AppendEntries(db.DB(), entries, game, settings_.ResType); });
  controller_.Refresh().Request(rqBoard | rqBuildTree | rqShowTree | rqSaveButton);
  // The game with its new variations is what the user wants to see now.
  if (r.added > 0) window_.accept();
  if (r.messages.empty()) return {};
  QString text = LangQ(LtCannotAdd);
  if (entries.size() > 1) text += QLatin1Char(' ') + LangQ(LtGamesOfTotal).arg(r.messages.size()).arg(entries.size());
  return text;
}

void DatabaseEditCommands::TakeStoredHeaders(const std::vector<int32_t>& numbers) {
  const TCurrentDatabase& db = window_.Current();
  controller_.ChangeEveryGame([&](TGame& game) {
    if (!db.IsFromHere(game) || std::find(numbers.begin(), numbers.end(), game.DBGameNo) == numbers.end()) return;
    TQuickGameHeader q;
    if (!ReadQuickHeader(db.DB(), game.DBGameNo, q)) return;
    game.WhiteName = q.WhiteName;
    game.BlackName = q.BlackName;
    game.AnnotatorName = q.AnnotatorName;
    game.Tournament = q.Tournament;
    game.Site = q.Site;
    TGameHeader& h = game.Header;
    h.White = q.Header.White;
    h.Black = q.Header.Black;
    h.Round = q.Header.Round;
    h.Subround = q.Header.Subround;
    h.Result = q.Header.Result;
    h.Date = q.Header.Date;
  });
  controller_.Refresh().Request(rqHeader | rqWindowMenu);
}

}  // namespace kestrel
