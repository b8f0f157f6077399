#include "app/export/rtf_writer.h"

#include <functional>
#include <vector>

#include "app/export/diagram_picture.h"
#include "app/export/diagram_text.h"
#include "app/export/export_file_name.h"
#include "app/settings/atomic_file.h"
#include "database/game_blob.h"
#include "database/list_texts.h"
#include "engine/packed_board.h"
#include "formats/pdn_move_match.h"
#include "game/child_index.h"
#include "game/glyphs.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

constexpr int IndentStep = 150;  // twips per variation level
constexpr std::string_view DiagramMark = "[#]";

enum class TStyle { main, variation, inline_ };

std::string_view StyleFormat(TStyle style) {
  switch (style) {
    case TStyle::main: return "\\b\\i0";
    case TStyle::variation: return "\\b0\\i0";
    default: return "\\b0\\i";
  }
}

std::string Padded(int value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

// Whether the standard start of some board: such games need no diagram.
bool IsAnyStandardStart(const TPackedBoardNew& start) {
  for (int type = 1; type <= GameTypeCount; ++type)
    if (IsStandardStart(start, type)) return true;
  return false;
}

std::string DescriptionLine(const TGame& game) {
  const TGameHeader& h = game.Header;
  std::string text = game.Tournament;
  if (!game.Site.empty()) text += ", " + game.Site;
  if (h.Round != 0) {
    text += " [" + std::to_string(h.Round);
    if (h.Subround != 0) text += "." + std::to_string(h.Subround);
    text += "]";
  }
  if (h.Date.Year != 0) {
    if (!text.empty()) text += ", ";
    if (h.Date.Month != 0) {
      if (h.Date.Day != 0) text += Padded(h.Date.Day, 2) + ".";
      text += Padded(h.Date.Month, 2) + ".";
    }
    text += Padded(h.Date.Year, 4);
  }
  if (!game.AnnotatorName.empty()) text += " (" + game.AnnotatorName + ")";
  return text;
}

// Writes one game's move text. Variations are kept on an explicit stack of
// pending pieces, so that deeply nested trees cannot exhaust the C++ stack.
class TMoveTextWriter {
 public:
  TMoveTextWriter(const TGame& game, const TRtfOptions& options, std::string& out,
                  std::function<void(const TBrd&)> diagram)
      : game_(game), options_(options), out_(out), diagram_(std::move(diagram)), type_(GameTypeOf(game)),
        index_(game, game.Header.LastMove) {}

  void StartComments(const TBoard& start) {
    for (const std::vector<std::string>* comments : {&game_.CommentsBef, &game_.CommentsAft})
      if (!comments->empty() && !(*comments)[0].empty()) Comment((*comments)[0] + " ", start.b, 0);
  }

  void Write(const TBoard& start) {
    pending_.push_back({TPiece::line, 0, 0, TStyle::main, 1, start, game_.Header.FirstMove, true, {}});
    while (!pending_.empty()) {
      const TPiece piece = std::move(pending_.back());
      pending_.pop_back();
      switch (piece.kind) {
        case TPiece::line: Expand(piece); break;
        case TPiece::move: Move(piece); break;
        case TPiece::mark: Mark(piece.text, piece.style); break;
        case TPiece::raw: Line(piece.text); break;
      }
    }
  }

 private:
  struct TPiece {
    enum Kind { line, move, mark, raw } kind;
    int slot;  // the node whose continuation a line writes; the move of a move
    int depth;
    TStyle style;
    int ply;       // of the moves the piece writes first
    TBoard board;  // before those moves
    TDColor side;  // to move there
    bool first;    // first item after a break
    std::string text;
  };

  void Line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }

  TBoard After(const TBoard& board, int slot) const {
    TBoard next = board;
    ApplyMove(game_.Moves[slot], next, type_);
    return next;
  }

  // Whether the line from `slot` on never branches.
  bool SingleLine(int slot) const {
    for (int node = slot;;) {
      const auto children = index_.Children(node);
      if (children.size() > 1) return false;
      if (children.empty()) return true;
      node = children[0];
    }
  }

  void Expand(const TPiece& at) {
    const auto children = index_.Children(at.slot);
    if (children.empty()) return;
    const int first = children[0];
    Move({TPiece::move, first, at.depth, at.style, at.ply, at.board, at.side, at.first, {}});
    std::vector<TPiece> next;  // in writing order; pushed reversed
    const bool branches = children.size() > 1;
    if (branches) {
      bool inlineStyle = at.style == TStyle::variation;
      for (size_t k = 1; k < children.size() && inlineStyle; ++k) inlineStyle = SingleLine(children[k]);
      if (inlineStyle) {
        next.push_back({TPiece::mark, 0, at.depth, TStyle::inline_, 0, {}, at.side, false, "("});
        for (size_t k = 1; k < children.size(); ++k) {
          const int alt = children[k];
          next.push_back({TPiece::move, alt, at.depth, TStyle::inline_, at.ply, at.board, at.side, true, {}});
          next.push_back({TPiece::line, alt, at.depth, TStyle::inline_, at.ply + 1, After(at.board, alt),
                          Opponent(at.side), false, {}});
          if (k + 1 < children.size())
            next.push_back({TPiece::mark, 0, at.depth, TStyle::inline_, 0, {}, at.side, false, ";"});
        }
        next.push_back({TPiece::mark, 0, at.depth, TStyle::inline_, 0, {}, at.side, false, ")"});
      } else {
        next.push_back({TPiece::raw, 0, 0, at.style, 0, {}, at.side, false, "\\par"});
        const int inner = at.depth + 1;
        for (size_t k = 1; k < children.size(); ++k) {
          const int alt = children[k];
          next.push_back({TPiece::raw, 0, 0, at.style, 0, {}, at.side, false,
                          "\\lin" + std::to_string(inner * IndentStep)});
          next.push_back({TPiece::mark, 0, inner, TStyle::variation, 0, {}, at.side, false, "["});
          next.push_back({TPiece::move, alt, inner, TStyle::variation, at.ply, at.board, at.side, true, {}});
          next.push_back({TPiece::line, alt, inner, TStyle::variation, at.ply + 1, After(at.board, alt),
                          Opponent(at.side), false, {}});
          next.push_back({TPiece::mark, 0, inner, TStyle::variation, 0, {}, at.side, false, "]"});
          next.push_back({TPiece::raw, 0, 0, at.style, 0, {}, at.side, false,
                          "\\par\\lin" + std::to_string(at.depth * IndentStep)});
        }
      }
    }
    next.push_back({TPiece::line, first, at.depth, at.style, at.ply + 1, After(at.board, first), Opponent(at.side),
                    branches, {}});
    for (auto it = next.rbegin(); it != next.rend(); ++it) pending_.push_back(std::move(*it));
  }

  const std::string& CommentOf(const std::vector<std::string>& comments, int slot) const {
    return slot < static_cast<int>(comments.size()) ? comments[slot] : empty_;
  }

  void Move(const TPiece& m) {
    const TBoard after = After(m.board, m.slot);
    const std::string& before = CommentOf(game_.CommentsBef, m.slot);
    if (!before.empty()) Comment(before + " ", after.b, m.depth);
    const int a = m.ply + (game_.Header.FirstMove == TDColor::black ? 1 : 0) + game_.Header.NumerationFrom;
    std::string text;
    if (a % 2 == 1)
      text = std::to_string((a + 1) / 2) + ".";
    else if (m.first)
      text = std::to_string((a + 1) / 2) + "...";
    text += MoveText(game_.Moves[m.slot], m.board, m.side);
    Line(StyleFormat(m.style));
    const uint16_t comm = game_.Moves[m.slot].comm;
    text += MoveGlyphText(comm);
    text += PositionGlyphText(comm);
    Line(text + " ");
    const std::string& afterComment = CommentOf(game_.CommentsAft, m.slot);
    if (!afterComment.empty()) Comment(afterComment + " ", after.b, m.depth);
  }

  void Mark(std::string_view mark, TStyle style) {
    Line(StyleFormat(style));
    Line(std::string(mark) + " ");
  }

  void Comment(const std::string& text, const TBrd& board, int depth) {
    Line("\\b0\\i0");
    const size_t at = text.find(DiagramMark);
    if (at == std::string::npos) {
      Line(RtfEscaped(text));
      return;
    }
    Line(RtfEscaped(text.substr(0, at)));
    diagram_(board);
    Line("\\lin" + std::to_string(depth * IndentStep));
    Line(RtfEscaped(text.substr(at + DiagramMark.size())));
  }

  std::string MoveText(const TMove& move, const TBoard& board, TDColor side) {
    uint8_t count = 0;
    GenerateMoveList(board, side, list_, type_, count);
    for (int k = 0; k < count; ++k)
      if (SameMoveExactly(list_[k], move))
        return UnambiguousMoveText(list_[k], list_, count, type_, options_.notation, options_.takeChar);
    return MoveToText(move, type_, options_.notation, options_.takeChar);
  }

  const TGame& game_;
  const TRtfOptions& options_;
  std::string& out_;
  std::function<void(const TBrd&)> diagram_;
  int type_;
  TChildIndex index_;
  std::vector<TPiece> pending_;
  TMoveList list_{};
  const std::string empty_;
};

