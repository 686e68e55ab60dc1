// The viewer's RTF: its reading settings, loading RTF into its document and saving it.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "platform/rtl/SafeSave.h"

#include "vizivodu/layout/viewer/VDVDData.h"
#include <array>

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

namespace {

// Header, footer, first-page header, first-page footer, even-pages header, even-pages footer.
constexpr std::array<TVDRTFHeaderFooterType, 6> kHeaderFooterKinds{
    rtf_hf_Header, rtf_hf_Footer, rtf_hf_HeaderF, rtf_hf_FooterF, rtf_hf_HeaderL, rtf_hf_FooterL};

} // namespace

bool TCustomViziVodu::SaveRTFToStream(rtl::TStream &stream, bool selectionOnly) {
    std::array<TCustomVDData *, 6> hf{};
    if (RTFOptions.Contains(vdrtfSaveHeaderFooter) && FRTFReadProperties && !selectionOnly) {
        for (size_t i = 0; i < hf.size(); ++i) {
            TCustomVDData *doc = FRTFReadProperties->GetHFVDData(kHeaderFooterKinds[i]);
            // A document over another style sheet would need its styles merged first.
            if (doc && doc->GetVDStyle() == FVDData->GetVDStyle()) {
                hf[i] = doc;
            }
        }
    }
    TVDRTFSavingData savingData;
    return FVDData->SaveRTFToStream(stream, selectionOnly, 0, GetColor(), FBackground.get(),
                                    savingData, vdrtfdtMain, true, false, hf[0], hf[1], hf[2],
                                    hf[3], hf[4], hf[5]);
}

bool TCustomViziVodu::SaveRTF(const rtl::UnicodeString &fileName, bool selectionOnly) {
    return rtl::TrySaveFileSafely(
        fileName, [&](rtl::TStream &stream) { return SaveRTFToStream(stream, selectionOnly); });
}

} // namespace vizivodu
