// The dictionary, the generic list, the integer list and the owning object list.
#include "platform/rtl/Containers.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace rtl;

namespace {

template <class E, class F> UnicodeString ErrorMessage(F f) {
    try {
        f();
    } catch (const E &e) {
        return e.Message();
    }
    return u"<no exception>";
}

// Records how often each instance is destroyed, and in which order.
struct TCounted {
    explicit TCounted(int id, std::vector<int> &log) : Id(id), Log(log) {}
    ~TCounted() { Log.push_back(Id); }
    int Id;
    std::vector<int> &Log;
};

std::unique_ptr<TCounted> Make(int id, std::vector<int> &log) {
    return std::make_unique<TCounted>(id, log);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TDictionary

TEST(Dictionary, AddRefusesAnExistingKeyAndKeepsItsValue) {
    TDictionary<UnicodeString, Integer> d;
    d.Add(u"ECG0001", 1);
    EXPECT_EQ(ErrorMessage<EListError>([&] { d.Add(u"ECG0001", 2); }), u"Duplicates not allowed");
    EXPECT_EQ(d[u"ECG0001"], 1);
    EXPECT_EQ(d.GetCount(), 1);
}

TEST(Dictionary, MissingKeysRaiseItemNotFoundOnReadAndWrite) {
    TDictionary<Integer, UnicodeString> d;
    d.Add(1, u"title");
    const auto &cd = d;
    EXPECT_EQ(ErrorMessage<EListError>([&] { (void)d[2]; }), u"Item not found");
    EXPECT_EQ(ErrorMessage<EListError>([&] { (void)cd[2]; }), u"Item not found");
    EXPECT_EQ(ErrorMessage<EListError>([&] { (void)d.GetItem(0); }), u"Item not found");
    EXPECT_EQ(ErrorMessage<EListError>([&] { d.SetItem(2, u"x"); }), u"Item not found");
    EXPECT_FALSE(d.ContainsKey(2));
    d.SetItem(1, u"new");
    d[1] += u"er";
    EXPECT_EQ(d.GetItem(1), u"newer");
}

TEST(Dictionary, LookupRemoveAndAddOrSetValue) {
    TDictionary<Integer, UnicodeString> d;
    d.AddOrSetValue(2, u"b");
    d.AddOrSetValue(1, u"a");
    d.AddOrSetValue(2, u"B");
    UnicodeString value = u"untouched";
    EXPECT_TRUE(d.TryGetValue(2, value));
    EXPECT_EQ(value, u"B");
    EXPECT_FALSE(d.TryGetValue(3, value));
    EXPECT_EQ(value, u"B");
    ASSERT_NE(d.Find(1), nullptr);
    EXPECT_EQ(*d.Find(1), u"a");
    EXPECT_EQ(d.Find(3), nullptr);
    d.Remove(3); // absent: nothing happens
    d.Remove(1);
    EXPECT_FALSE(d.ContainsKey(1));
    EXPECT_EQ(d.GetCount(), 1);
    d.Clear();
    EXPECT_EQ(d.GetCount(), 0);
}

TEST(Dictionary, IteratesInAscendingKeyOrder) {
    TDictionary<Integer, Integer> d;
    for (const Integer key : {30, 4, 17, 1, 28}) {
        d.Add(key, key * 10);
    }
    std::vector<Integer> keys;
    for (const auto &[key, value] : d) {
        EXPECT_EQ(value, key * 10);
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<Integer>{1, 4, 17, 28, 30}));
    EXPECT_EQ(d.GetKeys(), keys);
}

TEST(Dictionary, OwnsMoveOnlyValues) {
    std::vector<int> log;
    {
        TDictionary<UnicodeString, std::unique_ptr<TCounted>> d;
        d.Add(u"a", Make(1, log));
        d.Add(u"b", Make(2, log));
        EXPECT_THROW(d.Add(u"a", Make(3, log)), EListError);
        EXPECT_EQ(log, std::vector<int>{3}); // the refused value is freed, the kept one is not
        EXPECT_EQ(d[u"a"]->Id, 1);
        d.AddOrSetValue(u"b", Make(4, log));
        EXPECT_EQ(log, (std::vector<int>{3, 2}));
        d.Remove(u"a");
        EXPECT_EQ(log, (std::vector<int>{3, 2, 1}));
    }
    EXPECT_EQ(log, (std::vector<int>{3, 2, 1, 4}));
}

TEST(Dictionary, CodeListsPerEcgName) {
    TDictionary<UnicodeString, TList<Integer>> db;
    TList<Integer> codes;
    codes.Add(1);
    codes.Add(16);
    db.Add(u"ECG0001", codes);
    db[u"ECG0001"].Add(28);
    EXPECT_EQ(db[u"ECG0001"].GetCount(), 3);
    EXPECT_TRUE(db[u"ECG0001"].Contains(16));
    EXPECT_EQ(codes.GetCount(), 2); // the dictionary holds its own copy
}

// ---------------------------------------------------------------------------------------------
// TIntegerList and TList<T>

TEST(IntegerList, IndexErrorsNameTheBadIndex) {
    TIntegerList list;
    list.Add(5);
    list.Add(7);
    struct Case {
        const char *what;
        std::function<void()> call;
        const char16_t *message;
    } cases[] = {
        {"Get(2)", [&] { (void)list.Get(2); }, u"List index out of bounds (2)"},
        {"Get(-1)", [&] { (void)list.Get(-1); }, u"List index out of bounds (-1)"},
        {"[5]", [&] { (void)list[5]; }, u"List index out of bounds (5)"},
        {"Put(2)", [&] { list.Put(2, 0); }, u"List index out of bounds (2)"},
        {"Delete(2)", [&] { list.Delete(2); }, u"List index out of bounds (2)"},
        {"Insert(3)", [&] { list.Insert(3, 0); }, u"List index out of bounds (3)"},
        {"Insert(-1)", [&] { list.Insert(-1, 0); }, u"List index out of bounds (-1)"},
        {"Exchange(0, 9)", [&] { list.Exchange(0, 9); }, u"List index out of bounds (9)"},
        {"Move(2, 0)", [&] { list.Move(2, 0); }, u"List index out of bounds (2)"},
        {"SetCapacity(1)", [&] { list.SetCapacity(1); }, u"List capacity out of bounds (1)"},
        {"SetCount(-1)", [&] { list.SetCount(-1); }, u"List count out of bounds (-1)"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ErrorMessage<EListError>(c.call), c.message) << c.what;
    }
    EXPECT_EQ(list.GetCount(), 2); // nothing changed
    EXPECT_EQ(list[0], 5);
    EXPECT_EQ(list[1], 7);

    TIntegerList empty;
    EXPECT_EQ(ErrorMessage<EListError>([&] { (void)empty.First(); }),
              u"List index out of bounds (0)");
    EXPECT_EQ(ErrorMessage<EListError>([&] { (void)empty.Last(); }),
              u"List index out of bounds (-1)");
}

TEST(IntegerList, EditingIndexOfAndSort) {
    TIntegerList list;
    EXPECT_EQ(list.Add(30), 0);
    EXPECT_EQ(list.Add(4), 1);
    list.Insert(0, 17);
    list.Insert(3, 4); // at Count: appends
    EXPECT_EQ(list.IndexOf(4), 2);
    EXPECT_EQ(list.IndexOf(99), -1);
    list.Put(0, 1);
    list.Exchange(0, 3);
    list.Move(1, 3); // 4 30 4 1 -> 4 4 1 30
    EXPECT_EQ(std::vector<Integer>(list.begin(), list.end()), (std::vector<Integer>{4, 4, 1, 30}));
    list.Move(3, 0); // -> 30 4 4 1
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(std::vector<Integer>(list.begin(), list.end()), (std::vector<Integer>{30, 4, 4, 1}));
    list.Sort();
    EXPECT_EQ(std::vector<Integer>(list.begin(), list.end()), (std::vector<Integer>{1, 4, 4, 30}));
    EXPECT_EQ(list.Remove(4), 1);
    EXPECT_EQ(list.Remove(99), -1);
    list.Delete(0);
    EXPECT_EQ(list.First(), 4);
    EXPECT_EQ(list.Last(), 30);
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.IndexOf(4), -1);
}

