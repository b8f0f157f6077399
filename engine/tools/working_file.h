// Working files of the endgame generator (in the "GEN" folders): the value
// array of one solved table, before cleaning and compression. Up to
// 2000000000 bytes: its length (signed 64-bit) and the array as one zlib
// stream; beyond that the raw array.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrel {

bool WriteWorkingFile(const std::filesystem::path& path, const std::vector<uint8_t>& values, std::string& error);
// Reads a working file that must hold `expectedBytes` bytes; on failure the
// message names the file ("Error loading <path> sz=<size>").
bool ReadWorkingFile(const std::filesystem::path& path, uint64_t expectedBytes, std::vector<uint8_t>& values,
                     std::string& error);

}  // namespace kestrel
