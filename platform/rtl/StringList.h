// String lists: the abstract list of strings (text, name=value pairs, loading and saving in a
// text encoding) and the string list that holds its strings, optionally sorted.
#pragma once

#include "platform/rtl/CodePages.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace rtl {

class TStream;

// A list of strings indexed from 0. Descendants store the strings; this class gives every
// list the same text form, name=value access and file format.
//
// Text form: GetText() ends every string with the line break (CR LF); SetText() splits at
// CR LF, LF or CR, and a final line break adds no empty string.
// Files: LoadFromStream reads from the position to the end. Bytes starting with the UTF-8,
// UTF-16 LE or UTF-16 BE signature are read in that encoding, other bytes in the ANSI code
// page (1251); an encoding passed in is used instead of detection (its own signature, when
// present, is skipped). The encoding read is remembered: SaveToStream without an encoding
// writes in it (ANSI for a list that was never loaded), with its signature when it has one.
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual int32_t GetCount() const = 0;
    // EStringListError "List index out of bounds (%d)" for an index outside 0..count-1.
    virtual UnicodeString Get(int32_t index) const = 0;
    virtual void Put(int32_t index, const UnicodeString &s) = 0;
    virtual void Insert(int32_t index, const UnicodeString &s) = 0;
    virtual void Delete(int32_t index) = 0;
    virtual void Clear() = 0;
    // The index at which s was added.
    virtual int32_t Add(const UnicodeString &s);
    // The index of the first string equal to s (see CompareStrings), -1 when none is.
    virtual int32_t IndexOf(const UnicodeString &s) const;

    UnicodeString operator[](int32_t index) const { return Get(index); }

    void AddStrings(const TStrings &strings);
    // Replaces the strings by those of source.
    void Assign(const TStrings &source);

    UnicodeString GetText() const;
    void SetText(const UnicodeString &text);
    // CR LF unless changed.
    const UnicodeString &GetLineBreak() const { return FLineBreak; }
    void SetLineBreak(const UnicodeString &lineBreak) { FLineBreak = lineBreak; }

    // Name=value strings. A string without the separator has an empty name.
    char16_t GetNameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char16_t separator) { FNameValueSeparator = separator; }
    UnicodeString GetName(int32_t index) const;
    UnicodeString GetValueFromIndex(int32_t index) const;
    // The index of the first string whose name equals name (see CompareStrings), or -1.
    int32_t IndexOfName(const UnicodeString &name) const;
    // The value of the first string named name, "" when there is none.
    UnicodeString GetValue(const UnicodeString &name) const;
    // Sets the value of the first string named name, adding "name=value" when there is none;
    // an empty value deletes that string.
    void SetValue(const UnicodeString &name, const UnicodeString &value);

    void LoadFromStream(TStream &stream, std::optional<TEncoding> encoding = std::nullopt);
    void LoadFromFile(const UnicodeString &fileName,
                      std::optional<TEncoding> encoding = std::nullopt);
    void SaveToStream(TStream &stream, std::optional<TEncoding> encoding = std::nullopt) const;
    void SaveToFile(const UnicodeString &fileName,
                    std::optional<TEncoding> encoding = std::nullopt) const;
    // The encoding of the last load; ANSI before any.
    TEncoding GetEncoding() const { return FEncoding; }
    // Whether saving writes the encoding's signature (true unless changed).
    bool GetWriteBOM() const { return FWriteBOM; }
    void SetWriteBOM(bool value) { FWriteBOM = value; }

    // Compares as the list does: < 0, 0 or > 0. The base compares without regard to case,
    // in the linguistic order of the system's locale.
    virtual int CompareStrings(const UnicodeString &a, const UnicodeString &b) const;

protected:
    [[noreturn]] static void IndexError(int32_t index);

private:
    UnicodeString FLineBreak = u"\r\n";
    char16_t FNameValueSeparator = u'=';
    TEncoding FEncoding = TEncoding::Default();
    bool FWriteBOM = true;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

// A list that holds its strings. A sorted list keeps them in CompareStrings order: Add puts
// a string in its place, Insert and Put raise EStringListError "Operation not allowed on
// sorted list", and Duplicates decides what Add does with a string already there (dupIgnore:
// nothing, returns its index; dupError: EStringListError "Duplicates not allowed"; dupAccept:
// adds it). Comparisons are linguistic in the system's locale, without regard to case unless
// SetCaseSensitive(true).
class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(const TStringList &other) = default;
    TStringList &operator=(const TStringList &other) = default;

    int32_t GetCount() const override { return static_cast<int32_t>(FItems.size()); }
    UnicodeString Get(int32_t index) const override { return At(index); }
    void Put(int32_t index, const UnicodeString &s) override;
    void Insert(int32_t index, const UnicodeString &s) override;
    void Delete(int32_t index) override;
    void Clear() override { FItems.clear(); }
    int32_t Add(const UnicodeString &s) override;
    // Binary search on a sorted list; a linear search otherwise.
    int32_t IndexOf(const UnicodeString &s) const override;

    // The string itself, without a copy.
    const UnicodeString &operator[](int32_t index) const { return At(index); }

    // Binary search for s in a sorted list: true when found, with index its position (the
    // first of equal strings), else the position where s would
    // be inserted. The list must be sorted.
    bool Find(const UnicodeString &s, int32_t &index) const;
    // Sorts the strings (equal strings keep their order).
    void Sort();

    bool GetSorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates GetDuplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool GetCaseSensitive() const { return FCaseSensitive; }
    // Sorts a sorted list again under the new comparison.
    void SetCaseSensitive(bool value);

    int CompareStrings(const UnicodeString &a, const UnicodeString &b) const override;

private:
    const UnicodeString &At(int32_t index) const;

    std::vector<UnicodeString> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupIgnore;
};

} // namespace rtl
