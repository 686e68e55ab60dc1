// Tests of loading "base.info", reading and scoring "Result.txt", the messages a user can cause
// and the reset state after each of them.
#include "app/core/UWorkbenchData.h"

#include "WorkbenchFixture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

#include <fstream>

#include <map>

namespace workbench {
namespace {

using namespace workbench::testing;

// The four-ECG database most tests use.
std::vector<UnicodeString> SmallDatabase() {
    return {BaseInfoLine(u"E1", {1, 4}), BaseInfoLine(u"E2", {1, 22}), BaseInfoLine(u"E3", {}),
            BaseInfoLine(u"E4", {2, 4, 30})};
}

class WorkbenchData : public ::testing::Test {
protected:
    void LoadDatabase(const std::vector<UnicodeString> &lines,
                      TFileEncoding encoding = TFileEncoding::feAnsi) {
        WriteLines(Folder.Path() / "base.info", lines, encoding);
        const TLoadResult result = Data.LoadReferenceDatabase(Folder.Name());
        ASSERT_TRUE(result.Ok) << rtl::Utf16ToUtf8(result.Message);
    }
    TResultOutcome Reload(const std::vector<UnicodeString> &lines,
                          TFileEncoding encoding = TFileEncoding::feAnsi) {
        WriteLines(Folder.Path() / "Result.txt", lines, encoding);
        return Data.ReloadResult(ResultPath());
    }
    // The reference codes of the named ECG (which must exist).
    TCodeList Reference(const UnicodeString &name) const {
        const int32_t index = Data.IndexOfEcg(name);
        EXPECT_GE(index, 0) << rtl::Utf16ToUtf8(name);
        return index < 0 ? TCodeList{} : Data.GetReferenceCodes(index);
    }
    UnicodeString ResultPath() const { return Folder.File("Result.txt"); }
    UnicodeString BaseInfoPath() const { return Folder.File("base.info"); }

    // Every code's counters, compared whole; codes not listed expect zeros with the given
    // number of true negatives.
    void ExpectCounters(const std::map<int32_t, TCodeCounters> &expected, int32_t defaultTN) {
        for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
            const auto it = expected.find(c);
            const TCodeCounters want =
                it != expected.end() ? it->second : TCodeCounters{0, 0, 0, 0, 0, defaultTN};
            EXPECT_EQ(Data.GetDiaStat()[c], want) << "code " << c;
        }
    }
    // The reset state: reference counts kept, counters 1 to 5 zero, no results.
    void ExpectResetState(const std::map<int32_t, int32_t> &referenceCounts) {
        EXPECT_FALSE(Data.IsScored());
        EXPECT_TRUE(Data.GetResultBook().empty());
        for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
            const auto it = referenceCounts.find(c);
            const TCodeCounters want = {
                it != referenceCounts.end() ? it->second : 0, 0, 0, 0, 0, 0};
            EXPECT_EQ(Data.GetDiaStat()[c], want) << "code " << c;
        }
        for (const UnicodeString &name : Data.GetDBBook()) {
            EXPECT_EQ(Data.GetResultCodes(Data.IndexOfEcg(name)), TCodeList{});
            EXPECT_EQ(Data.ResultCodesText(name), u"");
            EXPECT_EQ(Data.ResultDescriptionsText(name), u"");
        }
    }
    const std::map<int32_t, int32_t> SmallReferenceCounts = {
        {1, 2}, {2, 1}, {4, 2}, {22, 1}, {30, 1}};

    TTempFolder Folder;
    TWorkbenchData Data;
};

// ---------------------------------------------------------------------------------------------
// Reference database

TEST(BaseInfoKey, DerivedFromSeed) {
    // "KELVORATHIN" shifted right by 1 (even positions) and 2 (odd positions).
    const TBaseInfoKey expected = {75 >> 1, 69 >> 2, 76 >> 1, 86 >> 2, 79 >> 1, 82 >> 2,
                                   65 >> 1, 84 >> 2, 72 >> 1, 73 >> 2, 78 >> 1};
    EXPECT_EQ(MakeBaseInfoKey(), expected);
}

