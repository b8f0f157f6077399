// File names of exports: the name the user chose with its extension
// replaced, so that "board.GIF" stays "board.gif" and "board.txt" becomes
// "board.gif".
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// `extension` with its dot (".gif"). A dot inside a folder name or at the
// start of the file name ("folder.d/.hidden") is no extension.
std::string WithExtension(std::string_view chosen, std::string_view extension);

}  // namespace kestrel
