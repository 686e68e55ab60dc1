// The component stream's components: the exact bytes of a small one, a round trip of every
// property kind through nested components and collections, defined properties, references,
// loading, and refusing truncated and malformed streams.
#include "platform/rtl/Streaming.h"

#include "platform/rtl/Exceptions.h"
#include "tests/rtl/StreamingDemo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace rtl;
using namespace demo;

namespace {

class StreamingComponents : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDemoClasses();
        LoadedLog().clear();
    }
};

std::string Hex(TMemoryStream s) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int64_t i = 0; i < s.GetSize(); ++i) {
        const uint8_t b = s.GetMemory()[i];
        out += i ? " " : "";
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// Hex bytes and quoted text ('ab' gives 61 62), separated by blanks.
TMemoryStream Bytes(std::initializer_list<std::string> parts) {
    TMemoryStream s;
    for (const std::string &part : parts) {
        std::istringstream tokens(part);
        std::string t;
        while (tokens >> t) {
            if (t.size() >= 2 && t.front() == '\'' && t.back() == '\'') {
                s.Write(t.data() + 1, int32_t(t.size() - 2));
            } else {
                const auto b = uint8_t(std::stoi(t, nullptr, 16));
                s.Write(&b, 1);
            }
        }
    }
    s.SetPosition(0);
    return s;
}

TMemoryStream Write(TComponent &root) {
    TMemoryStream s;
    TWriter(s).WriteRootComponent(root);
    s.SetPosition(0);
    return s;
}

std::unique_ptr<TDemo> Read(TMemoryStream &s, TReader::TErrorEvent onError = nullptr) {
    TReader reader(s);
    reader.OnError = std::move(onError);
    std::unique_ptr<TComponent> root = reader.ReadRootComponent();
    return std::unique_ptr<TDemo>(static_cast<TDemo *>(root.release()));
}

std::string ReadError(TMemoryStream s) {
    try {
        Read(s);
    } catch (const Exception &e) {
        return e.what();
    }
    return "no error";
}

// The start of a stream of a root TDemo "D", before its properties.
const std::string kRoot = "54 50 46 30 05 54 44 65 6D 6F 01 44";

TDemo &Kid(TDemo &parent, int i) {
    return static_cast<TDemo &>(*parent.GetComponent(i));
}

TDemoItem &Item(rtl::TCollection &c, int i) {
    return static_cast<TDemoItem &>(*c.GetItem(i));
}

} // namespace

TEST_F(StreamingComponents, SmallComponentHasTheClassLibrarysBytes) {
    TDemo root(nullptr);
    root.SetName(u"Demo1");
    root.SetInt(5);
    root.GetFont().SetSize(12);
    (new TDemo(&root))->SetName(u"Kid");
    TMemoryStream s = Write(root);
    EXPECT_EQ(Hex(s), "54 50 46 30 "                         // TPF0
                      "05 54 44 65 6D 6F 05 44 65 6D 6F 31 " // TDemo Demo1
                      "03 49 6E 74 02 05 "                   // Int = 5
                      "09 46 6F 6E 74 2E 53 69 7A 65 02 0C " // Font.Size = 12
                      "00 "                                  // end of properties
                      "05 54 44 65 6D 6F 03 4B 69 64 00 00 " // TDemo Kid, nothing inside
                      "00");                                 // end of components
}

