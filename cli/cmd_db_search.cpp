// kestrel-cli db search: the database window's search from scripts.
//   db search DB [header criteria] [--fen FEN | --pattern TEXT] [--material SPEC]
//             [--combination FROM-TO:MIN] ...
// prints one line per game found, "N SLOT WHITE - BLACK" (SLOT: the move slot
// of the found position, 0 without one), then "found K of N games in MS ms".
// Games whose moves could not be read are counted on stderr.
#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_registry.h"
#include "database/code_page.h"
#include "cli/db_open.h"
#include "database/ansi_case.h"
#include "database/game_io.h"
#include "database/name_tables.h"
#include "database/search/search_database.h"
#include "formats/fen.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

struct TArgs {
  std::string file, white, black, tournament, site, annotator, years, length, results;
  std::string fen, pattern, material, combination, side, type;
  bool ignoreColors = false, reversed = false, onlyInitial = false;
  bool deleted = false, comments = false, variations = false, uncommented = false;
};

std::optional<int> Number(std::string_view text) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

// "A-B" or a single number A; both within lo..hi.
bool ParseRange(std::string_view text, int lo, int hi, int& a, int& b) {
  const auto dash = text.find('-');
  const auto x = Number(text.substr(0, dash));
  const auto y = dash == std::string_view::npos ? x : Number(text.substr(dash + 1));
  if (!x || !y || *x < lo || *y > hi || *x > *y) return false;
  a = *x;
  b = *y;
  return true;
}

