#pragma once

// Shape painting shared by the shape, edge and region functions.

#include <QPoint>
#include <QRect>
#include <vector>

#include "gdi/canvas.h"

namespace win::detail {

// Lines through target points with the selected pen and ROP2; the last point
// is left out unless `closed`.
void DrawPolyline(const Canvas& c, const std::vector<QPoint>& pts, bool closed);
// A logical box, normalised, in target coordinates.
QRect TargetBox(const Canvas& c, int left, int top, int right, int bottom);

}  // namespace win::detail
