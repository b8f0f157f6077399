// RTF documents read back by a small RTF reader: groups, fonts, the bold main
// line, variations, comments with diagrams, pictures and results.
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/export/rtf_writer.h"
#include "formats/pdn_game_reader.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// Text with the character formatting it was written in.
struct TextRun {
  std::string text;
  bool bold = false, italic = false;
  int font = 0;
};

struct Document {
  bool balanced = true;  // every group closed, none closed too often
  std::map<int, std::string> fonts;
  std::vector<TextRun> runs;
  std::vector<std::string> pictures;  // hex data of \pict groups, decoded
};

// Enough of RTF to read what the writer produces: groups, control words with
// parameters, escaped characters, the font table and pictures.
Document ReadRtf(const std::string& rtf) {
  struct State {
    bool bold = false, italic = false;
    int font = 0;
    enum { text, fonttbl, pict, ignored } dest = text;
  };
  Document doc;
  std::vector<State> stack{State{}};
  int tableFont = -1;
  std::string hex;
  const auto emit = [&](char c) {
    State& s = stack.back();
    if (s.dest == State::fonttbl) {
      if (c != ';') doc.fonts[tableFont] += c;
      return;
    }
    if (s.dest == State::pict) {
      hex += c;
      return;
    }
    if (s.dest == State::ignored) return;
    if (doc.runs.empty() || doc.runs.back().bold != s.bold || doc.runs.back().italic != s.italic ||
        doc.runs.back().font != s.font)
      doc.runs.push_back({"", s.bold, s.italic, s.font});
    doc.runs.back().text += c;
  };
  for (size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '{') {
      stack.push_back(stack.back());
    } else if (c == '}') {
      if (stack.back().dest == State::pict && stack.size() > 1 && stack[stack.size() - 2].dest != State::pict) {
        std::string bytes;
        for (size_t k = 0; k + 1 < hex.size(); k += 2) bytes += static_cast<char>(std::stoi(hex.substr(k, 2), nullptr, 16));
        doc.pictures.push_back(bytes);
        hex.clear();
      }
      stack.pop_back();
      if (stack.empty()) {
        doc.balanced = i + 1 == rtf.find_first_not_of("\r\n", i + 1) || rtf.find_first_not_of("\r\n", i + 1) == std::string::npos;
        if (!doc.balanced) return doc;
        stack.push_back(State{});
      }
    } else if (c == '\r' || c == '\n') {
    } else if (c == '\\' && i + 1 < rtf.size()) {
      const char n = rtf[++i];
      if (std::isalpha(static_cast<unsigned char>(n))) {
        size_t j = i;
        while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
        const std::string word = rtf.substr(i, j - i);
        size_t k = j;
        if (k < rtf.size() && rtf[k] == '-') ++k;
        while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k]))) ++k;
        const bool hasParam = k > j;
        const int param = hasParam ? std::stoi(rtf.substr(j, k - j)) : 1;
        if (k < rtf.size() && rtf[k] == ' ') ++k;
        i = k - 1;
        State& s = stack.back();
        if (word == "b") s.bold = param != 0;
        else if (word == "i") s.italic = param != 0;
        else if (word == "f") {
          if (s.dest == State::fonttbl) tableFont = param; else s.font = param;
        } else if (word == "plain") s.bold = s.italic = false, s.font = 0;
        else if (word == "par" || word == "line") emit('\n');
        else if (word == "fonttbl") s.dest = State::fonttbl;
        else if (word == "pict") s.dest = State::pict;
        else if (word == "info" || word == "stylesheet") s.dest = State::ignored;
      } else if (n == '\'') {
        emit(static_cast<char>(std::stoi(rtf.substr(i + 1, 2), nullptr, 16)));
        i += 2;
      } else {
        emit(n);
      }
    } else {
      emit(c);
    }
  }
  doc.balanced = doc.balanced && stack.size() == 1;
  return doc;
}

