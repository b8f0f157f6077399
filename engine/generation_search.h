// The seam through which a search generation built outside this library
// (engine/gen2, "Kestrel 4") plays through TEngine. The library only knows
// the interface; a program that links the generation registers it once at
// start-up, and an engine asked for an unregistered generation plays with
// the current one instead.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/endgame_probe.h"
#include "engine/engine_params.h"
#include "engine/search_listener.h"
#include "engine/search_types.h"
#include "rules/board.h"

namespace kestrel {

struct TSearchResult;
struct TSearchLimits;

// What the owning engine lends a generation for one search.
struct TGenerationContext {
  std::atomic<bool>* stop = nullptr;  // the engine's stop flag, cleared before the call
  int threads = 1;
  uint64_t hashMegabytes = 16;
  bool extendedAnalysis = false;
  TEndgameProber* prober = nullptr;  // never null
};

class TGenerationSearch {
 public:
  virtual ~TGenerationSearch() = default;
  virtual TSearchResult SearchRoot(const TBoard& board, TDColor side, int gametype, const TSearchLimits& limits,
                                   const TEngineParams& params, TSearchListener& listener,
                                   const TGenerationContext& context) = 0;
  // Sets up, before a game, what the first search would otherwise set up on
  // its own clock (the table, the evaluation data).
  virtual void Prepare(int /*gametype*/, const TEngineParams& /*params*/, const TGenerationContext& /*context*/) {}
};

using TGenerationFactory = std::unique_ptr<TGenerationSearch> (*)();

// Makes `generation` (2 and up) playable by every TEngine; registering again
// replaces the factory. Call before engines search.
void RegisterGenerationSearch(uint8_t generation, TGenerationFactory factory);
// The factory of `generation`; nullptr when none is registered.
TGenerationFactory GenerationSearchFactory(uint8_t generation);

}  // namespace kestrel
