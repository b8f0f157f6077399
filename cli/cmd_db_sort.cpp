// kestrel-cli db sort DB --keys date,white,... [--save]: prints the games in
// sorted order; --save rewrites the database's index in that order.
#include <iostream>
#include <sstream>

#include "cli/command_registry.h"
#include "database/code_page.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/game_io.h"
#include "database/list_texts.h"
#include "database/maintenance/game_sort.h"

namespace kestrel::cli {
namespace {

int Sort(const std::string& file, const std::string& keyText, bool save) {
  std::vector<TSortKey> keys;
  std::istringstream in(keyText);
  for (std::string k; std::getline(in, k, ',');) {
    const auto key = ParseSortKey(k);
    if (!key) {
      std::cerr << SortOptionsErrorText << " Unknown key '" << k
                << "'; keys: tournament, round, date, white, black, site, annotator, result, length\n";
      return ExitBadInput;
    }
    keys.push_back(*key);
  }
  TKestrelDB db;
  if (!OpenForWriting(file, db)) return ExitFailure;
  TGameList list;
  list.Reset(db.DBSize);
  SortGameList(db, list, keys);
  if (save) {
    SaveSortOrder(db, list);
    std::cout << db.DBSize << " games saved in sorted order\n";
    return ExitOk;
  }
  TQuickGameHeader q;
  for (int32_t i = 1; i <= list.GameListCount; ++i) {
    if (!ReadQuickHeader(db, list[i].num, q)) continue;
    std::cout << list[i].num << '\t' << AnsiToUtf8(q.WhiteName) << '\t' << AnsiToUtf8(q.BlackName) << '\t'
              << ListDateText(q.Header.Date) << '\t' << AnsiToUtf8(q.Tournament) << '\n';
  }
  return ExitOk;
}

const SubcommandRegistrar registrar("db", "sort", [](CLI::App& db, int& exitCode) {
  struct Args {
    std::string file, keys = "tournament,round,date,white,black,site,annotator,result,length";
    bool save = false;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("sort", "Sort the games by header keys: NUMBER WHITE BLACK DATE TOURNAMENT per line");
  cmd->add_option("DB", args->file, "Database file")->required();
  cmd->add_option("--keys", args->keys, "Keys in priority order, comma-separated")->capture_default_str();
  cmd->add_flag("--save", args->save, "Rewrite the database in this order (game numbers change)");
  cmd->callback([args, &exitCode] {
    exitCode = RunGuarded([&] { return Sort(args->file, args->keys, args->save); });
  });
});

}  // namespace
}  // namespace kestrel::cli
