#include <charconv>
#include <fstream>
#include <limits>
#include <memory>
#include <system_error>

#include "engine/engine_params.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

// Files the program writes are a few hundred lines; these bounds only keep a
// damaged or hostile file from exhausting memory.
constexpr uintmax_t MaxEngineFileBytes = 16u << 20;
constexpr size_t MaxEnginePatterns = 100000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Tokens(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    const size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

template <class T>
bool ParseDecimal(std::string_view token, T& out) {
  if (!token.empty() && token.front() == '+') {
    token.remove_prefix(1);
    if (token.empty() || token.front() == '-') return false;
  }
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
  if (ec != std::errc() || end != token.data() + token.size()) return false;
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return false;
  out = static_cast<T>(v);
  return true;
}

bool ParseHex64(std::string_view token, uint64_t& out) {
  if (token.empty() || token.size() > 16) return false;
  const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), out, 16);
  return ec == std::errc() && end == token.data() + token.size();
}

TEngineFileResult Fail(int line, std::string message) {
  return {TEngineFileResult::error, "line " + std::to_string(line) + ": " + std::move(message), line};
}

// One line after the name, already cut at its comment and trimmed.
class BodyParser {
 public:
  explicit BodyParser(TEvalFuncNew& func) : func_(func) {}

  TEngineFileResult Line(std::string_view s, int lineNo) {
    if (s.empty()) return {};
    if (s.front() == '.') return Parameter(s.substr(1), lineNo);
    return Pattern(s, lineNo);
  }

 private:
  TEngineFileResult Parameter(std::string_view s, int lineNo) {
    if (index_ >= EvalParamCount) return Fail(lineNo, "more than 64 parameter lines");
    const auto tokens = Tokens(s);
    if (tokens.size() < EvalStages) return Fail(lineNo, "a parameter line needs four values");
    for (int st = 0; st < EvalStages; ++st) {
      int16_t v = 0;
      if (!ParseDecimal(tokens[st], v))
        return Fail(lineNo, "'" + std::string(tokens[st]) + "' is not a number from -32768 to 32767");
      func_.P(st, index_) = v;
    }
    ++index_;
    return {};
  }

  TEngineFileResult Pattern(std::string_view s, int lineNo) {
    if (func_.Patt.size() >= MaxEnginePatterns) return Fail(lineNo, "too many patterns");
    const auto tokens = Tokens(s);
    if (tokens.size() < 3 + EvalStages) return Fail(lineNo, "a pattern line needs three masks and four values");
    TPattern pat;
    uint64_t* masks[3] = {&pat.B.w, &pat.B.b, &pat.B.k};
    for (int i = 0; i < 3; ++i)
      if (!ParseHex64(tokens[i], *masks[i]))
        return Fail(lineNo, "'" + std::string(tokens[i]) + "' is not a 64-bit hexadecimal mask");
    for (int st = 0; st < EvalStages; ++st)
      if (!ParseDecimal(tokens[3 + st], pat.value[st]))
        return Fail(lineNo, "'" + std::string(tokens[3 + st]) + "' is not a 32-bit number");
    func_.Patt.push_back(pat);
    return {};
  }

  TEvalFuncNew& func_;
  int index_ = 0;
};

}  // namespace

TEngineFileResult ParseEngineText(std::string_view text, std::string_view fallbackName, TEvalFuncNew& func) {
  auto parsed = std::make_unique<TEvalFuncNew>();
  BodyParser body(*parsed);
  int lineNo = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (++lineNo == 1) {
      parsed->Name = std::string(line);
      continue;
    }
    if (const size_t semi = line.find(';'); semi != std::string_view::npos) line = line.substr(0, semi);
    if (TEngineFileResult r = body.Line(Trim(line), lineNo); !r) return r;
  }
  if (parsed->Name.empty()) parsed->Name = std::string(fallbackName);
  CompileEvalFunc(*parsed);
  func = std::move(*parsed);
  return {};
}

TEngineFileResult ReadEngine(const fs::path& path, TEvalFuncNew& func) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return {TEngineFileResult::missing, "no file " + path.string(), 0};
  if (!fs::is_regular_file(path, ec)) return {TEngineFileResult::error, path.string() + " is not a file", 0};
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) return {TEngineFileResult::error, "cannot read " + path.string(), 0};
  if (size > MaxEngineFileBytes) return {TEngineFileResult::error, path.string() + " is too large", 0};
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return {TEngineFileResult::error, "cannot open " + path.string(), 0};
  std::string text(static_cast<size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  TEngineFileResult r = ParseEngineText(text, path.stem().string(), func);
  if (!r) r.message = path.string() + ", " + r.message;
  return r;
}

}  // namespace kestrel
