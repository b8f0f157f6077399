#include "database/name_repair.h"

#include <algorithm>

#include "database/game_io.h"
#include "database/names_file.h"

namespace kestrel {
namespace {

int32_t Extend(TNameList& list, int32_t largest, const char* prefix, const char* okText, TNameRepairReport& report) {
  if (list.Count() == largest + 1) report.messages.emplace_back(okText);
  int32_t added = 0;
  for (int32_t i = list.Count(); i <= largest; ++i, ++added) list.Append(prefix + std::to_string(largest - i));
  return added;
}

}  // namespace

TNameRepairReport RepairNameLists(TKestrelDB& db) {
  TNameRepairReport report;
  int32_t players = -1, tournaments = -1, sites = -1;
  const auto take = [&](int32_t& largest, int32_t index, const TNameList& list) {
    const int64_t limit = static_cast<int64_t>(list.Count()) + 3 * static_cast<int64_t>(db.DBSize) + 1000;
    if (index >= limit)
      ++report.implausible;
    else
      largest = std::max(largest, index);
  };
  TGameHeader h;
  for (int32_t n = 1; n <= db.DBSize; ++n) {
    if (!ReadHeaderRecord(db, n, h)) continue;
    take(players, h.White.NameIndex, db.DBNames);
    take(players, h.Black.NameIndex, db.DBNames);
    take(tournaments, h.TournamentIndex, db.DBTourn);
    take(sites, h.SiteIndex, db.DBSites);
  }
  report.playersAdded = Extend(db.DBNames, players, "Player#", "Names are Ok", report);
  report.tournamentsAdded = Extend(db.DBTourn, tournaments, "Event#", "Tournaments are Ok", report);
  report.sitesAdded = Extend(db.DBSites, sites, "Site#", "Sites are Ok", report);
  if (report.implausible > 0)
    report.messages.push_back(std::to_string(report.implausible) + " name indexes are too large to repair");
  db.DBChanged = true;
  SaveDBNames(db);
  report.messages.emplace_back("Done!");
  return report;
}

}  // namespace kestrel
