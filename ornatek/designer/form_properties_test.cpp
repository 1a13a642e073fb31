// The design-time host: finding the menu control in a form description,
// its stored properties under the control's keys, and a session that writes
// what the pages applied back into the file, leaving the rest as it was.

#include <gtest/gtest.h>
#include <QColor>
#include <QImage>

#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bag_menu_host.h"
#include "design_session.h"
#include "form_file.h"
#include "forms/app.h"
#include "forms/controls.h"
#include "forms/file_dialog.h"
#include "forms/form.h"
#include "forms/ole.h"
#include "mem_dc.h"
#include "page_bitmaps.h"
#include "win/gdi.h"

using namespace formprops;

namespace {

namespace fs = std::filesystem;

// A trainer-like form: menus, other controls, and the menu control inside a
// picture box, with what a trainer's file holds around it.
constexpr const char* kTrainerForm = R"({
  "Form": "Form2",
  "Properties": { "Caption": "menus", "Width": 3000, "Height": 2000 },
  "Controls": [
    { "Type": "Timer", "Name": "Timer1", "Properties": { "Interval": 100 } },
    { "Type": "PictureBox", "Name": "picHolder", "Properties": { "Left": 0, "Top": 0, "Width": 600, "Height": 600 },
      "Controls": [
        { "Type": "Ornatek.VIroDazu", "Name": "VIroDazu1", "Properties": { "Left": 0, "Top": 0, "Width": 480, "Height": 480 },
          "Bag": { "BmpCount": 1, "Key:1": "#mnuExit", "Mask:1": 12632256, "BitmapSize": 20 } }
      ] },
    { "Type": "Menu", "Name": "mnuPop", "Properties": { "Caption": "pop", "Visible": false },
      "Controls": [
        { "Type": "Menu", "Name": "mnuSettings", "Properties": { "Caption": "&Settings...\tCtrl+S" } },
        { "Type": "Menu", "Name": "mnuLine", "Index": 0, "Properties": { "Caption": "-" } },
        { "Type": "Menu", "Name": "mnuExit", "Properties": { "Caption": "E&xit" } }
      ] }
  ]
}
)";

