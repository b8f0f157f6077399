#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "engine/engine_params.h"

namespace kestrel {

namespace fs = std::filesystem;

std::string EngineFileText(const TEvalFuncNew& func) {
  std::string text;
  // The name is the whole first line: a line break inside it would turn the
  // rest of the name into a pattern line.
  for (char ch : func.Name) text += (ch == '\r' || ch == '\n') ? ' ' : ch;
  text += "\r\n";
  char buf[160];
  for (const TPattern& pat : func.Patt) {
    std::snprintf(buf, sizeof buf, "%016" PRIX64 " %016" PRIX64 " %016" PRIX64 " %" PRId32 " %" PRId32 " %" PRId32
                  " %" PRId32 " \r\n",
                  pat.B.w, pat.B.b, pat.B.k, pat.value[0], pat.value[1], pat.value[2], pat.value[3]);
    text += buf;
  }
  for (int i = 0; i < EvalParamCount; ++i) {
    std::snprintf(buf, sizeof buf, ".%d %d %d %d ; %d.", func.P(0, i), func.P(1, i), func.P(2, i), func.P(3, i), i);
    text += buf;
    text += EvalParamNames[i];
    text += "\r\n";
  }
  return text;
}

TEngineFileResult WriteEngine(const fs::path& path, const TEvalFuncNew& func) {
  const std::string text = EngineFileText(func);
  fs::path part = path;
  part += ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return {TEngineFileResult::error, "cannot create " + part.string(), 0};
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(part, ec);
      return {TEngineFileResult::error, "cannot write " + part.string(), 0};
    }
  }
  std::error_code ec;
  fs::rename(part, path, ec);
  if (ec) {
    fs::remove(part, ec);
    return {TEngineFileResult::error, "cannot replace " + path.string(), 0};
  }
  return {};
}

}  // namespace kestrel
