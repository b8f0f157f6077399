// Sizes and places of the main window's parts, worked out from the size of
// its client area: the board takes what the right-hand column and the panel
// under the board leave, and the wanted board size caps it.
#pragma once

namespace kestrel {

inline constexpr int MinMainWindowWidth = 630;
inline constexpr int MinMainWindowHeight = 460;
inline constexpr int SmallestBoardEdge = 300;

// The "Small", "Average" and "Large" commands ask for these board sizes.
inline constexpr int SmallBoardRequest = 300;
inline constexpr int LargeBoardRequest = 10000;  // the largest that fits
int AverageBoardRequest(int clientWidth, int clientHeight);

// The largest board edge the client area allows.
int AvailableBoardEdge(int clientWidth, int clientHeight);

struct MainLayoutInput {
  int clientWidth = 0;
  int clientHeight = 0;
  int wantedBoardSize = LargeBoardRequest;
  bool clockVisible = false;  // play mode shows the clock above the game panel
  int bookGridWidth = 0;
};

struct MainLayout {
  int boardEdge = 0;
  // Right-hand column: clock, information panel, game panel.
  int columnX = 0, columnWidth = 0;
  int searchInfoWidth = 0;  // search information label and root move list
  int gamePanelY = 0, gamePanelHeight = 0;
  // Panel under the board; y values count from its top.
  int navigationCentreX = 0;  // navigation and replay buttons, centred under the board
  int navigationY = 68;
  int navigationSpacing = 35;
  int stopButtonRight = 0;    // right-aligned with the board
  int stopButtonY = 64;
  int setupButtonsY = 64;
  int infoPanelY = 94, infoPanelWidth = 0, infoPanelHeight = 0;
};

MainLayout LayOutMainWindow(const MainLayoutInput& in);

}  // namespace kestrel
