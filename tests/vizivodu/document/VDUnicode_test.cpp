// Item text storage, code pages, charsets, probes, HTML text, display form and line breaking.
#include "vizivodu/document/VDUnicode.h"

#include "vizivodu/document/VDError.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vizivodu;

namespace {

TVDRawByteString Raw(std::u16string_view s) {
    return StringToRawUnicode(s);
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) {
        s += static_cast<char>(b);
    }
    return s;
}

const TVDItemOptions kUnicode{vdioUnicode};
const TVDItemOptions kAnsi{};

} // namespace

TEST(VDUnicodeItemText, LengthAndSpacesCountCharactersNotBytes) {
    EXPECT_EQ(GetItemTextLength(std::string(5, 'x'), kUnicode), 2);
    EXPECT_EQ(GetItemTextLength(std::string(5, 'x'), kAnsi), 5);
    const TVDRawByteString text = Raw(u"a b");
    EXPECT_TRUE(IsItemTextSpaceAt(text, 2, kUnicode));
    EXPECT_FALSE(IsItemTextSpaceAt(text, 1, kUnicode));
    EXPECT_FALSE(IsItemTextSpaceAt(text, 4, kUnicode));
    EXPECT_FALSE(IsItemTextSpaceAt(text, 0, kUnicode));
    // U+2000 has the byte 0x20 in its high half only: not a space.
    EXPECT_FALSE(IsItemTextSpaceAt(Raw(u"\u2000"), 1, kUnicode));
    EXPECT_TRUE(IsItemTextSpaceAt("a b", 2, kAnsi));
}

TEST(VDUnicodeItemText, CopyDeleteInsertClampLikeTheStringRoutines) {
    const TVDRawByteString text = Raw(u"abcdef");
    EXPECT_EQ(CopyItemText(text, 2, 3, kUnicode), Raw(u"bcd"));
    EXPECT_EQ(CopyItemText(text, 0, 2, kUnicode), Raw(u"ab"));
    EXPECT_EQ(CopyItemText(text, 5, 100, kUnicode), Raw(u"ef"));
    EXPECT_EQ(CopyItemText(text, 7, 1, kUnicode), "");
    EXPECT_EQ(CopyItemText("abcdef", 3, 2, kAnsi), "cd");

    TVDRawByteString t = Raw(u"abcdef");
    DeleteItemText(t, 2, 2, kUnicode);
    EXPECT_EQ(t, Raw(u"adef"));
    DeleteItemText(t, 9, 2, kUnicode); // past the end: nothing
    EXPECT_EQ(t, Raw(u"adef"));
    DeleteItemText(t, 3, 100, kUnicode);
    EXPECT_EQ(t, Raw(u"ad"));

    InsertItemText(Raw(u"XY"), t, 2, kUnicode);
    EXPECT_EQ(t, Raw(u"aXYd"));
    InsertItemText(Raw(u"!"), t, 99, kUnicode); // past the end: appended
    EXPECT_EQ(t, Raw(u"aXYd!"));
    std::string a = "abc";
    InsertItemText("-", a, 1, kAnsi);
    EXPECT_EQ(a, "-abc");
}

TEST(VDUnicodeConversion, CyrillicGoesTo1251AndBack) {
    const std::u16string text = u"Отчет ЗЕМБРАК ё";
    const TVDAnsiString ansi = RawUnicodeToAnsi(1251, Raw(text));
    EXPECT_EQ(ansi, Bytes({0xCE, 0xF2, 0xF7, 0xE5, 0xF2, 0x20, 0xC7, 0xC5, 0xCC, 0xC1, 0xD0, 0xC0,
                           0xCA, 0x20, 0xB8}));
    EXPECT_EQ(RawUnicodeToString(AnsiToRawUnicode(1251, ansi)), text);
    // Code page 0 is the system's ANSI code page, 1251.
    EXPECT_EQ(RawUnicodeToAnsi(0, Raw(text)), ansi);
    EXPECT_EQ(ItemTextToString(ansi, false, 0), text);
    EXPECT_EQ(StringToItemText(text, false, 1251), ansi);
    EXPECT_EQ(StringToItemText(text, true, 1251), Raw(text));
    // Code page 2 is the Macintosh code page of a Russian system (Mac Cyrillic).
    EXPECT_EQ(RawUnicodeToString(AnsiToRawUnicode(2, "\x80\xDF")), u"Ая");
}

