// The main window: components and texts, start-up on a database and without one, choosing and
// reloading a result file, the two lists with their drawing, and the report and viewer actions.
#include "AllocationFailure.h"
#include "MainFormFixture.h"

#include "app/UECGViewLight.h"
#include "app/UVDReportForm.h"
#include "app/core/UStatLists.h"
#include "tests/app/ReportTestSupport.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/QtBridge_p.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QString>
#include <QWidget>

namespace workbench::testing {
namespace {

using ui::TListItem;

// The ink in a rectangle of a picture on white: how far each pixel is from white, summed, so
// that antialiased strokes count by their coverage.
int InkIn(gfx::TBitmap &shot, const gfx::TRect &r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            const uint32_t c = uint32_t(shot.GetCanvas().GetPixel(x, y));
            n += 3 * 255 - int((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
        }
    }
    return n;
}

std::vector<UnicodeString> Texts(const TListItem &item) {
    std::vector<UnicodeString> texts{item.GetCaption()};
    for (int32_t i = 0; i < item.GetSubItems().GetCount(); ++i) {
        texts.push_back(item.GetSubItems()[i]);
    }
    return texts;
}

TEST_F(MainFormTest, WindowHasItsComponentsWithTheirExactTexts) {
    MakeForm();
    EXPECT_EQ(Form->GetCaption(),
              u"Сравнительный анализ качества диагностики ЭКГ по тестовой БД ЗЕМБРАК");
    EXPECT_EQ(Form->GetBorderStyle(), ui::bsSingle);
    EXPECT_EQ(Form->GetPosition(), ui::poScreenCenter);
    EXPECT_EQ(Form->GetClientWidth(), 1018);
    EXPECT_EQ(Form->GetClientHeight(), 616);
    EXPECT_EQ(Form->GetConstraints().MinWidth, 1024);
    EXPECT_EQ(Form->GetConstraints().MinHeight, 600);
    EXPECT_EQ(Form->GetFont().GetName(), u"Tahoma");
    EXPECT_EQ(Form->GetFont().GetSize(), 8);

    struct Case {
        ui::TControl *control;
        const char16_t *text;
        int32_t points;
        bool bold;
    };
    const Case cases[] = {
        {Form->Label1, u"Путь к файлу Result.txt", 12, false},
        {Form->editResTxt, u"", 10, false},
        {Form->btnOpenResTxt, u"...", 8, false},
        {Form->btnReloadResult, u"Перезагрузить", 8, false},
        {Form->pnlJury, u"Подписанты", 12, true},
        {Form->btnJury, u"Состав комиссии", 12, true},
        {Form->btnMainSign, u"Утверждающий", 12, true},
        {Form->Label3, u"Наименование тестируемой программы", 12, true},
        {Form->edProgrName, u"", 10, false},
        {Form->btnReport, u"Отчет", 12, true},
        {Form->Label2, u"Содержание базы и состав файла Result.txt", 12, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(c.text));
        EXPECT_EQ(c.control->GetText(), c.text);
        EXPECT_EQ(c.control->GetFont().GetSize(), c.points);
        EXPECT_EQ(c.control->GetFont().GetStyle().Contains(gfx::fsBold), c.bold);
    }
    EXPECT_TRUE(Form->editResTxt->GetReadOnly());
    EXPECT_EQ(Form->pnlTop->GetBevelOuter(), ui::bvNone);
    EXPECT_EQ(Form->pnlLeft->GetBevelOuter(), ui::bvNone);
    EXPECT_EQ(Form->pnlResTxt->GetBorderOuter(), controls::fsNone);
    EXPECT_EQ(Form->pnlJury->GetAlignment(), ui::taLeftJustify);
    EXPECT_EQ(Form->pnlJury->GetBevelKind(), ui::bkTile);
    EXPECT_EQ(Form->pnlReport->GetBevelKind(), ui::bkTile);
    EXPECT_TRUE(Form->btnOpenResTxt->GetEnabled());
    EXPECT_FALSE(Form->btnReloadResult->GetEnabled());
    EXPECT_FALSE(Form->btnReport->GetEnabled());

    EXPECT_EQ(Form->OpenDialog1->GetFileName(), u"Result.txt");
    EXPECT_EQ(Form->OpenDialog1->GetFilter(), u"resFilter|Result.txt|Все файлы|*.*");
    EXPECT_TRUE(Form->OpenDialog1->GetOption(ui::ofFileMustExist));

    EXPECT_FALSE(Form->Image1->GetPicture().Empty());
    EXPECT_TRUE(Form->Image1->GetCenter());
    EXPECT_TRUE(Form->Image1->GetProportional());
    EXPECT_TRUE(Form->Image1->GetStretch());
}

TEST_F(MainFormTest, ListsHaveTheirColumns) {
    MakeForm();
    struct Column {
        const char16_t *caption;
        int32_t width;
        bool fixed;
    };
    const std::vector<Column> totals = {{u"Код", 35, true},
                                        {u"Нарушение", 290, false},
                                        {u"Эталон", 50, true},
                                        {u"Расчет", 50, true},
                                        {u"Пропущено", 110, true},
                                        {u"Ложно поставлено", 110, true},
                                        {u"Чувствительность, %", 125, true},
                                        {u"Специфичность,%", 110, true},
                                        {u"ППЦ, %", 90, true}};
    const std::vector<Column> content = {{u"ЭКГ", 100, false},
                                         {u"Коды из Result.txt", 130, false},
                                         {u"Расшифровка кодов", 750, false}};
    for (auto [list, columns] :
         {std::pair{Form->TotalLV, totals}, {Form->lvResultContent, content}}) {
        EXPECT_EQ(list->GetViewStyle(), ui::vsReport);
        EXPECT_TRUE(list->GetGridLines());
        ASSERT_EQ(list->GetColumns().GetCount(), int32_t(columns.size()));
        for (size_t i = 0; i < columns.size(); ++i) {
            const ui::TListColumn *c = list->GetColumns()[int32_t(i)];
            SCOPED_TRACE(rtl::Utf16ToUtf8(columns[i].caption));
            EXPECT_EQ(c->GetCaption(), columns[i].caption);
            EXPECT_EQ(c->GetWidth(), columns[i].width);
            EXPECT_EQ(c->GetMinWidth() == c->GetWidth() && c->GetMaxWidth() == c->GetWidth(),
                      columns[i].fixed);
        }
    }
    EXPECT_TRUE(Form->TotalLV->GetGroupView());
    EXPECT_TRUE(Form->lvResultContent->GetRowSelect());
}

TEST_F(MainFormTest, LayoutPlacesTheBarsTheTotalsAndTheEcgList) {
    MakeForm();
    const gfx::TRect top = Form->pnlTop->GetBoundsRect();
    EXPECT_EQ(top.Top, 0);
    EXPECT_EQ(top.Height(), 99);
    EXPECT_EQ(top.Width(), 1018);
    EXPECT_EQ(Form->pnlLogo->GetWidth(), 179);
    EXPECT_EQ(Form->pnlLogo->GetBoundsRect().Right, 1018);
    EXPECT_EQ(Form->pnlLeft->GetBoundsRect().Right, Form->pnlLogo->GetLeft());
    EXPECT_EQ(Form->pnlResTxt->GetTop(), 0);
    EXPECT_EQ(Form->pnlResTxt->GetHeight(), 25);
    EXPECT_EQ(Form->pnlJury->GetTop(), 25);
    EXPECT_EQ(Form->pnlJury->GetHeight(), 33);
    EXPECT_EQ(Form->pnlReport->GetBoundsRect().Bottom, 99);
    EXPECT_EQ(Form->pnlReport->GetHeight(), 33);
    // In the result-file bar: label, path, "...", "Перезагрузить" from left to right.
    EXPECT_EQ(Form->btnReloadResult->GetWidth(), 105);
    EXPECT_EQ(Form->btnOpenResTxt->GetWidth(), 33);
    EXPECT_EQ(Form->btnReloadResult->GetBoundsRect().Right, Form->pnlResTxt->GetWidth());
    EXPECT_EQ(Form->btnOpenResTxt->GetBoundsRect().Right, Form->btnReloadResult->GetLeft());
    EXPECT_EQ(Form->editResTxt->GetLeft(), Form->Label1->GetBoundsRect().Right);
    EXPECT_EQ(Form->btnJury->GetWidth(), 170);
    EXPECT_EQ(Form->btnMainSign->GetWidth(), 172);
    EXPECT_EQ(Form->edProgrName->GetWidth(), 350);
    EXPECT_EQ(Form->edProgrName->GetLeft(), Form->Label3->GetBoundsRect().Right);
    EXPECT_EQ(Form->btnReport->GetWidth(), 132);

    const gfx::TRect content = Form->lvResultContent->GetBoundsRect();
    EXPECT_EQ(content.Bottom, 616);
    EXPECT_EQ(content.Height(), 150);
    EXPECT_EQ(Form->Label2->GetBoundsRect().Bottom, content.Top);
    EXPECT_EQ(Form->TotalLV->GetTop(), 99);
    EXPECT_EQ(Form->TotalLV->GetBoundsRect().Bottom, Form->Label2->GetTop());
}

TEST_F(MainFormTest, StartUpFillsSevenGroupsAnd28RowsAndOneRowPerEcg) {
    MakeForm();
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(Form->GetEdfFolderName(), DbFolderName());
    const ui::TListGroups &groups = Form->TotalLV->GetGroups();
    const std::vector<const char16_t *> headers = {
        u"Итого по базе",           u"Ритм", u"Экстрасистолия", u"Паузы, АВ-проведение",
        u"Желудочковое проведение", u"QT",   u"ИБС, ГЛЖ"};
    ASSERT_EQ(groups.GetCount(), 7);
    for (int32_t g = 0; g < 7; ++g) {
        EXPECT_EQ(groups[g]->GetGroupID(), g);
        EXPECT_EQ(groups[g]->GetHeader(), headers[size_t(g)]);
        EXPECT_TRUE(groups[g]->GetState().Contains(ui::lgsCollapsible));
        EXPECT_TRUE(Form->TotalLV->GroupExpanded(g));
    }
    ui::TListItems &rows = Form->TotalLV->GetItems();
    ASSERT_EQ(rows.GetCount(), 28);
    EXPECT_EQ(Texts(*rows[0]),
              (std::vector<UnicodeString>{u"И_В", u"По всем нарушениям (кроме 1)", u"3", u"0", u"0",
                                          u"0", u"100", u"100", u"100"}));
    EXPECT_EQ(rows[1]->GetCaption(), u"И_С");
    EXPECT_EQ(rows[0]->GetGroupID(), 0);
    EXPECT_EQ(rows[1]->GetGroupID(), 0);
    // Before any result: reference counts, nothing computed, predictive value 0 with decimals.
    EXPECT_EQ(Texts(*rows[2]), (std::vector<UnicodeString>{u"1", u"Синусовый ритм", u"2", u"0",
                                                           u"0", u"0", u"100", u"100", u" 0,00"}));
    EXPECT_EQ(rows[2]->GetGroupID(), 1);
    EXPECT_EQ(rows[27]->GetCaption(), u"30");
    EXPECT_EQ(rows[27]->GetGroupID(), 6);

    ui::TListItems &ecgs = Form->lvResultContent->GetItems();
    ASSERT_EQ(ecgs.GetCount(), 4);
    EXPECT_EQ(ecgs[0]->GetCaption(), u"ECG0001");
    EXPECT_EQ(ecgs[3]->GetCaption(), u"ECG0004");
    EXPECT_EQ(ecgs[0]->GetSubItems().GetCount(), 0);

    EXPECT_EQ(Form->GetProgramName(), u"________________________");
    EXPECT_EQ(Form->GetConfirmer1(),
              (TSignatoryTable{{1, u"Профессор, д.м.н., Президент ЗЕМБРАК"}}));
    EXPECT_EQ(Form->GetConfirmer2(), (TSignatoryTable{{1, u"Фамилия И.О."}}));
    const UnicodeString member = u"Профессор, д.м.н., член президиума ЗЕМБРАК";
    EXPECT_EQ(Form->GetJuryPeople1(), (TSignatoryTable{{1, member}, {2, member}}));
    EXPECT_EQ(Form->GetJuryPeople2(),
              (TSignatoryTable{{1, u"Фамилия И.О."}, {2, u"Фамилия И.О."}}));
}

TEST_F(MainFormTest, DatabaseFolderDefaultsToEdfBesideTheExecutable) {
    const UnicodeString exeFolder = rtl::ExtractFilePath(ui::Application->GetExeName());
    EXPECT_FALSE(exeFolder.empty());
    EXPECT_EQ(DefaultEdfFolderName(), rtl::IncludeTrailingPathDelimiter(exeFolder) + u"EDF/");
}

TEST_F(MainFormTest, ChoosingTheResultFileFillsBothListsAndEnablesReloadAndReport) {
    MakeForm();
    ChooseResultFile(ResultPath());
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(Form->editResTxt->GetText(), ResultPath());
    EXPECT_TRUE(Form->btnReloadResult->GetEnabled());
    EXPECT_TRUE(Form->btnReport->GetEnabled());

    EXPECT_EQ(Texts(*TotalRow(u"4")),
              (std::vector<UnicodeString>{u"4", u"Фибриляция, трепетание предсердий", u"1", u"1",
                                          u"0", u"0", u"100", u"100", u"100"}));
    EXPECT_EQ(Texts(*TotalRow(u"22")),
              (std::vector<UnicodeString>{u"22", u"Полная БПН, в т.ч. преходящая", u"1", u"0", u"1",
                                          u"0", u" 0,00", u"100", u" 0,00"}));
    EXPECT_EQ(Texts(*TotalRow(u"23")),
              (std::vector<UnicodeString>{u"23", u"Полная БЛН, в т.ч. преходящая", u"0", u"1", u"0",
                                          u"1", u"100", u"75,00", u" 0,00"}));
    // Cito codes 4 and 23: one true positive, one false positive.
    EXPECT_EQ(Texts(*TotalRow(u"И_С")),
              (std::vector<UnicodeString>{u"И_С", u"По нарушениям Cito", u"1", u"2", u"0", u"1",
                                          u"100", u"97,67", u"50,00"}));

    ui::TListItems &ecgs = Form->lvResultContent->GetItems();
    EXPECT_EQ(Texts(*ecgs[0]),
              (std::vector<UnicodeString>{u"ECG0001", u"1, 4",
                                          u"Синусовый ритм, Фибриляция, трепетание предсердий"}));
    EXPECT_EQ(Texts(*ecgs[3]), (std::vector<UnicodeString>{u"ECG0004", u"", u""}));
    EXPECT_EQ(Form->lvResultContent->NativeTextForTesting(ecgs[1], 1), u"1, 23");
}

TEST_F(MainFormTest, CancellingTheFileDialogWithoutAPathClearsAndLeavesReloadDisabled) {
    MakeForm();
    CancelFileDialog();
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(Form->editResTxt->GetText(), u"");
    EXPECT_FALSE(Form->btnReloadResult->GetEnabled());
    EXPECT_FALSE(Form->btnReport->GetEnabled());
    EXPECT_EQ(TotalRow(u"4")->GetSubItems()[2], u"0");
}

// A screen reader names each edit and list by the label a sighted user reads beside it.
TEST_F(MainFormTest, ScreenReadersFindTheNamesAUserReads) {
    MakeForm();
    EXPECT_EQ(Form->editResTxt->GetAccessibleName(), u"Путь к файлу Result.txt");
    EXPECT_EQ(Form->edProgrName->GetAccessibleName(), u"Наименование тестируемой программы");
    EXPECT_EQ(Form->lvResultContent->GetAccessibleName(),
              u"Содержание базы и состав файла Result.txt");
    EXPECT_EQ(Form->TotalLV->GetAccessibleName(), u"Статистика по нарушениям");
    // A label's text keeps clear of its edit's frame.
    EXPECT_EQ(Form->Label1->GetLeft() + Form->Label1->GetWidth(), Form->editResTxt->GetLeft());
    EXPECT_FALSE(Form->Label1->GetAutoSize());
    EXPECT_FALSE(Form->Label3->GetAutoSize());
}

TEST_F(MainFormTest, CancellingTheFileDialogWithAPathReloadsThatPath) {
    MakeForm();
    ChooseResultFile(ResultPath());
    // The program under test rewrites its file with one ECG swapped for another.
    std::vector<UnicodeString> lines = FixtureResult();
    lines[3] = ResultLine(u"ECG0099", {});
    WriteLines(Folder.Path() / "Result.txt", lines);
    CancelFileDialog();

    EXPECT_EQ(Form->editResTxt->GetText(), ResultPath());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Text, u"Ошибка.\rКоличество ЭКГ в исходной базе не совпадает\rс "
                                u"количеством строк в файле Result.txt\rне хватает:\rECG0004 "
                                u"\rлишние:\rECG0099 ");
    EXPECT_EQ(Messages[0].Caption, ui::Application->GetTitle());
    // Both lists show the reset, and the report stays available.
    EXPECT_EQ(TotalRow(u"4")->GetSubItems()[2], u"0");
    EXPECT_EQ(Form->lvResultContent->GetItems()[0]->GetSubItems().GetCount(), 0);
    EXPECT_TRUE(Form->btnReloadResult->GetEnabled());
    EXPECT_TRUE(Form->btnReport->GetEnabled());
}

TEST_F(MainFormTest, ReloadOfAVanishedFileTellsTheUserAndShowsTheReset) {
    MakeForm();
    ChooseResultFile(ResultPath());
    std::filesystem::remove(Folder.Path() / "Result.txt");
    Form->btnReloadResult->Click();
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Text, u"Файл " + ResultPath() + u" не найден или не может быть открыт.");
    EXPECT_EQ(TotalRow(u"4")->GetSubItems()[2], u"0");
    EXPECT_EQ(Form->lvResultContent->GetItems()[0]->GetSubItems().GetCount(), 0);
    EXPECT_TRUE(Form->btnReport->GetEnabled());
}

