// Facts about the machine the engine runs on.
#pragma once

#include <cstdint>

namespace kestrel {

// Total physical memory in bytes, from the operating system; 0 if unknown.
// The hash size is limited to half of it.
uint64_t GetMemoryTotalPhys();

}  // namespace kestrel
