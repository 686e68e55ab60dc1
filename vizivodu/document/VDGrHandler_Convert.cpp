// Conversions of the graphic handler: icons and bitmaps to PNG with alpha, transparent
// bitmaps, and the one bitmap a metafile may consist of.
#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/ImageCodecs.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <cstring>

namespace vizivodu {

namespace {

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrSetDIBitsToDevice = 80;
constexpr uint32_t kEmrStretchDIBits = 81;
constexpr uint32_t kDibRgbColors = 0;
// Record layout shared by EMR_SETDIBITSTODEVICE and EMR_STRETCHDIBITS.
constexpr size_t kOffBmiSrc = 48;
constexpr size_t kOffBitsSrc = 56;
constexpr size_t kIUsageSrc = 64;
constexpr size_t kMinDIBitsRecord = 76;
constexpr uint32_t kBitmapInfoHeaderSize = 40;

uint32_t DWordAt(std::string_view d, size_t at) {
    const auto *p = reinterpret_cast<const uint8_t *>(d.data() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

// State records that leave nothing visible; a metafile may hold them beside its bitmap.
bool IsIgnoredRecord(uint32_t type) {
    switch (type) {
    case 1:  // EMR_HEADER
    case 9:  // EMR_SETWINDOWEXTEX
    case 10: // EMR_SETWINDOWORGEX
    case 11: // EMR_SETVIEWPORTEXTEX
    case 14: // EMR_EOF
    case 17: // EMR_SETMAPMODE
    case 21: // EMR_SETSTRETCHBLTMODE
    case 24: // EMR_SETTEXTCOLOR
    case 25: // EMR_SETBKCOLOR
    case 33: // EMR_SAVEDC
    case 34: // EMR_RESTOREDC
    case 37: // EMR_SELECTOBJECT
    case 48: // EMR_SELECTPALETTE
    case 70: // EMR_GDICOMMENT
    case 75: // EMR_EXTSELECTCLIPRGN
    case 76: // EMR_BITBLT
    case 98: // EMR_SETICMMODE
        return true;
    default:
        return false;
    }
}

// The bitmap of one DIB record: its info header and bits as a BMP file, decoded. nullptr when
// an offset or size lies outside the record.
std::unique_ptr<gfx::TGraphic> BitmapOfDIBRecord(std::string_view record) {
    if (record.size() < kMinDIBitsRecord || DWordAt(record, kIUsageSrc) != kDibRgbColors) {
        return nullptr;
    }
    const uint64_t offBmi = DWordAt(record, kOffBmiSrc);
    const uint64_t cbBmi = DWordAt(record, kOffBmiSrc + 4);
    const uint64_t offBits = DWordAt(record, kOffBitsSrc);
    const uint64_t cbBits = DWordAt(record, kOffBitsSrc + 4);
    if (cbBmi < kBitmapInfoHeaderSize || offBmi + cbBmi > record.size() ||
        offBits + cbBits > record.size()) {
        return nullptr;
    }
    std::string file = "BM";
    auto put32 = [&file](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            file += static_cast<char>(v >> (8 * i));
        }
    };
    put32(static_cast<uint32_t>(14 + cbBmi + cbBits));
    put32(0);
    put32(static_cast<uint32_t>(14 + cbBmi));
    file.append(record.substr(offBmi, cbBmi));
    file.append(record.substr(offBits, cbBits));
    auto bitmap = std::make_unique<gfx::TBitmap>();
    rtl::TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
    stream.SetPosition(0);
    try {
        gfx::LoadBitmapFromStream(*bitmap, stream);
    } catch (const rtl::Exception &) {
        return nullptr;
    }
    return bitmap;
}

// PNG alpha from the fourth bytes of a 32-bit bitmap. With the test, nothing is made (false)
// when every fourth byte is 0.
std::unique_ptr<gfx::TGraphic> PngWithPixelAlpha(const gfx::TBitmap &bitmap, bool test) {
    if (bitmap.GetWidth() == 0 || bitmap.GetHeight() == 0) {
        return nullptr;
    }
    if (test) {
        bool any = false;
        for (int32_t y = 0; y < bitmap.GetHeight() && !any; ++y) {
            const uint32_t *row = bitmap.ScanLine(y);
            for (int32_t x = 0; x < bitmap.GetWidth() && !any; ++x) {
                any = (row[x] >> 24) != 0;
            }
        }
        if (!any) {
            return nullptr;
        }
    }
    return gfx::PngFromPixels(bitmap, true);
}

// PNG alpha from a 24-bit mask: the complement of the mask pixel's first byte.
std::unique_ptr<gfx::TGraphic> PngWithMaskAlpha(const gfx::TBitmap &color,
                                                const gfx::TBitmap &mask) {
    gfx::TBitmap pixels(color);
    pixels.SetPixelFormat(gfx::pf32bit);
    for (int32_t y = 0; y < pixels.GetHeight(); ++y) {
        uint32_t *row = pixels.ScanLine(y);
        const uint32_t *maskRow = mask.ScanLine(y);
        for (int32_t x = 0; x < pixels.GetWidth(); ++x) {
            const uint32_t alpha = maskRow ? (~maskRow[x] & 0xFFu) : 0xFFu;
            row[x] = (row[x] & 0x00FFFFFFu) | (alpha << 24);
        }
    }
    return gfx::PngFromPixels(pixels, true);
}

} // namespace

std::unique_ptr<gfx::TGraphic> TVDGraphicHandler::IconToPng(const gfx::TGraphic &graphic) {
    const gfx::TIcon *icon = GetIconHandle(graphic);
    if (!icon) {
        return nullptr;
    }
    try {
        gfx::TBitmap color = icon->GetColorBitmap();
        color.SetTransparent(false);
        std::unique_ptr<gfx::TGraphic> png = PngWithPixelAlpha(color, true);
        if (!png) {
            png = PngWithMaskAlpha(color, icon->GetMaskBitmap());
        }
        return png;
    } catch (const std::exception &) {
        return nullptr;
    }
}

std::unique_ptr<gfx::TGraphic> TVDGraphicHandler::BitmapToPng(gfx::TBitmap &bitmap) {
    try {
        bitmap.SetPixelFormat(gfx::pf32bit);
        bitmap.SetTransparent(false);
        std::unique_ptr<gfx::TGraphic> png = PngWithPixelAlpha(bitmap, false);
        return png ? std::move(png) : gfx::PngFromPixels(bitmap, true);
    } catch (const std::exception &) {
        return nullptr;
    }
}

void TVDGraphicHandler::MakeBitmapTransparent(gfx::TBitmap &bitmap) {
    if (bitmap.GetWidth() == 0 || bitmap.GetHeight() == 0) {
        return;
    }
    bitmap.SetPixelFormat(gfx::pf32bit);
    for (int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        uint32_t *row = bitmap.ScanLine(y);
        for (int32_t x = 0; x < bitmap.GetWidth(); ++x) {
            row[x] &= 0x00FFFFFFu;
        }
    }
}

std::unique_ptr<gfx::TGraphic>
TVDGraphicHandler::ExtractBitmapFromMetafile(const gfx::TGraphic &graphic) {
    const TVDGraphicClass *c = GetGraphicClassByType(vdgtMetafile);
    if (!c || !c->IsInstance(graphic) || !c->IsEnhanced(graphic)) {
        return nullptr;
    }
    rtl::TMemoryStream stream;
    try {
        c->SaveToStream(graphic, stream);
    } catch (const std::exception &) {
        return nullptr;
    }
    const auto *bytes = reinterpret_cast<const char *>(stream.GetMemory());
    return ExtractBitmapFromEnhMetafileData(
        std::string_view(bytes ? bytes : "", static_cast<size_t>(stream.GetSize())));
}

std::unique_ptr<gfx::TGraphic>
TVDGraphicHandler::ExtractBitmapFromEnhMetafileData(std::string_view emf) {
    std::unique_ptr<gfx::TGraphic> result;
    size_t at = 0;
    bool first = true;
    while (at < emf.size()) {
        if (emf.size() - at < 8) {
            return nullptr;
        }
        const uint32_t type = DWordAt(emf, at);
        const uint32_t size = DWordAt(emf, at + 4);
        if (size < 8 || size % 4 != 0 || size > emf.size() - at || (first && type != kEmrHeader)) {
            return nullptr;
        }
        first = false;
        const std::string_view record = emf.substr(at, size);
        if (type == kEmrSetDIBitsToDevice || type == kEmrStretchDIBits) {
            if (result) {
                return nullptr; // a second bitmap
            }
            result = BitmapOfDIBRecord(record);
            if (!result) {
                return nullptr;
            }
        } else if (!IsIgnoredRecord(type)) {
            return nullptr;
        }
        at += size;
    }
    return result;
}

} // namespace vizivodu
