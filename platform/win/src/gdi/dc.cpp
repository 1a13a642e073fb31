#include "gdi/dc.h"

#include <QGuiApplication>
#include <QScreen>
#include <unordered_map>

#include "win/gdi.h"

namespace win::detail {
namespace {

std::unordered_map<std::uintptr_t, DeviceContext>& DcTable() {
  static std::unordered_map<std::uintptr_t, DeviceContext> table;
  return table;
}

void Retain(HGDIOBJ h, HDC owner) {
  if (GdiEntry* e = FindObject(h)) {
    ++e->selections;
    if (std::holds_alternative<BitmapObject>(e->data)) e->owner = owner;
  }
}

void Release(HGDIOBJ h) {
  if (GdiEntry* e = FindObject(h)) {
    if (e->selections > 0) --e->selections;
    if (e->selections == 0) e->owner = HDC();
  }
}

DcState DefaultState() {
  DcState s;
  s.bitmap = DefaultBitmap();
  s.brush = HBRUSH(Stock(WHITE_BRUSH));
  s.pen = HPEN(Stock(BLACK_PEN));
  s.font = HFONT(Stock(SYSTEM_FONT));
  s.palette = HPALETTE(Stock(DEFAULT_PALETTE));
  return s;
}

}  // namespace

void RetainState(const DcState& s, HDC owner) {
  Retain(s.bitmap, owner);
  Retain(s.brush, owner);
  Retain(s.pen, owner);
  Retain(s.font, owner);
  Retain(s.palette, owner);
}

void ReleaseState(const DcState& s) {
  Release(s.bitmap);
  Release(s.brush);
  Release(s.pen);
  Release(s.font);
  Release(s.palette);
}

DeviceContext* FindDc(HDC hdc) {
  if (!hdc) return nullptr;
  auto& table = DcTable();
  auto it = table.find(hdc.value);
  return it == table.end() ? nullptr : &it->second;
}

HDC AddDc(DeviceContext dc) {
  const HDC h(NextHandleValue());
  RetainState(dc.state, h);
  DcTable().emplace(h.value, std::move(dc));
  return h;
}

bool RemoveDc(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return false;
  ReleaseState(dc->state);
  DcTable().erase(hdc.value);
  return true;
}

HDC CreateSurfaceDC(std::shared_ptr<PixelBuffer> target, POINT origin, const QRegion& clip) {
  if (!target) return HDC();
  DeviceContext dc;
  dc.kind = DcKind::Surface;
  dc.target = std::move(target);
  dc.origin = QPoint(origin.x, origin.y);
  dc.surfaceClip = clip;
  dc.state = DefaultState();
  dc.state.bitmap = HBITMAP();
  return AddDc(std::move(dc));
}

bool ReleaseSurfaceDC(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || dc->kind != DcKind::Surface) return false;
  return RemoveDc(hdc);
}

}  // namespace win::detail

namespace win {
using namespace detail;

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !FindDc(hdc)) return HDC();
  DeviceContext dc;
  dc.kind = DcKind::Memory;
  dc.state = DefaultState();
  dc.target = BufferOf(dc.state.bitmap);
  return AddDc(std::move(dc));
}

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || dc->kind == DcKind::Surface) return FALSE;
  return RemoveDc(hdc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
  DeviceContext* dc = FindDc(hdc);
  GdiEntry* e = FindObject(obj);
  if (!dc || !e) return HGDIOBJ();
  DcState& s = dc->state;
  auto swap = [&](auto& slot) -> HGDIOBJ {
    using H = std::decay_t<decltype(slot)>;
    const H old = slot;
    Retain(obj, hdc);
    slot = H(obj);
    Release(old);
    return old;
  };
  if (auto* bmp = std::get_if<BitmapObject>(&e->data)) {
    if (dc->kind != DcKind::Memory) return HGDIOBJ();
    if (!e->stock && e->selections > 0 && e->owner != hdc) return HGDIOBJ();
    dc->target = bmp->buffer;
    return swap(s.bitmap);
  }
  if (std::holds_alternative<BrushObject>(e->data)) return swap(s.brush);
  if (std::holds_alternative<PenObject>(e->data)) return swap(s.pen);
  if (std::holds_alternative<FontObject>(e->data)) return swap(s.font);
  if (std::holds_alternative<RegionObject>(e->data))
    return HGDIOBJ(static_cast<std::uintptr_t>(SelectClipRgn(hdc, HRGN(obj))));
  return HGDIOBJ();
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return HGDIOBJ();
  switch (type) {
    case OBJ_PEN:
      return dc->state.pen;
    case OBJ_BRUSH:
      return dc->state.brush;
    case OBJ_FONT:
      return dc->state.font;
    case OBJ_BITMAP:
      return dc->state.bitmap;
    case OBJ_PAL:
      return dc->state.palette;
    default:
      return HGDIOBJ();
  }
}

