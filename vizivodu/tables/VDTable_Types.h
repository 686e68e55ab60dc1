// The small types of tables: preferred lengths, cell, table and print options, table states,
// border styles, the colour properties, cell directions, the stored location of a cell, the
// formatting record of one layout and the column widths read from a document.
#pragma once

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDItem.h"

#include "platform/rtl/Sets.h"

#include <cstdint>
#include <memory>

namespace vizivodu {

// A preferred width: above 0 an absolute length in style units, below 0 a percentage (-50 is
// 50 %), 0 automatic.
using TVDHTMLLength = int32_t;

// Vertical alignment of a cell's content; vdcVDefault takes the row's.
enum TVDCellVAlign : uint8_t { vdcTop, vdcMiddle, vdcBottom, vdcVDefault };

enum TVDTableCellOption : uint8_t { vdtcoReverseLineOrder, vdtcoUseVerticalFonts };
using TVDTableCellOptions = rtl::TSet<TVDTableCellOption, 2>;

enum TVDTableState : uint8_t {
    vdtsInserted,            // the table is an item of a document
    vdtsEditMode,            // inserted, and the root document is an editable one
    vdtsModified,            // the table changed since its last screen layout
    vdtsFormatInplace,       // the in-place editor is to be formatted at its next placing
    vdtsVerticalDraggedRule, // a column line is being dragged (else a row line)
    vdtsDRChangeTableWidth,  // the dragged column line changes the table's width
    vdtsJustCreated,         // made, its cells' items not yet announced as inserted
    vdtsInplaceIsReformatting,
    vdtsSelExists, // a selection of several cells exists
    vdtsSavingFragment
};
using TVDTableStates = rtl::TSet<TVDTableState, 10>;

enum TVDTableOption : uint8_t {
    vdtoEditing,
    vdtoRowSizing,
    vdtoColSizing,
    vdtoRowSelect,
    vdtoColSelect,
    vdtoNoCellSelect,
    vdtoRTFSaveCellPixelBestWidth,
    vdtoRTFAllowAutofit,
    vdtoHideGridLines,
    vdtoOverlappingCorners,
    vdtoCellBelowBorders,
    vdtoIgnoreContentWidth,
    vdtoIgnoreContentHeight
};
using TVDTableOptions = rtl::TSet<TVDTableOption, 13>;
inline constexpr TVDTableOptions VDTableDefaultOptions{vdtoEditing, vdtoRowSizing, vdtoColSizing,
                                                       vdtoRowSelect, vdtoColSelect};

enum TVDTablePrintOption : uint8_t {
    vdtoHalftoneBorders,
    vdtoRowsSplit,
    vdtoWhiteBackground,
    vdtoContinue
};
using TVDTablePrintOptions = rtl::TSet<TVDTablePrintOption, 4>;
inline constexpr TVDTablePrintOptions VDTableDefaultPrintOptions{vdtoHalftoneBorders,
                                                                 vdtoRowsSplit};

enum TVDTableBorderStyle : uint8_t {
    vdtbRaised,
    vdtbLowered,
    vdtbColor,
    vdtbRaisedColor,
    vdtbLoweredColor
};

// The fifteen colour properties of a table, by index.
enum TVDTableColorProperty : uint8_t {
    vdtcColor,
    vdtcBorderColor,
    vdtcBorderLightColor,
    vdtcCellBorderColor,
    vdtcCellBorderLightColor,
    vdtcHeadingRowColor,
    vdtcLastRowColor,
    vdtcOddRowsColor,
    vdtcEvenRowsColor,
    vdtcFirstColumnColor,
    vdtcLastColumnColor,
    vdtcOddColumnsColor,
    vdtcEvenColumnsColor,
    vdtcVRuleColor,
    vdtcHRuleColor
};
inline constexpr int32_t VDTableColorCount = 15;

// The integer properties of a table, by index.
enum TVDTableIntegerProperty : uint8_t { vdtiRowBandSize, vdtiColBandSize, vdtiHeadingRowCount };
inline constexpr int32_t VDTableIntegerCount = 3;

enum TVDCellDirection : uint8_t {
    vdcdLeft,
    vdcdUp,
    vdcdRight,
    vdcdDown,
    vdcdDocTop,
    vdcdDocBottom,
    vdcdNext,
    vdcdPrev
};

// Where a cell document lies inside its table; made by the table, owned by the caller.
class TVDTableStoreSubVDData : public TVDStoreSubVDData {
public:
    TVDTableStoreSubVDData(int32_t row, int32_t col) : Row(row), Col(col) {}
    std::unique_ptr<TVDStoreSubVDData> Duplicate() const override;
    // Row - other's Row when the rows differ, else Col - other's Col.
    int32_t Compare(const TVDStoreSubVDData &other) const override;

    int32_t Row;
    int32_t Col;
};

// The layout of one table at one resolution, in device pixels. ColStarts and RowStarts are the
// outer edges of the cells' padding, relative to the table's top-left corner; ColWidths and
// RowHeights are the content sizes without padding, borders and spacing.
class TVDTableItemFormattingInfo {
public:
    TVDTableItemFormattingInfo() = default;
    TVDTableItemFormattingInfo(const TVDTableItemFormattingInfo &) = delete;
    TVDTableItemFormattingInfo &operator=(const TVDTableItemFormattingInfo &) = delete;
    virtual ~TVDTableItemFormattingInfo() = default;

    // Empties the four lists.
    void Clear();
    // Sets the four lists' counts to 0, keeping their capacity.
    void QuickClear();

    TVDIntegerList ColWidths;
    TVDIntegerList RowHeights;
    TVDIntegerList ColStarts;
    TVDIntegerList RowStarts;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
};

// Column widths read with a document: at ppxDevice pixels per inch.
class TVDTableStoredColWidths {
public:
    int32_t ppxDevice = 0;
    int32_t TableWidth = 0;
    TVDIntegerList ColWidths;
};

} // namespace vizivodu
