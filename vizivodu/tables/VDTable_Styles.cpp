// What a table does for its cells as a whole: style bookkeeping and renumbering, unit
// conversion, and the table's extra properties in the native format.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/styles/VDStyle.h"

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
