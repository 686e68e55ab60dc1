// Draw items, the draw-item list with its pending hole and stream form, and the floats list.
#include "vizivodu/layout/formatting/DLines.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDItem.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace vizivodu {

namespace {

// The stream form writes true Booleans as 0xFF; any non-zero byte reads as true.
constexpr uint8_t StreamTrue = 0xFF;
constexpr int32_t EndCode = -2;
constexpr int32_t ItemDataCode = -1;

void PutInt32(std::string &out, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

void PutBool(std::string &out, bool value) {
    out.push_back(static_cast<char>(value ? StreamTrue : 0));
}

int32_t GetInt32(const uint8_t *&p) {
    const uint32_t v =
        uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    p += 4;
    return static_cast<int32_t>(v);
}

bool GetBool(const uint8_t *&p) {
    return *p++ != 0;
}

int32_t ReadInt32(rtl::TStream &stream) {
    uint8_t bytes[4];
    stream.ReadBuffer(bytes, 4);
    const uint8_t *p = bytes;
    return GetInt32(p);
}

void WriteInt32(rtl::TStream &stream, int32_t value) {
    std::string bytes;
    PutInt32(bytes, value);
    stream.WriteBuffer(bytes.data(), 4);
}

// The size of each kind's field block in the stream.
constexpr int32_t FieldBlockSize[] = {32, 48, 52, 56, 76};

[[noreturn]] void RaiseAssertion(int line) {
    throw EViziVoduError("Assertion failure (DLines, line " + std::to_string(line) + ")");
}

[[noreturn]] void RaiseInvalidData() {
    throw EViziVoduError("Invalid formatting data");
}

// The walk back over draw items that floats may stand beside: it ends after a line start that
// no float shaped.
bool EndsFloatWalk(const TVDDrawLineInfo &item) {
    return item.FromNewLine && !item.FloatingAboveUsed;
}

} // namespace

// ---- TVDDrawLineInfo and descendants ----

TVDDrawLineInfo::TVDDrawLineInfo(int32_t left, int32_t top, int32_t width, int32_t height,
                                 int32_t itemNo, bool fromNewLine) {
    TVDDrawLineInfo::SetData(left, top, itemNo, fromNewLine);
    TVDDrawLineInfo::SetSize(width, height);
}

void TVDDrawLineInfo::SetData(int32_t left, int32_t top, int32_t itemNo, bool fromNewLine) {
    Left = left;
    Top = top;
    ItemNo = itemNo;
    FromNewLine = fromNewLine;
}

void TVDDrawLineInfo::SetSize(int32_t width, int32_t height) {
    Width = width;
    Height = height;
}

bool TVDDrawLineInfo::InitSplit(const TVDScreenAndDevice &, bool) {
    return false;
}

bool TVDDrawLineInfo::CanSplitFirst(int32_t, const TVDScreenAndDevice &, bool, bool, bool, bool) {
    return false;
}

bool TVDDrawLineInfo::SplitAt(int32_t, const TVDScreenAndDevice &, bool,
                              std::unique_ptr<TVDFootnoteRefList> &, int32_t &, bool, bool) {
    return false;
}

void TVDDrawLineInfo::WriteFields(std::string &out) const {
    for (int32_t v : {Left, Top, Width, Height, ItemNo, Offs, Length}) {
        PutInt32(out, v);
    }
    PutBool(out, FromNewLine);
    PutBool(out, FromNewPara);
    PutBool(out, FloatingAboveUsed);
    out.push_back(0);
}

void TVDDrawLineInfo::ReadFields(const uint8_t *&p) {
    for (int32_t *v : {&Left, &Top, &Width, &Height, &ItemNo, &Offs, &Length}) {
        *v = GetInt32(p);
    }
    FromNewLine = GetBool(p);
    FromNewPara = GetBool(p);
    FloatingAboveUsed = GetBool(p);
    ++p;
}

void TVDJustifyDrawLineInfo::WriteFields(std::string &out) const {
    TVDDrawLineInfo::WriteFields(out);
    for (int32_t v : {FTextWidth, FSpaceCount, FLeftNoExpandIndex, FRightNoExpandIndex}) {
        PutInt32(out, v);
    }
}

void TVDJustifyDrawLineInfo::ReadFields(const uint8_t *&p) {
    TVDDrawLineInfo::ReadFields(p);
    for (int32_t *v : {&FTextWidth, &FSpaceCount, &FLeftNoExpandIndex, &FRightNoExpandIndex}) {
        *v = GetInt32(p);
    }
}

void TVDSimpleLineHeightDrawLineInfo::WriteFields(std::string &out) const {
    TVDJustifyDrawLineInfo::WriteFields(out);
    PutInt32(out, FExtraSpaceBelow);
}

void TVDSimpleLineHeightDrawLineInfo::ReadFields(const uint8_t *&p) {
    TVDJustifyDrawLineInfo::ReadFields(p);
    FExtraSpaceBelow = GetInt32(p);
}

void TVDComplexLineHeightDrawLineInfo::WriteFields(std::string &out) const {
    TVDSimpleLineHeightDrawLineInfo::WriteFields(out);
    PutInt32(out, FExtraSpaceAbove);
}

void TVDComplexLineHeightDrawLineInfo::ReadFields(const uint8_t *&p) {
    TVDSimpleLineHeightDrawLineInfo::ReadFields(p);
    FExtraSpaceAbove = GetInt32(p);
}

void TVDFloatingDrawLineInfo::WriteFields(std::string &out) const {
    TVDComplexLineHeightDrawLineInfo::WriteFields(out);
    for (int32_t v : {FloatLeft, FloatTop, FloatWidth, FloatHeight}) {
        PutInt32(out, v);
    }
    out.push_back(static_cast<char>(FloatType));
    out.append(3, '\0');
}

void TVDFloatingDrawLineInfo::ReadFields(const uint8_t *&p) {
    TVDComplexLineHeightDrawLineInfo::ReadFields(p);
    for (int32_t *v : {&FloatLeft, &FloatTop, &FloatWidth, &FloatHeight}) {
        *v = GetInt32(p);
    }
    FloatType = *p == vddifRight ? vddifRight : vddifLeft;
    p += 4;
}

std::unique_ptr<TVDDrawLineInfo> CreateDrawLineInfo(TVDDrawLineKind kind) {
    switch (kind) {
    case vddlkJustify:
        return std::make_unique<TVDJustifyDrawLineInfo>();
    case vddlkSimpleLineHeight:
        return std::make_unique<TVDSimpleLineHeightDrawLineInfo>();
    case vddlkComplexLineHeight:
        return std::make_unique<TVDComplexLineHeightDrawLineInfo>();
    case vddlkFloating:
        return std::make_unique<TVDFloatingDrawLineInfo>();
    case vddlkPlain:
        break;
    }
    return std::make_unique<TVDDrawLineInfo>();
}

// ---- TVDDrawLines ----

void TVDDrawLines::RaiseIndexError(int32_t index) {
    throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TVDDrawLines::Put(int32_t index, std::unique_ptr<TVDDrawLineInfo> value) {
    Get(index);
    FItems[static_cast<size_t>(index)] = std::move(value);
}

void TVDDrawLines::Insert(int32_t index, std::unique_ptr<TVDDrawLineInfo> item) {
    if (FDeletedCount <= 0) {
        if (index < 0 || index > Count()) {
            RaiseIndexError(index);
        }
        FItems.insert(FItems.begin() + index, std::move(item));
        return;
    }
    if (index != FStartDeletedIndex) {
        RaiseAssertion(733);
    }
    FItems[static_cast<size_t>(index)] = std::move(item);
    ++FStartDeletedIndex;
    --FDeletedCount;
}

void TVDDrawLines::Delete(int32_t index) {
    Get(index);
    if (FDeletedCount <= 0) {
        FItems.erase(FItems.begin() + index);
        return;
    }
    FItems[static_cast<size_t>(index)].reset();
    --FStartDeletedIndex;
    ++FDeletedCount;
}

void TVDDrawLines::MarkForDelete(int32_t index1, int32_t index2) {
    for (int32_t i = index1; i <= index2; ++i) {
        Get(i);
        FItems[static_cast<size_t>(i)].reset();
    }
    FStartDeletedIndex = index1;
    FDeletedCount = index2 - index1 + 1;
}

void TVDDrawLines::DeleteMarked() {
    if (FDeletedCount > 0) {
        const auto first = FItems.begin() + FStartDeletedIndex;
        FItems.erase(first, first + FDeletedCount);
    }
    FDeletedCount = 0;
}

void TVDDrawLines::Clear() {
    FItems.clear();
    FStartDeletedIndex = -1;
    FDeletedCount = 0;
}

TVDRawByteString TVDDrawLines::GetSubString(int32_t index, const TVDItemList &items,
                                            int32_t startIndex, int32_t length) const {
    const TVDDrawLineInfo &d = *Get(index);
    length = std::min(length, d.Length - startIndex + 1);
    if (length <= 0) {
        return {};
    }
    const TCustomVDItemInfo *item = items.GetObject(d.ItemNo);
    const int32_t unit = item->ItemOptions.Contains(vdioUnicode) ? 2 : 1;
    const size_t from = static_cast<size_t>(d.Offs + startIndex - 2) * unit;
    if (from >= item->ItemText.size()) {
        return {};
    }
    return item->ItemText.substr(from, static_cast<size_t>(length) * unit);
}

TVDRawByteString TVDDrawLines::GetString(int32_t index, const TVDItemList &items) const {
    return GetSubString(index, items, 1, Get(index)->Length);
}

TVDRawByteString TVDDrawLines::GetRightString(int32_t index, const TVDItemList &items,
                                              int32_t startIndex) const {
    return GetSubString(index, items, startIndex, Get(index)->Length);
}

int32_t TVDDrawLines::FindFirstFloatingAboveDrawItem(int32_t index, int32_t minIndex,
                                                     int32_t bottom, bool useBottom) const {
    const int32_t b = useBottom ? bottom : Get(index)->Top;
    int32_t result = -1;
    for (int32_t i = index - 1; i >= minIndex; --i) {
        const TVDDrawLineInfo &d = *Get(i);
        if (const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&d);
            f && f->FloatBottom() >= b) {
            result = i;
        }
        if (EndsFloatWalk(d)) {
            break;
        }
    }
    return result;
}

void TVDDrawLines::AssignFloatingCrossingY(int32_t y, int32_t dItemNo,
                                           TVDIntegerList &resultList) const {
    for (int32_t i = dItemNo - 1; i >= 0; --i) {
        const TVDDrawLineInfo &d = *Get(i);
        if (const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&d);
            f && f->FloatBottom() >= y - 1) {
            resultList.Insert(0, i);
        }
        if (EndsFloatWalk(d)) {
            break;
        }
    }
}