TEST_F(MainFormTest, InvalidResultLineIsReportedAndTheListsShowTheReset) {
    MakeForm();
    ChooseResultFile(ResultPath());
    std::vector<UnicodeString> lines = FixtureResult();
    lines[1] = ResultLine(u"ECG0002", {31});
    WriteLines(Folder.Path() / "Result.txt", lines);
    Form->btnReloadResult->Click();
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Text,
              u"Ошибка в файле " + ResultPath() + u"\rСтрока 2: код 31 вне диапазона от 1 до 30.");
    EXPECT_EQ(TotalRow(u"4")->GetSubItems()[2], u"0");
    EXPECT_EQ(Form->lvResultContent->GetItems()[0]->GetSubItems().GetCount(), 0);
}

// The colour of a cell, read from the list as drawn.
gfx::TColor CellColour(ui::TListView &list, gfx::TBitmap &shot, TListItem *item, int column) {
    const gfx::TRect r = list.CellRectForTesting(item, column);
    EXPECT_FALSE(r.IsEmpty());
    return shot.GetCanvas().GetPixel(r.Right - 4, r.Top + r.Height() / 2);
}

TEST_F(MainFormTest, MeasureCellsAreGreenAt100AndRedOtherwiseOnlyWhileAPathIsShown) {
    MakeForm();
    ShowAllTotalRows();
    const gfx::TColor green = gfx::RGB(208, 255, 208), red = gfx::RGB(255, 208, 208);
    {
        gfx::TBitmap shot = Form->TotalLV->GrabForTesting();
        EXPECT_EQ(CellColour(*Form->TotalLV, shot, TotalRow(u"4"), 6), gfx::clWhite);
        EXPECT_EQ(CellColour(*Form->TotalLV, shot, TotalRow(u"4"), 8), gfx::clWhite);
    }
    ChooseResultFile(ResultPath());
    gfx::TBitmap shot = Form->TotalLV->GrabForTesting();
    struct Case {
        const char16_t *caption;
        int column;
        gfx::TColor colour;
    };
    const Case cases[] = {
        {u"4", 6, green},  {u"4", 7, green},        {u"4", 8, green},         {u"22", 6, red},
        {u"22", 7, green}, {u"23", 7, red},         {u"23", 8, red},          {u"И_С", 7, red},
        {u"И_В", 6, red},  {u"4", 5, gfx::clWhite}, {u"23", 1, gfx::clWhite},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(c.caption) + " column " + std::to_string(c.column));
        EXPECT_EQ(CellColour(*Form->TotalLV, shot, TotalRow(c.caption), c.column), c.colour);
    }
    // A code no ECG carries and the program never sets: 100, 100 and 0, the 0 red.
    EXPECT_EQ(CellColour(*Form->TotalLV, shot, TotalRow(u"30"), 6), green);
    EXPECT_EQ(CellColour(*Form->TotalLV, shot, TotalRow(u"30"), 8), red);
}

