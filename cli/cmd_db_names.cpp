// kestrel-cli db names DB tournaments|sorted|correct|gambler|transliterate.
//   tournaments   the summary: No,Tournament,Site,Year,Games lines, then the totals
//   sorted        the player names sorted, one per line
//   correct       a blank before capitals inside player names
//   gambler       tournament names cut before "game" and trailing numbers
//   transliterate Cyrillic names in Latin letters (asks for --yes)
#include <iostream>

#include "cli/command_registry.h"
#include "database/code_page.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/name_tools.h"
#include "database/names_file.h"

namespace kestrel::cli {
namespace {

struct Args {
  std::string file, tool;
  int moreThan = 0;
  bool noBlanks = false, yes = false;
};

int Names(const Args& a) {
  if (a.tool == "transliterate" && !a.yes) {
    std::cerr << "This will transliterate cyrillic names into latin. Operation cannot be undone! Add --yes to go on.\n";
    return ExitBadInput;
  }
  TKestrelDB db;
  if (!OpenForWriting(a.file, db)) return ExitFailure;
  if (a.tool == "tournaments") {
    TGameList list;
    list.Reset(db.DBSize);
    const auto shown = ShownTournaments(TournamentSummary(db, list), a.moreThan, a.noBlanks);
    std::string text = TournamentListText(shown);
    for (char& c : text)
      if (c == '\r') c = ' ';
    for (std::size_t at; (at = text.find(" \n")) != std::string::npos;) text.erase(at, 1);
    std::cout << AnsiToUtf8(text) << TournamentTotals(shown) << '\n';
    return ExitOk;
  }
  if (a.tool == "sorted") {
    std::string text = SortedNamesText(db);
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    std::cout << AnsiToUtf8(text);
    return ExitOk;
  }
  int32_t changed = 0;
  if (a.tool == "correct")
    changed = CorrectPlayerNames(db);
  else if (a.tool == "gambler")
    changed = GamblerRenameTournaments(db);
  else
    changed = TransliterateNames(db);
  SaveDBNames(db);
  std::cout << changed << " names changed\n";
  return ExitOk;
}

const SubcommandRegistrar registrar("db", "names", [](CLI::App& db, int& exitCode) {
  auto a = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("names", "Tools on the name lists");
  cmd->add_option("DB", a->file, "Database file")->required();
  cmd->add_option("TOOL", a->tool, "tournaments, sorted, correct, gambler or transliterate")
      ->required()
      ->check(CLI::IsMember({"tournaments", "sorted", "correct", "gambler", "transliterate"}));
  cmd->add_option("--more-than", a->moreThan, "tournaments: only rows with more games than this")
      ->check(CLI::Range(0, 999));
  cmd->add_flag("--no-blanks", a->noBlanks, "tournaments: leave out games without a tournament");
  cmd->add_flag("--yes", a->yes, "transliterate: confirm");
  cmd->callback([a, &exitCode] { exitCode = RunGuarded([&] { return Names(*a); }); });
});

}  // namespace
}  // namespace kestrel::cli
