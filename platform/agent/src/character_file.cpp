#include "agent/character_file.h"

#include <array>
#include <set>

#include "agent/agent.h"
#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "text_util.h"

namespace agent {

namespace {

constexpr std::string_view kMagic{"TVRCHAR\x1a", 8};
constexpr std::size_t kHeaderSize = 20;
constexpr int kMaxSide = 1024;
constexpr int kMaxDurationMs = 60000;

void PutU16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>((v >> 8) & 0xff);
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

void PutString(std::string& out, std::string_view s) {
  if (s.size() > 0xffff)
    throw Error("character file: text too long: " + std::string(s.substr(0, 40)));
  PutU16(out, static_cast<unsigned>(s.size()));
  out += s;
}

void PutFrames(std::string& out, const std::vector<FrameRef>& frames) {
  PutU16(out, static_cast<unsigned>(frames.size()));
  for (const auto& f : frames) {
    PutU16(out, static_cast<unsigned>(f.image));
    PutU16(out, static_cast<unsigned>(f.durationMs));
  }
}

// Reads the body strictly: every read is bounds-checked and names what was
// being read when the data ran out.
class Reader {
 public:
  Reader(std::string_view data, const std::string& where) : data_(data), where_(where) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw Error("character file " + where_ + ": " + what);
  }

  std::string_view Take(std::size_t n, const char* what) {
    if (data_.size() - pos_ < n)
      Fail(std::string("damaged: ") + what + " runs past the end of the data");
    auto s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  unsigned U8(const char* what) { return static_cast<unsigned char>(Take(1, what)[0]); }
  unsigned U16(const char* what) {
    auto s = Take(2, what);
    return static_cast<unsigned char>(s[0]) | (static_cast<unsigned char>(s[1]) << 8);
  }
  std::uint32_t U32(const char* what) {
    auto s = Take(4, what);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[i]);
    return v;
  }
  std::string String(const char* what) {
    auto n = U16(what);
    std::string s(Take(n, what));
    if (!IsValidUtf8(s)) Fail(std::string("damaged: ") + what + " is not UTF-8 text");
    return s;
  }
  bool AtEnd() const { return pos_ == data_.size(); }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
  const std::string& where_;
};

std::vector<FrameRef> ReadFrames(Reader& r, std::size_t imageCount, const std::string& owner) {
  const auto count = r.U16("frame count");
  std::vector<FrameRef> frames;
  frames.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    FrameRef f;
    f.image = static_cast<int>(r.U16("frame image"));
    f.durationMs = static_cast<int>(r.U16("frame duration"));
    if (static_cast<std::size_t>(f.image) >= imageCount)
      r.Fail("damaged: " + owner + " refers to image " + std::to_string(f.image) + " of " +
             std::to_string(imageCount));
    if (f.durationMs < 1 || f.durationMs > kMaxDurationMs)
      r.Fail("damaged: " + owner + " has a frame of " + std::to_string(f.durationMs) + " ms");
    frames.push_back(f);
  }
  return frames;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
  static constexpr auto kTable = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xffffffffu;
  for (unsigned char b : bytes) c = kTable[(c ^ b) & 0xff] ^ (c >> 8);
  return c ^ 0xffffffffu;
}

std::string EncodeCharacterFile(const CharacterFile& file) {
  std::string body;
  PutString(body, file.name);
  PutU16(body, static_cast<unsigned>(file.width));
  PutU16(body, static_cast<unsigned>(file.height));
  PutU16(body, static_cast<unsigned>(file.voices.size()));
  for (const auto& v : file.voices) {
    PutU16(body, static_cast<unsigned>(v.languageId));
    PutString(body, v.voice);
    body += static_cast<char>(v.pitch);
    PutU16(body, static_cast<unsigned>(v.rate));
  }
  PutU16(body, static_cast<unsigned>(file.images.size()));
  for (const auto& image : file.images) {
    PutU32(body, static_cast<std::uint32_t>(image.size()));
    body += image;
  }
  PutU16(body, static_cast<unsigned>(file.restImage));
  PutFrames(body, file.talking);
  PutU16(body, static_cast<unsigned>(file.animations.size()));
  for (const auto& a : file.animations) {
    PutString(body, a.name);
    PutFrames(body, a.frames);
  }

  std::string out(kMagic);
  PutU16(out, kCharacterFileVersion);
  PutU16(out, 0);
  PutU32(out, static_cast<std::uint32_t>(body.size()));
  PutU32(out, Crc32(body));
  out += body;
  return out;
}

