// What a table does for its cells as a whole: style bookkeeping and renumbering, unit
// conversion, and the table's extra properties in the native format.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

namespace vizivodu {

namespace {

// Calls visit for every cell of its own, row by row, left to right.
template <class F> void ForEachCell(TVDTableRows &rows, F visit) {
    for (int32_t r = 0; r < rows.GetRowCount(); ++r) {
        const TVDTableRow &row = *rows.Get(r);
        for (int32_t c = 0; c < row.GetCount(); ++c) {
            if (TVDTableCellData *cell = row.Get(c)) {
                visit(*cell);
            }
        }
    }
}

} // namespace

void TVDTableItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TVDFullLineItemInfo::MarkStylesInUse(data);
    ForEachCell(*FRows, [&](TVDTableCellData &cell) { cell.GetVDData()->DoMarkStylesInUse(data); });
}

void TVDTableItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TVDFullLineItemInfo::UpdateStyles(data);
    ForEachCell(*FRows, [&](TVDTableCellData &cell) { cell.GetVDData()->DoUpdateStyles(data); });
}

void TVDTableItemInfo::ChangeParagraphStyles(const TVDIntegerList *paraMapList,
                                             const TVDIntegerList *newIndices,
                                             TVDIntegerList *oldIndices, int32_t &index) {
    TVDFullLineItemInfo::ChangeParagraphStyles(paraMapList, newIndices, oldIndices, index);
    ForEachCell(*FRows, [&](TVDTableCellData &cell) {
        cell.GetVDData()->ChangeParagraphStyles(paraMapList, newIndices, oldIndices, index);
    });
}

void TVDTableItemInfo::ChangeTextStyles(const TVDIntegerList *textMapList,
                                        const TVDIntegerList *newIndices,
                                        TVDIntegerList *oldIndices, int32_t &index) {
    TVDFullLineItemInfo::ChangeTextStyles(textMapList, newIndices, oldIndices, index);
    ForEachCell(*FRows, [&](TVDTableCellData &cell) {
        cell.GetVDData()->ChangeTextStyles(textMapList, newIndices, oldIndices, index);
    });
}

void TVDTableItemInfo::ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle,
                                               bool recursive) {
    TVDFullLineItemInfo::ConvertToDifferentUnits(newUnits, vdStyle, recursive);
    const auto units = static_cast<TVDStyleUnits>(newUnits);
    ForEachCell(*FRows, [&](TVDTableCellData &cell) {
        cell.ConvertToDifferentUnits(units, vdStyle, recursive);
    });
    auto convert = [&](TVDStyleLength value) {
        return TVDStyle::GetAsDifferentUnits(vdStyle, value, units);
    };
    WithoutInserted([&] {
        SetBorderWidth(convert(FBorderWidth));
        SetBorderVSpacing(convert(FBorderVSpacing));
        SetBorderHSpacing(convert(FBorderHSpacing));
        SetCellBorderWidth(convert(FCellBorderWidth));
        SetCellHPadding(convert(FCellHPadding));
        SetCellVPadding(convert(FCellVPadding));
        SetVRuleWidth(convert(FVRuleWidth));
        SetHRuleWidth(convert(FHRuleWidth));
        SetCellVSpacing(convert(FCellVSpacing));
        SetCellHSpacing(convert(FCellHSpacing));
        if (FBestWidth > 0) {
            SetBestWidth(convert(FBestWidth));
        }
    });
}

// ---- Backgrounds ----

gfx::TGraphic *TVDTableItemInfo::GetBackgroundImage() const {
    return FBackground ? FBackground->GetImage() : nullptr;
}

TVDItemBackgroundStyle TVDTableItemInfo::GetBackgroundStyle() const {
    return FBackground ? FBackground->GetItemBackStyle() : vdbsColor;
}

void TVDTableItemInfo::SetBackgroundImage(const gfx::TGraphic *value) {
    if (value == GetBackgroundImage()) {
        return;
    }
    if (!FBackground && value && !value->Empty()) {
        FBackground = std::make_unique<TVDBackground>(false);
    }
    if (FBackground) {
        FBackground->AssignImage(value, FRows->GetMainVDData(), true, this);
        if (FBackground->Empty()) {
            FBackground.reset();
        }
    }
}

void TVDTableItemInfo::SetBackgroundStyle(TVDItemBackgroundStyle value) {
    if (value == GetBackgroundStyle()) {
        return;
    }
    if (FState.Contains(vdtsInserted)) {
        ChangeIntProperty(u"BackgroundStyle", value, false, false);
    } else {
        ChangeBackgroundStyle(value);
    }
}

