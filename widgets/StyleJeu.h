#pragma once

#include <QProxyStyle>

// The desktop's style (Fusion on Windows, whose own styles draw their controls as pictures that
// the grey palette does not reach), with the game's own picture for the toolbar's button that
// shows what does not fit. The common style reads that picture from a PNG file, and any picture read by name
// makes Qt load every image format plugin (SVG, JPEG, GIF, ICO and their libraries) to ask each
// whether it reads PNG: at start-up, that was the largest cost after the fonts.
class StyleJeu : public QProxyStyle
{
    Q_OBJECT

public:
    StyleJeu();

    QIcon standardIcon(StandardPixmap image, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
