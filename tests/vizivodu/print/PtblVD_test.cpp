// The printing component: pagination of a linked viewer, page metrics and margins, headers and
// footers, drawing pages into any canvas, print jobs to the PDF printer.
#include "vizivodu/layout/PtblVD.h"

#include "PrintTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

TEST(PrintComponent, PaginatesLongTextOntoSeveralPages) {
    test::TPrintFixture f;
    for (int i = 0; i < 200; ++i) {
        f.Source.AddNL(u"Line of text number " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
    }
    // A4 at 600 dpi is 7015 pixels tall; 20 mm margins are 472 pixels each, leaving 6071 for
    // lines of 125 pixels (15 points): 48 lines a page.
    ASSERT_EQ(f.Paginate(), 5);
    EXPECT_EQ(f.Print.GetPagesCount(), 5);
    EXPECT_TRUE(f.Print.GetReady());
    for (int32_t p = 1; p <= 5; ++p) {
        const std::string text = f.PageText(p);
        const int first = (p - 1) * 48;
        const int last = std::min(199, first + 47);
        EXPECT_EQ(text.substr(0, text.find('\n')), "Line of text number " + std::to_string(first))
            << p;
        EXPECT_EQ(text.substr(text.rfind('\n') + 1), "Line of text number " + std::to_string(last))
            << p;
    }
}

} // namespace
