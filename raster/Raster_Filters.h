// Logical row masks: every 32-bit cell of a row combined with one mask by and, or or xor, in
// place or from a source row, bound at start-up to the best processor variant.
#pragma once

#include "raster/Raster_Types.h"

#include <cstdint>

namespace raster {

// Routine ids of "Raster_Filters bindings".
enum TFilterRoutineId {
    FID_ANDREG = 0,
    FID_ORREG = 1,
    FID_XORREG = 2,
    FID_ANDMEM = 3,
    FID_ORMEM = 4,
    FID_XORMEM = 5,
};

// dst[i] := dst[i] op mask for i = 0 .. count - 1; a count of 0 or less writes nothing.
using TLogicalMaskRow = void (*)(uint32_t *dst, uint32_t mask, int32_t count);
// dst[i] := src[i] op mask; the rows may be the same row.
using TLogicalMaskRowTo = void (*)(const uint32_t *src, uint32_t *dst, int32_t count,
                                   uint32_t mask);

extern TLogicalMaskRow AndRow;
extern TLogicalMaskRow OrRow;
extern TLogicalMaskRow XorRow;
extern TLogicalMaskRowTo AndRowTo;
extern TLogicalMaskRowTo OrRowTo;
extern TLogicalMaskRowTo XorRowTo;

namespace reference {
void AndRow(uint32_t *dst, uint32_t mask, int32_t count);
void OrRow(uint32_t *dst, uint32_t mask, int32_t count);
void XorRow(uint32_t *dst, uint32_t mask, int32_t count);
void AndRowTo(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);
void OrRowTo(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);
void XorRowTo(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);
} // namespace reference

// Start-up: registry "Raster_Filters bindings" with its six routines, bound.
void InitializeFilters();

} // namespace raster
