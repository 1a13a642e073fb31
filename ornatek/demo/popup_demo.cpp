// A host form with the conversation trainer's popup menu, drawn by the menu
// control that the demo loads from Ornatek.ocx by its program id, as the
// trainers do. With --shots <folder> it opens the menu, highlights an item,
// writes pictures of the screen and of the popup into the folder and ends. With --plain the class
// is not loaded (the trainers' case of a missing library): the menu is the layer's plain one.

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <iostream>
#include <span>
#include <string>

#include "com/class_loader.h"
#include "forms/forms.h"
#include "ornatek/viro_dazu.h"
#include "win/win.h"

namespace {

using namespace win;

std::filesystem::path g_shots;
std::deque<std::function<void(HWND)>> g_idleSteps;
HHOOK g_hook;
HWND g_popup;
bool g_words = false;  // the word trainer's menu instead of the conversation trainer's

void ShootScreen(const std::string& name) {
  SaveScreenPng((g_shots / name).string());
}

// Each time the open menu waits for input, the next step runs.
LRESULT IdleHook(int code, WPARAM w, LPARAM l) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (code == HC_ACTION && cwp->message == WM_ENTERIDLE && !g_idleSteps.empty()) {
    auto step = std::move(g_idleSteps.front());
    g_idleSteps.pop_front();
    step(HWND(static_cast<std::uintptr_t>(cwp->lParam)));
  }
  return CallNextHookEx(g_hook, code, w, l);
}

class MenuDemo : public forms::Form {
 public:
  MenuDemo()
      : Form(g_words ? ":/ornatek_demo/WordMenuDemo.json" : ":/ornatek_demo/MenuDemo.json") {}

 protected:
  void Form_Load() override {
    SetMenuBitmaps();
    SetTimer(hWnd(), 1, 300, &Step);
  }

 private:
  // The trainers' calls, in their order: the conversation trainer's, or
  // with --vocabra the word trainer's.
  void SetMenuBitmaps() {
    auto* control = dynamic_cast<ornatek::IVIroDazu*>(FindControl("VIroDazu1"));
    if (!control) return;
    static constexpr std::pair<const char*, const char*> kConversation[] = {
        {"mnu_hlp", "dialogra/mnu_hlp"},         {"mnu_sysset", "dialogra/mnu_sysset"},
        {"managewords", "dialogra/managewords"}, {"recite", "dialogra/recite"},
        {"mnuhelp", "dialogra/mnuhelp"},         {"mnu_page", "dialogra/mnu_page"},
        {"mnu_email", "dialogra/mnu_email"},     {"mnu_exit", "dialogra/mnu_exit"},
        {"mnu_veri", "dialogra/mnu_veri"}};
    static constexpr std::pair<const char*, const char*> kWords[] = {
        {"mnustop", "vocabra/mnustop"},         {"mnusetup", "vocabra/mnusetup"},
        {"managewords", "vocabra/managewords"}, {"mnuhelp", "vocabra/mnuhelp"},
        {"mnuwebsite", "vocabra/mnuwebsite"},   {"mnuemail", "vocabra/mnuemail"},
        {"mnuquit", "vocabra/mnuquit"},         {"aboutus", "vocabra/aboutus"},
        {"amewords", "vocabra/amewords"}};
    const auto calls = g_words ? std::span(kWords) : std::span(kConversation);
    for (const auto& [item, picture] : calls)
      control->SetBitmap(Get<forms::Menu>(item),
                         forms::LoadPicture(std::string(":/pictures/") + picture + ".png"));
  }

  static const char* MenuName() { return g_words ? "mnumain" : "mnu_file"; }

  static void Step(HWND host, UINT, std::uintptr_t, DWORD) {
    KillTimer(host, 1);
    auto& form = forms::Forms::Get<MenuDemo>();
    if (g_shots.empty()) {
      form.PopupMenu(form.Get<forms::Menu>(MenuName()));
      return;
    }
    // Highlight the third item, then take the pictures once it is painted.
    g_idleSteps = {[](HWND popup) {
      g_popup = popup;
      for (int i = 0; i < 3; ++i) SendMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
      SetTimer(HWND(), 0, 400, [](HWND, UINT, std::uintptr_t id, DWORD) {
        KillTimer(HWND(), id);
        ShootScreen("menu_screen.png");
        SaveWindowPng(g_popup, (g_shots / "menu_popup.png").string());
        EndMenu();
      });
    }};
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, IdleHook, HINSTANCE(), GetCurrentThreadId());
    form.PopupMenu(form.Get<forms::Menu>(MenuName()), 0, 1200.0f, 700.0f);
    UnhookWindowsHookEx(g_hook);
    PostQuitMessage(0);
  }
};

}  // namespace

int main(int argc, char** argv) {
  bool plain = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--shots" && i + 1 < argc) g_shots = argv[i + 1];
    if (std::string(argv[i]) == "--plain") plain = true;
    if (std::string(argv[i]) == "--vocabra") g_words = true;
  }
  if (!g_shots.empty()) std::filesystem::create_directories(g_shots);
  // The plain case: an empty class registry, as on a machine without the library.
  if (plain) {
    char folder[] = "/tmp/ornatek-demo-XXXXXX";
    if (mkdtemp(folder)) setenv("XDG_DATA_HOME", folder, 1);
  }
  const std::string error = com::UseRegisteredClass(ornatek::kVIroDazuProgId);
  if (!error.empty()) std::cerr << error << "\n";
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Ornatek demo");
    return forms::Forms::Get<MenuDemo>();
  });
}
