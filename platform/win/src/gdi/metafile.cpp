// Enhanced metafiles, kept as the picture they draw: recording DCs draw on a
// transparent buffer, and playing lays the drawn part over the destination.

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "gdi/canvas.h"
#include "gdi/layer_calls.h"
#include "win/gdi.h"

namespace win {
using namespace detail;

HDC CreateEnhMetaFileA(HDC reference, LPCSTR, const RECT* frame, LPCSTR) {
  if (reference && !FindDc(reference)) return HDC();
  QRect framePixels;
  RECT frameHimetric;
  QSize size(1024, 768);
  if (frame) {
    // The frame is in hundredths of a millimetre.
    auto px = [](LONG v) { return static_cast<int>(v * 96 / 2540); };
    framePixels = QRect(QPoint(px(frame->left), px(frame->top)),
                        QPoint(px(frame->right) - 1, px(frame->bottom) - 1));
    if (!framePixels.isValid() || framePixels.left() < 0 || framePixels.top() < 0)
      framePixels = QRect();  // an unusable frame: the picture is what gets drawn
    else
      // Kept as given, so that the header reports it without the rounding
      // to whole pixels.
      frameHimetric = *frame;
    size = size.expandedTo(QSize(framePixels.right() + 1, framePixels.bottom() + 1));
    if (!SizeAllowed(size.width(), size.height(), 32)) return HDC();
  }
  auto picture = std::make_shared<PixelBuffer>(size.width(), size.height(), 32, false, false);
  picture->alpha = true;
  DeviceContext dc;
  dc.kind = DcKind::Metafile;
  dc.target = std::move(picture);
  dc.metafileFrame = framePixels;
  dc.metafileFrameHimetric = frameHimetric;
  dc.state.brush = HBRUSH(Stock(WHITE_BRUSH));
  dc.state.pen = HPEN(Stock(BLACK_PEN));
  dc.state.font = HFONT(Stock(SYSTEM_FONT));
  dc.state.palette = HPALETTE(Stock(DEFAULT_PALETTE));
  return AddDc(std::move(dc));
}

HENHMETAFILE CloseEnhMetaFile(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || dc->kind != DcKind::Metafile) return HENHMETAFILE();
  MetafileObject m;
  m.picture = dc->target;
  m.frame = dc->metafileFrame;
  m.frameHimetric = dc->metafileFrameHimetric;
  if (m.frame.isEmpty()) {
    // Without a frame the picture is what was drawn.
    const PixelBuffer& p = *m.picture;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        if (p.argb(x, y) >> 24) m.frame |= QRect(x, y, 1, 1);
    if (!m.frame.isEmpty()) {
      // 96 pixels to the inch, 2540 hundredths of a millimetre.
      auto himetric = [](int px) { return static_cast<LONG>(std::lround(px * 2540.0 / 96.0)); };
      m.frameHimetric = RECT{himetric(m.frame.left()), himetric(m.frame.top()),
                             himetric(m.frame.right() + 1), himetric(m.frame.bottom() + 1)};
    }
  }
  RemoveDc(hdc);
  return HENHMETAFILE(AddObject(m));
}

BOOL PlayEnhMetaFile(HDC hdc, HENHMETAFILE metafile, const RECT* rect) {
  auto* m = Find<MetafileObject>(metafile);
  if (!m || !rect || !FindDc(hdc)) return FALSE;
  if (m->frame.isEmpty()) return TRUE;
  const HBITMAP bmp = AdoptBuffer(m->picture);
  const HDC mem = CreateCompatibleDC(hdc);
  const HGDIOBJ old = SelectObject(mem, bmp);
  const BOOL ok =
      AlphaBlend(hdc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                 mem, m->frame.left(), m->frame.top(), m->frame.width(), m->frame.height(),
                 BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return ok;
}

BOOL DeleteEnhMetaFile(HENHMETAFILE metafile) {
  if (!Find<MetafileObject>(metafile)) return FALSE;
  return DeleteObject(metafile);
}

UINT GetEnhMetaFileHeader(HENHMETAFILE metafile, UINT size, ENHMETAHEADER* header) {
  const auto* m = Find<MetafileObject>(metafile);
  if (!m) return 0;
  if (!header) return sizeof(ENHMETAHEADER);
  if (size < sizeof(ENHMETAHEADER)) return 0;
  *header = ENHMETAHEADER();
  header->rclFrame = m->frameHimetric;
  return sizeof(ENHMETAHEADER);
}

}  // namespace win
