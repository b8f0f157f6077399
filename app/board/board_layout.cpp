#include "app/board/board_layout.h"

#include <algorithm>

namespace kestrel {

int AvailableBoardEdge(int clientWidth, int clientHeight) {
  return std::max(std::min(clientWidth - 285, clientHeight - 150), SmallestBoardEdge);
}

int AverageBoardRequest(int clientWidth, int clientHeight) {
  const int roomy = std::max(std::min(clientWidth - 285, clientHeight - 170), SmallestBoardEdge);
  return (SmallestBoardEdge + roomy) / 2;
}

MainLayout LayOutMainWindow(const MainLayoutInput& in) {
  MainLayout l;
  // A wanted size below the smallest board still gives the smallest board.
  const int wanted = std::max(in.wantedBoardSize, SmallestBoardEdge);
  l.boardEdge = std::min(wanted, AvailableBoardEdge(in.clientWidth, in.clientHeight));

  l.columnWidth = std::max(in.clientWidth - l.boardEdge - 15, 250);
  l.columnX = l.boardEdge + 10;
  if (l.columnX + l.columnWidth > in.clientWidth - 8) l.columnX = std::max(in.clientWidth - 8 - l.columnWidth, 0);
  l.searchInfoWidth = std::max(l.columnWidth - in.bookGridWidth - 10, 0);

  l.gamePanelY = in.clockVisible ? 95 : 62;
  l.gamePanelHeight = std::max(in.clientHeight - 315 + (in.clockVisible ? 0 : 33), 0);

  l.navigationCentreX = l.boardEdge / 2;
  l.stopButtonRight = l.boardEdge;
  l.infoPanelWidth = l.boardEdge;
  l.infoPanelHeight = std::max(in.clientHeight - l.boardEdge - 120, 0);
  return l;
}

}  // namespace kestrel
