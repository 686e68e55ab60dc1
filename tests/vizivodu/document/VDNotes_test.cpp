// Notes: numbering in their own sequences by the style sheet's number types, a note's document
// answering with the top document, note references showing their owner's number, the footnote's
// printing texts, the note finders, styles and units inside notes, copies, undo moves and the
// formatting record; sidenotes and text boxes with their box properties.
#include "vizivodu/document/VDNotes.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDSidenotes.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::TTestDocument;
using vizivodu::test::TTestSubDocument;

namespace {

constexpr uint32_t kPageColor = 0x00ABCDEF;

class TColouredDocument : public TTestDocument {
public:
    using TTestDocument::TTestDocument;
    uint32_t GetColor() override { return kPageColor; }
};

class Notes : public ::testing::Test {
protected:
    Notes() : Style(nullptr), Doc(&Style) {}

    // Adds to doc an item made for doc of the further arguments.
    template <class T, class... TArgs> T &Add(TCustomVDData &doc, TArgs &&...args) {
        return Added(doc, std::make_unique<T>(&doc, std::forward<TArgs>(args)...));
    }
    // Adds a note to the document, hidden when asked.
    template <class T> T &Add(bool hidden = false) {
        auto note = std::make_unique<T>(&Doc);
        note->Hidden = hidden;
        return Added(Doc, std::move(note));
    }
    template <class T> static T &Added(TCustomVDData &doc, std::unique_ptr<T> item) {
        T &added = *item;
        doc.AddItem(u"", std::move(item));
        return added;
    }

    TVDStyle Style;
    TColouredDocument Doc;
};

std::string Text(const TVDLabelItemInfo &item) {
    return rtl::Utf16ToUtf8(item.GetText());
}

} // namespace

TEST(NoteRegistry, EveryKindHasItsClass) {
    TVDStyle style(nullptr);
    TTestDocument doc(&style);
    const std::pair<int32_t, TVDItemClass> kinds[] = {
        {StyleNoFootnote, &TVDFootnoteItemInfo::ClassInfo},
        {StyleNoEndnote, &TVDEndnoteItemInfo::ClassInfo},
        {StyleNoNoteReference, &TVDNoteReferenceItemInfo::ClassInfo},
        {StyleNoSidenote, &TVDSidenoteItemInfo::ClassInfo},
        {StyleNoTextBox, &TVDTextBoxItemInfo::ClassInfo},
    };
    for (const auto &[styleNo, itemClass] : kinds) {
        std::unique_ptr<TCustomVDItemInfo> item = CreateItemForStyleNo(styleNo, &doc);
        ASSERT_TRUE(item) << styleNo;
        EXPECT_EQ(item->GetClass(), itemClass);
        EXPECT_EQ(item->StyleNo, styleNo);
    }
}

TEST_F(Notes, EachKindCountsInItsOwnSequenceInTheSheetsNumbering) {
    TVDFootnoteItemInfo &f1 = Add<TVDFootnoteItemInfo>();
    TVDEndnoteItemInfo &e1 = Add<TVDEndnoteItemInfo>();
    TVDFootnoteItemInfo &f2 = Add<TVDFootnoteItemInfo>();
    TVDEndnoteItemInfo &e2 = Add<TVDEndnoteItemInfo>();
    TVDSidenoteItemInfo &s1 = Add<TVDSidenoteItemInfo>();
    TVDTextBoxItemInfo &t1 = Add<TVDTextBoxItemInfo>();
    TVDSidenoteItemInfo &s2 = Add<TVDSidenoteItemInfo>();
    EXPECT_EQ(Text(f1) + Text(f2), "12");
    EXPECT_EQ(Text(e1) + " " + Text(e2), "i ii");
    EXPECT_EQ(Text(s1) + Text(t1) + Text(s2), "aab");
    // The number type is always the sheet's: setting it on the note changes nothing.
    f2.SetNumberType(vdseqUpperRoman);
    EXPECT_TRUE(Doc.SetItemExtraIntPropertyEx(2, 302, vdseqUpperRoman));
    EXPECT_EQ(Text(f2), "2");
    Style.SetFootnoteNumbering(vdseqUpperAlpha);
    Style.SetSidenoteNumbering(vdseqDecimal);
    Doc.GetSeqList(false)->RecalcDisplayStrings(&Style);
    EXPECT_EQ(Text(f1) + Text(f2), "AB");
    EXPECT_EQ(Text(s1) + Text(t1) + Text(s2), "112");
}

