#pragma once

#include <QImage>
#include <QString>
#include <vector>

// Every picture the suite ships, by group and name (the file is
// <group>/<name>.png).
namespace artgen {

struct Picture {
  QString group;
  QString name;
  QImage (*draw)();
};

std::vector<Picture> catalogue();

}  // namespace artgen
