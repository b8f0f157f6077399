#include "app/export/export_file_name.h"

namespace kestrel {

std::string WithExtension(std::string_view chosen, std::string_view extension) {
  const size_t slash = chosen.find_last_of("/\\");
  const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t dot = chosen.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot > nameStart;
  return std::string(hasExtension ? chosen.substr(0, dot) : chosen) + std::string(extension);
}

}  // namespace kestrel
