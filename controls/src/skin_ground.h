#pragma once

#include <QColor>
#include <functional>

#include "forms/picture.h"
#include "win/types.h"

namespace controls::detail {

// The face colour of the skinned frame's own surface, which lies behind the
// push buttons of every host.
inline constexpr win::COLORREF kSkinFace = 0x00D8E9EC;  // RGB(236, 233, 216)

// The skin's strips draw their rounded corners with transparency, while a
// control shows its cells as opaque pictures: this lays every row of `strip`
// over the colour of the ground beneath it, so that the corners blend into
// what surrounds the control. An empty strip stays empty.
forms::Picture LaidOver(const forms::Picture& strip, const std::function<QColor(int row)>& ground);

// The colour of the active caption bar at `row` of a caption button placed,
// as the hosts place them, 5 pixels below the top of the bar.
QColor CaptionBarBehindButton(int row);

}  // namespace controls::detail
