// The icon page against a stand-in for the menu control: its lists and texts,
// its buttons, its working copy and apply, the file dialog, and the refusal
// to give two icons one menu item.

#include "page_bitmaps.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "com/property_page.h"
#include "forms/app.h"
#include "forms/file_dialog.h"
#include "forms/forms.h"
#include "forms/menu.h"
#include "forms/std_font.h"
#include "mem_dc.h"
#include "openfile.h"
#include "win/gdi.h"
#include "win/window.h"

using namespace ornatek;

namespace {

// What the page sees of a menu control: the menus of its form, an icon list
// it hands out by copy, and the three options.
class FakeMenuControl : public forms::Control, public MenuIconHost, public com::IFontHolder {
 public:
  explicit FakeMenuControl(const forms::ControlSite& site)
      : Control(site), font_(forms::StdFont::Create({.Name = "Tahoma", .Size = 8})) {}
  QWidget* Widget() const override { return nullptr; }

  std::vector<forms::Menu*> GetMenuControls() const override {
    std::vector<forms::Menu*> menus;
    for (forms::Control* c : Parent().Controls())
      if (auto* m = dynamic_cast<forms::Menu*>(c)) menus.push_back(m);
    return menus;
  }
  BitmapList GetBitmapList() const override { return list; }
  void SetBitmapList(const BitmapList& l) override {
    list = l;
    ++listsSet;
  }
  bool SelectDisabled() const override { return selectDisabled; }
  void SelectDisabled(bool on) override { selectDisabled = on; }
  int BitmapSize() const override { return bitmapSize; }
  void BitmapSize(int pixels) override { bitmapSize = pixels; }
  bool UseSystemFont() const override { return useSystemFont; }
  void UseSystemFont(bool on) override { useSystemFont = on; }
  std::shared_ptr<forms::StdFont> FontObject() override { return font_; }

  BitmapList list;
  int listsSet = 0;
  bool selectDisabled = true;
  int bitmapSize = 16;
  bool useSystemFont = true;

 private:
  std::shared_ptr<forms::StdFont> font_;
};

struct Registration {
  Registration() { forms::RegisterControlType<FakeMenuControl>("FakeMenuControl"); }
} g_registration;

class HostForm : public forms::Form {
 public:
  explicit HostForm(std::string_view description) : Form(description) {}
};

// A picture file of one colour with another one in its lower-left pixel.
std::string WritePicture(const std::string& name, win::COLORREF fill, win::COLORREF lowerLeft,
                         int width = 20, int height = 12) {
  const std::string path =
      (std::filesystem::path(::testing::TempDir()) / ("page_bitmaps_" + name)).string();
  cMemDC surface;
  surface.Init(width, height);
  surface.Cls(fill);
  surface.SetPixel(0, height - 1, lowerLeft);
  EXPECT_TRUE(win::SaveBitmapPng(win::HBITMAP(surface.Image().Handle()), path));
  return path;
}

BitmapEntry Entry(const std::string& key, std::uint32_t mask = 0xFF00FF,
                  forms::Picture picture = {}) {
  return BitmapEntry{std::move(picture), mask, key};
}

// The page in its dialog over a host form; the line of a menu key.
class PageTest : public ::testing::Test {
 protected:
  // The host form and its control, before the page opens over them.
  void Host(std::string_view description = ":/test/forms/IconPageHost.json") {
    host_.emplace(description);
    host_->Load();
    control = &host_->Get<FakeMenuControl>("VIroDazu1");
  }
  void Open() {
    if (!host_) Host();
    std::vector<std::unique_ptr<com::PropertyPage>> pages;
    pages.push_back(MakeBitmapsPage());
    pages.push_back(com::MakeStandardFontPage());
    dialog.emplace("VIroDazu1 Properties", std::move(pages), std::vector<forms::Control*>{control});
    dialog->Open();
    page = dynamic_cast<pagBitmaps*>(&dialog->Page(0));
    ASSERT_NE(page, nullptr);
  }
  void TearDown() override {
    forms::testing::AnswerFileDialogs({});
    forms::SetMessageBoxPresenter({});
    dialog.reset();
    host_.reset();
  }
  int LineOf(const std::string& key) const {
    for (int i = 0; i < page->lstMenus.ListCount(); ++i)
      if (ListLineField(page->lstMenus.List(i), 2) == key) return i;
    ADD_FAILURE() << "no line for " << key;
    return -1;
  }
  void Select(const std::string& key) { page->lstMenus.ListIndex(LineOf(key)); }

