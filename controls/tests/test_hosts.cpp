#include "test_hosts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <QWidget>
#include <memory>
#include <vector>

#include "forms/app.h"
#include "testsupport/temp_dir.h"
#include "win/window.h"

namespace controls_test {

namespace {

struct Registration {
  Registration() { controls::Register(); }
} g_registration;

}  // namespace

FrameHost::FrameHost() : FrameHost(":/test/FrameHost.json") {}

FrameHost::FrameHost(std::string_view description) : Form(description) {}

void FrameHost::Form_Load() {
  Frame().Resize = [this] { ++resizes; };
}

Plain::Plain() : Form(":/test/Plain.json") {}

ButtonHost::ButtonHost() : ButtonHost(":/test/ButtonHost.json") {}

ButtonHost::ButtonHost(std::string_view description) : Form(description) {}

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool ActivateWidget(QWidget* widget) {
  widget->activateWindow();
  QElapsedTimer waited;
  waited.start();
  while (QApplication::activeWindow() != widget->window() && waited.elapsed() < 2000) {
    QApplication::processEvents();
    QThread::msleep(1);
  }
  Settle();
  return QApplication::activeWindow() == widget->window();
}

bool Activate(win::HWND hwnd) {
  win::SetActiveWindow(hwnd);
  QElapsedTimer waited;
  waited.start();
  while (win::GetActiveWindow() != hwnd && waited.elapsed() < 2000) {
    QApplication::processEvents();
    QThread::msleep(1);
  }
  Settle();
  return win::GetActiveWindow() == hwnd;
}

win::POINT ToScreen(win::HWND hwnd, int x, int y) {
  win::POINT p{x, y};
  win::ClientToScreen(hwnd, &p);
  return p;
}

void PointAt(win::HWND hwnd, int x, int y) {
  const win::POINT p = ToScreen(hwnd, x, y);
  win::SetCursorPos(p.x, p.y);
}

std::string DescriptionWithBag(std::string_view resource, std::string_view name,
                               const QJsonObject& bag) {
  static std::vector<std::unique_ptr<testsupport::TempDir>> dirs;
  QFile in(QString::fromUtf8(resource.data(), static_cast<int>(resource.size())));
  if (!in.open(QIODevice::ReadOnly)) return {};
  QJsonObject doc = QJsonDocument::fromJson(in.readAll()).object();
  QJsonArray controls = doc.value("Controls").toArray();
  for (auto entry : controls) {
    QJsonObject o = entry.toObject();
    if (o.value("Name").toString().toStdString() != name) continue;
    o.insert("Bag", bag);
    entry = o;
  }
  doc.insert("Controls", controls);
  dirs.push_back(std::make_unique<testsupport::TempDir>());
  const std::string path = (*dirs.back() / "form.json").string();
  QFile out(QString::fromStdString(path));
  if (!out.open(QIODevice::WriteOnly)) return {};
  out.write(QJsonDocument(doc).toJson());
  return path;
}

win::COLORREF PixelOf(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return win::RGB(c.red(), c.green(), c.blue());
}

}  // namespace controls_test
