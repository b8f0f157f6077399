#include "engine/opening_book.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "rules/game_types.h"

namespace kestrel {
namespace fs = std::filesystem;

namespace {

void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>(v >> 8);
}

uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

std::array<uint8_t, BookRecordSize> EncodeBookRecord(const TOpen& rec) {
  std::array<uint8_t, BookRecordSize> b{};
  std::copy(rec.position.begin(), rec.position.end(), b.begin());
  PutU16(&b[24], rec.wh);
  PutU16(&b[26], rec.dr);
  PutU16(&b[28], rec.bl);
  PutU16(&b[30], static_cast<uint16_t>(rec.eval));
  b[32] = rec.sign;
  b[33] = 0;
  PutU16(&b[34], rec.comm);
  return b;
}

TOpen DecodeBookRecord(const std::array<uint8_t, BookRecordSize>& b) {
  TOpen rec;
  std::copy(b.begin(), b.begin() + 24, rec.position.begin());
  rec.wh = GetU16(&b[24]);
  rec.dr = GetU16(&b[26]);
  rec.bl = GetU16(&b[28]);
  rec.eval = static_cast<int16_t>(GetU16(&b[30]));
  rec.sign = b[32];
  rec.comm = GetU16(&b[34]);
  return rec;
}

TPackedBoardNew BookNormalForm(const TBrd& board, TDColor sideToMove, int type) {
  TBrd b = board;
  if (sideToMove == TDColor::black && IsValidGameType(type)) FlipBoard(b, type);
  TPackedBoardNew p;
  PackBoard(b, p);
  return p;
}

int ComparePacked(const TPackedBoardNew& a, const TPackedBoardNew& b) {
  return std::memcmp(a.data(), b.data(), a.size());
}

std::string BookSignText(int sign) {
  static const char* const texts[BookSignCount] = {"#", "!!", "!", "!?", "", "?!", "?", "??", "\x7F"};
  if (sign < 0 || sign >= BookSignCount) return {};
  return texts[sign];
}

TOpeningBook::TOpeningBook() : comments_(1) {}

void TOpeningBook::CloseLocked() {
  if (file_.is_open()) file_.close();
  file_.clear();
  open_ = false;
  writable_ = false;
  count_ = 0;
  path_.clear();
}

void TOpeningBook::Close() {
  std::lock_guard lock(mutex_);
  CloseLocked();
  comments_.assign(1, std::string());
}

void TOpeningBook::BookIni(const fs::path& path) {
  std::lock_guard lock(mutex_);
  CloseLocked();
  comments_.assign(1, std::string());
  std::error_code ec;
  if (path.empty() || !fs::is_regular_file(path, ec)) return;
  const uintmax_t size = fs::file_size(path, ec);
  // A file that is not a whole number of records is no book.
  if (ec || size % BookRecordSize != 0 || size / BookRecordSize > 0x7FFFFFFF) return;
  file_.open(path, std::ios::in | std::ios::out | std::ios::binary);
  writable_ = file_.is_open();
  if (!writable_) {
    file_.clear();
    file_.open(path, std::ios::in | std::ios::binary);
    if (!file_.is_open()) return;
  }
  open_ = true;
  path_ = path;
  count_ = static_cast<int>(size / BookRecordSize);

  fs::path notes = path;
  notes.replace_extension(".cbn");
  std::ifstream in(notes, std::ios::binary);
  if (in) {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
    }
    if (!lines.empty()) comments_ = std::move(lines);
  }
}

bool TOpeningBook::IsOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

fs::path TOpeningBook::Path() const {
  std::lock_guard lock(mutex_);
  return path_;
}

int TOpeningBook::RecordCount() const {
  std::lock_guard lock(mutex_);
  return count_;
}

bool TOpeningBook::ReadLocked(int number, TOpen& rec) {
  if (!open_ || number < 1 || number > count_) return false;
  std::array<uint8_t, BookRecordSize> bytes{};
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(number - 1) * BookRecordSize);
  file_.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
  if (file_.gcount() != static_cast<std::streamsize>(bytes.size())) {
    file_.clear();
    return false;
  }
  rec = DecodeBookRecord(bytes);
  return true;
}

