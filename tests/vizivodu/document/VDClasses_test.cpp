// Basic lists, the memory stream, 8-bit conversions and the similarity scores.
#include "vizivodu/document/VDClasses.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace vizivodu;

namespace {

std::vector<rtl::Integer> Values(const TVDIntegerList &list) {
    return {list.begin(), list.end()};
}

TVDIntegerList ListOf(std::initializer_list<rtl::Integer> values) {
    TVDIntegerList list;
    for (rtl::Integer v : values) {
        list.Add(v);
    }
    return list;
}

struct TCounted {
    explicit TCounted(std::vector<int> &freed, int id) : Freed(freed), Id(id) {}
    ~TCounted() { Freed.push_back(Id); }
    std::vector<int> &Freed;
    int Id;
};

} // namespace

TEST(VDIntegerList, BuildsFillsAndMaps) {
    EXPECT_EQ(TVDIntegerList::CreateEx(0, 5).GetCount(), 0);
    EXPECT_EQ(Values(TVDIntegerList::CreateEx(3, -1)), (std::vector<rtl::Integer>{-1, -1, -1}));

    TVDIntegerList list = ListOf({4, 7, 4});
    EXPECT_EQ(list.AddUnique(4), 0);
    EXPECT_EQ(list.AddUnique(9), 3);
    EXPECT_EQ(Values(list), (std::vector<rtl::Integer>{4, 7, 4, 9}));

    EXPECT_TRUE(TVDIntegerList().IsIdentityMap());
    EXPECT_TRUE(TVDIntegerList().AreAllEqualTo(3));
    EXPECT_TRUE(ListOf({0, 1, 2}).IsIdentityMap());
    EXPECT_FALSE(ListOf({0, 2, 1}).IsIdentityMap());

    TVDIntegerList reverse = TVDIntegerList::CreateEx(3, 0);
    ListOf({2, 0, 1}).FillReverseMap(reverse);
    EXPECT_EQ(Values(reverse), (std::vector<rtl::Integer>{1, 2, 0}));

    list.Fill(8);
    EXPECT_TRUE(list.AreAllEqualTo(8));
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(Values(TVDIntegerList::CreateCopy(list)), Values(list));
}