TEST_F(Notes, ANotesDocumentAnswersWithTheTopDocument) {
    Doc.SetOptions({vdoShowHiddenText});
    TTestSubDocument cell(Doc, 0);
    Doc.AddNL(u"x", 0, 0);
    TVDFootnoteItemInfo &note = Add<TVDFootnoteItemInfo>(cell);
    TVDNoteData &d = note.GetDocument();
    EXPECT_EQ(d.GetOwner(), &note);
    EXPECT_EQ(d.MainVDData, &Doc); // the absolute root, also from inside a cell
    EXPECT_EQ(d.GetParentData(), &Doc);
    EXPECT_EQ(d.GetRootData(), &Doc);
    EXPECT_EQ(d.GetAbsoluteParentData(), &Doc);
    EXPECT_EQ(d.GetAbsoluteRootData(), &Doc);
    EXPECT_EQ(d.GetVDStyle(), &Style);
    EXPECT_EQ(d.GetColor(), kPageColor);
    EXPECT_TRUE(d.GetOptions().Contains(vdoShowHiddenText));
    EXPECT_TRUE(d.GetFlags().Contains(vdflTrim));
    EXPECT_TRUE(d.GetFlags().Contains(vdflCanUseCustomPPI));
    EXPECT_EQ(d.GetPrintFieldList(true), nullptr);
    EXPECT_EQ(d.GetNoteText(), u"1");
}

TEST(NoteWithoutDocument, StandsAsItsOwnRoot) {
    TVDFootnoteItemInfo note(nullptr);
    TVDNoteData &d = note.GetDocument();
    EXPECT_EQ(d.GetParentData(), nullptr);
    EXPECT_EQ(d.GetAbsoluteRootData(), &d);
    EXPECT_EQ(d.GetVDStyle(), nullptr);
    EXPECT_EQ(d.GetColor(), gfx::clNone);
    EXPECT_EQ(note.GetNumberType(), vdseqDecimal);
    d.AddNL(u"text", 0, 0);
    EXPECT_EQ(d.ItemCount(), 1);
}

TEST_F(Notes, SequencesInsideANoteCountApartFromTheMainText) {
    auto seq = [this](TCustomVDData &doc) -> TVDSeqItemInfo & {
        return Add<TVDSeqItemInfo>(doc, u"fig", vdseqDecimal, 0, 0, false);
    };
    TVDSeqItemInfo &main1 = seq(Doc);
    TVDFootnoteItemInfo &note = Add<TVDFootnoteItemInfo>();
    TVDSeqItemInfo &inner = seq(note.GetDocument());
    TVDSeqItemInfo &main2 = seq(Doc);
    EXPECT_EQ(Text(main1) + Text(inner) + Text(main2), "112");
    EXPECT_NE(note.GetDocument().GetSeqList(false), Doc.GetSeqList(false));
}

