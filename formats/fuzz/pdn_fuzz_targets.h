// Entry points shared by the libFuzzer harnesses of the PDN reader and the
// text conversion and by the test that replays their corpora. Each takes
// arbitrary bytes and returns an empty text when every property held, else
// what went wrong; crashes and sanitizer reports are faults as well.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "formats/pdn_game_reader.h"
#include "formats/pdn_source.h"
#include "formats/pdn_writer.h"
#include "formats/text_import.h"
#include "game/tree_check.h"
#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel::fuzz {

// Written text is read as the 8-bit text it is: a line of it that happens
// to be valid UTF-8 would otherwise be converted.
inline std::vector<TGame> ReadPdnText(const std::string& text, int defaultType, int* damaged, bool detectUtf8 = true) {
  std::istringstream in(text);
  TPdnSource source(in, detectUtf8);
  TPdnRawGame raw;
  std::vector<TGame> games;
  *damaged = 0;
  while (source.Next(raw)) {
    games.emplace_back();
    if (!ReadPdnGame(raw, defaultType, games.back()).complete) ++*damaged;
  }
  return games;
}

// Input: a byte choosing the fallback game type and the Pool notation, then
// the file. Every game read has a sound tree; written out, it reads back
// whole, and written again gives the same text.
inline std::string PdnReaderInput(std::span<const uint8_t> data) {
  if (data.empty()) return {};
  const int type = 1 + data[0] % GameTypeCount;
  const bool savedPool = PoolChessNotation;
  PoolChessNotation = (data[0] & 0x80) != 0;
  const std::string text(data.begin() + 1, data.end());
  int damaged = 0;
  std::string fault;
  for (const TGame& game : ReadPdnText(text, type, &damaged)) {
    fault = CheckMoveTree(game);
    if (!fault.empty()) break;
    const std::string written = PDNGameText(game);
    int again = 0;
    const std::vector<TGame> back = ReadPdnText(written, type, &again, false);
    if (back.size() != 1) {
      fault = "a written game reads as " + std::to_string(back.size()) + " games:\n" + written;
      break;
    }
    if (again != 0) {
      fault = "a written game does not read back whole:\n" + written;
      break;
    }
    if (PDNGameText(back[0]) != written) {
      fault = "a written game reads back different:\n" + written + "\n---\n" + PDNGameText(back[0]);
      break;
    }
  }
  PoolChessNotation = savedPool;
  return fault;
}

// Any text converts to PDN whose games the reader takes, each with the four
// tags written.
inline std::string TextImportInput(std::span<const uint8_t> data) {
  const std::string text(data.begin(), data.end());
  int games = 0;
  const std::string pdn = ConvertText(text, &games);
  int damaged = 0;
  const std::vector<TGame> read = ReadPdnText(pdn, gtRussian, &damaged);
  if (static_cast<int>(read.size()) != games)
    return std::to_string(games) + " games written, " + std::to_string(read.size()) + " read:\n" + pdn;
  for (const TGame& game : read) {
    const std::string fault = CheckMoveTree(game);
    if (!fault.empty()) return fault;
  }
  return {};
}

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kestrel::fuzz
