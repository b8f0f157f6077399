// Games written as plain text (a line with the players, then lines of
// moves, in Latin or Cyrillic script) turned into PDN. Works on lines and
// characters of the program's code page, Windows-1251; no move is checked.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The Latin and Cyrillic letters, the same letter at the same place.
extern const std::string LowerAlphabet;
extern const std::string UpperAlphabet;

// Lower case through the two alphabets; other bytes stay.
std::string AlphabetLowerCase(std::string_view text);

// Blanks at both ends removed, every run of blanks made one blank.
void CollapseSpaces(std::string& text);

// A line is a header when more than a fifth of its characters are neither
// blanks nor characters of moves and scores.
bool IsHeaderLine(std::string_view line);

// The result written for the first of the 60 result spellings found in
// `line` ("1-0", "1/2-1/2", "0-1", "1-0t" or "0-1t"); with `cut` that
// spelling is replaced by a blank.
std::optional<std::string> FindResult(std::string& line, bool cut);

// The same for lines of moves, where only a spelling standing alone counts
// ("12-08" holds "2-0" but is a move) and it is always cut, so that the
// move text keeps only moves.
std::optional<std::string> FindResultInMoves(std::string& line);

// The state of one conversion: the names, event and result of the game
// being collected and its move lines.
class TTextConverter {
 public:
  explicit TTextConverter(std::ostream& out) : out_(out) {}

  // One input line, as read.
  void ProcessLine(std::string line);
  void ParseHeaderLine(std::string line);
  // Writes the game collected so far, if it has move lines.
  void FlushGame();

  int GamesWritten() const { return games_; }
  const std::string& WhiteName() const { return white_; }
  const std::string& BlackName() const { return black_; }
  const std::string& Event() const { return event_; }
  const std::string& Result() const { return result_; }
  const std::vector<std::string>& MoveLines() const { return moveLines_; }

 private:
  void Line(std::string_view text);

  std::ostream& out_;
  std::string white_, black_, event_, result_;
  std::vector<std::string> moveLines_;
  int games_ = 0;
};

// The PDN text of a whole text file's contents.
std::string ConvertText(std::string_view text, int* games = nullptr);

// Reads the text file `path` and writes path + ".pdn", replacing it; the
// number of games written. Raises TPdnFileError.
int ConvertTextFile(const std::string& path);

}  // namespace kestrel
