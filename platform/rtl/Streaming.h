// The class library's binary component stream: value types, the filer with its define-properties
// hook, the reader and the writer. Forms, style collections and tables are stored this way.
//
// Layout (little-endian throughout):
// - A stream of a root component starts with the signature "TPF0".
// - A name (class, object, property, identifier, set member) is one length byte and that many
//   UTF-8 bytes, without a tag.
// - A component is an optional prefix byte ($F0 | TFilerFlags, followed by an integer value
//   when ffChildPos is set), its class name, its name, its properties, vaNull, the components
//   inside it, vaNull.
// - A property is its name and one value. The properties of an object held by a property are
//   stored under "Holder.Name"; a collection is one vaCollection value.
// - A value is a one-byte TValueType tag and its data: vaInt8/16/32/Int64 1, 2, 4 or 8 bytes
//   of two's complement; vaExtended the 10-byte x87 extended format; vaSingle, vaDouble,
//   vaDate IEEE 754 in 4, 8, 8 bytes; vaCurrency a 64-bit integer of ten-thousandths;
//   vaString and vaIdent a name; vaLString, vaUTF8String and vaBinary a 32-bit byte count and
//   the bytes; vaWString a 32-bit count of UTF-16 code units and the units; vaSet member names
//   up to an empty one; vaList values up to vaNull; vaCollection items up to vaNull, each an
//   optional integer, vaList, its properties, vaNull; vaFalse, vaTrue, vaNil and vaNull alone.
//
// Reading checks every count against the bytes left and every nesting (lists, collections,
// components) against kMaxStreamDepth before using it. Errors are EReadError with the class
// library's messages: "Invalid stream format" (bad signature, unknown tag, nesting too deep),
// "Stream read error" (the stream ends early), "Invalid property value" (a value of the wrong
// type for what is read), "Property %s does not exist", "Invalid property path"; EClassNotFound
// "Class %s not found". An error in one property goes to OnError first: when it is handled
// there, that property's value is skipped and reading goes on; otherwise EReadError "Error
// reading <component>.<property>: <message>" ends the read.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

enum TValueType : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
    vaDouble = 21,
};

enum TFilerFlag : uint8_t { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

// The deepest nesting of lists, collections and components a reader accepts (and a writer
// writes).
constexpr int kMaxStreamDepth = 128;

// The 10-byte x87 extended format (64-bit significand with explicit integer bit, 15-bit
// exponent biased by 16383, sign), little-endian. Decoding is exact where long double can hold
// the value (always on x86); NaNs keep their sign.
std::array<uint8_t, 10> ExtendedToBytes(long double value);
long double BytesToExtended(const std::array<uint8_t, 10> &bytes);

// The items of a collection that is not a TCollection (a library's own collection class whose
// items are other TPersistent descendants), stored in the same collection form.
class TStreamedItems {
public:
    virtual ~TStreamedItems() = default;
    virtual int32_t GetStreamedCount() const = 0;
    virtual TPersistent &GetStreamedItem(int32_t index) const = 0;
    // A new item at the end, for the stream to read into.
    virtual TPersistent &AddStreamedItem() = 0;
    virtual void ClearStreamedItems() = 0;
    virtual void BeginStreamedUpdate() = 0;
    virtual void EndStreamedUpdate() = 0;
};

// A TCollection seen as streamed items.
class TCollectionStreamedItems final : public TStreamedItems {
public:
    explicit TCollectionStreamedItems(TCollection &collection) : FCollection(collection) {}
    int32_t GetStreamedCount() const override { return FCollection.GetCount(); }
    TPersistent &GetStreamedItem(int32_t index) const override {
        return *FCollection.GetItem(index);
    }
    TPersistent &AddStreamedItem() override { return *FCollection.Add(); }
    void ClearStreamedItems() override { FCollection.Clear(); }
    void BeginStreamedUpdate() override { FCollection.BeginUpdate(); }
    void EndStreamedUpdate() override { FCollection.EndUpdate(); }

private:
    TCollection &FCollection;
};

class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader &)>;
using TWriterProc = std::function<void(TWriter &)>;
using TStreamProc = std::function<void(TStream &)>;

// What the reader and writer share: the stream and the define-properties hook.
class TFiler {
public:
    explicit TFiler(TStream &stream) : FStream(stream) {}
    TFiler(const TFiler &) = delete;
    TFiler &operator=(const TFiler &) = delete;
    virtual ~TFiler() = default;

    TStream &GetStream() { return FStream; }
    TComponent *GetRoot() const { return FRoot; }

