// The RTF parser's lists: the list table and its levels, the list override table, the
// paragraph's list references and old-style numbering with its section-level definitions.
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <string>

namespace vizivodu {
namespace {

TVDRTFErrorCode Parse(TVDRTFReader &reader, const std::string &rtf) {
    rtl::TMemoryStream stream;
    stream.Write(rtf.data(), int32_t(rtf.size()));
    stream.SetPosition(0);
    return reader.ReadFromStream(stream);
}

std::string List(const std::string &levels, int32_t id = 7) {
    return R"({\*\listtable{\list)" + levels + R"(\listid)" + std::to_string(id) + "}}";
}

struct TNumberFormatCase {
    int32_t Nfc;
    TVDRTFParaListType Type;
};

class RTFLevelNumberFormat : public testing::TestWithParam<TNumberFormatCase> {};

TEST_P(RTFLevelNumberFormat, LevelKindFromNfc) {
    TVDRTFReader reader;
    const std::string level =
        R"({\listlevel\levelnfc)" + std::to_string(GetParam().Nfc) + R"({\leveltext\'01-;}})";
    ASSERT_EQ(Parse(reader, "{\\rtf1" + List(level) + "}"), rtf_ec_OK);
    ASSERT_EQ(reader.ListTable().Count(), 1);
    ASSERT_EQ(reader.ListTable().Get(0).Count(), 1);
    EXPECT_EQ(reader.ListTable().Get(0).Get(0)->FListType, GetParam().Type);
}

INSTANTIATE_TEST_SUITE_P(Cases, RTFLevelNumberFormat,
                         testing::Values(TNumberFormatCase{0, rtf_pn_Decimal},
                                         TNumberFormatCase{1, rtf_pn_UpperRoman},
                                         TNumberFormatCase{2, rtf_pn_LowerRoman},
                                         TNumberFormatCase{3, rtf_pn_UpperLetter},
                                         TNumberFormatCase{4, rtf_pn_LowerLetter},
                                         TNumberFormatCase{23, rtf_pn_Bullet},
                                         TNumberFormatCase{255, rtf_pn_Decimal}));

TEST(RTFListTable, LevelsAndTheirProperties) {
    TVDRTFReader reader;
    const std::string rtf =
        R"({\rtf1{\fonttbl{\f0 Arial;}{\f3 Symbol;}}{\colortbl;\red255\green0\blue0;})" +
        List(R"({\listlevel\levelnfc4\leveljc2\levelstartat3\levelnorestart\levellegal)"
             R"(\levelfollow1\fs21\b\cf1\f3\fi-360\li720\tx1080{\leveltext\'02\'00.;})"
             R"({\levelnumbers\'01;}}{\listname Mine;})",
             42) +
        "}";
    ASSERT_EQ(Parse(reader, rtf), rtf_ec_OK);
    TVDRTFList97 &list = reader.ListTable().Get(0);
    EXPECT_EQ(list.FId, 42);
    EXPECT_EQ(list.FName, "Mine;"); // the name's bytes as they stand
    const TVDRTFListLevel97 &l = *list.Get(0);
    EXPECT_EQ(l.FListType, rtf_pn_LowerLetter);
    EXPECT_EQ(l.FAlignment, rtf_al_Right);
    EXPECT_EQ(l.FStart, 3);
    EXPECT_TRUE(l.FNoRestart);
    EXPECT_TRUE(l.FLegal);
    EXPECT_EQ(l.FFollow, rtf_lf_Space);
    EXPECT_EQ(l.FFontSize, 10); // 10.5 rounds half to even
    EXPECT_TRUE(l.FFontSizeDefined);
    EXPECT_TRUE(l.FFontStyle.Contains(gfx::fsBold));
    EXPECT_EQ(l.FColor, gfx::RGB(255, 0, 0));
    EXPECT_EQ(l.FFontIndex, 1);
    EXPECT_EQ(l.FFirstIndentTw, -360);
    EXPECT_EQ(l.FLeftIndentTw, 720);
    EXPECT_EQ(l.FTabPosTw, 1080);
    // The length, the placeholder for level 0 and "."; the closing ";" is cut.
    EXPECT_EQ(l.FText, std::u16string(u"\x02\x00.", 3));
    EXPECT_EQ(l.FNumbers, std::string("\x01;", 2)); // cut only when the level text ends
}

TEST(RTFListTable, MissingLevelsAreCopiesOfTheLastOneFurtherIn) {
    TVDRTFReader reader;
    ASSERT_EQ(
        Parse(reader, "{\\rtf1" +
                          List(R"({\listlevel\levelnfc0\li360{\leveltext\'02\'00.;}})"
                               R"({\listlevel\levelnfc2\li720\fi-200{\leveltext\'02\'01.;}})") +
                          "}"),
        rtf_ec_OK);
    TVDRTFList97 &list = reader.ListTable().Get(0);
    const TVDRTFListLevel97 *fourth = list.Get(3);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(2)->FLeftIndentTw, 720 + 720);
    EXPECT_EQ(fourth->FLeftIndentTw, 720 + 1440);
    EXPECT_EQ(fourth->FFirstIndentTw, -200);
    EXPECT_EQ(fourth->FListType, rtf_pn_LowerRoman);
    EXPECT_EQ(list.Get(9), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
}

TEST(RTFListTable, ListsKeepAtMostNineLevels) {
    TVDRTFReader reader;
    std::string levels;
    for (int i = 0; i < 12; ++i) {
        levels += R"({\listlevel\levelstartat)" + std::to_string(i) + "}";
    }
    ASSERT_EQ(Parse(reader, "{\\rtf1" + List(levels) + "}"), rtf_ec_OK);
    TVDRTFList97 &list = reader.ListTable().Get(0);
    EXPECT_EQ(list.Count(), TVDRTFList97::MaxLevels);
    EXPECT_EQ(list.Get(8)->FStart, 8);
}

TEST(RTFListOverrides, OverridesAndParagraphReferences) {
    TVDRTFReader reader;
    int32_t overrideIndex = -2, level = -2, unknown = -2;
    reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &text, TVDRTFPosition) {
        (text == "a" ? overrideIndex : unknown) = r.ParaProps().FListOverrideIndex;
        if (text == "a") {
            level = r.ParaProps().FListLevel;
        }
    };
    const std::string rtf =
        "{\\rtf1" + List(R"({\listlevel\levelnfc0{\leveltext\'02\'00.;}})", 5) +
        R"({\listoverridetable{\listoverride\listid5\listoverridecount1)"
        R"({\lfolevel\listoverridestartat\levelstartat4}\ls2}{\listoverride\listid99\ls3}})"
        R"(\pard\ls2\ilvl1 a\par\pard\ls9 b\par})";
    ASSERT_EQ(Parse(reader, rtf), rtf_ec_OK);
    TVDRTFListOverrideTable97 &table = reader.ListOverrideTable();
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Get(0).FListIndex, 0);
    EXPECT_EQ(table.Get(0).FNumber, 2);
    EXPECT_EQ(table.Get(0).FOverrideCount, 1);
    ASSERT_EQ(table.Get(0).Count(), 1);
    EXPECT_TRUE(table.Get(0).Get(0).FUseStart);
    EXPECT_EQ(table.Get(0).Get(0).FStart, 4);
    EXPECT_EQ(table.Get(1).FListIndex, -1); // list id 99 is not in the table
    EXPECT_EQ(overrideIndex, 0);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(unknown, -1); // \ls9 names no override
}