TEST_F(WorkbenchData, LoadsNamesCodesAndReferenceCounts) {
    LoadDatabase(SmallDatabase());
    EXPECT_TRUE(Data.IsDatabaseLoaded());
    EXPECT_EQ(Data.GetDBBook(), (TNameBook{u"E1", u"E2", u"E3", u"E4"}));
    EXPECT_EQ(Data.GetDBCount(), 4);
    EXPECT_EQ(Reference(u"E1"), (TCodeList{1, 4}));
    EXPECT_EQ(Reference(u"E3"), TCodeList{});
    EXPECT_EQ(Reference(u"E4"), (TCodeList{2, 4, 30}));
    ExpectResetState(SmallReferenceCounts);
}

TEST_F(WorkbenchData, ReferenceLineEdgeCases) {
    const UnicodeString payload = Payload({5, 6});
    LoadDatabase({
        BaseInfoLine(u"ZERO", {}),                  // all 11 bytes decode to 0
        BaseInfoLine(u"TWICE", {3, 7, 3, 0, 7, 3}), // repeats enter once, order kept
        BaseInfoLine(u"FILL1", {8}, u"12345"),      // characters 11 to 15 are ignored
        BaseInfoLine(u"FILL2", {8}, u"A/+=="),      // ...even when they look like Base64
        u"  TEN     ",                              // exactly 10 characters: no payload
        u"  SHORT",                                 // shorter than 10: the trimmed text
        LineHead(u"GAPS") + payload.substr(0, 5) + u" \t=" + payload.substr(5, 10), // skipped
        UnicodeString(u"1234567890ABCDE") + Payload({6}), // a name of exactly 10 characters
    });
    EXPECT_EQ(Reference(u"ZERO"), TCodeList{});
    EXPECT_EQ(Reference(u"TWICE"), (TCodeList{3, 7}));
    EXPECT_EQ(Reference(u"FILL1"), TCodeList{8});
    EXPECT_EQ(Reference(u"FILL2"), TCodeList{8});
    EXPECT_EQ(Reference(u"TEN"), TCodeList{});
    EXPECT_EQ(Reference(u"SHORT"), TCodeList{});
    EXPECT_EQ(Reference(u"GAPS"), (TCodeList{5, 6}));
    EXPECT_GE(Data.IndexOfEcg(u"1234567890"), 0);
    EXPECT_EQ(Data.GetDBCount(), 8);
    EXPECT_EQ(Data.GetDiaStat()[3][ciReference], 1);
    EXPECT_EQ(Data.GetDiaStat()[7][ciReference], 1);
    EXPECT_EQ(Data.GetDiaStat()[8][ciReference], 2);
}

TEST_F(WorkbenchData, ReadsEveryTextEncoding) {
    const std::vector<UnicodeString> lines = {BaseInfoLine(U("ЭКГ_1"), {28}),
                                              BaseInfoLine(u"E2", {29})};
    for (const TFileEncoding encoding :
         {TFileEncoding::feAnsi, TFileEncoding::feUtf8Bom, TFileEncoding::feUtf16Bom}) {
        LoadDatabase(lines, encoding);
        EXPECT_EQ(Data.GetDBBook(), (TNameBook{U("ЭКГ_1"), u"E2"}));
        EXPECT_EQ(Reference(U("ЭКГ_1")), TCodeList{28});
        EXPECT_EQ(Data.GetDiaStat()[29][ciReference], 1);
    }
}

TEST_F(WorkbenchData, ShortPayloadBytesMeanNoCode) {
    // Three bytes only: codes 12 and 14, then nothing; the missing bytes must not repeat the
    // last decoded byte or turn into codes of their own.
    LoadDatabase({LineHead(u"SHORT") + Payload({12, 14, 0}, 3), LineHead(u"EMPTY"),
                  LineHead(u"ONE") + Payload({21}, 1)});
    EXPECT_EQ(Reference(u"SHORT"), (TCodeList{12, 14}));
    EXPECT_EQ(Reference(u"EMPTY"), TCodeList{});
    EXPECT_EQ(Reference(u"ONE"), TCodeList{21});
    EXPECT_EQ(Data.GetDiaStat()[12][ciReference], 1);
    EXPECT_EQ(Data.GetDiaStat()[21][ciReference], 1);
}

