#pragma once

#include <QImage>
#include <vector>

#include "catalogue.h"

namespace artgen {

// All pictures enlarged (nearest neighbour) on a checkerboard that shows
// their transparency, each with its name; for looking them over.
QImage contactSheet(const std::vector<Picture>& pictures, int scale);

}  // namespace artgen
