// Tests of the rows of the totals list and the per-ECG list: texts, groups, bold rows, measure
// colours, substitute values, and the lists after every reset.
#include "app/core/UStatLists.h"

#include "WorkbenchFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace workbench {
namespace {

using namespace workbench::testing;

// One line per row: "g<group> caption|description|reference|computed|missed|false|measures",
// with " B" for a bold row.
UnicodeString Dump(const std::vector<TTotalRow> &rows) {
    UnicodeString text;
    for (const TTotalRow &row : rows) {
        text += u"g";
        text += rtl::Utf8ToUtf16(std::to_string(row.GroupId));
        text += u" ";
        text += row.Texts[0];
        for (int i = 1; i < TotalColumnCount; ++i) {
            text += u"|";
            text += row.Texts[i];
        }
        text += row.Bold ? u" B\n" : u"\n";
    }
    return text;
}

// The code rows that carry no figures in the small scenario, in list order, and their bold
// flags; the caller supplies the rows that differ.
UnicodeString DefaultRow(int group, int code, const char *description, bool bold,
                         const char *reference = "0") {
    std::string row = "g";
    row += std::to_string(group);
    row += " ";
    row += std::to_string(code);
    row += "|";
    row += description;
    row += "|";
    row += reference;
    row += "|0|0|0|100|100| 0,00";
    row += bold ? " B\n" : "\n";
    return U(row);
}

class StatLists : public ::testing::Test {
protected:
    void SetUp() override {
        WriteLines(Folder.Path() / "base.info",
                   {BaseInfoLine(u"E1", {1, 4}), BaseInfoLine(u"E2", {1, 22}),
                    BaseInfoLine(u"E3", {}), BaseInfoLine(u"E4", {2, 4, 30})});
        ASSERT_TRUE(Data.LoadReferenceDatabase(Folder.Name()).Ok);
    }
    TResultOutcome Reload(const std::vector<UnicodeString> &lines) {
        WriteLines(Folder.Path() / "Result.txt", lines);
        return Data.ReloadResult(Folder.File("Result.txt"));
    }
    void ScoreSmall() {
        ASSERT_EQ(Reload({ResultLine(u"E1", {1, 4}), ResultLine(u"E2", {1, 23}),
                          ResultLine(u"E3", {9}), ResultLine(u"E4", {2, 2, 28})})
                      .Status,
                  TResultStatus::rsScored);
    }

