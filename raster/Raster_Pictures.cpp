// Picture exchange with the platform's picture classes: class-library bitmaps and pictures
// in and out, other pictures drawn through the platform back end, and the picture files and
// streams that the bitmap file reader leaves to them.
#include "raster/Raster.h"

#include "raster/Raster_Backends.h"
#include "raster/Raster_Persistence_p.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Clipbrd.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Resources.h"

namespace raster {

namespace {

// Gives the bitmap a back end with a canvas for the duration (the pixels travel), then puts the
// old one back, also when drawing raises.
class TCanvasBackend {
public:
    explicit TCanvasBackend(TCustomBitmap32 &bitmap) : FBitmap(bitmap) {
        EnsureBackendSupport(bitmap, {biDeviceContext, biCanvas}, bsmAny, true, FReleased);
    }
    ~TCanvasBackend() { ReinstateBackend(FBitmap, FReleased); }
    TCanvasBackend(const TCanvasBackend &) = delete;
    TCanvasBackend &operator=(const TCanvasBackend &) = delete;

    gfx::TCanvas &Canvas() {
        if (auto *c = dynamic_cast<ICanvasSupport *>(FBitmap.GetBackend())) {
            return c->GetCanvas();
        }
        throw EBitmapException(std::string_view("Inpropriate Backend"));
    }

private:
    TCustomBitmap32 &FBitmap;
    TCustomBackend *FReleased = nullptr;
};

// Any picture drawn on fillColor at its own size.
void DrawGraphic(TCustomBitmap32 &bitmap, const gfx::TGraphic &graphic, TColor32 fillColor,
                 bool resetAlpha) {
    TCanvasBackend backend(bitmap);
    bitmap.SetSize(graphic.GetWidth(), graphic.GetHeight());
    if (bitmap.Empty()) {
        return;
    }
    bitmap.Clear(fillColor);
    backend.Canvas().StretchDraw({0, 0, bitmap.GetWidth(), bitmap.GetHeight()}, graphic);
    if (resetAlpha) {
        bitmap.ResetAlpha();
    }
}

// A class-library bitmap: its words as they are (a 32-bit one keeps its alpha, as a block
// transfer between 32-bit sections does); a transparent one loses the alpha of its
// transparent colour, the colour of its bottom-left pixel.
void ImportBitmap(TCustomBitmap32 &bitmap, const gfx::TBitmap &source) {
    const int32_t w = source.GetWidth(), h = source.GetHeight();
    bitmap.SetSize(w, h);
    if (bitmap.Empty()) {
        return;
    }
    const bool keepAlpha = source.GetPixelFormat() == gfx::pf32bit;
    const TColor32 transparent = source.ScanLine(h - 1)[0] & 0x00FFFFFFu;
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t *s = source.ScanLine(y);
        TColor32 *d = bitmap.GetScanLine(y);
        for (int32_t x = 0; x < w; ++x) {
            d[x] = keepAlpha ? s[x] : (s[x] | 0xFF000000u);
            if (source.GetTransparent() && (d[x] & 0x00FFFFFFu) == transparent) {
                d[x] &= 0x00FFFFFFu;
            }
        }
    }
    if (auto *f = dynamic_cast<IFontSupport *>(bitmap.GetBackend())) {
        // Only the canvas's font is read; the canvas is made on first request.
        f->SetFont(const_cast<gfx::TBitmap &>(source).GetCanvas().GetFont());
    }
}

// A metafile drawn on opaque white and again on opaque red: opaque where both agree, else
// transparent with the colour drawn on white.
void ImportMetafile(TCustomBitmap32 &bitmap, const gfx::TGraphic &metafile) {
    DrawGraphic(bitmap, metafile, 0xFFFFFFFFu, false);
    if (bitmap.Empty()) {
        return;
    }
    TCustomBitmap32 onRed;
    DrawGraphic(onRed, metafile, 0xFFFF0000u, false);
    for (int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        TColor32 *d = bitmap.GetScanLine(y);
        const TColor32 *r = onRed.GetScanLine(y);
        for (int32_t x = 0; x < bitmap.GetWidth(); ++x) {
            const bool same = ((d[x] ^ r[x]) & 0x00FFFFFFu) == 0;
            d[x] = same ? d[x] | 0xFF000000u : d[x] & 0x00FFFFFFu;
        }
    }
}

// An icon with its alpha channel as it is; one without (every alpha 0) as a metafile would come
// in, drawn once on white and once on red: opaque where both agree, transparent white where
// its mask lets the background through.
void ImportIcon(TCustomBitmap32 &bitmap, const gfx::TIcon &icon) {
    const gfx::TBitmap colour = icon.GetColorBitmap();
    const gfx::TBitmap mask = icon.GetMaskBitmap();
    const int32_t w = colour.GetWidth(), h = colour.GetHeight();
    bitmap.SetSize(w, h);
    if (bitmap.Empty()) {
        return;
    }
    bool anyAlpha = false;
    for (int32_t y = 0; y < h; ++y) {
        MoveDWords(colour.ScanLine(y), bitmap.GetScanLine(y), w);
        for (int32_t x = 0; x < w && !anyAlpha; ++x) {
            anyAlpha = (colour.ScanLine(y)[x] >> 24) != 0;
        }
    }
    if (anyAlpha) {
        return;
    }
    for (int32_t y = 0; y < h; ++y) {
        TColor32 *d = bitmap.GetScanLine(y);
        for (int32_t x = 0; x < w; ++x) {
            const bool transparent = (mask.ScanLine(y)[x] & 0x00FFFFFFu) == 0x00FFFFFFu;
            d[x] = transparent ? 0x00FFFFFFu : d[x] | 0xFF000000u;
        }
    }
}

} // namespace

