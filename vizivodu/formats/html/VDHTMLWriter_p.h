// Internals both HTML writers share: the state of one writing pass (stream, parameters, the
// lists it keeps for the call, the open paragraph and list), its small output helpers, and the
// notes sections written after the content.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/formats/html/VDHTMLListCSSList.h"
#include "vizivodu/formats/html/VDHTMLSave.h"

#include <string_view>

namespace rtl {
class TStream;
}

namespace vizivodu {

class TVDMarkerItemInfo;
class TVDStyle;

class TVDHTMLWriterBase {
public:
    TVDHTMLWriterBase(TCustomVDData &data, rtl::TStream &stream, TVDHTMLSaveParams &params,
                      bool useCSS);

protected:
    void Write(std::string_view s);
    void WriteLine(std::string_view s);
    TVDAnsiString Encode(const rtl::UnicodeString &s) const;
    // The document's extra code, written when not empty.
    void WriteExtra(TVDHTMLSaveArea area);
    void WriteParaExtra(int32_t itemNo, bool paraStart);
    // What an item's SaveToHTML receives; imgSaveNo returns through SaveItem.
    TVDHTMLSaveArgs ItemArgs() const;
    // A non-text item: the application's text, or the item's own HTML.
    void SaveNonTextItem(int32_t itemNo);
    // Footnotes, endnotes and sidenotes after the content of a root document.
    void SaveAllNotes();
    // The tags that close every open list level (the previous marker's list down to none).
    void CloseLists();
    bool IsHeading(int32_t paraNo, int32_t &level) const;

    TCustomVDData &FData;
    rtl::TStream &FStream;
    TVDHTMLSaveParams &FParams;
    TVDStyle &FStyle;
    const bool FUseCSS;
    const bool FUTF8;
    TVDHTMLBulletList FOwnBullets;
    TVDHTMLBulletList *FBullets;
    TVDMarkerItemInfo *FPrevMarker = nullptr;
    int32_t FCPCount = 0;

private:
    void SaveNotes(TVDItemClass noteClass, int32_t styleFilter);
};

// Writes the parts of an export its options ask for (the first, middle and last parts may come
// in separate calls); false when writing failed.
template <class TWriter> bool WriteHTMLParts(TWriter &writer, TVDSaveOptions o) {
    try {
        if (!o.Contains(vdsoMiddleOnly) && !o.Contains(vdsoLastOnly)) {
            writer.Head();
        }
        if (!o.Contains(vdsoFirstOnly) && !o.Contains(vdsoLastOnly)) {
            writer.Content();
        }
        if (!o.Contains(vdsoFirstOnly) && !o.Contains(vdsoMiddleOnly)) {
            writer.End();
        }
        return true;
    } catch (const rtl::Exception &) {
        return false;
    }
}

} // namespace vizivodu