std::vector<std::string_view> Split(std::string_view text, char sep) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const auto end = text.find(sep, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// Result codes 0..5 or their texts.
bool ParseResults(std::string_view text, std::array<bool, 6>& accepted) {
  static constexpr std::array<std::array<std::string_view, 3>, 6> names = {{
      {"0", "*", "*"}, {"1", "1-0", "2-0"}, {"2", "=", "1/2-1/2"},
      {"3", "0-1", "0-2"}, {"4", "1-0t", "2-0t"}, {"5", "0-1t", "0-2t"},
  }};
  accepted.fill(false);
  for (std::string_view item : Split(text, ',')) {
    bool known = false;
    for (int r = 0; r < 6; ++r)
      for (std::string_view n : names[r])
        if (item == n) known = accepted[r] = true;
    if (item == "1-1") known = accepted[2] = true;
    if (!known) return false;
  }
  return true;
}

// "wm=8-12,bk=0,tot=10-20": total, white and black men and kings.
bool ParseMaterial(std::string_view text, TSearchInfo& info) {
  for (std::string_view item : Split(text, ',')) {
    const auto eq = item.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view key = item.substr(0, eq);
    int a = 0, b = 0;
    if (!ParseRange(item.substr(eq + 1), 0, 99, a, b)) return false;
    auto set = [&](bool& on, uint8_t& lo, uint8_t& hi) {
      on = true;
      lo = static_cast<uint8_t>(a);
      hi = static_cast<uint8_t>(b);
    };
    if (key == "tot") set(info.tot, info.totmin, info.totmax);
    else if (key == "wm") set(info.wm, info.wmmin, info.wmmax);
    else if (key == "bm") set(info.bm, info.bmmin, info.bmmax);
    else if (key == "wk") set(info.wk, info.wkmin, info.wkmax);
    else if (key == "bk") set(info.bk, info.bkmin, info.bkmax);
    else return false;
  }
  return true;
}

// "FROM-TO:MIN", FROM and TO square numbers or "*" for any.
bool ParseCombination(std::string_view text, int squares, TSearchInfo& info) {
  const auto colon = text.find(':');
  const auto dash = text.find('-');
  if (colon == std::string_view::npos || dash == std::string_view::npos || dash > colon) return false;
  auto square = [&](std::string_view s, int32_t& out) {
    if (s == "*") return (out = -1), true;
    const auto n = Number(s);
    if (!n || *n < 1 || *n > squares) return false;
    out = *n;
    return true;
  };
  const auto count = Number(text.substr(colon + 1));
  if (!square(text.substr(0, dash), info.CombFr) || !square(text.substr(dash + 1, colon - dash - 1), info.CombTo) ||
      !count || *count < 1 || *count > 99)
    return false;
  info.Comb = true;
  info.CombCnt = static_cast<uint8_t>(*count);
  return true;
}

// One character per square 1..N: w W white man and king, b B black ones,
// "." empty, "?" any; blanks and "/" are skipped.
bool ParsePattern(std::string_view text, int squares, TBrd& pattern) {
  pattern = TBrd{};
  int s = 0;
  for (char c : text) {
    if (c == ' ' || c == '/') continue;
    int8_t v;
    switch (c) {
      case 'w': v = WhiteMan; break;
      case 'W': v = WhiteKing; break;
      case 'b': v = BlackMan; break;
      case 'B': v = BlackKing; break;
      case '.': v = Empty; break;
      case '?': v = AnySquare; break;
      default: return false;
    }
    if (++s > squares) return false;
    pattern[s] = v;
  }
  return s == squares;
}

int Bad(const std::string& message) {
  std::cerr << message << '\n';
  return ExitBadInput;
}

int Search(const TArgs& a) {
  TSearchInfo info;
  TSearchSwitches sw;
  // The texts come as UTF-8 and are compared with stored names.
  info.name = {AnsiLowerCase(Utf8ToAnsi(a.white)), AnsiLowerCase(Utf8ToAnsi(a.black))};
  info.tourn = AnsiLowerCase(Utf8ToAnsi(a.tournament));
  info.site = AnsiLowerCase(Utf8ToAnsi(a.site));
  info.annot = AnsiLowerCase(Utf8ToAnsi(a.annotator));
  info.ignorecol = a.ignoreColors;
  info.yearend = 65535;
  int lo = 0, hi = 0;
  if (!a.years.empty()) {
    if (!ParseRange(a.years, 0, 65535, lo, hi)) return Bad("--years: expected A-B, for example 1990-1999");
    info.yearstart = static_cast<uint16_t>(lo), info.yearend = static_cast<uint16_t>(hi);
  }
  if (!a.length.empty()) {
    if (!ParseRange(a.length, 0, 65535, lo, hi)) return Bad("--length: expected A-B full moves, for example 20-40");
    info.movestart = static_cast<uint16_t>(lo), info.moveend = static_cast<uint16_t>(hi);
  } else {
    info.moveend = 65535;
  }
  if (!a.results.empty() && !ParseResults(a.results, info.rescheck))
    return Bad("--results: expected codes 0..5 or texts *, 1-0, =, 0-1, 1-0t, 0-1t separated by commas");
  sw.deleted = a.deleted, sw.comments = a.comments, sw.variations = a.variations, sw.uncommented = a.uncommented;

  int boardType = gtRussian;  // the board of --fen, --pattern and --combination
  if (!a.type.empty()) {
    const auto t = ParseGameType(a.type);
    if (!t) return Bad("--type: unknown game type " + a.type);
    sw.gameType = boardType = *t;
  }
  const int squares = GameTypes[boardType].SquareCount;
  sw.squareCount = squares;
  info.brdsearch.cells.fill(AnySquare);
  std::optional<TDColor> fenSide;
  if (!a.fen.empty()) {
    std::string error;
    const auto fen = ReadFEN(a.fen, boardType, &error);
    if (!fen) return Bad("--fen: " + error);
    info.brdsearch = fen->board.b;
    fenSide = fen->firstMover;
    sw.position = true;
  }
  if (!a.pattern.empty()) {
    if (!ParsePattern(a.pattern, squares, info.brdsearch))
      return Bad("--pattern: expected " + std::to_string(squares) + " characters of w W b B . ?, one per square");
    sw.position = true;
  }
  if (!a.material.empty()) {
    if (!ParseMaterial(a.material, info)) return Bad("--material: expected KEY=A-B,... with keys tot wm bm wk bk");
    sw.position = true;
  }
  if (!a.combination.empty()) {
    if (!ParseCombination(a.combination, squares, info))
      return Bad("--combination: expected FROM-TO:MIN, squares or *, for example *-*:3");
    sw.position = true;
  }
  info.whitemovechecked = fenSide ? *fenSide == TDColor::white : true;
  info.blackmovechecked = fenSide ? *fenSide == TDColor::black : true;
  if (!a.side.empty()) {
    info.whitemovechecked = a.side != "black";
    info.blackmovechecked = a.side != "white";
  }
  info.ignorecolboard = a.reversed;
  info.onlyinitial = a.onlyInitial;
  BuildReversedPattern(info, squares);

  TKestrelDB db;
  if (!OpenForReading(a.file, db)) return ExitFailure;
  const auto started = std::chrono::steady_clock::now();
  const TSearchResult r = SearchDatabase(db, info, sw);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
  TGameHeader h;
  for (const TDBListRec& e : r.found) {
    std::cout << e.num << ' ' << e.gotomove << ' ';
    if (ReadHeaderRecord(db, e.num, h))
      std::cout << AnsiToUtf8(PlayerNameOf(db, h.White.NameIndex)) << " - " << AnsiToUtf8(PlayerNameOf(db, h.Black.NameIndex));
    std::cout << '\n';
  }
  if (r.unreadable > 0) std::cerr << r.unreadable << " games could not be read\n";
  std::cout << "found " << r.found.size() << " of " << db.DBSize << " games in " << ms << " ms\n";
  return ExitOk;
}

const SubcommandRegistrar registrar("db", "search", [](CLI::App& db, int& exitCode) {
  static TArgs args;
  auto* s = db.add_subcommand("search", "Games by header, position pattern, material and combination");
  s->add_option("DB", args.file, "Database file")->required();
  s->add_option("--white", args.white, "Text in the white player's name");
  s->add_option("--black", args.black, "Text in the black player's name");
  s->add_flag("--ignore-colors", args.ignoreColors, "Also the games with the players' colours swapped");
  s->add_option("--tournament", args.tournament, "Text in the tournament");
  s->add_option("--site", args.site, "Text in the site");
  s->add_option("--annotator", args.annotator, "Text in the annotator's name");
  s->add_option("--years", args.years, "Years A-B");
  s->add_option("--length", args.length, "Main-line length A-B in full moves");
  s->add_option("--results", args.results, "Accepted results: 0..5 or *, 1-0, =, 0-1, 1-0t, 0-1t, by commas");
  auto* fen = s->add_option("--fen", args.fen, "The position (FEN) on the board of --type, Russian by default");
  s->add_flag("--reversed", args.reversed, "Also the colour-reversed position");
  s->add_flag("--only-initial", args.onlyInitial, "Only the start position of each game");
  s->add_option("--side", args.side, "Side to move: white, black or both (default: the FEN's, else both)")
      ->check(CLI::IsMember({"white", "black", "both"}));
  s->add_option("--pattern", args.pattern, "One character per square: w W b B . (empty) ? (any)")->excludes(fen);
  s->add_option("--material", args.material, "Ranges KEY=A-B by commas, keys tot wm bm wk bk");
  s->add_option("--combination", args.combination, "FROM-TO:MIN: a capture of at least MIN pieces; * any square");
  s->add_flag("--deleted", args.deleted, "Only the games marked deleted");
  auto* comments = s->add_flag("--comments", args.comments, "Only commented games");
  auto* variations = s->add_flag("--variations", args.variations, "Only games with variations");
  s->add_flag("--uncommented", args.uncommented, "Only games without comments or variations")
      ->excludes(comments)
      ->excludes(variations);
  s->add_option("--type", args.type, "Only games of this type (name or 1..12)");
  s->callback([&exitCode] { exitCode = Search(args); });
});

}  // namespace
}  // namespace kestrel::cli
