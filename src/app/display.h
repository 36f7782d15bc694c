#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace fennick {

// Why no window can be shown, or nothing when a display is there. Checked
// before Qt starts, since Qt aborts with a backtrace when it finds none or
// cannot load the platform asked for in QT_QPA_PLATFORM. `env` reads an
// environment variable; `listening` tells whether a local socket accepts
// connections, "@path" naming one in the abstract namespace.
std::optional<QString> missingDisplay(const std::function<QString(const char*)>& env,
                                      const std::function<bool(const QString&)>& listening);

// Whether a Unix socket at `path` ("@path": in the abstract namespace)
// accepts connections now.
bool socketListening(const QString& path);

} // namespace fennick
