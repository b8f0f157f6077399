#include "app/ui/database_window.h"

#include <QAction>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <exception>

#include "app/board/board_geometry.h"
#include "app/ui/database_search.h"
#include "app/ui/game_list_model.h"
#include "app/ui/menu_command.h"
#include "app/ui/search_dialog.h"
#include "app/ui/ui_language.h"
#include "database/game_io.h"
#include "database/maintenance/deleted_marks.h"
#include "engine/packed_board.h"
#include "rules/game_types.h"

namespace kestrel {

// "Initial position": the start position of the cursor's game, small.
class InitialPositionView : public QWidget {
 public:
  explicit InitialPositionView(QWidget* parent) : QWidget(parent, Qt::Tool) {
    BindLangTitle(this, 294);
    resize(220, 220);
  }
  void Show(const TBrd& board, int type) {
    board_ = board;
    type_ = IsValidGameType(type) ? type : gtRussian;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const BoardGeometry g = BoardGeometryOfType(type_);
    const BoardOrientation o = OrientationFor(type_, false, false);
    const double side = std::min(width(), height());
    const double scale = side / BoardImageSize;
    p.fillRect(QRectF(0, 0, side, side), QColor(0xF0, 0xF0, 0xE3));
    for (int s = 1; s <= g.squareCount; ++s) {
      const ImageRect r = PlaceSquare(s, g, o).playable;
      const QRectF cell(r.x * scale, r.y * scale, r.size * scale, r.size * scale);
      p.fillRect(cell, QColor(0x80, 0x80, 0x40));
      const int piece = board_[s];
      if (piece == Empty) continue;
      p.setBrush(piece > 0 ? Qt::white : Qt::black);
      p.setPen(piece > 0 ? Qt::black : Qt::white);
      p.drawEllipse(cell.adjusted(cell.width() * 0.12, cell.height() * 0.12, -cell.width() * 0.12,
                                  -cell.height() * 0.12));
      if (piece == WhiteKing || piece == BlackKing) p.drawText(cell, Qt::AlignCenter, QStringLiteral("K"));
    }
  }

 private:
  TBrd board_{};
  int type_ = gtRussian;
};

DatabaseWindow::DatabaseWindow(TCurrentDatabase& db, QWidget* parent) : QDialog(parent), db_(db) {
  BindLangTitle(this, 37);
  resize(900, 560);
  askNumber = [this](const QString& title, int low, int high, int& value) {
    bool ok = false;
    value = QInputDialog::getInt(this, windowTitle(), title, value, low, high, 1, &ok);
    return ok;
  };
  search_ = std::make_unique<TDatabaseSearch>();
  model_ = new GameListModel(db_, this);
  view_ = new QTableView(this);
  view_->setModel(model_);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setWordWrap(false);
  view_->setShowGrid(false);
  view_->verticalHeader()->hide();
  // Uniform rows: the view never measures rows it does not draw.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view_->horizontalHeader()->setStretchLastSection(false);
  const int widths[] = {60, 240, 330, 90, 50, 50, 45};
  for (int c = 0; c < GameListModel::columnCount_; ++c) view_->setColumnWidth(c, widths[c]);
  view_->installEventFilter(this);
  view_->viewport()->installEventFilter(this);
  connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit loadRequested(index.row() + 1);
  });

  menuBar_ = new QMenuBar(this);
  toolBar_ = new QToolBar(this);
  status_ = new QLabel(this);
  initial_ = new InitialPositionView(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setMenuBar(menuBar_);
  layout->addWidget(toolBar_);
  layout->addWidget(view_, 1);
  layout->addWidget(status_);
  CreateMenus();
  Reload();
}

DatabaseWindow::~DatabaseWindow() = default;

QMenu* DatabaseWindow::Menu(MenuId id) const {
  switch (id) {
    case MenuId::database: return databaseMenu_;
    case MenuId::games: return gamesMenu_;
    case MenuId::list: return listMenu_;
    case MenuId::search: return searchMenu_;
  }
  return nullptr;
}

QMenu* DatabaseWindow::AddMenu(const QString& title) { return menuBar_->addMenu(title); }

std::vector<int32_t> DatabaseWindow::SelectedRows() const {
  std::vector<int32_t> rows;
  for (int32_t pos = 1; pos <= db_.Count(); ++pos)
    if (db_.List()[pos].selected) rows.push_back(pos);
  return rows;
}

void DatabaseWindow::RowChanged(int32_t pos) {
  model_->RowChanged(pos);
  UpdateStatus();
}

