// The pen of a canvas: colour, width in pixels, style and mix mode.
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

// Default: black, width 1, psSolid, pmCopy. Setters call OnChange when something changes.
class TPen {
public:
    TPen() = default;
    TPen(const TPen &other) { *this = other; }
    TPen &operator=(const TPen &other); // copies the attributes, not OnChange
    void Assign(const TPen &other) { *this = other; }

    TColor GetColor() const { return FColor; }
    void SetColor(TColor color);
    int32_t GetWidth() const { return FWidth; }
    void SetWidth(int32_t width); // below 1 is taken as 1
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle style);
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode mode);

    std::function<void()> OnChange;

private:
    void Changed();

    TColor FColor = clBlack;
    int32_t FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

} // namespace gfx
