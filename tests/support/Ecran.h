#pragma once

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace Ecran {

// What the screen shows of a control of a shown window: the pixels the window last flushed,
// not a fresh rendering of the control.
inline QImage montre(QWidget &fenetre, const QWidget &controle)
{
    const QRect zone(controle.mapTo(&fenetre, QPoint(0, 0)), controle.size());
    return fenetre.screen()
        ->grabWindow(fenetre.winId(), zone.x(), zone.y(), zone.width(), zone.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace Ecran
