// The viewer's input through its window messages: clicks, shift-clicks and drags selecting text,
// double and triple clicks, hyperlink hover and jumps, the order of the control's events after
// the document's own handling, the copy shortcut, and the edit-control messages over documents
// with tables and notes (exact metrics: 10 pixels a character, 20 a line).
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "tests/support/GoldenImage.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDClipboardFormats.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/tables/VDTable.h"

#include "platform/gfx/Clipbrd.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mouse.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

struct TPos {
    int32_t ItemNo, Offs;
};

class Input : public ::testing::Test {
protected:
    Input() : Form(nullptr) {
        Form.SetClientWidth(400);
        Form.SetClientHeight(300);
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 300, 200);
        View->SetParent(&Form);
    }
    ~Input() override { ui::SetMessageTimeForTesting(0); }

    void Format() { View->Format(); }
    TViziVoduVDData &Data() { return View->GetVDData(); }
    // A client point inside the character at offs (its left part), or right of an object.
    gfx::TPoint At(TPos p, TCustomVDFormattedData *doc = nullptr) {
        TCustomVDFormattedData &d = doc ? *doc : Data();
        int32_t x = 0, top = 0, bottom = 0;
        d.GetCoordsOf(p.ItemNo, p.Offs, x, top, bottom);
        const rtl::TPoint origin = d.GetOrigin();
        return {x + origin.X + 3 - Data().GetHOffs(), top + origin.Y + 5 - Data().GetVOffs()};
    }
    void Send(uint32_t msg, gfx::TPoint p, ui::WPARAM keys = 0) {
        View->Perform(msg, keys, ui::MakeLParam(p.X, p.Y));
    }
    void Click(gfx::TPoint p, ui::WPARAM keys = 0) {
        Send(ui::WM_LBUTTONDOWN, p, keys | ui::MK_LBUTTON);
        Send(ui::WM_LBUTTONUP, p, keys);
    }
    void Drag(gfx::TPoint from, gfx::TPoint to) {
        Send(ui::WM_LBUTTONDOWN, from, ui::MK_LBUTTON);
        Send(ui::WM_MOUSEMOVE, to, ui::MK_LBUTTON);
        Send(ui::WM_LBUTTONUP, to);
    }
    void DoubleClick(gfx::TPoint p) {
        Click(p);
        Send(ui::WM_LBUTTONDBLCLK, p, ui::MK_LBUTTON);
        Send(ui::WM_LBUTTONUP, p);
    }
    // The selection of the document as items: "start:offs-end:offs", anchor first.
    static std::string Bounds(TCustomVDFormattedData &d) {
        int32_t s = 0, so = 0, e = 0, eo = 0;
        d.GetSelectionBounds(s, so, e, eo, false);
        return std::to_string(s) + ":" + std::to_string(so) + "-" + std::to_string(e) + ":" +
               std::to_string(eo);
    }
    std::string Bounds() { return Bounds(Data()); }
    // "before", a 2 x 2 table whose cells hold "<row><col> word", then "after".
    TVDTableItemInfo &AddTable() {
        View->AddNL(u"before", 0, 0);
        auto table = std::make_unique<TVDTableItemInfo>(2, 2, &Data());
        TVDTableItemInfo *t = table.get();
        View->AddItem(u"", std::move(table));
        for (int32_t r = 0; r < 2; ++r) {
            for (int32_t c = 0; c < 2; ++c) {
                const std::u16string text = {
                    char16_t(u'0' + r), char16_t(u'0' + c), u' ', u'w', u'o', u'r', u'd'};
                test::SetCellText(*t->GetCells(r, c), text);
            }
        }
        View->AddNL(u"after", 0, 0);
        Format();
        return *t;
    }
    TCustomVDFormattedData &Cell(TVDTableItemInfo &t, int32_t r, int32_t c) {
        return static_cast<TCustomVDFormattedData &>(*t.GetCells(r, c));
    }
    std::string SelText() { return rtl::Utf16ToUtf8(RawUnicodeToString(Data().GetSelTextR(true))); }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
};

} // namespace

