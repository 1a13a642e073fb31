// The about box: its texts, its version line, and its links through the shell.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTest>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "frm_about.h"
#include "testsupport/temp_dir.h"

using ornatek::frmAbout;
using ornatek::LinkTarget;

namespace {

// The desktop's opener replaced, for the test's life, by a script first on
// PATH that logs each address it is handed.
class FakeOpener {
 public:
  FakeOpener() : oldPath_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    const auto script = dir_ / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << log_.string() << "'\n";
    ::chmod(script.c_str(), 0755);
    ::setenv("PATH", (dir_.path().string() + ":" + oldPath_).c_str(), 1);
  }
  ~FakeOpener() { ::setenv("PATH", oldPath_.c_str(), 1); }
  // The addresses logged once `count` have arrived (the opener runs detached).
  std::vector<std::string> Opened(std::size_t count) const {
    std::vector<std::string> lines;
    for (int i = 0; i < 400 && lines.size() < count; ++i) {
      lines.clear();
      std::ifstream in(log_);
      for (std::string line; std::getline(in, line);) lines.push_back(line);
      if (lines.size() < count) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return lines;
  }

 private:
  testsupport::TempDir dir_;
  std::filesystem::path log_ = dir_ / "opened.txt";
  std::string oldPath_;
};

}  // namespace

TEST(AboutLinks, WebAddressesOpenAsTheyStandAndTheRestAsMail) {
  EXPECT_EQ(LinkTarget("http://example.org/"), "http://example.org/");
  EXPECT_EQ(LinkTarget("https://example.org/"), "https://example.org/");
  EXPECT_EQ(LinkTarget("someone@example.org"), "mailto:someone@example.org");
  EXPECT_EQ(LinkTarget("httpx://odd"), "mailto:httpx://odd");
  EXPECT_EQ(LinkTarget(""), "mailto:");
}

TEST(AboutBox, ShowsItsTextsAndHandsLinksToTheShell) {
  FakeOpener opener;
  auto& box = forms::Forms::Get<frmAbout>();
  box.Load();
  EXPECT_EQ(box.Caption(), "关于...");
  EXPECT_EQ(box.lblVersion.Caption(), "版本 2.1.0");
  EXPECT_EQ(box.dnbOK.Caption(), "确定");
  EXPECT_EQ(box.Label3.Caption(), "如果您觉得这个控件不错,请多多宣传！");
  EXPECT_EQ(box.Label3.Font().Name, "SimSun") << "a CJK face, substituted by the layer";
  ASSERT_EQ(box.lblMail.Count(), 4);

  box.lblMail[0].Click();
  const auto web = opener.Opened(1);
  box.lblMail[2].Click();
  const auto opened = opener.Opened(2);
  ASSERT_EQ(web.size(), 1u);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_TRUE(opened[0].starts_with("http://")) << opened[0];
  EXPECT_TRUE(opened[1].starts_with("mailto:")) << opened[1];

  // Centred on the screen, in twips.
  EXPECT_NEAR(box.Left(), (forms::Screen::Width() - box.Width()) / 2, 15);
  EXPECT_NEAR(box.Top(), (forms::Screen::Height() - box.Height()) / 2, 15);

  // OK, pressed with the mouse, closes it and lets it go: the next use makes
  // a fresh form, which shows its own texts, and loads it again.
  box.Show();
  box.Label3.Caption("stale");
  box.lblVersion.Caption("stale");
  QTest::mouseClick(box.dnbOK.Widget(), Qt::LeftButton);
  forms::DoEvents();
  EXPECT_EQ(forms::Forms::Find<frmAbout>(), nullptr) << "released when closed";
  auto& again = forms::Forms::Get<frmAbout>();
  EXPECT_EQ(again.Label3.Caption(), "如果您觉得这个控件不错,请多多宣传！") << "a fresh form";
  EXPECT_EQ(again.lblVersion.Caption(), "版本") << "not loaded yet";
  again.Load();
  EXPECT_EQ(again.lblVersion.Caption(), "版本 2.1.0");
  forms::Unload(again);
}
