// A look at a Windows bitmap's headers before it is decoded: a file cut
// short or with impossible sizes is refused instead of being shown with
// missing rows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

bool LooksLikeBmp(std::string_view bytes);

// What is wrong with the bitmap, or nothing when its headers are sound and
// the file holds all the pixel rows they announce. Compressed bitmaps are
// checked for their headers only.
std::optional<std::string> BmpDamage(std::string_view bytes);

}  // namespace kestrel
