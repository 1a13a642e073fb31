#pragma once

// Conversions between the drawing layer's objects and Qt's, for the forms
// runtime: fonts of labels, pictures, icons and PNG output.

#include <QFont>
#include <QImage>
#include <QString>
#include <string_view>

#include "win/gdi_types.h"

namespace win {

// The installed face that stands in for a Windows face name (unknown names pass through).
QString SubstituteFace(std::string_view windowsFace);
// The Qt font a logical font selects: face substitution, pixel height, weight, style.
QFont ToQFont(const LOGFONTA& font);

QImage ToQImage(HBITMAP bitmap);                // null image for a bad handle
HBITMAP BitmapFromQImage(const QImage& image);  // a 32-bit colour bitmap (alpha kept)
HICON IconFromQImage(const QImage& image);      // alpha below one half becomes the mask
QImage ToQImage(HICON icon);                    // ARGB32, masked pixels transparent

}  // namespace win
