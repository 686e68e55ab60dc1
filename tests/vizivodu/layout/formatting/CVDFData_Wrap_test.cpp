// Line wrapping on exact metrics: every character is 10 pixels wide in text style 0 (an em of
// 20: ascent 16, descent 4), so the positions of draw items are numbers one can work out.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::DumpDrawItems;

namespace {

class Wrap : public ::testing::Test {
protected:
    Wrap() : Doc(&Style) { Doc.Width = 60; }

    void Format() { Doc.Format(false, false); }
    std::string Lines() { return DumpDrawItems(Doc); }
    TParaInfo &AddPara() { return Style.GetParaStyles().Add(); }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
};

} // namespace

TEST_F(Wrap, SpaceAtTheLineEndBelongsToNeitherLine) {
    Doc.AddNL(u"ab cd ef", 0, 0);
    Format();
    EXPECT_EQ(Lines(), "0:1+5@0,0 50x20 / 0:7+2@0,20 20x20");
    EXPECT_EQ(Doc.DocumentHeight, 40);
    EXPECT_EQ(Doc.DocumentWidth, 60);
    EXPECT_EQ(Doc.LastItemFormatted, 0);
}

TEST_F(Wrap, WithoutTrimTheSpaceStaysOnTheLine) {
    Doc.SetFlags({vdflRoot});
    Doc.AddNL(u"ab cd ef", 0, 0);
    Format();
    EXPECT_EQ(Lines(), "0:1+6@0,0 60x20 / 0:7+2@0,20 20x20");
}

TEST_F(Wrap, AnsiTextBreaksAtItsLastSpace) {
    TFontInfo &ansi = Style.GetTextStyles().Add();
    ansi.Assign(Style.GetTextStyles().GetItem(0));
    ansi.SetUnicode(false);
    // Two three-letter words: the first word, the space and one more letter fit.
    Doc.Width = 50;
    Doc.AddNLATag("abc def", ansi.GetIndex(), 0, {});
    Format();
    EXPECT_EQ(Lines(), "0:1+3@0,0 30x20 / 0:5+3@0,20 30x20");
}

TEST_F(Wrap, WordWiderThanTheLineIsCutAtTheLastFittingCharacter) {
    Doc.Width = 35;
    Doc.AddNL(u"abcdefgh", 0, 0);
    Format();
    // The minimum document width is the longest word: the line is as wide as it.
    EXPECT_EQ(Doc.DocumentWidth, 80);
    EXPECT_EQ(Lines(), "0:1+8@0,0 80x20");
    Doc.MaxTextWidth = 35; // lines narrower than the word
    Format();
    EXPECT_EQ(Lines(), "0:1+3@0,0 30x20 / 0:4+3@0,20 30x20 / 0:7+2@0,40 20x20");
}

TEST_F(Wrap, WrapAnywhereCutsAtTheFittingPosition) {
    Style.SetLineWrapMode(vdWrapAnywhere);
    Doc.AddNL(u"ab cdefgh", 0, 0);
    Doc.Width = 90; // wider than the longest word (6 characters)
    Format();
    EXPECT_EQ(Lines(), "0:1+9@0,0 90x20");
    Doc.Width = 60;
    Format();
    EXPECT_EQ(Lines(), "0:1+6@0,0 60x20 / 0:7+3@0,20 30x20");
}

TEST_F(Wrap, FitCountingWithMaxFitGivesTheSameLines) {
    Doc.Width = 130;
    Doc.AddNL(u"one two three four five six seven eight nine ten", 0, 0);
    Format();
    const std::string own = Lines();
    Style.GI->UseMaxFit = true;
    Format();
    EXPECT_EQ(Lines(), own);
    EXPECT_EQ(own, "0:1+13@0,0 130x20 / 0:15+13@0,20 130x20 / 0:29+11@0,40 110x20 / "
                   "0:41+8@0,60 80x20");
}

TEST_F(Wrap, FitCountingMeasuresFarLessThanOncePerCharacter) {
    Doc.Width = 600;
    std::u16string text;
    for (int i = 0; i < 200; ++i) {
        text += u"слово ";
    }
    Doc.AddNL(text, 0, 0);
    Style.GI->MeasureCalls = 0;
    Format();
    const int32_t lines = Doc.DrawItems.Count();
    EXPECT_GT(lines, 10);
    // Geometric probe and interpolation: a handful of measurements per line.
    EXPECT_LT(Style.GI->MeasureCalls, 12 * lines);
}

TEST_F(Wrap, WordSplitOverTwoItemsBreaksBeforeTheWord) {
    Doc.Width = 110;
    Doc.AddNL(u"ab cd", 0, 0);
    Doc.AddNL(u"efgh", 1, -1); // continues the word "cd", 20 pixels a character
    Format();
    // "ab cd" + "efgh" (50 + 80) do not fit: the line breaks before "cd".
    EXPECT_EQ(Lines(), "0:1+2@0,0 20x20 / 0:4+2@0,36 20x20 1:1+4@20,20 80x40");
    EXPECT_EQ(Doc.DocumentHeight, 60);
}

