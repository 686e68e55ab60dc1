// Basic lists and the memory stream of the rich-document library: the owning object list, the
// integer and colour lists, a memory stream that grows in 256 KB steps, number conversions of
// 8-bit strings, and the similarity scores that rank how close two values or colours are.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Containers.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

namespace vizivodu {

// 8-bit text without a code page of its own.
using TVDAnsiString = rtl::AnsiString;

// An ordered list that owns its objects: deleting an entry, clearing and destroying the list
// free them (from index 0 upwards). An index outside 0 .. Count - 1 raises EListError
// "List index out of bounds (%d)".
template <class T> class TVDList : public rtl::TObjectList<T> {
public:
    // Removes the entry without freeing its object, which the caller takes over.
    std::unique_ptr<T> DeleteAsPointer(rtl::Integer index) { return this->ExtractAt(index); }
    // Orders the entries by their addresses, ascending.
    void SortPointers() {
        this->Sort([](const T *a, const T *b) { return std::less<const T *>()(a, b) ? -1 : 1; });
    }
};

// A list of signed 32-bit integers: style maps (old index to new index), flags of styles in
// use, colours and font indices. Index errors as TIntegerList. Its stream form: Int32 count,
// then each value as Int32, little-endian.
class TVDIntegerList : public rtl::TIntegerList {
public:
    TVDIntegerList() = default;
    // Count copies of value, allocated at once.
    static TVDIntegerList CreateEx(rtl::Integer count, rtl::Integer value);
    static TVDIntegerList CreateCopy(const TVDIntegerList &source);

    // The index of the first entry equal to value; appends it when there is none.
    rtl::Integer AddUnique(rtl::Integer value);
    void Assign(const TVDIntegerList &source);
    // Every entry equals its own index (true for an empty list): such a map renumbers nothing.
    bool IsIdentityMap() const;
    // map[Self[i]] := i for every i; an entry outside map raises map's index error.
    void FillReverseMap(TVDIntegerList &map) const;
    void InitWith(rtl::Integer value, rtl::Integer count);
    // Sets every entry to value; the count stays.
    void Fill(rtl::Integer value);
    bool AreAllEqualTo(rtl::Integer value) const;

    // Reads the stream form; EReadError "Stream read error" when the stream ends early (the
    // list keeps what was read up to there).
    void LoadFromStream(rtl::TStream &stream);
    void SaveToStream(rtl::TStream &stream) const;
};

// A list of colours. AddUnique never stores clNone.
class TVDColorList : public TVDIntegerList {
public:
    void AddUnique(gfx::TColor value);
};

// A seekable stream in one memory block that grows in steps of 262144 bytes, so that a
// document written piece by piece is not copied at every write. Positions and sizes are 32-bit:
// a seek may leave the position below 0 or beyond the end; Read and Write then transfer
// nothing (0). Growth that cannot be allocated raises EStreamError "Out of memory while
// expanding memory stream" and changes nothing.
class TVDMemoryStream : public rtl::TStream {
public:
    static constexpr int32_t MemoryDelta = 0x40000;

    TVDMemoryStream() = default;
    TVDMemoryStream(const TVDMemoryStream &) = delete;
    TVDMemoryStream &operator=(const TVDMemoryStream &) = delete;
    ~TVDMemoryStream() override = default;

    int32_t Read(void *buffer, int32_t count) override;
    // Reads into bytes from offset on; at most the room left in bytes.
    int32_t Read(rtl::TBytes &bytes, int32_t offset, int32_t count);
    int32_t Write(const void *buffer, int32_t count) override;
    // Only the low 32 bits of offset count; no range check.
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override;
    int64_t GetSize() override { return FSize; }
    // A position beyond the new size moves to the end.
    void SetSize(int64_t newSize) override;

    // Releases the block; size and position become 0.
    void Clear();
    // The whole of stream, read from its start; the position is left where SetSize leaves it.
    void LoadFromStream(rtl::TStream &stream);
    void LoadFromFile(const rtl::UnicodeString &fileName);
    // Writes the whole content, whatever the position.
    void SaveToStream(rtl::TStream &stream) const;

    uint8_t *GetMemory() { return FMemory.get(); }
    const uint8_t *GetMemory() const { return FMemory.get(); }
    int32_t GetCapacity() const { return FCapacity; }

protected:
    // Returns the block for the capacity asked for (rounded up to MemoryDelta unless it equals
    // the size; 0 releases) and stores the capacity it took.
    virtual void ReallocBlock(int32_t &newCapacity);

private:
    struct TFreeDeleter {
        void operator()(uint8_t *p) const { std::free(p); }
    };
    void SetCapacity(int32_t newCapacity);

    std::unique_ptr<uint8_t, TFreeDeleter> FMemory;
    int32_t FCapacity = 0;
    int32_t FSize = 0;
    int32_t FPosition = 0;
};

// The decimal text of value ("-12").
TVDAnsiString IntToStrA(rtl::Integer value);
// Upper-case hexadecimal, at least digits digits ("00FF"); a negative value shows its 32 bits.
TVDAnsiString IntToHexA(rtl::Integer value, rtl::Integer digits);
// EConvertError "'%s' is not a valid integer value" for malformed text.
rtl::Integer StrToIntA(const TVDAnsiString &s);
// With the process's decimal separator; EConvertError "'%s' is not a valid floating point
// value" for malformed text.
rtl::Extended StrToFloatA(const TVDAnsiString &s);
// The 1-based position of substr in s, or 0; s counts only up to its first zero byte, and an
// empty substr or s gives 0.
rtl::Integer PosA(const TVDAnsiString &substr, const TVDAnsiString &s);

// How close two values are: weight for equal values, falling linearly with the relative
// difference and negative once the difference exceeds half the sum:
// Round((1 - 2|a - b| / |a + b|) * weight), halves to even; for a + b = 0, weight when a = b,
// else 0.
rtl::Integer GetIntSimilarity(rtl::Integer value1, rtl::Integer value2, rtl::Integer weight);
// How close two colours are: bonus + 3 * weight for two clNone, 0 for one; otherwise minus
// (|difference| * weight) div 255 per channel, plus bonus when both or neither have a channel
// above 64. System colours are resolved first.
rtl::Integer GetColorSimilarity(gfx::TColor color1, gfx::TColor color2, rtl::Integer weight,
                                rtl::Integer bonus);

} // namespace vizivodu
