#include "database/search/header_filter.h"

#include "database/ansi_case.h"
#include "database/derived_header.h"
#include "database/name_tables.h"

namespace kestrel {

THeaderFilter::TNameMatch::TNameMatch(const TNameList& list, std::string_view text) {
  const std::string lower = AnsiLowerCase(text);
  any_ = lower.empty();
  if (any_) return;
  error_ = AnsiLowerCase(ErrorName).find(lower) != std::string::npos;
  hits_.resize(static_cast<std::size_t>(list.Count()));
  for (int32_t i = 0; i < list.Count(); ++i) hits_[i] = AnsiLowerCase(list[i]).find(lower) != std::string::npos;
}

THeaderFilter::THeaderFilter(const TKestrelDB& db, const TSearchInfo& info, const TSearchSwitches& switches)
    : info_(info),
      switches_(switches),
      name0_(db.DBNames, info.name[0]),
      name1_(db.DBNames, info.name[1]),
      annot_(db.DBNames, info.annot),
      tourn_(db.DBTourn, info.tourn),
      site_(db.DBSites, info.site) {}

bool THeaderFilter::Passes(const TGameHeader& h) const {
  if (switches_.deleted && (h.Flags & hfDeleted) == 0) return false;
  if (switches_.gameType != 0 && h.TypeOfGame != switches_.gameType) return false;
  if (!tourn_(h.TournamentIndex) || !annot_(h.AnnotatorIndex) || !site_(h.SiteIndex)) return false;
  if (h.Date.Year < info_.yearstart || h.Date.Year > info_.yearend) return false;
  if (h.GameLength < info_.movestart || h.GameLength > info_.moveend) return false;
  const uint8_t comments = hfFewComments | hfComments, variations = hfFewVariations | hfVariations;
  if (switches_.comments && (h.Flags & comments) == 0) return false;
  if (switches_.variations && (h.Flags & variations) == 0) return false;
  if (switches_.uncommented && (h.Flags & (comments | variations)) != 0) return false;
  // A result code outside 0..5 comes only from a damaged record: no result
  // box accepts it.
  if (h.Result > 5) return false;
  if (info_.rescheck[h.Result] && name0_(h.White.NameIndex) && name1_(h.Black.NameIndex)) return true;
  static constexpr uint8_t swapped[6] = {0, 3, 2, 1, 5, 4};
  return info_.ignorecol && info_.rescheck[swapped[h.Result]] && name1_(h.White.NameIndex) &&
         name0_(h.Black.NameIndex);
}

}  // namespace kestrel
