// Games as Rich Text Format documents for a word processor: a centred title,
// the description line, the main line in bold, variations indented in
// brackets or inline in italics, comments with diagrams, glyphs and result.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "game/game.h"
#include "rules/board.h"

namespace kestrel {

inline constexpr const char* DiagramFontName = "Kestrel Draughts";
inline constexpr const char* DiagramFontFile = "KestrelDraughts.ttf";

enum class TRtfDiagrams {
  font,     // lines of characters in the diagram font
  picture,  // PNG pictures that need no font
};

struct TRtfOptions {
  int notation = 0;          // settings key "Notation": 0 full, 1 short, 2 extra short
  std::string takeChar = "x";
  int resultStyle = 1;       // settings key "ResType"
  bool showJamaican = false;
  bool poolWhiteBottom = false;
  TRtfDiagrams diagrams = TRtfDiagrams::font;
};

// A document built in memory: the header, one block per game, the end.
class TRtfDocument {
 public:
  explicit TRtfDocument(TRtfOptions options = {});

  // Writes game block `n` (the number in its title).
  void AddGame(int n, const TGame& game);
  // The whole document, closed.
  std::string Text() const;

 private:
  void Line(std::string_view text);
  void Diagram(const TBrd& board, int type);

  TRtfOptions options_;
  std::string header_;
  std::string body_;
  bool usesFont_ = false;
};

// The diagram block of a position in the diagram font (`WriteRTFDiagram`).
std::string RtfFontDiagram(const TBrd& board, int type, bool showJamaican = false, bool poolWhiteBottom = false);

// Title, description and comment text: backslashes doubled, braces escaped
// so that the document's groups stay balanced, line breaks as "\line".
std::string RtfEscaped(std::string_view text);

// The chosen file name with its extension replaced by ".rtf".
std::string RtfExportFileName(std::string_view chosen);

// Writes the document whole (a temporary file renamed into place).
bool WriteRtfFile(const std::filesystem::path& path, const TRtfDocument& document, std::string* error = nullptr);

}  // namespace kestrel
