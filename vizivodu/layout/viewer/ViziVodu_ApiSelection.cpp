// The viewer's selection, copying and word queries: the root document's operations, with the
// control's colour and background for copying and the words converted to the asked form.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/VDItem.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/viewer/VDVDData.h"

namespace vizivodu {

void TCustomViziVodu::Deselect() {
    GetVDData().Deselect(nullptr, true);
}

void TCustomViziVodu::SelectAll() {
    GetVDData().SelectAll();
}

void TCustomViziVodu::SelectWordAt(int32_t x, int32_t y) {
    GetVDData().SelectWordAt(x, y);
}

bool TCustomViziVodu::SelectControl(ui::TControl *control) {
    return GetVDData().SelectControl(control);
}

bool TCustomViziVodu::SelectionExists() {
    return GetVDData().SelectionExists(true, true);
}

void TCustomViziVodu::GetSelectionBounds(int32_t &startItemNo, int32_t &startItemOffs,
                                         int32_t &endItemNo, int32_t &endItemOffs, bool normalize) {
    GetVDData().GetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs, normalize);
}

void TCustomViziVodu::SetSelectionBounds(int32_t startItemNo, int32_t startItemOffs,
                                         int32_t endItemNo, int32_t endItemOffs) {
    GetVDData().SetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs);
}

rtl::TRect TCustomViziVodu::GetSelectionRect() {
    return GetVDData().GetSelectionRect();
}

gfx::TGraphic *TCustomViziVodu::GetSelectedImage() {
    return GetVDData().GetSelectedImage();
}

TVDAnsiString TCustomViziVodu::GetSelTextA() {
    return GetVDData().GetSelTextR(false);
}

TVDUnicodeString TCustomViziVodu::GetSelTextW() {
    return RawUnicodeToString(GetVDData().GetSelTextR(true));
}

void TCustomViziVodu::CopyTextA() {
    GetVDData().CopyTextA();
}

void TCustomViziVodu::CopyTextW() {
    GetVDData().CopyTextW();
}

void TCustomViziVodu::CopyImage() {
    GetVDData().CopyImage();
}

void TCustomViziVodu::Copy() {
    GetVDData().Copy(EffectiveColor(), &GetBackground());
}

// ---- Words ----

void TCustomViziVodu::GetWordAtR(int32_t x, int32_t y, TCustomVDFormattedData *&vdData,
                                 int32_t &itemNo, TVDRawByteString &word) {
    GetVDData().GetWordAtR(x, y, vdData, itemNo, word);
}

void TCustomViziVodu::GetWordAt(int32_t x, int32_t y, TCustomVDFormattedData *&vdData,
                                int32_t &itemNo, TVDUnicodeString &word) {
    TVDRawByteString raw;
    GetWordAtR(x, y, vdData, itemNo, raw);
    word.clear();
    if (itemNo < 0 || !vdData) {
        return;
    }
    const TCustomVDItemInfo &item = *vdData->GetItem(itemNo);
    word = item.ItemOptions.Contains(vdioUnicode)
               ? RawUnicodeToString(raw)
               : RawUnicodeToString(AnsiToRawUnicode(vdData->GetItemCodePage(itemNo), raw));
}

TVDAnsiString TCustomViziVodu::GetWordAtA(int32_t x, int32_t y) {
    TCustomVDFormattedData *vdData = nullptr;
    int32_t itemNo = -1;
    TVDRawByteString raw;
    GetWordAtR(x, y, vdData, itemNo, raw);
    if (itemNo < 0 || !vdData) {
        return {};
    }
    const TCustomVDItemInfo &item = *vdData->GetItem(itemNo);
    if (item.IsText() && item.ItemOptions.Contains(vdioUnicode)) {
        return RawUnicodeToAnsi(vdData->GetItemCodePage(itemNo), raw);
    }
    return raw;
}

TVDUnicodeString TCustomViziVodu::GetWordAtW(int32_t x, int32_t y) {
    TCustomVDFormattedData *vdData = nullptr;
    int32_t itemNo = -1;
    TVDUnicodeString word;
    GetWordAt(x, y, vdData, itemNo, word);
    return word;
}

void TCustomViziVodu::GetFocusedItem(TCustomVDFormattedData *&vdData, int32_t &itemNo) {
    vdData = GetVDData().TopLevelFocusedVDData;
    itemNo = GetVDData().TopLevelFocusedItemNo;
}

} // namespace vizivodu
