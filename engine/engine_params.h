// Per-variant engine settings and the engine parameter files (".eng") that
// hold an evaluation function with its patterns and search parameters.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/evaluation.h"

namespace kestrel {

// Engine generations, the values of TEngineParams::Engine.
constexpr uint8_t EngineOld = 0;  // "Kestrel 2.11": mailbox search, fixed evaluation
constexpr uint8_t EngineNew = 1;  // "Kestrel 3.0": bitboard search with EvalFunc
constexpr uint8_t EngineGen2 = 2; // "Kestrel 4": engine/gen2, pattern evaluation

struct TEngineParams {
  bool UseBook = false;
  std::string EngineName;  // file name inside the variant's engine folder
  std::string Book;        // full path of the opening book
  uint8_t Engine = EngineOld;
  TEvalFuncNew EvalFunc;
  // "Kestrel 4" only: its pattern weights file; empty, or a file that cannot
  // be read, and it evaluates with EvalFunc.
  std::filesystem::path PatternWeights;
  // "Kestrel 4" only: changes to its search, "key=value,..." as
  // gen2::ParseSearchShape reads them (checked where they are given); empty:
  // the defaults.
  std::string SearchSettings;
};

// What reading or writing an engine file came to.
struct TEngineFileResult {
  enum Status { ok, missing, error };
  Status status = ok;
  std::string message;  // for errors: what went wrong, with the line number
  int line = 0;         // 1-based line of a parse error, 0 otherwise

  explicit operator bool() const { return status == ok; }
};

// Reads the engine file at `path` into `func` and compiles it. A missing file
// leaves `func` untouched and answers `missing`. A file that cannot be read
// whole (an unreadable number, too few values, more than 64 parameter lines,
// an oversized file) answers `error` and also leaves `func` untouched. Empty
// lines and comment-only lines are skipped.
TEngineFileResult ReadEngine(const std::filesystem::path& path, TEvalFuncNew& func);

// Creates or replaces the file at `path`. The file is written beside its
// final place and then renamed over it, so a failed write never leaves half
// a file behind.
TEngineFileResult WriteEngine(const std::filesystem::path& path, const TEvalFuncNew& func);

// The engine file text of `func`, exactly as WriteEngine writes it (CR LF).
std::string EngineFileText(const TEvalFuncNew& func);
// Parses engine file text; `fallbackName` names a function whose first line is empty.
TEngineFileResult ParseEngineText(std::string_view text, std::string_view fallbackName, TEvalFuncNew& func);

// Folder of the variant's engines: programFolder/EvalFunc/<Variant>/.
std::filesystem::path EngineFolder(const std::filesystem::path& programFolder, int gametype);
// "<Variant>.eng".
std::string DefaultEngineFileName(int gametype);

// Reads the variant's engine `engineName` from its folder, falling back to
// the default engine when no file of that name exists. With neither, `func`
// is left as it was (an all-zero function evaluates every position as 0).
TEngineFileResult LoadVariantEngine(const std::filesystem::path& programFolder, int gametype,
                                    std::string_view engineName, TEvalFuncNew& func);

// Whether the current generation ("Kestrel 3.0") is offered for the variant:
// every variant with a bitboard move generator (not Frisian, not Canadian).
bool HasNewEngine(int gametype);
// Whether "Kestrel 4" is offered for the variant: the variants of the
// current generation, once a program has registered the generation.
bool HasGen2Engine(int gametype);
// The generation a variant plays with unless the user chose otherwise:
// Kestrel 4 where it is registered and won its match against Kestrel 3.0.
uint8_t DefaultEngineGeneration(int gametype);
// The list the engine settings dialog offers; the chosen index is `Engine`.
std::vector<std::string> EngineGenerationChoices(int gametype);

// The engine files a user may choose in `folder`: every regular file whose
// name does not begin with a full stop, sorted by name.
std::vector<std::string> ListEngineFiles(const std::filesystem::path& folder);

inline constexpr std::string_view DefaultEngineRewriteMessage = "You cannot rewrite default engine!";
// Where the evaluation-function editor saves a function the user names
// `chosen`: the name with the extension ".eng", or nothing when its base
// name is one of the twelve variant folder names (the default engines are
// not to be overwritten).
std::optional<std::filesystem::path> EditorSavePath(const std::filesystem::path& chosen);

}  // namespace kestrel
