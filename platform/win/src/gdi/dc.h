#pragma once

// Device contexts: what they draw on and the drawing state they keep.

#include <QPoint>
#include <QRegion>
#include <memory>
#include <optional>

#include "gdi/objects.h"

namespace win::detail {

struct DcState {
  HBITMAP bitmap;
  HBRUSH brush;
  HPEN pen;
  HFONT font;
  HPALETTE palette;
  COLORREF textColour = 0x000000;
  COLORREF bkColour = 0xFFFFFF;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  int mapMode = MM_TEXT;
  POINT current;
  std::optional<QRegion> clip;  // device coordinates; none: the whole surface
  COLORREF dcBrushColour = 0xFFFFFF;
  COLORREF dcPenColour = 0x000000;
};

enum class DcKind { Memory, Surface, Metafile };

struct DeviceContext {
  DcKind kind = DcKind::Memory;
  std::shared_ptr<PixelBuffer> target;  // memory DCs: the selected bitmap's buffer
  QPoint origin;                        // device (0,0) in target coordinates
  std::optional<QRegion> surfaceClip;   // target coordinates
  DcState state;
  QRect metafileFrame;         // metafile DCs: the frame given at creation (pixels), may be empty
  RECT metafileFrameHimetric;  // the same frame as given (0.01 mm), kept for the header
};

DeviceContext* FindDc(HDC hdc);
HDC AddDc(DeviceContext dc);  // takes references on the state's objects
bool RemoveDc(HDC hdc);       // drops them

// Logical point to target buffer: a logical unit is a device pixel, and
// device (0,0) sits at the DC's origin.
inline QPoint LogicalToTarget(const DeviceContext& dc, int x, int y) {
  return QPoint(x, y) + dc.origin;
}

// Selection references: an object referenced by a DC is "selected".
void RetainState(const DcState& s, HDC owner);
void ReleaseState(const DcState& s);

}  // namespace win::detail
