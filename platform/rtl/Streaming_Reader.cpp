// TReader: values, properties, collections and components from a component stream.
#include "platform/rtl/Streaming.h"

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace rtl {

namespace {

[[noreturn]] void InvalidFormat() {
    throw EReadError(std::string_view("Invalid stream format"));
}

// A property error that has been offered to OnError and left unhandled: the readers of the
// properties around it pass it on unchanged.
class EPropertyReadError : public EReadError {
public:
    using EReadError::EReadError;
};

bool IsIntegerType(TValueType t) {
    return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64;
}

void FreeComponent(TComponent *c) {
    if (c->GetOwner()) {
        c->Free();
    } else {
        std::unique_ptr<TComponent> doomed(c);
    }
}

bool IsOwnedBy(const TComponent *c, const TComponent *owner) {
    for (; c; c = c->GetOwner()) {
        if (c == owner) {
            return true;
        }
    }
    return false;
}

} // namespace

class TReader::TDepthGuard {
public:
    explicit TDepthGuard(TReader &reader) : FReader(reader) {
        if (FReader.FDepth >= kMaxStreamDepth) {
            InvalidFormat();
        }
        ++FReader.FDepth;
    }
    TDepthGuard(const TDepthGuard &) = delete;
    TDepthGuard &operator=(const TDepthGuard &) = delete;
    ~TDepthGuard() { --FReader.FDepth; }

private:
    TReader &FReader;
};

TReader::TReader(TStream &stream) : TFiler(stream) {}

TReader::~TReader() = default;

// --- bytes -----------------------------------------------------------------------------------

uint8_t TReader::ReadByte() {
    uint8_t b = 0;
    FStream.ReadBuffer(&b, 1);
    return b;
}

void TReader::ReadBytes(void *buffer, int64_t count) {
    auto *p = static_cast<uint8_t *>(buffer);
    while (count > 0) {
        const auto n = int32_t(std::min<int64_t>(count, std::numeric_limits<int32_t>::max()));
        FStream.ReadBuffer(p, n);
        p += n;
        count -= n;
    }
}

// The size in bytes of count units, checked against what the stream still holds before
// anything is allocated for them.
int64_t TReader::CheckedCount(int64_t count, int64_t unitSize) {
    if (count < 0) {
        InvalidFormat();
    }
    const int64_t remaining = FStream.GetSize() - FStream.GetPosition();
    if (count > remaining / unitSize) {
        throw EReadError(std::string_view("Stream read error"));
    }
    return count * unitSize;
}

int32_t TReader::ReadInt32Raw() {
    uint8_t b[4];
    ReadBytes(b, 4);
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                   uint32_t(b[3]) << 24);
}

std::string TReader::ReadName() {
    std::string name(ReadByte(), '\0');
    ReadBytes(name.data(), int64_t(name.size()));
    return name;
}

std::string TReader::ReadUtf8(int64_t count) {
    std::string s(size_t(CheckedCount(count, 1)), '\0');
    ReadBytes(s.data(), int64_t(s.size()));
    return s;
}

void TReader::SkipName() {
    const int64_t n = ReadByte();
    FStream.Seek(CheckedCount(n, 1), soCurrent);
}

void TReader::InvalidValue() {
    throw EReadError(std::string_view("Invalid property value"));
}

// --- values ----------------------------------------------------------------------------------

TValueType TReader::CheckType(uint8_t tag) {
    if (tag > vaDouble) {
        InvalidFormat();
    }
    return TValueType(tag);
}

TValueType TReader::NextValue() {
    const uint8_t tag = ReadByte();
    FStream.Seek(-1, soCurrent);
    return CheckType(tag);
}

TValueType TReader::ReadValue() {
    return CheckType(ReadByte());
}

bool TReader::EndOfList() {
    // Also asked where a name follows, whose length byte may be any value.
    const uint8_t next = ReadByte();
    FStream.Seek(-1, soCurrent);
    return next == vaNull;
}

