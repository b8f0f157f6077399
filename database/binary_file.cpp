#include "database/binary_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "database/db_error.h"

namespace kestrel {

TBinaryFile::~TBinaryFile() { Close(); }

TBinaryFile::TBinaryFile(TBinaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)), path_(std::move(other.path_)) {}

TBinaryFile& TBinaryFile::operator=(TBinaryFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
    path_ = std::move(other.path_);
  }
  return *this;
}

bool TBinaryFile::Open(const std::string& path, TMode mode) {
  Close();
  int flags = O_RDWR;
  switch (mode) {
    case TMode::readWrite: break;
    case TMode::readOnly: flags = O_RDONLY; break;
    case TMode::createTruncate: flags = O_RDWR | O_CREAT | O_TRUNC; break;
    case TMode::openOrCreate: flags = O_RDWR | O_CREAT; break;
  }
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return false;
  }
  fd_ = fd;
  size_ = st.st_size;
  path_ = path;
  return true;
}

bool TBinaryFile::TryLockExclusive() {
  if (fd_ < 0) return false;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0)
    if (errno != EINTR) return false;
  return true;
}

void TBinaryFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

bool TBinaryFile::ReadAt(int64_t offset, std::span<uint8_t> dest) const {
  if (fd_ < 0 || offset < 0) return false;
  if (static_cast<uint64_t>(offset) > static_cast<uint64_t>(size_) ||
      dest.size() > static_cast<uint64_t>(size_ - offset))
    return false;
  std::size_t done = 0;
  while (done < dest.size()) {
    const ssize_t n = ::pread(fd_, dest.data() + done, dest.size() - done, offset + static_cast<int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void TBinaryFile::WriteAt(int64_t offset, std::span<const uint8_t> data) {
  if (fd_ < 0) throw TDatabaseError("write to a closed file");
  if (offset < 0) throw TDatabaseError("write before the start of " + path_);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done, offset + static_cast<int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw TDatabaseError("cannot write " + path_ + ": " + std::strerror(errno));
    done += static_cast<std::size_t>(n);
  }
  if (offset + static_cast<int64_t>(data.size()) > size_) size_ = offset + static_cast<int64_t>(data.size());
}

void TBinaryFile::Resize(int64_t size) {
  if (fd_ < 0 || size < 0) throw TDatabaseError("cannot resize " + path_);
  if (::ftruncate(fd_, size) != 0) throw TDatabaseError("cannot resize " + path_ + ": " + std::strerror(errno));
  size_ = size;
}

}  // namespace kestrel
