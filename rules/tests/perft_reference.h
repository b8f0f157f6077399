// Reads published perft counts from the shared reference notes at run time:
// start-position tables ("| d | keep | drop |"), and series written as
// "d=1..11: 17, 79, 1,399, ..." with the position's FEN nearby. Numbers use
// "," both between thousands and, followed by a space, between entries.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <cctype>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kestrel::testing {

struct PerftCounts {
  std::vector<uint64_t> keep;  // index d-1
  std::vector<uint64_t> drop;
};

class PerftReference {
 public:
  // Empty when the notes are not there.
  static std::optional<PerftReference> Load() {
    std::ifstream in(std::string(KESTREL_SHARED_DIR) + "/reference/perft.md");
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    return PerftReference(text.str());
  }

  // The text from the heading that contains `heading` to the next heading of
  // the same or a higher level.
  std::string Section(const std::string& heading) const {
    const size_t start = text_.find(heading);
    if (start == std::string::npos) return {};
    const size_t lineStart = text_.rfind('\n', start) + 1;
    const size_t level = text_.find(' ', lineStart) - lineStart;
    size_t end = start;
    while ((end = text_.find('\n', end + 1)) != std::string::npos) {
      const size_t hashes = text_.find_first_not_of('#', end + 1) - (end + 1);
      if (hashes > 0 && hashes <= level && text_[end + 1 + hashes] == ' ') break;
    }
    return text_.substr(start, end == std::string::npos ? std::string::npos : end - start);
  }

  // The keep and drop columns of the table in `section`; "same" repeats the
  // keep column, a range row ("1–4") holds one entry per depth.
  static PerftCounts Table(const std::string& section) {
    PerftCounts counts;
    std::istringstream lines(section);
    std::string line;
    while (std::getline(lines, line)) {
      std::vector<std::string> cells;
      std::stringstream row(line);
      std::string cell;
      while (std::getline(row, cell, '|')) cells.push_back(Trim(cell));
      if (cells.size() < 4 || cells[0] != "" || cells[1].empty() || !std::isdigit(static_cast<unsigned char>(cells[1][0])))
        continue;
      const std::vector<uint64_t> keep = Numbers(cells[2]);
      const std::vector<uint64_t> drop = cells[3] == "same" ? keep : Numbers(cells[3]);
      counts.keep.insert(counts.keep.end(), keep.begin(), keep.end());
      if (drop.size() == keep.size()) counts.drop.insert(counts.drop.end(), drop.begin(), drop.end());
    }
    return counts;
  }

  // The numbers that follow the first `marker` after `anchor` in `section`,
  // up to the end of that paragraph or list item.
  static std::vector<uint64_t> SeriesAfter(const std::string& section, const std::string& anchor,
                                           const std::string& marker) {
    const size_t a = section.find(anchor);
    if (a == std::string::npos) return {};
    const size_t m = section.find(marker, a);
    if (m == std::string::npos) return {};
    const size_t begin = section.find_first_not_of(" \n", m + marker.size());
    if (begin == std::string::npos) return {};
    size_t end = begin;
    while ((end = section.find('\n', end + 1)) != std::string::npos) {
      const size_t next = section.find_first_not_of(' ', end + 1);
      if (next == std::string::npos || section[next] == '\n' || section[next] == '-' || section[next] == '#') break;
    }
    return Numbers(section.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
  }

  // The first position in backticks ("W:..." or "B:...") after `anchor`.
  static std::string FenAfter(const std::string& section, const std::string& anchor) {
    size_t pos = section.find(anchor);
    while (pos != std::string::npos) {
      const size_t open = section.find('`', pos + 1);
      if (open == std::string::npos) break;
      const size_t close = section.find('`', open + 1);
      if (close == std::string::npos) break;
      const std::string code = section.substr(open + 1, close - open - 1);
      if (code.size() > 2 && (code[0] == 'W' || code[0] == 'B') && code[1] == ':') return code;
      pos = close;
    }
    return {};
  }

  // "7, 49, 1,469" -> 7 49 1469; stops at the first entry that is not a number.
  static std::vector<uint64_t> Numbers(std::string text) {
    std::vector<uint64_t> numbers;
    std::string clean;
    for (char c : text)
      if (c != '*') clean += c == '\n' ? ' ' : c;
    size_t pos = 0;
    while (pos < clean.size()) {
      size_t end = clean.find(", ", pos);
      std::string entry = Trim(clean.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
      std::string digits;
      for (char c : entry)
        if (c != ',') digits += c;
      if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) break;
      numbers.push_back(std::stoull(digits));
      if (end == std::string::npos) break;
      pos = end + 2;
    }
    return numbers;
  }

 private:
  explicit PerftReference(std::string text) : text_(std::move(text)) {}

  static std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(" \t\r.");
    return s.substr(b, e - b + 1);
  }

  std::string text_;
};

}  // namespace kestrel::testing