TEST_F(Notes, AReferenceShowsTheNumberOfTheNoteItStandsIn) {
    Add<TVDFootnoteItemInfo>();
    TVDFootnoteItemInfo &second = Add<TVDFootnoteItemInfo>();
    TVDTextBoxItemInfo &box = Add<TVDTextBoxItemInfo>();
    TVDNoteReferenceItemInfo &ref = Add<TVDNoteReferenceItemInfo>(second.GetDocument());
    EXPECT_EQ(Text(ref), "2");
    EXPECT_EQ(ref.GetOwnerNote(), &second);
    Doc.DeleteItems(0, 1); // the second footnote becomes the first
    EXPECT_EQ(ref.GetTextForPrinting(&second.GetDocument(), nullptr, 1, 1), u"1");
    EXPECT_EQ(Text(Add<TVDNoteReferenceItemInfo>(box.GetDocument())), "?");
    // Outside notes there is no owner; a document that is its own root has no note text.
    TVDNoteReferenceItemInfo &loose = Add<TVDNoteReferenceItemInfo>(Doc);
    EXPECT_EQ(loose.GetOwnerNote(), nullptr);
    EXPECT_EQ(Text(loose), "");
}

TEST_F(Notes, FootnotesAreMeasuredForPrintingAsTheNumberFourWhileNumbersRestartOnEachPage) {
    TVDFootnoteItemInfo &f = Add<TVDFootnoteItemInfo>();
    TVDEndnoteItemInfo &e = Add<TVDEndnoteItemInfo>();
    TVDNoteReferenceItemInfo &refInF = Add<TVDNoteReferenceItemInfo>(f.GetDocument());
    TVDNoteReferenceItemInfo &refInE = Add<TVDNoteReferenceItemInfo>(e.GetDocument());

    ASSERT_TRUE(Style.GetFootnotePageReset());
    EXPECT_EQ(f.GetTextForPrintMeasuring(&Doc), u"4");
    EXPECT_TRUE(f.GetBoolValueEx(vdbpHasPrintingWidth, &Style));
    EXPECT_TRUE(refInF.GetBoolValueEx(vdbpHasPrintingWidth, &Style));
    EXPECT_FALSE(refInE.GetBoolValueEx(vdbpHasPrintingWidth, &Style));
    EXPECT_FALSE(e.GetBoolValueEx(vdbpHasPrintingWidth, &Style));
    Style.SetFootnoteNumbering(vdseqUpperRoman);
    f.FormatString = u"(%s)";
    EXPECT_EQ(f.GetTextForPrintMeasuring(&Doc), u"(IV)");

    Style.SetFootnotePageReset(false);
    Style.SetFootnoteNumbering(vdseqDecimal);
    f.FormatString.clear();
    Doc.GetSeqList(false)->RecalcDisplayStrings(&Style);
    EXPECT_EQ(f.GetTextForPrintMeasuring(&Doc), u"1");
    EXPECT_FALSE(f.GetBoolValueEx(vdbpHasPrintingWidth, &Style));
    EXPECT_FALSE(refInF.GetBoolValueEx(vdbpHasPrintingWidth, &Style));

    // A number imposed from outside wins over the sequence's.
    f.SVDCounter = 7;
    f.CalcDisplayString(Doc.GetSeqList(false));
    EXPECT_EQ(Text(f), "7");
    EXPECT_EQ(f.GetTextForPrintMeasuring(&Doc), u"7");
}