void TReader::ReadListBegin() {
    if (ReadValue() != vaList) {
        InvalidValue();
    }
}

void TReader::ReadListEnd() {
    if (ReadValue() != vaNull) {
        InvalidValue();
    }
}

namespace {

int64_t SignExtend(uint64_t raw, int bytes) {
    const int shift = 64 - 8 * bytes;
    return int64_t(raw << shift) >> shift;
}

} // namespace

int64_t TReader::ReadInt64() {
    int bytes = 0;
    switch (ReadValue()) {
    case vaInt8:
        bytes = 1;
        break;
    case vaInt16:
        bytes = 2;
        break;
    case vaInt32:
        bytes = 4;
        break;
    case vaInt64:
        bytes = 8;
        break;
    default:
        InvalidValue();
    }
    uint8_t b[8];
    ReadBytes(b, bytes);
    uint64_t raw = 0;
    for (int i = 0; i < bytes; ++i) {
        raw |= uint64_t(b[i]) << (8 * i);
    }
    return SignExtend(raw, bytes);
}

int32_t TReader::ReadInteger() {
    if (NextValue() == vaInt64) {
        InvalidValue();
    }
    return int32_t(ReadInt64());
}

bool TReader::ReadBoolean() {
    switch (ReadValue()) {
    case vaTrue:
        return true;
    case vaFalse:
        return false;
    default:
        InvalidValue();
    }
}

long double TReader::ReadFloatValue(TValueType type) {
    uint8_t b[10];
    switch (type) {
    case vaExtended: {
        std::array<uint8_t, 10> bytes;
        ReadBytes(bytes.data(), 10);
        return BytesToExtended(bytes);
    }
    case vaDouble:
    case vaDate: {
        ReadBytes(b, 8);
        uint64_t raw = 0;
        for (int i = 0; i < 8; ++i) {
            raw |= uint64_t(b[i]) << (8 * i);
        }
        return std::bit_cast<double>(raw);
    }
    case vaSingle: {
        ReadBytes(b, 4);
        const uint32_t raw =
            uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return std::bit_cast<float>(raw);
    }
    case vaCurrency:
        FStream.Seek(-1, soCurrent);
        return static_cast<long double>(ReadCurrency()) / 10000;
    default:
        if (!IsIntegerType(type)) {
            InvalidValue();
        }
        FStream.Seek(-1, soCurrent);
        return static_cast<long double>(ReadInt64());
    }
}

long double TReader::ReadFloat() {
    return ReadFloatValue(ReadValue());
}

float TReader::ReadSingle() {
    return static_cast<float>(ReadFloat());
}

double TReader::ReadDouble() {
    return static_cast<double>(ReadFloat());
}

TDateTime TReader::ReadDate() {
    return static_cast<double>(ReadFloat());
}

int64_t TReader::ReadCurrency() {
    const TValueType type = ReadValue();
    if (type == vaCurrency) {
        uint8_t b[8];
        ReadBytes(b, 8);
        uint64_t raw = 0;
        for (int i = 0; i < 8; ++i) {
            raw |= uint64_t(b[i]) << (8 * i);
        }
        return int64_t(raw);
    }
    FStream.Seek(-1, soCurrent);
    if (IsIntegerType(type)) {
        int64_t scaled = 0;
        if (__builtin_mul_overflow(ReadInt64(), int64_t(10000), &scaled)) {
            InvalidValue();
        }
        return scaled;
    }
    const std::optional<int64_t> scaled = TryRound(ReadFloat() * 10000);
    if (!scaled) {
        InvalidValue();
    }
    return *scaled;
}

