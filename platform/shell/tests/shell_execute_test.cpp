#include "shell/shell_execute.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "shell/folders.h"
#include "shell_test_files.h"
#include "testsupport/temp_dir.h"

namespace {

using shell::ShellExecuteA;
namespace fs = std::filesystem;

// A stand-in for the desktop's handler that logs what it was handed.
struct FakeHandler {
  testsupport::TempDir dir;
  fs::path log = dir.path() / "handled.txt";
  shelltest::PathPrefix path{dir.path() / "bin"};
  FakeHandler() {
    shelltest::WriteScript(
        dir.path() / "bin" / "xdg-open",
        "printf '%s\\n' \"$1\" >> '" + log.string() + "'\necho end >> '" + log.string() + "'");
  }
};

TEST(ShellExecute, StartsASuiteProgramDetachedInItsOwnFolder) {
  testsupport::TempDir tmp;
  const fs::path folder = tmp.path() / "My Programs";
  const fs::path out = tmp.path() / "started.txt";
  shelltest::WriteScript(folder / "Reader", "{ pwd; echo \"$#\"; echo \"$PPID\"; echo end; } > '" +
                                                out.string() + "'");
  // The suite names the program as "folder\Reader.exe" and passes no folder.
  const std::string file = folder.string() + "\\Reader.exe";
  EXPECT_GT(ShellExecuteA({}, "open", file.c_str(), "", "", shell::SW_SHOWNORMAL), 32);
  const std::string text = shelltest::WaitForFile(out);
  ASSERT_FALSE(text.empty()) << "the program did not start";
  std::istringstream lines(text);
  std::string pwd, argc, parent;
  std::getline(lines, pwd);
  std::getline(lines, argc);
  std::getline(lines, parent);
  EXPECT_EQ(fs::canonical(pwd), fs::canonical(folder));
  EXPECT_EQ(argc, "0");
  EXPECT_NE(parent, std::to_string(::getpid())) << "the program is not detached from its starter";
}

TEST(ShellExecute, ReturnsWhileTheStartedProgramStillRuns) {
  // The program waits for a mark that the test sets only after the call
  // returned; a call that waited for the program would make it give up.
  testsupport::TempDir tmp;
  const fs::path mark = tmp.path() / "mark";
  const fs::path out = tmp.path() / "out.txt";
  shelltest::WriteScript(tmp.path() / "Lexipen", "i=0; while [ ! -e '" + mark.string() +
                                                     "' ] && [ $i -lt 200 ]; do sleep 0.05; "
                                                     "i=$((i+1)); done; if [ -e '" +
                                                     mark.string() + "' ]; then echo saw > '" +
                                                     out.string() + "'; fi; echo end >> '" +
                                                     out.string() + "'");
  const std::string file = (tmp.path() / "Lexipen.exe").string();
  EXPECT_GT(ShellExecuteA({}, "open", file.c_str(), "", "", 1), 32);
  std::ofstream(mark) << "x";
  EXPECT_EQ(shelltest::WaitForFile(out), "saw\nend\n");
}

TEST(ShellExecute, AddressesGoToTheDesktopHandler) {
  FakeHandler handler;
  for (const char* verb : {"open", "Open", static_cast<const char*>(nullptr)}) {
    EXPECT_GT(ShellExecuteA({}, verb, "http://tavrinel.example.org/", "", "/", 1), 32);
    ASSERT_FALSE(shelltest::WaitForFile(handler.log).empty());
    fs::remove(handler.log);
  }
  EXPECT_GT(ShellExecuteA({}, "Open", "https://example.org/a?b=1&c=2", "", "", 1), 32);
  EXPECT_EQ(shelltest::WaitForFile(handler.log), "https://example.org/a?b=1&c=2\nend\n");
  fs::remove(handler.log);
  const std::string mail = std::string("mailto:tavrinel@example.org");
  EXPECT_GT(ShellExecuteA({}, "Open", mail.c_str(), "", "", 1), 32);
  EXPECT_EQ(shelltest::WaitForFile(handler.log), mail + "\nend\n");
}

TEST(ShellExecute, HelpFileOpensTheHtmlHelpBesideIt) {
  FakeHandler handler;
  testsupport::TempDir tmp;
  std::ofstream(tmp.path() / "help.html") << "<html></html>";
  const std::string file = tmp.path().string() + "\\help.hlp";
  EXPECT_GT(ShellExecuteA({}, "open", file.c_str(), "", "", 1), 32);
  EXPECT_EQ(shelltest::WaitForFile(handler.log), (tmp.path() / "help.html").string() + "\nend\n");
}

TEST(ShellExecute, AnExecutableDocumentIsOpenedNotRun) {
  FakeHandler handler;
  testsupport::TempDir tmp;
  const fs::path ran = tmp.path() / "ran.txt";
  for (const char* name : {"help.html", "notes.txt"})
    shelltest::WriteScript(tmp.path() / name, "echo ran >> '" + ran.string() + "'");
  const std::string help = tmp.path().string() + "\\help.hlp";
  EXPECT_GT(ShellExecuteA({}, "open", help.c_str(), "", "", 1), 32);
  EXPECT_EQ(shelltest::WaitForFile(handler.log), (tmp.path() / "help.html").string() + "\nend\n");
  fs::remove(handler.log);
  EXPECT_GT(ShellExecuteA({}, "open", "notes.txt", "", tmp.path().c_str(), 1), 32);
  EXPECT_EQ(shelltest::WaitForFile(handler.log), (tmp.path() / "notes.txt").string() + "\nend\n");
  EXPECT_FALSE(fs::exists(ran));
}

TEST(ShellExecute, AProgramFolderWhoseNameHoldsABackslashKeepsIt) {
  testsupport::TempDir tmp;
  const fs::path folder = tmp.path() / "Tavrinel\\2.6";
  const fs::path out = tmp.path() / "started.txt";
  shelltest::WriteScript(folder / "Reader",
                         "pwd > '" + out.string() + "'; echo end >> '" + out.string() + "'");
  // The suite adds "\" and the program's name to the folder as it is.
  const std::string file = folder.string() + "\\Reader.exe";
  EXPECT_GT(ShellExecuteA({}, "open", file.c_str(), "", "", shell::SW_SHOWNORMAL), 32);
  const std::string text = shelltest::WaitForFile(out);
  ASSERT_FALSE(text.empty()) << "the program did not start";
  EXPECT_EQ(fs::canonical(text.substr(0, text.find('\n'))), fs::canonical(folder));
  EXPECT_EQ(shell::NativePath(folder.string() + "\\words\\dialog.ocx"),
            folder / "words" / "dialog.ocx");
}

TEST(ShellExecute, DocumentRelativeToTheFolderGoesToTheHandler) {
  FakeHandler handler;
  testsupport::TempDir tmp;
  std::ofstream(tmp.path() / "notes.txt") << "x";
  EXPECT_GT(ShellExecuteA({}, "open", "notes.txt", "", tmp.path().c_str(), 1), 32);
  EXPECT_EQ(shelltest::WaitForFile(handler.log), (tmp.path() / "notes.txt").string() + "\nend\n");
}

TEST(ShellExecute, FailuresAreResultsBelow33) {
  testsupport::TempDir tmp;
  const std::string missing = tmp.path().string() + "\\Lexipen.exe";
  EXPECT_EQ(ShellExecuteA({}, "open", missing.c_str(), "", "", 1), shell::SE_ERR_FNF);
  const std::string noFolder = tmp.path().string() + "\\gone\\help.hlp";
  EXPECT_EQ(ShellExecuteA({}, "open", noFolder.c_str(), "", "", 1), shell::SE_ERR_PNF);
  const std::string noHelp = tmp.path().string() + "\\help.hlp";
  EXPECT_EQ(ShellExecuteA({}, "open", noHelp.c_str(), "", "", 1), shell::SE_ERR_FNF);
  EXPECT_EQ(ShellExecuteA({}, "open", nullptr, "", "", 1), shell::SE_ERR_FNF);
  EXPECT_EQ(ShellExecuteA({}, "open", "", "", "", 1), shell::SE_ERR_FNF);
  EXPECT_EQ(ShellExecuteA({}, "print", "http://example.org/", "", "", 1), shell::SE_ERR_NOASSOC);
  std::ofstream(tmp.path() / "plain.txt") << "x";
  const std::string notProgram = tmp.path().string() + "/plain.txt.exe";
  EXPECT_EQ(ShellExecuteA({}, "open", notProgram.c_str(), "", "", 1), shell::SE_ERR_ACCESSDENIED);
}

TEST(ShellExecute, NoHandlerOnThePathIsAFailure) {
  testsupport::TempDir empty;
  shelltest::PathPrefix only(empty.path(), true);
  EXPECT_EQ(ShellExecuteA({}, "open", "http://example.org/", "", "", 1), shell::SE_ERR_NOASSOC);
  EXPECT_EQ(ShellExecuteA({}, "open", "mailto:a@example.org", "", "", 1), shell::SE_ERR_NOASSOC);
}

// Runs the event loop until `told` holds something, or a generous time.
void WaitUntilTold(const std::vector<std::string>& told) {
  for (int i = 0; i < 400 && told.empty(); ++i) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

TEST(ShellExecute, AHandlerThatFailsIsToldOnceWithWhatAndWhy) {
  // The desktop's opener finds no browser: as xdg-open does, it says so and
  // ends with 3.
  testsupport::TempDir dir;
  shelltest::PathPrefix path{dir.path() / "bin"};
  shelltest::WriteScript(dir.path() / "bin" / "xdg-open",
                         "echo \"xdg-open: no method available for opening '$1'\" >&2; exit 3");
  std::vector<std::string> told;
  const auto tell = [&](const std::string& m) { told.push_back(m); };
  EXPECT_GT(ShellExecuteA({}, "Open", "http://tavrinel.example.org/", "", "", 1, tell), 32);
  WaitUntilTold(told);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("Could not open http://tavrinel.example.org/"), std::string::npos)
      << told[0];
  EXPECT_NE(told[0].find("no program that opens it"), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("no method available"), std::string::npos) << told[0];
  // Nothing more comes of it.
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(told.size(), 1u);

  // One that succeeds, and one that stays (a browser it waits for), tell nothing.
  told.clear();
  shelltest::WriteScript(dir.path() / "bin" / "xdg-open", "exit 0");
  EXPECT_GT(ShellExecuteA({}, "Open", "mailto:tavrinel@example.org", "", "", 1, tell), 32);
  shelltest::WriteScript(dir.path() / "bin" / "xdg-open", "sleep 5");
  EXPECT_GT(ShellExecuteA({}, "Open", "http://example.org/", "", "", 1, tell), 32);
  for (int i = 0; i < 40; ++i) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_TRUE(told.empty()) << told[0];
}

TEST(ShellExecute, FailuresFoundAtOnceAreToldToo) {
  testsupport::TempDir tmp;
  std::vector<std::string> told;
  const auto tell = [&](const std::string& m) { told.push_back(m); };
  const std::string noHelp = tmp.path().string() + "\\help.hlp";
  EXPECT_EQ(ShellExecuteA({}, "open", noHelp.c_str(), "", "", 1, tell), shell::SE_ERR_FNF);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0],
            "Could not open " + (tmp.path() / "help.html").string() + ": the file does not exist.");
  shelltest::PathPrefix only(tmp.path(), true);
  EXPECT_EQ(ShellExecuteA({}, "Open", "http://example.org/", "", "", 1, tell),
            shell::SE_ERR_NOASSOC);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_NE(told[1].find("Could not open http://example.org/: "), std::string::npos) << told[1];
  EXPECT_NE(told[1].find("xdg-open was not found"), std::string::npos) << told[1];
}

}  // namespace
