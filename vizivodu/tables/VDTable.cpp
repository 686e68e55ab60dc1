// The table item: construction and defaults, table-wide setters, cell colours, heading rows,
// the table's place in its document, insertion hooks, item answers and the start-up
// registration.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/VDStartup_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDTableItemInfo, TVDFullLineItemInfo);

void startup::InitializeVDTable() {
    RegisterItemType(StyleNoTable, &TVDTableItemInfo::ClassInfo);
}

// ---- Construction ----

TVDTableItemInfo::TVDTableItemInfo(TCustomVDData *vdData) : TVDTableItemInfo(1, 1, vdData) {}

TVDTableItemInfo::TVDTableItemInfo(int32_t nRows, int32_t nCols, TCustomVDData *mainVDData)
    : TVDFullLineItemInfo(mainVDData) {
    InitTable(nRows, nCols, mainVDData);
    FState.Include(vdtsJustCreated);
}

std::unique_ptr<TVDTableItemInfo> TVDTableItemInfo::CreateEx(int32_t nRows, int32_t nCols,
                                                             TCustomVDData *mainVDData) {
    return std::make_unique<TVDTableItemInfo>(nRows, nCols, mainVDData);
}

void TVDTableItemInfo::InitTable(int32_t nRows, int32_t nCols, TCustomVDData *mainVDData) {
    Fmt = std::make_unique<TVDTableItemFormattingInfo>();
    StyleNo = StyleNoTable;
    FRows = std::make_unique<TVDTableRows>(nRows, nCols, mainVDData, this);
    for (int32_t i = 0; i < VDTableColorCount; ++i) {
        FColors[i] = GetDefaultColorValue(static_cast<TVDTableColorProperty>(i));
    }
    FTextRowSeparator = u"\r\n";
    FTextColSeparator = u"\r\n";
}

TVDTableItemInfo::~TVDTableItemInfo() {
    Fmt->Clear();
    // The cells are freed while the table and its rows, which they ask about, still stand.
    FRows->Clear();
    FreeThumbnail();
}

std::unique_ptr<TVDTableCellData> TVDTableItemInfo::CreateCell(TVDTableRow *row) {
    return std::make_unique<TVDTableCellData>(row);
}

// ---- Colours and integer properties ----

namespace {

// The published names of the colour properties, by index.
constexpr const char16_t *ColorPropertyNames[VDTableColorCount] = {u"Color",
                                                                   u"BorderColor",
                                                                   u"BorderLightColor",
                                                                   u"CellBorderColor",
                                                                   u"CellBorderLightColor",
                                                                   u"HeadingRowColor",
                                                                   u"LastRowColor",
                                                                   u"OddRowsColor",
                                                                   u"EvenRowsColor",
                                                                   u"FirstColumnColor",
                                                                   u"LastColumnColor",
                                                                   u"OddColumnsColor",
                                                                   u"EvenColumnsColor",
                                                                   u"VRuleColor",
                                                                   u"HRuleColor"};

constexpr const char16_t *IntegerPropertyNames[VDTableIntegerCount] = {
    u"RowBandSize", u"ColBandSize", u"HeadingRowCount"};

} // namespace

TColor TVDTableItemInfo::GetDefaultColorValue(TVDTableColorProperty colorType) {
    switch (colorType) {
    case vdtcColor:
        return gfx::clWindow;
    case vdtcBorderColor:
    case vdtcCellBorderColor:
    case vdtcVRuleColor:
    case vdtcHRuleColor:
        return gfx::clWindowText;
    case vdtcBorderLightColor:
    case vdtcCellBorderLightColor:
        return gfx::clBtnHighlight;
    default:
        return gfx::clNone;
    }
}

void TVDTableItemInfo::SetColor(TVDTableColorProperty colorType, TColor value) {
    if (FState.Contains(vdtsInserted)) {
        ChangeIntProperty(ColorPropertyNames[colorType], value, false, false);
    } else {
        FColors[colorType] = value;
    }
    if (colorType == vdtcColor ||
        (colorType >= vdtcHeadingRowColor && colorType <= vdtcEvenColumnsColor)) {
        UpdateInplaceColor();
    }
}

