// Entry points shared by the libFuzzer harnesses and the regression test that
// replays their corpora. Each takes arbitrary bytes and returns an empty text
// when every property held, else what went wrong; crashes and sanitizer
// reports are faults as well.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "database/database_file.h"
#include "database/db_error.h"
#include "database/game_blob.h"
#include "database/game_io.h"
#include "database/names_file.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "game/tree_check.h"
#include "rules/game_types.h"

namespace kestrel::fuzz {

// Two decoded games hold the same stored content.
inline std::string CompareStored(const TGame& a, const TGame& b) {
  if (a.Header.LastMove != b.Header.LastMove) return "LastMove differs";
  if (a.StartBoard != b.StartBoard) return "start position differs";
  if (a.CommentsAft[0] != b.CommentsAft[0]) return "game comment differs";
  for (int i = 1; i <= a.Header.LastMove; ++i) {
    const TMove& x = a.Moves[i];
    const TMove& y = b.Moves[i];
    if (x.free != y.free || x.main != y.main || x.parent != y.parent || x.comm != y.comm || x.flags != y.flags ||
        x.lt != y.lt || !std::equal(x.mv.begin(), x.mv.begin() + x.UsedBytes(), y.mv.begin()) ||
        a.CommentsBef[i] != b.CommentsBef[i] || a.CommentsAft[i] != b.CommentsAft[i])
      return "slot " + std::to_string(i) + " differs";
  }
  return {};
}

// Input: version selector, game type, LastMove (2 bytes big-endian), blob.
// A blob that decodes gives a sound tree, and its version-30 encoding decodes
// to the same game.
inline std::string BlobDecoderInput(std::span<const uint8_t> data) {
  if (data.size() < 4) return {};
  const int version = 20 + data[0] % 11;
  const int type = 1 + data[1] % GameTypeCount;
  const int last = (data[2] << 8) | data[3];
  const std::span<const uint8_t> blob = data.subspan(4);
  TGame game;
  game.Header.TypeOfGame = static_cast<uint8_t>(type);
  game.Header.LastMove = last;
  std::string error;
  if (!DecodeGameBlob(blob, version, game, error)) return error.empty() ? "failure without a reason" : std::string{};
  const std::string fault = CheckMoveTree(game);
  if (!fault.empty()) return "accepted a damaged tree: " + fault;
  std::vector<uint8_t> again;
  EncodeGameBlob(game, again);
  TGame copy;
  copy.Header.TypeOfGame = static_cast<uint8_t>(type);
  copy.Header.LastMove = game.Header.LastMove;
  if (!DecodeGameBlob(again, 30, copy, error)) return "its own encoding does not decode: " + error;
  return CompareStored(game, copy);
}

// A names file read, written and read again gives the same three lists, and
// lookup finds every entry at or below its index.
inline std::string NamesFileInput(std::span<const uint8_t> data) {
  const std::string text(data.begin(), data.end());
  TNameList players, tournaments, sites;
  ParseNamesFile(text, players, tournaments, sites);
  TNameList p2, t2, s2;
  ParseNamesFile(FormatNamesFile(players, tournaments, sites), p2, t2, s2);
  for (auto [a, b] : {std::pair{&players, &p2}, {&tournaments, &t2}, {&sites, &s2}}) {
    if (a->Names() != b->Names()) return "names changed on a round trip";
    for (int32_t i = 0; i < a->Count(); ++i) {
      const int32_t found = a->Find((*a)[i]);
      if (found < 0 || found > i) return "lookup misses entry " + std::to_string(i);
    }
  }
  return {};
}

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scratch folder per process for the three files of the database input.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path root =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string dir = (root / "kestrel-dbfuzz-XXXXXX").string();
    if (!mkdtemp(dir.data())) std::abort();
    return std::filesystem::path(dir);
  }();
  return folder;
}

// Input: the sizes of the index and main files (2 bytes each, big-endian),
// then the index file, the main file and the names file. The database opens
// or is refused; every game reads or is reported; a new game is stored and
// reads back; the main file only grows at its end.
inline std::string DatabaseFilesInput(std::span<const uint8_t> data, bool* opened = nullptr) {
  if (opened) *opened = false;
  if (data.size() < 4) return {};
  std::size_t idxSize = (data[0] << 8) | data[1];
  std::size_t mainSize = (data[2] << 8) | data[3];
  std::span<const uint8_t> rest = data.subspan(4);
  idxSize = std::min(idxSize, rest.size());
  mainSize = std::min(mainSize, rest.size() - idxSize);
  const std::filesystem::path& dir = ScratchFolder();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) std::filesystem::remove(e.path(), ec);
  const auto put = [&](const char* name, std::span<const uint8_t> bytes) {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  };
  put("f.abd", rest.first(idxSize));
  put("f.abm", rest.subspan(idxSize, mainSize));
  put("f.abn", rest.subspan(idxSize + mainSize));

  TKestrelDB db;
  const TOpenResult r = OpenDatabase((dir / "f.abd").string(), db, true);
  if (!r.ok()) return {};
  if (opened) *opened = true;
  if (db.DBType != CurrentDBVersion) return "opened a database that is not version 30";
  TGame game;
  for (int32_t n = 1; n <= db.DBSize && n <= 2000; ++n) {
    std::string message;
    if (!ReadDBGame(db, n, false, game, &message) && message.empty()) return "a failed read without a reason";
    if (game.Header.LastMove > 0 && !CheckMoveTree(game).empty()) return "read a damaged tree";
  }
  TGame extra;
  NewGame(extra, gtInternational);
  for (int i = 1, node = 0; i <= 10; ++i) {
    TMove m;
    m.mv[0] = static_cast<uint8_t>(i);
    m.mv[1] = static_cast<uint8_t>(i + 5);
    node = AddMove(extra, node, m).slot;
  }
  extra.WhiteName = "Fuzz";
  const int64_t end = db.DBMain.Size();
  const std::vector<uint8_t> before = ReadFile(dir / "f.abm");
  int32_t n = 0;
  try {
    n = WriteDBGame(extra, 0, db, true);
  } catch (const TDatabaseError&) {
    return {};
  }
  if (extra.Header.Offset != end) return "an appended game was not put at the end";
  const std::vector<uint8_t> after = ReadFile(dir / "f.abm");
  if (after.size() < before.size() || !std::equal(before.begin(), before.end(), after.begin()))
    return "storing a game changed bytes of the main file before its end";
  TGame back;
  std::string message;
  if (!ReadDBGame(db, n, false, back, &message)) return "the new game does not read back: " + message;
  if (back.WhiteName != "Fuzz") return "the new game lost its name";
  return CompareStored(extra, back);
}

}  // namespace kestrel::fuzz
