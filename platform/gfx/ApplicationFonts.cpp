// The fonts the application brings along: the Windows names the system asks for that Debian's
// usual fonts lack ("Tahoma", "MS Sans Serif", "Symbol", "Wingdings") come from fonts-wine.
#include "platform/gfx/FontEngine.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <string>

namespace gfx {

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

rtl::UnicodeString OutlineFamilyFor(const rtl::UnicodeString &family) {
    // Compared as GDI compares face names: without regard to case.
    const std::u16string_view bitmapOnly = u"ms sans serif";
    if (family.size() == bitmapOnly.size() &&
        std::equal(family.begin(), family.end(), bitmapOnly.begin(),
                   [](char16_t a, char16_t b) { return (a < 0x80 ? std::tolower(a) : a) == b; })) {
        return u"Tahoma";
    }
    return family;
}

} // namespace gfx
