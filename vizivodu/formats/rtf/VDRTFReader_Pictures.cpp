// The RTF parser's pictures: the \pict destination, its keywords, its hexadecimal or binary
// data, and the report of the decoded graphic when the group ends.
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"

#include <limits>

namespace vizivodu {

namespace {

int32_t HexNibble(uint8_t ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

int32_t ScaledTwips(int32_t value, double unitsPerInch) {
    return rtl::RoundSaturated<int32_t>(double(value) / unitsPerInch * 1440);
}

} // namespace

TVDRTFErrorCode TVDRTFReader::StartPicture() {
    if (FPicture) {
        return rtf_ec_InvalidPicture;
    }
    if (OnNewPicture) {
        FPicture = std::make_unique<TVDRTFPicture>();
        FPicture->FShpPict = FRTFState.rds == rdsShpPict;
    }
    FRTFState.rds = rdsPict;
    FPictHexHigh = true;
    return rtf_ec_OK;
}

void TVDRTFReader::ApplyPictureProperty(uint8_t idx, int32_t value) {
    if (!FPicture || idx < 93 || idx > 104) {
        return;
    }
    TVDRTFPicture &p = *FPicture;
    switch (idx) {
    case 93:
        p.FPicW = value;
        break;
    case 94:
        p.FPicH = value;
        break;
    case 95:
        p.FPicScaleX = value;
        break;
    case 96:
        p.FPicScaleY = value;
        break;
    case 97:
        p.FPicWGoalTw = value;
        break;
    case 98:
        p.FPicHGoalTw = value;
        break;
    case 99:
        p.FWBMWidthBytes = value;
        break;
    case 100:
        p.FWBMBitsPixel = value;
        break;
    case 101:
        p.FWBMPlanes = value;
        break;
    case 102:
        p.FType = TVDRTFPictureType(value);
        if (p.FType == rtf_pict_DIB && p.FData.size() < 14) {
            p.FData.resize(14); // room for the bitmap file header
        }
        break;
    case 103:
        p.FType = rtf_pict_WMF;
        p.FMetafileMapMode = value >= 2 && value <= 8 ? value : 1;
        break;
    default:
        p.FMetafileWithBitmap = true;
        break;
    }
}

TVDRTFErrorCode TVDRTFReader::PictureChar(uint8_t ch) {
    if (FRTFState.ris == risBin) {
        if (FPicture) {
            FPicture->FData.push_back(char(ch));
        }
        if (--FcbBin < 1) {
            FRTFState.ris = risNorm;
        }
        return rtf_ec_OK;
    }
    if (!FPicture || ch == ' ' || ch == '\r' || ch == '\n' || ch == '\t') {
        return rtf_ec_OK;
    }
    const int32_t nibble = HexNibble(ch);
    if (nibble < 0) {
        return rtf_ec_InvalidPicture;
    }
    if (FPictHexHigh) {
        FPictHexValue = uint8_t(nibble << 4);
    } else {
        FPicture->FData.push_back(char(FPictHexValue | nibble));
    }
    FPictHexHigh = !FPictHexHigh;
    return rtf_ec_OK;
}

void TVDRTFReader::SuggestPictureSize(TVDRTFPicture &p) const {
    if (p.FType == rtf_pict_WMF && p.FPicW > 0 && p.FPicH > 0) {
        const double unitsPerInch = p.FMetafileMapMode == 1 ? double(PixelsPerInch) : 2540.0;
        p.SuggestedWidthTw = ScaledTwips(p.FPicW, unitsPerInch);
        p.SuggestedHeightTw = ScaledTwips(p.FPicH, unitsPerInch);
    }
    if (p.FPicWGoalTw != 0 && p.FPicHGoalTw != 0) {
        p.SuggestedWidthTw = p.FPicWGoalTw;
        p.SuggestedHeightTw = p.FPicHGoalTw;
    }
}

TVDRTFErrorCode TVDRTFReader::EndPicture() {
    if (TVDRTFErrorCode ec = FlushPending(false, true); ec != rtf_ec_OK) {
        return ec;
    }
    std::unique_ptr<TVDRTFPicture> picture = std::move(FPicture);
    FAfterTableRow = false;
    if (!picture) {
        return OnNewPicture ? rtf_ec_InvalidPicture : rtf_ec_OK;
    }
    std::unique_ptr<gfx::TGraphic> graphic;
    try {
        if (picture->FData.size() > size_t(std::numeric_limits<int32_t>::max())) {
            return rtf_ec_InvalidPicture;
        }
        SuggestPictureSize(*picture);
        graphic = picture->MakeGraphic(ExtractMetafileBitmaps);
        if (graphic && GlobalGraphicHandler) {
            GlobalGraphicHandler->AfterImportGraphic(*graphic);
        }
    } catch (const rtl::Exception &) {
        return rtf_ec_InvalidPicture;
    }
    FRTFState.FParaProps.Finalize();
    SyncTableNesting(true);
    bool inserted = false;
    try {
        OnNewPicture(*this, picture.get(), graphic, FPosition, rtl::UnicodeString(), inserted);
    } catch (const rtl::Exception &) {
        return rtf_ec_Aborted;
    }
    if (picture->FShpPict) {
        FShpPictInserted = inserted;
    }
    if (inserted) {
        FPosition = rtf_ts_ContinuePara;
    }
    return rtf_ec_OK;
}

} // namespace vizivodu
