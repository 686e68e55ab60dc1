// The base class of pictures that a canvas can draw: bitmaps and PNG images.
#pragma once

#include "platform/gfx/Types.h"

#include <cstdint>
#include <functional>

namespace gfx {

class TCanvas;

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    virtual bool Empty() const { return GetWidth() == 0 || GetHeight() == 0; }
    // Draws the whole picture scaled into dest; used by TCanvas::Draw and StretchDraw.
    virtual void DrawOn(TCanvas &canvas, const TRect &dest) const = 0;

    // The picture's colour palette, for devices that show at most 256 colours at once. Our
    // pictures and displays are true colour: 0, none.
    virtual HPALETTE GetPalette() const { return 0; }

    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }

    // Called after the picture's content or size changed.
    std::function<void()> OnChange;

protected:
    void Changed() {
        if (OnChange) {
            OnChange();
        }
    }

private:
    bool FTransparent = false;
};

} // namespace gfx
