#include "app/play/game_session.h"

#include <algorithm>

#include "app/play/result_detection.h"
#include "engine/packed_board.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "rules/game_types.h"

namespace kestrel {

void TGameSession::RefreshObserver::RequestRefresh(const TGame&, uint32_t what) {
  uint32_t flags = 0;
  if (what & rfBoard) flags |= rqBoard | rqStatusBar;
  if (what & rfMoveList) flags |= rqBook;
  if (what & rfTree) flags |= rqBuildTree;
  if (what & rfSaveButton) flags |= rqSaveButton;
  refresh_.Request(flags);
}

TGameSession::TGameSession(TRefreshRequests& refresh) : observer_(refresh) {}

// ---- Navigation.

bool TGameSession::StepBack() {
  std::lock_guard lock(mutex_);
  TGame& game = games_.Current();
  return game.CurMovPos != 0 && kestrel::StepBack(game, &observer_);
}

bool TGameSession::StepForward() {
  std::lock_guard lock(mutex_);
  return kestrel::StepForward(games_.Current(), &observer_);
}

bool TGameSession::GoLineEnd() {
  std::lock_guard lock(mutex_);
  TGame& game = games_.Current();
  const int before = game.CurMovPos;
  return GoToLineEnd(game, 0, &observer_) && game.CurMovPos != before;
}

bool TGameSession::GoToSlot(int slot) {
  std::lock_guard lock(mutex_);
  TGame& game = games_.Current();
  const int before = game.CurMovPos;
  return GoToMove(game, slot, &observer_) && game.CurMovPos != before;
}

// ---- The games of the Window menu.

void TGameSession::OpenNewGame() {
  std::lock_guard lock(mutex_);
  games_.MakeCurrent(games_.Append());
}

int TGameSession::CloseCurrentGame() {
  std::lock_guard lock(mutex_);
  if (!games_.CloseCurrent()) return -1;
  return GameTypeOf(games_.Current());
}

int TGameSession::SelectGame(int index) {
  std::lock_guard lock(mutex_);
  if (!games_.MakeCurrent(index)) return -1;
  return GameTypeOf(games_.Current());
}

std::vector<TGameSession::TWindowEntry> TGameSession::WindowMenu() const {
  std::lock_guard lock(mutex_);
  std::vector<TWindowEntry> out;
  for (int i : games_.OpenIndexes()) out.push_back({i, OpenGameTitle(games_.At(i)), i == games_.CurrentIndex()});
  return out;
}

int TGameSession::OpenGameCount() const {
  std::lock_guard lock(mutex_);
  return games_.OpenCount();
}

// ---- Header.

TQuickGameHeader TGameSession::Header() const {
  return Read([](const TGame& g) { return QuickHeaderOf(g); });
}

void TGameSession::SetHeader(const TQuickGameHeader& q) {
  std::lock_guard lock(mutex_);
  TGame& g = games_.Current();
  const TGameHeader kept = g.Header;
  g.Header = q.Header;
  g.Header.TypeOfGame = kept.TypeOfGame;
  g.Header.FirstMove = kept.FirstMove;
  g.Header.NumerationFrom = kept.NumerationFrom;
  g.Header.LastMove = kept.LastMove;
  g.Header.ShowFrom = kept.ShowFrom;
  g.Header.GameLength = kept.GameLength;
  g.Header.Offset = kept.Offset;
  g.Header.Length = kept.Length;
  g.Header.Flags = kept.Flags;
  if (g.Header.Result > ResultBlackWonOnTime) g.Header.Result = kept.Result;
  SetGameNames(g, q);
  g.Modified = true;
}

// ---- Set-up.

void TGameSession::BeginSetup() {
  std::lock_guard lock(mutex_);
  TGame& game = games_.Current();
  const TBoard board = game.CurBoard;
  const TDColor side = game.SideToMove;
  ClearGame(game);
  game.CurMovPos = 0;
  game.CurBoard = board;
  game.SideToMove = side;
  PackBoard(board.b, game.StartBoard);
}

void TGameSession::SetupClick(int square, int button, int type) {
  if (!IsValidGameType(type)) return;
  const int count = GameTypes[type].SquareCount;
  if (square < 1 || square > count) return;
  const int step = button == 1 ? 1 : button == 2 ? -1 : 0;
  const int perRank = BoardShape(type).squaresPerRank;
  std::lock_guard lock(mutex_);
  int8_t& cell = games_.Current().CurBoard.b[square];
  if (step == 0) {
    cell = Empty;
    return;
  }
  int code = cell;
  // Men never stand where they would already be crowned.
  for (int tries = 0; tries < 5; ++tries) {
    code += step;
    if (code > WhiteKing) code = BlackKing;
    if (code < BlackKing) code = WhiteKing;
    const bool blackManOnFirstRow = code == BlackMan && square <= perRank;
    const bool whiteManOnLastRow = code == WhiteMan && square > count - perRank;
    if (!blackManOnFirstRow && !whiteManOnLastRow) break;
  }
  cell = static_cast<int8_t>(code);
}

void TGameSession::SetSetupBoard(const TBoard& board) {
  std::lock_guard lock(mutex_);
  games_.Current().CurBoard = board;
}

void TGameSession::FinishSetup(TDColor side, int firstMoveNumber, int type) {
  std::lock_guard lock(mutex_);
  TGame& game = games_.Current();
  const TBrd board = game.CurBoard.b;
  const int first = std::clamp(firstMoveNumber, 1, MaxFirstMoveNumber);
  if (!SetUpPosition(game, board, side, first, type)) SetUpPosition(game, TBrd{}, side, first, type);
}

std::string TGameSession::MaterialLine(int type) const {
  const TBrd board = Read([](const TGame& g) { return g.CurBoard.b; });
  if (!IsValidGameType(type)) type = gtRussian;
  const TBoardShape shape = BoardShape(type);
  const int count = GameTypes[type].SquareCount;
  int wm = 0, wk = 0, bm = 0, bk = 0, tempo = 0;
  for (int s = 1; s <= count; ++s) {
    const int row = (s - 1) / shape.squaresPerRank;
    switch (board[s]) {
      case WhiteMan:
        ++wm;
        tempo += row;
        break;
      case WhiteKing:
        ++wk;
        break;
      case BlackMan:
        ++bm;
        tempo -= shape.ranks - 1 - row;
        break;
      case BlackKing:
        ++bk;
        break;
      default:
        break;
    }
  }
  return (wk > 0 ? std::to_string(wk) + "+" : std::string(" ")) + std::to_string(wm) + " vs " +
         (bk > 0 ? std::to_string(bk) + "+" : std::string()) + std::to_string(bm) + "  (" + (tempo > 0 ? "+" : "") +
         std::to_string(tempo) + ")";
}

}  // namespace kestrel
