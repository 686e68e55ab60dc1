// The viewer's RTF: its reading settings and loading RTF into its document.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/layout/viewer/VDVDData.h"

namespace vizivodu {

TVDRTFReaderProperties *TCustomViziVodu::GetRTFReadProperties() {
    if (!FRTFReadProperties) {
        FRTFReadProperties = std::make_unique<TVDRTFReaderProperties>();
    }
    return FRTFReadProperties.get();
}

bool TCustomViziVodu::LoadRTF(const rtl::UnicodeString &fileName) {
    GetRTFReadProperties();
    return FVDData->LoadRTF(fileName) == rtf_ec_OK;
}

bool TCustomViziVodu::LoadRTFFromStream(rtl::TStream &stream) {
    GetRTFReadProperties();
    return FVDData->LoadRTFFromStream(stream) == rtf_ec_OK;
}

} // namespace vizivodu
