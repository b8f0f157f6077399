#include "database/search/search_database.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <span>

#include "database/game_io.h"
#include "database/header_records.h"
#include "database/load_options.h"
#include "database/search/blob_tree.h"
#include "database/search/header_filter.h"
#include "database/search/position_matcher.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

constexpr int32_t ProgressEvery = 1000;
constexpr int32_t HeaderBlock = 1024;           // records read at once
constexpr std::size_t BlobWindow = 256 * 1024;  // bytes of the main file read at once

// Header records in blocks; a block that cannot be read whole is read record
// by record, so one bad record costs only its own game.
class THeaderReader {
 public:
  explicit THeaderReader(const TKestrelDB& db) : db_(db), size_(db.RecordSize()) {
    bytes_.resize(static_cast<std::size_t>(HeaderBlock) * size_);
  }

  bool Read(int32_t n, TGameHeader& h) {
    if (n < first_ || n >= first_ + count_) Fill(n);
    if (n >= first_ + count_) return ReadHeaderRecord(db_, n, h);
    const uint8_t* p = bytes_.data() + static_cast<std::size_t>(n - first_) * size_;
    if (db_.DBType == CurrentDBVersion) {
      THeaderBytes b;
      std::memcpy(b.data(), p, b.size());
      DecodeHeader(b, h);
    } else {
      TOldHeaderBytes b;
      std::memcpy(b.data(), p, b.size());
      DecodeOldHeader(b, h);
    }
    return true;
  }

 private:
  void Fill(int32_t n) {
    first_ = n;
    count_ = std::min(HeaderBlock, db_.DBSize - n + 1);
    const std::span<uint8_t> dest(bytes_.data(), static_cast<std::size_t>(count_) * size_);
    if (count_ <= 0 || !db_.DBIdx.ReadAt(static_cast<int64_t>(n - 1) * size_, dest)) count_ = 0;
  }

  const TKestrelDB& db_;
  int size_;
  std::vector<uint8_t> bytes_;
  int32_t first_ = 0, count_ = 0;
};

// Blobs through a window of the main file: games stored one after another
// are served from one read.
class TBlobReader {
 public:
  explicit TBlobReader(const TBinaryFile& file) : file_(file) {}

  std::optional<std::span<const uint8_t>> Read(int32_t offset, int32_t length) {
    const int64_t size = file_.Size();
    // Only whole blobs inside the main file, never over its version byte.
    if (offset < 1 || length < 1 || offset > size || length > size - offset) return std::nullopt;
    if (offset < start_ || offset + int64_t{length} > start_ + filled_) {
      const int64_t want = std::min<int64_t>(std::max<int64_t>(BlobWindow, length), size - offset);
      buffer_.resize(std::max<std::size_t>(buffer_.size(), static_cast<std::size_t>(want)));
      filled_ = 0;
      if (!file_.ReadAt(offset, std::span<uint8_t>(buffer_.data(), static_cast<std::size_t>(want))))
        return std::nullopt;
      start_ = offset;
      filled_ = want;
    }
    return std::span<const uint8_t>(buffer_.data() + (offset - start_), static_cast<std::size_t>(length));
  }

 private:
  const TBinaryFile& file_;
  std::vector<uint8_t> buffer_;
  int64_t start_ = 0, filled_ = 0;
};

}  // namespace

TSearchResult SearchDatabase(const TKestrelDB& db, const TSearchInfo& info, const TSearchSwitches& switches,
                             const TSearchProgressFn& progress) {
  TSearchResult result;
  if (!db.DBOpened) {
    result.opened = false;
    return result;
  }
  const THeaderFilter filter(db, info, switches);
  std::unique_ptr<TPositionMatcher> matcher;
  if (switches.position) matcher = std::make_unique<TPositionMatcher>(info, switches.squareCount);
  THeaderReader headers(db);
  TBlobReader blobs(db.DBMain);
  TBlobTree tree;
  TGameHeader h;

  for (int32_t n = 1; n <= db.DBSize; ++n) {
    if (n % ProgressEvery == 1 && progress &&
        !progress({n, static_cast<int32_t>(result.found.size()), db.DBSize})) {
      result.cancelled = true;
      break;
    }
    if (!headers.Read(n, h)) {
      ++result.unreadable;
      continue;
    }
    if (!filter.Passes(h)) continue;
    int32_t slot = 0;
    if (matcher) {
      // Loading plays a Russian game as Pool when the settings ask for it.
      const int type = h.TypeOfGame == gtRussian && LoadRusAsPool ? int{gtPool} : int{h.TypeOfGame};
      if (!IsValidGameType(type)) {
        ++result.unreadable;
        continue;
      }
      if (!matcher->CanMatchType(type)) continue;
      const auto blob = blobs.Read(h.Offset, h.Length);
      if (!blob || !tree.Decode(*blob, db.DBType, h.TypeOfGame, h.LastMove)) {
        ++result.unreadable;
        continue;
      }
      const TDColor first = h.FirstMove == TDColor::white ? TDColor::white : TDColor::black;
      slot = matcher->Match(tree, type, first);
      if (slot < 0) continue;
    }
    result.found.push_back({n, false, slot});
  }
  return result;
}

}  // namespace kestrel
