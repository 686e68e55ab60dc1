// The native-format halves of the items: the common header, text items, pictures, breaks,
// tabs, bullets, hotspots and list markers.
#include "vizivodu/document/VDItem.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Bullet.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/ImgList.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Exceptions.h"

namespace vizivodu {

std::string VDFItemHeader(const TCustomVDItemInfo &item, TCustomVDData &vdData, int32_t dataCount,
                          int32_t paraNo, bool forceSameAsPrev, int32_t readType) {
    const TVDItemOptions options = GetVDFItemOptions(item.ItemOptions, forceSameAsPrev);
    return std::to_string(item.StyleNo) + " " + std::to_string(dataCount) + " " +
           VDFFormatItemParaRef(paraNo, vdData, forceSameAsPrev) + " " +
           std::to_string(options.Bits() & 0x3F) + " " + std::to_string(readType) + " " +
           VDFFormatOptionalString(false, item.Tag) + " " + item.GetVDFHeaderTail(&vdData);
}

// ---- Every item ----

bool TCustomVDItemInfo::ReadVDFHeaderTail(const char *&, TCustomVDData *, bool, bool &) {
    return true;
}

bool TCustomVDItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *, int32_t &, int32_t,
                                    int32_t, TVDRawByteString &, TVDFReadMode &, TVDFReadState &,
                                    bool utf8, bool &) {
    ReadVDFExtraProperty(s, utf8);
    return true;
}

void TCustomVDItemInfo::SaveVDF(rtl::TStream &, TCustomVDData *, int32_t, int32_t,
                                const TVDRawByteString &, TVDMultiDrawItemPart *, bool,
                                PVDScreenAndDevice) {}

bool TVDTextItemInfo::ReadVDFHeaderTail(const char *&p, TCustomVDData *, bool utf8, bool &) {
    if (*p != '\0') {
        std::string hint;
        VDFReadQuotedString(p, hint);
        Hint = VDFDecodeString(hint, utf8);
    }
    return true;
}

// ---- Pictures ----

void TVDGraphicItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                 int32_t paraNo, const TVDRawByteString &name,
                                 TVDMultiDrawItemPart *, bool forceSameAsPrev, PVDScreenAndDevice) {
    const TVDFOptions options = vdData->GetVDFOptions();
    const bool body = options.Contains(vdfoSavePicturesBody) && FImage != nullptr &&
                      GraphicClassOf(*FImage) != nullptr;
    const bool binary = options.Contains(vdfoSaveBinary);
    const int32_t extra = GetVDFExtraPropertyCount();
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, body ? extra + 3 : extra + 1, paraNo,
                                       forceSameAsPrev, body ? (binary ? 2 : 0) : 1));
    VDFWriteLine(stream, name);
    if (!body) {
        SaveVDFExtraProperties(stream);
        return;
    }
    VDFWriteLine(stream, GraphicClassOf(*FImage)->GetName());
    SaveVDFExtraProperties(stream);
    if (binary) {
        VDFSavePictureBinary(stream, *FImage);
    } else {
        VDFWriteLine(stream, VDFSavePictureToHex(*FImage));
    }
}

bool TVDGraphicItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType,
                                     int32_t lineNo, int32_t lineCount, TVDRawByteString &name,
                                     TVDFReadMode &readMode, TVDFReadState &readState, bool utf8,
                                     bool &assNamed) {
    if (lineNo == 0) {
        name = TVDRawByteString(s);
    } else if (readType == 1) {
        ReadVDFExtraProperty(s, utf8);
        if (lineNo == lineCount - 1) {
            SetImage(vdData->VDFPictureNeeded(rtl::UnicodeString(name.begin(), name.end()), this,
                                              -1, -1),
                     vdData);
        }
    } else if (lineNo == 1) {
        const TVDGraphicClass *graphicClass =
            GlobalGraphicHandler->GetGraphicClass(rtl::UnicodeString(s.begin(), s.end()));
        if (graphicClass == nullptr) {
            TVDFWarnings warnings = vdData->GetVDFWarnings();
            warnings.Include(vdfwUnknownPicFmt);
            vdData->SetVDFWarnings(warnings);
            return vdData->GetVDFOptions().Contains(vdfoIgnoreUnknownPicFmt);
        }
        SetImage(TVDGraphicHandler::CreateGraphic(*graphicClass), vdData);
    } else if (lineNo == lineCount - 1) {
        return LoadVDFPicture(s, vdData, readType == 2, readState);
    } else {
        return TCustomVDItemInfo::ReadVDFLine(s, vdData, readType, lineNo, lineCount, name,
                                              readMode, readState, utf8, assNamed);
    }
    return true;
}

