// Test helpers of the report: counters made by hand, the report's input around them, and text
// dumps of documents and table rows.
#pragma once

#include "app/UReportBuilder.h"
#include "app/UVDReportForm.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/StrUtils.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/tables/VDTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace workbench::testing {

// The signatories and the rest of the report's input, owned together.
struct TReportInputData {
    TDiaStat DiaStat;
    TSignatoryTable Confirmer1{{1, u"Профессор, д.м.н., Президент ЗЕМБРАК"}};
    TSignatoryTable Confirmer2{{1, u"Иванов И.И."}};
    TSignatoryTable JuryPeople1{{1, u"Профессор, д.м.н., член президиума ЗЕМБРАК"}, {2, u"Доцент"}};
    TSignatoryTable JuryPeople2{{1, u"Петров П.П."}, {2, u"Сидоров С.С."}};
    gfx::TPngImage Logo;
    UnicodeString ProgramName = u"Кардиотест 2.1";
    int32_t DBCount = 100;
    rtl::TDateTime Date = rtl::EncodeDate(2024, 3, 5);

    TReportInput Input() const {
        TReportInput input;
        input.ProgramName = ProgramName;
        input.DiaStat = &DiaStat;
        input.DBCount = DBCount;
        input.Confirmer1 = &Confirmer1;
        input.Confirmer2 = &Confirmer2;
        input.JuryPeople1 = &JuryPeople1;
        input.JuryPeople2 = &JuryPeople2;
        input.Logo = Logo.Empty() ? nullptr : &Logo;
        input.Date = Date;
        return input;
    }
};

// Lays the report window's document out with exact metrics of their own, so the content tests
// do not depend on the fonts of the machine.
inline void UseFixedMetrics(TVDReportForm &form) {
    form.VDStyle1->SetGraphicInterfaceForTesting(
        std::make_unique<vizivodu::test::TFixedGraphicInterface>());
}

// A document as paragraphs: "p/s'text'" for a paragraph of style p starting with a run of text
// style s, "+s'text'" for each further run, paragraphs joined by " ; ". An item that is not
// text shows its style number and "<item>".
inline std::string DocumentDump(vizivodu::TCustomVDData &data) {
    std::string dump;
    for (int32_t i = 0; i < data.ItemCount(); ++i) {
        const vizivodu::TCustomVDItemInfo &item = *data.GetItem(i);
        const int32_t styleNo = data.GetItemStyle(i);
        const std::string text =
            styleNo >= 0 ? rtl::Utf16ToUtf8(data.GetItemText(i)) : std::string("<item>");
        if (data.IsParaStart(i)) {
            dump += (i == 0 ? "" : " ; ") + std::to_string(item.ParaNo) + "/";
        } else {
            dump += "+";
        }
        dump += std::to_string(styleNo) + "'" + text + "'";
    }
    return dump;
}

// A table row: the cells' dumps joined by " | ", "~" where a merged cell covers the position.
inline std::string RowDump(const vizivodu::TVDTableItemInfo &table, int32_t row) {
    std::string dump;
    for (int32_t col = 0; col < table.GetColCount(); ++col) {
        vizivodu::TVDTableCellData *cell = table.GetCells(row, col);
        dump += (col == 0 ? "" : " | ") + (cell ? DocumentDump(*cell) : std::string("~"));
    }
    return dump;
}

// The table item of the document standing under the given name.
inline vizivodu::TVDTableItemInfo *FindTable(vizivodu::TCustomVDData &data,
                                             std::u16string_view name) {
    for (int32_t i = 0; i < data.ItemCount(); ++i) {
        if (data.GetItemStyle(i) == vizivodu::StyleNoTable && data.GetItemText(i) == name) {
            return dynamic_cast<vizivodu::TVDTableItemInfo *>(data.GetItem(i));
        }
    }
    ADD_FAILURE() << "no table " << rtl::Utf16ToUtf8(UnicodeString(name));
    return nullptr;
}

} // namespace workbench::testing
