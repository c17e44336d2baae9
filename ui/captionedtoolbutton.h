#pragma once

#include <QToolButton>

namespace orvane {

/// A flat tool button with its glyph above its caption. The caption is drawn
/// whole, centred, even where it is a little wider than the button's inner
/// area, as small tool buttons with short captions need.
class CaptionedToolButton : public QToolButton
{
    Q_OBJECT

public:
    explicit CaptionedToolButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace orvane
