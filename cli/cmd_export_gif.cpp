// kestrel-cli export gif --variant V [--fen FEN] [--size N] [--reversed] OUT.gif:
// the board picture the window's "*.GIF" export writes, drawn offscreen
// with the default colours and the default figure set.
#include <QGuiApplication>

#include <iostream>
#include <memory>

#include "app/export/diagram_size.h"
#include "app/export/gif_writer.h"
#include "app/settings/program_folder.h"
#include "app/ui/board_picture_gif.h"
#include "app/ui/board_renderer.h"
#include "app/ui/figures.h"
#include "cli/command_registry.h"
#include "cli/export_position.h"

namespace kestrel::cli {
namespace {

int WriteGif(const TExportPosition& position, int size, bool reversed, const std::string& out) {
  // No display is needed: the picture is drawn into an image.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "kestrel-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  BoardScene scene;
  scene.type = position.type;
  scene.board = position.board.b;
  scene.reversed = reversed;
  scene.highlight = false;
  FigureSet figures;
  const auto pics = QString::fromStdString((RunningProgramFolders().program / "Pics").string());
  for (const QString& message : figures.Load(FigureFilesOfStyle(pics, DefaultFigureStyle)))
    std::cerr << message.toStdString() << "; the built-in picture is used\n";
  const QImage image = ScaleBoardImage(DrawBoardImage(scene, BoardColors{}, figures), size);
  const std::string path = GifExportFileName(out);
  std::string error;
  if (!WriteBoardGif(image, path, &error)) {
    std::cerr << error << '\n';
    return ExitFailure;
  }
  std::cout << path << '\n';
  return ExitOk;
}

const SubcommandRegistrar registrar("export", "gif", [](CLI::App& parent, int& exitCode) {
  struct Args {
    std::string variant, fen, out;
    int size = DefaultDiagramSize;
    bool reversed = false;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = parent.add_subcommand("gif", "The board picture as a GIF file");
  cmd->add_option("--variant", args->variant, "Game type: name or number 1..12")->required();
  cmd->add_option("--fen", args->fen, "The position (default: the start position)");
  cmd->add_option("--size", args->size, "Edge in pixels: 115 to 920 in steps of 115")
      ->check([](const std::string& text) -> std::string {
        try {
          return IsDiagramSize(std::stoi(text)) ? "" : "the size is 115, 230, ... or 920";
        } catch (...) {
          return "the size is a number";
        }
      });
  cmd->add_flag("--reversed", args->reversed, "Seen from the other side");
  cmd->add_option("OUT", args->out, "The picture (its extension becomes .gif)")->required();
  cmd->callback([args, &exitCode] {
    const auto position = ReadExportPosition(args->variant, args->fen);
    exitCode = position ? WriteGif(*position, args->size, args->reversed, args->out) : ExitBadInput;
  });
});

}  // namespace
}  // namespace kestrel::cli
