// kestrel-cli db: game databases from scripts.
//   db create FILE [--force]        an empty database
//   db info FILE                    version, games, deleted games, name counts
//   db list FILE [--from N] [--count K] [--lengths]
//                                   one tab-separated line per game
//   db show FILE N                  header, then the move text as PDN
//   db show FILE N --fen-after P    the FEN of the main line after P plies
//   db convert FILE                 an older version brought to version 30
//   db check FILE [--mark]          reads and replays every game, names the damaged ones
//                                   (--mark: and marks them deleted)
//                                   (unreadable, illegal or off-board moves, move text
//                                   the PDN import could not read)
// Names are printed as stored: 8-bit text in the Windows code page.
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/command_registry.h"
#include "database/code_page.h"
#include "cli/db_open.h"
#include "database/database_file.h"
#include "database/db_error.h"
#include "database/derived_header.h"
#include "database/game_io.h"
#include "database/game_replay_check.h"
#include "database/list_texts.h"
#include "database/maintenance/deleted_marks.h"
#include "formats/fen.h"
#include "formats/pdn_tags.h"
#include "formats/pdn_writer.h"
#include "game/event_line.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/quick_header.h"
#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel::cli {
namespace {

std::string TypeName(int type) { return IsValidGameType(type) ? std::string(GameTypeNames[type]) : std::to_string(type); }

// A game carrying only a header and its names, for the event line.
TGame HeaderGame(const TQuickGameHeader& q) {
  TGame game;
  game.Header = q.Header;
  SetGameNames(game, q);
  return game;
}

int Create(const std::string& path, bool force) {
  const std::string base = DatabaseBaseName(path);
  if (!force)
    for (const char* ext : {".abd", ".abm", ".abn"})
      if (std::filesystem::exists(base + ext)) {
        std::cerr << base + ext << " exists; use --force to replace the database\n";
        return ExitFailure;
      }
  try {
    TKestrelDB db;
    CreateDatabase(path, db);
    CloseDatabase(db);
  } catch (const TDatabaseError& e) {
    std::cerr << e.what() << '\n';
    return ExitFailure;
  }
  std::cout << base << ".abd\n";
  return ExitOk;
}

int Info(const std::string& path) {
  TKestrelDB db;
  if (!OpenForReading(path, db)) return ExitFailure;
  int deleted = 0, unreadable = 0;
  TGameHeader h;
  for (int32_t n = 1; n <= db.DBSize; ++n) {
    if (!ReadHeaderRecord(db, n, h))
      ++unreadable;
    else if (h.Flags & hfDeleted)
      ++deleted;
  }
  std::cout << "version: " << int(db.DBType) << '\n'
            << "games: " << db.DBSize << '\n'
            << "deleted: " << deleted << '\n'
            << "players: " << db.DBNames.Count() << '\n'
            << "tournaments: " << db.DBTourn.Count() << '\n'
            << "sites: " << db.DBSites.Count() << '\n';
  return ExitOk;
}

int List(const std::string& path, int from, int count, bool lengths) {
  TKestrelDB db;
  if (!OpenForReading(path, db)) return ExitFailure;
  const int64_t last = count < 0 ? db.DBSize : std::min<int64_t>(db.DBSize, int64_t{from} + count - 1);
  TQuickGameHeader q;
  for (int32_t n = std::max(from, 1); n <= last; ++n) {
    if (!ReadQuickHeader(db, n, q)) {
      std::cout << n << "\t(unreadable header)\n";
      continue;
    }
    const TGame game = HeaderGame(q);
    std::string marks = FlagMarks(q.Header.Flags);
    if (q.Header.Flags & hfDeleted) marks += 'D';
    std::cout << n << '\t' << AnsiToUtf8(q.WhiteName) << '\t' << AnsiToUtf8(q.BlackName) << '\t'
              << AnsiToUtf8(EventLine(game, true)) << '\t'
              << ResultText(q.Header.Result, 0) << '\t' << TypeName(q.Header.TypeOfGame) << '\t'
              << q.Header.GameLength << '\t' << marks;
    if (lengths) std::cout << '\t' << q.Header.Length;
    std::cout << '\n';
  }
  return ExitOk;
}

int Show(const std::string& path, int n) {
  TKestrelDB db;
  if (!OpenForReading(path, db)) return ExitFailure;
  if (n < 1 || n > db.DBSize) {
    std::cerr << path << " has no game " << n << " (it has " << db.DBSize << ")\n";
    return ExitBadInput;
  }
  TGame game;
  std::string message;
  if (!ReadDBGame(db, n, false, game, &message)) {
    std::cerr << message << '\n';
    return ExitFailure;
  }
  if (!message.empty()) std::cerr << message << '\n';
  const TGameHeader& h = game.Header;
  std::cout << "Game: " << n << '\n'
            << "White: " << AnsiToUtf8(game.WhiteName) << '\n'
            << "Black: " << AnsiToUtf8(game.BlackName) << '\n'
            << "Event: " << AnsiToUtf8(EventLine(game, true)) << '\n'
            << "Result: " << ResultText(h.Result, 0) << '\n'
            << "Type: " << TypeName(h.TypeOfGame) << '\n'
            << "Moves: " << h.GameLength << '\n';
  if (!game.CommentsBef[0].empty()) std::cout << "Opening: " << AnsiToUtf8(game.CommentsBef[0]) << '\n';
  if (!game.CommentsAft[0].empty()) std::cout << "Comment: " << AnsiToUtf8(game.CommentsAft[0]) << '\n';
  std::cout << '\n';
  for (const std::string& line : BreakPdnLine(PdnMoveSection(game, {}))) std::cout << AnsiToUtf8(TrimBlanks(line)) << '\n';
  return ExitOk;
}

// The FEN of the main line's position after `plies` plies, for a search.
int ShowFen(const std::string& path, int n, int plies) {
  TKestrelDB db;
  if (!OpenForReading(path, db)) return ExitFailure;
  TGame game;
  std::string message;
  if (n < 1 || n > db.DBSize || !ReadDBGame(db, n, false, game, &message) || !message.empty()) {
    std::cerr << (message.empty() ? path + " has no game " + std::to_string(n) : message) << '\n';
    return n < 1 || n > db.DBSize ? ExitBadInput : ExitFailure;
  }
  int slot = 0;
  for (int p = 0; p < plies; ++p) {
    slot = FirstChild(game, slot);
    if (slot == 0) {
      std::cerr << "game " << n << " has only " << p << " plies in its main line\n";
      return ExitBadInput;
    }
  }
  TBoard board;
  TDColor side;
  if (!PositionAt(game, slot, board, side)) return ExitFailure;
  std::cout << WriteFEN(board, side, game.Header.TypeOfGame) << '\n';
  return ExitOk;
}

int Convert(const std::string& path) {
  TKestrelDB db;
  TOpenResult r;
  try {
    r = OpenDatabase(path, db, true);
  } catch (const TDatabaseError& e) {
    std::cerr << e.what() << '\n';
    return ExitFailure;
  }
  for (const std::string& note : r.notes) std::cerr << note << '\n';
  if (!r.ok()) {
    std::cerr << path << ": " << (r.message.empty() ? std::string(CannotOpenText) : r.message) << '\n';
    return ExitFailure;
  }
  std::cout << db.DBNameIdx << ": version " << int(db.DBType) << ", " << db.DBSize << " games\n";
  return ExitOk;
}

int Check(const std::string& path, bool mark) {
  TKestrelDB db;
  // Marking writes the headers; a plain check only reads.
  if (!(mark ? OpenForWriting(path, db) : OpenForReading(path, db))) return ExitFailure;
  int damaged = 0;
  for (int32_t n = 1; n <= db.DBSize; ++n) {
    const TReplayCheck check = CheckDBGameReplay(db, n);
    if (check.ok) continue;
    if (mark) SetDeletedMark(db, n, true);
    // The reader's own messages name the game already.
    if (check.reason.rfind("Game ", 0) == 0)
      std::cout << check.reason << '\n';
    else
      std::cout << "Game " << n << ": " << check.reason << '\n';
    ++damaged;
  }
  std::cout << db.DBSize << " games, " << damaged << " damaged\n";
  return damaged == 0 ? ExitOk : ExitFailure;
}

const CommandRegistrar registrar("db", [](CLI::App& app, int& exitCode) {
  auto* db = app.add_subcommand("db", "Game databases (.abd with .abm and .abn beside it)");
  db->require_subcommand(1);

  struct Args {
    std::string file;
    bool force = false;
    int from = 1;
    int count = -1;
    int game = 0;
    int fenAfter = -1;
    bool lengths = false;
    bool mark = false;
  };
  static Args args;

  auto* create = db->add_subcommand("create", "Create an empty database");
  create->add_option("FILE", args.file, "Database file")->required();
  create->add_flag("--force", args.force, "Replace an existing database");
  create->callback([&exitCode] { exitCode = Create(args.file, args.force); });

  auto* info = db->add_subcommand("info", "Version, games, deleted games, players, tournaments, sites");
  info->add_option("FILE", args.file, "Database file")->required();
  info->callback([&exitCode] { exitCode = Info(args.file); });

  auto* list = db->add_subcommand(
      "list", "One line per game: NUMBER WHITE BLACK EVENT RESULT TYPE LENGTH MARKS, separated by tabs");
  list->add_option("FILE", args.file, "Database file")->required();
  list->add_option("--from", args.from, "First game number")->check(CLI::PositiveNumber);
  list->add_option("--count", args.count, "Number of games")->check(CLI::NonNegativeNumber);
  list->add_flag("--lengths", args.lengths, "Add the stored length of each game in bytes as the last column");
  list->callback([&exitCode] { exitCode = List(args.file, args.from, args.count, args.lengths); });

  auto* show = db->add_subcommand("show", "The header of game N and its move text as PDN");
  show->add_option("FILE", args.file, "Database file")->required();
  show->add_option("N", args.game, "Game number")->required();
  show->add_option("--fen-after", args.fenAfter, "Print only the FEN of the main line after this many plies")
      ->check(CLI::NonNegativeNumber);
  show->callback([&exitCode] {
    exitCode = args.fenAfter >= 0 ? ShowFen(args.file, args.game, args.fenAfter) : Show(args.file, args.game);
  });

  auto* convert = db->add_subcommand("convert", "Convert a database of versions 20 to 29 to version 30");
  convert->add_option("FILE", args.file, "Database file")->required();
  convert->callback([&exitCode] { exitCode = Convert(args.file); });

  auto* check = db->add_subcommand("check", "Read and replay every game and list the damaged ones");
  check->add_option("FILE", args.file, "Database file")->required();
  check->add_flag("--mark", args.mark, "Mark the damaged games deleted (a clean-up then removes them)");
  check->callback([&exitCode] {
    try {
      exitCode = Check(args.file, args.mark);
    } catch (const TDatabaseError& e) {
      std::cerr << e.what() << '\n';
      exitCode = ExitFailure;
    }
  });

  AddRegisteredSubcommands("db", *db, exitCode);
});

}  // namespace
}  // namespace kestrel::cli
