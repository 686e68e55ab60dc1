// The documents' clipboard formats: registered by name at start-up, shared with anyone who
// registers the same names.
#include "vizivodu/document/VDClipboardFormats.h"

#include "platform/gfx/Clipbrd.h"
#include "vizivodu/VDStartup.h"

#include <gtest/gtest.h>

using namespace vizivodu;

TEST(VDClipboardFormats, StartUpRegistersTheFourNames) {
    InitializeLibrary();
    const struct {
        uint32_t Format;
        const char16_t *Name;
    } cases[] = {{CF_VDF, u"ViziVodu Format"},
                 {CF_RTF, u"Rich Text Format"},
                 {CF_URL, u"UniformResourceLocator"},
                 {CF_HTML, u"HTML Format"}};
    for (const auto &c : cases) {
        EXPECT_NE(c.Format, 0u);
        EXPECT_EQ(c.Format, gfx::RegisterClipboardFormat(c.Name));
    }
    EXPECT_NE(CF_VDF, CF_RTF);
    EXPECT_NE(CF_URL, CF_HTML);
}