TEST_F(Notes, TheFindersWalkTheSequenceListSkippingHiddenNotes) {
    EXPECT_EQ(GetFirstFootnote(&Doc, true), nullptr); // no list yet
    TVDFootnoteItemInfo &f1 = Add<TVDFootnoteItemInfo>();
    TVDEndnoteItemInfo &e1 = Add<TVDEndnoteItemInfo>();
    TVDFootnoteItemInfo &f2 = Add<TVDFootnoteItemInfo>(true);
    TVDSidenoteItemInfo &s1 = Add<TVDSidenoteItemInfo>();
    TVDTextBoxItemInfo &t1 = Add<TVDTextBoxItemInfo>();
    TVDFootnoteItemInfo &f3 = Add<TVDFootnoteItemInfo>();
    const TVDItemClass footnote = &TVDFootnoteItemInfo::ClassInfo;

    EXPECT_EQ(GetFirstFootnote(&Doc, false), &f1);
    EXPECT_EQ(FindNextNote(&Doc, &f1, footnote, false), &f3);
    EXPECT_EQ(FindNextNote(&Doc, &f1, footnote, true), &f2);
    EXPECT_EQ(FindNextNote(&Doc, &f3, footnote, true), nullptr);
    EXPECT_EQ(GetFirstEndnote(&Doc, false), &e1);
    EXPECT_EQ(FindNextNote(&Doc, &e1, &TVDEndnoteItemInfo::ClassInfo, false), nullptr);
    // Sidenote finders return text boxes too.
    EXPECT_EQ(GetFirstSidenote(&Doc, false), &s1);
    EXPECT_EQ(GetNextSidenote(&Doc, &s1, false), &t1);
    EXPECT_EQ(GetNextSidenote(&Doc, &t1, false), nullptr);
    // Any note class: every kind in document order.
    EXPECT_EQ(FindNextNote(&Doc, &f1, &TCustomVDNoteItemInfo::ClassInfo, false), &e1);
    // A note the list does not hold has no next.
    TVDFootnoteItemInfo stranger(&Doc);
    EXPECT_EQ(FindNextNote(&Doc, &stranger, footnote, true), nullptr);

    Doc.SetOptions({vdoShowHiddenText});
    EXPECT_EQ(FindNextNote(&Doc, &f1, footnote, false), &f2);
}

TEST_F(Notes, StylesUsedOnlyInsideANoteStayAndAreRenumberedThere) {
    TFontInfos &texts = Style.GetTextStyles();
    for (int32_t i = 0; i < texts.GetCount(); ++i) {
        texts.GetItem(i).SetStandard(false);
    }
    texts.GetItem(3).SetSize(33);
    texts.GetItem(4).SetSize(44);
    Doc.AddNL(u"x", 4, 0);
    TVDFootnoteItemInfo &f = Add<TVDFootnoteItemInfo>(Doc, 4, 0, false);
    f.GetDocument().AddNL(u"y", 3, 0);
    Doc.DeleteUnusedStyles(true, false, false);
    TCustomVDItemInfo &inner = *f.GetDocument().GetItem(0);
    EXPECT_EQ(texts.GetItem(inner.StyleNo).GetSize(), 33);
    EXPECT_EQ(texts.GetItem(f.GetAssociatedTextStyleNo()).GetSize(), 44);
}

// Converting the document's units reaches the text of its notes, whose lengths would otherwise
// keep numbers of the old units.
TEST_F(Notes, ConvertingUnitsReachesTheNoteDocument) {
    auto label = [this](TCustomVDData &doc) -> TVDLabelItemInfo & {
        TVDLabelItemInfo &added = Add<TVDLabelItemInfo>(doc, 0, u"l");
        added.Spacing = 4;
        return added;
    };
    TVDLabelItemInfo &outside = label(Doc);
    TVDSidenoteItemInfo &note = Add<TVDSidenoteItemInfo>();
    TVDLabelItemInfo &inside = label(note.GetDocument());
    note.GetBoxProperties().Width = 40;
    Doc.ConvertToDifferentUnits(vdstuTwips, &Style, true);
    EXPECT_NE(outside.Spacing, 4);
    EXPECT_EQ(inside.Spacing, outside.Spacing);
    EXPECT_EQ(note.GetBoxProperties().Width, 10 * outside.Spacing);
}

