#include "formats/text_import.h"

#include <array>
#include <fstream>
#include <iterator>
#include <sstream>

#include "database/code_page.h"
#include "formats/pdn_import.h"
#include "formats/pdn_writer.h"

namespace kestrel {
namespace {

// Windows-1251 bytes of Cyrillic letters.
constexpr char CyrA = '\xE0', CyrEs = '\xF1', CyrIe = '\xE5', CyrHa = '\xF5';
constexpr char CyrCapA = '\xC0', CyrCapEs = '\xD1', CyrCapIe = '\xC5', CyrCapHa = '\xD5';

std::string MakeAlphabet(char latinA, unsigned char cyrA, unsigned char yo) {
  std::string text;
  for (int i = 0; i < 26; ++i) text += static_cast<char>(latinA + i);
  // а..е, ё, ж..я
  for (int i = 0; i < 6; ++i) text += static_cast<char>(cyrA + i);
  text += static_cast<char>(yo);
  for (int i = 6; i < 32; ++i) text += static_cast<char>(cyrA + i);
  return text;
}

struct TResultForm {
  std::string_view spelling;
  std::string_view result;
};

// Searched in this order; the first found wins.
const std::array<TResultForm, 60>& ResultForms() {
  static const std::array<TResultForm, 60> forms = {{
      {"1-0", "1-0"},         {"1:0", "1-0"},         {"2-0", "1-0"},         {"2:0", "1-0"},
      {"3-0", "1-0"},         {"3:0", "1-0"},         {"1-O", "1-0"},         {"1:O", "1-0"},
      {"2-O", "1-0"},         {"2:O", "1-0"},         {"3-O", "1-0"},         {"3:O", "1-0"},
      {"1 - 0", "1-0"},       {"1 : 0", "1-0"},       {"2 - 0", "1-0"},       {"2 : 0", "1-0"},
      {"3 - 0", "1-0"},       {"3 : 0", "1-0"},       {"1 - O", "1-0"},       {"1 : O", "1-0"},
      {"2 - O", "1-0"},       {"2 : O", "1-0"},       {"3 - O", "1-0"},       {"3 : O", "1-0"},
      {"1/2-1/2", "1/2-1/2"}, {"1/2:1/2", "1/2-1/2"}, {"1/2 - 1/2", "1/2-1/2"}, {"1/2 : 1/2", "1/2-1/2"},
      {"=", "1/2-1/2"},       {"1-1", "1/2-1/2"},     {"1 - 1", "1/2-1/2"},   {"1:1", "1/2-1/2"},
      {"1 : 1", "1/2-1/2"},   {"\xED\xE8\xF7\xFC\xFF", "1/2-1/2"},  // ничья
      {"0-1", "0-1"},         {"0:1", "0-1"},         {"0-2", "0-1"},         {"0:2", "0-1"},
      {"0-3", "0-1"},         {"0:3", "0-1"},         {"O-1", "0-1"},         {"O:1", "0-1"},
      {"O-2", "0-1"},         {"O:2", "0-1"},         {"O-3", "0-1"},         {"O:3", "0-1"},
      {"0 - 1", "0-1"},       {"0 : 1", "0-1"},       {"0 - 2", "0-1"},       {"0 : 2", "0-1"},
      {"0 - 3", "0-1"},       {"0 : 3", "0-1"},       {"O - 1", "0-1"},       {"O : 1", "0-1"},
      {"O - 2", "0-1"},       {"O : 2", "0-1"},       {"O - 3", "0-1"},       {"O : 3", "0-1"},
      {"+.-", "1-0t"},        {"-.+", "0-1t"},
  }};
  return forms;
}

bool IsMarkLetter(char c) { return std::string_view("ABCDEFGHabcdefgh").find(c) != std::string_view::npos; }
bool IsMarkDigit(char c) { return c >= '1' && c <= '8'; }

// "-" or letter, digit, letter, digit: c3d4.
bool IsOpeningMark(std::string_view word) {
  if (word == "-") return true;
  return word.size() == 4 && IsMarkLetter(word[0]) && IsMarkDigit(word[1]) && IsMarkLetter(word[2]) &&
         IsMarkDigit(word[3]);
}

std::string OpeningMarkText(std::string_view word) {
  if (word == "-") return "- ";
  return std::string(word.substr(0, 2)) + ">" + std::string(word.substr(2, 2)) + " ";
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

std::string JoinWords(const std::vector<std::string>& words, size_t from, size_t count) {
  std::string text;
  for (size_t i = from; i < from + count && i < words.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += words[i];
  }
  return text;
}

bool IsAlphabetLetter(char c) {
  return LowerAlphabet.find(c) != std::string::npos || UpperAlphabet.find(c) != std::string::npos;
}

}  // namespace

const std::string LowerAlphabet = MakeAlphabet('a', 0xE0, 0xB8);
const std::string UpperAlphabet = MakeAlphabet('A', 0xC0, 0xA8);

std::string AlphabetLowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const size_t at = UpperAlphabet.find(c);
    if (at != std::string::npos) c = LowerAlphabet[at];
  }
  return out;
}