TEST_F(Input, ClicksShiftClicksAndDragsSelect) {
    Style.SetSelectionMode(vdsmChar);
    View->AddNL(u"one two", 0, 0);
    View->AddNL(u"three four ", 0, 0);
    View->AddNL(u"five", 0, -1); // same line as "three four "
    Format();
    struct TCase {
        const char *Name;
        TPos From, To;
        bool Shift; // a drag from From over one character, then a shift-click at To
        const char *Bounds;
        const char *Text;
    } cases[] = {
        {"drag within a line", {0, 2}, {0, 6}, false, "0:2-0:6", "ne t"},
        {"drag across paragraphs", {0, 5}, {1, 3}, false, "0:5-1:3", "two\r\nth"},
        {"drag backwards across items", {2, 3}, {1, 8}, false, "2:3-1:8", "our fi"},
        {"shift-click extends", {0, 2}, {1, 2}, true, "0:2-1:2", "ne two\r\nt"},
        {"shift-click before the anchor", {1, 3}, {0, 4}, true, "1:3-0:4", " two\r\nth"},
    };
    for (const TCase &c : cases) {
        if (c.Shift) {
            Drag(At(c.From), At({c.From.ItemNo, c.From.Offs + 1}));
            Click(At(c.To), ui::MK_SHIFT);
        } else {
            Drag(At(c.From), At(c.To));
        }
        EXPECT_EQ(Bounds(), c.Bounds) << c.Name;
        EXPECT_EQ(SelText(), c.Text) << c.Name;
        EXPECT_FALSE(Data().State.Contains(vdstMakingSelection)) << c.Name;
    }
    Click(At({0, 3}));
    EXPECT_EQ(Bounds(), "0:3-0:3");
    EXPECT_FALSE(Data().SelectionExists(false, false));
}

// In word mode the drag takes whole words once it leaves the word it began in.
TEST_F(Input, DraggingInWordModeTakesWholeWords) {
    View->AddNL(u"one two three", 0, 0);
    Format();
    Drag(At({0, 6}), At({0, 11}));
    EXPECT_EQ(SelText(), "two three");
    Drag(At({0, 6}), At({0, 7}));
    EXPECT_EQ(SelText(), "w");
}

TEST_F(Input, DraggingIntoATableSelectsTheTableWhole) {
    Style.SetSelectionMode(vdsmChar);
    View->AddNL(u"before", 0, 0);
    auto table = std::make_unique<TVDTableItemInfo>(1, 2, &Data());
    TVDTableItemInfo *t = table.get();
    View->AddItem(u"", std::move(table));
    test::SetCellText(*t->GetCells(0, 0), u"left");
    test::SetCellText(*t->GetCells(0, 1), u"right");
    View->AddNL(u"after", 0, 0);
    Format();
    Drag(At({0, 3}), At({2, 3}));
    EXPECT_EQ(Bounds(), "0:3-2:3");
    EXPECT_TRUE(Data().Item_InsideSelection(1, 0, true));
    EXPECT_EQ(SelText().substr(0, 5), "fore\r");
}

TEST_F(Input, DraggingInsideACellSelectsItsText) {
    Style.SetSelectionMode(vdsmChar);
    TVDTableItemInfo &t = AddTable();
    TCustomVDFormattedData &cell = Cell(t, 1, 0);
    Drag(At({0, 2}, &cell), At({0, 6}, &cell));
    EXPECT_EQ(Bounds(cell), "0:2-0:6");
    EXPECT_EQ(Data().GetChosenVDData(), &cell);
    EXPECT_FALSE(t.PartiallySelected());
    // The viewer's selection is the cell's.
    EXPECT_EQ(SelText(), "0 wo");
    EXPECT_FALSE(cell.State.Contains(vdstMakingSelection));
}

