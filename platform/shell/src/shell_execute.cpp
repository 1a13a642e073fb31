#include "shell/shell_execute.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "base/ascii_case.h"
#include "handler_watch.h"
#include "shell/folders.h"

namespace shell {

namespace {

namespace fs = std::filesystem;

bool IsAddress(std::string_view file) {
  return base::StartsWithIgnoreAsciiCase(file, "http://") ||
         base::StartsWithIgnoreAsciiCase(file, "https://") ||
         base::StartsWithIgnoreAsciiCase(file, "mailto:");
}

// Starts `program` with `args` in `folder` as a process of its own, so that
// it lives on when the starter ends. Only the fork and exec are waited for.
std::intptr_t StartDetached(const QString& program, const QStringList& args,
                            const fs::path& folder) {
  std::error_code ec;
  if (!folder.empty() && !fs::is_directory(folder, ec)) return SE_ERR_PNF;
  QProcess process;
  process.setProgram(program);
  process.setArguments(args);
  if (!folder.empty()) process.setWorkingDirectory(QString::fromStdString(folder.string()));
  process.setStandardInputFile(QProcess::nullDevice());
  return process.startDetached() ? kShellExecuteOk : SE_ERR_ACCESSDENIED;
}

// The handler is watched when someone is to hear of its failure and an
// event loop runs to watch it from; otherwise it is simply let go.
std::intptr_t OpenWithHandler(const std::string& target, const OpenFailure& failed) {
  const QString handler = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (handler.isEmpty()) return SE_ERR_NOASSOC;
  if (failed && QCoreApplication::instance())
    return detail::StartWatchedHandler(handler.toStdString(), target, failed) ? kShellExecuteOk
                                                                              : SE_ERR_ACCESSDENIED;
  return StartDetached(handler, {QString::fromStdString(target)}, {});
}

std::string FailureText(std::intptr_t result) {
  switch (result) {
    case SE_ERR_FNF:
      return "the file does not exist";
    case SE_ERR_PNF:
      return "its folder does not exist";
    case SE_ERR_ACCESSDENIED:
      return "it cannot be started";
    case SE_ERR_NOASSOC:
      return "this desktop has no program that opens it (xdg-open was not found)";
    default:
      return "the system has not enough resources";
  }
}

bool IsExecutableFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

// What the call does; `shown` is what it tried to open, as the user knows it.
std::intptr_t Execute(const char* verb, const char* file, const char* parameters,
                      const char* folder, const OpenFailure& failed, std::string& shown) {
  const std::string_view v = verb ? verb : "";
  if (!v.empty() && !base::EqualsIgnoreAsciiCase(v, "open")) return SE_ERR_NOASSOC;
  const std::string name = file ? file : "";
  shown = name;
  if (name.empty()) return SE_ERR_FNF;
  if (IsAddress(name)) return OpenWithHandler(name, failed);

  fs::path path = NativePath(name);
  const std::string base = folder ? folder : "";
  if (path.is_relative() && !base.empty()) path = NativePath(base) / path;
  shown = path.string();
  std::error_code ec;
  if (!path.parent_path().empty() && !fs::is_directory(path.parent_path(), ec)) return SE_ERR_PNF;

  const std::string native = path.string();
  const bool program = base::EndsWithIgnoreAsciiCase(native, ".exe");
  if (program) {
    fs::path file = native.substr(0, native.size() - 4);
    if (!IsExecutableFile(file) && IsExecutableFile(path)) file = path;
    shown = file.string();
    if (!fs::exists(file, ec)) return SE_ERR_FNF;
    if (!IsExecutableFile(file)) return SE_ERR_ACCESSDENIED;
    path = file;
  }
  if (base::EndsWithIgnoreAsciiCase(native, ".hlp")) path.replace_extension(".html");
  shown = path.string();
  if (!fs::exists(path, ec)) return SE_ERR_FNF;

  // A document is opened, never run, whatever its mode says: only a program
  // the suite names as one (".exe") or a file with no kind at all starts.
  if (IsExecutableFile(path) && (program || !path.has_extension())) {
    const QStringList args =
        QProcess::splitCommand(QString::fromLocal8Bit(parameters ? parameters : ""));
    return StartDetached(QString::fromStdString(path.string()), args, path.parent_path());
  }
  return OpenWithHandler(fs::absolute(path, ec).string(), failed);
}

}  // namespace

std::intptr_t ShellExecuteA(win::HWND owner, const char* verb, const char* file,
                            const char* parameters, const char* folder, int show) {
  return ShellExecuteA(owner, verb, file, parameters, folder, show, {});
}

std::intptr_t ShellExecuteA(win::HWND, const char* verb, const char* file, const char* parameters,
                            const char* folder, int, OpenFailure failed) {
  std::string shown;
  const std::intptr_t result = Execute(verb, file, parameters, folder, failed, shown);
  if (result <= 32 && failed)
    failed("Could not open " + (shown.empty() ? std::string("an empty name") : shown) + ": " +
           FailureText(result) + ".");
  return result;
}

}  // namespace shell
