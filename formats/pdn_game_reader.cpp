#include "formats/pdn_game_reader.h"

#include <algorithm>
#include <optional>

#include "database/name_tables.h"
#include "engine/packed_board.h"
#include "formats/fen.h"
#include "formats/pdn_move_text.h"
#include "formats/pdn_tags.h"
#include "game/move_tree.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/plain_text.h"

namespace kestrel {
namespace {

void AppendText(std::string& to, std::string_view text) {
  if (text.empty()) return;
  if (!to.empty()) to += ' ';
  to += text;
}

struct TTagState {
  int type = gtRussian;
  // The names as the file's colours give them; English and Pool exchange
  // them once the type is known.
  std::optional<std::string> fileWhite, fileBlack;
  bool abnormalEnd = false;
  std::optional<std::string> fen;
};

void ApplyTag(const TPdnTag& tag, TTagState& state, TGame& game) {
  const std::string& k = tag.key;
  const std::string& v = tag.value;
  TGameHeader& h = game.Header;
  if (k == "event" || k == "dati") {
    if (v != "?") game.Tournament = MaskGameNumber(v);
  } else if (k == "site" || k == "apertura" || k == "localita") {
    if (v != "?") game.Site = v;
  } else if (k == "timecontrol") {
    if (v != "?") AppendText(game.Site, v);
  } else if (k == "white" || k == "bianco") {
    if (!state.fileWhite) state.fileWhite = v;
  } else if (k == "black" || k == "nero") {
    if (!state.fileBlack) state.fileBlack = v;
  } else if (k == "result" || k == "esito" || k == "risultato") {
    h.Result = ResultFromTagValue(v);
  } else if (k == "termination") {
    state.abnormalEnd = Lowered(v) != "normal";
  } else if (k == "day") {
    const int64_t d = PdnInteger(v);
    h.Date.Day = static_cast<uint8_t>(d >= 1 && d <= 31 ? d : 0);
  } else if (k == "month") {
    const int64_t m = PdnInteger(v);
    h.Date.Month = static_cast<uint8_t>(m >= 1 && m <= 12 ? m : 0);
  } else if (k == "year") {
    h.Date.Year = static_cast<uint16_t>(std::clamp<int64_t>(PdnInteger(v), 0, 2100));
  } else if (k == "date" || k == "anno") {
    h.Date = DateFromTagValue(v);
  } else if (k == "round" || k == "turno") {
    RoundFromTagValue(v, h.Round, h.Subround);
  } else if (k == "gametype") {
    if (const auto type = GameTypeFromTagValue(v)) state.type = *type;
  } else if (k == "fen" || k == "posizione") {
    // An empty FEN tag sets nothing up.
    if (!TrimBlanks(v).empty()) state.fen = v;
  } else if (k == "elo1" || k == "elo2" || k == "whiterating" || k == "blackrating") {
    const int64_t r = PdnInteger(v);
    const bool first = k == "elo1" || k == "whiterating";
    (first ? h.White : h.Black).Rating = static_cast<uint16_t>(r > 0 && r <= 65535 ? r : 0);
  } else if (k == "annotator") {
    game.AnnotatorName = v;
  }
}

}  // namespace

TPdnGameReport ReadPdnGame(const TPdnRawGame& raw, int defaultType, TGame& game) {
  game = TGame();
  TTagState state;
  state.type = IsValidGameType(defaultType) ? defaultType
               : IsValidGameType(CurrentGameType) ? CurrentGameType
                                                  : static_cast<int>(gtRussian);
  for (const std::string& line : raw.tags)
    if (const auto tag = SplitTagLine(line)) ApplyTag(*tag, state, game);

  TGameHeader& h = game.Header;
  h.TypeOfGame = static_cast<uint8_t>(state.type);
  const bool exchanged = NamesExchanged(state.type);
  if (state.fileWhite) (exchanged ? game.BlackName : game.WhiteName) = *state.fileWhite;
  if (state.fileBlack) (exchanged ? game.WhiteName : game.BlackName) = *state.fileBlack;
  // The termination tag may come before or after the result.
  if (state.abnormalEnd && h.Result == 1) h.Result = 4;
  if (state.abnormalEnd && h.Result == 3) h.Result = 5;

  TPdnGameReport report;
  TBrd start = InitialPosition(state.type).b;
  h.FirstMove = TDColor::white;
  if (state.fen) {
    std::string error;
    // The type is known only once all tags are read, whatever their order.
    const auto position = ReadFEN(*state.fen, state.type, &error);
    if (!position) {
      PackBoard(start, game.StartBoard);
      report.complete = false;
      report.reason = error;
      game.CommentsAft[0] = "* [FEN \"" + *state.fen + "\"] " + std::string(TrimBlanks(raw.moveText));
      h.Flags |= PdnDamagedFlag;
      return report;
    }
    start = position->board.b;
    h.FirstMove = position->firstMover;
  }
  PackBoard(start, game.StartBoard);

  const TMoveTextResult moves = ReadPdnMoveText(game, raw.moveText);
  report.complete = moves.complete;
  report.reason = moves.reason;
  report.moves = moves.moves;
  if (!moves.complete) h.Flags |= PdnDamagedFlag;
  return report;
}

}  // namespace kestrel
