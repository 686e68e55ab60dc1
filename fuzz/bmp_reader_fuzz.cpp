// libFuzzer target for the bitmap file reader: any bytes are read or refused with an exception;
// a bitmap that is read is written again and read back to the same content.
#include "raster/Raster.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<std::int32_t>(size));
    stream.SetPosition(0);
    raster::TCustomBitmap32 bitmap;
    try {
        bitmap.LoadFromStream(stream);
    } catch (const rtl::Exception &) {
        return 0;
    }
    rtl::TMemoryStream copy;
    bitmap.SaveToStream(copy, raster::brLastRowFirst);
    copy.SetPosition(0);
    raster::TCustomBitmap32 again;
    again.LoadFromStream(copy);
    if (!again.SameContent(bitmap)) {
        __builtin_trap();
    }
    return 0;
}
