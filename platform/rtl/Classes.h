// Streams: the abstract byte stream, the in-memory stream and the file stream.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <vector>

namespace rtl {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File stream modes: one access mode, or fmCreate, combined with one share mode.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmExclusive = 0x0004;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// A sequence of bytes with a position. Read and Write transfer at most count bytes at the
// position, advance it by the number transferred and return that number (0 for a negative
// count or at the end). Seek may place the position beyond the end; it returns the new
// position.
class TStream {
public:
    virtual ~TStream() = default;

    virtual int32_t Read(void *buffer, int32_t count) = 0;
    virtual int32_t Write(const void *buffer, int32_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    // The default finds the end by seeking and restores the position.
    virtual int64_t GetSize();
    // The default does nothing.
    virtual void SetSize(int64_t newSize);

    // Reads exactly count bytes; EReadError "Stream read error" when fewer are there.
    void ReadBuffer(void *buffer, int32_t count);
    // Writes exactly count bytes; EWriteError "Stream write error" when fewer are written.
    void WriteBuffer(const void *buffer, int32_t count);
    // Copies count bytes from source's position; a count of 0 (or less) copies the whole
    // source from its start. Returns the number copied. EReadError when the source runs out,
    // EWriteError when a write falls short.
    int64_t CopyFrom(TStream &source, int64_t count);
};

// A stream held in memory. Writing beyond the end extends it (a gap left by seeking past the
// end reads as zeros). Growth that cannot be allocated raises EStreamError "Out of memory
// while expanding memory stream".
class TMemoryStream : public TStream {
public:
    int32_t Read(void *buffer, int32_t count) override;
    int32_t Write(const void *buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override { return static_cast<int64_t>(FData.size()); }
    // Keeps the bytes up to the new size; a position beyond the new end moves to the end.
    void SetSize(int64_t newSize) override;

    // The stream's bytes (valid until the size changes); nullptr when empty.
    uint8_t *GetMemory() { return FData.empty() ? nullptr : FData.data(); }
    const uint8_t *GetMemory() const { return FData.empty() ? nullptr : FData.data(); }
    // Empties the stream and sets the position to 0.
    void Clear();
    // Replaces the content with the whole source (from its start); the position is kept,
    // limited to the new size.
    void LoadFromStream(TStream &source);
    void LoadFromFile(const UnicodeString &fileName);
    // Writes the whole content, whatever the position.
    void SaveToStream(TStream &target) const;
    void SaveToFile(const UnicodeString &fileName) const;

private:
    void Resize(int64_t newSize);

    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

// A stream on an open file. The name is looked up as ResolveExistingFileName does (a
// case-insensitive match when the exact name is missing; "\" taken as "/"); fmCreate looks it
// up as ResolveFileNameForWriting does, so it replaces the content of a file whose name
// differs only in case, as Windows would. Share modes are accepted
// and not enforced. Only regular files are opened, without waiting: a folder, a device or a
// FIFO is refused at once. Failures: EFOpenError "Cannot open file \"%s\". %s" and
// EFCreateError "Cannot create file \"%s\". %s" with the full path and the system's reason.
class TFileStream : public TStream {
public:
    TFileStream(const UnicodeString &fileName, uint16_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream &) = delete;
    TFileStream &operator=(const TFileStream &) = delete;

    int32_t Read(void *buffer, int32_t count) override;
    int32_t Write(const void *buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // Cuts or extends the file and moves the position to the new end; EStreamError "Error
    // setting stream size" on failure.
    void SetSize(int64_t newSize) override;

    // The path of the file that was opened.
    const UnicodeString &GetFileName() const { return FFileName; }

private:
    int FHandle = -1;
    UnicodeString FFileName;
};

} // namespace rtl