TGame GameFromPdn(const std::vector<std::string>& tags, const std::string& moves) {
  TGame game;
  ReadPdnGame({tags, moves, 1}, gtInternational, game);
  return game;
}

// The text of all runs that satisfy `pred`, joined.
template <class Pred>
std::string TextOf(const Document& doc, Pred pred) {
  std::string text;
  for (const TextRun& r : doc.runs)
    if (pred(r)) text += r.text;
  return text;
}

const std::vector<std::string> Tags = {"[White \"Ann\\Lee\"]", "[Black \"Bo{b\"]", "[Event \"Club\"]",
                                       "[Date \"2024.05.07\"]", "[Result \"1-0\"]", "[GameType \"20\"]"};
// A main line with a block variation holding an inline sub-variation, a
// single-line alternative, and a comment with a diagram.
const char* Moves =
    "1. 32-28 {Now the position [#] is lost} 19-23 (1... 18-23 2. 37-32 (2. 38-32 12-18) 12-18) (1... 17-21) "
    "2. 28x19 14x23 1-0";

TEST(RtfWriter, StructureOfAnAnnotatedGame) {
  TRtfOptions options;
  options.resultStyle = 0;
  TRtfDocument document(options);
  document.AddGame(1, GameFromPdn(Tags, Moves));
  const Document doc = ReadRtf(document.Text());
  ASSERT_TRUE(doc.balanced);
  EXPECT_EQ(doc.fonts.at(1), "Kestrel Draughts");
  EXPECT_EQ(doc.fonts.at(0), "Times New Roman");

  const std::string bold = TextOf(doc, [](const TextRun& r) { return r.bold; });
  EXPECT_NE(bold.find("1. Ann\\Lee - Bo{b"), std::string::npos) << bold;
  EXPECT_NE(bold.find("1.32-28 "), std::string::npos);
  EXPECT_NE(bold.find("19-23 "), std::string::npos);
  EXPECT_NE(bold.find("2.28x19 14x23 "), std::string::npos);
  EXPECT_EQ(bold.find("18-23"), std::string::npos);
  EXPECT_NE(TextOf(doc, [](const TextRun& r) { return r.italic; }).find("Club, 07.05.2024"), std::string::npos);

  // Alternatives to the main line stand in brackets, plain; inside them a
  // single-line alternative goes inline, in italics.
  const std::string plain = TextOf(doc, [](const TextRun& r) { return !r.bold && !r.italic && r.font == 0; });
  EXPECT_NE(plain.find("[ 1...18-23 2.37-32 "), std::string::npos) << plain;
  EXPECT_NE(plain.find("[ 1...17-21 ]"), std::string::npos);
  const std::string italic = TextOf(doc, [](const TextRun& r) { return r.italic && !r.bold; });
  EXPECT_NE(italic.find("( 2.38-32 12-18 ) "), std::string::npos) << italic;

  // The comment's diagram: twelve framed lines of the diagram font, the
  // position after 32-28.
  std::vector<std::string> lines;
  std::istringstream diagram(TextOf(doc, [](const TextRun& r) { return r.font == 1; }));
  for (std::string line; std::getline(diagram, line);)
    if (!line.empty()) lines.push_back(line);
  ASSERT_EQ(lines.size(), 12u);
  const std::regex cells("[1-8][ icfea1-2]{10}[1-8]");
  for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, cells)) << line;
  EXPECT_EQ(lines[4], "4e e e e e 3");
  EXPECT_EQ(lines[5], "4 i i i i i3");
  EXPECT_EQ(lines[6], "4i i f i i 3");
  EXPECT_EQ(lines[7], "4 f i f f f3");
  EXPECT_NE(plain.find("Now the position "), std::string::npos);
  EXPECT_NE(plain.find(" is lost "), std::string::npos);
  EXPECT_NE(document.Text().find("Kestrel Draughts\" ("), std::string::npos) << "the note on the font";
}

