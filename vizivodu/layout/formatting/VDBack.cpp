// Backgrounds: state, thumbnails, screen drawing and printing.
#include "vizivodu/layout/formatting/VDBack.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDRazavIrezIzir.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/layout/viewer/VDThumbMaker.h"
#include "vizivodu/styles/VDFuncs.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <optional>

namespace vizivodu {

namespace {

bool IsCornerOrCentred(TBackgroundStyle s) {
    return s == bsCentered || s == bsTopLeft || s == bsTopRight || s == bsBottomLeft ||
           s == bsBottomRight;
}

// Where a picture of w x h stands in an area of width x height for the single-placement
// styles.
rtl::TPoint PlaceSingle(TBackgroundStyle s, int32_t width, int32_t height, int32_t w, int32_t h) {
    switch (s) {
    case bsCentered:
        return {(width - w) / 2, (height - h) / 2};
    case bsTopRight:
        return {width - w, 0};
    case bsBottomLeft:
        return {0, height - h};
    case bsBottomRight:
        return {width - w, height - h};
    default:
        return {0, 0};
    }
}

// a div b rounded towards minus infinity, so that tiles cover negative positions too.
int32_t FloorDiv(int32_t a, int32_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

TVDBackground::TVDBackground(bool createBitmap) {
    if (createBitmap) {
        FImage = std::make_unique<gfx::TBitmap>();
    }
}

TVDBackground::~TVDBackground() = default;

gfx::TBitmap *TVDBackground::GetBitmap() const {
    return dynamic_cast<gfx::TBitmap *>(FImage.get());
}

TVDItemBackgroundStyle TVDBackground::GetItemBackStyle() const {
    switch (Style) {
    case bsNoBitmap:
        return vdbsColor;
    case bsStretched:
        return vdbsStretched;
    case bsTiled:
    case bsTiledAndScrolled:
        return vdbsTiled;
    default:
        return vdbsCentered;
    }
}

void TVDBackground::SetItemBackStyle(TVDItemBackgroundStyle value) {
    switch (value) {
    case vdbsColor:
        Style = bsNoBitmap;
        break;
    case vdbsStretched:
        Style = bsStretched;
        break;
    case vdbsCentered:
        Style = bsCentered;
        break;
    case vdbsTiled:
        Style = bsTiled;
        break;
    }
}

bool TVDBackground::EmptyImage() const {
    return !FImage || FImage->Empty();
}

bool TVDBackground::Empty() const {
    return Style == bsNoBitmap && EmptyImage();
}

bool TVDBackground::Visible() const {
    return Style != bsNoBitmap && !EmptyImage();
}

bool TVDBackground::IsSemitransparent() const {
    if (EmptyImage()) {
        return false;
    }
    const bool transparent = GlobalGraphicHandler ? GlobalGraphicHandler->IsTransparent(*FImage)
                                                  : FImage->GetTransparent();
    return transparent || IsCornerOrCentred(Style);
}

bool TVDBackground::ScrollRequiresFullRedraw() const {
    return !EmptyImage() && Style != bsNoBitmap && Style != bsTiledAndScrolled;
}

void TVDBackground::AssignImage(const gfx::TGraphic *image, TCustomVDData *vdData, bool copy,
                                void *backgroundOwner) {
    if (image == FImage.get()) {
        return;
    }
    if (FHasThumbnail && backgroundOwner && vdData && vdData->GetThumbnailCache()) {
        vdData->GetThumbnailCache()->RemoveThumbnail(backgroundOwner);
    }
    FreeImage();
    if (copy && image && GlobalGraphicHandler) {
        FImage = GlobalGraphicHandler->Clone(image);
        if (FImage) {
            FImage->SetTransparent(image->GetTransparent());
        }
    }
    UpdatePaletted(vdpaDoNothing);
}

void TVDBackground::AssignImage(std::unique_ptr<gfx::TGraphic> image, TCustomVDData *vdData,
                                void *backgroundOwner) {
    if (FHasThumbnail && backgroundOwner && vdData && vdData->GetThumbnailCache()) {
        vdData->GetThumbnailCache()->RemoveThumbnail(backgroundOwner);
    }
    FreeImage();
    FImage = std::move(image);
    UpdatePaletted(vdpaDoNothing);
}

void TVDBackground::FreeImage() {
    FImage.reset();
    FreeThumbnail();
}

void TVDBackground::FreeThumbnail() {
    FImageCopy.reset();
    FHasThumbnail = false;
}

void TVDBackground::UpdatePaletted(TVDPaletteAction) {
    FreeThumbnail();
}

namespace {

// The size a picture shows at the zoom of the document's page-layout component.
void ScaleToZoom(TCustomVDData *vdData, int32_t &w, int32_t &h) {
    IVDRazavIrezIzirInterface *ifc = vdData ? vdData->GetRazavIrezIzirInterface() : nullptr;
    if (!ifc) {
        return;
    }
    const double factor = ifc->GetZoomPercent() / 100.0;
    w = int32_t(std::lround(w * factor));
    h = int32_t(std::lround(h * factor));
}

} // namespace

void TVDBackground::UpdateThumbnail(TCustomVDData *vdData, void *backgroundOwner, int32_t width,
                                    int32_t height) {
    TVDThumbnailCache *cache = vdData ? vdData->GetThumbnailCache() : nullptr;
    const TVDGraphicClass *cls = FImage ? GraphicClassOf(*FImage) : nullptr;
    const bool allowed = FImage && Style != bsNoBitmap && GlobalThumbnailMaker &&
                         GlobalThumbnailMaker->IsAllowedFor(cls);
    int32_t w = 0, h = 0;
    if (allowed) {
        w = Style == bsStretched ? width : FImage->GetWidth();
        h = Style == bsStretched ? height : FImage->GetHeight();
        ScaleToZoom(vdData, w, h);
        const bool ownSize = w == FImage->GetWidth() && h == FImage->GetHeight();
        if (cache && cache->MaxCount != 0 && !ownSize) {
            int32_t aw = w, ah = h;
            GlobalThumbnailMaker->AdjustThumbnailSize(aw, ah);
            const bool needed =
                !FImageCopy ||
                (FHasThumbnail && (FImageCopy->GetWidth() != aw || FImageCopy->GetHeight() != ah));
            if (needed) {
                FImageCopy = GlobalThumbnailMaker->MakeThumbnail(*FImage, w, h);
                FHasThumbnail = FImageCopy != nullptr;
            }
        }
    }
    const bool useless =
        !allowed || (FImage && w == FImage->GetWidth() && h == FImage->GetHeight());
    if (FHasThumbnail && useless) {
        FreeThumbnail();
        if (cache && backgroundOwner) {
            cache->RemoveThumbnail(backgroundOwner);
        }
    }
    if (FHasThumbnail && cache && backgroundOwner) {
        cache->AddThumbnail(backgroundOwner);
    }
}

void TVDBackground::DrawPicture(gfx::TCanvas &canvas, const gfx::TGraphic &graphic,
                                const rtl::TRect &r, bool stretch, bool printSimulation,
                                TVDGraphicInterface &gi) {
    try {
        const auto *bmp = dynamic_cast<const gfx::TBitmap *>(&graphic);
        if (bmp && !printSimulation && (!stretch || FHasThumbnail)) {
            if (bmp->GetWidth() == r.Width() && bmp->GetHeight() == r.Height()) {
                gi.DrawBitmap(canvas, r.Left, r.Top, *bmp);
            } else {
                gi.StretchDrawBitmap(canvas, r, *bmp);
            }
        } else if (stretch) {
            gi.StretchDrawGraphic(canvas, r, graphic);
        } else {
            gi.DrawGraphic(canvas, r.Left, r.Top, graphic);
        }
    } catch (const rtl::Exception &) {
        // A tile that cannot be drawn is left out; the rest of the background still shows.
    }
}

void TVDBackground::Draw(gfx::TCanvas &canvas, const rtl::TRect &rect, int32_t hOffs, int32_t vOffs,
                         int32_t left, int32_t top, int32_t width, int32_t height,
                         gfx::TColor color, TVDOpacity opacity, bool clipping, bool printSimulation,
                         TVDGraphicInterface &graphicInterface, TCustomVDData *vdData,
                         void *backgroundOwner, bool allowThumbnails) {
    int32_t w = 0, h = 0;
    const gfx::TGraphic *graphic = nullptr;
    if (FImage && Style != bsNoBitmap) {
        w = FImage->GetWidth();
        h = FImage->GetHeight();
        if (allowThumbnails) {
            UpdateThumbnail(vdData, backgroundOwner, width, height);
        }
        graphic = FImageCopy ? FImageCopy.get() : FImage.get();
    }
    std::optional<TVDCanvasStateScope> saved;
    if (clipping) {
        saved.emplace(graphicInterface, canvas);
        graphicInterface.IntersectClipRect(canvas, rect.Left, rect.Top, rect.Right, rect.Bottom);
    }
    // The part, relative to the area; drawing places at area coordinates minus its position.
    rtl::TRect part = rect;
    part.Offset(-left, -top);
    const int32_t dx = rect.Left - part.Left;
    const int32_t dy = rect.Top - part.Top;
    const bool noPicture = !graphic || graphic->Empty();
    if (color != gfx::clNone && opacity > 0 &&
        (noPicture || graphic->GetTransparent() || Style == bsNoBitmap ||
         IsCornerOrCentred(Style))) {
        graphicInterface.FillRectAlpha(canvas, rect, color, OpacityToAlpha(opacity));
    }
    if (noPicture) {
        return;
    }
    switch (Style) {
    case bsStretched:
        DrawPicture(canvas, *graphic, rtl::Bounds(dx, dy, width, height), true, printSimulation,
                    graphicInterface);
        break;
    case bsTiled:
    case bsTiledAndScrolled: {
        if (w <= 0 || h <= 0) {
            break;
        }
        const int32_t ox = Style == bsTiledAndScrolled ? hOffs : 0;
        const int32_t oy = Style == bsTiledAndScrolled ? vOffs : 0;
        for (int32_t row = FloorDiv(part.Top + oy, h); row <= FloorDiv(part.Bottom + oy, h);
             ++row) {
            for (int32_t col = FloorDiv(part.Left + ox, w); col <= FloorDiv(part.Right + ox, w);
                 ++col) {
                DrawPicture(canvas, *graphic,
                            rtl::Bounds(dx + col * w - ox, dy + row * h - oy, w, h), false,
                            printSimulation, graphicInterface);
            }
        }
        break;
    }
    default: {
        const rtl::TPoint p = PlaceSingle(Style, width, height, w, h);
        DrawPicture(canvas, *graphic, rtl::Bounds(dx + p.X, dy + p.Y, w, h), false, printSimulation,
                    graphicInterface);
        break;
    }
    }
}

// Printing places the picture in one coordinate frame: the printed part is moved to the
// origin and every placement, the corner ones included, is taken relative to the whole area.
void TVDBackground::Print(gfx::TCanvas &canvas, const rtl::TRect &rect, const rtl::TRect &fullRect,
                          const TVDScreenAndDevice &sad, gfx::TColor color, TVDOpacity opacity,
                          bool, TVDGraphicInterface &graphicInterface) {
    const TVDCanvasStateScope saved(graphicInterface, canvas);
    graphicInterface.IntersectClipRect(canvas, rect.Left, rect.Top, rect.Right, rect.Bottom);
    const bool noPicture = EmptyImage();
    if (color != gfx::clNone && (noPicture || Style == bsNoBitmap || IsCornerOrCentred(Style))) {
        if (opacity >= 100000) {
            graphicInterface.FillColorRect(canvas, rect, color);
        } else if (opacity > 0) {
            graphicInterface.FillRectAlpha(canvas, rect, color, OpacityToAlpha(opacity));
        }
    }
    if (noPicture || Style == bsNoBitmap) {
        return;
    }
    const gfx::TGraphic &graphic = *FImage;
    const int32_t w = ScreenToDeviceX(graphic.GetWidth(), sad);
    const int32_t h = ScreenToDeviceY(graphic.GetHeight(), sad);
    const int32_t fw = fullRect.Width(), fh = fullRect.Height();
    if (Style == bsStretched) {
        graphicInterface.StretchDrawGraphic(canvas, fullRect, graphic);
        return;
    }
    if (Style == bsTiled || Style == bsTiledAndScrolled) {
        if (w <= 0 || h <= 0) {
            return;
        }
        for (int32_t y = fullRect.Top; y < rect.Bottom; y += h) {
            for (int32_t x = fullRect.Left; x < rect.Right; x += w) {
                if (x + w > rect.Left && y + h > rect.Top) {
                    graphicInterface.StretchDrawGraphic(canvas, rtl::Bounds(x, y, w, h), graphic);
                }
            }
        }
        return;
    }
    const rtl::TPoint p = PlaceSingle(Style, fw, fh, w, h);
    graphicInterface.StretchDrawGraphic(
        canvas, rtl::Bounds(fullRect.Left + p.X, fullRect.Top + p.Y, w, h), graphic);
}

} // namespace vizivodu
