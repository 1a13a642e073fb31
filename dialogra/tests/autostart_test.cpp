// Start at logon: the Run-key value "Italian" written, rewritten and
// deleted as "mark" says.

#include <gtest/gtest.h>

#include <filesystem>

#include "forms/app.h"
#include "module1.h"
#include "options.h"
#include "shell/registry.h"
#include "suite/autostart.h"
#include "testsupport/temp_dir.h"

using namespace dialogra;
namespace fs = std::filesystem;

namespace {

class AutoStart : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("TAVRINEL_PROGRAM_DIR", (home / "program").c_str(), 1);
    fs::create_directories(home / "program");
    module() = Module{};
  }

  fs::path Entry() const { return home / "config" / "autostart" / "Italian.desktop"; }

  // The program path the value holds, or nullopt when there is none.
  static std::optional<std::string> Value() {
    shell::HKEY key;
    if (shell::RegOpenKeyA(shell::HKEY_CURRENT_USER, shell::kRunKey, &key) != 0) return {};
    char data[1024] = {};
    win::DWORD size = sizeof data, type = 0;
    const auto rc = shell::RegQueryValueExA(key, kAutoStartName, nullptr, &type, data, &size);
    shell::RegCloseKey(key);
    if (rc != shell::ERROR_SUCCESS) return {};
    return std::string(data);
  }

  void Run(std::int16_t mark) {
    module().mark = mark;
    SetAutoStart();
  }

  testsupport::TempDir home;
};

}  // namespace

TEST(AutoStartPath, OneSeparatorBeforeTheProgramsName) {
  EXPECT_EQ(ProgramExePath("C:\\Programs\\Tavrinel", "Dialogra"),
            "C:\\Programs\\Tavrinel\\Dialogra.exe");
  EXPECT_EQ(ProgramExePath("C:\\", "Dialogra"), "C:\\Dialogra.exe");
  EXPECT_EQ(ProgramExePath("/", "Dialogra"), "/Dialogra.exe");
}

TEST_F(AutoStart, MarkOneWritesTheProgramsPath) {
  Run(1);
  ASSERT_TRUE(fs::exists(Entry()));
  const auto value = Value();
  ASSERT_TRUE(value);
  EXPECT_EQ(fs::path(*value).parent_path(), home / "program");
  EXPECT_EQ(fs::path(*value).stem(), forms::App::EXEName());
}

TEST_F(AutoStart, AMovedProgramFolderIsRepairedAtTheNextWrite) {
  Run(1);
  fs::rename(home / "program", home / "moved here");
  setenv("TAVRINEL_PROGRAM_DIR", (home / "moved here").c_str(), 1);
  Run(1);
  const auto value = Value();
  ASSERT_TRUE(value);
  EXPECT_EQ(fs::path(*value).parent_path(), home / "moved here");
}

TEST_F(AutoStart, MarkZeroDeletesTheValueAndAnAbsentOneIsNoFault) {
  Run(0);  // nothing there yet
  EXPECT_FALSE(fs::exists(Entry()));
  Run(1);
  ASSERT_TRUE(Value());
  Run(0);
  EXPECT_FALSE(Value());
  EXPECT_FALSE(fs::exists(Entry()));
}

TEST_F(AutoStart, AnyOtherMarkChangesNothing) {
  Run(1);
  const auto before = Value();
  Run(2);
  EXPECT_EQ(Value(), before);
  Run(0);
  Run(-1);
  EXPECT_FALSE(Value());
}
