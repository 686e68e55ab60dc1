// The pen of a canvas: colour, width in logical units, style, mix mode, end caps and joins.
#pragma once

#include "platform/gfx/Colors.h"

#include <cstdint>
#include <functional>

namespace gfx {

enum TPenStyle : uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psUserStyle,
    psAlternate
};

// Only the modes below are drawn as such; others draw as pmCopy.
enum TPenMode : uint8_t { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmXor };

// Ends and joins of lines wider than one pixel (GDI's PS_ENDCAP_ and PS_JOIN_ styles).
enum TPenEndCap : uint8_t { pecRound, pecSquare, pecFlat };
enum TPenJoinStyle : uint8_t { pjsRound, pjsBevel, pjsMiter };

// Default: black, width 1, psSolid, pmCopy, round ends and joins. Width 0 is one device pixel
// whatever the mapping; other widths are logical units (at least one pixel once mapped).
// Setters call OnChange when something changes.
class TPen {
public:
    TPen() = default;
    TPen(const TPen &other) { *this = other; }
    TPen &operator=(const TPen &other); // copies the attributes, not OnChange
    void Assign(const TPen &other) { *this = other; }

    TColor GetColor() const { return FColor; }
    void SetColor(TColor color);
    int32_t GetWidth() const { return FWidth; }
    void SetWidth(int32_t width); // below 0 is taken as 0
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle style);
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode mode);
    TPenEndCap GetEndCap() const { return FEndCap; }
    void SetEndCap(TPenEndCap cap);
    TPenJoinStyle GetJoinStyle() const { return FJoinStyle; }
    void SetJoinStyle(TPenJoinStyle join);

    std::function<void()> OnChange;

private:
    void Changed();

    TColor FColor = clBlack;
    int32_t FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    TPenEndCap FEndCap = pecRound;
    TPenJoinStyle FJoinStyle = pjsRound;
};

} // namespace gfx
