// Small classes with a property of every kind, for the component stream's tests and fuzz
// target: a component that holds components, a collection of items that hold collections, an
// object property, references, and defined properties (an obsolete name read into a current
// property, bytes, a list of raw values).
#pragma once

#include "platform/rtl/Component.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

using rtl::TComponent;
using rtl::UnicodeString;

enum TDemoKind : uint8_t { dkNone, dkFirst, dkSecond, dkThird };
enum TDemoOption : uint8_t { doAlpha, doBeta, doGamma, doDelta };
using TDemoOptions = rtl::TSet<TDemoOption>;

inline constexpr rtl::TIdentMapEntry kDemoColors[] = {
    {0x0000FF, "clRed"}, {0xFFFFFF, "clWhite"}, {int32_t(0xFF000005), "clWindow"}};

// Whatever Loaded saw, in order, for the tests of the end of loading.
inline std::vector<UnicodeString> &LoadedLog() {
    static std::vector<UnicodeString> log;
    return log;
}

class TDemoFont : public rtl::TPersistent {
public:
    static const rtl::TClassInfo &StaticClassInfo() {
        static const rtl::TClassInfo info =
            rtl::TClassBuilder<TDemoFont>("TDemoFont", &TPersistent::StaticClassInfo())
                .Int("Size", &TDemoFont::GetSize, &TDemoFont::SetSize)
                .Default(8)
                .Str("Name", &TDemoFont::GetName, &TDemoFont::SetName)
                .Build();
        return info;
    }
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    int32_t GetSize() const { return FSize; }
    void SetSize(int32_t v) { FSize = v; }
    const UnicodeString &GetName() const { return FName; }
    void SetName(const UnicodeString &v) { FName = v; }

private:
    int32_t FSize = 8;
    UnicodeString FName;
};

class TDemo;

class TDemoItem : public rtl::TCollectionItem {
public:
    explicit TDemoItem(rtl::TCollection *collection)
        : TCollectionItem(collection), FChildren(StaticClassInfo()) {}

    static const rtl::TClassInfo &StaticClassInfo() {
        static const rtl::TClassInfo info =
            rtl::TClassBuilder<TDemoItem>("TDemoItem", &TCollectionItem::StaticClassInfo())
                .Int("Value", &TDemoItem::GetValue, &TDemoItem::SetValue)
                .Default(0)
                .Str("Text", &TDemoItem::GetText, &TDemoItem::SetText)
                .Reference("Link", &TDemoItem::GetLink, &TDemoItem::SetLink)
                .Object("Children", &TDemoItem::GetChildren)
                .Build();
        return info;
    }
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    int32_t GetValue() const { return FValue; }
    void SetValue(int32_t v) { FValue = v; }
    const UnicodeString &GetText() const { return FText; }
    void SetText(const UnicodeString &v) { FText = v; }
    TComponent *GetLink() const { return FLink; }
    void SetLink(TComponent *v) { FLink = v; }
    rtl::TCollection &GetChildren() { return FChildren; }

private:
    int32_t FValue = 0;
    UnicodeString FText;
    TComponent *FLink = nullptr;
    rtl::TCollection FChildren;
};

class TDemo : public TComponent {
public:
    explicit TDemo(TComponent *owner) : TComponent(owner), FItems(TDemoItem::StaticClassInfo()) {}

