// The study cycle's timing tables, repetition, speech and pause.

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "bar_fixture.h"

using namespace dialogra;
using dialogra::testing::BarFixture;

namespace {

// The ticks of Timer5 on which each phase acted during one or more cycles.
struct PhaseTicks {
  std::vector<int> firstLine;   // phase 0
  std::vector<int> secondLine;  // phase 2
  std::vector<int> cycleEnd;    // phase 4
};

class Cycle : public BarFixture {
 protected:
  PhaseTicks Run(Form1& bar, int ticks) {
    PhaseTicks seen;
    Module& m = module();
    const bool italianFirst = m.ce == 1;
    forms::FormTimer& first = italianFirst ? bar.Timer4 : bar.Timer3;
    forms::FormTimer& second = italianFirst ? bar.Timer3 : bar.Timer4;
    for (int t = 1; t <= ticks; ++t) {
      const int repeats = m.RepeatCount;
      bar.Timer5_Timer();
      if (first.Enabled()) {
        seen.firstLine.push_back(t);
        first.Enabled(false);
      }
      if (second.Enabled()) {
        seen.secondLine.push_back(t);
        second.Enabled(false);
      }
      if (m.RepeatCount != repeats && m.RepeatCount != 0) seen.cycleEnd.push_back(t);
    }
    return seen;
  }
};

}  // namespace

TEST_F(Cycle, EnglishFirstByDefaultStands3And5Point1Seconds) {
  Form1& bar = forms::Forms::Get<Form1>();
  module().PlayTimes = 100;
  const PhaseTicks p = Run(bar, 82 * 2);
  // The English line stands 30 ticks, the Italian 51; a cycle is 82 ticks.
  EXPECT_EQ(p.firstLine, (std::vector<int>{1, 83}));
  EXPECT_EQ(p.secondLine, (std::vector<int>{31, 113}));
  EXPECT_EQ(p.cycleEnd, (std::vector<int>{82, 164}));
  // Each line is shown alone: the English one is gone when the Italian comes.
  EXPECT_EQ(bar.Label2.Caption(), " ");
  EXPECT_EQ(bar.Label2.Top(), 400);
}

TEST_F(Cycle, ItalianFirstWith15And3StandsFifteenThenThreePointOne) {
  Form1& bar = forms::Forms::Get<Form1>();
  Module& m = module();
  m.ce = 1;
  m.etime = 15;
  m.ctime = 3;
  m.PlayTimes = 100;
  const PhaseTicks p = Run(bar, 182);
  EXPECT_EQ(p.firstLine, (std::vector<int>{1}));
  EXPECT_EQ(p.secondLine, (std::vector<int>{151}));
  EXPECT_EQ(p.cycleEnd, (std::vector<int>{182}));
  EXPECT_EQ(bar.Label1.Caption(), " ");
}

TEST_F(Cycle, EachPairPlaysNTimesThenTheNextComes) {
  Form1& bar = forms::Forms::Get<Form1>();
  Module& m = module();
  m.PlayTimes = 3;
  bar.NextSentence();
  const std::string first = bar.ItalianText;
  std::vector<int> changes;
  std::string shown = first;
  for (int t = 1; t <= 82 * 4; ++t) {
    bar.Timer5_Timer();
    if (bar.ItalianText != shown) {
      changes.push_back(t);
      shown = bar.ItalianText;
    }
  }
  // Three full cycles of the first pair, the next at the fourth's first tick.
  EXPECT_EQ(changes, (std::vector<int>{3 * 82 + 1}));
  EXPECT_EQ(shown, forms::LoadResString(10102));
}

TEST_F(Cycle, TheCharacterSpeaksTheItalianLineAndWavesEvenWithoutVoice) {
  Form1& bar = LoadBar();
  Ticks(68, 60);  // the intro starts the cycle
  requests.clear();
  clock.Advance(8200);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{bar.ItalianText}));
  EXPECT_EQ(Played("Wave"), 1);
  module().SpeechOn = 0;
  clock.Advance(8200);
  EXPECT_EQ(Spoken().size(), 1u);
  EXPECT_EQ(Played("Wave"), 2);
}

