#include "resources.hpp"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace dialogs {

namespace {

QString resourcePath(const QString& folder, int id) {
    const QString prefix = QString::number(id) + QLatin1Char('-');
    const QDir dir(QStringLiteral(":/") + folder);
    for (const QString& entry : dir.entryList(QDir::Files, QDir::Name))
        if (entry.startsWith(prefix))
            return dir.filePath(entry);
    return {};
}

QString readText(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QPixmap renderSvg(const QString& path, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pixmap;
}

} // namespace

QString resourceText(const QString& folder, int id) {
    return readText(resourcePath(folder, id));
}

QString namedText(const QString& fileName) {
    return readText(QStringLiteral(":/text/") + fileName);
}

QPixmap renderBitmap(int id, QSize size, qreal devicePixelRatio) {
    return renderSvg(resourcePath(QStringLiteral("bitmaps"), id), size, devicePixelRatio);
}

QPixmap iconPixmap(int id, int pixels, qreal devicePixelRatio) {
    return renderSvg(resourcePath(QStringLiteral("icons"), id), QSize(pixels, pixels),
                     devicePixelRatio);
}

QIcon loadIcon(int id) {
    QIcon icon;
    icon.addPixmap(iconPixmap(id, 32));
    icon.addPixmap(iconPixmap(id, 16));
    return icon;
}

} // namespace dialogs
