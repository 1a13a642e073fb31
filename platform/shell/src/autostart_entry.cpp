#include "autostart_entry.h"

#include <cstdlib>
#include <sstream>

namespace shell::autostart {

namespace {

// The escapes every string value of a desktop entry uses.
std::string EscapeString(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  if (!out.empty() && out.front() == ' ') out.replace(0, 1, "\\s");
  return out;
}

std::string UnescapeString(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    switch (s[++i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        out += s[i];
    }
  }
  return out;
}

}  // namespace

std::filesystem::path Folder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config == '/') return std::filesystem::path(config) / "autostart";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : "") / ".config" / "autostart";
}

std::string QuoteExecArgument(std::string_view path) {
  std::string out = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  return out + "\"";
}

std::string EntryText(std::string_view name, std::string_view path) {
  std::ostringstream os;
  os << "[Desktop Entry]\n"
     << "Type=Application\n"
     << "Name=" << EscapeString(name) << "\n"
     << "Exec=" << EscapeString(QuoteExecArgument(path)) << "\n"
     << "Terminal=false\n";
  return os.str();
}

std::optional<std::string> ProgramOfEntry(std::string_view text) {
  std::istringstream is{std::string(text)};
  std::string line;
  bool inEntry = false;
  while (std::getline(is, line)) {
    if (line.starts_with('[')) {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    if (!inEntry || !line.starts_with("Exec=")) continue;
    const std::string exec = UnescapeString(std::string_view(line).substr(5));
    std::string arg;
    std::size_t i = 0;
    if (!exec.empty() && exec[0] == '"') {
      for (i = 1; i < exec.size() && exec[i] != '"'; ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
        arg += exec[i];
      }
      if (i == exec.size()) return std::nullopt;  // no closing quote
    } else {
      for (; i < exec.size() && exec[i] != ' '; ++i) arg += exec[i];
    }
    std::string out;
    for (std::size_t k = 0; k < arg.size(); ++k) {
      out += arg[k];
      if (arg[k] == '%' && k + 1 < arg.size() && arg[k + 1] == '%') ++k;
    }
    if (out.empty()) return std::nullopt;
    return out;
  }
  return std::nullopt;
}

}  // namespace shell::autostart
