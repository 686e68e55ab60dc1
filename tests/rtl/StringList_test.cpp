// String lists: text form, index and sorted-list errors, name=value pairs, and reading and
// writing files in every encoding and line-end style.
#include "platform/rtl/StringList.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace rtl;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtl_sl_XXXXXX").string();
        FPath = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(FPath); }
    std::string File(const std::string &name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<UnicodeString> Lines(const TStrings &list) {
    std::vector<UnicodeString> lines;
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        lines.push_back(list.Get(i));
    }
    return lines;
}

// The Russian sample, as UTF-16 and as its CP1251 bytes written out by hand.
const std::vector<UnicodeString> kRussian = {
    u"Съешь же ещё этих мягких французских булок",
    u"ЁЛКА №5 — «ёлка»",
    u"",
    u"Последняя строка: Ъъ Яя",
};
const std::vector<std::string> kRussian1251 = {
    "\xd1\xfa\xe5\xf8\xfc\x20\xe6\xe5\x20\xe5\xf9\xb8\x20\xfd\xf2\xe8\xf5\x20\xec\xff\xe3\xea\xe8"
    "\xf5\x20\xf4\xf0\xe0\xed\xf6\xf3\xe7\xf1\xea\xe8\xf5\x20\xe1\xf3\xeb\xee\xea",
    "\xa8\xcb\xca\xc0\x20\xb9\x35\x20\x97\x20\xab\xb8\xeb\xea\xe0\xbb",
    "",
    "\xcf\xee\xf1\xeb\xe5\xe4\xed\xff\xff\x20\xf1\xf2\xf0\xee\xea\xe0\x3a\x20\xda\xfa\x20\xdf\xff",
};

std::string Utf16Bytes(const UnicodeString &text, bool bigEndian) {
    std::string bytes;
    for (const char16_t ch : text) {
        const char hi = static_cast<char>(ch >> 8);
        const char lo = static_cast<char>(ch & 0xFF);
        bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
}

enum class FileKind { Ansi1251, Utf8Bom, Utf16LeBom, Utf16BeBom };

// The sample file's bytes in one encoding, every line ended by lineEnd.
std::string SampleFile(FileKind kind, const std::u16string &lineEnd) {
    std::string bytes;
    for (size_t i = 0; i < kRussian.size(); ++i) {
        const UnicodeString line = kRussian[i] + lineEnd;
        switch (kind) {
        case FileKind::Ansi1251:
            bytes += kRussian1251[i] + Utf16ToUtf8(lineEnd);
            break;
        case FileKind::Utf8Bom:
            bytes += Utf16ToUtf8(line);
            break;
        case FileKind::Utf16LeBom:
            bytes += Utf16Bytes(line, false);
            break;
        case FileKind::Utf16BeBom:
            bytes += Utf16Bytes(line, true);
            break;
        }
    }
    const char *bom[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    return bom[static_cast<int>(kind)] + bytes;
}

TStringList Sorted(TDuplicates duplicates) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(duplicates);
    return list;
}

} // namespace

TEST(StringListFile, ReadsTheSampleInEveryEncodingAndLineEnd) {
    TempFolder folder;
    const FileKind kinds[] = {FileKind::Ansi1251, FileKind::Utf8Bom, FileKind::Utf16LeBom,
                              FileKind::Utf16BeBom};
    const std::u16string lineEnds[] = {u"\r\n", u"\n", u"\r"};
    for (const FileKind kind : kinds) {
        for (const std::u16string &lineEnd : lineEnds) {
            const std::string name = "sample_" + std::to_string(static_cast<int>(kind)) + "_" +
                                     std::to_string(lineEnd.size() + lineEnd[0]) + ".txt";
            WriteBytes(folder.File(name), SampleFile(kind, lineEnd));
            TStringList list;
            list.LoadFromFile(Utf8ToUtf16(folder.File(name)));
            EXPECT_EQ(Lines(list), kRussian) << name;
        }
    }
}

TEST(StringListFile, RemembersTheEncodingReadAndWritesItBack) {
    struct Case {
        FileKind kind;
        TEncoding expected;
    } cases[] = {
        {FileKind::Ansi1251, TEncoding::ANSI()},
        {FileKind::Utf8Bom, TEncoding::UTF8()},
        {FileKind::Utf16LeBom, TEncoding::Unicode()},
        {FileKind::Utf16BeBom, TEncoding::BigEndianUnicode()},
    };
    TempFolder folder;
    for (const Case &c : cases) {
        const std::string bytes = SampleFile(c.kind, u"\r\n");
        WriteBytes(folder.File("in.txt"), bytes);
        TStringList list;
        list.LoadFromFile(Utf8ToUtf16(folder.File("in.txt")));
        EXPECT_TRUE(list.GetEncoding() == c.expected);
        list.SaveToFile(Utf8ToUtf16(folder.File("out.txt")));
        EXPECT_EQ(ReadBytes(folder.File("out.txt")), bytes) << static_cast<int>(c.kind);
    }
}

