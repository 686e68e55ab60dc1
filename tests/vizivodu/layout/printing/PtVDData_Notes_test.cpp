// Footnotes on pages: the room a reference takes on its page (the footnote and, with the first,
// the separator), references moving with their lines, footnotes stacked against the bottom
// margin in reference order, numbers restarting on every page, footnotes of references outside
// the printed range.
#include "vizivodu/layout/printing/PtVDData.h"

#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/styles/VDFuncs.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vizivodu;

namespace {

// Lines of the fixed metrics at 600 dpi; the text area holds 48 of them with 71 pixels left.
constexpr int32_t LineHeight = 125, TextHeight = 6071;

struct TNotesFixture : test::TRecordingPrintFixture {
    // A note at the end of the last line whose document is its number and then the given
    // paragraphs.
    template <class T = TVDFootnoteItemInfo>
    T &Footnote(std::initializer_list<std::u16string> paragraphs) {
        T &added = test::AddNote<T>(Source);
        TVDNoteData &doc = added.GetDocument();
        doc.AddItem(u"", std::make_unique<TVDNoteReferenceItemInfo>(&doc));
        bool first = true;
        for (const std::u16string &p : paragraphs) {
            doc.AddNL(p, 0, first ? -1 : 0);
            first = false;
        }
        return added;
    }
    // The page whose draw items include draw item i.
    int32_t PageOfDrawItem(int32_t i) {
        for (int32_t p = 1; p <= Data().GetPagesCount(); ++p) {
            int32_t startNo = 0, endNo = -1, part = -1;
            Data().GetDrawItemsRange(p, startNo, endNo, part);
            if (i >= startNo && i <= endNo) {
                return p;
            }
        }
        return -1;
    }
    TVDEndnoteItemInfo &Endnote(std::initializer_list<std::u16string> paragraphs) {
        return Footnote<TVDEndnoteItemInfo>(paragraphs);
    }
    // An endnote of count numbered lines ("Endnote line 0" ...).
    TVDEndnoteItemInfo &LongEndnote(int count) {
        TVDEndnoteItemInfo &note = Endnote({u"Endnote"});
        for (int i = 0; i < count; ++i) {
            note.GetDocument().AddNL(u"Endnote line " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
        }
        return note;
    }
    TVDEndnoteList &Endnotes() { return *Print.GetVD().GetEndnotes(); }
    TVDFootnoteRefList *PageFootnotes(int32_t pageNo) {
        return Data().Pages->Items(pageNo - 1).FootnoteVDDataList.get();
    }
    TVDFootnotePtblVDData &Printed(const TVDFootnoteItemInfo &footnote) {
        TVDFootnotePtblVDData *printed = Print.GetVD().GetFootnoteVDData(&footnote);
        EXPECT_TRUE(printed);
        return *printed;
    }
    int32_t Separator() { return Print.GetVD().GetNoteSeparatorHeight(); }
    // The texts drawn on a page of the preview.
    std::multiset<std::u16string> Draw(int32_t pageNo, gfx::TBitmap &bmp) {
        const std::vector<std::u16string> texts = PreviewTexts(pageNo, bmp);
        return {texts.begin(), texts.end()};
    }
};

// The page Y of the top of the text area (and of the source's top margin).
int32_t TextTop(TNotesFixture &f, int32_t pageNo) {
    return f.Data().GetTmpMForPage(pageNo).Top + f.Data().TmpTMPix;
}

// Whether anything but white paper lies on the preview rows around printer Y y (a line of one
// screen pixel lands on one of them), from printer X x1 to x2.
bool Inked(gfx::TBitmap &bmp, int32_t y, int32_t x1, int32_t x2) {
    const int32_t top = TNotesFixture::Px(y), left = TNotesFixture::Px(x1),
                  right = TNotesFixture::Px(x2);
    for (int32_t row = top - 1; row <= top + 1; ++row) {
        for (int32_t x = left; x <= right; ++x) {
            if (bmp.GetCanvas().GetPixel(x, row) != gfx::clWhite) {
                return true;
            }
        }
    }
    return false;
}

// A reference on line 10 takes the footnote's height and the separator's off page 1, whose
// footnote stands on the bottom margin.
TEST(Footnotes, AReferenceTakesItsFootnoteAndTheSeparatorOffItsPage) {
    TNotesFixture f;
    f.Lines(11);
    TVDFootnoteItemInfo &note = f.Footnote({u"Footnote text"});
    f.Lines(100);
    ASSERT_EQ(f.Paginate(), 3);
    TVDFootnotePtblVDData &printed = f.Printed(note);
    ASSERT_EQ(printed.DocumentHeight, LineHeight);
    ASSERT_GT(f.Separator(), 0);
    const int32_t lines = (TextHeight - f.Separator() - LineHeight) / LineHeight;
    int32_t startNo = 0, endNo = 0, part = 0;
    f.Data().GetDrawItemsRange(2, startNo, endNo, part);
    // Line 10 has two draw items, the text and the reference.
    EXPECT_EQ(f.Data().DrawItems[startNo]->ItemNo, lines + 1);
    ASSERT_TRUE(f.PageFootnotes(1));
    ASSERT_EQ(f.PageFootnotes(1)->size(), 1u);
    EXPECT_EQ(f.PageFootnotes(1)->front(), &printed);
    EXPECT_FALSE(f.PageFootnotes(2));
    const rtl::TRect &m = f.Data().TmpMNormal;
    EXPECT_EQ(printed.Top, f.Data().GetPageHeight() - m.Bottom - LineHeight);
    EXPECT_EQ(printed.Left, 503);
    EXPECT_EQ(printed.IndexOnPage, 1);
}

// The first line that fits only without its footnote goes to page 2 and takes the footnote
// with it; page 1 keeps the whole room.
TEST(Footnotes, AReferenceThatNoLongerFitsMovesWithItsLine) {
    TNotesFixture f;
    f.Lines(1);
    ASSERT_EQ(f.Paginate(), 1);
    const int32_t fitting = (TextHeight - f.Separator() - LineHeight) / LineHeight;
    ASSERT_LT(fitting, 48);
    f.Lines(fitting); // the reference on line `fitting`, the first that does not fit with it
    TVDFootnoteItemInfo &note = f.Footnote({u"Footnote text"});
    f.Lines(10);
    ASSERT_EQ(f.Paginate(), 2);
    EXPECT_FALSE(f.PageFootnotes(1));
    ASSERT_TRUE(f.PageFootnotes(2));
    EXPECT_EQ(f.PageFootnotes(2)->front(), &f.Printed(note));
    int32_t startNo = 0, endNo = 0, part = 0;
    f.Data().GetDrawItemsRange(2, startNo, endNo, part);
    EXPECT_EQ(f.Data().DrawItems[startNo]->ItemNo, fitting);
    EXPECT_EQ(f.PageOfDrawItem(f.Printed(note).FootnoteDItemNo), 2);
}

// Footnotes of one, two and one lines on lines 0, 1 and 2 stand against the bottom margin in
// that order, numbered on the page; the text ends above them and their separator.
TEST(Footnotes, FootnotesAreStackedAgainstTheBottomMarginInReferenceOrder) {
    TNotesFixture f;
    f.Lines(1);
    TVDFootnoteItemInfo &a = f.Footnote({u"First"});
    f.Lines(1);
    TVDFootnoteItemInfo &b = f.Footnote({u"Second", u"and its second paragraph"});
    f.Lines(1);
    TVDFootnoteItemInfo &c = f.Footnote({u"Third"});
    f.Lines(60);
    ASSERT_EQ(f.Paginate(), 2);
    const int32_t bottom = f.Data().GetPageHeight() - f.Data().TmpMNormal.Bottom;
    EXPECT_EQ(f.Printed(c).Top, bottom - LineHeight);
    EXPECT_EQ(f.Printed(b).Top, bottom - 3 * LineHeight);
    EXPECT_EQ(f.Printed(a).Top, bottom - 4 * LineHeight);
    EXPECT_EQ(f.Printed(a).IndexOnPage, 1);
    EXPECT_EQ(f.Printed(b).IndexOnPage, 2);
    EXPECT_EQ(f.Printed(c).IndexOnPage, 3);
    const int32_t room = TextHeight - f.Separator() - 4 * LineHeight;
    EXPECT_EQ(f.Data().Pages->Items(0).DocumentHeight, room / LineHeight * LineHeight);
}

// Mended: a footnote is formatted at the width of the text (the control's margins taken off),
// not at the width of the text area, which ran its lines past the text's right edge.
TEST(Footnotes, FootnotesStayWithinTheTextWidth) {
    TNotesFixture f;
    f.Lines(1);
    TVDFootnoteItemInfo &note = f.Footnote({u"Footnote text"});
    ASSERT_EQ(f.Paginate(), 1);
    const TVDScreenAndDevice &sad = f.Data().PrnSad;
    EXPECT_EQ(f.Printed(note).Left,
              f.Data().GetPrintableAreaLeft(1) + ScreenToDeviceX(f.Source.LeftMargin, sad));
    EXPECT_EQ(f.Printed(note).Left + f.Printed(note).Width,
              f.Data().GetPrintableAreaLeft(1) + f.Data().GetWidth() -
                  ScreenToDeviceX(f.Source.RightMargin, sad));
}

// With FootnotePageReset the references and the footnotes' own numbers count from 1 on each
// page; without it they print the document's numbers.
TEST(Footnotes, NumbersRestartOnEveryPageWithFootnotePageReset) {
    for (const bool reset : {true, false}) {
        TNotesFixture f;
        f.Style.SetFootnotePageReset(reset);
        f.Lines(1);
        f.Footnote({u"Alpha"});
        f.Lines(1);
        f.Footnote({u"Beta"});
        f.Lines(60);
        f.Footnote({u"Gamma"});
        ASSERT_EQ(f.Paginate(), 2);
        gfx::TBitmap bmp;
        std::multiset<std::u16string> page1 = f.Draw(1, bmp);
        std::multiset<std::u16string> page2 = f.Draw(2, bmp);
        // Each number twice: the reference and the footnote's own.
        EXPECT_EQ(page1.count(u"1"), 2u) << reset;
        EXPECT_EQ(page1.count(u"2"), 2u) << reset;
        EXPECT_EQ(page2.count(u"1"), reset ? 2u : 0u) << reset;
        EXPECT_EQ(page2.count(u"3"), reset ? 0u : 2u) << reset;
        EXPECT_EQ(page2.count(u"Gamma"), 1u) << reset;
    }
}

// A footnote is drawn only when its reference is printed; without the first footnote of the
// page there is no separator.
TEST(Footnotes, AFootnoteOfAReferenceOutsideThePrintedRangeIsNotDrawn) {
    struct Case {
        const char *Name;
        int32_t Min, Max;
        bool Drawn;
    };
    // Items: lines 0 .. 2 (0 .. 2), the footnote (3), lines 3 .. 9 (4 .. 10).
    for (const Case &c :
         {Case{"all", 0, -1, true}, Case{"after the minimum", 1, -1, true},
          Case{"before the minimum", 4, -1, false}, Case{"after the maximum", 0, 2, false}}) {
        TNotesFixture f;
        f.Lines(3);
        TVDFootnoteItemInfo &note = f.Footnote({u"Footnote text"});
        f.Lines(7);
        f.Print.MinPrintedItemNo = c.Min;
        f.Print.MaxPrintedItemNo = c.Max;
        ASSERT_EQ(f.Paginate(), 1);
        gfx::TBitmap bmp;
        const std::multiset<std::u16string> texts = f.Draw(1, bmp);
        EXPECT_EQ(texts.count(u"Footnote text"), c.Drawn ? 1u : 0u) << c.Name;
        const int32_t y = f.Printed(note).Top - f.Separator() / 2;
        EXPECT_EQ(Inked(bmp, y, 503 + 100, 503 + 1000), c.Drawn) << c.Name;
    }
}

// ---- Endnotes ----

// Endnotes follow the text of the last page below a short separator, one after another; the
// page count stays that of the text.
TEST(Endnotes, EndnotesFollowTheTextOnTheLastPageBelowAShortSeparator) {
    TNotesFixture f;
    f.Lines(10);
    f.Endnote({u"First endnote"});
    f.Lines(1);
    f.Endnote({u"Second endnote", u"in two paragraphs"});
    ASSERT_EQ(f.Paginate(), 1);
    EXPECT_EQ(f.Print.GetPagesCount(), 1);
    const int32_t h = f.Separator();
    ASSERT_EQ(f.Endnotes().GetCount(), 2);
    TVDEndnotePtblVDData &first = *f.Endnotes().Get(0);
    TVDEndnotePtblVDData &second = *f.Endnotes().Get(1);
    EXPECT_EQ(first.StartAt, 11 * LineHeight + h);
    EXPECT_EQ(second.StartAt, first.EndAt);
    EXPECT_EQ(first.EndAt, first.StartAt + LineHeight);
    EXPECT_EQ(f.Print.EndAt, second.StartAt + 2 * LineHeight);
    EXPECT_FALSE(first.FromNewPage);
    gfx::TBitmap bmp;
    const std::multiset<std::u16string> texts = f.Draw(1, bmp);
    EXPECT_EQ(texts.count(u"First endnote"), 1u);
    EXPECT_EQ(texts.count(u"in two paragraphs"), 1u);
    // The reference and the endnote's own number.
    EXPECT_EQ(texts.count(u"ii"), 2u);
    const int32_t y = TextTop(f, 1) + first.StartAt - h / 2;
    const int32_t x = 503, wd = 4960 - 2 * 503;
    EXPECT_TRUE(Inked(bmp, y, x + h, x + wd / 3 - 2 * h));
    EXPECT_FALSE(Inked(bmp, y, x + wd / 3 + h, x + wd - h));
}

// Mended: an endnote without text ends where it begins; the next endnote follows there instead
// of at the top of the text area, over the text.
TEST(Endnotes, AnEmptyEndnoteLeavesTheNextWhereItBegan) {
    TNotesFixture f;
    f.Lines(10);
    f.Source.AddItem(u"", std::make_unique<TVDEndnoteItemInfo>(&f.Source.GetVDData()));
    f.Endnote({u"Second endnote"});
    ASSERT_EQ(f.Paginate(), 1);
    ASSERT_EQ(f.Endnotes().GetCount(), 2);
    EXPECT_EQ(f.Endnotes().Get(0)->EndAt, f.Endnotes().Get(0)->StartAt);
    EXPECT_EQ(f.Endnotes().Get(1)->StartAt, f.Endnotes().Get(0)->StartAt);
    EXPECT_EQ(f.Print.GetPagesCount(), 1);
}

// An endnote whose beginning does not fit below the text starts on a sheet of its own with a
// full-width separator; the last text page draws no separator. PagesCount counts the sheet.
TEST(Endnotes, AnEndnoteThatDoesNotFitStartsOnANewSheet) {
    TNotesFixture f;
    f.Lines(47);
    f.Endnote({u"Endnote text"});
    ASSERT_EQ(f.Paginate(), 2);
    EXPECT_EQ(f.Print.GetPagesCount(), 2);
    EXPECT_EQ(f.Data().GetPagesCount(), 1);
    TVDEndnoteList &endnotes = f.Endnotes();
    ASSERT_EQ(endnotes.Pages.GetCount(), 2);
    EXPECT_EQ(endnotes.Pages.Get(0)->Index, -1);
    EXPECT_EQ(endnotes.Pages.Get(1)->Index, 0);
    EXPECT_EQ(endnotes.Pages.Get(1)->Page, 1);
    TVDEndnotePtblVDData &note = *endnotes.Get(0);
    EXPECT_TRUE(note.FromNewPage);
    const int32_t h = f.Separator();
    EXPECT_EQ(note.StartAt, h);
    gfx::TBitmap bmp;
    std::multiset<std::u16string> texts = f.Draw(1, bmp);
    EXPECT_EQ(texts.count(u"Endnote text"), 0u);
    const int32_t x = 503, wd = 4960 - 2 * 503;
    EXPECT_FALSE(Inked(bmp, TextTop(f, 1) + 47 * LineHeight + h / 2, x + h, x + wd - h));
    texts = f.Draw(2, bmp);
    EXPECT_EQ(texts.count(u"Endnote text"), 1u);
    EXPECT_EQ(texts.count(u"Line 0"), 0u);
    const int32_t y = TextTop(f, 2) + h - h / 2;
    EXPECT_TRUE(Inked(bmp, y, x + h, x + wd / 3 - 2 * h));
    EXPECT_TRUE(Inked(bmp, y, x + wd / 3 + h, x + wd - 2 * h));
}

// An endnote longer than a sheet runs on over sheets, each with a full-width separator; the
// next endnote follows it on its last sheet. Page fields of the endnotes' sheets are numbered
// on.
TEST(Endnotes, AnEndnoteRunsOnOverSheetsAndTheNextFollowsIt) {
    TNotesFixture f;
    f.Lines(20);
    f.LongEndnote(100);
    f.Endnote({u"Short endnote"});
    // The first sheet holds 48 - 21 - 1 lines of it below the text (the separator takes one
    // line's room), the next 47 below a separator, the last the rest and the short endnote.
    ASSERT_EQ(f.Paginate(), 3);
    TVDEndnoteList &endnotes = f.Endnotes();
    ASSERT_EQ(endnotes.Pages.GetCount(), 3);
    TVDEndnotePtblVDData &longNote = *endnotes.Get(0);
    EXPECT_EQ(longNote.GetPagesCount(), 3);
    EXPECT_EQ(endnotes.Pages.Get(2)->Index, 0);
    EXPECT_EQ(endnotes.Pages.Get(2)->Page, 3);
    gfx::TBitmap bmp;
    std::multiset<std::u16string> texts = f.Draw(2, bmp);
    EXPECT_EQ(texts.count(u"Short endnote"), 0u);
    const int32_t h = f.Separator();
    const int32_t x = 503, wd = 4960 - 2 * 503;
    EXPECT_TRUE(Inked(bmp, TextTop(f, 2) + h - h / 2, x + wd / 3 + h, x + wd - 2 * h));
    texts = f.Draw(3, bmp);
    EXPECT_EQ(texts.count(u"Short endnote"), 1u);
    EXPECT_EQ(texts.count(u"Endnote line 99"), 1u);
    EXPECT_EQ(texts.count(u"Endnote line 0"), 0u);
    // Every line of the endnote printed once.
    int printed = 0;
    for (int32_t p = 1; p <= 3; ++p) {
        for (const std::u16string &t : f.Draw(p, bmp)) {
            printed += t.starts_with(u"Endnote line ") ? 1 : 0;
        }
    }
    EXPECT_EQ(printed, 100);
}

// Printing up to an item before the end leaves the endnotes out: the last page is that of the
// item, and the endnotes on it are not drawn.
TEST(Endnotes, MaxPrintedItemNoLimitsThePagesAndDropsTheEndnotes) {
    TNotesFixture f;
    f.Lines(100);
    f.Endnote({u"Endnote text"});
    f.LongEndnote(60);
    ASSERT_EQ(f.Paginate(), 4);
    EXPECT_EQ(f.Print.GetLastPageNo(), 4);
    gfx::TBitmap bmp;
    EXPECT_EQ(f.Draw(3, bmp).count(u"Endnote text"), 1u);
    f.Print.MaxPrintedItemNo = 60; // on page 2
    EXPECT_EQ(f.Print.GetLastPageNo(), 2);
    EXPECT_TRUE(f.Draw(3, bmp).empty());
    f.Print.MaxPrintedItemNo = 99; // the last line, before the endnotes' items
    EXPECT_EQ(f.Print.GetLastPageNo(), 3);
    EXPECT_EQ(f.Draw(3, bmp).count(u"Endnote text"), 0u);
}

// The last page's footnotes without endnotes: the text ends, for what follows, at the full
// height of the page.
TEST(Endnotes, WithFootnotesAndNoEndnotesTheTextEndsAtTheFullHeight) {
    TNotesFixture f;
    f.Lines(3);
    f.Footnote({u"Footnote text"});
    ASSERT_EQ(f.Paginate(), 1);
    EXPECT_EQ(f.Print.EndAt, TextHeight - f.Data().TmpTMPix - f.Data().TmpBMPix);
    EXPECT_EQ(f.Print.GetPagesCount(), 1);
    EXPECT_FALSE(f.Print.GetVD().GetEndnotes());
}

} // namespace
