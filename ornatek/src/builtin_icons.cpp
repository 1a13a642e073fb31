#include "builtin_icons.h"

#include "mem_dc.h"

namespace ornatek {

namespace {

constexpr Colour kInk = 0x000000;

void Lines(cMemDC& dc, std::initializer_list<std::array<int, 4>> lines) {
  for (const auto& l : lines) dc.DrawLine(l[0], l[1], l[2], l[3], kInk);
}

// A solid triangle pointing right (dir 1) or left (dir -1): its tip, one
// pixel, in column x, and each column back from it two pixels taller.
void Triangle(cMemDC& dc, int x, int dir, int half) {
  for (int i = 0; i <= half; ++i) dc.DrawLine(x - dir * i, 8 - i, x - dir * i, 9 + i, kInk);
}

void WindowFrame(cMemDC& dc, int l, int t, int r, int b) {
  dc.Rectangle(l, t, r, b, kNoColour, {}, kInk);
  dc.FillRect(l, t, r, t + 2, kInk);  // the caption bar
}

}  // namespace

forms::Picture DrawBuiltinIcon(int index) {
  cMemDC dc;
  dc.Init(16, 16);
  dc.Cls(kMagenta);
  switch (index) {
    case 0:  // arrow: a pointer
      for (int i = 0; i < 9; ++i) dc.DrawLine(4, 2 + i, 5 + i, 2 + i, kInk);
      Lines(dc, {{7, 10, 10, 15}, {8, 10, 11, 15}});
      break;
    case 1:  // checkmark
      Lines(dc, {{3, 7, 6, 10},
                 {3, 8, 6, 11},
                 {3, 9, 6, 12},
                 {6, 10, 13, 3},
                 {6, 11, 13, 4},
                 {6, 12, 13, 5}});
      break;
    case 2:  // close: a cross
      Lines(dc, {{4, 4, 12, 12}, {5, 4, 13, 12}, {11, 4, 3, 12}, {12, 4, 4, 12}});
      break;
    case 3:  // maximize: one large window
      WindowFrame(dc, 2, 2, 14, 13);
      break;
    case 4:  // minimize: a bar at the bottom
      dc.FillRect(4, 10, 11, 12, kInk);
      break;
    case 5:  // Next1: a triangle and a bar
      Triangle(dc, 11, 1, 4);
      dc.FillRect(12, 4, 14, 14, kInk);
      break;
    case 6:  // next
      Triangle(dc, 10, 1, 4);
      break;
    case 7:  // Previous1
      Triangle(dc, 4, -1, 4);
      dc.FillRect(2, 4, 4, 14, kInk);
      break;
    case 8:  // previous
      Triangle(dc, 5, -1, 4);
      break;
    case 9:  // question
      Lines(dc, {{5, 4, 7, 2},
                 {7, 2, 10, 2},
                 {10, 2, 11, 4},
                 {11, 4, 11, 6},
                 {11, 6, 8, 8},
                 {8, 8, 8, 11},
                 {9, 8, 9, 11}});
      dc.FillRect(8, 12, 10, 14, kInk);
      break;
    case 10:  // restore: two overlapping windows
      WindowFrame(dc, 5, 2, 14, 9);
      dc.FillRect(2, 6, 11, 14, kMagenta);
      WindowFrame(dc, 2, 6, 11, 14);
      break;
    default:
      return {};
  }
  return dc.ExtractIcon(kMagenta);
}

}  // namespace ornatek