TEST(StringListFile, SavesAnsiByDefaultAndInAnEncodingOnRequest) {
    TempFolder folder;
    TStringList list;
    for (const UnicodeString &line : kRussian) {
        list.Add(line);
    }
    list.SaveToFile(Utf8ToUtf16(folder.File("ansi.txt")));
    EXPECT_EQ(ReadBytes(folder.File("ansi.txt")), SampleFile(FileKind::Ansi1251, u"\r\n"));

    list.SaveToFile(Utf8ToUtf16(folder.File("utf8.txt")), TEncoding::UTF8());
    EXPECT_EQ(ReadBytes(folder.File("utf8.txt")), SampleFile(FileKind::Utf8Bom, u"\r\n"));

    list.SetWriteBOM(false);
    list.SaveToFile(Utf8ToUtf16(folder.File("be.txt")), TEncoding::BigEndianUnicode());
    EXPECT_EQ(ReadBytes(folder.File("be.txt")),
              SampleFile(FileKind::Utf16BeBom, u"\r\n").substr(2));
}

TEST(StringListFile, AnEncodingPassedInSkipsItsOwnSignatureOnly) {
    TMemoryStream stream;
    const std::string bytes = "\xEF\xBB\xBF\xD0\xAF\r\n";
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));

    TStringList list;
    stream.SetPosition(0);
    list.LoadFromStream(stream, TEncoding::UTF8());
    EXPECT_EQ(Lines(list), std::vector<UnicodeString>{u"Я"});

    stream.SetPosition(0);
    list.LoadFromStream(stream, TEncoding::ANSI());
    EXPECT_EQ(Lines(list), std::vector<UnicodeString>{u"п»їРЇ"});
}

TEST(StringListFile, LoadsFromTheStreamPositionOn) {
    TMemoryStream stream;
    const std::string bytes = "skip\r\nkeep\r\n";
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(6);
    TStringList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(Lines(list), std::vector<UnicodeString>{u"keep"});
}

TEST(StringListFile, AMissingFileRaisesTheOpenError) {
    TempFolder folder;
    const UnicodeString name = Utf8ToUtf16(folder.File("base.info"));
    TStringList list;
    try {
        list.LoadFromFile(name);
        FAIL() << "no exception";
    } catch (const EFOpenError &e) {
        EXPECT_EQ(e.Message(),
                  u"Cannot open file \"" + name + u"\". Не удается найти указанный файл");
    }
}

TEST(StringListText, SplitsAtEveryLineEndStyle) {
    struct Case {
        UnicodeString text;
        std::vector<UnicodeString> lines;
    } cases[] = {
        {u"", {}},
        {u"a", {u"a"}},
        {u"a\r\n", {u"a"}},
        {u"a\r\n\r\n", {u"a", u""}},
        {u"\n", {u""}},
        {u"\r\r\n", {u"", u""}},
        {u"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
        {u"a\n\rb", {u"a", u"", u"b"}},
    };
    for (const Case &c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << Utf16ToUtf8(c.text);
    }
}

TEST(StringListText, JoinsWithCrLfAfterEveryLine) {
    TStringList list;
    EXPECT_EQ(list.GetText(), u"");
    list.Add(u"a");
    list.Add(u"");
    list.Add(u"б");
    EXPECT_EQ(list.GetText(), u"a\r\n\r\nб\r\n");
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TStringList list;
    list.Add(u"x");
    list.Add(u"y");
    const auto expectIndexError = [](auto &&call, const UnicodeString &message) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const EStringListError &e) {
            EXPECT_EQ(e.Message(), message);
        }
    };
    expectIndexError([&] { (void)list.Get(2); }, u"List index out of bounds (2)");
    expectIndexError([&] { (void)list[-1]; }, u"List index out of bounds (-1)");
    expectIndexError([&] { list.Put(5, u"z"); }, u"List index out of bounds (5)");
    expectIndexError([&] { list.Delete(2); }, u"List index out of bounds (2)");
    expectIndexError([&] { list.Insert(3, u"z"); }, u"List index out of bounds (3)");
    list.Insert(2, u"z");
    list.Insert(0, u"w");
    list.Delete(1);
    EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"w", u"y", u"z"}));
}

