// RTF fields into field items: page numbers and counts with their number forms, sequence
// numbers with names and restarts, results skipped for reported fields and read for others.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

class RTFFieldReading : public testing::Test {
protected:
    RTFFieldReading() : Style(nullptr), Doc(&Style) {}

    TVDRTFErrorCode Read(const std::string &rtf) {
        rtl::TMemoryStream stream;
        stream.Write(rtf.data(), int32_t(rtf.size()));
        stream.SetPosition(0);
        return Props.ReadFromStream(stream, Doc, false);
    }

    // Text items by their text, page numbers as "{p:type}", counts "{P:type}", sequences
    // "{seq name:type:reset:start}".
    std::string Items() {
        std::string out;
        for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
            TCustomVDItemInfo *item = Doc.GetItem(i);
            if (auto *count = dynamic_cast<TVDPageCountItemInfo *>(item)) {
                out += "{P:" + std::to_string(count->NumberType) + "}";
            } else if (auto *page = dynamic_cast<TVDPageNumberItemInfo *>(item)) {
                out += "{p:" + std::to_string(page->NumberType) + "}";
            } else if (auto *seq = dynamic_cast<TVDSeqItemInfo *>(item)) {
                out += "{seq " + rtl::Utf16ToUtf8(seq->SeqName) + ":" +
                       std::to_string(seq->GetNumberType()) + ":" + std::to_string(seq->Reset) +
                       ":" + std::to_string(seq->StartFrom) + "}";
            } else if (item->IsText()) {
                out += rtl::Utf16ToUtf8(Doc.GetItemText(i));
            }
        }
        return out;
    }

    TVDStyle Style;
    test::TTestDocument Doc;
    TVDRTFReaderProperties Props;
};

struct TFieldCase {
    const char *Name;
    std::string Field; // the \field group
    std::string Items;
};

class RTFFields : public RTFFieldReading, public testing::WithParamInterface<TFieldCase> {};

TEST_P(RTFFields, ReportedOrReadAsText) {
    ASSERT_EQ(Read("{\\rtf1 a" + GetParam().Field + "b\\par}"), rtf_ec_OK);
    EXPECT_EQ(Items(), GetParam().Items);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RTFFields,
    testing::Values(
        TFieldCase{"Page", R"({\field{\*\fldinst PAGE}{\fldrslt 3}})", "a{p:0}b"},
        TFieldCase{"PageRoman", R"({\field{\*\fldinst PAGE \\* roman}{\fldrslt iii}})", "a{p:5}b"},
        TFieldCase{"PageArabicDash", R"({\field{\*\fldinst PAGE \\*ArabicDash}{\fldrslt -3-}})",
                   "a{p:2}b"},
        TFieldCase{"PagerefIsAPageNumber", R"({\field{\*\fldinst PAGEREF _Toc1 \\h}{\fldrslt 7}})",
                   "a{p:0}b"},
        TFieldCase{"InstructionInANestedGroup",
                   R"({\field{\*\fldinst {\b PAGE }{\\* MERGEFORMAT }}{\fldrslt 3}})", "a{p:0}b"},
        TFieldCase{"NumPages", R"({\field{\*\fldinst NUMPAGES \\* Arabic}{\fldrslt 9}})",
                   "a{P:1}b"},
        TFieldCase{"DocPropertyPages", R"({\field{\*\fldinst DOCPROPERTY "Pages"}{\fldrslt 9}})",
                   "a{P:1}b"},
        TFieldCase{"SeqWithRestart",
                   R"({\field{\*\fldinst SEQ Figure \\* ROMAN \\r 5}{\fldrslt V}})",
                   "a{seq Figure:4:1:5}b"},
        TFieldCase{"SeqReservedName", R"({\field{\*\fldinst SEQ @footnote@}{\fldrslt 1}})",
                   "a{seq _@footnote@:0:0:0}b"},
        TFieldCase{"UnknownFieldShowsItsResult",
                   R"({\field{\*\fldinst DATE \\@ "dd.MM.yyyy"}{\fldrslt 11.12.2026}})",
                   "a11.12.2026b"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(RTFFieldReading, IgnoredFieldsShowTheirResults) {
    Props.IgnoreFields = true;
    Props.IgnoreSequences = true;
    ASSERT_EQ(Read(R"({\rtf1 {\field{\*\fldinst PAGE}{\fldrslt 3}})"
                   R"({\field{\*\fldinst SEQ x}{\fldrslt 4}}\par})"),
              rtf_ec_OK);
    EXPECT_EQ(Items(), "34");
}

} // namespace
} // namespace vizivodu
