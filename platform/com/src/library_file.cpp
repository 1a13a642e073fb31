#include "library_file.h"

#include <elf.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>

#include "com/build_identity.h"

namespace com::detail {

namespace {

namespace fs = std::filesystem;

// Reads byte ranges of the file, refusing any that lies past its end.
class FileBytes {
 public:
  FileBytes(const fs::path& file, std::uint64_t size) : in_(file, std::ios::binary), size_(size) {}
  bool Good() const { return static_cast<bool>(in_); }
  std::uint64_t Size() const { return size_; }
  bool Holds(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  template <class T>
  std::optional<T> Read(std::uint64_t offset) {
    T value{};
    if (!ReadInto(offset, &value, sizeof value)) return std::nullopt;
    return value;
  }
  std::optional<std::string> ReadText(std::uint64_t offset, std::uint64_t length) {
    std::string text(static_cast<std::size_t>(length), '\0');
    if (!ReadInto(offset, text.data(), text.size())) return std::nullopt;
    return text;
  }

 private:
  bool ReadInto(std::uint64_t offset, void* out, std::size_t length) {
    if (!Holds(offset, length)) return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(static_cast<char*>(out), static_cast<std::streamsize>(length));
    return static_cast<std::uint64_t>(in_.gcount()) == length;
  }
  std::ifstream in_;
  std::uint64_t size_;
};

// The machine this host runs on, from its own program file.
std::optional<Elf64_Half> HostMachine() {
  std::ifstream self("/proc/self/exe", std::ios::binary);
  Elf64_Ehdr header{};
  if (!self.read(reinterpret_cast<char*>(&header), sizeof header)) return std::nullopt;
  return header.e_machine;
}

std::string CutShort(std::uint64_t size, std::uint64_t needed) {
  return "it is cut short (an interrupted copy?): it holds " + std::to_string(size) +
         " bytes where its own headers need " + std::to_string(needed);
}

constexpr const char* kNotALibrary =
    "it is not a control library (not a shared object of this machine)";

}  // namespace

std::string LibraryFileProblem(const fs::path& file, std::string_view identity) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (fs::is_directory(status)) return "it is a folder, not a control library";
  if (!fs::is_regular_file(status)) return "it is not a regular file";
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) return "it cannot be read (" + ec.message() + ")";
  FileBytes bytes(file, size);
  if (!bytes.Good()) return "it cannot be read";

  const auto header = bytes.Read<Elf64_Ehdr>(0);
  if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0) return kNotALibrary;
  const bool littleEndian = std::endian::native == std::endian::little;
  if (header->e_ident[EI_CLASS] != ELFCLASS64 ||
      header->e_ident[EI_DATA] != (littleEndian ? ELFDATA2LSB : ELFDATA2MSB) ||
      header->e_machine != HostMachine().value_or(header->e_machine))
    return kNotALibrary;
  if (header->e_type != ET_DYN) return "it is not a shared library";

  // Every segment the loader maps must lie in the file.
  if (header->e_phentsize != sizeof(Elf64_Phdr) || header->e_phnum == 0) return kNotALibrary;
  const std::uint64_t programHeaders = std::uint64_t{header->e_phnum} * sizeof(Elf64_Phdr);
  if (!bytes.Holds(header->e_phoff, programHeaders))
    return CutShort(size, header->e_phoff + programHeaders);
  for (unsigned i = 0; i < header->e_phnum; ++i) {
    const auto segment = bytes.Read<Elf64_Phdr>(header->e_phoff + i * sizeof(Elf64_Phdr));
    if (!segment) return CutShort(size, header->e_phoff + programHeaders);
    if (!bytes.Holds(segment->p_offset, segment->p_filesz)) {
      const std::uint64_t end = segment->p_offset + segment->p_filesz;
      return end < segment->p_offset ? kNotALibrary : CutShort(size, end);
    }
  }

  // The sections, where the build's stamp is.
  if (header->e_shentsize != sizeof(Elf64_Shdr) || header->e_shnum == 0 ||
      header->e_shstrndx >= header->e_shnum)
    return "it carries no build stamp: it was not made by this suite's build";
  const std::uint64_t sectionHeaders = std::uint64_t{header->e_shnum} * sizeof(Elf64_Shdr);
  if (!bytes.Holds(header->e_shoff, sectionHeaders))
    return CutShort(size, header->e_shoff + sectionHeaders);
  const auto section = [&](unsigned index) {
    return bytes.Read<Elf64_Shdr>(header->e_shoff + index * sizeof(Elf64_Shdr));
  };
  const auto names = section(header->e_shstrndx);
  if (!names || !bytes.Holds(names->sh_offset, names->sh_size))
    return CutShort(size, names ? names->sh_offset + names->sh_size : header->e_shoff);
  const std::string_view wanted = TAVRINEL_BUILD_STAMP_SECTION;
  std::optional<std::string> stamp;
  for (unsigned i = 0; i < header->e_shnum; ++i) {
    const auto s = section(i);
    if (!s) return CutShort(size, header->e_shoff + sectionHeaders);
    if (s->sh_type != SHT_NOBITS && !bytes.Holds(s->sh_offset, s->sh_size))
      return CutShort(size, s->sh_offset + s->sh_size);
    if (s->sh_name >= names->sh_size) continue;
    const auto name =
        bytes.ReadText(names->sh_offset + s->sh_name,
                       std::min<std::uint64_t>(wanted.size() + 1, names->sh_size - s->sh_name));
    if (name && name->c_str() == wanted && s->sh_type != SHT_NOBITS && s->sh_size < 256)
      stamp = bytes.ReadText(s->sh_offset, s->sh_size);
  }
  if (!stamp) return "it carries no build stamp: it was not made by this suite's build";
  if (std::string_view(stamp->c_str()) != identity)
    return "it was made by another build of the suite, not by the one of this program "
           "(build " +
           std::string(stamp->c_str()) + ", this program is build " + std::string(identity) + ")";
  return {};
}

}  // namespace com::detail
