#pragma once

#include <QIcon>
#include <QTransform>

namespace Icones {

// The program's icon, at every size rendered at build time, for the windows and the desktop.
QIcon programme();

// A picture rendered at build time, by its resource name without extension (":/carte"): the
// raw pictures of start-up (name.argb, name@2x.argb) are copied, the others decoded from PNG.
// The double-density one is added when the application runs at more than one pixel per point.
// A raw picture can be turned on the way (a quarter turn, a mirror).
QIcon image(const QString &nom, const QTransform &transformation = {});

} // namespace Icones
