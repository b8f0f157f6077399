// The run-length code of WDL table blocks: 2-bit symbols packed four to a
// byte (the first in the lowest bits). A symbol 0..2 is one position with
// that value; 3 starts a run: a length code, its digits, then the value.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

constexpr int WdlBlockPositions = 8192;
constexpr int MtwBlockPositions = 2048;
constexpr uint8_t WdlDraw = 0, WdlLoss = 1, WdlWin = 2, WdlNeverProbed = 3;

// Codes `values` (one value 0..3 per entry). Never-probed values (3) take
// whatever value makes the runs longest, since nobody reads them.
std::vector<uint8_t> EncodeWdlRuns(std::span<const uint8_t> values);

// The value of position `d` of a block whose code is `code`; -1 when the code
// ends (or turns invalid) before reaching it. Never reads outside `code`.
int DecodeWdlRun(std::span<const uint8_t> code, int d);

// Decodes `count` positions into `out` (one byte each); false on a damaged code.
bool DecodeWdlBlock(std::span<const uint8_t> code, int count, uint8_t* out);

}  // namespace kestrel
