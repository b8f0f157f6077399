// "Repair database headers": lists shorter than the indexes used in the
// header records get placeholder entries, so every game shows a name.
#pragma once

#include <string>
#include <vector>

#include "database/kestrel_db.h"

namespace kestrel {

struct TNameRepairReport {
  int32_t playersAdded = 0;
  int32_t tournamentsAdded = 0;
  int32_t sitesAdded = 0;
  int32_t implausible = 0;
  // "Names are Ok", "Tournaments are Ok", "Sites are Ok" for the lists that
  // needed nothing, then "Done!".
  std::vector<std::string> messages;
};

// Entry i appended to a list whose largest used index is m is "Player#",
// "Event#" or "Site#" followed by m - i. Annotator indexes are not
// considered. An index so large that no list of this database could have
// reached it (beyond the list plus three names per game) is left alone and
// counted in `implausible`, so that one damaged record cannot make the lists
// grow without end. The names file is written. Raises TDatabaseError when it
// cannot be written.
TNameRepairReport RepairNameLists(TKestrelDB& db);

}  // namespace kestrel
