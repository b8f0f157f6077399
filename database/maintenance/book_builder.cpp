#include "database/maintenance/book_builder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "database/file_replace.h"
#include "database/game_io.h"
#include "game/glyphs.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

int PieceCount(const TBrd& b, int type) {
  int n = 0;
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s) n += b[s] != 0;
  return n;
}

uint16_t CappedSum(uint16_t a, uint16_t b) { return static_cast<uint16_t>(std::min<int>(a + b, BookCountCap)); }

std::vector<TOpen> ReadBookRecords(const std::string& path, bool clearStatistics) {
  std::vector<TOpen> records;
  std::ifstream in(path, std::ios::binary);
  if (!in) return records;
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::array<uint8_t, BookRecordSize> bytes;
  for (std::size_t at = 0; at + BookRecordSize <= data.size(); at += BookRecordSize) {
    std::copy_n(reinterpret_cast<const uint8_t*>(data.data()) + at, BookRecordSize, bytes.begin());
    TOpen r = DecodeBookRecord(bytes);
    if (clearStatistics) r.wh = r.dr = r.bl = 0;
    records.push_back(r);
  }
  return records;
}

std::vector<int32_t> ChosenGames(const TGameList& list) {
  std::vector<int32_t> games;
  for (int32_t i = 1; i <= list.GameListCount; ++i)
    if (list[i].selected) games.push_back(list[i].num);
  if (games.empty())
    for (int32_t i = 1; i <= list.GameListCount; ++i) games.push_back(list[i].num);
  return games;
}

}  // namespace

uint8_t BookSignOfGlyph(int glyph) {
  if (glyph < 0 || glyph >= static_cast<int>(MoveGlyphs.size())) return 0;
  return static_cast<uint8_t>(glyph < BookSignNone ? glyph : glyph + 1);
}

void AddGamePositions(const TGame& game, const TBookBuildOptions& options, std::vector<TOpen>& out) {
  TBoard start;
  TDColor first;
  if (!PositionAt(game, 0, start, first)) return;
  const int type = GameTypeOf(game);
  const uint8_t result = game.Header.Result;
  struct TFrame {
    int node;
    TBoard board;
    TDColor side;  // to move in `board`
    int ply;
    bool main;
  };
  std::vector<TFrame> stack{{0, start, first, 0, true}};
  std::size_t visited = 0;
  while (!stack.empty() && visited++ <= static_cast<std::size_t>(game.SlotCount())) {
    const TFrame f = stack.back();
    stack.pop_back();
    if (f.ply > 2 * options.maxMoves) continue;
    if (PieceCount(f.board.b, type) < options.minPieces) continue;
    if (f.node != 0) {
      TOpen r;
      r.position = BookNormalForm(f.board.b, f.side, type);
      r.eval = BookNoEval;
      r.sign = BookSignOfGlyph(MoveGlyphCode(game.Moves[f.node].comm));
      if (f.main) {
        if (result == 2) r.dr = 1;
        const bool whiteToMove = f.side == TDColor::white;
        if (result == 1) (whiteToMove ? r.wh : r.bl) = 1;
        if (result == 3) (whiteToMove ? r.bl : r.wh) = 1;
      }
      out.push_back(r);
    }
    const std::vector<int32_t> children = Children(game, f.node);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      TBoard next = f.board;
      ApplyMove(game.Moves[*it], next, type);
      stack.push_back({*it, next, Opponent(f.side), f.ply + 1, f.main && game.Moves[*it].main});
    }
  }
}

void MergeBookRecords(std::vector<TOpen>& records) {
  std::stable_sort(records.begin(), records.end(),
                   [](const TOpen& a, const TOpen& b) { return ComparePacked(a.position, b.position) < 0; });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (kept > 0 && records[kept - 1].position == records[i].position) {
      TOpen& m = records[kept - 1];
      const TOpen& r = records[i];
      m.wh = CappedSum(m.wh, r.wh);
      m.dr = CappedSum(m.dr, r.dr);
      m.bl = CappedSum(m.bl, r.bl);
      m.sign = std::max(m.sign, r.sign);
      m.comm = std::max(m.comm, r.comm);
    } else {
      records[kept++] = records[i];
    }
  }
  records.resize(kept);
}

TBookBuildReport BuildBookFromDatabase(TKestrelDB& db, const TGameList& list, const std::string& bookPath,
                                       const TBookBuildOptions& options, TProgress& progress,
                                       TOpeningBook* engineBook) {
  TBookBuildReport report;
  std::error_code ec;
  const bool reopen = engineBook && engineBook->IsOpen() &&
                      std::filesystem::equivalent(engineBook->Path(), bookPath, ec);
  if (reopen) engineBook->Close();
  const std::vector<int32_t> games = ChosenGames(list);
  report.games = static_cast<int32_t>(games.size());
  TGame game;
  std::vector<TOpen> scratch;
  // Counting first lets the array be sized once for the existing book and
  // every new position.
  int64_t counted = 0;
  {
    TProgressStage stage(progress, "Build tree", "Counting (1/5)...", report.games);
    for (std::size_t i = 0; i < games.size(); ++i) {
      if (ReadDBGame(db, games[i], false, game)) {
        scratch.clear();
        AddGamePositions(game, options, scratch);
        counted += static_cast<int64_t>(scratch.size());
      }
      if ((i + 1) % 100 == 0) stage.Step(static_cast<int64_t>(i + 1));
    }
  }
  std::vector<TOpen> records = ReadBookRecords(bookPath, options.clearStatistics);
  records.reserve(records.size() + static_cast<std::size_t>(counted) + 1);
  {
    TProgressStage stage(progress, "Build tree", "Reading (2/5)...", report.games);
    for (std::size_t i = 0; i < games.size(); ++i) {
      const std::size_t before = records.size();
      if (ReadDBGame(db, games[i], false, game))
        AddGamePositions(game, options, records);
      else
        ++report.unreadable;
      report.positions += static_cast<int64_t>(records.size() - before);
      if ((i + 1) % 100 == 0) stage.Step(static_cast<int64_t>(i + 1));
    }
  }
  {
    TProgressStage stage(progress, "Build tree", "Sorting positions (3/5)...", 1);
    MergeBookRecords(records);
  }
  {
    TProgressStage stage(progress, "Build tree", "Writing (5/5)...", static_cast<int64_t>(records.size()));
    std::string data;
    data.reserve(records.size() * BookRecordSize);
    for (const TOpen& r : records) {
      const auto bytes = EncodeBookRecord(r);
      data.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    try {
      ReplaceFileContents(bookPath, data);
    } catch (...) {
      if (reopen) engineBook->BookIni(bookPath);
      throw;
    }
  }
  report.records = static_cast<int64_t>(records.size());
  if (reopen) engineBook->BookIni(bookPath);
  return report;
}

}  // namespace kestrel