UnicodeString TReader::ReadString() {
    switch (ReadValue()) {
    case vaString:
        return AnsiToUnicode(ReadName());
    case vaLString:
        return AnsiToUnicode(ReadUtf8(ReadInt32Raw()));
    case vaUTF8String:
        return Utf8ToUtf16(ReadUtf8(ReadInt32Raw()));
    case vaWString: {
        const int64_t bytes = CheckedCount(ReadInt32Raw(), 2);
        std::string raw(size_t(bytes), '\0');
        ReadBytes(raw.data(), bytes);
        UnicodeString s(size_t(bytes / 2), u'\0');
        for (size_t i = 0; i < s.size(); ++i) {
            s[i] = char16_t(uint8_t(raw[2 * i]) | uint8_t(raw[2 * i + 1]) << 8);
        }
        return s;
    }
    default:
        InvalidValue();
    }
}

namespace {

std::string IdentOf(TValueType type) {
    switch (type) {
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        return {};
    }
}

} // namespace

UnicodeString TReader::ReadIdent() {
    const TValueType type = ReadValue();
    if (type == vaIdent) {
        return Utf8ToUtf16(ReadName());
    }
    const std::string ident = IdentOf(type);
    if (ident.empty()) {
        InvalidValue();
    }
    return Utf8ToUtf16(ident);
}

UnicodeString TReader::ReadStr() {
    return Utf8ToUtf16(ReadName());
}

TBytes TReader::ReadBinary() {
    if (ReadValue() != vaBinary) {
        InvalidValue();
    }
    TBytes bytes(size_t(CheckedCount(ReadInt32Raw(), 1)));
    ReadBytes(bytes.data(), int64_t(bytes.size()));
    return bytes;
}

uint64_t TReader::ReadSet(const std::vector<std::string> &names) {
    if (ReadValue() != vaSet) {
        InvalidValue();
    }
    uint64_t bits = 0;
    for (std::string name = ReadName(); !name.empty(); name = ReadName()) {
        const auto it = std::find_if(names.begin(), names.end(),
                                     [&](const std::string &n) { return SameName(n, name); });
        const auto ordinal = it - names.begin();
        if (it == names.end() || ordinal >= 64) {
            InvalidValue();
        }
        bits |= uint64_t(1) << ordinal;
    }
    return bits;
}

void TReader::SkipValue() {
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList: {
        TDepthGuard guard(*this);
        while (!EndOfList()) {
            SkipValue();
        }
        ReadValue();
        break;
    }
    case vaInt8:
        FStream.Seek(CheckedCount(1, 1), soCurrent);
        break;
    case vaInt16:
        FStream.Seek(CheckedCount(2, 1), soCurrent);
        break;
    case vaInt32:
    case vaSingle:
        FStream.Seek(CheckedCount(4, 1), soCurrent);
        break;
    case vaExtended:
        FStream.Seek(CheckedCount(10, 1), soCurrent);
        break;
    case vaInt64:
    case vaDouble:
    case vaDate:
    case vaCurrency:
        FStream.Seek(CheckedCount(8, 1), soCurrent);
        break;
    case vaString:
    case vaIdent:
        SkipName();
        break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
        FStream.Seek(CheckedCount(ReadInt32Raw(), 1), soCurrent);
        break;
    case vaWString:
        FStream.Seek(CheckedCount(ReadInt32Raw(), 2), soCurrent);
        break;
    case vaSet:
        while (ReadByte() != 0) {
            FStream.Seek(-1, soCurrent);
            SkipName();
        }
        break;
    case vaCollection:
        SkipCollection();
        break;
    }
}

void TReader::SkipProperty() {
    SkipName();
    SkipValue();
}

void TReader::SkipCollection() {
    TDepthGuard guard(*this);
    while (!EndOfList()) {
        const TValueType next = NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
            SkipValue();
        }
        ReadListBegin();
        while (!EndOfList()) {
            SkipProperty();
        }
        ReadListEnd();
    }
    ReadListEnd();
}

// --- properties ------------------------------------------------------------------------------

