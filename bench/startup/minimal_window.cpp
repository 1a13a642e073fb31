// The yardstick of the start-up benchmark: the least a Qt Widgets program
// does to put a window on the screen. Each program of the suite is measured
// as a ratio to this window, started on the same display in the same run.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("minimal"));
  window.resize(320, 200);
  window.show();
  return app.exec();
}
