#include "gdi/objects.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <unordered_map>

#include "gdi/dc.h"
#include "gdi/layer_calls.h"
#include "win/gdi.h"

namespace win::detail {
namespace {

// The one table of drawing objects of the process (handles are process-wide).
std::unordered_map<std::uintptr_t, GdiEntry>& Table() {
  static std::unordered_map<std::uintptr_t, GdiEntry> table;
  return table;
}

LOGFONTA MakeLogFont(const char* face, LONG height, LONG weight) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

constexpr int kStockCount = 20;

struct StockSet {
  std::array<HGDIOBJ, kStockCount> objects{};
  HBITMAP defaultBitmap;
  StockSet() {
    auto brush = [](COLORREF c, UINT style = BS_SOLID) {
      BrushObject b;
      b.style = style;
      b.colour = c;
      return AddObject(b, true);
    };
    auto pen = [](COLORREF c, UINT style = PS_SOLID) {
      PenObject p;
      p.style = style;
      p.colour = c;
      return AddObject(p, true);
    };
    auto font = [](const LOGFONTA& lf) {
      FontObject f;
      f.logical = lf;
      return AddObject(f, true);
    };
    objects[WHITE_BRUSH] = brush(RGB(255, 255, 255));
    objects[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
    objects[GRAY_BRUSH] = brush(RGB(128, 128, 128));
    objects[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
    objects[BLACK_BRUSH] = brush(RGB(0, 0, 0));
    objects[NULL_BRUSH] = brush(0, BS_NULL);
    objects[WHITE_PEN] = pen(RGB(255, 255, 255));
    objects[BLACK_PEN] = pen(RGB(0, 0, 0));
    objects[NULL_PEN] = pen(0, PS_NULL);
    objects[OEM_FIXED_FONT] = font(MakeLogFont("Courier New", 12, FW_NORMAL));
    objects[ANSI_FIXED_FONT] = font(MakeLogFont("Courier New", 12, FW_NORMAL));
    objects[ANSI_VAR_FONT] = font(MakeLogFont("MS Sans Serif", 13, FW_NORMAL));
    objects[SYSTEM_FONT] = font(MakeLogFont("System", 16, FW_BOLD));
    objects[DEVICE_DEFAULT_FONT] = font(MakeLogFont("System", 16, FW_BOLD));
    PaletteObject pal;
    // The default palette: the 20 static colours of a palette display.
    const std::array<COLORREF, 20> statics = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000,
                                              0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
                                              0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00,
                                              0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (COLORREF c : statics)
      pal.entries.push_back(PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0});
    objects[DEFAULT_PALETTE] = AddObject(pal, true);
    objects[SYSTEM_FIXED_FONT] = font(MakeLogFont("Courier New", 16, FW_NORMAL));
    objects[DEFAULT_GUI_FONT] = font(MakeLogFont("MS Shell Dlg", -11, FW_NORMAL));
    BrushObject dcBrush;
    dcBrush.dcBrush = true;
    objects[DC_BRUSH] = AddObject(dcBrush, true);
    PenObject dcPen;
    dcPen.dcPen = true;
    objects[DC_PEN] = AddObject(dcPen, true);
    defaultBitmap = HBITMAP(AddObject(BitmapObject{MakeMonoBuffer(1, 1)}, true));
  }
};

StockSet& Stocks() {
  static StockSet set;
  return set;
}

}  // namespace

std::uintptr_t NextHandleValue() {
  static std::atomic<std::uintptr_t> next{kFirstHandle};
  return next++;
}

GdiEntry* FindObject(HGDIOBJ handle) {
  if (!handle) return nullptr;
  auto& table = Table();
  auto it = table.find(handle.value);
  return it == table.end() ? nullptr : &it->second;
}

HGDIOBJ AddObject(ObjectData data, bool stock) {
  const HGDIOBJ h(NextHandleValue());
  GdiEntry entry{std::move(data), stock, 0, HDC()};
  Table().emplace(h.value, std::move(entry));
  return h;
}

HBITMAP DefaultBitmap() {
  return Stocks().defaultBitmap;
}

HGDIOBJ Stock(int index) {
  if (index < 0 || index >= kStockCount || index == 9) return HGDIOBJ();
  return Stocks().objects[static_cast<std::size_t>(index)];
}

std::optional<BrushObject> BrushFromHandle(HBRUSH brush) {
  if (brush.value > 0 && brush.value <= 31) {
    BrushObject b;
    b.colour = GetSysColor(static_cast<int>(brush.value) - 1);
    return b;
  }
  if (auto* b = Find<BrushObject>(brush)) return *b;
  return std::nullopt;
}

}  // namespace win::detail

namespace win {
using namespace detail;

HGDIOBJ GetStockObject(int index) {
  return Stock(index);
}

BOOL DeleteObject(HGDIOBJ obj) {
  GdiEntry* e = FindObject(obj);
  if (!e) return FALSE;
  if (e->stock) return TRUE;
  if (e->selections > 0) return FALSE;
  detail::Table().erase(obj.value);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
  if (FindDc(HDC(obj.value))) {
    return FindDc(HDC(obj.value))->kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
  }
  GdiEntry* e = FindObject(obj);
  if (!e) return 0;
  struct Visitor {
    DWORD operator()(const BitmapObject&) const { return OBJ_BITMAP; }
    DWORD operator()(const BrushObject&) const { return OBJ_BRUSH; }
    DWORD operator()(const PenObject&) const { return OBJ_PEN; }
    DWORD operator()(const FontObject&) const { return OBJ_FONT; }
    DWORD operator()(const RegionObject&) const { return OBJ_REGION; }
    DWORD operator()(const PaletteObject&) const { return OBJ_PAL; }
    DWORD operator()(const MetafileObject&) const { return OBJ_ENHMETAFILE; }
  };
  return std::visit(Visitor{}, e->data);
}

namespace {
template <class T>
int CopyOut(const T& value, int size, void* out) {
  if (!out) return static_cast<int>(sizeof(T));
  const int n = std::min(size, static_cast<int>(sizeof(T)));
  if (n <= 0) return 0;
  std::memcpy(out, &value, static_cast<std::size_t>(n));
  return n;
}

BITMAP BitmapInfoOf(PixelBuffer& b) {
  BITMAP bm;
  bm.bmType = 0;
  bm.bmWidth = b.width;
  bm.bmHeight = b.height;
  bm.bmPlanes = 1;
  bm.bmBitsPixel = static_cast<WORD>(b.bitsPerPixel);
  if (b.dib) {
    bm.bmWidthBytes = static_cast<LONG>(b.bytesPerRow());
    bm.bmBits = b.bits();
  } else {
    // Device bitmaps report word-aligned rows, as the platform does.
    bm.bmWidthBytes = ((b.width * b.bitsPerPixel + 15) / 16) * 2;
  }
  return bm;
}
}  // namespace

int GetObjectA(HGDIOBJ obj, int size, void* out) {
  GdiEntry* e = FindObject(obj);
  if (!e) return 0;
  if (auto* bmp = std::get_if<BitmapObject>(&e->data)) {
    PixelBuffer& b = *bmp->buffer;
    BITMAP bm = BitmapInfoOf(b);
    if (b.dib && (!out || size >= static_cast<int>(sizeof(DIBSECTION)))) {
      DIBSECTION ds;
      ds.dsBm = bm;
      ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
      ds.dsBmih.biWidth = b.width;
      ds.dsBmih.biHeight = b.bottomUp ? b.height : -b.height;
      ds.dsBmih.biPlanes = 1;
      ds.dsBmih.biBitCount = static_cast<WORD>(b.bitsPerPixel);
      ds.dsBmih.biCompression = BI_RGB;
      ds.dsBmih.biSizeImage = static_cast<DWORD>(b.sizeBytes());
      ds.dsBmih.biClrUsed = static_cast<DWORD>(b.table.size());
      if (!out) return sizeof(BITMAP);
      return CopyOut(ds, size, out);
    }
    return CopyOut(bm, size, out);
  }
  if (auto* pen = std::get_if<PenObject>(&e->data)) {
    LOGPEN lp;
    lp.lopnStyle = pen->style;
    lp.lopnWidth = POINT{pen->width, 0};
    lp.lopnColor = pen->colour;
    return CopyOut(lp, size, out);
  }
  if (auto* brush = std::get_if<BrushObject>(&e->data)) {
    LOGBRUSH lb;
    lb.lbStyle = brush->style;
    lb.lbColor = brush->colour;
    lb.lbHatch = static_cast<ULONG_PTR>(brush->hatch);
    return CopyOut(lb, size, out);
  }
  if (auto* font = std::get_if<FontObject>(&e->data)) return CopyOut(font->logical, size, out);
  if (auto* pal = std::get_if<PaletteObject>(&e->data)) {
    const WORD n = static_cast<WORD>(pal->entries.size());
    return CopyOut(n, size, out);
  }
  return 0;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
  BrushObject b;
  b.colour = colour & 0x00FFFFFF;
  return HBRUSH(AddObject(b));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF colour) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return HBRUSH();
  BrushObject b;
  b.style = BS_HATCHED;
  b.colour = colour & 0x00FFFFFF;
  b.hatch = hatch;
  return HBRUSH(AddObject(b));
}

namespace {
std::shared_ptr<PixelBuffer> CopyBuffer(const PixelBuffer& src) {
  auto copy =
      std::make_shared<PixelBuffer>(src.width, src.height, src.bitsPerPixel, src.dib, false);
  copy->table = src.table;
  copy->alpha = src.alpha;
  for (int y = 0; y < src.height; ++y)
    std::memcpy(copy->row(y), src.row(y), std::min(copy->bytesPerRow(), src.bytesPerRow()));
  return copy;
}
}  // namespace

HBRUSH CreatePatternBrush(HBITMAP pattern) {
  auto* bmp = Find<BitmapObject>(pattern);
  if (!bmp || bmp->buffer->width <= 0 || bmp->buffer->height <= 0) return HBRUSH();
  BrushObject b;
  b.style = bmp->buffer->dib ? BS_DIBPATTERN : BS_PATTERN;
  b.pattern = CopyBuffer(*bmp->buffer);
  return HBRUSH(AddObject(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return HBRUSH();
  switch (brush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(brush->lbColor);
    case BS_NULL: {
      return HBRUSH(Stock(NULL_BRUSH));
    }
    case BS_HATCHED:
      return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
      return CreatePatternBrush(HBITMAP(static_cast<std::uintptr_t>(brush->lbHatch)));
    default:
      return HBRUSH();
  }
}

HPEN CreatePen(int style, int width, COLORREF colour) {
  const UINT s = static_cast<UINT>(style) & PS_STYLE_MASK;
  if (s > PS_INSIDEFRAME) return HPEN();
  PenObject p;
  p.style = s;
  p.width = std::max(width, 0);
  p.colour = colour & 0x00FFFFFF;
  // Styled pens are cosmetic: wider ones draw solid, as on the platform.
  if (p.width > 1 && (s == PS_DASH || s == PS_DOT || s == PS_DASHDOT || s == PS_DASHDOTDOT))
    p.style = PS_SOLID;
  return HPEN(AddObject(p));
}

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (!font) return HFONT();
  FontObject f;
  f.logical = *font;
  f.logical.lfFaceName[LF_FACESIZE - 1] = '\0';
  return HFONT(AddObject(f));
}

// ---- Palettes ---------------------------------------------------------------

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palNumEntries == 0) return HPALETTE();
  PaletteObject p;
  const PALETTEENTRY* entries = palette->palPalEntry;
  p.entries.assign(entries, entries + palette->palNumEntries);
  return HPALETTE(AddObject(p));
}

HPALETTE CreateHalftonePalette(HDC) {
  PaletteObject p;
  // A 6x6x6 colour cube plus greys: what a halftone palette offers.
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        p.entries.push_back(PALETTEENTRY{static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51),
                                         static_cast<BYTE>(b * 51), 0});
  for (int i = 0; p.entries.size() < 256; ++i) {
    const auto v = static_cast<BYTE>((i * 255) / 39);
    p.entries.push_back(PALETTEENTRY{v, v, v, 0});
  }
  return HPALETTE(AddObject(p));
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
  auto* p = Find<PaletteObject>(palette);
  if (!p) return 0;
  if (!entries) return static_cast<UINT>(p->entries.size());
  UINT n = 0;
  for (UINT i = start; i < p->entries.size() && n < count; ++i, ++n) entries[n] = p->entries[i];
  return n;
}

UINT GetSystemPaletteEntries(HDC, UINT, UINT, PALETTEENTRY*) {
  return 0;  // a true-colour display has no system palette
}

}  // namespace win