TEST_F(MainFormTest, MeasureCellsStayColouredAfterAFailedReadingOfAShownPath) {
    MakeForm();
    ShowAllTotalRows();
    ChooseResultFile(ResultPath());
    std::filesystem::remove(Folder.Path() / "Result.txt");
    Form->btnReloadResult->Click();
    gfx::TBitmap shot = Form->TotalLV->GrabForTesting();
    EXPECT_EQ(CellColour(*Form->TotalLV, shot, TotalRow(u"4"), 8), gfx::RGB(255, 208, 208));
}

TEST_F(MainFormTest, CitoRowsAndTheCitoTotalAreBold) {
    MakeForm();
    ShowAllTotalRows();
    gfx::TBitmap shot = Form->TotalLV->GrabForTesting();
    // Column 6 reads "100" in every code row before a result, so the ink compares alike texts.
    auto ink = [&](const char16_t *caption) {
        return InkIn(shot, Form->TotalLV->CellRectForTesting(TotalRow(caption), 6));
    };
    const int plain = ink(u"5");
    EXPECT_GT(plain, 0);
    for (const char16_t *cito :
         {u"4", u"6", u"7", u"8", u"16", u"17", u"19", u"20", u"23", u"28", u"29", u"И_С"}) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(cito));
        EXPECT_GT(ink(cito), plain * 5 / 4);
    }
    for (const char16_t *normal : {u"1", u"2", u"22", u"30", u"И_В"}) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(normal));
        EXPECT_EQ(ink(normal), plain);
    }
    // Drawing changes only fonts and colours: the list still holds the rows' own texts.
    EXPECT_EQ(Form->TotalLV->NativeTextForTesting(TotalRow(u"4"), 1),
              u"Фибриляция, трепетание предсердий");
}

