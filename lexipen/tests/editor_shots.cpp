// Screenshots of the word-book editor and of Lexipen, for looking at them
// by hand under a virtual display:
//   editor_shots empty|filled|duplicate|lexipen|lexipen-start|lexipen-held OUT.png
// Each run works on copies of the build's books in a folder of its own,
// shows one scene, writes the whole screen to OUT.png and ends.

#include <unistd.h>
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <string>

#include "dao/dao.h"
#include "forms/forms.h"
#include "lexipen/category_editor.h"
#include "suite/addedit.h"
#include "suite/word_books.h"

namespace {

namespace fs = std::filesystem;

void AddWords(const fs::path& file,
              std::initializer_list<std::pair<const char*, const char*>> words) {
  dao::Database db = dao::OpenDatabase(file.string());
  dao::Recordset rs = db.OpenRecordset("word");
  for (const auto& [en, it] : words) {
    rs.AddNew();
    rs.Fields("English") = en;
    rs.Fields("Italian") = it;
    rs.Update();
  }
}

void Grab(const std::string& out) {
  const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(out));
  std::printf("%s %s\n", ok ? "wrote" : "could not write", out.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string scene = argv[1], out = argv[2];
  const fs::path folder = fs::temp_directory_path() / ("editor_shots_" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (const char* book : {"dialog.ocx", "reg.ocx"})
    fs::copy_file(fs::path(TAVRINEL_BIN) / book, folder / book,
                  fs::copy_options::overwrite_existing);
  setenv("TAVRINEL_PROGRAM_DIR", folder.c_str(), 1);
  if (scene != "empty")
    AddWords(folder / "dialog.ocx", {{"the dog", "il cane"},
                                     {"the water", "l'acqua"},
                                     {"good morning", "buongiorno"},
                                     {"O'Brien's house", "la casa di O'Brien"},
                                     {"thank you very much", "grazie mille"},
                                     {"the bread", "il pane"}});
  // A second process holds the categorised book until this one ends.
  FILE* holder = nullptr;
  if (scene == "lexipen-held") {
    const fs::path mark = folder / "held";
    holder = popen(("'" BOOK_PROBE "' hold '" + (folder / "reg.ocx").string() + "' '" +
                    std::string(suite::kCategorisedConnect) + "' '" + mark.string() + "'")
                       .c_str(),
                   "w");
    while (holder && !fs::exists(mark)) usleep(10000);
  }
  const int rc = forms::RunProgram(argc, argv, [&]() -> forms::Form& {
    forms::App::SetTitle(scene.starts_with("lexipen") ? "Lexipen" : "Dialogra");
    const bool lexipen = scene.starts_with("lexipen");
    dialogra::addedit& f = lexipen ? forms::Forms::Get<lexipen::CategoryEditor>()
                                   : forms::Forms::Get<dialogra::addedit>();
    f.Book(lexipen ? dialogra::LexipenBook() : dialogra::DialograBook());
    QTimer::singleShot(600, [&f, scene, out] {
      if (scene == "filled") f.List1.ListIndex(2);
      if (scene == "lexipen") {
        for (int i = 0; i < f.Combo1.ListCount(); ++i)
          if (f.Combo1.List(i) == "Some Basic Phrases") f.Combo1.ListIndex(i);
      }
      if (scene == "lexipen-held") {
        QTimer::singleShot(800, [out] {
          Grab(out);
          if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        f.Combo1.ListIndex(0);
        forms::Unload(f);
        return;
      }
      if (scene == "duplicate") {
        f.cmdGAdd_Click();
        f.English.Text("The Dog");
        f.Italian.Text("il cane");
        QTimer::singleShot(800, [out] {
          Grab(out);
          if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        f.SaveRecord();
        forms::Unload(f);
        return;
      }
      QTimer::singleShot(800, [&f, out] {
        Grab(out);
        forms::Unload(f);
      });
    });
    return f;
  });
  if (holder) pclose(holder);
  fs::remove_all(folder);
  return rc;
}
