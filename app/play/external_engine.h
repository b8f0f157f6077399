// The "External (Hub)" engine of a variant: a Hub engine run as a child
// process that answers Compute and analysis instead of the built-in search,
// publishing its lines through the same search listener.
#pragma once

#include <functional>
#include <string>

#include "app/play/search_info.h"
#include "engine/engine.h"
#include "protocols/hub_client.h"

namespace kestrel {

class TExternalEngine {
 public:
  // Searches `board` with `command`'s engine (started, or restarted for a
  // new command or variant, as needed) up to `maxDepth`, for `moveTimeCs`
  // centiseconds and never past `hardLimitCs` (each 0: no limit), until
  // `stopRequested` turns true.
  // Every "info" line becomes an IterationDone of `listener`. False, with
  // `error`, when the engine cannot start or answer.
  bool Search(const std::string& command, const TBoard& board, TDColor side, int type, int maxDepth,
              int64_t moveTimeCs, int64_t hardLimitCs, TSearchListener& listener, const std::function<bool()>& stopRequested,
              TSearchResult& result, std::string& error);

 private:
  THubClient client_;
  std::string command_;
  int type_ = 0;
};

// Names the external engine in the search information: "External (Hub)"
// and the program file of `command`.
void LabelExternalEngine(const std::string& command, TSearchStart& start);

}  // namespace kestrel