TEST_F(WorkbenchData, BlankLinesAreSkipped) {
    LoadDatabase({u"", BaseInfoLine(u"E1", {1}), u"   \t ", BaseInfoLine(u"E2", {2}), u""});
    EXPECT_EQ(Data.GetDBBook(), (TNameBook{u"E1", u"E2"}));
    EXPECT_EQ(Data.GetDBCount(), 2);
}

TEST_F(WorkbenchData, StartupFailureNamesPathAndReasonAndKeepsNothing) {
    const UnicodeString head = U("Не удалось загрузить эталонную базу ЭКГ.\r");
    struct Case {
        const char *title;
        std::vector<UnicodeString> lines;
        UnicodeString reason;
    };
    const std::vector<Case> cases = {
        {"repeated name",
         {BaseInfoLine(u"E1", {1}), u"", BaseInfoLine(u"E1", {2})},
         U("Строка 3: ЭКГ E1 указана повторно.")},
        {"code above 30",
         {BaseInfoLine(u"E1", {1}), BaseInfoLine(u"E2", {2, 31})},
         U("Строка 2: код 31 ЭКГ E2 вне диапазона от 1 до 30.")},
        {"code 255",
         {BaseInfoLine(u"E9", {255})},
         U("Строка 1: код 255 ЭКГ E9 вне диапазона от 1 до 30.")},
        // Mended: the decoder skipped every character outside Base64, so garbage gave no codes.
        {"payload of garbage",
         {BaseInfoLine(u"E1", {1}), LineHead(u"E2") + u"!!!!#$%&*-_.,;"},
         U("Строка 2: данные ЭКГ E2 не являются текстом Base64.")},
        {"Cyrillic payload",
         {LineHead(u"E1") + u"ЖЖЖЖ"},
         U("Строка 1: данные ЭКГ E1 не являются текстом Base64.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        LoadDatabase(SmallDatabase());
        WriteLines(Folder.Path() / "base.info", c.lines);
        const TLoadResult result = Data.LoadReferenceDatabase(Folder.Name());
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Message, head + BaseInfoPath() + u"\r" + c.reason);
        EXPECT_FALSE(Data.IsDatabaseLoaded());
        EXPECT_TRUE(Data.GetDBBook().empty());
        EXPECT_EQ(Data.IndexOfEcg(u"E1"), -1);
        ExpectResetState({});
    }
}

TEST_F(WorkbenchData, MissingFolderOrFileIsReported) {
    const UnicodeString head = U("Не удалось загрузить эталонную базу ЭКГ.\r");
    const UnicodeString missingFolder = Folder.File("nowhere") + u"/";
    TLoadResult result = Data.LoadReferenceDatabase(missingFolder);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, head + missingFolder + U("\rПапка не найдена."));

    result = Data.LoadReferenceDatabase(Folder.Name());
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message,
              head + BaseInfoPath() + U("\rФайл не найден или не может быть открыт."));
    EXPECT_FALSE(Data.IsDatabaseLoaded());
}

TEST_F(WorkbenchData, FolderWithoutTrailingSeparator) {
    WriteLines(Folder.Path() / "base.info", SmallDatabase());
    EXPECT_TRUE(Data.LoadReferenceDatabase(rtl::Utf8ToUtf16(Folder.Path().string())).Ok);
    EXPECT_EQ(Data.GetDBCount(), 4);
}

// ---------------------------------------------------------------------------------------------
// Scoring

struct ScoringCase {
    const char *title;
    std::vector<UnicodeString> database;
    std::vector<UnicodeString> result;
    int32_t defaultTN;
    std::map<int32_t, TCodeCounters> counters; // reference, computed, TP, FP, missed, TN
};

