// A PDN file cut into games: the tag lines of each game and its move text
// as one line. Lines may end in CR LF, LF or CR; a byte order mark starts
// the file or not; lines written in UTF-8 are turned into the program's
// code page, others are taken as they are.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace kestrel {

struct TPdnRawGame {
  std::vector<std::string> tags;  // the tag lines, trimmed
  std::string moveText;           // the move text lines, trimmed, each followed by a blank
  int64_t firstLine = 0;          // line of the file where the game begins (1-based)
};

class TPdnSource {
 public:
  // Without `detectUtf8` every line is taken as 8-bit text, as this
  // program writes it.
  explicit TPdnSource(std::istream& in, bool detectUtf8 = true);

  // The next game; false at the end of the file. A game is its tag lines
  // (lines that begin with "["), then every following line up to the next
  // tag line. Empty lines and escape lines (beginning with "%") are left
  // out; ";" outside a comment starts a comment that runs to the end of its
  // line; a line beginning with "[" inside an open "{" comment is part of
  // the comment unless it looks like a tag; a tag after the moves on one
  // line starts the next game. Several tags may share a line. A game
  // without tags ends with its result, and the next one may follow at once,
  // also after a game with tags.
  bool Next(TPdnRawGame& game);

  int64_t BytesRead() const { return bytes_; }
  // Lines with characters the code page cannot hold (each became its
  // nearest form or "?").
  int LostLines() const { return lostLines_; }

 private:
  // A game or a piece of text between two results.
  bool NextPiece(TPdnRawGame& game);
  bool ReadLine(std::string& line);
  bool RawLine(std::string& line);
  // Adds a line of moves; where a tag begins inside it, the position of
  // that tag, which starts the next game.
  size_t AddMoveLine(std::string_view line, TPdnRawGame& game);

  std::istream& in_;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool skipLf_ = false;
  bool first_ = true;
  bool detectUtf8_ = true;
  bool eof_ = false;
  int64_t bytes_ = 0;
  int lostLines_ = 0;
  int64_t lineNumber_ = 0;
  bool held_ = false;  // `heldLine_` is the next line, already read
  std::string heldLine_;
  int depth_ = 0;  // open "{" in the move text being read
  int parens_ = 0;  // open "(" outside comments
  bool ended_ = false;  // the game ended by its result
  bool resultEndsLine_ = false;  // the last line read ended with a result
};

}  // namespace kestrel
