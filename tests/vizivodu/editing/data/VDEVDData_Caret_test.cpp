// The caret of the editable document: the stops of a line over text, pictures and seams of
// draw items, and movement by Left, Right, Home, End, Up and Down with and without Ctrl and
// Shift.
#include "vizivodu/editing/data/VDEVDData.h"

#include "tests/vizivodu/editing/EditTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

std::vector<int32_t> StopOffsets(TVDEditVDData &doc) {
    std::vector<int32_t> offsets;
    for (const TVDCharPos &stop : doc.CharEnds) {
        offsets.push_back(stop.Offset);
    }
    return offsets;
}

} // namespace

TEST(EditCaret, AnEmptyDocumentGetsOneEmptyItemAndOneStop) {
    test::TEditFixture f;
    f.Format();
    TVDEditVDData &doc = f.Doc();
    ASSERT_EQ(doc.ItemCount(), 1);
    EXPECT_TRUE(doc.GetItem(0)->IsText());
    EXPECT_EQ(doc.GetItem(0)->StyleNo, doc.FCurTextStyleNo);
    ASSERT_EQ(doc.CharEnds.size(), 1u);
    EXPECT_EQ(doc.CharEnds[0].Offset, 1);
    EXPECT_EQ(f.Caret(), "0:1");
}

TEST(EditCaret, TwoTextDrawItemsShareTheStopAtTheirSeam) {
    test::TEditFixture f;
    f.Doc().AddNL(u"ab", 0, 0);
    f.Doc().AddNL(u"cd", 1, -1);
    f.Format();
    f.SetCaret(1, 1);
    TVDEditVDData &doc = f.Doc();
    ASSERT_EQ(doc.CharEnds.size(), 5u);
    EXPECT_EQ(StopOffsets(doc), (std::vector<int32_t>{1, 2, 3, 2, 3}));
    EXPECT_EQ(doc.CaretOffs, 2);
    EXPECT_EQ(doc.CharEnds[2].DrawItemNo, 0);
    EXPECT_EQ(doc.CharEnds[1].X - doc.CharEnds[0].X, 10);
    EXPECT_EQ(doc.CharEnds[4].X - doc.CharEnds[3].X, 20);
    // The seam stop stands for the end of "ab", the position where "cd" starts.
    EXPECT_EQ(f.Caret(), "0:3");
}

TEST(EditCaret, APictureAloneOnItsLineHasAStopAtEachEdge) {
    test::TEditFixture f;
    f.Doc().AddNL(u"ab", 0, 0);
    f.Editor->AddPictureEx("", std::make_unique<gfx::TBitmap>(30, 12), 0, vdvaBaseline);
    f.Format();
    f.SetCaret(1, 0);
    TVDEditVDData &doc = f.Doc();
    ASSERT_EQ(StopOffsets(doc), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(doc.CharEnds[1].X - doc.CharEnds[0].X, doc.DrawItems[1]->Width);
    EXPECT_EQ(doc.CaretOffs, 0);
}

TEST(EditCaret, LeftAtTheStartRightAtTheEndAndUpOnTheFirstLineReportTheEdge) {
    test::TEditFixture f;
    f.Doc().AddNL(u"ab", 0, 0);
    f.Doc().AddNL(u"cd", 0, 0);
    f.Format();
    f.SetCaret(0, 1);
    EXPECT_TRUE(f.Doc().OnLeftPress(false, false));
    EXPECT_EQ(f.Caret(), "0:1");
    EXPECT_TRUE(f.Doc().OnUpPress(false, false));
    EXPECT_FALSE(f.Doc().OnRightPress(false, false));
    EXPECT_EQ(f.Caret(), "0:2");
    f.SetCaret(1, 3);
    EXPECT_TRUE(f.Doc().OnRightPress(false, false));
    EXPECT_TRUE(f.Doc().OnDownPress(false, false));
    EXPECT_EQ(f.Caret(), "1:3");
    // Right at the end of a paragraph goes to the start of the next one.
    f.SetCaret(0, 3);
    EXPECT_FALSE(f.Doc().OnRightPress(false, false));
    EXPECT_EQ(f.Caret(), "1:1");
    EXPECT_FALSE(f.Doc().OnLeftPress(false, false));
    EXPECT_EQ(f.Caret(), "0:3");
}

TEST(EditCaret, CtrlLeftAndCtrlRightStopAtWordStarts) {
    struct TCase {
        const char16_t *Text;
        int32_t From;
        bool Right;
        std::vector<std::string> Stops;
    };
    const TCase cases[] = {
        {u"abc def", 8, false, {"0:5", "0:1"}},
        {u"abc,def", 8, false, {"0:5", "0:4", "0:1"}},
        {u"abc def", 1, true, {"0:5", "0:8"}},
    };
    for (const TCase &c : cases) {
        test::TEditFixture f;
        f.Doc().AddNL(c.Text, 0, 0);
        f.Format();
        f.SetCaret(0, c.From);
        for (const std::string &expected : c.Stops) {
            if (c.Right) {
                f.Doc().OnRightPress(false, true);
            } else {
                f.Doc().OnLeftPress(false, true);
            }
            EXPECT_EQ(f.Caret(), expected) << rtl::Utf16ToUtf8(c.Text);
        }
    }
}

TEST(EditCaret, UpAndDownKeepAimingAtTheColumnTheyStartedFrom) {
    test::TEditFixture f;
    f.Doc().AddNL(u"abcdefgh", 0, 0);
    f.Doc().AddNL(u"ab", 0, 0);
    f.Doc().AddNL(u"abcdefgh", 0, 0);
    f.Format();
    f.SetCaret(0, 7);
    f.Doc().OnDownPress(false, false);
    EXPECT_EQ(f.Caret(), "1:3");
    f.Doc().OnDownPress(false, false);
    EXPECT_EQ(f.Caret(), "2:7");
    f.Doc().OnUpPress(false, false);
    f.Doc().OnUpPress(false, false);
    EXPECT_EQ(f.Caret(), "0:7");
}

TEST(EditCaret, HomeEndAndShiftExtendTheSelection) {
    test::TEditFixture f;
    f.Doc().AddNL(u"abcd", 0, 0);
    f.Doc().AddNL(u"ef", 0, 0);
    f.Format();
    f.SetCaret(0, 3);
    EXPECT_FALSE(f.Doc().OnEndPress(false, false));
    EXPECT_EQ(f.Caret(), "0:5");
    EXPECT_FALSE(f.Doc().OnHomePress(true, false));
    EXPECT_EQ(f.Caret(), "0:1");
    EXPECT_EQ(f.Doc().GetSelTextR(false), "abcd");
    EXPECT_TRUE(f.Doc().OnEndPress(false, true));
    EXPECT_EQ(f.Caret(), "1:3");
    EXPECT_FALSE(f.Doc().SelectionExists(false, false));
    f.Doc().OnLeftPress(true, false);
    f.Doc().OnLeftPress(true, false);
    EXPECT_EQ(f.Doc().GetSelTextR(false), "ef");
}
