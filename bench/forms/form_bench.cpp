// Creating and showing a form of 50 controls from its description.
// With --png=FILE it shows the form once and writes its picture instead.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "forms/forms.h"
#include "forms/testing.h"

namespace {

std::string DescriptionWith50Controls() {
  std::string controls;
  auto add = [&](const std::string& c) { controls += (controls.empty() ? "" : ",\n") + c; };
  for (int i = 0; i < 10; ++i) {
    const std::string y = std::to_string(150 + i * 330);
    add(R"({"Type":"Label","Name":"Label)" + std::to_string(i) +
        R"(","Properties":{"Caption":"Parola )" + std::to_string(i + 1) +
        R"( è qui","Left":150,"Top":)" + y + R"(,"Width":1500,"Height":285}})");
    add(R"({"Type":"TextBox","Name":"Text)" + std::to_string(i) +
        R"(","Properties":{"Text":"testo )" + std::to_string(i + 1) + R"(","Left":1800,"Top":)" +
        y + R"(,"Width":1800,"Height":285}})");
    add(R"({"Type":"CheckBox","Name":"Check)" + std::to_string(i) +
        R"(","Properties":{"Caption":"Sì","Value":)" + std::to_string(i % 2) +
        R"(,"Left":3750,"Top":)" + y + R"(,"Width":900,"Height":285}})");
    add(R"({"Type":"Shape","Name":"Shape)" + std::to_string(i) +
        R"(","Properties":{"Left":4800,"Top":)" + y +
        R"(,"Width":285,"Height":285,"Shape":3,"FillStyle":0,"FillColor":)" +
        std::to_string(0x2080F0 + i * 0x0F00) + R"(}})");
    add(R"({"Type":"CommandButton","Name":"Command)" + std::to_string(i) +
        R"(","Properties":{"Caption":"Vai )" + std::to_string(i + 1) + R"(","Left":5250,"Top":)" +
        y + R"(,"Width":1200,"Height":300}})");
  }
  return R"({"Form":"Fifty","Properties":{"Caption":"Fifty controls","BorderStyle":0,"Width":6600,"Height":3600,)"
         R"("BackColor":"&H00F4EEE6&"},"Controls":[)" +
         controls + "]}";
}

QString WriteDescription(const QTemporaryDir& dir) {
  const QString path = dir.filePath("Fifty.json");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(QByteArray::fromStdString(DescriptionWith50Controls()));
  return path;
}

void BM_CreateAndShowFormOf50Controls(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string path = WriteDescription(dir).toStdString();
  for (auto _ : state) {
    forms::Form form(path);
    form.Show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(form.hWnd());
  }
}
BENCHMARK(BM_CreateAndShowFormOf50Controls)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--png=", 6) != 0) continue;
    QTemporaryDir dir;
    forms::Form form(WriteDescription(dir).toStdString());
    form.Move(1500, 1500);
    form.Show();
    for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
    return win::SaveWindowPng(form.hWnd(), argv[i] + 6) ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
