#include "formats/pdn_source.h"

#include <cctype>

#include "database/code_page.h"
#include "formats/pdn_tags.h"

namespace kestrel {
namespace {

constexpr size_t ChunkSize = 1 << 16;

bool LooksLikeTag(std::string_view line) {
  return line.size() >= 3 && line.front() == '[' && line.back() == ']' &&
         std::isalpha(static_cast<unsigned char>(line[1])) != 0;
}

// "[Event "a"] [Site "b"]": the tags of one line, and what follows them.
std::vector<std::string> SplitTags(std::string_view line, std::string& rest) {
  std::vector<std::string> tags;
  rest.clear();
  size_t start = 0;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (quoted || line[i] != ']') continue;
    tags.emplace_back(TrimBlanks(line.substr(start, i + 1 - start)));
    size_t next = i + 1;
    while (next < line.size() && static_cast<unsigned char>(line[next]) <= ' ') ++next;
    if (next >= line.size()) return tags;
    if (line[next] != '[') {
      rest = std::string(line.substr(next));
      return tags;
    }
    start = next;
    i = next;
  }
  if (start < line.size()) tags.emplace_back(TrimBlanks(line.substr(start)));
  return tags;
}

bool IsResultWord(std::string_view word) { return IsResultToken(word); }

// "1." begins the move text of a game without tags.
bool StartsFirstMove(std::string_view text) { return text.size() >= 2 && text[0] == '1' && text[1] == '.'; }

}  // namespace

TPdnSource::TPdnSource(std::istream& in, bool detectUtf8) : in_(in), buffer_(ChunkSize), detectUtf8_(detectUtf8) {}

bool TPdnSource::RawLine(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    if (pos_ == end_) {
      if (eof_) return any;
      in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
      end_ = static_cast<size_t>(in_.gcount());
      pos_ = 0;
      bytes_ += static_cast<int64_t>(end_);
      if (end_ == 0) {
        eof_ = true;
        return any;
      }
    }
    if (skipLf_) {
      skipLf_ = false;
      if (buffer_[pos_] == '\n') {
        ++pos_;
        continue;
      }
    }
    any = true;
    size_t k = pos_;
    while (k < end_ && buffer_[k] != '\n' && buffer_[k] != '\r') ++k;
    line.append(buffer_.data() + pos_, k - pos_);
    if (k < end_) {
      skipLf_ = buffer_[k] == '\r';
      pos_ = k + 1;
      return true;
    }
    pos_ = k;
  }
}

bool TPdnSource::ReadLine(std::string& line) {
  if (held_) {
    held_ = false;
    line = std::move(heldLine_);
    return true;
  }
  std::string raw;
  if (!RawLine(raw)) return false;
  ++lineNumber_;
  std::string_view view = raw;
  if (first_) {
    first_ = false;
    view = WithoutBom(view);
  }
  int lost = 0;
  line = detectUtf8_ ? ToAnsiText(view, lost) : std::string(view);
  if (lost > 0) ++lostLines_;
  for (char& c : line)
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  line = std::string(TrimBlanks(line));
  return true;
}

size_t TPdnSource::AddMoveLine(std::string_view line, TPdnRawGame& game) {
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '{') ++depth_;
    if (c == '}' && depth_ > 0) --depth_;
    if (depth_ != 0) continue;
    if (c == '(') ++parens_;
    if (c == ')' && parens_ > 0) --parens_;
    // Games without tags follow one another, each ended by its result, also
    // right after a game with tags: there the result ends the game when the
    // first move of the next one follows.
    if (parens_ == 0 && (i == 0 || static_cast<unsigned char>(line[i - 1]) <= ' ')) {
      size_t end = i;
      while (end < line.size() && static_cast<unsigned char>(line[end]) > ' ') ++end;
      if (IsResultWord(line.substr(i, end - i))) {
        size_t next = end;
        while (next < line.size() && static_cast<unsigned char>(line[next]) <= ' ') ++next;
        if (game.tags.empty() || StartsFirstMove(line.substr(next))) {
          game.moveText.append(line.substr(0, end));
          game.moveText += ' ';
          ended_ = true;
          return next < line.size() ? next : std::string_view::npos;
        }
        if (next == line.size()) resultEndsLine_ = true;
      }
    }
    if (c == ';') {
      // The rest of the line is a comment; its braces are text.
      std::string rest(TrimBlanks(line.substr(i + 1)));
      for (char& r : rest)
        if (r == '{' || r == '}') r = ' ';
      game.moveText.append(line.substr(0, i));
      game.moveText += " { " + rest + " } ";
      return std::string_view::npos;
    }
    // The next game's first tag written on the last line of moves.
    if (c == '[' && i > 0 && LooksLikeTag(line.substr(i)) && line.find('"', i) != std::string_view::npos) {
      game.moveText.append(line.substr(0, i));
      game.moveText += ' ';
      return i;
    }
  }
  game.moveText.append(line);
  game.moveText += ' ';
  return std::string_view::npos;
}

namespace {
// True when the text has a digit outside comments: a move, or a move number.
bool HasMoves(std::string_view moveText) {
  int depth = 0;
  for (char c : moveText) {
    if (c == '{') ++depth;
    if (c == '}' && depth > 0) --depth;
    if (depth == 0 && c >= '0' && c <= '9') return true;
  }
  return false;
}
}  // namespace

bool TPdnSource::Next(TPdnRawGame& game) {
  // Text after a game's result with neither tags nor moves (a closing
  // remark) is no game of its own.
  while (NextPiece(game))
    if (!game.tags.empty() || HasMoves(game.moveText)) return true;
  return false;
}

bool TPdnSource::NextPiece(TPdnRawGame& game) {
  game.tags.clear();
  game.moveText.clear();
  game.firstLine = 0;
  depth_ = 0;
  std::string line;
  // Up to the first line of the game.
  for (;;) {
    if (!ReadLine(line)) return false;
    if (!line.empty() && line.front() != '%') break;
  }
  game.firstLine = lineNumber_;
  parens_ = 0;
  ended_ = false;
  resultEndsLine_ = false;
  bool more = true;
  while (more && !line.empty() && (line.front() == '[' || line.front() == '%')) {
    if (line.front() == '[') {
      std::string rest;
      for (std::string& tag : SplitTags(line, rest)) game.tags.push_back(std::move(tag));
      // Moves on the line of the last tag.
      if (!rest.empty()) {
        line = std::move(rest);
        break;
      }
    }
    more = ReadLine(line);
  }
  while (more) {
    if (!line.empty()) {
      if (line.front() == '[' && (depth_ == 0 || LooksLikeTag(line))) {
        heldLine_ = std::move(line);
        held_ = true;
        break;
      }
      if (resultEndsLine_ && depth_ == 0 && StartsFirstMove(line)) {
        heldLine_ = std::move(line);
        held_ = true;
        break;
      }
      resultEndsLine_ = false;
      if (line.front() != '%' || depth_ > 0) {
        const size_t tag = AddMoveLine(line, game);
        if (tag != std::string_view::npos) {
          heldLine_ = line.substr(tag);
          held_ = true;
          break;
        }
        if (ended_) break;
      }
    }
    more = ReadLine(line);
  }
  return true;
}

}  // namespace kestrel
