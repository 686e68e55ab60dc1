// TImage: shows a picture, at its size or fitted to the control.
#pragma once

#include "platform/gfx/Picture.h"
#include "platform/ui/CustomControl.h"

namespace ui {

// The picture's place (DestRect): its own size, or with Stretch the whole control, or with
// Proportional (when stretched, or when it does not fit) the largest size of the picture's
// aspect ratio inside the control (sizes truncated); Center then centres that rectangle
// (offsets truncated). Default size 105 x 105.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent *owner);

    gfx::TPicture &GetPicture() { return FPicture; }
    bool GetCenter() const { return FCenter; }
    void SetCenter(bool v);
    bool GetProportional() const { return FProportional; }
    void SetProportional(bool v);
    bool GetStretch() const { return FStretch; }
    void SetStretch(bool v);
    gfx::TRect DestRect() const;

protected:
    void Paint() override;

private:
    gfx::TPicture FPicture;
    bool FCenter = false;
    bool FProportional = false;
    bool FStretch = false;
};

} // namespace ui