TEST(IntegerList, CapacityAndCount) {
    TIntegerList list;
    list.SetCapacity(100);
    EXPECT_EQ(list.GetCapacity(), 100);
    list.Add(1);
    list.SetCapacity(1);
    EXPECT_EQ(list.GetCapacity(), 1);
    EXPECT_EQ(list[0], 1);
    list.SetCount(3);
    EXPECT_EQ(std::vector<Integer>(list.begin(), list.end()), (std::vector<Integer>{1, 0, 0}));
}

TEST(GenericList, GenericIndexErrorsAreArgumentOutOfRange) {
    TList<UnicodeString> list;
    list.Add(u"a");
    EXPECT_EQ(ErrorMessage<EArgumentOutOfRangeException>([&] { (void)list[1]; }),
              u"Argument out of range");
    EXPECT_EQ(ErrorMessage<EArgumentOutOfRangeException>([&] { list.Insert(2, u"x"); }),
              u"Argument out of range");
    EXPECT_EQ(ErrorMessage<EArgumentOutOfRangeException>([&] { list.Delete(-1); }),
              u"Argument out of range");
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(GenericList, SortWithACompareFunctionKeepsEqualItemsInOrder) {
    TList<std::pair<Integer, char>> list;
    for (const auto &item : {std::pair{2, 'a'}, {1, 'b'}, {2, 'c'}, {1, 'd'}}) {
        list.Add(item);
    }
    list.Sort([](const auto &a, const auto &b) { return a.first - b.first; });
    std::string order;
    for (const auto &item : list) {
        order += item.second;
    }
    EXPECT_EQ(order, "bdac");
}

// ---------------------------------------------------------------------------------------------
// TObjectList

TEST(ObjectList, FreesEachObjectExactlyOnce) {
    std::vector<int> log;
    {
        TObjectList<TCounted> list;
        for (int id = 1; id <= 6; ++id) {
            list.Add(Make(id, log));
        }
        list.Delete(1); // frees 2
        EXPECT_EQ(log, std::vector<int>{2});
        EXPECT_EQ(list.Remove(list[0]), 0); // frees 1
        list.Put(0, Make(7, log));          // frees 3, the object it replaces
        EXPECT_EQ(log, (std::vector<int>{2, 1, 3}));
        std::unique_ptr<TCounted> taken = list.Extract(list[1]); // 4, not freed
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->Id, 4);
        std::unique_ptr<TCounted> takenAt = list.ExtractAt(1); // 5, not freed
        EXPECT_EQ(takenAt->Id, 5);
        EXPECT_EQ(log, (std::vector<int>{2, 1, 3}));
        EXPECT_EQ(list.GetCount(), 2); // 7 6
    }
    // The extracted objects died with their new owners, then the list freed 7 and 6 in index
    // order.
    EXPECT_EQ(log, (std::vector<int>{2, 1, 3, 5, 4, 7, 6}));
}

