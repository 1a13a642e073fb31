#include "resize_by_drag.h"

#include <algorithm>
#include <cstdint>

#include "forms/app.h"
#include "forms/form.h"
#include "skip_failures.h"

namespace controls::detail {

namespace {

// The edges each resize code drags.
struct Dragged {
  bool left, top, right, bottom;
};

constexpr Dragged kDragged[] = {
    {true, false, false, false},  // 0 left edge
    {false, false, true, false},  // 1 right edge
    {false, true, false, false},  // 2 top edge
    {false, false, false, true},  // 3 bottom edge
    {false, false, true, true},   // 4 bottom-right corner
    {true, false, false, true},   // 5 bottom-left corner
    {false, true, true, false},   // 6 top-right corner
    {true, true, false, false},   // 7 top-left corner
};

// Where a dragged edge may go: no nearer to the opposite edge than the
// smallest size allows, or than the window already is if it is smaller.
double KeepApartFrom(double edge, double opposite, double size, double smallest, bool before) {
  const double limit = std::min(size, smallest);
  return before ? std::min(edge, opposite - limit) : std::max(edge, opposite + limit);
}

}  // namespace

void resize_by_drag(forms::Form& frm, const win::POINT& pressed, const win::POINT& released,
                    int code, const win::SIZE& smallest) {
  if (code < 0 || code >= static_cast<int>(std::size(kDragged))) return;
  const Dragged& drag = kDragged[code];
  // Whole pixels moved, in twips of the screen.
  const auto pixelsX = static_cast<std::int32_t>(released.x - pressed.x);
  const auto pixelsY = static_cast<std::int32_t>(released.y - pressed.y);
  const double dx = pixelsX * static_cast<double>(forms::Screen::TwipsPerPixelX());
  const double dy = pixelsY * static_cast<double>(forms::Screen::TwipsPerPixelY());

  float L = 0, T = 0, W = 0, H = 0;
  Step([&] { L = frm.Left(); });
  Step([&] { T = frm.Top(); });
  Step([&] { W = frm.Width(); });
  Step([&] { H = frm.Height(); });

  // The edge opposite the dragged one stays where it was.
  double left = L, top = T, right = static_cast<double>(L) + W, bottom = static_cast<double>(T) + H;
  if (drag.left) left = KeepApartFrom(left + dx, right, W, smallest.cx, true);
  if (drag.right) right = KeepApartFrom(right + dx, left, W, smallest.cx, false);
  if (drag.top) top = KeepApartFrom(top + dy, bottom, H, smallest.cy, true);
  if (drag.bottom) bottom = KeepApartFrom(bottom + dy, top, H, smallest.cy, false);
  Step([&] {
    frm.Move(static_cast<float>(left), static_cast<float>(top), static_cast<float>(right - left),
             static_cast<float>(bottom - top));
  });
}

}  // namespace controls::detail
