// The edge of exported board pictures: 115 to 920 pixels in steps of 115,
// so that 920, the board image's own size, is copied one to one and the
// others are whole fractions of it.
#pragma once

namespace kestrel {

inline constexpr int DiagramSizeStep = 115;
inline constexpr int MinDiagramSize = DiagramSizeStep;
inline constexpr int MaxDiagramSize = 8 * DiagramSizeStep;
inline constexpr int DefaultDiagramSize = 2 * DiagramSizeStep;

constexpr bool IsDiagramSize(int size) {
  return size >= MinDiagramSize && size <= MaxDiagramSize && size % DiagramSizeStep == 0;
}

// The nearest size that can be chosen.
constexpr int NearestDiagramSize(int size) {
  const int steps = (size + DiagramSizeStep / 2) / DiagramSizeStep;
  return (steps < 1 ? 1 : steps > 8 ? 8 : steps) * DiagramSizeStep;
}

}  // namespace kestrel
