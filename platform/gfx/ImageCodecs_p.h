// Decoding of encoded pictures for the picture classes of gfx (implementation files only).
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QImage;

namespace rtl {
class TStream;
}

namespace gfx::codecs {

// The bytes from the stream's position to its end; EReadError when the stream fails, and an
// rtl::Exception when more bytes are announced than any picture file may have.
std::vector<uint8_t> ReadRest(rtl::TStream &stream);
// A whole picture file, opened through rtl::TFileStream (a FIFO or device is refused at once).
// Failures raise rtl::Exception "Не удалось открыть рисунок "<path>". <reason>".
std::vector<uint8_t> ReadPictureFile(const rtl::UnicodeString &fileName);
// Runs load on the file's bytes; a refusal of the decoder comes out as PictureFileError.
void LoadPictureFile(const rtl::UnicodeString &fileName,
                     const std::function<void(const std::vector<uint8_t> &)> &load);
// Encodes image in format ("PNG", "BMP", ...) and saves it through rtl::SaveBytesSafely.
void SavePictureFile(const QImage &image, const rtl::UnicodeString &fileName, const char *format);
// The format by the file name's extension (".bmp" "BMP", ".jpg" "JPEG", ...), PNG otherwise.
const char *FormatOfFileName(const rtl::UnicodeString &fileName);

// Before the decoder: a PNG file's chunks are walked, each declared length checked against
// the bytes that follow; the text and colour-profile chunks (compressed text may inflate a
// thousandfold) are left out of the copy put in clean. Returns the reason of a refusal, empty
// when the data may go on (clean stays empty for data that is no PNG file).
rtl::UnicodeString CheckPng(const std::vector<uint8_t> &data, std::vector<uint8_t> &clean);
// Whether a picture of width x height pixels may be decoded from dataSize bytes: within the
// pixel limit and, past a million pixels, no more than 16384 pixels a byte (what the best
// compression of a real picture gives, a blank 1-bit PNG being some 8000).
bool PixelsFitData(int64_t width, int64_t height, size_t dataSize);
// The reasons the decoders give, in the user's words.
rtl::UnicodeString TooLargeReason();
rtl::UnicodeString BrokenReason();
// The decoded image in 32-bit ARGB; rtl::Exception with the reason when refused.
QImage DecodeOrThrow(const std::vector<uint8_t> &data, const char *format);

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
