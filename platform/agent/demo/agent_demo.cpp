// Shows a character speaking, for looking at and listening to.
//
//   agent_demo [--character NAME] [--at X Y] [--english] [--play ANIMATION]
//              [--shot FILE.png --shot-after MS] TEXT...
//
// Loads the character from the system folder, shows it, plays the animation
// (default "Greet"), speaks TEXT and ends when the character is done. With
// --shot it saves a picture of the whole screen MS milliseconds after the
// speech began.
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "agent/agent.h"

int main(int argc, char** argv) {
  setenv("TAVRINEL_SPEECH_ENGINE", AGENT_DEMO_SPEECH_ENGINE, 0);
  QApplication app(argc, argv);
  std::string name = "Merlin", text, play = "Greet", shot;
  int x = -1, y = -1, shotAfter = 1500;
  bool english = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--character" && i + 1 < argc) {
      name = argv[++i];
    } else if (arg == "--at" && i + 2 < argc) {
      x = std::stoi(argv[++i]);
      y = std::stoi(argv[++i]);
    } else if (arg == "--english") {
      english = true;
    } else if (arg == "--play" && i + 1 < argc) {
      play = argv[++i];
    } else if (arg == "--shot" && i + 1 < argc) {
      shot = argv[++i];
    } else if (arg == "--shot-after" && i + 1 < argc) {
      shotAfter = std::stoi(argv[++i]);
    } else {
      text += (text.empty() ? "" : " ") + arg;
    }
  }
  if (text.empty()) text = "Ciao! Sono " + name + ". Oggi impariamo l'italiano insieme.";

  agent::AgentControl control;
  try {
    control.Characters().Load(name, name + ".acs");
  } catch (const agent::Error& e) {
    std::fprintf(stderr, "agent_demo: %s\n", e.what());
    return 1;
  }
  auto character = control.Characters()(name);
  character->Show();
  if (x >= 0) character->MoveTo(x, y);
  if (english) character->SetLanguageID(agent::kBritishEnglish);
  if (!play.empty()) character->Play(play);

  agent::SetPlaybackObserver([&](const agent::PlaybackRecord& r) {
    if (r.request != agent::PlaybackRecord::Request::Speak) return;
    if (r.kind == agent::PlaybackRecord::Kind::Started && !shot.empty())
      QTimer::singleShot(shotAfter, [&] {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen && screen->grabWindow(0).save(QString::fromStdString(shot)))
          std::printf("agent_demo: screen saved to %s\n", shot.c_str());
      });
    if (r.kind == agent::PlaybackRecord::Kind::Finished)
      std::printf("agent_demo: spoke %.2f s with voice %s through output \"%s\"%s%s\n",
                  r.audioSeconds, r.voice.c_str(), r.audioOutput.c_str(),
                  r.wav.empty() ? "" : ", written to ", r.wav.string().c_str());
  });
  character->Speak(text);
  character->Play("Wave");

  QTimer done;
  QObject::connect(&done, &QTimer::timeout, [&] {
    if (!character->Busy()) QTimer::singleShot(1000, [] { QApplication::quit(); });
  });
  done.start(100);
  const int rc = QApplication::exec();
  agent::SetPlaybackObserver({});
  return rc;
}