void TVDTableItemInfo::ChangeBackgroundStyle(TVDItemBackgroundStyle value) {
    if (!FBackground && value != vdbsColor) {
        FBackground = std::make_unique<TVDBackground>(false);
    }
    if (!FBackground) {
        return;
    }
    FreeThumbnail();
    FBackground->SetItemBackStyle(value);
    if (FBackground->Empty()) {
        FBackground.reset();
    }
}

bool TVDTableItemInfo::HasThumbnail() const {
    return FBackground && FBackground->HasThumbnail();
}

void TVDTableItemInfo::FreeThumbnail() {
    if (!HasThumbnail()) {
        return;
    }
    if (TCustomVDData *main = FRows->GetMainVDData()) {
        if (TVDThumbnailCache *cache = main->GetThumbnailCache()) {
            cache->RemoveThumbnail(this);
        }
    }
    FBackground->FreeThumbnail();
}

// ---- Formatting streams ----

namespace {

void WriteInt32(rtl::TStream &stream, int32_t value) {
    stream.WriteBuffer(&value, sizeof(value));
}

int32_t ReadInt32(rtl::TStream &stream) {
    int32_t value = 0;
    stream.ReadBuffer(&value, sizeof(value));
    return value;
}

[[noreturn]] void InvalidFormattingData() {
    throw EViziVoduError("Invalid formatting data");
}

} // namespace

void TVDTableItemInfo::SaveFormattingToStream(rtl::TStream &stream) {
    WriteInt32(stream, -1);
    Fmt->ColWidths.SaveToStream(stream);
    Fmt->RowHeights.SaveToStream(stream);
    Fmt->ColStarts.SaveToStream(stream);
    Fmt->RowStarts.SaveToStream(stream);
    WriteInt32(stream, Fmt->FWidth);
    WriteInt32(stream, Fmt->FHeight);
    ForEachCell(*FRows, [&](TVDTableCellData &cell) {
        for (int32_t v : {cell.FLeft, cell.FTop, cell.FWidth, cell.FHeight}) {
            WriteInt32(stream, v);
        }
        static_cast<TCustomVDFormattedData *>(cell.GetVDData())->SaveFormattingToStream(stream);
    });
}

// The lists must describe this grid: a stream of another table would place cells outside it
// and give the cells' documents formatting of other items.
void TVDTableItemInfo::LoadFormattingFromStream(rtl::TStream &stream) {
    auto readList = [&](TVDIntegerList &list, int32_t count) {
        const int64_t left = stream.GetSize() - stream.GetPosition();
        int32_t n = -1;
        if (left >= 4) {
            stream.ReadBuffer(&n, sizeof(n));
        }
        if (n != count || int64_t{n} * 4 > left - 4) {
            Fmt->Clear();
            InvalidFormattingData();
        }
        stream.Seek(-4, rtl::soCurrent);
        list.LoadFromStream(stream);
    };
    readList(Fmt->ColWidths, GetColCount());
    readList(Fmt->RowHeights, GetRowCount());
    readList(Fmt->ColStarts, GetColCount());
    readList(Fmt->RowStarts, GetRowCount());
    Fmt->FWidth = ReadInt32(stream);
    Fmt->FHeight = ReadInt32(stream);
    ForEachCell(*FRows, [&](TVDTableCellData &cell) {
        cell.FLeft = ReadInt32(stream);
        cell.FTop = ReadInt32(stream);
        cell.FWidth = ReadInt32(stream);
        cell.FHeight = ReadInt32(stream);
        static_cast<TCustomVDFormattedData *>(cell.GetVDData())->LoadFormattingFromStream(stream);
    });
}

// ---- Extra properties ----

bool TVDTableItemInfo::GetExtraStrProperty(TVDExtraItemStrProperty prop,
                                           rtl::UnicodeString &value) const {
    if (prop == vdespImageFileName) {
        value = FBackgroundImageFileName;
        return true;
    }
    return TVDFullLineItemInfo::GetExtraStrProperty(prop, value);
}

bool TVDTableItemInfo::SetExtraStrProperty(TVDExtraItemStrProperty prop,
                                           const rtl::UnicodeString &value) {
    if (prop == vdespImageFileName) {
        FBackgroundImageFileName = value;
        return true;
    }
    return TVDFullLineItemInfo::SetExtraStrProperty(prop, value);
}

int32_t TVDTableItemInfo::GetVDFExtraPropertyCount() const {
    return TVDFullLineItemInfo::GetVDFExtraPropertyCount() +
           (FBackgroundImageFileName.empty() ? 0 : 1);
}

void TVDTableItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDFullLineItemInfo::SaveVDFExtraProperties(stream);
    if (!FBackgroundImageFileName.empty()) {
        WriteVDFExtraStrProperty(stream, vdespImageFileName, FBackgroundImageFileName);
    }
}

} // namespace vizivodu
