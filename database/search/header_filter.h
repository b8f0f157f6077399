// The header tests of a search, in their order: deleted mark, game type,
// tournament, annotator, site, year and length, comments and variations,
// players with the result. The name texts are matched once per search
// against each name list, so a game costs a few table lookups.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "database/kestrel_db.h"
#include "database/search/search_info.h"
#include "game/game_header.h"

namespace kestrel {

class THeaderFilter {
 public:
  THeaderFilter(const TKestrelDB& db, const TSearchInfo& info, const TSearchSwitches& switches);
  bool Passes(const TGameHeader& h) const;

 private:
  // Which entries of one name list contain a text; an index outside the list
  // reads as "ERROR!!!".
  class TNameMatch {
   public:
    TNameMatch() = default;
    TNameMatch(const TNameList& list, std::string_view text);
    bool operator()(int32_t index) const {
      if (any_) return true;
      return index >= 0 && index < static_cast<int32_t>(hits_.size()) ? hits_[index] != 0 : error_;
    }

   private:
    bool any_ = true;
    bool error_ = false;
    std::vector<uint8_t> hits_;
  };

  TSearchInfo info_;
  TSearchSwitches switches_;
  TNameMatch name0_, name1_, annot_, tourn_, site_;
};

}  // namespace kestrel
