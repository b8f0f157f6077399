#include "app/play/open_games.h"

namespace kestrel {

TOpenGames::TOpenGames() { games_.push_back(std::make_unique<TGame>()); }

int TOpenGames::Append() {
  games_.push_back(std::make_unique<TGame>());
  return Count() - 1;
}

bool TOpenGames::MakeCurrent(int index) {
  if (index < 0 || index >= Count() || games_[index]->Closed) return false;
  current_ = index;
  return true;
}

int TOpenGames::OpenCount() const {
  int n = 0;
  for (const auto& g : games_) n += g->Closed ? 0 : 1;
  return n;
}

bool TOpenGames::CloseCurrent() {
  if (OpenCount() <= 1) return false;
  games_[current_]->Closed = true;
  for (int i = 0; i < Count(); ++i)
    if (!games_[i]->Closed) {
      current_ = i;
      break;
    }
  return true;
}

std::vector<int> TOpenGames::OpenIndexes() const {
  std::vector<int> out;
  for (int i = 0; i < Count(); ++i)
    if (!games_[i]->Closed) out.push_back(i);
  return out;
}

std::string OpenGameTitle(const TGame& game) {
  return game.WhiteName + " - " + game.BlackName + " (" + game.Tournament + ") " +
         std::to_string(game.Header.Date.Year);
}

}  // namespace kestrel
