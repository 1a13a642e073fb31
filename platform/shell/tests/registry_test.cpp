#include "shell/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "../src/autostart_entry.h"
#include "shell_test_files.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace shell;
namespace fs = std::filesystem;

// Each case has its own XDG_CONFIG_HOME, so no entry reaches the user's.
struct Autostart : testing::Test {
  testsupport::TempDir config;
  std::string old = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  void SetUp() override { setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
  void TearDown() override { setenv("XDG_CONFIG_HOME", old.c_str(), 1); }
  fs::path Entry(const char* name) const {
    return config.path() / "autostart" / (std::string(name) + ".desktop");
  }

  // What the start-with-logon routine does with a program path.
  static void Set(const char* name, const std::string& path) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kRunKey, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, path.c_str(),
                             static_cast<win::DWORD>(path.size() + 1)),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  }
  static std::string Query(const char* name) {
    HKEY key;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &key), ERROR_SUCCESS);
    win::DWORD size = 0, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return "<none>";
    std::string data(size, '\0');
    EXPECT_EQ(RegQueryValueExA(key, name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    RegCloseKey(key);
    return data.substr(0, size - 1);
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(Autostart, ValueIsAValidDesktopEntryThatIsRewrittenAndDeleted) {
  Set("Italian", "C:\\Programs\\Tavrinel\\Dialogra.exe");
  const std::string text = Read(Entry("Italian"));
  EXPECT_NE(text.find("[Desktop Entry]\nType=Application\nName=Italian\n"), std::string::npos);
  EXPECT_NE(text.find("Exec=\"/Programs/Tavrinel/Dialogra\"\n"), std::string::npos) << text;
  EXPECT_EQ(Query("Italian"), "/Programs/Tavrinel/Dialogra");

  // Moving the program folder is repaired by the next write.
  Set("Italian", "C:\\Moved\\Dialogra.exe");
  EXPECT_EQ(Query("Italian"), "/Moved/Dialogra");

  // The word trainer's value lives beside it; deleting one leaves the other.
  Set("Rezitavo", "/opt/t/Vocabra.exe");
  std::ofstream(config.path() / "autostart" / "other.desktop") << "[Desktop Entry]\n";
  HKEY key;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(key, "Italian"), ERROR_SUCCESS);
  EXPECT_FALSE(fs::exists(Entry("Italian")));
  EXPECT_TRUE(fs::exists(Entry("Rezitavo")));
  EXPECT_TRUE(fs::exists(config.path() / "autostart" / "other.desktop"));
  // Deleting an absent value changes nothing and is only reported.
  EXPECT_EQ(RegDeleteValueA(key, "Italian"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(std::distance(fs::directory_iterator(config.path() / "autostart"), {}), 2);
  RegCloseKey(key);
}

TEST_F(Autostart, PathsWithBlanksAndShellCharactersRoundTrip) {
  for (const std::string path :
       {"/home/a b/My Programs/Dialogra", "/t/quote\"d/$HOME/`x`/100%/Dialogra",
        " /leading blank/Dialogra"}) {
    Set("Italian", path);
    EXPECT_EQ(Query("Italian"), path);
  }
  // "\" is a separator of the suite's paths, so it becomes "/".
  Set("Italian", "/a\\b/Dialogra");
  EXPECT_EQ(Query("Italian"), "/a/b/Dialogra");
  // An already quoted path is not quoted twice.
  Set("Italian", "\"/a b/Dialogra.exe\"");
  EXPECT_EQ(Query("Italian"), "/a b/Dialogra");
}

TEST_F(Autostart, EntriesPassTheDesktopFileValidator) {
  const fs::path validator = "/usr/bin/desktop-file-validate";
  if (!fs::exists(validator)) GTEST_SKIP() << "desktop-file-validate is not installed";
  Set("Italian", "/home/a b/Prog $x/100%/Dialogra");
  const std::string cmd = validator.string() + " '" + Entry("Italian").string() + "' > '" +
                          (config.path() / "v.txt").string() + "' 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << Read(config.path() / "v.txt");
  EXPECT_EQ(Read(config.path() / "v.txt"), "");
}

TEST_F(Autostart, EntryStartsTheProgramWhenItsExecLineIsRun) {
  // The Exec line, after the file's string escapes, is run by a shell as a
  // desktop would run it: the quoting carries blanks and shell characters.
  const fs::path folder = config.path() / "My Programs $HOME `x`";
  const fs::path out = config.path() / "ran.txt";
  shelltest::WriteScript(folder / "Dialogra", "echo end > '" + out.string() + "'");
  Set("Italian", (folder / "Dialogra.exe").string());
  const std::string text = Read(Entry("Italian"));
  const auto at = text.find("\nExec=");
  ASSERT_NE(at, std::string::npos);
  std::string exec = text.substr(at + 6, text.find('\n', at + 1) - at - 6);
  std::string unescaped;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    if (exec[i] == '\\' && i + 1 < exec.size() && exec[i + 1] == '\\') ++i;
    unescaped += exec[i];
  }
  const std::string command = "sh -c '" + unescaped + "'";
  // No single quote in the line, so it can be wrapped in them.
  ASSERT_EQ(unescaped.find('\''), std::string::npos);
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(shelltest::WaitForFile(out), "end\n");
}

TEST_F(Autostart, BadCallsFailWithoutWriting) {
  HKEY key;
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Other", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(key);
  EXPECT_EQ(RegCreateKeyA(HKEY(0x80000002u), kRunKey, &key), ERROR_ACCESS_DENIED);
  // The key name is compared without regard to case.
  ASSERT_EQ(
      RegCreateKeyA(HKEY_CURRENT_USER, "software\\microsoft\\windows\\currentversion\\RUN", &key),
      ERROR_SUCCESS);
  const char path[] = "/x/Dialogra";
  EXPECT_EQ(RegSetValueExA(key, "../escape", 0, REG_SZ, path, sizeof path),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(key, "", 0, REG_SZ, path, sizeof path), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(key, "Italian", 0, 4 /* a number */, path, sizeof path),
            ERROR_INVALID_PARAMETER);
  const char broken[] = "/x/line\nbreak";
  EXPECT_EQ(RegSetValueExA(key, "Italian", 0, REG_SZ, broken, sizeof broken),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(HKEY(), "Italian", 0, REG_SZ, path, sizeof path), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(fs::exists(config.path() / "autostart" / "Italian.desktop"));
  EXPECT_FALSE(fs::exists(config.path() / "escape.desktop"));
  EXPECT_EQ(RegCloseKey(HKEY()), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Autostart, DamagedEntryReadsAsNoValue) {
  fs::create_directories(config.path() / "autostart");
  std::ofstream(Entry("Italian")) << "[Desktop Entry]\nExec=\"/unclosed\n";
  EXPECT_EQ(Query("Italian"), "<none>");
  std::ofstream(Entry("Italian")) << "garbage";
  EXPECT_EQ(Query("Italian"), "<none>");
}

}  // namespace