bool TOpeningBook::WriteLocked(int number, const TOpen& rec) {
  if (!open_ || !writable_ || number < 1 || number > count_ + 1) return false;
  const auto bytes = EncodeBookRecord(rec);
  file_.clear();
  file_.seekp(static_cast<std::streamoff>(number - 1) * BookRecordSize);
  file_.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  file_.flush();
  if (!file_) {
    file_.clear();
    return false;
  }
  if (number == count_ + 1) ++count_;
  return true;
}

// Binary search for the first record not below `position`; `lo` ends on it
// (or on the last record when every record is smaller).
int TOpeningBook::SearchLocked(const TPackedBoardNew& position, int& lo) {
  lo = 1;
  if (!open_ || count_ == 0) return 0;
  int hi = count_;
  TOpen rec;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (!ReadLocked(mid, rec)) return 0;
    if (ComparePacked(rec.position, position) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (!ReadLocked(lo, rec)) return 0;
  return ComparePacked(rec.position, position) == 0 ? lo : 0;
}

int TOpeningBook::FindBookEntry(const TPackedBoardNew& position) {
  std::lock_guard lock(mutex_);
  int lo = 1;
  return SearchLocked(position, lo);
}

std::optional<TOpen> TOpeningBook::ReadEntry(int number) {
  std::lock_guard lock(mutex_);
  TOpen rec;
  if (!ReadLocked(number, rec)) return std::nullopt;
  return rec;
}

std::optional<TOpen> TOpeningBook::Lookup(const TPackedBoardNew& position) {
  std::lock_guard lock(mutex_);
  int lo = 1;
  const int found = SearchLocked(position, lo);
  TOpen rec;
  if (found == 0 || !ReadLocked(found, rec)) return std::nullopt;
  return rec;
}

bool TOpeningBook::SetBookSign(const TPackedBoardNew& position, uint8_t sign) {
  std::lock_guard lock(mutex_);
  if (!open_ || !writable_) return false;
  int lo = 1;
  const int found = SearchLocked(position, lo);
  TOpen rec;
  if (found != 0) {
    if (!ReadLocked(found, rec)) return false;
    rec.sign = sign;
    return WriteLocked(found, rec);
  }
  // The search stops on the last record when every record is smaller; the
  // new one then goes after it, so the file stays sorted.
  int at = lo;
  if (count_ > 0) {
    TOpen last;
    if (!ReadLocked(lo, last)) return false;
    if (ComparePacked(last.position, position) < 0) at = lo + 1;
  }
  // Shift records at..count_ up by one in a single block.
  const std::streamoff first = static_cast<std::streamoff>(at - 1) * BookRecordSize;
  const std::size_t tail = static_cast<std::size_t>(count_ - at + 1) * BookRecordSize;
  if (tail > 0) {
    std::vector<char> block(tail);
    file_.clear();
    file_.seekg(first);
    file_.read(block.data(), static_cast<std::streamsize>(tail));
    if (file_.gcount() != static_cast<std::streamsize>(tail)) {
      file_.clear();
      return false;
    }
    file_.clear();
    file_.seekp(first + static_cast<std::streamoff>(BookRecordSize));
    file_.write(block.data(), static_cast<std::streamsize>(tail));
    file_.flush();
    if (!file_) {
      file_.clear();
      return false;
    }
    ++count_;
  }
  TOpen fresh;
  fresh.position = position;
  fresh.sign = sign;
  return WriteLocked(at, fresh);
}

std::optional<std::string> TOpeningBook::Comment(int n) const {
  std::lock_guard lock(mutex_);
  if (n < 0 || n >= static_cast<int>(comments_.size())) return std::nullopt;
  return comments_[n];
}

int TOpeningBook::CommentCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(comments_.size());
}

}  // namespace kestrel
