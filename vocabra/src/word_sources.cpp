#include "word_sources.h"

#include "dao/sql_text.h"
#include "forms/app.h"

namespace vocabra {

static_assert(static_cast<std::size_t>(kLastCategory - kFirstCategory + 1) ==
              suite::kCategories.size());

const std::array<WordSource, kSourceCount>& WordSources() {
  static constexpr std::array<WordSource, kSourceCount> kSources = [] {
    std::array<WordSource, kSourceCount> sources{};
    sources[kAllCategories] = {"Entire", ""};
    for (int i = kFirstCategory; i <= kLastCategory; ++i) {
      const std::string_view category = suite::kCategories[i - kFirstCategory];
      sources[i] = {category, category};
    }
    // The settings form spells two categories its own way.
    sources[16].caption = "Countries && Nationalities";
    sources[18].caption = "Fruits Vegetables && Meats";
    sources[kNewWordsBook] = {"New Words Book", ""};
    return sources;
  }();
  return kSources;
}

std::string CategoryRecordSource(int index) {
  if (index < kFirstCategory || index > kLastCategory) return std::string(kWholeBook);
  return "select * from word where category= " + dao::Quote(WordSources()[index].category);
}

std::string BookPath(std::string_view file) {
  return forms::App::Path() + "\\" + std::string(file);
}

}  // namespace vocabra