TEST_F(Input, DraggingAcrossCellsSelectsTheirRectangle) {
    Style.SetSelectionMode(vdsmChar);
    TVDTableItemInfo &t = AddTable();
    Send(ui::WM_LBUTTONDOWN, At({0, 2}, &Cell(t, 0, 1)), ui::MK_LBUTTON);
    Send(ui::WM_MOUSEMOVE, At({0, 3}, &Cell(t, 1, 0)), ui::MK_LBUTTON);
    EXPECT_TRUE(t.PartiallySelected());
    Send(ui::WM_LBUTTONUP, At({0, 3}, &Cell(t, 1, 0)));
    ASSERT_TRUE(t.PartiallySelected());
    int32_t top = 0, left = 0, cols = 0, rows = 0;
    ASSERT_TRUE(t.GetNormalizedSelectionBounds(false, top, left, cols, rows));
    EXPECT_EQ(std::vector<int32_t>({top, left, cols, rows}), std::vector<int32_t>({0, 0, 2, 2}));
    for (int32_t r = 0; r < 2; ++r) {
        for (int32_t c = 0; c < 2; ++c) {
            EXPECT_TRUE(Cell(t, r, c).State.Contains(vdstCompletelySelected)) << r << c;
        }
    }
    EXPECT_TRUE(Data().SelectionExists(false, true));
    // A selection of cells leaves no cell chosen, and the mouse is free again.
    EXPECT_EQ(Data().GetChosenVDData(), nullptr);
    Send(ui::WM_MOUSEMOVE, At({0, 2}, &Cell(t, 0, 0)));
    EXPECT_TRUE(t.PartiallySelected());
    // Moving back into the start cell while dragging gives the text selection again.
    Send(ui::WM_LBUTTONDOWN, At({0, 2}, &Cell(t, 0, 0)), ui::MK_LBUTTON);
    Send(ui::WM_MOUSEMOVE, At({0, 3}, &Cell(t, 1, 1)), ui::MK_LBUTTON);
    Send(ui::WM_MOUSEMOVE, At({0, 5}, &Cell(t, 0, 0)), ui::MK_LBUTTON);
    Send(ui::WM_LBUTTONUP, At({0, 5}, &Cell(t, 0, 0)));
    EXPECT_FALSE(t.PartiallySelected());
    EXPECT_FALSE(Cell(t, 1, 1).State.Contains(vdstCompletelySelected));
    EXPECT_EQ(Data().GetChosenVDData(), &Cell(t, 0, 0));
    EXPECT_EQ(SelText(), "0 w");
    // A click in the text outside the table ends the selection of cells.
    Drag(At({0, 2}, &Cell(t, 0, 0)), At({0, 2}, &Cell(t, 1, 1)));
    ASSERT_TRUE(t.PartiallySelected());
    Click(At({0, 2}));
    EXPECT_FALSE(t.PartiallySelected());
    EXPECT_FALSE(Cell(t, 0, 0).State.Contains(vdstCompletelySelected));
    EXPECT_EQ(Bounds(), "0:2-0:2");
}

TEST_F(Input, ClicksInACellPlaceTheCaretAndDoubleClicksSelectItsWords) {
    TVDTableItemInfo &t = AddTable();
    TCustomVDFormattedData &cell = Cell(t, 1, 1);
    std::string seenWord;
    View->OnVDDblClick = [&](ui::TComponent *, const TVDRawByteString &word, int32_t) {
        seenWord = rtl::Utf16ToUtf8(RawUnicodeToString(word));
    };
    ui::SetMessageTimeForTesting(1000);
    Click(At({0, 5}, &cell));
    EXPECT_EQ(Bounds(cell), "0:5-0:5");
    EXPECT_EQ(Data().GetChosenVDData(), &cell);
    // The viewer's own selection waits after the table.
    EXPECT_EQ(Bounds(), "1:1-1:1");
    DoubleClick(At({0, 5}, &cell));
    EXPECT_EQ(SelText(), "word");
    EXPECT_EQ(seenWord, "word");
    EXPECT_EQ(Bounds(cell), "0:4-0:8");
    // A click in another cell (not a third click) moves the caret there and forgets the first
    // cell's selection.
    ui::SetMessageTimeForTesting(1000 + 2 * ui::GetDoubleClickTime());
    Click(At({0, 2}, &Cell(t, 0, 0)));
    EXPECT_EQ(Data().GetChosenVDData(), &Cell(t, 0, 0));
    EXPECT_FALSE(cell.SelectionExists(false, false));
}