void TReader::ReadSignature() {
    static constexpr uint8_t kSignature[4] = {'T', 'P', 'F', '0'};
    uint8_t b[4] = {};
    if (FStream.Read(b, 4) != 4 || !std::equal(b, b + 4, kSignature)) {
        InvalidFormat();
    }
}

void TReader::ReadPrefix(TFilerFlags &flags, int32_t &childPos) {
    flags = {};
    childPos = 0;
    const uint8_t next = ReadByte();
    if ((next & 0xF0) != 0xF0) {
        FStream.Seek(-1, soCurrent);
        return;
    }
    flags = TFilerFlags::FromBits(next & 0x0F);
    if (flags.Contains(ffChildPos)) {
        childPos = ReadInteger();
    }
}

void TReader::ReadProperty(TPersistent &instance) {
    const std::string path = ReadName();
    const int64_t valueStart = FStream.GetPosition();
    try {
        ReadPropertyValue(instance, path);
    } catch (const EPropertyReadError &) {
        throw;
    } catch (const Exception &e) {
        HandlePropertyError(path, valueStart, e.Message());
    }
}

void TReader::HandlePropertyError(const std::string &path, int64_t valueStart,
                                  const UnicodeString &message) {
    FPropName.clear();
    bool handled = false;
    if (OnError) {
        OnError(*this, message, handled);
    }
    if (!handled) {
        const UnicodeString component = FCurrent ? FCurrent->GetName() : UnicodeString();
        throw EPropertyReadError(u"Error reading " + component + (component.empty() ? u"" : u".") +
                                 Utf8ToUtf16(path) + u": " + message);
    }
    // The value is skipped from its start, whatever part of it was read.
    FStream.SetPosition(valueStart);
    SkipValue();
}

// A path "A.B.C" walks the objects held by A and B; C is a published property of the last one,
// or one it defines.
void TReader::ReadPropertyValue(TPersistent &instance, const std::string &path) {
    TPersistent *target = &instance;
    size_t start = 0;
    for (;;) {
        const size_t dot = path.find('.', start);
        const std::string name = path.substr(start, dot == std::string::npos ? dot : dot - start);
        const TPropInfo *prop = target->ClassInfo().FindProperty(name);
        if (dot == std::string::npos) {
            if (prop) {
                ReadPropValue(*target, *prop);
                return;
            }
            FPropName = name;
            target->DefineProperties(*this);
            if (!FPropName.empty()) {
                FPropName.clear();
                throw EReadError("Property " + name + " does not exist");
            }
            return;
        }
        if (!prop) {
            throw EReadError("Property " + name + " does not exist");
        }
        target = prop->Kind == tkClass && prop->ObjectRole == orOwned ? prop->GetObject(*target)
                                                                      : nullptr;
        if (!target) {
            throw EReadError(std::string_view("Invalid property path"));
        }
        start = dot + 1;
    }
}

void TReader::ReadPropValue(TPersistent &instance, const TPropInfo &prop) {
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64:
    case tkEnumeration:
    case tkSet:
        ReadOrdinalProp(instance, prop);
        break;
    case tkFloat:
        ReadFloatProp(instance, prop);
        break;
    case tkString:
        prop.SetStr(instance, ReadString());
        break;
    case tkClass:
        ReadObjectProp(instance, prop);
        break;
    }
}

void TReader::ReadOrdinalProp(TPersistent &instance, const TPropInfo &prop) {
    int64_t value = 0;
    if (prop.Kind == tkSet) {
        value = int64_t(ReadSet(prop.Names));
    } else if (prop.Kind == tkEnumeration) {
        const std::string ident = Utf16ToUtf8(ReadIdent());
        const auto it = std::find_if(prop.Names.begin(), prop.Names.end(),
                                     [&](const std::string &n) { return SameName(n, ident); });
        if (it == prop.Names.end()) {
            InvalidValue();
        }
        value = it - prop.Names.begin();
    } else if (!prop.Idents.empty() && NextValue() == vaIdent) {
        ReadValue();
        int32_t named = 0;
        if (!IdentToInt(ReadName(), named, prop.Idents)) {
            InvalidValue();
        }
        value = named;
    } else {
        value = prop.Kind == tkInteger ? ReadInteger() : ReadInt64();
    }
    if (prop.Kind != tkSet && (value < prop.MinValue || value > prop.MaxValue)) {
        InvalidValue();
    }
    prop.SetOrd(instance, value);
}

