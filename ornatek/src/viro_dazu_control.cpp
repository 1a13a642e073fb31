// The menu control as hosts and the icon page see it: properties, the
// picture list, the stored properties and the lifecycle.

#include "viro_dazu_control.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "builtin_icons.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/scale.h"
#include "frm_about.h"
#include "module_state.h"
#include "page_bitmaps.h"
#include "system_hook.h"

namespace ornatek {

namespace {

// The eight attributes in the order a font is copied: bold, character set,
// italic, name, size, strikethrough, underline, weight. Each change the
// target hears on its own.
void CopyFont(const forms::StdFont& from, forms::StdFont& to) {
  to.Bold(from.Bold());
  to.Charset(from.Charset());
  to.Italic(from.Italic());
  to.Name(from.Name());
  to.Size(from.Size());
  to.Strikethrough(from.Strikethrough());
  to.Underline(from.Underline());
  to.Weight(from.Weight());
}

// An icon is stored as a nested bag of its colour ("c") and mask ("m")
// bitmaps; any other picture as itself.
void WritePictureProperty(forms::PropertyBag& bag, const std::string& key,
                          const forms::Picture& picture) {
  if (picture && picture.Type() == forms::Picture::Kind::Icon) {
    win::ICONINFO info;
    if (!win::GetIconInfo(picture.Icon(), &info)) return;
    forms::PropertyBag nested;
    nested.WriteProperty("c", cMemDC::BitmapToPicture(info.hbmColor));
    nested.WriteProperty("m", cMemDC::BitmapToPicture(info.hbmMask));
    bag.WriteProperty(key, nested.Contents());
    return;
  }
  bag.WriteProperty(key, picture, forms::Picture());
}

forms::Picture ReadPictureProperty(const forms::PropertyBag& bag, const std::string& key) {
  const forms::Value value = bag.ReadProperty(key, forms::Picture());
  if (!value.IsByteArray()) return value.ToPicture();
  const forms::PropertyBag nested = forms::PropertyBag::FromContents(value.ToByteArray());
  const forms::Picture colour = nested.ReadProperty("c", forms::Picture()).ToPicture();
  const forms::Picture mask = nested.ReadProperty("m", forms::Picture()).ToPicture();
  win::ICONINFO info;
  info.fIcon = win::TRUE;
  info.hbmColor = colour.Bitmap();
  info.hbmMask = mask.Bitmap();
  return cMemDC::IconToPicture(win::CreateIconIndirect(&info));
}

}  // namespace

forms::Font DefaultFont() {
  forms::Font font;
  font.Name = "Tahoma";
  font.Size = 8;
  return font;
}

VIroDazu::VIroDazu(const forms::ControlSite& site)
    : UserControl(site, ":/forms/ornatek/VIroDazu.json") {
  for (auto& [index, image] : Array<forms::Image>("imgIcon"))
    image->Picture(DrawBuiltinIcon(index));
}

VIroDazu::~VIroDazu() = default;

void VIroDazu::UserControl_Initialize() {
  bitmaps_.Clear();
  font_ = forms::StdFont::Create();
  fontWatch_ = font_->FontChanged([this](std::string_view) { RefreshMetrics(); });
  auto& m = Module();
  m.MenuBorderColor = 0x666666;
  m.MenuBackColor = 0xF7F8F9;
  m.ImageColumnColor = 0xD1D8DB;
}

void VIroDazu::UserControl_InitProperties() {
  selectDisabled_ = true;
  Module().SharedBitmapSize = 16;
  useSystemFont_ = true;
  ApplyFont(DefaultFont());
  InitContainer();
}

void VIroDazu::UserControl_ReadProperties(forms::PropertyBag& bag) {
  // Each step that fails is skipped; reading goes on with the next.
  auto step = [](auto&& f) {
    try {
      f();
    } catch (const std::exception&) {
    }
  };
  step([&] {
    selectDisabled_ = bag.ReadProperty("SelectDisabled", true).ToBool();
    Module().SharedBitmapSize = bag.ReadProperty("BitmapSize", 16).ToLong();
  });
  long count = 0;
  step([&] { count = bag.ReadProperty("BmpCount", 0).ToLong(); });
  for (long i = 1; i <= count; ++i)
    step([&] {
      const std::string n = std::to_string(i);
      BitmapEntry entry;
      entry.Picture = ReadPictureProperty(bag, "Bmp:" + n);
      entry.MaskColor = static_cast<std::uint32_t>(bag.ReadProperty("Mask:" + n, 0).ToLong());
      entry.Key = bag.ReadProperty("Key:" + n, "#" + n).ToString();
      bitmaps_.Add(std::move(entry));
    });
  step([&] {
    useSystemFont_ = bag.ReadProperty("UseSystemFont", true).ToBool();
    ApplyFont(bag.ReadProperty("Font", DefaultFont()).ToFont());
  });
  step([&] { InitContainer(); });
}

void VIroDazu::UserControl_WriteProperties(forms::PropertyBag& bag) {
  bag.WriteProperty("SelectDisabled", selectDisabled_, true);
  bag.WriteProperty("BitmapSize", BitmapSize(), 16);
  bag.WriteProperty("BmpCount", bitmaps_.Count());
  for (long i = 1; i <= bitmaps_.Count(); ++i) {
    const std::string n = std::to_string(i);
    const BitmapEntry& entry = bitmaps_.Item(i);
    WritePictureProperty(bag, "Bmp:" + n, entry.Picture);
    bag.WriteProperty("Mask:" + n, static_cast<long>(entry.MaskColor), 0);
    bag.WriteProperty("Key:" + n, entry.Key, "#" + n);
  }
  bag.WriteProperty("UseSystemFont", useSystemFont_, true);
  bag.WriteProperty("Font", font_->Value(), DefaultFont());
}

void VIroDazu::UserControl_Resize() {
  // The control keeps its size, a square of the edge width and 32 pixels,
  // however its form or a designer sizes it.
  const auto side = static_cast<float>(edgeWidth_ + 32);
  const float width = GetContainer().ScaleX(side, forms::vbPixels, 0);
  const float height = GetContainer().ScaleY(side, forms::vbPixels, 0);
  if (Width() != width || Height() != height) Move(Left(), Top(), width, height);
}

void VIroDazu::UserControl_Terminate() {
  RestoreMenus();
  // One withdrawal for each window this control registered with the hook.
  for (std::size_t i = 0; i < boundWindows_.size(); ++i) MenuHookInstaller().UnInstallHook();
  boundWindows_.clear();
  subClassConnection_.Disconnect();
  subClass_.reset();
}

void VIroDazu::InitContainer() {
  // Only a designer shows the control; at run time the menus are all it draws.
  if (Ambient().UserMode) Visible(false);
  win::HWND container = Parent().hWnd();
  Init(container);
}

void VIroDazu::ApplyFont(const forms::Font& font) {
  forms::StdFont source(font);
  CopyFont(source, *font_);
}

// ---- the published interface --------------------------------------------------------

void VIroDazu::About() {
  ShowAbout();
}

void VIroDazu::SelectDisabled(bool on) {
  selectDisabled_ = on;
  PropertyChanged("SelectDisabled");
}

int VIroDazu::BitmapSize() const {
  return Module().SharedBitmapSize;
}

void VIroDazu::BitmapSize(int pixels) {
  Module().SharedBitmapSize = pixels;
  RefreshMetrics();
  PropertyChanged("BitmapSize");
}

void VIroDazu::UseSystemFont(bool on) {
  useSystemFont_ = on;
  RefreshMetrics();
  PropertyChanged("UseSystemFont");
}

void VIroDazu::Font(const forms::StdFont& font) {
  CopyFont(font, *font_);
  RefreshMetrics();
  PropertyChanged("Font");
}

void VIroDazu::SetBitmap(const forms::Menu& menu, const forms::Picture& picture,
                         std::uint32_t maskColor) {
  SetBitmapByCaption(MenuKey(menu), picture, maskColor);
}

void VIroDazu::SetBitmapByCaption(std::string menuKey, const forms::Picture& picture,
                                  std::uint32_t maskColor) {
  const std::string key = "#" + menuKey;
  bitmaps_.Remove(bitmaps_.Find(key));
  if (picture) bitmaps_.Add({picture, maskColor, key});
  PropertyChanged("BitmapList");
}

// ---- for the icon page -------------------------------------------------------------------

std::vector<forms::Menu*> VIroDazu::GetMenuControls() const {
  std::vector<forms::Menu*> menus;
  for (forms::Control* c : Parent().Controls())
    if (auto* menu = dynamic_cast<forms::Menu*>(c)) menus.push_back(menu);
  return menus;
}

void VIroDazu::SetBitmapList(const BitmapList& list) {
  bitmaps_ = list;
  PropertyChanged("BitmapList");
}

forms::Picture VIroDazu::GetBuiltinIcon(std::string_view tag) const {
  for (auto& [index, image] : Array<forms::Image>("imgIcon"))
    if (base::EqualsIgnoreAsciiCase(image->Tag(), tag)) return image->Picture();
  return {};
}

// ---- property pages ------------------------------------------------------------------------

std::vector<std::unique_ptr<com::PropertyPage>> PropertyPages() {
  std::vector<std::unique_ptr<com::PropertyPage>> pages;
  if (auto icons = MakeBitmapsPage()) pages.push_back(std::move(icons));
  pages.push_back(com::MakeStandardFontPage());
  return pages;
}

}  // namespace ornatek