class Scoring : public WorkbenchData, public ::testing::WithParamInterface<ScoringCase> {};

TEST_P(Scoring, CountsEveryCounter) {
    const ScoringCase &c = GetParam();
    LoadDatabase(c.database);
    const TResultOutcome outcome = Reload(c.result);
    ASSERT_EQ(outcome.Status, TResultStatus::rsScored) << rtl::Utf16ToUtf8(outcome.Message);
    EXPECT_TRUE(outcome.FileRead);
    EXPECT_EQ(outcome.Message, u"");
    EXPECT_TRUE(Data.IsScored());
    ExpectCounters(c.counters, c.defaultTN);
}

const std::map<int32_t, TCodeCounters> SmallCounters = {
    {1, {2, 2, 2, 0, 0, 2}},  {2, {1, 1, 1, 0, 0, 3}},  {4, {2, 1, 1, 0, 1, 2}},
    {9, {0, 1, 0, 1, 0, 3}},  {22, {1, 0, 0, 0, 1, 3}}, {23, {0, 1, 0, 1, 0, 3}},
    {28, {0, 1, 0, 1, 0, 3}}, {30, {1, 0, 0, 0, 1, 3}},
};

INSTANTIATE_TEST_SUITE_P(
    WorkbenchData, Scoring,
    ::testing::Values(ScoringCase{"database order",
                                  SmallDatabase(),
                                  {ResultLine(u"E1", {1, 4}), ResultLine(u"E2", {1, 23}),
                                   ResultLine(u"E3", {9}), ResultLine(u"E4", {2, 28})},
                                  4,
                                  SmallCounters},
                      ScoringCase{"another order, blank lines",
                                  SmallDatabase(),
                                  {u"", ResultLine(u"E4", {28, 2}), ResultLine(u"E3", {9}), u"  ",
                                   ResultLine(u"E1", {4, 1}), ResultLine(u"E2", {23, 1})},
                                  4,
                                  SmallCounters},
                      ScoringCase{"ECG without codes: its reference codes are missed",
                                  {BaseInfoLine(u"A", {3, 5}), BaseInfoLine(u"B", {3})},
                                  {LineHead(u"A").substr(0, 12), ResultLine(u"B", {3})},
                                  2,
                                  {{3, {2, 1, 1, 0, 1, 0}}, {5, {1, 0, 0, 0, 1, 1}}}},
                      ScoringCase{"odd code text ends with a one-digit code",
                                  {BaseInfoLine(u"A", {1, 5})},
                                  {LineHead(u"A") + u"015"},
                                  1,
                                  {{1, {1, 1, 1, 0, 0, 0}}, {5, {1, 1, 1, 0, 0, 0}}}},
                      ScoringCase{"empty database, empty file", {}, {}, 0, {}}),
    [](const ::testing::TestParamInfo<ScoringCase> &info) {
        std::string name = "Case";
        name += std::to_string(info.index);
        return name;
    });

TEST_F(WorkbenchData, RepeatedCodeCountsOncePerEcg) {
    LoadDatabase({BaseInfoLine(u"A", {2}), BaseInfoLine(u"B", {})});
    ASSERT_EQ(Reload({ResultLine(u"A", {2, 2, 2}), ResultLine(u"B", {5, 5})}).Status,
              TResultStatus::rsScored);
    // Counted twice, code 5 would give 2 false positives and -1 true negatives among 2 ECGs,
    // and code 2 a sensitivity of 300 %.
    EXPECT_EQ(Data.GetDiaStat()[2], (TCodeCounters{1, 1, 1, 0, 0, 1}));
    EXPECT_EQ(Data.GetDiaStat()[5], (TCodeCounters{0, 1, 0, 1, 0, 1}));
    // The texts still list each code as often as the line does.
    EXPECT_EQ(Data.ResultCodesText(u"A"), u"2, 2, 2");
    EXPECT_EQ(Data.ResultDescriptionsText(u"A"), U("Тахикардия, Тахикардия, Тахикардия"));
    EXPECT_EQ(Data.ResultCodesText(u"B"), u"5, 5");
    EXPECT_EQ(Data.GetResultCodes(Data.IndexOfEcg(u"A")), (TCodeList{2, 2, 2}));
}

