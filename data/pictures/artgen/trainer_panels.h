#pragma once

#include <QImage>

// The conversation trainer's two 320 x 200 pictures.
namespace artgen {

QImage splashPanel();
QImage aboutPanel();

}  // namespace artgen