  FakeMenuControl* control = nullptr;
  pagBitmaps* page = nullptr;
  std::optional<com::PropertyPageDialog> dialog;

 private:
  std::optional<HostForm> host_;
};

}  // namespace

TEST(IconPageTexts, ListLinesSplitIntoMarkerCaptionAndKey) {
  const std::string line = MenuListLine(true, "&Open\tCtrl+O", "mnuOpen");
  EXPECT_EQ(line, "*\t&Open\\tCtrl+O\tmnuOpen");
  EXPECT_EQ(ListLineField(line, 0), "*");
  EXPECT_EQ(ListLineField(line, 1), "&Open\\tCtrl+O");
  EXPECT_EQ(ListLineField(line, 2), "mnuOpen");
  EXPECT_EQ(MenuListLine(false, "-", "mnuSep:2"), "\t-\tmnuSep:2");
  EXPECT_EQ(ListLineField("no tabs", 2), "");
}

TEST(IconPageTexts, MaskColoursReadBackAsTheyWereWritten) {
  EXPECT_EQ(MaskColorFromText("#FF00FF - 洋红"), 0xFF00FFu);
  EXPECT_EQ(MaskColorFromText("#C0C0C0 - 灰色"), 0xC0C0C0u);
  EXPECT_EQ(MaskColorFromText("#0"), 0u);
  EXPECT_EQ(MaskColorFromText("#FFFF"), 0xFFFFu);
  EXPECT_EQ(MaskColorFromText("#ff 00"), 0xFF00u) << "blanks between digits are skipped";
  EXPECT_EQ(MaskColorFromText("#"), 0u);
  EXPECT_EQ(MaskColorFromText(""), 0u);
  EXPECT_EQ(MaskColorFromText("#xyz"), 0u);
  EXPECT_EQ(MaskColorFromText("#FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(MaskColorFromText("#100000000"), std::nullopt) << "more than 32 bits";
  EXPECT_EQ(MaskColorText(0), "#0");
  EXPECT_EQ(MaskColorText(0xFFFF), "#FFFF");
  EXPECT_EQ(MaskColorText(0xFF00FF), "#FF00FF");
}

TEST(IconPageTexts, SizesAreTheLeadingNumberRoundedHalfToEven) {
  EXPECT_EQ(LeadingNumber("24"), 24);
  EXPECT_EQ(LeadingNumber("28px"), 28);
  EXPECT_EQ(LeadingNumber("  20 pixels"), 20);
  EXPECT_EQ(LeadingNumber("20.5"), 20);
  EXPECT_EQ(LeadingNumber("21.5"), 22);
  EXPECT_EQ(LeadingNumber("px"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("inf"), 0);
  EXPECT_EQ(LeadingNumber("-3"), -3);
  EXPECT_EQ(LeadingNumber("99999999999"), 0) << "too big for the size";
}

TEST(IconPageTexts, PanningEndsWithTheImageCoveringOrCentredInItsBox) {
  EXPECT_EQ(PannedEdge(-7, 72, 16), 28) << "smaller than the box: centred";
  EXPECT_EQ(PannedEdge(-30, 72, 100), -28) << "a gap at the right closes";
  EXPECT_EQ(PannedEdge(5, 72, 100), 0) << "a gap at the left closes";
  EXPECT_EQ(PannedEdge(-10, 72, 100), -10);
}

TEST(IconPageTexts, TheLowerLeftPixelOfAPicture) {
  const forms::Picture black = forms::LoadPicture(WritePicture("black.png", 0xFFFFFF, 0));
  EXPECT_EQ(LowerLeftPixel(black), 0u);
  const forms::Picture yellow = forms::LoadPicture(WritePicture("yellow.png", 0, 0x00FFFF));
  EXPECT_EQ(LowerLeftPixel(yellow), 0x00FFFFu);
  EXPECT_EQ(LowerLeftPixel(forms::Picture()), std::nullopt);
}

TEST_F(PageTest, ListsTheHostsMenusWithTheirEntriesAndOptions) {
  Host();
  control->list.Add(Entry("#mnuLesson:3", 0xC0C0C0));
  control->selectDisabled = false;
  control->bitmapSize = 24;
  Open();
  EXPECT_EQ(page->Caption(), "菜单图标");
  ASSERT_EQ(page->lstMenus.ListCount(), 6);
  EXPECT_EQ(page->lstMenus.List(0), "\t&File\tmnuFile");
  EXPECT_EQ(page->lstMenus.List(1), "\t&Open\\tCtrl+O\tmnuOpen")
      << "a caption's tab is shown as \\t and the key still follows the second tab";
  EXPECT_EQ(page->lstMenus.List(4), "*\tLesson &4\tmnuLesson:3");
  EXPECT_EQ(page->lstMenus.ItemData(4), 1);
  EXPECT_EQ(page->lstMenus.ItemData(1), 0);
  EXPECT_EQ(page->labNum.Caption(), "1 icon(s)");
  ASSERT_EQ(page->cobMenus.ListCount(), 5) << "no separator";
  EXPECT_EQ(page->cobMenus.List(1), "mnuOpen (&Open\tCtrl+O)");
  EXPECT_EQ(page->cobMenus.List(3), "mnuLesson:3 (Lesson &4)");
  EXPECT_EQ(page->chkDisabled.Value(), 0);
  EXPECT_EQ(page->chkUseSystemFont.Value(), 1);
  EXPECT_EQ(page->cobSize.Text(), "24");
  ASSERT_EQ(page->cobMaskColor.ListCount(), 2);
  EXPECT_EQ(page->cobMaskColor.List(0), "#FF00FF - 洋红");
  EXPECT_EQ(page->cobMaskColor.List(1), "#C0C0C0 - 灰色");
  EXPECT_EQ(page->cobSize.ListCount(), 5);
  EXPECT_FALSE(page->fraControls.Visible()) << "nothing selected";
  EXPECT_FALSE(dialog->ApplyEnabled()) << "showing the values is no edit";

  Select("mnuLesson:3");
  EXPECT_TRUE(page->fraControls.Visible());
  EXPECT_EQ(page->CurrentEntryIndex(), 1);
  EXPECT_EQ(page->cobMenus.Text(), "mnuLesson:3");
  EXPECT_EQ(page->cobMaskColor.Text(), "#C0C0C0");
  EXPECT_FALSE(page->Modified());
  Select("mnuExit");
  EXPECT_FALSE(page->fraControls.Visible());
  EXPECT_EQ(page->CurrentEntryIndex(), 0);

  if (const char* shots = std::getenv("TAVRINEL_SHOT_DIR")) {
    Select("mnuLesson:3");
    dialog->ShowPage(0);
    win::SaveWindowPng(page->hWnd(), std::string(shots) + "/icon_page.png");
    dialog->ShowPage(1);
    win::SaveWindowPng(dialog->Page(1).hWnd(), std::string(shots) + "/icon_font_page.png");
  }
}

TEST_F(PageTest, PressingTheMouseOnALineShowsItsEntry) {
  Host();
  control->list.Add(Entry("#mnuLesson:3", 0xC0C0C0));
  Open();
  auto* list = qobject_cast<QListWidget*>(page->lstMenus.Widget());
  ASSERT_NE(list, nullptr);
  const auto press = [&](const std::string& key) {
    QListWidgetItem* line = list->item(LineOf(key));
    ASSERT_NE(line, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(line).center());
  };
  press("mnuLesson:3");
  EXPECT_EQ(page->lstMenus.ListIndex(), LineOf("mnuLesson:3"));
  EXPECT_TRUE(page->fraControls.Visible());
  EXPECT_EQ(page->CurrentEntryIndex(), 1);
  EXPECT_EQ(page->cobMenus.Text(), "mnuLesson:3");
  EXPECT_EQ(page->cobMaskColor.Text(), "#C0C0C0");
  EXPECT_FALSE(page->Modified()) << "showing an entry is no edit";

  press("mnuExit");
  EXPECT_EQ(page->lstMenus.ListIndex(), LineOf("mnuExit"));
  EXPECT_FALSE(page->fraControls.Visible()) << "a menu without an entry";
  EXPECT_EQ(page->CurrentEntryIndex(), 0);

  // The add button, pressed with the mouse, gives the pressed line its entry.
  QTest::mouseClick(page->cmdAdd.Widget(), Qt::LeftButton);
  ASSERT_EQ(page->WorkingBitmapList().Count(), 2);
  EXPECT_EQ(page->WorkingBitmapList().Item(2).Key, "#mnuExit");
  EXPECT_TRUE(page->fraControls.Visible());
  EXPECT_EQ(page->lstMenus.List(LineOf("mnuExit")), "*\tE&xit\tmnuExit");
}

TEST_F(PageTest, TheKeyOfALongCaptionIsShownWhole) {
  // The word trainer's menus: more lines than the list shows at once (so it
  // has its scroll bar), and captions that run past the second tab stop.
  Host(":/test/forms/WordMenuHost.json");
  Open();
  dialog->ShowPage(0);
  auto* list = qobject_cast<QListWidget*>(page->lstMenus.Widget());
  ASSERT_NE(list, nullptr);
  const QImage shot = list->viewport()->grab().toImage();
  for (const char* key : {"amewords", "managewords"}) {
    const QRect line = list->visualItemRect(list->item(LineOf(key)));
    int rightmostInk = -1;
    for (int y = std::max(0, line.top()); y <= line.bottom() && y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (qGray(shot.pixel(x, y)) < 128) rightmostInk = std::max(rightmostInk, x);
    ASSERT_GT(rightmostInk, line.left()) << key;
    EXPECT_LT(rightmostInk, shot.width() - 3) << key << ": the key ends inside the list";
  }
}

TEST_F(PageTest, AHostWithoutMenuItemsShowsAnEmptyList) {
  Host(":/test/forms/BareHost.json");
  Open();
  EXPECT_EQ(page->lstMenus.ListCount(), 0);
  EXPECT_FALSE(page->fraControls.Visible());
  EXPECT_EQ(page->labNum.Caption(), "0 icon(s)");
  EXPECT_EQ(page->cobMenus.ListCount(), 0);
  page->cmdAdd.Click();  // nothing selected: nothing to add to
  page->cmdRemove.Click();
  EXPECT_EQ(page->WorkingBitmapList().Count(), 0);
  EXPECT_FALSE(page->Modified());
}

TEST_F(PageTest, AddingGivesAMenuAnEntryOnceAndRemovingTakesItAway) {
  Host();
  control->list.Add(Entry("#mnuOpen", 0xC0C0C0));
  Open();
  Select("mnuOpen");
  page->cmdAdd.Click();
  EXPECT_EQ(page->WorkingBitmapList().Count(), 1) << "a menu with an entry keeps it";
  EXPECT_EQ(page->WorkingBitmapList().Item(1).MaskColor, 0xC0C0C0u);
  EXPECT_FALSE(page->Modified());

  Select("mnuLesson:0");
  page->cmdAdd.Click();
  ASSERT_EQ(page->WorkingBitmapList().Count(), 2);
  const BitmapEntry& added = page->WorkingBitmapList().Item(2);
  EXPECT_EQ(added.Key, "#mnuLesson:0");
  EXPECT_EQ(added.MaskColor, 0xFF00FFu);
  EXPECT_FALSE(added.Picture);
  EXPECT_TRUE(page->fraControls.Visible());
  EXPECT_EQ(page->CurrentEntryIndex(), 2);
  EXPECT_EQ(page->lstMenus.List(LineOf("mnuLesson:0")), "*\tLesson &1\tmnuLesson:0");
  EXPECT_EQ(page->labNum.Caption(), "2 icon(s)");
  EXPECT_TRUE(page->Modified());
  EXPECT_TRUE(dialog->ApplyEnabled());
  EXPECT_EQ(control->list.Count(), 1) << "the control's list waits for apply";

  Select("mnuOpen");
  page->cmdRemove.Click();
  ASSERT_EQ(page->WorkingBitmapList().Count(), 1);
  EXPECT_EQ(page->WorkingBitmapList().Item(1).Key, "#mnuLesson:0");
  EXPECT_FALSE(page->fraControls.Visible());
  EXPECT_EQ(page->CurrentEntryIndex(), 0);
  EXPECT_EQ(page->labNum.Caption(), "1 icon(s)");

  page->cmdClear.Click();
  EXPECT_EQ(page->WorkingBitmapList().Count(), 0);
  EXPECT_EQ(page->labNum.Caption(), "0 icon(s)");
  dialog->Press(com::PropertyPageDialog::Button::Cancel);
  EXPECT_EQ(control->list.Count(), 1) << "leaving without apply changes nothing";
  EXPECT_EQ(control->listsSet, 0);
}

TEST_F(PageTest, ApplyHandsTheWorkingCopyBackAndTakesAFreshOne) {
  Open();
  Select("mnuExit");
  page->cmdAdd.Click();
  page->cobMaskColor.Text("#C0C0C0 - 灰色");
  dialog->Press(com::PropertyPageDialog::Button::Apply);
  EXPECT_EQ(control->listsSet, 1);
  ASSERT_EQ(control->list.Count(), 1);
  EXPECT_EQ(control->list.Item(1).Key, "#mnuExit");
  EXPECT_EQ(control->list.Item(1).MaskColor, 0xC0C0C0u) << "the shown entry is committed first";
  EXPECT_FALSE(dialog->ApplyEnabled());
  EXPECT_EQ(page->cobMaskColor.Text(), "#C0C0C0");

  // The page goes on with its own copy: edits stay there until the next apply.
  page->cmdClear.Click();
  EXPECT_EQ(control->list.Count(), 1);
  dialog->Press(com::PropertyPageDialog::Button::Ok);
  EXPECT_EQ(control->list.Count(), 0);
  EXPECT_FALSE(dialog->IsOpen());
}

TEST_F(PageTest, GeneralOptionsReachTheControlAtEveryCommit) {
  Open();
  page->chkDisabled.Value(0);
  page->chkUseSystemFont.Value(0);
  page->cobSize.Text("28 pixels");
  EXPECT_TRUE(page->Modified());
  EXPECT_TRUE(control->selectDisabled) << "not before a commit";
  Select("mnuOpen");
  EXPECT_FALSE(control->selectDisabled);
  EXPECT_FALSE(control->useSystemFont);
  EXPECT_EQ(control->bitmapSize, 28);
  EXPECT_EQ(page->cobSize.Text(), "28") << "shown again as the control has it";
  EXPECT_FALSE(page->Modified());
  EXPECT_TRUE(page->Changed()) << "clearing Modified leaves the page changed";

  page->cobSize.Text("big");
  Select("mnuExit");
  EXPECT_EQ(control->bitmapSize, 0) << "a size without a number";
  EXPECT_EQ(control->listsSet, 0);
}

TEST_F(PageTest, OpeningAPictureTakesItsLowerLeftPixelAsTheMask) {
  const std::string file = WritePicture("icon.png", 0x336699, 0x00FFFF);
  std::vector<forms::testing::FileDialogQuestion> asked;
  forms::testing::AnswerFileDialogs([&](const forms::testing::FileDialogQuestion& q) {
    asked.push_back(q);
    return std::optional<std::string>(file);
  });
  Open();
  Select("mnuOpen");
  page->cmdAdd.Click();
  page->Modified(false);
  page->cmdOpen.Click();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].title, "选择一个图片文件");
  ASSERT_EQ(asked[0].filters.size(), 1u);
  EXPECT_EQ(asked[0].filters[0], "*.* (*.*)");
  EXPECT_EQ(asked[0].folder, std::filesystem::current_path().string());
  EXPECT_EQ(page->cobMaskColor.Text(), "#FFFF");
  EXPECT_EQ(page->imgBmp.Picture().PixelWidth(), 20);
  EXPECT_EQ(page->imgBmp.Left(),
            static_cast<float>(forms::CLng(page->picBmp.ScaleWidth() - 20) / 2));
  EXPECT_TRUE(page->Modified());

  dialog->Press(com::PropertyPageDialog::Button::Apply);
  ASSERT_EQ(control->list.Count(), 1);
  EXPECT_EQ(control->list.Item(1).MaskColor, 0xFFFFu) << "#FFFF reads back as &HFFFF";
  EXPECT_EQ(control->list.Item(1).Picture.PixelHeight(), 12);
}

TEST_F(PageTest, CancellingTheFileDialogLeavesModifiedAsItWas) {
  Host();
  int asked = 0;
  forms::testing::AnswerFileDialogs([&](const forms::testing::FileDialogQuestion&) {
    ++asked;
    return std::optional<std::string>();
  });
  const forms::Picture stored = forms::LoadPicture(WritePicture("stored.png", 0x123456, 0));
  control->list.Add(Entry("#mnuOpen", 0xFF00FF, stored));
  Open();
  Select("mnuOpen");
  ASSERT_TRUE(page->imgBmp.Picture());
  page->cmdOpen.Click();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(page->Modified());
  EXPECT_FALSE(page->imgBmp.Picture()) << "the preview is empty";
  EXPECT_FALSE(dialog->ApplyEnabled());
  EXPECT_EQ(page->WorkingBitmapList().Item(1).Picture, stored) << "the entry keeps its picture";

  page->cobMaskColor.Text("#C0C0C0");
  page->cmdOpen.Click();
  EXPECT_TRUE(page->Modified()) << "and an edit stays pending";

  // A file that is no picture ends the same way, without a message.
  const std::string junk =
      (std::filesystem::path(::testing::TempDir()) / "page_bitmaps_junk.png").string();
  {
    std::FILE* f = std::fopen(junk.c_str(), "w");
    std::fputs("not a picture", f);
    std::fclose(f);
  }
  forms::testing::AnswerFileDialogs(
      [&](const forms::testing::FileDialogQuestion&) { return std::optional<std::string>(junk); });
  int messages = 0;
  forms::SetMessageBoxPresenter([&](std::string_view, int, std::string_view) {
    ++messages;
    return forms::vbOK;
  });
  page->cmdOpen.Click();
  EXPECT_EQ(messages, 0);
  EXPECT_FALSE(page->imgBmp.Picture());
}

TEST(OpenFileDialog, CancelRaisesTheCancelError) {
  forms::testing::AnswerFileDialogs(
      [](const forms::testing::FileDialogQuestion&) { return std::optional<std::string>(); });
  try {
    ShowOpenDialog(win::HWND(), "Pictures|*.bmp;*.png|All|*.*", "", "", "t");
    ADD_FAILURE() << "no error";
  } catch (const forms::RuntimeError& e) {
    EXPECT_EQ(e.Number(), 32755);
    EXPECT_STREQ(e.what(), "Cancel was pressed");
  }
  std::vector<std::string> filters;
  std::string initial;
  forms::testing::AnswerFileDialogs([&](const forms::testing::FileDialogQuestion& q) {
    filters = q.filters;
    initial = q.fileName;
    return std::optional<std::string>("  /tmp/some file.png ");
  });
  EXPECT_EQ(ShowOpenDialog(win::HWND(), "Pictures|*.bmp;*.png|All|*.*", "start.png", "png", "t"),
            "/tmp/some file.png");
  EXPECT_EQ(filters, (std::vector<std::string>{"Pictures (*.bmp *.png)", "All (*.*)"}));
  EXPECT_EQ(initial, "start.png");
  forms::testing::AnswerFileDialogs({});
}

TEST_F(PageTest, RetargetingAtAMenuThatHasAnEntryIsRefusedAndKeepsBoth) {
  Host();
  control->list.Add(Entry("#mnuOpen", 0xC0C0C0));
  control->list.Add(Entry("#mnuExit", 0x00FF00));
  std::vector<std::string> messages;
  forms::SetMessageBoxPresenter([&](std::string_view prompt, int, std::string_view) {
    messages.emplace_back(prompt);
    return forms::vbOK;
  });
  Open();
  Select("mnuOpen");
  page->cobMenus.Text("mnuExit (E&xit)");
  page->cobMaskColor.Text("#0");
  EXPECT_TRUE(page->Modified());
  Select("mnuFile");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("菜单项 mnuExit 已经有图标"), std::string::npos)
      << "in the page's language: " << messages[0];
  EXPECT_NE(messages[0].find("mnuOpen 的图标保持不变"), std::string::npos) << messages[0];
  const BitmapList& list = page->WorkingBitmapList();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1).Key, "#mnuOpen");
  EXPECT_EQ(list.Item(1).MaskColor, 0xC0C0C0u);
  EXPECT_EQ(list.Item(2).Key, "#mnuExit");
  EXPECT_EQ(list.Item(2).MaskColor, 0x00FF00u);
  EXPECT_EQ(page->labNum.Caption(), "2 icon(s)");

  // Case does not make another key.
  Select("mnuOpen");
  page->cobMenus.Text("MNUEXIT");
  Select("mnuFile");
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(list.Item(1).Key, "#mnuOpen");

  // A menu without an entry takes it, in the same place of the list.
  Select("mnuOpen");
  page->cobMenus.Text("mnuLesson:0 (Lesson &1)");
  Select("mnuFile");
  EXPECT_EQ(messages.size(), 2u);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1).Key, "#mnuLesson:0");
  EXPECT_EQ(list.Item(1).MaskColor, 0xC0C0C0u);
  EXPECT_EQ(page->lstMenus.List(LineOf("mnuOpen")), "\t&Open\\tCtrl+O\tmnuOpen");
  EXPECT_EQ(page->lstMenus.List(LineOf("mnuLesson:0")), "*\tLesson &1\tmnuLesson:0");
}

