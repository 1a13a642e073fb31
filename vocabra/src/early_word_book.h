#pragma once

// The categorised word book, opened on another thread from the moment the
// word window is made: the book is encrypted, and deriving its key takes as
// long as building the window does, which then need not wait for it.

#include "dao/database_opening.h"

namespace vocabra {

class EarlyWordBook {
 protected:
  // Starts the opening when the stored word source is in the categorised
  // book; not in a second copy, which ends at once.
  EarlyWordBook();

  // Handed to the data control when it binds the categorised book, dropped
  // when the window uses the own book.
  dao::DatabaseOpening earlyBook_;
};

}  // namespace vocabra
