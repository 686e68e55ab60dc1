// Draw items and draw lines: the pending hole of partial reformatting, substrings of the item
// text, the searches for floats beside a line, the narrowing of lines beside floats and the
// stream form.
#include "vizivodu/layout/formatting/DLines.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDItem.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

std::unique_ptr<TVDDrawLineInfo> Plain(int32_t itemNo, int32_t top = 0) {
    return std::make_unique<TVDDrawLineInfo>(0, top, 10, 10, itemNo, false);
}

std::unique_ptr<TVDFloatingDrawLineInfo> Float(int32_t left, int32_t top, int32_t width,
                                               int32_t height, TVDDItemFloatingType type) {
    auto f = std::make_unique<TVDFloatingDrawLineInfo>();
    f->FloatLeft = left;
    f->FloatTop = top;
    f->FloatWidth = width;
    f->FloatHeight = height;
    f->FloatType = type;
    return f;
}

std::vector<int32_t> ItemNos(const TVDDrawLines &lines) {
    std::vector<int32_t> out;
    for (int32_t i = 0; i < lines.Count(); ++i) {
        out.push_back(lines.Get(i) ? lines.Get(i)->ItemNo : -1);
    }
    return out;
}

TVDDrawLines Numbered(int32_t count) {
    TVDDrawLines lines;
    for (int32_t i = 0; i < count; ++i) {
        lines.Add(Plain(i));
    }
    return lines;
}

} // namespace

TEST(DrawLines, HoleFilledByInsertionsLeavesNothingToDelete) {
    TVDDrawLines lines = Numbered(10);
    lines.MarkForDelete(5, 7);
    for (int32_t i = 5; i <= 7; ++i) {
        lines.Insert(i, Plain(100 + i));
    }
    EXPECT_EQ(lines.DeletedCount(), 0);
    lines.DeleteMarked();
    EXPECT_EQ(ItemNos(lines), (std::vector<int32_t>{0, 1, 2, 3, 4, 105, 106, 107, 8, 9}));
}

TEST(DrawLines, HolePartlyFilledLosesTheRest) {
    TVDDrawLines lines = Numbered(10);
    lines.MarkForDelete(5, 7);
    lines.Insert(5, Plain(105));
    lines.Insert(6, Plain(106));
    lines.DeleteMarked();
    EXPECT_EQ(ItemNos(lines), (std::vector<int32_t>{0, 1, 2, 3, 4, 105, 106, 8, 9}));
}

TEST(DrawLines, InsertionsBeyondTheHoleAreOrdinary) {
    TVDDrawLines lines = Numbered(4);
    lines.MarkForDelete(1, 1);
    lines.Insert(1, Plain(101));
    lines.Insert(2, Plain(102)); // the hole is used up
    lines.DeleteMarked();
    EXPECT_EQ(ItemNos(lines), (std::vector<int32_t>{0, 101, 102, 2, 3}));
}

TEST(DrawLines, InsertOutsideTheHoleIsAnAssertionAndChangesNothing) {
    TVDDrawLines lines = Numbered(10);
    lines.MarkForDelete(5, 7);
    EXPECT_THROW(lines.Insert(6, Plain(99)), EViziVoduError);
    EXPECT_EQ(lines.StartDeletedIndex(), 5);
    EXPECT_EQ(lines.DeletedCount(), 3);
}

TEST(DrawLines, DeleteJustBeforeTheHoleWidensIt) {
    TVDDrawLines lines = Numbered(10);
    lines.MarkForDelete(5, 7);
    lines.Delete(4);
    EXPECT_EQ(lines.StartDeletedIndex(), 4);
    EXPECT_EQ(lines.DeletedCount(), 4);
    lines.DeleteMarked();
    EXPECT_EQ(ItemNos(lines), (std::vector<int32_t>{0, 1, 2, 3, 8, 9}));
}

TEST(DrawLines, EmptyMarkedRangeFreesNothing) {
    TVDDrawLines lines = Numbered(3);
    lines.MarkForDelete(2, 1);
    EXPECT_LE(lines.DeletedCount(), 0);
    lines.DeleteMarked();
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_THROW(lines.Get(3), rtl::EListError);
}