TEST_F(PageTest, APreviewLargerThanItsBoxPansButAlwaysCoversIt) {
  Host();
  const forms::Picture big = forms::LoadPicture(WritePicture("big.png", 0x00FF00, 0, 100, 90));
  control->list.Add(Entry("#mnuOpen", 0xFF00FF, big));
  Open();
  Select("mnuOpen");
  auto& image = page->imgBmp;
  const float boxWidth = page->picBmp.ScaleWidth();
  const float boxHeight = page->picBmp.ScaleHeight();
  ASSERT_LT(boxWidth, 100);
  EXPECT_EQ(image.Left(), static_cast<float>(forms::CLng(boxWidth - 100) / 2)) << "centred";

  // Dragged right and down: a gap would show at the left and top.
  page->imgBmp_MouseDown(1, 0, 10, 10);
  page->imgBmp_MouseMove(1, 0, 30, 25);
  EXPECT_EQ(image.Left(), static_cast<float>(forms::CLng(boxWidth - 100) / 2) + 20);
  page->imgBmp_MouseUp(1, 0, 30, 25);
  EXPECT_EQ(image.Left(), 0);
  EXPECT_EQ(image.Top(), 0);

  // Dragged far left and up: the right and bottom edges stop at the box's.
  page->imgBmp_MouseDown(1, 0, 50, 50);
  page->imgBmp_MouseUp(1, 0, -150, -150);
  EXPECT_EQ(image.Left(), boxWidth - 100);
  EXPECT_EQ(image.Top(), boxHeight - 90);

  // Moves without a press move nothing.
  page->imgBmp_MouseMove(0, 0, 40, 40);
  EXPECT_EQ(image.Left(), boxWidth - 100);
  EXPECT_FALSE(page->Modified()) << "panning is no edit";
}