TEST(VDUnicodeConversion, UnconvertibleCharactersBecomeQuestionMarks) {
    EXPECT_EQ(RawUnicodeToAnsi(1252, Raw(u"Да!")), "?"
                                                   "?!");
    EXPECT_EQ(RawUnicodeToAnsi(1251, Raw(u"é€")), "?\x88");
    // An unknown code page falls back to the ANSI code page.
    EXPECT_EQ(RawUnicodeToAnsi(4242, Raw(u"Да")), "\xC4\xE0");
    EXPECT_EQ(RawUnicodeToString(AnsiToRawUnicode(4242, "\xC4\xE0")), u"Да");
    EXPECT_EQ(RawUnicodeToAnsi(1251, ""), "");
    EXPECT_EQ(AnsiToRawUnicode(1251, ""), "");
    EXPECT_FALSE(CanConvertToCodePage(Raw(u"abc"), 1252));
}

TEST(VDUnicodeConversion, OddRawLengthIsRefused) {
    for (auto call : std::vector<void (*)()>{
             [] { RawUnicodeToString("abc"); },
             [] { RawUnicodeToAnsi(0, "abc"); },
             [] { ItemTextToString("abc", true, 0); },
             [] { RawUnicodeToHTMLUTF8("abc", true, false); },
         }) {
        try {
            call();
            FAIL() << "no error";
        } catch (const EViziVoduError &e) {
            EXPECT_EQ(e.Message(), u"Can't perform Unicode operation");
        }
    }
}

TEST(VDUnicodeConversion, SymbolFontsLiveInThePrivateUseRange) {
    EXPECT_EQ(SymbolAnsiToRawUnicode("\x41\xB7"), Bytes({0x41, 0xF0, 0xB7, 0xF0}));
    EXPECT_EQ(UnicodeRawToSymbolAnsi(Raw(u"\uF041Я\uF0B7\uF123")), "A\xDF\xB7");
    EXPECT_EQ(AnsiToUTF8(1251, "\xC4\xE0"), "Да");
}

TEST(VDUnicodeConversion, ByteOrderSignatures) {
    char16_t swapped[] = {0xFFFE, 0x4100};
    char16_t *p = swapped;
    SkipUnicodeByteOrderMark(p, 2);
    EXPECT_EQ(p, swapped + 1);
    EXPECT_EQ(*p, u'A');

    char16_t plain[] = {0xFEFF, u'B'};
    p = plain;
    SkipUnicodeByteOrderMark(p, 2);
    EXPECT_EQ(*p, u'B');

    char16_t none[] = {u'C'};
    p = none;
    SkipUnicodeByteOrderMark(p, 1);
    EXPECT_EQ(p, none);
    SkipUnicodeByteOrderMark(p, 0);
    EXPECT_EQ(p, none);
}

