#include "engine/endgame/table_file.h"

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <system_error>

#include "engine/endgame/wdl_runs.h"

namespace kestrel {

namespace {

int64_t ReadI64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return static_cast<int64_t>(v);
}

int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

void PutLE(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

bool TTableFileView::Open(std::span<const uint8_t> bytes, uint64_t positions, bool mtw, std::string& error) {
  mtw_ = mtw;
  positions_ = positions;
  const uint64_t perBlock = BlockPositions();
  blocks_ = (positions + perBlock - 1) / perBlock;
  if (bytes.size() < 16) {
    error = "shorter than its header";
    return false;
  }
  const int64_t i = ReadI64(bytes.data()), d = ReadI64(bytes.data() + 8);
  if (i < 0 || d < 0 || i % 4 != 0 || static_cast<uint64_t>(i) / 4 != blocks_) {
    error = "block index does not fit the table";
    return false;
  }
  if (static_cast<uint64_t>(i) > bytes.size() - 16 || static_cast<uint64_t>(d) != bytes.size() - 16 - i) {
    error = "length does not match its header";
    return false;
  }
  index_ = bytes.subspan(16, i);
  data_ = bytes.subspan(16 + i, d);
  int64_t previous = 0;
  for (uint64_t b = 0; b < blocks_; ++b) {
    const int64_t offset = ReadI32(index_.data() + 4 * b);
    if (offset < previous || offset > d) {
      error = "block offset out of order";
      return false;
    }
    previous = offset;
  }
  return true;
}

int TTableFileView::BlockPositions() const { return mtw_ ? MtwBlockPositions : WdlBlockPositions; }

int TTableFileView::PositionsInBlock(uint64_t b) const {
  const uint64_t start = b * BlockPositions();
  return static_cast<int>(std::min<uint64_t>(BlockPositions(), positions_ - start));
}

std::span<const uint8_t> TTableFileView::Block(uint64_t b) const {
  const size_t start = ReadI32(index_.data() + 4 * b);
  const size_t end = b + 1 < blocks_ ? static_cast<size_t>(ReadI32(index_.data() + 4 * (b + 1))) : data_.size();
  return data_.subspan(start, end - start);
}

bool TTableFileView::DecodeBlock(uint64_t b, uint8_t* out) const {
  const std::span<const uint8_t> code = Block(b);
  const int count = PositionsInBlock(b);
  if (!mtw_) return DecodeWdlBlock(code, count, out);
  uLongf length = MtwBlockPositions;
  const int rc = uncompress(out, &length, code.data(), code.size());
  return rc == Z_OK && length == static_cast<uLongf>(count);
}

int TTableFileView::Value(uint64_t index) const {
  if (index >= positions_) return -1;
  const uint64_t b = index / BlockPositions();
  const int d = static_cast<int>(index % BlockPositions());
  if (!mtw_) return DecodeWdlRun(Block(b), d);
  uint8_t out[MtwBlockPositions];
  if (!DecodeBlock(b, out)) return -1;
  return out[d];
}

std::vector<uint8_t> BuildTableFile(std::span<const uint8_t> values, bool mtw) {
  const size_t perBlock = mtw ? MtwBlockPositions : WdlBlockPositions;
  const size_t blocks = (values.size() + perBlock - 1) / perBlock;
  std::vector<uint8_t> index, data;
  for (size_t b = 0; b < blocks; ++b) {
    PutLE(index, data.size(), 4);
    const std::span<const uint8_t> part = values.subspan(b * perBlock, std::min(perBlock, values.size() - b * perBlock));
    if (mtw) {
      uLongf length = compressBound(part.size());
      const size_t at = data.size();
      data.resize(at + length);
      compress2(data.data() + at, &length, part.data(), part.size(), Z_BEST_COMPRESSION);
      data.resize(at + length);
    } else {
      const std::vector<uint8_t> code = EncodeWdlRuns(part);
      data.insert(data.end(), code.begin(), code.end());
    }
  }
  std::vector<uint8_t> out;
  out.reserve(16 + index.size() + data.size());
  PutLE(out, index.size(), 8);
  PutLE(out, data.size(), 8);
  out.insert(out.end(), index.begin(), index.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

bool WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes, std::string& error) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      error = "cannot write " + temp.string();
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    error = "cannot rename " + temp.string() + ": " + ec.message();
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path.string();
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0);
  if (size < 0) {
    error = "cannot read " + path.string();
    return false;
  }
  bytes.resize(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (!in) {
    error = "cannot read " + path.string();
    return false;
  }
  return true;
}

}  // namespace kestrel