class TempFolder {
 public:
  // Tests run side by side in processes of their own: each takes a folder
  // named after itself.
  TempFolder()
      : path_(fs::path(::testing::TempDir()) /
              ("formprops_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return (path_ / name).string();
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string WritePicture(const TempFolder& folder, win::COLORREF fill, win::COLORREF lowerLeft) {
  const std::string path = (folder.path() / "icon.png").string();
  ornatek::cMemDC surface;
  surface.Init(16, 16);
  surface.Cls(fill);
  surface.SetPixel(0, 15, lowerLeft);
  EXPECT_TRUE(win::SaveBitmapPng(win::HBITMAP(surface.Image().Handle()), path));
  return path;
}

// The forms runtime's own view of a whole file, as a program loads it.
class WholeForm : public forms::Form {
 public:
  using Form::Form;
};

}  // namespace

TEST(FormFile, FindsTheMenuControlAndTheFormsMenus) {
  TempFolder folder;
  std::string error;
  const auto file = FormFile::Open(folder.Write("Form2.json", kTrainerForm), error);
  ASSERT_TRUE(file) << error;
  EXPECT_EQ(file->FormName(), "Form2");
  EXPECT_EQ(file->ControlName(), "VIroDazu1");
  const std::string design = file->DesignDescription();
  EXPECT_NE(design.find("\"mnuSettings\""), std::string::npos);
  EXPECT_NE(design.find("\"Mask:1\": 12632256"), std::string::npos) << "the stored bag goes along";
  EXPECT_EQ(design.find("Timer1"), std::string::npos) << "other controls stay out";
}

TEST(FormFile, FilesThatCannotBeEditedSayWhy) {
  TempFolder folder;
  std::string error;
  const std::string missing = (folder.path() / "nowhere.json").string();
  EXPECT_FALSE(FormFile::Open(missing, error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;

  const std::string damaged =
      folder.Write("damaged.json", R"({ "Form": "F", "Controls": [ { "Type": )");
  EXPECT_FALSE(FormFile::Open(damaged, error));
  EXPECT_NE(error.find(damaged), std::string::npos) << error;
  EXPECT_NE(error.find("not a well-formed JSON object"), std::string::npos) << error;

  const std::string plain = folder.Write(
      "plain.json", R"({ "Form": "F", "Controls": [ { "Type": "Label", "Name": "L" } ] })");
  EXPECT_FALSE(FormFile::Open(plain, error));
  EXPECT_NE(error.find("carries no menu control"), std::string::npos) << error;
  EXPECT_NE(error.find(plain), std::string::npos) << error;

  EXPECT_FALSE(FormFile::FromText(
      "nameless.json", R"({ "Form": "F", "Controls": [ { "Type": "Ornatek.VIroDazu" } ] })",
      error));
  EXPECT_NE(error.find("has no name"), std::string::npos) << error;
  EXPECT_FALSE(FormFile::FromText("list.json", "[1, 2]", error));
  EXPECT_FALSE(
      FormFile::FromText("text.json", R"({ "Form": "F", "Controls": [] } trailing)", error));
}

TEST(FormFile, ABagReplacesOnlyTheStoredPropertiesOfTheControl) {
  std::string error;
  const auto file = FormFile::FromText("Form2.json", kTrainerForm, error);
  ASSERT_TRUE(file) << error;
  forms::PropertyBag bag;
  bag.WriteProperty("BmpCount", 0);
  bag.WriteProperty("Key:1", std::string("#with \"quotes\""));
  const std::string text = file->TextWithBag(bag);
  const std::string original = kTrainerForm;
  const std::size_t bagAt = original.find("\"Bag\": ") + 7;
  EXPECT_EQ(text.substr(0, bagAt), original.substr(0, bagAt));
  const std::size_t tail = original.find("\n      ] },");
  EXPECT_TRUE(text.ends_with(original.substr(tail)));
  const auto again = FormFile::FromText("Form2.json", text, error);
  ASSERT_TRUE(again) << error << "\n" << text;
  EXPECT_NE(text.find("\"Key:1\": \"#with \\\"quotes\\\"\""), std::string::npos) << text;

  // A control that has no stored properties yet gets them.
  const auto bare = FormFile::FromText(
      "bare.json",
      R"({ "Form": "F", "Controls": [ { "Type": "Ornatek.VIroDazu", "Name": "V" } ] })", error);
  ASSERT_TRUE(bare) << error;
  const auto withBag = FormFile::FromText("bare.json", bare->TextWithBag(bag), error);
  ASSERT_TRUE(withBag) << error;
  EXPECT_NE(withBag->DesignDescription().find("\"BmpCount\": 0"), std::string::npos);
}

TEST(BagMenuHost, StoresItsPropertiesUnderTheControlsKeys) {
  RegisterDesignControl();
  std::string error;
  TempFolder folder;
  const std::string path = folder.Write(
      "F.json", R"({ "Form": "F", "Controls": [ { "Type": "Ornatek.VIroDazu", "Name": "V" } ] })");
  {
    auto session = DesignSession::Open(path, error);
    ASSERT_TRUE(session) << error;
    session->Form().Load();
    const forms::PropertyBag fresh = session->Control().WriteProperties();
    EXPECT_EQ(fresh.Names(), std::vector<std::string>{"BmpCount"})
        << "a new instance stores only its count; the rest are defaults";
    EXPECT_EQ(fresh.ReadProperty("BmpCount").ToLong(), 0);
  }

  // Pictures, masks, keys, options and the font come back as written; an
  // icon as an icon, a bitmap as a bitmap.
  const forms::Picture bitmap = forms::LoadPicture(WritePicture(folder, 0x0000FF, 0));
  ornatek::cMemDC surface;
  surface.Init(16, 16);
  surface.Cls(0x00FF00);
  const auto iconObject = surface.ExtractIcon(0xFF00FF);
  forms::Picture icon;
  {
    forms::PICTDESC desc;
    desc.picType = forms::PICTYPE_ICON;
    desc.hicon = iconObject.Icon();
    forms::OleCreatePictureIndirect(&desc, win::FALSE, &icon);
  }
  ASSERT_EQ(icon.Type(), forms::Picture::Kind::Icon);

  forms::PropertyBag bag;
  bag.WriteProperty("SelectDisabled", false);
  bag.WriteProperty("BmpCount", 4);
  bag.WriteProperty("Bmp:1", bitmap);
  bag.WriteProperty("Mask:1", 0xC0C0C0);
  bag.WriteProperty("Key:1", "#mnuA");
  bag.WriteProperty("Bmp:2", StoredPicture(icon));
  bag.WriteProperty("Key:2", "#mnuB:3");
  bag.WriteProperty("Key:3", "#MNUA");  // taken (keys ignore case): left out
  forms::Font bold = DefaultMenuFont();
  bold.Bold = true;
  bag.WriteProperty("Font", bold);
  const forms::Value iconValue = bag.ReadProperty("Bmp:2");
  EXPECT_TRUE(iconValue.IsByteArray()) << "an icon is kept as its two bitmaps";

  // Stored in the file as a form keeps it, and read by a new session.
  const auto blank = FormFile::Open(path, error);
  ASSERT_TRUE(blank) << error;
  const std::string stored = folder.Write("Stored.json", blank->TextWithBag(bag));
  auto session = DesignSession::Open(stored, error);
  ASSERT_TRUE(session) << error;
  session->Form().Load();
  BagMenuHost& host = session->Control();
  const ornatek::BitmapList list = host.GetBitmapList();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(1).Key, "#mnuA");
  EXPECT_EQ(list.Item(1).MaskColor, 0xC0C0C0u);
  EXPECT_EQ(list.Item(1).Picture.Type(), forms::Picture::Kind::Bitmap);
  EXPECT_EQ(list.Item(2).Key, "#mnuB:3");
  EXPECT_EQ(list.Item(2).MaskColor, 0u) << "a mask that was not stored is 0";
  EXPECT_EQ(list.Item(2).Picture.Type(), forms::Picture::Kind::Icon);
  EXPECT_EQ(list.Item(2).Picture.Image().pixelColor(8, 8), QColor(0, 255, 0));
  EXPECT_EQ(list.Item(3).Key, "#4") << "a key that was not stored";
  EXPECT_FALSE(list.Item(3).Picture);
  EXPECT_FALSE(host.SelectDisabled());
  EXPECT_EQ(host.BitmapSize(), 16);
  EXPECT_TRUE(host.FontObject()->Bold());

  const forms::PropertyBag written = host.WriteProperties();
  EXPECT_EQ(written.Names(),
            (std::vector<std::string>{"SelectDisabled", "BmpCount", "Bmp:1", "Mask:1", "Key:1",
                                      "Bmp:2", "Key:2", "Key:3", "Font"}));
  EXPECT_EQ(written.ReadProperty("BmpCount").ToLong(), 3);
  EXPECT_TRUE(written.ReadProperty("Bmp:2").IsByteArray());
  EXPECT_EQ(PictureFromStored(written.ReadProperty("Bmp:2")).Type(), forms::Picture::Kind::Icon);
}

class SessionTest : public ::testing::Test {
 protected:
  void TearDown() override {
    forms::testing::AnswerFileDialogs({});
    forms::SetMessageBoxPresenter({});
  }
  // A session over the file with its form loaded; null (and a failure) when
  // the file cannot be edited.
  std::unique_ptr<DesignSession> Start(const std::string& path) {
    std::string error;
    auto session = DesignSession::Open(path, error);
    EXPECT_TRUE(session) << error;
    if (session) session->Form().Load();
    return session;
  }
  // Its page dialog, open.
  static com::PropertyPageDialog& Pages(DesignSession& session) {
    session.Dialog().Open();
    return session.Dialog();
  }
  static ornatek::pagBitmaps& IconPage(DesignSession& session) {
    return dynamic_cast<ornatek::pagBitmaps&>(session.Dialog().Page(0));
  }
  TempFolder folder;
};

TEST_F(SessionTest, ApplyWritesTheNewIconIntoTheFileAndTheFormLoadsIt) {
  const std::string path = folder.Write("Form2.json", kTrainerForm);
  const std::string picture = WritePicture(folder, 0x336699, 0xC0C0C0);
  forms::testing::AnswerFileDialogs([&](const forms::testing::FileDialogQuestion&) {
    return std::optional<std::string>(picture);
  });
  auto session = Start(path);
  ASSERT_TRUE(session);
  auto& dialog = Pages(*session);
  auto& page = IconPage(*session);
  ASSERT_EQ(page.lstMenus.ListCount(), 4) << "the form's real menu items";
  EXPECT_EQ(page.lstMenus.List(1), "\t&Settings...\\tCtrl+S\tmnuSettings");
  EXPECT_EQ(page.lstMenus.List(3), "*\tE&xit\tmnuExit");
  EXPECT_EQ(page.cobSize.Text(), "20");

  page.lstMenus.ListIndex(1);
  page.cmdAdd.Click();
  page.cmdOpen.Click();
  EXPECT_EQ(page.cobMaskColor.Text(), "#C0C0C0");
  dialog.Press(com::PropertyPageDialog::Button::Apply);

  const std::string text = Read(path);
  const std::string original = kTrainerForm;
  EXPECT_EQ(text.substr(0, original.find("\"Bag\"")), original.substr(0, original.find("\"Bag\"")))
      << "the file before the control's bag is as it was";
  std::string error;
  ASSERT_TRUE(FormFile::FromText(path, text, error)) << error;

  // A program that loads the file finds the new icon under the new key.
  WholeForm loaded(path);
  loaded.Load();
  auto& control = loaded.Get<BagMenuHost>("VIroDazu1");
  const ornatek::BitmapList list = control.GetBitmapList();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1).Key, "#mnuExit");
  EXPECT_EQ(list.Item(1).MaskColor, 0xC0C0C0u);
  EXPECT_EQ(list.Item(2).Key, "#mnuSettings");
  EXPECT_EQ(list.Item(2).MaskColor, 0xC0C0C0u);
  ASSERT_TRUE(list.Item(2).Picture);
  EXPECT_EQ(list.Item(2).Picture.PixelWidth(), 16);
  EXPECT_EQ(list.Item(2).Picture.Image().pixelColor(5, 5), QColor(0x99, 0x66, 0x33));
  EXPECT_EQ(control.BitmapSize(), 20);
  forms::Unload(loaded);
}

TEST_F(SessionTest, CancelWritesNothingAndOkWritesTheFont) {
  const std::string path = folder.Write("Form2.json", kTrainerForm);
  auto session = Start(path);
  ASSERT_TRUE(session);
  auto& dialog = Pages(*session);
  IconPage(*session).cmdClear.Click();
  dialog.Press(com::PropertyPageDialog::Button::Cancel);
  EXPECT_EQ(Read(path), kTrainerForm);

  auto again = Start(path);
  ASSERT_TRUE(again);
  auto& second = Pages(*again);
  second.Page(1).Get<forms::CheckBox>("chkBold").Value(1);
  second.Press(com::PropertyPageDialog::Button::Ok);
  std::string error;
  auto written = FormFile::Open(path, error);
  ASSERT_TRUE(written) << error;
  EXPECT_NE(written->DesignDescription().find("\"Bold\":true"), std::string::npos);
  EXPECT_NE(written->DesignDescription().find("\"Key:1\": \"#mnuExit\""), std::string::npos);
}

TEST_F(SessionTest, AFileChangesOnlyWhereAValueWasChanged) {
  // The font as the trainers' files hold it: only what differs from a plain font.
  std::string form = kTrainerForm;
  const std::string stored = R"("BitmapSize": 20 })";
  const std::string font = R"("Font": { "Name": "Tahoma", "Size": 8.25 })";
  form.replace(form.find(stored), stored.size(), R"("BitmapSize": 20, )" + font + " }");
  const std::string path = folder.Write("Form2.json", form);
  {
    auto session = Start(path);
    ASSERT_TRUE(session);
    Pages(*session).Press(com::PropertyPageDialog::Button::Ok);
  }
  EXPECT_EQ(Read(path), form) << "nothing was changed: the file is as it was";

  auto session = Start(path);
  ASSERT_TRUE(session);
  auto& dialog = Pages(*session);
  IconPage(*session).chkDisabled.Value(0);
  dialog.Press(com::PropertyPageDialog::Button::Ok);
  const std::string text = Read(path);
  EXPECT_NE(text.find("\"SelectDisabled\": false"), std::string::npos) << text;
  EXPECT_NE(text.find(font), std::string::npos) << "the unchanged font keeps its form:\n" << text;
  EXPECT_NE(text.find("\"Mask:1\": 12632256"), std::string::npos) << text;
}

TEST_F(SessionTest, AFileThatCannotBeWrittenIsReportedAndLeftWhole) {
  const std::string path = folder.Write("Form2.json", kTrainerForm);
  auto session = Start(path);
  ASSERT_TRUE(session);
  std::vector<std::string> messages;
  forms::SetMessageBoxPresenter([&](std::string_view prompt, int, std::string_view) {
    messages.emplace_back(prompt);
    return forms::vbOK;
  });
  // The file's place turns into a folder: nothing can be renamed over it.
  fs::remove(path);
  fs::create_directories(fs::path(path) / "inside");
  EXPECT_FALSE(session->Save());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(path), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("left as it was"), std::string::npos) << messages[0];
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_FALSE(fs::exists(path + ".saving"));
}

