// The rectangle list and the pointer map.
#include "raster/Raster_Containers.h"
#include "raster/Raster_OrdinalMaps.h"

#include <gtest/gtest.h>

#include <vector>

using namespace raster;

TEST(RectList, CapacityGrowsInSteps) {
    TRectList l;
    std::vector<int32_t> caps;
    for (int i = 0; i < 150; ++i) {
        const int32_t before = l.GetCapacity();
        l.Add({i, 0, i + 1, 1});
        if (l.GetCapacity() != before) {
            caps.push_back(l.GetCapacity());
        }
    }
    EXPECT_EQ(caps, (std::vector<int32_t>{8, 16, 48, 80, 112, 144, 180}));
}

TEST(RectList, OutOfRangeGetIsNil) {
    TRectList l;
    l.Add({1, 2, 3, 4});
    EXPECT_EQ(l.Get(-1), nullptr);
    EXPECT_EQ(l.Get(1), nullptr);
    EXPECT_EQ(*l.Get(0), (TRect{1, 2, 3, 4}));
}

TEST(RectList, InsertMoveRemove) {
    TRectList l;
    l.Add({0, 0, 1, 1});
    l.Add({1, 1, 2, 2});
    l.Insert(0, {5, 5, 6, 6});
    EXPECT_EQ(l.IndexOf({0, 0, 1, 1}), 1);
    l.Move(0, 2);
    EXPECT_EQ(*l.Get(2), (TRect{5, 5, 6, 6}));
    EXPECT_EQ(l.Remove({0, 0, 1, 1}), 0);
    EXPECT_EQ(l.GetCount(), 2);
    l.SetCount(4);
    EXPECT_EQ(*l.Get(3), (TRect{}));
    l.Clear();
    EXPECT_EQ(l.GetCount(), 0);
    EXPECT_EQ(l.GetCapacity(), 10);
}

#if defined(WB_ASSERTIONS)
// Delete, Exchange, Insert and Move leave range checks to their callers; where contracts are
// checked, an index outside the list stops the program instead of moving memory past the list.
TEST(RectListDeathTest, IndexesOutsideTheListBreakTheContract) {
    TRectList list;
    list.Add({0, 0, 1, 1});
    EXPECT_DEATH(list.Delete(1), "index inside 0 .. Count - 1");
    EXPECT_DEATH(list.Exchange(0, -1), "indexes inside 0 .. Count - 1");
    EXPECT_DEATH(list.Insert(2, {}), "insertion index inside 0 .. Count");
    EXPECT_DEATH(list.Move(0, 1), "indexes inside 0 .. Count - 1");
}
#endif

namespace {
void *At(uintptr_t address) {
    return reinterpret_cast<void *>(address);
}
} // namespace

TEST(PointerMap, KeysDifferingInLowBitsShareABucket) {
    TPointerMap m;
    *m.Add(At(0x1000)) = At(1);
    *m.Add(At(0x10FF)) = At(2);
    EXPECT_EQ(m.GetData(At(0x1000)), At(1));
    EXPECT_EQ(m.GetData(At(0x10FF)), At(2));
    EXPECT_EQ(m.GetCount(), 2);
}

TEST(PointerMap, AddingAnExistingKeyKeepsItsData) {
    TPointerMap m;
    m.Add(At(0x2000), At(7));
    bool isNew = true;
    TPointerMap::PPData d = m.Add(At(0x2000), At(9), isNew);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(*d, At(7));
    EXPECT_EQ(m.GetCount(), 1);
}

TEST(PointerMap, AbsentKeyRaisesListError) {
    TPointerMap m;
    EXPECT_THROW(m.GetData(At(0x300)), rtl::EListError);
    EXPECT_THROW(m.SetData(At(0x300), nullptr), rtl::EListError);
    EXPECT_EQ(m.Remove(At(0x300)), nullptr);
}

TEST(PointerMap, IteratorVisitsBucketsInOrderAndItemsBackwards) {
    TPointerMap m;
    m.Add(At(0xFF00), At(1));
    m.Add(At(0x0300), At(2));
    m.Add(At(0xFF10), At(3));
    TPointerMapIterator it(m);
    std::vector<void *> data;
    while (it.Next()) {
        data.push_back(it.GetData());
    }
    EXPECT_EQ(data, (std::vector<void *>{At(2), At(3), At(1)}));
}

TEST(PointerMap, RemoveReturnsTheData) {
    TPointerMap m;
    m.Add(At(0x4400), At(5));
    EXPECT_EQ(m.Remove(At(0x4400)), At(5));
    EXPECT_FALSE(m.Contains(At(0x4400)));
    EXPECT_EQ(m.GetCount(), 0);
}

TEST(IntegerMap, ResizeKeepsValuesInStorageOrder) {
    TIntegerMap m;
    m.SetSize(3, 2);
    for (int i = 0; i < 6; ++i) {
        m.Bits()[i] = i + 1;
    }
    m.SetSize(2, 3);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(m.Bits()[i], i + 1);
    }
    EXPECT_EQ(m.GetValue(1, 2), 6);
    m.Clear(-7);
    EXPECT_EQ(m.GetValue(0, 0), -7);
    m.SetSize(0, 5);
    EXPECT_EQ(m.Bits(), nullptr);
    EXPECT_TRUE(m.Empty());
}

namespace {
struct TClassEntry {
    std::string ClassName;
    int Tag;
};
} // namespace

TEST(ClassList, ExtractTakesTheEntryOutAndAnswersNothingForAnAbsentName) {
    TClassList<TClassEntry> list;
    list.Add({"TBitmap32", 1});
    list.Add({"TLayer", 2});
    list.Add({"TBitmap32", 3});
    const std::optional<TClassEntry> taken = list.Extract("TBitmap32");
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->Tag, 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.First().Tag, 2);
    EXPECT_FALSE(list.Extract("TMissing").has_value());
    EXPECT_EQ(list.Count(), 2);
}
