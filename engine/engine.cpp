#include "engine/engine.h"

#include <algorithm>

#include "engine/bitboard.h"
#include "engine/generation_search.h"
#include "rules/game_types.h"

namespace kestrel {

uint8_t SearchGeneration(const TEngineParams& params, int gametype) {
  // Without a bitboard generator the current generation would see no moves.
  if (!HasBitBoardGenerator(gametype)) return EngineOld;
  // An unregistered later generation plays as the current one.
  if (params.Engine == EngineGen2) return GenerationSearchFactory(EngineGen2) ? EngineGen2 : EngineNew;
  return params.Engine == EngineNew ? EngineNew : EngineOld;
}

TEngine::TEngine(uint64_t hashMegabytes)
    : table_(hashMegabytes), hashMegabytes_(hashMegabytes), evalFunc_(std::make_unique<TEvalFuncNew>()), prober_(std::make_shared<TNullEndgameProber>()) {}

TEngine::~TEngine() {
  Stop();
  std::lock_guard lock(searchMutex_);
}

bool TEngine::AllocateHashTable(uint64_t megabytes) {
  std::lock_guard lock(searchMutex_);
  if (!table_.Allocate(megabytes)) return false;
  hashMegabytes_ = megabytes;
  return true;
}

void TEngine::SetThreadsCount(int threads) {
  threads_.store(std::clamp(threads, 1, MaxSearchThreads), std::memory_order_relaxed);
}

void TEngine::SetEndgameProber(std::shared_ptr<TEndgameProber> prober) {
  std::lock_guard lock(searchMutex_);
  prober_ = prober ? std::move(prober) : std::make_shared<TNullEndgameProber>();
}

void TEngine::PrepareSearch(const TEvalFuncNew& func, int64_t hardLimit) {
  table_.Clear();
  *evalFunc_ = func;
  start_ = std::chrono::steady_clock::now();
  hardLimit_ = hardLimit;
  stop_.store(false, std::memory_order_relaxed);
}

int64_t TEngine::ElapsedCs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count() / 10;
}

void TEngine::CheckTime() {
  if (ElapsedCs() > hardLimit_) Stop();
}

int16_t TEngine::EvaluateLeaf(const TBitBoard64& pos, int ply, int stage, int gametype, TSearchCounters& counters) {
  ++counters.nodes;
  ++counters.evaluations;
  return Evaluate(pos, ply, stage, *evalFunc_, gametype);
}

int16_t TEngine::SearchPosition(const TBoard& board, int alpha, int beta, const TExcludedTables& excluded, int turn,
                                int depth, int ply, uint8_t generation, int gametype, TSearchCounters& counters) {
  if (generation == EngineNew) {
    probePieces_.store(gametype == gtCanadian ? 0 : prober_->Pieces(gametype), std::memory_order_relaxed);
    SearchNode node;
    BoardToBit64(board, node.position, gametype);
    node.alpha = static_cast<int16_t>(alpha);
    node.beta = static_cast<int16_t>(beta);
    node.ply = static_cast<uint8_t>(ply);
    node.depth = static_cast<uint8_t>(std::clamp(depth, 0, 255));
    node.turn = static_cast<uint8_t>(turn);
    node.excluded = excluded;
    node.gametype = static_cast<uint8_t>(gametype);
    AlphaBeta(node, counters);
    return node.result;
  }
  TNewBoard newboard;
  BoardToNewBoard(board, newboard, gametype);
  return AlphaBetaOld(newboard, alpha, beta, gametype, turn ? TDColor::black : TDColor::white, depth, ply, counters);
}

}  // namespace kestrel
