// The opening ballots kept as text ("data/Ballots/ballot_lists.txt") and the
// ballot databases made from them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"

namespace kestrel {

struct TBallotLine {
  int lineNumber = 0;
  std::string label;  // "156" or "12-XXVI"
  int round = 0;      // the number, or the row
  int subround = 0;   // the column of a ROW-COLUMN label
  std::string text;   // moves, or "position ..."
  bool notInBrazilianTable = false;
};

struct TBallotFile {
  std::string name;        // "3move.abd"
  int type = 0;            // the game type the lines are written for
  std::string tournament;  // what the games' tournament field says
  std::vector<TBallotLine> lines;
};

// The files and their lines; a line that cannot be understood goes to
// `errors` with its number.
std::vector<TBallotFile> ParseBallotLists(std::string_view text, std::vector<std::string>& errors);

// The game of one line: its moves read from the start position, or the
// start position with men moved ("position W a1>a5 B d6>g5 white").
// False, with the reason, for a move that is not legal or a bad position.
bool MakeBallotGame(const TBallotFile& file, const TBallotLine& line, TGame& game, std::string& reason);

// Writes every file of `lists` into `folder` (replacing databases of those
// names). Returns the number of games written; lines that make no game go to
// `errors` and stop nothing else. Raises TDatabaseError.
int BuildBallotDatabases(const std::vector<TBallotFile>& lists, const std::string& folder,
                         std::vector<std::string>& errors);

}  // namespace kestrel