void TCustomBitmap32::Assign(const gfx::TGraphic *graphic) {
    BeginUpdate();
    struct TEnd {
        TCustomBitmap32 &b;
        ~TEnd() {
            b.EndUpdate();
            b.Changed();
        }
    } end{*this};
    if (graphic == nullptr) {
        SetSize(0, 0);
    } else if (const auto *b = dynamic_cast<const gfx::TBitmap *>(graphic)) {
        ImportBitmap(*this, *b);
    } else if (const auto *icon = dynamic_cast<const gfx::TIcon *>(graphic)) {
        ImportIcon(*this, *icon);
    } else if (dynamic_cast<const gfx::TMetafile *>(graphic)) {
        ImportMetafile(*this, *graphic);
    } else {
        DrawGraphic(*this, *graphic, 0xFFFFFFFFu, true);
    }
}

void TCustomBitmap32::Assign(const gfx::TPicture *picture) {
    Assign(picture != nullptr ? picture->GetGraphic() : nullptr);
}

void TCustomBitmap32::AssignTo(gfx::TBitmap &dst) const {
    dst.SetPixelFormat(gfx::pf32bit);
    dst.SetSize(FWidth, FHeight);
    if (auto *f = dynamic_cast<IFontSupport *>(FBackend)) {
        dst.GetCanvas().SetFont(f->GetFont());
    }
    if (Empty()) {
        return;
    }
    for (int32_t y = 0; y < FHeight; ++y) {
        MoveDWords(GetScanLine(y), dst.ScanLine(y), FWidth);
    }
}

void TCustomBitmap32::AssignTo(gfx::TPicture &dst) const {
    gfx::TBitmap bitmap;
    AssignTo(bitmap);
    dst.SetGraphic(&bitmap);
}

void TCustomBitmap32::Assign(const gfx::TClipboard &clipboard) {
    gfx::TPicture picture;
    clipboard.AssignTo(picture);
    Assign(&picture);
}

void TCustomBitmap32::AssignTo(gfx::TClipboard &dst) const {
    gfx::TBitmap bitmap;
    AssignTo(bitmap);
    dst.Assign(bitmap);
}

namespace detail {

void LoadPictureStream(TCustomBitmap32 &bitmap, rtl::TStream &stream) {
    gfx::TPicture picture;
    picture.LoadFromStream(stream);
    bitmap.Assign(&picture);
}

void LoadPictureFile(TCustomBitmap32 &bitmap, const rtl::UnicodeString &fileName) {
    gfx::TPicture picture;
    picture.LoadFromFile(fileName);
    bitmap.Assign(&picture);
}

} // namespace detail

namespace {

void LoadBitmapResourceInto(TCustomBitmap32 &bitmap, uintptr_t instance,
                            const gfx::TResName &name) {
    struct TChangedAlways {
        TCustomBitmap32 &bitmap;
        ~TChangedAlways() { bitmap.Changed(); }
    } changed{bitmap};
    gfx::TBitmap loaded;
    gfx::LoadBitmapResource(loaded, instance, name);
    bitmap.Assign(&loaded);
}

} // namespace

void TCustomBitmap32::LoadFromResourceID(uintptr_t instance, uint16_t resID) {
    LoadBitmapResourceInto(*this, instance, resID);
}

void TCustomBitmap32::LoadFromResourceName(uintptr_t instance, const rtl::UnicodeString &resName) {
    LoadBitmapResourceInto(*this, instance, resName);
}

} // namespace raster
