#include "formats/pdn_move_text.h"

#include <algorithm>
#include <vector>

#include "engine/packed_board.h"
#include "formats/pdn_glyphs.h"
#include "formats/pdn_move_match.h"
#include "formats/pdn_tags.h"
#include "formats/pdn_tree_builder.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendText(std::string& to, std::string_view text) {
  if (text.empty()) return;
  if (!to.empty()) to += ' ';
  to += text;
}

std::string Joined(const std::vector<std::string>& parts, size_t from = 0) {
  std::string text;
  for (size_t i = from; i < parts.size(); ++i) AppendText(text, parts[i]);
  return text;
}

// Reads the text from the front: words, comments and parentheses.
class TLexer {
 public:
  explicit TLexer(std::string_view text) : text_(text) {}

  size_t Pos() {
    SkipBlanks();
    return pos_;
  }
  void Seek(size_t pos) { pos_ = pos; }
  bool AtEnd() { return Pos() >= text_.size(); }
  char Peek() { return AtEnd() ? '\0' : text_[pos_]; }
  std::string_view From(size_t pos) const { return TrimBlanks(text_.substr(std::min(pos, text_.size()))); }

  // At "{": the text up to the matching "}" (braces nest), trimmed. A
  // comment that is never closed runs to the end.
  std::string Comment() {
    const size_t start = ++pos_;
    int depth = 1;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '{') ++depth;
      if (c == '}' && --depth == 0) break;
      ++pos_;
    }
    const std::string_view body = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) ++pos_;
    return std::string(TrimBlanks(body));
  }

  // A word up to a blank, "(", ")" or "{"; a parenthesis alone; a mark in
  // parentheses such as "(?)" whole.
  std::string_view Word() {
    SkipBlanks();
    const size_t start = pos_;
    if (pos_ >= text_.size()) return {};
    const char c = text_[pos_];
    if (c == '(') {
      size_t k = pos_ + 1;
      while (k < text_.size() && k < pos_ + 3 && (text_[k] == '!' || text_[k] == '?')) ++k;
      if (k > pos_ + 1 && k < text_.size() && text_[k] == ')') {
        pos_ = k + 1;
        return text_.substr(start, pos_ - start);
      }
    }
    if (c == '(' || c == ')') {
      ++pos_;
      return text_.substr(start, 1);
    }
    while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != '(' && text_[pos_] != ')' &&
           text_[pos_] != '{')
      ++pos_;
    return text_.substr(start, pos_ - start);
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// Made only of digits and dots: "12.", "12...", "...".
bool IsNumberToken(std::string_view token) {
  return !token.empty() && std::all_of(token.begin(), token.end(), [](char c) { return IsDigit(c) || c == '.'; });
}

// Length of a leading move number "12." or "12..." glued to a move; 0 when
// there is none.
size_t NumberPrefix(std::string_view token) {
  size_t k = 0;
  while (k < token.size() && IsDigit(token[k])) ++k;
  const size_t digits = k;
  while (k < token.size() && token[k] == '.') ++k;
  return k > digits ? k : 0;
}

// "!", "?!", "(?)": the move glyph code, else 0.
int MarkCode(std::string_view token) {
  if (token.size() >= 3 && token.front() == '(' && token.back() == ')') token = token.substr(1, token.size() - 2);
  return MoveGlyphFromMark(token);
}

bool IsBallotMove(std::string_view token) {
  if (token == "-") return true;
  if (token.size() != 5 || token[2] != '>') return false;
  const auto named = [](std::string_view name) {
    return std::find(AlgebraicNames8.begin() + 1, AlgebraicNames8.end(), name) != AlgebraicNames8.end();
  };
  return named(token.substr(0, 2)) && named(token.substr(3, 2));
}

int AlgebraicSquare(std::string_view name) {
  for (int s = 1; s <= 32; ++s)
    if (AlgebraicNames8[s] == name) return s;
  return 0;
}

constexpr size_t MaxVariationDepth = static_cast<size_t>(MaxMoveSlots);

struct TFrame {
  int node = 0;
  TBoard board;
  TDColor side = TDColor::white;
  int ply = 1;  // ply of the next move
  bool hasPrev = false;
  int prevNode = 0;
  TBoard prevBoard;
  TDColor prevSide = TDColor::white;
  int prevPly = 1;
};

class TMoveTextReader {
 public:
  TMoveTextReader(TGame& game, std::string_view text, const TMoveTextOptions& options)
      : game_(game), builder_(game), type_(GameTypeOf(game)), lex_(text), options_(options) {}