TEST(StringListSorted, AddKeepsOrderAndHonoursDuplicates) {
    TStringList ignoring = Sorted(dupIgnore);
    for (const char16_t *s : {u"вишня", u"Абрикос", u"banana", u"Apple", u"БАНАН"}) {
        ignoring.Add(s);
    }
    EXPECT_EQ(Lines(ignoring),
              (std::vector<UnicodeString>{u"Apple", u"banana", u"Абрикос", u"БАНАН", u"вишня"}));
    EXPECT_EQ(ignoring.Add(u"APPLE"), 0);
    EXPECT_EQ(ignoring.GetCount(), 5);

    TStringList accepting = Sorted(dupAccept);
    accepting.Add(u"b");
    accepting.Add(u"a");
    accepting.Add(u"b");
    EXPECT_EQ(Lines(accepting), (std::vector<UnicodeString>{u"a", u"b", u"b"}));

    TStringList refusing = Sorted(dupError);
    refusing.Add(u"ECG0001");
    try {
        refusing.Add(u"ecg0001");
        FAIL() << "no exception";
    } catch (const EStringListError &e) {
        EXPECT_EQ(e.Message(), u"Duplicates not allowed");
    }
}

TEST(StringListSorted, RefusesPositionalChanges) {
    TStringList list = Sorted(dupIgnore);
    list.Add(u"a");
    for (auto call :
         {+[](TStringList &l) { l.Insert(0, u"b"); }, +[](TStringList &l) { l.Put(0, u"b"); }}) {
        try {
            call(list);
            ADD_FAILURE() << "no exception";
        } catch (const EStringListError &e) {
            EXPECT_EQ(e.Message(), u"Operation not allowed on sorted list");
        }
    }
}

TEST(StringListSorted, FindGivesThePositionOrTheInsertionPoint) {
    TStringList list = Sorted(dupAccept);
    for (const char16_t *s : {u"b", u"d", u"d", u"f"}) {
        list.Add(s);
    }
    struct Case {
        UnicodeString s;
        bool found;
        int32_t index;
    } cases[] = {
        {u"a", false, 0}, {u"b", true, 0}, {u"D", true, 1}, {u"e", false, 3}, {u"g", false, 4}};
    for (const Case &c : cases) {
        int32_t index = -1;
        EXPECT_EQ(list.Find(c.s, index), c.found) << Utf16ToUtf8(c.s);
        EXPECT_EQ(index, c.index) << Utf16ToUtf8(c.s);
    }
}

TEST(StringList, ComparesWithoutCaseUnlessAsked) {
    TStringList list;
    list.Add(u"ECG0001");
    list.Add(u"ёлка");
    EXPECT_EQ(list.IndexOf(u"ecg0001"), 0);
    EXPECT_EQ(list.IndexOf(u"ЁЛКА"), 1);
    EXPECT_EQ(list.IndexOf(u"елка"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"ecg0001"), -1);
    EXPECT_EQ(list.IndexOf(u"ECG0001"), 0);

    TStringList cased;
    cased.SetCaseSensitive(true);
    for (const char16_t *s : {u"b", u"B", u"a", u"A"}) {
        cased.Add(s);
    }
    cased.Sort();
    EXPECT_EQ(Lines(cased), (std::vector<UnicodeString>{u"a", u"A", u"b", u"B"}));
}

TEST(StringListValues, ReadsAndWritesNameValuePairs) {
    TStringList list;
    list.Add(u"Звание=Профессор");
    list.Add(u"no separator");
    list.Add(u"ФИО=Иванов И.И.=старший");
    EXPECT_EQ(list.GetName(0), u"Звание");
    EXPECT_EQ(list.GetName(1), u"");
    EXPECT_EQ(list.GetValueFromIndex(2), u"Иванов И.И.=старший");
    EXPECT_EQ(list.GetValue(u"фио"), u"Иванов И.И.=старший");
    EXPECT_EQ(list.GetValue(u"missing"), u"");
    EXPECT_EQ(list.IndexOfName(u"no separator"), -1);

    list.SetValue(u"ЗВАНИЕ", u"Доцент");
    list.SetValue(u"Новое", u"1");
    list.SetValue(u"ФИО", u"");
    EXPECT_EQ(Lines(list),
              (std::vector<UnicodeString>{u"ЗВАНИЕ=Доцент", u"no separator", u"Новое=1"}));
}

TEST(StringList, AssignCopiesTheStrings) {
    TStringList source;
    source.SetText(u"one\r\ntwo");
    TStringList copy;
    copy.Add(u"old");
    copy.Assign(source);
    EXPECT_EQ(Lines(copy), Lines(source));
}

TEST(StringListSorted, SortingAnExistingListKeepsEqualStringsInOrder) {
    TStringList list;
    for (const char16_t *s : {u"b", u"A", u"a", u"B", u"c"}) {
        list.Add(s);
    }
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"A", u"a", u"b", u"B", u"c"}));
    list.SetCaseSensitive(true);
    EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"a", u"A", u"b", u"B", u"c"}));
    EXPECT_EQ(list.IndexOf(u"B"), 3);
}