TEST_F(WorkbenchData, PerEcgTexts) {
    LoadDatabase(SmallDatabase());
    ASSERT_EQ(Reload({ResultLine(u"E1", {1, 4}), ResultLine(u"E2", {9, 1, 13, 25, 10}),
                      ResultLine(u"E3", {9}), ResultLine(u"E4", {})})
                  .Status,
              TResultStatus::rsScored);
    EXPECT_EQ(Data.ResultCodesText(u"E1"), u"1, 4");
    EXPECT_EQ(Data.ResultDescriptionsText(u"E1"),
              U("Синусовый ритм, Фибриляция, трепетание предсердий"));
    // Codes without a description are counted but left out of the descriptions.
    EXPECT_EQ(Data.ResultCodesText(u"E2"), u"9, 1, 13, 25, 10");
    EXPECT_EQ(Data.ResultDescriptionsText(u"E2"), U("Синусовый ритм"));
    EXPECT_EQ(Data.GetDiaStat()[13][ciFalsePositive], 1);
    EXPECT_EQ(Data.ResultCodesText(u"E3"), u"9");
    EXPECT_EQ(Data.ResultDescriptionsText(u"E3"), u"");
    EXPECT_EQ(Data.ResultCodesText(u"E4"), u"");
    EXPECT_EQ(Data.GetResultBook(), (TNameBook{u"E1", u"E2", u"E3", u"E4"}));
}

TEST_F(WorkbenchData, ReloadGivesTheSameFiguresAndKeepsTheDatabase) {
    LoadDatabase(SmallDatabase());
    const std::vector<UnicodeString> lines = {ResultLine(u"E1", {1, 4}), ResultLine(u"E2", {1, 23}),
                                              ResultLine(u"E3", {9}), ResultLine(u"E4", {2, 28})};
    ASSERT_EQ(Reload(lines).Status, TResultStatus::rsScored);
    ASSERT_EQ(Reload(lines, TFileEncoding::feUtf16Bom).Status, TResultStatus::rsScored);
    ExpectCounters(SmallCounters, 4);
    EXPECT_EQ(Data.GetDBCount(), 4);
}

// ---------------------------------------------------------------------------------------------
// Messages and the reset state

TEST_F(WorkbenchData, EmptyPathOnlyResets) {
    LoadDatabase(SmallDatabase());
    ASSERT_EQ(Reload({ResultLine(u"E1", {1}), ResultLine(u"E2", {}), ResultLine(u"E3", {}),
                      ResultLine(u"E4", {})})
                  .Status,
              TResultStatus::rsScored);
    const TResultOutcome outcome = Data.ReloadResult(u"");
    EXPECT_EQ(outcome.Status, TResultStatus::rsNoPath);
    EXPECT_EQ(outcome.Message, u"");
    EXPECT_FALSE(outcome.FileRead);
    ExpectResetState(SmallReferenceCounts);
}

TEST_F(WorkbenchData, UnreadableFileMessage) {
    LoadDatabase(SmallDatabase());
    const UnicodeString path = Folder.File("missing") + U("/Результат.txt");
    const TResultOutcome outcome = Data.ReloadResult(path);
    EXPECT_EQ(outcome.Status, TResultStatus::rsUnreadable);
    EXPECT_FALSE(outcome.FileRead);
    EXPECT_EQ(outcome.Message, U("Файл ") + path + U(" не найден или не может быть открыт."));
    ExpectResetState(SmallReferenceCounts);
}