// The marker properties of the paragraph each text run belongs to, as seen at the marker
// update after its paragraph end.
struct TMarkerRecorder {
    TVDRTFReader Reader;
    std::vector<TVDRTFMarkerProperties> Markers;

    TMarkerRecorder() {
        Reader.OnNewText = [](TVDRTFReader &, const TVDAnsiString &, TVDRTFPosition) {};
        Reader.OnUpdateMarker = [this](TVDRTFReader &r) {
            if (r.ParaProps().HasMarker()) {
                Markers.push_back(*r.ParaProps().FMarkerProps);
            }
        };
    }
};

TEST(RTFOldStyleNumbering, PnGroupGivesTheParagraphItsMarker) {
    TMarkerRecorder rec;
    ASSERT_EQ(Parse(rec.Reader, R"({\rtf1{\fonttbl{\f0 Arial;}}\pard{\*\pn\pnlvlbody\pndec)"
                                R"(\pnstart1\pnindent360\pnhang{\pntxta .}{\pntxtb (}}x\par})"),
              rtf_ec_OK);
    ASSERT_FALSE(rec.Markers.empty());
    const TVDRTFMarkerProperties &m = rec.Markers.back();
    EXPECT_EQ(m.FLevel, 10);
    EXPECT_EQ(m.FListType, rtf_pn_Decimal);
    EXPECT_EQ(m.FStart, 1);
    EXPECT_EQ(m.FIndentTw, 360);
    EXPECT_TRUE(m.FHanging);
    EXPECT_EQ(m.FTextAfter, ".");
    EXPECT_EQ(m.FTextBefore, "(");
}

