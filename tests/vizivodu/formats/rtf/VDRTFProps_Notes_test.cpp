// RTF footnotes and endnotes into note items: references, note documents, endnotes, marks
// taken from the text before a note, and notes in files written by LibreOffice and pandoc.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vizivodu {
namespace {

class RTFNoteReading : public testing::Test {
protected:
    RTFNoteReading() : Style(nullptr), Doc(&Style) {}

    TVDRTFErrorCode Read(const std::string &rtf) {
        rtl::TMemoryStream stream;
        stream.Write(rtf.data(), int32_t(rtf.size()));
        stream.SetPosition(0);
        return Props.ReadFromStream(stream, Doc, false);
    }

    // Paragraphs of text; a note as "[" its number ":" its document "]", a reference as "#".
    static std::string Text(TCustomVDData &doc) {
        std::string out;
        for (int32_t i = 0; i < doc.ItemCount(); ++i) {
            TCustomVDItemInfo *item = doc.GetItem(i);
            if (i > 0 && !item->GetSameAsPrev()) {
                out += "\n";
            }
            if (auto *note = dynamic_cast<TCustomVDNoteItemInfo *>(item)) {
                out += "[" + rtl::Utf16ToUtf8(note->GetNoteText()) + ":" +
                       Text(note->GetDocument()) + "]";
            } else if (item->StyleNo == StyleNoNoteReference) {
                out += "#";
            } else if (item->IsText()) {
                out += rtl::Utf16ToUtf8(doc.GetItemText(i));
            }
        }
        return out;
    }

    std::vector<TCustomVDNoteItemInfo *> Notes() {
        std::vector<TCustomVDNoteItemInfo *> out;
        for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
            if (auto *n = dynamic_cast<TCustomVDNoteItemInfo *>(Doc.GetItem(i))) {
                out.push_back(n);
            }
        }
        return out;
    }

    TVDStyle Style;
    test::TTestDocument Doc;
    TVDRTFReaderProperties Props;
};

TEST_F(RTFNoteReading, FootnoteReplacesItsReference) {
    ASSERT_EQ(Read(R"({\rtf1 Text{\super\chftn}{\footnote\pard{\super\chftn} Note.} more\par})"),
              rtf_ec_OK);
    EXPECT_EQ(Text(Doc), "Text[1:# Note.] more");
    const std::vector<TCustomVDNoteItemInfo *> notes = Notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(dynamic_cast<TVDFootnoteItemInfo *>(notes[0]), nullptr);
    EXPECT_TRUE(notes[0]->FormatString.empty());
}

TEST_F(RTFNoteReading, FtnaltMakesAnEndnote) {
    ASSERT_EQ(Read(R"({\rtf1 A{\chftn}{\footnote\ftnalt\pard{\chftn} End.}\par})"), rtf_ec_OK);
    const std::vector<TCustomVDNoteItemInfo *> notes = Notes();
    ASSERT_EQ(notes.size(), 1u);
    auto *endnote = dynamic_cast<TVDEndnoteItemInfo *>(notes[0]);
    ASSERT_NE(endnote, nullptr);
    EXPECT_EQ(endnote->SeqName, u"@endnote@");
    EXPECT_EQ(Text(endnote->GetDocument()), "# End.");
}

TEST_F(RTFNoteReading, NoteWithoutReferenceTakesTheCharacterBeforeIt) {
    ASSERT_EQ(Read(R"({\rtf1 Text*{\footnote\pard Note.}\par})"), rtf_ec_OK);
    const std::vector<TCustomVDNoteItemInfo *> notes = Notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->FormatString, u"*");
    EXPECT_EQ(rtl::Utf16ToUtf8(Doc.GetItemText(0)), "Text");
    EXPECT_EQ(Text(notes[0]->GetDocument()), "Note.");
}

TEST_F(RTFNoteReading, IgnoredNotesLeaveNeitherItemNorText) {
    Props.IgnoreNotes = true;
    ASSERT_EQ(Read(R"({\rtf1 Text{\chftn}{\footnote\pard{\chftn} Note.}\par})"), rtf_ec_OK);
    EXPECT_TRUE(Notes().empty());
    EXPECT_EQ(Text(Doc), "Text");
}

TEST_F(RTFNoteReading, TableInsideANoteStaysInTheNote) {
    ASSERT_EQ(Read(R"({\rtf1 A{\chftn}{\footnote\pard{\chftn} N\par)"
                   R"(\trowd\cellx1000\cellx2000\pard\intbl x\cell y\cell\row\pard z}\par})"),
              rtf_ec_OK);
    const std::vector<TCustomVDNoteItemInfo *> notes = Notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->GetDocument().ItemCount() >= 3, true);
    EXPECT_EQ(Text(Doc).substr(0, 4), "A[1:");
}

std::string DataFile(const std::string &name) {
    std::ifstream in(std::string(WB_TEST_DATA) + "/vizivodu/formats/rtf/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct TNoteFileCase {
    const char *Rtf;
    const char *Text; // the text LibreOffice extracts: note numbers in the text, no note text
    std::vector<std::string> NoteTexts;
};

class RTFNoteFiles : public RTFNoteReading, public testing::WithParamInterface<TNoteFileCase> {};

TEST_P(RTFNoteFiles, NotesAsLibreOfficeReadsThem) {
    ASSERT_EQ(Read(DataFile(GetParam().Rtf)), rtf_ec_OK);
    std::string expected = DataFile(GetParam().Text);
    if (expected.rfind("\xEF\xBB\xBF", 0) == 0) {
        expected.erase(0, 3);
    }
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) {
        expected.pop_back();
    }
    std::string ours, notes;
    std::vector<std::string> noteTexts;
    for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
        TCustomVDItemInfo *item = Doc.GetItem(i);
        if (i > 0 && !item->GetSameAsPrev()) {
            ours += "\n";
        }
        if (auto *note = dynamic_cast<TCustomVDNoteItemInfo *>(item)) {
            ours += rtl::Utf16ToUtf8(note->GetNoteText());
            noteTexts.push_back(Text(note->GetDocument()));
        } else if (item->IsText()) {
            ours += rtl::Utf16ToUtf8(Doc.GetItemText(i));
        }
    }
    EXPECT_EQ(ours, expected);
    EXPECT_EQ(noteTexts, GetParam().NoteTexts);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RTFNoteFiles,
    testing::Values(
        TNoteFileCase{"lo_notes.rtf", "lo_notes.txt", {"#Текст сноски.", "#Second footnote text."}},
        TNoteFileCase{"pandoc_notes.rtf",
                      "pandoc_notes.txt",
                      {"#\u00A0Первая сноска.\n", "#\u00A0Second note with emphasis.\n"}}),
    [](const auto &info) {
        std::string n = info.param.Rtf;
        return n.substr(0, n.find('.'));
    });

} // namespace
} // namespace vizivodu
