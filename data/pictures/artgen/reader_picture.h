#pragma once

#include <QImage>

// The reader's picture beside its text box: an open book that speaks.
namespace artgen {

QImage readerPicture();

}  // namespace artgen
