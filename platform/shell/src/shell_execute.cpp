#include "shell/shell_execute.h"

#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "shell/folders.h"

namespace shell {

namespace {

namespace fs = std::filesystem;

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && StartsWithNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool IsAddress(std::string_view file) {
  return StartsWithNoCase(file, "http://") || StartsWithNoCase(file, "https://") ||
         StartsWithNoCase(file, "mailto:");
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

std::intptr_t OpenWithHandler(const std::string& target) {
  const QString handler = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (handler.isEmpty()) return SE_ERR_NOASSOC;
  return StartDetached(handler, {QString::fromStdString(target)}, {});
}

bool IsExecutableFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

}  // namespace

std::intptr_t ShellExecuteA(win::HWND, const char* verb, const char* file, const char* parameters,
                            const char* folder, int) {
  const std::string_view v = verb ? verb : "";
  if (!v.empty() && !(v.size() == 4 && StartsWithNoCase(v, "open"))) return SE_ERR_NOASSOC;
  const std::string name = file ? file : "";
  if (name.empty()) return SE_ERR_FNF;
  if (IsAddress(name)) return OpenWithHandler(name);

  fs::path path = NativePath(name);
  const std::string base = folder ? folder : "";
  if (path.is_relative() && !base.empty()) path = NativePath(base) / path;
  std::error_code ec;
  if (!path.parent_path().empty() && !fs::is_directory(path.parent_path(), ec)) return SE_ERR_PNF;

  const std::string native = path.string();
  const bool program = EndsWithNoCase(native, ".exe");
  if (program) {
    fs::path file = native.substr(0, native.size() - 4);
    if (!IsExecutableFile(file) && IsExecutableFile(path)) file = path;
    if (!fs::exists(file, ec)) return SE_ERR_FNF;
    if (!IsExecutableFile(file)) return SE_ERR_ACCESSDENIED;
    path = file;
  }
  if (EndsWithNoCase(native, ".hlp")) path.replace_extension(".html");
  if (!fs::exists(path, ec)) return SE_ERR_FNF;

  // A document is opened, never run, whatever its mode says: only a program
  // the suite names as one (".exe") or a file with no kind at all starts.
  if (IsExecutableFile(path) && (program || !path.has_extension())) {
    const QStringList args =
        QProcess::splitCommand(QString::fromLocal8Bit(parameters ? parameters : ""));
    return StartDetached(QString::fromStdString(path.string()), args, path.parent_path());
  }
  return OpenWithHandler(fs::absolute(path, ec).string());
}

}  // namespace shell
