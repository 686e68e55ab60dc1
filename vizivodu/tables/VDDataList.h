// Documents that items own: a sub-document that an item keeps in a list (the base of a table
// cell) and the owning list of such documents (the base of a table row). A sub-document leans
// on the document that holds its owning item for everything a root answers.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"

namespace vizivodu {

class TVDDataList;

// A document owned by an item through a list. FList is the list that owns it (a cell's row),
// nullptr while it is detached; a detached document is its own parent-less root.
class TVDItemFormattedData : public TCustomVDData {
public:
    explicit TVDItemFormattedData(TVDDataList *list) : FList(list) {}

    // The document that holds the owning item (nullptr while detached).
    TCustomVDData *GetParentData() override;
    TCustomVDData *GetAbsoluteParentData() override;
    TCustomVDData *GetRootData() override;
    TCustomVDData *GetAbsoluteRootData() override;

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
};

} // namespace vizivodu
