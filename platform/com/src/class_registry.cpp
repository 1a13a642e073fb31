#include "com/class_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace com {

namespace {

namespace fs = std::filesystem;

bool SameProgId(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Held while the registry is read, changed and written.
class FileLock {
 public:
  explicit FileLock(const fs::path& file)
      : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

std::vector<ClassEntry> Parse(std::istream& in) {
  std::vector<ClassEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto t1 = line.find('\t');
    const auto t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
    if (t2 == std::string::npos) continue;
    const auto clsid = GuidFromString(line.substr(t1 + 1, t2 - t1 - 1));
    const std::string library = line.substr(t2 + 1);
    if (!clsid || t1 == 0 || library.empty()) continue;
    entries.push_back({line.substr(0, t1), *clsid, library});
  }
  return entries;
}

std::string Write(const fs::path& file, const std::vector<ClassEntry>& entries) {
  const fs::path temp = file.string() + ".tmp-" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << "# Tavrinel control classes: program id, class id, library\n";
    for (const auto& e : entries)
      out << e.progId << '\t' << ToString(e.clsid) << '\t' << e.library.string() << '\n';
    out.flush();
    if (!out) {
      std::error_code ec;
      fs::remove(temp, ec);
      return "Cannot write the class registry " + file.string() + ": " + std::strerror(errno);
    }
  }
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (ec) {
    fs::remove(temp, ec);
    return "Cannot replace the class registry " + file.string() + ": " + ec.message();
  }
  return {};
}

bool Writable(const std::string& s) {
  return std::none_of(s.begin(), s.end(),
                      [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
}

template <class Change>
std::string Modify(Change change) {
  const fs::path file = ClassRegistryFile();
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  FileLock lock(file.string() + ".lock");
  if (!lock.Held())
    return "Cannot lock the class registry " + file.string() + ": " + std::strerror(errno);
  std::ifstream in(file);
  auto entries = Parse(in);
  in.close();
  change(entries);
  return Write(file, entries);
}

}  // namespace

fs::path ClassRegistryFile() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const fs::path base =
      (data && *data == '/')
          ? fs::path(data)
          : fs::path(std::getenv("HOME") ? std::getenv("HOME") : "") / ".local" / "share";
  return base / "Tavrinel" / "classes.conf";
}

std::vector<ClassEntry> RegisteredClasses() {
  std::ifstream in(ClassRegistryFile());
  return Parse(in);
}

std::optional<ClassEntry> FindClass(std::string_view progId) {
  for (auto& e : RegisteredClasses())
    if (SameProgId(e.progId, progId)) return e;
  return std::nullopt;
}

std::string RegisterClassEntry(const ClassEntry& entry) {
  if (entry.progId.empty() || !Writable(entry.progId) || !Writable(entry.library.string()) ||
      entry.library.empty())
    return "Cannot register the class '" + entry.progId + "' of " + entry.library.string() +
           ": the name or the path holds a tab or a line break";
  return Modify([&](std::vector<ClassEntry>& entries) {
    std::erase_if(entries, [&](const ClassEntry& e) {
      return SameProgId(e.progId, entry.progId) || e.clsid == entry.clsid;
    });
    entries.push_back(entry);
  });
}

std::string UnregisterClassEntry(const ClassEntry& entry) {
  return Modify([&](std::vector<ClassEntry>& entries) {
    std::erase_if(entries, [&](const ClassEntry& e) {
      return (SameProgId(e.progId, entry.progId) || e.clsid == entry.clsid) &&
             e.library == entry.library;
    });
  });
}

}  // namespace com
