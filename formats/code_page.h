// Conversion between the 8-bit text the program keeps (the system's code
// page, Windows-1251) and the UTF-8 that many files are written in.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The code page of names, comments and text files.
inline constexpr const char* SystemCodePage = "WINDOWS-1251";

// True when `text` holds at least one multi-byte UTF-8 sequence and no
// malformed one. 8-bit Cyrillic text almost never passes: its letters are
// not followed by the continuation bytes UTF-8 needs.
bool IsUtf8WithNonAscii(std::string_view text);

// UTF-8 to the system code page; a character the code page lacks becomes
// its nearest form there, or "?".
std::string Utf8ToAnsi(std::string_view text);
// The same, adding to `lost` the characters that did not survive.
std::string Utf8ToAnsi(std::string_view text, int& lost);

// The system code page to UTF-8.
std::string AnsiToUtf8(std::string_view text);

// Lines of files in either form: UTF-8 lines are converted, others kept.
std::string ToAnsiText(std::string_view text);
std::string ToAnsiText(std::string_view text, int& lost);

// A UTF-8 byte order mark at the start is dropped.
std::string_view WithoutBom(std::string_view text);

}  // namespace kestrel