// A shift-click reaches into a table only as a click: the cell takes the caret, and the text
// selection made before it is gone.
TEST_F(Input, AShiftClickFromTextIntoATableMovesTheCaretIntoTheCell) {
    Style.SetSelectionMode(vdsmChar);
    TVDTableItemInfo &t = AddTable();
    Click(At({0, 2}));
    Click(At({0, 3}, &Cell(t, 0, 1)), ui::MK_SHIFT);
    EXPECT_EQ(Data().GetChosenVDData(), &Cell(t, 0, 1));
    EXPECT_EQ(Bounds(Cell(t, 0, 1)), "0:3-0:3");
    EXPECT_EQ(Bounds(), "1:1-1:1");
    EXPECT_EQ(SelText(), "");
    // From a selection inside the cell a shift-click extends it.
    Drag(At({0, 3}, &Cell(t, 0, 1)), At({0, 4}, &Cell(t, 0, 1)));
    Click(At({0, 6}, &Cell(t, 0, 1)), ui::MK_SHIFT);
    EXPECT_EQ(SelText(), " wo");
}

TEST_F(Input, DoubleClickSelectsTheWordBeforeTheEventArrives) {
    View->AddNL(u"Съешь don't 2024 x-ray", 0, 0);
    Format();
    std::string seenWord, seenSelection;
    View->OnVDDblClick = [&](ui::TComponent *, const TVDRawByteString &word, int32_t) {
        seenWord = rtl::Utf16ToUtf8(RawUnicodeToString(word));
        seenSelection = SelText();
    };
    struct TCase {
        int32_t Offs;
        const char *Word;
    } cases[] = {{2, "Съешь"}, {9, "don't"}, {14, "2024"}, {18, "x"}, {21, "ray"}};
    for (const TCase &c : cases) {
        DoubleClick(At({0, c.Offs}));
        EXPECT_EQ(SelText(), c.Word) << c.Offs;
        EXPECT_EQ(seenWord, c.Word) << c.Offs;
        EXPECT_EQ(seenSelection, c.Word) << c.Offs;
    }
}

TEST_F(Input, ATripleClickSelectsTheParagraph) {
    View->AddNL(u"first para", 0, 0);
    View->AddNL(u"second ", 0, 0);
    View->AddNL(u"para", 0, -1);
    Format();
    const gfx::TPoint p = At({1, 2});
    ui::SetMessageTimeForTesting(1000);
    DoubleClick(p);
    EXPECT_EQ(SelText(), "second");
    ui::SetMessageTimeForTesting(1000 + ui::GetDoubleClickTime() - 1);
    Send(ui::WM_LBUTTONDOWN, p, ui::MK_LBUTTON);
    // The press is taken as the third click: the document does not see it.
    EXPECT_EQ(SelText(), "second");
    ui::ProcessPostedMessagesForTesting();
    Send(ui::WM_LBUTTONUP, p);
    EXPECT_EQ(SelText(), "second para");
    // A press later than the double-click time is a click of its own.
    DoubleClick(p);
    ui::SetMessageTimeForTesting(1000 + 2 * ui::GetDoubleClickTime());
    Click(p);
    EXPECT_EQ(Bounds(), "1:2-1:2");
}

TEST_F(Input, HoverOverAHyperlinkShowsItsCursorAndAClickJumps) {
    TFontInfo &link = Style.GetTextStyles().Add();
    link.Assign(Style.GetTextStyles().GetItem(0));
    link.SetJump(true);
    link.SetJumpCursor(ui::crHandPoint);
    View->AddNL(u"plain ", 0, 0);
    View->AddNL(u"link", link.GetIndex(), -1);
    Format();
    std::vector<int32_t> jumps, hovered;
    View->OnJump = [&](ui::TComponent *, int32_t id) { jumps.push_back(id); };
    View->OnVDMouseMove = [&](ui::TComponent *, int32_t id) { hovered.push_back(id); };
    Send(ui::WM_MOUSEMOVE, At({1, 2}));
    EXPECT_EQ(ui::GetShownCursor(*View), ui::crHandPoint);
    EXPECT_EQ(View->GetCursor(), ui::crDefault); // the normal cursor stays
    Send(ui::WM_MOUSEMOVE, At({0, 2}));
    EXPECT_EQ(ui::GetShownCursor(*View), ui::crDefault);
    EXPECT_EQ(hovered, (std::vector<int32_t>{0, -1}));
    Click(At({1, 2}));
    EXPECT_TRUE(jumps.empty()); // posted: it arrives after the document's handling
    ui::ProcessPostedMessagesForTesting();
    EXPECT_EQ(jumps, std::vector<int32_t>{0});
    // A selection made by the press and release is no jump.
    Drag(At({1, 1}), At({1, 3}));
    ui::ProcessPostedMessagesForTesting();
    EXPECT_EQ(jumps.size(), 1u);
}

