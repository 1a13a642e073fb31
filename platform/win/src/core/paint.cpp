// Window surfaces, device contexts of windows and the screen, invalidation,
// and pictures of windows.

#include <QApplication>
#include <QBitmap>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <unordered_map>

#include "core/layer_calls.h"
#include "core/screen_overlay.h"
#include "core/screen_picture.h"
#include "core/window_table.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace win {

using namespace detail;

namespace {

COLORREF DesktopColour() {
  return GetSysColor(COLOR_DESKTOP);
}

// DCs handed out for a window, so that ReleaseDC knows what to show again.
std::unordered_map<HDC, HWND>& windowDcs() {
  static std::unordered_map<HDC, HWND> dcs;
  return dcs;
}

// Screen DCs handed out, with the picture of the screen they draw on.
std::unordered_map<HDC, std::shared_ptr<ScreenPicture>>& screenDcs() {
  static std::unordered_map<HDC, std::shared_ptr<ScreenPicture>> dcs;
  return dcs;
}

void ScheduleShow(Window& w) {
  if (!w.widget) return;
  // Drawing through a DC is shown once the code that draws has returned.
  QTimer::singleShot(0, w.widget.data(), [wd = w.widget] {
    if (wd) wd->update();
  });
}

// One picture of the screen serves every screen DC of the same turn of the
// event loop.
std::shared_ptr<ScreenPicture>& screenCache() {
  static std::shared_ptr<ScreenPicture> cache;
  return cache;
}

// The screen's pixels in `area`: the real screen where the display allows a
// grab, our own windows over the desktop colour otherwise.
QImage FetchScreen(const QRect& area) {
  QScreen* screen = QGuiApplication::primaryScreen();
  // Platforms without a display answer a grab of a part of the screen with
  // the one window that happens to cover it, if any: theirs is never taken.
  static const bool grabs = !QGuiApplication::platformName().startsWith("offscreen") &&
                            !QGuiApplication::platformName().startsWith("minimal");
  QImage shot =
      screen && grabs
          ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage()
          : QImage();
  if (!shot.isNull() && shot.size() == area.size())
    return shot.convertToFormat(QImage::Format_RGB32);
  const QPoint corner = screen ? screen->geometry().topLeft() : QPoint(0, 0);
  shot = QImage(area.size(), QImage::Format_RGB32);
  const COLORREF c = DesktopColour();
  shot.fill(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
  QPainter p(&shot);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (!top->isVisible() || !FromWidget(top)) continue;
    const QRect frame = top->geometry().translated(-corner);
    const QRect part = frame & area;
    if (!part.isEmpty())
      p.drawPixmap(part.topLeft() - area.topLeft(), top->grab(part.translated(-frame.topLeft())));
  }
  return shot;
}

std::shared_ptr<ScreenPicture> ScreenSnapshot() {
  auto& cache = screenCache();
  if (cache) return cache;
  QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
  cache = std::make_shared<ScreenPicture>(size, FetchScreen);
  QTimer::singleShot(0, [] { screenCache().reset(); });
  return cache;
}

// A DC on the window's surface. The client DC counts from the client area's
// corner and draws only there (`clip` is in client coordinates); the
// whole-window DC counts from the frame's corner and reaches the bar too.
HDC WindowDc(HWND hwnd, const QRegion* clip, bool wholeWindow) {
  Window* w = Find(hwnd);
  if (!w || w->destroying || w->kind != WidgetKind::Host) return HDC();
  SyncSurface(*w);
  if (!w->surface) return HDC();
  const QRect client = ClientArea(*w);
  QPoint origin = client.topLeft();
  QRegion area = client;
  if (wholeWindow) {
    origin = -FrameOffset(*w);
    area = QRegion(0, 0, w->widget->width(), w->widget->height());
  } else if (clip) {
    area &= clip->translated(origin);
  }
  HDC dc = CreateSurfaceDC(w->surface, POINT{origin.x(), origin.y()}, area);
  if (dc) windowDcs()[dc] = hwnd;
  return dc;
}

}  // namespace

