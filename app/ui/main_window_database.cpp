#include "app/ui/main_window_database.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/database/database_imports.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/database_edit_commands.h"
#include "app/ui/database_maintenance_menu.h"
#include "app/ui/database_window.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_command.h"
#include "app/ui/name_tools_menu.h"
#include "app/ui/ui_language.h"
#include "formats/fen.h"
#include "formats/import_from_text.h"
#include "formats/pdn_tags.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

// Messages of the database core, in the language in use where it has them.
QString Q(std::string_view text) { return CoreTextQ(text); }

const QString DatabaseFilter = QStringLiteral("Kestrel Thornby Database (*.abd *.ABD)");

}  // namespace

MainWindowDatabase::MainWindowDatabase(MainWindow& window, KestrelApp& app)
    : QObject(&window), main_(window), app_(app) {
  chooseDatabaseFile = [this](const QString& title, bool mayCreate) {
    return mayCreate ? QFileDialog::getSaveFileName(&main_, title, DefaultFolder(), DatabaseFilter, nullptr,
                                                    QFileDialog::DontConfirmOverwrite)
                     : QFileDialog::getOpenFileName(&main_, title, DefaultFolder(), DatabaseFilter);
  };
  chooseImportFile = [this](const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(&main_, title, DefaultFolder(), filter);
  };
  confirm = [this](const QString& question) {
    return QMessageBox::question(&main_, main_.windowTitle(), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };
  showMessage = [this](const QString& message) { QMessageBox::information(&main_, main_.windowTitle(), message); };

  window_ = new DatabaseWindow(current_, &main_);
  new DatabaseMaintenanceMenu(*window_, main_.controller());  // owned by the window
  new NameToolsMenu(*window_, main_.controller());            // owned by the window
  connect(window_, &DatabaseWindow::loadRequested, this, [this](int pos) {
    if (LoadListGame(pos)) window_->accept();
  });
  // The database's status text stays in its own field of the status bar, so
  // that passing messages do not wipe it and it does not wipe them.
  statusText_ = new QLabel(&main_);
  statusText_->setProperty("kestrelContent", true);
  main_.statusBar()->addPermanentWidget(statusText_);
  connect(window_, &DatabaseWindow::statusChanged, statusText_, &QLabel::setText);
  CreateActions();
  new DatabaseEditCommands(*this, main_.controller(), app_.settings());  // owned by the window
}

MainWindowDatabase::~MainWindowDatabase() = default;

void MainWindowDatabase::CreateActions() {
  const auto add = [this](int text, const QKeySequence& key, auto slot) {
    QAction* a = new QAction(&main_);
    BindLang(a, text);
    a->setShortcut(key);
    main_.addAction(a);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  save_ = add(110, QKeySequence(Qt::CTRL | Qt::Key_S), [this] { SaveCurrentGame(); });
  saveAsNew_ = add(13, {}, [this] { SaveGameAsNew(); });
  delete_ = add(111, QKeySequence(Qt::SHIFT | Qt::Key_Delete), [this] { ToggleDeletedOfGame(); });
  select_ = add(301, QKeySequence(Qt::SHIFT | Qt::Key_Insert), [this] { ToggleSelectedOfGame(); });
  loadPrevious_ = add(15, QKeySequence(Qt::Key_F3), [this] { LoadNeighbour(-1); });
  loadNext_ = add(16, QKeySequence(Qt::Key_F4), [this] { LoadNeighbour(1); });
  goToDatabase_ = add(38, QKeySequence(Qt::Key_F2), [this] { GoToDatabase(); });
  quickSearch_ = add(39, QKeySequence(Qt::Key_F5), [this] { QuickSearch(); });
  search_ = add(49, {}, [this] {
    if (!RequireOpen()) return;
    window_->NewSearch();
    GoToDatabase();
  });
  QAction* ballot2 = add(211, {}, [this] { NewBallot(TBallotKind::twoMove); });
  QAction* ballotFull = add(212, {}, [this] { NewBallot(TBallotKind::full); });
  QAction* fromText = add(208, {}, [this] {
    QDialog dialog(&main_);
    BindLangTitle(&dialog, 208);
    auto* edit = new QPlainTextEdit(&dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    BindLang(buttons->addButton(QString(), QDialogButtonBox::AcceptRole), 209);
    BindButtonBox(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    if (dialog.exec() == QDialog::Accepted) ImportFromText(edit->toPlainText());
  });

  // After the "Game" menu: saving and loading games belong beside it.
  menu_ = new QMenu(&main_);
  BindLang(menu_, 37);
  const QList<QAction*> menus = main_.menuBar()->actions();
  main_.menuBar()->insertMenu(menus.size() > 1 ? menus[1] : nullptr, menu_);
  for (QAction* a : {save_, saveAsNew_, delete_, select_}) menu_->addAction(a);
  menu_->addSeparator();
  menu_->addAction(loadPrevious_);
  menu_->addAction(loadNext_);
  menu_->addAction(goToDatabase_);
  menu_->addAction(quickSearch_);
  menu_->addAction(search_);
  menu_->addSeparator();
  QMenu* ballot = menu_->addMenu(QString());
  BindLang(ballot, 213);
  ballot->addAction(ballot2);
  ballot->addAction(ballotFull);
  menu_->addAction(fromText);
  // The "Save" command is enabled while the game is modified, checked
  // whenever the menu opens.
  connect(menu_, &QMenu::aboutToShow, this, [this] { UpdateSaveActions(); });

  QToolBar* bar = main_.toolBar();
  bar->addSeparator();
  for (QAction* a : {save_, saveAsNew_, loadPrevious_, loadNext_, goToDatabase_, quickSearch_, search_})
    bar->addAction(a);
  QAction* ballotButton = bar->addAction(QString());
  BindLang(ballotButton, 213);
  connect(ballotButton, &QAction::triggered, this, [this] { NewBallot(TBallotKind::full); });

  // The database window's own commands that need the main board's game.
  QMenu* dbMenu = window_->Menu(DatabaseWindow::MenuId::database);
  QAction* open = AddCommand(dbMenu, LangQ(102), QKeySequence(Qt::CTRL | Qt::Key_O), this, [this] {
    const QString path = chooseDatabaseFile(LangQ(102), true);
    if (!path.isEmpty()) OpenDatabaseFile(path);
  });
  QAction* close = AddCommand(dbMenu, LangQ(280), {}, this, [this] { CloseDatabase(); });
  dbMenu->addSeparator();
  QAction* importPdn = AddCommand(dbMenu, QString(), {}, this, [this] {
    const QString path =
        chooseImportFile(LangQ(LtImportPdn), QStringLiteral("Portable Draughts Notation Database (*.pdn *.PDN)"));
    if (!path.isEmpty()) ImportPdn(path);
  });
  QAction* importTxt = AddCommand(dbMenu, QString(), {}, this, [this] {
    const QString path = chooseImportFile(LangQ(LtImportTxt), QStringLiteral("*.*"));
    if (!path.isEmpty()) ImportText(path);
  });
  dbMenu->addAction(fromText);
  QMenu* games = window_->Menu(DatabaseWindow::MenuId::games);
  games->addSeparator();
  games->addAction(saveAsNew_);
  QAction* replace = AddCommand(games, QString(), {}, this, [this] { ReplaceGame(); });
  BindLang(open, 102, {}, QStringLiteral("..."));
  BindLang(close, 280);
  BindLang(importPdn, 103, {}, QStringLiteral(" PDN..."));
  BindLang(importTxt, 103, {}, QStringLiteral(" TXT..."));
  BindLang(replace, 101);
  for (QAction* a : {open, close, importPdn, importTxt, replace}) a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  window_->ToolBar()->addAction(open);
  window_->ToolBar()->addAction(saveAsNew_);
  window_->ToolBar()->addAction(replace);

  connect(main_.setupFenButton(), &QPushButton::clicked, this, [this] { PasteFen(); });
}

QString MainWindowDatabase::DefaultFolder() const {
  const QString remembered = QString::fromStdString(app_.settings().DefEbDir);
  if (!remembered.isEmpty() && QDir(remembered).exists()) return remembered;
  const std::filesystem::path base = app_.dataFolder().empty() ? app_.programFolder() : app_.dataFolder();
  return QString::fromStdString((base / "Bases").string());
}

void MainWindowDatabase::RememberFolder(const QString& file) {
  app_.settings().DefEbDir = QFileInfo(file).absolutePath().toStdString();
}

void MainWindowDatabase::Start() {
  current_.OpenAtStartup(app_.settings().Database);
  AfterDatabaseChange();
}

void MainWindowDatabase::Close() {
  app_.settings().Database = current_.IsOpen() ? current_.DB().DBNameIdx : std::string();
  const TDbOutcome r = current_.Close();
  if (!r.ok) showMessage(Q(r.message));
}

void MainWindowDatabase::AfterDatabaseChange() {
  window_->SetResultStyle(app_.settings().ResType);
  window_->SetNotation(app_.settings().Notation, TakeChar);
  window_->Reload(true);
  statusText_->setText(window_->StatusText());
}

void MainWindowDatabase::DisplaySettingsChanged(bool codePageChanged) {
  if (codePageChanged && current_.IsOpen()) {
    TKestrelDB& db = current_.DB();
    // Appended again in their order, the names keep their indexes and are
    // looked up with the letter case of the new code page.
    for (TNameList* list : {&db.DBNames, &db.DBTourn, &db.DBSites}) {
      TNameList again;
      for (const std::string& name : list->Names()) again.Append(name);
      *list = std::move(again);
    }
  }
  window_->SetResultStyle(app_.settings().ResType);
  window_->SetNotation(app_.settings().Notation, TakeChar);
  window_->Reload(false);
}

void MainWindowDatabase::UpdateSaveActions() {
  const bool modified = main_.controller().ReadGame([](const TGame& g) { return g.Modified; });
  save_->setEnabled(modified);
}

bool MainWindowDatabase::RequireOpen() {
  if (current_.IsOpen()) return true;
  showMessage(Q(DatabaseNotOpenedText));
  return false;
}

bool MainWindowDatabase::OpenDatabaseFile(const QString& path) {
  RememberFolder(path);
  TOpenResult r = current_.Open(path.toStdString(), [this](std::string_view q) { return confirm(Q(q)); });
  if (r.status == TOpenStatus::inUse && confirm(LangQ(LtDatabaseInUse) + QStringLiteral(".\n") + LangQ(LtOpenReadOnlyQuestion)))
    r = current_.OpenReadOnly(path.toStdString());
  AfterDatabaseChange();
  if (!r.ok() && r.status != TOpenStatus::cancelled && !r.message.empty()) showMessage(Q(r.message));
  return r.ok();
}

void MainWindowDatabase::CloseDatabase() {
  if (!RequireOpen()) return;
  const TDbOutcome r = current_.Close();
  AfterDatabaseChange();
  if (!r.ok) showMessage(Q(r.message));
}

bool MainWindowDatabase::SaveCurrentGame() {
  if (!current_.IsOpen()) {
    // Yes to "Save?" with no database: the user picks or creates one, or
    // gives up and nothing is dropped.
    const QString path = chooseDatabaseFile(LangQ(295), true);
    if (path.isEmpty() || !OpenDatabaseFile(path)) return false;
  }
  TDbOutcome r;
  main_.controller().ChangeGame([&](TGame& game) { r = current_.Save(game); });
  window_->Reload(false);
  main_.controller().Refresh().Request(rqHeader | rqSaveButton | rqStatusBar);
  if (!r.ok) showMessage(LangQ(LtGameNotSavedBecause) + Q(r.message));
  return r.ok;
}

bool MainWindowDatabase::SaveGameAsNew() {
  if (!RequireOpen() || !main_.EditGameInformation()) return false;
  TDbOutcome r;
  main_.controller().ChangeGame([&](TGame& game) { r = current_.SaveAsNew(game); });
  window_->Reload(false);
  current_.SetCursor(current_.Count());
  window_->ShowCursor();
  main_.controller().Refresh().Request(rqHeader | rqSaveButton | rqStatusBar);
  if (!r.ok) showMessage(LangQ(LtGameNotSavedBecause) + Q(r.message));
  return r.ok;
}

bool MainWindowDatabase::ReplaceGame() {
  if (!RequireOpen() || current_.Cursor() < 1) return false;
  const int32_t number = current_.GameAt(current_.Cursor());
  if (!confirm(LangQ(144) + QString::number(number) + LangQ(145))) return false;
  TDbOutcome r;
  main_.controller().ChangeGame([&](TGame& game) { r = current_.Replace(number, game); });
  window_->Reload(false);
  if (!r.ok) showMessage(LangQ(LtGameNotSavedBecause) + Q(r.message));
  return r.ok;
}

void MainWindowDatabase::ToggleDeletedOfGame() {
  TDbOutcome r;
  main_.controller().ChangeGame([&](TGame& game) { r = current_.ToggleDeletedOfLoaded(game); });
  if (!r.ok) return showMessage(Q(r.message));
  window_->Reload(false);
  main_.controller().Refresh().Request(rqHeader);
}

void MainWindowDatabase::ToggleSelectedOfGame() {
  TDbOutcome r;
  main_.controller().ChangeGame([&](TGame& game) { r = current_.ToggleSelectedOfLoaded(game); });
  if (!r.ok) return showMessage(Q(r.message));
  window_->Reload(false);
  main_.controller().Refresh().Request(rqHeader);
}

bool MainWindowDatabase::LoadListGame(int32_t pos) {
  if (!RequireOpen() || !current_.List().Contains(pos)) return false;
  if (app_.settings().SaveGameChanges && !main_.controller().OfferToSave(true)) return false;
  current_.SetCursor(pos);
  TGame game;
  int32_t view = 0;
  std::string message;
  if (!current_.ReadGameAt(pos, game, view, &message)) {
    showMessage(LangQ(LtGameUnreadableBecause).arg(current_.GameAt(pos)) + Q(message));
    return false;
  }
  if (!message.empty()) showMessage(Q(message));
  main_.controller().LoadGame(std::move(game), view);
  save_->setEnabled(false);
  window_->ShowCursor();
  return true;
}

void MainWindowDatabase::LoadNeighbour(int direction) {
  if (!RequireOpen() || current_.Count() == 0) return;
  const int32_t old = current_.Cursor();
  const int32_t pos = current_.StepCursor(direction);
  // A declined question leaves the cursor where it was.
  if (!LoadListGame(pos)) current_.SetCursor(old);
}

void MainWindowDatabase::QuickSearch() {
  if (!RequireOpen()) return;
  const auto [board, side] = main_.controller().ReadGame([](const TGame& g) { return std::pair(g.CurBoard.b, g.SideToMove); });
  window_->QuickSearch(board, side, GameTypes[CurrentGameType].SquareCount);
  GoToDatabase();
}

void MainWindowDatabase::GoToDatabase() {
  window_->Reload(false);
  main_.hide();
  window_->exec();
  main_.show();
}

void MainWindowDatabase::Import(const QString& path, bool text) {
  RememberFolder(path);
  QProgressDialog progress(LangQ(LtImporting), LangQ(84), 0, 1000, &main_);
  progress.setWindowTitle(LangQ(LtImportDatabase));
  progress.setMinimumDuration(300);
  const TImportProgress step = [&progress](int64_t done, int64_t total) {
    progress.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
    QApplication::processEvents();
    return !progress.wasCanceled();
  };
  const TImportReport report = text ? ImportTextAsCurrent(current_, path.toStdString(), CurrentGameType, step)
                                    : ImportPdnAsCurrent(current_, path.toStdString(), CurrentGameType, step);
  progress.reset();
  AfterDatabaseChange();
  showMessage(Q(report.Summary()));
}

void MainWindowDatabase::ImportPdn(const QString& path) { Import(path, false); }

void MainWindowDatabase::ImportText(const QString& path) { Import(path, true); }

void MainWindowDatabase::NewBallot(TBallotKind kind) {
  main_.controller().NewGame();
  if (main_.controller().ReadGame([](const TGame& g) { return g.Modified; })) return;  // the user kept the old game
  const std::filesystem::path folder = app_.programFolder() / "Ballots";
  TGame ballot;
  std::string message;
  if (!DrawBallot(folder.string() + "/", CurrentGameType, kind, rng_, ballot, &message)) {
    if (!message.empty()) showMessage(Q(message));
    return;
  }
  // The new game's names, tournament and date; the rest from the ballot.
  main_.controller().ReadGame([&ballot](const TGame& g) {
    ballot.WhiteName = g.WhiteName;
    ballot.BlackName = g.BlackName;
    ballot.Tournament = g.Tournament;
    ballot.Header.Date = g.Header.Date;
  });
  ballot.Modified = false;
  const int view = ballot.CurMovPos;
  main_.controller().LoadGame(std::move(ballot), view);
}

void MainWindowDatabase::PasteFen() {
  const std::string text = QApplication::clipboard()->text().trimmed().toStdString();
  // Only a tag line [FEN "..."] or [Posizione "..."] is taken.
  if (text.empty() || text.front() != '[') return;
  const auto tag = SplitTagLine(text);
  if (!tag || (tag->key != "fen" && tag->key != "posizione")) return;
  const auto position = ReadFEN(tag->value, CurrentGameType);
  if (!position) return;
  main_.controller().SetupPosition(position->board);
  main_.SetSetupSide(position->firstMover);
}

void MainWindowDatabase::ImportFromText(const QString& text) {
  TGame game = main_.controller().ReadGame([](const TGame& g) { return g; });
  ImportMovesFromText(game, text.toStdString());
  const int view = game.CurMovPos;
  main_.controller().LoadGame(std::move(game), view);
}

}  // namespace kestrel
