#pragma once

// Shape painting shared by the shape, edge and region functions.

#include <QPoint>
#include <QRect>
#include <functional>
#include <vector>

#include "gdi/canvas.h"

namespace win::detail {

// Lines through target points with the selected pen and ROP2; the last point
// is left out unless `closed`.
void DrawPolyline(const Canvas& c, const std::vector<QPoint>& pts, bool closed);
// A shape given by an inside test on target pixels: the pen outlines it from
// the inside, the brush fills the rest.
void PaintShape(const Canvas& c, const QRect& bounds, const std::function<bool(int, int)>& inside,
                bool usePen, bool useBrush);
// A logical box, normalised, in target coordinates.
QRect TargetBox(const Canvas& c, int left, int top, int right, int bottom);

}  // namespace win::detail
