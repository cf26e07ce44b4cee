#pragma once

#include <QIcon>

namespace Icones {

// The program's icon, at every size rendered at build time, for the windows and the desktop.
QIcon programme();

} // namespace Icones
