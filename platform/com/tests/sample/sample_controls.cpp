// A throw-away control library for the loader's tests: two classes, one a
// user control with stored properties, and the four exports.

#include <atomic>

#include "com/control_library.h"
#include "forms/controls.h"
#include "forms/user_control.h"
#include "sample_badge.h"

namespace {

std::atomic<int> g_live{0};

class SampleBadge : public forms::UserControl, public ISampleBadge {
 public:
  explicit SampleBadge(const forms::ControlSite& site)
      : UserControl(site, ":/sample/SampleBadge.json") {
    ++g_live;
  }
  ~SampleBadge() override { --g_live; }
  std::string Caption() const override { return Get<forms::Label>("lbl").Caption(); }
  void Caption(const std::string& caption) override {
    Get<forms::Label>("lbl").Caption(caption);
    PropertyChanged("Caption");
  }
  std::vector<std::string> Events() const override { return events_; }

 protected:
  void UserControl_Initialize() override { events_.push_back("Initialize"); }
  void UserControl_InitProperties() override {
    events_.push_back("InitProperties");
    Caption(Ambient().DisplayName);
  }
  void UserControl_ReadProperties(forms::PropertyBag& bag) override {
    events_.push_back("ReadProperties");
    Caption(bag.ReadProperty("Caption", Ambient().DisplayName).ToString());
  }
  void UserControl_WriteProperties(forms::PropertyBag& bag) override {
    events_.push_back("WriteProperties");
    bag.WriteProperty("Caption", Caption(), Ambient().DisplayName);
  }
  void UserControl_Resize() override {
    if (events_.empty() || events_.back() != "Resize") events_.push_back("Resize");
  }
  void UserControl_Terminate() override { events_.push_back("Terminate"); }

 private:
  std::vector<std::string> events_;
};

com::ControlClass<SampleBadge> g_badge(kSampleBadgeProgId, *com::GuidFromString(kSampleBadgeClsid));
com::ControlClass<forms::Label> g_note(kSampleNoteProgId, *com::GuidFromString(kSampleNoteClsid));
com::IClassFactory* const g_classes[] = {&g_badge, &g_note};

}  // namespace

extern "C" {

com::HRESULT DllRegisterServer() {
  return com::RegisterClasses(g_classes, std::size(g_classes),
                              reinterpret_cast<const void*>(&DllRegisterServer));
}

com::HRESULT DllUnregisterServer() {
  return com::UnregisterClasses(g_classes, std::size(g_classes),
                                reinterpret_cast<const void*>(&DllRegisterServer));
}

com::HRESULT DllGetClassObject(const com::CLSID* clsid, const com::IID* iid, void** object) {
  return com::GetClassObject(g_classes, std::size(g_classes), clsid, iid, object);
}

com::HRESULT DllCanUnloadNow() {
  return g_live == 0 ? com::S_OK : com::S_FALSE;
}

}  // extern "C"
