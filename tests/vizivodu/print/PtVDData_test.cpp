// Pagination: random documents cut into pages (every page holds a line, nothing is lost or
// repeated), and the rules of breaking: kept lines and paragraphs, widows and orphans, page
// breaks, lines taller than a page.
#include "vizivodu/layout/PtVDData.h"

#include "PrintTestSupport.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <random>

using namespace vizivodu;

namespace {

// Paragraph styles 1 .. 4: keep lines together, keep with next, widow and orphan control, all
// three.
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

TEST(Pagination, RandomDocumentsArePaginatedWithNothingLostOrRepeated) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        test::TPrintFixture f;
        AddParaStyles(f.Style);
        std::u16string documentText;
        const int paragraphs = 1 + int(rng() % 120);
        for (int k = 0; k < paragraphs; ++k) {
            const int32_t paraNo = int32_t(rng() % 5);
            const int kind = int(rng() % 20);
            if (kind == 0) {
                // A picture up to three pages tall (screen pixels at 96 dpi).
                f.Source.AddPictureEx("", std::make_unique<gfx::TBitmap>(50, 10 + rng() % 3000),
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
        }
        const int32_t pages = f.Paginate();
        ASSERT_GE(pages, 1) << seed;
        TCustomMainPtblVDData &data = f.Data();
        ExpectSoundPages(data, pages, "seed " + std::to_string(seed));
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

} // namespace