    static const rtl::TClassInfo &StaticClassInfo() {
        using namespace rtl;
        static const TClassInfo info =
            TClassBuilder<TDemo>("TDemo", &TComponent::StaticClassInfo())
                .Int("Int", &TDemo::GetInt, &TDemo::SetInt)
                .Default(0)
                .Int("Small", &TDemo::GetSmall, &TDemo::SetSmall)
                .Default(0)
                .Int("Big", &TDemo::GetBig, &TDemo::SetBig)
                .Default(0)
                .Bool("Flag", &TDemo::GetFlag, &TDemo::SetFlag)
                .Default(false)
                .Enum("Kind", &TDemo::GetKind, &TDemo::SetKind,
                      {"dkNone", "dkFirst", "dkSecond", "dkThird"})
                .Default(dkNone)
                .Set("Options", &TDemo::GetOptions, &TDemo::SetOptions,
                     {"doAlpha", "doBeta", "doGamma", "doDelta"})
                .Default(TDemoOptions{doAlpha})
                .Int("Color", &TDemo::GetColor, &TDemo::SetColor)
                .Default(0xFFFFFF)
                .Idents(kDemoColors)
                .Float("Ext", &TDemo::GetExt, &TDemo::SetExt)
                .Float("Dbl", &TDemo::GetDbl, &TDemo::SetDbl, ftDouble)
                .Float("Sgl", &TDemo::GetSgl, &TDemo::SetSgl, ftSingle)
                .Float("Money", &TDemo::GetMoney, &TDemo::SetMoney, ftCurrency)
                .Float("When", &TDemo::GetWhen, &TDemo::SetWhen, ftDateTime)
                .Str("Text", &TDemo::GetText, &TDemo::SetText)
                .Object("Font", &TDemo::GetFont)
                .Object("Items", &TDemo::GetItems)
                .Reference("Buddy", &TDemo::GetBuddy, &TDemo::SetBuddy)
                .Build();
        return info;
    }
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    int32_t GetInt() const { return FInt; }
    void SetInt(int32_t v) { FInt = v; }
    uint8_t GetSmall() const { return FSmall; }
    void SetSmall(uint8_t v) { FSmall = v; }
    int64_t GetBig() const { return FBig; }
    void SetBig(int64_t v) { FBig = v; }
    bool GetFlag() const { return FFlag; }
    void SetFlag(bool v) { FFlag = v; }
    TDemoKind GetKind() const { return FKind; }
    void SetKind(TDemoKind v) { FKind = v; }
    TDemoOptions GetOptions() const { return FOptions; }
    void SetOptions(TDemoOptions v) { FOptions = v; }
    int32_t GetColor() const { return FColor; }
    void SetColor(int32_t v) { FColor = v; }
    long double GetExt() const { return FExt; }
    void SetExt(long double v) { FExt = v; }
    double GetDbl() const { return FDbl; }
    void SetDbl(double v) { FDbl = v; }
    float GetSgl() const { return FSgl; }
    void SetSgl(float v) { FSgl = v; }
    long double GetMoney() const { return FMoney; }
    void SetMoney(long double v) { FMoney = v; }
    double GetWhen() const { return FWhen; }
    void SetWhen(double v) { FWhen = v; }
    const UnicodeString &GetText() const { return FText; }
    void SetText(const UnicodeString &v) {
        FText = v;
        FLoadingWhenTextSet = GetComponentState().Contains(rtl::csLoading);
    }
    TDemoFont &GetFont() { return FFont; }
    rtl::TCollection &GetItems() { return FItems; }
    TDemo *GetBuddy() const { return FBuddy; }
    void SetBuddy(TDemo *v) { FBuddy = v; }

    // Defined properties: "Legacy" (an obsolete Boolean, read into Flag, never written),
    // "Blob" (bytes), "Raw" (a list of raw values, kept as written).
    rtl::TBytes Blob;
    std::vector<rtl::TValueType> RawTypes;
    bool FLoadingWhenTextSet = false;

    void DefineProperties(rtl::TFiler &filer) override {
        filer.DefineProperty(
            "Legacy", [this](rtl::TReader &r) { SetFlag(r.ReadBoolean()); }, nullptr);
        rtl::TStreamProc writeBlob;
        if (!Blob.empty()) {
            writeBlob = [this](rtl::TStream &s) {
                s.WriteBuffer(Blob.data(), int32_t(Blob.size()));
            };
        }
        filer.DefineBinaryProperty(
            "Blob",
            [this](rtl::TStream &s) {
                Blob.resize(size_t(s.GetSize()));
                s.ReadBuffer(Blob.data(), int32_t(Blob.size()));
            },
            writeBlob);
        rtl::TWriterProc writeRaw;
        if (!RawTypes.empty()) {
            writeRaw = [this](rtl::TWriter &w) { WriteRaw(w); };
        }
        filer.DefineProperty(
            "Raw", [this](rtl::TReader &r) { ReadRaw(r); }, writeRaw);
    }