TEST_F(MainFormTest, AFoldedGroupStaysFoldedAndTheTotalsStayOnTopAcrossReloads) {
    MakeForm();
    Form->TotalLV->SetGroupExpanded(1, false);
    ChooseResultFile(ResultPath());
    Form->btnReloadResult->Click();
    EXPECT_FALSE(Form->TotalLV->GroupExpanded(1));
    EXPECT_TRUE(Form->TotalLV->CellRectForTesting(TotalRow(u"4"), 0).IsEmpty());
    EXPECT_FALSE(Form->TotalLV->CellRectForTesting(TotalRow(u"11"), 0).IsEmpty());
    ui::TListItems &rows = Form->TotalLV->GetItems();
    EXPECT_EQ(Form->TotalLV->NativeTextForTesting(rows[0], 0), u"И_В");
    EXPECT_EQ(Form->TotalLV->NativeTextForTesting(rows[1], 0), u"И_С");
}

TEST_F(MainFormTest, AMissingDatabaseIsReportedOnceAndLeavesTheDataActionsDisabled) {
    const UnicodeString missing = Folder.File("NoSuchFolder") + u"/";
    MakeForm(missing);
    ASSERT_EQ(Messages.size(), 1u);
    const UnicodeString head = u"Не удалось загрузить эталонную базу ЭКГ.\r";
    EXPECT_EQ(Messages[0].Text.substr(0, head.size()), head);
    EXPECT_NE(Messages[0].Text.find(Folder.File("NoSuchFolder")), UnicodeString::npos);
    EXPECT_FALSE(Form->btnOpenResTxt->GetEnabled());
    EXPECT_FALSE(Form->btnReloadResult->GetEnabled());
    EXPECT_FALSE(Form->btnReport->GetEnabled());
    EXPECT_FALSE(Form->lvResultContent->GetEnabled());
    EXPECT_EQ(Form->TotalLV->GetGroups().GetCount(), 7);
    EXPECT_EQ(Form->TotalLV->GetItems().GetCount(), 28);
    EXPECT_EQ(Form->lvResultContent->GetItems().GetCount(), 0);
    // The signatories stay editable.
    EXPECT_TRUE(Form->btnJury->GetEnabled());
}

