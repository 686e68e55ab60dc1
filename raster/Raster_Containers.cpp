// The rectangle list and the pointer map.
#include "raster/Raster_Containers.h"

#include "platform/rtl/Assert.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace raster {

TRectList::~TRectList() = default;

void TRectList::Grow() {
    int32_t delta = 8;
    if (FCapacity > 128) {
        delta = FCapacity / 4;
    } else if (FCapacity > 8) {
        delta = 32;
    }
    SetCapacity(FCapacity + delta);
}

void TRectList::SetCapacity(int32_t value) {
    if (value == FCapacity) {
        return;
    }
    std::unique_ptr<TRect[]> block(value > 0 ? new TRect[static_cast<size_t>(value)] : nullptr);
    const int32_t keep = std::min(FCount, value);
    for (int32_t i = 0; i < keep; ++i) {
        block[i] = FList[i];
    }
    FList = std::move(block);
    FCapacity = value;
    FCount = keep;
}

void TRectList::SetCount(int32_t value) {
    if (value > FCapacity) {
        SetCapacity(value);
    }
    for (int32_t i = FCount; i < value; ++i) {
        FList[i] = TRect{};
    }
    while (FCount > value) {
        Delete(FCount - 1);
    }
    FCount = value;
}

int32_t TRectList::Add(const TRect &rect) {
    if (FCount == FCapacity) {
        Grow();
    }
    FList[FCount] = rect;
    return FCount++;
}

void TRectList::Insert(int32_t index, const TRect &rect) {
    WB_ASSERT(index >= 0 && index <= FCount, "insertion index inside 0 .. Count");
    if (FCount == FCapacity) {
        Grow();
    }
    for (int32_t i = FCount; i > index; --i) {
        FList[i] = FList[i - 1];
    }
    FList[index] = rect;
    ++FCount;
}

void TRectList::Clear() {
    SetCount(0);
    SetCapacity(10);
}

void TRectList::Delete(int32_t index) {
    WB_ASSERT(index >= 0 && index < FCount, "index inside 0 .. Count - 1");
    --FCount;
    for (int32_t i = index; i < FCount; ++i) {
        FList[i] = FList[i + 1];
    }
}

void TRectList::Exchange(int32_t index1, int32_t index2) {
    WB_ASSERT(index1 >= 0 && index1 < FCount && index2 >= 0 && index2 < FCount,
              "indexes inside 0 .. Count - 1");
    std::swap(FList[index1], FList[index2]);
}

TRect *TRectList::Get(int32_t index) {
    return index < 0 || index >= FCount ? nullptr : &FList[index];
}

int32_t TRectList::IndexOf(const TRect &rect) const {
    for (int32_t i = 0; i < FCount; ++i) {
        if (FList[i] == rect) {
            return i;
        }
    }
    return -1;
}

int32_t TRectList::Remove(const TRect &rect) {
    const int32_t i = IndexOf(rect);
    if (i >= 0) {
        Delete(i);
    }
    return i;
}

void TRectList::Move(int32_t curIndex, int32_t newIndex) {
    WB_ASSERT(curIndex >= 0 && curIndex < FCount && newIndex >= 0 && newIndex < FCount,
              "indexes inside 0 .. Count - 1");
    if (curIndex == newIndex) {
        return;
    }
    const TRect r = FList[curIndex];
    Delete(curIndex);
    Insert(newIndex, r);
}

TPointerMap::~TPointerMap() {
    Clear();
}

int32_t TPointerMap::BucketOf(const void *item) {
    return static_cast<int32_t>((reinterpret_cast<uintptr_t>(item) >> 8) & 0xFF);
}

bool TPointerMap::Lookup(const void *item, int32_t &bucket, int32_t &index) const {
    bucket = BucketOf(item);
    const TPointerBucket &b = FBuckets[bucket];
    for (index = 0; index < b.Count; ++index) {
        if (b.Items[static_cast<size_t>(index)].Item == item) {
            return true;
        }
    }
    return false;
}

TPointerMap::PPData TPointerMap::Add(void *newItem) {
    bool isNew;
    return Add(newItem, nullptr, isNew);
}

TPointerMap::PPData TPointerMap::Add(void *newItem, bool &isNew) {
    return Add(newItem, nullptr, isNew);
}

TPointerMap::PPData TPointerMap::Add(void *newItem, void *newData) {
    bool isNew;
    return Add(newItem, newData, isNew);
}

TPointerMap::PPData TPointerMap::Add(void *newItem, void *newData, bool &isNew) {
    int32_t bi, ii;
    if (Lookup(newItem, bi, ii)) {
        isNew = false;
        return &FBuckets[bi].Items[static_cast<size_t>(ii)].Data;
    }
    TPointerBucket &b = FBuckets[bi];
    const int32_t capacity = static_cast<int32_t>(b.Items.size());
    if (b.Count == capacity) {
        const int32_t delta = capacity > 64 ? capacity / 4 : (capacity > 8 ? 16 : 4);
        b.Items.resize(static_cast<size_t>(capacity + delta));
    }
    b.Items[static_cast<size_t>(b.Count)] = {newItem, newData};
    ++b.Count;
    ++FCount;
    isNew = true;
    return &b.Items[static_cast<size_t>(b.Count - 1)].Data;
}

