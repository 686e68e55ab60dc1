// Pagination: random documents with footnotes cut into pages (every page holds a line, nothing
// is lost or repeated, every footnote on the page of its reference), and the rules of breaking:
// kept lines and paragraphs, widows and orphans, page breaks, lines taller than a page.
#include "vizivodu/layout/printing/PtVDData.h"

#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace vizivodu;

namespace {

// Paragraph styles 2 .. 5 (after the sheet's two): keep lines together, keep with next, widow and
// orphan control, all three.
void AddParaStyles(TVDStyle &style) {
    const TVDParaOptions options[] = {
        {vdpaoKeepLinesTogether},
        {vdpaoKeepWithNext},
        {vdpaoWidowOrphanControl},
        {vdpaoKeepLinesTogether, vdpaoKeepWithNext, vdpaoWidowOrphanControl}};
    for (const TVDParaOptions &o : options) {
        style.GetParaStyles().Add().SetOptions(o);
    }
}

std::u16string Words(std::mt19937 &rng, int count) {
    std::u16string s;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            s += u' ';
        }
        s += std::u16string(size_t(1 + rng() % 9), char16_t(u'a' + rng() % 26));
    }
    return s;
}

// Pages cover the draw items in order, each page at least one whole line (or an object), each
// page starting at a line start.
void ExpectSoundPages(TCustomMainPtblVDData &data, int32_t pages, const std::string &where) {
    int32_t expected = 0;
    for (int32_t p = 1; p <= pages; ++p) {
        int32_t startNo = 0, endNo = -1, part = -1;
        data.GetDrawItemsRange(p, startNo, endNo, part);
        ASSERT_EQ(startNo, expected) << where << " page " << p;
        ASSERT_GE(endNo, startNo) << where << " page " << p << " is empty";
        ASSERT_TRUE(startNo == 0 || data.DrawItems[startNo]->FromNewLine)
            << where << " page " << p << " begins inside a line";
        expected = endNo + 1;
    }
    EXPECT_EQ(expected, data.DrawItems.Count()) << where;
}

// Each footnote is on exactly one page, the page of its reference, below the text there.
void ExpectFootnotesOnTheirPages(test::TPrintFixture &f, const std::string &where) {
    TCustomMainPtblVDData &data = f.Data();
    std::map<const TVDFootnotePtblVDData *, int32_t> pageOf;
    for (int32_t p = 1; p <= data.GetPagesCount(); ++p) {
        const TVDPageInfo &page = data.Pages->Items(p - 1);
        if (!page.FootnoteVDDataList) {
            continue;
        }
        EXPECT_FALSE(page.FootnoteVDDataList->empty()) << where << " page " << p;
        const int32_t textEnd = data.GetTmpMForPage(p).Top + page.DocumentHeight;
        EXPECT_GE(page.FootnoteVDDataList->front()->Top, textEnd) << where << " page " << p;
        for (const TVDFootnotePtblVDData *footnote : *page.FootnoteVDDataList) {
            EXPECT_TRUE(pageOf.emplace(footnote, p).second) << where << " repeated on " << p;
        }
    }
    for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
        auto *note = dynamic_cast<TVDFootnoteItemInfo *>(data.GetItem(data.DrawItems[i]->ItemNo));
        if (!note) {
            continue;
        }
        const TVDFootnotePtblVDData *printed = f.Print.GetVD().GetFootnoteVDData(note);
        ASSERT_TRUE(printed) << where;
        const auto at = pageOf.find(printed);
        ASSERT_NE(at, pageOf.end()) << where << ": the footnote of draw item " << i << " is lost";
        int32_t startNo = 0, endNo = -1, part = -1;
        data.GetDrawItemsRange(at->second, startNo, endNo, part);
        EXPECT_TRUE(i >= startNo && i <= endNo)
            << where << ": draw item " << i << " has its footnote on page " << at->second;
        pageOf.erase(at);
    }
    EXPECT_TRUE(pageOf.empty()) << where << ": footnotes without references";
}

