#include "database/maintenance/bulk_edit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>

#include "database/game_io.h"
#include "database/names_file.h"
#include "game/move_tree.h"
#include "rules/plain_text.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {
namespace {

template <typename T>
bool ParseNumber(const std::string& text, long long low, long long high, std::optional<T>& out) {
  long long v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high) return false;
  out = static_cast<T>(v);
  return true;
}

void ReplaceFirst(std::string& text, std::string_view what, const std::string& by) {
  const std::size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), by);
}

TBulkReport RewriteGames(TKestrelDB& db, const std::vector<int32_t>& games, TProgress& progress,
                         std::string_view caption, const std::function<void(TGame&)>& change) {
  TBulkReport report;
  TProgressStage stage(progress, caption, WorkingText, static_cast<int64_t>(games.size()));
  int64_t done = 0;
  for (const int32_t n : games) {
    TGame game;
    if (!ReadDBGame(db, n, true, game)) {
      ++report.unreadable;
      continue;
    }
    change(game);
    // Same names, so nothing is added and the names file stays as it is.
    WriteDBGame(game, n, db, false);
    ++report.changed;
    if (++done % 100 == 0) stage.Step(done);
  }
  return report;
}

}  // namespace

bool ParseHeaderField(const std::string& assignment, THeaderFields& f, std::string& error) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string::npos) {
    error = "expected FIELD=VALUE: " + assignment;
    return false;
  }
  const std::string field = Lowered(assignment.substr(0, eq));
  const std::string value = assignment.substr(eq + 1);
  bool ok = true;
  if (field == "white") f.white = value;
  else if (field == "black") f.black = value;
  else if (field == "tournament" || field == "event") f.tournament = value;
  else if (field == "site") f.site = value;
  else if (field == "annotator") f.annotator = value;
  else if (field == "result") ok = ParseNumber(value, 0, 5, f.result);
  else if (field == "round") ok = ParseNumber(value, 0, INT32_MAX, f.round);
  else if (field == "game" || field == "subround") ok = ParseNumber(value, 0, INT32_MAX, f.subround);
  else if (field == "day") ok = ParseNumber(value, 0, 31, f.day);
  else if (field == "month") ok = ParseNumber(value, 0, 12, f.month);
  else if (field == "year") ok = ParseNumber(value, 0, 2100, f.year);
  else {
    error = "unknown field " + assignment.substr(0, eq) +
            " (White, Black, Tournament, Site, Annotator, Result, Round, Game, Day, Month, Year)";
    return false;
  }
  if (!ok) error = "value out of range: " + assignment;
  return ok;
}

std::string ExpandHeaderPattern(std::string text, int32_t game, int32_t position, int32_t count) {
  ReplaceFirst(text, "[#]", std::to_string(game));
  ReplaceFirst(text, "[@]", std::to_string(position));
  ReplaceFirst(text, "[$]", std::to_string(count));
  return text;
}

int32_t SetHeaders(TKestrelDB& db, const std::vector<TListEntry>& entries, const THeaderFields& f) {
  // First every new header with its names, so that the names file is
  // written once and before any record that refers to a new name.
  std::vector<std::pair<int32_t, TGameHeader>> headers;
  headers.reserve(entries.size());
  TQuickGameHeader q;
  int32_t count = 0;
  for (const TListEntry& e : entries) {
    if (!ReadQuickHeader(db, e.num, q)) continue;
    ++count;
    TGameHeader& h = q.Header;
    // Only the fields being set are looked up: an unchanged name keeps its
    // stored index, even one that no longer reads.
    const auto name = [&](const std::optional<std::string>& v, TNameList& list, int32_t& index) {
      if (!v) return;
      bool added = false;
      index = list.FindOrAdd(ExpandHeaderPattern(*v, e.num, e.position, count), added);
      if (added) db.DBChanged = true;
    };
    name(f.white, db.DBNames, h.White.NameIndex);
    name(f.black, db.DBNames, h.Black.NameIndex);
    name(f.annotator, db.DBNames, h.AnnotatorIndex);
    name(f.tournament, db.DBTourn, h.TournamentIndex);
    name(f.site, db.DBSites, h.SiteIndex);
    if (f.result) h.Result = *f.result;
    if (f.round) h.Round = *f.round;
    if (f.subround) h.Subround = *f.subround;
    if (f.day) h.Date.Day = *f.day;
    if (f.month) h.Date.Month = *f.month;
    if (f.year) h.Date.Year = *f.year;
    headers.emplace_back(e.num, h);
  }
  SaveDBNames(db);
  for (const auto& [n, h] : headers) WriteHeaderRecord(db, n, h);
  return static_cast<int32_t>(headers.size());
}

TBulkReport RemoveComments(TKestrelDB& db, const std::vector<int32_t>& games, TProgress& progress) {
  return RewriteGames(db, games, progress, RemoveCommentsCaption, [](TGame& g) { ClearComments(g, true); });
}

TBulkReport RemoveVariations(TKestrelDB& db, const std::vector<int32_t>& games, TProgress& progress) {
  return RewriteGames(db, games, progress, RemoveVariationsCaption, [](TGame& g) { ClearVariations(g); });
}

}  // namespace kestrel
