// Compositing of TColor32 values: blending by the foreground's alpha, combining by an explicit
// weight, and merging over a background with its own transparency; single, in-place and row
// forms, all bound at start-up to the best variant the processor runs.
//
// Rounding note (holds for every blend and combine form): a channel c of the result is
// (B.c * (256 - w) + F.c * w + 128) div 256, computed for all four channels, alpha included, with
// w the foreground weight 0..255. So w = 0 returns the background exactly, and w = 255 gives the
// foreground only within one unit; the in-place forms store the foreground itself at w = 255.
#pragma once

#include "raster/Raster_Types.h"

#include "platform/rtl/ScopeExit.h"

#include <cstdint>

namespace raster {

enum TCombineMode { cmBlend = 0, cmMerge = 1 };

using TBlendReg = TColor32 (*)(TColor32 f, TColor32 b);
using TBlendMem = void (*)(TColor32 f, TColor32 &b);
using TBlendRegEx = TColor32 (*)(TColor32 f, TColor32 b, uint32_t m);
using TBlendMemEx = void (*)(TColor32 f, TColor32 &b, uint32_t m);
using TBlendLine = void (*)(const TColor32 *src, TColor32 *dst, int32_t count);
using TBlendLineEx = void (*)(const TColor32 *src, TColor32 *dst, int32_t count, uint32_t m);
using TCombineReg = TColor32 (*)(TColor32 x, TColor32 y, uint32_t w);
using TCombineMem = void (*)(TColor32 x, TColor32 &y, uint32_t w);
using TCombineLine = void (*)(const TColor32 *src, TColor32 *dst, int32_t count, uint32_t w);
using TEndBlendProc = void (*)();
using TCombineColumnPair = void (*)(TColor32 c, TColor32 *p, int32_t stride, int32_t rows,
                                    uint32_t w0, uint32_t w1);

// Routine ids of "Raster_Blend bindings".
enum TBlendRoutineId {
    FID_EMMS = 0,
    FID_MERGEREG = 1,
    FID_MERGEMEM = 2,
    FID_MERGELINE = 3,
    FID_MERGEREGEX = 4,
    FID_MERGEMEMEX = 5,
    FID_MERGELINEEX = 6,
    FID_COMBINEREG = 7,
    FID_COMBINEMEM = 8,
    FID_COMBINELINE = 9,
    FID_BLENDREG = 10,
    FID_BLENDMEM = 11,
    FID_BLENDLINE = 12,
    FID_BLENDREGEX = 13,
    FID_BLENDMEMEX = 14,
    FID_BLENDLINEEX = 15,
    // Our addition after the channel arithmetic ids 16 to 26 (not provided here).
    FID_COMBINECOLUMNPAIR = 27,
};

// Bound routines. M (master alpha) and W (weight) must lie in 0..255. A row form treats src[i]
// as the foreground and dst[i] as the background; a count of 0 or less writes nothing.
extern TEndBlendProc EndBlend;
extern TBlendReg MergePixel;
extern TBlendMem MergePixelInPlace;
extern TBlendLine MergePixelRow;
extern TBlendRegEx MergePixelWeighted;
extern TBlendMemEx MergePixelInPlaceWeighted;
extern TBlendLineEx MergePixelRowWeighted;
extern TCombineReg CombinePixel;
extern TCombineMem CombinePixelInPlace;
extern TCombineLine CombinePixelRow;
extern TBlendReg BlendPixel;
extern TBlendMem BlendPixelInPlace;
extern TBlendLine BlendPixelRow;
extern TBlendRegEx BlendPixelWeighted;
extern TBlendMemEx BlendPixelInPlaceWeighted;
extern TBlendLineEx BlendPixelRowWeighted;
// Two adjacent columns of `rows` pixels from p (rows `stride` pixels apart): the left pixel of
// each row is combined with c at weight w0, the right one at w1 (weights below 255; 0 leaves the
// pixel). The antialiased vertical lines plot through it.
extern TCombineColumnPair CombinePixelColumnPair;

// Calls EndBlend when the caller's scope ends, also when an exception leaves it:
//     const auto blendEnds = EndBlendOnExit();
inline auto EndBlendOnExit() {
    return rtl::TScopeExit([]() noexcept { EndBlend(); });
}

// Tables indexed by TCombineMode; they read the routine variables at call time.
TBlendMem BlendInPlaceByMode(TCombineMode mode);
TBlendMemEx BlendInPlaceWeightedByMode(TCombineMode mode);
TBlendLine BlendRowByMode(TCombineMode mode);
TBlendLineEx BlendRowWeightedByMode(TCombineMode mode);

// ProductTable[x][y] = x * y / 255 and QuotientTable[x][y] = y * 255 / x (low 8 bits; row 0 is
// 0), both rounded to nearest with halves to even.
extern uint8_t ProductTable[256][256];
extern uint8_t QuotientTable[256][256];

// The scalar reference of every bound routine, reachable whatever is bound (tests compare the
// processor variants against these).
namespace reference {
TColor32 BlendPixel(TColor32 f, TColor32 b);
void BlendPixelInPlace(TColor32 f, TColor32 &b);
void BlendPixelRow(const TColor32 *src, TColor32 *dst, int32_t count);
TColor32 BlendPixelWeighted(TColor32 f, TColor32 b, uint32_t m);
void BlendPixelInPlaceWeighted(TColor32 f, TColor32 &b, uint32_t m);
void BlendPixelRowWeighted(const TColor32 *src, TColor32 *dst, int32_t count, uint32_t m);
TColor32 CombinePixel(TColor32 x, TColor32 y, uint32_t w);
void CombinePixelInPlace(TColor32 x, TColor32 &y, uint32_t w);
void CombinePixelRow(const TColor32 *src, TColor32 *dst, int32_t count, uint32_t w);
TColor32 MergePixel(TColor32 f, TColor32 b);
void CombinePixelColumnPair(TColor32 c, TColor32 *p, int32_t stride, int32_t rows, uint32_t w0,
                            uint32_t w1);
} // namespace reference

// The combine formula of the rounding note, two channels per 32-bit multiply.
inline TColor32 CombineChannels(TColor32 x, TColor32 y, uint32_t w) {
    const uint32_t iw = 256 - w;
    const uint32_t rb =
        (((y & 0x00FF00FFu) * iw + (x & 0x00FF00FFu) * w + 0x00800080u) >> 8) & 0x00FF00FFu;
    const uint32_t ag =
        (((y >> 8) & 0x00FF00FFu) * iw + ((x >> 8) & 0x00FF00FFu) * w + 0x00800080u) & 0xFF00FF00u;
    return rb | ag;
}

// Start-up: tables, registry "Raster_Blend bindings" and binding.
void InitializeBlend();

} // namespace raster
