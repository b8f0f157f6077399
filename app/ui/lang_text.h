// Entries of the language table as Qt strings. Below the windows' language
// binding, so that the board picture (drawn by kestrel-cli too, without any
// window) speaks the same language.
#pragma once

#include <QString>

#include <string>

namespace kestrel {

// The current text of entry n for a window (the 8-bit text converted).
QString LangQ(int n);

// Text the program keeps: UTF-8 stays, 8-bit text is taken in the code page.
QString ProgramTextQ(const std::string& text);

}  // namespace kestrel
