#include "formats/pdn_writer.h"

#include <algorithm>

#include "database/game_blob.h"
#include "engine/packed_board.h"
#include "formats/fen.h"
#include "formats/pdn_glyphs.h"
#include "formats/pdn_move_match.h"
#include "formats/pdn_tags.h"
#include "game/child_index.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// English and Pool files name the program's white "Black".
bool ColoursExchanged(int type) { return type == gtEnglish || type == gtPool; }

std::string TagValue(std::string_view value) {
  std::string out(value);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  return out;
}

void Tag(std::string& out, std::string_view name, std::string_view value) {
  out += "[";
  out += name;
  out += " \"";
  out += TagValue(value);
  out += "\"]\r\n";
}

bool HasSetUpStart(const TGame& game, int type) {
  return !IsStandardStart(game.StartBoard, type) || game.Header.FirstMove != TDColor::white;
}

class TMoveTextWriter {
 public:
  explicit TMoveTextWriter(const TGame& game)
      : game_(game), type_(GameTypeOf(game)), index_(game, game.Header.LastMove) {}

  std::string Write(const TPdnWriteOptions& options) {
    TBoard start;
    UnpackBoard(game_.StartBoard, start.b);
    const std::string& gameComment = game_.CommentsAft.empty() ? empty_ : game_.CommentsAft[0];
    if (!gameComment.empty()) {
      Comment(gameComment);
      // A second comment before the first move tells the reader that the
      // first is the game comment.
      secondGroup_ = true;
    }
    Enter(0, 1, start, game_.Header.FirstMove, false);
    while (!stack_.empty()) {
      TFrame& f = stack_.back();
      if (f.next < f.children.size()) {
        const int child = f.children[f.next++];
        const int ply = f.ply;
        const TBoard board = f.board;
        const TDColor side = f.side;
        text_ += "( ";
        bareMove_ = false;
        Item(child, ply, board, side);
        Enter(child, ply + 1, After(board, child), Opponent(side), true);
        continue;
      }
      const TFrame done = std::move(f);
      stack_.pop_back();
      const int first = done.children[0];
      Enter(first, done.ply + 1, After(done.board, first), Opponent(done.side), done.close);
    }
    text_ += PdnResultText(game_.Header.Result, options.resultStyle);
    return text_;
  }

 private:
  struct TFrame {
    int node;
    int ply;
    TBoard board;
    TDColor side;
    std::vector<int32_t> children;
    size_t next;
    bool close;
  };

  TBoard After(const TBoard& board, int slot) const {
    TBoard next = board;
    ApplyMove(game_.Moves[slot], next, type_);
    return next;
  }

  // Writes the first continuation of `node` and keeps the others for later;
  // a line that ends closes its variation.
  void Enter(int node, int ply, const TBoard& board, TDColor side, bool close) {
    const auto children = index_.Children(node);
    if (children.empty()) {
      if (close) {
        text_ += ") ";
        bareMove_ = false;
      }
      return;
    }
    Item(children[0], ply, board, side);
    stack_.push_back({node, ply, board, side, {children.begin(), children.end()}, 1, close});
  }

  void Comment(std::string_view text) {
    const std::string body = PdnCommentText(text);
    text_ += body.empty() ? "{ } " : "{ " + body + " } ";
  }

  void Item(int slot, int ply, const TBoard& board, TDColor side) {
    const std::string& before = slot < static_cast<int>(game_.CommentsBef.size()) ? game_.CommentsBef[slot] : empty_;
    const std::string& after = slot < static_cast<int>(game_.CommentsAft.size()) ? game_.CommentsAft[slot] : empty_;
    // A comment right after a bare move would be read as that move's.
    if (!before.empty() && bareMove_) Comment("");
    if (!before.empty() || secondGroup_) Comment(before);
    const bool firstOfGame = !started_;
    secondGroup_ = false;
    started_ = true;

    const int a = ply + (game_.Header.FirstMove == TDColor::black ? 1 : 0) + game_.Header.NumerationFrom;
    if (a % 2 == 1)
      text_ += std::to_string((a + 1) / 2) + ". ";
    else if (firstOfGame)
      text_ += std::to_string(a / 2) + "... ";

    text_ += MoveText(game_.Moves[slot], board, side);
    text_ += ' ';
    bareMove_ = true;
    if (!after.empty()) {
      Comment(after);
      bareMove_ = false;
    }
    const std::string glyphs = PdnGlyphTokens(game_.Moves[slot].comm);
    if (!glyphs.empty()) {
      text_ += glyphs;
      bareMove_ = false;
    }
  }

