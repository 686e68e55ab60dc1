// Documents owned by items through lists, and the lists.
#include "vizivodu/tables/VDDataList.h"

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

TCustomVDData *TVDItemFormattedData::GetAbsoluteRootData() {
    TCustomVDData *parent = GetAbsoluteParentData();
    return parent ? parent->GetAbsoluteRootData() : this;
}

std::unique_ptr<TVDItemFormattedData> TVDDataList::Release(rtl::Integer index) {
    std::unique_ptr<TVDItemFormattedData> data = ExtractAt(index);
    Insert(index, nullptr);
    return data;
}

} // namespace vizivodu
