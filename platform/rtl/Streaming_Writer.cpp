// TWriter: values, properties, collections and components into a component stream.
#include "platform/rtl/Streaming.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <typeinfo>

namespace rtl {

namespace {

bool HasUnpairedSurrogate(const UnicodeString &s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

} // namespace

class TWriter::TDepthGuard {
public:
    explicit TDepthGuard(TWriter &writer) : FWriter(writer) {
        if (FWriter.FDepth >= kMaxStreamDepth) {
            throw EWriteError(std::string_view("Objects nested too deeply to be written"));
        }
        ++FWriter.FDepth;
    }
    TDepthGuard(const TDepthGuard &) = delete;
    TDepthGuard &operator=(const TDepthGuard &) = delete;
    ~TDepthGuard() { --FWriter.FDepth; }

private:
    TWriter &FWriter;
};

// --- values ----------------------------------------------------------------------------------

void TWriter::WriteBytes(const void *data, int64_t count) {
    const auto *p = static_cast<const uint8_t *>(data);
    while (count > 0) {
        const auto n = int32_t(std::min<int64_t>(count, std::numeric_limits<int32_t>::max()));
        FStream.WriteBuffer(p, n);
        p += n;
        count -= n;
    }
}

void TWriter::WriteInt32Raw(int32_t value) {
    const auto u = uint32_t(value);
    const uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    WriteBytes(b, 4);
}

void TWriter::WriteValue(TValueType type) {
    const auto b = uint8_t(type);
    WriteBytes(&b, 1);
}

void TWriter::WriteSignature() {
    WriteBytes("TPF0", 4);
}

void TWriter::WriteInteger(int64_t value) {
    int bytes = 8;
    if (value >= INT8_MIN && value <= INT8_MAX) {
        WriteValue(vaInt8);
        bytes = 1;
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        WriteValue(vaInt16);
        bytes = 2;
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteValue(vaInt32);
        bytes = 4;
    } else {
        WriteValue(vaInt64);
    }
    uint8_t b[8];
    for (int i = 0; i < bytes; ++i) {
        b[i] = uint8_t(uint64_t(value) >> (8 * i));
    }
    WriteBytes(b, bytes);
}

namespace {

void LittleEndian64(uint64_t raw, uint8_t *b) {
    for (int i = 0; i < 8; ++i) {
        b[i] = uint8_t(raw >> (8 * i));
    }
}

} // namespace

void TWriter::WriteFloat(long double value) {
    WriteValue(vaExtended);
    const std::array<uint8_t, 10> bytes = ExtendedToBytes(value);
    WriteBytes(bytes.data(), 10);
}

void TWriter::WriteSingle(float value) {
    WriteValue(vaSingle);
    const auto raw = std::bit_cast<uint32_t>(value);
    const uint8_t b[4] = {uint8_t(raw), uint8_t(raw >> 8), uint8_t(raw >> 16), uint8_t(raw >> 24)};
    WriteBytes(b, 4);
}

void TWriter::WriteDouble(double value) {
    WriteValue(vaDouble);
    uint8_t b[8];
    LittleEndian64(std::bit_cast<uint64_t>(value), b);
    WriteBytes(b, 8);
}

void TWriter::WriteDate(TDateTime value) {
    WriteValue(vaDate);
    uint8_t b[8];
    LittleEndian64(std::bit_cast<uint64_t>(value), b);
    WriteBytes(b, 8);
}

void TWriter::WriteCurrency(int64_t tenThousandths) {
    WriteValue(vaCurrency);
    uint8_t b[8];
    LittleEndian64(uint64_t(tenThousandths), b);
    WriteBytes(b, 8);
}

void TWriter::WriteString(const UnicodeString &value) {
    const std::string utf8 = Utf16ToUtf8(value);
    if (utf8.size() < 2 * value.size() && !HasUnpairedSurrogate(value)) {
        const bool ascii =
            std::all_of(utf8.begin(), utf8.end(), [](char c) { return uint8_t(c) < 0x80; });
        if (!ascii) {
            WriteValue(vaUTF8String);
            WriteInt32Raw(int32_t(utf8.size()));
        } else if (utf8.size() <= 255) {
            WriteValue(vaString);
            const auto length = uint8_t(utf8.size());
            WriteBytes(&length, 1);
        } else {
            WriteValue(vaLString);
            WriteInt32Raw(int32_t(utf8.size()));
        }
        WriteBytes(utf8.data(), int64_t(utf8.size()));
        return;
    }
    if (value.size() > size_t(std::numeric_limits<int32_t>::max())) {
        throw EWriteError(std::string_view("Stream write error"));
    }
    WriteValue(vaWString);
    WriteInt32Raw(int32_t(value.size()));
    std::string bytes(2 * value.size(), '\0');
    for (size_t i = 0; i < value.size(); ++i) {
        bytes[2 * i] = char(value[i] & 0xFF);
        bytes[2 * i + 1] = char(value[i] >> 8);
    }
    WriteBytes(bytes.data(), int64_t(bytes.size()));
}

void TWriter::WriteStr(std::string_view name) {
    if (name.size() > 255) {
        throw EWriteError("Name too long for a component stream: " + std::string(name));
    }
    const auto length = uint8_t(name.size());
    WriteBytes(&length, 1);
    WriteBytes(name.data(), int64_t(name.size()));
}

void TWriter::WriteIdent(std::string_view ident) {
    if (SameName(ident, "False")) {
        WriteValue(vaFalse);
    } else if (SameName(ident, "True")) {
        WriteValue(vaTrue);
    } else if (SameName(ident, "Null")) {
        WriteValue(vaNull);
    } else if (SameName(ident, "nil")) {
        WriteValue(vaNil);
    } else {
        WriteValue(vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteBinary(const void *data, int64_t count) {
    if (count < 0 || count > std::numeric_limits<int32_t>::max()) {
        throw EWriteError(std::string_view("Stream write error"));
    }
    WriteValue(vaBinary);
    WriteInt32Raw(int32_t(count));
    WriteBytes(data, count);
}

void TWriter::WriteSet(uint64_t bits, const std::vector<std::string> &names) {
    WriteValue(vaSet);
    for (size_t i = 0; i < names.size() && i < 64; ++i) {
        if (bits & (uint64_t(1) << i)) {
            WriteStr(names[i]);
        }
    }
    WriteStr("");
}

// --- properties ------------------------------------------------------------------------------

void TWriter::WritePropName(std::string_view name) {
    WriteStr(FPropPath + std::string(name));
}

void TWriter::WriteProperties(TPersistent &instance) {
    for (const TPropInfo *prop : instance.ClassInfo().AllProperties()) {
        if (!prop->Stored || prop->Stored(instance)) {
            WriteProperty(instance, *prop);
        }
    }
    instance.DefineProperties(*this);
}

void TWriter::WriteProperty(TPersistent &instance, const TPropInfo &prop) {
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64:
    case tkEnumeration:
    case tkSet:
        WriteOrdinalProp(instance, prop);
        break;
    case tkFloat:
        WriteFloatProp(instance, prop);
        break;
    case tkString: {
        const UnicodeString value = prop.GetStr(instance);
        if (!value.empty()) {
            WritePropName(prop.Name);
            WriteString(value);
        }
        break;
    }
    case tkClass:
        WriteObjectProp(instance, prop);
        break;
    }
}

void TWriter::WriteOrdinalProp(TPersistent &instance, const TPropInfo &prop) {
    const int64_t value = prop.GetOrd(instance);
    if (prop.Default && value == *prop.Default) {
        return;
    }
    std::string ident;
    if (prop.Kind == tkEnumeration && (value < 0 || value >= int64_t(prop.Names.size()))) {
        throw EWriteError("Invalid property value: " + prop.Name);
    }
    WritePropName(prop.Name);
    if (prop.Kind == tkSet) {
        WriteSet(uint64_t(value), prop.Names);
    } else if (prop.Kind == tkEnumeration) {
        WriteIdent(prop.Names[size_t(value)]);
    } else if (prop.Kind == tkInteger && IntToIdent(int32_t(value), ident, prop.Idents)) {
        WriteIdent(ident);
    } else {
        WriteInteger(value);
    }
}

void TWriter::WriteFloatProp(TPersistent &instance, const TPropInfo &prop) {
    const long double value = prop.GetFloat(instance);
    if (value == 0) {
        return;
    }
    WritePropName(prop.Name);
    switch (prop.FloatType) {
    case ftSingle:
        WriteSingle(static_cast<float>(value));
        break;
    case ftDouble:
        WriteDouble(static_cast<double>(value));
        break;
    case ftExtended:
        WriteFloat(value);
        break;
    case ftCurrency: {
        const std::optional<int64_t> scaled = TryRound(value * 10000);
        if (!scaled) {
            throw EWriteError("Invalid property value: " + prop.Name);
        }
        WriteCurrency(*scaled);
        break;
    }
    case ftDateTime:
        WriteDate(static_cast<double>(value));
        break;
    }
}

void TWriter::WriteObjectProp(TPersistent &instance, const TPropInfo &prop) {
    TPersistent *object = prop.GetObject(instance);
    if (!object) {
        return;
    }
    if (prop.ObjectRole == orReference) {
        const std::string name = ReferenceName(static_cast<const TComponent &>(*object));
        if (!name.empty()) {
            WritePropName(prop.Name);
            WriteIdent(name);
        }
        return;
    }
    if (auto *collection = dynamic_cast<TCollection *>(object)) {
        if (collection->GetCount() > 0) {
            WritePropName(prop.Name);
            WriteCollection(*collection);
        }
        return;
    }
    if (const auto *items = dynamic_cast<const TStreamedItems *>(object)) {
        if (items->GetStreamedCount() > 0) {
            WritePropName(prop.Name);
            WriteCollection(*items);
        }
        return;
    }
    TDepthGuard guard(*this); // an object may hold itself, or one that holds it
    std::string saved = FPropPath;
    const TScopeExit restore([&]() noexcept { FPropPath = std::move(saved); });
    FPropPath += prop.Name + ".";
    WriteProperties(*object);
}

// A component of the root is named as it is, the root itself "Owner", a component of another
// named component "Owner.Name"; an unnamed one cannot be referred to.
std::string TWriter::ReferenceName(const TComponent &component) const {
    if (&component == FLookupRoot) {
        return "Owner";
    }
    const std::string name = Utf16ToUtf8(component.GetName());
    const TComponent *owner = component.GetOwner();
    if (name.empty() || owner == FLookupRoot) {
        return name;
    }
    if (owner && !owner->GetName().empty()) {
        return Utf16ToUtf8(owner->GetName()) + "." + name;
    }
    return {};
}

void TWriter::DefineProperty(std::string_view name, const TReaderProc &readData,
                             const TWriterProc &writeData) {
    (void)readData;
    if (writeData) {
        WritePropName(name);
        writeData(*this);
    }
}

void TWriter::DefineBinaryProperty(std::string_view name, const TStreamProc &readData,
                                   const TStreamProc &writeData) {
    (void)readData;
    if (!writeData) {
        return;
    }
    TMemoryStream bytes;
    writeData(bytes);
    WritePropName(name);
    WriteBinary(bytes.GetMemory(), bytes.GetSize());
}

// --- collections and components --------------------------------------------------------------

void TWriter::WriteCollection(TCollection &collection) {
    WriteCollection(TCollectionStreamedItems(collection));
}

void TWriter::WriteCollection(const TStreamedItems &collection) {
    TDepthGuard guard(*this);
    std::string saved = FPropPath;
    const TScopeExit restore([&]() noexcept { FPropPath = std::move(saved); });
    FPropPath.clear();
    WriteValue(vaCollection);
    for (int32_t i = 0; i < collection.GetStreamedCount(); ++i) {
        WriteListBegin();
        WriteProperties(collection.GetStreamedItem(i));
        WriteListEnd();
    }
    WriteListEnd();
}

void TWriter::WriteRootComponent(TComponent &root) {
    FRoot = &root;
    FLookupRoot = &root;
    WriteSignature();
    WriteComponent(root);
}

void TWriter::WriteComponent(TComponent &component) {
    TDepthGuard guard(*this);
    // A component written from inside a property (a defined one) names its own properties
    // from itself.
    struct TWriting {
        TWriter &Writer;
        TComponent &Component;
        std::string PropPath;
        TWriting(TWriter &w, TComponent &c) : Writer(w), Component(c), PropPath(w.FPropPath) {
            Component.FComponentState.Include(csWriting);
            Writer.FPropPath.clear();
        }
        ~TWriting() {
            Component.FComponentState.Exclude(csWriting);
            Writer.FPropPath = PropPath;
        }
    } writing(*this, component);
    if (!FLookupRoot) {
        FLookupRoot = &component;
    }
    // Stored under an ancestor's name, it would be read back as that ancestor.
    const TClassInfo &info = component.ClassInfo();
    if (info.Type && *info.Type != typeid(component)) {
        throw EWriteError("A component of a class without a class table of its own cannot be "
                          "written (its nearest is " +
                          info.Name + ")");
    }
    WriteStr(component.ClassName());
    WriteStr(Utf16ToUtf8(component.GetName()));
    WriteProperties(component);
    WriteListEnd();
    component.GetChildren([this](TComponent *child) { WriteComponent(*child); },
                          FRoot ? FRoot : &component);
    WriteListEnd();
}

} // namespace rtl
