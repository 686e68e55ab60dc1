// Collections: items made by the collection's factory, their places, moves, deletion order,
// assignment, and the class library's errors.
#include "vizivodu/styles/VDCollection.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace vizivodu;
using rtl::EConvertError;
using rtl::EListError;
using rtl::Integer;

namespace {

// An item with a value; its destructor notes the items still in the collection.
class TValueItem : public TVDCollectionItem {
public:
    explicit TValueItem(TVDCollection *collection, std::vector<std::string> *log = nullptr)
        : TVDCollectionItem(collection), FLog(log) {}
    ~TValueItem() override {
        if (FLog) {
            FLog->push_back(std::to_string(Value) + " sees " +
                            std::to_string(GetCollection()->GetCount()));
        }
    }
    void Assign(const rtl::TPersistent &source) override {
        if (const auto *item = dynamic_cast<const TValueItem *>(&source)) {
            Value = item->Value;
            return;
        }
        TVDCollectionItem::Assign(source);
    }
    int Value = 0;

private:
    std::vector<std::string> *FLog;
};

class TOtherItem : public TVDCollectionItem {
public:
    using TVDCollectionItem::TVDCollectionItem;
};

TVDCollection MakeCollection(std::vector<std::string> *log = nullptr) {
    return TVDCollection([log](TVDCollection *c) { return std::make_unique<TValueItem>(c, log); });
}

std::vector<int> Values(const TVDCollection &c) {
    std::vector<int> values;
    for (Integer i = 0; i < c.GetCount(); ++i) {
        values.push_back(static_cast<TValueItem *>(c.GetItem(i))->Value);
    }
    return values;
}

TValueItem &AddValue(TVDCollection &c, int value) {
    auto &item = static_cast<TValueItem &>(*c.Add());
    item.Value = value;
    return item;
}

} // namespace

TEST(VDCollection, ItemsKnowTheirCollectionAndPlace) {
    TVDCollection c = MakeCollection();
    TValueItem &a = AddValue(c, 1);
    TValueItem &b = AddValue(c, 2);
    auto &first = static_cast<TValueItem &>(*c.Insert(0));
    first.Value = 0;
    EXPECT_EQ(Values(c), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(a.GetCollection(), &c);
    EXPECT_EQ(a.GetIndex(), 1);
    b.SetIndex(0);
    EXPECT_EQ(Values(c), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(c.IndexOf(&b), 0);
    TValueItem loose(nullptr);
    EXPECT_EQ(loose.GetIndex(), -1);
    EXPECT_EQ(c.IndexOf(&loose), -1);
}

TEST(VDCollection, ItemsLeaveBeforeTheyAreFreedLastFirst) {
    std::vector<std::string> log;
    {
        TVDCollection c = MakeCollection(&log);
        for (int v : {1, 2, 3, 4}) {
            AddValue(c, v);
        }
        c.Delete(1);
        EXPECT_EQ(log, (std::vector<std::string>{"2 sees 3"}));
        c.Clear();
        EXPECT_EQ(log, (std::vector<std::string>{"2 sees 3", "4 sees 2", "3 sees 1", "1 sees 0"}));
        AddValue(c, 9);
    }
    EXPECT_EQ(log.back(), "9 sees 0");
}

TEST(VDCollection, AssignCopiesIntoItemsOfItsOwnClass) {
    TVDCollection source = MakeCollection();
    AddValue(source, 5);
    AddValue(source, 6);
    TVDCollection target = MakeCollection();
    AddValue(target, 1);
    target.Assign(source);
    EXPECT_EQ(Values(target), (std::vector<int>{5, 6}));
    target.Assign(target);
    EXPECT_EQ(Values(target), (std::vector<int>{5, 6}));
    EXPECT_EQ(target.GetUpdateCount(), 0);
}

TEST(VDCollection, ErrorsOfTheClassLibrary) {
    TVDCollection c = MakeCollection();
    AddValue(c, 1);
    try {
        c.GetItem(1);
        FAIL();
    } catch (const EListError &e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    EXPECT_THROW(c.Insert(3), EListError);
    EXPECT_THROW(c.Delete(-1), EListError);
    EXPECT_THROW(c.GetItem(0)->SetIndex(4), EListError);
    TOtherItem other(nullptr);
    try {
        c.GetItem(0)->Assign(other);
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TOtherItem to a TValueItem");
    }
    c.BeginUpdate();
    c.BeginUpdate();
    EXPECT_EQ(c.GetUpdateCount(), 2);
    c.EndUpdate();
    c.EndUpdate();
    c.EndUpdate();
    EXPECT_EQ(c.GetUpdateCount(), 0);
}
