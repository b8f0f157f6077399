// Writing a game as PDN: the tag section and the move text in lines of
// about 70 characters.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "database/code_page.h"
#include "game/game.h"

namespace kestrel {

struct TPdnWriteOptions {
  bool italianTags = false;  // settings key "UseItalPDN"
  int resultStyle = 0;       // settings key "ResType": 0 "1-0", 1 "2-0"
  // The file's encoding: UTF-8 as PDN 3.0 has it, or an 8-bit code page.
  TCodePage encoding = TCodePage::utf8;
};

// The tag lines, each ended by CR LF.
std::string PdnTagSection(const TGame& game, const TPdnWriteOptions& options);

// The move text as one line: moves with numbers, comments, glyphs and
// variations, then the result.
std::string PdnMoveSection(const TGame& game, const TPdnWriteOptions& options);

// Cuts a long line after a blank at or beyond `width` characters from the
// start of each piece. Only a blank that stands alone and is not followed by
// "[", "%" or ";" is a cut point, so that reading the lines back (trimmed
// and joined by blanks) gives the same text and no piece starts a tag or an
// escape line.
std::vector<std::string> BreakPdnLine(std::string_view text, size_t width = 70);

// Tags, a blank line, the move text lines and a blank line, CR LF each, in
// the stored code page.
std::string PDNGameText(const TGame& game, const TPdnWriteOptions& options = {});

// The game as the file holds it, in `options.encoding`. Returns the number
// of characters that encoding could not hold.
int WritePDNGame(const TGame& game, std::ostream& out, const TPdnWriteOptions& options = {});

// The text of a comment as written between braces: line breaks become
// blanks and a brace without its partner becomes a parenthesis, so that the
// comment ends where it should when read back.
std::string PdnCommentText(std::string_view comment);

}  // namespace kestrel
