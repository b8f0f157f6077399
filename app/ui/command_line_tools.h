// What the desktop program does without a window:
//   kestrel --diagram OUT.png [--variant V] [--fen FEN] [--reversed] [--coords]
//           [--style NAME] [--size N]
//   kestrel --write-figures DIR [--style NAME]
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kestrel {

struct ToolRequest {
  enum class Kind { None, Diagram, WriteFigures, Help, Error };
  Kind kind = Kind::None;
  std::string output;  // the picture file, or the folder of a figure set
  int type = 1;
  std::optional<std::string> fen;
  bool reversed = false;
  bool coords = false;
  std::string style = "default";
  int size = 920;
  std::string error;
};

// `args` without the program name. Without a tool option the window starts
// (Kind::None), and the arguments are left to the toolkit.
ToolRequest ParseToolRequest(const std::vector<std::string>& args);

std::string ToolUsage();

// Runs a tool; needs a QGuiApplication. Returns the process exit code: 0 done,
// 1 the output could not be written, 2 bad arguments.
int RunTool(const ToolRequest& request, const std::filesystem::path& programFolder, std::ostream& out,
            std::ostream& err);

}  // namespace kestrel
