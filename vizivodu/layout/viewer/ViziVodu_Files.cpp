// The viewer's native-format and plain-text files: its colour, background and layout record
// around the root document's readers and writers.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/layout/viewer/VDVDData.h"

namespace vizivodu {

bool TCustomViziVodu::LoadVDFFromStream(rtl::TStream &stream) {
    TVDLayoutInfo layout;
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result = FVDData->LoadVDFFromStream(stream, color, FBackground.get(), &layout);
    if (layout.Loaded) {
        ApplyLayoutInfo(layout);
    }
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::LoadVDF(const rtl::UnicodeString &fileName) {
    TVDLayoutInfo layout;
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result = FVDData->LoadVDF(fileName, color, FBackground.get(), &layout);
    if (layout.Loaded) {
        ApplyLayoutInfo(layout);
    }
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::InsertVDFFromStream(rtl::TStream &stream, int32_t index) {
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result =
        FVDData->InsertVDFFromStream(stream, index, color, FBackground.get(), nullptr, false);
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::AppendVDFFromStream(rtl::TStream &stream, int32_t paraNo) {
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result = FVDData->AppendVDFFromStream(stream, paraNo, color, FBackground.get());
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::SaveVDFToStream(rtl::TStream &stream, bool selectionOnly) {
    const std::unique_ptr<TVDLayoutInfo> layout = CreateLayoutInfo();
    return FVDData->SaveVDFToStream(stream, selectionOnly, static_cast<uint32_t>(GetColor()),
                                    FBackground.get(), layout.get(), true);
}

bool TCustomViziVodu::SaveVDF(const rtl::UnicodeString &fileName, bool selectionOnly) {
    const std::unique_ptr<TVDLayoutInfo> layout = CreateLayoutInfo();
    return FVDData->SaveVDF(fileName, selectionOnly, static_cast<uint32_t>(GetColor()),
                            FBackground.get(), layout.get(), true);
}

bool TCustomViziVodu::LoadText(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                               bool asSingleParagraph, TVDCodePage codePage) {
    return FVDData->LoadText(fileName, styleNo, paraNo, asSingleParagraph, codePage);
}

bool TCustomViziVodu::LoadTextFromStream(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                                         bool asSingleParagraph, TVDCodePage codePage) {
    return FVDData->LoadTextFromStream(stream, styleNo, paraNo, asSingleParagraph, codePage);
}

bool TCustomViziVodu::LoadTextW(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                                bool defAsSingleParagraph) {
    return FVDData->LoadTextW(fileName, styleNo, paraNo, defAsSingleParagraph);
}

bool TCustomViziVodu::LoadTextFromStreamW(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                                          bool defAsSingleParagraph) {
    return FVDData->LoadTextFromStreamW(stream, styleNo, paraNo, defAsSingleParagraph);
}

bool TCustomViziVodu::SaveText(const rtl::UnicodeString &fileName, int32_t lineWidth,
                               TVDCodePage codePage) {
    return FVDData->SaveText(fileName, lineWidth, false, codePage);
}

bool TCustomViziVodu::SaveTextW(const rtl::UnicodeString &fileName, int32_t lineWidth) {
    return FVDData->SaveText(fileName, lineWidth, true, 0);
}

namespace {

// The document a selection is saved from: the chosen sub-document, followed down.
TCustomVDData &SelectionDocument(TCustomVDData &root) {
    TCustomVDData *data = &root;
    while (TCustomVDData *chosen = data->GetChosenVDData()) {
        if (chosen == data) {
            break;
        }
        data = chosen;
    }
    return *data;
}

} // namespace

bool TCustomViziVodu::SaveTextToStream(const rtl::UnicodeString &path, rtl::TStream &stream,
                                       int32_t lineWidth, bool selectionOnly, bool textOnly,
                                       TVDCodePage codePage) {
    TCustomVDData &data = selectionOnly ? SelectionDocument(*FVDData) : *FVDData;
    return data.SaveTextToStream(path, stream, lineWidth, selectionOnly, textOnly, false, false,
                                 codePage, true);
}

bool TCustomViziVodu::SaveTextToStreamW(const rtl::UnicodeString &path, rtl::TStream &stream,
                                        int32_t lineWidth, bool selectionOnly, bool textOnly) {
    TCustomVDData &data = selectionOnly ? SelectionDocument(*FVDData) : *FVDData;
    return data.SaveTextToStream(path, stream, lineWidth, selectionOnly, textOnly, true, false, 0,
                                 true);
}

} // namespace vizivodu