TEST_F(MainFormTest, ABadDatabaseLineIsReportedWithItsReason) {
    std::vector<UnicodeString> lines = FixtureBaseInfo();
    lines.push_back(BaseInfoLine(u"ECG0002", {3}));
    WriteLines(DbFolder() / "base.info", lines);
    MakeForm();
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_NE(Messages[0].Text.find(u"Строка 5: ЭКГ ECG0002 указана повторно."),
              UnicodeString::npos);
    EXPECT_FALSE(Form->btnOpenResTxt->GetEnabled());
    EXPECT_EQ(Form->lvResultContent->GetItems().GetCount(), 0);
}

TEST_F(MainFormTest, ReportTakesTheTrimmedProgramNameOrUnderscores) {
    MakeForm();
    ChooseResultFile(ResultPath());
    UseFixedMetrics(Form->CreateReportFormForTesting());
    std::vector<UnicodeString> built;
    ModalAnswer = [&](ui::TForm &form) {
        EXPECT_EQ(&form, Form->GetReportForm());
        built.push_back(Form->GetProgramName());
        return int32_t(ui::mrCancel);
    };
    const std::pair<const char16_t *, const char16_t *> cases[] = {
        {u"  Кардиотест 2.1 ", u"Кардиотест 2.1"},
        {u"", u"________________________"},
        {u" \t ", u"________________________"},
    };
    for (auto [typed, expected] : cases) {
        Form->edProgrName->SetText(typed);
        Form->btnReport->Click();
        ASSERT_FALSE(built.empty());
        EXPECT_EQ(built.back(), expected);
    }
    EXPECT_EQ(built.size(), 3u);
}

