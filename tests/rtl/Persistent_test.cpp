// Persistent objects, collections, published-property tables and the registry of classes.
#include "platform/rtl/Persistent.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TypInfo.h"
#include "tests/rtl/StreamingDemo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace rtl;
using namespace demo;

namespace {

// A collection that records what it is told.
struct TRecordingCollection : TCollection {
    TRecordingCollection() : TCollection(TDemoItem::StaticClassInfo()) {}
    std::vector<const TCollectionItem *> updates;

protected:
    void Update(TCollectionItem *item) override { updates.push_back(item); }
};

std::vector<int32_t> Values(const TCollection &c) {
    std::vector<int32_t> v;
    for (int32_t i = 0; i < c.GetCount(); ++i) {
        v.push_back(static_cast<TDemoItem *>(c.GetItem(i))->GetValue());
    }
    return v;
}

TDemoItem &AddValue(TCollection &c, int32_t value) {
    auto &item = static_cast<TDemoItem &>(*c.Add());
    item.SetValue(value);
    return item;
}

} // namespace

TEST(Collection, ItemsAreAddedInsertedMovedAndDeleted) {
    TCollection c(TDemoItem::StaticClassInfo());
    for (int32_t v : {1, 2, 3}) {
        AddValue(c, v);
    }
    static_cast<TDemoItem *>(c.Insert(0))->SetValue(0);
    EXPECT_EQ(Values(c), (std::vector<int32_t>{0, 1, 2, 3}));
    c.GetItem(3)->SetIndex(1);
    EXPECT_EQ(Values(c), (std::vector<int32_t>{0, 3, 1, 2}));
    EXPECT_EQ(c.GetItem(1)->GetIndex(), 1);
    c.Delete(0);
    EXPECT_EQ(Values(c), (std::vector<int32_t>{3, 1, 2}));
    // IDs are given once and never again.
    EXPECT_EQ(c.GetItem(0)->GetID(), 2);
    EXPECT_EQ(c.FindItemID(2), c.GetItem(0));
    EXPECT_EQ(c.FindItemID(3), nullptr);
    // An item destroyed by someone else leaves the collection.
    std::unique_ptr<TCollectionItem> taken(c.GetItem(1));
    taken.reset();
    EXPECT_EQ(Values(c), (std::vector<int32_t>{3, 2}));

    struct Case {
        const char *message;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"List index out of bounds (2)", [&] { c.GetItem(2); }},
        {"List index out of bounds (-1)", [&] { c.Delete(-1); }},
        {"List index out of bounds (3)", [&] { c.Insert(3); }},
        {"List index out of bounds (5)", [&] { c.GetItem(0)->SetIndex(5); }},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.message);
        try {
            k.call();
            ADD_FAILURE() << "no error";
        } catch (const EListError &e) {
            EXPECT_STREQ(e.what(), k.message);
        }
    }
    EXPECT_EQ(Values(c), (std::vector<int32_t>{3, 2}));
}

TEST(Collection, ChangesAreToldOnceAfterAnUpdate) {
    TRecordingCollection c;
    TDemoItem &first = AddValue(c, 1);
    EXPECT_EQ(c.updates, std::vector<const TCollectionItem *>{nullptr});
    c.BeginUpdate();
    AddValue(c, 2);
    c.Delete(0);
    c.EndUpdate();
    EXPECT_EQ(c.updates.size(), 2u);
    (void)first;
}

TEST(Collection, AssignCopiesItemsOfAnotherCollectionOnly) {
    TCollection from(TDemoItem::StaticClassInfo());
    AddValue(from, 5).SetText(u"five");
    AddValue(from, 6);
    TCollection to(TDemoItem::StaticClassInfo());
    AddValue(to, 9);
    // Items that cannot assign themselves refuse with the class library's message.
    EXPECT_THROW(to.Assign(from), EConvertError);
    TDemoFont font;
    try {
        to.Assign(font);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TDemoFont to a TCollection");
    }
}

TEST(ClassInfo, PropertiesComeAncestorsFirstInDeclarationOrder) {
    const TClassInfo &info = TDemo::StaticClassInfo();
    const std::vector<const TPropInfo *> all = info.AllProperties();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0]->Name, "Tag"); // TComponent's
    EXPECT_EQ(all[1]->Name, "Int");
    EXPECT_EQ(all.back()->Name, "Buddy");
    EXPECT_EQ(info.FindProperty("FONT"), info.FindProperty("Font"));
    EXPECT_EQ(info.FindProperty("Fon"), nullptr);
    EXPECT_TRUE(info.InheritsFrom(TComponent::StaticClassInfo()));
    EXPECT_FALSE(TComponent::StaticClassInfo().InheritsFrom(info));
    EXPECT_EQ(info.FindProperty("Small")->MaxValue, 255);
    EXPECT_EQ(info.FindProperty("Big")->Kind, tkInt64);
}

TEST(ClassInfo, RegistryFindsClassesByNameAndRefusesASecondOfTheSameName) {
    RegisterDemoClasses();
    RegisterDemoClasses(); // the same ones again: nothing happens
    EXPECT_EQ(GetClass("tdemo"), &TDemo::StaticClassInfo());
    EXPECT_EQ(GetClass("TNothing"), nullptr);
    try {
        FindClass("TNothing");
        ADD_FAILURE() << "no error";
    } catch (const EClassNotFound &e) {
        EXPECT_STREQ(e.what(), "Class TNothing not found");
    }
    const TClassInfo impostor = TClassBuilder<TDemo>("TDemo", nullptr).Build();
    try {
        RegisterClass(impostor);
        ADD_FAILURE() << "no error";
    } catch (const EFilerError &e) {
        EXPECT_STREQ(e.what(), "A class named TDemo already exists");
    }
    EXPECT_EQ(GetClass("TDemo"), &TDemo::StaticClassInfo());
}
