// Editing the editable document: typing, Enter, Delete and Backspace, inserting items, text,
// the native format and RTF at the caret, deleting the selection; the undo groups each
// operation makes, and undo bringing back the document's exact bytes.
#include "vizivodu/editing/data/VDEVDData.h"

#include "tests/vizivodu/editing/EditTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/editing/undo/VDUndo_Records.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

TVDRawByteString Raw(const std::u16string &s) {
    return StringToRawUnicode(s);
}

// A fixture of paragraphs, formatted, with the caret placed.
struct TDoc : test::TEditFixture {
    TDoc(std::initializer_list<const char16_t *> paragraphs, int32_t caretItem, int32_t caretOffs) {
        for (const char16_t *p : paragraphs) {
            Doc().AddNL(p, 0, 0);
        }
        Format();
        SetCaret(caretItem, caretOffs);
        Start = VDFBytes();
    }
    // Undoes everything and checks the bytes of the start come back.
    void ExpectUndoRestores() {
        const std::string end = VDFBytes();
        UndoAll();
        EXPECT_EQ(VDFBytes(), Start) << Dump();
        RedoAll();
        EXPECT_EQ(VDFBytes(), end) << Dump();
    }
    std::string Start;
};

} // namespace

TEST(EditTyping, TypingExtendsTheItemAndOneTypingGroup) {
    TDoc d({u"abc"}, 0, 4);
    d.Type(u"xyЖ");
    EXPECT_EQ(d.Dump(), "abcxyЖ");
    EXPECT_EQ(d.Caret(), "0:7");
    EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutTyping}));
    d.ExpectUndoRestores();
}

TEST(EditTyping, ACharacterOutsideAnEightBitStyleBecomesAQuestionMark) {
    test::TEditFixture f;
    f.Style.GetTextStyles().GetItem(1).SetCharset(204); // Cyrillic: code page 1251
    f.Doc().AddNL(u"ab", 1, 0);
    f.Format();
    f.SetCaret(0, 3);
    f.Doc().FCurTextStyleNo = 1;
    f.Type(u"\u4e2d");
    EXPECT_EQ(f.Dump(), "ab?");
}

TEST(EditTyping, TypingInAnotherStyleMakesANewItemInItsOwnGroup) {
    TDoc d({u"abc"}, 0, 2);
    d.Doc().FCurTextStyleNo = 1;
    d.Type(u"x");
    EXPECT_EQ(d.Dump(), "a|x|bc");
    EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutMiscTyping}));
    d.ExpectUndoRestores();
}

TEST(EditTyping, TypingIntoASelectionReplacesIt) {
    TDoc d({u"abc", u"def"}, 0, 2);
    d.Doc().OnDownPress(true, false);
    ASSERT_TRUE(d.Doc().DeleteSelection_());
    d.Type(u"X");
    EXPECT_EQ(d.Dump(), "aXef");
    EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutDelete, vdutTyping}));
    d.ExpectUndoRestores();
}

TEST(EditKeys, EnterSplitsOrAddsAParagraph) {
    struct TCase {
        int32_t Offs;
        bool Shift;
        const char *Dump;
        const char *Caret;
    };
    const TCase cases[] = {
        {1, false, "¶abcd", "1:1"},
        {3, false, "ab¶cd", "1:1"},
        {5, false, "abcd¶", "1:1"},
        {3, true, "ab↵cd", "1:1"},
    };
    for (const TCase &c : cases) {
        TDoc d({u"abcd"}, 0, c.Offs);
        EXPECT_TRUE(d.Doc().OnEnterPress_(c.Shift, false));
        EXPECT_EQ(d.Dump(), c.Dump);
        EXPECT_EQ(d.Caret(), c.Caret) << c.Dump;
        EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutMiscTyping}));
        d.ExpectUndoRestores();
    }
}

TEST(EditKeys, EnterInAParagraphThatWantsNoReturnsBeepsAndLeavesNoGroup) {
    TDoc d({u"abcd"}, 0, 3);
    d.Style.GetParaStyles().GetItem(0).SetOptions({vdpaoDoNotWantReturns});
    EXPECT_FALSE(d.Doc().OnEnterPress_(false, false));
    EXPECT_EQ(d.Dump(), "abcd");
    EXPECT_TRUE(d.UndoTypes().empty());
}

