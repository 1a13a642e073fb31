#include "controls/trans_colour.h"
#include "controls/xp_canvas.h"
#include "forms/scale.h"

namespace controls {

namespace {
constexpr win::COLORREF kKeyColour = win::RGB(255, 0, 255);
constexpr float kCorner = 5;  // the width of each rounded corner piece
}  // namespace

void xp_canvas::make_trans(forms::Form& frm) {
  // The region is read back from the form's own surface, which lies under
  // this frame and is never shown: a persistent image of it keeps the corner
  // pieces readable there.
  frm.AutoRedraw(true);
  frm.Cls();
  frm.ScaleMode(forms::vbPixels);
  if (frm.WindowState() == forms::vbNormal) {
    const forms::Picture& corners = imgtop_.Picture();
    const float width = pictop_.Width(), height = pictop_.Height();
    const auto w = static_cast<float>(corners.PixelWidth()),
               h = static_cast<float>(corners.PixelHeight());
    frm.PaintPicture(corners, 0, 0, kCorner, height, 0.0f, 0.0f, kCorner, h);
    frm.PaintPicture(corners, width - kCorner, 0, kCorner, height, w - kCorner, 0.0f, kCorner, h);
  }
  trans_colour::make_region(frm, kKeyColour);
}

}  // namespace controls
