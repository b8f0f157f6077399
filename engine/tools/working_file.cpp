#include "engine/tools/working_file.h"

#include <zlib.h>

#include <new>
#include <system_error>

#include "engine/endgame/table_file.h"

namespace kestrel {

namespace {
constexpr uint64_t CompressedLimit = 2000000000;
}

bool WriteWorkingFile(const std::filesystem::path& path, const std::vector<uint8_t>& values, std::string& error) {
  if (values.size() > CompressedLimit) return WriteWholeFile(path, values, error);
  std::vector<uint8_t> out(8 + compressBound(values.size()));
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(uint64_t{values.size()} >> (8 * i));
  uLongf length = out.size() - 8;
  if (compress2(out.data() + 8, &length, values.data(), values.size(), 1) != Z_OK) {
    error = "cannot compress " + path.string();
    return false;
  }
  out.resize(8 + length);
  return WriteWholeFile(path, out, error);
}

bool ReadWorkingFile(const std::filesystem::path& path, uint64_t expectedBytes, std::vector<uint8_t>& values,
                     std::string& error) {
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = "Needed file " + path.string() + " does not exists!";
    return false;
  }
  const std::string loading = "Error loading " + path.string();
  if (size == 0) {
    error = loading + " sz=0";
    return false;
  }
  std::vector<uint8_t> bytes;
  try {
    if (!ReadWholeFile(path, bytes, error)) return false;
    if (expectedBytes > CompressedLimit) {
      if (bytes.size() != expectedBytes) {
        error = loading + " sz=" + std::to_string(size);
        return false;
      }
      values = std::move(bytes);
      return true;
    }
    uint64_t length = 0;
    for (int i = 7; i >= 0 && bytes.size() >= 8; --i) length = length << 8 | bytes[i];
    if (bytes.size() < 8 || length != expectedBytes) {
      error = loading + " sz=" + std::to_string(size);
      return false;
    }
    values.assign(expectedBytes, 0);
  } catch (const std::bad_alloc&) {
    error = loading + " arrsz=" + std::to_string(expectedBytes);
    return false;
  }
  uLongf out = expectedBytes;
  if (uncompress(values.data(), &out, bytes.data() + 8, bytes.size() - 8) != Z_OK || out != expectedBytes) {
    error = loading + " sz=" + std::to_string(size) + " (damaged)";
    return false;
  }
  return true;
}

}  // namespace kestrel
