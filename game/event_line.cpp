#include "game/event_line.h"

#include "rules/plain_text.h"

namespace kestrel {

std::string EventLine(const TGame& game, bool withAnnotator) {
  const TGameHeader& h = game.Header;
  std::string text = game.Tournament;
  if (!game.Site.empty()) {
    // No separator in front of a site when the tournament is unknown.
    if (!text.empty()) text += ", ";
    text += game.Site;
  }
  if (h.Round != 0) {
    if (!text.empty()) text += ' ';
    text += '[' + std::to_string(h.Round);
    if (h.Subround != 0) text += '.' + std::to_string(h.Subround);
    text += ']';
  }
  if (h.Date.Year != 0) {
    if (!text.empty()) text += ", ";
    if (h.Date.Month != 0) {
      if (h.Date.Day != 0) text += ZeroPadded(h.Date.Day, 2) + '.';
      text += ZeroPadded(h.Date.Month, 2) + '.';
    }
    text += ZeroPadded(h.Date.Year, 4);
  }
  if (withAnnotator && !game.AnnotatorName.empty()) {
    if (!text.empty()) text += ' ';
    text += '(' + game.AnnotatorName + ')';
  }
  return text;
}

void TrimSpaces(std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, first);
}

}  // namespace kestrel
