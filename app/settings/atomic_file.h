// Files written whole: the data goes to a temporary file in the same folder,
// is flushed to disk, then renamed over the target. A crash or a full disk
// leaves either the old file or the new one, never a truncated one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrel {

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
                         std::string* error = nullptr);

}  // namespace kestrel