TEST_F(Input, ARightClickEventSeesTheCaretAlreadyMoved) {
    View->AddNL(u"alpha beta gamma", 0, 0);
    Format();
    Drag(At({0, 1}), At({0, 5}));
    std::string word, selection;
    View->OnVDRightClick = [&](ui::TComponent *, const TVDRawByteString &w, int32_t, int32_t,
                               int32_t) {
        word = rtl::Utf16ToUtf8(RawUnicodeToString(w));
        selection = Bounds();
    };
    // Inside the selection it stays.
    Send(ui::WM_RBUTTONDOWN, At({0, 2}), ui::MK_RBUTTON);
    Send(ui::WM_RBUTTONUP, At({0, 2}));
    EXPECT_EQ(word, "alpha");
    EXPECT_EQ(selection, "0:1-0:6");
    // Outside it the caret moves there first.
    Send(ui::WM_RBUTTONDOWN, At({0, 13}), ui::MK_RBUTTON);
    Send(ui::WM_RBUTTONUP, At({0, 13}));
    EXPECT_EQ(word, "gamma");
    EXPECT_EQ(selection, "0:13-0:13");
}

TEST_F(Input, TheCopyShortcutsCopy) {
    View->AddNL(u"текст text", 0, 0);
    Format();
    int32_t copies = 0;
    View->OnCopy = [&](ui::TComponent *) { ++copies; };
    struct TCase {
        uint16_t Key;
        ui::TShiftState Shift;
        bool Copies;
    } cases[] = {
        {'C', {ui::ssCtrl}, true},
        {ui::VK_INSERT, {ui::ssCtrl}, true},
        {'C', {ui::ssCtrl, ui::ssAlt}, false},
        {'C', {}, false},
        {'X', {ui::ssCtrl}, false},
    };
    for (bool selected : {false, true}) {
        if (selected) {
            Data().SelectAll();
        }
        for (const TCase &c : cases) {
            gfx::Clipboard().SetAsText(u"before");
            const int32_t before = copies;
            View->KeyPressForTesting(c.Key, c.Shift);
            const bool copied = selected && c.Copies;
            EXPECT_EQ(copies - before, copied ? 1 : 0) << c.Key;
            EXPECT_EQ(gfx::Clipboard().GetAsText(), copied ? u"текст text" : u"before") << c.Key;
            EXPECT_EQ(gfx::Clipboard().HasFormat(CF_VDF), copied) << c.Key;
        }
    }
}

TEST_F(Input, CopyingPutsTheSelectionInEveryFormat) {
    View->AddNL(u"первая", 0, 0);
    View->AddNL(u"second", 0, 0);
    Format();
    Data().SelectAll();
    Data().Copy(gfx::clWhite, nullptr);
    EXPECT_EQ(gfx::Clipboard().GetAsText(), u"первая\r\nsecond");
    const std::vector<uint8_t> vdf = gfx::Clipboard().GetBuffer(CF_VDF);
    ASSERT_GE(vdf.size(), 4u);
    EXPECT_EQ(vdf[0] | vdf[1] << 8 | vdf[2] << 16 | uint32_t(vdf[3]) << 24, vdf.size() - 4);

    // What was copied reads back into another document.
    TViziVodu *other = new TViziVodu(&Form);
    other->SetStyle(&Style);
    rtl::TMemoryStream stream;
    stream.WriteBuffer(vdf.data() + 4, int32_t(vdf.size() - 4));
    stream.SetPosition(0);
    ASSERT_TRUE(other->LoadVDFFromStream(stream));
    EXPECT_EQ(other->GetItemTextW(0), u"первая");
    EXPECT_EQ(other->GetItemTextW(1), u"second");

    // The RTF of the selection, as many bytes as written, reads back as well; so does the
    // viewer's own RTF of the whole document.
    const std::vector<uint8_t> rtf = gfx::Clipboard().GetBuffer(CF_RTF);
    ASSERT_FALSE(rtf.empty());
    EXPECT_EQ(rtf.back(), '}');
    rtl::TMemoryStream saved;
    ASSERT_TRUE(View->SaveRTFToStream(saved, false));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(saved.GetMemory()), 6), "{\\rtf1");
    TViziVodu *fromRTF = new TViziVodu(&Form);
    fromRTF->SetStyle(&Style);
    rtl::TMemoryStream rtfStream;
    rtfStream.WriteBuffer(rtf.data(), int32_t(rtf.size()));
    rtfStream.SetPosition(0);
    ASSERT_TRUE(fromRTF->LoadRTFFromStream(rtfStream));
    EXPECT_EQ(fromRTF->GetItemTextW(0), u"первая");
    EXPECT_EQ(fromRTF->GetItemTextW(1), u"second");

    // Without a selection the clipboard stays as it was.
    gfx::Clipboard().SetAsText(u"kept");
    Data().Deselect(nullptr, false);
    Data().Copy(gfx::clWhite, nullptr);
    EXPECT_EQ(gfx::Clipboard().GetAsText(), u"kept");
}

