#include "frm_main.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <thread>
#include <vector>

#include "base/ascii_case.h"
#include "shell/folders.h"
#include "suite/character_loader.h"

namespace reader {

using namespace forms;

std::string_view GreetingFor(int hour) {
  if (hour < 12) return "Good morning";
  if (hour < 17) return "Good afternoon";
  return "Good evening";
}

namespace {
// "1", "-1", "True": on. Anything else, a damaged value too, leaves it off.
bool TruthValue(std::string_view text) {
  if (base::EqualsIgnoreAsciiCase(text, "true")) return true;
  double number = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  return ec == std::errc() && end == text.data() + text.size() && number != 0;
}

int LocalHour() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_hour;
}
}  // namespace

frmMain::frmMain()
    : Form(":/forms/reader/frmMain.json"),
      CurrentHour(LocalHour),
      xp_canvas1(Get<controls::xp_canvas>("xp_canvas1")),
      xptopbuttons1(Get<controls::xptopbuttons>("xptopbuttons1")),
      Label3(Get<Label>("Label3")),
      chkAutoReadClip(Get<CheckBox>("chkAutoReadClip")),
      Frame1(Get<forms::Frame>("Frame1")),
      txtTextToRead(Get<TextBox>("txtTextToRead")),
      Exit(Get<controls::xpcmdbutton>("Exit")),
      lblRead(Get<controls::xpcmdbutton>("lblRead")),
      lblStop(Get<controls::xpcmdbutton>("lblStop")),
      Label1(Get<controls::xpcmdbutton>("Label1")),
      File1(Get<FileListBox>("File1")),
      Timer1(Get<FormTimer>("Timer1")),
      Image1(Get<forms::Image>("Image1")) {
  chkAutoReadClip.Click = [this] { chkAutoReadClip_Click(); };
  Timer1.Timer = [this] { Timer1_Timer(); };
  lblRead.Click = [this] { lblRead_Click(); };
  lblStop.Click = [this] { lblStop_Click(); };
  Label1.Click = [this] { Label1_Click(); };
  File1.Click = [this] { File1_Click(); };
  Exit.Click = [this] { Unload(*this); };
  xptopbuttons1.Click = [this] { Unload(*this); };
  Timer1.Enabled(false);
}

std::string frmMain::GetWindowsDirectorys() const {
  std::string buffer(260, '\0');
  shell::GetWindowsDirectoryA(buffer.data(), static_cast<unsigned>(buffer.size()));
  buffer.resize(buffer.find('\0'));
  return buffer + "\\";
}

template <typename F>
void frmMain::Request(F&& request) {
  if (!agentCharacter) return;
  try {
    request(*agentCharacter);
  } catch (const agent::Error&) {
    // The character's failures are let go: reading goes on without that motion.
  }
}

void frmMain::PlayAndSpeak(std::string_view animation, std::string_view text) {
  // A character without the animation still speaks.
  Request([animation](agent::Character& c) { c.Play(animation); });
  Request([text](agent::Character& c) { c.Speak(text); });
}

// The caption's rounded corners let the desktop show through, as the
// frame's key colour would otherwise show at the two top corners.
void frmMain::Form_Resize() {
  if (WindowState() != forms::vbMinimized) xp_canvas1.make_trans(*this);
}

void frmMain::Form_Load() {
  File1.Path(GetWindowsDirectorys() + "msagent\\chars");
  agentCharacter = characters::LoadAtStart(Agent, characterName);
  ShowCharacter();
  if (TruthValue(characters::ReadSetting("AutoRead", "0"))) chkAutoReadClip.Value(1);
  // A damaged settings file is told once, over the window.
  forms::ShowSettingsNotices();
  Greet();
  DoEvents();
}

void frmMain::ShowCharacter() {
  Label3.Caption(characterName.empty() ? "" : characters::CharacterFile(characterName));
  Request([](agent::Character& c) {
    c.Show();
    c.MoveTo(166, 180);
  });
}

void frmMain::Greet() {
  const std::string_view greeting = GreetingFor(CurrentHour());
  Request([greeting](agent::Character& c) { c.Speak(greeting); });
}

void frmMain::chkAutoReadClip_Click() {
  const bool on = chkAutoReadClip.Value() == 1;
  Timer1.Enabled(on);
  characters::WriteSetting("AutoRead", on ? "1" : "0");
}

void frmMain::Timer1_Timer() {
  // A read still waiting on the clipboard's owner is left to finish.
  clipboardReader_.Request();
}

void frmMain::ReadCopiedText(const std::string& text) {
  // Only text counts: a picture or other data on the clipboard reads as no
  // text and is left where it is. A read that ends after the box was
  // cleared is dropped.
  if (text.empty() || !Timer1.Enabled()) return;
  txtTextToRead.Text(text);
  const std::string toRead = txtTextToRead.Text();
  PlayAndSpeak("read", toRead);
  Clipboard::SetText("");
}

void frmMain::lblRead_Click() {
  PlayAndSpeak("read", txtTextToRead.Text());
}

void frmMain::lblStop_Click() {
  Request([](agent::Character& c) { c.Stop(); });
}

void frmMain::Label1_Click() {
  if (!agentCharacter) return;
  std::vector<std::string> names;
  try {
    names = agentCharacter->AnimationNames();
  } catch (const agent::Error&) {
    // A character whose animations cannot be listed simply stays still.
    return;
  }
  if (names.empty()) return;
  const auto index = static_cast<std::size_t>(static_cast<double>(names.size()) * Rnd());
  const std::string& chosen = names[std::min(index, names.size() - 1)];
  Request([&chosen](agent::Character& c) { c.Play(chosen); });
}

void frmMain::File1_Click() {
  const std::string file = File1.FileName();
  if (file.empty()) {
    MsgBox("Please select an Agent", vbOKOnly);
    return;
  }
  const std::string name = file.size() > 4 ? file.substr(0, file.size() - 4) : file;
  // The new character must load before the old one goes and before the
  // choice is stored: a bad file would otherwise leave every program that
  // shares the choice without its character at each start.
  agent::AgentControl trial;
  std::string failure;
  if (!characters::TryLoad(trial, name, failure)) {
    MsgBox("The character \"" + name + "\" could not be loaded:\n" + failure +
               "\n\nThe reader keeps its character.",
           vbExclamation);
    return;
  }
  trial.Characters().Unload(name);
  characters::WriteSetting("Agent", name);
  if (agentCharacter) {
    Request([](agent::Character& c) { c.Hide(); });
    DoEvents();
    Agent.Characters().Unload(characterName);
    agentCharacter.reset();
  }
  Form_Load();
}

void frmMain::Form_Unload(int&) {
  PlayAndSpeak("wave", "bye bye!");
  // The window goes at once; the program ends once the farewell has been
  // heard, or after a few seconds when the speech does not end.
  Hide();
  WaitForFarewell();
  forms::End();
}

void frmMain::WaitForFarewell() {
  const auto deadline = std::chrono::steady_clock::now() + kFarewellLimit;
  while (agentCharacter && std::chrono::steady_clock::now() < deadline) {
    try {
      if (!agentCharacter->Busy()) return;
    } catch (const agent::Error&) {
      // A character that cannot answer has nothing left to say: stop waiting.
      return;
    }
    DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace reader
