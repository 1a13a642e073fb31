#include "forms/app.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "dao/database.h"
#include "forms/errors.h"
#include "forms/form.h"
#include "forms/settings.h"
#include "forms/testing.h"
#include "shell/folders.h"
#include "shell/instance.h"
#include "shell/shell_execute.h"
#include "win/gdi.h"
#include "win/qt_window.h"
#include "win/window.h"

namespace forms {

namespace {

// The program-wide state the runtime keeps for App.
struct AppState {
  std::optional<std::string> title;
  std::unique_ptr<shell::InstanceLock> lock;
  MessageBoxPresenter presenter;
  std::map<int, std::string> strings;
  std::function<void()> endHandler;
};

AppState& state() {
  static AppState s;
  return s;
}

int DefaultPresenter(std::string_view prompt, int buttons, std::string_view title) {
  const QString text = QString::fromUtf8(prompt.data(), static_cast<int>(prompt.size()));
  const QString caption = QString::fromUtf8(title.data(), static_cast<int>(title.size()));
  if (QGuiApplication::platformName() == "offscreen" ||
      !qobject_cast<QApplication*>(QCoreApplication::instance())) {
    // Nobody can answer a box on a display that shows nothing: say it and go on.
    std::fprintf(stderr, "[%s] %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    return (buttons & 0xF) == vbYesNo ? vbYes : vbOK;
  }
  // The box belongs to the active form: it is centred over it and stays
  // above it. Should the form end while the box is up, it takes the box along.
  QWidget* owner = win::WindowWidget(win::GetAncestor(win::GetActiveWindow(), win::GA_ROOT));
  auto made = std::make_unique<QMessageBox>(owner);
  const QPointer<QMessageBox> alive = made.get();
  QMessageBox& box = *made;
  box.setWindowTitle(caption);
  box.setText(text);
  switch (buttons & 0x70) {
    case vbCritical:
      box.setIcon(QMessageBox::Critical);
      break;
    case vbQuestion:
      box.setIcon(QMessageBox::Question);
      break;
    case vbExclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case vbInformation:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
  switch (buttons & 0xF) {
    case vbOKCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case vbYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  const int answer = box.exec();
  if (!alive) static_cast<void>(made.release());  // its owner's end deleted it
  switch (answer) {
    case QMessageBox::Cancel:
      return vbCancel;
    case QMessageBox::Yes:
      return vbYes;
    case QMessageBox::No:
      return vbNo;
    default:
      return vbOK;
  }
}

}  // namespace

std::string App::Path() {
  return shell::ProgramFolder().string();
}

std::string App::EXEName() {
  if (const char* n = std::getenv("TAVRINEL_PROGRAM_NAME"); n && *n) return n;
  // The program file's own name, not the one it was started by: a link to
  // it must not make a second program of it (single instance).
  if (std::string own = shell::ProgramIdentity(); !own.empty()) return own;
  const QString name = QCoreApplication::applicationName();
  return name.isEmpty() ? "program" : name.toStdString();
}

std::string App::Title() {
  return state().title ? *state().title : EXEName();
}
void App::SetTitle(std::string_view title) {
  state().title = std::string(title);
}

bool App::PrevInstance() {
  auto& s = state();
  if (!s.lock) s.lock = std::make_unique<shell::InstanceLock>(EXEName());
  return !s.lock->First();
}

int App::Major() {
  return 2;
}
int App::Minor() {
  return 6;
}
int App::Revision() {
  return 0;
}

float Screen::Width() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return static_cast<float>((s ? s->geometry().width() : 1024) * 15);
}

float Screen::Height() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return static_cast<float>((s ? s->geometry().height() : 768) * 15);
}

Form* Screen::ActiveForm() {
  const win::HWND active = win::GetActiveWindow();
  for (Form* f : Forms::All())
    if (f->hWnd() && f->hWnd() == active) return f;
  return nullptr;
}

int MsgBox(std::string_view prompt, int buttons, std::string_view title) {
  const std::string caption = title.empty() ? App::Title() : std::string(title);
  auto& presenter = state().presenter;
  if (presenter) return presenter(prompt, buttons, caption);
  return DefaultPresenter(prompt, buttons, caption);
}

void ShowSettingsNotices() {
  for (const std::string& notice : TakeSettingsNotices()) MsgBox(notice, vbExclamation);
}

void ShellOpen(win::HWND owner, const char* verb, const std::string& file,
               const std::string& folder) {
  shell::ShellExecuteA(owner, verb, file.c_str(), nullptr, folder.c_str(), shell::SW_SHOWNORMAL,
                       [](const std::string& message) { MsgBox(message, vbExclamation); });
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
  return std::exchange(state().presenter, std::move(presenter));
}

void DoEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void End() {
  if (auto& handler = state().endHandler) {
    handler();
    throw testing::ProgramEnded();
  }
  std::fflush(nullptr);
  // Nothing is unwound: the databases' lock files would stay behind.
  dao::ReleaseAllAtEnd();
  std::_Exit(0);
}

win::COLORREF QBColor(int index) {
  static constexpr win::COLORREF palette[16] = {
      win::RGB(0, 0, 0),      win::RGB(0, 0, 128),     win::RGB(0, 128, 0),
      win::RGB(0, 128, 128),  win::RGB(128, 0, 0),     win::RGB(128, 0, 128),
      win::RGB(128, 128, 0),  win::RGB(192, 192, 192), win::RGB(128, 128, 128),
      win::RGB(0, 0, 255),    win::RGB(0, 255, 0),     win::RGB(0, 255, 255),
      win::RGB(255, 0, 0),    win::RGB(255, 0, 255),   win::RGB(255, 255, 0),
      win::RGB(255, 255, 255)};
  if (index < 0 || index > 15)
    throw RuntimeError(err::InvalidCall, "Invalid procedure call or argument");
  return palette[index];
}

win::COLORREF TranslateColor(std::uint32_t c) {
  if (c & 0x80000000u) return win::GetSysColor(static_cast<int>(c & 0xFF));
  return c & 0xFFFFFF;
}

void RegisterStringTable(std::span<const StringEntry> entries) {
  auto& table = state().strings;
  for (const auto& e : entries) table[e.id] = e.text;
}

namespace testing {
void ClearStringTable() {
  state().strings.clear();
}
}  // namespace testing

std::string LoadResString(int id) {
  auto& table = state().strings;
  auto it = table.find(id);
  if (it == table.end())
    throw RuntimeError(err::ResourceNotFound,
                       "Resource with identifier '" + std::to_string(id) + "' not found");
  return it->second;
}

void AppActivate(std::string_view title) {
  for (Form* f : Forms::All()) {
    if (f->hWnd() && f->Caption() == title && f->Visible()) {
      win::SetForegroundWindow(f->hWnd());
      return;
    }
  }
  if (!shell::RequestActivation(App::EXEName(), title))
    throw RuntimeError(err::InvalidCall, "Invalid procedure call or argument");
}

std::string Clipboard::GetText() {
  return QGuiApplication::clipboard()->text().toStdString();
}

void Clipboard::SetText(std::string_view text) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void Clipboard::Clear() {
  QGuiApplication::clipboard()->clear();
}

namespace testing {
void SetEndHandler(std::function<void()> handler) {
  state().endHandler = std::move(handler);
}
void ReleaseInstanceLock() {
  state().lock.reset();
}
}  // namespace testing

}  // namespace forms
