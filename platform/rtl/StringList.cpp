// String lists: text form, name=value access, encodings on load and save, sorted lists.
#include "platform/rtl/StringList.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <memory>
#include <string>

namespace rtl {

namespace {

struct CollatorCloser {
    void operator()(UCollator *collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

CollatorPtr OpenCollator(UCollationStrength strength) {
    // The root order, not ICU's Russian one: Windows sorts Latin before Cyrillic in every
    // locale, and ICU's Russian tailoring moves Cyrillic first.
    UErrorCode error = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open("", &error));
    if (U_FAILURE(error)) {
        collator.reset();
    }
    if (collator) {
        ucol_setStrength(collator.get(), strength);
    }
    return collator;
}

// Linguistic comparison as Windows orders text: the secondary strength ignores
// case, the tertiary strength orders a lower-case letter before its capital. Collators are
// safe to share between threads once made.
int Collate(const UnicodeString &a, const UnicodeString &b, bool caseSensitive) {
    if (a == b) {
        return 0;
    }
    static const CollatorPtr ignoringCase = OpenCollator(UCOL_SECONDARY);
    static const CollatorPtr withCase = OpenCollator(UCOL_TERTIARY);
    const UCollator *collator = caseSensitive ? withCase.get() : ignoringCase.get();
    if (collator == nullptr) {
        return a.compare(b);
    }
    return ucol_strcoll(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                        static_cast<int32_t>(b.size()));
}

[[noreturn]] void ThrowSortedListError() {
    throw EStringListError(UnicodeString(u"Operation not allowed on sorted list"));
}

RawByteString ReadRest(TStream &stream) {
    const int64_t position = stream.GetPosition();
    const int64_t size = stream.GetSize() - position;
    RawByteString bytes;
    if (size <= 0) {
        return bytes;
    }
    bytes.resize(static_cast<size_t>(size));
    int64_t done = 0;
    while (done < size) {
        const auto part = static_cast<int32_t>(std::min<int64_t>(size - done, 1 << 30));
        stream.ReadBuffer(bytes.data() + done, part);
        done += part;
    }
    return bytes;
}

} // namespace

// ---- TStrings ----

void TStrings::IndexError(int32_t index) {
    throw EStringListError(u"List index out of bounds (" + Utf8ToUtf16(std::to_string(index)) +
                           u")");
}

int32_t TStrings::Add(const UnicodeString &s) {
    const int32_t index = GetCount();
    Insert(index, s);
    return index;
}

int32_t TStrings::IndexOf(const UnicodeString &s) const {
    const int32_t count = GetCount();
    for (int32_t i = 0; i < count; ++i) {
        if (CompareStrings(Get(i), s) == 0) {
            return i;
        }
    }
    return -1;
}

void TStrings::AddStrings(const TStrings &strings) {
    const int32_t count = strings.GetCount();
    for (int32_t i = 0; i < count; ++i) {
        Add(strings.Get(i));
    }
}

void TStrings::Assign(const TStrings &source) {
    if (&source == this) {
        return;
    }
    Clear();
    AddStrings(source);
}

UnicodeString TStrings::GetText() const {
    // The whole text is reserved first: growing it line by line made saving a list of tens
    // of thousands of lines many times slower.
    const int32_t count = GetCount();
    std::vector<UnicodeString> lines;
    lines.reserve(static_cast<size_t>(count));
    size_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        lines.push_back(Get(i));
        total += lines.back().size() + FLineBreak.size();
    }
    UnicodeString text;
    text.reserve(total);
    for (const UnicodeString &line : lines) {
        text.append(line);
        text.append(FLineBreak);
    }
    return text;
}

void TStrings::SetText(const UnicodeString &text) {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of(u"\r\n", start);
        if (end == UnicodeString::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == u'\r' && start < text.size() && text[start] == u'\n') {
            ++start;
        }
    }
}

UnicodeString TStrings::GetName(int32_t index) const {
    const UnicodeString s = Get(index);
    const size_t separator = s.find(FNameValueSeparator);
    return separator == UnicodeString::npos ? UnicodeString() : s.substr(0, separator);
}

UnicodeString TStrings::GetValueFromIndex(int32_t index) const {
    const UnicodeString s = Get(index);
    const size_t separator = s.find(FNameValueSeparator);
    return separator == UnicodeString::npos ? UnicodeString() : s.substr(separator + 1);
}

int32_t TStrings::IndexOfName(const UnicodeString &name) const {
    const int32_t count = GetCount();
    for (int32_t i = 0; i < count; ++i) {
        const UnicodeString s = Get(i);
        const size_t separator = s.find(FNameValueSeparator);
        if (separator != UnicodeString::npos && CompareStrings(s.substr(0, separator), name) == 0) {
            return i;
        }
    }
    return -1;
}

