// The character window: showing and hiding, its shape, animations, the
// balloon, MoveTo and dragging.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <memory>
#include <set>
#include <vector>

#include "agent/agent.h"
#include "agent_test_support.h"
#include "character_impl.h"
#include "character_window.h"

namespace {

using agenttest::SystemFolder;
using agenttest::WaitUntil;
using namespace std::chrono_literals;

class AgentWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    sys_.PutBuilt("Merlin");
    control_.Characters().Load("Merlin", "Merlin.acs");
    merlin_ = control_.Characters()("Merlin");
    window_ = merlin_->Impl().Window();
  }
  int Rest() const { return merlin_->Impl().Data().File().restImage; }

  SystemFolder sys_;
  agent::AgentControl control_;
  std::shared_ptr<agent::Character> merlin_;
  agent::CharacterWindow* window_ = nullptr;
};

TEST_F(AgentWindow, ShowsShapedToTheCharacterAndHidesAgain) {
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(merlin_->Visible());
  merlin_->Show();
  EXPECT_TRUE(merlin_->Visible());
  EXPECT_TRUE(window_->isVisible());
  // It grows in over a few steps.
  const auto early = window_->mask().boundingRect();
  EXPECT_LT(early.height(), 20);
  EXPECT_TRUE(WaitUntil([&] { return window_->mask().boundingRect().height() > 100; }, 3s));
  // Frameless and topmost, and transparent around the figure: the corners are
  // outside its shape.
  EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window_->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window_->mask().contains(QPoint(0, 0)));
  EXPECT_FALSE(window_->mask().contains(QPoint(127, 0)));
  EXPECT_TRUE(window_->mask().contains(QPoint(64, 100)));

  merlin_->Hide();
  EXPECT_FALSE(merlin_->Visible());
  EXPECT_TRUE(window_->isVisible());  // still shrinking
  EXPECT_TRUE(WaitUntil([&] { return !window_->isVisible(); }, 2s));
}

TEST_F(AgentWindow, MoveToPlacesItInScreenPixels) {
  merlin_->Show();
  merlin_->MoveTo(166, 180);
  EXPECT_EQ(window_->pos(), QPoint(166, 180));
  // A hidden character keeps its place for the next Show.
  merlin_->Hide();
  merlin_->MoveTo(20, 30);
  agenttest::Pump(300ms);
  merlin_->Show();
  EXPECT_EQ(window_->pos(), QPoint(20, 30));
}

TEST_F(AgentWindow, AnimationsPlayTheirFramesAndReturnToTheRestPose) {
  merlin_->Show();
  merlin_->Play("Wave");
  std::set<int> seen;
  ASSERT_TRUE(WaitUntil([&] {
    seen.insert(window_->CurrentImage());
    return !merlin_->Busy();
  }));
  EXPECT_GE(seen.size(), 3u);
  EXPECT_EQ(window_->CurrentImage(), Rest());
}

TEST_F(AgentWindow, TheBalloonShowsTheTextWhileItSpeaks) {
  merlin_->Show();
  merlin_->MoveTo(400, 400);
  agenttest::Pump(300ms);
  const std::string text = "Buongiorno! Oggi parliamo di città.";
  merlin_->Speak(text);
  EXPECT_TRUE(window_->BalloonShown());
  EXPECT_EQ(window_->BalloonText().toStdString(), text);
  // The mouth moves while it speaks.
  std::set<int> seen;
  ASSERT_TRUE(WaitUntil([&] {
    seen.insert(window_->CurrentImage());
    return !merlin_->Busy();
  }));
  EXPECT_GE(seen.size(), 3u);
  EXPECT_EQ(window_->CurrentImage(), Rest());
  // The balloon lingers a moment, then goes.
  EXPECT_TRUE(WaitUntil([&] { return !window_->BalloonShown(); }, 2s));

  // A hidden character speaks without a balloon.
  merlin_->Hide();
  merlin_->Speak("sì");
  EXPECT_FALSE(window_->BalloonShown());
  merlin_->Stop();
}

TEST_F(AgentWindow, TheUserCanDragIt) {
  merlin_->Show();
  merlin_->MoveTo(100, 100);
  agenttest::Pump(300ms);
  auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(global - window_->pos()), QPointF(global), Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(window_, &e);
  };
  send(QEvent::MouseButtonPress, {160, 200}, Qt::LeftButton);
  send(QEvent::MouseMove, {190, 260}, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {190, 260}, Qt::NoButton);
  EXPECT_EQ(window_->pos(), QPoint(130, 160));
  send(QEvent::MouseMove, {300, 300}, Qt::NoButton);
  EXPECT_EQ(window_->pos(), QPoint(130, 160));
}

TEST(AgentPlaces, CharactersOfProgramsRunTogetherStandApartAndNoBalloonCoversAnother) {
  // Each program has its own control; three of them take the first three
  // places, more than fit side by side on the test screen.
  SystemFolder sys;
  sys.PutBuilt("Merlin");
  std::vector<std::unique_ptr<agent::AgentControl>> programs;
  std::vector<std::shared_ptr<agent::Character>> characters;
  for (int place = 0; place < 3; ++place) {
    programs.push_back(std::make_unique<agent::AgentControl>());
    programs.back()->Characters().StartPlace(place);
    programs.back()->Characters().Load("Merlin", "Merlin.acs");
    characters.push_back(programs.back()->Characters()("Merlin"));
    characters.back()->Show();
  }
  agenttest::Pump(300ms);
  std::string text;
  for (int i = 0; i < 36; ++i) text += "WWWWW ";
  for (std::size_t i = 0; i < characters.size(); ++i) {
    agent::CharacterWindow* speaker = characters[i]->Impl().Window();
    characters[i]->Speak(text);
    ASSERT_TRUE(speaker->BalloonShown());
    for (std::size_t j = 0; j < characters.size(); ++j) {
      if (j == i) continue;
      const QRect other = characters[j]->Impl().Window()->geometry();
      EXPECT_FALSE(speaker->geometry().intersects(other)) << i << " stands on " << j;
      EXPECT_FALSE(speaker->BalloonGeometry().intersects(other))
          << "the balloon of " << i << " covers " << j;
    }
    characters[i]->Stop();
  }
}

}  // namespace
