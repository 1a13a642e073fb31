#include "lexipen/category_editor.h"

#include "dao/sql_text.h"
#include "suite/word_books.h"

namespace lexipen {
namespace {

// The category row pushes the editor's controls down; the Exit button gets a
// row of its own below the navigation.
constexpr double kCategoryRowTwips = 420;
constexpr double kExitTopTwips = 7290;
constexpr double kHeightTwips = 7815;

}  // namespace

CategoryEditor::CategoryEditor() {
  Command1.Click = [this] { forms::Unload(*this); };
  Combo1.Click = [this] { Combo1_Click(); };
}

void CategoryEditor::Form_Load() {
  xp_canvas2.Caption(Book().caption);
  // The book is opened only when a category is chosen.
  PlaceCategoryControls();
  DisableNavigation();
  cmdDelete.Enabled(false);
  cmdSave.Enabled(false);
}

void CategoryEditor::PlaceCategoryControls() {
  for (forms::Control* c : Controls()) {
    if (c == &Label2 || c == &Combo1 || c == &Command1 || c == &xp_canvas2 ||
        c->Name().starts_with("xptopbuttons"))
      continue;
    c->MoveTwips(c->LeftTwips(), c->TopTwips() + kCategoryRowTwips, c->WidthTwips(),
                 c->HeightTwips());
  }
  Command1.MoveTwips(Command1.LeftTwips(), kExitTopTwips, Command1.WidthTwips(),
                     Command1.HeightTwips());
  Label2.Visible(true);
  Combo1.Visible(true);
  Command1.Visible(true);
  Combo1.Clear();
  for (const std::string& name : suite::CategoriesByName()) Combo1.AddItem(name);
  Height(static_cast<float>(kHeightTwips));
}

void CategoryEditor::RequireColumns() {
  addedit::RequireColumns();
  wordRecordset.Fields("category");
}

void CategoryEditor::WriteOtherColumns() {
  wordRecordset.Fields("category") = category_;
}

void CategoryEditor::Combo1_Click() {
  if (Combo1.ListIndex() < 0) return;
  const std::string chosen = Combo1.Text();
  if (!OpenBook("select * from word where category='" + dao::EscapeQuotes(chosen) +
                "' ORDER BY English"))
    return;
  category_ = chosen;
  if (wordRecordset.Eof() && wordRecordset.Bof()) {
    ClearFields();
    English.SetFocus();
    List1.Clear();
    txtGCurent.Text("");
    addingNew = true;
    return;
  }
  FillFromRecordset();
}

}  // namespace lexipen