TEST(VDIntegerList, IndexErrorsComeFromTheList) {
    TVDIntegerList small = TVDIntegerList::CreateEx(2, 0);
    EXPECT_THROW(ListOf({5}).FillReverseMap(small), rtl::EListError);
    try {
        small.Get(2);
        FAIL();
    } catch (const rtl::EListError &e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
}

TEST(VDIntegerList, StreamFormIsCountThenLittleEndianValues) {
    rtl::TMemoryStream stream;
    ListOf({7, -3}).SaveToStream(stream);
    const uint8_t expected[] = {2, 0, 0, 0, 7, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(stream.GetSize(), 12);
    EXPECT_EQ(std::memcmp(stream.GetMemory(), expected, 12), 0);

    stream.SetPosition(0);
    TVDIntegerList read = ListOf({1});
    read.LoadFromStream(stream);
    EXPECT_EQ(Values(read), (std::vector<rtl::Integer>{7, -3}));
}

TEST(VDIntegerList, ShortStreamRaisesTheReadErrorAndKeepsWhatWasRead) {
    rtl::TMemoryStream stream;
    // A count of a billion with one value behind it: nothing may be allocated for the count.
    const uint8_t bytes[] = {0x00, 0xCA, 0x9A, 0x3B, 5, 0, 0, 0};
    stream.WriteBuffer(bytes, sizeof bytes);
    stream.SetPosition(0);
    TVDIntegerList list;
    EXPECT_THROW(list.LoadFromStream(stream), rtl::EReadError);
    EXPECT_EQ(Values(list), (std::vector<rtl::Integer>{5}));
}

TEST(VDColorList, NeverStoresClNone) {
    TVDColorList colors;
    colors.AddUnique(gfx::clNone);
    colors.AddUnique(gfx::clRed);
    colors.AddUnique(gfx::clRed);
    EXPECT_EQ(Values(colors), (std::vector<rtl::Integer>{gfx::clRed}));
}

TEST(VDList, OwnsAndFreesFromTheFirst) {
    std::vector<int> freed;
    {
        TVDList<TCounted> list;
        for (int i = 0; i < 3; ++i) {
            list.Add(std::make_unique<TCounted>(freed, i));
        }
        std::unique_ptr<TCounted> kept = list.DeleteAsPointer(1);
        EXPECT_TRUE(freed.empty());
        list.Delete(0);
        EXPECT_EQ(freed, (std::vector<int>{0}));
        list.Add(std::make_unique<TCounted>(freed, 3));
        list.Clear();
        EXPECT_EQ(freed, (std::vector<int>{0, 2, 3}));
    }
    EXPECT_EQ(freed, (std::vector<int>{0, 2, 3, 1}));
}

TEST(VDList, FindsInASortedListAndSortsByAddress) {
    std::vector<int> freed;
    TVDList<TCounted> list;
    for (int id : {10, 20, 30, 40}) {
        list.Add(std::make_unique<TCounted>(freed, id));
    }
    auto byId = [](const TCounted *entry, int id) { return entry->Id - id; };
    EXPECT_EQ(list.Find(30, byId), 2);
    EXPECT_EQ(list.Find(25, byId), -1);
    list.SortPointers();
    for (rtl::Integer i = 1; i < list.GetCount(); ++i) {
        EXPECT_LT(list.Get(i - 1), list.Get(i));
    }
}

TEST(VDMemoryStream, GrowsInSteps) {
    TVDMemoryStream stream;
    const uint8_t byte = 0xAB;
    stream.Write(&byte, 1);
    EXPECT_EQ(stream.GetCapacity(), 262144);
    std::vector<uint8_t> rest(262144, 0x11);
    stream.Write(rest.data(), static_cast<int32_t>(rest.size()));
    EXPECT_EQ(stream.GetSize(), 262145);
    EXPECT_EQ(stream.GetCapacity(), 524288);
    EXPECT_EQ(stream.GetMemory()[0], 0xAB);
    EXPECT_EQ(stream.GetMemory()[262144], 0x11);
}

TEST(VDMemoryStream, SetSizeRoundsCapacityAndPullsThePositionIn) {
    TVDMemoryStream stream;
    std::vector<uint8_t> bytes(100, 7);
    stream.Write(bytes.data(), 100);
    stream.SetPosition(50);
    stream.SetSize(10);
    EXPECT_EQ(stream.GetSize(), 10);
    EXPECT_EQ(stream.GetCapacity(), 262144);
    EXPECT_EQ(stream.GetPosition(), 10);
    stream.Clear();
    EXPECT_EQ(stream.GetCapacity(), 0);
    EXPECT_EQ(stream.GetMemory(), nullptr);
    EXPECT_EQ(stream.GetPosition(), 0);
}

TEST(VDMemoryStream, NegativePositionOrCountTransfersNothing) {
    TVDMemoryStream stream;
    const uint8_t data[] = {1, 2, 3};
    stream.Write(data, 3);
    EXPECT_EQ(stream.Seek(-5, rtl::soBeginning), -5);
    uint8_t buffer[3] = {};
    EXPECT_EQ(stream.Read(buffer, 3), 0);
    EXPECT_EQ(stream.Write(data, 3), 0);
    EXPECT_EQ(stream.GetSize(), 3);
    stream.SetPosition(0);
    EXPECT_EQ(stream.Read(buffer, -1), 0);
    EXPECT_EQ(stream.Write(data, -1), 0);
    // Only the low 32 bits of an offset count.
    EXPECT_EQ(stream.Seek(int64_t(1) << 32 | 2, rtl::soBeginning), 2);
}

TEST(VDMemoryStream, WritingPastTheEndLeavesAZeroGap) {
    TVDMemoryStream stream;
    const uint8_t data[] = {9, 9};
    stream.Seek(4, rtl::soBeginning);
    stream.Write(data, 2);
    ASSERT_EQ(stream.GetSize(), 6);
    const uint8_t expected[] = {0, 0, 0, 0, 9, 9};
    EXPECT_EQ(std::memcmp(stream.GetMemory(), expected, 6), 0);

    rtl::TBytes into(4, 0xEE);
    stream.SetPosition(3);
    EXPECT_EQ(stream.Read(into, 1, 10), 3);
    EXPECT_EQ(into, (rtl::TBytes{0xEE, 0, 9, 9}));
}

TEST(VDMemoryStream, LoadsAndSavesWholeStreams) {
    rtl::TMemoryStream source;
    const uint8_t data[] = {1, 2, 3, 4};
    source.WriteBuffer(data, 4);
    TVDMemoryStream stream;
    stream.LoadFromStream(source);
    EXPECT_EQ(stream.GetSize(), 4);
    EXPECT_EQ(stream.GetPosition(), 0);
    rtl::TMemoryStream target;
    stream.Seek(2, rtl::soBeginning);
    stream.SaveToStream(target);
    ASSERT_EQ(target.GetSize(), 4);
    EXPECT_EQ(std::memcmp(target.GetMemory(), data, 4), 0);
}

TEST(VDAnsiConversions, NumbersAndSearch) {
    EXPECT_EQ(IntToStrA(-12), "-12");
    EXPECT_EQ(IntToHexA(255, 4), "00FF");
    EXPECT_EQ(StrToIntA("42"), 42);
    try {
        StrToIntA("4x");
        FAIL();
    } catch (const rtl::EConvertError &e) {
        EXPECT_STREQ(e.what(), "'4x' is not a valid integer value");
    }
    EXPECT_THROW(StrToFloatA("1.2.3"), rtl::EConvertError);

    struct TCase {
        TVDAnsiString Pattern;
        TVDAnsiString Text;
        rtl::Integer Expected;
    };
    const TCase cases[] = {
        {"b", "abc", 2},
        {"bc", "abc", 2},
        {"", "abc", 0},
        {"a", "", 0},
        {"z", TVDAnsiString("ab\0z", 4), 0},
        {"bz", TVDAnsiString("ab\0bz", 5), 0},
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(PosA(c.Pattern, c.Text), c.Expected) << c.Pattern << " in " << c.Text;
    }
}

TEST(VDSimilarity, IntegerScores) {
    struct TCase {
        rtl::Integer A, B, Weight, Expected;
    };
    const TCase cases[] = {
        {10, 10, 5000, 5000}, {0, 0, 7, 7}, {-4, 4, 7, 0},      {10, 30, 1000, 0},
        {10, 20, 100, 33},    {1, 3, 2, 0}, {0, 10, 100, -100}, {20, 21, 5000, 4756},
        {3, 5, 5, 2},         {3, 5, 3, 2},
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(GetIntSimilarity(c.A, c.B, c.Weight), c.Expected)
            << c.A << ", " << c.B << ", " << c.Weight;
    }
}

TEST(VDSimilarity, ColourScores) {
    EXPECT_EQ(GetColorSimilarity(gfx::clRed, gfx::clRed, 3333, 3000), 3000);
    EXPECT_EQ(GetColorSimilarity(gfx::clBlack, gfx::clWhite, 255, 3000), -765);
    EXPECT_EQ(GetColorSimilarity(gfx::clNone, gfx::clNone, 10, 5), 35);
    EXPECT_EQ(GetColorSimilarity(gfx::clNone, gfx::clBlack, 10, 5), 0);
    // System colours are resolved: window text is black.
    EXPECT_EQ(GetColorSimilarity(gfx::clWindowText, gfx::clBlack, 3333, 3000), 3000);
}