TEST(ObjectList, ClearFreesFromIndexZeroUpwards) {
    std::vector<int> log;
    TObjectList<TCounted> list;
    for (int id = 1; id <= 3; ++id) {
        list.Add(Make(id, log));
    }
    list.Clear();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.GetCount(), 0);
    list.Add(Make(4, log));
    TObjectList<TCounted> moved = std::move(list);
    EXPECT_EQ(log.size(), 3u); // moving hands over ownership, it frees nothing
    moved.Clear();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ObjectList, IndexErrorsAndAbsentObjects) {
    std::vector<int> log;
    TObjectList<TCounted> list;
    list.Add(Make(1, log));
    EXPECT_EQ(ErrorMessage<EListError>([&] { (void)list[1]; }), u"List index out of bounds (1)");
    EXPECT_EQ(ErrorMessage<EListError>([&] { list.Delete(-1); }), u"List index out of bounds (-1)");
    EXPECT_EQ(ErrorMessage<EListError>([&] { list.Insert(2, Make(2, log)); }),
              u"List index out of bounds (2)");
    EXPECT_EQ(ErrorMessage<EListError>([&] { (void)list.ExtractAt(1); }),
              u"List index out of bounds (1)");
    EXPECT_EQ(log, std::vector<int>{2}); // the refused object was freed by its owner
    const TCounted stranger(9, log);
    EXPECT_EQ(list.IndexOf(&stranger), -1);
    EXPECT_EQ(list.Remove(&stranger), -1);
    EXPECT_EQ(list.Extract(&stranger), nullptr);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(log, std::vector<int>{2});
}

TEST(ObjectList, SortMoveAndBinaryFind) {
    std::vector<int> log;
    TObjectList<TCounted> list;
    for (const int id : {50, 10, 40, 20, 30}) {
        list.Add(Make(id, log));
    }
    list.Sort([](const TCounted *a, const TCounted *b) { return a->Id - b->Id; });
    const auto byId = [](const TCounted *entry, int id) { return entry->Id - id; };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list[i]->Id, (i + 1) * 10);
        EXPECT_EQ(list.Find((i + 1) * 10, byId), i);
    }
    EXPECT_EQ(list.Find(5, byId), -1);
    EXPECT_EQ(list.Find(35, byId), -1);
    EXPECT_EQ(list.Find(60, byId), -1);
    list.Move(4, 0);
    list.Exchange(1, 4);
    std::vector<int> ids;
    for (const auto &item : list) {
        ids.push_back(item->Id);
    }
    EXPECT_EQ(ids, (std::vector<int>{50, 40, 20, 30, 10}));
    EXPECT_TRUE(log.empty());
    TObjectList<TCounted> empty;
    EXPECT_EQ(empty.Find(1, byId), -1);
}
