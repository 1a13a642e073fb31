#pragma once

// A bar in a test: a clock moved by hand, a private program folder with its
// own word book, message boxes and the end of the program caught, and the
// character's requests recorded.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "agent/agent.h"
#include "com/class_loader.h"
#include "form1.h"
#include "forms/forms.h"
#include "forms/settings.h"
#include "forms/testing.h"
#include "lessons/lessons.h"
#include "options.h"
#include "ornatek/menu_control_host.h"
#include "pictures.h"
#include "testsupport/program_observer.h"
#include "testsupport/temp_dir.h"

namespace dialogra::testing {

class BarFixture : public ::testing::Test, public testsupport::ProgramObserver {
 protected:
  void SetUp() override {
    // Each test has its own settings store and program folder.
    testsupport::UseProgramFolder(folder.path());
    std::filesystem::copy_file(testsupport::BinDir() / "dialog.ocx", folder / "dialog.ocx");
    forms::RegisterStringTable(lessons::Strings());
    // The menu control's library, registered as the build registers it.
    com::RegisterLibrary(testsupport::BinDir() / "Ornatek.ocx");
    ornatek::ForgetMenuControlClass();
    module() = Module{};
  }

  // Each case is a program start of its own: what a program takes once per
  // process is given back.
  void TearDown() override {
    forms::testing::ReleaseAllForms();
    forms::testing::ReleaseInstanceLock();
  }

  // The bar, loaded as the program starts it.
  Form1& LoadBar() {
    Form1& bar = forms::Forms::Get<Form1>();
    bar.Load();
    return bar;
  }

  // Runs n ticks of a timer's interval on the clock.
  void Ticks(int n, int intervalMs) { clock.Advance(static_cast<double>(n) * intervalMs); }

  std::vector<std::string> Spoken() const {
    std::vector<std::string> out;
    for (const auto& r : requests)
      if (r.kind == agent::RequestRecord::Kind::Speak) out.push_back(r.text);
    return out;
  }
  int Played(std::string_view animation) const {
    int n = 0;
    for (const auto& r : requests)
      n += r.kind == agent::RequestRecord::Kind::Play && r.text == animation;
    return n;
  }

  // Adds words to the test's word book.
  void AddWords(const std::vector<std::pair<std::string, std::string>>& words) {
    dao::Database db = dao::OpenDatabase((folder / "dialog.ocx").string());
    dao::Recordset rs = db.OpenRecordset("word");
    for (const auto& [en, it] : words) {
      rs.AddNew();
      rs.Fields("English") = en;
      rs.Fields("Italian") = it;
      rs.Update();
    }
  }

  forms::ManualClock clock;
  testsupport::TempDir folder;
};

}  // namespace dialogra::testing
