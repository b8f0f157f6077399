#include "app/ui/command_line_tools.h"

#include <QDir>
#include <QGuiApplication>
#include <QPalette>
#include <QSaveFile>

#include <charconv>

#include "app/board/board_geometry.h"
#include "app/ui/board_renderer.h"
#include "app/ui/figures.h"
#include "formats/fen.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

constexpr int MinDiagramSize = 50;
constexpr int MaxDiagramSize = 4 * BoardImageSize;

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

ToolRequest Fail(std::string why) {
  ToolRequest r;
  r.kind = ToolRequest::Kind::Error;
  r.error = std::move(why);
  return r;
}

int WriteDiagram(const ToolRequest& request, const std::filesystem::path& programFolder, std::ostream& out,
                 std::ostream& err) {
  BoardScene scene;
  scene.type = request.type;
  scene.reversed = request.reversed;
  scene.showCoords = request.coords;
  scene.board = InitialPosition(request.type).b;
  if (request.fen) {
    std::string why;
    const std::optional<TFenPosition> position = ReadFEN(*request.fen, request.type, &why);
    if (!position) {
      err << "kestrel: the FEN text cannot be read: " << why << "\n";
      return 2;
    }
    scene.board = position->board.b;
  }

  BoardColors colors;
  colors.background = QGuiApplication::palette().color(QPalette::Window);
  FigureSet figures;
  const QString style = QString::fromStdString(request.style);
  if (IsBuiltinFigureStyle(style)) figures.UseBuiltin(style);
  const QString pics = QString::fromStdString((programFolder / "Pics").string());
  for (const QString& message : figures.Load(FigureFilesOfStyle(pics, style)))
    err << "kestrel: " << message.toStdString() << "; the built-in picture is used\n";

  const QImage image = ScaleBoardImage(DrawBoardImage(scene, colors, figures), request.size);
  const QString path = QString::fromStdString(request.output);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
    err << "kestrel: cannot write " << request.output << ": " << file.errorString().toStdString() << "\n";
    return 1;
  }
  out << request.output << ": " << request.size << "x" << request.size << " " << GameTypeNames[request.type]
      << "\n";
  return 0;
}

int WriteFigures(const ToolRequest& request, std::ostream& out, std::ostream& err) {
  const QString style = QString::fromStdString(request.style);
  if (!IsBuiltinFigureStyle(style)) {
    err << "kestrel: no built-in figure style \"" << request.style
        << "\"; the styles are: " << BuiltinFigureStyles().join(", ").toStdString() << "\n";
    return 2;
  }
  QString error;
  if (!WriteBuiltinFigureSet(QString::fromStdString(request.output), style, &error)) {
    err << "kestrel: " << error.toStdString() << "\n";
    return 1;
  }
  out << "figure set \"" << request.style << "\" written to " << request.output << "\n";
  return 0;
}

}  // namespace

std::string ToolUsage() {
  return "Usage:\n"
         "  kestrel                       start the program\n"
         "  kestrel --diagram OUT.png [--variant V] [--fen FEN] [--reversed] [--coords]\n"
         "                    [--style NAME] [--size N]\n"
         "      draw a position (the start position unless --fen is given) into a PNG file of\n"
         "      N by N pixels (920 by default) with the default colours and the figure set NAME\n"
         "      of the Pics folder (\"default\"), then exit; V is a game type name or number\n"
         "  kestrel --write-figures DIR [--style NAME]\n"
         "      write the built-in figure pictures of style NAME (default, flat) as ws.bmp,\n"
         "      bs.bmp, wk.bmp and bk.bmp into DIR\n";
}

ToolRequest ParseToolRequest(const std::vector<std::string>& args) {
  ToolRequest r;
  bool tool = false;
  for (const std::string& a : args)
    if (a == "--diagram" || a == "--write-figures" || a == "--help" || a == "-h") tool = true;
  if (!tool) return r;

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      r.kind = ToolRequest::Kind::Help;
      return r;
    } else if (a == "--diagram" || a == "--write-figures") {
      if (r.kind != ToolRequest::Kind::None) return Fail("give either --diagram or --write-figures, once");
      r.kind = a == "--diagram" ? ToolRequest::Kind::Diagram : ToolRequest::Kind::WriteFigures;
      if (!value(r.output) || r.output.empty()) return Fail(a + " needs a file or folder name");
    } else if (a == "--variant") {
      if (!value(v)) return Fail("--variant needs a game type");
      const std::optional<int> type = ParseGameType(v);
      if (!type) return Fail("unknown game type \"" + v + "\"");
      r.type = *type;
    } else if (a == "--fen") {
      if (!value(v)) return Fail("--fen needs a position");
      r.fen = v;
    } else if (a == "--style") {
      if (!value(r.style) || r.style.empty()) return Fail("--style needs a name");
    } else if (a == "--size") {
      if (!value(v)) return Fail("--size needs a number of pixels");
      const std::optional<int> size = ParseInt(v);
      if (!size || *size < MinDiagramSize || *size > MaxDiagramSize)
        return Fail("--size must be a number from " + std::to_string(MinDiagramSize) + " to " +
                    std::to_string(MaxDiagramSize));
      r.size = *size;
    } else if (a == "--reversed") {
      r.reversed = true;
    } else if (a == "--coords") {
      r.coords = true;
    } else {
      return Fail("unknown option \"" + a + "\"");
    }
  }
  if (r.kind == ToolRequest::Kind::WriteFigures && (r.fen || r.reversed || r.coords || r.size != BoardImageSize))
    return Fail("--write-figures takes only --style");
  return r;
}

int RunTool(const ToolRequest& request, const std::filesystem::path& programFolder, std::ostream& out,
            std::ostream& err) {
  switch (request.kind) {
    case ToolRequest::Kind::Help: out << ToolUsage(); return 0;
    case ToolRequest::Kind::Error: err << "kestrel: " << request.error << "\n" << ToolUsage(); return 2;
    case ToolRequest::Kind::Diagram: return WriteDiagram(request, programFolder, out, err);
    case ToolRequest::Kind::WriteFigures: return WriteFigures(request, out, err);
    case ToolRequest::Kind::None: break;
  }
  return 0;
}

}  // namespace kestrel
