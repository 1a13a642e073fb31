// The word trainer's start-at-logon entry "Rezitavo", driven by "markword".

#include <fstream>

#include "module1.h"
#include "shell/registry.h"
#include "word_fixture.h"

using namespace vocabra;
using vocabra::testing::WordFixture;
namespace fs = std::filesystem;

namespace {

class AutoStart : public WordFixture {
 protected:
  // The program path an entry holds, or "<none>".
  static std::string Entry(const char* name) {
    shell::HKEY key;
    shell::RegOpenKeyA(shell::HKEY_CURRENT_USER, shell::kRunKey, &key);
    win::DWORD size = 0, type = 0;
    std::string data;
    if (shell::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) ==
        shell::ERROR_SUCCESS) {
      data.resize(size);
      shell::RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
      data.resize(size > 0 ? size - 1 : 0);
    } else {
      data = "<none>";
    }
    shell::RegCloseKey(key);
    return data;
  }
  fs::path EntryFile(const char* name) const {
    return folder / "config" / "autostart" / (std::string(name) + ".desktop");
  }
  std::string Program() const { return (folder.path() / forms::App::EXEName()).string(); }
  void SaveWith(int mark) {
    module().markword = static_cast<std::int16_t>(mark);
    SetAutoStart();
  }
};

}  // namespace

TEST_F(AutoStart, MarkwordOneWritesRezitavoAndZeroRemovesItAndNothingElse) {
  // The conversation trainer's entry is not the word trainer's business.
  SetAutoStart("Italian", true);
  ASSERT_EQ(Entry("Italian"), Program());

  SaveWith(1);
  EXPECT_EQ(Entry("Rezitavo"), Program());
  EXPECT_TRUE(fs::exists(EntryFile("Rezitavo")));
  SaveWith(1);  // again: still one entry, the same
  EXPECT_EQ(Entry("Rezitavo"), Program());

  SaveWith(2);  // any other value changes nothing
  EXPECT_EQ(Entry("Rezitavo"), Program());

  SaveWith(0);
  EXPECT_EQ(Entry("Rezitavo"), "<none>");
  EXPECT_FALSE(fs::exists(EntryFile("Rezitavo")));
  SaveWith(0);  // with no entry there is nothing to do and nothing to tell
  EXPECT_EQ(Entry("Rezitavo"), "<none>");
  EXPECT_EQ(Entry("Italian"), Program());
  EXPECT_TRUE(messages.empty());
}

TEST_F(AutoStart, TheSettingsFormWritesItOnlyWithSavingOnAndRepairsAMovedFolder) {
  Settings({});
  ReadOptions(module());
  auto close = [](bool save, bool start) {
    Form3& f = forms::Forms::Get<Form3>();
    f.Load();
    f.Check1.Value(save);
    f.Check5.Value(start);
    forms::Unload(f);
  };
  close(false, true);
  EXPECT_EQ(Entry("Rezitavo"), "<none>") << "saving cleared: the entry stays as it was";
  close(true, true);
  EXPECT_EQ(Entry("Rezitavo"), Program());

  // The program moved: the next closing with saving on writes the new place.
  testsupport::TempDir moved;
  setenv("TAVRINEL_PROGRAM_DIR", moved.path().c_str(), 1);
  close(true, true);
  EXPECT_EQ(Entry("Rezitavo"), (moved.path() / forms::App::EXEName()).string());
  setenv("TAVRINEL_PROGRAM_DIR", folder.path().c_str(), 1);

  close(true, false);
  EXPECT_EQ(Entry("Rezitavo"), "<none>");
}

TEST_F(AutoStart, AnEntryThatCannotBeWrittenIsSilent) {
  // The autostart folder is a file: nothing can be written there.
  fs::create_directories(folder / "config");
  std::ofstream(folder / "config" / "autostart") << "not a folder\n";
  SaveWith(1);
  EXPECT_EQ(Entry("Rezitavo"), "<none>");
  SaveWith(0);
  EXPECT_TRUE(messages.empty());
}
