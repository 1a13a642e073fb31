// Draws a character from its description and the shared choreography, and
// writes its character file.
//
//   character_maker CHARACTER.json CHOREOGRAPHY.json OUT.acs [SHEET.png]
//
// SHEET.png, when given, receives every frame side by side for looking at.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "agent/agent.h"
#include "agent/character_file.h"
#include "painters.h"

namespace {

QJsonObject ReadJson(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot open " + path.toStdString());
  QJsonParseError err{};
  const auto doc = QJsonDocument::fromJson(f.readAll(), &err);
  if (doc.isNull() || !doc.isObject())
    throw std::runtime_error(path.toStdString() + ": " + err.errorString().toStdString());
  return doc.object();
}

QColor ColorOf(const QJsonObject& palette, const char* key, const char* fallback) {
  const QColor c(palette.value(key).toString(fallback));
  if (!c.isValid()) throw std::runtime_error(std::string("bad colour for ") + key);
  return c;
}

class Maker {
 public:
  Maker(const QJsonObject& character, const QJsonObject& choreography)
      : character_(character), choreography_(choreography) {
    kind_ = character.value("kind").toString();
    size_ = character.value("size").toInt(128);
    const auto pal = character.value("palette").toObject();
    palette_ = {ColorOf(pal, "main", "#808080"), ColorOf(pal, "dark", "#404040"),
                ColorOf(pal, "light", "#ffffff"), ColorOf(pal, "accent", "#f0c040"),
                ColorOf(pal, "skin", "#f2c9a0")};
    rest_ = PoseFrom(choreography.value("rest").toObject(), Pose{});
    rest_ = PoseFrom(character.value("rest").toObject(), rest_);
  }

  agent::CharacterFile Make() {
    agent::CharacterFile file;
    file.name = character_.value("name").toString().toStdString();
    file.width = file.height = size_;
    for (const auto v : character_.value("voices").toArray()) {
      const auto o = v.toObject();
      file.voices.push_back({o.value("language").toInt(), o.value("voice").toString().toStdString(),
                             o.value("pitch").toInt(50), o.value("rate").toInt(165)});
    }
    file.restImage = ImageFor(rest_);
    file.talking = Frames(choreography_.value("talking").toArray());
    for (const auto& source : {choreography_, character_})
      for (const auto a : source.value("animations").toArray()) {
        const auto o = a.toObject();
        file.animations.push_back(
            {o.value("name").toString().toStdString(), Frames(o.value("frames").toArray())});
      }
    file.images = std::move(images_);
    return file;
  }

  const std::vector<QImage>& Pictures() const { return pictures_; }

 private:
  std::vector<agent::FrameRef> Frames(const QJsonArray& frames) {
    std::vector<agent::FrameRef> out;
    for (const auto f : frames) {
      auto o = f.toObject();
      const int ms = o.value("ms").toInt(100);
      o.remove("ms");
      out.push_back({ImageFor(PoseFrom(o, rest_)), ms});
    }
    return out;
  }

  // Frames that look alike share one picture.
  int ImageFor(const Pose& pose) {
    const QImage image = PaintCharacter(kind_, pose, palette_, size_);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    std::string bytes(png.constData(), static_cast<std::size_t>(png.size()));
    if (auto it = index_.find(bytes); it != index_.end()) return it->second;
    const int index = static_cast<int>(images_.size());
    index_.emplace(bytes, index);
    images_.push_back(std::move(bytes));
    pictures_.push_back(image);
    return index;
  }

  QJsonObject character_, choreography_;
  QString kind_;
  int size_ = 128;
  Palette palette_;
  Pose rest_;
  std::vector<std::string> images_;
  std::vector<QImage> pictures_;
  std::map<std::string, int> index_;
};

void WriteSheet(const QString& path, const std::vector<QImage>& pictures) {
  if (pictures.empty()) return;
  const int side = pictures.front().width(), columns = 8;
  const int rows = static_cast<int>((pictures.size() + columns - 1) / columns);
  QImage sheet(columns * side, rows * side, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(QColor(200, 215, 230));
  QPainter p(&sheet);
  for (std::size_t i = 0; i < pictures.size(); ++i)
    p.drawImage(static_cast<int>(i % columns) * side, static_cast<int>(i / columns) * side,
                pictures[i]);
  p.end();
  sheet.save(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s CHARACTER.json CHOREOGRAPHY.json OUT.acs [SHEET.png]\n",
                 argv[0]);
    return 2;
  }
  // Drawing needs fonts and no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  try {
    Maker maker(ReadJson(argv[1]), ReadJson(argv[2]));
    const auto file = maker.Make();
    // Read back what was written: the build fails rather than ship a file
    // that the service would refuse.
    agent::DecodeCharacterFile(agent::EncodeCharacterFile(file), argv[3]);
    agent::WriteCharacterFile(argv[3], file);
    if (argc > 4) WriteSheet(argv[4], maker.Pictures());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "character_maker: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
