// The visual-styles loader and its notification window.
#include "raster/controls/Raster_XPThemes.h"

#include <array>

namespace raster {

namespace {

constexpr std::array<const char *, 11> kEntryPoints = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeEdge",
    "GetThemeColor", "GetThemeMetric", "GetThemeMargins",     "SetWindowTheme",
    "IsThemeActive", "IsAppThemed",    "EnableTheming"};
// Without these the library is of no use and is unloaded again.
constexpr std::array<const char *, 5> kRequired = {"OpenThemeData", "CloseThemeData",
                                                   "IsThemeActive", "IsAppThemed", "EnableTheming"};

struct TThemeState {
    TThemeLibraryLoader Loader;
    std::unique_ptr<TThemeLibrary> Library;
    bool InUse = false;
    HTHEME ScrollBar = 0;
    HTHEME Globals = 0;
    std::unique_ptr<TThemeNexus> Nexus;
};

TThemeState &State() {
    static TThemeState state;
    return state;
}

bool LoadThemeApi() {
    TThemeState &s = State();
    if (s.Library) {
        return true;
    }
    if (s.Loader) {
        s.Library = s.Loader(u"uxtheme.dll");
    }
    if (!s.Library) {
        return false;
    }
    for (const char *name : kEntryPoints) {
        (void)s.Library->HasEntryPoint(name); // looked up in this order, as by name
    }
    for (const char *name : kRequired) {
        if (!s.Library->HasEntryPoint(name)) {
            s.Library.reset();
            break;
        }
    }
    return s.Library != nullptr;
}

void UnloadThemeApi() {
    State().Library.reset();
}

} // namespace

void SetThemeLibraryLoader(TThemeLibraryLoader loader) {
    State().Loader = std::move(loader);
}

bool ThemesInUse() {
    return State().InUse;
}

HTHEME ScrollBarTheme() {
    return State().ScrollBar;
}

HTHEME GlobalsTheme() {
    return State().Globals;
}

TThemeLibrary *ThemeApi() {
    return State().Library.get();
}

bool ThemesAvailable() {
    TThemeLibrary *api = ThemeApi();
    return api != nullptr && api->IsAppThemed() && api->IsThemeActive();
}

TThemeNexus::TThemeNexus() {
    OpenThemes();
}

TThemeNexus::~TThemeNexus() {
    CloseThemes();
}

void TThemeNexus::OpenThemes() {
    TThemeState &s = State();
    s.InUse = false;
    if (LoadThemeApi()) {
        s.InUse = ThemesAvailable();
    }
    if (s.InUse) {
        s.ScrollBar = s.Library->OpenThemeData(u"SCROLLBAR");
        s.Globals = s.Library->OpenThemeData(u"GLOBALS");
    }
}

void TThemeNexus::CloseThemes() {
    TThemeState &s = State();
    if (ThemesAvailable()) {
        for (HTHEME *theme : {&s.ScrollBar, &s.Globals}) {
            if (*theme != 0) {
                s.Library->CloseThemeData(*theme);
                *theme = 0;
            }
        }
    }
    UnloadThemeApi();
}

void TThemeNexus::WndProc(ui::TMessage &message) {
    if (message.Msg == ui::WM_THEMECHANGED) {
        CloseThemes();
        OpenThemes();
    }
    message.Result = 0;
}

void InitializeThemes() {
    if (!State().Nexus) {
        State().Nexus = std::make_unique<TThemeNexus>();
    }
}

void FinalizeThemes() {
    State().Nexus.reset();
    State().InUse = false;
}

TThemeNexus *ThemeNexus() {
    return State().Nexus.get();
}

} // namespace raster
