#include "formats/pdn_move_match.h"

#include <algorithm>
#include <cctype>

#include "rules/game_types.h"
#include "rules/notation.h"
#include "rules/plain_text.h"

namespace kestrel {
namespace {

int Search(const std::string& wanted, const TMoveList& list, int count, int type) {
  using Render = std::string (*)(const TMove&, int);
  static constexpr Render passes[] = {
      [](const TMove& m, int t) { return MoveToText(m, t, 0, "x"); },
      [](const TMove& m, int t) { return MoveToText(m, t, 1, "x"); },
      [](const TMove& m, int t) { return MoveToTextPath(m, t, 1, "x"); },
  };
  static constexpr Render others[] = {
      [](const TMove& m, int t) { return MoveToTextTaken(m, t); },
      [](const TMove& m, int t) { return MoveToTextPath(m, t, 0, "x"); },
      [](const TMove& m, int t) { return MoveToText(m, t, 0, "-"); },
      [](const TMove& m, int t) { return MoveToText(m, t, 0, ":"); },
      [](const TMove& m, int t) { return MoveToText(m, t, 0, ""); },
      [](const TMove& m, int t) { return MoveToTextPath(m, t, 0, ":"); },
      [](const TMove& m, int t) { return MoveToTextPath(m, t, 1, "-"); },
      [](const TMove& m, int t) { return MoveToText(m, t, 1, ":"); },
      [](const TMove& m, int t) { return MoveToText(m, t, 1, "-"); },
      [](const TMove& m, int t) { return MoveToText(m, t, 1, ""); },
      [](const TMove& m, int t) { return MoveToTextPath(m, t, 1, ":"); },
  };
  for (Render render : passes)
    for (int i = 1; i <= count; ++i)
      if (render(list[i - 1], type) == wanted) return i;
  for (int i = 1; i <= count; ++i)
    for (Render render : others)
      if (render(list[i - 1], type) == wanted) return i;
  return 0;
}

}  // namespace

int FindPdnMove(std::string_view token, const TMoveList& list, int count, int type) {
  if (!IsValidGameType(type) || token.empty()) return 0;
  count = std::clamp(count, 0, MaxMoves);
  const std::string wanted = Lowered(token);
  const int found = Search(wanted, list, count, type);
  if (found != 0 || type != gtPool) return found;
  // Pool files are written with chess names or with numbers, whichever the
  // writing program's notation setting was: the other form is that of
  // Russian or of English.
  return Search(wanted, list, count, PoolChessNotation ? gtEnglish : gtRussian);
}

std::string RebuiltCaptureToken(std::string_view token) {
  const size_t first = token.find_first_of("-:x");
  if (first == std::string_view::npos) return {};
  const size_t last = token.find_last_of("-:x");
  return std::string(token.substr(0, first)) + "-" + std::string(token.substr(last + 1));
}

bool SameMoveExactly(const TMove& a, const TMove& b) {
  if (a.lt != b.lt || a.lt > MaxCaptured) return false;
  const int used = a.UsedBytes();
  return std::equal(a.mv.begin(), a.mv.begin() + used, b.mv.begin());
}

std::string WithoutLeadingZeros(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool numberStart = i == 0 || !std::isdigit(static_cast<unsigned char>(text[i - 1]));
    if (text[i] == '0' && numberStart && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))
      continue;
    out += text[i];
  }
  return out;
}

std::string PdnMoveToken(const TMoveList& list, int count, int index, int type) {
  const TMove& move = list[index - 1];
  const std::string forms[] = {WithoutLeadingZeros(MoveToText(move, type, 0, "x")),
                               WithoutLeadingZeros(MoveToTextPath(move, type, 0, "x")), MoveToTextTaken(move, type)};
  for (const std::string& text : forms) {
    const int found = FindPdnMove(text, list, count, type);
    if (found != 0 && SameMoveExactly(list[found - 1], move)) return text;
  }
  return forms[0];
}

std::string PdnMoveToken(const TMove& move, int type) { return WithoutLeadingZeros(MoveToText(move, type, 0, "x")); }

}  // namespace kestrel
