// The frame's mouse handling: the caption bar moves the host through the
// system's own move loop and maximises or restores it on a double-click; the
// edges and grips resize it when the button is released (not live).

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

}  // namespace

void xp_canvas::WireMouseHandling() {
  pictop_.MouseDown = [this](int&, int&, float&, float&) {
    CaptionPress();
    forms::DoEvents();
  };
  lblcaption_.MouseDown = [this](int&, int&, float&, float&) { CaptionPress(); };
  pictop_.DblClick = [this] { CaptionDoubleClick(); };
  lblcaption_.DblClick = [this] { CaptionDoubleClick(); };

  auto press = [this](int&, int&, float&, float&) { EdgePress(); };
  auto releaseWith = [this](int code) {
    return [this, code](int&, int&, float&, float&) { EdgeRelease(code); };
  };
  picleft_.MouseDown = press;
  picright_.MouseDown = press;
  picbottom_.MouseDown = press;
  picleft_.MouseUp = releaseWith(kLeftEdge);
  picright_.MouseUp = releaseWith(kRightEdge);
  picbottom_.MouseUp = releaseWith(kBottomEdge);
  for (const auto& [index, grip] : imgresize_) {
    grip->MouseDown = press;
    grip->MouseUp = releaseWith(index);
  }
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

void xp_canvas::EdgePress() {
  if (fixedSingle_) return;
  win::GetCursorPos(&pressPoint_);
}

void xp_canvas::EdgeRelease(int code) {
  if (fixedSingle_) return;
  win::GetCursorPos(&releasePoint_);
  detail::resize_by_drag(HostForm(), pressPoint_, releasePoint_, code);
}

}  // namespace controls