void CollapseSpaces(std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ' ') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  text = std::move(out);
}

bool IsHeaderLine(std::string_view line) {
  static constexpr std::string_view moveChars = "1234567890.-:abcdefghx";
  const std::string lower = AlphabetLowerCase(line);
  size_t count = 0;
  for (char c : lower)
    if (c != ' ' && moveChars.find(c) == std::string_view::npos) ++count;
  return count > lower.size() / 5;
}

std::optional<std::string> FindResult(std::string& line, bool cut) {
  for (const TResultForm& form : ResultForms()) {
    const size_t at = line.find(form.spelling);
    if (at == std::string::npos) continue;
    if (cut) line.replace(at, form.spelling.size(), " ");
    return std::string(form.result);
  }
  return std::nullopt;
}

std::optional<std::string> FindResultInMoves(std::string& line) {
  for (const TResultForm& form : ResultForms()) {
    for (size_t at = line.find(form.spelling); at != std::string::npos; at = line.find(form.spelling, at + 1)) {
      const size_t end = at + form.spelling.size();
      if ((at == 0 || line[at - 1] == ' ') && (end == line.size() || line[end] == ' ')) {
        line.replace(at, form.spelling.size(), " ");
        return std::string(form.result);
      }
    }
  }
  return std::nullopt;
}

void TTextConverter::Line(std::string_view text) {
  out_ << text << "\r\n";
}

void TTextConverter::ProcessLine(std::string line) {
  for (char& c : line)
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  CollapseSpaces(line);
  if (line.empty()) return;
  if (IsHeaderLine(line)) {
    FlushGame();
    ParseHeaderLine(line);
    return;
  }
  if (auto result = FindResultInMoves(line)) result_ = *result;
  // Cyrillic letters typed for the Latin ones they look like.
  for (char& c : line) {
    if (c == CyrA || c == CyrCapA) c = 'a';
    if (c == CyrEs || c == CyrCapEs) c = 'c';
    if (c == CyrIe || c == CyrCapIe) c = 'e';
    if (c == CyrHa || c == CyrCapHa) c = 'x';
  }
  CollapseSpaces(line);
  if (!line.empty()) moveLines_.push_back(line);
}

void TTextConverter::ParseHeaderLine(std::string line) {
  if (auto result = FindResult(line, true)) result_ = *result;
  CollapseSpaces(line);

  std::vector<std::string> words = Words(line);
  if (words.size() >= 2 && IsOpeningMark(words[words.size() - 1]) && IsOpeningMark(words[words.size() - 2])) {
    moveLines_.push_back(OpeningMarkText(words[words.size() - 2]) + OpeningMarkText(words[words.size() - 1]));
    words.resize(words.size() - 2);
    line = JoinWords(words, 0, words.size());
  }

  for (char& c : line)
    if (!IsAlphabetLetter(c) && c != '-') c = ' ';
  CollapseSpaces(line);

  const size_t dash = line.find('-');
  if (dash != std::string::npos) {
    white_ = line.substr(0, dash);
    black_ = line.substr(dash + 1);
    CollapseSpaces(white_);
    CollapseSpaces(black_);
  } else {
    words = Words(line);
    const size_t half = words.size() / 2;
    white_ = JoinWords(words, 0, half);
    black_ = JoinWords(words, half, half);
    if (words.size() % 2 == 1) event_ = words.back();
  }
  Line("");
}

void TTextConverter::FlushGame() {
  if (moveLines_.empty()) return;
  Line("[Event \"" + event_ + "\"]");
  Line("[White \"" + white_ + "\"]");
  Line("[Black \"" + black_ + "\"]");
  Line("[Result \"" + result_ + "\"]");
  Line("");
  for (const std::string& line : moveLines_) {
    // A bracket would start a tag and "%" an escape line: such a line stays
    // text, as a comment.
    if (line.find('[') != std::string::npos || line.front() == '%')
      Line("{ " + PdnCommentText(line) + " }");
    else
      Line(line);
  }
  moveLines_.clear();
  white_.clear();
  black_.clear();
  event_.clear();
  result_.clear();
  ++games_;
}

std::string ConvertText(std::string_view text, int* games) {
  std::ostringstream out;
  TTextConverter converter(out);
  text = WithoutBom(text);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    converter.ProcessLine(ToAnsiText(text.substr(start, end - start)));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  converter.FlushGame();
  if (games) *games = converter.GamesWritten();
  return out.str();
}

int ConvertTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TPdnFileError("Cannot open the file " + path);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw TPdnFileError("Cannot read the file " + path);
  int games = 0;
  const std::string pdn = ConvertText(text, &games);
  const std::string outPath = path + ".pdn";
  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  if (!out) throw TPdnFileError("Cannot write the file " + outPath);
  out.write(pdn.data(), static_cast<std::streamsize>(pdn.size()));
  out.flush();
  if (!out) throw TPdnFileError("Cannot write the file " + outPath);
  return games;
}

}  // namespace kestrel
