#include "game/quick_header.h"

namespace kestrel {

TQuickGameHeader QuickHeaderOf(const TGame& game) {
  TQuickGameHeader q;
  q.Header = game.Header;
  q.WhiteName = game.WhiteName;
  q.BlackName = game.BlackName;
  q.AnnotatorName = game.AnnotatorName;
  q.Tournament = game.Tournament;
  q.Site = game.Site;
  return q;
}

void SetGameNames(TGame& game, const TQuickGameHeader& quick) {
  game.WhiteName = quick.WhiteName;
  game.BlackName = quick.BlackName;
  game.AnnotatorName = quick.AnnotatorName;
  game.Tournament = quick.Tournament;
  game.Site = quick.Site;
}

}  // namespace kestrel
