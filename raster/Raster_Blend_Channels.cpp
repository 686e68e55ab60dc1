// Channel arithmetic of the blend registry (ids 16 to 26): the scalar references, the routine
// variables and their variants.
#include "raster/Raster_Blend.h"

#include "raster/Raster_Bindings.h"
#include "raster/Raster_Blend_p.h"

#include <algorithm>
#include <cstdlib>

namespace raster {

namespace {

// Applies op to each of the four channels (a pair of bytes at each shift).
template <class Op> TColor32 PerChannel(TColor32 c1, TColor32 c2, Op op) {
    TColor32 r = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        r |= uint32_t(op((c1 >> shift) & 0xFF, (c2 >> shift) & 0xFF)) << shift;
    }
    return r;
}

} // namespace

namespace reference {

TColor32 ChannelMax(TColor32 c1, TColor32 c2) {
    return PerChannel(c1, c2, [](uint32_t a, uint32_t b) { return std::max(a, b); });
}

TColor32 ChannelMin(TColor32 c1, TColor32 c2) {
    return PerChannel(c1, c2, [](uint32_t a, uint32_t b) { return std::min(a, b); });
}

TColor32 ChannelAverage(TColor32 c1, TColor32 c2) {
    return (((c1 ^ c2) >> 1) & 0x7F7F7F7Fu) + (c1 & c2);
}

TColor32 ChannelAdd(TColor32 c1, TColor32 c2) {
    return PerChannel(c1, c2, [](uint32_t a, uint32_t b) { return std::min(a + b, 255u); });
}

TColor32 ChannelSub(TColor32 c1, TColor32 c2) {
    return PerChannel(c1, c2, [](uint32_t a, uint32_t b) { return a > b ? a - b : 0u; });
}

TColor32 ChannelDiv(TColor32 c1, TColor32 c2) {
    return PerChannel(
        c1, c2, [](uint32_t a, uint32_t b) { return a == 0 ? 255u : std::min(b * 256 / a, 255u); });
}

TColor32 ChannelModulate(TColor32 c1, TColor32 c2) {
    return PerChannel(c1, c2, [](uint32_t a, uint32_t b) { return a * b / 256; });
}

TColor32 ChannelDifference(TColor32 c1, TColor32 c2) {
    return PerChannel(c1, c2, [](uint32_t a, uint32_t b) { return a > b ? a - b : b - a; });
}

TColor32 ChannelExclusion(TColor32 c1, TColor32 c2) {
    return PerChannel(c1, c2, [](uint32_t a, uint32_t b) { return a + b - a * b / 128; });
}

TColor32 ChannelScale(TColor32 c, uint32_t w) {
    return PerChannel(c, 0, [w](uint32_t a, uint32_t) { return std::min(a * w / 256, 255u); });
}

TColor32 ChannelLighten(TColor32 c, int32_t amount) {
    TColor32 r = c & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        r |= uint32_t(std::clamp(int32_t((c >> shift) & 0xFF) + amount, 0, 255)) << shift;
    }
    return r;
}

} // namespace reference

TBlendReg ChannelMax = reference::ChannelMax;
TBlendReg ChannelMin = reference::ChannelMin;
TBlendReg ChannelAverage = reference::ChannelAverage;
TBlendReg ChannelAdd = reference::ChannelAdd;
TBlendReg ChannelSub = reference::ChannelSub;
TBlendReg ChannelDiv = reference::ChannelDiv;
TBlendReg ChannelModulate = reference::ChannelModulate;
TBlendReg ChannelDifference = reference::ChannelDifference;
TBlendReg ChannelExclusion = reference::ChannelExclusion;
TChannelScaleProc ChannelScale = reference::ChannelScale;
TChannelLightenProc ChannelLighten = reference::ChannelLighten;

namespace detail {

void RegisterChannelBindings(TFunctionRegistry *r) {
    r->RegisterBinding(FID_CHANNELMAX, &ChannelMax);
    r->RegisterBinding(FID_CHANNELMIN, &ChannelMin);
    r->RegisterBinding(FID_CHANNELAVERAGE, &ChannelAverage);
    r->RegisterBinding(FID_CHANNELADD, &ChannelAdd);
    r->RegisterBinding(FID_CHANNELSUB, &ChannelSub);
    r->RegisterBinding(FID_CHANNELDIV, &ChannelDiv);
    r->RegisterBinding(FID_CHANNELMODULATE, &ChannelModulate);
    r->RegisterBinding(FID_CHANNELDIFFERENCE, &ChannelDifference);
    r->RegisterBinding(FID_CHANNELEXCLUSION, &ChannelExclusion);
    r->RegisterBinding(FID_CHANNELSCALE, &ChannelScale);
    r->RegisterBinding(FID_CHANNELLIGHTEN, &ChannelLighten);
}

void RegisterChannelReferences(TFunctionRegistry *r) {
    r->Add(FID_CHANNELMAX, reference::ChannelMax, NoCPUFeatures);
    r->Add(FID_CHANNELMIN, reference::ChannelMin, NoCPUFeatures);
    r->Add(FID_CHANNELAVERAGE, reference::ChannelAverage, NoCPUFeatures);
    r->Add(FID_CHANNELADD, reference::ChannelAdd, NoCPUFeatures);
    r->Add(FID_CHANNELSUB, reference::ChannelSub, NoCPUFeatures);
    r->Add(FID_CHANNELDIV, reference::ChannelDiv, NoCPUFeatures);
    r->Add(FID_CHANNELMODULATE, reference::ChannelModulate, NoCPUFeatures);
    r->Add(FID_CHANNELDIFFERENCE, reference::ChannelDifference, NoCPUFeatures);
    r->Add(FID_CHANNELEXCLUSION, reference::ChannelExclusion, NoCPUFeatures);
    r->Add(FID_CHANNELSCALE, reference::ChannelScale, NoCPUFeatures);
    r->Add(FID_CHANNELLIGHTEN, reference::ChannelLighten, NoCPUFeatures);
}

// Average and division have no vector form: their references are bound everywhere.
void RegisterChannelSSE2(TFunctionRegistry *r) {
    const TCPUFeatures sse2 = CPUFeature(ciSSE2);
    r->Add(FID_CHANNELMAX, ChannelMax_SSE2, sse2);
    r->Add(FID_CHANNELMIN, ChannelMin_SSE2, sse2);
    r->Add(FID_CHANNELADD, ChannelAdd_SSE2, sse2);
    r->Add(FID_CHANNELSUB, ChannelSub_SSE2, sse2);
    r->Add(FID_CHANNELMODULATE, ChannelModulate_SSE2, sse2);
    r->Add(FID_CHANNELDIFFERENCE, ChannelDifference_SSE2, sse2);
    r->Add(FID_CHANNELEXCLUSION, ChannelExclusion_SSE2, sse2);
    r->Add(FID_CHANNELSCALE, ChannelScale_SSE2, sse2);
    r->Add(FID_CHANNELLIGHTEN, ChannelLighten_SSE2, sse2);
}

} // namespace detail

} // namespace raster