TEST_F(StreamingComponents, EveryPropertyKindRoundTripsThroughNestedComponents) {
    TDemo root(nullptr);
    root.SetName(u"Form1");
    root.SetInt(-70000);
    root.SetSmall(200);
    root.SetBig(int64_t(-1) << 40);
    root.SetFlag(true);
    root.SetKind(dkThird);
    root.SetOptions({doBeta, doDelta});
    root.SetColor(0x123456);
    root.SetExt(1.0L / 3);
    root.SetDbl(0.1);
    root.SetSgl(-0.75f);
    root.SetMoney(-1234.5678L);
    root.SetWhen(45000.25);
    root.SetText(u"\u041e\u0442\u0447\u0435\u0442 caf\u00e9 \U0001F600");
    root.GetFont().SetName(u"Tahoma");
    root.Blob = {0, 1, 2, 255};
    root.RawTypes = {vaList,  vaInt8,       vaInt16,  vaInt32,    vaExtended, vaString,
                     vaIdent, vaFalse,      vaTrue,   vaBinary,   vaSet,      vaLString,
                     vaNil,   vaCollection, vaSingle, vaCurrency, vaDate,     vaWString,
                     vaInt64, vaUTF8String, vaDouble};
    auto *panel = new TDemo(&root);
    panel->SetName(u"Panel1");
    panel->SetColor(int32_t(0xFF000005));
    auto *button = new TDemo(panel);
    button->SetName(u"Button1");
    button->SetKind(dkFirst);
    auto *other = new TDemo(&root);
    other->SetName(u"Other");
    button->SetBuddy(other);
    root.SetBuddy(&root);
    auto &first = static_cast<TDemoItem &>(*root.GetItems().Add());
    first.SetValue(3);
    first.SetLink(panel);
    auto &nested = static_cast<TDemoItem &>(*first.GetChildren().Add());
    nested.SetText(u"inner");
    static_cast<TDemoItem &>(*root.GetItems().Add()).SetText(u"second");

    TMemoryStream s = Write(root);
    std::unique_ptr<TDemo> back = Read(s);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetName(), u"Form1");
    EXPECT_EQ(back->GetInt(), -70000);
    EXPECT_EQ(back->GetSmall(), 200);
    EXPECT_EQ(back->GetBig(), int64_t(-1) << 40);
    EXPECT_TRUE(back->GetFlag());
    EXPECT_EQ(back->GetKind(), dkThird);
    EXPECT_EQ(back->GetOptions(), (TDemoOptions{doBeta, doDelta}));
    EXPECT_EQ(back->GetColor(), 0x123456);
    EXPECT_EQ(back->GetExt(), 1.0L / 3);
    EXPECT_EQ(back->GetDbl(), 0.1);
    EXPECT_EQ(back->GetSgl(), -0.75f);
    EXPECT_EQ(back->GetMoney(), -1234.5678L);
    EXPECT_EQ(back->GetWhen(), 45000.25);
    EXPECT_EQ(back->GetText(), root.GetText());
    EXPECT_EQ(back->GetFont().GetName(), u"Tahoma");
    EXPECT_EQ(back->Blob, root.Blob);
    EXPECT_EQ(back->RawTypes, root.RawTypes);
    ASSERT_EQ(back->GetComponentCount(), 2);
    TDemo &panelBack = Kid(*back, 0);
    EXPECT_EQ(panelBack.GetName(), u"Panel1");
    EXPECT_EQ(panelBack.GetColor(), int32_t(0xFF000005));
    ASSERT_EQ(panelBack.GetComponentCount(), 1);
    EXPECT_EQ(Kid(panelBack, 0).GetKind(), dkFirst);
    // References: one to the root itself, one to a component named later in the stream.
    EXPECT_EQ(back->GetBuddy(), back.get());
    EXPECT_EQ(Kid(panelBack, 0).GetBuddy(), &Kid(*back, 1));
    ASSERT_EQ(back->GetItems().GetCount(), 2);
    EXPECT_EQ(Item(back->GetItems(), 0).GetValue(), 3);
    EXPECT_EQ(Item(back->GetItems(), 0).GetLink(), &panelBack);
    EXPECT_EQ(Item(Item(back->GetItems(), 0).GetChildren(), 0).GetText(), u"inner");
    EXPECT_EQ(Item(back->GetItems(), 1).GetText(), u"second");

    // Everything written is read: writing it again gives the same bytes.
    EXPECT_EQ(Hex(Write(*back)), Hex(s));
}

TEST_F(StreamingComponents, ColoursWithANameAreStoredByIt) {
    TDemo root(nullptr);
    root.SetColor(0x0000FF);
    EXPECT_EQ(Hex(Write(root)),
              "54 50 46 30 05 54 44 65 6D 6F 00 05 43 6F 6C 6F 72 07 05 63 6C 52 65 64 00 00");
    TMemoryStream s = Bytes({kRoot, "05 'Color' 07 08 'clWindow' 00 00"});
    EXPECT_EQ(Read(s)->GetColor(), int32_t(0xFF000005));
}

// The define-properties hook: a stored form that still holds an obsolete property loads into
// today's one, and the obsolete name is never written again.
TEST_F(StreamingComponents, ObsoletePropertyIsReadIntoTodaysOne) {
    TMemoryStream s = Bytes({kRoot, "06 'Legacy' 09 03 'Int' 02 07 00 00"});
    std::unique_ptr<TDemo> d = Read(s);
    EXPECT_TRUE(d->GetFlag());
    EXPECT_EQ(d->GetInt(), 7);
    const std::string again = Hex(Write(*d));
    EXPECT_EQ(again.find("4C 65 67 61 63 79"), std::string::npos); // "Legacy"
    EXPECT_NE(again.find("04 46 6C 61 67 09"), std::string::npos); // "Flag" True
}

