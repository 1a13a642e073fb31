#pragma once

// Program-wide services of the runtime: App, Screen, message boxes, the
// event loop, colours, string tables, the clipboard.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "win/types.h"

namespace forms {

class Form;

struct App {
  // The program folder (no trailing separator).
  static std::string Path();
  static std::string EXEName();
  static std::string Title();
  static void SetTitle(std::string_view title);
  // True when another copy of this program runs for this user.
  static bool PrevInstance();
  static int Major();
  static int Minor();
  static int Revision();
};

struct Screen {
  static float Width();   // twips
  static float Height();  // twips
  static float TwipsPerPixelX() { return 15.0f; }
  static float TwipsPerPixelY() { return 15.0f; }
  static Form* ActiveForm();
};

// Message box styles and answers.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbYesNo = 4;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Shows a modal message box; the title defaults to the program's title.
int MsgBox(std::string_view prompt, int buttons = vbOKOnly, std::string_view title = {});

// Shows the settings store's notices for the user (a damaged settings file,
// settings that cannot be saved) that no one has shown yet, each in a
// message box: every fault reaches the screen once per process.
void ShowSettingsNotices();

// Hands `file` to the desktop's shell (shell::ShellExecuteA with `verb`,
// no parameters, `folder`, shown normally). What cannot be opened, at once
// or once the desktop's opener has failed, is told in one message box that
// names it and says why.
void ShellOpen(win::HWND owner, const char* verb, const std::string& file,
               const std::string& folder);

// Where message boxes go instead of the screen (tests; or a display that no
// one can answer). Returns the previous presenter; an empty one restores the
// default. The presenter returns the answer.
using MessageBoxPresenter =
    std::function<int(std::string_view prompt, int buttons, std::string_view title)>;
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

// One pass of the event loop.
void DoEvents();
// Ends the program at once.
[[noreturn]] void End();

// The 16 colours of the runtime's palette (0 black ... 15 bright white).
win::COLORREF QBColor(int index);
// A colour value of the runtime: RGB or 0x80000000 | system colour index.
win::COLORREF TranslateColor(std::uint32_t oleColour);

// String tables: the program registers its table once at start.
struct StringEntry {
  int id;
  const char* text;
};
void RegisterStringTable(std::span<const StringEntry> entries);
// The string with that id; error 326 when there is none.
std::string LoadResString(int id);

// Activates the running copy of this program whose title is `title`.
// Error 5 when there is none.
void AppActivate(std::string_view title);

struct Clipboard {
  static std::string GetText();
  static void SetText(std::string_view text);
  static void Clear();
};

}  // namespace forms
