#include "database/database_swap.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "database/database_file.h"
#include "database/db_error.h"
#include "database/file_replace.h"

namespace kestrel {
namespace {

constexpr const char* Extensions[] = {".abd", ".abm", ".abn"};

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void FlushFolder(const std::string& path) {
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// The marker holds the base of the new set, so a later opening knows where
// the files come from.
std::string ReadMarker(const std::string& marker) {
  std::ifstream in(marker, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

void RenameOver(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0)
    throw TDatabaseError("cannot move " + from + " to " + to + ": " + std::strerror(errno));
}

}  // namespace

std::string SwapMarkerPath(std::string_view base) { return std::string(base) + ".swap"; }

void FlushFileToDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    const int saved = errno;
    if (fd >= 0) ::close(fd);
    throw TDatabaseError("cannot write " + path + " to the disk: " + std::strerror(saved));
  }
  ::close(fd);
}

void SwapDatabaseFiles(const std::string& fromBase, const std::string& toBase) {
  if (FolderOf(fromBase) != FolderOf(toBase)) throw TDatabaseError("the new files must lie beside " + toBase);
  for (const char* ext : Extensions) FlushFileToDisk(fromBase + ext);
  FlushFolder(fromBase);
  // Only the file name: the folder is the database's own, however the path
  // was written by the process that opens it next.
  ReplaceFileContents(SwapMarkerPath(toBase), FileNameOf(fromBase) + "\n");
  FinishDatabaseSwap(toBase);
}

void FinishDatabaseSwap(const std::string& base) {
  const std::string marker = SwapMarkerPath(base);
  if (!Exists(marker)) return;
  const std::string name = ReadMarker(marker);
  const std::string from = name.empty() ? std::string() : FolderOf(base) + "/" + name;
  // A marker that names nothing (or itself) is left from a run that had
  // finished every rename already.
  if (!from.empty() && name != FileNameOf(base))
    for (const char* ext : Extensions)
      if (Exists(from + ext)) RenameOver(from + ext, base + ext);
  FlushFolder(base);
  if (::unlink(marker.c_str()) != 0 && errno != ENOENT)
    throw TDatabaseError("cannot remove " + marker + ": " + std::strerror(errno));
  FlushFolder(base);
}

}  // namespace kestrel
