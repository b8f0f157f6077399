#include "protocols/dxp_message.h"

#include <algorithm>

namespace kestrel {

namespace {

std::string Digits(int value, int width) {
  int limit = 1;
  for (int i = 0; i < width; ++i) limit *= 10;
  value = std::clamp(value, 0, limit - 1);
  std::string text = std::to_string(value);
  return std::string(static_cast<size_t>(width) - text.size(), '0') + text;
}

std::string Name(std::string name) {
  for (char& c : name)
    if (static_cast<unsigned char>(c) < ' ' || static_cast<unsigned char>(c) > 126) c = '?';
  while (!name.empty() && name.front() == ' ') name.erase(name.begin());
  if (name.empty()) name = "?";
  name.resize(DxpNameLength, ' ');
  return name;
}

std::string Trimmed(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return std::string(name);
}

// Reads a fixed-width number; false if any character is not a digit.
bool ReadDigits(std::string_view text, size_t at, size_t width, int& out) {
  if (at + width > text.size()) return false;
  out = 0;
  for (size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    out = out * 10 + (text[i] - '0');
  }
  return true;
}

bool IsColor(char c) { return c == 'W' || c == 'Z'; }


}  // namespace

std::string EncodeDxp(const TDxpMessage& message) {
  struct TEncoder {
    std::string operator()(const TDxpGameRequest& m) const {
      std::string text = "R" + Digits(m.version, 2) + Name(m.name) + m.followerColor + Digits(m.minutes, 3) +
                         Digits(m.moves, 3) + (m.setup ? 'B' : 'A');
      if (m.setup) {
        std::string squares = m.squares;
        squares.resize(50, 'e');
        text += m.toMove + squares;
      }
      return text;
    }
    std::string operator()(const TDxpGameAccept& m) const { return "A" + Name(m.name) + Digits(m.code, 1); }
    std::string operator()(const TDxpMove& m) const {
      std::string text = "M" + Digits(m.seconds, 4) + Digits(m.from, 2) + Digits(m.to, 2);
      const size_t count = std::min<size_t>(m.captured.size(), 20);
      text += Digits(static_cast<int>(count), 2);
      for (size_t i = 0; i < count; ++i) text += Digits(m.captured[i], 2);
      return text;
    }
    std::string operator()(const TDxpGameEnd& m) const { return "E" + Digits(m.reason, 1) + Digits(m.stop, 1); }
    std::string operator()(const TDxpChat& m) const {
      std::string text = "C";
      for (char c : m.text)
        if (static_cast<unsigned char>(c) >= ' ' && static_cast<unsigned char>(c) < 127 && text.size() < DxpMaxMessage)
          text += c;
      return text;
    }
    std::string operator()(const TDxpBackRequest& m) const { return "B" + Digits(m.moveNumber, 3) + m.color; }
    std::string operator()(const TDxpBackAccept& m) const { return "K" + Digits(m.code, 1); }
  };
  return std::visit(TEncoder{}, message);
}

std::optional<TDxpMessage> ParseDxp(std::string_view text, std::string& error) {
  const auto fail = [&](std::string why) -> std::optional<TDxpMessage> {
    error = std::move(why);
    return std::nullopt;
  };
  if (text.empty()) return fail("empty message");
  if (text.size() > DxpMaxMessage) return fail("message longer than 127 characters");
  for (char c : text)
    if (static_cast<unsigned char>(c) == 0 || static_cast<unsigned char>(c) > 127) return fail("non-ASCII character");
  switch (text[0]) {
    case 'R': {
      TDxpGameRequest m;
      if (text.size() != 43 && text.size() != 94) return fail("GAMEREQ of " + std::to_string(text.size()) + " characters");
      if (!ReadDigits(text, 1, 2, m.version) || !ReadDigits(text, 36, 3, m.minutes) || !ReadDigits(text, 39, 3, m.moves))
        return fail("GAMEREQ with a bad number");
      m.name = Trimmed(text.substr(3, DxpNameLength));
      m.followerColor = text[35];
      if (!IsColor(m.followerColor)) return fail("GAMEREQ with a bad colour");
      if (text[42] == 'A' && text.size() == 43) return m;
      if (text[42] != 'B' || text.size() != 94 || !IsColor(text[43])) return fail("GAMEREQ with a bad start position");
      m.setup = true;
      m.toMove = text[43];
      m.squares = std::string(text.substr(44, 50));
      return m;
    }
    case 'A': {
      TDxpGameAccept m;
      if (text.size() != 34 || !ReadDigits(text, 33, 1, m.code)) return fail("malformed GAMEACC");
      m.name = Trimmed(text.substr(1, DxpNameLength));
      return m;
    }
    case 'M': {
      TDxpMove m;
      int count = 0;
      if (text.size() < 11 || !ReadDigits(text, 1, 4, m.seconds) || !ReadDigits(text, 5, 2, m.from) ||
          !ReadDigits(text, 7, 2, m.to) || !ReadDigits(text, 9, 2, count))
        return fail("malformed MOVE");
      if (text.size() != 11 + 2 * static_cast<size_t>(count)) return fail("MOVE whose length does not fit its captures");
      for (int i = 0; i < count; ++i) {
        int square = 0;
        if (!ReadDigits(text, 11 + 2 * static_cast<size_t>(i), 2, square)) return fail("malformed MOVE");
        m.captured.push_back(square);
      }
      return m;
    }
    case 'E': {
      TDxpGameEnd m;
      if (text.size() != 3 || !ReadDigits(text, 1, 1, m.reason) || !ReadDigits(text, 2, 1, m.stop) || m.reason > 3 ||
          m.stop > 1)
        return fail("malformed GAMEEND");
      return m;
    }
    case 'C':
      return TDxpChat{std::string(text.substr(1))};
    case 'B': {
      TDxpBackRequest m;
      if (text.size() != 5 || !ReadDigits(text, 1, 3, m.moveNumber) || !IsColor(text[4])) return fail("malformed BACKREQ");
      m.color = text[4];
      return m;
    }
    case 'K': {
      TDxpBackAccept m;
      if (text.size() != 2 || !ReadDigits(text, 1, 1, m.code)) return fail("malformed BACKACC");
      return m;
    }
    default:
      return fail(std::string("unknown message type '") + text[0] + "'");
  }
}

}  // namespace kestrel
