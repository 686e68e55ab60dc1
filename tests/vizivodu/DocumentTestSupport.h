// Test support for the document units: a document that stands as its own root with a style
// sheet, options and a record of the item notices it receives; notes added to a document.
#pragma once

#include "vizivodu/VDStartup.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/styles/VDStyle.h"

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace vizivodu::test {

class TTestDocument : public TCustomVDData {
public:
    explicit TTestDocument(TVDStyle *style);
    ~TTestDocument() override;

    TVDStyle *GetVDStyle() override;
    bool UseStyleTemplates() override;
    TVDFReaderStyleMode GetVDFTextStylesReadMode() override { return TextStylesReadMode; }
    TVDFReaderStyleMode GetVDFParaStylesReadMode() override { return ParaStylesReadMode; }
    void ItemAction(TVDItemAction action, TCustomVDItemInfo &, TVDRawByteString &,
                    TCustomVDData &) override;
    TVDDocRotation GetRotation() override;

    bool StyleTemplates = false;
    TVDFReaderStyleMode TextStylesReadMode = vdf_sInsertMerge;
    TVDFReaderStyleMode ParaStylesReadMode = vdf_sInsertMerge;
    TVDDocRotation Rotation = vdrotNone;
    std::vector<TVDItemAction> Actions;

private:
    TVDStyle *FStyle;
};

// A document inside an item of another (as a note's or a cell's text): its parent answers
// the tree's questions.
class TTestSubDocument : public TCustomVDData {
public:
    TTestSubDocument(TCustomVDData &parent, int32_t parentItemNo);
    ~TTestSubDocument() override;
    TCustomVDData *GetParentData() override;
    TCustomVDData *GetAbsoluteParentData() override;
    TCustomVDData *GetRootData() override;
    TCustomVDData *GetAbsoluteRootData() override;
    void GetParentInfo(int32_t &parentItemNo,
                       std::unique_ptr<TVDStoreSubVDData> &location) override;
    TVDDocRotation GetRotation() override;
    TVDDocRotation Rotation = vdrotNone;

private:
    TCustomVDData &FParent;
    int32_t FParentItemNo;
};

// Adds a note of type T (a footnote, an endnote, a sidenote or a text box) at the end of `to`, a
// document or a viewer of one, on the line of the text before it; fill writes into the note
// before it is added. Text that must be written once the note is in place (its number, say)
// goes into the note answered.
template <class T, class TTo> T &AddNote(TTo &to, const std::function<void(T &)> &fill = {}) {
    TCustomVDData *owner = nullptr;
    if constexpr (std::is_base_of_v<TCustomVDData, TTo>) {
        owner = &to;
    } else {
        owner = &to.GetVDData();
    }
    auto note = std::make_unique<T>(owner);
    note->ParaNo = -1;
    if (fill) {
        fill(*note);
    }
    T &added = *note;
    to.AddItem(u"", std::move(note));
    return added;
}

// The items of a document as text: "kind/para/options" per item, options as P (paragraph
// start), L (SameAsPrev), B (BR), text in UTF-8 for text items.
std::string Dump(TCustomVDData &doc);

} // namespace vizivodu::test
