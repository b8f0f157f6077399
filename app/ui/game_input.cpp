#include "app/ui/game_input.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>

#include "app/panels/book_grid.h"
#include "app/play/play_controller.h"
#include "app/ui/board_panel.h"
#include "app/ui/book_grid_widget.h"
#include "app/ui/comment_dialog.h"
#include "app/ui/game_panel.h"
#include "app/ui/main_window.h"
#include "app/ui/ui_language.h"
#include "database/list_texts.h"
#include "game/game_editing.h"
#include "rules/notation.h"

namespace kestrel {

namespace {

// Forced moves in analysis mode follow one another this far apart.
constexpr int ForcedMoveDelayMs = 200;

// The position shown, which a book row is matched against.
struct TShownPosition {
  TBoard board;
  TDColor side = TDColor::white;
  int type = 1;
};

TShownPosition ShownPosition(const TPlayController& controller) {
  return controller.ReadGame([](const TGame& g) { return TShownPosition{g.CurBoard, g.SideToMove, GameTypeOf(g)}; });
}

}  // namespace

GameInput::GameInput(MainWindow& window)
    : QObject(&window), window_(window), controller_(window.controller()),
      panel_(new GamePanel(&window.boardPanel())), book_(new BookGridWidget(&window.boardPanel())) {
  connect(&window, &MainWindow::boardSquareClicked, this, &GameInput::OnSquare);
  connect(&window, &MainWindow::gameTreeRebuildRequested, this, &GameInput::RebuildTree);
  connect(&window, &MainWindow::gameHeaderChanged, this, &GameInput::RebuildTree);
  connect(&window, &MainWindow::gameTreeShowRequested, this, &GameInput::ShowCurrentMove);
  connect(&window, &MainWindow::bookDisplayChanged, this, &GameInput::ShowBook);
  connect(&window.boardPanel(), &BoardPanel::layoutChanged, this, &GameInput::Place);
  connect(&window.boardPanel(), &BoardPanel::gamePanelColorsChanged, this, &GameInput::RebuildTree);
  connect(panel_, &GamePanel::moveClicked, this, &GameInput::OnMoveClicked);
  connect(panel_, &GamePanel::headerDialogRequested, window.gameInfoAction(), &QAction::trigger);
  connect(panel_, &GamePanel::commandChosen, this, &GameInput::OnCommand);
  connect(panel_, &GamePanel::commentRequested, this, &GameInput::OnComment);
  connect(panel_, &GamePanel::diagramRequested, this, &GameInput::OnDiagram);
  connect(book_, &BookGridWidget::moveChosen, this, &GameInput::OnBookMove);
  connect(book_, &BookGridWidget::signChosen, this, &GameInput::OnBookSign);
  connect(book_, &BookGridWidget::stepRequested, this, [this](bool back) {
    if (back)
      controller_.GoBack();
    else
      controller_.GoForward();
  });
  // Keys are the main window's wherever its focus is: the lists and panels
  // beside the board would otherwise keep the arrows, the letters and the
  // copy keys for themselves.
  qApp->installEventFilter(this);
  Place();
  RebuildTree();
  ShowBook();
}

void GameInput::Place() {
  const MainLayout& l = window_.boardPanel().mainLayout();
  panel_->setGeometry(l.columnX, l.gamePanelY, l.columnWidth, std::max(l.gamePanelHeight, 80));
  const int top = l.gamePanelY + std::max(l.gamePanelHeight, 80) + 5;
  const int height = std::max(window_.boardPanel().height() - top - 4, 40);
  const int width = std::min(BookGridWidth, l.columnWidth);
  book_->setGeometry(l.columnX + l.columnWidth - width, top, width, height);
  book_->setVisible(!controller_.HideEngineOutput());
  panel_->show();
}

TLegalMoves GameInput::CurrentMoves() const {
  return controller_.ReadGame(
      [](const TGame& g) { return ListLegalMoves(g.CurBoard, g.SideToMove, GameTypeOf(g)); });
}

void GameInput::OnSquare(int square, Qt::MouseButton button) {
  if (controller_.SetupMode() || !controller_.NavigationAllowed()) return;
  (void)button;
  const TLegalMoves moves = CurrentMoves();
  const int k = clicks_.Click(square, moves);
  if (k != 0) Enter(moves.list[k - 1]);
}

void GameInput::Enter(const TMove& move) {
  if (!controller_.EnterMove(move)) return;
  if (controller_.AnalysisMode() && controller_.settings().AutoCapture)
    QTimer::singleShot(ForcedMoveDelayMs, this, &GameInput::FollowForcedMoves);
}

void GameInput::FollowForcedMoves() {
  if (controller_.SetupMode() || !controller_.NavigationAllowed()) return;
  const TLegalMoves moves = CurrentMoves();
  if (const TMove* forced = ForcedFollowUp(moves, controller_.AnalysisMode(), controller_.settings().AutoCapture))
    Enter(*forced);
}

// Widgets in which the user types text of their own.
bool TakesTypedText(QWidget* w) {
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w)) return true;
  if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) return !edit->isReadOnly();
  if (auto* edit = qobject_cast<QTextEdit*>(w)) return !edit->isReadOnly();
  return false;
}

