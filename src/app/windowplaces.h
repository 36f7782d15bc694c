#pragma once

#include "shell/settings.h"

class QWidget;

namespace fennick {

// Where a window stood and how large it was, kept in the settings under its
// object name, so it opens there again after a restart.
QString windowPlaceKey(const QWidget& window);
// Puts a window where it was last saved; leaves it as it is when nothing (or
// nothing readable) was saved.
void restoreWindowPlace(const Settings& settings, QWidget& window);
void saveWindowPlace(Settings& settings, const QWidget& window);

} // namespace fennick
