// Picture reader: any bytes as a PNG or BMP picture; a picture that loads is drawn.
#include "fuzz/FuzzTarget.h"
#include "platform/gfx/ImageCodecs.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"

void wbfuzz::FuzzOne(TInput input) {
    // Small pictures only: tiny inputs that claim the largest picture would fill memory
    // instead of exploring the decoders.
    static const bool limited = (gfx::SetMaxPicturePixelsForTesting(1 << 16), true);
    (void)limited;
    gfx::TPicture picture;
    picture.LoadFromMemory(input.data(), input.size());
    gfx::TBitmap canvas(16, 16);
    if (picture.GetGraphic() != nullptr) {
        picture.GetGraphic()->DrawOn(canvas.GetCanvas(), gfx::Rect(0, 0, 16, 16));
    }
}
