#include "database/names_file.h"

#include <fstream>
#include <iterator>

#include "database/db_error.h"
#include "database/file_replace.h"

namespace kestrel {

void ParseNamesFile(std::string_view text, TNameList& players, TNameList& tournaments, TNameList& sites) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const std::string name(line.substr(1));
    switch (line.front()) {
      case '^': players.Append(name); break;
      case '*': tournaments.Append(name); break;
      case '@': sites.Append(name); break;
      default: break;
    }
  }
}

std::string FormatNamesFile(const TNameList& players, const TNameList& tournaments, const TNameList& sites) {
  std::string out;
  const auto put = [&out](char mark, const TNameList& list) {
    for (const std::string& name : list.Names()) {
      out += mark;
      out += name;
      out += "\r\n";
    }
  };
  put('^', players);
  put('*', tournaments);
  put('@', sites);
  return out;
}

void LoadDBNames(TKestrelDB& db) {
  std::ifstream in(db.DBNameNames, std::ios::binary);
  if (!in) throw TDatabaseError("cannot read " + db.DBNameNames);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TDatabaseError("cannot read " + db.DBNameNames);
  db.DBNames.Clear();
  db.DBTourn.Clear();
  db.DBSites.Clear();
  ParseNamesFile(text, db.DBNames, db.DBTourn, db.DBSites);
  db.NamesInFile = NameCounts(db);
}

std::array<int32_t, 3> NameCounts(const TKestrelDB& db) {
  return {db.DBNames.Count(), db.DBTourn.Count(), db.DBSites.Count()};
}

void WriteAddedNames(TKestrelDB& db, const std::array<int32_t, 3>& before) {
  const std::array<int32_t, 3> now = NameCounts(db);
  if (now == before) return;
  if (db.NamesInFile != before) {
    // The file lags behind the lists in another way (names repaired in
    // memory): only a whole new file keeps every index right.
    db.DBChanged = true;
    SaveDBNames(db);
    return;
  }
  std::string lines;
  const std::array<const TNameList*, 3> lists{&db.DBNames, &db.DBTourn, &db.DBSites};
  for (int k = 0; k < 3; ++k)
    for (int32_t i = before[k]; i < now[k]; ++i) {
      lines += "^*@"[k];
      lines += (*lists[k])[i];
      lines += "\r\n";
    }
  AppendToFile(db.DBNameNames, lines);
  db.NamesInFile = now;
}

void SaveDBNames(TKestrelDB& db) {
  if (!db.DBChanged) return;
  ReplaceFileContents(db.DBNameNames, FormatNamesFile(db.DBNames, db.DBTourn, db.DBSites));
  db.DBChanged = false;
  db.NamesInFile = NameCounts(db);
}

}  // namespace kestrel
