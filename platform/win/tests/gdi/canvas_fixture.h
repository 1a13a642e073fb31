#pragma once

// A memory DC with a bitmap selected, freed at the end of the test.

#include <gtest/gtest.h>

#include "win/gdi.h"

namespace gditest {

class Surface {
 public:
  // A 32-bit colour surface (bitsPerPixel 32) or a monochrome one (1).
  Surface(int width, int height, win::COLORREF fill = win::RGB(255, 255, 255),
          int bitsPerPixel = 32)
      : dc_(win::CreateCompatibleDC(win::HDC())),
        bitmap_(win::CreateBitmap(width, height, 1, static_cast<win::UINT>(bitsPerPixel), nullptr)),
        old_(win::SelectObject(dc_, bitmap_)) {
    const win::RECT all{0, 0, width, height};
    const win::HBRUSH brush = win::CreateSolidBrush(fill);
    win::FillRect(dc_, &all, brush);
    win::DeleteObject(brush);
  }
  ~Surface() {
    win::SelectObject(dc_, old_);
    win::DeleteDC(dc_);
    win::DeleteObject(bitmap_);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  win::HDC dc() const { return dc_; }
  win::HBITMAP bitmap() const { return bitmap_; }
  win::COLORREF at(int x, int y) const { return win::GetPixel(dc_, x, y); }

 private:
  win::HDC dc_;
  win::HBITMAP bitmap_;
  win::HGDIOBJ old_;
};

inline constexpr win::COLORREF kWhite = win::RGB(255, 255, 255);
inline constexpr win::COLORREF kBlack = win::RGB(0, 0, 0);
inline constexpr win::COLORREF kRed = win::RGB(255, 0, 0);
inline constexpr win::COLORREF kGreen = win::RGB(0, 255, 0);
inline constexpr win::COLORREF kBlue = win::RGB(0, 0, 255);

// RAII for objects the test creates.
template <class H>
class Owned {
 public:
  explicit Owned(H h) : h_(h) {}
  ~Owned() { win::DeleteObject(h_); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  H get() const { return h_; }
  operator H() const { return h_; }

 private:
  H h_;
};

}  // namespace gditest
