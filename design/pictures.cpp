#include "pictures.h"

#include <QFile>

namespace design {
namespace {

QString sharperVariant(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1.0)
        return {};
    const QString variant = path.left(path.lastIndexOf(u'.')) + QStringLiteral("@2x.png");
    return QFile::exists(variant) ? variant : QString();
}

} // namespace

QPixmap picture(const QString &path, qreal devicePixelRatio)
{
    const QString sharper = sharperVariant(path, devicePixelRatio);
    if (sharper.isEmpty())
        return QPixmap(path);
    QPixmap pixmap(sharper);
    pixmap.setDevicePixelRatio(2.0);
    return pixmap;
}

QIcon icon(const QString &path, qreal devicePixelRatio)
{
    QIcon icon(path);
    if (const QString sharper = sharperVariant(path, devicePixelRatio); !sharper.isEmpty())
        icon.addFile(sharper);
    return icon;
}

} // namespace design
