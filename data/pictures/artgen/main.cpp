// artgen: draws the suite's pictures and writes them as <out>/<group>/<name>.png.
//
//   artgen OUT_DIR [--sheet FILE]
//
// --sheet also writes all pictures enlarged four times on one contact sheet.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "canvas.h"
#include "catalogue.h"
#include "contact_sheet.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: artgen OUT_DIR [--sheet FILE]\n");
  return 2;
}

bool save(const QImage& image, const QString& path) {
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // The pictures never need a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QStringList args = QGuiApplication::arguments().mid(1);
  if (args.isEmpty() || args.first().startsWith('-')) return usage();
  const QString outDir = args.first();
  QString sheetPath;
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == "--sheet" && i + 1 < args.size())
      sheetPath = args[++i];
    else
      return usage();
  }

  if (const auto missing = artgen::missingFontFamily()) {
    std::fprintf(stderr,
                 "artgen: the font family \"%s\" is not installed "
                 "(fonts-dejavu-core and fonts-liberation provide the pictures' fonts)\n",
                 qPrintable(*missing));
    return 1;
  }

  const auto pictures = artgen::catalogue();
  for (const auto& picture : pictures) {
    const QString dir = outDir + "/" + picture.group;
    if (!QDir().mkpath(dir)) {
      std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(dir));
      return 1;
    }
    if (!save(picture.draw(), dir + "/" + picture.name + ".png")) return 1;
  }
  if (!sheetPath.isEmpty() && !save(artgen::contactSheet(pictures, 4), sheetPath)) return 1;
  return 0;
}
