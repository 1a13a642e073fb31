#pragma once

// The tables behind the drawing handles. Handle numbers come from one counter
// and are never reused, so a stale or foreign handle finds nothing here.

#include <QFont>
#include <QRegion>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "gdi/surface.h"
#include "win/gdi_types.h"

namespace win::detail {

// The first handle number; smaller values are left for the "system colour + 1"
// brushes that FillRect accepts in place of a handle.
inline constexpr std::uintptr_t kFirstHandle = 0x1000;
std::uintptr_t NextHandleValue();

struct BitmapObject {
  std::shared_ptr<PixelBuffer> buffer;
};

struct BrushObject {
  UINT style = BS_SOLID;
  COLORREF colour = 0;
  int hatch = 0;
  std::shared_ptr<const PixelBuffer> pattern;  // BS_PATTERN / BS_DIBPATTERN: a private copy
  bool dcBrush = false;                        // the stock DC brush: colour from the DC
};

struct PenObject {
  UINT style = PS_SOLID;
  int width = 1;
  COLORREF colour = 0;
  bool dcPen = false;
};

struct FontFace;  // the matched face and its metrics (fonts.h), made on first use

struct FontObject {
  LOGFONTA logical;
  std::shared_ptr<const FontFace> face;
};

struct RegionObject {
  QRegion region;
};

struct PaletteObject {
  std::vector<PALETTEENTRY> entries;
};

struct MetafileObject {
  std::shared_ptr<PixelBuffer> picture;  // transparent where nothing was drawn
  QRect frame;                           // the part that PlayEnhMetaFile maps to its rectangle
  RECT frameHimetric;                    // that part in 0.01 mm, as the header reports it
};

using ObjectData = std::variant<BitmapObject, BrushObject, PenObject, FontObject, RegionObject,
                                PaletteObject, MetafileObject>;

struct GdiEntry {
  ObjectData data;
  bool stock = false;
  int selections = 0;  // references from device contexts
  HDC owner;           // bitmaps: the one DC they may be selected into
};

GdiEntry* FindObject(HGDIOBJ handle);
template <class T>
T* Find(HGDIOBJ handle) {
  GdiEntry* e = FindObject(handle);
  return e ? std::get_if<T>(&e->data) : nullptr;
}
HGDIOBJ AddObject(ObjectData data, bool stock = false);

// The default 1x1 monochrome bitmap of new memory contexts.
HBITMAP DefaultBitmap();
HGDIOBJ Stock(int index);

// System colour brushes used by FillRect's "(HBRUSH)(COLOR_x + 1)" form.
std::optional<BrushObject> BrushFromHandle(HBRUSH brush);

// Pens and brushes as they draw: the DC colour objects take the DC's colours.
struct PenInfo {
  UINT style = PS_SOLID;
  int width = 1;
  COLORREF colour = 0;
  bool null() const { return style == PS_NULL; }
};

}  // namespace win::detail
