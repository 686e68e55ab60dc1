// The brush of a canvas: colour and style (solid, none, or a hatch), or a pattern bitmap.
#pragma once

#include "platform/gfx/Colors.h"

#include <cstdint>
#include <functional>

namespace gfx {

class TBitmap;

enum TBrushStyle : uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// Default: white, bsSolid. Setters call OnChange when something changes.
class TBrush {
public:
    TBrush() = default;
    TBrush(const TBrush &other) { *this = other; }
    TBrush &operator=(const TBrush &other); // copies the attributes, not OnChange
    void Assign(const TBrush &other) { *this = other; }

    TColor GetColor() const { return FColor; }
    // A colour other than clNone makes a bsClear brush solid, as in the class library.
    void SetColor(TColor color);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    // A pattern bitmap (8 x 8 as GDI uses) that fills instead of the colour and style, tiled
    // from the device origin. Not owned: it must live while the brush uses it; nullptr ends it.
    const TBitmap *GetBitmap() const { return FBitmap; }
    void SetBitmap(const TBitmap *bitmap);

    std::function<void()> OnChange;

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    const TBitmap *FBitmap = nullptr;
};

} // namespace gfx
