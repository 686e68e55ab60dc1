// The native-format writer and reader of a document: record framing byte for byte, text and
// binary mode, every item kind read back, and malformed data refused with the document kept.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDLabelItem.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/DocumentTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::TTestDocument;

namespace {

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

class VDF : public ::testing::Test {
protected:
    VDF() : Style(nullptr), Doc(&Style) {}

    std::string Save(TCustomVDData &doc, TVDFOptions options = {}) {
        doc.SetVDFOptions(options);
        TVDMemoryStream stream;
        EXPECT_TRUE(doc.SaveVDFToStream(stream, false, 0, nullptr, nullptr, true));
        return Bytes(stream);
    }
    bool Load(TCustomVDData &doc, const std::string &bytes) {
        auto stream = std::make_unique<TVDMemoryStream>();
        stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        stream->SetPosition(0);
        uint32_t color = 0;
        return doc.LoadVDFFromStream(*stream, color, nullptr, nullptr);
    }
    std::string Text(TCustomVDData &doc) {
        std::string out;
        for (int32_t i = 0; i < doc.ItemCount(); ++i) {
            TCustomVDItemInfo &item = *doc.GetItem(i);
            out += (item.GetSameAsPrev() ? "+" : "|") + std::to_string(item.StyleNo) + ":" +
                   std::to_string(item.ParaNo) + ":" + rtl::Utf16ToUtf8(doc.GetItemText(i));
        }
        return out;
    }

    TVDStyle Style;
    TTestDocument Doc;
};

} // namespace

TEST_F(VDF, EmptyDocumentSavesNothingAndEmptyStreamLoads) {
    EXPECT_EQ(Save(Doc), "");
    Doc.AddNL(u"x", 0, 0);
    EXPECT_TRUE(Load(Doc, ""));
    EXPECT_EQ(Doc.ItemCount(), 0);
}

TEST_F(VDF, ParagraphsOfOneStyleShareOneRecord) {
    Style.GetTextStyles().GetItem(0).SetUnicode(false);
    Doc.AddNL(u"A", 0, 0);
    Doc.AddNL(u"B", 0, 0);
    Doc.AddNL(u"C", 0, 0);
    const std::string saved = Save(Doc);
    EXPECT_EQ(saved, "-8 1 3 1\r\n0 3 0 0 0 0\r\nA\r\nB\r\nC\r\n");
    TTestDocument copy(&Style);
    ASSERT_TRUE(Load(copy, saved));
    EXPECT_EQ(Text(copy), "|0:0:A|0:0:B|0:0:C");
}

TEST_F(VDF, UnicodeTextInTextAndBinaryMode) {
    Doc.AddNL(std::u16string(u"\u00E9") + u'\0' + u"Ж", 0, 0);
    const std::string text = Save(Doc);
    EXPECT_EQ(text, "-8 1 3 1\r\n0 1 0 8 3 0\r\nE9003F001604\r\n");
    const std::string binary = Save(Doc, {vdfoSaveBinary});
    EXPECT_EQ(binary,
              std::string("-8 1 3 1\r\n0 1 0 8 0 0\r\n\xE9\x00\x3F\x00\x16\x04\x29\x20", 31));
    for (const std::string &bytes : {text, binary}) {
        TTestDocument copy(&Style);
        ASSERT_TRUE(Load(copy, bytes));
        EXPECT_EQ(Text(copy), "|0:0:é?Ж");
    }
}

TEST_F(VDF, TagsHintsAndStyleNames) {
    Style.GetTextStyles().GetItem(1).SetStyleName(u"Q\"uote");
    Doc.AddNLTag(u"a", 1, 0, u"0");
    Doc.AddNLTag(u"b", 1, 0, u"");
    Doc.GetItem(1)->Hint = u"h \"1\"";
    const std::string saved = Save(Doc, {vdfoUseStyleNames});
    EXPECT_NE(saved.find("\n\"Q\"\"uote\" 1 \""), std::string::npos) << saved;
    TTestDocument copy(&Style);
    ASSERT_TRUE(Load(copy, saved));
    ASSERT_EQ(copy.ItemCount(), 2);
    EXPECT_EQ(copy.GetItem(0)->Tag, u"0");
    EXPECT_EQ(copy.GetItem(1)->Tag, u"");
    EXPECT_EQ(copy.GetItem(1)->Hint, u"h \"1\"");
    EXPECT_EQ(copy.GetItem(1)->StyleNo, 1);
}