void DatabaseWindow::CreateMenus() {
  databaseMenu_ = menuBar_->addMenu(QString());
  BindLang(databaseMenu_, 37);
  gamesMenu_ = menuBar_->addMenu(QString());
  BindLang(gamesMenu_, 1);
  listMenu_ = menuBar_->addMenu(QString());
  BindLang(listMenu_, 352, QStringLiteral("&"));  // "List"

  // The deleted mark: of the selected games when there are any, else of the
  // cursor's game. Removing games for good is the Maintenance menu's
  // "Delete selected games (physically)", on another key.
  QAction* del = AddCommand(gamesMenu_, QString(), QKeySequence(Qt::Key_Delete), this, [this] {
    if (RequireOpen()) DeleteMarks();
  });
  BindLangTip(del, LtDeleteGamesTip);
  del->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  QAction* load = AddCommand(gamesMenu_, QString(), QKeySequence(Qt::Key_Return), this, [this] {
    if (RequireOpen() && db_.Cursor() > 0) emit loadRequested(db_.Cursor());
  });
  load->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  BindLang(del, 111);
  BindLang(load, 109);
  toolBar_->addAction(del);

  QAction* select = AddCommand(listMenu_, QString(), QKeySequence(Qt::Key_Insert), this, [this] {
    if (!RequireOpen()) return;
    const int32_t pos = db_.Cursor();
    ToggleSelectedAt(pos);
    if (pos < db_.Count()) db_.SetCursor(pos + 1);
    ShowCursor();
  });
  select->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  BindLang(select, 301);
  QAction* all = AddCommand(listMenu_, QString(), QKeySequence(Qt::KeypadModifier | Qt::Key_Asterisk), this, [this] {
    if (!RequireOpen()) return;
    db_.SetAllSelected(true);
    Reload(false);
  });
  QAction* none = AddCommand(listMenu_, QString(), QKeySequence(Qt::KeypadModifier | Qt::Key_Slash), this, [this] {
    if (!RequireOpen()) return;
    db_.SetAllSelected(false);
    Reload(false);
  });
  BindLang(AddCommand(listMenu_, QString(), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), this,
                      [this] { SelectRange(true); }),
           353);  // "Select games from-to"
  BindLang(AddCommand(listMenu_, QString(), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus), this,
                      [this] { SelectRange(false); }),
           354);  // "Deselect games from-to"
  for (QAction* a : listMenu_->actions()) a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  BindLang(all, 152);
  BindLang(none, 153);
  listMenu_->addSeparator();
  movesList_ = listMenu_->addAction(QString());
  movesList_->setCheckable(true);
  BindLang(movesList_, 195);
  connect(movesList_, &QAction::toggled, this, [this](bool on) { model_->SetMovesList(on); });
  initialPosition_ = listMenu_->addAction(QString());
  initialPosition_->setCheckable(true);
  BindLang(initialPosition_, 294);
  connect(initialPosition_, &QAction::toggled, this, [this](bool on) {
    initial_->setVisible(on);
    OnCurrentChanged();
  });
  QAction* toGame =
      AddCommand(listMenu_, QString(), QKeySequence(Qt::CTRL | Qt::Key_G), this, [this] { ToGameNumber(); });
  BindLang(toGame, 217, {}, QStringLiteral("..."));
  toolBar_->addAction(movesList_);
  toolBar_->addAction(initialPosition_);

  searchMenu_ = menuBar_->addMenu(QString());
  BindLang(searchMenu_, 49);
  QAction* search = AddCommand(searchMenu_, QString(), QKeySequence(Qt::CTRL | Qt::Key_F), this, [this] { NewSearch(); });
  BindLang(search, 106, {}, QStringLiteral("..."));
  QAction* reset = AddCommand(searchMenu_, QString(), QKeySequence(Qt::CTRL | Qt::Key_R), this, [this] { ResetList(); });
  BindLang(reset, 107);
  toolBar_->addAction(search);
  toolBar_->addAction(reset);
}

bool DatabaseWindow::NewSearch() {
  if (!searchDialog_) searchDialog_ = new SearchDialog(this);  // made when first needed
  if (!kestrel::NewSearch(this, *searchDialog_, db_.DB(), db_.MutableList(), *search_)) return false;
  Reload(true);
  return true;
}

bool DatabaseWindow::QuickSearch(const TBrd& board, TDColor sideToMove, int squareCount) {
  if (!kestrel::QuickSearch(this, db_.DB(), db_.MutableList(), *search_, board, sideToMove, squareCount)) return false;
  Reload(true);
  return true;
}

void DatabaseWindow::ResetList() {
  if (!RequireOpen()) return;
  db_.ResetList();
  Reload(true);
}

bool DatabaseWindow::RequireOpen() {
  if (db_.IsOpen()) return true;
  status_->setText(QString::fromUtf8(DatabaseNotOpenedText.data(), DatabaseNotOpenedText.size()));
  return false;
}

void DatabaseWindow::SetResultStyle(int style) {
  model_->SetResultStyle(style);
  model_->Reload();
}

void DatabaseWindow::SetNotation(int mode, const std::string& takeChar) { model_->SetNotation(mode, takeChar); }

void DatabaseWindow::Reload(bool toTop) {
  const int32_t cursor = db_.Cursor();
  model_->Reload();
  if (!toTop) db_.SetCursor(cursor);
  // The selection model is replaced by a reset only in name: connect again.
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, &DatabaseWindow::OnCurrentChanged,
          Qt::UniqueConnection);
  ShowCursor();
  if (toTop) view_->scrollToTop();
  UpdateStatus();
}