TEST(DrawLines, SubstringsOfUnicodeAndAnsiItems) {
    TVDStyle style(nullptr);
    test::TTestDocument doc(&style);
    doc.AddNL(u"abcdefg", 0, 0); // Unicode (default styles)
    style.DefaultUnicodeStyles = false;
    TFontInfo &ansi = style.GetTextStyles().Add();
    ansi.SetUnicode(false);
    doc.AddNL(u"ABCDEFG", ansi.GetIndex(), 0);
    TVDDrawLines lines;
    lines.Add(std::make_unique<TVDDrawLineInfo>(0, 0, 0, 0, 0, true));
    lines.Get(0)->Offs = 3;
    lines.Get(0)->Length = 2;
    lines.Add(std::make_unique<TVDDrawLineInfo>(0, 0, 0, 0, 1, true));
    lines.Get(1)->Offs = 2;
    lines.Get(1)->Length = 5;
    EXPECT_EQ(lines.GetString(0, doc.GetItems()), std::string("c\0d\0", 4));
    EXPECT_EQ(lines.GetString(1, doc.GetItems()), "BCDEF");
    EXPECT_EQ(lines.GetSubString(1, doc.GetItems(), 4, 10), "EF"); // cut at the fragment's end
    EXPECT_EQ(lines.GetRightString(1, doc.GetItems(), 3), "DEF");
}

TEST(DrawLines, FloatsBesideALineStopAtALineNotShapedByFloats) {
    TVDDrawLines lines;
    lines.Add(std::make_unique<TVDDrawLineInfo>(0, 0, 10, 10, 0, true));
    lines.Add(Float(0, 5, 50, 44, vddifLeft)); // bottom 49
    lines.Get(1)->ItemNo = 1;
    lines.Add(std::make_unique<TVDDrawLineInfo>(0, 50, 10, 10, 2, true));
    lines.Get(2)->FloatingAboveUsed = true;
    TVDIntegerList found;
    lines.AssignFloatingCrossingY(50, 2, found); // bottom 49 = y - 1 still counts
    ASSERT_EQ(found.GetCount(), 1);
    EXPECT_EQ(found[0], 1);
    EXPECT_EQ(lines.FindFirstFloatingAboveDrawItem(2, 0, 50, true), -1);
    EXPECT_EQ(lines.FindFirstFloatingAboveDrawItem(2, 0, 49, true), 1);
    // A line start without FloatingAboveUsed ends the walk before the float.
    lines.Add(std::make_unique<TVDDrawLineInfo>(0, 60, 10, 10, 3, true));
    TVDIntegerList none;
    lines.AssignFloatingCrossingY(40, 4, none);
    EXPECT_EQ(none.GetCount(), 0);
}

namespace {

struct TLineCase {
    int32_t MinWidth;
    int32_t Y, Left, Width;
};

} // namespace

TEST(FloatingDrawItems, LineBesideALeftFloatOrBelowIt) {
    for (const TLineCase &c : {TLineCase{50, 0, 100, 420}, TLineCase{450, 51, 20, 500}}) {
        auto f = Float(20, 0, 80, 50, vddifLeft); // right edge 100, bottom 50
        TVDFloatingDrawItems floats;
        floats.Add(f.get());
        int32_t y = 0, left = 20, width = 500;
        floats.AdjustLineSize(20, c.MinWidth, 520, y, left, width, true, false, false, nullptr);
        EXPECT_EQ(y, c.Y) << c.MinWidth;
        EXPECT_EQ(left, c.Left) << c.MinWidth;
        EXPECT_EQ(width, c.Width) << c.MinWidth;
    }
}

TEST(FloatingDrawItems, EmptyListResetsTheLineToTheFullWidth) {
    TVDFloatingDrawItems floats;
    int32_t y = 7, left = 55, width = 100;
    floats.AdjustLineSize(20, 50, 520, y, left, width, true, false, false, nullptr);
    EXPECT_EQ(left, 20);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(y, 7);
}

TEST(FloatingDrawItems, RightFloatLeftOfTheLineAlwaysMovesIt) {
    auto f = Float(0, 0, 10, 30, vddifRight);
    TVDFloatingDrawItems floats;
    floats.Add(f.get());
    int32_t y = 0, left = 20, width = 500;
    floats.AdjustLineSize(20, 0, 520, y, left, width, false, false, false, nullptr);
    EXPECT_EQ(y, 31);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(floats.Count(), 1); // flagging mode keeps the list
}