TEST_F(StreamingComponents, UnknownPropertyFailsUnlessOnErrorHandlesIt) {
    const auto stream = [] {
        return Bytes({kRoot, "04 'Gone' 01 02 01 06 01 78 00 03 'Int' 02 07 00 00"});
    };
    EXPECT_EQ(ReadError(stream()), "Error reading D.Gone: Property Gone does not exist");

    std::vector<UnicodeString> messages;
    TMemoryStream s = stream();
    std::unique_ptr<TDemo> d = Read(s, [&](TReader &, const UnicodeString &m, bool &handled) {
        messages.push_back(m);
        handled = true;
    });
    EXPECT_EQ(messages, std::vector<UnicodeString>{u"Property Gone does not exist"});
    EXPECT_EQ(d->GetInt(), 7);
}

TEST_F(StreamingComponents, PropertyValuesOfTheWrongKindAreRefused) {
    struct Case {
        const char *what;
        std::string property;
        const char *message;
    };
    const Case cases[] = {
        {"byte beyond its range", "05 'Small' 03 2C 01",
         "Error reading D.Small: Invalid property value"},
        {"unknown enumeration value", "04 'Kind' 07 02 'dk'",
         "Error reading D.Kind: Invalid property value"},
        {"Boolean as integer", "04 'Flag' 02 01", "Error reading D.Flag: Invalid property value"},
        {"unknown set member", "07 'Options' 0B 02 'do' 00",
         "Error reading D.Options: Invalid property value"},
        {"unknown colour name", "05 'Color' 07 05 'clRex'",
         "Error reading D.Color: Invalid property value"},
        {"text from integer", "04 'Text' 02 01", "Error reading D.Text: Invalid property value"},
        {"collection from integer", "05 'Items' 02 01",
         "Error reading D.Items: Invalid property value"},
        {"reference from string", "05 'Buddy' 06 01 'x'",
         "Error reading D.Buddy: Invalid property value"},
        {"path through an integer", "05 'Int.X' 02 01",
         "Error reading D.Int.X: Invalid property path"},
        {"path through nothing", "06 'Nope.X' 02 01",
         "Error reading D.Nope.X: Property Nope does not exist"},
        {"unknown in an object", "06 'Font.X' 02 01",
         "Error reading D.Font.X: Property X does not exist"},
        {"binary from integer", "04 'Blob' 02 01", "Error reading D.Blob: Invalid property value"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadError(Bytes({kRoot, c.property, "00 00"})), c.message);
        // Offered to OnError, the bad value is skipped and the rest is read.
        TMemoryStream s = Bytes({kRoot, c.property, "03 'Int' 02 09 00 00"});
        std::unique_ptr<TDemo> d =
            Read(s, [](TReader &, const UnicodeString &, bool &handled) { handled = true; });
        EXPECT_EQ(d->GetInt(), 9);
    }
}

TEST_F(StreamingComponents, ReferencesResolveOnceTheWholeStreamIsRead) {
    // Kid A refers to B, which comes later; an item refers to A; "Ghost" is nowhere.
    TMemoryStream s =
        Bytes({kRoot, "05 'Buddy' 07 05 'Ghost' ", "05 'Items' 0E 01 04 'Link' 07 01 'A' 00 00 00 ",
               "05 'TDemo' 01 'A' 05 'Buddy' 07 01 'B' 00 00 ", "05 'TDemo' 01 'B' 00 00 00"});
    std::unique_ptr<TDemo> d = Read(s);
    EXPECT_EQ(d->GetBuddy(), nullptr);
    EXPECT_EQ(Kid(*d, 0).GetBuddy(), &Kid(*d, 1));
    EXPECT_EQ(Item(d->GetItems(), 0).GetLink(), &Kid(*d, 0));
}

TEST_F(StreamingComponents, LoadedRunsOnceForEveryComponentAfterAllIsRead) {
    TMemoryStream s =
        Bytes({kRoot, "04 'Text' 06 01 'r' 00 ", "05 'TDemo' 01 'A' 04 'Text' 06 01 'a' 00 ",
               "05 'TDemo' 02 'A1' 00 00 00 ", "05 'TDemo' 01 'B' 00 00 00"});
    std::unique_ptr<TDemo> d = Read(s);
    EXPECT_EQ(LoadedLog(), (std::vector<UnicodeString>{u"D", u"A", u"A1", u"B"}));
    EXPECT_TRUE(d->FLoadingWhenTextSet);
    EXPECT_TRUE(Kid(*d, 0).FLoadingWhenTextSet);
    EXPECT_FALSE(d->GetComponentState().Contains(csLoading));
    EXPECT_FALSE(Kid(Kid(*d, 0), 0).GetComponentState().Contains(csLoading));
}

