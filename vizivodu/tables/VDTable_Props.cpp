// Changes by property name: the published properties of the table and of its cells, resolved
// to their setters, and the public cell and row setters built on them.
#include "vizivodu/tables/VDTable.h"

#include "platform/rtl/Format.h"

#include <string_view>

namespace vizivodu {

namespace {

template <class T> struct TIntProperty {
    std::u16string_view Name;
    void (*Set)(T &object, int32_t value);
};

struct TStrProperty {
    std::u16string_view Name;
    void (*Set)(TVDTableCellData &cell, const rtl::UnicodeString &value);
};

// The table's published ordinal properties, each written through its setter.
const TIntProperty<TVDTableItemInfo> TableProperties[] = {
    {u"Color", [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcColor, v); }},
    {u"BorderColor", [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcBorderColor, v); }},
    {u"BorderLightColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcBorderLightColor, v); }},
    {u"CellBorderColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcCellBorderColor, v); }},
    {u"CellBorderLightColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcCellBorderLightColor, v); }},
    {u"VRuleColor", [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcVRuleColor, v); }},
    {u"HRuleColor", [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcHRuleColor, v); }},
    {u"HeadingRowColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcHeadingRowColor, v); }},
    {u"LastRowColor", [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcLastRowColor, v); }},
    {u"OddRowsColor", [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcOddRowsColor, v); }},
    {u"EvenRowsColor", [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcEvenRowsColor, v); }},
    {u"FirstColumnColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcFirstColumnColor, v); }},
    {u"LastColumnColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcLastColumnColor, v); }},
    {u"OddColumnsColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcOddColumnsColor, v); }},
    {u"EvenColumnsColor",
     [](TVDTableItemInfo &t, int32_t v) { t.SetColor(vdtcEvenColumnsColor, v); }},
    {u"HeadingRowCount", [](TVDTableItemInfo &t, int32_t v) { t.SetHeadingRowCount(v); }},
    {u"RowBandSize", [](TVDTableItemInfo &t, int32_t v) { t.SetRowBandSize(v); }},
    {u"ColBandSize", [](TVDTableItemInfo &t, int32_t v) { t.SetColBandSize(v); }},
    {u"Opacity", [](TVDTableItemInfo &t, int32_t v) { t.SetOpacity(v); }},
    {u"BackgroundStyle",
     [](TVDTableItemInfo &t, int32_t v) {
         t.SetBackgroundStyle(static_cast<TVDItemBackgroundStyle>(v));
     }},
    {u"BestWidth", [](TVDTableItemInfo &t, int32_t v) { t.SetBestWidth(v); }},
    {u"BorderWidth", [](TVDTableItemInfo &t, int32_t v) { t.SetBorderWidth(v); }},
    {u"BorderStyle",
     [](TVDTableItemInfo &t, int32_t v) { t.SetBorderStyle(static_cast<TVDTableBorderStyle>(v)); }},
    {u"BorderVSpacing", [](TVDTableItemInfo &t, int32_t v) { t.SetBorderVSpacing(v); }},
    {u"BorderHSpacing", [](TVDTableItemInfo &t, int32_t v) { t.SetBorderHSpacing(v); }},
    {u"CellHPadding", [](TVDTableItemInfo &t, int32_t v) { t.SetCellHPadding(v); }},
    {u"CellVPadding", [](TVDTableItemInfo &t, int32_t v) { t.SetCellVPadding(v); }},
    {u"CellPadding", [](TVDTableItemInfo &t, int32_t v) { t.SetCellPadding(v); }},
    {u"CellBorderStyle",
     [](TVDTableItemInfo &t, int32_t v) {
         t.SetCellBorderStyle(static_cast<TVDTableBorderStyle>(v));
     }},
    {u"CellBorderWidth", [](TVDTableItemInfo &t, int32_t v) { t.SetCellBorderWidth(v); }},
    {u"CellVSpacing", [](TVDTableItemInfo &t, int32_t v) { t.SetCellVSpacing(v); }},
    {u"CellHSpacing", [](TVDTableItemInfo &t, int32_t v) { t.SetCellHSpacing(v); }},
    {u"VRuleWidth", [](TVDTableItemInfo &t, int32_t v) { t.SetVRuleWidth(v); }},
    {u"HRuleWidth", [](TVDTableItemInfo &t, int32_t v) { t.SetHRuleWidth(v); }},
    {u"VOutermostRule", [](TVDTableItemInfo &t, int32_t v) { t.SetVOutermostRule(v != 0); }},
    {u"HOutermostRule", [](TVDTableItemInfo &t, int32_t v) { t.SetHOutermostRule(v != 0); }},
};

// The cell's published ordinal properties.
const TIntProperty<TVDTableCellData> CellProperties[] = {
    {u"Color", [](TVDTableCellData &c, int32_t v) { c.SetColor(v); }},
    {u"Opacity", [](TVDTableCellData &c, int32_t v) { c.SetOpacity(v); }},
    {u"BorderColor", [](TVDTableCellData &c, int32_t v) { c.SetBorderColor(v); }},
    {u"BorderLightColor", [](TVDTableCellData &c, int32_t v) { c.SetBorderLightColor(v); }},
    {u"BestWidth", [](TVDTableCellData &c, int32_t v) { c.SetBestWidth(v); }},
    {u"BestHeight", [](TVDTableCellData &c, int32_t v) { c.SetBestHeight(v); }},
    {u"BackgroundStyle",
     [](TVDTableCellData &c, int32_t v) {
         c.SetBackgroundStyle(static_cast<TVDItemBackgroundStyle>(v));
     }},
    {u"VAlign", [](TVDTableCellData &c, int32_t v) { c.SetVAlign(static_cast<TVDCellVAlign>(v)); }},
    {u"Rotation",
     [](TVDTableCellData &c, int32_t v) { c.SetRotation(static_cast<TVDDocRotation>(v)); }},
    {u"Options",
     [](TVDTableCellData &c, int32_t v) {
         c.SetCellOptions(TVDTableCellOptions::FromBits(static_cast<uint32_t>(v)));
     }},
};

const TStrProperty CellStrProperties[] = {
    {u"Hint", [](TVDTableCellData &c, const rtl::UnicodeString &v) { c.SetHint(v); }},
    {u"Tag", [](TVDTableCellData &c, const rtl::UnicodeString &v) { c.SetTag(v); }},
    {u"BackgroundImageFileName",
     [](TVDTableCellData &c, const rtl::UnicodeString &v) { c.SetBackgroundImageFileName(v); }},
};

[[noreturn]] void UnknownProperty(const rtl::UnicodeString &name) {
    throw EViziVoduError(rtl::Format(u"Property %s does not exist", {name}));
}

template <class Table>
const auto &FindProperty(const Table &table, const rtl::UnicodeString &name) {
    for (const auto &property : table) {
        if (property.Name == name) {
            return property;
        }
    }
    UnknownProperty(name);
}

} // namespace

// ---- The table ----

void TVDTableItemInfo::ChangeIntProperty(const rtl::UnicodeString &propName, int32_t value, bool,
                                         bool) {
    const auto &property = FindProperty(TableProperties, propName);
    WithoutInserted([&] { property.Set(*this, value); });
    Changed();
}

// ---- Cells ----

void TVDTableItemInfo::ChangeCellIntProperty(int32_t, const rtl::UnicodeString &propName,
                                             int32_t value, int32_t row, int32_t col, bool, bool) {
    const auto &property = FindProperty(CellProperties, propName);
    TVDTableCellData &cell = *GetCells(row, col);
    WithoutInserted([&] { property.Set(cell, value); });
    Changed();
}

void TVDTableItemInfo::ChangeCellStrProperty(int32_t, const rtl::UnicodeString &propName,
                                             const rtl::UnicodeString &value, int32_t row,
                                             int32_t col) {
    const auto &property = FindProperty(CellStrProperties, propName);
    TVDTableCellData &cell = *GetCells(row, col);
    WithoutInserted([&] { property.Set(cell, value); });
    Changed();
}

void TVDTableItemInfo::AssignCellAttributes(int32_t, int32_t row, int32_t col,
                                            const TVDTableCellData &cell, bool includeSize,
                                            int32_t divColSpan, int32_t divRowSpan) {
    GetCells(row, col)->AssignAttributesFrom(cell, includeSize, divColSpan, divRowSpan);
    Changed();
}

void TVDTableItemInfo::SetCellBestWidth(TVDHTMLLength value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"BestWidth", value, row, col, true, true);
}