TEST(EditKeys, DeleteAndBackspaceJoinParagraphs) {
    struct TCase {
        int32_t Item, Offs;
        bool Delete;
        const char *Dump;
        const char *Caret;
    };
    const TCase cases[] = {
        {0, 3, true, "abcd", "0:3"},
        {1, 1, false, "abcd", "0:3"},
        {0, 2, true, "a¶cd", "0:2"},
        {1, 2, false, "ab¶d", "1:1"},
    };
    for (const TCase &c : cases) {
        TDoc d({u"ab", u"cd"}, c.Item, c.Offs);
        if (c.Delete) {
            d.Doc().OnDeletePress_(false, false);
        } else {
            d.Doc().OnBackSpacePress_(false, false, false, 0);
        }
        EXPECT_EQ(d.Dump(), c.Dump);
        EXPECT_EQ(d.Caret(), c.Caret) << c.Dump;
        EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutDelete}));
        d.ExpectUndoRestores();
    }
}

TEST(EditKeys, DeleteAtTheVeryEndChangesNothing) {
    TDoc d({u"ab"}, 0, 3);
    d.Doc().OnDeletePress_(false, false);
    EXPECT_EQ(d.Dump(), "ab");
    EXPECT_TRUE(d.UndoTypes().empty());
}

TEST(EditKeys, CtrlBackspaceRemovesTheWordBeforeTheCaret) {
    TDoc d({u"abc def"}, 0, 8);
    d.Doc().OnBackSpacePress_(true, false, false, 0);
    EXPECT_EQ(d.Dump(), "abc ");
    d.ExpectUndoRestores();
}

TEST(EditKeys, BackspaceAfterAPictureAloneOnItsLineLeavesAnEmptyLine) {
    test::TEditFixture f;
    f.Doc().AddNL(u"ab", 0, 0);
    f.Editor->AddPictureEx("", std::make_unique<gfx::TBitmap>(30, 12), 0, vdvaBaseline);
    f.Doc().AddNL(u"cd", 0, 0);
    f.Format();
    f.SetCaret(1, 1);
    const std::string start = f.VDFBytes();
    f.Doc().OnBackSpacePress_(false, false, false, 0);
    EXPECT_EQ(f.Dump(), "ab¶¶cd");
    EXPECT_EQ(f.Caret(), "1:1");
    f.UndoAll();
    EXPECT_EQ(f.VDFBytes(), start);
}

TEST(EditInsert, APictureInsideAWordSplitsIt) {
    TDoc d({u"abcdef"}, 0, 4);
    d.Doc().BeginUndoSequence(vdutInsert, true);
    TVDRawByteString s, split;
    auto pic = std::make_unique<TVDGraphicItemInfo>(&d.Doc(), std::make_unique<gfx::TBitmap>(8, 8),
                                                    vdvaBaseline);
    pic->StyleNo = StyleNoPicture;
    ASSERT_TRUE(d.Doc().InsertSomething(std::move(pic), s, split, false, false, false));
    EXPECT_EQ(d.Dump(), "abc|[pic]|def");
    EXPECT_EQ(split, Raw(u"abcdef"));
    EXPECT_EQ(d.Caret(), "1:1");
    EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutInsert}));
    d.ExpectUndoRestores();
}

TEST(EditInsert, ABreakAtTheStartOfAParagraphGoesBeforeIt) {
    TDoc d({u"ab", u"cd"}, 1, 1);
    d.Doc().BeginUndoSequence(vdutInsert, true);
    TVDRawByteString s, split;
    ASSERT_TRUE(d.Doc().InsertSomething(CreateItemForStyleNo(StyleNoBreak, &d.Doc()), s, split,
                                        false, false, false));
    EXPECT_EQ(d.Dump(), "ab¶[br]¶cd");
    d.ExpectUndoRestores();
}

TEST(EditInsert, TextWithLineStructure) {
    struct TCase {
        const char16_t *Text;
        int32_t SpacesInTab;
        const char *Dump;
    };
    const TCase cases[] = {
        {u"1\r\n2", 8, "ab1¶2cd"},     {u"1\u20282", 8, "ab1↵2cd"}, {u"1\n\n2", 8, "ab1¶¶2cd"},
        {u"1\t2", 0, "ab1|[tab]|2cd"}, {u"1\t2", 4, "ab1    2cd"},
    };
    for (const TCase &c : cases) {
        TDoc d({u"abcd"}, 0, 3);
        d.Style.SetSpacesInTab(c.SpacesInTab);
        d.Doc().BeginUndoSequence(vdutInsert, true);
        d.Doc().InsertTextW_(Raw(c.Text), false, false);
        EXPECT_EQ(d.Dump(), c.Dump);
        d.ExpectUndoRestores();
    }
}

