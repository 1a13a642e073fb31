// Pictures of the word trainer's windows for people to look at: the word
// window with the first two pairs of its source, the screen with its
// right-click menu open, the screen with the about picture, then the
// settings form.
//   vocabra_shots <folder>   (run it under a display; the store and the
//   program folder are the usual ones, or those of the environment)

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "form3.h"
#include "form4.h"
#include "forms/forms.h"
#include "frm_show.h"
#include "win/gdi.h"
#include "win/menu.h"
#include "win/window.h"

namespace {

// Steps run one after the other, each after its delay.
class Script {
 public:
  void Then(int delayMs, std::function<void()> step) {
    steps_.emplace_back(delayMs, std::move(step));
  }
  void Run() { Next(0); }

 private:
  void Next(std::size_t i) {
    if (i >= steps_.size()) return;
    slot_ = forms::Clock::Current().Start(steps_[i].first, [this, i] {
      // The slot ends before the step runs, so that the step is run once.
      auto done = std::move(slot_);
      steps_[i].second();
      Next(i + 1);
    });
  }
  std::vector<std::pair<int, std::function<void()>>> steps_;
  std::unique_ptr<forms::TimerSlot> slot_;
};

void Shot(forms::Form& form, const std::filesystem::path& folder, const char* name) {
  const std::string path = (folder / (std::string(name) + ".png")).string();
  const bool ok = win::SaveWindowPng(form.hWnd(), path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  std::fflush(stdout);
}

// The whole screen, for what lies outside one window (an open menu).
void ShootScreen(const std::filesystem::path& folder, const char* name) {
  const std::string path = (folder / (std::string(name) + ".png")).string();
  const bool ok = win::SaveScreenPng(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vocabra_shots <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  controls::Register();
  Script script;
  std::unique_ptr<forms::TimerSlot> shoot;
  return forms::RunProgram(argc, argv, [&]() -> forms::Form& {
    forms::App::SetTitle("Vocabra");
    auto& window = forms::Forms::Get<vocabra::FrmShow>();
    script.Then(1000, [&] { Shot(window, folder, "word_first"); });
    script.Then(0, [&] { window.Timer6_Timer(); });
    script.Then(800, [&] { Shot(window, folder, "word_second"); });
    // The menu and the about picture wait for the user, so the picture is
    // taken (and they are closed) from a timer started before they open.
    script.Then(0, [&] {
      win::RECT r;
      win::GetWindowRect(window.hWnd(), &r);
      win::SetCursorPos(r.left + 20, r.top + 10);
      shoot = forms::Clock::Current().Start(800, [&] {
        auto done = std::move(shoot);
        ShootScreen(folder, "menu");
        win::EndMenu();
      });
      window.LB_MouseDown(forms::vbRightButton);
    });
    script.Then(0, [&] {
      shoot = forms::Clock::Current().Start(800, [&] {
        auto done = std::move(shoot);
        ShootScreen(folder, "about");
        if (auto* about = forms::Forms::Find<vocabra::Form4>()) about->Image1.Click();
      });
      window.aboutus_Click();
    });
    script.Then(0, [] { forms::Forms::Get<vocabra::Form3>().Show(); });
    script.Then(1000, [&] { Shot(forms::Forms::Get<vocabra::Form3>(), folder, "settings"); });
    script.Then(0, [] { forms::End(); });
    script.Run();
    return window;
  });
}
