#pragma once

#include <QIcon>

namespace fennick {

// The program's icon for windows and the tray, in every size it is drawn in.
QIcon appIcon();

} // namespace fennick