CharacterFile DecodeCharacterFile(std::string_view bytes, const std::string& where) {
  Reader header(bytes, where);
  if (bytes.empty()) header.Fail("the file is empty");
  if (bytes.size() < kMagic.size() && kMagic.substr(0, bytes.size()) == bytes)
    header.Fail("truncated: only " + std::to_string(bytes.size()) + " bytes");
  if (bytes.size() < kMagic.size() || bytes.substr(0, kMagic.size()) != kMagic)
    header.Fail("not a character file (wrong signature)");
  if (bytes.size() < kHeaderSize)
    header.Fail("truncated: the header has " + std::to_string(bytes.size()) + " of " +
                std::to_string(kHeaderSize) + " bytes");
  header.Take(kMagic.size(), "signature");
  const auto version = header.U16("version");
  if (version != kCharacterFileVersion)
    header.Fail("unsupported version " + std::to_string(version) + " (this program reads " +
                std::to_string(kCharacterFileVersion) + ")");
  header.U16("reserved");
  const std::uint64_t bodySize = header.U32("body length");
  const std::uint32_t crc = header.U32("checksum");
  const std::uint64_t expected = kHeaderSize + bodySize;
  if (bytes.size() < expected)
    header.Fail("truncated: " + std::to_string(bytes.size()) + " of " + std::to_string(expected) +
                " bytes");
  if (bytes.size() > expected)
    header.Fail("damaged: " + std::to_string(bytes.size() - expected) +
                " bytes of unexpected data after the end");
  const auto body = bytes.substr(kHeaderSize);
  if (Crc32(body) != crc) header.Fail("damaged: checksum mismatch");

  Reader r(body, where);
  CharacterFile f;
  f.name = r.String("character name");
  if (f.name.empty()) r.Fail("damaged: the character has no name");
  f.width = static_cast<int>(r.U16("frame width"));
  f.height = static_cast<int>(r.U16("frame height"));
  if (f.width < 1 || f.height < 1 || f.width > kMaxSide || f.height > kMaxSide)
    r.Fail("damaged: frame size " + std::to_string(f.width) + "x" + std::to_string(f.height));

  const auto voiceCount = r.U16("voice count");
  for (unsigned i = 0; i < voiceCount; ++i) {
    VoiceSpec v;
    v.languageId = static_cast<int>(r.U16("voice language"));
    v.voice = r.String("voice name");
    v.pitch = static_cast<int>(r.U8("voice pitch"));
    v.rate = static_cast<int>(r.U16("voice rate"));
    if (v.voice.empty() || v.pitch > 100 || v.rate < 80 || v.rate > 450)
      r.Fail("damaged: voice for language " + std::to_string(v.languageId));
    f.voices.push_back(std::move(v));
  }

  const auto imageCount = r.U16("image count");
  if (imageCount == 0) r.Fail("damaged: the character has no images");
  for (unsigned i = 0; i < imageCount; ++i) {
    const auto size = r.U32("image length");
    f.images.emplace_back(r.Take(size, "image data"));
  }
  f.restImage = static_cast<int>(r.U16("rest image"));
  if (static_cast<std::size_t>(f.restImage) >= f.images.size())
    r.Fail("damaged: the rest pose refers to image " + std::to_string(f.restImage) + " of " +
           std::to_string(f.images.size()));
  f.talking = ReadFrames(r, f.images.size(), "the talking loop");

  const auto animationCount = r.U16("animation count");
  std::set<std::string, base::LessIgnoreAsciiCase> seen;
  for (unsigned i = 0; i < animationCount; ++i) {
    AnimationSpec a;
    a.name = r.String("animation name");
    if (a.name.empty()) r.Fail("damaged: an animation has no name");
    if (!seen.insert(a.name).second) r.Fail("damaged: animation \"" + a.name + "\" appears twice");
    a.frames = ReadFrames(r, f.images.size(), "animation \"" + a.name + "\"");
    if (a.frames.empty()) r.Fail("damaged: animation \"" + a.name + "\" has no frames");
    f.animations.push_back(std::move(a));
  }
  if (!r.AtEnd()) r.Fail("damaged: unexpected data after the animations");
  for (const char* required : {"Wave", "read"})
    if (!seen.count(required))
      r.Fail(std::string("the character has no animation \"") + required + "\"");
  return f;
}

void WriteCharacterFile(const std::filesystem::path& path, const CharacterFile& file) {
  const auto bytes = EncodeCharacterFile(file);
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  const std::filesystem::path temp = path.string() + ".part";
  if (std::string failed = base::WriteFileAtomically(path, temp, bytes); !failed.empty())
    throw Error("cannot write character file " + path.string() + ": " + failed);
}

}  // namespace agent