TEST(Pagination, RandomDocumentsArePaginatedWithNothingLostOrRepeated) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        test::TPrintFixture f;
        AddParaStyles(f.Style);
        std::u16string documentText;
        const int paragraphs = 1 + int(rng() % 120);
        for (int k = 0; k < paragraphs; ++k) {
            const int32_t paraNo = int32_t(rng() % 6);
            const int kind = int(rng() % 20);
            if (kind == 0) {
                // A picture up to two and a half pages tall (its pixels are printed as they are).
                f.Source.AddPictureEx("", std::make_unique<gfx::TBitmap>(8, 10 + rng() % 15000),
                                      paraNo, vdvaBaseline);
                documentText += u"[]";
                continue;
            }
            const std::u16string text = Words(rng, 1 + int(rng() % 400));
            f.Source.AddNL(text, int32_t(rng() % 2), paraNo);
            if (kind == 1) {
                f.Source.GetVDData().GetItem(f.Source.ItemCount() - 1)->SetPageBreakBefore(true);
            }
            documentText += text;
            if (kind >= 2 && kind <= 4) {
                // A footnote at the end of the paragraph, of up to a few lines (rarely most of
                // a page).
                TVDNoteData &doc = test::AddNote<TVDFootnoteItemInfo>(f.Source).GetDocument();
                const int words = kind == 4 && rng() % 4 == 0 ? 600 : 1 + int(rng() % 60);
                doc.AddNL(Words(rng, words), 0, 0);
                documentText += u"[]";
            }
        }
        const int32_t pages = f.Paginate();
        ASSERT_GE(pages, 1) << seed;
        TCustomMainPtblVDData &data = f.Data();
        ExpectSoundPages(data, pages, "seed " + std::to_string(seed));
        ExpectFootnotesOnTheirPages(f, "seed " + std::to_string(seed));
        std::u16string joined;
        for (int32_t p = 1; p <= pages; ++p) {
            int32_t startNo = 0, endNo = -1, part = -1;
            data.GetDrawItemsRange(p, startNo, endNo, part);
            for (int32_t i = startNo; i <= endNo; ++i) {
                const TVDDrawLineInfo &d = *data.DrawItems[i];
                if (data.GetItem(d.ItemNo)->IsText()) {
                    const std::u16string item = data.GetItemTextW(d.ItemNo);
                    joined += item.substr(size_t(d.Offs - 1), size_t(d.Length));
                } else {
                    joined += u"[]";
                }
            }
        }
        // A wrapped line's draw item leaves out the space it breaks at: compare without spaces.
        std::erase(joined, u' ');
        std::erase(documentText, u' ');
        size_t at = 0;
        while (at < joined.size() && at < documentText.size() && joined[at] == documentText[at]) {
            ++at;
        }
        EXPECT_TRUE(at == joined.size() && at == documentText.size())
            << "seed " << seed << ": the pages' text differs at " << at << " of "
            << documentText.size() << ": \""
            << rtl::Utf16ToUtf8(joined.substr(at > 20 ? at - 20 : 0, 40)) << "\" for \""
            << rtl::Utf16ToUtf8(documentText.substr(at > 20 ? at - 20 : 0, 40)) << "\"";
    }
}

// 47 one-line paragraphs, then a paragraph of several lines whose first line is the 48th and
// last line that fits page 1. Which draw item begins page 2 under each rule.
TEST(Pagination, BreakingRules) {
    struct Case {
        const char *Name;
        TVDParaOptions Before, Last;
        bool PageBreak;
        int32_t Page2Item; // the item whose first draw item begins page 2 (-1: inside item 47)
    };
    // Paragraph 46 has style 2 (Before), the last paragraph style 3 (Last).
    const Case cases[] = {
        {"none", {}, {}, false, -1},
        {"orphan", {}, {vdpaoWidowOrphanControl}, false, 47},
        {"kept lines", {}, {vdpaoKeepLinesTogether}, false, 47},
        {"kept with next", {vdpaoKeepWithNext}, {vdpaoWidowOrphanControl}, false, 46},
        {"page break", {}, {}, true, 47},
    };
    for (const Case &c : cases) {
        test::TPrintFixture f;
        f.Style.GetParaStyles().Add().SetOptions(c.Before);
        f.Style.GetParaStyles().Add().SetOptions(c.Last);
        for (int i = 0; i < 47; ++i) {
            f.Source.AddNL(u"Line", 0, i == 46 ? 2 : 0);
        }
        std::u16string words;
        for (int i = 0; i < 150; ++i) {
            words += u"word ";
        }
        f.Source.AddNL(words, 0, 3);
        if (c.PageBreak) {
            f.Source.GetVDData().GetItem(47)->SetPageBreakBefore(true);
        }
        ASSERT_EQ(f.Paginate(), 2) << c.Name;
        TCustomMainPtblVDData &data = f.Data();
        ExpectSoundPages(data, 2, c.Name);
        int32_t startNo = 0, endNo = 0, part = 0;
        data.GetDrawItemsRange(2, startNo, endNo, part);
        if (c.Page2Item < 0) {
            EXPECT_EQ(data.DrawItems[startNo]->ItemNo, 47) << c.Name;
            EXPECT_FALSE(data.IsDrawItemParaStart(startNo)) << c.Name;
        } else {
            EXPECT_EQ(data.DrawItems[startNo]->ItemNo, c.Page2Item) << c.Name;
            EXPECT_TRUE(data.IsDrawItemParaStart(startNo)) << c.Name;
        }
    }
}

// A line taller than the page (a picture of 8000 pixels, the page holding 6009) stays whole on a
// page of its own; the text before and after it keeps its pages.
TEST(Pagination, ALineTallerThanThePageGetsAPageOfItsOwn) {
    test::TPrintFixture f;
    f.Source.AddNL(u"Before", 0, 0);
    f.Source.AddPictureEx("", std::make_unique<gfx::TBitmap>(20, 8000), 0, vdvaBaseline);
    f.Source.AddNL(u"After", 0, 0);
    ASSERT_EQ(f.Paginate(), 3) << test::DumpDrawItems(f.Data());
    ExpectSoundPages(f.Data(), 3, "tall picture");
    int32_t startNo = 0, endNo = 0, part = 0;
    f.Data().GetDrawItemsRange(2, startNo, endNo, part);
    EXPECT_EQ(startNo, 1);
    EXPECT_EQ(endNo, 1);
}

// Pictures are sized in screen pixels: on a 600 dpi page an inch stays an inch.
TEST(Pagination, PicturesPrintAtTheirSizeOnTheScreen) {
    test::TPrintFixture f;
    f.Source.AddPictureEx("", std::make_unique<gfx::TBitmap>(96, 48), 0, vdvaBaseline);
    ASSERT_EQ(f.Paginate(), 1);
    // With the picture's spacing of one screen pixel on every side: (96 + 2) x 6.25.
    const TVDDrawLineInfo &d = *f.Data().DrawItems[0];
    EXPECT_EQ(d.Width, 612);
    EXPECT_EQ(d.Height, 312);
}

} // namespace
