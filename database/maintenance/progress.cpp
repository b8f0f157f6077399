#include "database/maintenance/progress.h"
#include "database/maintenance/progress_texts.h"

#include <cstdio>

namespace kestrel {

TProgress& NoProgress() {
  static TProgress none;
  return none;
}

std::chrono::milliseconds EstimatedRemaining(std::chrono::milliseconds elapsed, int64_t done, int64_t maximum) {
  if (done <= 0 || maximum <= done) return std::chrono::milliseconds(0);
  const long double total = static_cast<long double>(elapsed.count()) * maximum / done;
  return std::chrono::milliseconds(static_cast<int64_t>(total) - elapsed.count());
}

std::string EstimateText(std::chrono::milliseconds remaining) {
  const int64_t s = remaining.count() / 1000;
  char text[64];
  std::snprintf(text, sizeof text, " %lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return std::string(EstimatedTimeText) + text;
}

}  // namespace kestrel
