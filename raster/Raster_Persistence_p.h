// What the bitmap file reader hands to the picture classes of the platform (gfx): files and
// streams in formats it does not read itself. Without gfx they are refused as not valid.
#pragma once

#include "platform/rtl/System.h"

namespace rtl {
class TStream;
}

namespace raster {
class TCustomBitmap32;
}

namespace raster::detail {

// From the stream's position: a picture of any format the platform reads, assigned to bitmap.
void LoadPictureStream(TCustomBitmap32 &bitmap, rtl::TStream &stream);
void LoadPictureFile(TCustomBitmap32 &bitmap, const rtl::UnicodeString &fileName);

} // namespace raster::detail
