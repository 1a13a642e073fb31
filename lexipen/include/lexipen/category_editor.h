#pragma once

// Lexipen's one form: the word-book editor over the categorised word book,
// one category at a time. It shows the editor's category row and Exit
// button, opens the book only when a category is picked, and saves every
// word with the picked category.

#include <string>

#include "suite/addedit.h"

namespace lexipen {

class CategoryEditor : public dialogra::addedit {
 public:
  CategoryEditor();

  // Event procedures, public so that tests drive them as clicks would.
  void Combo1_Click();

 protected:
  void Form_Load() override;
  void RequireColumns() override;
  void WriteOtherColumns() override;
  // Delete goes into add mode while two words are left, so the category's
  // last word keeps Delete disabled until a save or the next pick.
  long LastRecordCount() const override { return 2; }

 private:
  void PlaceCategoryControls();

  // The category the open recordset shows.
  std::string category_;
};

}  // namespace lexipen
