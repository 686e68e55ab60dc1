// Documents that items own: a formatted sub-document that an item keeps in a list (the base of
// a table cell) and the owning list of such documents (the base of a table row). A
// sub-document leans on the document that holds its owning item for everything a root
// answers: it has no margins, no scrolling and no background of its own.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/layout/formatting/CVDFData.h"

namespace vizivodu {

class TVDDataList;

// A document owned by an item through a list. FList is the list that owns it (a cell's row),
// nullptr while it is detached; a detached document is its own parent-less root.
class TVDItemFormattedData : public TCustomVDFormattedData {
public:
    explicit TVDItemFormattedData(TVDDataList *list) : FList(list) {}

    // The document that holds the owning item (nullptr while detached).
    TCustomVDData *GetParentData() override;
    TCustomVDData *GetAbsoluteParentData() override;
    TCustomVDData *GetRootData() override;
    TCustomVDData *GetAbsoluteRootData() override;

    // The list's flags; writing them raises EViziVoduError "This method is not supported for
    // TVDItemFormattedData".
    TVDFlags GetFlags() override;
    void SetFlags(TVDFlags value) override;

    // Drawn on the canvas of the control that shows the whole tree.
    gfx::TCanvas *GetCanvas() override;
    // Asks the absolute root to show the rectangle, turned into its coordinates.
    void ShowRectangle(int32_t left, int32_t top, int32_t width, int32_t height) override;

    int32_t GetAreaWidth() override { return 0; }
    int32_t GetAreaHeight() override { return 0; }
    int32_t GetLeftMargin() override { return 0; }
    int32_t GetRightMargin() override { return 0; }
    int32_t GetTopMargin() override { return 0; }
    int32_t GetBottomMargin() override { return 0; }
    int32_t GetMinTextWidth() override { return 0; }
    int32_t GetMaxTextWidth() override { return 0; }
    int32_t GetVSmallStep() override { return 0; }
    TVDBackground *GetBackground() override { return nullptr; }
    int32_t GetFirstItemVisible() override { return 0; }
    int32_t GetLastItemVisible() override { return ItemCount() - 1; }
    bool IsAssignedCheckpointVisible() override { return false; }
    void DoCheckpointVisible(TCheckpointData) override {}
    void DoJump(int32_t) override {}
    // The root's (a cell's hyperlinks take their URLs from the control that shows them).
    rtl::UnicodeString GetURL(int32_t id) override;
    void ScrollTo(int32_t, bool) override {}
    void HScrollTo(int32_t) override {}
    void AdjustVScrollUnits() override {}
    void SetDocumentAreaSize(int32_t, int32_t, bool, bool) override {}

    TVDDataList *FList;
};

// An owning list of sub-documents of one item; entries may be empty (nullptr). Index errors are
// the class library's "List index out of bounds (%d)".
class TVDDataList : public TVDList<TVDItemFormattedData> {
public:
    // The constructor of the original takes the parent document and ignores it.
    TVDDataList() = default;
    TVDDataList(const TVDDataList &) = delete;
    TVDDataList &operator=(const TVDDataList &) = delete;
    virtual ~TVDDataList() = default;

    // The document that contains the owning item; nullptr here.
    virtual TCustomVDData *GetParentVDData() const { return nullptr; }

    // Takes the document at index out of its entry, which stays, empty; the caller owns it.
    std::unique_ptr<TVDItemFormattedData> Release(rtl::Integer index);

    // The flags every sub-document of the list reports.
    TVDFlags Flags{vdflTrim, vdflMouseXYAlwaysCorrect, vdflCanUseCustomPPI};
};

} // namespace vizivodu