TEST_F(Notes, ACopyOfANoteHasItsOwnCopyOfTheDocument) {
    TVDFootnoteItemInfo &f = Add<TVDFootnoteItemInfo>();
    f.StartFrom = 3;
    f.Reset = true;
    f.FormatString = u"*%s";
    f.GetDocument().AddNL(u"hello", 0, 0);
    Add<TVDEndnoteItemInfo>(f.GetDocument()).GetDocument().AddNL(u"inner", 0, 0);
    {
        std::unique_ptr<TCustomVDItemInfo> made = f.CreateCopy(&Doc, false);
        auto &copy = static_cast<TVDFootnoteItemInfo &>(*made);
        TVDNoteData &d = copy.GetDocument();
        ASSERT_EQ(d.ItemCount(), 2);
        EXPECT_NE(&d, &f.GetDocument());
        EXPECT_EQ(d.GetItemText(0), u"hello");
        auto *inner = dynamic_cast<TVDEndnoteItemInfo *>(d.GetItem(1));
        ASSERT_TRUE(inner);
        EXPECT_EQ(inner->GetDocument().GetItemText(0), u"inner");
        EXPECT_EQ(copy.StartFrom, 3);
        EXPECT_TRUE(copy.Reset);
        EXPECT_EQ(copy.FormatString, u"*%s");
    }
    EXPECT_EQ(f.GetDocument().ItemCount(), 2);
}

TEST_F(Notes, ANoteMovedToAnotherDocumentFollowsItsRoot) {
    TTestDocument other(&Style);
    auto note = std::make_unique<TVDEndnoteItemInfo>(&Doc);
    TVDEndnoteItemInfo &e = *note;
    EXPECT_EQ(e.GetDocument().MainVDData, &Doc);
    other.AddItem(u"", std::move(note));
    EXPECT_EQ(e.GetDocument().MainVDData, &other);
    EXPECT_EQ(e.GetDocument().GetAbsoluteRootData(), &other);
}

TEST_F(Notes, MovingToTheUndoListTakesTheNotesTextAlong) {
    TVDFootnoteItemInfo &f = Add<TVDFootnoteItemInfo>();
    TVDNoteData &d = f.GetDocument();
    d.AddItem(u"", std::make_unique<TVDSeqItemInfo>(&d, u"x", vdseqDecimal, 0, 0, false));
    ASSERT_TRUE(d.GetSeqList(false));
    f.MovingToUndoList(0, &Doc);
    EXPECT_EQ(Doc.GetSeqList(false), nullptr);
    EXPECT_EQ(d.GetSeqList(false), nullptr);
    f.MovingFromUndoList(0, &Doc);
    EXPECT_EQ(Doc.GetSeqList(false)->Count(), 1);
    EXPECT_EQ(d.GetSeqList(false)->Count(), 1);
}

TEST_F(Notes, TheFormattingRecordEndsWithAnEmptyDataMark) {
    TVDEndnoteItemInfo &e = Add<TVDEndnoteItemInfo>();
    rtl::TMemoryStream stream;
    e.SaveFormattingToStream(stream);
    // -1, four sizes, the measured flag, then 0 for "no formatting data".
    ASSERT_EQ(stream.GetSize(), 5 * 4 + 1 + 4);
    TVDEndnoteItemInfo copy(&Doc);
    stream.SetPosition(4);
    copy.LoadFormattingFromStream(stream);
    EXPECT_EQ(copy.SVDFormattingData, nullptr);
    // Data of an outside component cannot be read here: its size is unknown.
    const int32_t code = 12;
    stream.SetPosition(stream.GetSize() - 4);
    stream.WriteBuffer(&code, 4);
    stream.SetPosition(4);
    EXPECT_THROW(copy.LoadFormattingFromStream(stream), rtl::EReadError);
}

TEST_F(Notes, TheFormatStringTravelsAsAnExtraPropertyLine) {
    TVDEndnoteItemInfo &e = Add<TVDEndnoteItemInfo>();
    const int32_t plain = e.GetVDFExtraPropertyCount();
    EXPECT_TRUE(e.SetExtraCustomProperty("format", u"<%s>"));
    EXPECT_EQ(e.FormatString, u"<%s>");
    EXPECT_EQ(e.GetVDFExtraPropertyCount(), plain + 1);
    rtl::TMemoryStream stream;
    e.SaveVDFExtraProperties(stream);
    const std::string written(reinterpret_cast<const char *>(stream.GetMemory()),
                              static_cast<size_t>(stream.GetSize()));
    EXPECT_NE(written.find("format="), std::string::npos);
}