void *TPointerMap::Delete(int32_t bucketIndex, int32_t itemIndex) {
    TPointerBucket &b = FBuckets[bucketIndex];
    void *data = b.Items[static_cast<size_t>(itemIndex)].Data;
    if (FCount == 0) {
        return data;
    }
    --b.Count;
    if (b.Count == 0) {
        b.Items.clear();
        b.Items.shrink_to_fit();
    } else {
        b.Items.erase(b.Items.begin() + itemIndex);
        b.Items.emplace_back();
    }
    --FCount;
    return data;
}

void *TPointerMap::Remove(void *item) {
    int32_t bi, ii;
    return Lookup(item, bi, ii) ? Delete(bi, ii) : nullptr;
}

void TPointerMap::Clear() {
    FCount = 0;
    for (int32_t bi = 0; bi < 256; ++bi) {
        for (int32_t ii = FBuckets[bi].Count - 1; ii >= 0; --ii) {
            Delete(bi, ii);
        }
        FBuckets[bi].Count = 0;
        FBuckets[bi].Items.clear();
        FBuckets[bi].Items.shrink_to_fit();
    }
}

bool TPointerMap::Contains(void *item) const {
    int32_t bi, ii;
    return Lookup(item, bi, ii);
}

bool TPointerMap::Find(void *item, PPData &data) {
    int32_t bi, ii;
    if (!Lookup(item, bi, ii)) {
        return false;
    }
    data = &FBuckets[bi].Items[static_cast<size_t>(ii)].Data;
    return true;
}

void TPointerMap::NotFound(const void *item) {
    char text[64];
    std::snprintf(text, sizeof text, "Item not found ($0%" PRIxPTR ")",
                  reinterpret_cast<uintptr_t>(item));
    throw rtl::EListError(std::string_view(text));
}

void *TPointerMap::GetData(void *item) const {
    int32_t bi, ii;
    if (!Lookup(item, bi, ii)) {
        NotFound(item);
    }
    return FBuckets[bi].Items[static_cast<size_t>(ii)].Data;
}

void TPointerMap::SetData(void *item, void *data) {
    int32_t bi, ii;
    if (!Lookup(item, bi, ii)) {
        NotFound(item);
    }
    FBuckets[bi].Items[static_cast<size_t>(ii)].Data = data;
}

bool TPointerMapIterator::Next() {
    if (FCurItemIndex > 0) {
        --FCurItemIndex;
    } else {
        FCurItemIndex = -1;
        while (FCurItemIndex < 0) {
            ++FCurBucketIndex;
            if (FCurBucketIndex > 255) {
                return false;
            }
            const int32_t count = FSrcPointerMap.FBuckets[FCurBucketIndex].Count;
            if (count > 0) {
                FCurItemIndex = count - 1;
            }
        }
    }
    const auto &it = FSrcPointerMap.FBuckets[FCurBucketIndex].Items[size_t(FCurItemIndex)];
    FItem = it.Item;
    FData = it.Data;
    return true;
}

} // namespace raster

namespace raster {

void TPublishedObject::UnknownProperty(const std::string &name) {
    throw EPropertyError(std::string_view("Property " + name + " does not exist"));
}

TPropertyValue TPublishedObject::GetPropValue(const std::string &name) const {
    UnknownProperty(name);
}

void TPublishedObject::SetPropValue(const std::string &name, const TPropertyValue &) {
    UnknownProperty(name);
}

void TPublishedObject::Assign(const TPublishedObject &source) {
    throw rtl::EConvertError(std::string_view(std::string("Cannot assign a ") + source.ClassName() +
                                              " to a " + ClassName()));
}

double TPublishedObject::NumberOf(const std::string &, const TPropertyValue &value) {
    if (const auto *i = std::get_if<int32_t>(&value)) {
        return *i;
    }
    if (const auto *d = std::get_if<double>(&value)) {
        return *d;
    }
    throw EPropertyError(std::string_view("Invalid property value"));
}

const std::string &TPublishedObject::TextOf(const std::string &, const TPropertyValue &value) {
    if (const auto *s = std::get_if<std::string>(&value)) {
        return *s;
    }
    throw EPropertyError(std::string_view("Invalid property value"));
}

void CopyPublishedProperties(const TPublishedObject &src, TPublishedObject &dst,
                             TTypeKinds typeKinds) {
    std::vector<TPropInfo> props;
    src.GetPropList(props);
    for (const TPropInfo &p : props) {
        if ((typeKinds & TypeKindBit(p.Kind)) == 0) {
            continue;
        }
        if (p.Kind == tkClass) {
            TPublishedObject *from = std::get<TPublishedObject *>(src.GetPropValue(p.Name));
            const TPropertyValue to = dst.GetPropValue(p.Name);
            if (from != nullptr && std::get<TPublishedObject *>(to) != nullptr) {
                std::get<TPublishedObject *>(to)->Assign(*from);
            }
        } else {
            dst.SetPropValue(p.Name, src.GetPropValue(p.Name));
        }
    }
}

} // namespace raster
