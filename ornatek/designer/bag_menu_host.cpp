#include "bag_menu_host.h"

#include <string>

#include "forms/errors.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/ole.h"
#include "win/gdi.h"

namespace formprops {

namespace {

forms::Picture OwnedPicture(short type, std::uintptr_t handle) {
  forms::PICTDESC desc;
  desc.picType = type;
  if (type == forms::PICTYPE_ICON)
    desc.hicon = win::HICON(handle);
  else
    desc.hbitmap = win::HBITMAP(handle);
  forms::Picture picture;
  forms::OleCreatePictureIndirect(&desc, win::TRUE, &picture);
  return picture;
}

}  // namespace

forms::Font DefaultMenuFont() {
  forms::Font font;
  font.Name = "Tahoma";
  font.Size = 8;
  return font;
}

forms::Value StoredPicture(const forms::Picture& picture) {
  if (!picture || picture.Type() != forms::Picture::Kind::Icon) return forms::Value(picture);
  win::ICONINFO info{};
  if (!win::GetIconInfo(picture.Icon(), &info)) return forms::Value(forms::Picture());
  forms::PropertyBag nested;
  nested.WriteProperty("c", OwnedPicture(forms::PICTYPE_BITMAP, info.hbmColor.value));
  nested.WriteProperty("m", OwnedPicture(forms::PICTYPE_BITMAP, info.hbmMask.value));
  return forms::Value(nested.Contents());
}

forms::Picture PictureFromStored(const forms::Value& value) {
  if (!value.IsByteArray()) return value.ToPicture();
  const forms::PropertyBag nested = forms::PropertyBag::FromContents(value.ToByteArray());
  const forms::Picture colour = nested.ReadProperty("c").ToPicture();
  const forms::Picture mask = nested.ReadProperty("m").ToPicture();
  win::ICONINFO info{};
  info.fIcon = win::TRUE;
  info.hbmColor = colour.Bitmap();
  info.hbmMask = mask.Bitmap();
  const win::HICON icon = win::CreateIconIndirect(&info);
  return icon ? OwnedPicture(forms::PICTYPE_ICON, icon.value) : forms::Picture();
}

BagMenuHost::BagMenuHost(const forms::ControlSite& site)
    : Control(site), font_(forms::StdFont::Create(DefaultMenuFont())) {
  if (site.bag) ReadProperties(*site.bag);
  fontWatch_ = font_->FontChanged([this](std::string_view) { RaiseApplied(); });
}

BagMenuHost::~BagMenuHost() = default;

std::vector<forms::Menu*> BagMenuHost::GetMenuControls() const {
  std::vector<forms::Menu*> menus;
  for (forms::Control* c : Parent().Controls())
    if (auto* menu = dynamic_cast<forms::Menu*>(c)) menus.push_back(menu);
  return menus;
}

void BagMenuHost::SetBitmapList(const ornatek::BitmapList& list) {
  list_ = list;
  RaiseApplied();
}

void BagMenuHost::ReadProperties(const forms::PropertyBag& bag) {
  // Each step that cannot be read keeps the default and reading goes on.
  const auto step = [](auto&& read) {
    try {
      read();
    } catch (const forms::RuntimeError&) {
    }
  };
  step([&] { selectDisabled_ = bag.ReadProperty("SelectDisabled", true).ToBool(); });
  step([&] { bitmapSize_ = bag.ReadProperty("BitmapSize", 16).ToLong(); });
  long count = 0;
  step([&] { count = bag.ReadProperty("BmpCount", 0).ToLong(); });
  for (long i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    ornatek::BitmapEntry entry;
    entry.MaskColor = 0;
    step([&] { entry.Picture = PictureFromStored(bag.ReadProperty("Bmp:" + n)); });
    step([&] {
      entry.MaskColor = static_cast<std::uint32_t>(bag.ReadProperty("Mask:" + n, 0).ToLong());
    });
    entry.Key = "#" + n;
    step([&] { entry.Key = bag.ReadProperty("Key:" + n, "#" + n).ToString(); });
    list_.Add(std::move(entry));  // an entry whose key is taken is left out
  }
  step([&] { useSystemFont_ = bag.ReadProperty("UseSystemFont", true).ToBool(); });
  step([&] {
    const forms::Font font = bag.ReadProperty("Font", DefaultMenuFont()).ToFont();
    font_ = forms::StdFont::Create(font);
  });
}

forms::PropertyBag BagMenuHost::WriteProperties() const {
  forms::PropertyBag bag;
  bag.WriteProperty("SelectDisabled", selectDisabled_, true);
  bag.WriteProperty("BitmapSize", bitmapSize_, 16);
  bag.WriteProperty("BmpCount", list_.Count());
  for (long i = 1; i <= list_.Count(); ++i) {
    const std::string n = std::to_string(i);
    const ornatek::BitmapEntry& entry = list_.Item(i);
    bag.WriteProperty("Bmp:" + n, StoredPicture(entry.Picture), forms::Picture());
    bag.WriteProperty("Mask:" + n, static_cast<std::int32_t>(entry.MaskColor), 0);
    bag.WriteProperty("Key:" + n, entry.Key, "#" + n);
  }
  bag.WriteProperty("UseSystemFont", useSystemFont_, true);
  bag.WriteProperty("Font", font_->Value(), DefaultMenuFont());
  return bag;
}

}  // namespace formprops
