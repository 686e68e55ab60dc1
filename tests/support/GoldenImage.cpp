// Golden-image comparison: the one tolerance rule, the checked-list lookup, and the pictures
// written on a mismatch.
#include "tests/support/GoldenImage.h"

#include "tests/support/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace wbtest {

namespace {

const std::filesystem::path kGoldenFolder = std::filesystem::path(WB_TEST_DATA) / "golden";
const std::filesystem::path kOutputFolder = std::filesystem::path(WB_TEST_OUTPUT) / "golden";

rtl::UnicodeString Utf16(const std::filesystem::path &path) {
    return rtl::Utf8ToUtf16(path.string());
}

// The "how it was checked" text of name in checked.txt; empty when the golden has no line.
std::string HowChecked(const std::string &name) {
    std::ifstream list(kGoldenFolder / "checked.txt");
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::string file, how;
        fields >> file;
        std::getline(fields >> std::ws, how);
        if (file == name && !how.empty()) {
            return how;
        }
    }
    return {};
}

bool InAnyOf(const std::vector<gfx::TRect> &areas, int32_t x, int32_t y) {
    for (const gfx::TRect &r : areas) {
        if (r.Contains({x, y})) {
            return true;
        }
    }
    return false;
}

struct TComparison {
    int64_t OutsideDiffs = 0;
    int64_t TextDiffs = 0;
    int64_t TextPixels = 0;
    gfx::TBitmap Difference;
};

constexpr uint32_t kRgbMask = 0xFFFFFFu;

uint32_t Faded(uint32_t c) {
    const uint32_t r = (c >> 16 & 0xFF) / 3, g = (c >> 8 & 0xFF) / 3, b = (c & 0xFF) / 3;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

TComparison Compare(const gfx::TBitmap &actual, const gfx::TBitmap &golden,
                    const std::vector<gfx::TRect> &textAreas) {
    TComparison result;
    result.Difference.SetSize(actual.GetWidth(), actual.GetHeight());
    for (int32_t y = 0; y < actual.GetHeight(); ++y) {
        const uint32_t *a = actual.ScanLine(y);
        const uint32_t *g = golden.ScanLine(y);
        uint32_t *d = result.Difference.ScanLine(y);
        for (int32_t x = 0; x < actual.GetWidth(); ++x) {
            const bool text = InAnyOf(textAreas, x, y);
            result.TextPixels += text ? 1 : 0;
            if (((a[x] ^ g[x]) & kRgbMask) == 0) {
                d[x] = Faded(g[x]);
                continue;
            }
            (text ? result.TextDiffs : result.OutsideDiffs) += 1;
            d[x] = text ? 0xFFFFFF00u : 0xFFFF0000u;
        }
    }
    return result;
}

bool UpdateRequested() {
    const char *update = std::getenv("WB_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

} // namespace

int64_t DifferingPixels(const gfx::TBitmap &a, const gfx::TBitmap &b, int channelTolerance) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) {
        return -1;
    }
    int64_t differing = 0;
    for (int32_t y = 0; y < a.GetHeight(); ++y) {
        const uint32_t *ra = a.ScanLine(y), *rb = b.ScanLine(y);
        for (int32_t x = 0; x < a.GetWidth(); ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int ca = int(ra[x] >> shift & 0xFF), cb = int(rb[x] >> shift & 0xFF);
                if (std::abs(ca - cb) > channelTolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    return differing;
}

double DifferingBlockShare(const gfx::TBitmap &a, const gfx::TBitmap &b, int limit, int skipTop,
                           int skipBottom) {
    const int w = std::min(a.GetWidth(), b.GetWidth()) / 4,
              h = std::min(a.GetHeight(), b.GetHeight()) / 4;
    int differing = 0, compared = 0;
    for (int by = 0; by < h; ++by) {
        if (by * 4 + 4 > skipTop && by * 4 < skipBottom) {
            continue;
        }
        for (int bx = 0; bx < w; ++bx) {
            ++compared;
            int sum[2][3] = {};
            for (int y = by * 4; y < by * 4 + 4; ++y) {
                for (int x = bx * 4; x < bx * 4 + 4; ++x) {
                    for (int k = 0; k < 3; ++k) {
                        sum[0][k] += (a.ScanLine(y)[x] >> (8 * k)) & 0xFF;
                        sum[1][k] += (b.ScanLine(y)[x] >> (8 * k)) & 0xFF;
                    }
                }
            }
            bool differs = false;
            for (int k = 0; k < 3; ++k) {
                differs = differs || std::abs(sum[0][k] - sum[1][k]) > limit * 16;
            }
            differing += differs;
        }
    }
    return double(differing) / std::max(1, compared);
}

gfx::TBitmap DrawnByEmf2svg(const std::string &emfFile) {
    const std::filesystem::path emf = emfFile,
                                svg = std::filesystem::path(emf).replace_extension(".svg"),
                                png = std::filesystem::path(emf).replace_extension(".png");
    RunCommand("emf2svg-conv -i '" + emf.string() + "' -o '" + svg.string() + "' 2>&1");
    RunCommand("rsvg-convert -b white -o '" + png.string() + "' '" + svg.string() + "' 2>&1");
    gfx::TBitmap drawn;
    if (std::filesystem::exists(png)) {
        drawn.LoadFromFile(Utf16(png));
    }
    return drawn;
}

void ExpectMatchesGolden(const gfx::TBitmap &actual, const std::string &name,
                         const std::vector<gfx::TRect> &textAreas) {
    const std::filesystem::path path = kGoldenFolder / name;
    if (UpdateRequested()) {
        std::filesystem::create_directories(path.parent_path());
        actual.SaveToFile(Utf16(path));
        GTEST_SKIP() << "wrote " << path << "; say how it was checked in "
                     << kGoldenFolder / "checked.txt";
    }
    EXPECT_FALSE(HowChecked(name).empty())
        << name << " has no line in " << kGoldenFolder / "checked.txt"
        << " saying how it was checked";
    ASSERT_TRUE(std::filesystem::exists(path)) << path << " (run with WB_UPDATE_GOLDEN=1)";
    gfx::TBitmap golden;
    golden.LoadFromFile(Utf16(path));
    ASSERT_EQ(golden.GetWidth(), actual.GetWidth()) << name;
    ASSERT_EQ(golden.GetHeight(), actual.GetHeight()) << name;

    const TComparison c = Compare(actual, golden, textAreas);
    const bool textWithin = c.TextDiffs * 100 <= c.TextPixels * kTextAreaTolerancePercent;
    if (c.OutsideDiffs == 0 && textWithin) {
        return;
    }
    const std::filesystem::path out = kOutputFolder / name;
    std::filesystem::create_directories(out.parent_path());
    const std::filesystem::path actualFile =
        out.parent_path() / (out.stem().string() + ".actual.png");
    const std::filesystem::path diffFile = out.parent_path() / (out.stem().string() + ".diff.png");
    actual.SaveToFile(Utf16(actualFile));
    c.Difference.SaveToFile(Utf16(diffFile));
    ADD_FAILURE() << name << ": " << c.OutsideDiffs << " pixels differ outside text, "
                  << c.TextDiffs << " of " << c.TextPixels << " text pixels differ (at most "
                  << kTextAreaTolerancePercent << "% may)\n  actual:     " << actualFile.string()
                  << "\n  difference: " << diffFile.string();
}

} // namespace wbtest