  std::string MoveText(const TMove& move, const TBoard& board, TDColor side) {
    uint8_t count = 0;
    GenerateMoveList(board, side, list_, type_, count);
    for (int k = 1; k <= count; ++k)
      if (SameMoveExactly(list_[k - 1], move)) return PdnMoveToken(list_, count, k, type_);
    return PdnMoveToken(move, type_);
  }

  const TGame& game_;
  int type_;
  TChildIndex index_;
  std::vector<TFrame> stack_;
  std::string text_;
  TMoveList list_{};
  bool bareMove_ = false;
  bool secondGroup_ = false;
  bool started_ = false;
  const std::string empty_;
};

}  // namespace

std::string PdnCommentText(std::string_view comment) {
  std::string text(comment);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  // Pair the braces as the reader does; the ones left over are not braces.
  std::vector<size_t> open;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      open.push_back(i);
    } else if (text[i] == '}') {
      if (open.empty())
        text[i] = ')';
      else
        open.pop_back();
    }
  }
  for (size_t i : open) text[i] = '(';
  return std::string(TrimBlanks(text));
}

std::string PdnTagSection(const TGame& game, const TPdnWriteOptions& options) {
  const bool it = options.italianTags;
  const int type = GameTypeOf(game);
  const TGameHeader& h = game.Header;
  const char* white = it ? "Bianco" : "White";
  const char* black = it ? "Nero" : "Black";
  std::string out;
  Tag(out, ColoursExchanged(type) ? black : white, game.WhiteName);
  Tag(out, ColoursExchanged(type) ? white : black, game.BlackName);
  if (h.White.Rating != 0) Tag(out, "ELO1", std::to_string(h.White.Rating));
  if (h.Black.Rating != 0) Tag(out, "ELO2", std::to_string(h.Black.Rating));
  Tag(out, it ? "Dati" : "Event", game.Tournament);
  Tag(out, it ? "Localita" : "Site", game.Site);
  Tag(out, it ? "Turno" : "Round", PdnRoundText(h.Round, h.Subround));
  Tag(out, it ? "Anno" : "Date", PdnDateText(h.Date));
  Tag(out, it ? "Esito" : "Result", PdnResultText(h.Result, options.resultStyle));
  Tag(out, "GameType", std::to_string(PdnGameTypeCode(type)));
  if (HasSetUpStart(game, type)) {
    TBoard start;
    UnpackBoard(game.StartBoard, start.b);
    Tag(out, "Setup", "1");
    Tag(out, it ? "Posizione" : "FEN", WriteFEN(start, h.FirstMove, type));
  }
  if (!game.AnnotatorName.empty()) Tag(out, "Annotator", game.AnnotatorName);
  return out;
}

std::string PdnMoveSection(const TGame& game, const TPdnWriteOptions& options) {
  return TMoveTextWriter(game).Write(options);
}

std::vector<std::string> BreakPdnLine(std::string_view text, size_t width) {
  std::vector<std::string> lines;
  size_t start = 0;
  const auto cutPoint = [&](size_t p) {
    if (text[p] != ' ' || p == 0 || p + 1 >= text.size()) return false;
    const char before = text[p - 1], after = text[p + 1];
    return before != ' ' && after != ' ' && after != '[' && after != '%' && after != ';';
  };
  while (text.size() - start > width) {
    size_t p = start + width;
    while (p < text.size() && !cutPoint(p)) ++p;
    if (p >= text.size()) break;
    lines.emplace_back(text.substr(start, p + 1 - start));
    start = p + 1;
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

std::string PDNGameText(const TGame& game, const TPdnWriteOptions& options) {
  std::string out = PdnTagSection(game, options);
  out += "\r\n";
  for (const std::string& line : BreakPdnLine(PdnMoveSection(game, options))) {
    out += line;
    out += "\r\n";
  }
  out += "\r\n";
  return out;
}

int WritePDNGame(const TGame& game, std::ostream& out, const TPdnWriteOptions& options) {
  int lost = 0;
  const std::string stored = PDNGameText(game, options);
  const std::string text = options.encoding == TCodePage::utf8 ? AnsiToUtf8(stored)
                                                               : AnsiToCodePage(stored, options.encoding, lost);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return lost;
}

}  // namespace kestrel