struct ResultCase {
  uint8_t result;
  int style;
  const char* tail;
};

TEST(RtfWriter, GameWithoutMovesAndItsResult) {
  for (const ResultCase c : {ResultCase{2, 0, "\\f32\\b\\'bd-\\'bd\\f0\r\n\\b0\\par\\par\r\n}\r\n"},
                             ResultCase{2, 1, "\\b 1-1\r\n\\b0\\par\\par\r\n}\r\n"},
                             ResultCase{3, 0, "\\b 0-1\r\n\\b0\\par\\par\r\n}\r\n"}}) {
    TGame game = GameFromPdn({"[White \"A\"]", "[GameType \"20\"]"}, "*");
    game.Header.Result = c.result;
    TRtfOptions options;
    options.resultStyle = c.style;
    TRtfDocument document(options);
    document.AddGame(3, game);
    const std::string text = document.Text();
    EXPECT_NE(text.find("\\qc\\fs28\\b\r\n3. A\r\n\\b0\\par\\fs24\\i\r\n\r\n\\par\\par\\i0\\qj\r\n" +
                        std::string(c.tail)),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Kestrel Draughts\" ("), std::string::npos) << "no diagrams, no note";
  }
}

TEST(RtfWriter, PictureDiagramsAreGreyscalePngOfTheBoard) {
  TRtfOptions options;
  options.diagrams = TRtfDiagrams::picture;
  TRtfDocument document(options);
  // A set-up start position gets a diagram under the title.
  document.AddGame(1, GameFromPdn({"[FEN \"W:W28:B23\"]", "[GameType \"20\"]"}, "1. 28x19 *"));
  const Document doc = ReadRtf(document.Text());
  ASSERT_TRUE(doc.balanced);
  ASSERT_EQ(doc.pictures.size(), 1u);
  const std::string& png = doc.pictures[0];
  ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  const auto be32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(png[at])) << 24 |
           static_cast<unsigned char>(png[at + 1]) << 16 | static_cast<unsigned char>(png[at + 2]) << 8 |
           static_cast<unsigned char>(png[at + 3]);
  };
  const uint32_t width = be32(16), height = be32(20);
  // Ten squares and two frame pieces a quarter of a square wide; twelve lines.
  EXPECT_EQ(width, 10u * 40 + 2 * 10);
  EXPECT_EQ(height, 12u * 40);
  const size_t idat = png.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  std::vector<unsigned char> raw((width + 1) * height);
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(png.data() + idat + 4), be32(idat - 4)),
            Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  const auto grey = [&](int x, int y) { return raw[y * (width + 1) + 1 + x]; };
  // Row 1 of the board (line 2), column 0 is light and column 1 dark.
  EXPECT_EQ(grey(10 + 20, 40 + 20), 255);
  EXPECT_EQ(grey(10 + 40 + 2, 40 + 2), 0);
  // The white man on 28 (line 6, column 4): a black square corner, a white
  // centre, a black ring inside the disc's edge.
  const int x = 10 + 4 * 40, y = 6 * 40;
  EXPECT_EQ(grey(x + 2, y + 2), 0);
  EXPECT_EQ(grey(x + 20, y + 20), 255);
  EXPECT_EQ(grey(x + 20 + 13, y + 20), 0);
  EXPECT_EQ(grey(x + 20 + 15, y + 20), 255);
}

TEST(RtfWriter, FileNamesAndEscapes) {
  EXPECT_EQ(RtfExportFileName("/tmp/games.RTF"), "/tmp/games.rtf");
  EXPECT_EQ(RtfExportFileName("/tmp/v1.2/games"), "/tmp/v1.2/games.rtf");
  EXPECT_EQ(RtfEscaped("a\\b{c}\r\nd"), "a\\\\b\\{c\\}\\line d");
}

}  // namespace
}  // namespace kestrel
