// The DOCX saving context: relation catalogs created on first use and pictures stored as media
// parts.
#include "vizivodu/formats/ooxml/VDDocXSavingData.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/formats/zip/VDZipPacker.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/gfx/Graphic.h"

namespace vizivodu {

void OOXMLWrite(rtl::TStream &stream, std::string_view s) {
    if (!s.empty()) {
        stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
    }
}

TVDDocXSavingData::TVDDocXSavingData(TVDZipPacker &zip) : FZip(zip) {}

TVDDocXSavingData::~TVDDocXSavingData() = default;

TVDDocXRelationCatalog &TVDDocXSavingData::GetCatalogs(TVDDocXPart part) {
    std::unique_ptr<TVDDocXRelationCatalog> &catalog = FCatalogs[part];
    if (!catalog) {
        catalog = std::make_unique<TVDDocXRelationCatalog>();
    }
    return *catalog;
}

const TVDDocXRelationCatalog *TVDDocXSavingData::FindCatalog(TVDDocXPart part) const {
    return FCatalogs[part].get();
}

void TVDDocXSavingData::AddGraphic(const gfx::TGraphic &graphic, const AnsiString &fileName) {
    const TVDRawByteString bytes = VDFSavePictureToBinaryString(graphic);
    if (!FZip.Add("word/media/" + fileName, bytes.data(), static_cast<uint32_t>(bytes.size()))) {
        throw EViziVoduError(u"Error while saving image to DocX");
    }
}

} // namespace vizivodu