TEST_F(VDF, StreamWithoutVersionLineReadsBareTagsAndNoOptions) {
    Style.GetTextStyles().GetItem(0).SetUnicode(false);
    TTestDocument copy(&Style);
    ASSERT_TRUE(Load(copy, "0 2 0 0 tag\r\nx\r\ny\r\n"));
    EXPECT_EQ(Text(copy), "|0:0:x|0:0:y");
    EXPECT_EQ(copy.GetItem(0)->Tag, u"tag");
}

TEST_F(VDF, CheckpointAfterTheLastItemComesBack) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNamedCheckpointExTag(u"end", true, u"t");
    TTestDocument copy(&Style);
    ASSERT_TRUE(Load(copy, Save(Doc)));
    ASSERT_NE(copy.NotAddedCP, nullptr);
    EXPECT_EQ(copy.NotAddedCP->Name, u"end");
    EXPECT_EQ(copy.NotAddedCP->Tag, u"t");
    EXPECT_TRUE(copy.NotAddedCP->RaiseEvent);
}

TEST_F(VDF, UnknownTextStyleFailsUnlessConvertedToZero) {
    const std::string bytes = "-8 1 3 1\r\n99 1 0 0 0 0\r\nx\r\n";
    TTestDocument copy(&Style);
    EXPECT_FALSE(Load(copy, bytes));
    copy.SetVDFOptions({vdfoConvUnknownStylesToZero});
    ASSERT_TRUE(Load(copy, bytes));
    EXPECT_EQ(copy.GetItem(0)->StyleNo, 0);
    EXPECT_TRUE(copy.GetVDFWarnings().Contains(vdfwConvUnknownStyles));
}

// Malformed data: the read fails with the document as it was.
TEST_F(VDF, AFailedLoadLeavesTheDocumentAsItWas) {
    const char *const bad[] = {
        "-8 1 3 1\r\n0 3 0 0 0 0\r\nA\r\n",                   // cut before its lines
        "-8 1 3 1\r\n0 2000000000 0 0 0 0\r\nA\r\n",          // a count beyond the data
        "-8 1 3 1\r\n0 -1 0 0 0 0\r\n",                       // a negative count
        "-8 1 3 1\r\n0 1 7 0 0 0\r\nA\r\n",                   // a paragraph style beyond
        "-8 1 3 1\r\n-9 2 0 0 2 0 3\r\n\r\n\xFF\xFF\xFF\x7F", // a block beyond the data
        "-8 1 3 1\r\nx 1 0 0 0 0\r\nA\r\n",                   // not a header
        "-8 1 3 1\r\n0 1 0 8 3 0\r\nE9X0\r\n",                // bad hex
    };
    Doc.AddNL(u"kept", 1, 0);
    Doc.AddBreak();
    for (const char *bytes : bad) {
        EXPECT_FALSE(Load(Doc, bytes)) << bytes;
        EXPECT_EQ(Text(Doc), "|1:0:kept|-1:0:") << bytes;
    }
}

TEST_F(VDF, SubDocumentsNestedTooDeepFailCleanly) {
    // A footnote whose document holds a footnote ... deeper than any real document.
    std::string bytes;
    for (int level = 0; level < TCustomVDData::MaxVDFNestingDepth + 2; ++level) {
        TVDMemoryStream outer;
        std::string header =
            "-8 1 3 1\r\n-203 8 0 0 2 0 0\r\n0\r\n0\r\n0\r\nno-protect\r\n0\r\n1\r\n\r\n";
        outer.WriteBuffer(header.data(), static_cast<int32_t>(header.size()));
        const auto length = static_cast<int32_t>(bytes.size());
        outer.WriteBuffer(&length, 4);
        outer.WriteBuffer(bytes.data(), length);
        bytes = Bytes(outer);
    }
    TTestDocument copy(&Style);
    copy.SetVDFOptions({vdfoSaveBinary});
    EXPECT_FALSE(Load(copy, bytes));
    EXPECT_EQ(copy.ItemCount(), 0);
}