TEST_F(Notes, BoxPropertiesAndPositionAnswerThroughTheSidenote) {
    TVDSidenoteItemInfo &s = Add<TVDSidenoteItemInfo>();
    const int32_t plain = s.GetVDFExtraPropertyCount();
    EXPECT_TRUE(s.SetExtraIntPropertyEx(600, 250));
    EXPECT_TRUE(s.SetExtraIntPropertyEx(500, vdhanPage));
    EXPECT_TRUE(s.SetExtraIntPropertyEx(300, 9));
    EXPECT_EQ(s.GetBoxProperties().Width, 250);
    EXPECT_EQ(s.GetBoxPosition().HorizontalAnchor, vdhanPage);
    EXPECT_EQ(s.StartFrom, 9);
    EXPECT_TRUE(s.SetExtraCustomProperty("boxopacity", u"50000"));
    EXPECT_EQ(s.GetBoxProperties().GetBackground().Opacity, 50000);
    EXPECT_TRUE(s.SetExtraCustomProperty("boxreltocell", u"0"));
    EXPECT_FALSE(s.GetBoxPosition().RelativeToCell);
    EXPECT_FALSE(s.SetExtraCustomProperty("opacity", u"1"));
    EXPECT_EQ(s.GetVDFExtraPropertyCount(), plain + 4);
    EXPECT_EQ(s.GetExtraIntPropertyReformat(616), vdrfSVDRepaint);
    EXPECT_EQ(s.GetExtraIntPropertyReformat(502), vdrfSVDReformat);
    EXPECT_EQ(s.GetExtraIntPropertyReformat(300), vdrfFull);
    int32_t value = 0;
    EXPECT_TRUE(s.GetExtraIntPropertyEx(601, value));
    EXPECT_EQ(value, 100);

    EXPECT_FALSE(s.IsFixedHeight());
    s.GetBoxProperties().HeightType = vdbhtAbsolute;
    EXPECT_TRUE(s.IsFixedHeight());
    EXPECT_EQ(s.GetSubDocColor(), uint32_t(gfx::clWindow));
    s.GetBoxProperties().GetBackground().Color = gfx::clNone;
    EXPECT_EQ(s.GetDocument().GetColor(), kPageColor);

    s.GetBoxProperties().VAlign = tlBottom;
    TVDTextBoxItemInfo box(&Doc);
    box.Assign(s);
    EXPECT_EQ(box.GetBoxProperties().VAlign, tlBottom);
    EXPECT_EQ(box.GetBoxPosition().HorizontalAnchor, vdhanPage);
    EXPECT_EQ(box.SeqName, u"@Sidenote@"); // copied with the sequence properties
}

TEST_F(Notes, ATextBoxHasNoTextStyleAndShowsAQuestionMark) {
    TVDTextBoxItemInfo &t = Add<TVDTextBoxItemInfo>();
    TVDSidenoteItemInfo &s = Add<TVDSidenoteItemInfo>();
    t.SetAssociatedTextStyleNo(3);
    EXPECT_EQ(t.GetAssociatedTextStyleNo(), -1);
    EXPECT_EQ(t.GetNoteText(), u"?");
    EXPECT_EQ(t.GetDocument().GetNoteText(), u"?");
    EXPECT_TRUE(t.GetBoolValue(vdbpPlaceholder));
    EXPECT_TRUE(t.GetBoolValue(vdbpDocXOnlyBeforeAfter));
    EXPECT_FALSE(s.GetBoolValue(vdbpPlaceholder));
    for (TCustomVDNoteItemInfo *note : std::initializer_list<TCustomVDNoteItemInfo *>{&t, &s}) {
        EXPECT_TRUE(note->GetBoolValue(vdbpIsNote));
        EXPECT_TRUE(note->GetBoolValue(vdbpKeepWithPrior));
        EXPECT_FALSE(note->GetBoolValue(vdbpFloating));
    }
}
