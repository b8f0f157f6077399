// A file read and written at explicit offsets. Every operation names its
// position, so nothing carries over from one operation to the next, and
// writes go straight to the operating system: a write that returned survives
// the end of the process however it ends.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kestrel {

class TBinaryFile {
 public:
  // openOrCreate leaves an existing file as it is, so that it can be locked
  // before anything is cut.
  enum class TMode { readWrite, readOnly, createTruncate, openOrCreate };

  TBinaryFile() = default;
  ~TBinaryFile();
  TBinaryFile(const TBinaryFile&) = delete;
  TBinaryFile& operator=(const TBinaryFile&) = delete;
  TBinaryFile(TBinaryFile&& other) noexcept;
  TBinaryFile& operator=(TBinaryFile&& other) noexcept;

  // False when the file cannot be opened (or created); the object then stays
  // closed and errno tells why.
  bool Open(const std::string& path, TMode mode);
  // Takes the advisory lock that one writer of a database holds, without
  // waiting; false when another open file holds it (in this process or any
  // other). Closing the file releases it.
  bool TryLockExclusive();
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

  int64_t Size() const { return size_; }

  // Reads exactly `dest.size()` bytes at `offset`; false, when they are not
  // all there or the read fails, or the offset is negative.
  bool ReadAt(int64_t offset, std::span<uint8_t> dest) const;

  // Writes all of `data` at `offset`; raises TDatabaseError on failure.
  void WriteAt(int64_t offset, std::span<const uint8_t> data);

  // Cuts or extends the file to `size` bytes; raises TDatabaseError.
  void Resize(int64_t size);

 private:
  int fd_ = -1;
  int64_t size_ = 0;
  std::string path_;
};

}  // namespace kestrel
