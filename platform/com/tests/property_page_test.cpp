// Property pages in their dialog: selection, Changed, Apply, OK, Cancel, and
// the standard font page.

#include "com/property_page.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPixmap>
#include <cstdlib>

#include "forms/controls.h"
#include "forms/forms.h"

using namespace com;

namespace {

// A label that hands out its font as a font object.
class FontedLabel : public forms::Label, public IFontHolder {
 public:
  explicit FontedLabel(const forms::ControlSite& site)
      : Label(site), font_(forms::StdFont::Create({.Name = "Tahoma", .Size = 8})) {}
  std::shared_ptr<forms::StdFont> FontObject() override { return font_; }

 private:
  std::shared_ptr<forms::StdFont> font_;
};

struct Registration {
  Registration() { forms::RegisterControlType<FontedLabel>("FontedLabel"); }
} g_registration;

class PageHost : public forms::Form {
 public:
  PageHost() : Form(":/test/forms/PageHost.json") {}
};

// Edits the caption of the first selected label.
class NamePage : public PropertyPage {
 public:
  NamePage() : PropertyPage(":/test/forms/NamePage.json") {}
  int selectionChanges = 0;

 protected:
  void Form_Load() override {
    Get<forms::TextBox>("txtCaption").Change = [this] { Changed(true); };
  }
  void PropertyPage_SelectionChanged() override {
    ++selectionChanges;
    if (auto* l = Label()) Get<forms::TextBox>("txtCaption").Text(l->Caption());
  }
  void PropertyPage_ApplyChanges() override {
    if (auto* l = Label()) l->Caption(Get<forms::TextBox>("txtCaption").Text());
  }

 private:
  forms::Label* Label() const {
    return SelectedControls().empty() ? nullptr
                                      : dynamic_cast<forms::Label*>(SelectedControls()[0]);
  }
};

std::vector<std::unique_ptr<PropertyPage>> Pages(NamePage*& name) {
  std::vector<std::unique_ptr<PropertyPage>> pages;
  auto page = std::make_unique<NamePage>();
  name = page.get();
  pages.push_back(std::move(page));
  pages.push_back(MakeStandardFontPage());
  return pages;
}

}  // namespace

TEST(PropertyPages, ApplyOkAndCancel) {
  PageHost host;
  host.Load();
  auto& label = host.Get<forms::Label>("Label2");
  NamePage* page = nullptr;
  {
    PropertyPageDialog dialog("Label2 Properties", Pages(page), {&label});
    dialog.Open();
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_EQ(page->selectionChanges, 1);
    EXPECT_EQ(page->Get<forms::TextBox>("txtCaption").Text(), "second");
    EXPECT_FALSE(dialog.ApplyEnabled()) << "showing the values is no edit";
    page->Get<forms::TextBox>("txtCaption").Text("renamed");
    EXPECT_TRUE(page->Changed());
    EXPECT_TRUE(dialog.ApplyEnabled());
    EXPECT_EQ(label.Caption(), "second") << "nothing reaches the control before Apply";
    dialog.Press(PropertyPageDialog::Button::Apply);
    EXPECT_EQ(label.Caption(), "renamed");
    EXPECT_FALSE(dialog.ApplyEnabled());
    EXPECT_TRUE(dialog.IsOpen());
    page->Get<forms::TextBox>("txtCaption").Text("by OK");
    dialog.Press(PropertyPageDialog::Button::Ok);
    EXPECT_EQ(label.Caption(), "by OK");
    EXPECT_FALSE(dialog.IsOpen());
  }
  {
    PropertyPageDialog dialog("Label2 Properties", Pages(page), {&label});
    dialog.Open();
    page->Get<forms::TextBox>("txtCaption").Text("dropped");
    dialog.Press(PropertyPageDialog::Button::Cancel);
    EXPECT_EQ(label.Caption(), "by OK");
    EXPECT_FALSE(dialog.IsOpen());
  }
}

TEST(PropertyPages, TheFontPageEditsTheControlsOwnFontObject) {
  PageHost host;
  host.Load();
  auto& fonted = host.Get<FontedLabel>("Label1");
  const auto font = fonted.FontObject();
  std::vector<std::string> heard;
  auto sub = font->FontChanged([&](std::string_view p) { heard.emplace_back(p); });
  NamePage* page = nullptr;
  PropertyPageDialog dialog("Label1 Properties", Pages(page), {&fonted});
  dialog.Open();
  PropertyPage& fontPage = dialog.Page(1);
  EXPECT_EQ(fontPage.Caption(), "Font");
  EXPECT_EQ(fontPage.Get<forms::ComboBox>("cobName").Text(), "Tahoma");
  EXPECT_EQ(fontPage.Get<forms::ComboBox>("cobSize").Text(), "8");
  EXPECT_FALSE(dialog.ApplyEnabled());
  fontPage.Get<forms::CheckBox>("chkBold").Value(1);
  fontPage.Get<forms::ComboBox>("cobSize").Text("12");
  EXPECT_TRUE(dialog.ApplyEnabled());
  EXPECT_TRUE(heard.empty());
  if (const char* shot = std::getenv("TAVRINEL_SHOT_DIR")) {
    dialog.ShowPage(1);
    dialog.Dialog().adjustSize();
    dialog.Dialog().grab().save(QString(shot) + "/fontpage.png");
  }
  dialog.Press(PropertyPageDialog::Button::Ok);
  EXPECT_TRUE(font->Bold());
  EXPECT_DOUBLE_EQ(font->Size(), 12.0);
  EXPECT_EQ(font->Name(), "Tahoma");
  EXPECT_EQ(heard, (std::vector<std::string>{"Size", "Bold"}));
}

TEST(PropertyPages, TheFontPageWithoutAFontEditsNothing) {
  PageHost host;
  host.Load();
  auto& plain = host.Get<forms::Label>("Label2");
  NamePage* page = nullptr;
  PropertyPageDialog dialog("Label2 Properties", Pages(page), {&plain});
  dialog.Open();
  EXPECT_FALSE(dialog.Page(1).Get<forms::ComboBox>("cobName").Enabled());
  dialog.Page(1).Get<forms::CheckBox>("chkItalic").Value(1);
  dialog.Press(PropertyPageDialog::Button::Ok);  // nothing to write into, and no failure
  EXPECT_FALSE(dialog.IsOpen());
}
