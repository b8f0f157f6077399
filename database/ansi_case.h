// Letter case of 8-bit names in the system's ANSI code page, Windows-1251:
// ASCII letters and the Cyrillic letters of that code page. Other bytes have
// no case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

uint8_t AnsiUpperChar(uint8_t c);
std::string AnsiUpperCase(std::string_view text);
uint8_t AnsiLowerChar(uint8_t c);
std::string AnsiLowerCase(std::string_view text);

}  // namespace kestrel
