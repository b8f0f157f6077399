#include "database/name_tables.h"

namespace kestrel {
namespace {

std::string NameOf(const TNameList& list, int32_t index) {
  return list.Contains(index) ? list[index] : std::string(ErrorName);
}

int32_t IndexOf(TKestrelDB& db, TNameList& list, std::string_view name) {
  bool added = false;
  const int32_t index = list.FindOrAdd(name, added);
  if (added) db.DBChanged = true;
  return index;
}

}  // namespace

std::string PlayerNameOf(const TKestrelDB& db, int32_t index) { return NameOf(db.DBNames, index); }
std::string SiteNameOf(const TKestrelDB& db, int32_t index) { return NameOf(db.DBSites, index); }
std::string TournamentNameOf(const TKestrelDB& db, int32_t index) {
  return MaskGameNumber(NameOf(db.DBTourn, index));
}

std::string MaskGameNumber(std::string_view text) {
  constexpr std::string_view marker = ", game ";
  std::string out(text);
  const std::size_t game = text.find(marker);
  if (game == std::string_view::npos) return out;
  const std::size_t semicolon = text.find(';');
  const std::size_t from = game + marker.size();
  std::size_t to;
  if (semicolon == std::string_view::npos)
    to = text.size();
  else if (game < semicolon)
    to = semicolon;
  else
    return out;
  for (std::size_t i = from; i < to; ++i) out[i] = 'x';
  return out;
}

void SetNameIndexes(TKestrelDB& db, TGameHeader& header, std::string_view white, std::string_view black,
                    std::string_view annotator, std::string_view tournament, std::string_view site) {
  header.White.NameIndex = IndexOf(db, db.DBNames, white);
  header.Black.NameIndex = IndexOf(db, db.DBNames, black);
  header.AnnotatorIndex = IndexOf(db, db.DBNames, annotator);
  header.TournamentIndex = IndexOf(db, db.DBTourn, tournament);
  header.SiteIndex = IndexOf(db, db.DBSites, site);
}

}  // namespace kestrel
