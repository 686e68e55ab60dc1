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
                                    uint32_t w0, uint32_t w1, uint32_t w0b, uint32_t w1b);

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
    FID_CHANNELMAX = 16,
    FID_CHANNELMIN = 17,
    FID_CHANNELAVERAGE = 18,
    FID_CHANNELADD = 19,
    FID_CHANNELSUB = 20,
    FID_CHANNELDIV = 21,
    FID_CHANNELMODULATE = 22,
    FID_CHANNELDIFFERENCE = 23,
    FID_CHANNELEXCLUSION = 24,
    FID_CHANNELSCALE = 25,
    FID_CHANNELLIGHTEN = 26,
    // Our addition after the channel arithmetic.
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
// each row is combined with c at weight w0 and then at w0b, the right one at w1 and then at w1b
// (weights below 255; 0 leaves the pixel). The antialiased vertical lines plot through it: both
// weights of a row in one walk down the column.
extern TCombineColumnPair CombinePixelColumnPair;

// Channel arithmetic: each of the four channels (alpha included, unless stated) of two colours
// combined on its own. ChannelMax, ChannelMin; ChannelAverage (c1 + c2) div 2; ChannelAdd and
// ChannelSub saturating at 255 and 0; ChannelDiv c2 * 256 div c1 limited to 255, 255 where c1
// is 0 (C2 divided by C1); ChannelModulate c1 * c2 div 256; ChannelDifference |c1 - c2|;
// ChannelExclusion c1 + c2 - c1 * c2 div 128; ChannelScale c * W div 256 (W 0..255; larger
// weights are limited to 255 by the reference only); ChannelLighten adds Amount (-255..255) to
// red, green and blue, saturating, and keeps alpha.
using TChannelScaleProc = TColor32 (*)(TColor32 c, uint32_t w);
using TChannelLightenProc = TColor32 (*)(TColor32 c, int32_t amount);
extern TBlendReg ChannelMax;
extern TBlendReg ChannelMin;
extern TBlendReg ChannelAverage;
extern TBlendReg ChannelAdd;
extern TBlendReg ChannelSub;
extern TBlendReg ChannelDiv;
extern TBlendReg ChannelModulate;
extern TBlendReg ChannelDifference;
extern TBlendReg ChannelExclusion;
extern TChannelScaleProc ChannelScale;
extern TChannelLightenProc ChannelLighten;

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
                            uint32_t w1, uint32_t w0b, uint32_t w1b);
TColor32 ChannelMax(TColor32 c1, TColor32 c2);
TColor32 ChannelMin(TColor32 c1, TColor32 c2);
TColor32 ChannelAverage(TColor32 c1, TColor32 c2);
TColor32 ChannelAdd(TColor32 c1, TColor32 c2);
TColor32 ChannelSub(TColor32 c1, TColor32 c2);
TColor32 ChannelDiv(TColor32 c1, TColor32 c2);
TColor32 ChannelModulate(TColor32 c1, TColor32 c2);
TColor32 ChannelDifference(TColor32 c1, TColor32 c2);
TColor32 ChannelExclusion(TColor32 c1, TColor32 c2);
TColor32 ChannelScale(TColor32 c, uint32_t w);
TColor32 ChannelLighten(TColor32 c, int32_t amount);
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
