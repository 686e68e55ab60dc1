// Bitmap files and streams: the Windows bitmap format written at 32 bits per pixel and read at
// 24 and 32 bits (plain or with channel masks, rows in either order, any information header of
// 40 bytes or more); the stored-form pixel data; comparing contents.
#include "raster/Raster.h"

#include "raster/Raster_Persistence_p.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SafeSave.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <typeinfo>
#include <vector>

namespace raster {

namespace {

constexpr int32_t kFileHeaderSize = 14;
constexpr int32_t kInfoHeaderSize = 40;
constexpr int32_t kHeadSize = kFileHeaderSize + kInfoHeaderSize;
// Information headers beyond the V5 form (124 bytes) are not made by any writer we know of;
// a larger size field is taken as damage.
constexpr uint32_t kMaxInfoHeaderSize = 1024;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

[[noreturn]] void InvalidBitmap() {
    throw EInvalidGraphic(std::string_view("Bitmap image is not valid"));
}

uint16_t Le16(const uint8_t *p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void Put16(uint8_t *p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t *p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

// One channel described by a bit mask, widened to 8 bits.
struct TChannelMask {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0; // the largest value of the field
    uint8_t Default = 0;

    TChannelMask() = default;
    TChannelMask(uint32_t mask, uint8_t fallback) : Mask(mask), Default(fallback) {
        if (mask != 0) {
            Shift = std::countr_zero(mask);
            Max = mask >> Shift;
        }
    }
    uint32_t Of(uint32_t pixel) const {
        if (Mask == 0) {
            return Default;
        }
        const uint32_t v = (pixel & Mask) >> Shift;
        return Max == 255 ? v : uint32_t((uint64_t(v) * 255 + Max / 2) / Max);
    }
};

// What the reader knows after the headers.
struct TBmpLayout {
    int32_t Width = 0;
    int32_t Height = 0; // rows, always positive
    bool BottomUp = true;
    int32_t BitsPerPixel = 0;
    bool Masked = false;
    TChannelMask Red, Green, Blue, Alpha;
    int64_t RowBytes = 0;
    uint32_t Offset = 0;
};

// The masks of a BI_BITFIELDS file: in the information header from 40 bytes on (V2 and
// later) or right after a 40-byte header.
void ReadMasks(rtl::TStream &stream, const std::vector<uint8_t> &extra, uint32_t compression,
               TBmpLayout &l) {
    uint8_t m[16] = {};
    const size_t wanted = compression == BI_ALPHABITFIELDS ? 16 : 12;
    if (extra.size() >= 12) {
        std::memcpy(m, extra.data(), std::min<size_t>(extra.size(), 16));
    } else {
        stream.ReadBuffer(m, int32_t(wanted));
    }
    l.Masked = true;
    l.Red = TChannelMask(Le32(m), 0);
    l.Green = TChannelMask(Le32(m + 4), 0);
    l.Blue = TChannelMask(Le32(m + 8), 0);
    const bool alpha = extra.size() >= 16 || compression == BI_ALPHABITFIELDS;
    l.Alpha = TChannelMask(alpha ? Le32(m + 12) : 0, 255);
    const uint32_t all = l.Red.Mask | l.Green.Mask | l.Blue.Mask | l.Alpha.Mask;
    // Overlapping fields, or fields wider than 8 bits, hold no channel we could show.
    if (std::popcount(l.Red.Mask) + std::popcount(l.Green.Mask) + std::popcount(l.Blue.Mask) +
                std::popcount(l.Alpha.Mask) !=
            std::popcount(all) ||
        l.Red.Max > 255 || l.Green.Max > 255 || l.Blue.Max > 255 || l.Alpha.Max > 255) {
        InvalidBitmap();
    }
}

// Reads the headers after the first 54 bytes; false for a kind this reader leaves to the
// picture classes. Every size is checked against the stream before anything is allocated.
bool ReadLayout(rtl::TStream &stream, const uint8_t *head, int64_t start, TBmpLayout &l) {
    const uint32_t infoSize = Le32(head + 14);
    const int32_t width = int32_t(Le32(head + 18));
    const int32_t height = int32_t(Le32(head + 22));
    const uint16_t planes = Le16(head + 26), bpp = Le16(head + 28);
    const uint32_t compression = Le32(head + 30);
    if (infoSize < uint32_t(kInfoHeaderSize) || planes != 1) {
        return false;
    }
    const bool plain = compression == BI_RGB && (bpp == 24 || bpp == 32);
    const bool masked =
        (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) && bpp == 32;
    if (!plain && !masked) {
        return false;
    }
    if (infoSize > kMaxInfoHeaderSize || width < 0 ||
        height == std::numeric_limits<int32_t>::min()) {
        InvalidBitmap();
    }
    std::vector<uint8_t> extra(infoSize - kInfoHeaderSize);
    stream.ReadBuffer(extra.data(), int32_t(extra.size()));
    l.Width = width;
    l.Height = height < 0 ? -height : height;
    l.BottomUp = height > 0;
    l.BitsPerPixel = bpp;
    l.Offset = Le32(head + 10);
    if (masked) {
        ReadMasks(stream, extra, compression, l);
    }
    l.RowBytes = bpp == 32 ? int64_t(width) * 4 : (int64_t(width) * 3 + 3) & ~int64_t(3);
    const int64_t headers = stream.GetPosition() - start;
    if (int64_t(l.Offset) < headers || int64_t(width) * l.Height > 0x1FFFFFFF) {
        InvalidBitmap();
    }
    // Both factors are below 2^33 and 2^31 here, or one of them is 0.
    const int64_t data = l.Height == 0 ? 0 : l.RowBytes * l.Height;
    if (start + int64_t(l.Offset) + data > stream.GetSize()) {
        InvalidBitmap();
    }
    return true;
}

TColor32 FromMasks(const TBmpLayout &l, uint32_t p) {
    return l.Alpha.Of(p) << 24 | l.Red.Of(p) << 16 | l.Green.Of(p) << 8 | l.Blue.Of(p);
}

// The pixel rows in file order into the bitmap's rows.
void ReadRows(rtl::TStream &stream, const TBmpLayout &l, TCustomBitmap32 &bitmap) {
    if (bitmap.Empty()) {
        return; // a zero size may come with any other: nothing to read, nothing to allocate
    }
    std::vector<uint8_t> row(size_t(l.RowBytes));
    for (int32_t i = 0; i < l.Height; ++i) {
        TColor32 *d = bitmap.GetScanLine(l.BottomUp ? l.Height - 1 - i : i);
        stream.ReadBuffer(row.data(), int32_t(l.RowBytes));
        const uint8_t *s = row.data();
        if (l.BitsPerPixel == 24) {
            for (int32_t x = 0; x < l.Width; ++x, s += 3) {
                d[x] = 0xFF000000u | uint32_t(s[2]) << 16 | uint32_t(s[1]) << 8 | s[0];
            }
        } else if (l.Masked) {
            for (int32_t x = 0; x < l.Width; ++x, s += 4) {
                d[x] = FromMasks(l, Le32(s));
            }
        } else {
            for (int32_t x = 0; x < l.Width; ++x, s += 4) {
                d[x] = Le32(s);
            }
        }
    }
}

} // namespace

void TCustomBitmap32::SaveToStream(rtl::TStream &stream, TBitmapFileRows rows) const {
    const uint32_t imageSize = uint32_t(FWidth) * uint32_t(FHeight) * 4;
    uint8_t head[kHeadSize] = {};
    head[0] = 'B';
    head[1] = 'M';
    Put32(head + 2, imageSize + kHeadSize);
    Put32(head + 10, kHeadSize);
    Put32(head + 14, kInfoHeaderSize);
    Put32(head + 18, uint32_t(FWidth));
    Put32(head + 22, uint32_t(rows == brLastRowFirst ? FHeight : -FHeight));
    Put16(head + 26, 1);
    Put16(head + 28, 32);
    Put32(head + 34, imageSize);
    stream.WriteBuffer(head, kHeadSize);
    if (Empty()) {
        return;
    }
    if (rows == brLastRowFirst) {
        for (int32_t y = FHeight - 1; y >= 0; --y) {
            stream.WriteBuffer(GetScanLine(y), FWidth * 4);
        }
    } else {
        stream.WriteBuffer(FBits, int32_t(imageSize));
    }
}

void TCustomBitmap32::LoadFromStream(rtl::TStream &stream) {
    const int64_t start = stream.GetPosition();
    uint8_t head[kHeadSize];
    stream.ReadBuffer(head, kHeadSize);
    TBmpLayout layout;
    if (head[0] != 'B' || head[1] != 'M' || !ReadLayout(stream, head, start, layout)) {
        stream.Seek(start, rtl::soBeginning);
        detail::LoadPictureStream(*this, stream);
        return;
    }
    stream.Seek(start + layout.Offset, rtl::soBeginning);
    SetSize(layout.Width, layout.Height);
    ReadRows(stream, layout, *this);
    Changed();
}

void TCustomBitmap32::SaveToFile(const rtl::UnicodeString &fileName, TBitmapFileRows rows) const {
    rtl::SaveFileSafely(fileName, [&](rtl::TStream &stream) { SaveToStream(stream, rows); });
}

void TCustomBitmap32::LoadFromFile(const rtl::UnicodeString &fileName) {
    bool bitmapFile = false;
    {
        rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        uint8_t magic[2] = {};
        bitmapFile = stream.Read(magic, 2) == 2 && magic[0] == 'B' && magic[1] == 'M';
        if (bitmapFile) {
            stream.Seek(0, rtl::soBeginning);
            LoadFromStream(stream);
        }
    }
    if (!bitmapFile) {
        detail::LoadPictureFile(*this, fileName);
    }
}

void TCustomBitmap32::ReadPixelData(rtl::TStream &stream) {
    struct TChangedAlways {
        TCustomBitmap32 &bitmap;
        ~TChangedAlways() { bitmap.Changed(); }
    } changed{*this};
    uint8_t size[8];
    stream.ReadBuffer(size, 8);
    const int32_t w = int32_t(Le32(size)), h = int32_t(Le32(size + 4));
    if (w < 0 || h < 0 || int64_t(w) * h > 0x1FFFFFFF) {
        InvalidBitmap();
    }
    if (int64_t(w) * h * 4 > stream.GetSize() - stream.GetPosition()) {
        throw rtl::EReadError(std::string_view("Stream read error"));
    }
    SetSize(w, h);
    if (!Empty()) {
        stream.ReadBuffer(FBits, w * h * 4);
    }
}

void TCustomBitmap32::WritePixelData(rtl::TStream &stream) const {
    uint8_t size[8];
    Put32(size, uint32_t(FWidth));
    Put32(size + 4, uint32_t(FHeight));
    stream.WriteBuffer(size, 8);
    if (!Empty()) {
        stream.WriteBuffer(FBits, FWidth * FHeight * 4);
    }
}

bool TCustomBitmap32::StoresPixelData(const TCustomBitmap32 *ancestor) const {
    return ancestor != nullptr ? !ancestor->SameContent(*this) : !Empty();
}

bool TCustomBitmap32::SameContent(const TCustomBitmap32 &other) const {
    if (Empty() || other.Empty()) {
        return Empty() && other.Empty();
    }
    return typeid(*this) == typeid(other) && FWidth == other.FWidth && FHeight == other.FHeight &&
           std::memcmp(FBits, other.FBits, size_t(FWidth) * size_t(FHeight) * 4) == 0;
}

#ifndef WB_RASTER_PLATFORM
// Without the platform's picture classes only the bitmap formats above are read.
namespace detail {
void LoadPictureStream(TCustomBitmap32 &, rtl::TStream &) {
    InvalidBitmap();
}
void LoadPictureFile(TCustomBitmap32 &, const rtl::UnicodeString &) {
    InvalidBitmap();
}
} // namespace detail
#endif

} // namespace raster