void TVDTableItemInfo::SetCellBestHeight(TVDStyleLength value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"BestHeight", value, row, col, true, false);
}

void TVDTableItemInfo::SetCellRotation(TVDDocRotation value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"Rotation", value, row, col, true, true);
}

void TVDTableItemInfo::SetCellOptions(TVDTableCellOptions value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"Options", static_cast<int32_t>(value.Bits()), row, col, true, true);
}

void TVDTableItemInfo::SetCellColor(TColor value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"Color", value, row, col, false, false);
}

void TVDTableItemInfo::SetCellOpacity(TVDOpacity value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"Opacity", value, row, col, false, false);
}

void TVDTableItemInfo::SetCellBorderColor(TColor value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"BorderColor", value, row, col, false, false);
}

void TVDTableItemInfo::SetCellBorderLightColor(TColor value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"BorderLightColor", value, row, col, false, false);
}

void TVDTableItemInfo::SetCellVAlign(TVDCellVAlign value, int32_t row, int32_t col) {
    ChangeCellIntProperty(-1, u"VAlign", value, row, col, true, false);
}

void TVDTableItemInfo::SetCellTag(const TVDTag &value, int32_t row, int32_t col) {
    ChangeCellStrProperty(-1, u"Tag", value, row, col);
}

void TVDTableItemInfo::SetCellHint(const rtl::UnicodeString &value, int32_t row, int32_t col) {
    ChangeCellStrProperty(-1, u"Hint", value, row, col);
}

