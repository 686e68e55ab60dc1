// The RTF parser's property records, font and colour tables and style sheet.
#include "vizivodu/formats/rtf/VDRTFRecords.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace vizivodu {

void TVDRTFCharProperties::Reset(uint32_t defLanguage, int32_t defFontIndex) {
    const int32_t skip = FSkipAnsiCount;
    *this = TVDRTFCharProperties();
    FLanguage = defLanguage;
    FFontIndex = defFontIndex;
    FSkipAnsiCount = skip;
}

bool TVDRTFParaBorder::HasAny() const {
    return std::any_of(Sides.begin(), Sides.end(),
                       [](const TVDRTFBorderSide &s) { return s.FBorderType != rtf_brdr_None; });
}

TVDRTFParaBorder &TVDRTFParaProperties::Border() {
    if (!FBorder) {
        FBorder.emplace();
    }
    return *FBorder;
}

TVDRTFTab &TVDRTFParaProperties::OpenTab() {
    if (FTabs.empty()) {
        FTabs.emplace_back();
    }
    return FTabs.back();
}

TColor MixRTFShading(TColor back, TColor fore, int32_t shading) {
    if (back == gfx::clNone) {
        back = 0xFFFFFF;
    }
    const uint32_t b = gfx::ColorToRGB(back), f = gfx::ColorToRGB(fore);
    const int64_t s = std::clamp(shading, 0, 10000);
    auto mix = [s](uint32_t bc, uint32_t fc) {
        return uint32_t((int64_t(bc) * (10000 - s) + int64_t(fc) * s) / 10000) & 0xFF;
    };
    return TColor(mix(b & 0xFF, f & 0xFF) | (mix((b >> 8) & 0xFF, (f >> 8) & 0xFF) << 8) |
                  (mix((b >> 16) & 0xFF, (f >> 16) & 0xFF) << 16));
}

void TVDRTFParaProperties::Finalize() {
    if (Shading != 0) {
        FColor = MixRTFShading(FColor, ForeColor, Shading);
        Shading = 0;
    }
    if (!FTabs.empty() && !FTabsReady) {
        FTabs.pop_back();
        for (size_t i = FTabs.size(); i-- > 0;) {
            if (FTabs[i].FIsListTab) {
                FMarkerTabTw = FTabs[i].FPositionTW;
                FTabs.erase(FTabs.begin() + ptrdiff_t(i));
            }
        }
        FTabsReady = true;
    }
}

void TVDRTFSectionProperties::AssignFrom(const TVDRTFSectionProperties &source) {
    const int32_t headerY = FHeaderYTw, footerY = FFooterYTw;
    std::vector<TVDRTFMarkerProperties> defs = std::move(FDefMarkerPropsList);
    *this = source;
    FHeaderYTw = headerY;
    FFooterYTw = footerY;
    FDefMarkerPropsList = std::move(defs);
}

TVDRTFCellProperties &TVDRTFRowProperties::LastCell() {
    if (FCellProps.empty()) {
        FCellProps.emplace_back();
        AssumedLastCell = true;
    }
    return FCellProps.back();
}

void TVDRTFRowProperties::FinalizeCells() {
    if (AssumedLastCell) {
        if (!FCellProps.empty()) {
            FCellProps.pop_back();
        }
        AssumedLastCell = false;
    }
    if (NewCellProps) {
        for (TVDRTFCellProperties &cell : FCellProps) {
            if (cell.Shading > 0) {
                cell.FColor = MixRTFShading(cell.FColor, cell.ForeColor, cell.Shading);
            }
        }
        NewCellProps = false;
    }
}

bool TVDRTFFontList::IsNamed(int32_t index, const TVDUnicodeString &name) const {
    if (index < 0) {
        index = 0;
    }
    return index < Count() && rtl::SameText(FItems[size_t(index)].Name, name);
}

TVDRTFMarkerProperties &TVDRTFParaProperties::MarkerProps() {
    if (!FMarkerProps) {
        FMarkerProps.emplace();
    }
    return *FMarkerProps;
}

int32_t TVDRTFFontList::GetFontIndex(int32_t number, int32_t def) const {
    auto find = [this](int32_t n) {
        for (size_t i = 0; i < FItems.size(); ++i) {
            if (FItems[i].Number == n) {
                return int32_t(i);
            }
        }
        return int32_t(-1);
    };
    int32_t index = find(number);
    if (index < 0 && number != def) {
        index = find(def);
    }
    return index < 0 ? 0 : index;
}

void TVDRTFFontList::StripCharsetSuffixes() {
    for (TVDRTFFont &font : FItems) {
        const char16_t *suffix = nullptr;
        switch (font.Charset) {
        case 161:
            suffix = u" greek";
            break;
        case 162:
            suffix = u" tur";
            break;
        case 186:
            suffix = u" baltic";
            break;
        case 204:
            suffix = u" cyr";
            break;
        case 238:
            suffix = u" ce";
            break;
        default:
            continue;
        }
        const TVDUnicodeString s(suffix);
        if (font.Name.size() > s.size() &&
            rtl::SameText(font.Name.substr(font.Name.size() - s.size()), s)) {
            font.Name.resize(font.Name.size() - s.size());
        }
    }
}

void TVDRTFStyleSheet::Clear() {
    FItems.clear();
    FLastParaIndex = FLastCharIndex = -1;
}

int32_t TVDRTFStyleSheet::GetEntry(int32_t number) const {
    if (number < 0) {
        return -1;
    }
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].FNumber == number) {
            return int32_t(i);
        }
    }
    return -1;
}

int32_t TVDRTFStyleSheet::Remembered(int32_t &last, int32_t number) {
    if (last >= 0 && last < Count() && FItems[size_t(last)].FNumber == number) {
        return last;
    }
    last = GetEntry(number);
    return last;
}

int32_t TVDRTFStyleSheet::GetParaEntry(int32_t number) {
    return Remembered(FLastParaIndex, number);
}

int32_t TVDRTFStyleSheet::GetCharEntry(int32_t number) {
    return Remembered(FLastCharIndex, number);
}

void TVDRTFStyleSheet::CalculateLinks() {
    for (TVDRTFStyleSheetEntry &entry : FItems) {
        entry.FName = rtl::Trim(entry.FName);
        entry.FLinkIndex = GetEntry(entry.FLinkNumber);
        entry.FBasedOnIndex = GetEntry(entry.FBasedOnNumber);
        entry.FNextIndex = GetEntry(entry.FNextNumber);
    }
}

} // namespace vizivodu
