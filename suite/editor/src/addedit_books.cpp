// The books the editor is opened over.

#include <string>
#include <string_view>

#include "suite/addedit.h"
#include "suite/word_books.h"

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
  return {"dialog.ocx", "Adding && Manage New Dialogs", "",
          HeldWhileStudied("New Dialogs Book", "a lesson")};
}

WordBook VocabraBook() {
  return {"word.ocx", "Adding && Manage New Words", "",
          HeldWhileStudied("New Words Book", "a category")};
}

WordBook LexipenBook() {
  return {std::string(suite::kCategorisedBook), "Lexipen", std::string(suite::kCategorisedConnect)};
}

}  // namespace dialogra
