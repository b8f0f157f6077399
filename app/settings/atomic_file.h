// Files written whole: the data goes to a temporary file in the same folder,
// is flushed to disk, then renamed over the target. A crash or a full disk
// leaves either the old file or the new one, never a truncated one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrel {

// `mode` is the new file's permission bits: 0600 for files holding a
// password.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
                         std::string* error = nullptr, unsigned mode = 0644);

}  // namespace kestrel
