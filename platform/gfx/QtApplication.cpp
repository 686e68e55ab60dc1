// The one Qt application object of the process, made on first need.
#include "platform/gfx/QtBridge_p.h"

#include <QApplication>

#include <cstdlib>

namespace gfx::qt {

void EnsureApplication() {
    if (QCoreApplication::instance()) {
        return;
    }
    // Without a display (a build machine, a benchmark run) Qt would abort; draw offscreen then.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    EnsureApplicationFonts();
    static int argc = 1;
    static char name[] = "workbench";
    static char *argv[] = {name, nullptr};
    // Lives until the process ends: Qt objects made later must never outlive it.
    static QApplication *app = new QApplication(argc, argv);
    (void)app;
}

} // namespace gfx::qt
