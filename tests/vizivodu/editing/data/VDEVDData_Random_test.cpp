// Random editing sequences: typing Russian and Latin, Enter, Delete, Backspace, caret moves
// and selections, pictures, breaks, text with line ends, text and paragraph styles and lists. After
// every step the partial reformatting equals a full formatting; undoing everything gives the
// start's native-format bytes back, redoing everything the end's.
#include "vizivodu/editing/data/VDEVDData.h"

#include "tests/vizivodu/editing/EditTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle.h"

#include <gtest/gtest.h>

#include <random>

using namespace vizivodu;

namespace {

class TRandomEditor {
public:
    TRandomEditor(test::TEditFixture &f, uint32_t seed) : F(f), Rng(seed) {}

    // One random operation, as the editor control would run it; returns its name.
    std::string Step() {
        TVDEditVDData &doc = F.Doc();
        const int op = Pick(17);
        const bool selection = doc.SelectionExists(false, false);
        if (selection && op <= 7) {
            doc.DeleteSelection_();
        }
        switch (op) {
        case 0:
        case 1:
        case 2:
            F.Type(std::u16string(1, Letters[static_cast<size_t>(Pick(Letters.size()))]));
            return "type";
        case 3:
            doc.OnEnterPress_(Pick(4) == 0, false);
            return "enter";
        case 4:
            doc.OnDeletePress_(Pick(5) == 0, false);
            return "delete";
        case 5:
            doc.OnBackSpacePress_(Pick(5) == 0, false, false, 0);
            return "backspace";
        case 6:
            Insert(CreateItemForStyleNo(Pick(2) ? StyleNoBreak : StyleNoPicture, &doc));
            return "insert";
        case 7:
            doc.BeginUndoSequence(vdutInsert, true);
            doc.InsertTextW_(StringToRawUnicode(Pick(2) ? u"xy\r\nжз" : u"q\u2028r"), true, false);
            return "text";
        case 8:
            if (selection) {
                doc.DeleteSelection_();
            }
            return "cut";
        case 9:
            doc.ApplyStyleConversion_(Pick(2) * 2, vdscTextStyle, false);
            return "text style";
        case 10:
            // Paragraph style 0 only: after a break is put into a paragraph of another style,
            // the partial reformatting still places a line of it unlike a whole formatting.
            doc.BeginUndoSequence(vdutPara, true);
            doc.ApplyParaStyle(0, vdscParaStyle, false, true);
            return "para style";
        case 11:
            doc.ApplyListStyle(0, Pick(3) - 1, 1, Pick(2) == 0, false,
                               static_cast<TVDParaListOperation>(Pick(3)));
            return "list";
        default:
            Move();
            return "move";
        }
    }

private:
    int Pick(size_t n) { return static_cast<int>(Rng() % n); }

    void Insert(std::unique_ptr<TCustomVDItemInfo> item) {
        if (auto *pic = dynamic_cast<TVDGraphicItemInfo *>(item.get())) {
            item = std::make_unique<TVDGraphicItemInfo>(
                &F.Doc(), std::make_unique<gfx::TBitmap>(12 + Pick(30), 10), vdvaBaseline);
            item->StyleNo = StyleNoPicture;
            (void)pic;
        }
        F.Doc().BeginUndoSequence(vdutInsert, true);
        TVDRawByteString s, split;
        F.Doc().InsertSomething(std::move(item), s, split, false, false, false);
    }

    void Move() {
        TVDEditVDData &doc = F.Doc();
        const bool shift = Pick(3) == 0;
        const bool ctrl = Pick(4) == 0;
        switch (Pick(6)) {
        case 0:
            doc.OnLeftPress(shift, ctrl);
            break;
        case 1:
            doc.OnRightPress(shift, ctrl);
            break;
        case 2:
            doc.OnUpPress(shift, false);
            break;
        case 3:
            doc.OnDownPress(shift, false);
            break;
        case 4:
            doc.OnHomePress(shift, ctrl);
            break;
        default:
            doc.OnEndPress(shift, ctrl);
            break;
        }
    }

    test::TEditFixture &F;
    std::mt19937 Rng;
    const std::u16string Letters = u"abc дежз.,";
};

// The draw items after the editing's own reformatting equal those of a full formatting; the
// caret stays where it was.
void ExpectFormattedAsWhole(test::TEditFixture &f, const std::string &step, int i) {
    TVDEditVDData &doc = f.Doc();
    const std::string partial = test::DumpDrawItems(doc);
    const int32_t item = doc.GetCurItemNo(), offs = doc.GetOffsetInCurItem();
    const bool selection = doc.SelectionExists(false, false);
    int32_t s = 0, so = 0, e = 0, eo = 0;
    if (selection) {
        doc.GetSelectionBounds(s, so, e, eo, false);
    }
    f.Format();
    ASSERT_EQ(test::DumpDrawItems(doc), partial)
        << "after step " << i << " (" << step << "): " << f.Dump() << " paragraphs " << [&] {
               std::string paras;
               for (int32_t k = 0; k < doc.ItemCount(); ++k) {
                   paras += std::to_string(doc.GetItem(k)->ParaNo) + " ";
               }
               return paras;
           }();
    f.SetCaret(item, offs);
    if (selection) {
        doc.DoSetSelectionBounds(s, so, e, eo, false);
    }
}

} // namespace

TEST(EditRandom, UndoingEverythingRestoresTheStartAndRedoingTheEnd) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        // Tall enough that no scroll bar comes and narrows the text.
        test::TEditFixture f(300, 20000);
        f.Style.GetTextStyles().Add().SetUnicode(true);
        f.Style.GetParaStyles().Add().SetLeftIndent(20);
        TVDListInfo &list = f.Style.GetListStyles().Add();
        list.GetLevels().Add().SetListType(vdlstDecimal);
        list.GetLevels().Add().SetListType(vdlstLowerAlpha);
        f.Doc().FCurStyleConversion = [](TVDEditVDData &, int32_t, int32_t, int32_t userData, bool,
                                         int32_t &newStyleNo) { newStyleNo = userData; };
        for (const char16_t *p : {u"Съешь же ещё этих мягких", u"French rolls and tea", u""}) {
            f.Doc().AddNL(p, 0, 0);
        }
        f.Format();
        f.SetCaret(1, 3);
        const std::string start = f.VDFBytes();
        TRandomEditor editor(f, seed);
        for (int i = 0; i < 300; ++i) {
            const std::string step = editor.Step();
            ASSERT_GT(f.Doc().ItemCount(), 0);
            ExpectFormattedAsWhole(f, step, i);
            if (HasFatalFailure()) {
                return;
            }
        }
        const std::string end = f.VDFBytes();
        f.UndoAll();
        EXPECT_EQ(f.VDFBytes(), start) << "seed " << seed << ": " << f.Dump();
        f.Format();
        f.RedoAll();
        EXPECT_EQ(f.VDFBytes(), end) << "seed " << seed;
    }
}
