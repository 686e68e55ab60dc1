// The fonts the application brings along: the Windows names the system asks for that Debian's
// usual fonts lack ("Tahoma", "MS Sans Serif", "Symbol", "Wingdings") come from fonts-wine.
#include "platform/gfx/QtBridge_p.h"

#include <fontconfig/fontconfig.h>

#include <mutex>
#include <string>

namespace gfx::qt {

namespace {

constexpr const char *FontFolder = "/usr/share/wine/fonts/";
// Not "tahomabd.ttf": it carries the regular outlines under the bold name, so bold text would
// come out as thin as regular text, only wider. Without it, bold "Tahoma" is the regular face
// emboldened by the font engine (fontconfig's synthetic bold), which reads as bold.
constexpr const char *FontFiles[] = {"tahoma.ttf", "ms_sans_serif.ttf", "symbol.ttf",
                                     "wingding.ttf"};

} // namespace

void EnsureApplicationFonts() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Added to fontconfig's own configuration, so Qt's font database and every other
        // fontconfig client of the process resolve the names alike. A missing file leaves the
        // name to fontconfig's substitutes.
        for (const char *file : FontFiles) {
            const std::string path = std::string(FontFolder) + file;
            FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(path.c_str()));
        }
    });
}

} // namespace gfx::qt
