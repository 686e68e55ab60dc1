// The workbench's main window: components, start-up, the result-file handlers and the lists.
#include "app/UMainForm.h"

#include "app/UDesignPlacement.h"
#include "app/UResources.h"
#include "app/UVDReportForm.h"
#include "app/core/UStatLists.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

namespace workbench {

namespace {

UnicodeString &EdfFolderOverride() {
    static UnicodeString folder;
    return folder;
}

const UnicodeString ApprovingTitle = u"Профессор, д.м.н., Президент ЗЕМБРАК";
const UnicodeString CommissionTitle = u"Профессор, д.м.н., член президиума ЗЕМБРАК";
// Placeholder names until the user enters the real signatories.
const UnicodeString DefaultPersonName = u"Фамилия И.О.";

struct TColumnSpec {
    const char16_t *Caption;
    int32_t Width;
    bool Fixed;
};

void AddColumns(ui::TListView &list, std::initializer_list<TColumnSpec> columns) {
    for (const TColumnSpec &spec : columns) {
        ui::TListColumn *column = list.GetColumns().Add();
        column->SetCaption(spec.Caption);
        column->SetWidth(spec.Width);
        if (spec.Fixed) {
            column->SetMinWidth(spec.Width);
            column->SetMaxWidth(spec.Width);
        }
    }
}

void SetFontOf(ui::TControl &control, int32_t points, gfx::TFontStyles style) {
    control.GetFont().SetSize(points);
    control.GetFont().SetStyle(style);
}

// The label names its edit for screen readers and keeps a few pixels between its text and the
// edit's frame, which its own text width would let touch.
void SeparateFrom(ui::TLabel &label, ui::TEdit &edit) {
    constexpr int32_t Gap = 6;
    label.SetFocusControl(&edit);
    label.SetAutoSize(false);
    label.SetWidth(label.GetWidth() + Gap);
}

} // namespace

UnicodeString DefaultEdfFolderName() {
    const UnicodeString exeFolder = rtl::ExtractFilePath(ui::Application->GetExeName());
    return rtl::IncludeTrailingPathDelimiter(exeFolder) + u"EDF" + rtl::PathDelim;
}

void TVDMainForm::SetEdfFolderForTesting(const UnicodeString &folder) {
    EdfFolderOverride() = folder;
}

TVDMainForm::TVDMainForm(ui::TComponent *owner) : ui::TForm(owner) {
    SetName(u"VDMainForm");
    SetCaption(u"Сравнительный анализ качества диагностики ЭКГ по тестовой БД ЗЕМБРАК");
    SetBorderStyle(ui::bsSingle);
    SetPosition(ui::poScreenCenter);
    SetClientWidth(1018);
    SetClientHeight(616);
    SetConstraints({1024, 600, 0, 0});
    DisableAlign();
    CreateTopPanel();
    CreateResultContentList();
    CreateTotalList();
    EnableAlign();
    SetTabOrders();

    OpenDialog1 = new ui::TOpenDialog(this);
    OpenDialog1->SetFileName(u"Result.txt");
    OpenDialog1->SetFilter(u"resFilter|Result.txt|Все файлы|*.*");
    OpenDialog1->SetOption(ui::ofFileMustExist, true);

    OnCreate = [this](ui::TComponent *sender) { FormCreate(sender); };
    OnClose = [this](ui::TComponent *sender, ui::TCloseAction &action) {
        FormClose(sender, action);
    };
}

TVDMainForm::~TVDMainForm() = default;

void TVDMainForm::CreateTopPanel() {
    pnlTop = Place<ui::TPanel>(this, this, ui::alTop, {0, 0, 1018, 99});
    pnlTop->SetBevelOuter(ui::bvNone);

    pnlLogo = Place<ui::TPanel>(this, pnlTop, ui::alRight, {839, 0, 179, 99});
    Image1 = Place<ui::TImage>(this, pnlLogo, ui::alClient, {1, 1, 177, 97});
    Image1->SetCenter(true);
    Image1->SetProportional(true);
    Image1->SetStretch(true);
    LoadLogo();

    pnlLeft = Place<ui::TPanel>(this, pnlTop, ui::alClient, {0, 0, 839, 99});
    pnlLeft->SetBevelOuter(ui::bvNone);
    CreateResTxtBar();
    CreateJuryBar();
    CreateReportBar();
}

void TVDMainForm::CreateResTxtBar() {
    pnlResTxt = Place<TResTxtPanel>(this, pnlLeft, ui::alTop, {0, 0, 839, 25});
    pnlResTxt->SetBorderOuter(controls::fsNone);

    Label1 = Place<ui::TLabel>(this, pnlResTxt, ui::alLeft, {0, 0, 180, 25});
    Label1->SetCaption(u"Путь к файлу Result.txt");
    SetFontOf(*Label1, 12, {});

    btnReloadResult = Place<TResTxtButton>(this, pnlResTxt, ui::alRight, {734, 0, 105, 25});
    btnReloadResult->SetCaption(u"Перезагрузить");
    btnReloadResult->SetEnabled(false);
    btnReloadResult->OnClick = [this](ui::TComponent *s) { btnReloadResultClick(s); };

    btnOpenResTxt = Place<TResTxtButton>(this, pnlResTxt, ui::alRight, {701, 0, 33, 25});
    btnOpenResTxt->SetCaption(u"...");
    btnOpenResTxt->OnClick = [this](ui::TComponent *s) { btnOpenResTxtClick(s); };

    editResTxt = Place<ui::TEdit>(this, pnlResTxt, ui::alClient, {180, 0, 521, 25});
    editResTxt->SetReadOnly(true);
    SetFontOf(*editResTxt, 10, {});
    SeparateFrom(*Label1, *editResTxt);
}

void TVDMainForm::CreateJuryBar() {
    pnlJury = Place<ui::TPanel>(this, pnlLeft, ui::alTop, {0, 25, 839, 33});
    pnlJury->SetBevelKind(ui::bkTile);
    pnlJury->SetAlignment(ui::taLeftJustify);
    pnlJury->SetCaption(u"Подписанты");
    SetFontOf(*pnlJury, 12, {gfx::fsBold});

    btnJury = Place<ui::TBitBtn>(this, pnlJury, ui::alRight, {665, 2, 170, 29});
    btnJury->SetCaption(u"Состав комиссии");
    btnJury->OnClick = [this](ui::TComponent *s) { btnJuryClick(s); };

    btnMainSign = Place<ui::TBitBtn>(this, pnlJury, ui::alRight, {493, 2, 172, 29});
    btnMainSign->SetCaption(u"Утверждающий");
    btnMainSign->OnClick = [this](ui::TComponent *s) { btnMainSignClick(s); };
}

void TVDMainForm::CreateReportBar() {
    pnlReport = Place<ui::TPanel>(this, pnlLeft, ui::alBottom, {0, 66, 839, 33});
    pnlReport->SetBevelKind(ui::bkTile);
    SetFontOf(*pnlReport, 12, {gfx::fsBold});

    Label3 = Place<ui::TLabel>(this, pnlReport, ui::alLeft, {0, 2, 300, 29});
    Label3->SetCaption(u"Наименование тестируемой программы");

    edProgrName = Place<ui::TEdit>(this, pnlReport, ui::alLeft, {300, 2, 350, 29});
    SetFontOf(*edProgrName, 10, {});
    SeparateFrom(*Label3, *edProgrName);

    btnReport = Place<ui::TButton>(this, pnlReport, ui::alRight, {703, 2, 132, 29});
    btnReport->SetCaption(u"Отчет");
    SetFontOf(*btnReport, 12, {gfx::fsBold});
    btnReport->SetEnabled(false);
    btnReport->OnClick = [this](ui::TComponent *s) { btnReportClick(s); };
}

void TVDMainForm::CreateTotalList() {
    TotalLV = Place<ui::TListView>(this, this, ui::alClient, {0, 99, 1018, 346});
    TotalLV->SetViewStyle(ui::vsReport);
    TotalLV->SetGridLines(true);
    TotalLV->SetGroupView(true);
    // No label stands beside the list; the name says what its rows hold.
    TotalLV->SetAccessibleName(u"Статистика по нарушениям");
    AddColumns(*TotalLV, {{u"Код", 35, true},
                          {u"Нарушение", 290, false},
                          {u"Эталон", 50, true},
                          {u"Расчет", 50, true},
                          {u"Пропущено", 110, true},
                          {u"Ложно поставлено", 110, true},
                          {u"Чувствительность, %", 125, true},
                          {u"Специфичность,%", 110, true},
                          {u"ППЦ, %", 90, true}});
    TotalLV->OnCustomDrawItem = [this](ui::TListView *s, ui::TListItem *item,
                                       ui::TCustomDrawState state, bool &defaultDraw) {
        TotalLVCustomDrawItem(s, item, state, defaultDraw);
    };
    TotalLV->OnCustomDrawSubItem = [this](ui::TListView *s, ui::TListItem *item, int32_t sub,
                                          ui::TCustomDrawState state, bool &defaultDraw) {
        TotalLVCustomDrawSubItem(s, item, sub, state, defaultDraw);
    };
}

void TVDMainForm::CreateResultContentList() {
    // Placed bottom-up: the list at the very bottom, its heading above it.
    lvResultContent = Place<ui::TListView>(this, this, ui::alBottom, {0, 466, 1018, 150});
    lvResultContent->SetViewStyle(ui::vsReport);
    lvResultContent->SetGridLines(true);
    lvResultContent->SetRowSelect(true);
    AddColumns(*lvResultContent, {{u"ЭКГ", 100, false},
                                  {u"Коды из Result.txt", 130, false},
                                  {u"Расшифровка кодов", 750, false}});
    lvResultContent->OnDblClick = [this](ui::TComponent *s) { lvResultContentDblClick(s); };

    Label2 = Place<ui::TLabel>(this, this, ui::alBottom, {0, 445, 1018, 21});
    Label2->SetCaption(u"Содержание базы и состав файла Result.txt");
    SetFontOf(*Label2, 12, {});
    Label2->SetFocusControl(lvResultContent);
}

// Tab goes through the window as the eye reads it: the result-file bar, the signatories, the
// program's name and the report, then the totals and the ECGs.
void TVDMainForm::SetTabOrders() {
    const std::initializer_list<ui::TWinControl *> orders[] = {
        {pnlTop, TotalLV, lvResultContent},
        {pnlResTxt, pnlJury, pnlReport},
        {editResTxt, btnOpenResTxt, btnReloadResult},
        {btnMainSign, btnJury},
        {edProgrName, btnReport},
    };
    for (const auto &controls : orders) {
        int32_t order = 0;
        for (ui::TWinControl *control : controls) {
            control->SetTabOrder(order++);
        }
    }
}

void TVDMainForm::LoadLogo() {
    Image1->GetPicture().LoadFromMemory(LogoPng, LogoPngSize);
}

void TVDMainForm::FormClose(ui::TComponent *sender, ui::TCloseAction &action) {
    (void)sender;
    (void)action;
    FData.Release();
    Confirmer1.clear();
    Confirmer2.clear();
    JuryPeople1.clear();
    JuryPeople2.clear();
}

void TVDMainForm::FormCreate(ui::TComponent *sender) {
    (void)sender;
    Confirmer1[1] = ApprovingTitle;
    Confirmer2[1] = DefaultPersonName;
    JuryPeople1[1] = CommissionTitle;
    JuryPeople2[1] = DefaultPersonName;
    JuryPeople1[2] = CommissionTitle;
    JuryPeople2[2] = DefaultPersonName;
    ProgramName = UnicodeString(NoProgramName);
    edfFolderName = EdfFolderOverride().empty() ? DefaultEdfFolderName() : EdfFolderOverride();

    for (const TTotalGroup &group : BuildTotalGroups()) {
        ui::TListGroup *listGroup = TotalLV->GetGroups().Add();
        listGroup->SetGroupID(group.GroupId);
        listGroup->SetHeader(group.Header);
        listGroup->SetState({ui::lgsCollapsible});
    }
    const TLoadResult load = FData.LoadReferenceDatabase(edfFolderName);
    SetDatabaseActionsEnabled(load.Ok);
    ShowData();
    if (!load.Ok) {
        ShowUserMessage(load.Message);
    }
}

// Without a database there is nothing to score, report or view.
void TVDMainForm::SetDatabaseActionsEnabled(bool enabled) {
    btnOpenResTxt->SetEnabled(enabled);
    if (!enabled) {
        btnReloadResult->SetEnabled(false);
        btnReport->SetEnabled(false);
    }
    lvResultContent->SetEnabled(enabled);
}

void TVDMainForm::ShowUserMessage(const UnicodeString &text) {
    ui::ShowMessage(text);
}

void TVDMainForm::btnOpenResTxtClick(ui::TComponent *sender) {
    if (OpenDialog1->Execute(this)) {
        editResTxt->SetText(OpenDialog1->GetFileName());
    }
    btnReloadResult->SetEnabled(!editResTxt->GetText().empty());
    btnReloadResultClick(sender);
}

void TVDMainForm::btnReloadResultClick(ui::TComponent *sender) {
    (void)sender;
    const TResultOutcome outcome = FData.ReloadResult(editResTxt->GetText());
    if (outcome.FileRead && FData.IsDatabaseLoaded()) {
        btnReport->SetEnabled(true);
    }
    // Every outcome other than a scoring is a reset, which the lists show too.
    ShowData();
    if (!outcome.Message.empty()) {
        ShowUserMessage(outcome.Message);
    }
}

void TVDMainForm::btnMainSignClick(ui::TComponent *sender) {
    (void)sender;
    TContentForm &dialog = ContentFormInstance();
    dialog.setContent(Confirmer1, Confirmer2, false);
    if (dialog.ShowModal() == ui::mrOk) {
        dialog.getContent(Confirmer1, Confirmer2);
    }
}

void TVDMainForm::btnJuryClick(ui::TComponent *sender) {
    (void)sender;
    TContentForm &dialog = ContentFormInstance();
    dialog.setContent(JuryPeople1, JuryPeople2, true);
    if (dialog.ShowModal() == ui::mrOk) {
        dialog.getContent(JuryPeople1, JuryPeople2);
    }
}

void TVDMainForm::btnReportClick(ui::TComponent *sender) {
    (void)sender;
    ProgramName = rtl::Trim(edProgrName->GetText());
    if (ProgramName.empty()) {
        ProgramName = UnicodeString(NoProgramName);
    }
    BuildReport();
    VDReportForm->ShowModal();
}

void TVDMainForm::lvResultContentDblClick(ui::TComponent *sender) {
    (void)sender;
    const ui::TListItem *selected = lvResultContent->GetSelected();
    if (!selected || !FData.IsDatabaseLoaded()) {
        return;
    }
    OpenEcgViewer(edfFolderName + selected->GetCaption() + u".edf");
}

void TVDMainForm::OpenEcgViewer(const UnicodeString &path) {
    if (OnOpenEcgViewer) {
        OnOpenEcgViewer(*this, path);
        return;
    }
    ShowEcgViewer(FLightECGView, this, path);
}

// The lists show what the data holds. When filling them fails (out of memory), the results
// are reset and the lists show the reset, as after any other failed reading; then the error
// goes on to the application's error display.
void TVDMainForm::ShowData() {
    try {
        FillResultContent();
        FillTotals();
    } catch (...) {
        FData.ResetResults();
        FillResultContent();
        FillTotals();
        throw;
    }
}

void TVDMainForm::FillTotals() {
    ui::TListItems &items = TotalLV->GetItems();
    const rtl::TUpdateScope update(items);
    items.Clear();
    for (const TTotalRow &row : BuildTotalRows(FData.GetDiaStat())) {
        ui::TListItem *item = items.Add();
        item->SetCaption(row.Texts[0]);
        for (int column = 1; column < TotalColumnCount; ++column) {
            item->GetSubItems().Add(row.Texts[column]);
        }
        item->SetGroupID(row.GroupId);
    }
}

// Rows stay in place (and keep their selection) when the database is unchanged; only their
// two result columns follow the data.
void TVDMainForm::FillResultContent() {
    const std::vector<TResultContentRow> rows = BuildResultContentRows(FData);
    ui::TListItems &items = lvResultContent->GetItems();
    const rtl::TUpdateScope update(items);
    while (items.GetCount() > static_cast<int32_t>(rows.size())) {
        items.Delete(items.GetCount() - 1);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const int32_t index = static_cast<int32_t>(i);
        ui::TListItem *item = index < items.GetCount() ? items[index] : items.Add();
        item->SetCaption(rows[i].Caption);
        rtl::TStrings &texts = item->GetSubItems();
        texts.Clear();
        if (rows[i].HasResult) {
            texts.Add(rows[i].CodesText);
            texts.Add(rows[i].DescriptionsText);
        }
    }
}

void TVDMainForm::TotalLVCustomDrawItem(ui::TListView *sender, ui::TListItem *item,
                                        ui::TCustomDrawState state, bool &defaultDraw) {
    (void)state;
    (void)defaultDraw;
    sender->GetCanvas().GetFont().SetStyle(IsBoldTotalCaption(item->GetCaption())
                                               ? gfx::TFontStyles{gfx::fsBold}
                                               : gfx::TFontStyles{});
}

void TVDMainForm::TotalLVCustomDrawSubItem(ui::TListView *sender, ui::TListItem *item,
                                           int32_t subItem, ui::TCustomDrawState state,
                                           bool &defaultDraw) {
    (void)state;
    (void)defaultDraw;
    gfx::TCanvas &canvas = sender->GetCanvas();
    if (subItem >= FirstMeasureColumn && subItem < TotalColumnCount &&
        !editResTxt->GetText().empty()) {
        const TRGB colour =
            MeasureTextIs100(item->ColumnText(subItem)) ? MeasureFullColour : MeasureOtherColour;
        canvas.GetBrush().SetColor(gfx::RGB(colour.R, colour.G, colour.B));
    }
    canvas.GetFont().SetStyle(IsBoldTotalCaption(item->GetCaption()) ? gfx::TFontStyles{gfx::fsBold}
                                                                     : gfx::TFontStyles{});
}

} // namespace workbench
