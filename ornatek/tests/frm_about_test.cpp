// The about box: its texts, its version line, and its links through the shell.

#include <gtest/gtest.h>

#include "frm_about.h"
#include "pending_platform_calls.h"

using ornatek::frmAbout;
using ornatek::LinkTarget;

TEST(AboutLinks, WebAddressesOpenAsTheyStandAndTheRestAsMail) {
  EXPECT_EQ(LinkTarget("http://example.org/"), "http://example.org/");
  EXPECT_EQ(LinkTarget("https://example.org/"), "https://example.org/");
  EXPECT_EQ(LinkTarget("someone@example.org"), "mailto:someone@example.org");
  EXPECT_EQ(LinkTarget("httpx://odd"), "mailto:httpx://odd");
  EXPECT_EQ(LinkTarget(""), "mailto:");
}

TEST(AboutBox, ShowsItsTextsAndHandsLinksToTheShell) {
  std::vector<ornatek::pending::ShellRequest> opened;
  ornatek::pending::SetShellLauncher(
      [&](const ornatek::pending::ShellRequest& r) { opened.push_back(r); });
  auto& box = forms::Forms::Get<frmAbout>();
  box.Load();
  EXPECT_EQ(box.Caption(), "关于...");
  EXPECT_EQ(box.lblVersion.Caption(), "版本 2.1.0");
  EXPECT_EQ(box.dnbOK.Caption(), "确定");
  EXPECT_EQ(box.Label3.Caption(), "如果您觉得这个控件不错,请多多宣传！");
  EXPECT_EQ(box.Label3.Font().Name, "SimSun") << "a CJK face, substituted by the layer";
  ASSERT_EQ(box.lblMail.Count(), 4);

  box.lblMail[0].Click();
  box.lblMail[2].Click();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_TRUE(opened[0].file.starts_with("https://")) << opened[0].file;
  EXPECT_TRUE(opened[1].file.starts_with("mailto:")) << opened[1].file;
  EXPECT_EQ(opened[1].directory, "C:\\");
  EXPECT_EQ(opened[1].show, win::SW_SHOWNORMAL);
  EXPECT_EQ(opened[1].owner, box.hWnd());

  // Centred on the screen, in twips.
  EXPECT_NEAR(box.Left(), (forms::Screen::Width() - box.Width()) / 2, 15);
  EXPECT_NEAR(box.Top(), (forms::Screen::Height() - box.Height()) / 2, 15);

  // OK closes it; the next use loads a fresh form with the version set again.
  box.dnbOK.Click();
  auto& again = forms::Forms::Get<frmAbout>();
  again.Load();
  EXPECT_EQ(again.lblVersion.Caption(), "版本 2.1.0");
  forms::Unload(again);
  ornatek::pending::SetShellLauncher(nullptr);
}
