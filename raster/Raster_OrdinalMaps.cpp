// The integer map.
#include "raster/Raster_OrdinalMaps.h"

namespace raster {

void TIntegerMap::Clear(int32_t fillValue) {
    if (!FBits.empty()) {
        FillDWords(reinterpret_cast<uint32_t *>(FBits.data()), int32_t(FBits.size()),
                   uint32_t(fillValue));
    }
    Changed();
}

void TIntegerMap::ResizeStorage(int32_t &width, int32_t &height, int32_t newWidth,
                                int32_t newHeight) {
    FBits.resize(size_t(newWidth) * size_t(newHeight));
    width = newWidth;
    height = newHeight;
}

} // namespace raster