void TReader::ReadFloatProp(TPersistent &instance, const TPropInfo &prop) {
    switch (prop.FloatType) {
    case ftSingle:
        prop.SetFloat(instance, ReadSingle());
        break;
    case ftDouble:
        prop.SetFloat(instance, ReadDouble());
        break;
    case ftExtended:
        prop.SetFloat(instance, ReadFloat());
        break;
    case ftCurrency:
        prop.SetFloat(instance, static_cast<long double>(ReadCurrency()) / 10000);
        break;
    case ftDateTime:
        prop.SetFloat(instance, ReadDate());
        break;
    }
}

void TReader::ReadObjectProp(TPersistent &instance, const TPropInfo &prop) {
    const TValueType next = NextValue();
    if (next == vaNil) {
        ReadValue();
        if (prop.ObjectRole == orReference) {
            prop.SetReference(instance, nullptr);
        }
        return;
    }
    if (prop.ObjectRole == orReference) {
        if (next != vaIdent) {
            InvalidValue();
        }
        ReadValue();
        FFixups.push_back({&instance, &prop, ReadName(), FCollections});
        return;
    }
    TPersistent *object = next == vaCollection ? prop.GetObject(instance) : nullptr;
    auto *collection = dynamic_cast<TCollection *>(object);
    auto *items = collection ? nullptr : dynamic_cast<TStreamedItems *>(object);
    // A collection being read cannot be read again from inside one of its items.
    if ((!collection && !items) ||
        std::find(FCollections.begin(), FCollections.end(), dynamic_cast<const void *>(object)) !=
            FCollections.end()) {
        InvalidValue();
    }
    ReadValue();
    if (collection) {
        ReadCollection(*collection);
    } else {
        ReadCollection(*items);
    }
}

void TReader::DefineProperty(std::string_view name, const TReaderProc &readData,
                             const TWriterProc &writeData) {
    (void)writeData;
    if (readData && !FPropName.empty() && SameName(name, FPropName)) {
        FPropName.clear();
        readData(*this);
    }
}

void TReader::DefineBinaryProperty(std::string_view name, const TStreamProc &readData,
                                   const TStreamProc &writeData) {
    (void)writeData;
    if (!readData || FPropName.empty() || !SameName(name, FPropName)) {
        return;
    }
    FPropName.clear();
    if (ReadValue() != vaBinary) {
        InvalidValue();
    }
    const int64_t count = CheckedCount(ReadInt32Raw(), 1);
    TMemoryStream bytes;
    bytes.SetSize(count);
    ReadBytes(bytes.GetMemory(), count);
    bytes.SetPosition(0);
    readData(bytes);
}

// --- collections and components --------------------------------------------------------------

void TReader::ReadCollection(TCollection &collection) {
    TCollectionStreamedItems items(collection);
    ReadItems(items, dynamic_cast<const void *>(&collection));
}

void TReader::ReadCollection(TStreamedItems &collection) {
    ReadItems(collection, dynamic_cast<const void *>(&collection));
}