TEST_F(WorkbenchData, NameMismatchMessages) {
    const UnicodeString head = U("Ошибка.\rКоличество ЭКГ в исходной базе не совпадает\r"
                                 "с количеством строк в файле Result.txt");
    struct Case {
        const char *title;
        std::vector<UnicodeString> lines;
        UnicodeString message;
    };
    const std::vector<Case> cases = {
        {"one fewer, one more",
         {ResultLine(u"E1", {1}), ResultLine(u"X9", {1}), ResultLine(u"E3", {}),
          ResultLine(u"E4", {})},
         head + U("\rне хватает:\rE2 \rлишние:\rX9 ")},
        {"missing only", {ResultLine(u"E3", {})}, head + U("\rне хватает:\rE1 E2 E4 ")},
        {"superfluous only",
         {ResultLine(u"E1", {}), ResultLine(u"E2", {}), ResultLine(u"E3", {}),
          ResultLine(u"E4", {}), ResultLine(u"Z2", {}), ResultLine(u"Z1", {})},
         head + U("\rлишние:\rZ2 Z1 ")},
    };
    LoadDatabase(SmallDatabase());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        ASSERT_EQ(Reload({ResultLine(u"E1", {1}), ResultLine(u"E2", {}), ResultLine(u"E3", {}),
                          ResultLine(u"E4", {})})
                      .Status,
                  TResultStatus::rsScored);
        const TResultOutcome outcome = Reload(c.lines);
        EXPECT_EQ(outcome.Status, TResultStatus::rsNameMismatch);
        EXPECT_TRUE(outcome.FileRead);
        EXPECT_EQ(outcome.Message, c.message);
        ExpectResetState(SmallReferenceCounts);
    }
}

// A message box listed every name: a result file of millions of foreign names made a text of
// tens of megabytes. Twenty names are shown, then how many more there are.
TEST_F(WorkbenchData, NameMismatchShowsTwentyNamesThenHowManyMore) {
    std::vector<UnicodeString> base, result;
    UnicodeString missing, superfluous;
    for (int i = 1; i <= 25; ++i) {
        const UnicodeString name = UnicodeString(u"E").append(rtl::IntToStr(i));
        base.push_back(BaseInfoLine(name, {1}));
        missing += i <= 20 ? name + u" " : UnicodeString();
    }
    for (int i = 1; i <= 23; ++i) {
        const UnicodeString name = UnicodeString(u"X").append(rtl::IntToStr(i));
        result.push_back(ResultLine(name, {}));
        superfluous += i <= 20 ? name + u" " : UnicodeString();
    }
    LoadDatabase(base);
    const TResultOutcome outcome = Reload(result);
    EXPECT_EQ(outcome.Status, TResultStatus::rsNameMismatch);
    EXPECT_EQ(outcome.Message, U("Ошибка.\rКоличество ЭКГ в исходной базе не совпадает\r"
                                 "с количеством строк в файле Result.txt\rне хватает:\r") +
                                   missing + U("и еще 5\rлишние:\r") + superfluous + U("и еще 3"));
}

