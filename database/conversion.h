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
// While the renames run, a marker file beside the database says so; it is
// written only once the new files are complete.
bool ConvertDatabase(TKestrelDB& old, TKestrelDB& fresh, const std::string& base,
                     std::vector<std::string>* problems = nullptr);

// The marker of a conversion whose renames have begun.
std::string ConversionMarkerPath(const std::string& base);

// Completes the renames of a conversion that was cut short (the marker is
// there): the old files that are still in place go to their ".old" names and
// the new files that are not yet in place to X.abd, X.abn, X.abm, in the
// order of the conversion. Then the marker goes. A rename that fails leaves
// the rest for the next attempt.
void FinishInterruptedConversion(const std::string& base);

}  // namespace kestrel