void TVDTableItemInfo::SetCellBackgroundImageFileName(const rtl::UnicodeString &value, int32_t row,
                                                      int32_t col) {
    ChangeCellStrProperty(-1, u"BackgroundImageFileName", value, row, col);
}

void TVDTableItemInfo::SetCellBackgroundImage(const gfx::TGraphic *value, int32_t row,
                                              int32_t col) {
    GetCells(row, col)->SetBackgroundImage(value);
}

void TVDTableItemInfo::SetCellBackgroundStyle(TVDItemBackgroundStyle value, int32_t row,
                                              int32_t col) {
    ChangeCellIntProperty(-1, u"BackgroundStyle", value, row, col, false, false);
}

void TVDTableItemInfo::SetCellVisibleBorders(bool left, bool top, bool right, bool bottom,
                                             int32_t row, int32_t col) {
    TVDTableCellData &cell = *GetCells(row, col);
    if (cell.FVisibleBorders.IsEqual2(left, top, right, bottom)) {
        return;
    }
    cell.FVisibleBorders.SetValues(left, top, right, bottom);
    Changed();
}

void TVDTableItemInfo::SetTableVisibleBorders(bool left, bool top, bool right, bool bottom) {
    if (FVisibleBorders.IsEqual2(left, top, right, bottom)) {
        return;
    }
    FVisibleBorders.SetValues(left, top, right, bottom);
    Changed();
}

// ---- Rows ----

void TVDTableItemInfo::SetRowVAlign(TVDCellVAlign value, int32_t row) {
    TVDTableRow &r = *FRows->Get(row);
    r.VAlign = value;
}

void TVDTableItemInfo::SetRowPageBreakBefore(bool value, int32_t row) {
    FRows->Get(row)->PageBreakBefore = value;
}

void TVDTableItemInfo::SetRowKeepTogether(bool value, int32_t row) {
    FRows->Get(row)->KeepTogether = value;
}

} // namespace vizivodu
