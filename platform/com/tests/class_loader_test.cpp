// The loader across a real shared library: register, create the control on a
// host form with its property bag, unregister, and the errors a host gets.

#include "com/class_loader.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <cstdlib>

#include <fstream>

#include "com/class_registry.h"
#include "forms/forms.h"
#include "sample/sample_badge.h"

using namespace com;

namespace {

class SampleHost : public forms::Form {
 public:
  SampleHost() : forms::Form(":/test/forms/SampleHost.json") {}
};

const std::filesystem::path kLibrary = std::filesystem::canonical(SAMPLE_LIBRARY);

struct Loader : testing::Test {
  void TearDown() override {
    UnregisterLibrary(kLibrary);
    std::filesystem::remove(ClassRegistryFile());
  }
};

}  // namespace

TEST_F(Loader, RegisterCreateUnregisterAndTheClearErrorAfterwards) {
  ASSERT_EQ(RegisterLibrary(kLibrary), "");
  const auto entry = FindClass(kSampleBadgeProgId);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->library, kLibrary);
  EXPECT_EQ(ToString(entry->clsid), kSampleBadgeClsid);
  EXPECT_TRUE(FindClass(kSampleNoteProgId));

  ASSERT_EQ(UseRegisteredClass(kSampleBadgeProgId), "");
  std::vector<std::string> events;
  {
    SampleHost host;
    host.Load();
    // The control is a user control of the host form, in its window.
    auto* badge1 = dynamic_cast<forms::UserControl*>(host.FindControl("Badge1"));
    ASSERT_NE(badge1, nullptr);
    EXPECT_EQ(badge1->Widget()->parentWidget(), host.ClientWidget());
    auto* b1 = dynamic_cast<ISampleBadge*>(host.FindControl("Badge1"));
    auto* b2 = dynamic_cast<ISampleBadge*>(host.FindControl("Badge2"));
    ASSERT_TRUE(b1 && b2);
    EXPECT_EQ(b1->Caption(), "Badge1");  // a new instance: the ambient name
    EXPECT_EQ(b2->Caption(), "Stored");  // from the form's property bag for it
    b2->Caption("Changed");
    EXPECT_EQ(badge1->Width(), 1500);
    forms::PropertyBag saved =
        dynamic_cast<forms::UserControl*>(host.FindControl("Badge2"))->SaveProperties();
    EXPECT_EQ(saved.ReadProperty("Caption").ToString(), "Changed");
    EXPECT_EQ(b1->Events(), (std::vector<std::string>{"Initialize", "InitProperties", "Resize"}));
    forms::Unload(host);
    events = b2->Events();
  }
  EXPECT_EQ(events, (std::vector<std::string>{"Initialize", "ReadProperties", "Resize",
                                              "WriteProperties", "Terminate"}));

  ASSERT_EQ(UnregisterLibrary(kLibrary), "");
  EXPECT_FALSE(FindClass(kSampleBadgeProgId));
  EXPECT_FALSE(FindClass(kSampleNoteProgId));
  const std::string error = UseRegisteredClass(kSampleBadgeProgId);
  EXPECT_NE(error.find("'Tavrinel.SampleBadge' is not registered"), std::string::npos) << error;
  EXPECT_NE(error.find(ClassRegistryFile().string()), std::string::npos) << error;
  // A registry that is a folder is not taken for an empty one.
  std::filesystem::remove(ClassRegistryFile());
  std::filesystem::create_directories(ClassRegistryFile());
  const std::string folderError = UseRegisteredClass(kSampleBadgeProgId);
  EXPECT_NE(folderError.find(ClassRegistryFile().string() + " is not a file"), std::string::npos)
      << folderError;
  std::filesystem::remove(ClassRegistryFile());
  // The host form still loads, with a stand-in in the control's place.
  SampleHost host;
  host.Load();
  EXPECT_EQ(dynamic_cast<ISampleBadge*>(host.FindControl("Badge1")), nullptr);
  ASSERT_NE(host.FindControl("Badge1"), nullptr);
  EXPECT_FALSE(host.FindControl("Badge1")->Visible());
  EXPECT_NE(host.FindControl("Plain"), nullptr);
}

