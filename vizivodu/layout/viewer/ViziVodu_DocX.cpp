// The viewer's DOCX saving: the package of its root document with the control's colour,
// background, and the headers and footers read with the document.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/formats/ooxml/VDDocXPackage.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/rtl/SafeSave.h"

#include <array>

namespace vizivodu {

namespace {

// Header, footer, first-page header, first-page footer, even-pages header, even-pages footer.
constexpr std::array<TVDRTFHeaderFooterType, 6> kHeaderFooterKinds{
    rtf_hf_Header, rtf_hf_Footer, rtf_hf_HeaderF, rtf_hf_FooterF, rtf_hf_HeaderL, rtf_hf_FooterL};

} // namespace

bool TCustomViziVodu::SaveDocXToStream(rtl::TStream &stream, bool selectionOnly) {
    TVDDocXPackageSource source;
    source.Data = FVDData.get();
    source.Color = GetColor();
    source.Background = FBackground.get();
    source.SelectionOnly = selectionOnly;
    if (RTFOptions.Contains(vdrtfSaveHeaderFooter) && FRTFReadProperties && !selectionOnly) {
        for (size_t i = 0; i < kHeaderFooterKinds.size(); ++i) {
            TCustomVDData *doc = FRTFReadProperties->GetHFVDData(kHeaderFooterKinds[i]);
            // A document over another style sheet would need its styles merged first.
            if (doc && doc->GetVDStyle() == FVDData->GetVDStyle()) {
                source.Headers[i] = doc;
            }
        }
    }
    return SaveDocXPackage(stream, source);
}

bool TCustomViziVodu::SaveDocX(const rtl::UnicodeString &fileName, bool selectionOnly) {
    return rtl::TrySaveFileSafely(
        fileName, [&](rtl::TStream &stream) { return SaveDocXToStream(stream, selectionOnly); });
}

} // namespace vizivodu