void AppendHex(std::string& out, std::string_view bytes) {
  static constexpr char digits[] = "0123456789abcdef";
  size_t column = 0;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
    if (++column % 64 == 0) out += "\r\n";
  }
  out += "\r\n";
}

}  // namespace

std::string RtfEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\line ";
    } else {
      out += c;
    }
  }
  return out;
}

std::string RtfFontDiagram(const TBrd& board, int type, bool showJamaican, bool poolWhiteBottom) {
  const std::vector<std::string> lines =
      FramedDiagramLines(board, type, RtfDiagramLayout(type, showJamaican, poolWhiteBottom));
  std::string out = "\\par\\keep\\f1\\qc\\i0\\b0\r\n";
  for (size_t i = 0; i < lines.size(); ++i) {
    out += lines[i];
    out += i + 1 < lines.size() ? "\\line\r\n" : "\\par\\f0\\qj\r\n";
  }
  return out;
}

TRtfDocument::TRtfDocument(TRtfOptions options) : options_(std::move(options)) {}

void TRtfDocument::Line(std::string_view text) {
  body_ += text;
  body_ += "\r\n";
}

void TRtfDocument::Diagram(const TBrd& board, int type) {
  if (options_.diagrams == TRtfDiagrams::font) {
    usesFont_ = true;
    body_ += RtfFontDiagram(board, type, options_.showJamaican, options_.poolWhiteBottom);
    return;
  }
  const TDiagramLayout layout = RtfDiagramLayout(type, options_.showJamaican, options_.poolWhiteBottom);
  const TDiagramSize size = DiagramSize(type);
  const TDiagramPicture picture = DrawDiagramPicture(board, type, layout, DiagramCellPixels);
  // Cells of a fifth of an inch in the document, whatever the pixel size.
  constexpr int twipsPerCell = 288;
  Line("\\par\\keep\\qc\\i0\\b0");
  body_ += "{\\pict\\pngblip\\picw" + std::to_string(picture.width) + "\\pich" + std::to_string(picture.height) +
           "\\picwgoal" + std::to_string((size.columns + 2) * twipsPerCell) + "\\pichgoal" +
           std::to_string((size.rows + 2) * twipsPerCell) + "\r\n";
  AppendHex(body_, EncodePng(picture));
  Line("}\\par\\qj");
}