namespace {
QSize ScreenSize() {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (QScreen* screen = app->primaryScreen()) return screen->geometry().size();
  }
  return QSize(1024, 768);
}
}  // namespace

int GetDeviceCaps(HDC hdc, int index) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return 0;
  // Every context reports the screen's size, as memory contexts do on the platform.
  const QSize size = ScreenSize();
  switch (index) {
    case DRIVERVERSION:
      return 0x4000;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZRES:
    case DESKTOPHORZRES:
      return size.width();
    case VERTRES:
    case DESKTOPVERTRES:
      return size.height();
    case HORZSIZE:
      return size.width() * 254 / 960;
    case VERTSIZE:
      return size.height() * 254 / 960;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case NUMBRUSHES:
    case NUMPENS:
      return -1;
    case NUMFONTS:
      return 0;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case SIZEPALETTE:
    case NUMRESERVED:
      return 0;
    case COLORRES:
      return 24;
    default:
      return 0;
  }
}

namespace {
template <class T>
T SetField(HDC hdc, T DcState::*field, T value, T failure) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return failure;
  const T old = dc->state.*field;
  dc->state.*field = value;
  return old;
}
template <class T>
T GetField(HDC hdc, T DcState::*field, T failure) {
  DeviceContext* dc = FindDc(hdc);
  return dc ? dc->state.*field : failure;
}
}  // namespace

int SetMapMode(HDC hdc, int mode) {
  // Only the text mode (one logical unit a pixel) exists on this display.
  if (mode < 1 || mode > 8) return 0;
  return SetField(hdc, &DcState::mapMode, MM_TEXT, 0);
}
int GetMapMode(HDC hdc) {
  return GetField(hdc, &DcState::mapMode, 0);
}

COLORREF SetBkColor(HDC hdc, COLORREF colour) {
  return SetField<COLORREF>(hdc, &DcState::bkColour, colour & 0x00FFFFFF, CLR_INVALID);
}
COLORREF GetBkColor(HDC hdc) {
  return GetField<COLORREF>(hdc, &DcState::bkColour, CLR_INVALID);
}
int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return SetField(hdc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC hdc) {
  return GetField(hdc, &DcState::bkMode, 0);
}
COLORREF SetTextColor(HDC hdc, COLORREF colour) {
  return SetField<COLORREF>(hdc, &DcState::textColour, colour & 0x00FFFFFF, CLR_INVALID);
}
COLORREF GetTextColor(HDC hdc) {
  return GetField<COLORREF>(hdc, &DcState::textColour, CLR_INVALID);
}
int SetROP2(HDC hdc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return SetField(hdc, &DcState::rop2, rop2, 0);
}
int GetROP2(HDC hdc) {
  return GetField(hdc, &DcState::rop2, 0);
}
int SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return SetField(hdc, &DcState::stretchMode, mode, 0);
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !Find<PaletteObject>(palette)) return HPALETTE();
  const HPALETTE old = dc->state.palette;
  Retain(palette, hdc);
  dc->state.palette = palette;
  Release(old);
  return old;
}

UINT RealizePalette(HDC hdc) {
  return FindDc(hdc) ? 0 : GDI_ERROR;
}

}  // namespace win
