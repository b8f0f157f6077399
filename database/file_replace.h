// Rewriting a whole file so that a crash at any moment leaves either the old
// contents or the new ones: the data goes to a temporary file in the same
// folder, reaches the disk, and is then renamed over the target.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// Raises TDatabaseError when the file cannot be replaced; the target is then
// unchanged and no temporary file is left behind.
void ReplaceFileContents(const std::string& path, std::string_view data);

// Adds `data` at the end of an existing file in one write; raises
// TDatabaseError when it cannot.
void AppendToFile(const std::string& path, std::string_view data);

}  // namespace kestrel
