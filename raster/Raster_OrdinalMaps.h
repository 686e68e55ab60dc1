// A two-dimensional map of 32-bit integers (the kernel resampler's weight table).
#pragma once

#include "raster/Raster.h"

#include <vector>

namespace raster {

// Width x Height values row by row. Value access does not check the position.
class TIntegerMap : public TCustomMap {
public:
    bool Empty() const override { return FBits.empty(); }
    // Every value := fillValue, then Changed.
    void Clear(int32_t fillValue);
    int32_t *GetValPtr(int32_t x, int32_t y) { return FBits.data() + x + y * FWidth; }
    int32_t GetValue(int32_t x, int32_t y) const { return FBits[size_t(x + y * FWidth)]; }
    void SetValue(int32_t x, int32_t y, int32_t value) { FBits[size_t(x + y * FWidth)] = value; }
    // Nil while empty.
    int32_t *Bits() { return FBits.empty() ? nullptr : FBits.data(); }

protected:
    // Existing values are kept by index, new ones are 0.
    void ResizeStorage(int32_t &width, int32_t &height, int32_t newWidth,
                       int32_t newHeight) override;

private:
    TArrayOfInteger FBits;
};

} // namespace raster