TEST_F(MainFormTest, ReportOnTheSampleDatabaseFillsTheReportWindowAndShowsItMaximised) {
#if !defined(WB_SAMPLE_DB_DIR) || !defined(WB_SAMPLE_RESULT_FILE)
    GTEST_SKIP() << "the sample database is not part of this build";
#else
    MakeForm(rtl::Utf8ToUtf16(WB_SAMPLE_DB_DIR "/"));
    ChooseResultFile(rtl::Utf8ToUtf16(WB_SAMPLE_RESULT_FILE));
    TVDReportForm &report = Form->CreateReportFormForTesting();
    UseFixedMetrics(report);
    Form->edProgrName->SetText(u"Кардиотест 2.1");
    int32_t shown = 0;
    ModalAnswer = [&](ui::TForm &form) {
        ++shown;
        EXPECT_EQ(&form, &report);
        EXPECT_EQ(form.GetWindowState(), ui::wsMaximized);
        EXPECT_TRUE(report.IsLoaded());
        vizivodu::TCustomVDData &document = report.ZemVDReport->GetVDData();
        EXPECT_EQ(document.GetItemText(2),
                  u"Всего в базе " + rtl::IntToStr(Form->GetData().GetDBCount()) + u" файлов.");
        EXPECT_NE(
            RowDump(*FindTable(document, HeaderTableName), 0).find("программы Кардиотест 2.1"),
            std::string::npos);
        EXPECT_EQ(FindTable(document, MainTableName)->GetRowCount(), 36);
        return int32_t(ui::mrCancel);
    };
    Form->btnReport->Click();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(Messages.empty());
#endif
}

TEST_F(MainFormTest, TheResultFileIsChosenWithTheFirstClickIntoAWindowThatIsNotActive) {
    MakeForm();
    ui::TForm other(nullptr);
    other.Show(); // the window shown last is the active one
    ui::Application->ProcessMessages();
    ASSERT_FALSE(ui::qt::WidgetOf(*Form)->isActiveWindow());
    int asked = 0;
    FileAnswer = [&](ui::TFileDialog &d) {
        ++asked;
        d.SetFileName(ResultPath());
        return true;
    };
    Form->btnOpenResTxt->ClickAtForTesting(5, 5);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Form->editResTxt->GetText(), ResultPath());
}

