#pragma once

#include <QLocale>

class QCoreApplication;

namespace fennick {

// Installs Qt's own translations and fennick's (the "InfoPlist" table and
// the interface) for the locale; English, the built-in text, needs none.
void installTranslators(QCoreApplication& app, const QLocale& locale = QLocale());

} // namespace fennick