TEST_F(Wrap, ItemAfterASpaceMovesToTheNextLineWhole) {
    Doc.Width = 60;
    Doc.AddNL(u"ab ", 0, 0);
    Doc.AddNL(u"cdefg", 0, -1);
    Format();
    EXPECT_EQ(Lines(), "0:1+3@0,0 30x20 / 1:1+5@0,20 50x20");
}

TEST_F(Wrap, MaxLengthLimitsCharactersPerLine) {
    Doc.Width = 400;
    Doc.MaxLength = 10;
    Doc.AddNL(u"aaaa bbbb cccc dddd", 0, 0);
    Format();
    for (int32_t i = 0; i < Doc.DrawItems.Count(); ++i) {
        EXPECT_LE(Doc.DrawItems[i]->Length, 10) << Lines();
    }
    EXPECT_EQ(Lines(), "0:1+9@0,0 90x20 / 0:11+9@0,20 90x20");
}

TEST_F(Wrap, EmptyParagraphHasTheHeightOfItsStylesEmptyLine) {
    Doc.AddNL(u"", 1, 0);
    Doc.AddNL(u"x", 0, 0);
    Format();
    EXPECT_EQ(Lines(), "0:1+0@0,0 0x40 / 1:1+1@0,40 10x20");
    EXPECT_EQ(Doc.GetItem(0)->DrawItemNo, 0);
}

TEST_F(Wrap, LargerTextRaisesTheLine) {
    Doc.Width = 200;
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"CD", 1, -1);
    Format();
    // Style 1: em 40, ascent 32: the line's baseline moves to 32.
    EXPECT_EQ(Lines(), "0:1+2@0,16 20x20 1:1+2@20,0 40x40");
    EXPECT_EQ(Doc.DocumentHeight, 40);
}

TEST_F(Wrap, ParagraphSpacingAndIndents) {
    TParaInfo &para = AddPara();
    para.SetSpaceBefore(7);
    para.SetSpaceAfter(3);
    para.SetLeftIndent(15);
    para.SetRightIndent(5);
    para.SetFirstIndent(20);
    Doc.Width = 110;
    Doc.AddNL(u"aaa bbb ccc", 0, para.GetIndex());
    Doc.AddNL(u"x", 0, 0);
    Format();
    // Text width 110 - 15 - 5 = 90; the first line also loses the first indent of 20.
    EXPECT_EQ(Lines(), "0:1+7@35,7 70x20 / 0:9+3@15,27 30x20 / 1:1+1@0,50 10x20");
    EXPECT_EQ(Doc.DocumentHeight, 70);
}

TEST_F(Wrap, ExactLineHeightFixesEveryLine) {
    TParaInfo &para = AddPara();
    para.SetLineSpacingType(vdlsLineHeightExact);
    para.SetLineSpacing(20);
    Doc.Width = 200;
    Doc.AddNL(u"ab", 0, para.GetIndex());
    Doc.AddNL(u"CD", 1, -1);
    Doc.AddNL(u"ef", 0, para.GetIndex());
    Format();
    // Ascent 16, descent 4 whatever the fonts: the big text sticks out above the line.
    EXPECT_EQ(Lines(), "0:1+2@0,0 20x20 1:1+2@20,-16 40x40 / 2:1+2@0,20 20x20");
    EXPECT_EQ(Doc.DocumentHeight, 40);
}

TEST_F(Wrap, AtLeastLineHeightGrowsSmallLinesOnly) {
    TParaInfo &para = AddPara();
    para.SetLineSpacingType(vdlsLineHeightAtLeast);
    para.SetLineSpacing(30);
    Doc.Width = 200;
    Doc.AddNL(u"ab", 0, para.GetIndex());
    Doc.AddNL(u"CD", 1, para.GetIndex());
    Format();
    // 30: ascent 24, descent 6. The small line is 30 high; the big one keeps its 40.
    EXPECT_EQ(Lines(), "0:1+2@0,8 20x20 / 1:1+2@0,30 40x40");
    EXPECT_EQ(Doc.DocumentHeight, 30 + 40);
}

TEST_F(Wrap, HiddenParagraphGetsNoDrawItems) {
    TFontInfo &hidden = Style.GetTextStyles().Add();
    hidden.Assign(Style.GetTextStyles().GetItem(0));
    hidden.SetOptions({vdteoHidden});
    Doc.AddNL(u"shown", 0, 0);
    Doc.AddNL(u"hidden", hidden.GetIndex(), 0);
    Doc.AddNL(u"x", 0, 0);
    Doc.Width = 200;
    Format();
    EXPECT_EQ(Lines(), "0:1+5@0,0 50x20 / 2:1+1@0,20 10x20");
    EXPECT_EQ(Doc.GetItem(1)->DrawItemNo, -1);
    Doc.SetOptions(Doc.GetOptions() + TVDOptions{vdoShowHiddenText});
    Format();
    EXPECT_EQ(Doc.DrawItems.Count(), 3);
}
