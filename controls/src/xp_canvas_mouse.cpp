// The frame's mouse handling: the caption bar moves the host through the
// system's own move loop and maximises or restores it on a double-click; the
// edges and grips resize it when the button is released (not live).

#include <cmath>

#include "controls/xp_canvas.h"
#include "forms/app.h"
#include "forms/scale.h"
#include "resize_by_drag.h"
#include "win/window.h"

namespace controls {

namespace {

// Resize codes of the edges; a grip's code is its index in imgresize.
constexpr int kLeftEdge = 0;
constexpr int kRightEdge = 1;
constexpr int kBottomEdge = 3;

// Where the pointer was, on the screen, at a mouse event of an edge (in its
// own pixels) or of a grip (in the pixels of the strip that holds it, from
// the grip's corner). The press and the release are both taken from their
// own events, in the same coordinates, so that a handler that runs late
// (behind a layout pass) still sees where the pointer was at that moment.
win::POINT OnScreen(const forms::PictureBox& box, float x, float y) {
  win::POINT p{static_cast<win::LONG>(std::floor(x)), static_cast<win::LONG>(std::floor(y))};
  win::ClientToScreen(box.hWnd(), &p);
  return p;
}
win::POINT PointerAt(const forms::PictureBox& edge, float x, float y) {
  return OnScreen(edge, x, y);
}
win::POINT PointerAt(const forms::Image& grip, float x, float y) {
  const auto& strip = dynamic_cast<const forms::PictureBox&>(grip.GetContainer());
  return OnScreen(strip, grip.Left() + x, grip.Top() + y);
}

}  // namespace

void xp_canvas::WireMouseHandling() {
  pictop_.MouseDown = [this](int&, int&, float&, float&) {
    CaptionPress();
    forms::DoEvents();
  };
  lblcaption_.MouseDown = [this](int&, int&, float&, float&) { CaptionPress(); };
  pictop_.DblClick = [this] { CaptionDoubleClick(); };
  lblcaption_.DblClick = [this] { CaptionDoubleClick(); };

  auto wire = [this](auto& part, int code) {
    part.MouseDown = [this, &part](int&, int&, float& X, float& Y) {
      EdgePress(PointerAt(part, X, Y));
    };
    part.MouseUp = [this, &part, code](int&, int&, float& X, float& Y) {
      EdgeRelease(PointerAt(part, X, Y), code);
    };
  };
  wire(picleft_, kLeftEdge);
  wire(picright_, kRightEdge);
  wire(picbottom_, kBottomEdge);
  for (const auto& [index, grip] : imgresize_) wire(*grip, index);
}

void xp_canvas::CaptionPress() {
  forms::Form& host = HostForm();
  // Caption dragging needs only the normal state, not a sizable frame.
  if (host.WindowState() != forms::vbNormal) return;
  win::ReleaseCapture();
  win::SendMessageA(host.hWnd(), win::WM_NCLBUTTONDOWN, static_cast<win::WPARAM>(win::HTCAPTION),
                    0);
}

void xp_canvas::CaptionDoubleClick() {
  if (fixedSingle_) return;
  forms::Form& host = HostForm();
  host.WindowState(host.WindowState() == forms::vbNormal ? forms::vbMaximized : forms::vbNormal);
}

void xp_canvas::EdgePress(win::POINT where) {
  if (fixedSingle_) return;
  pressPoint_ = where;
  pressed_ = true;
}

void xp_canvas::EdgeRelease(win::POINT where, int code) {
  if (fixedSingle_) return;
  // A click the window was not active for makes the frame lay itself out for
  // the focus it takes, and that pass lets the queued release run before the
  // press is done: such a release belongs to no drag of this frame.
  if (!pressed_) return;
  pressed_ = false;
  releasePoint_ = where;
  detail::resize_by_drag(HostForm(), pressPoint_, releasePoint_, code, SmallestHost());
}

}  // namespace controls
