// kestrel-cli book: opening books.
//   book build DB BOOK.cbk [--max-moves N] [--min-pieces N] [--clear]
//   book show BOOK.cbk --fen FEN [--type T]
//        one line per legal move: MOVE STAT EVAL FREQ QUAL CLASS, tab-separated
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/book_builder.h"
#include "formats/fen.h"
#include "game/opening_tree.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

struct Args {
  std::string db, book, fen, type = "russian";
  int maxMoves = 255, minPieces = 0;
  bool clear = false;
};

int Build(const Args& a) {
  TKestrelDB db;
  if (!OpenForReading(a.db, db)) return ExitFailure;
  TGameList list;
  list.Reset(db.DBSize);
  TBookBuildOptions o;
  o.maxMoves = a.maxMoves;
  o.minPieces = a.minPieces;
  o.clearStatistics = a.clear;
  const TBookBuildReport r = BuildBookFromDatabase(db, list, a.book, o);
  std::cout << r.games << " games, " << r.positions << " positions, " << r.records << " records in " << a.book
            << '\n';
  return ExitOk;
}

int Show(const Args& a) {
  const auto type = ParseGameType(a.type);
  if (!type) {
    std::cerr << "unknown game type " << a.type << '\n';
    return ExitBadInput;
  }
  std::string error;
  const auto pos = ReadFEN(a.fen, *type, &error);
  if (!pos) {
    std::cerr << "bad FEN: " << error << '\n';
    return ExitBadInput;
  }
  TOpeningBook book;
  book.BookIni(a.book);
  if (!book.IsOpen()) {
    std::cerr << a.book << ": cannot open the book\n";
    return ExitFailure;
  }
  TOpenMoves tree;
  BuildOpeningTree(book, pos->board, pos->firstMover, *type, tree);
  if (tree.Op_moves == 0) std::cerr << "no legal moves in this position\n";
  static const char* const classes[] = {"-", "weak", "book", "good"};
  if (!tree.openposcomm.empty()) std::cout << tree.openposcomm << '\n';
  for (int i = 1; i <= tree.Op_moves; ++i) {
    const TOpenMove& e = tree.openmoves[i];
    std::cout << e.move << '\t' << e.stat << '\t' << e.eval << '\t' << int(e.freq) << '\t' << int(e.qual) << '\t'
              << classes[e.col & 3] << '\n';
  }
  return ExitOk;
}

const CommandRegistrar registrar("book", [](CLI::App& app, int& exitCode) {
  auto* book = app.add_subcommand("book", "Opening books (.cbk)");
  book->require_subcommand(1);
  auto a = std::make_shared<Args>();
  auto* build = book->add_subcommand("build", "Add the positions of a database's games to a book");
  build->add_option("DB", a->db, "Database file")->required();
  build->add_option("BOOK", a->book, "Book file (created when missing)")->required();
  build->add_option("--max-moves", a->maxMoves, "Moves per game taken (1-255)")->capture_default_str()->check(CLI::Range(1, 255));
  build->add_option("--min-pieces", a->minPieces, "Stop a line below this many pieces")->capture_default_str()
      ->check(CLI::NonNegativeNumber);
  build->add_flag("--clear", a->clear, "Drop the old game counts (positions, signs and comments stay)");
  build->callback([a, &exitCode] { exitCode = RunGuarded([&] { return Build(*a); }); });

  auto* show = book->add_subcommand("show", "The book's moves from a position");
  show->add_option("BOOK", a->book, "Book file")->required();
  show->add_option("--fen", a->fen, "Position as FEN")->required();
  show->add_option("--type", a->type, "Game type, name or number")->capture_default_str();
  show->callback([a, &exitCode] { exitCode = Show(*a); });
});

}  // namespace
}  // namespace kestrel::cli
