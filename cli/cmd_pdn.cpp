// kestrel-cli pdn: PDN files in and out of game databases.
//   pdn import FILE.pdn DB.abd [--variant V]
//       a new database (an existing one of that name is replaced) with every
//       game of the file; progress on stderr, then the summary line
//       "imported N games, M marked damaged" on stdout; without --variant,
//       games without a GameType tag are read as the type under which they
//       are legal, and a line before the summary says which and why
//   pdn export DB.abd OUT.pdn [--games FROM-TO] [--italian] [--result-style S] [--out-encoding NAME]
//       the games into a new file, in UTF-8 or in the 8-bit code page NAME;
//       characters that code page cannot hold are counted in the summary
#include <iostream>
#include <optional>
#include <string>

#include "cli/command_registry.h"
#include "database/database_file.h"
#include "database/db_error.h"
#include "database/code_page.h"
#include "formats/pdn_export.h"
#include "formats/pdn_import.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

struct TRange {
  int32_t from = 1;
  int32_t to = INT32_MAX;
};

// "FROM-TO", "FROM-" or "N".
std::optional<TRange> ParseRange(const std::string& text) {
  const auto number = [](const std::string& digits) -> std::optional<int32_t> {
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    return static_cast<int32_t>(std::stol(digits));
  };
  const size_t dash = text.find('-');
  TRange range;
  if (dash == std::string::npos) {
    const auto n = number(text);
    if (!n || *n < 1) return std::nullopt;
    range.from = range.to = *n;
    return range;
  }
  const auto from = number(text.substr(0, dash));
  if (!from || *from < 1) return std::nullopt;
  range.from = *from;
  if (dash + 1 < text.size()) {
    const auto to = number(text.substr(dash + 1));
    if (!to || *to < *from) return std::nullopt;
    range.to = *to;
  }
  return range;
}

int Import(const std::string& pdn, const std::string& dbPath, const std::string& variant) {
  TPdnImportOptions options;
  if (!variant.empty()) {
    const auto type = ParseGameType(variant);
    if (!type) {
      std::cerr << "unknown variant " << variant << '\n';
      return ExitBadInput;
    }
    options.defaultType = *type;
  } else {
    options.defaultType = IsValidGameType(CurrentGameType) ? CurrentGameType : static_cast<int>(gtRussian);
    options.detectVariant = true;
  }
  int shownPercent = -1;
  const auto show = [](const TPdnImportProgress& p, int percent) {
    std::cerr << "\rimporting: " << p.games << " games, " << p.damaged << " marked damaged (" << percent << "%)"
              << std::flush;
  };
  TPdnImportProgress last;
  options.progress = [&](const TPdnImportProgress& p) {
    last = p;
    const int percent = p.totalBytes > 0 ? static_cast<int>(100 * p.bytesRead / p.totalBytes) : 0;
    if (percent != shownPercent || p.games % 1000 == 0) {
      shownPercent = percent;
      show(p, percent);
    }
    return true;
  };
  TPdnImportSummary summary;
  try {
    ImportPDNIntoNewDatabase(pdn, dbPath, summary, options);
  } catch (const TPdnFileError& e) {
    std::cerr << e.what() << '\n';
    return ExitFailure;
  } catch (const TDatabaseError& e) {
    std::cerr << '\n' << e.what() << '\n';
    return ExitFailure;
  }
  if (summary.games > 0) {
    show(last, 100);
    std::cerr << '\n';
  }
  for (const TPdnGameNote& note : summary.notes)
    std::cerr << "game " << note.game << " (line " << note.line << "): " << note.reason << '\n';
  if (summary.variant.detected) std::cout << summary.variant.Explanation() << '\n';
  std::cout << "imported " << summary.games << " games, " << summary.damaged << " marked damaged";
  // Never silently: names and comments the code page could not hold.
  if (summary.lostTexts > 0) std::cout << ", " << summary.lostTexts << " texts lost characters";
  std::cout << '\n';
  return ExitOk;
}

int Export(const std::string& dbPath, const std::string& out, const std::string& games, bool italian, int style,
           const std::string& encoding) {
  TRange range;
  if (!games.empty()) {
    const auto parsed = ParseRange(games);
    if (!parsed) {
      std::cerr << "--games takes FROM-TO, FROM- or N, not " << games << '\n';
      return ExitBadInput;
    }
    range = *parsed;
  }
  TKestrelDB db;
  const TOpenResult opened = OpenDatabase(dbPath, db, false, TDBAccess::readOnly);
  if (!opened.ok()) {
    std::cerr << dbPath << ": " << (opened.message.empty() ? std::string(CannotOpenText) : opened.message) << '\n';
    return ExitFailure;
  }
  TPdnWriteOptions options;
  if (!encoding.empty()) {
    const auto page = ParseCodePage(encoding);
    if (!page) {
      std::cerr << "unknown encoding " << encoding << " (Windows-1251, Windows-1252 or UTF-8)\n";
      return ExitBadInput;
    }
    options.encoding = *page;
  }
  options.italianTags = italian;
  options.resultStyle = style;
  try {
    const TPdnExportSummary summary = ExportPDN(db, out, range.from, range.to, options);
    for (const std::string& skipped : summary.skipped) std::cerr << "skipped " << skipped << '\n';
    std::cout << "exported " << summary.written << " games";
    if (summary.lostCharacters > 0)
      std::cout << ", " << summary.lostCharacters << " characters not in " << CodePageName(options.encoding);
    std::cout << '\n';
    return summary.skipped.empty() ? ExitOk : ExitFailure;
  } catch (const TPdnFileError& e) {
    std::cerr << e.what() << '\n';
    return ExitFailure;
  }
}

const CommandRegistrar registrar("pdn", [](CLI::App& app, int& exitCode) {
  auto* pdn = app.add_subcommand("pdn", "Portable Draughts Notation files and game databases");
  pdn->require_subcommand(1);

  struct Args {
    std::string pdn, db, variant, games, encoding;
    bool italian = false;
    int style = 0;
  };
  static Args args;

  auto* import = pdn->add_subcommand(
      "import", "Every game of a PDN file into a new database (replacing one of that name)");
  import->add_option("FILE", args.pdn, "PDN file")->required();
  import->add_option("DB", args.db, "Database to create (.abd)")->required();
  import->add_option("--variant", args.variant,
                    "Game type of games without a GameType tag (name or 1..12); without it the type is chosen "
                    "by which one the games are legal under");
  import->callback([&exitCode] { exitCode = Import(args.pdn, args.db, args.variant); });

  auto* exp = pdn->add_subcommand("export", "Games of a database into a new PDN file");
  exp->add_option("DB", args.db, "Database (.abd)")->required();
  exp->add_option("OUT", args.pdn, "PDN file to write")->required();
  exp->add_option("--games", args.games, "Game numbers FROM-TO (FROM- to the end, or one number)");
  exp->add_flag("--italian", args.italian, "Italian tag names");
  exp->add_option("--result-style", args.style, "0: 1-0, 1/2-1/2; 1: 2-0, 1-1")->check(CLI::Range(0, 1));
  exp->add_option("--out-encoding", args.encoding,
                  "Write the file in this 8-bit code page (Windows-1251, Windows-1252) instead of UTF-8");
  exp->callback([&exitCode] {
    exitCode = Export(args.db, args.pdn, args.games, args.italian, args.style, args.encoding);
  });
});

}  // namespace
}  // namespace kestrel::cli