  TMoveTextResult Run() {
    TFrame root;
    TBrd start;
    UnpackBoard(game_.StartBoard, start);
    if (options_.readBallot && GameTypes[type_].SquareCount == 32) ReadBallot(start);
    root.board.b = start;
    root.side = game_.Header.FirstMove;
    frames_.push_back(root);
    while (!finished_ && result_.complete) Step();
    return result_;
  }

 private:
  TFrame& Top() { return frames_.back(); }

  void ReadBallot(TBrd& start) {
    const size_t pos = lex_.Pos();
    const std::string_view white = lex_.Word();
    const std::string_view black = lex_.Word();
    if (!IsBallotMove(white) || !IsBallotMove(black)) {
      lex_.Seek(pos);
      return;
    }
    if (white != "-") {
      start[AlgebraicSquare(white.substr(0, 2))] = Empty;
      start[AlgebraicSquare(white.substr(3, 2))] = WhiteMan;
    }
    if (black != "-") {
      const int from = AlgebraicSquare(black.substr(0, 2));
      if (start[from] < 0) start[from] = Empty;
      start[AlgebraicSquare(black.substr(3, 2))] = BlackMan;
    }
    PackBoard(start, game_.StartBoard);
  }

  void Step() {
    while (lex_.Peek() == '{') pending_.push_back(lex_.Comment());
    if (lex_.AtEnd()) {
      AttachPending();
      finished_ = true;
      return;
    }
    const size_t tokenStart = lex_.Pos();
    std::string token(lex_.Word());
    if (token == ")" || token == "(") number_ = 0;
    if (token == ")") {
      AttachPending();
      if (frames_.size() > 1) frames_.pop_back();
      return;
    }
    if (token == "(") {
      AttachPending();
      if (frames_.size() >= MaxVariationDepth) return Stop(tokenStart, "variations are nested too deeply");
      TFrame child;
      const TFrame& top = Top();
      child.node = top.hasPrev ? top.prevNode : top.node;
      child.board = top.hasPrev ? top.prevBoard : top.board;
      child.side = top.hasPrev ? top.prevSide : top.side;
      child.ply = top.hasPrev ? top.prevPly : top.ply;
      frames_.push_back(child);
      return;
    }
    if (SkipSpacedResult(token)) return;
    JoinPaddedSquare(token);
    // Digits alone are a move number, unless they are a move of two-digit
    // squares written without a separator ("3228").
    if (IsNumberToken(token) && (token.size() != 4 || token.find('.') != std::string::npos || !IsLegalMoveText(token))) {
      NoteNumber(token);
      return;
    }
    if (const size_t prefix = NumberPrefix(token); prefix != 0) {
      NoteNumber(token.substr(0, prefix));
      token.erase(0, prefix);
    } else if (token.back() == '.') {
      token.erase(token.find_last_not_of('.') + 1);
    } else if (const size_t dot = token.find('.'); dot != std::string::npos) {
      token.erase(0, dot + 1);
    }
    if (token.empty()) return;
    if (token.front() == '$') {
      if (const auto glyph = GlyphFromNag(token)) SetGlyph(Top().node, *glyph);
      return;
    }
    if (const int mark = MarkCode(token)) {
      SetGlyph(Top().node, {1, mark});
      return;
    }
    // A mark glued to the move: "32-28!".
    int mark = 0;
    const size_t marks = token.find_last_not_of("!?");
    if (marks != std::string::npos && marks + 1 < token.size()) {
      mark = MoveGlyphFromMark(std::string_view(token).substr(marks + 1));
      token.erase(marks + 1);
    }
    TFrame& top = Top();
    TMoveList& list = list_;
    uint8_t count = 0;
    GenerateMoveList(top.board, top.side, list, type_, count);
    int k = FindPdnMove(token, list, count, type_);
    if (k == 0) {
      if (IsResultToken(token)) return;
      const std::string rebuilt = RebuiltCaptureToken(token);
      if (!rebuilt.empty()) k = FindPdnMove(rebuilt, list, count, type_);
    }
    if (k == 0)
      return Stop(tokenStart, "ply " + std::to_string(top.ply) + ": \"" + token + "\" is no legal move");
    PlayMove(list[k - 1], tokenStart, mark);
  }

