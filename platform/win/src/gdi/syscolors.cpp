// System colours of the classic light scheme and their brushes.

#include <array>

#include "core/window_table.h"
#include "gdi/objects.h"
#include "win/gdi.h"

namespace win {
namespace {

constexpr int kColourCount = 31;

std::array<COLORREF, kColourCount>& Colours() {
  static std::array<COLORREF, kColourCount> colours = {
      RGB(192, 192, 192),  // scroll bar
      RGB(0, 128, 128),    // desktop
      RGB(0, 0, 128),      // active caption
      RGB(128, 128, 128),  // inactive caption
      RGB(192, 192, 192),  // menu
      RGB(255, 255, 255),  // window
      RGB(0, 0, 0),        // window frame
      RGB(0, 0, 0),        // menu text
      RGB(0, 0, 0),        // window text
      RGB(255, 255, 255),  // caption text
      RGB(192, 192, 192),  // active border
      RGB(192, 192, 192),  // inactive border
      RGB(128, 128, 128),  // application workspace
      RGB(0, 0, 128),      // highlight
      RGB(255, 255, 255),  // highlight text
      RGB(192, 192, 192),  // button face
      RGB(128, 128, 128),  // button shadow
      RGB(128, 128, 128),  // grey text
      RGB(0, 0, 0),        // button text
      RGB(192, 192, 192),  // inactive caption text
      RGB(255, 255, 255),  // button highlight
      RGB(0, 0, 0),        // 3D dark shadow
      RGB(223, 223, 223),  // 3D light
      RGB(0, 0, 0),        // tooltip text
      RGB(255, 255, 225),  // tooltip background
      RGB(181, 181, 181),  // (unused index)
      RGB(0, 0, 255),      // hot-tracked item
      RGB(16, 132, 208),   // active caption gradient
      RGB(181, 181, 181),  // inactive caption gradient
      RGB(0, 0, 128),      // menu highlight
      RGB(192, 192, 192),  // menu bar
  };
  return colours;
}

// One stock brush per index, recoloured when the scheme changes.
std::array<HBRUSH, kColourCount>& Brushes() {
  static std::array<HBRUSH, kColourCount> brushes = [] {
    std::array<HBRUSH, kColourCount> b{};
    for (int i = 0; i < kColourCount; ++i) {
      detail::BrushObject brush;
      brush.colour = Colours()[static_cast<std::size_t>(i)];
      b[static_cast<std::size_t>(i)] = HBRUSH(detail::AddObject(brush, true));
    }
    return b;
  }();
  return brushes;
}

}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kColourCount) return 0;
  return Colours()[static_cast<std::size_t>(index)];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kColourCount) return HBRUSH();
  return Brushes()[static_cast<std::size_t>(index)];
}

BOOL SetSysColors(int count, const int* indices, const COLORREF* colours) {
  if (count < 0 || (count > 0 && (!indices || !colours))) return FALSE;
  for (int i = 0; i < count; ++i) {
    if (indices[i] < 0 || indices[i] >= kColourCount) continue;
    const auto k = static_cast<std::size_t>(indices[i]);
    Colours()[k] = colours[i] & 0x00FFFFFF;
    if (auto* b = detail::Find<detail::BrushObject>(Brushes()[k])) b->colour = Colours()[k];
  }
  detail::SendToTopLevels(WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

}  // namespace win