TEST_F(StreamingComponents, ReadingIntoAGivenRootKeepsItAndNamesIt) {
    TDemo root(nullptr);
    TMemoryStream s = Bytes({"54 50 46 30 09 'TAnything' 05 'Named' 03 'Int' 02 04 00 00"});
    TReader(s).ReadRootComponent(root);
    EXPECT_EQ(root.GetName(), u"Named");
    EXPECT_EQ(root.GetInt(), 4);
}

TEST_F(StreamingComponents, CollectionIsReplacedUnlessTheStoredOneIsEmpty) {
    TDemo d(nullptr);
    static_cast<TDemoItem *>(d.GetItems().Add())->SetValue(1);
    static_cast<TDemoItem *>(d.GetItems().Add())->SetValue(2);
    // An item may carry its stored order as an integer first.
    TMemoryStream one = Bytes({kRoot, "05 'Items' 0E 02 05 01 05 'Value' 02 08 00 00 00 00"});
    TReader(one).ReadRootComponent(d);
    ASSERT_EQ(d.GetItems().GetCount(), 1);
    EXPECT_EQ(Item(d.GetItems(), 0).GetValue(), 8);
    TMemoryStream none = Bytes({kRoot, "05 'Items' 0E 00 00 00"});
    TReader(none).ReadRootComponent(d);
    EXPECT_EQ(d.GetItems().GetCount(), 1);
}

// A collection written on its own (as the document format stores style collections) starts
// with its tag; the reader is handed the items after it.
TEST_F(StreamingComponents, CollectionAloneStartsWithItsTag) {
    rtl::TCollection items(TDemoItem::StaticClassInfo());
    static_cast<TDemoItem *>(items.Add())->SetValue(5);
    TMemoryStream s;
    TWriter(s).WriteCollection(items);
    EXPECT_EQ(Hex(s), "0E 01 05 56 61 6C 75 65 02 05 00 00");
    s.SetPosition(0);
    rtl::TCollection back(TDemoItem::StaticClassInfo());
    TReader reader(s);
    ASSERT_EQ(reader.ReadValue(), vaCollection);
    reader.ReadCollection(back);
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(Item(back, 0).GetValue(), 5);
}

// The items of a list that is not a TCollection (a library's own collection class) are stored
// in the same form; reading replaces the items the list had.
TEST_F(StreamingComponents, StreamedItemsAreStoredAsACollection) {
    class TList final : public TStreamedItems {
    public:
        int32_t GetStreamedCount() const override { return int32_t(Items.size()); }
        TPersistent &GetStreamedItem(int32_t index) const override { return *Items[size_t(index)]; }
        TPersistent &AddStreamedItem() override {
            return *Items.emplace_back(std::make_unique<TDemoItem>(nullptr));
        }
        void ClearStreamedItems() override { Items.clear(); }
        void BeginStreamedUpdate() override { ++Updates; }
        void EndStreamedUpdate() override { --Updates; }
        std::vector<std::unique_ptr<TDemoItem>> Items;
        int Updates = 0;
    };
    TList list;
    static_cast<TDemoItem &>(list.AddStreamedItem()).SetValue(5);
    TMemoryStream s;
    TWriter(s).WriteCollection(list);
    EXPECT_EQ(Hex(s), "0E 01 05 56 61 6C 75 65 02 05 00 00");
    s.SetPosition(0);
    TList back;
    back.AddStreamedItem();
    back.AddStreamedItem();
    TReader reader(s);
    ASSERT_EQ(reader.ReadValue(), vaCollection);
    reader.ReadCollection(back);
    ASSERT_EQ(back.Items.size(), 1u);
    EXPECT_EQ(back.Items[0]->GetValue(), 5);
    EXPECT_EQ(back.Updates, 0);
}

// A stream naming the same collection twice frees the first reading's items: references read
// into them must not be resolved into freed memory (run under the address sanitizer).
TEST_F(StreamingComponents, CollectionReadTwiceDropsReferencesOfItsOldItems) {
    TMemoryStream s =
        Bytes({kRoot, "05 'Items' 0E 01 04 'Link' 07 01 'A' 00 00 ",
               "05 'Items' 0E 01 05 'Value' 02 02 00 00 00 ", "05 'TDemo' 01 'A' 00 00 00"});
    std::unique_ptr<TDemo> d = Read(s);
    ASSERT_EQ(d->GetItems().GetCount(), 1);
    EXPECT_EQ(Item(d->GetItems(), 0).GetLink(), nullptr);
    EXPECT_EQ(Item(d->GetItems(), 0).GetValue(), 2);
}

