#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace fennick {

// Why no window can be shown, or nothing when a display is there. Checked
// before Qt starts, since Qt aborts with a backtrace when it finds none.
// `env` reads an environment variable; `exists` tells whether a path exists.
std::optional<QString> missingDisplay(const std::function<QString(const char*)>& env,
                                      const std::function<bool(const QString&)>& exists);

} // namespace fennick
