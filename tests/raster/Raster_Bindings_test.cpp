// The routine registry: the last supported variant wins; features can be forced for tests.
#include "raster/Raster_Bindings.h"

#include "raster/Raster.h"

#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

using namespace raster;

namespace {

int Portable() {
    return 1;
}
int Mmx() {
    return 2;
}
int Sse2() {
    return 3;
}
int Plain() {
    return 4;
}
using TIntProc = int (*)();

int32_t RejectAll(PFunctionInfo) {
    return UnsupportedPriority;
}

class BindingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeRaster();
        R.Add(0, Portable, NoCPUFeatures);
        R.Add(0, Mmx, CPUFeature(ciMMX));
        R.Add(0, Sse2, CPUFeature(ciSSE2));
        R.RegisterBinding(0, &Bound);
    }
    void TearDown() override { RestoreProcessorFeaturesForTesting(); }
    TFunctionRegistry R;
    TIntProc Bound = nullptr;
};

} // namespace

TEST_F(BindingsTest, VariableKeepsItsValueUntilRebound) {
    EXPECT_EQ(Bound, nullptr);
}

TEST_F(BindingsTest, BestSupportedVariantByFeatures) {
    struct Case {
        TCPUFeatures Features;
        int Expected;
    };
    const Case cases[] = {
        {TCPUFeatures(CPUFeature(ciMMX) | CPUFeature(ciSSE2)), 3},
        {CPUFeature(ciMMX), 2},
        {NoCPUFeatures, 1},
    };
    for (const Case &c : cases) {
        ForceProcessorFeaturesForTesting(c.Features);
        R.RebindAll();
        ASSERT_NE(Bound, nullptr);
        EXPECT_EQ(Bound(), c.Expected) << int(c.Features);
    }
}

TEST_F(BindingsTest, EqualPriorityGoesToTheVariantAddedLast) {
    R.Add(0, Plain, NoCPUFeatures);
    R.Rebind(0);
    EXPECT_EQ(Bound(), 4);
}

TEST_F(BindingsTest, PriorityRejectingEverythingLeavesNil) {
    R.RebindAll(RejectAll);
    EXPECT_EQ(Bound, nullptr);
    EXPECT_EQ(R.FindFunction(7), nullptr);
}

TEST(Bindings, LibraryRegistriesAreCreatedInStartUpOrder) {
    InitializeRaster();
    std::vector<std::string> names;
    for (const auto &r : RegistryList()) {
        names.push_back(r->GetName());
    }
    const std::vector<std::string> expected = {
        "Raster_LowLevel bindings",   "Raster_Blend bindings",      "Raster_Filters bindings",
        "Raster_Transforms bindings", "Raster_Resamplers bindings", "Raster_MicroTiles bindings"};
    ASSERT_GE(names.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 6), expected);
}

TEST(Bindings, EmmxIsReportedWithSse) {
    if (SupportsInstructionSet(ciSSE)) {
        EXPECT_TRUE(SupportsInstructionSet(ciEMMX));
    }
}

TEST(PerfTimer, OneSecondReadsAMillionMicroseconds) {
    TPerfTimer t;
    int64_t ticks = 0;
    t.SetCounterForTesting([&ticks] { return ticks; }, 3579545);
    t.Start();
    ticks = 3579545;
    EXPECT_EQ(t.ReadNanoseconds(), u"1000000");
    EXPECT_EQ(t.ReadValue(), 1000000);
    const rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::SetFormatSettings(rtl::TFormatSettings::Russian());
    EXPECT_EQ(t.ReadSeconds(), u"1,000");
    EXPECT_EQ(t.ReadMilliseconds(), u"1000,000");
    rtl::SetFormatSettings(saved);
}
