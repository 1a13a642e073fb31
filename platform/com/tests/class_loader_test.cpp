// The loader across a real shared library: register, create the control on a
// host form with its property bag, unregister, and the errors a host gets.

#include "com/class_loader.h"

#include <gtest/gtest.h>
#include <QWidget>

#include <dlfcn.h>
#include <cstdlib>

#include <sys/wait.h>
#include <fstream>
#include <iterator>

#include "com/build_identity.h"
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

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a shell command; its exit code, or -1 when a signal ended it.
int ExitCode(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::filesystem::path TestHome() {
  return std::getenv("TAVRINEL_TEST_HOME");
}

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

TEST_F(Loader, ALibraryCutShortIsRefusedByItsHeadersBeforeItIsLoaded) {
  // An interrupted copy: the loader would map segments past the file's end
  // and the host would die at first touch.
  const std::string whole = ReadFile(kLibrary);
  ASSERT_GT(whole.size(), 10000u);
  for (const std::size_t size : {whole.size() / 10, whole.size() / 4, whole.size() / 2,
                                 whole.size() * 3 / 4, whole.size() - 1}) {
    SCOPED_TRACE(size);
    const auto cut = TestHome() / ("cut " + std::to_string(size)) / "sample.ocx";
    std::filesystem::create_directories(cut.parent_path());
    WriteFile(cut, std::string_view(whole).substr(0, size));
    const std::string error = RegisterLibrary(cut);
    EXPECT_NE(error.find(cut.string()), std::string::npos) << error;
    EXPECT_NE(error.find("cut short"), std::string::npos) << error;
    EXPECT_FALSE(FindClass(kSampleBadgeProgId));
    // The same from the registry, and from the registration tool.
    ASSERT_EQ(RegisterClassEntry({kSampleBadgeProgId, *GuidFromString(kSampleBadgeClsid), cut}),
              "");
    const LoadedClass loaded = LoadClass(kSampleBadgeProgId);
    EXPECT_FALSE(loaded);
    EXPECT_NE(loaded.error.find("'Tavrinel.SampleBadge'"), std::string::npos) << loaded.error;
    EXPECT_NE(loaded.error.find("cut short"), std::string::npos) << loaded.error;
    EXPECT_EQ(ExitCode(std::string(REGCONTROL) + " '" + cut.string() + "' 2>/dev/null"), 1);
    ASSERT_EQ(UnregisterClassEntry({kSampleBadgeProgId, *GuidFromString(kSampleBadgeClsid), cut}),
              "");
  }
  // A folder in the library's place is called one.
  const auto folder = TestHome() / "folder.ocx";
  std::filesystem::create_directories(folder);
  EXPECT_NE(RegisterLibrary(folder).find("is a folder"), std::string::npos);
}

TEST_F(Loader, ALibraryOfAnotherBuildIsRefusedUnloaded) {
  // The same library, stamped by another build of the platform: its code
  // would call into a platform other than the host's.
  std::string bytes = ReadFile(kLibrary);
  const std::string identity = TAVRINEL_BUILD_IDENTITY;
  const auto at = bytes.find(identity);
  ASSERT_NE(at, std::string::npos) << "the library carries this build's identity";
  bytes.replace(at, identity.size(), std::string(identity.size(), '0'));
  const auto foreign = TestHome() / "other build" / "sample.ocx";
  std::filesystem::create_directories(foreign.parent_path());
  WriteFile(foreign, bytes);

  const std::string error = RegisterLibrary(foreign);
  EXPECT_NE(error.find(foreign.string()), std::string::npos) << error;
  EXPECT_NE(error.find("another build"), std::string::npos) << error;
  EXPECT_FALSE(FindClass(kSampleBadgeProgId));
  ASSERT_EQ(RegisterClassEntry({kSampleBadgeProgId, *GuidFromString(kSampleBadgeClsid), foreign}),
            "");
  EXPECT_NE(UseRegisteredClass(kSampleBadgeProgId).find("another build"), std::string::npos);
  // The host form still loads, without the control.
  SampleHost host;
  host.Load();
  EXPECT_EQ(dynamic_cast<ISampleBadge*>(host.FindControl("Badge1")), nullptr);
}

TEST_F(Loader, AHostsOwnCopyIsRegisteredWhenTheClassIsMissingAndPreferredOtherwise) {
  const auto own = TestHome() / "program folder" / "sample.ocx";
  std::filesystem::create_directories(own.parent_path());
  std::filesystem::copy_file(kLibrary, own);

  // Not registered: the host registers its own copy and goes on.
  ASSERT_FALSE(FindClass(kSampleBadgeProgId));
  ASSERT_EQ(UseClass(kSampleBadgeProgId, own), "");
  ASSERT_TRUE(FindClass(kSampleBadgeProgId));
  EXPECT_EQ(FindClass(kSampleBadgeProgId)->library, own);
  {
    SampleHost host;
    host.Load();
    EXPECT_NE(dynamic_cast<ISampleBadge*>(host.FindControl("Badge1")), nullptr);
  }

  // Registered to a library that is not there any more: the own copy serves.
  auto entry = *FindClass(kSampleBadgeProgId);
  entry.library = TestHome() / "gone" / "sample.ocx";
  ASSERT_EQ(RegisterClassEntry(entry), "");
  EXPECT_EQ(UseClass(kSampleBadgeProgId, own), "");

  // Without an own copy, the registered library decides.
  EXPECT_NE(UseClass(kSampleBadgeProgId, TestHome() / "elsewhere" / "sample.ocx").find("gone"),
            std::string::npos);

  // A damaged own copy of a class not registered: the host hears why.
  UnregisterClassEntry(entry);
  ASSERT_FALSE(FindClass(kSampleBadgeProgId));
  const auto damaged = TestHome() / "other program folder" / "sample.ocx";
  std::filesystem::create_directories(damaged.parent_path());
  const std::string whole = ReadFile(own);
  WriteFile(damaged, std::string_view(whole).substr(0, whole.size() / 2));
  const std::string error = UseClass(kSampleBadgeProgId, damaged);
  EXPECT_NE(error.find("'Tavrinel.SampleBadge' is not registered, and registering"),
            std::string::npos)
      << error;
  EXPECT_NE(error.find(damaged.string()), std::string::npos) << error;
  EXPECT_NE(error.find("cut short"), std::string::npos) << error;
}

TEST_F(Loader, TheRegistrationToolAnswersHelpAndWrongArgumentsOnTheTerminal) {
  const auto out = TestHome() / "out.txt";
  const auto run = [&](const std::string& args) {
    return ExitCode(std::string(REGCONTROL) + " " + args + " >'" + out.string() + "' 2>&1");
  };
  EXPECT_EQ(run("--help"), 0);
  EXPECT_NE(ReadFile(out).find("usage: regcontrol [-u] LIBRARY"), std::string::npos)
      << ReadFile(out);
  EXPECT_EQ(run("-h"), 0);
  EXPECT_NE(ReadFile(out).find("usage:"), std::string::npos);
  for (const char* wrong : {"", "-u", "--force x.ocx", "a.ocx b.ocx", "-x"}) {
    SCOPED_TRACE(wrong);
    EXPECT_EQ(run(wrong), 2);
    EXPECT_NE(ReadFile(out).find("usage: regcontrol"), std::string::npos) << ReadFile(out);
    EXPECT_EQ(ReadFile(out).find("does not exist"), std::string::npos) << ReadFile(out);
  }
  EXPECT_FALSE(std::filesystem::exists(ClassRegistryFile()));
}