TEST_F(PageTest, SelectingTheSameControlAgainKeepsTheWorkingCopy) {
  Open();
  Select("mnuExit");
  page->cmdAdd.Click();
  page->SelectedControls({control});
  EXPECT_EQ(page->WorkingBitmapList().Count(), 1);
  page->SelectedControls({});
  EXPECT_EQ(page->WorkingBitmapList().Count(), 0) << "no control: nothing to edit";
  EXPECT_EQ(page->lstMenus.ListCount(), 0);
  page->SelectedControls({control});
  EXPECT_EQ(page->WorkingBitmapList().Count(), 0) << "a fresh copy of the control's list";
  EXPECT_EQ(page->lstMenus.ListCount(), 6);
}

TEST_F(PageTest, APressOnAnotherMenuLineKeepsTheNewIconWhileTheListIsRefilled) {
  const std::string file = WritePicture("pressed.png", 0x336699, 0xC0C0C0);
  forms::testing::AnswerFileDialogs(
      [&](const forms::testing::FileDialogQuestion&) { return std::optional<std::string>(file); });
  Open();
  Select("mnuOpen");
  page->cmdAdd.Click();
  page->cmdOpen.Click();
  ASSERT_TRUE(page->Modified());
  // The user presses another line: its click commits the icon and refills
  // the list while the press is still being handled.
  auto* list = qobject_cast<QListWidget*>(page->lstMenus.Widget());
  ASSERT_NE(list, nullptr);
  const int other = LineOf("mnuExit");
  const QPointF at = list->visualItemRect(list->item(other)).center();
  for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &e);
  }
  EXPECT_EQ(page->lstMenus.ListIndex(), other);
  ASSERT_EQ(page->WorkingBitmapList().Count(), 1);
  EXPECT_EQ(page->WorkingBitmapList().Item(1).Picture.PixelWidth(), 20) << "the icon is kept";
  EXPECT_FALSE(page->fraControls.Visible()) << "the pressed line has no icon";
}
