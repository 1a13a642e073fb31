#pragma once

// Word books made afresh for a test, in the shape the programs use.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace daotest {

using Pairs = std::vector<std::pair<std::string, std::string>>;

inline constexpr const char* kPassword = ";pwd=Mirt40697315Lp";

// Table word (English, Italian) with a unique index on English.
void MakeWordBook(const std::filesystem::path& path, const Pairs& rows = {},
                  const std::string& connect = "");

// Table word (English, Italian, category) with a unique index on
// (category, English); rows are {category, English, Italian}.
struct Word {
  std::string category, english, italian;
};
void MakeCategorisedBook(const std::filesystem::path& path, const std::vector<Word>& rows,
                         const std::string& connect = kPassword);

}  // namespace daotest
