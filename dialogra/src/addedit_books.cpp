// The books the editor is opened over, and the categories of the
// categorised book.

#include <string>
#include <vector>

#include "addedit.h"

namespace dialogra {

WordBook DialograBook() {
  return {"dialog.ocx", "Adding && Manage New Dialogs", "", false};
}

WordBook VocabraBook() {
  return {"word.ocx", "Adding && Manage New Words", "", false};
}

WordBook LexipenBook() {
  return {"reg.ocx", "Lexipen", ";pwd=Mirt40697315Lp", true};
}

const std::vector<std::string>& Categories() {
  static const std::vector<std::string> names = {
      "Adjectives",
      "Animals",
      "Clothing",
      "Color",
      "Countries and Nationalities",
      "Days of the Week",
      "Directions",
      "Family and Animals",
      "Food and Meals",
      "Fruits, Vegetables and Meats",
      "Holiday Phrases",
      "House and Furniture",
      "Months of the Year",
      "Nature",
      "Numbers",
      "Office / School Supplies",
      "Ordinal Numbers",
      "Parts of a Car",
      "Parts of the Body",
      "Places",
      "Post Office and Bank",
      "Prepositions",
      "Question Words",
      "Seasons",
      "Some Basic Phrases",
      "Sports",
      "The Beach",
      "The Farm",
      "Time",
      "Transportation",
      "Travelling",
      "Useful Words",
      "Weather",
      "Work and School",
  };
  return names;
}

}  // namespace dialogra