// collection is the whole object whose items these are (the one a property holds), by which
// nested reads and references know it.
void TReader::ReadItems(TStreamedItems &items, const void *collection) {
    TDepthGuard guard(*this);
    struct TScope {
        TReader &Reader;
        TStreamedItems &Items;
        TScope(TReader &r, TStreamedItems &i, const void *c) : Reader(r), Items(i) {
            Items.BeginStreamedUpdate();
            Reader.FCollections.push_back(c);
        }
        ~TScope() {
            Reader.FCollections.pop_back();
            Items.EndStreamedUpdate();
        }
    } scope(*this, items, collection);
    if (!EndOfList()) {
        DropFixupsIn(collection);
        items.ClearStreamedItems();
    }
    while (!EndOfList()) {
        const TValueType next = NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
            ReadInteger(); // the item's stored order, which reading does not need
        }
        TPersistent &item = items.AddStreamedItem();
        ReadListBegin();
        while (!EndOfList()) {
            ReadProperty(item);
        }
        ReadListEnd();
    }
    ReadListEnd();
}

// References inside the items of a collection about to be cleared would outlive them.
void TReader::DropFixupsIn(const void *collection) {
    std::erase_if(FFixups, [&](const TFixup &f) {
        return std::find(f.Collections.begin(), f.Collections.end(), collection) !=
               f.Collections.end();
    });
}

template <class Body> auto TReader::ReadTopLevel(Body body) {
    const bool outermost = FTopLevel == 0;
    if (outermost) {
        FLoaded.clear();
        FFixups.clear();
    }
    struct TLevel {
        int &Count;
        ~TLevel() { --Count; }
    } level{++FTopLevel};
    if (!outermost) {
        return body();
    }
    try {
        auto result = body();
        ResolveFixups();
        FinishLoading();
        return result;
    } catch (...) {
        FFixups.clear();
        AbandonLoading();
        throw;
    }
}

void TReader::ReadRootComponent(TComponent &root) {
    ReadTopLevel([&] {
        FRoot = &root;
        ReadSignature();
        TFilerFlags flags;
        int32_t childPos = 0;
        ReadPrefix(flags, childPos);
        ReadName(); // the class is the root's own
        root.SetName(Utf8ToUtf16(ReadName()));
        root.FComponentState.Include(csLoading);
        FLoaded.push_back(&root);
        ReadData(root);
        return 0;
    });
}

std::unique_ptr<TComponent> TReader::ReadRootComponent() {
    std::unique_ptr<TComponent> root;
    try {
        ReadTopLevel([&] {
            ReadSignature();
            TFilerFlags flags;
            int32_t childPos = 0;
            ReadPrefix(flags, childPos);
            const std::string className = ReadName();
            const TClassInfo &info = FindClass(className);
            if (!info.CreateComponent) {
                throw EClassNotFound("Class " + className + " not found");
            }
            root.reset(info.CreateComponent(nullptr));
            FRoot = root.get();
            root->SetName(Utf8ToUtf16(ReadName()));
            root->FComponentState.Include(csLoading);
            FLoaded.push_back(root.get());
            ReadData(*root);
            return 0;
        });
    } catch (...) {
        FRoot = nullptr;
        throw;
    }
    return root;
}

TComponent *TReader::ReadComponent(TComponent *component) {
    std::unique_ptr<TComponent> unowned; // a new component without owner, until all is read
    TComponent *result = ReadTopLevel([&] {
        TComponent *c = ReadComponentBody(component);
        if (!component && !c->GetOwner() && FTopLevel == 1) {
            unowned.reset(c);
        }
        return c;
    });
    (void)unowned.release(); // the caller's now
    return result;
}

TComponent *TReader::ReadComponentBody(TComponent *component) {
    TDepthGuard guard(*this);
    TFilerFlags flags;
    int32_t childPos = 0;
    ReadPrefix(flags, childPos);
    const std::string className = ReadName();
    const UnicodeString name = Utf8ToUtf16(ReadName());
    const size_t loadedMark = FLoaded.size();
    const size_t fixupMark = FFixups.size();
    TComponent *result = component ? component : CreateComponent(className, name, flags);
    const bool created = !component && !flags.Contains(ffInherited);
    try {
        result->FComponentState.Include(csLoading);
        FLoaded.push_back(result);
        ReadData(*result);
    } catch (...) {
        if (created) {
            // What is freed with it leaves the lists; references read meanwhile are dropped.
            std::erase_if(FLoaded, [&, i = size_t(0)](TComponent *c) mutable {
                return i++ >= loadedMark && IsOwnedBy(c, result);
            });
            FFixups.erase(FFixups.begin() + ptrdiff_t(fixupMark), FFixups.end());
            FreeComponent(result);
        }
        throw;
    }
    return result;
}