    // Called from TPersistent::DefineProperties: a property stored under name whose one value
    // the object reads and writes itself. The reader calls readData when the property being
    // read has that name (ASCII case ignored); the writer writes the name and calls writeData
    // when one is given (give none when there is nothing to store, or for a property that is
    // only read, such as an obsolete one).
    virtual void DefineProperty(std::string_view name, const TReaderProc &readData,
                                const TWriterProc &writeData) = 0;
    // The same for bytes, stored as one vaBinary value: readData gets a stream holding them,
    // positioned at 0; writeData writes them into an empty stream.
    virtual void DefineBinaryProperty(std::string_view name, const TStreamProc &readData,
                                      const TStreamProc &writeData) = 0;

protected:
    TStream &FStream;
    TComponent *FRoot = nullptr;
};

// Reads values, properties, collections and components from the stream's position on.
class TReader : public TFiler {
public:
    using TErrorEvent =
        std::function<void(TReader &reader, const UnicodeString &message, bool &handled)>;

    explicit TReader(TStream &stream);
    ~TReader() override;

    // The signature, then the root component read into root: its stored class name is not
    // checked and it takes the stored name; the components inside it are owned by their
    // container's GetChildOwner(), by default the root. Once everything is read, component
    // references are resolved and Loaded runs for every component read (once for each time it
    // was read), in reading order.
    void ReadRootComponent(TComponent &root);
    // The same into a new component of the stored (registered) class, without an owner.
    std::unique_ptr<TComponent> ReadRootComponent();
    // One component without the signature: read into component when given, else a new one of
    // the stored class, owned by GetOwner() (nullptr: the caller takes it) and given
    // GetParent() as its parent component. A new component that fails to read is freed.
    TComponent *ReadComponent(TComponent *component);
    // The items of a collection value whose vaCollection tag has been read. Items already in
    // the collection are replaced, unless the stored collection is empty.
    void ReadCollection(TCollection &collection);
    void ReadCollection(TStreamedItems &collection);
    // One property (name and value) into instance.
    void ReadProperty(TPersistent &instance);
    // EReadError "Invalid stream format" unless the next four bytes are "TPF0".
    void ReadSignature();
    void ReadPrefix(TFilerFlags &flags, int32_t &childPos);

    TComponent *GetOwner() const { return FOwner; }
    void SetOwner(TComponent *owner) { FOwner = owner; }
    TComponent *GetParent() const { return FParent; }
    void SetParent(TComponent *parent) { FParent = parent; }

    // The next value's type without reading it.
    TValueType NextValue();
    TValueType ReadValue();
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    // vaInt8, vaInt16, vaInt32.
    int32_t ReadInteger();
    // Those and vaInt64.
    int64_t ReadInt64();
    bool ReadBoolean();
    // The floating-point readers take any floating-point value, a currency or an integer.
    long double ReadFloat();
    float ReadSingle();
    double ReadDouble();
    TDateTime ReadDate();
    // In ten-thousandths: a currency value as stored, an integer or a float scaled (EReadError
    // "Invalid property value" beyond the 64-bit range).
    int64_t ReadCurrency();
    // vaString and vaLString (ANSI code page), vaUTF8String, vaWString.
    UnicodeString ReadString();
    // vaIdent, or "False", "True", "nil", "Null" for vaFalse, vaTrue, vaNil, vaNull.
    UnicodeString ReadIdent();
    // One name (no tag).
    UnicodeString ReadStr();
    TBytes ReadBinary();
    // A set value: the bits of the named members (member n: bit n of names); EReadError
    // "Invalid property value" for a name that is not there.
    uint64_t ReadSet(const std::vector<std::string> &names);
    // Reads past one value of any type.
    void SkipValue();

    TErrorEvent OnError;

    void DefineProperty(std::string_view name, const TReaderProc &readData,
                        const TWriterProc &writeData) override;
    void DefineBinaryProperty(std::string_view name, const TStreamProc &readData,
                              const TStreamProc &writeData) override;

private:
    struct TFixup {
        TPersistent *Instance;
        const TPropInfo *Prop;
        std::string Name;
        std::vector<const void *> Collections; // the collections Instance lies in
    };
    class TDepthGuard;

    uint8_t ReadByte();
    void ReadBytes(void *buffer, int64_t count);
    int64_t CheckedCount(int64_t count, int64_t unitSize);
    int32_t ReadInt32Raw();
    std::string ReadName();
    std::string ReadUtf8(int64_t count);
    [[noreturn]] void InvalidValue();
    TValueType CheckType(uint8_t tag);
    long double ReadFloatValue(TValueType type);
    void SkipName();
    void SkipCollection();
    void SkipProperty();

