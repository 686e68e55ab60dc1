// Plain-text files of a document: 8-bit, UTF-8 and UTF-16 text with and without signature load
// with the right text and line breaks, and saved text reloads equal.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/DocumentTestSupport.h"

#include "platform/rtl/CodePages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vizivodu;
using vizivodu::test::TTestDocument;

namespace {

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

std::unique_ptr<TVDMemoryStream> StreamOf(const std::string &bytes) {
    auto stream = std::make_unique<TVDMemoryStream>();
    if (!bytes.empty()) {
        stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    stream->SetPosition(0);
    return stream;
}

// "Привет" and "мир" in each encoding.
const std::string Cp1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
const std::string Cp1251b = "\xEC\xE8\xF0";
const std::string Utf8 = "Привет";
const std::string Utf8b = "мир";
std::string Utf16(std::u16string_view s, bool bigEndian = false) {
    std::string out;
    for (char16_t ch : s) {
        const char lo = static_cast<char>(ch & 0xFF), hi = static_cast<char>(ch >> 8);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

class TextFile : public ::testing::Test {
protected:
    TextFile() : Style(nullptr), Doc(&Style) {}

    // Items as "|" (new paragraph) or "+" (same line), then the text.
    std::string Text(TCustomVDData &doc) {
        std::string out;
        for (int32_t i = 0; i < doc.ItemCount(); ++i) {
            out += (doc.GetItem(i)->GetSameAsPrev() ? "+" : "|") +
                   rtl::Utf16ToUtf8(doc.GetItemText(i));
        }
        return out;
    }
    std::string SaveToStream(TCustomVDData &doc, bool unicode, bool signature,
                             TVDCodePage codePage) {
        TVDMemoryStream stream;
        EXPECT_TRUE(doc.SaveTextToStream(u"", stream, 80, false, false, unicode, signature,
                                         codePage, true));
        return Bytes(stream);
    }

    TVDStyle Style;
    TTestDocument Doc;
};

struct TLoadCase {
    const char *Name;
    std::string Bytes;
    bool Wide;
    TVDCodePage CodePage;
};

TEST_F(TextFile, LoadsEveryEncodingWithItsLineBreaks) {
    const std::u16string text = u"Привет\r\nмир";
    const TLoadCase cases[] = {
        {"cp1251 CR LF", Cp1251 + "\r\n" + Cp1251b, false, 1251},
        {"cp1251 LF", Cp1251 + "\n" + Cp1251b, false, 1251},
        {"cp1251 CR", Cp1251 + "\r" + Cp1251b, false, 1251},
        {"utf-8", Utf8 + "\r\n" + Utf8b, false, rtl::CP_UTF8},
        {"utf-8 signature", "\xEF\xBB\xBF" + Utf8 + "\n" + Utf8b, false, rtl::CP_UTF8},
        {"utf-16", Utf16(text), true, 0},
        {"utf-16 signature", Utf16(u"\uFEFF" + text), true, 0},
        {"utf-16 big-endian signature", Utf16(u"\uFEFF" + text, true), true, 0},
        {"utf-16 LF CR", Utf16(u"Привет\n\rмир"), true, 0},
    };
    for (const TLoadCase &c : cases) {
        SCOPED_TRACE(c.Name);
        TTestDocument doc(&Style);
        auto stream = StreamOf(c.Bytes);
        EXPECT_TRUE(c.Wide ? doc.LoadTextFromStreamW(*stream, 0, 0, false)
                           : doc.LoadTextFromStream(*stream, 0, 0, false, c.CodePage));
        EXPECT_EQ(Text(doc), "|Привет|мир");
    }
}

TEST_F(TextFile, TrailingLineEndGivesEmptyLastParagraph) {
    auto stream = StreamOf(Cp1251 + "\r\n\r\n" + Cp1251b + "\r\n");
    EXPECT_TRUE(Doc.LoadTextFromStream(*stream, 0, 0, false, 1251));
    EXPECT_EQ(Text(Doc), "|Привет||мир|");
}

TEST_F(TextFile, StreamAtItsEndLoadsNothing) {
    auto stream = StreamOf("");
    EXPECT_TRUE(Doc.LoadTextFromStream(*stream, 0, 0, false, 1251));
    EXPECT_EQ(Doc.ItemCount(), 0);
}

TEST_F(TextFile, ZeroBytesBecomeQuestionMarks) {
    auto stream = StreamOf(std::string("a\0b", 3));
    EXPECT_TRUE(Doc.LoadTextFromStream(*stream, 0, 0, false, 1251));
    EXPECT_EQ(Text(Doc), "|a?b");
}

TEST_F(TextFile, OddUtf16ByteCountFailsAndAddsNothing) {
    EXPECT_FALSE(Doc.LoadTextFromStreamW(*StreamOf(std::string("a\0b", 3)), 0, 0, false));
    EXPECT_EQ(Doc.ItemCount(), 0);
}

TEST_F(TextFile, EmptyDocumentSavesNothingNotEvenSignature) {
    EXPECT_EQ(SaveToStream(Doc, true, true, 0), "");
}

TEST_F(TextFile, UnicodeSaveWithSignatureBytes) {
    Doc.AddNLATag("a", 0, 0, {});
    Doc.AddNLATag("b", 0, 0, {});
    EXPECT_EQ(SaveToStream(Doc, true, true, 0), std::string("\xFF\xFE"
                                                            "a\0\r\0\n\0b\0",
                                                            10));
}

TEST_F(TextFile, SavedTextReloadsEqual) {
    Doc.AddTextNL(u"Привет\r\n\r\nмир, world", 0, 0, 0);
    const std::string expected = Text(Doc);
    for (const bool unicode : {false, true}) {
        SCOPED_TRACE(unicode ? "utf-16" : "cp1251");
        const std::string bytes = SaveToStream(Doc, unicode, unicode, 1251);
        TTestDocument doc(&Style);
        auto stream = StreamOf(bytes);
        EXPECT_TRUE(unicode ? doc.LoadTextFromStreamW(*stream, 0, 0, false)
                            : doc.LoadTextFromStream(*stream, 0, 0, false, 1251));
        EXPECT_EQ(Text(doc), expected);
    }
    EXPECT_EQ(SaveToStream(Doc, false, false, 1251), Cp1251 + "\r\n\r\n" + Cp1251b + ", world");
}

TEST_F(TextFile, FileSaveReloadsAndUnreachableNamesFail) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vd_text_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "a.txt";
    Doc.AddTextNL(u"Привет\r\nмир", 0, 0, 0);
    const rtl::UnicodeString name = rtl::Utf8ToUtf16(file.string());
    ASSERT_TRUE(Doc.SaveText(name, 80, true, 0));
    TTestDocument doc(&Style);
    EXPECT_TRUE(doc.LoadTextW(name, 0, 0, false));
    EXPECT_EQ(Text(doc), "|Привет|мир");
    // A name whose folder is missing cannot be saved; nothing else is touched.
    EXPECT_FALSE(Doc.SaveText(rtl::Utf8ToUtf16((dir / "no" / "b.txt").string()), 80, true, 0));
    EXPECT_FALSE(doc.LoadText(rtl::Utf8ToUtf16((dir / "missing.txt").string()), 0, 0, false, 0));
    std::filesystem::remove_all(dir);
}

} // namespace
