// Notes in the viewer: footnotes, endnotes and sidenotes are formatted and painted as labels
// showing their numbers, a text box as a narrow anchor with its sign; the viewer's finders.
#include "vizivodu/document/VDNotes.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDSidenotes.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vizivodu;
using vizivodu::test::DumpDrawItems;

namespace {

template <class T> T &AddNote(TViziVodu &v, bool hidden = false) {
    return test::AddNote<T>(v, [&](T &note) { note.Hidden = hidden; });
}

} // namespace

TEST(NotesInTheViewer, FormatAndPaintAsTheirNumbersAndATextBoxAsItsAnchor) {
    test::TLayoutStyle style;
    style.SetColor(gfx::clWhite);
    TViziVodu v(nullptr);
    v.SetStyle(&style);
    v.SetBounds(0, 0, 200, 100);
    v.AddNL(u"ab", 0, 0);
    TVDFootnoteItemInfo &f = AddNote<TVDFootnoteItemInfo>(v);
    AddNote<TVDEndnoteItemInfo>(v);
    AddNote<TVDSidenoteItemInfo>(v);
    AddNote<TVDTextBoxItemInfo>(v);
    AddNote<TVDFootnoteItemInfo>(v);
    auto ref = std::make_unique<TVDNoteReferenceItemInfo>(&f.GetDocument());
    f.GetDocument().AddItem(u"", std::move(ref));
    f.GetDocument().AddNL(u" note text", 0, -1);
    v.Format();
    // Characters are 10 wide and the em 20 tall: each number is one character; the text box
    // takes no width, and as a placeholder the height of its line.
    EXPECT_EQ(DumpDrawItems(v.GetVDData()),
              "0:1+2@5,5 20x20 1@25,5 10x20 2@35,5 10x20 3@45,5 10x20 4@55,5 0x20 5@55,5 10x20");
    style.GI->TextOps.clear();
    gfx::TBitmap shot = v.GrabForTesting();
    std::u16string shown;
    for (const auto &op : style.GI->TextOps) {
        shown += op.Text;
    }
    EXPECT_EQ(shown, u"ab1ia2");
    const gfx::TColor sign = style.GetFloatingLineColor();
    EXPECT_NE(shot.GetCanvas().GetPixel(52, 2), sign);
    // With special characters shown, the anchor sign in the sheet's floating-line colour: a line
    // from 5 above the anchor's top to its bottom, and a square to the left of its top.
    TVDOptions options = v.GetOptions();
    options.Include(vdoShowSpecialCharacters);
    v.SetOptions(options);
    shot = v.GrabForTesting();
    EXPECT_EQ(shot.GetCanvas().GetPixel(55, 20), sign);
    EXPECT_EQ(shot.GetCanvas().GetPixel(52, 2), sign);
    EXPECT_NE(shot.GetCanvas().GetPixel(57, 20), sign);
}

TEST(NotesInTheViewer, TheFindersWalkTheViewersDocument) {
    test::TLayoutStyle style;
    TViziVodu v(nullptr);
    v.SetStyle(&style);
    EXPECT_EQ(GetFirstFootnote(v, false), nullptr);
    TVDFootnoteItemInfo &f1 = AddNote<TVDFootnoteItemInfo>(v);
    TVDEndnoteItemInfo &e1 = AddNote<TVDEndnoteItemInfo>(v);
    AddNote<TVDFootnoteItemInfo>(v, true);
    TVDFootnoteItemInfo &f3 = AddNote<TVDFootnoteItemInfo>(v);
    TVDEndnoteItemInfo &e2 = AddNote<TVDEndnoteItemInfo>(v);
    EXPECT_EQ(GetFirstFootnote(v, false), &f1);
    EXPECT_EQ(GetNextFootnote(v, &f1, false), &f3);
    EXPECT_EQ(GetNextFootnote(v, &f3, false), nullptr);
    EXPECT_EQ(GetFirstEndnote(v, false), &e1);
    EXPECT_EQ(GetNextEndnote(v, &e1, false), &e2);
    // The viewer's note text is what a note reference outside notes shows.
    EXPECT_EQ(v.GetVDData().GetNoteText(), u"?");
}
