#pragma once

// The Italian spelling check of the word list, with hunspell's Italian
// dictionary (Debian's hunspell-it).

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "word_list.h"

namespace dictionary {

class Speller {
 public:
  // Throws std::runtime_error naming the files when they cannot be read.
  Speller(const std::filesystem::path& aff, const std::filesystem::path& dic);
  ~Speller();
  Speller(const Speller&) = delete;
  Speller& operator=(const Speller&) = delete;

  // A word of Words(): an elided "dell'" is checked as such and, failing
  // that, without its apostrophe.
  bool Accepts(std::string_view word) const;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

// Every Italian word the speller refuses and the reviewed exceptions do not
// hold, once each, as one line of text.
std::vector<std::string> CheckSpelling(const std::vector<Row>& rows, const Speller& speller,
                                       const std::set<std::string, std::less<>>& exceptions);

}  // namespace dictionary
