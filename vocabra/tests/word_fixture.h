#pragma once

// A word window in a test: a clock moved by hand, a private program folder
// with its own word books, message boxes and the end of the program caught,
// and the character's requests recorded.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "agent/agent.h"
#include "com/class_loader.h"
#include "controls/controls.h"
#include "dao/dao.h"
#include "form3.h"
#include "forms/forms.h"
#include "forms/settings.h"
#include "forms/testing.h"
#include "frm_show.h"
#include "options.h"
#include "ornatek/menu_control_host.h"
#include "suite/trainer_settings.h"
#include "testsupport/menu_driver.h"
#include "testsupport/program_observer.h"
#include "testsupport/temp_dir.h"
#include "win/qt_window.h"
#include "win/win.h"
#include "word_sources.h"

namespace vocabra::testing {

using testsupport::MenuDriver;

using Pair = std::pair<std::string, std::string>;  // English, Italian

class WordFixture : public ::testing::Test, public testsupport::ProgramObserver {
 protected:
  void SetUp() override {
    testsupport::UseProgramFolder(folder.path());
    std::filesystem::copy_file(testsupport::BinDir() / "reg.ocx", folder / "reg.ocx");
    std::filesystem::copy_file(testsupport::BinDir() / "word.ocx", folder / "word.ocx");
    // The own word book starts empty, whatever the program folder's copy holds.
    dao::OpenDatabase((folder / "word.ocx").string()).Execute("delete from word");
    controls::Register();
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

  static void Store(std::string_view key, std::string_view value) {
    forms::SaveSetting("Tesk", "Orvanta7", key, value);
  }
  static std::string Stored(std::string_view key) {
    return forms::GetSetting("Tesk", "Orvanta7", key);
  }
  // Settings as after a first run, with the given keys changed.
  void Settings(const std::vector<std::pair<std::string, std::string>>& changed) {
    dialogra::FirstRunBlock();
    for (const auto& [key, value] : changed) Store(key, value);
  }

  // The word window, loaded as the program starts it (the data control opens
  // once the load is done).
  FrmShow& LoadWindow() {
    FrmShow& w = forms::Forms::Get<FrmShow>();
    w.Load();
    return w;
  }

  // Runs the clock on by n intervals of ms.
  void Ticks(int n, int intervalMs) { clock.Advance(static_cast<double>(n) * intervalMs); }

  void AddOwnWords(const std::vector<Pair>& words) {
    dao::Database db = dao::OpenDatabase((folder / "word.ocx").string());
    dao::Recordset rs = db.OpenRecordset("word");
    for (const auto& [en, it] : words) {
      rs.AddNew();
      rs.Fields("English") = en;
      rs.Fields("Italian") = it;
      rs.Update();
    }
  }

  // The pairs a query over the categorised book gives, in its order.
  std::vector<Pair> CategorisedPairs(const std::string& source) const {
    dao::Database db = dao::OpenDatabase((folder / "reg.ocx").string(), false, false,
                                         std::string(kCategorisedConnect));
    dao::Recordset rs = db.OpenRecordset(source);
    std::vector<Pair> out;
    for (; !rs.Eof(); rs.MoveNext())
      out.emplace_back(rs.Fields("english").Value(), rs.Fields("italian").Value());
    return out;
  }

  std::vector<agent::RequestRecord> Requests(agent::RequestRecord::Kind kind) const {
    std::vector<agent::RequestRecord> out;
    for (const auto& r : requests)
      if (r.kind == kind) out.push_back(r);
    return out;
  }

  forms::ManualClock clock;
  testsupport::TempDir folder;
};

}  // namespace vocabra::testing
