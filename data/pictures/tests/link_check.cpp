// Loads one embedded picture by its resource path only, so nothing but the
// link itself can bring the resource in.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QImage image(QStringLiteral(":/pictures/skin/top_active.png"));
  if (image.isNull()) {
    std::fprintf(stderr, "the embedded picture :/pictures/skin/top_active.png is missing\n");
    return 1;
  }
  std::printf("loaded %dx%d\n", image.width(), image.height());
  return 0;
}
