// Bringing a database of versions 20..29 to version 30.
#pragma once

#include <string>
#include <vector>

#include "database/kestrel_db.h"

namespace kestrel {

// Copies every game of `old` in order into the empty `fresh` (both open),
// closes both, then renames X.abd, X.abn, X.abm to X.abd.old, X.abn.old,
// X.abm.old and the files of `fresh` to X.abd, X.abn, X.abm, where X is
// `base`. A game that cannot be read keeps its number: its header and names
// are copied with no moves, and it is marked deleted; `problems` gets a line
// for it. False when a rename fails; renames already made stay made.
bool ConvertDatabase(TKestrelDB& old, TKestrelDB& fresh, const std::string& base,
                     std::vector<std::string>* problems = nullptr);

}  // namespace kestrel
