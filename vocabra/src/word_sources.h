#pragma once

// The 36 word sources of the word trainer: all categories of the categorised
// word book, one of its 34 categories, or the trainer's own word book. The
// index is the value of "guageword".

#include <array>
#include <string>
#include <string_view>

#include "suite/word_books.h"

namespace vocabra {

struct WordSource {
  std::string_view caption;   // as the settings form shows it ("&&" shows one "&")
  std::string_view category;  // the value of column category; empty for 0 and 35
};

inline constexpr int kAllCategories = 0;
inline constexpr int kFirstCategory = 1;
inline constexpr int kLastCategory = 34;
inline constexpr int kNewWordsBook = 35;
inline constexpr int kSourceCount = 36;

const std::array<WordSource, kSourceCount>& WordSources();

// The record source of the data control for a source of the categorised
// book: every category for 0, one category for 1 to 34.
std::string CategoryRecordSource(int index);

// The record source over a whole book, categorised or own.
inline constexpr std::string_view kWholeBook = "select * from word ";

// The categorised book's file and connect string, and the own word book's file.
using suite::kCategorisedBook;
using suite::kCategorisedConnect;
inline constexpr std::string_view kOwnBook = "word.ocx";
// A book's full name in the program folder, as the data control is given it.
std::string BookPath(std::string_view file);
// The category this run falls back to when the own word book has no words.
inline constexpr int kFallbackCategory = 1;

}  // namespace vocabra
