// Drawing the board picture: the 920-pixel image with frame, labels, squares,
// the last move's marks and the figures, and its scaling to the shown size.
#pragma once

#include <QColor>
#include <QImage>

#include <cstdint>
#include <vector>

#include "rules/board.h"

namespace kestrel {

class FigureSet;

// Colours as the settings file keeps them: 0x00BBGGRR.
QColor ColorFromSetting(uint32_t bgr);
uint32_t SettingFromColor(const QColor& color);

struct BoardColors {
  QColor dark = ColorFromSetting(0x00808040);
  QColor light = ColorFromSetting(0x00F0F0E3);
  QColor background = QColor(240, 240, 240);  // the window's, beside the 10 by 8 board
};

// Everything the picture shows.
struct BoardScene {
  TBrd board;
  int type = 1;
  std::vector<int> highlighted;  // squares of the last move; drawn when `highlight` is on
  bool highlight = true;
  bool reversed = false;
  bool showCoords = false;
  bool blind = false;  // pieces hidden
  bool showJamaican = false;
  bool poolWhiteBottom = false;
  bool poolChessNotation = false;
};

// The figure drawn for a cell code: in English, and in Pool unless white is
// at the bottom, side 0 wears the black figures.
int DisplayedPieceCode(int code, const BoardScene& scene);

QImage DrawBoardImage(const BoardScene& scene, const BoardColors& colors, const FigureSet& figures);

// The image at `edge` by `edge` pixels: area averaging when shrinking,
// interpolation when enlarging.
QImage ScaleBoardImage(const QImage& image, int edge);

}  // namespace kestrel
