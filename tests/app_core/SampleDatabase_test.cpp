// Loads the sample database made at build time as the workbench does: its names and codes, one
// readable EDF recording per name, and the result file made for it.
#include "app/core/UWorkbenchData.h"

#include "ecg/UEDFImportHelper.h"

#include <gtest/gtest.h>

namespace workbench {
namespace {

TEST(SampleDatabase, LoadsWithOneReadableRecordingPerEcg) {
    const UnicodeString folder = rtl::Utf8ToUtf16(WB_SAMPLE_DB_DIR "/");
    TWorkbenchData data;
    const TLoadResult result = data.LoadReferenceDatabase(folder);
    ASSERT_TRUE(result.Ok) << rtl::Utf16ToUtf8(result.Message);
    ASSERT_GT(data.GetDBCount(), 0);
    int32_t referenceCodes = 0;
    for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
        referenceCodes += data.GetDiaStat()[c][ciReference];
    }
    EXPECT_GT(referenceCodes, 0);
    for (const UnicodeString &name : data.GetDBBook()) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(name));
        EXPECT_FALSE(name.empty());
        ecg::TEDFImportHelper reader;
        ASSERT_NO_THROW(reader.readEDF(folder + name + u".edf"));
        EXPECT_NE(reader.getM12ECG(), nullptr);
    }
}

TEST(SampleDatabase, ItsResultFileScores) {
    TWorkbenchData data;
    ASSERT_TRUE(data.LoadReferenceDatabase(rtl::Utf8ToUtf16(WB_SAMPLE_DB_DIR)).Ok);
    const TResultOutcome outcome = data.ReloadResult(rtl::Utf8ToUtf16(WB_SAMPLE_RESULT_FILE));
    ASSERT_EQ(outcome.Status, TResultStatus::rsScored) << rtl::Utf16ToUtf8(outcome.Message);
    int64_t computed = 0;
    for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
        const TCodeCounters &counters = data.GetDiaStat()[c];
        computed += counters[ciComputed];
        EXPECT_GE(counters[ciTrueNegative], 0) << "code " << c;
    }
    EXPECT_GT(computed, 0);
}

} // namespace
} // namespace workbench
