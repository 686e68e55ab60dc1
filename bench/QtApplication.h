// The Qt application the peers of the document benchmarks need, made once for the run.
#pragma once

#include <QGuiApplication>

namespace wbbench {

inline void EnsureQtApp() {
    static int argc = 1;
    static char arg0[] = "wb_bench";
    static char *argv[] = {arg0, nullptr};
    if (!QGuiApplication::instance()) {
        new QGuiApplication(argc, argv); // lives for the run
    }
}

} // namespace wbbench
