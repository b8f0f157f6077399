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
}

void SaveDBNames(TKestrelDB& db) {
  if (!db.DBChanged) return;
  ReplaceFileContents(db.DBNameNames, FormatNamesFile(db.DBNames, db.DBTourn, db.DBSites));
  db.DBChanged = false;
}

}  // namespace kestrel
