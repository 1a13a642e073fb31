#include "early_word_book.h"

#include "forms/app.h"
#include "suite/trainer_settings.h"
#include "word_sources.h"

namespace vocabra {

EarlyWordBook::EarlyWordBook() {
  if (forms::App::PrevInstance()) return;
  // Before the first-run block a store without the key reads the default,
  // which is a category too.
  if (dialogra::ReadInteger("guageword") >= kNewWordsBook) return;
  earlyBook_ = dao::DatabaseOpening(BookPath(kCategorisedBook), false, false,
                                    std::string(kCategorisedConnect));
}

}  // namespace vocabra