void TVDTableItemInfo::SetIntegerProperty(TVDTableIntegerProperty index, int32_t value) {
    if (FState.Contains(vdtsInserted)) {
        ChangeIntProperty(IntegerPropertyNames[index], value, false, false);
    } else {
        FIntegerProperties[index] = value;
    }
    UpdateInplaceColor();
}

void TVDTableItemInfo::UpdateInplaceColor() {
    // What keeps copies of the cell colours (an open in-place editor, the root's animated
    // pictures) belongs to the editing side and the viewer; a table without them has nothing
    // to refresh.
}

// ---- Table-wide setters ----

template <class F>
void TVDTableItemInfo::SetTableProperty(const char16_t *name, int32_t value, bool affectSize,
                                        bool affectWidth, F write) {
    if (FState.Contains(vdtsInserted)) {
        ChangeIntProperty(name, value, affectSize, affectWidth);
    } else {
        write();
    }
}

void TVDTableItemInfo::SetBestWidth(TVDHTMLLength value) {
    SetTableProperty(u"BestWidth", value, true, true, [&] { FBestWidth = value; });
}

void TVDTableItemInfo::SetBorderWidth(TVDStyleLength value) {
    SetTableProperty(u"BorderWidth", value, true, true, [&] { FBorderWidth = value; });
}

void TVDTableItemInfo::SetBorderStyle(TVDTableBorderStyle value) {
    SetTableProperty(u"BorderStyle", value, false, false, [&] { FBorderStyle = value; });
}

void TVDTableItemInfo::SetBorderVSpacing(TVDStyleLength value) {
    SetTableProperty(u"BorderVSpacing", value, true, false, [&] { FBorderVSpacing = value; });
}

void TVDTableItemInfo::SetBorderHSpacing(TVDStyleLength value) {
    SetTableProperty(u"BorderHSpacing", value, true, true, [&] { FBorderHSpacing = value; });
}

void TVDTableItemInfo::SetCellBorderWidth(TVDStyleLength value) {
    SetTableProperty(u"CellBorderWidth", value, true, true, [&] { FCellBorderWidth = value; });
}

void TVDTableItemInfo::SetCellBorderStyle(TVDTableBorderStyle value) {
    SetTableProperty(u"CellBorderStyle", value, false, false, [&] { FCellBorderStyle = value; });
}

void TVDTableItemInfo::SetCellHSpacing(TVDStyleLength value) {
    SetTableProperty(u"CellHSpacing", value, true, true, [&] { FCellHSpacing = value; });
}

void TVDTableItemInfo::SetCellVSpacing(TVDStyleLength value) {
    SetTableProperty(u"CellVSpacing", value, true, false, [&] { FCellVSpacing = value; });
}

void TVDTableItemInfo::SetCellHPadding(TVDStyleLength value) {
    SetTableProperty(u"CellHPadding", value, true, true, [&] { FCellHPadding = value; });
}

void TVDTableItemInfo::SetCellVPadding(TVDStyleLength value) {
    SetTableProperty(u"CellVPadding", value, true, true, [&] { FCellVPadding = value; });
}

TVDStyleLength TVDTableItemInfo::GetCellPadding() const {
    return static_cast<TVDStyleLength>(
        RoundQuotient(int64_t{FCellHPadding} + int64_t{FCellVPadding}, 2));
}

void TVDTableItemInfo::SetCellPadding(TVDStyleLength value) {
    if (FState.Contains(vdtsInserted)) {
        ChangeIntProperty(u"CellHPadding", value, true, true);
        ChangeIntProperty(u"CellVPadding", value, true, true);
    } else {
        FCellHPadding = value;
        FCellVPadding = value;
    }
}

void TVDTableItemInfo::SetHRuleWidth(TVDStyleLength value) {
    SetTableProperty(u"HRuleWidth", value, false, false, [&] { FHRuleWidth = value; });
}

void TVDTableItemInfo::SetVRuleWidth(TVDStyleLength value) {
    SetTableProperty(u"VRuleWidth", value, false, false, [&] { FVRuleWidth = value; });
}

void TVDTableItemInfo::SetHOutermostRule(bool value) {
    SetTableProperty(u"HOutermostRule", value, false, false, [&] { FHOutermostRule = value; });
}

void TVDTableItemInfo::SetVOutermostRule(bool value) {
    SetTableProperty(u"VOutermostRule", value, false, false, [&] { FVOutermostRule = value; });
}

