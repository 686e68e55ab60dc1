// The report builder: the signed test report as a rich document (title block with the logo,
// the statistics table of every code with its counts and measures, the totals, the legend,
// and the approval and commission tables).
#pragma once

#include "app/UContentForm.h"
#include "app/core/UWorkbenchData.h"
#include "platform/rtl/DateUtils.h"

namespace gfx {
class TPngImage;
}
namespace vizivodu {
class TCustomViziVodu;
}

namespace workbench {

class TVDReportForm;

// What the report shows. The pointers are borrowed for the build only.
struct TReportInput {
    UnicodeString ProgramName;
    const TDiaStat *DiaStat = nullptr;
    // The number of ECGs of the reference database (lines of "base.info").
    int32_t DBCount = 0;
    // Signatories: only entry 1 of the approving table reaches the report; every commission
    // entry 1 .. count does. A missing entry prints as an empty text (an emptied table).
    const TSignatoryTable *Confirmer1 = nullptr;
    const TSignatoryTable *Confirmer2 = nullptr;
    const TSignatoryTable *JuryPeople1 = nullptr;
    const TSignatoryTable *JuryPeople2 = nullptr;
    // The logo (a PNG); a copy goes into the title block. nullptr: no picture.
    const gfx::TPngImage *Logo = nullptr;
    // The report's date, written in the locale's short date format.
    rtl::TDateTime Date = 0;
};

// Text styles of the report's style sheet, by index.
enum TReportTextStyle : int32_t {
    rtsNormal = 0,
    rtsHeading = 1,
    rtsBold = 2,
    rtsKeywords = 3,
    rtsAstNormal = 6,
    rtsAstBold = 7,
    rtsAstSmall = 8,
    rtsHeadingLarge = 9
};
// Paragraph styles of the report's style sheet, by index.
enum TReportParaStyle : int32_t {
    rpsLeft = 0,
    rpsCentered = 1,
    rpsRight = 2,
    rpsRedRight = 3,
    rpsGreenRight = 4
};

// The names under which the four tables stand in the document.
inline constexpr std::u16string_view HeaderTableName = u"header";
inline constexpr std::u16string_view MainTableName = u"main";
inline constexpr std::u16string_view ConfirmerTableName = u"Confirmer";
inline constexpr std::u16string_view JuryTableName = u"jury";

// Rows of the statistics table: the header row, one merged row per group, one row per code,
// the merged totals heading and the two total rows.
int32_t ReportMainTableRowCount();

// Appends the report to the viewer's document, which uses the report's style sheet: the title
// table, the statistics table, the legend, the approval table and the commission table. A
// measure without a denominator shows its report substitute (100 for sensitivity and
// specificity, 0 for the predictive value). Nothing is formatted.
void FillReportDocument(vizivodu::TCustomViziVodu &report, const TReportInput &input);

// The whole build into the report window: clears its document, formats the empty document,
// fills it, formats it and has the window's printing component paginate it. Failures propagate; the
// document then holds what was added.
void BuildReport(TVDReportForm &form, const TReportInput &input);

} // namespace workbench
