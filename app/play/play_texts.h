// The texts the play controller shows, with the numbers of their entries in
// the language table, so that a translation can replace them.
#pragma once

#include <string>
#include <string_view>

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

// The text of an entry in the language in use. Until language files are
// read, the built-in English text.
inline std::string Lang(const TLangText& t) { return std::string(t.english); }

inline constexpr std::string_view ExcPlayMove = "!!! Exception in PlayMove!!!";
inline constexpr std::string_view ExcAnalysis = "!!! Exception in analysis function -part 2!!!";
inline constexpr std::string_view ExcCheckResult = "ERROR: Exception in Check Result!";
inline constexpr std::string_view WrongMovesQuestion = "The Game contains wrong/damaged moves. Remove?";
inline constexpr std::string_view EngineLabelNew = "Kestrel 3.0";
inline constexpr std::string_view EngineLabelOld = "Kestrel 2.11";

}  // namespace kestrel
