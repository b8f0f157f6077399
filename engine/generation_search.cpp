#include "engine/generation_search.h"

#include <array>

namespace kestrel {
namespace {

constexpr int MaxGenerations = 8;

std::array<std::atomic<TGenerationFactory>, MaxGenerations>& Factories() {
  static std::array<std::atomic<TGenerationFactory>, MaxGenerations> factories{};
  return factories;
}

}  // namespace

void RegisterGenerationSearch(uint8_t generation, TGenerationFactory factory) {
  if (generation < 2 || generation >= MaxGenerations) return;
  Factories()[generation].store(factory);
}

TGenerationFactory GenerationSearchFactory(uint8_t generation) {
  if (generation < 2 || generation >= MaxGenerations) return nullptr;
  return Factories()[generation].load();
}

}  // namespace kestrel
