#pragma once

// What the programs agree on about the categorised word book reg.ocx: its
// password and its 34 categories. Header only, so that the build's word-book
// tool and every program take them from here.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

// The categorised book's file in the program folder, and the connect string
// that holds its password: the engine opens the book with it, and the build
// encrypts the book with it.
inline constexpr std::string_view kCategorisedBook = "reg.ocx";
inline constexpr std::string_view kCategorisedConnect = ";pwd=Mirt40697315Lp";

// The values of column category, in the word trainer's order: its source
// index 1 is the first.
inline constexpr std::array<std::string_view, 34> kCategories = {
    "Some Basic Phrases",
    "Useful Words",
    "Question Words",
    "Numbers",
    "Ordinal Numbers",
    "Days of the Week",
    "Months of the Year",
    "Seasons",
    "Directions",
    "Color",
    "Time",
    "Weather",
    "Family and Animals",
    "Work and School",
    "Prepositions",
    "Countries and Nationalities",
    "Food and Meals",
    "Fruits, Vegetables and Meats",
    "Holiday Phrases",
    "Places",
    "Transportation",
    "House and Furniture",
    "Clothing",
    "Adjectives",
    "Sports",
    "Nature",
    "Parts of the Body",
    "Animals",
    "Post Office and Bank",
    "The Beach",
    "Office / School Supplies",
    "Parts of a Car",
    "Travelling",
    "The Farm",
};

// The same values ascending by text, as the word-book manager offers them.
inline std::vector<std::string> CategoriesByName() {
  std::vector<std::string> names(kCategories.begin(), kCategories.end());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace suite
