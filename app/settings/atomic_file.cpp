#include "app/settings/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kestrel {

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data, std::string* error,
                         unsigned mode) {
  auto fail = [&](const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
  };
  std::string tmp = path.string() + ".tmpXXXXXX";
  const int fd = mkstemp(tmp.data());
  if (fd < 0) return fail("cannot create a temporary file beside " + path.string());
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      errno = saved;
      return fail("cannot write " + tmp);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int saved = errno;
    ::unlink(tmp.c_str());
    errno = saved;
    return fail("cannot flush " + tmp);
  }
  // mkstemp made the file 0600; a file with a password stays so.
  ::chmod(tmp.c_str(), static_cast<mode_t>(mode));
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    ::unlink(tmp.c_str());
    errno = saved;
    return fail("cannot replace " + path.string());
  }
  return true;
}

}  // namespace kestrel
