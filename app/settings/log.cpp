#include "app/settings/log.h"

#include <ctime>

namespace kestrel {

bool Log::Open(const std::filesystem::path& path) {
  std::lock_guard lock(mutex_);
  file_.reset(std::fopen(path.c_str(), "ab"));
  return file_ != nullptr;
}

void Log::Close() {
  std::lock_guard lock(mutex_);
  file_.reset();
}

bool Log::IsOpen() const {
  std::lock_guard lock(mutex_);
  return file_ != nullptr;
}

void Log::Write(std::string_view message, bool blankLine) {
  std::lock_guard lock(mutex_);
  if (!file_) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[64];
  // The locale's short date and long time.
  std::strftime(stamp, sizeof stamp, "%x %X", &local);
  std::fprintf(file_.get(), "[%s] %.*s\r\n", stamp, static_cast<int>(message.size()), message.data());
  if (blankLine) std::fputs("\r\n", file_.get());
  std::fflush(file_.get());
}

}  // namespace kestrel