TEST_F(MainFormTest, TabReachesTheResultFileButtonAndEnterOnItOpensTheDialog) {
    MakeForm();
    Form->editResTxt->SetFocus();
    ui::Application->ProcessMessages();
    Form->editResTxt->KeyPressForTesting(ui::VK_TAB);
    ui::Application->ProcessMessages();
    ASSERT_TRUE(Form->btnOpenResTxt->Focused());
    int asked = 0;
    FileAnswer = [&](ui::TFileDialog &) {
        ++asked;
        return false;
    };
    Form->btnOpenResTxt->KeyPressForTesting(ui::VK_RETURN);
    EXPECT_EQ(asked, 1);
    // Reload is still disabled: Tab goes on to the signatories.
    Form->btnOpenResTxt->KeyPressForTesting(ui::VK_TAB);
    ui::Application->ProcessMessages();
    EXPECT_TRUE(Form->btnMainSign->Focused());
}

TEST_F(MainFormTest, ScreenReadersPressTheResultFileButtons) {
    MakeForm();
    for (ui::TControl *button : {static_cast<ui::TControl *>(Form->btnOpenResTxt),
                                 static_cast<ui::TControl *>(Form->btnReloadResult)}) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(ui::qt::WidgetOf(*button));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::Button);
        EXPECT_EQ(a->text(QAccessible::Name), gfx::qt::ToQString(button->GetCaption()));
        ASSERT_NE(a->actionInterface(), nullptr);
        EXPECT_EQ(
            a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()),
            button->GetEnabled());
    }
    int asked = 0;
    FileAnswer = [&](ui::TFileDialog &d) {
        ++asked;
        d.SetFileName(ResultPath());
        return true;
    };
    QAccessible::queryAccessibleInterface(ui::qt::WidgetOf(*Form->btnOpenResTxt))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    ui::ProcessPostedMessagesForTesting();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Form->GetData().IsScored());
}

TEST_F(MainFormTest, ProgramNameTypedInAnyLayoutReachesTheReport) {
    MakeForm();
    ChooseResultFile(ResultPath());
    UseFixedMetrics(Form->CreateReportFormForTesting());
    std::vector<UnicodeString> built;
    ModalAnswer = [&](ui::TForm &) {
        built.push_back(Form->GetProgramName());
        return int32_t(ui::mrCancel);
    };
    UnicodeString ascii;
    for (char16_t c = u'!'; c <= u'~'; ++c) {
        ascii += c;
    }
    for (const UnicodeString &typed :
         {UnicodeString(u"Тест"), UnicodeString(u"Prog-2.0, (beta) #7"), ascii}) {
        Form->edProgrName->SetText(u"");
        Form->edProgrName->SetFocus();
        ui::Application->ProcessMessages();
        Form->edProgrName->TypeTextForTesting(typed);
        Form->btnReport->Click();
        ASSERT_FALSE(built.empty());
        EXPECT_EQ(built.back(), typed);
    }
}

TEST_F(MainFormTest, DoubleClickOnAnEcgOpensItsRecordingAndWithoutSelectionNothing) {
    MakeForm();
    std::vector<UnicodeString> opened;
    Form->OnOpenEcgViewer = [&](TVDMainForm &, const UnicodeString &path) {
        opened.push_back(path);
    };
    Form->lvResultContentDblClick(Form->lvResultContent);
    EXPECT_TRUE(opened.empty());

    TListItem *row = Form->lvResultContent->GetItems()[2];
    const gfx::TRect r = Form->lvResultContent->CellRectForTesting(row, 0);
    Form->lvResultContent->DoubleClickAtForTesting(r.Left + 5, r.Top + r.Height() / 2);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], DbFolderName() + u"ECG0003.edf");
    EXPECT_TRUE(Messages.empty());
}

TEST_F(MainFormTest, AnErrorLeavingAHandlerIsShownAndTheWindowGoesOn) {
    MakeForm();
    Form->OnOpenEcgViewer = [](TVDMainForm &, const UnicodeString &path) {
        throw rtl::Exception(u"Нет записи " + path);
    };
    TListItem *row = Form->lvResultContent->GetItems()[0];
    const gfx::TRect r = Form->lvResultContent->CellRectForTesting(row, 0);
    Form->lvResultContent->DoubleClickAtForTesting(r.Left + 5, r.Top + r.Height() / 2);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Text, u"Нет записи " + DbFolderName() + u"ECG0001.edf.");

    ChooseResultFile(ResultPath());
    EXPECT_EQ(Messages.size(), 1u);
    EXPECT_EQ(TotalRow(u"4")->GetSubItems()[2], u"1");
}