UnicodeString TStrings::GetValue(const UnicodeString &name) const {
    const int32_t index = IndexOfName(name);
    return index < 0 ? UnicodeString() : GetValueFromIndex(index);
}

void TStrings::SetValue(const UnicodeString &name, const UnicodeString &value) {
    const int32_t index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) {
            Delete(index);
        }
        return;
    }
    const UnicodeString s = name + FNameValueSeparator + value;
    if (index >= 0) {
        Put(index, s);
    } else {
        Add(s);
    }
}

void TStrings::LoadFromStream(TStream &stream, std::optional<TEncoding> encoding) {
    const RawByteString bytes = ReadRest(stream);
    size_t skip = 0;
    TEncoding used = TEncoding::Default();
    if (encoding) {
        used = *encoding;
        const RawByteString preamble = used.GetPreamble();
        if (!preamble.empty() && bytes.compare(0, preamble.size(), preamble) == 0) {
            skip = preamble.size();
        }
    } else if (!TEncoding::DetectPreamble(bytes, used, skip)) {
        used = TEncoding::Default();
        skip = 0;
    }
    SetText(used.GetString(std::string_view(bytes).substr(skip)));
    FEncoding = used;
}

void TStrings::LoadFromFile(const UnicodeString &fileName, std::optional<TEncoding> encoding) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file, encoding);
}

void TStrings::SaveToStream(TStream &stream, std::optional<TEncoding> encoding) const {
    const TEncoding used = encoding ? *encoding : FEncoding;
    RawByteString bytes = FWriteBOM ? used.GetPreamble() : RawByteString();
    bytes += used.GetBytes(GetText());
    size_t done = 0;
    while (done < bytes.size()) {
        const auto part = static_cast<int32_t>(std::min<size_t>(bytes.size() - done, 1 << 30));
        stream.WriteBuffer(bytes.data() + done, part);
        done += static_cast<size_t>(part);
    }
}

void TStrings::SaveToFile(const UnicodeString &fileName, std::optional<TEncoding> encoding) const {
    SaveFileSafely(fileName, [&](TStream &file) { SaveToStream(file, encoding); });
}

int TStrings::CompareStrings(const UnicodeString &a, const UnicodeString &b) const {
    return Collate(a, b, false);
}

// ---- TStringList ----

const UnicodeString &TStringList::At(int32_t index) const {
    if (index < 0 || index >= GetCount()) {
        IndexError(index);
    }
    return FItems[static_cast<size_t>(index)];
}

void TStringList::Put(int32_t index, const UnicodeString &s) {
    if (FSorted) {
        ThrowSortedListError();
    }
    At(index);
    FItems[static_cast<size_t>(index)] = s;
}

void TStringList::Insert(int32_t index, const UnicodeString &s) {
    if (FSorted) {
        ThrowSortedListError();
    }
    if (index < 0 || index > GetCount()) {
        IndexError(index);
    }
    FItems.insert(FItems.begin() + index, s);
}

void TStringList::Delete(int32_t index) {
    At(index);
    FItems.erase(FItems.begin() + index);
}

int32_t TStringList::Add(const UnicodeString &s) {
    if (!FSorted) {
        FItems.push_back(s);
        return GetCount() - 1;
    }
    int32_t index = 0;
    if (Find(s, index)) {
        if (FDuplicates == dupIgnore) {
            return index;
        }
        if (FDuplicates == dupError) {
            throw EStringListError(UnicodeString(u"Duplicates not allowed"));
        }
    }
    FItems.insert(FItems.begin() + index, s);
    return index;
}

int32_t TStringList::IndexOf(const UnicodeString &s) const {
    if (!FSorted) {
        return TStrings::IndexOf(s);
    }
    int32_t index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const UnicodeString &s, int32_t &index) const {
    int32_t low = 0;
    int32_t high = GetCount();
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (CompareStrings(FItems[static_cast<size_t>(middle)], s) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    index = low;
    return low < GetCount() && CompareStrings(FItems[static_cast<size_t>(low)], s) == 0;
}

void TStringList::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const UnicodeString &a, const UnicodeString &b) {
                         return CompareStrings(a, b) < 0;
                     });
}

void TStringList::SetSorted(bool value) {
    if (value && !FSorted) {
        Sort();
    }
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (value == FCaseSensitive) {
        return;
    }
    FCaseSensitive = value;
    if (FSorted) {
        Sort();
    }
}

int TStringList::CompareStrings(const UnicodeString &a, const UnicodeString &b) const {
    return Collate(a, b, FCaseSensitive);
}

} // namespace rtl
