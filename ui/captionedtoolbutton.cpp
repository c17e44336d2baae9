#include "ui/captionedtoolbutton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace orvane {

CaptionedToolButton::CaptionedToolButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

void CaptionedToolButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The style draws the frame only; glyph and caption are placed here.
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QSize glyph = iconSize();
    const QFontMetrics metrics(font());
    const int top = (height() - glyph.height() - metrics.height()) / 2;
    const QRect glyphRect(QPoint((width() - glyph.width()) / 2, top), glyph);
    icon().paint(&painter, glyphRect, Qt::AlignCenter, mode);
    const QRect textRect(0, glyphRect.bottom() + 1, width(), metrics.height());
    painter.drawItemText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic,
                         palette(), isEnabled(), text(), QPalette::ButtonText);
}

} // namespace orvane