void TRtfDocument::AddGame(int n, const TGame& game) {
  const int type = GameTypeOf(game);
  Line("\\qc\\fs28\\b");
  std::string title = std::to_string(n) + ". " + game.WhiteName;
  if (!game.BlackName.empty()) title += " - " + game.BlackName;
  Line(RtfEscaped(title));
  Line("\\b0\\par\\fs24\\i");
  Line(RtfEscaped(DescriptionLine(game)));
  TBoard start;
  UnpackBoard(game.StartBoard, start.b);
  if (IsAnyStandardStart(game.StartBoard))
    body_ += "\\par\\par";
  else
    Diagram(start.b, type);
  Line("\\i0\\qj");
  TMoveTextWriter writer(game, options_, body_, [&](const TBrd& board) { Diagram(board, type); });
  writer.StartComments(start);
  writer.Write(start);
  if (game.Header.Result == 2 && options_.resultStyle == 0)
    Line("\\f32\\b\\'bd-\\'bd\\f0");
  else
    Line("\\b " + std::string(ResultText(game.Header.Result, options_.resultStyle)));
  Line("\\b0\\par\\par");
}

std::string TRtfDocument::Text() const {
  std::string out;
  out += "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\froman ";
  out += DiagramFontName;
  out += ";}{\\f32\\froman\\fcharset0\\fprq2 Times New Roman;}}\r\n";
  out += "{\\stylesheet{\\fs24 \\snext Normal;}}\r\n";
  out += "{\\info{\\author Kestrel Thornby}}\r\n";
  out += "\\pard\\plain\r\n";
  if (usesFont_) {
    // Shown whether or not the font is there: a reader without it sees
    // letters where the boards should be and learns what to install.
    out += "{\\fs16\\i Diagrams use the font \"";
    out += DiagramFontName;
    out += "\" (";
    out += DiagramFontFile;
    out += " in the Fonts folder of Kestrel Thornby); install it to see them as boards.\\par}\r\n";
  }
  out += body_;
  out += "}\r\n";
  return out;
}

std::string RtfExportFileName(std::string_view chosen) { return WithExtension(chosen, ".rtf"); }

bool WriteRtfFile(const std::filesystem::path& path, const TRtfDocument& document, std::string* error) {
  return WriteFileAtomically(path, document.Text(), error);
}

}  // namespace kestrel