TComponent *TReader::CreateComponent(const std::string &className, const UnicodeString &name,
                                     TFilerFlags flags) {
    if (flags.Contains(ffInherited)) {
        TComponent *scope = FOwner ? FOwner : FRoot;
        TComponent *existing = scope ? scope->FindComponent(name) : nullptr;
        if (!existing) {
            throw EReadError(u"Ancestor for '" + name + u"' not found");
        }
        return existing;
    }
    const TClassInfo &info = FindClass(className);
    if (!info.CreateComponent) {
        throw EClassNotFound("Class " + className + " not found");
    }
    TComponent *c = info.CreateComponent(FOwner);
    try {
        c->SetName(name);
        c->SetParentComponent(FParent);
    } catch (...) {
        FreeComponent(c);
        throw;
    }
    return c;
}

void TReader::ReadData(TComponent &component) {
    struct TSaved {
        TReader &Reader;
        TComponent *Current, *Owner, *Parent;
        ~TSaved() {
            Reader.FCurrent = Current;
            Reader.FOwner = Owner;
            Reader.FParent = Parent;
        }
    } saved{*this, FCurrent, FOwner, FParent};
    component.FComponentState.Include(csReading);
    FCurrent = &component;
    while (!EndOfList()) {
        ReadProperty(component);
    }
    ReadListEnd();
    TComponent *childOwner = component.GetChildOwner();
    FOwner = childOwner ? childOwner : FRoot ? FRoot : &component;
    FParent = component.GetChildParent();
    while (!EndOfList()) {
        ReadComponentBody(nullptr);
    }
    ReadListEnd();
    component.FComponentState.Exclude(csReading);
}

// --- references and the end of loading -------------------------------------------------------

TComponent *TReader::FindReference(const std::string &name) const {
    if (!FRoot) {
        return nullptr;
    }
    if (SameName(name, "Owner")) {
        return FRoot;
    }
    const size_t dot = name.find('.');
    if (dot == std::string::npos) {
        return FRoot->FindComponent(Utf8ToUtf16(name));
    }
    const std::string first = name.substr(0, dot);
    TComponent *scope = SameName(first, Utf16ToUtf8(FRoot->GetName()))
                            ? FRoot
                            : FRoot->FindComponent(Utf8ToUtf16(first));
    return scope ? scope->FindComponent(Utf8ToUtf16(name.substr(dot + 1))) : nullptr;
}

// Names that do not resolve leave the reference as it was, as a reference to a component of
// another stream would.
void TReader::ResolveFixups() {
    std::vector<TFixup> fixups;
    fixups.swap(FFixups);
    for (const TFixup &f : fixups) {
        if (TComponent *c = FindReference(f.Name)) {
            f.Prop->SetReference(*f.Instance, c);
        }
    }
}

// Loaded runs for every component read, in reading order; if one fails, the others still
// leave the loading state.
void TReader::FinishLoading() {
    std::vector<TComponent *> loaded;
    loaded.swap(FLoaded);
    for (size_t i = 0; i < loaded.size(); ++i) {
        try {
            loaded[i]->FComponentState.Exclude(csReading);
            loaded[i]->Loaded();
        } catch (...) {
            FLoaded.assign(loaded.begin() + ptrdiff_t(i) + 1, loaded.end());
            AbandonLoading();
            throw;
        }
    }
}

void TReader::AbandonLoading() {
    for (TComponent *c : FLoaded) {
        c->FComponentState = c->FComponentState - TComponentState{csReading, csLoading};
    }
    FLoaded.clear();
}

} // namespace rtl
