// kestrel-cli db dedupe DB [options]: duplicate groups, one line per game:
// the group's first game, then its later members marked with "+" (these get
// the deleted mark unless --no-mark).
#include <iostream>

#include "cli/command_registry.h"
#include "database/code_page.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/game_io.h"
#include "database/maintenance/duplicates.h"

namespace kestrel::cli {
namespace {

struct Args {
  std::string file;
  bool names = false, year = false, tournament = false, noMoves = false, noStart = false, partial = false,
       withoutCaptures = false, slow = false, noMark = false;
};

int Dedupe(const Args& a) {
  TKestrelDB db;
  if (!OpenForWriting(a.file, db)) return ExitFailure;
  TMatchOptions o;
  o.names = a.names;
  o.year = a.year;
  o.tournament = a.tournament;
  o.moves = !a.noMoves;
  o.startPosition = !a.noStart;
  o.partial = a.partial;
  o.withoutCaptures = a.withoutCaptures;
  o.fast = !a.slow;
  TGameList list;
  const TMatchResult r = MatchGames(db, o, list, !a.noMark);
  TQuickGameHeader q;
  for (const TMatchEntry& e : r.entries) {
    if (!ReadQuickHeader(db, e.num, q)) q = {};
    std::cout << (e.duplicate ? "+ " : "") << e.num << '\t' << AnsiToUtf8(q.WhiteName) << '\t' << AnsiToUtf8(q.BlackName) << '\t'
              << AnsiToUtf8(q.Tournament) << '\n';
  }
  std::cout << r.groups << " groups, " << r.duplicates << " duplicates"
            << (a.noMark || r.duplicates == 0 ? "" : " marked deleted") << '\n';
  return ExitOk;
}

const SubcommandRegistrar registrar("db", "dedupe", [](CLI::App& db, int& exitCode) {
  auto a = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("dedupe", "Find duplicate games; later copies are marked deleted");
  cmd->add_option("DB", a->file, "Database file")->required();
  cmd->add_flag("--names", a->names, "Compare the players");
  cmd->add_flag("--year", a->year, "Compare the year");
  cmd->add_flag("--tournament", a->tournament, "Compare tournament, round and game");
  cmd->add_flag("--no-moves", a->noMoves, "Do not compare the moves");
  cmd->add_flag("--no-start", a->noStart, "Do not compare the start positions");
  cmd->add_flag("--partial", a->partial, "The shorter game's moves need only begin the longer one's");
  cmd->add_flag("--without-captures", a->withoutCaptures, "Leave captures out of the move comparison");
  cmd->add_flag("--slow", a->slow, "Compare all games with each other instead of sorting by moves first");
  cmd->add_flag("--no-mark", a->noMark, "Only print the groups");
  cmd->callback([a, &exitCode] { exitCode = RunGuarded([&] { return Dedupe(*a); }); });
});

}  // namespace
}  // namespace kestrel::cli
