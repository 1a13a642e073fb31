// The books the editor is opened over, and the categories of the
// categorised book.

#include <string>
#include <string_view>
#include <vector>

#include "addedit.h"

namespace dialogra {

namespace {

// The trainer keeps the book it studies open until it ends, even after
// another choice in its settings.
std::string HeldWhileStudied(std::string_view choice, std::string_view other) {
  return "the trainer is studying it (\"" + std::string(choice) +
         "\" in its settings) and keeps it open until it ends. To change the book, choose " +
         std::string(other) +
         " in the settings, exit the trainer and start it again, then open this editor.";
}

}  // namespace

WordBook DialograBook() {
  return {"dialog.ocx", "Adding && Manage New Dialogs", "", false,
          HeldWhileStudied("New Dialogs Book", "a lesson")};
}

WordBook VocabraBook() {
  return {"word.ocx", "Adding && Manage New Words", "", false,
          HeldWhileStudied("New Words Book", "a category")};
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