bool TVDGraphicItemInfo::LoadVDFPicture(std::string_view s, TCustomVDData *vdData, bool binary,
                                        TVDFReadState &readState) {
    readState = rstSkip;
    if (!FImage) {
        return true;
    }
    if (!binary && (s.size() % 2 != 0 || VDFHexToString(s).size() * 2 != s.size())) {
        return false;
    }
    try {
        VDFLoadPictureFromBinaryString(binary ? std::string(s) : VDFHexToString(s), *FImage);
        SetImage(std::move(FImage), vdData);
    } catch (const rtl::Exception &) {
        SetImage(nullptr, vdData);
        TVDFWarnings warnings = vdData->GetVDFWarnings();
        warnings.Include(vdfwInvalidPicture);
        vdData->SetVDFWarnings(warnings);
    }
    return true;
}

// ---- Breaks and tabs ----

void TVDBreakItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t paraNo,
                               const TVDRawByteString &, TVDMultiDrawItemPart *, bool,
                               PVDScreenAndDevice) {
    VDFWriteLine(stream,
                 VDFItemHeader(*this, *vdData, GetVDFExtraPropertyCount(), paraNo, false, 0));
    SaveVDFExtraProperties(stream);
}

TVDRawByteString TVDTabItemInfo::GetVDFHeaderTail(TCustomVDData *vdData) const {
    return VDFFormatTextStyleRef(*vdData->GetVDStyle(),
                                 vdData->GetVDFOptions().Contains(vdfoUseStyleNames), FTextStyleNo);
}

bool TVDTabItemInfo::ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                                       bool &assNamed) {
    if (*p == '\0') {
        return true;
    }
    return VDFReadTextStyleRef(*vdData->GetVDStyle(), p, FTextStyleNo, assNamed, utf8);
}

void TVDTabItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t paraNo,
                             const TVDRawByteString &, TVDMultiDrawItemPart *, bool,
                             PVDScreenAndDevice) {
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, 0, paraNo, false, 0));
}

// ---- Bullets and hotspots ----

bool TVDBulletItemInfo::ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool, bool &) {
    int32_t tag = 0;
    if (!VDFReadInteger(p, tag) || !VDFReadInteger(p, ImageIndex)) {
        return false;
    }
    SetImageList(vdData->VDFImageListNeeded(tag));
    return CheckVDFImageIndex(ImageIndex, vdData);
}

bool TVDBulletItemInfo::CheckVDFImageIndex(int32_t &index, TCustomVDData *vdData) {
    if (GetImageList() == nullptr || (index >= 0 && index < GetImageList()->GetCount())) {
        return true;
    }
    TVDFWarnings warnings = vdData->GetVDFWarnings();
    warnings.Include(vdfwConvLargeImageIdx);
    vdData->SetVDFWarnings(warnings);
    if (vdData->GetVDFOptions().Contains(vdfoConvLargeImageIdxToZero)) {
        index = 0;
        return true;
    }
    return false;
}

bool TVDBulletItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType,
                                    int32_t lineNo, int32_t lineCount, TVDRawByteString &name,
                                    TVDFReadMode &readMode, TVDFReadState &readState, bool utf8,
                                    bool &assNamed) {
    if (lineNo == 0) {
        name = TVDRawByteString(s);
        return true;
    }
    return TCustomVDItemInfo::ReadVDFLine(s, vdData, readType, lineNo, lineCount, name, readMode,
                                          readState, utf8, assNamed);
}

void TVDBulletItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                int32_t paraNo, const TVDRawByteString &name,
                                TVDMultiDrawItemPart *, bool forceSameAsPrev, PVDScreenAndDevice) {
    const bool valign = VAlign != vdvaBaseline;
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, GetVDFExtraPropertyCount() + 1 + valign,
                                       paraNo, forceSameAsPrev, 0));
    VDFWriteLine(stream, name);
    if (valign) {
        WriteVDFExtraIntProperty(stream, vdepVAlign, VAlign);
    }
    SaveVDFExtraProperties(stream);
}

bool TVDHotspotItemInfo::ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                                           bool &assNamed) {
    if (!TVDBulletItemInfo::ReadVDFHeaderTail(p, vdData, utf8, assNamed)) {
        return false;
    }
    if (*p == '\0') {
        HotImageIndex = ImageIndex;
        return true;
    }
    return VDFReadInteger(p, HotImageIndex) && CheckVDFImageIndex(HotImageIndex, vdData);
}

void TVDHotspotItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                 int32_t paraNo, const TVDRawByteString &name,
                                 TVDMultiDrawItemPart *, bool forceSameAsPrev, PVDScreenAndDevice) {
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, GetVDFExtraPropertyCount() + 1, paraNo,
                                       forceSameAsPrev, 0));
    VDFWriteLine(stream, name);
    SaveVDFExtraProperties(stream);
}

// ---- List markers ----

void TVDMarkerItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                int32_t paraNo, const TVDRawByteString &, TVDMultiDrawItemPart *,
                                bool, PVDScreenAndDevice) {
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, GetVDFExtraPropertyCount(),
                                       paraNo < 0 ? ParaNo : paraNo, false, 0));
    SaveVDFExtraProperties(stream);
}

} // namespace vizivodu
