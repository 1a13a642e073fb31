#include "loaded_character.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <utility>

#include "agent/agent.h"

namespace agent {

namespace {

// Only as PNG: left to guess, Qt would load every installed image plugin
// with its libraries to ask it, while the first window waits.
QImage ReadPng(const std::string& bytes) {
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer device(&data);
  device.open(QIODevice::ReadOnly);
  QImageReader reader(&device, "png");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// Checks what a PNG says of itself before its first chunk of pixels: the
// signature, and the header chunk with the picture's size. Empty when it is
// a PNG picture of that size, otherwise what is wrong.
std::string CheckPngHeader(const std::string& bytes, int width, int height) {
  constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
  if (bytes.size() < 33 || std::string_view(bytes).substr(0, 8) != kSignature ||
      BigEndian32(bytes, 8) != 13 || std::string_view(bytes).substr(12, 4) != "IHDR")
    return "is not a readable PNG picture";
  const std::uint32_t w = BigEndian32(bytes, 16), h = BigEndian32(bytes, 20);
  if (w != static_cast<std::uint32_t>(width) || h != static_cast<std::uint32_t>(height))
    return "is " + std::to_string(w) + "x" + std::to_string(h) + ", not " + std::to_string(width) +
           "x" + std::to_string(height);
  return {};
}

}  // namespace

LoadedCharacter::LoadedCharacter(CharacterFile file, std::string where)
    : file_(std::move(file)), where_(std::move(where)) {
  encoded_ = std::move(file_.images);
  file_.images.clear();
  images_.resize(encoded_.size());
}

const QImage& LoadedCharacter::Image(std::size_t index) const {
  QImage& image = images_.at(index);
  if (!image.isNull()) return image;
  QImage read = ReadPng(encoded_[index]);
  if (read.isNull() || read.width() != file_.width || read.height() != file_.height) {
    std::fprintf(stderr, "Tavrinel: character file %s: damaged: image %zu cannot be decoded\n",
                 where_.c_str(), index);
    read = QImage(file_.width, file_.height, QImage::Format_ARGB32_Premultiplied);
    read.fill(Qt::transparent);
  }
  image = read.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return image;
}

LoadedCharacter LoadCharacter(const std::filesystem::path& path) {
  const std::string where = path.string();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) throw Error("character file " + where + ": not found");
  if (std::filesystem::is_directory(path, ec))
    throw Error("character file " + where + ": is a folder, not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("character file " + where + ": cannot be opened");
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw Error("character file " + where + ": cannot be read");
  const std::string bytes = std::move(buffer).str();

  CharacterFile file = DecodeCharacterFile(bytes, where);
  for (std::size_t i = 0; i < file.images.size(); ++i)
    if (auto wrong = CheckPngHeader(file.images[i], file.width, file.height); !wrong.empty())
      throw Error("character file " + where + ": damaged: image " + std::to_string(i) + " " +
                  wrong);
  return LoadedCharacter(std::move(file), where);
}

}  // namespace agent
