// Cells, rows and the rows of a table: construction, properties, lookups, the main-cell walk
// and the column queries.
#include "vizivodu/tables/VDTable_Cells.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable.h"

namespace vizivodu {

// ---- Stored locations and formatting records ----

std::unique_ptr<TVDStoreSubVDData> TVDTableStoreSubVDData::Duplicate() const {
    return std::make_unique<TVDTableStoreSubVDData>(Row, Col);
}

int32_t TVDTableStoreSubVDData::Compare(const TVDStoreSubVDData &other) const {
    const auto &o = static_cast<const TVDTableStoreSubVDData &>(other);
    return Row != o.Row ? Row - o.Row : Col - o.Col;
}

void TVDTableItemFormattingInfo::Clear() {
    ColWidths.Clear();
    RowHeights.Clear();
    ColStarts.Clear();
    RowStarts.Clear();
}

void TVDTableItemFormattingInfo::QuickClear() {
    ColWidths.SetCount(0);
    RowHeights.SetCount(0);
    ColStarts.SetCount(0);
    RowStarts.SetCount(0);
}

// ---- Cell ----

TVDTableCellData::TVDTableCellData(TVDTableRow *row) : TVDItemFormattedData(row) {
    TVDTableCellData::ResetProperties();
    AddNL(u"", 0, 0);
}

TVDTableCellData::~TVDTableCellData() {
    if (TVDTableItemInfo *table = GetTable(); table && table->FLastCellMovedAbove == this) {
        table->FLastCellMovedAbove = nullptr;
    }
    if (FBackground && FBackground->HasThumbnail()) {
        if (TVDThumbnailCache *cache = GetThumbnailCache()) {
            cache->RemoveThumbnail(this);
        }
    }
    Clear();
}

void TVDTableCellData::ResetProperties() {
    FVisibleBorders.SetAll(true);
    FColor = gfx::clNone;
    FBorderColor = gfx::clNone;
    FBorderLightColor = gfx::clNone;
    FVAlign = vdcVDefault;
    FOpacity = 100000;
    State = {};
    FBestWidth = 0;
    FBestHeight = 0;
    FBackground.reset();
    FBackgroundImageFileName.clear();
    FHint.clear();
    FTag.clear();
    FRotation = vdrotNone;
    FOptions = {};
}

void TVDTableCellData::AssignAttributesFrom(const TVDTableCellData &cell, bool includeSize,
                                            int32_t divColSpan, int32_t divRowSpan) {
    FColor = cell.FColor;
    FBorderColor = cell.FBorderColor;
    FBorderLightColor = cell.FBorderLightColor;
    FVisibleBorders.Assign(cell.FVisibleBorders);
    FVAlign = cell.FVAlign;
    SetBackgroundImage(cell.GetBackgroundImage());
    SetBackgroundStyle(cell.GetBackgroundStyle());
    FBackgroundImageFileName = cell.FBackgroundImageFileName;
    FRotation = cell.FRotation;
    FOptions = cell.FOptions;
    FHint = cell.FHint;
    FTag = cell.FTag;
    if (includeSize) {
        FBestWidth = cell.FBestWidth / divColSpan;
        FBestHeight = cell.FBestHeight / divRowSpan;
    }
}

void TVDTableCellData::CopyBounds(const TVDTableCellData &source) {
    FLeft = source.FLeft;
    FTop = source.FTop;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
}

gfx::TGraphic *TVDTableCellData::GetBackgroundImage() const {
    return FBackground ? FBackground->GetImage() : nullptr;
}

TVDItemBackgroundStyle TVDTableCellData::GetBackgroundStyle() const {
    return FBackground ? FBackground->GetItemBackStyle() : vdbsColor;
}

void TVDTableCellData::SetBackgroundImage(const gfx::TGraphic *value) {
    if (value == GetBackgroundImage()) {
        return;
    }
    if (!FBackground && value && !value->Empty()) {
        FBackground = std::make_unique<TVDBackground>(false);
    }
    if (FBackground) {
        FBackground->AssignImage(value, this, true, this);
        if (FBackground->Empty()) {
            FBackground.reset();
        }
    }
}

void TVDTableCellData::SetBackgroundStyle(TVDItemBackgroundStyle value) {
    if (value == GetBackgroundStyle()) {
        return;
    }
    if (!FBackground && value != vdbsColor) {
        FBackground = std::make_unique<TVDBackground>(false);
    }
    if (FBackground) {
        if (FBackground->HasThumbnail()) {
            if (TVDThumbnailCache *cache = GetThumbnailCache()) {
                cache->RemoveThumbnail(this);
            }
            FBackground->FreeThumbnail();
        }
        FBackground->SetItemBackStyle(value);
        if (FBackground->Empty()) {
            FBackground.reset();
        }
    }
}

void TVDTableCellData::SetColor(TColor value) {
    FColor = value;
}

void TVDTableCellData::SetOpacity(TVDOpacity value) {
    FOpacity = value;
}

TVDTableRow *TVDTableCellData::GetRow() const {
    return static_cast<TVDTableRow *>(FList);
}

TVDTableItemInfo *TVDTableCellData::GetTable() const {
    if (IsDetached()) {
        return nullptr;
    }
    return GetRow()->GetRows()->GetTable();
}

void TVDTableCellData::GetPosition(int32_t &row, int32_t &col) const {
    row = col = -1;
    if (TVDTableItemInfo *table = GetTable()) {
        table->GetCellPosition(this, row, col);
    }
}

TCustomVDData *TVDTableCellData::Edit() {
    int32_t row = 0;
    int32_t col = 0;
    GetPosition(row, col);
    if (TVDTableItemInfo *table = GetTable(); table && row >= 0) {
        table->EditCell(row, col);
    }
    return GetVDData();
}

void TVDTableCellData::GetParentInfo(int32_t &parentItemNo,
                                     std::unique_ptr<TVDStoreSubVDData> &location) {
    int32_t row = 0;
    int32_t col = 0;
    GetPosition(row, col);
    location = std::make_unique<TVDTableStoreSubVDData>(row, col);
    TVDTableItemInfo *table = GetTable();
    parentItemNo = table ? table->GetMyItemNo() : -1;
}

rtl::UnicodeString TVDTableCellData::GetItemHint(TCustomVDData &vdData, int32_t itemNo,
                                                 const rtl::UnicodeString &) {
    rtl::UnicodeString hint;
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        hint = parent->GetItemHint(vdData, itemNo, FHint);
    }
    return hint.empty() ? FHint : hint;
}

