// Window regions cut by the key colour: the frame's rounded corners.

#include <gtest/gtest.h>

#include <array>

#include "forms/clock.h"
#include "forms/scale.h"
#include "test_hosts.h"
#include "win/gdi.h"
#include "win/window.h"

using namespace controls_test;

namespace {

constexpr win::COLORREF kKey = win::RGB(255, 0, 255);

// An owned copy of a window's region.
class RegionOf {
 public:
  explicit RegionOf(win::HWND hwnd) : region_(win::CreateRectRgn(0, 0, 0, 0)) {
    ok_ = win::GetWindowRgn(hwnd, region_) != win::ERROR;
  }
  ~RegionOf() { win::DeleteObject(region_); }
  RegionOf(const RegionOf&) = delete;
  RegionOf& operator=(const RegionOf&) = delete;
  bool ok() const { return ok_; }
  win::HRGN get() const { return region_; }
  bool Has(int x, int y) const { return win::PtInRegion(region_, x, y); }

 private:
  win::HRGN region_;
  bool ok_ = false;
};

// Key pixels of each rounded corner, per row, counted from the outer edge.
constexpr std::array<int, 5> kCornerRun{5, 3, 2, 1, 1};

}  // namespace

TEST(MakeTrans, ANormalHostLosesExactlyTheTwentyFourCornerPixels) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  host.Frame().make_trans(host);
  EXPECT_EQ(host.ScaleMode(), forms::vbPixels);

  RegionOf region(host.hWnd());
  ASSERT_TRUE(region.ok());
  const int W = 400, H = 300;
  win::RECT box;
  win::GetRgnBox(region.get(), &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, W);
  EXPECT_EQ(box.bottom, H);

  int missing = 0;
  for (int y = 0; y <= 5; ++y) {
    for (int x = 0; x < W; ++x) {
      const int run = y < 5 ? kCornerRun[static_cast<std::size_t>(y)] : 0;
      const bool corner = x < run || x >= W - run;
      EXPECT_EQ(region.Has(x, y), !corner) << "pixel " << x << "," << y;
      if (!region.Has(x, y)) ++missing;
    }
  }
  EXPECT_EQ(missing, 24);
  // Below the scanned rows the window is whole.
  for (const auto& [x, y] : {std::pair{0, 6}, {W - 1, 6}, {0, H - 1}, {W - 1, H - 1}, {200, 150}})
    EXPECT_TRUE(region.Has(x, y)) << x << "," << y;
  EXPECT_FALSE(region.Has(W, 0));
}

TEST(MakeTrans, AMaximisedHostKeepsItsWholeRectangle) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  host.WindowState(forms::vbMaximized);
  Settle();
  ASSERT_EQ(host.WindowState(), forms::vbMaximized);
  host.Frame().make_trans(host);
  RegionOf region(host.hWnd());
  ASSERT_TRUE(region.ok());
  const int W = static_cast<int>(host.ScaleWidth()), H = static_cast<int>(host.ScaleHeight());
  const win::HRGN whole = win::CreateRectRgn(0, 0, W, H);
  EXPECT_TRUE(win::EqualRgn(region.get(), whole));
  win::DeleteObject(whole);
  // No corner piece was painted on the form.
  EXPECT_NE(host.Point(0, 0), kKey);
}

TEST(MakeTrans, CallingItTwiceLeavesTheSameRegionAsOnce) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  host.Frame().make_trans(host);
  RegionOf once(host.hWnd());
  host.Frame().make_trans(host);
  RegionOf twice(host.hWnd());
  ASSERT_TRUE(once.ok() && twice.ok());
  EXPECT_TRUE(win::EqualRgn(once.get(), twice.get()));
}

TEST(MakeRegion, ReadsTheFormsOwnSurfaceInRowsZeroToFiveOnly) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  Plain form;
  form.Show();
  Settle();
  form.AutoRedraw(true);
  form.ScaleMode(forms::vbPixels);
  form.PSet(10, 2, kKey);
  form.PSet(199, 5, kKey);                  // the last scanned row, the last column
  form.PSet(20, 6, kKey);                   // below the scanned rows: stays
  form.PSet(30, 0, win::RGB(255, 0, 254));  // near the key is not the key
  controls::trans_colour::make_region(form, kKey);
  RegionOf region(form.hWnd());
  ASSERT_TRUE(region.ok());
  EXPECT_FALSE(region.Has(10, 2));
  EXPECT_FALSE(region.Has(199, 5));
  EXPECT_TRUE(region.Has(20, 6));
  EXPECT_TRUE(region.Has(30, 0));
  int missing = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) missing += region.Has(x, y) ? 0 : 1;
  EXPECT_EQ(missing, 2);
}
