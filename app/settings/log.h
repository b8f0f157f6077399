// The program's plain-text log: appended, one entry per line, flushed after
// each entry. Logging is silently off when the file cannot be opened.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>

namespace kestrel {

class Log {
 public:
  bool Open(const std::filesystem::path& path);
  void Close();
  bool IsOpen() const;
  // "[" + local date and time + "] " + message; optionally an empty line after.
  void Write(std::string_view message, bool blankLine = false);

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  mutable std::mutex mutex_;  // workers may log too
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace kestrel
