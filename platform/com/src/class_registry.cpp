#include "com/class_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "base/unique_fd.h"

namespace com {

namespace {

namespace fs = std::filesystem;

// Held while the registry is read, changed and written.
class FileLock {
 public:
  explicit FileLock(const fs::path& file)
      : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_.valid() && ::flock(fd_.get(), LOCK_EX) != 0) fd_ = base::UniqueFd();
  }
  bool Held() const { return fd_.valid(); }

 private:
  base::UniqueFd fd_;
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
  std::ostringstream out;
  out << "# Tavrinel control classes: program id, class id, library\n";
  for (const auto& e : entries)
    out << e.progId << '\t' << ToString(e.clsid) << '\t' << e.library.string() << '\n';
  const fs::path temp = file.string() + ".tmp-" + std::to_string(::getpid());
  if (std::string failed = base::WriteFileAtomically(file, temp, out.str()); !failed.empty())
    return "Cannot write the class registry " + file.string() + ": " + failed;
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
    if (base::EqualsIgnoreAsciiCase(e.progId, progId)) return e;
  return std::nullopt;
}

std::string RegisterClassEntry(const ClassEntry& entry) {
  if (entry.progId.empty() || !Writable(entry.progId) || !Writable(entry.library.string()) ||
      entry.library.empty())
    return "Cannot register the class '" + entry.progId + "' of " + entry.library.string() +
           ": the name or the path holds a tab or a line break";
  return Modify([&](std::vector<ClassEntry>& entries) {
    std::erase_if(entries, [&](const ClassEntry& e) {
      return base::EqualsIgnoreAsciiCase(e.progId, entry.progId) || e.clsid == entry.clsid;
    });
    entries.push_back(entry);
  });
}

std::string UnregisterClassEntry(const ClassEntry& entry) {
  return Modify([&](std::vector<ClassEntry>& entries) {
    std::erase_if(entries, [&](const ClassEntry& e) {
      return (base::EqualsIgnoreAsciiCase(e.progId, entry.progId) || e.clsid == entry.clsid) &&
             e.library == entry.library;
    });
  });
}

}  // namespace com