TEST_F(StreamingComponents, MalformedComponentStreamsFailWithTheirMessage) {
    struct Case {
        const char *what;
        TMemoryStream stream;
        const char *message;
    };
    std::string deep = kRoot + " 00";
    for (int i = 0; i < 200; ++i) {
        deep += " 05 54 44 65 6D 6F 00 00";
    }
    Case cases[] = {
        {"signature", Bytes({"54 50 46 31 05 'TDemo' 00 00 00"}), "Invalid stream format"},
        {"short signature", Bytes({"54 50"}), "Invalid stream format"},
        {"unknown class", Bytes({kRoot, "00 05 'TNope' 00 00 00 00"}), "Class TNope not found"},
        {"duplicate name", Bytes({kRoot, "00 05 'TDemo' 01 'A' 00 00 05 'TDemo' 01 'a' 00 00 00"}),
         "A component named a already exists"},
        {"invalid name", Bytes({kRoot, "00 05 'TDemo' 02 '1x' 00 00 00"}),
         "'1x' is not a valid component name"},
        {"nesting", Bytes({deep}), "Invalid stream format"},
        {"inherited without ancestor", Bytes({kRoot, "00 F1 05 'TDemo' 01 'Z' 00 00 00"}),
         "Ancestor for 'Z' not found"},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadError(std::move(c.stream)), c.message);
    }
}

// Every cut of a valid stream fails with a stream error (nothing read beyond the end, nothing
// left half-made: the sanitizer build checks both).
TEST_F(StreamingComponents, EveryTruncationFailsCleanly) {
    TDemo root(nullptr);
    root.SetName(u"Form1");
    root.SetText(u"caf\u00e9");
    root.Blob = {1, 2, 3};
    root.RawTypes = {vaExtended, vaCollection, vaWString, vaSet};
    static_cast<TDemoItem *>(root.GetItems().Add())->SetValue(300);
    (new TDemo(new TDemo(&root)))->SetKind(dkSecond);
    TMemoryStream whole = Write(root);
    for (int64_t cut = 0; cut < whole.GetSize(); ++cut) {
        SCOPED_TRACE(cut);
        TMemoryStream part;
        part.Write(whole.GetMemory(), int32_t(cut));
        part.SetPosition(0);
        EXPECT_THROW(Read(part), EFilerError);
    }
}

TEST_F(StreamingComponents, ChildThatFailsIsFreedAndTheOthersLeaveLoading) {
    TDemo root(nullptr);
    TMemoryStream s = Bytes({"54 50 46 30 05 'TDemo' 01 'R' 00 ", "05 'TDemo' 01 'A' 00 00 ",
                             "05 'TDemo' 01 'B' 04 'Kind' 02 01 00 00 00"});
    EXPECT_THROW(TReader(s).ReadRootComponent(root), EReadError);
    ASSERT_EQ(root.GetComponentCount(), 1);
    EXPECT_EQ(root.GetComponent(0)->GetName(), u"A");
    EXPECT_FALSE(root.GetComponent(0)->GetComponentState().Contains(csLoading));
    EXPECT_FALSE(root.GetComponentState().Contains(csLoading));
    EXPECT_TRUE(LoadedLog().empty());
}

// A component of a class that declared no table of its own would be stored under its
// ancestor's name, and read back as that ancestor: it is refused.
TEST_F(StreamingComponents, ComponentOfAClassWithoutItsOwnTableIsNotWritten) {
    struct TUndeclared : TDemo {
        using TDemo::TDemo;
    };
    TDemo root(nullptr);
    new TUndeclared(&root);
    TMemoryStream s;
    EXPECT_THROW(TWriter(s).WriteRootComponent(root), EWriteError);
}

TEST_F(StreamingComponents, ComponentWithoutOwnerIsTheCallers) {
    TMemoryStream s = Bytes({"05 'TDemo' 01 'Q' 03 'Int' 02 02 00 00"});
    std::unique_ptr<TComponent> c(TReader(s).ReadComponent(nullptr));
    EXPECT_EQ(c->GetName(), u"Q");
    EXPECT_EQ(static_cast<TDemo &>(*c).GetInt(), 2);
}