void TVDTableItemInfo::SetOpacity(TVDOpacity value) {
    SetTableProperty(u"Opacity", value, false, false, [&] { FOpacity = value; });
    UpdateInplaceColor();
}

void TVDTableItemInfo::AfterUndoChangeProperty() {
    FState.Include(vdtsInserted);
    Changed();
}

void TVDTableItemInfo::AssignProperties(const TVDTableItemInfo &source) {
    FOptions = source.FOptions;
    FPrintOptions = source.FPrintOptions;
    SetBestWidth(source.FBestWidth);
    SetBackgroundImage(source.GetBackgroundImage());
    SetBackgroundStyle(source.GetBackgroundStyle());
    FBackgroundImageFileName = source.FBackgroundImageFileName;
    SetHeadingRowCount(source.GetHeadingRowCount());
    FTextRowSeparator = source.FTextRowSeparator;
    FTextColSeparator = source.FTextColSeparator;
    SetBorderWidth(source.FBorderWidth);
    SetBorderStyle(source.FBorderStyle);
    SetBorderVSpacing(source.FBorderVSpacing);
    SetBorderHSpacing(source.FBorderHSpacing);
    SetCellBorderWidth(source.FCellBorderWidth);
    SetOpacity(source.FOpacity);
    SetCellHPadding(source.FCellHPadding);
    SetCellVPadding(source.FCellVPadding);
    SetCellBorderStyle(source.FCellBorderStyle);
    SetVRuleWidth(source.FVRuleWidth);
    SetHRuleWidth(source.FHRuleWidth);
    SetCellVSpacing(source.FCellVSpacing);
    SetCellHSpacing(source.FCellHSpacing);
    SetVOutermostRule(source.FVOutermostRule);
    SetHOutermostRule(source.FHOutermostRule);
    SetRowBandSize(source.GetRowBandSize());
    SetColBandSize(source.GetColBandSize());
    for (int32_t i = 0; i < VDTableColorCount; ++i) {
        SetColor(static_cast<TVDTableColorProperty>(i), source.FColors[i]);
    }
}

// ---- Cell colours ----

namespace {

// The document colour behind a table cell: the background of the table's paragraph, else the
// document's own colour.
TColor ParentBackgroundColor(TCustomVDData &mainData, int32_t paraNo) {
    TVDStyle *style = mainData.GetVDStyle();
    const TColor paraColor =
        style ? style->GetParaStyles().GetItem(paraNo).GetBackground().Color : gfx::clNone;
    return paraColor != gfx::clNone ? paraColor : static_cast<TColor>(mainData.GetColor());
}

} // namespace

TColor TVDTableItemInfo::GetCellColor(int32_t row, int32_t col, bool useTableColor,
                                      bool useParentBackground) {
    const TColor own = GetCells(row, col)->GetOwnColor();
    if (own != gfx::clNone) {
        return own;
    }
    int32_t h = GetHeadingRowCount();
    if (FColors[vdtcHeadingRowColor] != gfx::clNone) {
        h = std::max(h, 1);
        if (row < h) {
            return FColors[vdtcHeadingRowColor];
        }
    }
    if (FColors[vdtcLastRowColor] != gfx::clNone && row == GetRowCount() - 1) {
        return FColors[vdtcLastRowColor];
    }
    if (FColors[vdtcFirstColumnColor] != gfx::clNone && col == 0) {
        return FColors[vdtcFirstColumnColor];
    }
    if (FColors[vdtcLastColumnColor] != gfx::clNone && col == GetColCount() - 1) {
        return FColors[vdtcLastColumnColor];
    }
    const int32_t colBand = GetColBandSize();
    if ((FColors[vdtcOddColumnsColor] != gfx::clNone ||
         FColors[vdtcEvenColumnsColor] != gfx::clNone) &&
        colBand > 0) {
        const int32_t c = FColors[vdtcFirstColumnColor] != gfx::clNone ? col - 1 : col;
        const TColor color = c % (2 * colBand) < colBand ? FColors[vdtcOddColumnsColor]
                                                         : FColors[vdtcEvenColumnsColor];
        if (color != gfx::clNone) {
            return color;
        }
    }
    const int32_t rowBand = GetRowBandSize();
    if ((FColors[vdtcOddRowsColor] != gfx::clNone || FColors[vdtcEvenRowsColor] != gfx::clNone) &&
        rowBand > 0) {
        // A remainder of truncating division: negative inside a heading area without a colour.
        const TColor color = (row - h) % (2 * rowBand) < rowBand ? FColors[vdtcOddRowsColor]
                                                                 : FColors[vdtcEvenRowsColor];
        if (color != gfx::clNone) {
            return color;
        }
    }
    TColor result = useTableColor ? FColors[vdtcColor] : gfx::clNone;
    TCustomVDData *main = FRows->GetMainVDData();
    if (useParentBackground && result == gfx::clNone && main) {
        result = ParentBackgroundColor(*main, ParaNo);
    }
    return result;
}

