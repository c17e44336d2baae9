#include "ui/treeimages.h"

#include "engine/filetree.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace orvane {

namespace {

const char *const pictureFiles[TreeImageCount] = {
    "home",
    "folder-yellow",
    "folder-cyan",
    "folder-yellow-open",
    "folder-cyan-open",
    "page-white",
    "page-blue",
    "page-top",
    "page-picture",
    "page-blank",
    "chain",
    "empty",
    "anchor",
    "checker",
};

quint64 key(int a, int b, int c, qreal dpr)
{
    // Indices are small; the density is kept to a hundredth.
    const auto part = [](int v) { return static_cast<quint64>(v + 2) & 0xffff; };
    return part(a) | part(b) << 16 | part(c) << 32 |
           static_cast<quint64>(std::lround(dpr * 100)) << 48;
}

QPixmap transparentPixmap(int width, int height, qreal dpr)
{
    QPixmap pixmap(static_cast<int>(std::ceil(width * dpr)),
                   static_cast<int>(std::ceil(height * dpr)));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QString TreeImages::resourcePath(int index)
{
    if (index < 0 || index >= TreeImageCount)
        return {};
    return QStringLiteral(":/icons/tree/%1.svg").arg(QLatin1String(pictureFiles[index]));
}

QIcon TreeImages::icon(int index)
{
    return QIcon(resourcePath(index));
}

QPixmap TreeImages::picture(int index, qreal devicePixelRatio)
{
    if (index < 0 || index >= TreeImageCount)
        return {};
    const quint64 k = key(index, 0, 0, devicePixelRatio);
    if (auto it = m_pictures.constFind(k); it != m_pictures.constEnd())
        return *it;
    QPixmap pixmap = transparentPixmap(Size, Size, devicePixelRatio);
    QSvgRenderer renderer(resourcePath(index));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, Size, Size));
    painter.end();
    m_pictures.insert(k, pixmap);
    return pixmap;
}

QPixmap TreeImages::decoration(int stateImage, int image, int overlay, qreal devicePixelRatio)
{
    const quint64 k = key(stateImage, image, overlay, devicePixelRatio);
    if (auto it = m_decorations.constFind(k); it != m_decorations.constEnd())
        return *it;
    const bool withState = stateImage >= 0;
    QPixmap pixmap = transparentPixmap(withState ? 2 * Size : Size, Size, devicePixelRatio);
    QPainter painter(&pixmap);
    const int imageLeft = withState ? Size : 0;
    if (withState)
        painter.drawPixmap(0, 0, picture(stateImage, devicePixelRatio));
    if (image >= 0)
        painter.drawPixmap(imageLeft, 0, picture(image, devicePixelRatio));
    if (overlay == OverlayExcluded)
        painter.drawPixmap(imageLeft, 0, picture(ImgExcluded, devicePixelRatio));
    painter.end();
    m_decorations.insert(k, pixmap);
    return pixmap;
}

QIcon buttonIcon(const char *name)
{
    return QIcon(QStringLiteral(":/icons/buttons/%1.svg").arg(QLatin1String(name)));
}

} // namespace orvane