// A name the database lacks is checked for repeats too, and the first bad line in the file
// is the one named, whichever kind of fault it has.
TEST_F(WorkbenchData, TheFirstBadLineIsNamedAlsoForARepeatedForeignName) {
    LoadDatabase(SmallDatabase());
    struct Case {
        const char *title;
        std::vector<UnicodeString> lines;
        UnicodeString reason;
    };
    const std::vector<Case> cases = {
        {"foreign name repeated",
         {ResultLine(u"X1", {}), ResultLine(u"E1", {}), ResultLine(u"X2", {}),
          ResultLine(u"X1", {3})},
         U("Строка 4: ЭКГ X1 указана повторно.")},
        {"foreign repeat before a bad code",
         {ResultLine(u"X1", {}), ResultLine(u"X1", {}), LineHead(u"E2") + u"7x"},
         U("Строка 2: ЭКГ X1 указана повторно.")},
        {"bad code before a foreign repeat",
         {ResultLine(u"X1", {}), LineHead(u"E2") + u"7x", ResultLine(u"X1", {})},
         U("Строка 2: код «7x» не является числом.")},
        {"database repeat before a foreign one",
         {ResultLine(u"E1", {}), ResultLine(u"X1", {}), ResultLine(u"E1", {}),
          ResultLine(u"X1", {})},
         U("Строка 3: ЭКГ E1 указана повторно.")},
        {"the earliest of two foreign repeats",
         {ResultLine(u"X2", {}), ResultLine(u"X1", {}), ResultLine(u"X1", {}),
          ResultLine(u"X2", {})},
         U("Строка 3: ЭКГ X1 указана повторно.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        const TResultOutcome outcome = Reload(c.lines);
        EXPECT_EQ(outcome.Status, TResultStatus::rsInvalidLine);
        EXPECT_EQ(outcome.Message, U("Ошибка в файле ") + ResultPath() + u"\r" + c.reason);
        ExpectResetState(SmallReferenceCounts);
    }
}

TEST_F(WorkbenchData, InvalidResultFileResetsWithLineMessage) {
    struct Case {
        const char *title;
        UnicodeString badLine;
        UnicodeString reason;
    };
    const std::vector<Case> cases = {
        {"letter", LineHead(u"E3") + u"010a", U("Строка 4: код «0a» не является числом.")},
        {"sign", LineHead(u"E3") + u"-1", U("Строка 4: код «-1» не является числом.")},
        {"blank inside", LineHead(u"E3") + u"01 2", U("Строка 4: код « 2» не является числом.")},
        {"code 31", LineHead(u"E3") + u"0131", U("Строка 4: код 31 вне диапазона от 1 до 30.")},
        {"code 00", LineHead(u"E3") + u"00", U("Строка 4: код 00 вне диапазона от 1 до 30.")},
        {"code 0 at the end", LineHead(u"E3") + u"010",
         U("Строка 4: код 0 вне диапазона от 1 до 30.")},
        {"blanks after codes", LineHead(u"E3") + u"0102  ", U("Строка 4: пробелы после кодов.")},
        {"only blanks", LineHead(u"E3") + u"  ", U("Строка 4: пробелы после кодов.")},
        {"repeated name", ResultLine(u"E1", {2}), U("Строка 4: ЭКГ E1 указана повторно.")},
        {"binary data", LineHead(u"E3") + u"01" + UnicodeString(1, u'\0') + u"\x1F",
         U("Строка 4: двоичные данные: это не текстовый файл результатов.")},
        // Mended: a line of millions of codes was held whole, scored and then shown.
        {"more codes than a line can have", LineHead(u"E3") + UnicodeString(61, u'1'),
         U("Строка 4: строка длиннее 75 знаков: в ней больше кодов, чем их может быть (от 1 "
           "до 30, каждый один раз).")},
        {"a line of a million codes", LineHead(u"E3") + UnicodeString(2000000, u'2'),
         U("Строка 4: строка длиннее 75 знаков: в ней больше кодов, чем их может быть (от 1 "
           "до 30, каждый один раз).")},
    };
    LoadDatabase(SmallDatabase());
    const std::vector<UnicodeString> good = {ResultLine(u"E1", {1}), ResultLine(u"E2", {}),
                                             ResultLine(u"E3", {}), ResultLine(u"E4", {})};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        ASSERT_EQ(Reload(good).Status, TResultStatus::rsScored);
        // Line 3 is blank and still counts in the line numbers; line 5 would also be wrong.
        const TResultOutcome outcome = Reload({ResultLine(u"E1", {1}), ResultLine(u"E2", {}), u"",
                                               c.badLine, LineHead(u"E4") + u"xx"});
        EXPECT_EQ(outcome.Status, TResultStatus::rsInvalidLine);
        EXPECT_TRUE(outcome.FileRead);
        EXPECT_EQ(outcome.Message, U("Ошибка в файле ") + ResultPath() + u"\r" + c.reason);
        ExpectResetState(SmallReferenceCounts);
    }
}

// A recording chosen as "Result.txt" is not taken for a result file with blanks after its codes,
// and a file without a result line is not reported as one that lacks every ECG.
TEST_F(WorkbenchData, AFileThatIsNoResultFileSaysSo) {
    LoadDatabase(SmallDatabase());
    struct Case {
        const char *title;
        std::string bytes;
        UnicodeString reason;
    };
    std::string recording = "0       " + std::string(248, ' ');
    recording += std::string("\x10\x00\xF0\xFF\x0A\x00", 6);
    const std::vector<Case> cases = {
        {"a recording", recording,
         U("Строка 1: двоичные данные: это не текстовый файл результатов.")},
        {"empty", "", U("файл не содержит ни одной строки результатов.")},
        {"blank lines only", "\r\n   \r\n\t\r\n",
         U("файл не содержит ни одной строки результатов.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        std::ofstream(Folder.Path() / "Result.txt", std::ios::binary) << c.bytes;
        const TResultOutcome outcome = Data.ReloadResult(ResultPath());
        EXPECT_EQ(outcome.Status, TResultStatus::rsInvalidLine);
        EXPECT_EQ(outcome.Message, U("Ошибка в файле ") + ResultPath() + u"\r" + c.reason);
        ExpectResetState(SmallReferenceCounts);
    }
}

TEST_F(WorkbenchData, EveryCodeOnceFitsTheLongestResultLine) {
    LoadDatabase(SmallDatabase());
    TCodeList all;
    for (int32_t code = 30; code >= 1; --code) {
        all.push_back(code);
    }
    EXPECT_EQ(Reload({ResultLine(u"E1", all), ResultLine(u"E2", {}), ResultLine(u"E3", {}),
                      ResultLine(u"E4", {})})
                  .Status,
              TResultStatus::rsScored);
}

TEST_F(WorkbenchData, LineErrorsComeBeforeTheNameCheck) {
    LoadDatabase(SmallDatabase());
    const TResultOutcome outcome = Reload({ResultLine(u"E1", {}), LineHead(u"E2") + u"99"});
    EXPECT_EQ(outcome.Status, TResultStatus::rsInvalidLine);
    EXPECT_EQ(outcome.Message, U("Ошибка в файле ") + ResultPath() +
                                   U("\rСтрока 2: код 99 вне диапазона от 1 до 30."));
}

TEST_F(WorkbenchData, ShortLinesCarryNoCodes) {
    LoadDatabase({BaseInfoLine(u"A", {7})});
    // Fifteen characters: the name and the ignored part, no code text.
    ASSERT_EQ(Reload({u"A         x1 2 "}).Status, TResultStatus::rsScored);
    EXPECT_EQ(Data.GetDiaStat()[7], (TCodeCounters{1, 0, 0, 0, 1, 0}));
}

TEST_F(WorkbenchData, LoadingAnotherDatabaseDropsResults) {
    LoadDatabase(SmallDatabase());
    ASSERT_EQ(Reload({ResultLine(u"E1", {1}), ResultLine(u"E2", {}), ResultLine(u"E3", {}),
                      ResultLine(u"E4", {})})
                  .Status,
              TResultStatus::rsScored);
    LoadDatabase({BaseInfoLine(u"N1", {3})});
    EXPECT_EQ(Data.GetDBBook(), TNameBook{u"N1"});
    ExpectResetState({{3, 1}});
}

TEST(DiaStat, CodesOutsideOneToThirtyHaveNoCounters) {
    TDiaStat stat;
    for (const int32_t code : {0, 31, -1}) {
        try {
            (void)stat[code];
            ADD_FAILURE() << "code " << code;
        } catch (const rtl::EListError &e) {
            EXPECT_EQ(e.Message(), u"Item not found");
        }
    }
    stat[30][ciReference] = 5;
    stat[30][ciMissed] = 2;
    stat.ResetComputed();
    EXPECT_EQ(stat[30], (TCodeCounters{5, 0, 0, 0, 0, 0}));
    stat.Clear();
    EXPECT_EQ(stat[30], TCodeCounters{});
}

} // namespace
} // namespace workbench
