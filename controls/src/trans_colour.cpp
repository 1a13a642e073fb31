#include "controls/trans_colour.h"

#include <cmath>
#include <utility>

#include "forms/form.h"
#include "win/gdi.h"
#include "win/window.h"

namespace controls::trans_colour {

namespace {

// A region this module made and still owns.
class OwnedRegion {
 public:
  explicit OwnedRegion(win::HRGN region) : region_(region) {}
  ~OwnedRegion() {
    if (region_) win::DeleteObject(region_);
  }
  OwnedRegion(const OwnedRegion&) = delete;
  OwnedRegion& operator=(const OwnedRegion&) = delete;
  win::HRGN get() const { return region_; }
  // Hands the region on to whoever owns it from now on.
  win::HRGN release() { return std::exchange(region_, win::HRGN()); }

 private:
  win::HRGN region_;
};

// The corner shapes lie in rows 0 to 4; one row more is scanned.
constexpr int kScannedRows = 6;

}  // namespace

void make_region(forms::Form& frm, win::COLORREF key) {
  const float W = frm.ScaleWidth(), H = frm.ScaleHeight();
  OwnedRegion window(
      win::CreateRectRgn(0, 0, static_cast<int>(std::lround(W)), static_cast<int>(std::lround(H))));
  const win::HDC surface = frm.hDC();
  // The column x = W lies outside the surface and never matches.
  for (int y = 0; y < kScannedRows; ++y) {
    for (int x = 0; x <= W; ++x) {
      if (win::GetPixel(surface, x, y) != key) continue;
      OwnedRegion pixel(win::CreateRectRgn(x, y, x + 1, y + 1));
      win::CombineRgn(window.get(), window.get(), pixel.get(), win::RGN_DIFF);
    }
  }
  win::SetWindowRgn(frm.hWnd(), window.release(), win::TRUE);
}

}  // namespace controls::trans_colour
