// The ZIP packer: local headers and deflated data as files come, the central directory and the
// end record at the close.
#include "vizivodu/formats/zip/VDZipPacker.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ZLib.h"

#include <array>
#include <ctime>

namespace vizivodu {

namespace {

constexpr uint32_t LocalHeaderSignature = 0x04034B50;
constexpr uint32_t CentralHeaderSignature = 0x02014B50;
constexpr uint32_t EndSignature = 0x06054B50;
constexpr uint64_t ZipLimit = 0xFFFFFFFFull; // sizes and offsets are 32-bit
constexpr size_t MaxEntries = 0xFFFF;

// Slicing by eight: table k holds the CRC of a byte followed by k zero bytes, so eight input
// bytes are folded with eight lookups (Intel's "slicing-by-8" scheme).
using TCrcTables = std::array<std::array<uint32_t, 256>, 8>;

TCrcTables MakeCrcTables() {
    TCrcTables tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        tables[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n) {
        for (size_t k = 1; k < 8; ++k) {
            tables[k][n] = (tables[k - 1][n] >> 8) ^ tables[0][tables[k - 1][n] & 0xFF];
        }
    }
    return tables;
}

uint32_t DosDateTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const uint32_t time =
        static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    const uint32_t date = static_cast<uint32_t>(((local.tm_year - 80) << 9) |
                                                ((local.tm_mon + 1) << 5) | local.tm_mday);
    return (date << 16) | time;
}

// Little-endian bytes of the packed records on any host.
template <class T> void PutLE(std::string &out, T value) {
    for (size_t i = 0; i < sizeof(T); ++i) {
        out += static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
    }
}

void PutCommon(std::string &out, const TVDZipCommonFileHeader &h) {
    PutLE(out, h.VersionNeededToExtract);
    PutLE(out, h.GeneralPurposeBitFlag);
    PutLE(out, h.CompressionMethod);
    PutLE(out, h.LastModFileTimeDate);
    PutLE(out, h.Crc32);
    PutLE(out, h.CompressedSize);
    PutLE(out, h.UncompressedSize);
    PutLE(out, h.FileNameLength);
    PutLE(out, h.ExtraFieldLength);
}

void WriteBytes(rtl::TStream &stream, const std::string &bytes) {
    if (!bytes.empty()) {
        stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    }
}

} // namespace

uint32_t VDZipCrc32(const void *data, size_t size) {
    static const TCrcTables t = MakeCrcTables();
    uint32_t crc = 0xFFFFFFFFu;
    const auto *p = static_cast<const uint8_t *>(data);
    for (; size >= 8; size -= 8, p += 8) {
        const uint32_t lo = crc ^ (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                   uint32_t(p[3]) << 24);
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
              t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; size > 0; --size, ++p) {
        crc = (crc >> 8) ^ t[0][(crc ^ *p) & 0xFF];
    }
    return ~crc;
}

TVDZipPacker::TVDZipPacker() = default;
TVDZipPacker::~TVDZipPacker() = default;

bool TVDZipPacker::CreateZipFile(const rtl::UnicodeString &fileName) {
    try {
        FOwnStream = std::make_unique<rtl::TFileStream>(fileName, rtl::fmCreate);
    } catch (const rtl::Exception &) {
        FOwnStream.reset();
        FZipStream = nullptr;
        return false;
    }
    FZipStream = FOwnStream.get();
    FZipFileName = fileName;
    return true;
}

void TVDZipPacker::CreateZipInStream(rtl::TStream &stream) {
    FOwnStream.reset();
    FZipFileName.clear();
    FZipStream = &stream;
}

void TVDZipPacker::WriteEntry(std::string_view fileName, const char *content, uint32_t size) {
    if (!FZipStream || FCentralDirectory.size() >= MaxEntries || fileName.size() > 0xFFFF) {
        throw EViziVoduError(u"ZIP limits exceeded");
    }
    const int64_t offset = FZipStream->GetPosition();
    const std::string zlib = rtl::ZCompressBytes(content, size);
    TVDZipCommonFileHeader common{};
    common.VersionNeededToExtract = 20;
    common.CompressionMethod = 8;
    common.LastModFileTimeDate = DosDateTimeNow();
    common.UncompressedSize = size;
    common.FileNameLength = static_cast<uint16_t>(fileName.size());
    common.CompressedSize = static_cast<uint32_t>(zlib.size() - 6);
    common.Crc32 = VDZipCrc32(content, size);
    const uint64_t end = static_cast<uint64_t>(offset) + 30 + fileName.size() + zlib.size() - 6;
    if (offset < 0 || end > ZipLimit) {
        throw EViziVoduError(u"ZIP limits exceeded");
    }
    std::string bytes;
    PutLE(bytes, LocalHeaderSignature);
    PutCommon(bytes, common);
    bytes += fileName;
    bytes.append(zlib, 2, zlib.size() - 6);
    WriteBytes(*FZipStream, bytes);
    TVDZipFileHeader central{};
    central.CentralFileHeaderSignature = CentralHeaderSignature;
    central.VersionMadeBy = 20;
    central.CommonFileHeader = common;
    central.RelativeOffsetOfLocalHeader = static_cast<uint32_t>(offset);
    FCentralDirectory.push_back(central);
    FFileNames.emplace_back(fileName);
}

bool TVDZipPacker::Add(std::string_view fileName, const char *content, uint32_t size) {
    if (Failed) {
        return false;
    }
    try {
        WriteEntry(fileName, content, size);
        return true;
    } catch (const rtl::Exception &) {
        Failed = true;
        return false;
    }
}

bool TVDZipPacker::Close() {
    if (!FZipStream) {
        return false;
    }
    rtl::TStream &stream = *FZipStream;
    FZipStream = nullptr;
    // The packer's own file is closed on every way out, a failed write included.
    const std::unique_ptr<rtl::TStream> own = std::move(FOwnStream);
    const int64_t start = stream.GetPosition();
    std::string bytes;
    for (size_t i = 0; i < FCentralDirectory.size(); ++i) {
        const TVDZipFileHeader &h = FCentralDirectory[i];
        PutLE(bytes, h.CentralFileHeaderSignature);
        PutLE(bytes, h.VersionMadeBy);
        PutCommon(bytes, h.CommonFileHeader);
        PutLE(bytes, h.FileCommentLength);
        PutLE(bytes, h.DiskNumberStart);
        PutLE(bytes, h.InternalFileAttributes);
        PutLE(bytes, h.ExternalFileAttributes);
        PutLE(bytes, h.RelativeOffsetOfLocalHeader);
        bytes += FFileNames[i];
    }
    if (Failed || start < 0 || static_cast<uint64_t>(start) + bytes.size() + 22 > ZipLimit) {
        if (own) {
            rtl::DeleteFile(FZipFileName);
        }
        return false;
    }
    const auto directorySize = static_cast<uint32_t>(bytes.size());
    const auto count = static_cast<uint16_t>(FCentralDirectory.size());
    PutLE(bytes, EndSignature);
    PutLE(bytes, uint16_t(0));
    PutLE(bytes, uint16_t(0));
    PutLE(bytes, count);
    PutLE(bytes, count);
    PutLE(bytes, directorySize);
    PutLE(bytes, static_cast<uint32_t>(start));
    PutLE(bytes, uint16_t(0));
    WriteBytes(stream, bytes);
    return true;
}

} // namespace vizivodu
