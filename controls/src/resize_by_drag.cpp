#include "resize_by_drag.h"

#include <cstdint>

#include "forms/app.h"
#include "forms/form.h"
#include "skip_failures.h"

namespace controls::detail {

void resize_by_drag(forms::Form& frm, const win::POINT& pressed, const win::POINT& released,
                    int code) {
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

  auto move = [&](double left, double top, double width, double height) {
    Step([&] {
      frm.Move(static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
               static_cast<float>(height));
    });
  };
  switch (code) {
    case 0:
      move(L + dx, T, W - dx, H);
      break;
    case 1:
      move(L, T, W + dx, H);
      break;
    case 2:
      move(L, T + dy, W, H - dy);
      break;
    case 3:
      move(L, T, W, H + dy);
      break;
    case 4:
      move(L, T, W + dx, H + dy);
      break;
    case 5:
      move(L + dx, T, W - dx, H + dy);
      break;
    case 6:
      move(L, T + dy, W + dx, H - dy);
      break;
    case 7:
      move(L + dx, T + dy, W - dx, H - dy);
      break;
    default:
      break;
  }
}

}  // namespace controls::detail
