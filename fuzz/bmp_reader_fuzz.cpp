// Bitmap file reader: any bytes are read or refused with an exception; a bitmap that is read is
// written again and read back to the same content.
#include "fuzz/FuzzTarget.h"
#include "platform/gfx/ImageCodecs.h"

#include "raster/Raster.h"

#include "platform/rtl/Classes.h"

void wbfuzz::FuzzOne(TInput input) {
    // Small pictures only: tiny inputs that claim the largest picture would fill memory
    // instead of exploring the decoders.
    static const bool limited = (gfx::SetMaxPicturePixelsForTesting(1 << 16), true);
    (void)limited;
    rtl::TMemoryStream stream;
    stream.WriteBuffer(input.data(), static_cast<std::int32_t>(input.size()));
    stream.SetPosition(0);
    raster::TCustomBitmap32 bitmap;
    bitmap.LoadFromStream(stream);
    rtl::TMemoryStream copy;
    bitmap.SaveToStream(copy, raster::brLastRowFirst);
    copy.SetPosition(0);
    raster::TCustomBitmap32 again;
    again.LoadFromStream(copy);
    if (!again.SameContent(bitmap)) {
        __builtin_trap();
    }
}