bool TVDTableItemInfo::IsCellTransparent(int32_t row, int32_t col) {
    return GetCellColor(row, col, false, false) == gfx::clNone ||
           GetCells(row, col)->GetOpacity() < 100000;
}

bool TVDTableItemInfo::IsCellUnderlayTransparent(int32_t row, int32_t col) {
    if (GetCellColor(row, col, false, false) != gfx::clNone &&
        GetCells(row, col)->GetOpacity() >= 100000) {
        return false;
    }
    if (FColors[vdtcColor] != gfx::clNone && FOpacity >= 100000) {
        return false;
    }
    TCustomVDData *main = FRows->GetMainVDData();
    TVDStyle *style = main ? main->GetVDStyle() : nullptr;
    if (!style) {
        return true;
    }
    const TVDBackgroundRect &background = style->GetParaStyles().GetItem(ParaNo).GetBackground();
    return background.Color == gfx::clNone || background.Opacity < 100000;
}

// ---- Heading rows ----

bool TVDTableItemInfo::IsRowBoundaryClear(int32_t aRow) {
    if (aRow == GetRowCount()) {
        return true;
    }
    int32_t col = GetColCount() - 1;
    while (col >= 0) {
        int32_t mRow = 0;
        int32_t mCol = 0;
        const TVDTableCellData *cell = FRows->GetMainCell(aRow, col, mRow, mCol);
        if (mRow + cell->GetRowSpan() - 1 > aRow) {
            return false;
        }
        col = mCol - 1;
    }
    return true;
}

bool TVDTableItemInfo::CanUseHeadingRowCount() {
    const int32_t h = std::min(GetHeadingRowCount(), GetRowCount());
    return h > 0 && IsRowBoundaryClear(h - 1);
}

int32_t TVDTableItemInfo::GetRealHeadingRowCount() {
    return CanUseHeadingRowCount() ? std::min(GetHeadingRowCount(), GetRowCount()) : 0;
}

bool TVDTableItemInfo::HasPageBreakBefore(int32_t firstRow, int32_t lastRow) {
    if (firstRow < 0) {
        firstRow =
            (CanUseHeadingRowCount() ? std::min(GetHeadingRowCount(), GetRowCount()) : 0) + 1;
    }
    if (lastRow < 0) {
        lastRow = GetRowCount() - 1;
    }
    for (int32_t r = firstRow; r <= lastRow; ++r) {
        if (FRows->Get(r)->PageBreakBefore) {
            return true;
        }
    }
    return false;
}

// ---- Position in the document ----

int32_t TVDTableItemInfo::GetMyItemNo() {
    TCustomVDData *main = FRows->GetMainVDData();
    if (!main) {
        return -1;
    }
    if (CachedItemNo >= 0 && CachedItemNo < main->ItemCount() &&
        main->GetItem(CachedItemNo) == this) {
        return CachedItemNo;
    }
    CachedItemNo = main->GetItemNo(this);
    return CachedItemNo;
}

int32_t TVDTableItemInfo::GetTopLevelItemNo() {
    int32_t itemNo = GetMyItemNo();
    TCustomVDData *data = FRows->GetMainVDData();
    while (data) {
        int32_t parentItemNo = -1;
        std::unique_ptr<TVDStoreSubVDData> location;
        data->GetParentInfo(parentItemNo, location);
        if (parentItemNo < 0) {
            break;
        }
        itemNo = parentItemNo;
        data = data->GetAbsoluteParentData();
    }
    return itemNo;
}

void TVDTableItemInfo::Beep() {
    if (TCustomVDData *main = FRows->GetMainVDData()) {
        main->Beep();
    }
}

