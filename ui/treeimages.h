#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>

namespace orvane {

/// The 14 pictures of the site tree, drawn from the program's vector icons at
/// the screen's pixel density, and the composed decoration of a node: the
/// state picture left of the node's picture, the grey checker over the picture
/// of an excluded file. Composed pictures are cached.
class TreeImages
{
public:
    static constexpr int Size = 16;

    /// One of the 14 pictures (16 x 16 logical pixels); null for a bad index.
    QPixmap picture(int index, qreal devicePixelRatio);
    /// The decoration of a node: 16 wide without a state picture, else 32.
    QPixmap decoration(int stateImage, int image, int overlay, qreal devicePixelRatio);

    /// The picture as an icon for buttons and headers.
    static QIcon icon(int index);
    /// Resource path of a picture.
    static QString resourcePath(int index);

private:
    QHash<quint64, QPixmap> m_pictures;
    QHash<quint64, QPixmap> m_decorations;
};

/// A glyph of the program's buttons by its file name ("halt", "config" ...).
QIcon buttonIcon(const char *name);

} // namespace orvane
