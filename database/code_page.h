// The one text model of the program. Names, comments and other texts are
// kept 8-bit, as the databases and the program's 8-bit files hold them, in
// the code page of the setting "CodePage"; windows, command lines and UTF-8
// files meet them through AnsiToUtf8 and Utf8ToAnsi, and through nothing
// else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

enum class TCodePage { windows1251, windows1252, utf8 };

// "Windows-1251" (what existing databases hold), "Windows-1252", "UTF-8".
inline constexpr const char* DefaultCodePageName = "Windows-1251";

// The code page of a name as the settings and the command line give it
// ("Windows-1251", "windows1251", "cp1251", "1251", "UTF-8", "utf8"), case
// ignored; nothing for a name the program does not know.
std::optional<TCodePage> ParseCodePage(std::string_view name);
// "Windows-1251", "Windows-1252" or "UTF-8".
const char* CodePageName(TCodePage page);

// The code page stored texts are in. Set once at start-up (and by a command
// line option); read from any thread.
TCodePage CurrentCodePage();
void SetCodePage(TCodePage page);

// True when `text` holds at least one multi-byte UTF-8 sequence and no
// malformed one. 8-bit Cyrillic text almost never passes: its letters are
// not followed by the continuation bytes UTF-8 needs.
bool IsUtf8WithNonAscii(std::string_view text);

// UTF-8 to stored text; a character the code page lacks becomes its
// nearest form there, or "?".
std::string Utf8ToAnsi(std::string_view text);
// The same, adding to `lost` the characters that did not survive.
std::string Utf8ToAnsi(std::string_view text, int& lost);

// Stored text to UTF-8.
std::string AnsiToUtf8(std::string_view text);

// Stored text in another code page (an 8-bit export), counting in `lost`
// the characters that page cannot hold.
std::string AnsiToCodePage(std::string_view text, TCodePage page, int& lost);

// Lines of files in either form to stored text: UTF-8 lines are converted;
// other lines are 8-bit text in the code page, or in Windows-1251 when the
// code page is UTF-8 (the form older files have).
std::string ToAnsiText(std::string_view text);
std::string ToAnsiText(std::string_view text, int& lost);

// A line of a text file the program reads for its windows (language files)
// to UTF-8: UTF-8 stays, 8-bit text is taken as ToAnsiText takes it.
std::string FileTextToUtf8(std::string_view text);

// A UTF-8 byte order mark at the start is dropped.
std::string_view WithoutBom(std::string_view text);

}  // namespace kestrel