uint32_t TVDTableCellData::GetColor() {
    int32_t row = 0;
    int32_t col = 0;
    GetPosition(row, col);
    TVDTableItemInfo *table = GetTable();
    if (!table || row < 0) {
        return static_cast<uint32_t>(FColor);
    }
    return static_cast<uint32_t>(table->GetCellColor(row, col, true, true));
}

TColor TVDTableCellData::GetCellColor() {
    int32_t row = 0;
    int32_t col = 0;
    GetPosition(row, col);
    TVDTableItemInfo *table = GetTable();
    return table && row >= 0 ? table->GetCellColor(row, col, false, false) : FColor;
}

bool TVDTableCellData::HasData(bool checkStyles) {
    const int32_t count = ItemCount();
    if (count != 1) {
        return count > 1;
    }
    TCustomVDItemInfo *item = GetItem(0);
    if (item->Checkpoint) {
        return true;
    }
    if (!item->IsText()) {
        return true;
    }
    if (!item->ItemText.empty()) {
        return true;
    }
    return checkStyles && (item->StyleNo != 0 || item->ParaNo != 0);
}

bool TVDTableCellData::CanClearCell() {
    TVDStyle *style = GetVDStyle();
    if (!style) {
        return true;
    }
    TCustomVDData *data = GetVDData();
    for (int32_t i = 0; i < data->ItemCount(); ++i) {
        TCustomVDItemInfo *item = data->GetItem(i);
        if (item->IsText()) {
            const int32_t styleNo = item->GetActualTextStyleNo(style);
            if (style->GetTextStyles().GetItem(styleNo).GetProtection().Contains(
                    vdprDeleteProtect)) {
                return false;
            }
        } else if (static_cast<TVDNonTextItemInfo *>(item)->DeleteProtect) {
            return false;
        }
    }
    return true;
}

