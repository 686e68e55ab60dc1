// The visual-styles loader: finds the visual-styles library by name, keeps the process-wide flag
// that allows themed drawing and the open "SCROLLBAR" and "GLOBALS" themes, and reopens them
// when the system's theme changes.
#pragma once

#include "raster/Raster_Types.h"

#include "platform/rtl/System.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace gfx {
class TCanvas;
}

namespace raster {

// A theme handle; 0 when not open.
using HTHEME = uint32_t;

// A visual-styles library: the entry points the loader looks up by name ("OpenThemeData",
// "CloseThemeData", "DrawThemeBackground", "DrawThemeEdge", "GetThemeColor", "GetThemeMetric",
// "GetThemeMargins", "SetWindowTheme", "IsThemeActive", "IsAppThemed", "EnableTheming") and
// the ones the system calls. Only entry points it reports present are called.
class TThemeLibrary {
public:
    virtual ~TThemeLibrary() = default;
    virtual bool HasEntryPoint(const std::string &name) const = 0;
    virtual HTHEME OpenThemeData(const rtl::UnicodeString &classList) = 0;
    virtual int32_t CloseThemeData(HTHEME theme) = 0;
    virtual int32_t DrawThemeBackground(HTHEME theme, gfx::TCanvas &canvas, int32_t part,
                                        int32_t state, const TRect &rect, const TRect *clip) = 0;
    virtual bool IsThemeActive() = 0;
    virtual bool IsAppThemed() = 0;
};

// Loads a library by its name, null when there is none. Our platform has no visual styles:
// the default finds nothing, so themed drawing stays off unless a source is supplied.
using TThemeLibraryLoader =
    std::function<std::unique_ptr<TThemeLibrary>(const rtl::UnicodeString &name)>;
// Null restores the default. Takes effect at the next (re)opening of the themes.
void SetThemeLibraryLoader(TThemeLibraryLoader loader);

// Whether themed drawing may be used, the two open themes, and the loaded library (null unless
// loaded with every required entry point).
bool ThemesInUse();
HTHEME ScrollBarTheme();
HTHEME GlobalsTheme();
TThemeLibrary *ThemeApi();
// The library is loaded and says that themes are active for applications.
bool ThemesAvailable();

// The loader's window: opens the themes when made, closes them (and unloads the library) when
// freed, and closes and reopens them on WM_THEMECHANGED. Every message is answered with 0.
class TThemeNexus {
public:
    TThemeNexus();
    ~TThemeNexus();
    TThemeNexus(const TThemeNexus &) = delete;
    TThemeNexus &operator=(const TThemeNexus &) = delete;
    void WndProc(ui::TMessage &message);

private:
    void OpenThemes();
    void CloseThemes();
};

// The unit's start-up (idempotent: makes the one nexus) and shutdown. The range bars start it.
void InitializeThemes();
void FinalizeThemes();
// The one nexus, null before start-up: the platform sends it WM_THEMECHANGED.
TThemeNexus *ThemeNexus();

} // namespace raster