TEST_F(Loader, ALibraryThatIsGoneOrBrokenIsNamedInTheError) {
  ASSERT_EQ(RegisterLibrary(kLibrary), "");
  auto entry = *FindClass(kSampleBadgeProgId);
  const auto dir = std::filesystem::path(std::getenv("TAVRINEL_TEST_HOME"));
  entry.library = dir / "moved away" / "sample.ocx";
  ASSERT_EQ(RegisterClassEntry(entry), "");
  LoadedClass loaded = LoadClass(kSampleBadgeProgId);
  EXPECT_FALSE(loaded);
  EXPECT_NE(loaded.error.find("'Tavrinel.SampleBadge'"), std::string::npos) << loaded.error;
  EXPECT_NE(loaded.error.find(entry.library.string()), std::string::npos) << loaded.error;
  EXPECT_NE(loaded.error.find("does not exist"), std::string::npos) << loaded.error;

  // A file that is no shared object.
  std::filesystem::create_directories(entry.library.parent_path());
  std::ofstream(entry.library) << "not a library";
  loaded = LoadClass(kSampleBadgeProgId);
  EXPECT_FALSE(loaded);
  EXPECT_NE(loaded.error.find("cannot be loaded"), std::string::npos) << loaded.error;
  EXPECT_NE(RegisterLibrary(entry.library).find(entry.library.string()), std::string::npos);

  // A library that does not have the registered class.
  entry.library = kLibrary;
  entry.clsid = *GuidFromString("{00000000-0000-0000-0000-0000000000AA}");
  ASSERT_EQ(RegisterClassEntry(entry), "");
  loaded = LoadClass(kSampleBadgeProgId);
  EXPECT_FALSE(loaded);
  EXPECT_NE(loaded.error.find("is not provided by the file " + kLibrary.string()),
            std::string::npos)
      << loaded.error;
}

TEST_F(Loader, TheExportsFollowTheirContract) {
  void* h = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!h) h = dlopen(kLibrary.c_str(), RTLD_NOW);
  ASSERT_NE(h, nullptr) << dlerror();
  auto get = reinterpret_cast<DllGetClassObjectFn>(dlsym(h, "DllGetClassObject"));
  auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(dlsym(h, "DllCanUnloadNow"));
  ASSERT_TRUE(get && canUnload && dlsym(h, "DllRegisterServer") && dlsym(h, "DllUnregisterServer"));
  const CLSID badge = *GuidFromString(kSampleBadgeClsid);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(get(&badge, &IID_IClassFactory, &object), S_OK);
  EXPECT_EQ(static_cast<IClassFactory*>(object)->ProgId(), kSampleBadgeProgId);
  const IID other = *GuidFromString("{00000000-0000-0000-0000-0000000000BB}");
  EXPECT_EQ(get(&badge, &other, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(get(&other, &IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(get(&badge, &IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(canUnload(), S_OK);
  dlclose(h);
}

TEST_F(Loader, TheRegistrationToolRegistersAndUnregisters) {
  const std::string reg = std::string(REGCONTROL) + " '" + kLibrary.string() + "'";
  ASSERT_EQ(std::system(reg.c_str()), 0);
  EXPECT_TRUE(FindClass(kSampleBadgeProgId));
  const std::string unreg = std::string(REGCONTROL) + " -u '" + kLibrary.string() + "'";
  ASSERT_EQ(std::system(unreg.c_str()), 0);
  EXPECT_FALSE(FindClass(kSampleBadgeProgId));
  const std::string missing = std::string(REGCONTROL) + " /nonexistent/x.ocx 2>/dev/null";
  EXPECT_NE(std::system(missing.c_str()), 0);
}
