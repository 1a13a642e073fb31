#pragma once

// Reading the word lists of the dictd format, as Debian's FreeDict packages
// ship them: an index of "headword<TAB>offset<TAB>length" lines (numbers in
// dictd's base 64) into a gzip-compressed text of entries. An entry is its
// headword line (with the pronunciation) followed by one line per sense,
// numbered "1. ", "2. " when there are several, synonyms separated by ", ".

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dictionary {

struct IndexEntry {
  std::string headword;
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

// dictd's base 64 number ("A" = 0, "B" = 1, ... "/" = 63, most significant first).
std::uint64_t DecodeNumber(std::string_view digits);

// The entries of an index, without the "00database..." header entries.
// Throws std::runtime_error on a malformed line.
std::vector<IndexEntry> ParseIndex(std::string_view text);

// The whole uncompressed text of a gzip (or dictzip) file.
std::string Gunzip(const std::filesystem::path& file);

// The translations in an entry's text: each sense and each synonym on its
// own, tidied (numbering and blanks taken off, typographic hyphens plain).
std::vector<std::string> Translations(std::string_view entryText);

// The headword as the entry's first line writes it, with its case, hyphens,
// apostrophes and blanks, without the pronunciation.
std::string Headword(std::string_view entryText);

// One direction of a dictionary: (headword, translation) pairs.
struct Pair {
  std::string from;
  std::string to;
  std::size_t entry = 0;  // the entry it comes from, counted in the index's order
};
std::vector<Pair> ReadDictionary(const std::filesystem::path& index,
                                 const std::filesystem::path& dict);

}  // namespace dictionary
