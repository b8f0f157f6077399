#include "formats/ballot_lists.h"

#include <charconv>
#include <sstream>

#include "database/ballots.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "formats/pdn_move_text.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

int RomanValue(std::string_view roman) {
  const auto digit = [](char c) {
    switch (c) {
      case 'I': return 1;
      case 'V': return 5;
      case 'X': return 10;
      case 'L': return 50;
      default: return 0;
    }
  };
  int value = 0;
  for (std::size_t i = 0; i < roman.size(); ++i) {
    const int d = digit(roman[i]);
    if (d == 0) return 0;
    value += i + 1 < roman.size() && digit(roman[i + 1]) > d ? -d : d;
  }
  return value;
}

bool ParseNumber(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value > 0;
}

bool ParseLabel(const std::string& label, TBallotLine& line) {
  const auto dash = label.find('-');
  if (dash == std::string::npos) return ParseNumber(label, line.round);
  line.subround = RomanValue(std::string_view(label).substr(dash + 1));
  return ParseNumber(std::string_view(label).substr(0, dash), line.round) && line.subround > 0;
}

int SquareNamed(std::string_view name, int type) {
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
    if (SquareText(s, type, 1) == name) return s;
  return 0;
}

// "position W a1>a5 B d6>g5 white". The men are lifted first and then put
// down, since one may land where the other stood.
bool MakePosition(const TBallotFile& file, const std::vector<std::string>& words, TGame& game, std::string& reason) {
  TBrd board = InitialPosition(file.type).b;
  TDColor side = TDColor::white;
  struct Relocation {
    int8_t man;
    int to;
  };
  std::vector<Relocation> placed;
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "white" || words[i] == "black") {
      side = words[i] == "white" ? TDColor::white : TDColor::black;
      continue;
    }
    if ((words[i] != "W" && words[i] != "B") || i + 1 == words.size()) {
      reason = "unexpected \"" + words[i] + "\"";
      return false;
    }
    const int8_t man = words[i] == "W" ? WhiteMan : BlackMan;
    const std::string& step = words[++i];
    const auto arrow = step.find('>');
    const int from = arrow == std::string::npos ? 0 : SquareNamed(step.substr(0, arrow), file.type);
    const int to = arrow == std::string::npos ? 0 : SquareNamed(step.substr(arrow + 1), file.type);
    if (from == 0 || to == 0 || board[from] != man) {
      reason = "no man to move " + step;
      return false;
    }
    board[from] = Empty;
    placed.push_back({man, to});
  }
  for (const Relocation& r : placed) {
    if (board[r.to] != Empty) {
      reason = "two men on one square";
      return false;
    }
    board[r.to] = r.man;
  }
  if (!SetUpPosition(game, board, side, 1, file.type)) {
    reason = "not a position";
    return false;
  }
  return true;
}

}  // namespace

std::vector<TBallotFile> ParseBallotLists(std::string_view text, std::vector<std::string>& errors) {
  std::vector<TBallotFile> files;
  std::istringstream in{std::string(text)};
  int number = 0;
  for (std::string raw; std::getline(in, raw);) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (raw.empty() || raw[0] == '#') continue;
    const std::string where = "line " + std::to_string(number) + ": ";
    if (raw[0] == '[') {
      // [file NAME TYPE "TOURNAMENT"]
      const auto open = raw.find('"'), close = raw.rfind('"');
      const std::vector<std::string> w = Words(raw.substr(1, open == std::string::npos ? 0 : open - 1));
      TBallotFile file;
      if (w.size() == 3 && w[0] == "file" && open != close && raw.back() == ']') {
        file.name = w[1];
        for (int t = 1; t <= GameTypeCount; ++t)
          if (GameTypeNames[t] == w[2]) file.type = t;
        file.tournament = raw.substr(open + 1, close - open - 1);
      }
      if (file.type == 0) {
        errors.push_back(where + "not a [file NAME TYPE \"TOURNAMENT\"] line");
        continue;
      }
      files.push_back(std::move(file));
      continue;
    }
    std::vector<std::string> w = Words(raw);
    TBallotLine line;
    line.lineNumber = number;
    if (files.empty() || w.size() < 2 || !ParseLabel(w[0], line)) {
      errors.push_back(where + "not a ballot line");
      continue;
    }
    line.label = w[0];
    if (w.back() == "!brazilian") {
      line.notInBrazilianTable = true;
      w.pop_back();
    }
    for (std::size_t i = 1; i < w.size(); ++i) line.text += (i > 1 ? " " : "") + w[i];
    files.back().lines.push_back(std::move(line));
  }
  return files;
}

bool MakeBallotGame(const TBallotFile& file, const TBallotLine& line, TGame& game, std::string& reason) {
  NewGame(game, file.type);
  const std::vector<std::string> words = Words(line.text);
  if (!words.empty() && words[0] == "position") {
    if (!MakePosition(file, words, game, reason)) return false;
  } else {
    TMoveTextOptions options;
    options.readBallot = false;
    const TMoveTextResult r = ReadPdnMoveText(game, line.text, options);
    if (!r.complete || r.moves != static_cast<int>(words.size())) {
      reason = r.reason.empty() ? "moves missing" : r.reason;
      return false;
    }
  }
  game.Tournament = file.tournament + (line.notInBrazilianTable ? std::string(NotInBrazilianTable) : "");
  game.Header.Round = line.round;
  game.Header.Subround = line.subround;
  game.Header.Result = 0;
  game.Modified = false;
  return true;
}

int BuildBallotDatabases(const std::vector<TBallotFile>& lists, const std::string& folder,
                         std::vector<std::string>& errors) {
  int written = 0;
  for (const TBallotFile& file : lists) {
    TKestrelDB db;
    CreateDatabase(folder + "/" + file.name, db);
    for (const TBallotLine& line : file.lines) {
      TGame game;
      std::string reason;
      if (!MakeBallotGame(file, line, game, reason)) {
        errors.push_back(file.name + " " + line.label + " (line " + std::to_string(line.lineNumber) + "): " + reason);
        continue;
      }
      WriteDBGame(game, 0, db, false);
      ++written;
    }
    CloseDatabase(db);
  }
  return written;
}

}  // namespace kestrel
