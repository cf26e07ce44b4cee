#pragma once

#include <QFont>
#include <QString>

// The application's set-up that every window relies on, done once before the first window:
// the names the desktop knows it by, its icon, the style, the classic grey palette and the
// substitutes of the fonts that the window designs name. The program, the tests that show
// windows and the benchmarks all start with it, so that they lay out the same windows.
namespace Apparence {

void appliquer();

// The font of a family a window design names, drawn at every scale. On Windows "MS Sans Serif"
// is a bitmap font of a few sizes: Microsoft Sans Serif, its TrueType successor, stands for it.
QFont police(const QString &famille);

// Whether the windows are Wayland surfaces, which the compositor places and decorates.
bool surWayland();

// The title of a window meant to have none. Qt hands the window system the application's name
// in place of an empty title, on X11 and Wayland alike; a blank it passes on, which a title bar
// shows as nothing and a screen reader does not voice.
QString titreVide();

} // namespace Apparence
