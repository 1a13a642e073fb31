#include "word_sources.h"

#include "dao/sql_text.h"

namespace vocabra {

const std::array<WordSource, kSourceCount>& WordSources() {
  static constexpr std::array<WordSource, kSourceCount> kSources{{
      {"Entire", ""},
      {"Some Basic Phrases", "Some Basic Phrases"},
      {"Useful Words", "Useful Words"},
      {"Question Words", "Question Words"},
      {"Numbers", "Numbers"},
      {"Ordinal Numbers", "Ordinal Numbers"},
      {"Days of the Week", "Days of the Week"},
      {"Months of the Year", "Months of the Year"},
      {"Seasons", "Seasons"},
      {"Directions", "Directions"},
      {"Color", "Color"},
      {"Time", "Time"},
      {"Weather", "Weather"},
      {"Family and Animals", "Family and Animals"},
      {"Work and School", "Work and School"},
      {"Prepositions", "Prepositions"},
      {"Countries && Nationalities", "Countries and Nationalities"},
      {"Food and Meals", "Food and Meals"},
      {"Fruits Vegetables && Meats", "Fruits, Vegetables and Meats"},
      {"Holiday Phrases", "Holiday Phrases"},
      {"Places", "Places"},
      {"Transportation", "Transportation"},
      {"House and Furniture", "House and Furniture"},
      {"Clothing", "Clothing"},
      {"Adjectives", "Adjectives"},
      {"Sports", "Sports"},
      {"Nature", "Nature"},
      {"Parts of the Body", "Parts of the Body"},
      {"Animals", "Animals"},
      {"Post Office and Bank", "Post Office and Bank"},
      {"The Beach", "The Beach"},
      {"Office / School Supplies", "Office / School Supplies"},
      {"Parts of a Car", "Parts of a Car"},
      {"Travelling", "Travelling"},
      {"The Farm", "The Farm"},
      {"New Words Book", ""},
  }};
  return kSources;
}

std::string CategoryRecordSource(int index) {
  if (index < kFirstCategory || index > kLastCategory) return std::string(kWholeBook);
  return "select * from word where category= " + dao::Quote(WordSources()[index].category);
}

}  // namespace vocabra