// Filling the lists after a scoring could run out of memory and leave zeros on screen while
// the data counted as scored; now the results are reset and both lists show the reset.
TEST_F(MainFormTest, ListsThatCannotBeFilledShowTheResetResults) {
    std::vector<UnicodeString> base, result;
    constexpr int EcgCount = 2000; // rows make one allocation no other step of a reload makes
    for (int i = 1; i <= EcgCount; ++i) {
        const UnicodeString name = UnicodeString(u"N").append(rtl::IntToStr(i));
        base.push_back(BaseInfoLine(name, {4}));
        result.push_back(ResultLine(name, {4}));
    }
    WriteLines(DbFolder() / "base.info", base);
    WriteLines(Folder.Path() / "Result.txt", result);
    MakeForm();
    ChooseResultFile(ResultPath());
    ASSERT_TRUE(Form->GetData().IsScored());
    FailNextAllocationOfSize(EcgCount * sizeof(TResultContentRow));
    Form->btnReloadResult->ClickAtForTesting(5, 5);
    ASSERT_TRUE(ArmedAllocationFailed());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Text, u"Out of memory.");
    EXPECT_FALSE(Form->GetData().IsScored());
    EXPECT_EQ(Form->GetData().GetDiaStat()[4][ciTruePositive], 0);
    ui::TListItem *first = Form->lvResultContent->GetItems()[0];
    EXPECT_EQ(first->GetCaption(), u"N1");
    EXPECT_EQ(first->GetSubItems().GetCount(), 0) << "no result texts after the reset";
    EXPECT_EQ(Form->TotalLV->NativeTextForTesting(TotalRow(u"4"), 3), u"0") << "Расчет";
    EXPECT_EQ(Form->TotalLV->NativeTextForTesting(TotalRow(u"4"), 2), u"2000") << "Эталон";
}

TEST_F(MainFormTest, ClosingReleasesTheDataAndTheSignatoriesAndLeavesTheAction) {
    MakeForm();
    ChooseResultFile(ResultPath());
    ASSERT_TRUE(Form->GetData().IsScored());
    for (ui::TCloseAction given : {ui::caNone, ui::caHide, ui::caFree}) {
        ui::TCloseAction action = given;
        Form->FormClose(Form.get(), action);
        EXPECT_EQ(action, given);
    }
    EXPECT_FALSE(Form->GetData().IsDatabaseLoaded());
    EXPECT_FALSE(Form->GetData().IsScored());
    EXPECT_EQ(Form->GetData().GetDBCount(), 0);
    EXPECT_EQ(Form->GetData().GetDiaStat()[1][0], 0);
    EXPECT_TRUE(Form->GetConfirmer1().empty());
    EXPECT_TRUE(Form->GetJuryPeople2().empty());
    // Closing the window runs it.
    MakeForm();
    ASSERT_TRUE(Form->GetData().IsDatabaseLoaded());
    Form->Close();
    EXPECT_FALSE(Form->GetData().IsDatabaseLoaded());
    EXPECT_FALSE(Form->GetVisible());
}

TEST_F(MainFormTest, SampleDatabaseOpensAndItsResultScores) {
    MakeForm(rtl::Utf8ToUtf16(WB_SAMPLE_DB_DIR "/"));
    EXPECT_TRUE(Messages.empty());
    EXPECT_GT(Form->lvResultContent->GetItems().GetCount(), 0);
    ChooseResultFile(rtl::Utf8ToUtf16(WB_SAMPLE_RESULT_FILE));
    EXPECT_TRUE(Messages.empty());
    EXPECT_TRUE(Form->btnReport->GetEnabled());
    EXPECT_EQ(Form->TotalLV->GetItems().GetCount(), 28);
}

} // namespace
TEST_F(MainFormTest, DoubleClickShowsTheViewerModallyAndKeepsItForTheNextEcg) {
    MakeForm(rtl::Utf8ToUtf16(WB_SAMPLE_DB_DIR "/"));
    std::vector<ui::TForm *> shown;
    std::vector<int32_t> lengths;
    ModalAnswer = [&](ui::TForm &form) {
        shown.push_back(&form);
        auto *viewer = dynamic_cast<TFLightECGView *>(&form);
        EXPECT_NE(viewer, nullptr);
        lengths.push_back(viewer ? viewer->GetLeadLength() : 0);
        return int32_t(ui::mrCancel);
    };
    for (int32_t index : {0, 4}) {
        TListItem *row = Form->lvResultContent->GetItems()[index];
        const gfx::TRect r = Form->lvResultContent->CellRectForTesting(row, 0);
        Form->lvResultContent->DoubleClickAtForTesting(r.Left + 5, r.Top + r.Height() / 2);
    }
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_EQ(lengths, (std::vector<int32_t>{2500, 2500}));
    EXPECT_TRUE(Messages.empty());
}

} // namespace workbench::testing
