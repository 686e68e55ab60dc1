// Decoding of encoded pictures for the picture classes of gfx (implementation files only).
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rtl {
class TStream;
}

namespace gfx::codecs {

// The bytes from the stream's position to its end; EReadError when the stream fails.
std::vector<uint8_t> ReadRest(rtl::TStream &stream);

// Decodes data in the given format ("JPEG", "ICO", nullptr for any) into 32-bit pixels with
// alpha. Returns false for data the decoder refuses, and for pictures of more than 2^26
// pixels (the decoder's allocation limit keeps bombs out).
// imageIndex picks an image of a file that holds several (an icon's sizes).
bool DecodeToBitmap(const std::vector<uint8_t> &data, const char *format, TBitmap &bitmap,
                    std::string *formatName = nullptr, int imageIndex = 0);
// The same into a PNG image, which draws blended.
bool DecodeToPng(const std::vector<uint8_t> &data, const char *format, TPngImage &png,
                 std::string *formatName = nullptr);
// Encodes the bitmap's pixels (opaque) in a format with a quality 0..100.
std::vector<uint8_t> EncodeBitmap(const TBitmap &bitmap, const char *format, int quality);

} // namespace gfx::codecs