TEST(RTFOldStyleNumbering, FixedColourSurvivesTheUpdateFromText) {
    TMarkerRecorder rec;
    ASSERT_EQ(Parse(rec.Reader, R"({\rtf1{\colortbl;\red0\green0\blue255;\red255\green0\blue0;})"
                                R"(\pard{\*\pn\pnlvl1\pndec\pncf1}\cf2\fs30\i x\par})"),
              rtf_ec_OK);
    ASSERT_FALSE(rec.Markers.empty());
    const TVDRTFMarkerProperties &m = rec.Markers.back();
    EXPECT_EQ(m.FColor, gfx::RGB(0, 0, 255));
    EXPECT_EQ(m.FFontSize, 15);
    EXPECT_TRUE(m.FFontStyle.Contains(gfx::fsItalic));
}

TEST(RTFOldStyleNumbering, SectionLevelDefinitionIsTheStart) {
    TMarkerRecorder rec;
    ASSERT_EQ(Parse(rec.Reader, R"({\rtf1{\*\pnseclvl1\pnucrm\pnstart2\pnindent720{\pntxta )}})"
                                R"(\pard{\*\pn\pnlvl1{\pntxta .}}x\par})"),
              rtf_ec_OK);
    ASSERT_FALSE(rec.Markers.empty());
    const TVDRTFMarkerProperties &m = rec.Markers.back();
    EXPECT_EQ(m.FLevel, 1);
    EXPECT_EQ(m.FListType, rtf_pn_UpperRoman);
    EXPECT_EQ(m.FStart, 2);
    EXPECT_EQ(m.FIndentTw, 720);
    EXPECT_EQ(m.FTextAfter, ".");
}

TEST(RTFOldStyleNumbering, PardRemovesTheMarkerAndBadLevelsAreIgnored) {
    TMarkerRecorder rec;
    ASSERT_EQ(Parse(rec.Reader, R"({\rtf1\pard{\*\pn\pnlvl99\pndec}x\par\pard y\par})"), rtf_ec_OK);
    ASSERT_FALSE(rec.Markers.empty());
    EXPECT_EQ(rec.Markers.back().FLevel, 0);
    const size_t seen = rec.Markers.size();
    ASSERT_EQ(Parse(rec.Reader, R"({\rtf1\pard{\*\pn\pnlvl2}x\par\pard y\par})"), rtf_ec_OK);
    EXPECT_EQ(rec.Markers.size(), seen + 2); // before and after the first paragraph's end only
}

} // namespace
} // namespace vizivodu
