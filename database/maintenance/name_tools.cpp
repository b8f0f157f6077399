#include "database/maintenance/name_tools.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <tuple>

#include "database/ansi_case.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "database/name_tables.h"
#include "database/names_file.h"

namespace kestrel {
namespace {

// Rebuilds a list with every entry changed by `change`, indexes kept.
int32_t ChangeList(TKestrelDB& db, TNameList& list, const std::function<std::string(std::string_view)>& change) {
  if (list.Count() == 0) return 0;
  TNameList fresh;
  int32_t changed = 0;
  for (const std::string& name : list.Names()) {
    std::string after = change(name);
    if (after != name) ++changed;
    fresh.Append(std::move(after));
  }
  list = std::move(fresh);
  db.DBChanged = true;
  return changed;
}

constexpr std::array<const char*, 64> CyrillicLatin = {
    "A", "B", "V", "G", "D", "E", "Zh", "Z", "I", "Y", "K", "L", "M", "N", "O", "P",
    "R", "S", "T", "U", "F", "H", "Ts", "Ch", "Sh", "Sch", "'", "Y", "'", "E", "Yu", "Ya",
    "a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p",
    "r", "s", "t", "u", "f", "h", "ts", "ch", "sh", "sch", "'", "y", "'", "e", "yu", "ya"};

}  // namespace

std::vector<TTournamentRow> TournamentSummary(const TKestrelDB& db, const TGameList& list) {
  std::vector<TTournamentRow> rows;
  std::map<std::tuple<std::string, std::string, int32_t>, std::size_t> index;
  TQuickGameHeader q;
  for (int32_t i = 1; i <= list.GameListCount; ++i) {
    if (!ReadQuickHeader(db, list[i].num, q)) continue;
    const auto key = std::make_tuple(q.Tournament, q.Site, int32_t{q.Header.Date.Year});
    const auto [it, fresh] = index.try_emplace(key, rows.size());
    if (fresh) rows.push_back({q.Tournament, q.Site, q.Header.Date.Year, 0});
    ++rows[it->second].count;
  }
  return rows;
}

std::vector<TTournamentRow> ShownTournaments(const std::vector<TTournamentRow>& rows, int moreThan, bool hideBlanks) {
  std::vector<TTournamentRow> shown;
  for (const TTournamentRow& r : rows)
    if (r.count > moreThan && !(hideBlanks && r.name.empty())) shown.push_back(r);
  return shown;
}

std::string TournamentTotals(const std::vector<TTournamentRow>& shown, std::string_view tournamentsWord,
                             std::string_view gamesWord) {
  int64_t games = 0;
  for (const TTournamentRow& r : shown) games += r.count;
  return std::string(tournamentsWord) + "=" + std::to_string(shown.size()) + ", " + std::string(gamesWord) + "=" +
         std::to_string(games);
}

std::string TournamentListText(const std::vector<TTournamentRow>& shown) {
  std::string out;
  for (std::size_t i = 0; i < shown.size(); ++i)
    out += std::to_string(i + 1) + "," + shown[i].name + "," + shown[i].site + "," + std::to_string(shown[i].year) +
           "," + std::to_string(shown[i].count) + "\r\n";
  return out;
}

std::string TextFileName(const std::string& path) { return DatabaseBaseName(path) + ".txt"; }

std::string SortedNamesText(const TKestrelDB& db) {
  std::vector<std::string> names = db.DBNames.Names();
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return AnsiUpperCase(a) < AnsiUpperCase(b); });
  std::string out;
  for (const std::string& n : names) out += n + "\r\n";
  return out;
}

std::string CorrectName(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (i > 0 && name[i] >= 'A' && name[i] <= 'Z' && name[i - 1] != ' ') out += ' ';
    out += name[i];
  }
  return out;
}

std::string GamblerName(std::string_view name) {
  std::string s(name.substr(0, name.find("game")));
  static constexpr std::string_view counted = " (\xE7\xE0\xF7\xE5\xF2)";
  if (s.size() >= counted.size() && s.compare(s.size() - counted.size(), counted.size(), counted) == 0)
    s.erase(s.size() - counted.size());
  while (!s.empty()) {
    const char c = s.back();
    if ((c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '.' || c == ',')
      s.pop_back();
    else
      break;
  }
  return s;
}

std::string Transliterate(std::string_view name) {
  std::string out;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 192)
      out += CyrillicLatin[c - 192];
    else if (c == 168)
      out += "Yo";
    else if (c == 184)
      out += "yo";
    else
      out += ch;
  }
  return out;
}

int32_t CorrectPlayerNames(TKestrelDB& db) { return ChangeList(db, db.DBNames, CorrectName); }

int32_t GamblerRenameTournaments(TKestrelDB& db) {
  const int32_t changed = ChangeList(db, db.DBTourn, GamblerName);
  SaveDBNames(db);
  return changed;
}

int32_t TransliterateNames(TKestrelDB& db) {
  return ChangeList(db, db.DBNames, Transliterate) + ChangeList(db, db.DBTourn, Transliterate) +
         ChangeList(db, db.DBSites, Transliterate);
}

}  // namespace kestrel