void DatabaseWindow::ShowCursor() {
  const int32_t pos = db_.Cursor();
  if (pos < 1) return;
  const QModelIndex index = model_->index(pos - 1, 0);
  view_->setCurrentIndex(index);
  view_->scrollTo(index);
}

QString DatabaseWindow::StatusText() const { return QString::fromStdString(db_.Caption()); }

void DatabaseWindow::UpdateStatus() {
  status_->setText(StatusText());
  emit statusChanged(StatusText());
}

void DatabaseWindow::OnCurrentChanged() {
  const QModelIndex index = view_->currentIndex();
  if (index.isValid()) db_.SetCursor(index.row() + 1);
  if (!initial_->isVisible() || db_.Cursor() < 1) return;
  TGame game;
  int32_t view = 0;
  TBrd board{};
  if (db_.ReadGameAt(db_.Cursor(), game, view)) UnpackBoard(game.StartBoard, board);
  initial_->Show(board, game.Header.TypeOfGame);
}

void DatabaseWindow::ToggleSelectedAt(int32_t pos) {
  if (!db_.List().Contains(pos)) return;
  db_.ToggleSelected(pos);
  model_->RowChanged(pos);
  UpdateStatus();
}

void DatabaseWindow::DeleteMarks() {
  if (db_.List().SelectedCount() == 0) return ToggleDeletedAtCursor();
  if (db_.ReadOnly()) {
    status_->setText(LangQ(LtReadOnlyDatabase));
    return;
  }
  try {
    DeleteCommand(db_.DB(), db_.List());
  } catch (const std::exception& e) {
    status_->setText(QString::fromStdString(e.what()));
  }
  Reload(false);
}

void DatabaseWindow::ToggleDeletedAtCursor() {
  const int32_t pos = db_.Cursor();
  const TDbOutcome r = db_.ToggleDeleted(pos);
  if (!r.ok) {
    status_->setText(QString::fromStdString(r.message));
    return;
  }
  model_->RowChanged(pos);
  if (pos < db_.Count()) db_.SetCursor(pos + 1);
  ShowCursor();
}

void DatabaseWindow::SelectRange(bool select) {
  if (!RequireOpen()) return;
  int from = 1, to = db_.DB().DBSize;
  if (!askNumber(LangQ(LtFromGame), 1, db_.DB().DBSize, from)) return;
  if (!askNumber(LangQ(LtToGame), 1, db_.DB().DBSize, to)) return;
  db_.SelectNumberRange(from, to, select);
  Reload(false);
}

void DatabaseWindow::ToGameNumber() {
  if (!RequireOpen() || db_.Count() == 0) return;
  int pos = db_.Cursor();
  if (!askNumber(LangQ(217), 1, db_.Count(), pos)) return;
  db_.SetCursor(pos);
  ShowCursor();
}

QAction* DatabaseWindow::ActionForKey(const QKeySequence& key) const {
  // Submenus ("CleanUp database", "Headers") included.
  std::vector<QMenu*> menus;
  for (QAction* top : menuBar_->actions())
    if (top->menu()) menus.push_back(top->menu());
  while (!menus.empty()) {
    QMenu* menu = menus.back();
    menus.pop_back();
    for (QAction* a : menu->actions()) {
      if (a->menu()) menus.push_back(a->menu());
      else if (a->isEnabled() && !a->shortcut().isEmpty() && a->shortcut() == key) return a;
    }
  }
  return nullptr;
}

bool DatabaseWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int32_t count = db_.Count();
    switch (key->key()) {
      // The table would move between columns; the list moves between games.
      case Qt::Key_Home:
      case Qt::Key_End:
        if (count > 0) {
          db_.SetCursor(key->key() == Qt::Key_Home ? 1 : count);
          ShowCursor();
        }
        return true;
      case Qt::Key_Enter:  // the keypad's Enter loads as Return does
        if (RequireOpen() && db_.Cursor() > 0) emit loadRequested(db_.Cursor());
        return true;
      default: break;
    }
    // The list's commands by their shortcuts, whichever widget the shortcut
    // system thinks has them: the keys work whenever the list has the focus.
    const Qt::KeyboardModifiers mods = key->modifiers();
    QAction* a = ActionForKey(QKeySequence(QKeyCombination(mods, Qt::Key(key->key()))));
    if (!a && (mods & Qt::KeypadModifier))  // Insert and Delete on the keypad
      a = ActionForKey(QKeySequence(QKeyCombination(mods & ~Qt::KeypadModifier, Qt::Key(key->key()))));
    if (a) {
      a->trigger();
      return true;
    }
  }
  if (watched == view_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      const QModelIndex index = view_->indexAt(mouse->position().toPoint());
      if (index.isValid()) ToggleSelectedAt(index.row() + 1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kestrel