    template <class Body> auto ReadTopLevel(Body body);
    TComponent *ReadComponentBody(TComponent *component);
    TComponent *CreateComponent(const std::string &className, const UnicodeString &name,
                                TFilerFlags flags);
    void ReadData(TComponent &component);
    void ReadPropertyValue(TPersistent &instance, const std::string &path);
    void ReadPropValue(TPersistent &instance, const TPropInfo &prop);
    void ReadOrdinalProp(TPersistent &instance, const TPropInfo &prop);
    void ReadFloatProp(TPersistent &instance, const TPropInfo &prop);
    void ReadObjectProp(TPersistent &instance, const TPropInfo &prop);
    void HandlePropertyError(const std::string &path, int64_t valueStart,
                             const UnicodeString &message);
    void ResolveFixups();
    TComponent *FindReference(const std::string &name) const;
    void ReadItems(TStreamedItems &items, const void *collection);
    void DropFixupsIn(const void *collection);
    void FinishLoading();
    void AbandonLoading();

    TComponent *FOwner = nullptr;
    TComponent *FParent = nullptr;
    TComponent *FCurrent = nullptr; // the component whose properties are being read
    std::string FPropName;          // a defined property looked for, until found
    int FDepth = 0;
    int FTopLevel = 0;
    std::vector<TComponent *> FLoaded;
    std::vector<TFixup> FFixups;
    std::vector<const void *> FCollections;
};

// Writes values, properties, collections and components at the stream's position.
class TWriter : public TFiler {
public:
    explicit TWriter(TStream &stream) : TFiler(stream) {}

    // The signature and root as a component, with the components inside it.
    void WriteRootComponent(TComponent &root);
    // One component (no signature): class name, name, properties, the components that its
    // GetChildren gives. EWriteError for a component whose class has no class table of its
    // own (ClassInfo() is an ancestor's): it would be read back as that ancestor.
    void WriteComponent(TComponent &component);
    // vaCollection and the items with their properties.
    void WriteCollection(TCollection &collection);
    void WriteCollection(const TStreamedItems &collection);
    // The published properties that are to be stored, then the defined ones.
    void WriteProperties(TPersistent &instance);
    void WriteSignature();

    void WriteValue(TValueType type);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    // The smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds the value.
    void WriteInteger(int64_t value);
    void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
    void WriteFloat(long double value);
    void WriteSingle(float value);
    void WriteDouble(double value);
    void WriteDate(TDateTime value);
    // A value in ten-thousandths.
    void WriteCurrency(int64_t tenThousandths);
    // In the shortest form: vaString (up to 255 bytes) or vaLString for ASCII text,
    // vaUTF8String when the UTF-8 form is shorter than the UTF-16 one, else vaWString (also
    // for text with an unpaired surrogate, which UTF-8 cannot carry).
    void WriteString(const UnicodeString &value);
    // vaIdent and the name; "False", "True", "Null", "nil" (any case) as vaFalse, vaTrue,
    // vaNull, vaNil.
    void WriteIdent(std::string_view ident);
    // One name (no tag); EWriteError when its UTF-8 form is longer than 255 bytes.
    void WriteStr(std::string_view name);
    void WriteBinary(const void *data, int64_t count);
    // vaSet and the names of the members present, in ascending order.
    void WriteSet(uint64_t bits, const std::vector<std::string> &names);

    void DefineProperty(std::string_view name, const TReaderProc &readData,
                        const TWriterProc &writeData) override;
    void DefineBinaryProperty(std::string_view name, const TStreamProc &readData,
                              const TStreamProc &writeData) override;

private:
    class TDepthGuard;

    void WriteBytes(const void *data, int64_t count);
    void WriteInt32Raw(int32_t value);
    void WritePropName(std::string_view name);
    void WriteProperty(TPersistent &instance, const TPropInfo &prop);
    void WriteOrdinalProp(TPersistent &instance, const TPropInfo &prop);
    void WriteFloatProp(TPersistent &instance, const TPropInfo &prop);
    void WriteObjectProp(TPersistent &instance, const TPropInfo &prop);
    std::string ReferenceName(const TComponent &component) const;

    TComponent *FLookupRoot = nullptr;
    std::string FPropPath;
    int FDepth = 0;
};

} // namespace rtl