TEST(EditInsert, NativeFormatMergesWithTheTextAroundTheCaret) {
    test::TEditFixture source;
    source.Doc().AddNL(u"XY", 0, 0);
    source.Format();
    rtl::TMemoryStream stream;
    source.Doc().SaveVDFToStream(stream, false, 0x1FFFFFFF, nullptr, nullptr, false);
    TDoc d({u"abcd"}, 0, 3);
    stream.Seek(0, rtl::soBeginning);
    ASSERT_TRUE(d.Doc().InsertVDFFromStreamEd_(stream));
    EXPECT_EQ(d.Dump(), "abXYcd");
    EXPECT_EQ(d.Caret(), "0:5");
    d.ExpectUndoRestores();
}

TEST(EditInsert, AnUnreadableNativeStreamBeepsAndFails) {
    TDoc d({u"abcd"}, 0, 3);
    int beeps = 0;
    SetSystemBeepHandler([&] { ++beeps; });
    d.Style.SetUseSound(true);
    rtl::TMemoryStream stream;
    const std::string junk = "-8 1 3 1\r\nx 1 0 0 0 0\r\nA\r\n";
    stream.Write(junk.data(), static_cast<int32_t>(junk.size()));
    stream.Seek(0, rtl::soBeginning);
    EXPECT_FALSE(d.Doc().InsertVDFFromStreamEd_(stream));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(d.Dump(), "abcd");
    SetSystemBeepHandler(nullptr);
}

TEST(EditInsert, ItemsReadBeforeAFaultInTheNativeStreamAreUndoneWithTheInsertion) {
    TDoc d({u"abcd"}, 0, 3);
    SetSystemBeepHandler([] {});
    rtl::TMemoryStream stream;
    const std::string part = "-8 1 3 1\r\n0 1 0 0 0 0\r\nA\r\n0 1 0 0 0 0\r\nB\r\n"
                             "x 1 0 0 0 0\r\nC\r\n";
    stream.Write(part.data(), static_cast<int32_t>(part.size()));
    stream.Seek(0, rtl::soBeginning);
    EXPECT_FALSE(d.Doc().InsertVDFFromStreamEd_(stream));
    EXPECT_NE(d.Dump(), "abcd");
    d.UndoAll();
    EXPECT_EQ(d.VDFBytes(), d.Start);
    SetSystemBeepHandler(nullptr);
}

TEST(EditInsert, RTFAtTheCaret) {
    TDoc d({u"abcd"}, 0, 3);
    rtl::TMemoryStream stream;
    const std::string rtf = "{\\rtf1\\ansi Hello}";
    stream.Write(rtf.data(), static_cast<int32_t>(rtf.size()));
    stream.Seek(0, rtl::soBeginning);
    ASSERT_TRUE(d.Doc().InsertRTFFromStreamEd_(stream));
    EXPECT_NE(d.Dump().find("Hello"), std::string::npos) << d.Dump();
    d.ExpectUndoRestores();
}

TEST(EditSelection, DeletingAcrossParagraphsMergesThem) {
    TDoc d({u"abc", u"def"}, 0, 2);
    d.Doc().OnDownPress(true, false);
    ASSERT_TRUE(d.Doc().DeleteSelection_());
    EXPECT_EQ(d.Dump(), "aef");
    EXPECT_EQ(d.Caret(), "0:2");
    d.ExpectUndoRestores();
}

TEST(EditSelection, DeletingAWholeParagraphLeavesAnEmptyLine) {
    TDoc d({u"abc", u"def"}, 0, 1);
    d.Doc().OnEndPress(true, false);
    ASSERT_TRUE(d.Doc().DeleteSelection_());
    EXPECT_EQ(d.Dump(), "¶def");
    EXPECT_EQ(d.Caret(), "0:1");
    d.ExpectUndoRestores();
}

TEST(EditUndo, TheLimitBoundsTheGroupsKept) {
    TDoc d({u"abcd"}, 0, 3);
    d.Doc().UndoList->Limit = 2;
    for (int i = 0; i < 3; ++i) {
        d.Doc().OnEnterPress_(false, false);
    }
    EXPECT_EQ(d.Doc().UndoList->Count(), 2);
    d.Doc().UndoList->Limit = 0;
    d.Doc().OnEnterPress_(false, false);
    EXPECT_EQ(d.Doc().UndoList->Count(), 2);
    EXPECT_EQ(d.Doc().UndoDest, udNone);
}
