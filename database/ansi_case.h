// Letter case of stored 8-bit names, in the code page of the setting
// "CodePage" (database/code_page.h): Windows-1251 has the ASCII and Cyrillic
// letters, Windows-1252 the ASCII and Western European letters, and UTF-8
// text is decoded so that Latin, Greek and Cyrillic letters fold. Other
// characters have no case and stay as they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/code_page.h"

namespace kestrel {

// One byte of an 8-bit code page; under UTF-8 only the ASCII letters, since
// every other letter takes more than one byte.
uint8_t AnsiUpperChar(uint8_t c, TCodePage page = CurrentCodePage());
uint8_t AnsiLowerChar(uint8_t c, TCodePage page = CurrentCodePage());

std::string AnsiUpperCase(std::string_view text, TCodePage page = CurrentCodePage());
std::string AnsiLowerCase(std::string_view text, TCodePage page = CurrentCodePage());

}  // namespace kestrel
