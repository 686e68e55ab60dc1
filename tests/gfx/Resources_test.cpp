// Executable resources compiled into this test program (see CMakeLists.txt): found by name and
// by number as raw bytes, bitmaps and cursors, and missing ones answered as the system answers.
#include "platform/gfx/Resources.h"

#include <gtest/gtest.h>

#include <string>

using namespace gfx;

namespace {

std::string Bytes(HRSRC resource) {
    const std::span<const uint8_t> data = LoadResource(HInstance, resource);
    return std::string(data.begin(), data.end());
}

} // namespace

TEST(Resources, RawBytesByNameAndByNumber) {
    const std::string expected("notes\x00\x01\xff", 8);
    const struct {
        TResName Name;
        TResName Type;
    } cases[] = {
        {u"Notes", RT_RCDATA}, {u"NOTES", u"#10"}, {uint16_t(42), RT_RCDATA},
        {u"#42", RT_RCDATA},   {u"#042", u"#10"},  {u"greeting", u"TextData"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(c.Name.Key() + u" " + c.Type.Key()));
        const HRSRC resource = FindResource(HInstance, c.Name, c.Type);
        ASSERT_NE(resource, 0u);
        EXPECT_EQ(Bytes(resource), expected);
        EXPECT_EQ(SizeofResource(HInstance, resource), 8u);
    }
}

TEST(Resources, MissingResourcesAreNotFound) {
    EXPECT_EQ(FindResource(HInstance, u"Absent", RT_RCDATA), 0u);
    EXPECT_EQ(FindResource(HInstance, u"Notes", RT_BITMAP), 0u) << "the type counts";
    EXPECT_EQ(FindResource(HInstance, uint16_t(43), RT_RCDATA), 0u);
    EXPECT_EQ(FindResource(HInstance + 1, u"Notes", RT_RCDATA), 0u) << "no other module";
    EXPECT_TRUE(LoadResource(HInstance, 0).empty());
    EXPECT_EQ(SizeofResource(HInstance, 0), 0u);
}

TEST(Resources, BitmapsByNameAndByNumber) {
    for (const TResName &name : {TResName(u"checker"), TResName(uint16_t(7))}) {
        TBitmap bitmap;
        LoadBitmapResource(bitmap, HInstance, name);
        ASSERT_EQ(bitmap.GetWidth(), 3);
        ASSERT_EQ(bitmap.GetHeight(), 2);
        EXPECT_EQ(bitmap.ScanLine(0)[0] & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(bitmap.ScanLine(0)[2] & 0xFFFFFF, 0x808080u);
        EXPECT_EQ(bitmap.ScanLine(1)[0] & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(bitmap.ScanLine(1)[2] & 0xFFFFFF, 0x0000FFu);
    }
}

TEST(Resources, AMissingBitmapRaisesResourceNotFound) {
    TBitmap bitmap(2, 2);
    const struct {
        TResName Name;
        const char16_t *Message;
    } cases[] = {{u"Nothing", u"Resource Nothing not found"},
                 {uint16_t(99), u"Resource 99 not found"}};
    for (const auto &c : cases) {
        try {
            LoadBitmapResource(bitmap, HInstance, c.Name);
            ADD_FAILURE() << "no error";
        } catch (const EResNotFound &e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_EQ(bitmap.GetWidth(), 2);
    }
}

TEST(Resources, CursorsCarryTheirHotSpotAndMask) {
    for (const TResName &name : {TResName(u"ARROW"), TResName(uint16_t(300))}) {
        const std::optional<TCursorImage> cursor = LoadCursorResource(HInstance, name);
        ASSERT_TRUE(cursor.has_value());
        EXPECT_EQ(cursor->HotX, 3);
        EXPECT_EQ(cursor->HotY, 1);
        ASSERT_EQ(cursor->Image.GetWidth(), 4);
        ASSERT_EQ(cursor->Image.GetHeight(), 4);
        // The picture's top row is opaque only at its right end.
        EXPECT_EQ(cursor->Image.ScanLine(0)[0] >> 24, 0u);
        EXPECT_EQ(cursor->Image.ScanLine(0)[3] >> 24, 255u);
        EXPECT_EQ(cursor->Image.ScanLine(3)[0] >> 24, 255u);
    }
    EXPECT_FALSE(LoadCursorResource(HInstance, u"Absent").has_value());
    EXPECT_FALSE(LoadCursorResource(HInstance, u"Checker").has_value());
}
