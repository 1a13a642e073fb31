#pragma once

// What is drawn on the screen device context shows in a layer-owned overlay:
// a transparent window above all others that lets the pointer through.

#include <QImage>

namespace win::detail {

struct PixelBuffer;

// The screen as it was read, before anyone drew on it.
void NoteScreenPicture(const QImage& pristine);
// A screen DC was released: pixels that now differ from the picture as read
// join the overlay.
void ScreenDrawn(const PixelBuffer& screen);
// Takes everything drawn on the screen away again.
void ClearScreenOverlay();
// The overlay as it is (transparent where nothing was drawn), for tests.
QImage ScreenOverlayImage();

}  // namespace win::detail
