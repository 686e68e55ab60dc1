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
    explicit TTestDocument(TVDStyle *style) : FStyle(style) { InitializeLibrary(); }
    ~TTestDocument() override { Clear(); }

    TVDStyle *GetVDStyle() override { return FStyle; }
    bool UseStyleTemplates() override { return StyleTemplates; }
    void ItemAction(TVDItemAction action, TCustomVDItemInfo &, TVDRawByteString &,
                    TCustomVDData &) override {
        Actions.push_back(action);
    }
    TVDDocRotation GetRotation() override { return Rotation; }

    bool StyleTemplates = false;
    TVDDocRotation Rotation = vdrotNone;
    std::vector<TVDItemAction> Actions;

private:
    TVDStyle *FStyle;
};

// A document inside an item of another (as a note's or a cell's text): its parent answers
// the tree's questions.
class TTestSubDocument : public TCustomVDData {
public:
    TTestSubDocument(TCustomVDData &parent, int32_t parentItemNo)
        : FParent(parent), FParentItemNo(parentItemNo) {}
    ~TTestSubDocument() override { Clear(); }
    TCustomVDData *GetParentData() override { return &FParent; }
    TCustomVDData *GetAbsoluteParentData() override { return &FParent; }
    TCustomVDData *GetRootData() override { return FParent.GetRootData(); }
    TCustomVDData *GetAbsoluteRootData() override { return FParent.GetAbsoluteRootData(); }
    void GetParentInfo(int32_t &parentItemNo,
                       std::unique_ptr<TVDStoreSubVDData> &location) override {
        parentItemNo = FParentItemNo;
        location = std::make_unique<TVDStoreSubVDData>();
    }
    TVDDocRotation GetRotation() override { return Rotation; }
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
inline std::string Dump(TCustomVDData &doc) {
    std::string out;
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        TCustomVDItemInfo *item = doc.GetItem(i);
        if (!out.empty()) {
            out += " | ";
        }
        out += item->GetSameAsPrev() ? "L" : item->GetBR() ? "B" : "P";
        out += std::to_string(item->ParaNo) + ":";
        if (item->IsText()) {
            out += rtl::Utf16ToUtf8(doc.GetItemText(i));
        } else {
            out += '#';
            out += std::to_string(item->StyleNo);
        }
    }
    return out;
}

} // namespace vizivodu::test
