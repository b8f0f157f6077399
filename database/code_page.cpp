#include "database/code_page.h"

#include <iconv.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace kestrel {
namespace {

// One conversion descriptor for one call; iconv keeps state in it.
class TIconv {
 public:
  TIconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~TIconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible; a byte sequence that cannot be converted
  // is replaced by `bad` and skipped (one byte, or one whole UTF-8 character
  // when `utf8Input`).
  std::string Convert(std::string_view text, std::string_view bad, bool utf8Input, int* lost = nullptr) {
    std::string out;
    out.reserve(text.size() * 2);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buf[1024];
    while (inLeft > 0) {
      char* outPtr = buf;
      size_t outLeft = sizeof buf;
      const size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buf, static_cast<size_t>(outPtr - buf));
      // A character given in a nearer form ("u" for "ü") is lost too.
      if (r != static_cast<size_t>(-1)) {
        if (lost) *lost += static_cast<int>(r);
        continue;
      }
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip the offending character.
      out += bad;
      if (lost) ++*lost;
      size_t skip = 1;
      if (utf8Input) {
        const unsigned char lead = static_cast<unsigned char>(*in);
        skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        // Never past the end, and only over continuation bytes.
        size_t k = 1;
        while (k < skip && k < inLeft && (static_cast<unsigned char>(in[k]) & 0xC0) == 0x80) ++k;
        skip = k;
      }
      in += skip;
      inLeft -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

bool HasHighByte(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

const char* IconvName(TCodePage page) {
  switch (page) {
    case TCodePage::windows1252: return "WINDOWS-1252";
    case TCodePage::utf8: return "UTF-8";
    case TCodePage::windows1251: break;
  }
  return "WINDOWS-1251";
}

// `text` from one encoding to another; what the target cannot hold becomes
// its nearest form or "?" and is counted.
std::string Recode(std::string_view text, TCodePage from, TCodePage to, int& lost) {
  std::string target = IconvName(to);
  if (to != TCodePage::utf8) target += "//TRANSLIT";
  TIconv cv(target.c_str(), IconvName(from));
  if (!cv.ok())
    throw std::runtime_error(std::string("the code page conversion ") + CodePageName(from) + " to " +
                             CodePageName(to) + " is not available");
  return cv.Convert(text, "?", from == TCodePage::utf8, &lost);
}

std::atomic<TCodePage> codePage{TCodePage::windows1251};

}  // namespace

bool IsUtf8WithNonAscii(std::string_view text) {
  bool multi = false;
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are malformed.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    multi = true;
    i += static_cast<size_t>(extra) + 1;
  }
  return multi;
}

std::optional<TCodePage> ParseCodePage(std::string_view name) {
  std::string key;
  for (char c : name)
    if (c != '-' && c != '_' && c != ' ') key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key == "windows1251" || key == "cp1251" || key == "1251") return TCodePage::windows1251;
  if (key == "windows1252" || key == "cp1252" || key == "1252") return TCodePage::windows1252;
  if (key == "utf8") return TCodePage::utf8;
  return std::nullopt;
}

const char* CodePageName(TCodePage page) {
  switch (page) {
    case TCodePage::windows1252: return "Windows-1252";
    case TCodePage::utf8: return "UTF-8";
    case TCodePage::windows1251: break;
  }
  return DefaultCodePageName;
}

TCodePage CurrentCodePage() { return codePage.load(std::memory_order_relaxed); }
void SetCodePage(TCodePage page) { codePage.store(page, std::memory_order_relaxed); }

std::string Utf8ToAnsi(std::string_view text) {
  int lost = 0;
  return Utf8ToAnsi(text, lost);
}

std::string Utf8ToAnsi(std::string_view text, int& lost) {
  if (!HasHighByte(text)) return std::string(text);
  const TCodePage page = CurrentCodePage();
  if (page == TCodePage::utf8 && IsUtf8WithNonAscii(text)) return std::string(text);
  return Recode(text, TCodePage::utf8, page, lost);
}

std::string AnsiToUtf8(std::string_view text) {
  if (!HasHighByte(text)) return std::string(text);
  const TCodePage page = CurrentCodePage();
  if (page == TCodePage::utf8 && IsUtf8WithNonAscii(text)) return std::string(text);
  // Bytes the code page leaves unassigned (0x98 in Windows-1251) become "?".
  int lost = 0;
  return Recode(text, page, TCodePage::utf8, lost);
}

std::string AnsiToCodePage(std::string_view text, TCodePage page, int& lost) {
  if (!HasHighByte(text) || page == CurrentCodePage()) return std::string(text);
  return Recode(AnsiToUtf8(text), TCodePage::utf8, page, lost);
}

std::string ToAnsiText(std::string_view text) {
  int lost = 0;
  return ToAnsiText(text, lost);
}

std::string ToAnsiText(std::string_view text, int& lost) {
  if (IsUtf8WithNonAscii(text)) return Utf8ToAnsi(text, lost);
  if (CurrentCodePage() != TCodePage::utf8 || !HasHighByte(text)) return std::string(text);
  return Recode(text, TCodePage::windows1251, TCodePage::utf8, lost);
}

std::string FileTextToUtf8(std::string_view text) {
  if (!HasHighByte(text) || IsUtf8WithNonAscii(text)) return std::string(text);
  return AnsiToUtf8(ToAnsiText(text));
}

std::string_view WithoutBom(std::string_view text) {
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

}  // namespace kestrel
