// Processor variants of the blend routines; each family lives in its own file with its own flags.
#pragma once

#include <cstdint>

namespace raster {
class TFunctionRegistry;
}

namespace raster::detail {

// The channel arithmetic's bindings and variants (Raster_Blend_Channels.cpp).
void RegisterChannelBindings(TFunctionRegistry *r);
void RegisterChannelReferences(TFunctionRegistry *r);
void RegisterChannelSSE2(TFunctionRegistry *r);

void BlendPixelRow_SSE2(const uint32_t *src, uint32_t *dst, int32_t count);
void BlendPixelRowWeighted_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t m);
void CombinePixelRow_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t w);

void CombinePixelColumnPair_SSE2(uint32_t c, uint32_t *p, int32_t stride, int32_t rows, uint32_t w0,
                                 uint32_t w1, uint32_t w0b, uint32_t w1b);

uint32_t ChannelMax_SSE2(uint32_t c1, uint32_t c2);
uint32_t ChannelMin_SSE2(uint32_t c1, uint32_t c2);
uint32_t ChannelAdd_SSE2(uint32_t c1, uint32_t c2);
uint32_t ChannelSub_SSE2(uint32_t c1, uint32_t c2);
uint32_t ChannelModulate_SSE2(uint32_t c1, uint32_t c2);
uint32_t ChannelDifference_SSE2(uint32_t c1, uint32_t c2);
uint32_t ChannelExclusion_SSE2(uint32_t c1, uint32_t c2);
uint32_t ChannelScale_SSE2(uint32_t c, uint32_t w);
uint32_t ChannelLighten_SSE2(uint32_t c, int32_t amount);

void BlendPixelRow_AVX2(const uint32_t *src, uint32_t *dst, int32_t count);
void BlendPixelRowWeighted_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t m);
void CombinePixelRow_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t w);

} // namespace raster::detail
