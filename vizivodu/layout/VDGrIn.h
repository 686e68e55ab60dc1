// The graphic interface: the single door through which the rich-document library measures and
// draws. One instance, owned by the style sheet, serves every canvas it is given.
//
// This declaration holds the operations that the style units call so far; the layout units
// complete the operation list and the two engines (TVDWinGraphicInterface,
// TVDUniscribeGraphicInterface). An operation without a body of its own here is abstract: on
// the base it raises EAbstractError "Abstract Error", as the class library's abstract methods do.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphics.h"
#include "platform/rtl/Types.h"

#include <cstdint>

namespace vizivodu {

// Text alignment flag of right-to-left reading order (SetTextAlign).
constexpr uint32_t TA_RTLREADING = 256;

class TVDGraphicInterface {
public:
    TVDGraphicInterface() = default;
    TVDGraphicInterface(const TVDGraphicInterface &) = delete;
    TVDGraphicInterface &operator=(const TVDGraphicInterface &) = delete;
    virtual ~TVDGraphicInterface() = default;

    // Text alignment flags of the canvas: 0, or TA_RTLREADING. Abstract.
    virtual void SetTextAlign(gfx::TCanvas &canvas, uint32_t flags);
    virtual uint32_t GetTextAlign(gfx::TCanvas &canvas);
    // Extra pixels after every character in measuring and output. Abstract.
    virtual int32_t GetTextCharacterExtra(gfx::TCanvas &canvas);
    virtual void SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t charExtra);

    // Fills r with the canvas's brush (right and bottom edges excluded).
    virtual void FillRect(gfx::TCanvas &canvas, const rtl::TRect &r);
    // Nothing for opacity 0, clNone or an empty r; opacity 255 makes the brush colour color and
    // fills r; otherwise covers r with color blended at constant alpha opacity. Abstract.
    virtual void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                               uint8_t opacity);
};

} // namespace vizivodu