    void GetChildren(const std::function<void(TComponent *)> &proc, TComponent *root) override {
        (void)root;
        for (int32_t i = 0; i < GetComponentCount(); ++i) {
            proc(GetComponent(i));
        }
    }
    TComponent *GetChildOwner() override { return this; }

protected:
    void Loaded() override {
        TComponent::Loaded();
        LoadedLog().push_back(GetName());
    }

private:
    // One value of each of the types in RawTypes, with fixed contents.
    void WriteRaw(rtl::TWriter &w) const {
        w.WriteListBegin();
        for (rtl::TValueType t : RawTypes) {
            switch (t) {
            case rtl::vaExtended:
                w.WriteFloat(1.25L);
                break;
            case rtl::vaSingle:
                w.WriteSingle(-2.5f);
                break;
            case rtl::vaDouble:
                w.WriteDouble(0.1);
                break;
            case rtl::vaDate:
                w.WriteDate(45000.5);
                break;
            case rtl::vaCurrency:
                w.WriteCurrency(-12345);
                break;
            case rtl::vaInt64:
                w.WriteInteger(INT64_MIN);
                break;
            case rtl::vaBinary:
                w.WriteBinary("\x00\xFF", 2);
                break;
            case rtl::vaNil:
                w.WriteIdent("nil");
                break;
            case rtl::vaSet:
                w.WriteSet(5, {"a", "b", "c"});
                break;
            case rtl::vaInt8:
                w.WriteInteger(-128);
                break;
            case rtl::vaInt16:
                w.WriteInteger(32767);
                break;
            case rtl::vaInt32:
                w.WriteInteger(-32769);
                break;
            case rtl::vaString:
                w.WriteString(u"plain");
                break;
            case rtl::vaLString:
                w.WriteString(UnicodeString(300, u'L'));
                break;
            case rtl::vaUTF8String:
                w.WriteString(u"caf\u00e9");
                break;
            case rtl::vaWString:
                w.WriteString(u"\u041e\u0442\u0447\u0435\u0442");
                break;
            case rtl::vaIdent:
                w.WriteIdent("clRed");
                break;
            case rtl::vaFalse:
            case rtl::vaTrue:
                w.WriteBoolean(t == rtl::vaTrue);
                break;
            case rtl::vaNull: // it would end the list: not a value of its own here
                break;
            case rtl::vaList:
                w.WriteListBegin();
                w.WriteInteger(1);
                w.WriteListEnd();
                break;
            case rtl::vaCollection: {
                rtl::TCollection items(TDemoItem::StaticClassInfo());
                static_cast<TDemoItem *>(items.Add())->SetValue(7);
                w.WriteCollection(items);
                break;
            }
            }
        }
        w.WriteListEnd();
    }
    void ReadRaw(rtl::TReader &r) {
        RawTypes.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) {
            RawTypes.push_back(r.NextValue());
            r.SkipValue();
        }
        r.ReadListEnd();
    }

    int32_t FInt = 0;
    uint8_t FSmall = 0;
    int64_t FBig = 0;
    bool FFlag = false;
    TDemoKind FKind = dkNone;
    TDemoOptions FOptions{doAlpha};
    int32_t FColor = 0xFFFFFF;
    long double FExt = 0;
    double FDbl = 0;
    float FSgl = 0;
    long double FMoney = 0;
    double FWhen = 0;
    UnicodeString FText;
    TDemoFont FFont;
    rtl::TCollection FItems;
    TDemo *FBuddy = nullptr;
};

// Registers the classes a stream may create.
inline void RegisterDemoClasses() {
    rtl::RegisterClass(TDemo::StaticClassInfo());
    rtl::RegisterClass(TDemoItem::StaticClassInfo());
}

} // namespace demo
