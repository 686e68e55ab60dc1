// RTF pictures into picture items: the graphic the parser decoded (or the style sheet's invalid
// picture for a format without one), sized by the picture's suggested size and scale.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphic.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Rounding.h"

namespace vizivodu {

namespace {

// The shown length in style units: the suggested one, else the graphic's own, scaled; 0 (the
// graphic's own size) when neither scale nor suggestion changes it.
TVDStyleLength ShownLength(const TVDStyle &style, int32_t suggestedTw, int32_t ownPixels,
                           bool scaled, int32_t scale) {
    const TVDStyleLength own = style.PixelsToUnits(ownPixels);
    const TVDStyleLength base = suggestedTw != 0 ? style.TwipsToUnits(suggestedTw) : own;
    if (scaled) {
        return rtl::RoundSaturated<TVDStyleLength>(double(base) / 100 * scale);
    }
    return base != own ? base : 0;
}

} // namespace

void TVDRTFReaderProperties::ReaderNewPicture(TVDRTFPicture *picture,
                                              std::unique_ptr<gfx::TGraphic> &graphic,
                                              TVDRTFPosition position,
                                              const rtl::UnicodeString &fileName, bool &inserted) {
    if (SkipHiddenText && FReader->CharProps().FHidden) {
        return;
    }
    if (LineBreaksAsParagraphs && position == rtf_ts_NewLine) {
        position = rtf_ts_NewPara;
    }
    std::unique_ptr<gfx::TGraphic> image = std::move(graphic);
    if (!image) {
        if (picture && picture->FShpPict) {
            return; // the picture's alternative follows
        }
        const gfx::TGraphic *invalid = FVDStyle->GetInvalidPicture().GetGraphic();
        image = GlobalGraphicHandler && invalid ? GlobalGraphicHandler->Clone(invalid) : nullptr;
        if (!image) {
            return;
        }
    }
    const bool metafile =
        GlobalGraphicHandler && GlobalGraphicHandler->GetGraphicType(*image) == vdgtMetafile;
    const int32_t ownW = image->GetWidth(), ownH = image->GetHeight();
    auto item =
        std::make_unique<TVDGraphicItemInfo>(FCurrentVDData, std::move(image), vdvaBaseline);
    if (picture) {
        const bool scaled = metafile || picture->FPicScaleX != 100 || picture->FPicScaleY != 100;
        if (scaled || picture->SuggestedWidthTw != 0 || picture->SuggestedHeightTw != 0) {
            item->ImageWidth = ShownLength(*FVDStyle, picture->SuggestedWidthTw, ownW, scaled,
                                           picture->FPicScaleX);
            item->ImageHeight = ShownLength(*FVDStyle, picture->SuggestedHeightTw, ownH, scaled,
                                            picture->FPicScaleY);
        }
    }
    item->ParaNo = GetParaNoForPosition(position);
    if (!fileName.empty()) {
        item->ImageFileName = fileName;
    }
    item->BeforeLoading(vdlfRTF);
    InsertRTFItem({}, std::move(item), position);
    inserted = true;
}

} // namespace vizivodu
