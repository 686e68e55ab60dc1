// Compression through zlib.
#include "platform/rtl/ZLib.h"

#include "platform/rtl/Exceptions.h"

#include <zlib.h>

namespace rtl {

std::string ZCompressBytes(const void *data, size_t size) {
    uLongf length = compressBound(static_cast<uLong>(size));
    std::string out(length, '\0');
    // compress2 takes its sizes as uLong: larger buffers would be cut silently.
    if (size > static_cast<size_t>(static_cast<uLong>(-1) / 2) ||
        compress2(reinterpret_cast<Bytef *>(out.data()), &length, static_cast<const Bytef *>(data),
                  static_cast<uLong>(size), Z_DEFAULT_COMPRESSION) != Z_OK) {
        throw Exception(u"Compression error");
    }
    out.resize(length);
    return out;
}

} // namespace rtl
