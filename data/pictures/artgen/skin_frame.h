#pragma once

#include <QImage>

// The skinned window frame: caption bars, side and bottom edges, and the
// default window icon.
namespace artgen {

enum class Activation { Active, Inactive };
enum class Corners { Rounded, Square };

// 66 x 29. Rounded corners leave their outside pixels in the key colour.
QImage captionBar(Activation activation, Corners corners);
// 5 x 31, every row alike (the frame stretches it to the edge height).
QImage leftEdge(Activation activation);
QImage rightEdge(Activation activation);
// 49 x 5, every column alike.
QImage bottomEdge(Activation activation);
// 16 x 16 speech bubble with the tricolore.
QImage windowIcon();

}  // namespace artgen
