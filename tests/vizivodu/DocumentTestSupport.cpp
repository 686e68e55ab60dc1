// Test support for the document units: the test documents and the document dump.
#include "tests/vizivodu/DocumentTestSupport.h"

namespace vizivodu::test {

TTestDocument::TTestDocument(TVDStyle *style) : FStyle(style) {
    InitializeLibrary();
}

TTestDocument::~TTestDocument() {
    Clear();
}

TVDStyle *TTestDocument::GetVDStyle() {
    return FStyle;
}

bool TTestDocument::UseStyleTemplates() {
    return StyleTemplates;
}

void TTestDocument::ItemAction(TVDItemAction action, TCustomVDItemInfo &, TVDRawByteString &,
                               TCustomVDData &) {
    Actions.push_back(action);
}

TVDDocRotation TTestDocument::GetRotation() {
    return Rotation;
}

TTestSubDocument::TTestSubDocument(TCustomVDData &parent, int32_t parentItemNo)
    : FParent(parent), FParentItemNo(parentItemNo) {}

TTestSubDocument::~TTestSubDocument() {
    Clear();
}

TCustomVDData *TTestSubDocument::GetParentData() {
    return &FParent;
}

TCustomVDData *TTestSubDocument::GetAbsoluteParentData() {
    return &FParent;
}

TCustomVDData *TTestSubDocument::GetRootData() {
    return FParent.GetRootData();
}

TCustomVDData *TTestSubDocument::GetAbsoluteRootData() {
    return FParent.GetAbsoluteRootData();
}

void TTestSubDocument::GetParentInfo(int32_t &parentItemNo,
                                     std::unique_ptr<TVDStoreSubVDData> &location) {
    parentItemNo = FParentItemNo;
    location = std::make_unique<TVDStoreSubVDData>();
}

TVDDocRotation TTestSubDocument::GetRotation() {
    return Rotation;
}

std::string Dump(TCustomVDData &doc) {
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
