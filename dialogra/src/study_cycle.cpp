// The study cycle: each pair is shown line by line, in the order, pace and
// repetition the options give, and the character speaks the Italian line.

#include <algorithm>
#include <string>

#include "form1.h"
#include "options.h"

namespace dialogra {

using namespace forms;

void Form1::SpeechStep() {
  // Speech and animation failures are let go: the cycle goes on silently.
  // Each request is guarded on its own, so that a line that cannot be
  // spoken still gets its wave.
  if (!mobjAgent) return;
  if (module().SpeechOn == 1) {
    try {
      mobjAgent->Speak(ItalianText);
    } catch (const agent::Error&) {
    }
  }
  try {
    mobjAgent->Play("Wave");
  } catch (const agent::Error&) {
  }
}

void Form1::Timer5_Timer() {
  Module& m = module();
  m.CycleTicks = AddInt(m.CycleTicks, 1);
  if (m.RepeatCount >= m.PlayTimes) {
    m.RepeatCount = 0;
    NextSentence();
  }
  const bool italianFirst = m.ce == 1;
  const int first = italianFirst ? m.etime : m.ctime;
  const int second = italianFirst ? m.ctime : m.etime;
  switch (m.CyclePhase) {
    case 0:
      if (italianFirst) {
        Timer4.Enabled(true);
        SpeechStep();
      } else {
        Timer3.Enabled(true);
      }
      m.CyclePhase = 1;
      break;
    case 1:
      if (!(0 <= m.CycleTicks && m.CycleTicks < first * 10)) m.CyclePhase = 2;
      break;
    case 2:
      if (italianFirst) {
        Label1.Caption(" ");
        Timer3.Enabled(true);
      } else {
        Label2.Caption(" ");
        Label2.Top(400);
        Timer4.Enabled(true);
        SpeechStep();
      }
      m.CyclePhase = 3;
      break;
    case 3:
      if (!(first * 10 <= m.CycleTicks && m.CycleTicks <= (first + second) * 10)) m.CyclePhase = 4;
      break;
    case 4:
      if (italianFirst) {
        Label2.Caption(" ");
        Label2.Top(400);
      } else {
        Label1.Caption(" ");
      }
      m.RepeatCount = AddInt(m.RepeatCount, 1);
      m.CycleTicks = 0;
      m.CyclePhase = 0;
      break;
    default:
      m.CyclePhase = 0;
      break;
  }
}

void Form1::Timer3_Timer() {
  // The English line slides up into the bar.
  Label2.Caption(" " + EnglishText);
  if (Label2.Top() > 60) {
    Label2.Top(Label2.Top() - 10);
  } else {
    Label2.Top(60);
    Timer3.Enabled(false);
  }
}

void Form1::Timer4_Timer() {
  // The Italian line scrolls in from the right. A long sentence starts
  // nearer, with fewer blanks before it: a line too long for the bar would
  // break, and the tops of its second line would show under the bar.
  const auto blanks =
      std::min(static_cast<std::size_t>(36 - ScrollStep), MostBlanksBefore(ItalianText));
  Label1.Caption(std::string(blanks, ' ') + ItalianText);
  const bool last = ScrollStep == 35;
  ScrollStep = static_cast<std::int16_t>(ScrollStep + 1);
  if (last) {
    ScrollStep = 0;
    Timer4.Enabled(false);
  }
}

std::size_t Form1::MostBlanksBefore(const std::string& text) {
  // Measured once a line, not at every step of its scroll.
  ScrollFit& fit = scrollFit_;
  if (fit.text == text && fit.width == Label1.Width() && fit.font == Label1.Font())
    return fit.blanks;
  std::size_t blanks = 36;
  while (blanks > 0 && !Label1.FitsOnOneLine(std::string(blanks, ' ') + text)) --blanks;
  fit = ScrollFit{text, Label1.Width(), Label1.Font(), blanks};
  return blanks;
}

void Form1::Image2_Click(int) {
  Timer5.Enabled(!Timer5.Enabled());
  if (Timer5.Enabled()) {
    Image2[1].Visible(true);
    Image2[0].Visible(false);
  } else {
    Image2[0].Visible(true);
    Image2[0].ToolTipText("Play");
    Image2[1].Visible(false);
  }
}

}  // namespace dialogra
