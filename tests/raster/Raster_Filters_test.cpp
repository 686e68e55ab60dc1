// Logical row masks: exact cell counts and every processor variant against the reference.
#include "raster/Raster_Filters.h"

#include "raster/Raster.h"
#include "raster/Raster_System.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace raster;

namespace {

class FiltersTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeRaster(); }
    void TearDown() override { RestoreProcessorFeaturesForTesting(); }
};

const TCPUFeatures kVariants[] = {NoCPUFeatures, CPUFeature(ciSSE2), TCPUFeatures(0xFF)};

} // namespace

TEST_F(FiltersTest, XorRowToWithSeventeenCellsWritesExactlySeventeen) {
    for (TCPUFeatures f : kVariants) {
        ForceProcessorFeaturesForTesting(f);
        std::vector<uint32_t> src(20, 0x0F0F0F0Fu), dst(20, 0x12345678u);
        XorRowTo(src.data(), dst.data(), 17, 0xFFFFFFFFu);
        for (int i = 0; i < 17; ++i) {
            EXPECT_EQ(dst[size_t(i)], 0xF0F0F0F0u) << int(f) << " cell " << i;
        }
        EXPECT_EQ(dst[17], 0x12345678u) << int(f);
        AndRow(dst.data(), 0, 0);
        AndRow(dst.data(), 0, -3);
        EXPECT_EQ(dst[0], 0xF0F0F0F0u) << int(f);
    }
}

TEST_F(FiltersTest, EveryVariantMasksLikeTheReference) {
    using TIn = void (*)(uint32_t *, uint32_t, int32_t);
    using TTo = void (*)(const uint32_t *, uint32_t *, int32_t, uint32_t);
    const struct {
        const char *name;
        TLogicalMaskRow *bound;
        TIn ref;
    } inPlace[] = {{"AndRow", &AndRow, reference::AndRow},
                   {"OrRow", &OrRow, reference::OrRow},
                   {"XorRow", &XorRow, reference::XorRow}};
    const struct {
        const char *name;
        TLogicalMaskRowTo *bound;
        TTo ref;
    } to[] = {{"AndRowTo", &AndRowTo, reference::AndRowTo},
              {"OrRowTo", &OrRowTo, reference::OrRowTo},
              {"XorRowTo", &XorRowTo, reference::XorRowTo}};
    std::mt19937 rng(21);
    std::vector<uint32_t> src(100);
    for (uint32_t &c : src) {
        c = rng();
    }
    for (TCPUFeatures f : kVariants) {
        ForceProcessorFeaturesForTesting(f);
        for (int32_t count = 0; count <= 40; ++count) {
            const uint32_t mask = rng();
            for (const auto &op : inPlace) {
                std::vector<uint32_t> expected = src, actual = src;
                op.ref(expected.data() + 1, mask, count);
                (*op.bound)(actual.data() + 1, mask, count);
                ASSERT_EQ(actual, expected) << int(f) << " " << op.name << " count " << count;
            }
            for (const auto &op : to) {
                std::vector<uint32_t> expected(src.size(), 7), actual(src.size(), 7);
                op.ref(src.data() + 3, expected.data() + 1, count, mask);
                (*op.bound)(src.data() + 3, actual.data() + 1, count, mask);
                ASSERT_EQ(actual, expected) << int(f) << " " << op.name << " count " << count;
            }
        }
    }
}