// ---- Geometry ----

int32_t TVDTableCellData::HPad() {
    TVDTableItemInfo *table = GetTable();
    TVDStyle *style = GetVDStyle();
    return table && style ? style->GetAsPixels(table->GetCellHPadding()) : 0;
}

int32_t TVDTableCellData::VPad() {
    TVDTableItemInfo *table = GetTable();
    TVDStyle *style = GetVDStyle();
    return table && style ? style->GetAsPixels(table->GetCellVPadding()) : 0;
}

int32_t TVDTableCellData::GetWidth() {
    return FWidth - 2 * HPad();
}

int32_t TVDTableCellData::GetHeight() {
    return FHeight - 2 * VPad();
}

int32_t TVDTableCellData::GetHOffs() {
    TVDTableItemInfo *table = GetTable();
    return -HPad() - (table ? table->MyClientLeft : 0) - FLeft;
}

int32_t TVDTableCellData::GetVOffs() {
    TVDTableItemInfo *table = GetTable();
    return -VPad() - (table ? table->MyClientTop : 0) - GetExtraVOffs() - FTop;
}

namespace {

// The main document's origin plus the table item's place in it.
rtl::TPoint TableOrigin(TVDTableItemInfo *table, bool ex) {
    rtl::TPoint origin{};
    auto *main =
        table ? dynamic_cast<TCustomVDFormattedData *>(table->GetRows().GetMainVDData()) : nullptr;
    if (!main) {
        return origin;
    }
    origin = ex ? main->GetOriginEx() : main->GetOrigin();
    int32_t left = 0;
    int32_t top = 0;
    if (main->GetItemCoords(table->GetMyItemNo(), left, top)) {
        origin.X += left;
        origin.Y += top;
    }
    return origin;
}

} // namespace

rtl::TPoint TVDTableCellData::GetOrigin() {
    rtl::TPoint origin = TableOrigin(GetTable(), false);
    origin.X += HPad() + FLeft;
    origin.Y += VPad() + FTop + GetExtraVOffs();
    return origin;
}

rtl::TPoint TVDTableCellData::GetOriginEx() {
    rtl::TPoint origin = TableOrigin(GetTable(), true);
    origin.X += HPad() + FLeft;
    origin.Y += VPad() + FTop + GetExtraVOffs();
    return origin;
}

int32_t TVDTableCellData::GetExtraVOffs() {
    if (GetRotation() != vdrotNone) {
        return 0;
    }
    auto *data = static_cast<TCustomVDFormattedData *>(GetVDData());
    const int32_t h = data->DocumentHeight;
    const bool edited = data != this;
    switch (GetRealVAlign()) {
    case vdcMiddle:
        return (FHeight - h) / 2 - (edited ? 0 : VPad());
    case vdcBottom:
        return FHeight - h - (edited ? 0 : 2 * VPad());
    default:
        return 0;
    }
}

int32_t TVDTableCellData::GetCellHeight() {
    TVDTableItemInfo *table = GetTable();
    const bool ignoreContent =
        table && table->GetTableOptions().Contains(vdtoIgnoreContentHeight) && FBestHeight > 0;
    int32_t height = 0;
    if (!IsVerticalText() && !ignoreContent) {
        height = static_cast<TCustomVDFormattedData *>(GetVDData())->DocumentHeight;
    }
    if (FBestHeight > 0) {
        if (TVDStyle *style = GetVDStyle()) {
            height = std::max(height, style->GetAsPixels(FBestHeight));
        }
    }
    return height;
}

int32_t TVDTableCellData::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas &canvas) {
    auto *data = static_cast<TCustomVDFormattedData *>(GetVDData());
    if (data->ItemCount() == 0 || IsVerticalText()) {
        return 0;
    }
    TVDStyle *style = GetVDStyle();
    TCustomVDItemInfo *first = data->GetItem(0);
    if (data->ItemCount() == 1 && first->IsText() && first->ItemText.empty() && style) {
        const TParaInfo &para = style->GetParaStyles().GetItem(first->ParaNo);
        return style->GetAsDevicePixelsX(para.GetLeftIndent(), sad) +
               style->GetAsDevicePixelsX(para.GetRightIndent(), sad) +
               style->GetAsDevicePixelsX(para.GetFirstIndent(), sad);
    }
    const int32_t width = data->CalculateMinDocWidthPlus(0, sad, canvas);
    return width == 0 ? 10 : width;
}