namespace detail {

void SyncSurface(Window& w) {
  if (w.kind != WidgetKind::Host || !w.widget) return;
  const int width = std::max(1, w.widget->width()), height = std::max(1, w.widget->height());
  if (w.surface) {
    if (w.surface->width == width && w.surface->height == height) return;
    // Keep what was shown, row by row; the newly uncovered part waits for
    // WM_PAINT. A window's picture is always opaque 32-bit colour.
    auto fresh = MakeColourBuffer(width, height, GetSysColor(COLOR_BTNFACE));
    const PixelBuffer& old = *w.surface;
    const int keepWidth = std::min(old.width, width), keepHeight = std::min(old.height, height);
    for (int y = 0; y < keepHeight; ++y) {
      auto* to = reinterpret_cast<std::uint32_t*>(fresh->row(y));
      const auto* from = reinterpret_cast<const std::uint32_t*>(old.row(y));
      for (int x = 0; x < keepWidth; ++x) to[x] = from[x] | 0xFF000000u;
    }
    w.surface = std::move(fresh);
    return;
  }
  w.surface = MakeColourBuffer(width, height, GetSysColor(COLOR_BTNFACE));
}

void PaintNonClient(Window& w) {
  if (!w.nonClientDirty) return;
  w.nonClientDirty = false;
  if (!w.nonClient.isNull()) SendMessageA(w.handle, WM_NCPAINT, 1, 0);
}

bool PaintInvalid(Window& w) {
  const HWND h = w.handle;
  PaintNonClient(w);
  Window* again = Find(h);
  if (!again || again->invalid.isEmpty()) return false;
  SendMessageA(h, WM_PAINT, 0, 0);
  // A procedure that never validates would be asked again and again.
  if ((again = Find(h))) {
    again->invalid = QRegion();
    again->eraseNeeded = false;
  }
  return true;
}

}  // namespace detail

HDC GetDC(HWND hwnd) {
  if (!hwnd || hwnd == GetDesktopWindow()) {
    auto screen = ScreenSnapshot();
    HDC dc = CreateSurfaceDC(screen->buffer(), POINT{0, 0},
                             QRegion(QRect(QPoint(0, 0), screen->size())));
    if (dc) screenDcs()[dc] = screen;
    return dc;
  }
  return WindowDc(hwnd, nullptr, false);
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd || hwnd == GetDesktopWindow()) return GetDC(hwnd);
  return WindowDc(hwnd, nullptr, true);
}

int ReleaseDC(HWND, HDC dc) {
  // What was drawn on the screen shows above every window.
  if (auto sit = screenDcs().find(dc); sit != screenDcs().end()) {
    ScreenDrawn(*sit->second);
    screenDcs().erase(sit);
  }
  auto& dcs = windowDcs();
  auto it = dcs.find(dc);
  if (it != dcs.end()) {
    if (Window* w = Find(it->second)) ScheduleShow(*w);
    dcs.erase(it);
  }
  return ReleaseSurfaceDC(dc) ? 1 : 0;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = Find(hwnd);
  if (!w || !ps) return HDC();
  QRegion update = w->invalid;
  if (update.isEmpty()) update = QRegion();
  HDC dc = WindowDc(hwnd, &update, false);
  if (!dc) return HDC();
  const QRect box = update.boundingRect();
  ps->hdc = dc;
  ps->rcPaint = RECT{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
  ps->fErase = FALSE;
  if (w->eraseNeeded) {
    w->eraseNeeded = false;
    ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, static_cast<WPARAM>(dc.value), 0) ? FALSE : TRUE;
  }
  if ((w = Find(hwnd))) w->invalid = QRegion();
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  ReleaseDC(hwnd, ps->hdc);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w || !w->widget) return FALSE;
  const QRect client = w->kind == WidgetKind::Host ? ClientArea(*w) : w->widget->rect();
  const QRect r =
      rect ? QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top)
           : QRect(QPoint(0, 0), client.size());
  if (w->kind == WidgetKind::Host) {
    w->invalid += r;
    if (erase) w->eraseNeeded = true;
  }
  w->widget->update(r.translated(client.topLeft()));
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (!rect)
    w->invalid = QRegion();
  else
    w->invalid -= QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  PaintInvalid(*w);
  if ((w = Find(hwnd)) && w->widget) w->widget->update();
  return TRUE;
}

bool SaveScreenPng(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const HDC screen = GetDC(HWND());
  const HDC copy = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ first = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(copy, first);
  DeleteDC(copy);
  ReleaseDC(HWND(), screen);
  const bool ok = SaveBitmapPng(bitmap, path);
  DeleteObject(bitmap);
  return ok;
}

bool SaveWindowPng(HWND hwnd, const std::string& path) {
  Window* w = Find(hwnd);
  if (!w || !w->widget) return false;
  // What waits for WM_PAINT belongs to the picture.
  for (HWND h : AllWindows())
    if (h == hwnd || IsChild(hwnd, h))
      if (Window* x = Find(h)) PaintInvalid(*x);
  if (!(w = Find(hwnd)) || !w->widget) return false;
  QImage img = w->widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  if (w->widget->isWindow() && !w->widget->mask().isEmpty()) {
    // Outside the window region nothing of the window shows.
    const QRegion outside = QRegion(img.rect()) - w->widget->mask();
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    for (const QRect& r : outside) p.fillRect(r, Qt::transparent);
  }
  return img.save(QString::fromStdString(path), "PNG");
}

}  // namespace win
