// What the "Kestrel 4" node search prunes, reduces and extends, and the
// text form that selects it without rebuilding ("lmr=1,sing=0"): two
// settings of one binary can then play each other in one match.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::gen2 {

// The defaults are the settings that no alternative has beaten yet. At 50 ms
// a move (200 games each, against these): logarithmic reductions (lmr=1,
// lmrbase=100, lmrdiv=125) +9 +- 36 International, 0 +- 36 Russian, though
// they reach two or three plies deeper; no singular extension -9 +- 38
// International, -5 +- 35 Russian; with history 1 -39 +- 56 (80 games);
// late-move pruning to depth 8 with futility to depth 6 -69 +- 53 (112
// games); neither of the two -35 +- 58 (100 games). Searching the replies to
// a threatened capture in the capture search (qthreat=1) wins +47 +- 28 in
// International at depth 7 (300 games; about nothing in Russian and English)
// but costs 37% more time: -3 +- 33 at 50 ms a move (203 games). ProbCut
// (probcut=100) saves 25-50% of the nodes at a fixed depth and won at 0.1 s
// a move, counted by pairs of games with one opening: International +22 +- 16
// (241 pairs), Russian +19 +- 8 (500), English +26 +- 13 (331); so it is on.
struct TSearchShape {
  // Which selective parts run at all. With the first three off and
  // `exactTable` on, the search returns the plain minimax score of its depth.
  bool reductions = true;   // late-move reductions
  bool pruning = true;      // futility and late-move pruning
  bool extensions = true;   // a node with one legal move, or one far better move, keeps its depth
  bool exactTable = false;  // table bounds cut only at exactly the depth searched

  // Late-move reductions. 0: one ply, two for the sixth move on from depth 6.
  // 1: base + ln(depth) ln(move number) / divisor (both in hundredths), a ply
  // less at principal-variation nodes, and (with history 1) less or more by
  // the move's history.
  int lmr = 0;
  int lmrBase = 50;
  int lmrDivisor = 200;
  // History. 0: raised by depth^2 on a cutoff. 1: bounded (gravity) updates,
  // and every quiet move searched before the cutoff move loses as much.
  int history = 0;
  // Late-move pruning (quiet moves after the first few) up to this depth;
  // the counts grow with depth, scaled in percent.
  int lmpDepth = 3;
  int lmpScale = 100;
  // Reverse futility: static score this much per ply above beta, up to this depth.
  int futilityMargin = 70;
  int futilityDepth = 3;
  // Razoring: at depth 1-2 a static score this far below alpha drops into
  // the capture search (0: off).
  int razorMargin = 0;
  // Singular extension of the table move (needs `extensions`), from this depth.
  int singular = 1;
  int singularDepth = 6;
  // Internal iterative reduction: a node without a table move is searched a
  // ply shallower from this depth (0: off).
  int iirDepth = 0;
  // The capture search answers a quiet position whose opponent threatens a
  // capture by searching its moves, this many times along a line (0: off).
  int quietThreats = 0;
  // ProbCut: from `probCutDepth` on, a node whose search `probCutReduction`
  // plies shallower clears beta by this margin is cut at once (0: off).
  int probCutMargin = 100;
  int probCutDepth = 5;
  int probCutReduction = 4;
};

// Applies "key=value,key=value" to `shape` (keys in SearchShapeKeys()).
// Unknown keys, missing or non-integer values, values out of range and keys
// given twice fail with a message in `error` and leave `shape` unchanged.
// An empty text changes nothing.
bool ParseSearchShape(std::string_view text, TSearchShape& shape, std::string& error);
// "key (default D, MIN..MAX): what" lines for help texts.
std::string SearchShapeKeys();

}  // namespace kestrel::gen2
