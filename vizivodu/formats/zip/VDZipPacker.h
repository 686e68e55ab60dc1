// The ZIP packer of the DOCX writer: files appended one after another, each deflated, and the
// central directory and end record written when the archive is closed. No ZIP64, no data
// descriptors, no encryption, no comments, no extra fields, one disk.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {
class TStream;
}

namespace vizivodu {

#pragma pack(push, 1)
// Shared by the local header and the central-directory record (26 bytes, little-endian).
struct TVDZipCommonFileHeader {
    uint16_t VersionNeededToExtract;
    uint16_t GeneralPurposeBitFlag;
    uint16_t CompressionMethod;
    uint32_t LastModFileTimeDate; // MS-DOS time in the low 16 bits, date in the high 16 bits
    uint32_t Crc32;
    uint32_t CompressedSize;
    uint32_t UncompressedSize;
    uint16_t FileNameLength;
    uint16_t ExtraFieldLength;
};

// The central-directory record of one file (46 bytes).
struct TVDZipFileHeader {
    uint32_t CentralFileHeaderSignature;
    uint16_t VersionMadeBy;
    TVDZipCommonFileHeader CommonFileHeader;
    uint16_t FileCommentLength;
    uint16_t DiskNumberStart;
    uint16_t InternalFileAttributes;
    uint32_t ExternalFileAttributes;
    uint32_t RelativeOffsetOfLocalHeader;
};
#pragma pack(pop)
static_assert(sizeof(TVDZipCommonFileHeader) == 26);
static_assert(sizeof(TVDZipFileHeader) == 46);

// The ZIP (ISO-HDLC) CRC-32 of size bytes.
uint32_t VDZipCrc32(const void *data, size_t size);

// Calling order: CreateZipFile or CreateZipInStream, any number of Add, then Close once. After
// a failed Add the packer stays failed: nothing more is written, Close answers false and
// removes a file it created. Offsets and sizes are 32-bit: an Add that would take the archive
// to 4 GiB or more, or past 65535 entries, fails instead of writing a corrupt archive.
class TVDZipPacker {
public:
    TVDZipPacker();
    ~TVDZipPacker();
    TVDZipPacker(const TVDZipPacker &) = delete;
    TVDZipPacker &operator=(const TVDZipPacker &) = delete;

    // Creates or truncates the file; false, with no stream, when it cannot be created.
    bool CreateZipFile(const rtl::UnicodeString &fileName);
    // Writes into the caller's stream from its position; the caller keeps it.
    void CreateZipInStream(rtl::TStream &stream);
    // Appends one file; the name is stored byte for byte ("/" between folders).
    bool Add(std::string_view fileName, const char *content, uint32_t size);
    // Writes the central directory and the end record; false without a stream or after a
    // failed Add. Write errors propagate, after the packer's own file was closed.
    bool Close();

    bool Failed = false;

private:
    void WriteEntry(std::string_view fileName, const char *content, uint32_t size);

    std::unique_ptr<rtl::TStream> FOwnStream;
    rtl::TStream *FZipStream = nullptr;
    std::vector<TVDZipFileHeader> FCentralDirectory;
    std::vector<std::string> FFileNames;
    rtl::UnicodeString FZipFileName;
};

} // namespace vizivodu
