// Lexipen, the word-book manager. Several copies may run at once; it keeps
// no settings.

#include "addedit.h"
#include "forms/forms.h"

int main(int argc, char** argv) {
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Lexipen");
    auto& form = forms::Forms::Get<dialogra::addedit>();
    form.Book(dialogra::LexipenBook());
    return form;
  });
}
