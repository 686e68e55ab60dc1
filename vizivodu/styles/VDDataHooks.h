// What the style units call back on a document: the document data (TCustomVDData) derives from
// this class and overrides the hooks it needs. The answers here are the neutral ones, so a
// style operation given no document, or a document that does not care, changes nothing.
#pragma once

#include <cstdint>

namespace gfx {
class TCustomImageList;
}

namespace vizivodu {

class TCustomVDInfo;

class TCustomVDDataHooks {
public:
    virtual ~TCustomVDDataHooks() = default;

    // Called by style merging for each style it appends to a sheet on the document's behalf;
    // the document may adjust the new style.
    virtual void AfterAddStyle(TCustomVDInfo & /*styleInfo*/) {}
    // The image list that the application supplies for a tag (the root document's image-list
    // event); null when none.
    virtual gfx::TCustomImageList *VDFImageListNeeded(int32_t /*imageListTag*/) { return nullptr; }
    // The width of the formatted document in pixels (the page-break sign is drawn up to it);
    // 0 for a document that is not formatted.
    virtual int32_t GetWidth() { return 0; }
};

} // namespace vizivodu
