#pragma once

#include <QImage>

// The skinned push button and the caption buttons.
namespace artgen {

// 90 x 21: normal, pressed, disabled, hot, highlighted; 18 x 21 each, drawn
// for nine-slice stretching with 3-pixel borders.
QImage pushButtonStrip();

enum class CaptionGlyph { Close, Maximise, Minimise, Restore };
// 84 x 21: normal, hot, pressed, disabled; 21 x 21 each.
QImage captionButtonStrip(CaptionGlyph glyph);

}  // namespace artgen
