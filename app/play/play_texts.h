// The texts the play controller shows, with the numbers of their entries in
// the language table, so that a translation can replace them.
#pragma once

#include <string>
#include <string_view>

#include "app/language/language_table.h"

namespace kestrel {

struct TLangText {
  int number;
  std::string_view english;
};

inline constexpr TLangText LtStartButton{309, "Start!"};
inline constexpr TLangText LtStopButton{44, "STOP!"};
inline constexpr TLangText LtNoFreePlace{54, "Error: no free place"};
inline constexpr TLangText LtBlackWin{55, "Black win!"};
inline constexpr TLangText LtWhiteWin{56, "White win!"};
inline constexpr TLangText LtNewGame{59, "New Game"};
inline constexpr TLangText LtDepth{60, "Depth"};
inline constexpr TLangText LtSec{61, "sec"};
inline constexpr TLangText LtLostByTime{63, "Lost by time!"};
inline constexpr TLangText LtSpeed{64, "Speed"};
inline constexpr TLangText LtTime{24, "Time"};
inline constexpr TLangText LtGameNotSaved{117, "Game not saved. Save?"};
inline constexpr TLangText LtDraw{148, "Draw"};
inline constexpr TLangText LtPlayer{239, "Player"};

// The text of an entry in the language in use (8-bit, like the game record).
inline std::string Lang(const TLangText& t) {
  std::string text = LangText(t.number);
  return text.empty() ? std::string(t.english) : text;
}

// The language entry of each game type's name, by game type 1..12.
inline constexpr int GameTypeNameEntries[] = {0, 6, 7, 8, 9, 10, 11, 147, 133, 196, 197, 198, 244};
// The name of a game type in the language in use.
inline std::string GameTypeTitle(int type) {
  return type >= 1 && type <= 12 ? LangText(GameTypeNameEntries[type]) : std::string();
}

inline constexpr std::string_view ExcPlayMove = "!!! Exception in PlayMove!!!";
inline constexpr std::string_view ExcAnalysis = "!!! Exception in analysis function -part 2!!!";
inline constexpr std::string_view ExcCheckResult = "ERROR: Exception in Check Result!";
inline constexpr std::string_view WrongMovesQuestion = "The Game contains wrong/damaged moves. Remove?";
inline constexpr std::string_view EngineLabelNew = "Kestrel 3.0";
inline constexpr std::string_view EngineLabelOld = "Kestrel 2.11";

}  // namespace kestrel