TEST(FormPropertiesProgram, HelpAndWrongArgumentsAreAnsweredOnTheTerminalWithoutAWindow) {
  TempFolder folder;
  const std::string out = (folder.path() / "out.txt").string();
  const std::string form = folder.Write("Form2.json", kTrainerForm);
  // No window system at all: a program that opened a window would fail.
  const auto run = [&](const std::string& args) {
    const std::string command = "QT_QPA_PLATFORM=no-such-platform timeout 20 " +
                                std::string(FORM_PROPERTIES) + " " + args + " >'" + out + "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("--help"), 0);
  EXPECT_NE(Read(out).find("usage: FormProperties [FILE]"), std::string::npos) << Read(out);
  EXPECT_EQ(run("-h"), 0);
  EXPECT_NE(Read(out).find("usage:"), std::string::npos) << Read(out);
  const std::vector<std::string> wrongs{"--verbose", "-x '" + form + "'",
                                        "'" + form + "' '" + form + "'"};
  for (const std::string& wrong : wrongs) {
    SCOPED_TRACE(wrong);
    EXPECT_EQ(run(wrong), 2);
    EXPECT_NE(Read(out).find("usage: FormProperties"), std::string::npos) << Read(out);
  }
  const std::string missing = (folder.path() / "missing.json").string();
  EXPECT_EQ(run("'" + missing + "'"), 2);
  EXPECT_NE(Read(out).find(missing + ": there is no such file"), std::string::npos) << Read(out);
  EXPECT_EQ(run("'" + folder.path().string() + "'"), 2);
  EXPECT_NE(Read(out).find("not a file"), std::string::npos) << Read(out);
  EXPECT_EQ(Read(form), kTrainerForm);
}
