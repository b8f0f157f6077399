// Condition codes: the small numbers in an evaluation function's search
// parameters (single-move extensions, reduced searches) that say at which
// nodes, by ply and depth, a selective rule applies.
#pragma once

namespace kestrel {

constexpr int ConditionCodeCount = 34;

// Whether condition `code` (taken as |code| mod 34) holds at a node of ply
// `ply` whose full-width search goes to `depth`:
//   0 never, 1 always;
//   2..6   p <, <=, =, >, >= d/2;      7..11 p <, <=, =, >, >= d/3;
//   12..16 p <, <=, =, >, >= 2*(d/3);
//   17..21 d - p > 1..5;  22..26 d - p < 1..5;  27..33 p > 1..7.
bool ConditionHolds(int code, int ply, int depth);

}  // namespace kestrel
