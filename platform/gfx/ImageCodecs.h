// Stream forms of the class library's pictures that have no stream methods of their own: BMP
// files of bitmaps, and PNG images made from 32-bit pixels with their alpha bytes.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"

#include <memory>

namespace rtl {
class TStream;
}

namespace gfx {

// Reads a BMP file from the stream's position to its end. A 32-bit BMP gives a pf32bit
// bitmap that keeps its alpha bytes, anything else an opaque pf24bit one. Throws
// rtl::Exception "Invalid bitmap" for data that is no BMP file, or EReadError when the stream
// fails; the bitmap is unchanged then.
void LoadBitmapFromStream(TBitmap &bitmap, rtl::TStream &stream);
// Writes the bitmap as a BMP file: 32 bits a pixel with the alpha bytes for pf32bit, else 24.
void SaveBitmapToStream(const TBitmap &bitmap, rtl::TStream &stream);

// The most pixels a decoded picture may have: 2^26 (8192 x 8192); a fuzz build sets a small
// limit so that tiny inputs do not all decode to the largest picture. 0 restores the default.
void SetMaxPicturePixelsForTesting(int64_t pixels);

// A PNG image of the bitmap's pixels; with keepAlpha the alpha channel is the pixels' fourth
// bytes, otherwise the image is opaque.
std::unique_ptr<TPngImage> PngFromPixels(const TBitmap &bitmap, bool keepAlpha);

} // namespace gfx
