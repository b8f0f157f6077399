#include "game/tree_header.h"

#include <algorithm>

#include "game/event_line.h"
#include "game/layout_cursor.h"

namespace kestrel {

namespace {

// Bit 7 of the header flags marks a deleted game.
constexpr uint8_t DeletedFlag = 0x80;

int Centred(const std::string& text, TTreeStyle font, const TTextWidth& width, int panelWidth) {
  const int w = width ? width(text, font) : 0;
  return std::max(0, (panelWidth - std::max(0, w)) / 2);
}

}  // namespace

TTreeHeader ReadGameHeader(const TGame& game) {
  TTreeHeader h;
  // Names come from files; control characters must not reach the drawing.
  h.FNames = ShowableText(game.WhiteName + " - " + game.BlackName);
  h.FTournament = ShowableText(EventLine(game, true));
  h.FDel = (game.Header.Flags & DeletedFlag) != 0;
  h.FSel = game.Selected;
  if (game.DBGameNo != 0) h.FGameNum = " " + std::to_string(game.DBGameNo) + " ";
  return h;
}

std::vector<THeaderLine> LayoutHeader(const TTreeHeader& header, const TTextWidth& width, int panelWidth) {
  std::vector<THeaderLine> lines;
  if (!header.FGameNum.empty()) {
    THeaderLine num;
    num.Text = header.FGameNum;
    num.font = TTreeStyle::headerGameNum;
    num.color = header.FSel ? TTreeColor::selectedGame : TTreeColor::windowText;
    num.strikeOut = header.FDel;
    lines.push_back(num);
  }
  if (!header.FNames.empty()) {
    THeaderLine names;
    names.Text = header.FNames;
    names.font = TTreeStyle::headerNames;
    names.x = Centred(names.Text, names.font, width, panelWidth);
    names.y = HeaderNamesTop;
    lines.push_back(names);
  }
  if (!header.FTournament.empty()) {
    THeaderLine event;
    event.Text = header.FTournament;
    event.font = TTreeStyle::headerEvent;
    event.x = Centred(event.Text, event.font, width, panelWidth);
    event.y = HeaderEventTop;
    lines.push_back(event);
  }
  return lines;
}

}  // namespace kestrel