void TVDDrawLines::AssignFloatingAboveDrawItem(int32_t dItemNo, TVDIntegerList &resultList) const {
    AssignFloatingCrossingY(Get(dItemNo)->Top, dItemNo, resultList);
}

void TVDDrawLines::SaveToStream(rtl::TStream &stream, const TVDItemList &items) const {
    WriteInt32(stream, Count());
    std::string block;
    for (int32_t i = 0; i < Count(); ++i) {
        const TVDDrawLineInfo &d = *Get(i);
        block.clear();
        PutInt32(block, d.GetKind());
        d.WriteFields(block);
        stream.WriteBuffer(block.data(), static_cast<int32_t>(block.size()));
        if (i == 0 || Get(i - 1)->ItemNo != d.ItemNo) {
            items.GetObject(d.ItemNo)->SaveFormattingToStream(stream);
        }
    }
    WriteInt32(stream, EndCode);
}

void TVDDrawLines::LoadFromStream(rtl::TStream &stream, TVDItemList &items) {
    Clear();
    const int32_t n = ReadInt32(stream);
    const int64_t left = stream.GetSize() - stream.GetPosition();
    if (n < 0 || int64_t{n} * 36 > left) {
        RaiseInvalidData();
    }
    FItems.reserve(static_cast<size_t>(n));
    TCustomVDItemInfo *lastItem = nullptr;
    uint8_t buffer[76];
    while (Count() < n) {
        const int32_t code = ReadInt32(stream);
        if (code == ItemDataCode) {
            if (!lastItem) {
                RaiseInvalidData();
            }
            lastItem->LoadFormattingFromStream(stream);
            continue;
        }
        const int32_t kind = code & 0xFF;
        if (kind > vddlkFloating) {
            RaiseInvalidData();
        }
        std::unique_ptr<TVDDrawLineInfo> d = CreateDrawLineInfo(static_cast<TVDDrawLineKind>(kind));
        stream.ReadBuffer(buffer, FieldBlockSize[kind]);
        const uint8_t *p = buffer;
        d->ReadFields(p);
        if (d->ItemNo < 0 || d->ItemNo >= items.Count()) {
            RaiseInvalidData();
        }
        if (FItems.empty() || FItems.back()->ItemNo != d->ItemNo) {
            lastItem = items.GetObject(d->ItemNo);
            lastItem->DrawItemNo = Count();
        }
        FItems.push_back(std::move(d));
    }
    int32_t code = ReadInt32(stream);
    if (code == ItemDataCode && lastItem) {
        lastItem->LoadFormattingFromStream(stream);
        code = ReadInt32(stream);
    }
    if (code != EndCode) {
        RaiseAssertion(841);
    }
}

