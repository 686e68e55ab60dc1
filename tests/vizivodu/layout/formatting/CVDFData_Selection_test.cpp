// The selection of a formatted document: emptiness, bounds, text, words, lines, paragraphs and
// the word-aware drag, on exact metrics (10 pixels a character, 20 a line in text style 0).
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDUnicode.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class Selection : public ::testing::Test {
protected:
    Selection() : Doc(&Style) { Doc.Width = 400; }

    void Format() { Doc.Format(false, false); }
    void SetDraw(int32_t sNo, int32_t sOffs, int32_t eNo, int32_t eOffs) {
        Doc.FSelStartNo = sNo;
        Doc.FSelStartOffs = sOffs;
        Doc.FSelEndNo = eNo;
        Doc.FSelEndOffs = eOffs;
    }
    std::string Bounds() {
        int32_t s = 0, so = 0, e = 0, eo = 0;
        Doc.GetSelectionBounds(s, so, e, eo, false);
        return std::to_string(s) + ":" + std::to_string(so) + "-" + std::to_string(e) + ":" +
               std::to_string(eo);
    }
    std::string DrawBounds() {
        return std::to_string(Doc.FSelStartNo) + ":" + std::to_string(Doc.FSelStartOffs) + "-" +
               std::to_string(Doc.FSelEndNo) + ":" + std::to_string(Doc.FSelEndOffs);
    }
    // The word under a point as UTF-8, "-" when there is no hit.
    std::string WordAt(int32_t x, int32_t y, int32_t *offs = nullptr) {
        TVDRawByteString word;
        int32_t styleNo = -1, itemNo = -1, o = -1;
        TCustomVDFormattedData *data = nullptr;
        if (!Doc.FindWordAtR(word, x, y, styleNo, itemNo, o, data)) {
            return "-";
        }
        if (offs) {
            *offs = o;
        }
        return rtl::Utf16ToUtf8(RawUnicodeToString(word));
    }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
};

} // namespace

TEST_F(Selection, EmptinessOfTheSelection) {
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"cd", 0, -1); // same line: draw item 1
    Doc.AddNL(u"ef", 0, 0);  // new paragraph: draw item 2
    Format();
    struct TCase {
        const char *Name;
        int32_t SNo, SOffs, ENo, EOffs;
        bool Exists;
    } cases[] = {
        {"collapsed", 0, 2, 0, 2, false},
        {"one character", 0, 1, 0, 2, true},
        {"end of an item to the start of the next on its line", 0, 3, 1, 1, false},
        {"the same backwards", 1, 1, 0, 3, false},
        {"end of a line to the start of the next: the line break", 1, 3, 2, 1, true},
        {"nothing", -1, 0, -1, 0, false},
    };
    for (const TCase &c : cases) {
        SetDraw(c.SNo, c.SOffs, c.ENo, c.EOffs);
        EXPECT_EQ(Doc.SelectionExists(false, false), c.Exists) << c.Name;
    }
}

TEST_F(Selection, AnEmptySelectionIsClearedUnlessTheMouseIsSelecting) {
    Doc.AddNL(u"ab", 0, 0);
    Format();
    SetDraw(0, 2, 0, 2);
    Doc.State.Include(vdstMakingSelection);
    EXPECT_FALSE(Doc.SelectionExists(true, false));
    EXPECT_EQ(DrawBounds(), "0:2-0:2");
    Doc.State.Exclude(vdstMakingSelection);
    EXPECT_FALSE(Doc.SelectionExists(true, false));
    EXPECT_EQ(DrawBounds(), "-1:0--1:0");
}

TEST_F(Selection, BoundsGoThroughDrawItemsAndBack) {
    Doc.Width = 60;
    Doc.AddNL(u"ab cd ef", 0, 0); // "ab cd" / "ef"
    Format();
    Doc.SetSelectionBounds(0, 8, 0, 2);
    EXPECT_EQ(DrawBounds(), "1:2-0:2");
    EXPECT_EQ(Bounds(), "0:8-0:2");
    EXPECT_FALSE(Doc.IsForwardSelection());
    int32_t s = 0, so = 0, e = 0, eo = 0;
    Doc.GetSelectionBounds(s, so, e, eo, true);
    EXPECT_EQ(std::vector<int32_t>({s, so, e, eo}), std::vector<int32_t>({0, 2, 0, 8}));
    // An offset beyond the draw item is held to its end.
    Doc.SetSelectionBounds(0, 1, 0, 40);
    EXPECT_EQ(DrawBounds(), "0:1-1:3");
}

