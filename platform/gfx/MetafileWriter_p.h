// Internal: what the EMF and WMF writers share: little-endian bytes, the bitmap header, the
// logical font and raster-operation codes, the mapping as a transform.
#pragma once

#include "platform/gfx/Metafile_p.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace gfx::detail {

class TByteWriter {
public:
    void Put8(uint8_t v) { FBytes.push_back(v); }
    void Put16(uint16_t v) {
        Put8(uint8_t(v));
        Put8(uint8_t(v >> 8));
    }
    void Put32(uint32_t v) {
        Put16(uint16_t(v));
        Put16(uint16_t(v >> 16));
    }
    void PutFloat(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        Put32(bits);
    }
    void PutZeros(size_t n) { FBytes.insert(FBytes.end(), n, 0); }
    void Align4() { PutZeros((4 - FBytes.size() % 4) % 4); }
    void Patch16(size_t at, uint16_t v) {
        FBytes[at] = uint8_t(v);
        FBytes[at + 1] = uint8_t(v >> 8);
    }
    void Patch32(size_t at, uint32_t v) {
        Patch16(at, uint16_t(v));
        Patch16(at + 2, uint16_t(v >> 16));
    }
    size_t Size() const { return FBytes.size(); }
    std::vector<uint8_t> Take() { return std::move(FBytes); }

private:
    std::vector<uint8_t> FBytes;
};

// BITMAPINFOHEADER of a bottom-up 32-bit BI_RGB bitmap.
inline void PutBitmapInfo(TByteWriter &w, int32_t width, int32_t height) {
    w.Put32(40);
    w.Put32(uint32_t(width));
    w.Put32(uint32_t(height));
    w.Put16(1);
    w.Put16(32);
    w.Put32(0);
    w.Put32(uint32_t(width) * uint32_t(height) * 4);
    w.PutZeros(16);
}

// LOGFONTW: 28 bytes of numbers and 32 characters of face name.
inline void PutLogFont(TByteWriter &w, const TLogFont &lf) {
    for (int32_t v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight}) {
        w.Put32(uint32_t(v));
    }
    for (uint8_t v : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                      lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily}) {
        w.Put8(v);
    }
    for (size_t i = 0; i < 32; ++i) {
        w.Put16(i < 31 && i < lf.lfFaceName.size() ? lf.lfFaceName[i] : 0);
    }
}

// The binary raster operation (R2_) of a pen mode.
inline int32_t Rop2Of(TPenMode mode) {
    switch (mode) {
    case pmBlack:
        return 1;
    case pmNotCopy:
        return 4;
    case pmNot:
        return 6;
    case pmXor:
        return 7;
    case pmNop:
        return 11;
    case pmWhite:
        return 16;
    default:
        return 13; // R2_COPYPEN
    }
}

// Logical to recording-device coordinates of a recorded mapping.
inline TAffine MapOf(const TMetaMapping &m) {
    const double sx = m.Text ? 1.0 : double(m.ViewportExt.cx) / m.WindowExt.cx;
    const double sy = m.Text ? 1.0 : double(m.ViewportExt.cy) / m.WindowExt.cy;
    const TAffine page{
        sx, 0, 0, sy, m.ViewportOrg.X - m.WindowOrg.X * sx, m.ViewportOrg.Y - m.WindowOrg.Y * sy};
    const TXForm &x = m.World;
    const TAffine world = m.GraphicsMode == GM_ADVANCED
                              ? TAffine{x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy}
                              : TAffine{};
    return TAffine::Then(world, page);
}

// $AARRGGBB with its colour multiplied by its alpha, as AlphaBlend takes pixels.
inline uint32_t Premultiplied(uint32_t px) {
    const uint32_t a = px >> 24;
    const auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (mul((px >> 16) & 0xFF) << 16) | (mul((px >> 8) & 0xFF) << 8) |
           mul(px & 0xFF);
}

} // namespace gfx::detail
