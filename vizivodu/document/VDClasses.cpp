// Basic lists, the memory stream, 8-bit number conversions and similarity scores.
#include "vizivodu/document/VDClasses.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

#include <cstring>

namespace vizivodu {

using rtl::Integer;

namespace {

// The 8-bit text widened code unit by code unit, for messages and parsing of ASCII numbers.
rtl::UnicodeString Widen(const TVDAnsiString &s) {
    rtl::UnicodeString w;
    w.reserve(s.size());
    for (unsigned char c : s) {
        w.push_back(char16_t(c));
    }
    return w;
}

TVDAnsiString Narrow(const rtl::UnicodeString &s) {
    TVDAnsiString n;
    n.reserve(s.size());
    for (char16_t c : s) {
        n.push_back(char(c));
    }
    return n;
}

void WriteInt32(rtl::TStream &stream, int32_t value) {
    const uint32_t u = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    stream.WriteBuffer(bytes, 4);
}

int32_t ReadInt32(rtl::TStream &stream) {
    uint8_t bytes[4];
    stream.ReadBuffer(bytes, 4);
    return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 |
                                uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

} // namespace

// ---- TVDIntegerList -----------------------------------------------------------------------

TVDIntegerList TVDIntegerList::CreateEx(Integer count, Integer value) {
    TVDIntegerList list;
    list.InitWith(value, count);
    return list;
}

TVDIntegerList TVDIntegerList::CreateCopy(const TVDIntegerList &source) {
    TVDIntegerList list;
    list.Assign(source);
    return list;
}

Integer TVDIntegerList::AddUnique(Integer value) {
    const Integer index = IndexOf(value);
    return index >= 0 ? index : Add(value);
}

void TVDIntegerList::Assign(const TVDIntegerList &source) {
    if (&source == this) {
        return;
    }
    Clear();
    SetCapacity(source.GetCount());
    for (Integer value : source) {
        Add(value);
    }
}

bool TVDIntegerList::IsIdentityMap() const {
    for (Integer i = 0; i < GetCount(); ++i) {
        if (FItems[static_cast<size_t>(i)] != i) {
            return false;
        }
    }
    return true;
}

void TVDIntegerList::FillReverseMap(TVDIntegerList &map) const {
    for (Integer i = 0; i < GetCount(); ++i) {
        map.Put(FItems[static_cast<size_t>(i)], i);
    }
}

void TVDIntegerList::InitWith(Integer value, Integer count) {
    Clear();
    SetCapacity(count > 0 ? count : 0);
    for (Integer i = 0; i < count; ++i) {
        Add(value);
    }
}

void TVDIntegerList::Fill(Integer value) {
    for (Integer &item : FItems) {
        item = value;
    }
}

bool TVDIntegerList::AreAllEqualTo(Integer value) const {
    for (Integer item : FItems) {
        if (item != value) {
            return false;
        }
    }
    return true;
}

void TVDIntegerList::LoadFromStream(rtl::TStream &stream) {
    const int32_t count = ReadInt32(stream);
    Clear();
    // The count comes from the stream: allocate only what the stream can still hold.
    const int64_t left = stream.GetSize() - stream.GetPosition();
    if (count > 0 && int64_t(count) * 4 <= left) {
        SetCapacity(count);
    }
    for (int32_t i = 0; i < count; ++i) {
        Add(ReadInt32(stream));
    }
}

void TVDIntegerList::SaveToStream(rtl::TStream &stream) const {
    WriteInt32(stream, GetCount());
    for (Integer value : FItems) {
        WriteInt32(stream, value);
    }
}

void TVDColorList::AddUnique(gfx::TColor value) {
    if (value != gfx::clNone) {
        TVDIntegerList::AddUnique(value);
    }
}

// ---- TVDMemoryStream ----------------------------------------------------------------------

void TVDMemoryStream::ReallocBlock(int32_t &newCapacity) {
    if (newCapacity > 0 && newCapacity != FSize) {
        const int64_t rounded =
            (int64_t(newCapacity) + (MemoryDelta - 1)) & ~int64_t(MemoryDelta - 1);
        if (rounded > INT32_MAX) {
            throw rtl::EStreamError("Out of memory while expanding memory stream");
        }
        newCapacity = static_cast<int32_t>(rounded);
    }
    if (newCapacity == FCapacity) {
        return;
    }
    if (newCapacity == 0) {
        FMemory.reset();
        return;
    }
    void *block = std::realloc(FMemory.get(), static_cast<size_t>(newCapacity));
    if (!block) {
        throw rtl::EStreamError("Out of memory while expanding memory stream");
    }
    (void)FMemory.release();
    FMemory.reset(static_cast<uint8_t *>(block));
}

void TVDMemoryStream::SetCapacity(int32_t newCapacity) {
    ReallocBlock(newCapacity);
    FCapacity = newCapacity;
}

void TVDMemoryStream::Clear() {
    SetCapacity(0);
    FSize = 0;
    FPosition = 0;
}

void TVDMemoryStream::SetSize(int64_t newSize) {
    const int32_t size = rtl::WrapToInt32(newSize);
    const int32_t oldPosition = FPosition;
    SetCapacity(size);
    FSize = size;
    if (oldPosition > size) {
        FPosition = size;
    }
}

int32_t TVDMemoryStream::Read(void *buffer, int32_t count) {
    if (FPosition < 0 || count < 0) {
        return 0;
    }
    const int64_t available = int64_t(FSize) - FPosition;
    if (available <= 0) {
        return 0;
    }
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(count, available));
    if (n > 0) {
        std::memcpy(buffer, FMemory.get() + FPosition, static_cast<size_t>(n));
        FPosition += n;
    }
    return n;
}

int32_t TVDMemoryStream::Read(rtl::TBytes &bytes, int32_t offset, int32_t count) {
    if (offset < 0 || count < 0 || size_t(offset) > bytes.size()) {
        return 0;
    }
    const int32_t room =
        static_cast<int32_t>(std::min<size_t>(bytes.size() - size_t(offset), size_t(INT32_MAX)));
    return Read(bytes.data() + offset, std::min(count, room));
}

int32_t TVDMemoryStream::Write(const void *buffer, int32_t count) {
    if (FPosition < 0 || count < 0) {
        return 0;
    }
    const int64_t newPos = int64_t(FPosition) + count;
    if (newPos <= 0) {
        return 0;
    }
    if (newPos > INT32_MAX) {
        throw rtl::EStreamError("Out of memory while expanding memory stream");
    }
    if (newPos > FSize) {
        if (newPos > FCapacity) {
            SetCapacity(static_cast<int32_t>(newPos));
        }
        // A gap left by seeking past the end reads as zeros.
        if (FPosition > FSize) {
            std::memset(FMemory.get() + FSize, 0, static_cast<size_t>(FPosition - FSize));
        }
        FSize = static_cast<int32_t>(newPos);
    }
    std::memcpy(FMemory.get() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = static_cast<int32_t>(newPos);
    return count;
}

int64_t TVDMemoryStream::Seek(int64_t offset, rtl::TSeekOrigin origin) {
    const int32_t low = rtl::WrapToInt32(offset);
    switch (origin) {
    case rtl::soBeginning:
        FPosition = low;
        break;
    case rtl::soCurrent:
        FPosition = rtl::WrapToInt32(int64_t(FPosition) + low);
        break;
    case rtl::soEnd:
        FPosition = rtl::WrapToInt32(int64_t(FSize) + low);
        break;
    }
    return FPosition;
}

void TVDMemoryStream::LoadFromStream(rtl::TStream &stream) {
    stream.SetPosition(0);
    const int64_t size = stream.GetSize();
    if (size > INT32_MAX) {
        throw rtl::EStreamError("Out of memory while expanding memory stream");
    }
    SetSize(size);
    if (size > 0) {
        stream.ReadBuffer(FMemory.get(), static_cast<int32_t>(size));
    }
}

void TVDMemoryStream::LoadFromFile(const rtl::UnicodeString &fileName) {
    rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    LoadFromStream(file);
}

void TVDMemoryStream::SaveToStream(rtl::TStream &stream) const {
    if (FSize > 0) {
        stream.WriteBuffer(FMemory.get(), FSize);
    }
}

// ---- 8-bit conversions --------------------------------------------------------------------

TVDAnsiString IntToStrA(Integer value) {
    return std::to_string(value);
}

TVDAnsiString IntToHexA(Integer value, Integer digits) {
    return Narrow(rtl::IntToHex(value, digits));
}

Integer StrToIntA(const TVDAnsiString &s) {
    return rtl::StrToInt(Widen(s));
}

rtl::Extended StrToFloatA(const TVDAnsiString &s) {
    return rtl::StrToFloat(Widen(s));
}

Integer PosA(const TVDAnsiString &substr, const TVDAnsiString &s) {
    const size_t end = s.find('\0');
    const TVDAnsiString text = end == TVDAnsiString::npos ? s : s.substr(0, end);
    if (substr.empty() || text.empty()) {
        return 0;
    }
    const size_t found = substr.size() == 1 ? text.find(substr[0]) : text.find(substr);
    return found == TVDAnsiString::npos ? 0 : static_cast<Integer>(found) + 1;
}

// ---- Similarity scores --------------------------------------------------------------------

Integer GetIntSimilarity(Integer value1, Integer value2, Integer weight) {
    const int64_t sum = int64_t(value1) + value2;
    if (sum == 0) {
        return value1 == value2 ? weight : 0;
    }
    // In extended precision, as the score has always been computed, so that ties fall alike.
    const long double difference = static_cast<long double>(std::llabs(int64_t(value1) - value2));
    const long double ratio = 2.0L * difference / static_cast<long double>(std::llabs(sum));
    return static_cast<Integer>(rtl::Round((1.0L - ratio) * weight));
}

Integer GetColorSimilarity(gfx::TColor color1, gfx::TColor color2, Integer weight, Integer bonus) {
    if (color1 == gfx::clNone || color2 == gfx::clNone) {
        return color1 == color2 ? bonus + 3 * weight : 0;
    }
    const uint32_t rgb1 = gfx::ColorToRGB(color1);
    const uint32_t rgb2 = gfx::ColorToRGB(color2);
    const int channels1[3] = {gfx::GetRValue(rgb1), gfx::GetGValue(rgb1), gfx::GetBValue(rgb1)};
    const int channels2[3] = {gfx::GetRValue(rgb2), gfx::GetGValue(rgb2), gfx::GetBValue(rgb2)};
    Integer score = 0;
    bool bright1 = false;
    bool bright2 = false;
    for (int i = 0; i < 3; ++i) {
        bright1 = bright1 || channels1[i] > 64;
        bright2 = bright2 || channels2[i] > 64;
        score -= std::abs(channels1[i] - channels2[i]) * weight / 255;
    }
    if (bright1 == bright2) {
        score += bonus;
    }
    return score;
}

} // namespace vizivodu
