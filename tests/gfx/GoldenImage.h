// Golden pictures of the canvas tests: tests/data/gfx/<name>.png, compared pixel for pixel
// (alpha ignored); WB_UPDATE_GOLDEN=1 writes them instead.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/System.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace golden {

inline std::string PathOf(const std::string &name) {
    return std::string(WB_TEST_DATA) + "/gfx/" + name + ".png";
}

// Counts the pixels that differ from the golden picture; -1 when there is none to compare.
inline int Differences(const gfx::TBitmap &a, const gfx::TBitmap &b, int tolerance = 0) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) {
        return -1;
    }
    int differing = 0;
    for (int y = 0; y < a.GetHeight(); ++y) {
        const uint32_t *ra = a.ScanLine(y), *rb = b.ScanLine(y);
        for (int x = 0; x < a.GetWidth(); ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                if (std::abs(int((ra[x] >> shift) & 0xFF) - int((rb[x] >> shift) & 0xFF)) >
                    tolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    return differing;
}

inline void ExpectMatches(const gfx::TBitmap &actual, const std::string &name) {
    const std::string path = PathOf(name);
    if (const char *update = std::getenv("WB_UPDATE_GOLDEN"); update && *update == '1') {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        actual.SaveToFile(rtl::Utf8ToUtf16(path));
        GTEST_SKIP() << "golden picture written: " << path;
    }
    ASSERT_TRUE(std::filesystem::exists(path)) << path << " (run with WB_UPDATE_GOLDEN=1)";
    gfx::TBitmap expected;
    expected.LoadFromFile(rtl::Utf8ToUtf16(path));
    const int differing = Differences(actual, expected);
    if (differing != 0) {
        const auto out = std::filesystem::temp_directory_path() / (name + "_actual.png");
        actual.SaveToFile(rtl::Utf8ToUtf16(out.string()));
        ADD_FAILURE() << name << ": " << differing << " pixels differ; actual picture: " << out;
    }
}

} // namespace golden