  void PlayMove(const TMove& move, size_t tokenStart, int mark) {
    TFrame& top = Top();
    const TAddResult added = builder_.Add(top.node, move);
    if (!added.ok()) return Stop(tokenStart, std::string(AddStatusText(added.status)));
    const int slot = added.slot;
    ++result_.moves;

    // Before the first move of the game, a second comment means the first
    // was the game comment.
    size_t first = 0;
    if (frames_.size() == 1 && top.node == 0 && pending_.size() >= 2) {
      AppendText(game_.CommentsAft[0], pending_[0]);
      first = 1;
    }
    AppendText(game_.CommentsBef[slot], Joined(pending_, first));
    pending_.clear();
    if (mark != 0) SetGlyph(slot, {1, mark});
    if (frames_.size() == 1) InferNumeration(top.ply);

    top.hasPrev = true;
    top.prevNode = top.node;
    top.prevBoard = top.board;
    top.prevSide = top.side;
    top.prevPly = top.ply;
    ApplyMove(move, top.board, type_);
    top.node = slot;
    top.side = Opponent(top.side);
    ++top.ply;

    // One comment after the move, then its glyphs.
    if (lex_.Peek() == '{') AppendText(game_.CommentsAft[slot], lex_.Comment());
    for (;;) {
      const size_t pos = lex_.Pos();
      const std::string_view word = lex_.Word();
      if (!word.empty() && word.front() == '$') {
        if (const auto glyph = GlyphFromNag(word)) SetGlyph(slot, *glyph);
        continue;
      }
      if (const int code = MarkCode(word)) {
        SetGlyph(slot, {1, code});
        continue;
      }
      lex_.Seek(pos);
      break;
    }
  }

  // Programs that align their columns pad square numbers with blanks inside
  // a move: "1- 6", "47x 9". The number after the blank belongs to it.
  void JoinPaddedSquare(std::string& token) {
    if (token.size() < 2 || std::string_view("-x:").find(token.back()) == std::string_view::npos ||
        !IsDigit(token[token.size() - 2]))
      return;
    const size_t pos = lex_.Pos();
    const std::string_view next = lex_.Word();
    if (!next.empty() && std::all_of(next.begin(), next.end(), IsDigit))
      token += next;
    else
      lex_.Seek(pos);
  }

  bool IsLegalMoveText(const std::string& token) {
    uint8_t count = 0;
    GenerateMoveList(Top().board, Top().side, list_, type_, count);
    return FindPdnMove(token, list_, count, type_) != 0;
  }

  // "1 - 0", "1/2 : 1/2": a result written with blanks.
  bool SkipSpacedResult(std::string_view token) {
    if (token != "0" && token != "1" && token != "2" && token != "1/2") return false;
    const size_t pos = lex_.Pos();
    const std::string_view sep = lex_.Word();
    if (sep == "-" || sep == ":") {
      const std::string_view other = lex_.Word();
      if (IsResultToken(std::string(token) + std::string(sep) + std::string(other))) return true;
    }
    lex_.Seek(pos);
    return false;
  }

  void NoteNumber(std::string_view token) {
    const size_t dots = token.find('.');
    if (dots == 0 || dots == std::string_view::npos) return;
    number_ = PdnInteger(token.substr(0, dots));
    numberBlack_ = token.size() - dots >= 2;
  }

  // The number before the first moves of the main line gives the plies
  // counted before the start position.
  void InferNumeration(int ply) {
    const int64_t n = number_;
    number_ = 0;
    if (numerationDone_ || ply > 2) {
      numerationDone_ = true;
      return;
    }
    if (n <= 0 || !options_.readNumeration) return;
    numerationDone_ = true;
    const int64_t a = numberBlack_ ? 2 * n : 2 * n - 1;
    const int64_t from = a - ply - (game_.Header.FirstMove == TDColor::black ? 1 : 0);
    if (from >= 0 && from <= 255) game_.Header.NumerationFrom = static_cast<uint8_t>(from);
  }

  void SetGlyph(int slot, const TPdnGlyph& glyph) {
    if (slot <= 0 || !game_.IsNode(slot)) return;
    game_.Moves[slot].comm = WithGlyph(game_.Moves[slot].comm, glyph);
  }

  // Comments with no move after them belong after the move reached.
  void AttachPending() {
    if (pending_.empty()) return;
    AppendText(game_.CommentsAft[Top().node], Joined(pending_));
    pending_.clear();
  }

  void Stop(size_t tokenStart, std::string reason) {
    AttachPending();
    AppendText(game_.CommentsAft[Top().node], "* " + std::string(lex_.From(tokenStart)));
    result_.complete = false;
    result_.reason = std::move(reason);
  }

  TGame& game_;
  TPdnTreeBuilder builder_;
  int type_;
  TLexer lex_;
  TMoveTextOptions options_;
  TMoveTextResult result_;
  std::vector<TFrame> frames_;
  std::vector<std::string> pending_;
  TMoveList list_{};
  int64_t number_ = 0;
  bool numberBlack_ = false;
  bool numerationDone_ = false;
  bool finished_ = false;
};

}  // namespace

TMoveTextResult ReadPdnMoveText(TGame& game, std::string_view text, const TMoveTextOptions& options) {
  return TMoveTextReader(game, text, options).Run();
}

}  // namespace kestrel
