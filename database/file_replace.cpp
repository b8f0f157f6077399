#include "database/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "database/db_error.h"

namespace kestrel {
namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void Fail(const std::string& what, const std::string& tmp) {
  const int saved = errno;
  if (!tmp.empty()) ::unlink(tmp.c_str());
  throw TDatabaseError(what + ": " + std::strerror(saved));
}

// Writes all of `data`, retrying after interruptions; false with errno set
// when the system refuses.
bool WriteAll(int fd, std::string_view data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view data) {
  // The new file keeps the permissions of the one it replaces.
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;

  std::string tmp = path + ".tmpXXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) Fail("cannot create a temporary file beside " + path, {});
  if (!WriteAll(fd, data)) {
    ::close(fd);
    Fail("cannot write " + tmp, tmp);
  }
  if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
    ::close(fd);
    Fail("cannot write " + tmp, tmp);
  }
  if (::close(fd) != 0) Fail("cannot write " + tmp, tmp);
  if (::rename(tmp.c_str(), path.c_str()) != 0) Fail("cannot replace " + path, tmp);
  // The rename itself reaches the disk with the folder.
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void AppendToFile(const std::string& path, std::string_view data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) Fail("cannot open " + path, {});
  if (!WriteAll(fd, data)) {
    ::close(fd);
    Fail("cannot write " + path, {});
  }
  if (::close(fd) != 0) Fail("cannot write " + path, {});
}

}  // namespace kestrel
