// Thumbnails: smoothly scaled copies of large pictures that are shown at another size, made by
// a separable two-pass resampler with a cubic kernel.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {
class TBitmap;
class TGraphic;
} // namespace gfx

namespace vizivodu {

class TVDGraphicClass;

// One maker lives for the whole program (GlobalThumbnailMaker). Thumbnails are made only for
// pictures of the allowed classes (exact classes, not descendants) and never exceed
// MaxThumbnailSize in either direction.
class TVDThumbnailMaker {
public:
    // Allowed at first: bitmaps, JPEG pictures and the general decoder's pictures.
    TVDThumbnailMaker();

    void AllowThumbnailsFor(const TVDGraphicClass *graphicClass);
    void DisallowThumbnailsFor(const TVDGraphicClass *graphicClass);
    bool IsAllowedFor(const TVDGraphicClass *graphicClass) const;
    int32_t GetMaxThumbnailSize() const { return FMaxThumbnailSize; }
    void SetMaxThumbnailSize(int32_t value) { FMaxThumbnailSize = value; }

    // Scales both sides by MaxThumbnailSize / the larger side (rounded, halves to even) when
    // the larger side exceeds it.
    void AdjustThumbnailSize(int32_t &width, int32_t &height) const;
    // A new 24-bit bitmap of the picture scaled to width x height (after AdjustThumbnailSize);
    // nullptr when the class is not allowed, the size is not positive, the picture is a
    // transparent bitmap, already has that size, or would be enlarged beyond the limit; also
    // nullptr when anything fails.
    std::unique_ptr<gfx::TBitmap> MakeThumbnail(const gfx::TGraphic &graphic, int32_t width,
                                                int32_t height) const;

    // Fills the 24-bit dst from the 24-bit src scaled to dst's size with the cubic of Mitchell
    // and Netravali (B = C = 1/3) over radius source pixels; channel sums are clamped to 0..255
    // and rounded to the nearest integer, halves to even. A destination one pixel wide (or
    // high) takes the source's middle as its centre.
    static void StretchBitmapCubic(const gfx::TBitmap &src, gfx::TBitmap &dst, int32_t radius);
    // The kernel itself.
    static double CubicKernel(double x);

private:
    std::vector<const TVDGraphicClass *> FClassList;
    int32_t FMaxThumbnailSize = 3000;
};

// The program's maker, made by InitializeThumbnailMaker (the library's start-up) and freed by
// FinalizeThumbnailMaker; nullptr outside that time.
extern TVDThumbnailMaker *GlobalThumbnailMaker;
void InitializeThumbnailMaker();
void FinalizeThumbnailMaker();

} // namespace vizivodu
