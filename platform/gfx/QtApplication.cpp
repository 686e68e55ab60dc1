// The one Qt application object of the process, made on first need.
#include "platform/gfx/QtBridge_p.h"

#include "platform/gfx/FontEngine.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>

namespace gfx::qt {

namespace {

// The system's texts are Russian: Qt's own dialogs (open and save, message boxes, the printer
// dialog) speak Russian too, from Debian's qt6-translations-l10n. Without the catalogue they
// stay English.
void InstallRussianTranslations(QCoreApplication &app) {
    auto *translator = new QTranslator(&app); // owned by the application
    if (translator->load(u"qtbase_ru"_qs, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

} // namespace

void EnsureApplication() {
    if (QCoreApplication::instance()) {
        return;
    }
    // Without a display (a build machine, a benchmark run) Qt would abort; draw offscreen then.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    gfx::EnsureApplicationFonts();
    static int argc = 1;
    static char name[] = "workbench";
    static char *argv[] = {name, nullptr};
    // Lives until the process ends: Qt objects made later must never outlive it.
    static QApplication *app = new QApplication(argc, argv);
    InstallRussianTranslations(*app);
}

} // namespace gfx::qt