bool GameInput::IsWindowShortcut(const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  for (const QAction* a : window_.findChildren<QAction*>())
    if (a->isEnabled() && a->shortcuts().contains(pressed)) return true;
  return false;
}

bool GameInput::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != &window_ || TakesTypedText(widget))
    return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::ShortcutOverride) {
    // A list's Ctrl+C or Ctrl+A must not hide "Compute!" or "Extended
    // analysis": left unaccepted, the key goes to the window's command.
    if (widget != &window_ && IsWindowShortcut(key)) {
      event->ignore();
      return true;
    }
    return false;
  }
  if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    switch (key->key()) {
      case Qt::Key_Home:
        controller_.GoStart();
        return true;
      case Qt::Key_Left:
      case Qt::Key_PageUp:
        controller_.GoBack();
        return true;
      case Qt::Key_Right:
      case Qt::Key_PageDown:
        controller_.GoForward();
        return true;
      case Qt::Key_End:
        controller_.GoEnd();
        return true;
      default:
        break;
    }
  }
  {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
      if (key->key() == Qt::Key_E && (key->modifiers() & Qt::ControlModifier)) {
        OnComment();
        return true;
      }
      return false;
    }
    if (key->key() == Qt::Key_Backspace) {
      OnKey(TTypedMove::Backspace);
      return true;
    }
    // Moves are typed in ASCII: squares, letters, separators.
    const QString text = key->text();
    if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() < 127) {
      OnKey(static_cast<char>(text[0].unicode()));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void GameInput::OnKey(char c) {
  typed_.Key(c);
  window_.infoPanel()->setPlainText(QString::fromStdString(typed_.Text()));
  if (controller_.SetupMode() || !controller_.NavigationAllowed()) return;
  const TLegalMoves moves = CurrentMoves();
  const int type = controller_.ReadGame([](const TGame& g) { return GameTypeOf(g); });
  const std::vector<int> found = typed_.Candidates(moves, type);
  if (found.empty()) return;
  typed_.Clear();
  window_.infoPanel()->clear();
  // A text that fits two moves is never taken as one of them silently.
  const int k = found.size() == 1 ? found.front() : ChooseMove(moves, found, type);
  if (k != 0) Enter(moves.list[k - 1]);
}

int GameInput::ChooseMove(const TLegalMoves& moves, const std::vector<int>& found, int type) {
  QStringList texts;
  for (int k : found) texts << QString::fromStdString(DisplayMoveText(moves.list[k - 1], moves.list, moves.count, type));
  QInputDialog chooser(&window_);
  chooser.setObjectName(QStringLiteral("typedMoveChooser"));
  chooser.setWindowTitle(window_.windowTitle());
  chooser.setLabelText(LangQ(342));
  chooser.setCancelButtonText(LangQ(84));
  chooser.setComboBoxItems(texts);
  chooser.setComboBoxEditable(false);
  if (chooser.exec() != QDialog::Accepted) return 0;
  const int index = static_cast<int>(texts.indexOf(chooser.textValue()));
  return index >= 0 ? found[static_cast<size_t>(index)] : 0;
}

void GameInput::RebuildTree() {
  const Settings& s = controller_.settings();
  panel_->SetColors(s.GameColorMainLine, s.GameColorSecondLine, s.GameColorThirdLine, s.GameColorComment);
  TTreeLayoutOptions options;
  options.Line3InLine = s.Line3InLine;
  options.ComposerMode = s.ComposerMode;
  options.notationMode = NotationMode;
  options.takeChar = TakeChar;
  const TGame game = controller_.ReadGame([](const TGame& g) { return g; });
  options.resultText = std::string(ResultText(game.Header.Result, s.ResType));
  panel_->SetLayoutOptions(options);
  panel_->BuildGameTree(game);
}

void GameInput::ShowCurrentMove() {
  panel_->ShowCurrentMove(controller_.ReadGame([](const TGame& g) { return g.CurMovPos; }));
}

void GameInput::ShowBook() {
  book_->setVisible(!controller_.HideEngineOutput());
  const TOpenMoves tree = controller_.ReadGame([](const TGame& g) { return g.OpenMoves; });
  TOpeningBook& book = controller_.Book();
  const QString name = book.IsOpen() ? QString::fromStdString(book.Path().filename().string()) : QString();
  book_->ShowTree(tree, name);
  // The book's comment on the position goes into the information panel,
  // once per position.
  if (tree.openposcomm != shownBookComment_) {
    shownBookComment_ = tree.openposcomm;
    if (!tree.openposcomm.empty()) window_.ShowInfo(ProgramTextQ(tree.openposcomm));
  }
}

// Game panel clicks are taken while the engine is idle, or while it
// analyses without a game analysis evaluating a move.
bool GameInput::PanelClicksTaken() const { return controller_.NavigationAllowed(); }

void GameInput::OnMoveClicked(int slot, bool rightButton, QPoint globalPos) {
  if (!PanelClicksTaken()) return;
  controller_.GoToSlot(slot);
  ShowCurrentMove();
  if (rightButton) panel_->PopupMenu(globalPos);
}

void GameInput::OnCommand(TPanelCommand command) {
  if (!PanelClicksTaken()) return;
  controller_.StopAndWait();
  controller_.ChangeGame([&](TGame& g) { return ApplyPanelCommand(g, command, &controller_.GameObserver()); });
  controller_.Refresh().Request(rqBuildTree | rqBoard | rqSaveButton);
  RebuildTree();
}

void GameInput::OnComment() {
  if (!PanelClicksTaken()) return;
  const TMoveComments current = controller_.ReadGame([](const TGame& g) { return CurrentMoveComments(g); });
  CommentDialog dialog(&window_);
  dialog.SetComments(current.before, current.after, current.beforeEnabled);
  if (dialog.exec() == QDialog::Accepted) {
    controller_.ChangeGame([&](TGame& g) {
      return SetMoveComments(g, g.CurMovPos, dialog.Before(), dialog.After(), &controller_.GameObserver());
    });
    controller_.Refresh().Request(rqSaveButton);
  }
  RebuildTree();
}

void GameInput::OnDiagram() {
  if (!PanelClicksTaken()) return;
  controller_.ChangeGame([&](TGame& g) { AddDiagram(g, &controller_.GameObserver()); });
  RebuildTree();
}

void GameInput::OnBookMove(const TOpenMove& entry) {
  if (!controller_.NavigationAllowed()) return;
  const auto [board, side, type] = ShownPosition(controller_);
  const auto move = BookRowMove(entry, board, side, type);
  if (!move) return;
  if (book_->AddOnClick()) AddRowOnClick(controller_.Book(), entry, board, side, type);
  controller_.EnterMove(*move);
}

void GameInput::OnBookSign(const TOpenMove& entry, int sign) {
  const auto [board, side, type] = ShownPosition(controller_);
  SetBookRowSign(controller_.Book(), entry, board, side, type, static_cast<uint8_t>(sign));
  controller_.RefreshBookDisplay();
  ShowBook();
}

}  // namespace kestrel
