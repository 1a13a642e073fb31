#pragma once

// What is drawn on the screen device context shows in a layer-owned overlay:
// a transparent window above all others that lets the pointer through.

#include <QImage>

namespace win::detail {

class ScreenPicture;

// A screen DC was released: pixels drawn on that now differ from the screen
// as it was fetched join the overlay.
void ScreenDrawn(const ScreenPicture& picture);
// Takes everything drawn on the screen away again.
void ClearScreenOverlay();
// The overlay as it is (transparent where nothing was drawn), for tests.
QImage ScreenOverlayImage();

}  // namespace win::detail
