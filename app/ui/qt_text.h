// Stored text (names, comments: 8-bit in the code page of the setting
// "CodePage") in the windows. Every widget takes game texts through this
// pair, which is built on AnsiToUtf8 and Utf8ToAnsi.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kestrel {

QString StoredToQt(std::string_view stored);
// Characters the code page cannot hold become their nearest form or "?";
// `lost` counts them.
std::string QtToStored(const QString& text);
std::string QtToStored(const QString& text, int& lost);

}  // namespace kestrel
