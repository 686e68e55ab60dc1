// TIcon: ICO files. The directory and the AND masks are read here (every offset checked); the
// pixels of the chosen image come from Qt's icon reader, which leaves masks out.
#include "platform/gfx/Icon.h"

#include "platform/gfx/ImageCodecs.h"
#include "platform/gfx/ImageCodecs_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <climits>

namespace gfx {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;

uint32_t Get(const std::vector<uint8_t> &d, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
        v |= uint32_t(d[at + size_t(i)]) << (8 * i);
    }
    return v;
}

struct TIcoEntry {
    int index = -1;
    size_t offset = 0; // of the image data in the file
    size_t size = 0;   // bytes of image data, within the file
};

// The largest image of the directory (the deepest of equal sizes); index -1 when the
// directory or every entry lies outside the data.
TIcoEntry LargestEntry(const std::vector<uint8_t> &d) {
    TIcoEntry best;
    const size_t count = Get(d, 4, 2);
    int64_t bestScore = -1;
    for (size_t i = 0; i < count && kDirectorySize + kEntrySize * (i + 1) <= d.size(); ++i) {
        const size_t e = kDirectorySize + kEntrySize * i;
        const int64_t w = d[e] ? d[e] : 256;
        const int64_t h = d[e + 1] ? d[e + 1] : 256;
        const size_t size = Get(d, e + 8, 4);
        const size_t offset = Get(d, e + 12, 4);
        if (offset > d.size() || size > d.size() - offset) {
            continue;
        }
        const int64_t score = (w * h << 8) + Get(d, e + 6, 2);
        if (score > bestScore) {
            bestScore = score;
            best = {int(i), offset, size};
        }
    }
    return best;
}

bool IsPngEntry(const std::vector<uint8_t> &d, const TIcoEntry &e) {
    return e.size >= 8 && d[e.offset] == 0x89 && d[e.offset + 1] == 'P' && d[e.offset + 2] == 'N' &&
           d[e.offset + 3] == 'G';
}

// Bit count of a BMP entry; 0 when its header does not fit.
int EntryBitCount(const std::vector<uint8_t> &d, const TIcoEntry &e) {
    return e.size >= kInfoHeaderSize ? int(Get(d, e.offset + 14, 2)) : 0;
}

// Clears the alpha of the pixels that the entry's AND mask makes transparent. Nothing when the
// mask does not lie whole inside the entry or does not match the decoded size.
void ApplyAndMask(const std::vector<uint8_t> &d, const TIcoEntry &e, TBitmap &pixels) {
    const size_t at = e.offset;
    const uint64_t headerSize = Get(d, at, 4);
    const int64_t width = int32_t(Get(d, at + 4, 4));
    const int64_t height = int32_t(Get(d, at + 8, 4)) / 2;
    const uint64_t bits = Get(d, at + 14, 2);
    const uint64_t used = Get(d, at + 32, 4);
    if (width != pixels.GetWidth() || height != pixels.GetHeight() || width <= 0 || height <= 0 ||
        bits == 0 || bits > 32 || used > 256) {
        return;
    }
    const uint64_t paletteBytes = 4 * (used ? used : (bits <= 8 ? (uint64_t{1} << bits) : 0));
    const uint64_t xorStride = (uint64_t(width) * bits + 31) / 32 * 4;
    const uint64_t andStride = (uint64_t(width) + 31) / 32 * 4;
    const uint64_t maskStart = headerSize + paletteBytes + xorStride * uint64_t(height);
    if (maskStart + andStride * uint64_t(height) > e.size) {
        return;
    }
    for (int64_t y = 0; y < height; ++y) {
        const size_t row = at + maskStart + andStride * uint64_t(height - 1 - y); // bottom-up
        uint32_t *out = pixels.ScanLine(int32_t(y));
        for (int64_t x = 0; x < width; ++x) {
            if ((d[row + size_t(x / 8)] >> (7 - x % 8)) & 1) {
                out[x] &= 0x00FFFFFFu;
            }
        }
    }
}

} // namespace

void TIcon::DrawOn(TCanvas &canvas, const TRect &dest) const {
    FImage.DrawOn(canvas, dest);
}

void TIcon::LoadFromStream(rtl::TStream &stream) {
    LoadFromMemory(codecs::ReadRest(stream));
}

void TIcon::LoadFromMemory(const std::vector<uint8_t> &data) {
    const bool isIcon =
        data.size() >= kDirectorySize && Get(data, 0, 2) == 0 && Get(data, 2, 2) == 1;
    const TIcoEntry entry = isIcon ? LargestEntry(data) : TIcoEntry{};
    TBitmap pixels;
    if (entry.index < 0 || !codecs::DecodeToBitmap(data, "ICO", pixels, nullptr, entry.index)) {
        throw rtl::Exception(std::string_view("Invalid icon"));
    }
    const bool hasAlpha = IsPngEntry(data, entry) || EntryBitCount(data, entry) == 32;
    if (!hasAlpha) {
        ApplyAndMask(data, entry, pixels);
    }
    FImage = *PngFromPixels(pixels, true);
    FData = data;
    FPixels = pixels;
    FHasAlpha = hasAlpha;
    Changed();
}

void TIcon::SaveToStream(rtl::TStream &stream) const {
    if (FData.size() > size_t(INT32_MAX)) {
        throw rtl::EWriteError(std::string_view("Stream write error"));
    }
    if (!FData.empty()) {
        stream.WriteBuffer(FData.data(), int32_t(FData.size()));
    }
}

void TIcon::Assign(const TIcon &source) {
    FData = source.FData;
    FImage = source.FImage;
    FPixels = source.FPixels;
    FHasAlpha = source.FHasAlpha;
    Changed();
}

TBitmap TIcon::GetColorBitmap() const {
    TBitmap color(FPixels);
    color.SetPixelFormat(pf32bit);
    if (!FHasAlpha) {
        for (int32_t y = 0; y < color.GetHeight(); ++y) {
            uint32_t *row = color.ScanLine(y);
            for (int32_t x = 0; x < color.GetWidth(); ++x) {
                row[x] &= 0x00FFFFFFu;
            }
        }
    }
    return color;
}

TBitmap TIcon::GetMaskBitmap() const {
    TBitmap mask(FPixels.GetWidth(), FPixels.GetHeight());
    mask.SetPixelFormat(pf24bit);
    for (int32_t y = 0; y < mask.GetHeight(); ++y) {
        const uint32_t *src = FPixels.ScanLine(y);
        uint32_t *row = mask.ScanLine(y);
        for (int32_t x = 0; x < mask.GetWidth(); ++x) {
            row[x] = (src[x] >> 24) == 0 ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    return mask;
}

} // namespace gfx
