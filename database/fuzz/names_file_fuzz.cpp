// libFuzzer harness; the corpus in corpus/names_file/ is replayed by the tests.
#include <cstdio>
#include <cstdlib>

#include "database/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string fault = kestrel::fuzz::NamesFileInput({data, size});
  if (!fault.empty()) {
    std::fprintf(stderr, "%s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