TEST_F(VDF, ItemKindsComeBackInTextAndBinaryMode) {
    Doc.AddNL(u"text", 0, 0);
    Doc.AddBreakEx(3, vdbsDashed, 0xFF);
    Doc.AddTab(1, -1);
    auto label = std::make_unique<TVDLabelItemInfo>(&Doc, 2, u"label");
    label->ParaNo = -1;
    Doc.AddItem(u"", std::move(label));
    auto seq = std::make_unique<TVDSeqItemInfo>(&Doc, u"fig", vdseqUpperRoman, 0, 5, true);
    seq->ParaNo = -1;
    Doc.AddItem(u"", std::move(seq));
    test::AddNote<TVDFootnoteItemInfo>(
        Doc, [](TVDFootnoteItemInfo &note) { note.GetDocument().AddNL(u"note text", 3, 0); });
    for (TVDFOptions options : {TVDFOptions{}, TVDFOptions{vdfoSaveBinary}}) {
        const std::string saved = Save(Doc, options);
        TTestDocument copy(&Style);
        copy.SetVDFOptions(options);
        ASSERT_TRUE(Load(copy, saved)) << saved;
        ASSERT_EQ(copy.ItemCount(), Doc.ItemCount());
        for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
            EXPECT_EQ(copy.GetItem(i)->StyleNo, Doc.GetItem(i)->StyleNo) << i;
            EXPECT_EQ(copy.GetItem(i)->ItemOptions.Bits(), Doc.GetItem(i)->ItemOptions.Bits()) << i;
        }
        auto &brk = static_cast<TVDBreakItemInfo &>(*copy.GetItem(1));
        EXPECT_EQ(brk.LineWidth, 3);
        EXPECT_EQ(brk.Style, vdbsDashed);
        EXPECT_EQ(copy.GetItem(2)->GetAssociatedTextStyleNo(), 1);
        EXPECT_EQ(static_cast<TVDLabelItemInfo &>(*copy.GetItem(3)).GetText(), u"label");
        auto &seqCopy = static_cast<TVDSeqItemInfo &>(*copy.GetItem(4));
        EXPECT_EQ(seqCopy.SeqName, u"fig");
        EXPECT_EQ(seqCopy.StartFrom, 5);
        EXPECT_TRUE(seqCopy.Reset);
        auto &note = static_cast<TVDFootnoteItemInfo &>(*copy.GetItem(5));
        EXPECT_EQ(Text(note.GetDocument()), "|3:0:note text");
        // A second save gives the same bytes.
        EXPECT_EQ(Save(copy, options), saved);
    }
}

TEST_F(VDF, MarkersNameTheirListWithStyleNames) {
    for (const char16_t *name : {u"first", u"second \"quoted\""}) {
        TVDListInfo &list = Style.GetListStyles().Add();
        list.SetStyleName(name);
        list.GetLevels().Add().SetListType(vdlstDecimal);
    }
    Doc.SetListMarkerInfo(-1, 1, 0, 1, 0, false);
    Doc.AddNL(u"item", 0, -1);
    const std::string named = Save(Doc, {vdfoUseStyleNames});
    EXPECT_NE(named.find("\"second \"\"quoted\"\"\" 0 1 0"), std::string::npos) << named;
    EXPECT_NE(Save(Doc, {}).find(" 1 0 1 0\r\n"), std::string::npos);
    TTestDocument copy(&Style);
    copy.SetVDFOptions({vdfoUseStyleNames});
    ASSERT_TRUE(Load(copy, named));
    auto *marker = dynamic_cast<TVDMarkerItemInfo *>(copy.GetItem(0));
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->ListNo, 1);
}