TEST(VDUnicodeCharsets, CodePagesOfCharsets) {
    const std::vector<std::pair<int, TVDCodePage>> cases = {
        {0, 1252},   {254, 1252}, {1, 0},      {2, 0},      {77, 2},     {128, 932},
        {129, 949},  {130, 1361}, {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
        {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},
        {238, 1250}, {255, 1},    {3, 0},      {100, 0}};
    for (const auto &[charset, codePage] : cases) {
        EXPECT_EQ(CharsetToCodePage(static_cast<uint8_t>(charset)), codePage) << charset;
    }
}

TEST(VDUnicodeCharsets, LanguagesAndLocalesOfCharsets) {
    const std::vector<std::pair<int, uint16_t>> cases = {
        {0, 0},      {1, 0},      {178, 0},    {186, 0},    {238, 0},    {128, 1041}, {129, 1042},
        {130, 2066}, {134, 2052}, {136, 1028}, {161, 1032}, {162, 1055}, {163, 1066}, {177, 1037},
        {204, 1049}, {222, 1054}, {2, 1024},   {77, 1024},  {255, 1024}, {5, 1024}};
    for (const auto &[charset, language] : cases) {
        EXPECT_EQ(CharsetToLanguage(static_cast<uint8_t>(charset)), language) << charset;
    }
    EXPECT_EQ(LanguageToLocale(0), 0x400u);
    EXPECT_EQ(LanguageToLocale(CharsetToLanguage(204)), 1049u | 0x400u);
    EXPECT_EQ(MakeLanguageId(0x19, 1), 0x419);
    EXPECT_EQ(MakeLocaleId(0x419, 2), 0x20419u);
    EXPECT_FALSE(IsDBCSCodePage());
    EXPECT_EQ(GetKeyboardCodePage(), 1251u);
}

TEST(VDUnicodeProbes, StringsAreProbedForUTF16) {
    EXPECT_EQ(TestStringForUnicode(""), 3);
    EXPECT_EQ(TestStringForUnicode("abc"), 0);
    EXPECT_EQ(TestStringForUnicode(Bytes({0x61, 0x00})), 2); // only bytes after the first two
    EXPECT_EQ(TestStringForUnicode(Bytes({0xFF, 0xFE, 0x41, 0x00})), 1);
    EXPECT_EQ(TestStringForUnicode(Bytes({0xFE, 0xFF, 0x00, 0x41})), 1);
    EXPECT_EQ(TestStringForUnicode("abcd"), 2);
    EXPECT_EQ(TestStringForUnicode(Bytes({0x61, 0x62, 0x00, 0x63})), 1);
    // A zero byte beyond the first 500 bytes is not seen.
    std::string late(600, 'a');
    late[550] = '\0';
    EXPECT_EQ(TestStringForUnicode(late), 2);
}

TEST(VDUnicodeProbes, UTF8SignatureNeedsThreeBytes) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer("\xEF\xBB\xBFx", 4);
    stream.SetPosition(0);
    EXPECT_TRUE(StreamHasUTF8ByteOrderMark(stream));
    rtl::TMemoryStream shortStream;
    shortStream.WriteBuffer("\xEF\xBB", 2);
    shortStream.SetPosition(0);
    EXPECT_FALSE(StreamHasUTF8ByteOrderMark(shortStream));
    EXPECT_FALSE(FileHasUTF8ByteOrderMark(u"/nonexistent/file.txt"));
    EXPECT_EQ(TestFileForUnicode(u"/nonexistent/file.txt"), 4);
}

TEST(VDUnicodeSearch, WideCharactersAndSubstrings) {
    const std::u16string text = u"abcabd";
    EXPECT_EQ(ScanWideChar(text.data(), u'c', 6), text.data() + 2);
    EXPECT_EQ(ScanWideChar(text.data(), u'z', 6), nullptr);
    EXPECT_EQ(ScanWideChar(nullptr, u'a', 6), nullptr);
    EXPECT_EQ(FindWideSubString(text.data(), u"abd", 6, 3), text.data() + 3);
    EXPECT_EQ(FindWideSubString(text.data(), u"abz", 6, 3), nullptr);
    EXPECT_EQ(FindWideSubString(text.data(), u"abc", 6, 0), nullptr);
    EXPECT_EQ(FindWideSubString(text.data(), u"abcabdx", 6, 7), nullptr);
}

TEST(VDUnicodeHtml, RunsOfSpacesAlternateWithNonBreakingOnes) {
    EXPECT_EQ(RawUnicodeToHTMLWithEntities(Raw(u"   "), false, false), " &nbsp; ");
    EXPECT_EQ(RawUnicodeToHTMLWithEntities(Raw(u"   "), false, true), " &nbsp;&nbsp;");
    EXPECT_EQ(RawUnicodeToHTMLWithEntities(Raw(u"é"), false, false), "&#233;");
    EXPECT_EQ(RawUnicodeToHTMLWithEntities(Raw(u"a<b>&\u00A0"), false, false),
              "a&lt;b&gt;&amp;&nbsp;");
    EXPECT_EQ(RawUnicodeToHTMLWithEntities(Raw(u"a<b"), true, false), "a<b");
    EXPECT_EQ(RawUnicodeToHTMLWithEntities(Raw(u"\U0001F600"), false, false), "&#55357;&#56832;");

    EXPECT_EQ(RawUnicodeToHTMLUTF8(Raw(u"Да   <б>"), false, false), "Да &nbsp; &lt;б&gt;");
    EXPECT_EQ(RawUnicodeToHTMLUTF8(Raw(u"а "), false, true), "а&nbsp;");
    EXPECT_EQ(RawUnicodeToHTMLUTF8(Raw(u"а "), false, false), "а ");
    EXPECT_EQ(RawUnicodeToHTMLUTF8(Raw(u"<&>"), true, false), "<&>");
    EXPECT_EQ(GetHTMLEntity(u'x'), "");
    bool pending = true;
    EXPECT_EQ(AnsiCharToHTML(' ', pending, false, false), "&nbsp;");
    EXPECT_FALSE(pending);
}

