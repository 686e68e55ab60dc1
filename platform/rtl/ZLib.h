// Compression through zlib: a whole buffer as one zlib stream (RFC 1950), as the class
// library's compression stream writes it when it is closed.
#pragma once

#include <cstddef>
#include <string>

namespace rtl {

// The zlib stream of size bytes at data at zlib's default level: the 2-byte header, the raw
// deflate data (RFC 1951) and the 4-byte Adler-32 trailer. Raises rtl::Exception when zlib
// fails.
std::string ZCompressBytes(const void *data, size_t size);

} // namespace rtl