bool TVDTableItemInfo::DoCellEditing(int32_t row, int32_t col, bool automatic) {
    bool allowEdit = true;
    if (OnCellEditing) {
        OnCellEditing(*this, row, col, automatic, allowEdit);
    }
    return allowEdit;
}

// ---- Insertion hooks ----

void TVDTableItemInfo::Inserting(TCustomVDData *vdData, TVDRawByteString &text, bool safe) {
    FRows->FMainVDData = vdData;
    FState.Set(vdtsInserted, vdData != nullptr);
    FState.Set(vdtsEditMode, FState.Contains(vdtsInserted) && IsInEditorRoot());
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        TVDTableRow *row = FRows->Get(r);
        for (int32_t c = 0; c < row->GetCount(); ++c) {
            TVDTableCellData *cell = row->Get(c);
            if (!cell) {
                continue;
            }
            if (cell->ItemCount() == 0) {
                cell->AddNL(u"", 0, 0);
            }
            cell->FList = row;
            cell->Inserting(cell, safe);
        }
    }
    TVDFullLineItemInfo::Inserting(vdData, text, safe);
}

void TVDTableItemInfo::Inserted(TCustomVDData *vdData, int32_t itemNo) {
    TVDFullLineItemInfo::Inserted(vdData, itemNo);
    if (!FState.Contains(vdtsJustCreated) || !vdData) {
        return;
    }
    // A root document (or one without a parent) takes the registrations; any other must
    // already lie inside an item, or its items would join lists they cannot reach yet.
    if (!vdData->GetFlags().Contains(vdflRoot) && vdData->GetAbsoluteParentData() != nullptr) {
        int32_t parentItemNo = -1;
        std::unique_ptr<TVDStoreSubVDData> location;
        vdData->GetParentInfo(parentItemNo, location);
        if (parentItemNo < 0) {
            return;
        }
    }
    const rtl::TScopeExit clear([this]() noexcept { FState.Exclude(vdtsJustCreated); });
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        TVDTableRow *row = FRows->Get(r);
        for (int32_t c = 0; c < row->GetCount(); ++c) {
            TVDTableCellData *cell = row->Get(c);
            if (!cell) {
                continue;
            }
            for (int32_t i = 0; i < cell->ItemCount(); ++i) {
                cell->DoOnAddSpecialItem(i);
                cell->GetItem(i)->Inserted(cell, i);
            }
        }
    }
}

// ---- Item answers ----

bool TVDTableItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    switch (prop) {
    case vdbpDrawingChangesFont:
    case vdbpCanSaveUnicode:
    case vdbpAlwaysInText:
    case vdbpHasSubVDData:
    case vdbpNoHTML_P:
        return true;
    case vdbpDocXInRun:
        return false;
    default:
        return TVDFullLineItemInfo::GetBoolValue(prop);
    }
}

bool TVDTableItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    // The printing draw item takes its size from the table's layout for the printer.
    return prop == vdbpActualPrintSize ||
           (prop != vdbpPrintToBMP && TVDFullLineItemInfo::GetBoolValueEx(prop, vdStyle));
}

void TVDTableItemInfo::Hiding() {
    TVDFullLineItemInfo::Hiding();
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            if (TVDTableCellData *cell = GetCells(r, c)) {
                static_cast<TCustomVDFormattedData *>(cell->GetVDData())->Hiding();
            }
        }
    }
    if (auto *main = dynamic_cast<TCustomVDFormattedData *>(FRows->GetMainVDData())) {
        main->UnAssignXorDrawing(this);
        if (main->FCaptureMouseItem == this) {
            main->FCaptureMouseItem = nullptr;
        }
    }
    Fmt->Clear();
}

bool TVDTableItemInfo::GetCellWhichOwnsControl(ui::TControl *control, int32_t &row, int32_t &col,
                                               int32_t &itemNo) {
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            TCustomVDData *data = cell ? cell->GetVDData() : nullptr;
            const int32_t i = data ? data->FindControlItemNo(control) : -1;
            if (i >= 0) {
                row = r;
                col = c;
                itemNo = i;
                return true;
            }
        }
    }
    return false;
}

bool TVDTableItemInfo::OwnsControl(ui::TControl *control) {
    int32_t row = 0;
    int32_t col = 0;
    int32_t itemNo = 0;
    return GetCellWhichOwnsControl(control, row, col, itemNo);
}

} // namespace vizivodu