// ---- TVDFloatingDrawItems ----

bool TVDFloatingDrawItems::Contains(const TVDFloatingDrawLineInfo *item) const {
    return std::find(FItems.begin(), FItems.end(), item) != FItems.end();
}

void TVDFloatingDrawItems::FillFloatingCrossingY(int32_t y, int32_t dItemNo,
                                                 const TVDDrawLines &source) {
    for (int32_t i = dItemNo - 1; i >= 0; --i) {
        TVDDrawLineInfo *d = source.Get(i);
        if (auto *f = dynamic_cast<TVDFloatingDrawLineInfo *>(d); f && f->FloatBottom() >= y - 1) {
            FItems.insert(FItems.begin(), f);
        }
        if (EndsFloatWalk(*d)) {
            break;
        }
    }
}

void TVDFloatingDrawItems::FillFloatingAboveDrawItem(int32_t dItemNo, const TVDDrawLines &source) {
    FillFloatingCrossingY(source.Get(dItemNo)->Top, dItemNo, source);
}

void TVDFloatingDrawItems::RemoveNonOverlapping(int32_t y) {
    std::erase_if(FItems, [y](const TVDFloatingDrawLineInfo *f) { return f->FloatBottom() < y; });
}

void TVDFloatingDrawItems::MarkNonOverlapping(int32_t y, std::vector<int32_t> &marks) const {
    for (size_t i = 0; i < FItems.size() && i < marks.size(); ++i) {
        if (FItems[i]->FloatBottom() < y) {
            marks[i] = 0;
        }
    }
}