TEST_F(Selection, TheTextOfTheSelection) {
    Doc.AddNL(u"один two", 0, 0);
    Doc.AddNL(u"three", 0, 0);
    Format();
    struct TCase {
        int32_t S, SO, E, EO;
        std::u16string Text;
    } cases[] = {
        {0, 3, 0, 7, u"ин t"},
        {0, 6, 1, 4, u"two\r\nthr"},
        {0, 2, 0, 2, u""},
    };
    for (const TCase &c : cases) {
        Doc.SetSelectionBounds(c.S, c.SO, c.E, c.EO);
        const TVDRawByteString bytes = Doc.GetSelTextR(true);
        ASSERT_EQ(bytes.size() % 2, 0u);
        std::u16string got(bytes.size() / 2, u'\0');
        for (size_t i = 0; i < got.size(); ++i) {
            got[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                           (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
        }
        EXPECT_EQ(got, c.Text);
    }
    Doc.SetSelectionBounds(0, 6, 1, 4);
    EXPECT_EQ(Doc.GetSelTextR(false), "two\r\nthr");
}

TEST_F(Selection, TheWordUnderAPoint) {
    Doc.AddNL(u"Привет, don't 123 x/y", 0, 0);
    Format();
    // Characters are 10 pixels: the point x = 10 * index + 5 is over character index.
    struct TCase {
        int32_t Index;
        const char *Word;
        int32_t Offs;
    } cases[] = {
        {0, "Привет", 1}, {5, "Привет", 1}, {6, "", 7},    {7, "", 8},   {8, "don't", 9},
        {12, "don't", 9}, {14, "123", 15},  {18, "x", 19}, {19, "", 20}, {20, "y", 21},
    };
    for (const TCase &c : cases) {
        int32_t offs = -1;
        EXPECT_EQ(WordAt(10 * c.Index + 5, 5, &offs), c.Word) << c.Index;
        EXPECT_EQ(offs, c.Offs) << c.Index;
    }
    EXPECT_EQ(WordAt(5, 100), "-"); // below the text: no strict hit
}

TEST_F(Selection, SelectWordAtSelectsTheWordOrTheWholeObject) {
    TVDOptions options = Doc.GetOptions();
    options.Include(vdoAllowSelection);
    Doc.SetOptions(options);
    Doc.AddNL(u"abc def", 0, 0);
    Doc.AddPictureEx("", std::make_unique<gfx::TBitmap>(20, 10), -1, vdvaBaseline);
    Format();
    Doc.SelectWordAt(45, 5);
    EXPECT_EQ(Bounds(), "0:5-0:8");
    Doc.SelectWordAt(75, 10);
    EXPECT_EQ(Bounds(), "1:0-1:1");
    TCustomVDFormattedData *data = nullptr;
    int32_t itemNo = -1;
    ASSERT_TRUE(Doc.GetSingleSelectedItem(data, itemNo));
    EXPECT_EQ(itemNo, 1);
    EXPECT_NE(Doc.GetSelectedImage(), nullptr);
}

TEST_F(Selection, TheSingleSelectedItem) {
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddPictureEx("", std::make_unique<gfx::TBitmap>(20, 10), -1, vdvaBaseline);
    Doc.AddNL(u"cd", 0, -1);
    Format();
    struct TCase {
        int32_t S, SO, E, EO;
        int32_t Item;
    } cases[] = {
        {1, 0, 1, 1, 1},  // the picture itself
        {0, 3, 1, 1, 1},  // from the end of the text before to the end of the picture
        {1, 0, 2, 1, 1},  // from the start of the picture to the start of the text after
        {0, 3, 2, 1, 1},  // the picture between the two texts
        {0, 2, 2, 1, -1}, // a character of text more
        {0, 1, 0, 3, -1}, // text only
    };
    for (const TCase &c : cases) {
        Doc.SetSelectionBounds(c.S, c.SO, c.E, c.EO);
        TCustomVDFormattedData *data = nullptr;
        int32_t itemNo = -1;
        EXPECT_EQ(Doc.GetSingleSelectedItem(data, itemNo), c.Item >= 0) << c.S << c.SO << c.E;
        EXPECT_EQ(itemNo, c.Item);
    }
}

TEST_F(Selection, LinesAndParagraphs) {
    Doc.Width = 60;
    Doc.AddNL(u"ab cd ef", 0, 0); // "ab cd" / "ef": draw items 0 and 1
    Doc.AddNL(u"gh", 0, 0);       // draw item 2
    Doc.AddNL(u"ij kl mn", 0, 0); // "ij kl" / "mn": draw items 3 and 4
    Format();
    Doc.SelectLine(0, 7);
    EXPECT_EQ(DrawBounds(), "1:1-1:3");
    // A selection inside one paragraph does not grow when only several are asked for.
    SetDraw(0, 2, 1, 2);
    EXPECT_FALSE(Doc.IsMultiParagraphSelection());
    EXPECT_FALSE(Doc.ExpandSelectionToParagraph(true));
    EXPECT_TRUE(Doc.ExpandSelectionToParagraph(false));
    EXPECT_EQ(DrawBounds(), "0:1-1:3");
    // Backwards across paragraphs: both ends to their paragraphs, the direction kept.
    SetDraw(3, 2, 1, 2);
    EXPECT_TRUE(Doc.IsMultiParagraphSelection());
    EXPECT_TRUE(Doc.ExpandSelectionToParagraph(true));
    EXPECT_EQ(DrawBounds(), "4:3-0:1");
    EXPECT_TRUE(Doc.IsWholeParagraphSelection());
    SetDraw(1, 2, 3, 2);
    Doc.ExpandSelectionToLines(false);
    EXPECT_EQ(DrawBounds(), "1:1-3:6");
    EXPECT_FALSE(Doc.IsWholeParagraphSelection());
    SetDraw(4, 2, 0, 2);
    Doc.ExpandSelectionToLines(true);
    EXPECT_EQ(DrawBounds(), "4:1-4:3");
}

TEST_F(Selection, SelectLineStaysWithinTheDrawItemsWhenTheLastItemsAreHidden) {
    TFontInfo &hidden = Style.GetTextStyles().Add();
    hidden.Assign(Style.GetTextStyles().GetItem(0));
    hidden.SetOptions({vdteoHidden});
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"xx", hidden.GetIndex(), 0);
    Format();
    Doc.SelectLine(1, 1);
    EXPECT_EQ(DrawBounds(), "0:1-0:3");
}

// Dragging from inside a word: outside the word the anchor takes the whole word and the moving
// end snaps to whole words; back inside the word the selection is exact again.
TEST_F(Selection, DraggingInWordMode) {
    Doc.AddNL(u"one two three four", 0, 0);
    Format();
    SetDraw(0, 7, 0, 7); // inside "two" (offsets 5..8)
    Doc.InitSelectingInfo(false);
    // Forwards first: the anchor goes to the start of its word, the end to the end of its word.
    Doc.SelectTo(125, 5);
    EXPECT_EQ(DrawBounds(), "0:5-0:14");
    SetDraw(0, 7, 0, 7);
    Doc.InitSelectingInfo(false);
    struct TCase {
        int32_t X;
        const char *Bounds;
    } steps[] = {
        {65, "0:7-0:7"},   // still inside the anchor word
        {25, "0:8-0:1"},   // back over "one": anchor to the word end, end to the word start
        {55, "0:7-0:6"},   // inside the anchor word again: exact
        {115, "0:7-0:14"}, // free mode: other words are still taken whole
    };
    for (const TCase &s : steps) {
        Doc.SelectTo(s.X, 5);
        EXPECT_EQ(DrawBounds(), s.Bounds) << s.X;
    }
}

TEST_F(Selection, DraggingInParagraphMode) {
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"cd", 0, 0);
    Doc.AddNL(u"ef", 0, 0);
    Format();
    SetDraw(0, 2, 0, 2);
    Doc.InitSelectingInfo(true);
    EXPECT_TRUE(Doc.SelectTo(15, 25));
    EXPECT_EQ(DrawBounds(), "0:1-1:3");
    EXPECT_FALSE(Doc.SelectTo(12, 25));
    EXPECT_TRUE(Doc.SelectTo(5, 45));
    EXPECT_EQ(DrawBounds(), "0:1-2:3");
}

TEST_F(Selection, TheClientRectangleOfTheSelection) {
    Doc.AddNL(u"abcd", 0, 0);
    Doc.AddNL(u"ef", 0, 0);
    Format();
    SetDraw(0, 2, 1, 2);
    rtl::TRect r;
    Doc.GetSelectionClientRect(r);
    EXPECT_EQ(r, rtl::Rect(0, 0, 40, 40));
    int32_t x1 = 0, t1 = 0, b1 = 0, x2 = 0, t2 = 0, b2 = 0;
    ASSERT_TRUE(Doc.GetSelectionBoundsCoords(x1, t1, b1, x2, t2, b2));
    EXPECT_EQ(std::vector<int32_t>({x1, t1, b1, x2, t2, b2}),
              std::vector<int32_t>({10, 0, 20, 10, 20, 40}));
}
