#include "app/play/side_names.h"

#include "rules/game_types.h"

namespace kestrel {
namespace {

std::string Name(TDColor side, bool swapped) {
  const bool white = (side == TDColor::white) != swapped;
  return white ? "White" : "Black";
}

}  // namespace

std::string SideName(TDColor side, int type) { return Name(side, type == gtEnglish || type == gtPool); }

std::string BoardSideName(TDColor side, int type, bool poolWhiteBottom) {
  return Name(side, type == gtEnglish || (type == gtPool && !poolWhiteBottom));
}

}  // namespace kestrel
