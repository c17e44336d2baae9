#include "ui/displaytext.h"

#include "base/textcodec.h"

#include <QFile>

namespace orvane {

QString displayText(std::string_view bytes)
{
    QString text = QString::fromStdString(DecodeForDisplay(bytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string textBytes(const QString &text)
{
    return text.toStdString();
}

std::string pathBytes(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QFont japaneseFont(int pixelSize)
{
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QFont captionFont(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace orvane