TEST(VDUnicodeDisplay, SoftHyphensAndInvisibleCharacters) {
    const TVDDrawTextForm unicode{true, false, true};
    const TVDRawByteString word = Raw(u"co\u00ADop");
    EXPECT_EQ(GetTextForDrawing(word, unicode, false, false, true, false), Raw(u"coop"));
    EXPECT_EQ(GetTextForDrawing(word, unicode, false, false, false, true), Raw(u"co\u00ACop"));
    // With the soft-hyphen member of the shown set off, nothing is shown.
    const TVDDrawTextForm hidden{true, false, false};
    EXPECT_EQ(GetTextForDrawing(word, hidden, false, false, false, true), word);
    EXPECT_EQ(GetTextForDrawing(Raw(u"co\u00AD"), unicode, true, false, false, false), Raw(u"co-"));
    EXPECT_EQ(GetTextForDrawing(Raw(u"a\u2011b"), unicode, false, false, false, false),
              Raw(u"a-b"));
    EXPECT_EQ(GetTextForDrawing(word, unicode, false, true, true, true), word); // NoChange
    // Zero-width spaces stay on this platform.
    EXPECT_EQ(GetTextForDrawing(Raw(u"a\u200Bb"), unicode, false, false, true, false),
              Raw(u"a\u200Bb"));
}

TEST(VDUnicodeDisplay, RemovalsKeepPositionsInStep) {
    const TVDDrawTextForm unicode{true, false, true};
    int32_t pos1 = 5; // before "p" of "co-o-p" with two soft hyphens
    int32_t pos2 = 2;
    const TVDRawByteString shown = GetTextForDrawingEx(Raw(u"c\u00ADo\u00ADop"), unicode, false,
                                                       pos1, pos2, false, true, false);
    EXPECT_EQ(shown, Raw(u"coop"));
    EXPECT_EQ(pos1, 3);
    EXPECT_EQ(pos2, 2);
}

TEST(VDUnicodeDisplay, AllCapsKeepsTheLength) {
    EXPECT_EQ(GetTextForDrawing(Raw(u"отчёт ß"), {true, true, true}, false, false, false, false),
              Raw(u"ОТЧЁТ ß"));
    EXPECT_EQ(GetTextForDrawing("\xEE\xF2\xF7\xB8\xF2 \xB5", {false, true, true}, false, false,
                                false, false),
              "\xCE\xD2\xD7\xA8\xD2 \xB5");
}

TEST(VDUnicodeDirection, FirstAndLastStrongCharactersGiveTheDirections) {
    struct TCase {
        std::u16string Text;
        TVDBiDiMode Start, End;
    };
    // Hebrew alef (R), Arabic alef (AL); digits, spaces and punctuation have no strong direction.
    const TCase cases[] = {
        {u"abc", vdbdLeftToRight, vdbdLeftToRight},
        {u"\u05D0 abc", vdbdRightToLeft, vdbdLeftToRight},
        {u"12 abc \u0627.", vdbdLeftToRight, vdbdRightToLeft},
        {u" 1\u05D0", vdbdRightToLeft, vdbdRightToLeft},
        {u"12, (3)", vdbdUnspecified, vdbdUnspecified},
        {u"", vdbdUnspecified, vdbdUnspecified},
    };
    for (const TCase &c : cases) {
        TVDBiDiMode start = vdbdUnspecified, end = vdbdUnspecified;
        GetStrongDirections(c.Text, start, end);
        EXPECT_EQ(start, c.Start) << rtl::Utf16ToUtf8(c.Text);
        EXPECT_EQ(end, c.End) << rtl::Utf16ToUtf8(c.Text);
    }
    // Without a strong character the directions given stay.
    TVDBiDiMode start = vdbdRightToLeft, end = vdbdLeftToRight;
    GetStrongDirections(u"123", start, end);
    EXPECT_EQ(start, vdbdRightToLeft);
    EXPECT_EQ(end, vdbdLeftToRight);
}