TEST(FloatingDrawItems, ClearingPassesFloatsNotIgnored) {
    auto f = Float(20, 0, 80, 40, vddifLeft);
    auto own = Float(400, 0, 120, 60, vddifRight);
    TVDFloatingDrawItems floats, ignore;
    floats.Add(f.get());
    floats.Add(own.get());
    ignore.Add(own.get());
    int32_t y = 0, left = 20, width = 500;
    floats.AdjustLineSize(20, 10, 520, y, left, width, true, true, true, &ignore);
    EXPECT_EQ(y, 41); // below the left float; the paragraph's own right float stays beside
    EXPECT_EQ(left, 20);
    EXPECT_EQ(width, 380);
    EXPECT_EQ(floats.GetFloatBottom(), 60);
}

TEST(DrawLines, StreamRoundTripKeepsKindsFieldsAndItemDrawItemNos) {
    TVDStyle style(nullptr);
    test::TTestDocument doc(&style);
    doc.AddNL(u"one", 0, 0);
    doc.AddNL(u"two", 0, 0);
    doc.AddNL(u"three", 0, 0);
    doc.GetItem(2)->DrawItemNo = 42; // an item without draw items keeps its number
    TVDDrawLines lines;
    auto j = std::make_unique<TVDJustifyDrawLineInfo>(1, 2, 3, 4, 0, true);
    j->SetSpaceCount(-100);
    j->SetTextWidth(77);
    j->SetRightNoExpandIndex(3);
    lines.Add(std::move(j));
    auto c = std::make_unique<TVDComplexLineHeightDrawLineInfo>(5, 6, 7, 8, 0, false);
    c->SetExtraSpaceAbove(-2);
    c->SetExtraSpaceBelow(9);
    c->Offs = 2;
    c->Length = 1;
    lines.Add(std::move(c));
    auto f = Float(11, 12, 13, 14, vddifRight);
    f->ItemNo = 1;
    f->FromNewPara = f->FloatingAboveUsed = true;
    lines.Add(std::move(f));
    rtl::TMemoryStream stream;
    lines.SaveToStream(stream, doc.GetItems());
    EXPECT_EQ(stream.GetSize(), 4 + (4 + 48) + (4 + 56) + (4 + 76) + 4);
    stream.SetPosition(0);
    TVDDrawLines loaded;
    loaded.LoadFromStream(stream, doc.GetItems());
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.Get(0)->GetKind(), vddlkJustify);
    EXPECT_EQ(loaded.Get(0)->GetSpaceCount(), -100);
    EXPECT_EQ(loaded.Get(0)->GetTextWidth(), 77);
    EXPECT_EQ(loaded.Get(0)->GetRightNoExpandIndex(), 3);
    EXPECT_EQ(loaded.Get(1)->GetKind(), vddlkComplexLineHeight);
    EXPECT_EQ(loaded.Get(1)->GetExtraSpaceAbove(), -2);
    EXPECT_EQ(loaded.Get(1)->GetExtraSpaceBelow(), 9);
    const auto *lf = dynamic_cast<TVDFloatingDrawLineInfo *>(loaded.Get(2));
    ASSERT_NE(lf, nullptr);
    EXPECT_EQ(lf->FloatBottom(), 26);
    EXPECT_EQ(lf->FloatType, vddifRight);
    EXPECT_TRUE(lf->FromNewPara && lf->FloatingAboveUsed);
    EXPECT_EQ(doc.GetItem(0)->DrawItemNo, 0);
    EXPECT_EQ(doc.GetItem(1)->DrawItemNo, 2);
    EXPECT_EQ(doc.GetItem(2)->DrawItemNo, 42);
}

TEST(DrawLines, DamagedStreamsFailCleanly) {
    TVDStyle style(nullptr);
    test::TTestDocument doc(&style);
    doc.AddNL(u"one", 0, 0);
    const auto load = [&](std::vector<int32_t> words) {
        rtl::TMemoryStream stream;
        for (int32_t w : words) {
            stream.WriteBuffer(&w, 4);
        }
        stream.SetPosition(0);
        TVDDrawLines lines;
        lines.LoadFromStream(stream, doc.GetItems());
    };
    EXPECT_THROW(load({1, 7}), EViziVoduError);       // unknown kind
    EXPECT_THROW(load({1, -1}), EViziVoduError);      // item data before any draw item
    EXPECT_THROW(load({-5}), EViziVoduError);         // negative count
    EXPECT_THROW(load({1000000, 0}), EViziVoduError); // more than the stream holds
    EXPECT_THROW(load({1, 0, 0, 0, 0, 0, 5, 1, 0, 0}), EViziVoduError); // item 5 does not exist
    EXPECT_THROW(load({0, 7}), EViziVoduError);                         // no end code
}
