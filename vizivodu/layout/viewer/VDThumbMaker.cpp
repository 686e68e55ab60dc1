// The thumbnail maker and its two-pass cubic resampler.
#include "vizivodu/layout/viewer/VDThumbMaker.h"

#include "vizivodu/VDStartup_p.h"

#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <cmath>

namespace vizivodu {

TVDThumbnailMaker *GlobalThumbnailMaker = nullptr;

namespace {

std::unique_ptr<TVDThumbnailMaker> &MakerOwner() {
    static std::unique_ptr<TVDThumbnailMaker> owner;
    return owner;
}

struct TWeightedPixel {
    int32_t Pixel; // source index
    float Weight;
};

// One list of weighted source pixels per destination column (or row).
using TWPMatrix = std::vector<std::vector<TWeightedPixel>>;

int32_t Mirror(int64_t j, int32_t size) {
    if (j < 0) {
        return -j >= size ? -1 : static_cast<int32_t>(-j);
    }
    if (j >= size) {
        const int64_t m = 2 * int64_t{size} - j - 1;
        return m < 0 ? -1 : static_cast<int32_t>(m);
    }
    return static_cast<int32_t>(j);
}

// Weights of every destination index over a source of srcSize. The scale maps the first and
// last pixels onto each other; a one-pixel destination has no last pixel to map, so it is
// centred on the source's middle and averages it (the end-to-end scale would be 0 and give
// only zero weights: a black thumbnail).
TWPMatrix BuildWeights(int32_t srcSize, int32_t dstSize, int32_t radius) {
    double scale = srcSize >= 2 ? double(dstSize - 1) / double(srcSize - 1)
                                : double(dstSize) / double(srcSize);
    double centreShift = 0;
    if (dstSize == 1 && srcSize >= 2) {
        scale = 1.0 / double(srcSize);
        centreShift = (srcSize - 1) / 2.0;
    }
    const double step = scale < 1e-20 ? srcSize / 2.0 : 1.0 / scale;
    TWPMatrix matrix(static_cast<size_t>(dstSize));
    for (int32_t i = 0; i < dstSize; ++i) {
        const double c = i * step + centreShift;
        const bool reducing = scale < 1;
        const double halfWidth = reducing ? radius * step : radius;
        const auto first = static_cast<int64_t>(std::floor(c - halfWidth));
        const auto last = static_cast<int64_t>(std::ceil(c + halfWidth));
        for (int64_t j = first; j <= last; ++j) {
            const double weight = reducing ? scale * TVDThumbnailMaker::CubicKernel(scale * (c - j))
                                           : TVDThumbnailMaker::CubicKernel(c - j);
            if (weight == 0) {
                continue;
            }
            const int32_t pixel = Mirror(j, srcSize);
            if (pixel >= 0) {
                matrix[static_cast<size_t>(i)].push_back({pixel, static_cast<float>(weight)});
            }
        }
    }
    return matrix;
}

uint32_t ChannelByte(float sum) {
    return rtl::RoundSaturated<uint8_t>(sum);
}

uint32_t WeightedPixel(const std::vector<TWeightedPixel> &weights, const uint32_t *line,
                       int32_t pixelStride) {
    float b = 0;
    float g = 0;
    float r = 0;
    for (const TWeightedPixel &w : weights) {
        const uint32_t p = line[static_cast<ptrdiff_t>(w.Pixel) * pixelStride];
        b += w.Weight * float(p & 0xFF);
        g += w.Weight * float((p >> 8) & 0xFF);
        r += w.Weight * float((p >> 16) & 0xFF);
    }
    return 0xFF000000u | (ChannelByte(r) << 16) | (ChannelByte(g) << 8) | ChannelByte(b);
}

} // namespace

double TVDThumbnailMaker::CubicKernel(double x) {
    const double d = std::fabs(x);
    if (d < 1) {
        return (7 * d * d * d - 12 * d * d + 16.0 / 3) / 6;
    }
    if (d < 2) {
        return (-(7.0 / 3) * d * d * d + 12 * d * d - 20 * d + 32.0 / 3) / 6;
    }
    return 0;
}

void TVDThumbnailMaker::StretchBitmapCubic(const gfx::TBitmap &src, gfx::TBitmap &dst,
                                           int32_t radius) {
    const int32_t sw = src.GetWidth();
    const int32_t sh = src.GetHeight();
    const int32_t dw = dst.GetWidth();
    const int32_t dh = dst.GetHeight();
    if (sw < 1 || sh < 1 || dw < 1 || dh < 1) {
        return;
    }
    const TWPMatrix columns = BuildWeights(sw, dw, radius);
    gfx::TBitmap between(dw, sh);
    between.SetPixelFormat(gfx::pf24bit);
    for (int32_t y = 0; y < sh; ++y) {
        const uint32_t *in = src.ScanLine(y);
        uint32_t *out = between.ScanLine(y);
        for (int32_t x = 0; x < dw; ++x) {
            out[x] = WeightedPixel(columns[static_cast<size_t>(x)], in, 1);
        }
    }
    const TWPMatrix rows = BuildWeights(sh, dh, radius);
    // Rows of the intermediate bitmap are stride apart; a one-row bitmap has no second row.
    const int32_t stride = sh >= 2 ? int32_t(between.ScanLine(1) - between.ScanLine(0)) : 0;
    const uint32_t *top = between.ScanLine(0);
    for (int32_t y = 0; y < dh; ++y) {
        uint32_t *out = dst.ScanLine(y);
        for (int32_t x = 0; x < dw; ++x) {
            out[x] = WeightedPixel(rows[static_cast<size_t>(y)], top + x, stride);
        }
    }
}

TVDThumbnailMaker::TVDThumbnailMaker() {
    FClassList = {BitmapGraphicClass(), JPEGGraphicClass(), WICImageGraphicClass()};
}

void TVDThumbnailMaker::AllowThumbnailsFor(const TVDGraphicClass *graphicClass) {
    if (!IsAllowedFor(graphicClass)) {
        FClassList.push_back(graphicClass);
    }
}

void TVDThumbnailMaker::DisallowThumbnailsFor(const TVDGraphicClass *graphicClass) {
    FClassList.erase(std::remove(FClassList.begin(), FClassList.end(), graphicClass),
                     FClassList.end());
}

bool TVDThumbnailMaker::IsAllowedFor(const TVDGraphicClass *graphicClass) const {
    return graphicClass &&
           std::find(FClassList.begin(), FClassList.end(), graphicClass) != FClassList.end();
}

void TVDThumbnailMaker::AdjustThumbnailSize(int32_t &width, int32_t &height) const {
    const int32_t larger = std::max(width, height);
    if (larger > FMaxThumbnailSize) {
        const double m = FMaxThumbnailSize;
        width = static_cast<int32_t>(rtl::Round(double(width) / larger * m));
        height = static_cast<int32_t>(rtl::Round(double(height) / larger * m));
    }
}

std::unique_ptr<gfx::TBitmap> TVDThumbnailMaker::MakeThumbnail(const gfx::TGraphic &graphic,
                                                               int32_t width,
                                                               int32_t height) const {
    const int32_t gw = graphic.GetWidth();
    const int32_t gh = graphic.GetHeight();
    const auto *bitmap = dynamic_cast<const gfx::TBitmap *>(&graphic);
    if (!IsAllowedFor(GraphicClassOf(graphic)) || gw + gh == 0 || width < 1 || height < 1 ||
        (bitmap && bitmap->GetTransparent()) || (gw == width && gh == height)) {
        return nullptr;
    }
    const int32_t m = FMaxThumbnailSize;
    if ((gw > m || gh > m) && (width > m || height > m) && gw < width && gh < height) {
        return nullptr;
    }
    AdjustThumbnailSize(width, height);
    try {
        gfx::TBitmap source;
        source.Assign(graphic);
        source.SetPixelFormat(gfx::pf24bit);
        auto result = std::make_unique<gfx::TBitmap>(width, height);
        result->SetPixelFormat(gfx::pf24bit);
        StretchBitmapCubic(source, *result, 2);
        return result;
    } catch (const rtl::Exception &) {
        return nullptr;
    }
}

void InitializeThumbnailMaker() {
    if (!GlobalThumbnailMaker) {
        MakerOwner() = std::make_unique<TVDThumbnailMaker>();
        GlobalThumbnailMaker = MakerOwner().get();
    }
}

void startup::InitializeVDThumbMaker() {
    InitializeThumbnailMaker();
}

void FinalizeThumbnailMaker() {
    GlobalThumbnailMaker = nullptr;
    MakerOwner().reset();
}

} // namespace vizivodu