TEST(VDUnicodeLineBreak, ClassesOfRepresentativeUnits) {
    const std::vector<std::pair<char16_t, int>> cases = {
        {u'(', 0},    {u'[', 0},    {u'{', 0},    {0x3008, 1},  {u')', 2},    {0xFF64, 2},
        {u'"', 3},    {0x00BB, 3},  {0x00A0, 4},  {0xFEFF, 4},  {0x3005, 5},  {u'?', 6},
        {u'/', 7},    {u'+', 9},    {u'\\', 9},   {0x20AC, 9},  {0x20A7, 10}, {u'%', 10},
        {u'0', 11},   {u'9', 11},   {0x0669, 11}, {u'a', 12},   {u' ', 12},   {0xD800, 12},
        {0xE000, 12}, {u'!', 13},   {u',', 13},   {u'.', 13},   {u';', 13},   {0x0589, 13},
        {0x4E00, 14}, {0xAC00, 14}, {0x2026, 15}, {u'-', 16},   {u'\t', 17},  {0x00AD, 17},
        {0x00B4, 18}, {0x2014, 19}, {0x200B, 20}, {0x0000, 21}, {0x0301, 21}, {0xFFFB, 21}};
    for (const auto &[ch, cls] : cases) {
        EXPECT_EQ(GetLineBreakClass(ch), cls) << std::hex << static_cast<int>(ch);
    }
}

TEST(VDUnicodeLineBreak, PairsOfTheWorkedCases) {
    EXPECT_EQ(GetLineBreakPair(12, 13), 1); // letter before comma needs a space
    EXPECT_EQ(GetLineBreakPair(13, 12), 1);
    EXPECT_EQ(GetLineBreakPair(12, 0), 1);
    EXPECT_EQ(GetLineBreakPair(12, 1), 0);
    EXPECT_EQ(GetLineBreakPair(14, 14), 0);
    for (uint8_t before = 0; before < LineBreakClassCount; ++before) {
        EXPECT_EQ(GetLineBreakPair(before, 6) == 2 && GetLineBreakPair(before, 2) == 2,
                  before != 20)
            << static_cast<int>(before);
    }
}

TEST(VDUnicodeLineBreak, LastBreakSearchesBackwards) {
    struct Case {
        std::u16string text;
        int32_t index;
        bool skipSpace;
        bool fromSpaceRun;
        int32_t expected; // index of the line's last unit, -1 for none
    };
    const std::vector<Case> cases = {
        {u"a,b", 2, false, false, -1},     // no break around a comma without spaces
        {u"a, b", 3, false, false, 2},     // after the comma and its space
        {u"ab  cd", 4, false, false, 3},   // trailing spaces belong to the line
        {u"a(b", 2, false, false, -1},     // letter before an ASCII bracket
        {u"a\u3008b", 1, false, false, 0}, // letter before U+3008
        {u"\u4E00\u4E01", 1, false, false, 0},
        {u"a\u200B)", 2, false, false, 1}, // a closing bracket after ZW
        {u"ab c ", 4, true, false, 2},     // the space at the index is skipped first
        {u"a ", 1, true, false, -1},       // skipping it reaches the start
        {u"ab cd  ", 6, false, true, 2},   // from a run of spaces: back to "d" first
    };
    for (const Case &c : cases) {
        const char16_t *found =
            FindLastLineBreak(c.text.data(), c.index, c.skipSpace, c.fromSpaceRun);
        const int32_t at = found ? static_cast<int32_t>(found - c.text.data()) : -1;
        EXPECT_EQ(at, c.expected) << rtl::Utf16ToUtf8(c.text);
    }
}

TEST(VDUnicodeLineBreak, FirstBreakOfAContinuingText) {
    char16_t last = u'x';
    EXPECT_EQ(FindFirstLineBreak("", u'a', false, last), 0);
    EXPECT_EQ(last, u'x'); // untouched
    EXPECT_EQ(FindFirstLineBreak(Raw(u"   "), 0, false, last), 0);
    EXPECT_EQ(last, u' ');
    EXPECT_EQ(FindFirstLineBreak(Raw(u"word  next"), 0, false, last), 4);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(FindFirstLineBreak(Raw(u"word"), 0, false, last), 4);
    EXPECT_EQ(last, u'd');
    EXPECT_EQ(FindFirstLineBreak(Raw(u"ab, "), 0, false, last), 3);
    EXPECT_EQ(last, u',');
    // After a space before the text, a break before it is possible.
    EXPECT_EQ(FindFirstLineBreak(Raw(u"next word"), u'a', true, last), -1);
    EXPECT_EQ(FindFirstLineBreak(Raw(u"next word"), u'a', false, last), 4);
    // A break right at the start without a space before it gives position 0.
    EXPECT_EQ(FindFirstLineBreak(Raw(u"\u4E01x"), u'\u4E00', false, last), 0);
    EXPECT_EQ(FindFirstLineBreak(Raw(u"\u4E01x"), u'\u4E00', true, last), -1);
}
