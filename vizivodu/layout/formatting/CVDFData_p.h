// Internals of the formatted document: the state a formatting run carries from item to item,
// and small helpers shared by its units.
#pragma once

#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/text/VDFontCache.h"
#include "vizivodu/styles/VDStyle.h"

#include <memory>

namespace vizivodu {

// One formatting run (Format_ or a partial reformatting); all values device pixels of the
// format canvas.
struct TVDFormattingState {
    int32_t CurX = 0;         // width used on the current line, from LineLeft
    int32_t BaseY = 0;        // baseline of the current line (see the wrapper)
    int32_t PendingSpace = 0; // space still to come below BaseY
    int32_t LineAscent = 0;
    int32_t CurParaNo = -1;
    bool LineStartsItem = false;
    int32_t LineWidth = 0;
    int32_t LineLeft = 0;
    int32_t LineTop = 0;
    int32_t DrawItemCount = 0; // where the next draw item is inserted
    int32_t VerticalOffset = 0;
    int32_t LeftIndent = 0;
    int32_t RightIndent = 0;
    int32_t FirstIndent = 0;
    int32_t CurTextStyleNo = -1; // -1 forces a new selection
    int32_t ParaLeft = 0;
    int32_t ParaRight = 0;
    int32_t ParaFirstItemNo = -1;
    TVDBiDiMode CurBiDiMode = vdbdUnspecified;
    int32_t FixedAscent = 0;
    int32_t FixedDescent = 0;
    int32_t LineCharCount = 0;
    int32_t MaxLength = 0;
    bool NoCaching = false;
    bool Reformatting = false;
    bool SkipLineEnd = true;
    bool HasAbsAlignedItems = false;
    bool HasFloats = false;
    bool HasPlaceholders = false;
    int32_t TabDrawItemNo = -1;
    TVDTabAlign TabAlign = vdtaLeft;
    int32_t TabPos = 0;
    bool SpaceConsumed = false;
    TVDFontInfoCache *FontCache = nullptr;
    TVDFontInfoCacheItem *FontItem = nullptr; // the item of CurTextStyleNo
    gfx::TCanvas *Canvas = nullptr;           // the canvas of the current text style
    gfx::TTextMetric TextMetric;
    bool WordWrap = true;
    bool IsSymbolFont = false;
    std::unique_ptr<TVDFloatingDrawItems> Floats;
    std::unique_ptr<TVDFloatingDrawItems> ClearIgnore;
    bool LineHasOnlyFloats = true;
    bool LineMovedByFloats = false;
    bool ScaledFormatCanvas = false;
    // The run's resolutions and format canvas.
    const TVDScreenAndDevice *SaD = nullptr;
    gfx::TCanvas *FormatCanvas = nullptr;
};

inline bool IsFloatingItem(const TCustomVDItemInfo &item) {
    return item.GetBoolValue(vdbpFloating);
}

inline bool IsFullWidthItem(const TCustomVDItemInfo &item) {
    return item.GetBoolValue(vdbpFullWidth);
}

inline const char *RawChars(const TVDRawByteString &s) {
    return s.data();
}

} // namespace vizivodu
