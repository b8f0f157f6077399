// kestrel-cli font build OUT.ttf: the "Kestrel Draughts" diagram font made
// from the program's own drawings; data/Fonts/KestrelDraughts.ttf is this
// command's output.
#include <iostream>
#include <memory>

#include "app/export/truetype_writer.h"
#include "cli/command_registry.h"

namespace kestrel::cli {
namespace {

const CommandRegistrar registrar("font", [](CLI::App& app, int& exitCode) {
  auto* font = app.add_subcommand("font", "The diagram font of RTF documents and text diagrams");
  font->require_subcommand(1);
  auto out = std::make_shared<std::string>();
  auto* build = font->add_subcommand("build", "Write the Kestrel Draughts TrueType font");
  build->add_option("OUT", *out, "The font file (.ttf)")->required();
  build->callback([out, &exitCode] {
    std::string error;
    if (!WriteDiagramFont(*out, &error)) {
      std::cerr << error << '\n';
      exitCode = ExitFailure;
      return;
    }
    std::cout << *out << '\n';
    exitCode = ExitOk;
  });
});

}  // namespace
}  // namespace kestrel::cli
