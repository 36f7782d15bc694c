#include "app/display.h"
#include "app/windowmain.h"
#include "cli/args.h"
#include "cli/cli.h"
#include "platform/translations.h"

#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <optional>
#include <string>
#include <unistd.h>

using namespace fennick;

namespace {

using WindowMain = decltype(&fennick_window_main);

// The folder of the running program. The window module is looked for from
// here only, never through the current directory or the library path.
std::optional<std::string> programDir() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length == ssize_t(sizeof path)) {
        if (length > 0)
            errno = ENAMETOOLONG; // cut short
        return std::nullopt;
    }
    const std::string exe(path, std::size_t(length));
    return exe.substr(0, exe.rfind('/'));
}

// Beside the program in the build tree; in the library folder when installed.
std::optional<std::string> windowModulePath(const std::string& dir) {
    for (const std::string& candidate :
         {dir + "/" FENNICK_WINDOW_MODULE,
          dir + "/" FENNICK_WINDOW_MODULE_DIR "/" FENNICK_WINDOW_MODULE}) {
        if (::access(candidate.c_str(), F_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

int windowFailure(const std::string& message) {
    std::fprintf(stderr, "fennick: %s\n", message.c_str());
    return 1;
}

// Loads the window module and hands it the program's arguments. It stays
// loaded until the process ends: its objects live until exit.
int runWindows(int argc, char* argv[]) {
    const auto dir = programDir();
    if (!dir)
        return windowFailure(std::string("cannot find the program's folder: ") +
                             std::strerror(errno));
    const auto path = windowModulePath(*dir);
    if (!path)
        return windowFailure("the window module " FENNICK_WINDOW_MODULE " is missing from " + *dir +
                             " and " + *dir + "/" FENNICK_WINDOW_MODULE_DIR +
                             "; reinstall fennick");
    void* module = ::dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return windowFailure(std::string("cannot load the window module: ") + ::dlerror());
    const auto entry = reinterpret_cast<WindowMain>(::dlsym(module, "fennick_window_main"));
    if (!entry)
        return windowFailure(std::string("cannot load the window module: ") + ::dlerror());
    return entry(argc, argv);
}

} // namespace

int main(int argc, char* argv[]) {
    // Terminal commands need neither a display nor the single-instance lock
    // and run beside an open window (punches under the log folder's lock).
    if (argc > 1 && isCliInvocation(QString::fromLocal8Bit(argv[1]))) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("fennick"));
        installTranslators(app);
        return runCliMain(QCoreApplication::arguments().mid(1));
    }

    // Anything but Qt's own options is refused before a display is looked for.
    QStringList windowArgs;
    for (int i = 1; i < argc; ++i)
        windowArgs << QString::fromLocal8Bit(argv[i]);
    if (const auto error = windowArgsError(windowArgs)) {
        std::fprintf(stderr, "fennick: %s\n", qPrintable(error->message));
        return kCliUsage;
    }

    const auto reason = missingDisplay([](const char* name) { return qEnvironmentVariable(name); },
                                       socketListening);
    if (reason) {
        std::fprintf(stderr, "fennick: %s\n", qPrintable(*reason));
        return 1;
    }
    return runWindows(argc, argv);
}
