// Documents owned by items through lists, and the lists.
#include "vizivodu/tables/VDDataList.h"

#include "vizivodu/styles/VDStyle_Types.h"

namespace vizivodu {

TCustomVDData *TVDItemFormattedData::GetParentData() {
    return FList ? FList->GetParentVDData() : nullptr;
}

TCustomVDData *TVDItemFormattedData::GetAbsoluteParentData() {
    return GetParentData();
}

TCustomVDData *TVDItemFormattedData::GetRootData() {
    TCustomVDData *parent = GetParentData();
    return parent ? parent->GetRootData() : this;
}

rtl::UnicodeString TVDItemFormattedData::GetURL(int32_t id) {
    TCustomVDData *root = GetRootData();
    return root != this ? root->GetURL(id) : rtl::UnicodeString();
}

TCustomVDData *TVDItemFormattedData::GetAbsoluteRootData() {
    TCustomVDData *parent = GetAbsoluteParentData();
    return parent ? parent->GetAbsoluteRootData() : this;
}

TVDFlags TVDItemFormattedData::GetFlags() {
    return FList ? FList->Flags : TVDFlags{};
}

void TVDItemFormattedData::SetFlags(TVDFlags) {
    throw EViziVoduError("This method is not supported for TVDItemFormattedData");
}

gfx::TCanvas *TVDItemFormattedData::GetCanvas() {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData());
    return root && root != this ? root->GetCanvas() : nullptr;
}

void TVDItemFormattedData::ShowRectangle(int32_t left, int32_t top, int32_t width, int32_t height) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData());
    if (!root || root == this) {
        return;
    }
    rtl::TRect r = rtl::Rect(left, top, left + width, top + height);
    RotateRectFromDocToScreen(r, vdtrbAbsRoot);
    root->ShowRectangle(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

std::unique_ptr<TVDItemFormattedData> TVDDataList::Release(rtl::Integer index) {
    std::unique_ptr<TVDItemFormattedData> data = ExtractAt(index);
    Insert(index, nullptr);
    return data;
}

} // namespace vizivodu