int32_t TVDFloatingDrawItems::GetFloatBottom() const {
    int32_t bottom = 0;
    for (const TVDFloatingDrawLineInfo *f : FItems) {
        bottom = std::max(bottom, f->FloatBottom());
    }
    return bottom;
}

namespace {

// The floats of one AdjustLineSize run with their activity: in drop mode the list itself
// shrinks, in flagging mode a parallel list of marks does.
class TActiveFloats {
public:
    TActiveFloats(TVDFloatingDrawItems &list, std::vector<TVDFloatingDrawLineInfo *> &items,
                  bool allowDelete)
        : FList(list), FItems(items), FAllowDelete(allowDelete), FMarks(items.size(), 1) {}

    void DropAbove(int32_t y) {
        if (FAllowDelete) {
            FList.RemoveNonOverlapping(y);
            FMarks.assign(FItems.size(), 1);
        } else {
            FList.MarkNonOverlapping(y, FMarks);
        }
    }
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    bool Active(int32_t i) const { return FMarks[static_cast<size_t>(i)] != 0; }
    TVDFloatingDrawLineInfo *Get(int32_t i) const { return FItems[static_cast<size_t>(i)]; }
    // The last active float of the type, -1 when none.
    int32_t Last(TVDDItemFloatingType type) const {
        for (int32_t i = Count() - 1; i >= 0; --i) {
            if (Active(i) && Get(i)->FloatType == type) {
                return i;
            }
        }
        return -1;
    }
    bool AnyActive() const { return std::find(FMarks.begin(), FMarks.end(), 1) != FMarks.end(); }

private:
    TVDFloatingDrawItems &FList;
    std::vector<TVDFloatingDrawLineInfo *> &FItems;
    bool FAllowDelete;
    std::vector<int32_t> FMarks;
};

} // namespace

