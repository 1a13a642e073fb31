// Lexipen, the word-book manager. Several copies may run at once; it keeps
// no settings.

#include "forms/forms.h"
#include "lexipen/category_editor.h"

int main(int argc, char** argv) {
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Lexipen");
    auto& form = forms::Forms::Get<lexipen::CategoryEditor>();
    form.Book(dialogra::LexipenBook());
    return form;
  });
}
