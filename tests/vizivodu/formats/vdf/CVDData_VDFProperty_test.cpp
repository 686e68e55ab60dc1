// The native format over random documents: saved, loaded into a new document and saved again,
// a document gives the same bytes, in text and in binary form, with and without style names;
// saved with its style sheet's collections, it is loaded over a fresh sheet, which then equals
// the original.
#include "vizivodu/document/CVDData.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/RandomDocument.h"
#include "tests/vizivodu/styles/RandomStyleSheet.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

std::string SaveVDF(TCustomVDData &doc) {
    rtl::TMemoryStream stream;
    EXPECT_TRUE(doc.SaveVDFToStream(stream, false, 0, nullptr, nullptr, true));
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       size_t(stream.GetSize()));
}

struct TVDFPropertyCase {
    uint32_t Seed;
    bool Binary;
    bool StyleNames;
    bool StyleRecords;
};

class VDFProperty : public testing::TestWithParam<TVDFPropertyCase> {};

TEST_P(VDFProperty, SaveLoadSaveGivesTheSameBytes) {
    const TVDFPropertyCase &c = GetParam();
    TVDStyle style(nullptr);
    test::AddRandomDocumentStyles(style);
    test::TTestDocument doc(&style);
    // Without vdfoSavePicturesBody a picture's data is left to the application.
    TVDFOptions options{vdfoSavePicturesBody};
    if (c.Binary) {
        options.Include(vdfoSaveBinary);
    }
    if (c.StyleNames) {
        options.Include(vdfoUseStyleNames);
    }
    if (c.StyleRecords) {
        options = options + TVDFOptions{vdfoSaveTextStyles, vdfoSaveParaStyles};
    }
    doc.SetVDFOptions(options);
    test::FillRandomDocument(doc, c.Seed, {});
    const std::string first = SaveVDF(doc);
    TVDStyle fresh(nullptr);
    test::TTestDocument loaded(c.StyleRecords ? &fresh : &style);
    loaded.SetVDFOptions(options);
    rtl::TMemoryStream stream;
    stream.Write(first.data(), int32_t(first.size()));
    stream.SetPosition(0);
    uint32_t color = 0;
    ASSERT_TRUE(loaded.LoadVDFFromStream(stream, color, nullptr, nullptr));
    EXPECT_EQ(SaveVDF(loaded), first);
    if (c.StyleRecords) {
        EXPECT_EQ(test::DumpStyleSheet(fresh), test::DumpStyleSheet(style));
    }
}

std::vector<TVDFPropertyCase> Cases() {
    std::vector<TVDFPropertyCase> cases;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        cases.push_back({seed, seed % 2 == 0, seed % 3 == 0, seed % 5 < 2});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Seeds, VDFProperty, testing::ValuesIn(Cases()));

} // namespace
} // namespace vizivodu
