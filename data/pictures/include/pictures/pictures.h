#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringView>
#include <optional>

// The suite's pictures, embedded in every program that links
// tavrinel_pictures, under ":/pictures/<group>/<name>.png".
namespace tavrinel::pictures {

// The resource path of a picture, e.g. path(u"skin", u"button").
QString path(QStringView group, QStringView name);

// The picture, or nothing when no such picture is embedded.
std::optional<QImage> load(QStringView group, QStringView name);

// Cell `index` (counted from 0, left to right) of a strip of equal cells of
// `cellSize`, such as the push button's five looks; nothing when the index or
// the size does not fit the strip.
std::optional<QImage> cell(const QImage& strip, QSize cellSize, int index);

}  // namespace tavrinel::pictures
