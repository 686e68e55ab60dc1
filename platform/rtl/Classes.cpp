// Streams: buffer transfers and copying on the abstract stream, memory and file streams.
#include "platform/rtl/Classes.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace rtl {

namespace {

constexpr int32_t kCopyChunk = 0xF000;

// Sizes beyond this are refused before any allocation is tried.
constexpr int64_t kMaxMemoryStreamSize = std::numeric_limits<int64_t>::max() / 4;

[[noreturn]] void ThrowMemoryStreamError() {
    throw EStreamError(UnicodeString(u"Out of memory while expanding memory stream"));
}

// Positions are 64-bit; a seek that would overflow stops at the limit instead.
int64_t SaturatingAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    }
    return sum;
}

UnicodeString Quoted(const UnicodeString &text) {
    return u"\"" + text + u"\"";
}

} // namespace

// ---- TStream ----

int64_t TStream::GetSize() {
    const int64_t position = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void *buffer, int32_t count) {
    if (count != 0 && Read(buffer, count) != count) {
        throw EReadError(UnicodeString(u"Stream read error"));
    }
}

void TStream::WriteBuffer(const void *buffer, int32_t count) {
    if (count != 0 && Write(buffer, count) != count) {
        throw EWriteError(UnicodeString(u"Stream write error"));
    }
}

int64_t TStream::CopyFrom(TStream &source, int64_t count) {
    if (count <= 0) {
        source.SetPosition(0);
        count = source.GetSize();
    }
    const int64_t total = count;
    std::vector<uint8_t> buffer(
        static_cast<size_t>(std::min<int64_t>(std::max<int64_t>(count, 1), kCopyChunk)));
    while (count > 0) {
        const auto part = static_cast<int32_t>(std::min<int64_t>(count, kCopyChunk));
        source.ReadBuffer(buffer.data(), part);
        WriteBuffer(buffer.data(), part);
        count -= part;
    }
    return total;
}

// ---- TMemoryStream ----

void TMemoryStream::Resize(int64_t newSize) {
    if (newSize < 0 || newSize > kMaxMemoryStreamSize) {
        ThrowMemoryStreamError();
    }
    try {
        FData.resize(static_cast<size_t>(newSize));
    } catch (const std::bad_alloc &) {
        ThrowMemoryStreamError();
    } catch (const std::length_error &) {
        ThrowMemoryStreamError();
    }
}

int32_t TMemoryStream::Read(void *buffer, int32_t count) {
    const int64_t size = GetSize();
    if (count <= 0 || FPosition < 0 || FPosition >= size) {
        return 0;
    }
    const auto n = static_cast<int32_t>(std::min<int64_t>(count, size - FPosition));
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int32_t TMemoryStream::Write(const void *buffer, int32_t count) {
    if (count <= 0 || FPosition < 0) {
        return 0;
    }
    if (FPosition > kMaxMemoryStreamSize) {
        ThrowMemoryStreamError();
    }
    const int64_t end = FPosition + count;
    if (end > GetSize()) {
        Resize(end);
    }
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning:
        FPosition = offset;
        break;
    case soCurrent:
        FPosition = SaturatingAdd(FPosition, offset);
        break;
    case soEnd:
        FPosition = SaturatingAdd(GetSize(), offset);
        break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(int64_t newSize) {
    Resize(newSize);
    if (FPosition > newSize) {
        FPosition = newSize;
    }
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream &source) {
    source.SetPosition(0);
    const int64_t size = source.GetSize();
    SetSize(size);
    int64_t done = 0;
    while (done < size) {
        const auto part = static_cast<int32_t>(std::min<int64_t>(size - done, 1 << 30));
        source.ReadBuffer(FData.data() + done, part);
        done += part;
    }
}

void TMemoryStream::LoadFromFile(const UnicodeString &fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream &target) const {
    const auto size = static_cast<int64_t>(FData.size());
    int64_t done = 0;
    while (done < size) {
        const auto part = static_cast<int32_t>(std::min<int64_t>(size - done, 1 << 30));
        target.WriteBuffer(FData.data() + done, part);
        done += part;
    }
}

void TMemoryStream::SaveToFile(const UnicodeString &fileName) const {
    SaveFileSafely(fileName, [this](TStream &file) { SaveToStream(file); });
}

// ---- TFileStream ----

TFileStream::TFileStream(const UnicodeString &fileName, uint16_t mode) {
    const bool create = (mode & fmCreate) == fmCreate;
    FFileName = create ? ResolveFileNameForWriting(fileName) : ResolveExistingFileName(fileName);
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC | ((mode & fmExclusive) != 0 ? O_EXCL : 0);
    } else {
        const int access = mode & 3;
        flags |= access == fmOpenWrite ? O_WRONLY : access == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    }
    const std::string path = Utf16ToUtf8(FFileName);
    // Without blocking: opening a FIFO would wait for its writer, and a device is no file.
    FHandle = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
    int error = errno;
    struct stat info {};
    if (FHandle >= 0 && (::fstat(FHandle, &info) != 0 || !S_ISREG(info.st_mode))) {
        error = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        ::close(FHandle);
        FHandle = -1;
    }
    if (FHandle >= 0) {
        ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
    }
    if (FHandle < 0) {
        const UnicodeString shown = Quoted(ExpandFileName(fileName));
        const UnicodeString reason = FileErrorMessage(error, FFileName);
        if (create) {
            throw EFCreateError(u"Cannot create file " + shown + u". " + reason);
        }
        throw EFOpenError(u"Cannot open file " + shown + u". " + reason);
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) {
        ::close(FHandle);
    }
}

int32_t TFileStream::Read(void *buffer, int32_t count) {
    int32_t done = 0;
    auto *bytes = static_cast<uint8_t *>(buffer);
    while (done < count) {
        const ssize_t n = ::read(FHandle, bytes + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<int32_t>(n);
    }
    return done;
}

int32_t TFileStream::Write(const void *buffer, int32_t count) {
    int32_t done = 0;
    const auto *bytes = static_cast<const uint8_t *>(buffer);
    while (done < count) {
        const ssize_t n = ::write(FHandle, bytes + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<int32_t>(n);
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(FHandle, offset, whence);
}

void TFileStream::SetSize(int64_t newSize) {
    if (newSize < 0 || ::ftruncate(FHandle, newSize) != 0) {
        throw EStreamError(UnicodeString(u"Error setting stream size"));
    }
    Seek(newSize, soBeginning);
}

} // namespace rtl
