#pragma once

#include <QIcon>

namespace Icones {

// The program's icon, at every size rendered at build time, for the windows and the desktop.
QIcon programme();

// A picture rendered at build time, by its resource name without extension (":/carte"): the
// raw pictures of start-up (name.argb, name@2x.argb) are copied, the others decoded from PNG.
// The double-density one is added when the application runs at more than one pixel per point.
QIcon image(const QString &nom);

} // namespace Icones
