// Forms: description files, loading, showing, unloading, the forms collection.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <functional>

#include "forms/forms.h"
#include "forms/testing.h"

using namespace forms;

namespace {

std::vector<std::string> g_log;

class Basic : public Form {
 public:
  Basic() : Form(":/test/forms/Basic.json") {}
  int cancelQuery = 0;
  int cancelUnload = 0;
  bool hideInLoad = false;

 protected:
  void Form_Initialize() override { g_log.push_back("initialize"); }
  void Form_Load() override {
    g_log.push_back("load");
    if (hideInLoad) Visible(false);
  }
  void Form_QueryUnload(int& cancel, int mode) override {
    g_log.push_back("query " + std::to_string(mode));
    cancel = cancelQuery;
  }
  void Form_Unload(int& cancel) override {
    g_log.push_back("unload");
    cancel = cancelUnload;
  }
  void Form_Resize() override { g_log.push_back("resize"); }
};

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// Controls that say when they end, one of them able to hold others.
class Probe : public Control {
 public:
  using Control::Control;
  ~Probe() override { g_log.push_back(Name() + " ends"); }
  QWidget* Widget() const override { return nullptr; }
};

class ProbeBox : public Probe, public Container {
 public:
  using Probe::Probe;
  QWidget* ClientWidget() const override { return nullptr; }
};

class Nested : public Form {
 public:
  Nested() : Form(":/test/forms/Nested.json") {}
};

struct Registration {
  Registration() {
    RegisterControlType<Probe>("Probe");
    RegisterControlType<ProbeBox>("ProbeBox");
  }
} g_registration;

}  // namespace

TEST(Form, ClosingEndsTheControlsInsideAContainerBeforeTheContainer) {
  g_log.clear();
  {
    Nested form;
    form.Load();
    form.Show();
    Settle();
  }
  Settle();
  EXPECT_EQ(g_log, (std::vector<std::string>{"Leaf ends", "Inner ends", "Outer ends"}));
}

TEST(Form, DescriptionGivesPropertiesAndControls) {
  Basic f;
  EXPECT_EQ(f.Name(), "Basic");
  EXPECT_EQ(f.Caption(), "Basic form");
  EXPECT_EQ(f.Get<Label>("Label1").Caption(), "Hello");
  EXPECT_EQ(f.Get<Label>("Label1").Font().Name, "Tahoma");
  EXPECT_TRUE(f.Get<Label>("Label1").Font().Bold);
  EXPECT_EQ(f.Get<TextBox>("Text1").Text(), "start");
  auto& images = f.Array<Image>("Image2");
  EXPECT_EQ(images.Count(), 2);
  EXPECT_TRUE(images[0].Visible());
  EXPECT_FALSE(images[1].Visible());
  EXPECT_THROW(images[2], RuntimeError);
  EXPECT_THROW(f.Get<Image>("Label1"), RuntimeError);
  EXPECT_EQ(f.FindControl("Nothing"), nullptr);
  EXPECT_EQ(win::GetWindowText(f.hWnd()), "Basic form");
}

TEST(Form, ADamagedOrMissingDescriptionIsAClearError) {
  try {
    Form f(":/test/forms/Missing.json");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::FileNotFound);
    EXPECT_NE(std::string(e.what()).find("Missing.json"), std::string::npos);
  }
  try {
    Form f(":/test/forms/Broken.json");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_NE(std::string(e.what()).find("Captoin"), std::string::npos);
  }
}

TEST(Form, LoadRunsOnceAndShowLoadsFirst) {
  g_log.clear();
  Basic f;
  EXPECT_FALSE(f.Loaded());
  f.Show();
  EXPECT_TRUE(f.Loaded());
  EXPECT_TRUE(f.Visible());
  f.Show();
  f.Load();
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "load"), 1);
  EXPECT_EQ(g_log.front(), "initialize");
  f.Hide();
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(f.Loaded());
}

TEST(Form, UnloadCanBeCancelledAndOtherwiseReleasesTheForm) {
  g_log.clear();
  Basic& f = Forms::Get<Basic>();
  f.Show();
  f.cancelQuery = 1;
  EXPECT_FALSE(Unload(f));
  EXPECT_TRUE(f.Loaded());
  f.cancelQuery = 0;
  f.cancelUnload = 1;
  EXPECT_FALSE(Unload(f));
  f.cancelUnload = 0;
  // Closing the window asks with the control-menu mode.
  win::SendMessageA(f.hWnd(), win::WM_CLOSE, 0, 0);
  EXPECT_EQ(Forms::Find<Basic>(), nullptr);
  auto queries =
      std::count_if(g_log.begin(), g_log.end(), [](auto& s) { return s.starts_with("query"); });
  EXPECT_EQ(queries, 3);
  EXPECT_EQ(g_log[g_log.size() - 2], "query 0");
  Settle();
  // The next use makes a new form.
  Basic& again = Forms::Get<Basic>();
  EXPECT_FALSE(again.Loaded());
  EXPECT_TRUE(Unload(again));
  Settle();
}

TEST(Form, ALoadHandlerThatHidesTheFormDecidesItsVisibility) {
  Basic f;
  f.hideInLoad = true;
  f.Load();
  EXPECT_TRUE(f.VisibilityDecidedInLoad());
  EXPECT_FALSE(f.Visible());
}

TEST(Form, WindowStateAndMoves) {
  Basic f;
  f.Show();
  f.Move(0, 0, 3000, 1500);
  EXPECT_EQ(f.Left(), 0);
  EXPECT_EQ(f.Width(), 3000);
  f.WindowState(vbMaximized);
  Settle();
  EXPECT_EQ(f.WindowState(), vbMaximized);
  // A maximised or minimised form can be neither moved nor sized.
  const float maxLeft = f.Left(), maxWidth = f.Width();
  for (int state : {vbMaximized, vbMinimized}) {
    f.WindowState(state);
    Settle();
    ASSERT_EQ(f.WindowState(), state);
    for (const auto& attempt : std::vector<std::function<void()>>{
             [&] { f.Move(150, 150, 1500, 1500); }, [&] { f.Left(300); }, [&] { f.Top(300); },
             [&] { f.Width(900); }, [&] { f.Height(900); }}) {
      try {
        attempt();
        ADD_FAILURE() << "moved in state " << state;
      } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 384);
      }
    }
    Settle();
    EXPECT_EQ(f.WindowState(), state);
  }
  f.WindowState(vbMaximized);
  Settle();
  EXPECT_EQ(f.Left(), maxLeft);
  EXPECT_EQ(f.Width(), maxWidth);
  f.WindowState(vbNormal);
  Settle();
  EXPECT_EQ(f.WindowState(), vbNormal);
  // A window moved from outside (a drag) reads back where it is.
  win::MoveWindow(f.hWnd(), 33, 44, 200, 100, win::TRUE);
  Settle();
  EXPECT_EQ(f.Left(), 33 * 15);
  EXPECT_EQ(f.Top(), 44 * 15);
  EXPECT_EQ(f.Width(), 200 * 15);
}

TEST(Form, AModalFormHoldsTheCallerUntilItIsHiddenAndBlocksTheOthers) {
  Basic& owner = Forms::Get<Basic>();
  owner.Show();
  Basic modal;
  bool ownerEnabledMeanwhile = true;
  QTimer::singleShot(30, [&] {
    ownerEnabledMeanwhile = owner.Enabled();
    modal.Hide();
  });
  modal.Show(vbModal);
  EXPECT_FALSE(modal.Visible());
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_TRUE(owner.Enabled());
  forms::testing::ReleaseAllForms();
}