void TVDTableCellData::ResetSubCoords() {
    TVDItemFormattedData::ResetSubCoords();
    if (auto *parent = dynamic_cast<TCustomVDFormattedData *>(GetParentData())) {
        parent->ResetSubCoords();
    }
    if (TVDTableItemInfo *table = GetTable()) {
        table->ResetSubCoords();
    }
}

void TVDTableCellData::AdjustFocus(int32_t newFocusedItemNo, TCustomVDFormattedData *topLevelVDData,
                                   int32_t topLevelItemNo) {
    TVDItemFormattedData::AdjustFocus(newFocusedItemNo, topLevelVDData, topLevelItemNo);
    int32_t row = 0;
    int32_t col = 0;
    GetPosition(row, col);
    if (TVDTableItemInfo *table = GetTable(); table && row >= 0) {
        table->SetFocusedCell(row, col, topLevelItemNo, topLevelVDData);
    }
}

TVDVerticalAlign TVDTableCellData::GetVerticalAlign() {
    switch (GetRealVAlign()) {
    case vdcMiddle:
        return vdveraMiddle;
    case vdcBottom:
        return vdveraBottom;
    default:
        return vdveraTop;
    }
}

TVDCellVAlign TVDTableCellData::GetRealVAlign() const {
    if (FVAlign != vdcVDefault) {
        return FVAlign;
    }
    if (FList && GetRow()->VAlign != vdcVDefault) {
        return GetRow()->VAlign;
    }
    return vdcMiddle;
}

bool TVDTableCellData::KeepTogether() {
    return FList && GetRow()->KeepTogether;
}

bool TVDTableCellData::UseVerticalFonts() {
    return IsVerticalText() && FOptions.Contains(vdtcoUseVerticalFonts);
}

TVDOptions TVDTableCellData::GetOptions() {
    TVDOptions options = TVDItemFormattedData::GetOptions();
    options.Exclude(vdoClientTextWidth);
    return options;
}

bool TVDTableCellData::IsInDocument() {
    TVDTableItemInfo *table = GetTable();
    return table && table->GetMyItemNo() >= 0;
}

TVDMarkerList *TVDTableCellData::GetMarkers(bool allowCreate) {
    if (!IsInDocument()) {
        return nullptr;
    }
    return TVDItemFormattedData::GetMarkers(allowCreate);
}

TVDSeqList *TVDTableCellData::GetSeqList(bool allowCreate) {
    if (!IsInDocument()) {
        return nullptr;
    }
    return TVDItemFormattedData::GetSeqList(allowCreate);
}

std::vector<TCustomVDItemInfo *> *TVDTableCellData::GetPrintFieldList(bool allowCreate) {
    if (!IsInDocument()) {
        return nullptr;
    }
    return TVDItemFormattedData::GetPrintFieldList(allowCreate);
}

void TVDTableCellData::ConvertToDifferentUnits(TVDStyleUnits newUnits, TVDStyle *vdStyle,
                                               bool convertItems) {
    TVDItemFormattedData::ConvertToDifferentUnits(newUnits, vdStyle, convertItems);
    FBestHeight = TVDStyle::GetAsDifferentUnits(vdStyle, FBestHeight, newUnits);
    if (FBestWidth > 0) {
        FBestWidth = TVDStyle::GetAsDifferentUnits(vdStyle, FBestWidth, newUnits);
    }
}

// ---- Row ----

TVDTableRow::TVDTableRow(int32_t nCols, TVDTableRows *rows) : FRows(rows) {
    SetCapacity(nCols);
    for (int32_t i = 0; i < nCols; ++i) {
        TVDDataList::Add(NewCell());
    }
}