TEST_F(Cycle, ALineThatCannotBeSpokenStillGetsItsWave) {
  LoadBar();
  Ticks(68, 60);
  requests.clear();
  agent::SetRequestObserver([this](const agent::RequestRecord& r) {
    requests.push_back(r);
    if (r.kind == agent::RequestRecord::Kind::Speak) throw agent::Error("no voice");
  });
  clock.Advance(8200);
  EXPECT_EQ(Spoken().size(), 1u);
  EXPECT_EQ(Played("Wave"), 1);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Cycle, PausingInPhaseThreeResumesWithTheRemainingTicksOnly) {
  Form1& bar = LoadBar();
  Ticks(68, 60);
  ASSERT_TRUE(bar.Timer5.Enabled());
  clock.Advance(4000);  // the Italian line is up (phase 3)
  ASSERT_EQ(module().CyclePhase, 3);
  const int ticksSoFar = module().CycleTicks;
  bar.Image2_Click(1);
  EXPECT_FALSE(bar.Timer5.Enabled());
  EXPECT_FALSE(bar.Image2[1].Visible());
  EXPECT_TRUE(bar.Image2[0].Visible());
  EXPECT_EQ(bar.Image2[0].ToolTipText(), "Play");
  clock.Advance(60000);
  EXPECT_EQ(module().CycleTicks, ticksSoFar);
  EXPECT_EQ(module().RepeatCount, 0);
  bar.Image2_Click(0);
  EXPECT_TRUE(bar.Timer5.Enabled());
  EXPECT_TRUE(bar.Image2[1].Visible());
  // The cycle ends on tick 82 of its count: after the ticks that remained.
  clock.Advance((82 - ticksSoFar - 1) * 100);
  EXPECT_EQ(module().RepeatCount, 0);
  clock.Advance(100);
  EXPECT_EQ(module().RepeatCount, 1);
}

TEST_F(Cycle, TheEnglishLineSlidesInAndTheItalianScrollsIn) {
  Form1& bar = forms::Forms::Get<Form1>();
  bar.EnglishText = "Good morning.";
  bar.ItalianText = "Buongiorno.";
  bar.Label2.Top(400);
  int ticks = 0;
  bar.Timer3.Enabled(true);
  while (bar.Timer3.Enabled() && ticks < 100) {
    bar.Timer3_Timer();
    ++ticks;
    if (ticks == 34) {
      EXPECT_EQ(bar.Label2.Top(), 60);
    }
  }
  EXPECT_EQ(ticks, 35);  // at 60 on the 34th tick, stopped on the 35th
  EXPECT_EQ(bar.Label2.Caption(), " Good morning.");

  ticks = 0;
  bar.Timer4.Enabled(true);
  bar.Timer4_Timer();
  ++ticks;
  EXPECT_EQ(bar.Label1.Caption(), std::string(36, ' ') + "Buongiorno.");
  while (bar.Timer4.Enabled() && ticks < 100) {
    bar.Timer4_Timer();
    ++ticks;
  }
  EXPECT_EQ(ticks, 36);
  EXPECT_EQ(bar.Label1.Caption(), " Buongiorno.");
  EXPECT_EQ(bar.ScrollStep, 0);
  // A pair changed during a scroll shows from the next scroll tick on.
  bar.Timer4.Enabled(true);
  bar.Timer4_Timer();
  bar.ItalianText = "Arrivederci.";
  bar.Timer4_Timer();
  EXPECT_EQ(bar.Label1.Caption(), std::string(35, ' ') + "Arrivederci.");
}

TEST_F(Cycle, ALongItalianLineScrollsInOnOneLineAndEndsWhole) {
  // Lesson 15, sentence 50, the longest kind of line of the lessons.
  Form1& bar = forms::Forms::Get<Form1>();
  bar.ItalianText = forms::LoadResString(11550);
  ASSERT_EQ(bar.ItalianText, "Si possono comprare i biglietti online o solo al botteghino?");
  const QFontMetrics metrics(bar.Label1.Font().ToQFont());
  const QSize size = bar.Label1.Widget()->size();
  bar.Timer4.Enabled(true);
  for (int tick = 1; bar.Timer4.Enabled() && tick <= 40; ++tick) {
    bar.Timer4_Timer();
    // The label painted on a surface taller than itself: nothing may stand
    // below its first line.
    QImage image(size.width(), size.height() * 3, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      bar.Label1.PaintOn(painter);
    }
    for (int y = metrics.height(); y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << "tick " << tick << ": ink at " << x << "," << y;
  }
  EXPECT_FALSE(bar.Timer4.Enabled());
  EXPECT_EQ(bar.Label1.Caption(), " " + bar.ItalianText);
}
