// Internal: the state of a canvas back end, shared by the canvas's implementation files.
// Qt types are only declared here (see QtBridge_p.h); the members live in Graphics.cpp.
#pragma once

#include "platform/gfx/Graphics.h"

#include <memory>
#include <vector>

class QImage;
class QPainter;
class QRegion;

namespace gfx {

struct TCanvas::Impl {
    Impl();
    ~Impl();

    QImage *image = nullptr;         // surface when drawing on an image
    std::unique_ptr<QImage> wrapped; // the image wrapping external pixel memory
    std::unique_ptr<QPainter> own;   // painter begun lazily on the image
    QPainter *external = nullptr;    // painter of a control's paint event
    TRect surface;                   // whole drawable area
    std::unique_ptr<QRegion> clip;   // current clip region, within surface

    // What SaveDC keeps.
    struct Saved {
        Saved();
        Saved(Saved &&) noexcept;
        ~Saved();
        TFont font;
        TPen pen;
        TBrush brush;
        TPoint penPos;
        std::unique_ptr<QRegion> clip;
    };
    std::vector<Saved> saved;

    // The active painter, begun on the image when needed; clip applied.
    QPainter &Painter();
    void End();
    void ApplyClip();
    void ResetClip(); // the clip becomes the whole surface
    bool ClipContains(TPoint p) const;
};

} // namespace gfx