TVDTableRow::~TVDTableRow() {
    // The cells are freed while they can still find their table.
    Clear();
}

std::unique_ptr<TVDTableCellData> TVDTableRow::NewCell() {
    TVDTableItemInfo *table = FRows ? FRows->GetTable() : nullptr;
    return table ? table->CreateCell(this) : std::make_unique<TVDTableCellData>(this);
}

void TVDTableRow::Put(rtl::Integer index, std::unique_ptr<TVDTableCellData> cell) {
    if (cell) {
        cell->FList = this;
    }
    TVDDataList::Put(index, std::move(cell));
}

std::unique_ptr<TVDTableCellData> TVDTableRow::ReleaseCell(rtl::Integer index) {
    std::unique_ptr<TVDItemFormattedData> data = Release(index);
    return std::unique_ptr<TVDTableCellData>(static_cast<TVDTableCellData *>(data.release()));
}

TVDTableCellData *TVDTableRow::Add() {
    std::unique_ptr<TVDTableCellData> cell = NewCell();
    TVDTableCellData *result = cell.get();
    TVDDataList::Add(std::move(cell));
    return result;
}

TVDTableCellData *TVDTableRow::Insert(rtl::Integer index) {
    std::unique_ptr<TVDTableCellData> cell = NewCell();
    TVDTableCellData *result = cell.get();
    TVDDataList::Insert(index, std::move(cell));
    return result;
}

void TVDTableRow::InsertEmpty(rtl::Integer index) {
    TVDDataList::Insert(index, nullptr);
}

void TVDTableRow::InsertCell(rtl::Integer index, std::unique_ptr<TVDTableCellData> cell) {
    if (cell) {
        cell->FList = this;
    }
    TVDDataList::Insert(index, std::move(cell));
}

TCustomVDData *TVDTableRow::GetParentVDData() const {
    return FRows ? FRows->GetMainVDData() : nullptr;
}

TVDStyleLength TVDTableRow::GetBestHeight() const {
    TVDStyleLength result = 0;
    for (rtl::Integer i = 0; i < GetCount(); ++i) {
        const TVDTableCellData *cell = Get(i);
        if (cell && cell->GetRowSpan() <= 1 && cell->GetBestHeight() > result) {
            result = cell->GetBestHeight();
        }
    }
    return result;
}

int32_t TVDTableRow::GetHeight() const {
    int32_t result = 0;
    for (rtl::Integer i = 0; i < GetCount(); ++i) {
        TVDTableCellData *cell = Get(i);
        if (cell && cell->GetRowSpan() <= 1) {
            result = std::max(result, cell->GetCellHeight());
        }
    }
    return result == 0 ? 10 : result;
}

bool TVDTableRow::HasCellEndingWithin(int32_t rowIndex, int32_t firstRow, int32_t rowCount) const {
    if (rowIndex < firstRow) {
        return false;
    }
    for (rtl::Integer i = 0; i < GetCount(); ++i) {
        const TVDTableCellData *cell = Get(i);
        if (cell && firstRow + rowCount - 1 >= rowIndex + cell->GetRowSpan() - 1) {
            return true;
        }
    }
    return false;
}

// ---- Rows ----

TVDTableRows::TVDTableRows(int32_t nRows, int32_t nCols, TCustomVDData *mainVDData,
                           TVDTableItemInfo *table)
    : FMainVDData(mainVDData), FTable(table) {
    Reset(nRows, nCols);
}

TVDTableRows::~TVDTableRows() {
    Clear();
}

std::unique_ptr<TVDTableRow> TVDTableRows::NewRow(int32_t nCols) {
    return std::make_unique<TVDTableRow>(nCols, this);
}

void TVDTableRows::Reset(int32_t nRows, int32_t nCols) {
    Clear();
    SetCapacity(nRows);
    for (int32_t i = 0; i < nRows; ++i) {
        TVDList::Add(NewRow(nCols));
    }
}

bool TVDTableRows::Empty() const {
    return GetCount() == 0 || Get(0)->GetCount() == 0;
}

