// The native format over random documents: saved, loaded into a new document over the same
// style sheet and saved again, a document gives the same bytes, in text and in binary form.
#include "vizivodu/document/CVDData.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/RandomDocument.h"

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
};

class VDFProperty : public testing::TestWithParam<TVDFPropertyCase> {};

TEST_P(VDFProperty, SaveLoadSaveGivesTheSameBytes) {
    TVDStyle style(nullptr);
    test::AddRandomDocumentStyles(style);
    test::TTestDocument doc(&style);
    // Without vdfoSavePicturesBody a picture's data is left to the application.
    TVDFOptions options{vdfoSavePicturesBody};
    if (GetParam().Binary) {
        options.Include(vdfoSaveBinary);
    }
    doc.SetVDFOptions(options);
    test::FillRandomDocument(doc, GetParam().Seed, {});
    const std::string first = SaveVDF(doc);
    test::TTestDocument loaded(&style);
    loaded.SetVDFOptions(options);
    rtl::TMemoryStream stream;
    stream.Write(first.data(), int32_t(first.size()));
    stream.SetPosition(0);
    uint32_t color = 0;
    ASSERT_TRUE(loaded.LoadVDFFromStream(stream, color, nullptr, nullptr));
    EXPECT_EQ(SaveVDF(loaded), first);
}

std::vector<TVDFPropertyCase> Cases() {
    std::vector<TVDFPropertyCase> cases;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        cases.push_back({seed, seed % 2 == 0});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Seeds, VDFProperty, testing::ValuesIn(Cases()));

} // namespace
} // namespace vizivodu
