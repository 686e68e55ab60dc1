// Small picture files that claim huge pictures, shared by the reader tests and benchmarks: each
// must be refused in bounded time and memory.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace wbtest {

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values) {
        bytes.push_back(uint8_t(v));
    }
    return bytes;
}

inline void Put(std::vector<uint8_t> &bytes, uint32_t value, int count, bool bigEndian = false) {
    for (int i = 0; i < count; ++i) {
        const int shift = bigEndian ? 8 * (count - 1 - i) : 8 * i;
        bytes.push_back(uint8_t(value >> shift));
    }
}

// A PNG signature and header chunk, then a text chunk that claims 1.5 GB.
inline std::vector<uint8_t> PngClaimingAHugeTextChunk() {
    std::vector<uint8_t> png = Bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    Put(png, 13, 4, true);
    png.insert(png.end(), {'I', 'H', 'D', 'R'});
    Put(png, 1, 4, true);
    Put(png, 1, 4, true);
    png.insert(png.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    Put(png, 1500000000u, 4, true);
    png.insert(png.end(), {'t', 'E', 'X', 't', 'a', 'b', 'c'});
    return png;
}

// The bitmap-info header and colour table of a 1-bit picture of width x height pixels.
inline void PutOneBitInfo(std::vector<uint8_t> &bytes, uint32_t width, uint32_t height) {
    Put(bytes, 40, 4);
    Put(bytes, width, 4);
    Put(bytes, height, 4);
    Put(bytes, 1, 2);
    Put(bytes, 1, 2);
    for (int i = 0; i < 6; ++i) {
        Put(bytes, 0, 4);
    }
    Put(bytes, 0, 4);
    Put(bytes, 0xFFFFFF, 4);
}

// A 1-bit BMP file of 4 x 16,580,353 pixels whose pixel data is 8 bytes.
inline std::vector<uint8_t> BmpClaimingHugeDimensions() {
    std::vector<uint8_t> bmp = Bytes({'B', 'M'});
    Put(bmp, 70, 4);
    Put(bmp, 0, 4);
    Put(bmp, 62, 4);
    PutOneBitInfo(bmp, 4, 16580353);
    Put(bmp, 0, 4);
    Put(bmp, 0, 4);
    return bmp;
}

// A GIF whose screen and one image are 8000 x 8000 pixels, with a few bytes of data.
inline std::vector<uint8_t> GifClaimingHugeDimensions() {
    std::vector<uint8_t> gif = Bytes({'G', 'I', 'F', '8', '9', 'a'});
    Put(gif, 8000, 2);
    Put(gif, 8000, 2);
    gif.insert(gif.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255, ','});
    Put(gif, 0, 4);
    Put(gif, 8000, 2);
    Put(gif, 8000, 2);
    gif.insert(gif.end(), {0, 2, 2, 0x4C, 0x01, 0, ';'});
    return gif;
}

// An enhanced metafile that draws one 1-bit bitmap of 16,000 x 16,000 pixels whose pixel
// data is 8 bytes: a header, an EMR_STRETCHDIBITS record and the end record.
inline std::vector<uint8_t> EmfClaimingAHugeBitmap() {
    std::vector<uint8_t> emf;
    Put(emf, 1, 4); // EMR_HEADER
    Put(emf, 88, 4);
    for (int i = 0; i < 8; ++i) {
        Put(emf, i % 4 < 2 ? 0 : 100, 4); // bounds and frame
    }
    Put(emf, 0x464D4520, 4); // " EMF"
    Put(emf, 0x10000, 4);
    Put(emf, 88 + 136 + 20, 4); // bytes
    Put(emf, 3, 4);             // records
    Put(emf, 0, 4);
    Put(emf, 0, 4);
    Put(emf, 0, 4);
    Put(emf, 0, 4);
    Put(emf, 1920, 4);
    Put(emf, 1080, 4);
    Put(emf, 508, 4);
    Put(emf, 286, 4);
    Put(emf, 81, 4); // EMR_STRETCHDIBITS
    Put(emf, 136, 4);
    for (int i = 0; i < 10; ++i) {
        Put(emf, 0, 4); // bounds, destination and source
    }
    Put(emf, 80, 4);  // offBmiSrc
    Put(emf, 48, 4);  // cbBmiSrc
    Put(emf, 128, 4); // offBitsSrc
    Put(emf, 8, 4);   // cbBitsSrc
    Put(emf, 0, 4);   // DIB_RGB_COLORS
    Put(emf, 0x00CC0020, 4);
    Put(emf, 100, 4);
    Put(emf, 100, 4);
    PutOneBitInfo(emf, 16000, 16000);
    Put(emf, 0, 4);
    Put(emf, 0, 4);
    Put(emf, 14, 4); // EMR_EOF
    Put(emf, 20, 4);
    Put(emf, 0, 4);
    Put(emf, 0, 4);
    Put(emf, 20, 4);
    return emf;
}

} // namespace wbtest