// What a selection looks like when the mouse takes a line's end, a picture, a whole table and
// the start of the next paragraph: painted by the viewer, characters as glyph boxes.
TEST_F(Input, ASelectionOverTextAPictureAndATableIsPaintedAsSelected) {
    Style.GI->DrawGlyphBoxes = true;
    Style.SetSelectionMode(vdsmChar);
    Style.SetColor(gfx::clWhite);
    View->AddNL(u"text ", 0, 0);
    auto picture = std::make_unique<gfx::TBitmap>(24, 16);
    picture->GetCanvas().GetBrush().SetColor(gfx::RGB(0, 128, 0));
    picture->GetCanvas().FillRect(rtl::Rect(0, 0, 24, 16));
    picture->GetCanvas().GetBrush().SetColor(gfx::RGB(255, 200, 0));
    picture->GetCanvas().FillRect(rtl::Rect(6, 4, 18, 12));
    View->AddPictureEx("", std::move(picture), -1, vdvaBaseline);
    auto table = std::make_unique<TVDTableItemInfo>(2, 2, &Data());
    TVDTableItemInfo *t = table.get();
    View->AddItem(u"", std::move(table));
    test::FillWithPositions(*t);
    t->SetCellColor(gfx::RGB(200, 200, 255), 0, 0);
    View->AddNL(u"after", 0, 0);
    Format();
    Drag(At({0, 2}), At({3, 3}));
    ASSERT_EQ(Bounds(), "0:2-3:3");
    wbtest::ExpectMatchesGolden(View->GrabForTesting(),
                                "vizivodu/layout/viewer/selection_text_picture_table.png");
}

TEST_F(Input, CopyingSelectedCellsGivesTheirTextRowByRow) {
    Style.SetSelectionMode(vdsmChar);
    TVDTableItemInfo &t = AddTable();
    const struct {
        const char *name;
        int32_t fromRow, fromCol, toRow, toCol;
        const char16_t *colSeparator;
        const char16_t *text;
    } cases[] = {
        {"all, default separators", 0, 0, 1, 1, u"\r\n",
         u"00 word\r\n01 word\r\n10 word\r\n11 word\r\n"},
        {"all, tabs", 1, 1, 0, 0, u"\t", u"00 word\t01 word\r\n10 word\t11 word\r\n"},
        {"second column", 0, 1, 1, 1, u"\t", u"01 word\r\n11 word\r\n"},
        {"second row", 1, 0, 1, 1, u"\t", u"10 word\t11 word\r\n"},
    };
    for (const auto &c : cases) {
        t.SetTextColSeparator(c.colSeparator);
        Drag(At({0, 2}, &Cell(t, c.fromRow, c.fromCol)), At({0, 2}, &Cell(t, c.toRow, c.toCol)));
        ASSERT_TRUE(t.PartiallySelected()) << c.name;
        View->Copy();
        EXPECT_EQ(gfx::Clipboard().GetAsText(), c.text) << c.name;
        const std::vector<uint8_t> ansi = gfx::Clipboard().GetBuffer(gfx::CF_TEXT);
        EXPECT_EQ(std::string(ansi.begin(), ansi.end()),
                  rtl::Utf16ToUtf8(c.text) + std::string(1, '\0'))
            << c.name;
    }
}