TVDTableRow *TVDTableRows::Add(int32_t nCols) {
    std::unique_ptr<TVDTableRow> row = NewRow(nCols);
    TVDTableRow *result = row.get();
    TVDList::Add(std::move(row));
    return result;
}

TVDTableRow *TVDTableRows::Insert(rtl::Integer index, int32_t nCols) {
    std::unique_ptr<TVDTableRow> row = NewRow(nCols);
    TVDTableRow *result = row.get();
    TVDList::Insert(index, std::move(row));
    return result;
}

void TVDTableRows::InsertRow(rtl::Integer index, std::unique_ptr<TVDTableRow> row) {
    row->FRows = this;
    TVDList::Insert(index, std::move(row));
}

void TVDTableRows::Put(rtl::Integer index, std::unique_ptr<TVDTableRow> row) {
    if (row) {
        row->FRows = this;
    }
    TVDList::Put(index, std::move(row));
}

int32_t TVDTableRows::GetColCount() const {
    return GetCount() == 0 ? 0 : Get(0)->GetCount();
}

TVDTableCellData *TVDTableRows::GetMainCell(int32_t aRow, int32_t aCol, int32_t &mRow,
                                            int32_t &mCol) const {
    mRow = aRow;
    mCol = aCol;
    if (TVDTableCellData *cell = Cell(mRow, mCol)) {
        return cell;
    }
    while (true) {
        TVDTableRow *row = Get(mRow);
        while (mCol > 0 && row->Get(mCol) == nullptr) {
            --mCol;
        }
        TVDTableCellData *cell = row->Get(mCol);
        if (cell && aCol - mCol < cell->GetColSpan() && aRow - mRow < cell->GetRowSpan()) {
            return cell;
        }
        mCol = aCol;
        --mRow;
    }
}

int32_t TVDTableRows::GetColMinWidth(int32_t col, PVDScreenAndDevice sad,
                                     gfx::TCanvas &canvas) const {
    int32_t result = 0;
    for (rtl::Integer r = 0; r < GetCount(); ++r) {
        TVDTableCellData *cell = Cell(r, col);
        if (cell && cell->GetColSpan() <= 1) {
            result = std::max(result, cell->GetMinWidth(sad, canvas));
        }
    }
    return result;
}

TVDHTMLLength TVDTableRows::GetColBestWidth(int32_t col) const {
    TVDHTMLLength result = 0;
    for (rtl::Integer r = 0; r < GetCount(); ++r) {
        const TVDTableCellData *cell = Cell(r, col);
        if (!cell || cell->GetColSpan() > 1) {
            continue;
        }
        if (cell->GetBestWidth() < 0) {
            return 0;
        }
        result = std::max(result, cell->GetBestWidth());
    }
    return result;
}

int32_t TVDTableRows::GetColPercentWidth(int32_t col, int32_t totalWidth) const {
    int32_t result = 0;
    for (rtl::Integer r = 0; r < GetCount(); ++r) {
        const TVDTableCellData *cell = Cell(r, col);
        if (cell && cell->GetColSpan() <= 1 && cell->GetBestWidth() < 0) {
            result = std::max(
                result, static_cast<int32_t>(int64_t{totalWidth} * -cell->GetBestWidth() / 100));
        }
    }
    return result;
}

bool TVDTableRows::ColHasPercentWidth(int32_t col) const {
    const int32_t colCount = GetColCount();
    for (rtl::Integer r = 0; r < GetCount(); ++r) {
        const TVDTableCellData *cell = Cell(r, col);
        if (cell) {
            if (cell->GetColSpan() <= 1 && cell->GetBestWidth() < 0) {
                return true;
            }
            continue;
        }
        int32_t mRow = 0;
        int32_t mCol = 0;
        const TVDTableCellData *main = GetMainCell(r, col, mRow, mCol);
        if (main->GetBestWidth() >= 0) {
            continue;
        }
        // The merged cell's span ends in this column.
        if (col == colCount - 1 || Cell(r, col + 1) != nullptr) {
            return true;
        }
        int32_t nRow = 0;
        int32_t nCol = 0;
        if (GetMainCell(r, col + 1, nRow, nCol) != main) {
            return true;
        }
    }
    return false;
}

} // namespace vizivodu
