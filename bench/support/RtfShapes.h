#pragma once
// Generated RTF documents of the shapes that once made reading slow or memory-hungry: each
// grows to a requested size with the same pattern, so time and memory per megabyte can be
// compared between small and large inputs.

#include <QByteArray>
#include <QString>
#include <vector>

namespace bench {

enum class Shape {
  FontChanges,    // one paragraph, a font change every few characters among 100 fonts
  ColorChanges,   // one paragraph, a colour change every few characters among 100 colours
  ShortRuns,      // one paragraph of one-letter runs that switch bold on and off
  OneLongWord,    // the same runs without a space: one word as long as the file
  FontsUsedOnce,  // a font table that grows with the file, each font used once
  LongParagraph,  // plain prose in one paragraph, no format changes
  Pictures,       // large PNG photos (5600 x 5600 pixels) that compress well
};

struct ShapeInfo {
  Shape shape;
  const char* name;
};

const std::vector<ShapeInfo>& allShapes();

// A document of the shape, about `bytes` long (pictures: as many as fit, at least one).
QByteArray makeShape(Shape shape, qsizetype bytes);

}  // namespace bench
