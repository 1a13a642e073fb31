#include "loaded_character.h"

#include <QBuffer>
#include <QImageReader>
#include <fstream>
#include <iterator>
#include <sstream>

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

}  // namespace

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

  LoadedCharacter c;
  c.file = DecodeCharacterFile(bytes, where);
  c.images.reserve(c.file.images.size());
  for (std::size_t i = 0; i < c.file.images.size(); ++i) {
    const auto& data = c.file.images[i];
    QImage image = ReadPng(data);
    if (image.isNull())
      throw Error("character file " + where + ": damaged: image " + std::to_string(i) +
                  " is not a readable PNG picture");
    if (image.width() != c.file.width || image.height() != c.file.height)
      throw Error("character file " + where + ": damaged: image " + std::to_string(i) + " is " +
                  std::to_string(image.width()) + "x" + std::to_string(image.height()) + ", not " +
                  std::to_string(c.file.width) + "x" + std::to_string(c.file.height));
    c.images.push_back(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
  c.file.images.clear();
  c.file.images.shrink_to_fit();
  return c;
}

}  // namespace agent
