// Linear character positions and the edit-control messages EM_GETSEL, EM_SETSEL and
// EM_GETTEXTRANGE, over documents with pictures, tabs, tables and notes.
#include "vizivodu/layout/viewer/VDLinear.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/tables/VDTable.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class Linear : public ::testing::Test {
protected:
    Linear() : Form(nullptr) {
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 300, 200);
        View->SetParent(&Form);
    }

    // EM_GETTEXTRANGE from min to max into a buffer of room characters.
    std::u16string Range(int32_t min, int32_t max, size_t room = 200,
                         ui::LRESULT *count = nullptr) {
        std::u16string buffer(room + 1, u'#');
        TVDTextRange range;
        range.cpMin = min;
        range.cpMax = max;
        range.lpstrText = buffer.data();
        const ui::LRESULT n =
            View->Perform(EM_GETTEXTRANGE, 0, reinterpret_cast<ui::LPARAM>(&range));
        if (count) {
            *count = n;
        }
        return buffer.substr(0, static_cast<size_t>(n));
    }
    std::pair<int32_t, int32_t> GetSel(ui::LRESULT *result = nullptr) {
        int32_t lo = -5, hi = -5;
        const ui::LRESULT r = View->Perform(EM_GETSEL, reinterpret_cast<ui::WPARAM>(&lo),
                                            reinterpret_cast<ui::LPARAM>(&hi));
        if (result) {
            *result = r;
        }
        return {lo, hi};
    }
    void SetSel(int32_t start, int32_t end) {
        View->Perform(EM_SETSEL, static_cast<ui::WPARAM>(static_cast<intptr_t>(start)), end);
    }
    TVDTableItemInfo &AddTable() {
        auto table = std::make_unique<TVDTableItemInfo>(1, 2, &View->GetVDData());
        TVDTableItemInfo &t = *table;
        View->AddItem(u"", std::move(table));
        test::SetCellText(*t.GetCells(0, 0), u"ab");
        test::SetCellText(*t.GetCells(0, 1), u"cd");
        return t;
    }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
};

} // namespace

TEST_F(Linear, TwoParagraphsAreFiveCharacters) {
    View->AddNL(u"ab", 0, 0);
    View->AddNL(u"cd", 0, 0);
    View->Format();
    EXPECT_EQ(GetDocLinearLength(View->GetVDData()), 6); // the first break included
    EXPECT_EQ(Range(0, -1), u"ab\rcd");
    EXPECT_EQ(Range(1, 4), u"b\rc");
    EXPECT_EQ(Range(2, 2), u"");
    SetSel(3, 3);
    int32_t s = 0, so = 0, e = 0, eo = 0;
    View->GetVDData().GetSelectionBounds(s, so, e, eo, false);
    EXPECT_EQ(std::vector<int32_t>({s, so, e, eo}), std::vector<int32_t>({1, 1, 1, 1}));
}

TEST_F(Linear, ObjectsTabsTablesAndNotesInTheText) {
    View->AddNL(u"x", 0, 0);
    View->AddPictureEx("", std::make_unique<gfx::TBitmap>(8, 8), -1, vdvaBaseline);
    View->AddTab(0, -1);
    View->AddNL(u"y", 0, -1);
    AddTable();
    View->AddNL(u"z", 0, 0);
    test::AddNote<TVDFootnoteItemInfo>(
        *View, [](TVDFootnoteItemInfo &note) { note.GetDocument().AddNL(u"n", 0, 0); });
    View->Format();
    const std::u16string all = Range(0, -1);
    // x, the picture as a space, the tab, y; the table: a break, each cell with the break of its
    // first line, a break after; z; the note with its own text.
    EXPECT_EQ(all.substr(0, 4), u"x \ty");
    EXPECT_EQ(all.substr(4, 8), u"\r\rab\rcd\r");
    EXPECT_EQ(all.substr(12, 2), u"\rz");
}

TEST_F(Linear, SelectionRoundTrips) {
    View->AddNL(u"hello", 0, 0);
    AddTable();
    View->AddNL(u"world", 0, 0);
    View->Format();
    struct TCase {
        int32_t Start, End;
        std::pair<int32_t, int32_t> Got;
        const char16_t *Text;
    } cases[] = {
        {1, 4, {1, 4}, u"ell"},
        {4, 1, {1, 4}, u"ell"},     // backwards: the smaller position first
        {14, 17, {14, 17}, u"wor"}, // after "hello", the table's 8 and a break
        {0, 5, {0, 5}, u"hello"},
    };
    for (const TCase &c : cases) {
        SetSel(c.Start, c.End);
        ui::LRESULT packed = 0;
        EXPECT_EQ(GetSel(&packed), c.Got) << c.Start;
        EXPECT_EQ(packed, c.Got.second * 65536 + c.Got.first) << c.Start;
        EXPECT_EQ(Range(c.Got.first, c.Got.second), c.Text) << c.Start;
    }
    // From the main text into a cell: two documents, nothing changes.
    SetSel(1, 4);
    SetSel(2, 8);
    EXPECT_EQ(GetSel(), std::make_pair(1, 4));
    // Inside one cell: the cell's selection ("a" of "ab" after the table's and the cell's
    // breaks).
    SetSel(7, 8);
    auto *cell = static_cast<TVDTableItemInfo *>(View->GetVDData().GetItem(1))->GetCells(0, 0);
    int32_t s = 0, so = 0, e = 0, eo = 0;
    cell->GetSelectionBounds(s, so, e, eo, false);
    EXPECT_EQ(std::vector<int32_t>({s, so, e, eo}), std::vector<int32_t>({0, 1, 0, 2}));
}

TEST_F(Linear, SelectAllAndDeselect) {
    View->AddNL(u"abc", 0, 0);
    View->AddNL(u"de", 0, 0);
    View->Format();
    SetSel(0, -1);
    EXPECT_EQ(GetSel(), std::make_pair(0, 6));
    SetSel(-1, 3);
    EXPECT_EQ(GetSel(), std::make_pair(0, 0));
    EXPECT_FALSE(View->GetVDData().SelectionExists(false, false));
}

TEST_F(Linear, TextRangeWithoutABufferAnswersZero) {
    View->AddNL(u"abc", 0, 0);
    View->Format();
    TVDTextRange range;
    range.cpMin = 0;
    range.cpMax = 2;
    EXPECT_EQ(View->Perform(EM_GETTEXTRANGE, 0, reinterpret_cast<ui::LPARAM>(&range)), 0);
}

// A range whose maximum lies before its minimum was sized by the caller for no text: it gives
// none rather than the rest of the document.
TEST_F(Linear, AReversedTextRangeWritesNoText) {
    View->AddNL(u"abcdef", 0, 0);
    View->Format();
    ui::LRESULT count = -1;
    EXPECT_EQ(Range(4, 2, 0, &count), u"");
    EXPECT_EQ(count, 0);
}

TEST_F(Linear, EightBitItemsCountCharacters) {
    TFontInfo &ansi = Style.GetTextStyles().Add();
    ansi.Assign(Style.GetTextStyles().GetItem(0));
    ansi.SetUnicode(false);
    ansi.SetCharset(204); // Cyrillic: one byte a character
    View->AddNLATag("\xcf\xf0\xe8", ansi.GetIndex(), 0, {});
    View->Format();
    EXPECT_EQ(Range(0, -1), u"При");
    SetSel(1, 2);
    EXPECT_EQ(Range(1, 2), u"р");
    EXPECT_EQ(GetSel(), std::make_pair(1, 2));
}
