#include "formats/pdn_variant_detect.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "formats/pdn_game_reader.h"
#include "formats/pdn_import.h"
#include "formats/pdn_tags.h"
#include "game/move_tree.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// What the squares of the move text look like.
struct TNotationSeen {
  bool letters = false;     // "c3", "e5"
  bool wideFiles = false;   // files i and k of the 10 x 8 board
  int highestNumber = 0;    // of numbered squares
};

void Scan(std::string_view text, TNotationSeen& seen) {
  int depth = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '{') ++depth;
    if (c == '}' && depth > 0) --depth;
    if (depth > 0 || c == '{' || c == '}') {
      ++i;
      continue;
    }
    const unsigned char u = static_cast<unsigned char>(c);
    const bool file = (c >= 'a' && c <= 'i') || c == 'k';
    if (file && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])) &&
        (i == 0 || !std::isalpha(static_cast<unsigned char>(text[i - 1])))) {
      seen.letters = true;
      if (c == 'i' || c == 'k') seen.wideFiles = true;
      i += 2;
      continue;
    }
    if (std::isdigit(u)) {
      // A number that is a square: inside a move, after or before a separator.
      size_t end = i;
      while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
      const bool moveNumber = end < text.size() && text[end] == '.';
      const bool inMove = (end < text.size() && std::string_view("-x:").find(text[end]) != std::string_view::npos) ||
                          (i > 0 && std::string_view("-x:").find(text[i - 1]) != std::string_view::npos);
      const std::string digits(text.substr(i, end - i));
      if (!moveNumber && inMove && digits.size() <= 2) seen.highestNumber = std::max(seen.highestNumber, std::stoi(digits));
      // "3228": two squares without a separator.
      if (!moveNumber && digits.size() == 4)
        seen.highestNumber = std::max({seen.highestNumber, std::stoi(digits.substr(0, 2)), std::stoi(digits.substr(2))});
      i = end;
      continue;
    }
    ++i;
  }
}

std::string TypeName(int type) { return std::string(GameTypeNames[type]); }

}  // namespace

bool HasGameTypeTag(const TPdnRawGame& raw) {
  for (const std::string& line : raw.tags)
    if (const auto tag = SplitTagLine(line); tag && tag->key == "gametype" && GameTypeFromTagValue(tag->value))
      return true;
  return false;
}

std::vector<int> CandidateTypes(const std::vector<TPdnRawGame>& games) {
  TNotationSeen seen;
  for (const TPdnRawGame& raw : games) Scan(raw.moveText, seen);
  if (seen.wideFiles) return {gtSpantsiretti};
  if (seen.letters) return {gtRussian, gtBrazilian, gtCzech, gtPool, gtSpantsiretti};
  if (seen.highestNumber > 50) return {gtCanadian};
  if (seen.highestNumber > 32) return {gtInternational, gtFrisian, gtCanadian};
  return {gtEnglish, gtItalian, gtSpanish, gtPool, gtThai, gtInternational, gtFrisian};
}

TVariantChoice ChooseVariant(const std::vector<TPdnRawGame>& untagged, int currentType, bool allUntagged) {
  TVariantChoice choice;
  choice.allUntagged = allUntagged;
  choice.games = static_cast<int>(untagged.size());
  if (untagged.empty()) return choice;
  std::vector<int> candidates = CandidateTypes(untagged);
  if (IsValidGameType(currentType) && std::find(candidates.begin(), candidates.end(), currentType) == candidates.end())
    candidates.push_back(currentType);

  struct TScore {
    int legal = -1;
    long moves = -1;
  } best;
  TGame game;
  for (int type : candidates) {
    TScore score{0, 0};
    for (const TPdnRawGame& raw : untagged) {
      const TPdnGameReport report = ReadPdnGame(raw, type, game);
      score.legal += report.complete ? 1 : 0;
      score.moves += report.moves;
    }
    const bool better = score.legal > best.legal || (score.legal == best.legal && score.moves > best.moves) ||
                        (score.legal == best.legal && score.moves == best.moves && type == currentType);
    if (better) {
      best = score;
      choice.type = type;
      choice.legal = score.legal;
    }
  }
  choice.detected = true;
  return choice;
}

TVariantChoice DetectPdnVariant(const std::string& path, int currentType, int maxGames) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TPdnFileError("Cannot open the file " + path);
  TPdnSource source(in);
  TPdnRawGame raw;
  std::vector<TPdnRawGame> untagged;
  bool allUntagged = true;
  bool more = false;
  while (source.Next(raw)) {
    if (HasGameTypeTag(raw)) {
      allUntagged = false;
      continue;
    }
    if (static_cast<int>(untagged.size()) >= maxGames) {
      more = true;
      continue;
    }
    untagged.push_back(raw);
  }
  if (in.bad()) throw TPdnFileError("Cannot read the file " + path);
  TVariantChoice choice = ChooseVariant(untagged, currentType, allUntagged);
  choice.sampled = more;
  return choice;
}

std::string TVariantChoice::Explanation() const {
  if (!detected) return {};
  std::string text = allUntagged ? "no GameType tag" : std::to_string(games) + (sampled ? "+" : "") + " games without a GameType tag";
  text += ": read as " + TypeName(type) + ", ";
  if (legal == games)
    text += (sampled ? "all of the first " : "all ") + std::to_string(games) + " games legal";
  else
    text += std::to_string(legal) + " of " + (sampled ? "the first " : "") + std::to_string(games) + " games legal";
  return text;
}

}  // namespace kestrel
