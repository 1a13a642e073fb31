// Screenshots of the conversation trainer's windows, for looking at them by
// hand under a virtual display:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/dialogra_shots SCENE OUT.png
// Each run starts the bar as the program does, in a settings store and
// program folder of its own, plays one scene, writes the whole screen to
// OUT.png and ends.

#include <unistd.h>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "form1.h"
#include "form3.h"
#include "forms/forms.h"
#include "lessons/lessons.h"
#include "win/win.h"

namespace {

namespace fs = std::filesystem;

void Grab(const std::string& out) {
  const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(out));
  std::printf("%s %s\n", ok ? "wrote" : "could not write", out.c_str());
  std::fflush(stdout);
}

// Runs `step` after `ms` milliseconds of the program's own event loop.
void After(int ms, std::function<void()> step) {
  QTimer::singleShot(ms, std::move(step));
}

// The "menu" scene: once the popup waits for input, the third item is
// highlighted and the screen taken a moment later.
win::HHOOK g_hook;
std::string g_out;
win::LRESULT MenuIdle(int code, win::WPARAM w, win::LPARAM l) {
  auto* cwp = reinterpret_cast<win::CWPSTRUCT*>(l);
  if (code == win::HC_ACTION && cwp->message == win::WM_ENTERIDLE && !g_out.empty()) {
    const win::HWND popup(static_cast<std::uintptr_t>(cwp->lParam));
    for (int i = 0; i < 3; ++i) win::SendMessageA(popup, win::WM_KEYDOWN, win::VK_DOWN, 0);
    After(500, [out = g_out] {
      Grab(out);
      win::EndMenu();
    });
    g_out.clear();
  }
  return win::CallNextHookEx(g_hook, code, w, l);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string scene = argv[1], out = argv[2];
  const fs::path folder =
      fs::temp_directory_path() / ("dialogra_shots_" + std::to_string(getpid()));
  fs::create_directories(folder / "config");
  fs::copy_file(fs::path(TAVRINEL_BIN) / "dialog.ocx", folder / "dialog.ocx",
                fs::copy_options::overwrite_existing);
  setenv("TAVRINEL_PROGRAM_DIR", folder.c_str(), 1);
  setenv("TAVRINEL_SYSTEM_DIR", (fs::path(TAVRINEL_BIN) / "system").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  setenv("TAVRINEL_AUDIO", "none", 1);

  const int rc = forms::RunProgram(argc, argv, [&]() -> forms::Form& {
    forms::App::SetTitle("Dialogra");
    forms::RegisterStringTable(lessons::Strings());
    auto& bar = forms::Forms::Get<dialogra::Form1>();
    // The intro is over after about 4.1 s.
    After(4500, [&bar, scene, out] {
      if (scene == "settings") {
        auto& f = forms::Forms::Get<dialogra::Form3>();
        f.Top(forms::Screen::Height() / 2 - 3000);
        f.Left(forms::Screen::Width() / 2 - 4000);
        f.Visible(true);
      }
      if (scene == "menu") {
        g_out = out;
        g_hook = win::SetWindowsHookExA(win::WH_CALLWNDPROC, MenuIdle, win::HINSTANCE(),
                                        win::GetCurrentThreadId());
        bar.Image1_MouseMove();
        win::UnhookWindowsHookEx(g_hook);
        forms::End();
      }
      After(800, [out] {
        Grab(out);
        forms::End();
      });
    });
    return bar;
  });
  fs::remove_all(folder);
  return rc;
}
