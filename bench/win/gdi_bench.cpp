// Painting a 400x300 window picture with the drawing layer and writing it as
// PNG, and the block transfers a window's first showing is made of: the
// picture copied to the window, fills, the masked copy that lays a picture
// with a key colour over another, one-to-one and doubling stretches.
// Run by hand: win_gdi_bench [--png=FILE] [benchmark flags]; --png writes one
// picture to look at and skips the timing.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gdi/layer_calls.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace {

using namespace win;

void PaintWindow(HDC dc, int width, int height) {
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  RECT frame = all;
  DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
  // Caption bar with a gradient and its buttons.
  TRIVERTEX v[2];
  v[0].x = frame.left;
  v[0].y = frame.top;
  v[0].Blue = 0x8000;
  v[1].x = frame.right;
  v[1].y = frame.top + 20;
  v[1].Red = 0x1000;
  v[1].Green = 0x8400;
  v[1].Blue = 0xD000;
  GRADIENT_RECT gr{0, 1};
  GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
  LOGFONTA lf;
  lf.lfHeight = -13;
  lf.lfWeight = FW_BOLD;
  std::strcpy(lf.lfFaceName, "Tahoma");
  const HFONT bold = CreateFontIndirectA(&lf);
  lf.lfWeight = FW_NORMAL;
  const HFONT normal = CreateFontIndirectA(&lf);
  const HGDIOBJ oldFont = SelectObject(dc, bold);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT caption{frame.left + 6, frame.top, frame.right - 60, frame.top + 20};
  DrawTextA(dc, "Impostazioni \xE2\x80\x94 Dialogra", -1, &caption,
            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  const UINT glyphs[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONCLOSE};
  for (int i = 0; i < 3; ++i) {
    RECT b{frame.right - 54 + i * 18, frame.top + 2, frame.right - 38 + i * 18, frame.top + 16};
    DrawFrameControl(dc, &b, DFC_CAPTION, glyphs[i]);
  }
  // A popup menu with an image column, items, a selected item and a separator.
  SelectObject(dc, normal);
  SetTextColor(dc, RGB(0, 0, 0));
  const HBRUSH column = CreateSolidBrush(RGB(0xDB, 0xD8, 0xD1));
  const HBRUSH back = CreateSolidBrush(RGB(0xF9, 0xF8, 0xF7));
  const HPEN border = CreatePen(PS_SOLID, 1, RGB(0x66, 0x66, 0x66));
  const HGDIOBJ oldPen = SelectObject(dc, border);
  const HGDIOBJ oldBrush = SelectObject(dc, back);
  Rectangle(dc, 20, 40, 220, 250);
  const RECT col{22, 42, 48, 248};
  FillRect(dc, &col, column);
  const char* items[] = {"&Lezione successiva\tCtrl+N",  "&Pausa", "Impo&stazioni...", "",
                         "Caff\xC3\xA8 e perch\xC3\xA9", "&Esci"};
  int y = 44;
  for (int i = 0; i < 6; ++i) {
    if (!*items[i]) {
      const RECT sep{54, y + 2, 216, y + 3};
      FillRect(dc, &sep, GetSysColorBrush(COLOR_BTNSHADOW));
      y += 6;
      continue;
    }
    if (i == 1) {
      const HBRUSH hi = CreateSolidBrush(RGB(0xC1, 0xD2, 0xEE));
      const HPEN hp = CreatePen(PS_SOLID, 1, RGB(0x31, 0x6A, 0xC5));
      const HGDIOBJ p = SelectObject(dc, hp);
      const HGDIOBJ b = SelectObject(dc, hi);
      Rectangle(dc, 23, y, 216, y + 22);
      SelectObject(dc, p);
      SelectObject(dc, b);
      DeleteObject(hp);
      DeleteObject(hi);
    }
    std::string text = items[i];
    const auto tab = text.find('\t');
    RECT r{56, y, 212, y + 22};
    DrawTextA(dc, text.substr(0, tab).c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER);
    if (tab != std::string::npos)
      DrawTextA(dc, text.substr(tab + 1).c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    RECT glyph{27, y + 3, 43, y + 19};
    if (i == 0) DrawFrameControl(dc, &glyph, DFC_MENU, DFCS_MENUCHECK);
    if (i == 4) DrawFrameControl(dc, &glyph, DFC_MENU, DFCS_MENUBULLET);
    y += 24;
  }
  // Soft shadow on the right edge, pixel by pixel as the menu painter does it.
  for (int i = 1; i <= 4; ++i)
    for (int yy = 44; yy < 250; ++yy) {
      const COLORREF c = GetPixel(dc, 224 - i, yy);
      const int a = 15 * i;
      SetPixel(dc, 224 - i, yy,
               RGB(GetRValue(c) - GetRValue(c) * a / 255, GetGValue(c) - GetGValue(c) * a / 255,
                   GetBValue(c) - GetBValue(c) * a / 255));
    }
  // Shapes and a checked box.
  const HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 160));
  SelectObject(dc, hatch);
  Rectangle(dc, 250, 50, 370, 130);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Arc(dc, 250, 150, 370, 200, 250, 150, 250, 150);
  RECT check{260, 215, 273, 228};
  DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  RECT label{280, 210, 390, 232};
  DrawTextA(dc, "Avvio con il sistema", -1, &label, DT_SINGLELINE | DT_VCENTER);
  std::strcpy(lf.lfFaceName, "\xE5\xAE\x8B\xE4\xBD\x93");  // SimSun
  lf.lfHeight = -12;
  lf.lfCharSet = GB2312_CHARSET;
  const HFONT chinese = CreateFontIndirectA(&lf);
  SelectObject(dc, chinese);
  RECT about{250, 20, 390, 44};
  DrawTextA(dc, "\xE5\x85\xB3\xE4\xBA\x8E Ornatek", -1, &about, DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, normal);
  RECT push{250, 250, 370, 280};
  DrawFrameControl(dc, &push, DFC_BUTTON, DFCS_BUTTONPUSH);
  DrawTextA(dc, "&OK", -1, &push, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  RECT focus = push;
  InflateRect(&focus, -4, -4);
  DrawFocusRect(dc, &focus);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  for (HGDIOBJ o : {HGDIOBJ(bold), HGDIOBJ(normal), HGDIOBJ(column), HGDIOBJ(back), HGDIOBJ(border),
                    HGDIOBJ(hatch)})
    DeleteObject(o);
}

struct Picture {
  HDC dc = CreateCompatibleDC(HDC());
  HBITMAP bitmap = CreateBitmap(400, 300, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ~Picture() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

void BM_PaintWindow(benchmark::State& state) {
  Picture p;
  for (auto _ : state) PaintWindow(p.dc, 400, 300);
}
BENCHMARK(BM_PaintWindow)->Unit(benchmark::kMillisecond);

void BM_PaintWindowToPng(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("window.png").toStdString();
  for (auto _ : state) {
    Picture p;
    PaintWindow(p.dc, 400, 300);
    SelectObject(p.dc, p.old);
    if (!SaveBitmapPng(p.bitmap, path)) state.SkipWithError("PNG not written");
    p.old = SelectObject(p.dc, p.bitmap);
  }
}
BENCHMARK(BM_PaintWindowToPng)->Unit(benchmark::kMillisecond);

// A picture of `width` x `height` in a memory DC, of `bits` per pixel,
// striped so that copies have something to carry.
struct StripedPicture {
  HDC dc = CreateCompatibleDC(HDC());
  HBITMAP bitmap;
  HGDIOBJ old;
  StripedPicture(int width, int height, UINT bits = 32)
      : bitmap(CreateBitmap(width, height, 1, bits, nullptr)), old(SelectObject(dc, bitmap)) {
    const HBRUSH brush = CreateSolidBrush(RGB(0x31, 0x6A, 0xC5));
    for (int x = 0; x < width; x += 8) {
      const RECT stripe{x, 0, x + 4, height};
      FillRect(dc, &stripe, brush);
    }
    DeleteObject(brush);
  }
  ~StripedPicture() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

// The window's picture put on the window: one straight copy.
void BM_CopyPicture(benchmark::State& state) {
  StripedPicture src(400, 300), dest(400, 300);
  for (auto _ : state) BitBlt(dest.dc, 0, 0, 400, 300, src.dc, 0, 0, SRCCOPY);
}
BENCHMARK(BM_CopyPicture)->Unit(benchmark::kMicrosecond);

// A solid brush and a fixed colour over a whole picture.
void BM_FillPicture(benchmark::State& state) {
  StripedPicture dest(400, 300);
  const HBRUSH brush = CreateSolidBrush(RGB(0xEC, 0xE9, 0xD8));
  const HGDIOBJ old = SelectObject(dest.dc, brush);
  for (auto _ : state) {
    BitBlt(dest.dc, 0, 0, 400, 300, HDC(), 0, 0, PATCOPY);
    BitBlt(dest.dc, 0, 0, 400, 300, HDC(), 0, 0, WHITENESS);
  }
  SelectObject(dest.dc, old);
  DeleteObject(brush);
}
BENCHMARK(BM_FillPicture)->Unit(benchmark::kMicrosecond);

// A picture laid over another but where it has its key colour, as the skinned
// controls draw their pieces: a mask made by comparing with the key, the
// key blacked out of the picture, the mask cut into the background, the
// picture painted into the hole.
void BM_MaskedCopy(benchmark::State& state) {
  StripedPicture picture(200, 100), background(200, 100), mask(200, 100, 1);
  for (auto _ : state) {
    SetBkColor(picture.dc, RGB(0x31, 0x6A, 0xC5));
    BitBlt(mask.dc, 0, 0, 200, 100, picture.dc, 0, 0, SRCCOPY);
    SetTextColor(picture.dc, RGB(0, 0, 0));
    SetBkColor(picture.dc, RGB(255, 255, 255));
    BitBlt(picture.dc, 0, 0, 200, 100, mask.dc, 0, 0, 0x00220326);
    BitBlt(background.dc, 0, 0, 200, 100, mask.dc, 0, 0, SRCAND);
    BitBlt(background.dc, 0, 0, 200, 100, picture.dc, 0, 0, SRCPAINT);
  }
}
BENCHMARK(BM_MaskedCopy)->Unit(benchmark::kMicrosecond);

// A stretch at one-to-one size, as pictures and icons are drawn at their own size.
void BM_StretchOneToOne(benchmark::State& state) {
  StripedPicture src(400, 300), dest(400, 300);
  for (auto _ : state) StretchBlt(dest.dc, 0, 0, 400, 300, src.dc, 0, 0, 400, 300, SRCINVERT);
}
BENCHMARK(BM_StretchOneToOne)->Unit(benchmark::kMicrosecond);

// A real stretch, drawn pixel by pixel either way: the yardstick.
void BM_StretchDouble(benchmark::State& state) {
  StripedPicture src(200, 150), dest(400, 300);
  for (auto _ : state) StretchBlt(dest.dc, 0, 0, 400, 300, src.dc, 0, 0, 200, 150, SRCCOPY);
}
BENCHMARK(BM_StretchDouble)->Unit(benchmark::kMicrosecond);

// New pictures of the screen's size: a bitmap (filled black) and the
// picture behind the screen's DC, whose pixels are fetched where used, so
// that only the pixels touched should cost anything. Memory freed by one
// iteration is reused by the next; MALLOC_MMAP_THRESHOLD_=131072 in the
// environment gives each its own fresh pages, as a program's start has.
void BM_NewScreenSizedBitmap(benchmark::State& state) {
  for (auto _ : state) DeleteObject(CreateBitmap(1280, 1024, 1, 32, nullptr));
}
BENCHMARK(BM_NewScreenSizedBitmap)->Unit(benchmark::kMicrosecond);

void BM_NewPictureFilledOnDemand(benchmark::State& state) {
  for (auto _ : state) {
    auto picture = std::make_shared<win::detail::PixelBuffer>(1280, 1024, 32, false, false);
    picture->setRgb(640, 512, 0xFFFFFF);  // a few pixels drawn
    benchmark::DoNotOptimize(picture->row(512));
  }
}
BENCHMARK(BM_NewPictureFilledOnDemand)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--png=", 6) == 0) {
      Picture p;
      PaintWindow(p.dc, 400, 300);
      SelectObject(p.dc, p.old);
      const bool ok = SaveBitmapPng(p.bitmap, argv[i] + 6);
      p.old = SelectObject(p.dc, p.bitmap);
      return ok ? 0 : 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
