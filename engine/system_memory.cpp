#include "engine/system_memory.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace kestrel {

uint64_t GetMemoryTotalPhys() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages > 0 && pageSize > 0) return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
  // "MemTotal:       16314564 kB"
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    if (line.rfind("MemTotal:", 0) != 0) continue;
    std::istringstream fields(line.substr(9));
    uint64_t kilobytes = 0;
    if (fields >> kilobytes) return kilobytes * 1024;
  }
  return 0;
}

}  // namespace kestrel
