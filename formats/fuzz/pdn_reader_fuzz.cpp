// libFuzzer harness; the corpus in corpus/pdn_reader/ is replayed by the tests.
#include <cstdio>
#include <cstdlib>

#include "formats/fuzz/pdn_fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string fault = kestrel::fuzz::PdnReaderInput({data, size});
  if (!fault.empty()) {
    std::fprintf(stderr, "%s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