    TDecimalSeparatorScope Separator{u','};
    TTempFolder Folder;
    TWorkbenchData Data;
};

// The totals list before any result file: reference counts, zeros, 100 / 100 / 0 in the code
// rows and 100 everywhere in the total rows.
UnicodeString UnscoredDump() {
    return U("g0 И_В|По всем нарушениям (кроме 1)|5|0|0|0|100|100|100\n"
             "g0 И_С|По нарушениям Cito|2|0|0|0|100|100|100 B\n") +
           DefaultRow(1, 1, "Синусовый ритм", false, "2") +
           DefaultRow(1, 2, "Тахикардия", false, "1") + DefaultRow(1, 3, "Брадикардия", false) +
           DefaultRow(1, 4, "Фибриляция, трепетание предсердий", true, "2") +
           DefaultRow(1, 5, "Предсердный ритм", false) +
           DefaultRow(1, 6, "АВ-ритм, эпизод АВ-ритма", true) +
           DefaultRow(1, 7, "НТ, эпизод НТ или ритма", true) +
           DefaultRow(1, 8, "ЖТ, эпизод ЖТ или ритма", true) +
           DefaultRow(2, 11, "Наджелудочковая экстрасистолия", false) +
           DefaultRow(2, 12, "Желудочковая экстрасистолия, парасистолия", false) +
           DefaultRow(3, 14, "АВ-блокада 1 степени", false) +
           DefaultRow(3, 15, "Синдром укорочения PQ", false) +
           DefaultRow(3, 16, "АВ-блокада 2 степени", true) +
           DefaultRow(3, 17, "Пауза за счет СА-блокад или ост. син. узла", true) +
           DefaultRow(3, 18, "Блокированная наджелудочковая экстрасистолия", false) +
           DefaultRow(3, 19, "Пауза более 2 сек на фоне ФП или ТП", true) +
           DefaultRow(3, 20, "АВ-блокада 3 степени", true) +
           DefaultRow(4, 21, "ВПВ, в т.ч. преходящий", false) +
           DefaultRow(4, 22, "Полная БПН, в т.ч. преходящая", false, "1") +
           DefaultRow(4, 23, "Полная БЛН, в т.ч. преходящая", true) +
           DefaultRow(4, 24, "Полная БПВЛН", false) + DefaultRow(5, 26, "Удлинение QT", false) +
           DefaultRow(5, 27, "Укорочение QT", false) +
           DefaultRow(6, 28, "ОКС с подъемом или депрессией ST", true) +
           DefaultRow(6, 29, "ИМ с Q и без Q, любой стадии", true) +
           DefaultRow(6, 30, "ГЛЖ", false, "1");
}

TEST_F(StatLists, Groups) {
    const std::vector<TTotalGroup> groups = BuildTotalGroups();
    ASSERT_EQ(groups.size(), 7u);
    const char *headers[] = {
        "Итого по базе",           "Ритм", "Экстрасистолия", "Паузы, АВ-проведение",
        "Желудочковое проведение", "QT",   "ИБС, ГЛЖ"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(groups[i].GroupId, i);
        EXPECT_EQ(groups[i].Header, U(headers[i]));
    }
}

TEST_F(StatLists, TotalsBeforeAnyResult) {
    EXPECT_EQ(rtl::Utf16ToUtf8(Dump(BuildTotalRows(Data.GetDiaStat()))),
              rtl::Utf16ToUtf8(UnscoredDump()));
}

TEST_F(StatLists, TotalsAfterScoring) {
    ScoreSmall();
    const UnicodeString expected =
        U("g0 И_В|По всем нарушениям (кроме 1)|5|4|3|2|40,00|97,89|50,00\n"
          "g0 И_С|По нарушениям Cito|2|3|1|2|50,00|95,24|33,33 B\n"
          "g1 1|Синусовый ритм|2|2|0|0|100|100|100\n"
          "g1 2|Тахикардия|1|1|0|0|100|100|100\n") +
        DefaultRow(1, 3, "Брадикардия", false) +
        U("g1 4|Фибриляция, трепетание предсердий|2|1|1|0|50,00|100|100 B\n") +
        DefaultRow(1, 5, "Предсердный ритм", false) +
        DefaultRow(1, 6, "АВ-ритм, эпизод АВ-ритма", true) +
        DefaultRow(1, 7, "НТ, эпизод НТ или ритма", true) +
        DefaultRow(1, 8, "ЖТ, эпизод ЖТ или ритма", true) +
        DefaultRow(2, 11, "Наджелудочковая экстрасистолия", false) +
        DefaultRow(2, 12, "Желудочковая экстрасистолия, парасистолия", false) +
        DefaultRow(3, 14, "АВ-блокада 1 степени", false) +
        DefaultRow(3, 15, "Синдром укорочения PQ", false) +
        DefaultRow(3, 16, "АВ-блокада 2 степени", true) +
        DefaultRow(3, 17, "Пауза за счет СА-блокад или ост. син. узла", true) +
        DefaultRow(3, 18, "Блокированная наджелудочковая экстрасистолия", false) +
        DefaultRow(3, 19, "Пауза более 2 сек на фоне ФП или ТП", true) +
        DefaultRow(3, 20, "АВ-блокада 3 степени", true) +
        DefaultRow(4, 21, "ВПВ, в т.ч. преходящий", false) +
        U("g4 22|Полная БПН, в т.ч. преходящая|1|0|1|0| 0,00|100| 0,00\n"
          "g4 23|Полная БЛН, в т.ч. преходящая|0|1|0|1|100|75,00| 0,00 B\n") +
        DefaultRow(4, 24, "Полная БПВЛН", false) + DefaultRow(5, 26, "Удлинение QT", false) +
        DefaultRow(5, 27, "Укорочение QT", false) +
        U("g6 28|ОКС с подъемом или депрессией ST|0|1|0|1|100|75,00| 0,00 B\n") +
        DefaultRow(6, 29, "ИМ с Q и без Q, любой стадии", true) +
        U("g6 30|ГЛЖ|1|0|1|0| 0,00|100| 0,00\n");
    EXPECT_EQ(rtl::Utf16ToUtf8(Dump(BuildTotalRows(Data.GetDiaStat()))),
              rtl::Utf16ToUtf8(expected));
}

TEST_F(StatLists, TotalsUseTheLocaleSeparator) {
    ScoreSmall();
    TDecimalSeparatorScope dot(u'.');
    const std::vector<TTotalRow> rows = BuildTotalRows(Data.GetDiaStat());
    EXPECT_EQ(rows[0].Texts[6], u"40.00");
    EXPECT_EQ(rows[0].Texts[7], u"97.89");
    EXPECT_EQ(rows[2].Texts[8], u"100");
    EXPECT_EQ(rows[4].Texts[8], u" 0.00");
}

TEST_F(StatLists, MeasureCellColours) {
    ScoreSmall();
    const std::vector<TTotalRow> rows = BuildTotalRows(Data.GetDiaStat());
    const TTotalRow &sinus = rows[2];
    const TTotalRow &bradycardia = rows[4]; // no reference, never set: 100, 100, 0
    const TTotalRow &all = rows[0];
    for (int column = 0; column < TotalColumnCount; ++column) {
        const bool measure = column >= 6;
        EXPECT_EQ(TotalCellColour(sinus, column, true),
                  measure ? TCellColour::ccLightGreen : TCellColour::ccDefault);
        EXPECT_EQ(TotalCellColour(all, column, true),
                  measure ? TCellColour::ccLightRed : TCellColour::ccDefault);
        EXPECT_EQ(TotalCellColour(sinus, column, false), TCellColour::ccDefault);
    }
    EXPECT_EQ(TotalCellColour(bradycardia, 6, true), TCellColour::ccLightGreen);
    EXPECT_EQ(TotalCellColour(bradycardia, 7, true), TCellColour::ccLightGreen);
    EXPECT_EQ(TotalCellColour(bradycardia, 8, true), TCellColour::ccLightRed);
    EXPECT_EQ(MeasureFullColour, (TRGB{208, 255, 208}));
    EXPECT_EQ(MeasureOtherColour, (TRGB{255, 208, 208}));
}

TEST_F(StatLists, AlmostHundredIsShownWithDecimalsAndColouredGreen) {
    TDiaStat stat;
    stat[2] = {20000, 20000, 19999, 0, 1, 0};
    stat[3] = {10000, 10000, 9999, 0, 1, 0};
    const std::vector<TTotalRow> rows = BuildTotalRows(stat);
    EXPECT_EQ(rows[3].Texts[6], u"100,00");
    EXPECT_TRUE(rows[3].MeasureIs100[0]);
    EXPECT_EQ(TotalCellColour(rows[3], 6, true), TCellColour::ccLightGreen);
    EXPECT_EQ(rows[4].Texts[6], u"99,99");
    EXPECT_EQ(TotalCellColour(rows[4], 6, true), TCellColour::ccLightRed);
}

TEST_F(StatLists, TotalRowsWithoutDenominatorShow100CodeRowsShowZero) {
    TDiaStat stat;
    stat[5] = {0, 0, 0, 0, 0, 7};
    const std::vector<TTotalRow> rows = BuildTotalRows(stat);
    // Only code 5 has figures; both total rows (code 5 is not urgent) lack a predictive value.
    EXPECT_EQ(rows[0].Texts[8], u"100");
    EXPECT_EQ(rows[1].Texts[8], u"100");
    EXPECT_EQ(rows[2 + 4].Texts[8], u" 0,00");
    EXPECT_EQ(rows[2 + 4].Texts[7], u"100");
}

TEST_F(StatLists, SinusRhythmStaysOutOfTheTotals) {
    TDiaStat stat;
    stat[1] = {3, 3, 3, 0, 0, 0};
    stat[9] = {0, 2, 0, 2, 0, 0}; // counted, but not a code of the table
    const std::vector<TTotalRow> rows = BuildTotalRows(stat);
    EXPECT_EQ(rows[0].Texts[2], u"0");
    EXPECT_EQ(rows[0].Texts[3], u"0");
    EXPECT_EQ(rows[0].Texts[5], u"0");
}

TEST(TotalsBold, CaptionRule) {
    struct Case {
        const char16_t *caption;
        bool bold;
    };
    const Case cases[] = {{u"И_С", true}, {u"И_В", false}, {u"4", true},  {u"29", true},
                          {u"5", false},  {u"0", false},   {u"x", false}, {u"", false}};
    for (const Case &c : cases) {
        EXPECT_EQ(IsBoldTotalCaption(c.caption), c.bold) << rtl::Utf16ToUtf8(c.caption);
    }
}

TEST_F(StatLists, ResultContentRows) {
    std::vector<TResultContentRow> rows = BuildResultContentRows(Data);
    ASSERT_EQ(rows.size(), 4u);
    for (const TResultContentRow &row : rows) {
        EXPECT_FALSE(row.HasResult);
        EXPECT_EQ(row.CodesText, u"");
    }
    EXPECT_EQ(rows[3].Caption, u"E4");

    ScoreSmall();
    rows = BuildResultContentRows(Data);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_TRUE(rows[0].HasResult);
    EXPECT_EQ(rows[0].CodesText, u"1, 4");
    EXPECT_EQ(rows[0].DescriptionsText, U("Синусовый ритм, Фибриляция, трепетание предсердий"));
    EXPECT_EQ(rows[1].CodesText, u"1, 23");
    EXPECT_EQ(rows[1].DescriptionsText, U("Синусовый ритм, Полная БЛН, в т.ч. преходящая"));
    EXPECT_EQ(rows[2].CodesText, u"9");
    EXPECT_EQ(rows[2].DescriptionsText, u"");
    EXPECT_EQ(rows[3].CodesText, u"2, 2, 28");
    EXPECT_EQ(rows[3].DescriptionsText,
              U("Тахикардия, Тахикардия, ОКС с подъемом или депрессией ST"));
}

TEST_F(StatLists, ListsFollowTheDataAfterEveryReset) {
    struct Case {
        const char *title;
        std::function<TResultOutcome()> reload;
    };
    const std::vector<Case> cases = {
        {"unreadable file", [&] { return Data.ReloadResult(Folder.File("none.txt")); }},
        {"name mismatch", [&] { return Reload({ResultLine(u"E1", {1})}); }},
        {"invalid line",
         [&] {
             return Reload({ResultLine(u"E1", {1}), ResultLine(u"E2", {1}), ResultLine(u"E3", {}),
                            LineHead(u"E4") + u"77"});
         }},
        {"empty path", [&] { return Data.ReloadResult(u""); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        ScoreSmall();
        ASSERT_NE(c.reload().Status, TResultStatus::rsScored);
        EXPECT_EQ(rtl::Utf16ToUtf8(Dump(BuildTotalRows(Data.GetDiaStat()))),
                  rtl::Utf16ToUtf8(UnscoredDump()));
        for (const TResultContentRow &row : BuildResultContentRows(Data)) {
            EXPECT_FALSE(row.HasResult);
            EXPECT_EQ(row.CodesText, u"");
            EXPECT_EQ(row.DescriptionsText, u"");
        }
    }
}

} // namespace
} // namespace workbench
