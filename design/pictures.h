#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The windows' pictures come as designed, at 1×, and as "name@2x.png" drawn at twice the
// resolution. A screen that shows more than one pixel to the logical pixel gets the sharper
// one; any other screen never loads it.
namespace design {

// Lay a picture out by its deviceIndependentSize(): that is its size at every scale.
QPixmap picture(const QString &path, qreal devicePixelRatio);
QIcon icon(const QString &path, qreal devicePixelRatio);

} // namespace design