// Floats beside a line: each round starts from the line as the paragraph alone gives it,
// narrows it past the most recently placed active left float, then the right one, and moves
// it below a float when it must clear it, would become narrower than minWidth, or an earlier
// float reaches further into the line; rounds repeat while the line moves down.
void TVDFloatingDrawItems::AdjustLineSize(int32_t minLeftIndent, int32_t minWidth,
                                          int32_t maxRightSide, int32_t &y, int32_t &leftIndent,
                                          int32_t &lineWidth, bool allowDelete, bool clearLeft,
                                          bool clearRight,
                                          const TVDFloatingDrawItems *clearIgnore) {
    TActiveFloats floats(*this, FItems, allowDelete);
    floats.DropAbove(y);
    const auto ignored = [clearIgnore](const TVDFloatingDrawLineInfo *f) {
        return clearIgnore && clearIgnore->Contains(f);
    };
    int32_t l = leftIndent;
    int32_t w = lineWidth;
    for (bool moved = true; moved;) {
        moved = false;
        const auto moveBelow = [&](const TVDFloatingDrawLineInfo *f) {
            y = f->FloatBottom() + 1;
            floats.DropAbove(y);
            moved = true;
        };
        l = leftIndent;
        w = lineWidth;
        const int32_t lastLeft = floats.Last(vddifLeft);
        const int32_t lastRight = floats.Last(vddifRight);
        if (lastLeft < 0) {
            l = minLeftIndent;
        }
        if (lastRight < 0) {
            w = maxRightSide - l;
        }
        if (!floats.AnyActive()) {
            break;
        }
        if (lastLeft >= 0) {
            const TVDFloatingDrawLineInfo *f = floats.Get(lastLeft);
            if (f->FloatRight() > l) {
                w -= f->FloatRight() - l;
                l = f->FloatRight();
            }
            if ((clearLeft && !ignored(f)) || w < minWidth) {
                moveBelow(f);
            } else {
                for (int32_t i = lastLeft - 1; i >= 0; --i) {
                    const TVDFloatingDrawLineInfo *e = floats.Get(i);
                    if (floats.Active(i) && e->FloatType == vddifLeft &&
                        e->FloatRight() > f->FloatRight()) {
                        moveBelow(e);
                        break;
                    }
                }
            }
        }
        if (!moved && lastRight >= 0) {
            const TVDFloatingDrawLineInfo *f = floats.Get(lastRight);
            if (f->FloatLeft < l + w) {
                w = f->FloatLeft < l ? -1 : f->FloatLeft - l;
            }
            if ((clearRight && !ignored(f)) || w < minWidth) {
                moveBelow(f);
            } else {
                for (int32_t i = lastRight - 1; i >= 0; --i) {
                    const TVDFloatingDrawLineInfo *e = floats.Get(i);
                    if (floats.Active(i) && e->FloatType == vddifRight &&
                        e->FloatLeft < f->FloatLeft) {
                        moveBelow(e);
                        break;
                    }
                }
            }
        }
    }
    leftIndent = l;
    lineWidth = w;
}

} // namespace vizivodu
