// Fills and moves of 32-bit cells, 16.16 fixed-point helpers, rounding multiply-divide,
// clamping, wrapping and mirroring of coordinates, span clipping and 2 x 2 determinants.
#pragma once

#include "raster/Raster_Types.h"

#include <cstdint>

namespace raster {

enum TWrapMode { wmClamp = 0, wmRepeat = 1, wmMirror = 2 };

// Brings Value into Min..Max.
using TWrapProcEx = int32_t (*)(int32_t value, int32_t min, int32_t max);

// Bound routines (registry "Raster_LowLevel bindings" and "Raster_Transforms bindings").
// A Count of 0 or less writes nothing.
using TFillDWordsProc = void (*)(uint32_t *x, int32_t count, uint32_t value);
extern TFillDWordsProc FillDWords;
using TDet2x2SingleProc = long double (*)(float a, float b, float c, float d);
using TDet2x2DoubleProc = long double (*)(double a, double b, double c, double d);
extern TDet2x2SingleProc Det2x2Single;
extern TDet2x2DoubleProc Det2x2Double;

// Copies Count cells; the ranges may overlap. Nothing for Count <= 0.
void MoveDWords(const uint32_t *source, uint32_t *dest, int32_t count);

// Arithmetic shift right by 16.
inline int32_t FixedToIntFloor(TFixed a) {
    return a >> 16;
}
inline int32_t FixedToIntCeil(TFixed a) {
    return static_cast<int32_t>((static_cast<int64_t>(a) + 0xFFFF) >> 16);
}
// An exact half rounds down: (A + $7FFF) shr 16.
inline int32_t FixedToIntRound(TFixed a) {
    return static_cast<int32_t>((static_cast<int64_t>(a) + 0x7FFF) >> 16);
}
inline TFixed FixedFromInt(int32_t i) {
    return static_cast<TFixed>(static_cast<uint32_t>(i) << 16);
}
// The 64-bit product shifted right by 16; the low 32 bits are kept (wrap-around).
TFixed FixedProduct(TFixed a, TFixed b);
// (A * 65536) div B truncated; B = 0 and quotients beyond 32 bits are the caller's concern.
TFixed FixedQuotient(TFixed a, TFixed b);

long double HypotSingle(float x, float y);
// sqrt(X^2 + Y^2) rounded to nearest, halves to even; 2147483647 when larger.
int32_t HypotRounded(int32_t x, int32_t y);
// A * B / C rounded, halves away from zero; -1 when C = 0 or the result does not fit in 31 bits.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);
// Orders A <= B, clips to Min..Max-1; true when anything remains.
bool ClipSpan(int32_t &a, int32_t &b, int32_t min, int32_t max);

int32_t ConstrainSorted(int32_t value, int32_t lo, int32_t hi);
// Max is tested first: ClampToRange(5, 10, 3) = 3.
int32_t ClampToRange(int32_t value, int32_t min, int32_t max);
// The wrapping forms need Max >= Min.
int32_t WrapToRange(int32_t value, int32_t min, int32_t max);
int32_t MirrorToRange(int32_t value, int32_t min, int32_t max);
int32_t WrapToRangePow2(int32_t value, int32_t min, int32_t max);
int32_t MirrorToRangePow2(int32_t value, int32_t min, int32_t max);
TWrapProcEx WrapProcFor(TWrapMode mode);
TWrapProcEx FastWrapProcFor(TWrapMode mode, int32_t min, int32_t max);

// Truncating quotient; the remainder takes the dividend's sign.
int32_t DivWithRemainder(int32_t dividend, int32_t divisor, int32_t &remainder);
// Value / 256 (or 512) truncated toward zero.
inline int32_t DivBy256(int32_t value) {
    return (value < 0 ? value + 255 : value) >> 8;
}
inline int32_t DivBy512(int32_t value) {
    return (value < 0 ? value + 511 : value) >> 9;
}

// Start-up: builds and binds "Raster_LowLevel bindings" and, later in the start-up order,
// "Raster_Transforms bindings".
void InitializeLowLevel();
void InitializeTransforms();

} // namespace raster
