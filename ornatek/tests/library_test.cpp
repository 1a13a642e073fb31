// Ornatek.ocx as a host loads it: by program id through the class registry,
// bound to the host's own platform layer, with nothing of Qt or of the layer
// made public; and the clear message a host gets when the file is gone.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "com/class_loader.h"
#include "com/class_registry.h"
#include "forms/forms.h"
#include "ornatek/viro_dazu.h"
#include "testsupport/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kLibrary = fs::canonical(ORNATEK_LIBRARY);

class MenuHost : public forms::Form {
 public:
  MenuHost() : forms::Form(":/test/forms/MenuHost.json") {}
};

std::string DefinedDynamicSymbols(const std::string& path) {
  std::string out;
  const std::string command = "nm -D --defined-only '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  std::array<char, 512> line;
  while (fgets(line.data(), line.size(), pipe.get())) out += line.data();
  return out;
}

}  // namespace

TEST(OrnatekLibrary, IsAControlLibraryInTheProgramFolder) {
  EXPECT_EQ(kLibrary.filename(), "Ornatek.ocx");
  EXPECT_EQ(kLibrary.parent_path(), fs::canonical(testsupport::BinDir()));
}

TEST(OrnatekLibrary, PublishesOnlyItsFourExports) {
  const std::string symbols = DefinedDynamicSymbols(kLibrary.string());
  std::size_t pos = 0;
  int exports = 0;
  while (pos < symbols.size()) {
    const std::size_t end = symbols.find('\n', pos);
    const std::string line = symbols.substr(pos, end - pos);
    pos = end == std::string::npos ? symbols.size() : end + 1;
    if (line.size() < 19) continue;
    const char kind = line[17];
    const std::string name = line.substr(19);
    if (kind >= 'a' && kind <= 'z') continue;  // local to the object
    EXPECT_TRUE(name.starts_with("Dll")) << "public symbol " << name;
    ++exports;
  }
  EXPECT_EQ(exports, 4);
}

TEST(OrnatekLibrary, AHostCreatesTheControlByItsProgramId) {
  ASSERT_EQ(com::RegisterLibrary(kLibrary), "");
  const auto entry = com::FindClass(ornatek::kVIroDazuProgId);
  ASSERT_TRUE(entry);
  EXPECT_EQ(com::ToString(entry->clsid), ornatek::kVIroDazuClassId);
  EXPECT_EQ(entry->library, kLibrary);

  ASSERT_EQ(com::UseRegisteredClass(ornatek::kVIroDazuProgId), "");
  MenuHost host;
  host.Load();
  auto* control = dynamic_cast<ornatek::IVIroDazu*>(host.FindControl("VIroDazu1"));
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(control->SelectDisabled());
  EXPECT_EQ(control->BitmapSize(), 16);
  EXPECT_EQ(control->Font()->Name(), "Tahoma");
  // The menu bar of the host became owner-drawn.
  const win::HMENU bar = win::GetMenu(host.hWnd());
  ASSERT_TRUE(bar);
  win::MENUITEMINFOA info;
  info.fMask = win::MIIM_FTYPE | win::MIIM_DATA;
  ASSERT_TRUE(win::GetMenuItemInfoA(bar, 0, win::TRUE, &info));
  EXPECT_EQ(info.fType, win::MFT_OWNERDRAW);
  EXPECT_NE(info.dwItemData, 0u);

  auto& open = dynamic_cast<forms::Menu&>(*host.FindControl("mnuOpen"));
  forms::Picture picture = forms::LoadPicture("");
  control->SetBitmap(open, picture);  // no picture: nothing stored, nothing fails
  forms::Unload(host);
  // The control gave the bar its own items back as it ended.
  info = {};
  info.fMask = win::MIIM_FTYPE;
  if (win::GetMenuItemInfoA(bar, 0, win::TRUE, &info)) {
    EXPECT_EQ(info.fType, win::MFT_STRING);
  }
  com::UnregisterLibrary(kLibrary);
}

TEST(OrnatekLibrary, AMissingLibraryFileGivesOneClearMessage) {
  // The class registered for a copy of the library that is then removed.
  testsupport::TempDir dir;
  const fs::path copy = dir / "Ornatek.ocx";
  fs::copy_file(kLibrary, copy);
  ASSERT_EQ(com::RegisterLibrary(copy), "");
  fs::remove(copy);
  const std::string error = com::UseRegisteredClass(ornatek::kVIroDazuProgId);
  EXPECT_NE(error.find("Ornatek.VIroDazu"), std::string::npos) << error;
  EXPECT_NE(error.find(copy.string()), std::string::npos) << error;
  // The host form still loads; its menus stay plain.
  MenuHost host;
  host.Load();
  EXPECT_EQ(dynamic_cast<ornatek::IVIroDazu*>(host.FindControl("VIroDazu1")), nullptr);
  win::MENUITEMINFOA info;
  info.fMask = win::MIIM_FTYPE;
  ASSERT_TRUE(win::GetMenuItemInfoA(win::GetMenu(host.hWnd()), 0, win::TRUE, &info));
  EXPECT_EQ(info.fType, win::MFT_STRING);
  forms::Unload(host);
}
