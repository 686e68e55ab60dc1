// The viewer control's positions, hit tests, coordinate conversion and search: the root
// document's operations, with client points where the control takes them.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/viewer/VDVDData.h"

namespace vizivodu {

int32_t TCustomViziVodu::GetLineNo(int32_t itemNo, int32_t itemOffs) {
    return FVDData->GetLineNo(itemNo, itemOffs);
}

bool TCustomViziVodu::GetItemCoords(int32_t itemNo, int32_t &left, int32_t &top) {
    return FVDData->GetItemCoords(itemNo, left, top);
}

bool TCustomViziVodu::GetItemClientCoords(int32_t itemNo, int32_t &left, int32_t &top) {
    return FVDData->GetItemClientCoords(itemNo, left, top);
}

bool TCustomViziVodu::GetItemCoordsEx(TCustomVDFormattedData *vdData, int32_t itemNo, int32_t part,
                                      bool allowFloating, rtl::TRect &r) {
    return vdData && vdData->GetItemCoordsAbsRoot(itemNo, part, allowFloating, r);
}

bool TCustomViziVodu::GetItemAt(int32_t x, int32_t y, TCustomVDFormattedData *&vdData,
                                int32_t &itemNo, int32_t &offsetInItem, bool strict) {
    bool inSubVDDataOwnerItem = false;
    // The document's hit test takes the absolute root's document coordinates.
    const rtl::TPoint p = ClientToDocument({x, y});
    FVDData->GetItemAtEx(p.X, p.Y, vdData, itemNo, offsetInItem, strict, false,
                         inSubVDDataOwnerItem, false, true);
    return itemNo != -1;
}

rtl::TPoint TCustomViziVodu::ClientToDocument(rtl::TPoint p) {
    return {p.X + FVDData->GetHOffs(), p.Y + FVDData->GetVOffs()};
}

rtl::TPoint TCustomViziVodu::DocumentToClient(rtl::TPoint p) {
    return {p.X - FVDData->GetHOffs(), p.Y - FVDData->GetVOffs()};
}

bool TCustomViziVodu::SearchTextA(const TVDAnsiString &s, TVDSearchOptions options) {
    return FVDData->SearchTextR(options, false, s);
}

bool TCustomViziVodu::SearchTextW(std::u16string_view s, TVDSearchOptions options) {
    return FVDData->SearchTextR(options, true, StringToRawUnicode(std::u16string(s)));
}

} // namespace vizivodu
