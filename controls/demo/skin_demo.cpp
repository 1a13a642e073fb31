// A borderless test form that carries the skinned frame, three caption
// buttons and three push buttons. With --shots <folder> it walks through its
// looks by itself (active and inactive, normal and maximised, a button hot and
// pressed), writes a screenshot of each into the folder and ends.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/controls.h"
#include "forms/app.h"
#include "forms/form.h"
#include "forms/scale.h"
#include "win/window.h"

namespace {

class Other : public forms::Form {
 public:
  Other() : Form(":/skin_demo/Other.json") {}
};

class SkinDemo : public forms::Form {
 public:
  SkinDemo() : Form(":/skin_demo/SkinDemo.json") {}

  controls::xp_canvas& Frame() const { return Get<controls::xp_canvas>("xp_canvas1"); }
  controls::xpcmdbutton& Button(int n) const {
    return Get<controls::xpcmdbutton>("xpcmdbutton" + std::to_string(n));
  }
  controls::xptopbuttons& CaptionButton(int n) const {
    return Get<controls::xptopbuttons>("xptopbuttons" + std::to_string(n));
  }

 protected:
  void Form_Load() override {
    CaptionButton(1).Click = [this] {
      if (auto* other = forms::Forms::Find<Other>()) forms::Unload(*other);
      forms::Unload(*this);
    };
    CaptionButton(2).Click = [this] {
      WindowState(WindowState() == forms::vbMaximized ? forms::vbNormal : forms::vbMaximized);
    };
    CaptionButton(3).Click = [this] { WindowState(forms::vbMinimized); };
    Button(1).Click = [this] { Count(); };
    Button(3).Click = [this] { Count(); };
  }

  void Form_Resize() override {
    if (WindowState() == forms::vbMinimized) return;
    // The frame lies over the whole client area; the caption buttons keep to
    // its right end. Places in twips, whatever the scale is at the moment.
    const double width = ClientPixelWidth() * 15.0, height = ClientPixelHeight() * 15.0;
    Frame().MoveTwips(0, 0, width, height);
    for (int n = 1; n <= 3; ++n)
      CaptionButton(n).MoveTwips(width - 495 - (n - 1) * 360, 75, 315, 315);
    CaptionButton(2).Value(WindowState() == forms::vbMaximized ? 3 : 1);
    Frame().make_trans(*this);
  }

 private:
  void Count() {
    ++clicks_;
    Get<forms::Label>("Label2").Caption("Clicked " + std::to_string(clicks_) +
                                        (clicks_ == 1 ? " time." : " times."));
  }
  int clicks_ = 0;
};

// Steps run one after another, each after its own pause, on the GUI thread.
class Script {
 public:
  void Then(int pauseMs, std::function<void()> step) {
    steps_.emplace_back(pauseMs, std::move(step));
  }
  void Run() { Next(0); }

 private:
  void Next(std::size_t i) {
    if (i >= steps_.size()) return;
    QTimer::singleShot(steps_[i].first, [this, i] {
      steps_[i].second();
      Next(i + 1);
    });
  }
  std::vector<std::pair<int, std::function<void()>>> steps_;
};

win::POINT ScreenCentre(win::HWND hwnd) {
  win::RECT r;
  win::GetClientRect(hwnd, &r);
  win::POINT p{r.right / 2, r.bottom / 2};
  win::ClientToScreen(hwnd, &p);
  return p;
}

void Activate(forms::Form& form) {
  win::SetActiveWindow(form.hWnd());
}

void PlanShots(Script& script, SkinDemo& demo, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  auto shot = [&demo, folder](const char* name) {
    const std::string path = (folder / (std::string(name) + ".png")).string();
    const bool ok = win::SaveWindowPng(demo.hWnd(), path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  };
  auto focusFrame = [&demo] {
    Activate(demo);
    win::SetFocus(demo.Frame().hWnd());
  };
  script.Then(800, focusFrame);
  script.Then(500, [=] { shot("active_normal"); });
  script.Then(0, [] {
    auto& other = forms::Forms::Get<Other>();
    other.Show();
    Activate(other);
  });
  script.Then(600, [=] { shot("inactive_normal"); });
  script.Then(0, focusFrame);
  script.Then(300, [&demo] { demo.WindowState(forms::vbMaximized); });
  script.Then(800, [=] { shot("active_maximised"); });
  script.Then(0, [] { Activate(forms::Forms::Get<Other>()); });
  script.Then(600, [=] { shot("inactive_maximised"); });
  script.Then(0, focusFrame);
  script.Then(300, [&demo] { demo.WindowState(forms::vbNormal); });
  script.Then(800, [&demo] {
    const win::POINT p = ScreenCentre(demo.Button(1).hWnd());
    win::SetCursorPos(p.x, p.y);
  });
  script.Then(400, [=] { shot("button_hot"); });
  script.Then(0, [&demo] {
    // A press without a real pointer button: the message the press would send.
    win::SendMessageA(demo.Button(1).hWnd(), win::WM_LBUTTONDOWN, win::MK_LBUTTON,
                      win::MAKELPARAM(20, 10));
  });
  script.Then(200, [=] { shot("button_pressed"); });
  script.Then(0, [&demo] {
    win::SendMessageA(demo.Button(1).hWnd(), win::WM_LBUTTONUP, 0, win::MAKELPARAM(20, 10));
  });
  script.Then(200, [&demo] {
    const win::POINT p = ScreenCentre(demo.CaptionButton(1).hWnd());
    win::SetCursorPos(p.x, p.y);
  });
  script.Then(400, [=] { shot("caption_button_hot"); });
  script.Then(0, [] { win::SetCursorPos(0, 0); });
  script.Then(300, [=] { shot("after_click"); });
  // The close button unloads both forms, which ends the program.
  script.Then(0, [&demo] {
    std::fflush(stdout);
    demo.CaptionButton(1).Click();
  });
}

}  // namespace

int main(int argc, char** argv) {
  controls::Register();
  std::filesystem::path shots;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--shots") shots = argv[i + 1];
  Script script;
  return forms::RunProgram(argc, argv, [&]() -> forms::Form& {
    auto& demo = forms::Forms::Get<SkinDemo>();
    if (!shots.empty()) {
      PlanShots(script, demo, shots);
      script.Run();
    }
    return demo;
  });
}
