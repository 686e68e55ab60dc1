// TImage placement and painting.
#include "platform/ui/Image.h"

namespace ui {

TImage::TImage(TComponent *owner) : TGraphicControl(owner) {
    FPicture.OnChange = [this] { Invalidate(); };
    SetBounds(0, 0, 105, 105);
}

void TImage::SetCenter(bool v) {
    FCenter = v;
    Invalidate();
}

void TImage::SetProportional(bool v) {
    FProportional = v;
    Invalidate();
}

void TImage::SetStretch(bool v) {
    FStretch = v;
    Invalidate();
}

gfx::TRect TImage::DestRect() const {
    int w = FPicture.GetWidth(), h = FPicture.GetHeight();
    const int cw = GetClientWidth(), ch = GetClientHeight();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            const double aspect = double(w) / h;
            if (w > h) {
                w = cw;
                h = int(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = int(ch * aspect);
                }
            } else {
                h = ch;
                w = int(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = int(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    gfx::TRect r = gfx::Rect(0, 0, w, h);
    if (FCenter) {
        r.Offset((cw - w) / 2, (ch - h) / 2);
    }
    return r;
}

void TImage::Paint() {
    if (const gfx::TGraphic *g = FPicture.GetGraphic(); g && !g->Empty()) {
        GetCanvas().StretchDraw(DestRect(), *g);
    }
}

} // namespace ui
