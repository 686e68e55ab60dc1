// INI files: the abstract settings interface (sections of name=value pairs with typed reads and
// writes) and the in-memory INI file that loads and saves a text file.
#pragma once

#include "platform/rtl/CodePages.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace rtl {

class TStream;

// Sections and names compare without regard to case (ASCII and Cyrillic alike); the first
// spelling written is kept. Value formats, shared by every descendant that stores text:
// integers in decimal (reads also take "$"/"0x" hexadecimal, anything else gives the default);
// Booleans "1"/"0" (reads take any integer, 0 meaning False); floats, dates and times as the
// global format settings print them; binary streams as two upper-case hexadecimal digits a
// byte. A read of a missing value gives the default.
class TCustomIniFile {
public:
    explicit TCustomIniFile(UnicodeString fileName) : FFileName(std::move(fileName)) {}
    virtual ~TCustomIniFile() = default;

    const UnicodeString &GetFileName() const { return FFileName; }

    virtual bool SectionExists(const UnicodeString &section);
    virtual bool ValueExists(const UnicodeString &section, const UnicodeString &name);

    virtual UnicodeString ReadString(const UnicodeString &section, const UnicodeString &name,
                                     const UnicodeString &def) = 0;
    virtual void WriteString(const UnicodeString &section, const UnicodeString &name,
                             const UnicodeString &value) = 0;
    virtual int32_t ReadInteger(const UnicodeString &section, const UnicodeString &name,
                                int32_t def);
    virtual void WriteInteger(const UnicodeString &section, const UnicodeString &name,
                              int32_t value);
    virtual bool ReadBool(const UnicodeString &section, const UnicodeString &name, bool def);
    virtual void WriteBool(const UnicodeString &section, const UnicodeString &name, bool value);
    virtual double ReadFloat(const UnicodeString &section, const UnicodeString &name, double def);
    virtual void WriteFloat(const UnicodeString &section, const UnicodeString &name, double value);
    virtual TDateTime ReadDate(const UnicodeString &section, const UnicodeString &name,
                               TDateTime def);
    virtual void WriteDate(const UnicodeString &section, const UnicodeString &name,
                           TDateTime value);
    virtual TDateTime ReadTime(const UnicodeString &section, const UnicodeString &name,
                               TDateTime def);
    virtual void WriteTime(const UnicodeString &section, const UnicodeString &name,
                           TDateTime value);
    virtual TDateTime ReadDateTime(const UnicodeString &section, const UnicodeString &name,
                                   TDateTime def);
    virtual void WriteDateTime(const UnicodeString &section, const UnicodeString &name,
                               TDateTime value);
    // Appends the value's bytes to the stream and returns their number (0 when missing).
    // EIniFileException when the stored text is not an even number of hexadecimal digits.
    virtual int32_t ReadBinaryStream(const UnicodeString &section, const UnicodeString &name,
                                     TStream &value);
    // Writes the stream's bytes from its position to its end.
    virtual void WriteBinaryStream(const UnicodeString &section, const UnicodeString &name,
                                   TStream &value);

    // The names of a section, of all sections, and a section's "name=value" lines; each list
    // is cleared first.
    virtual void ReadSection(const UnicodeString &section, TStrings &strings) = 0;
    virtual void ReadSections(TStrings &strings) = 0;
    virtual void ReadSectionValues(const UnicodeString &section, TStrings &strings) = 0;
    virtual void EraseSection(const UnicodeString &section) = 0;
    virtual void DeleteKey(const UnicodeString &section, const UnicodeString &name) = 0;
    // Writes pending changes to the backing store.
    virtual void UpdateFile() = 0;

protected:
    UnicodeString FFileName;
};

// Case-insensitive comparison of INI names (Unicode simple upper-case mapping, code point by
// code point), and a hash that agrees with it; both allocate nothing, as lookups are many.
bool SameIniName(const UnicodeString &a, const UnicodeString &b);
struct TIniNameHash {
    size_t operator()(const UnicodeString &name) const;
};
struct TIniNameEqual {
    bool operator()(const UnicodeString &a, const UnicodeString &b) const {
        return SameIniName(a, b);
    }
};
using TIniNameIndex = std::unordered_map<UnicodeString, size_t, TIniNameHash, TIniNameEqual>;

// An INI file held in memory. The constructor reads the file when it exists (UTF-8 or UTF-16
// by signature, else the given encoding, ANSI by default); UpdateFile writes the whole file in
// the current encoding, with a signature for UTF-8 and UTF-16, through SaveFileSafely: when it
// cannot, the file keeps its old content and EIniFileException carries the save's message
// naming the file and the reason. Parsing: "[name]" starts a
// section (blanks around it ignored); "name=value" lines belong to the section above, name and
// value trimmed of blanks; blank lines, ";" comments and lines before the first section are
// skipped. Bad input (a file over 64 MiB, a line over 64 KiB, a section header without "]")
// raises EIniFileException naming the file and line; nothing is kept from such a file.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const UnicodeString &fileName);
    TMemIniFile(const UnicodeString &fileName, const TEncoding &encoding);

    const TEncoding &GetEncoding() const { return FEncoding; }
    void SetEncoding(const TEncoding &encoding) { FEncoding = encoding; }

    using TCustomIniFile::ReadString;
    UnicodeString ReadString(const UnicodeString &section, const UnicodeString &name,
                             const UnicodeString &def) override;
    void WriteString(const UnicodeString &section, const UnicodeString &name,
                     const UnicodeString &value) override;
    bool SectionExists(const UnicodeString &section) override;
    bool ValueExists(const UnicodeString &section, const UnicodeString &name) override;
    void ReadSection(const UnicodeString &section, TStrings &strings) override;
    void ReadSections(TStrings &strings) override;
    void ReadSectionValues(const UnicodeString &section, TStrings &strings) override;
    void EraseSection(const UnicodeString &section) override;
    void DeleteKey(const UnicodeString &section, const UnicodeString &name) override;
    void UpdateFile() override;

    // Replaces the content with the text of an INI file (same rules as reading the file).
    void SetStrings(const TStrings &lines);
    // The content as INI lines.
    void GetStrings(TStrings &lines) const;
    void Clear() { SetSections({}); }

    // Parses lines into sections; exposed for other stores that keep INI text (the registry).
    struct TEntry {
        UnicodeString Name;
        UnicodeString Value;
    };
    // Entries in file order, found by name through an index (so reading or writing n keys
    // takes time in proportion to n, not n squared).
    struct TSection {
        UnicodeString Name;
        std::vector<TEntry> Entries;
        TIniNameIndex Index; // name -> position in Entries

        TEntry *Find(const UnicodeString &name);
        // Replaces the value of the entry of that name, or adds the entry at the end.
        void Set(const UnicodeString &name, const UnicodeString &value);
        void Erase(const UnicodeString &name);
    };
    static std::vector<TSection> ParseLines(const TStrings &lines, const UnicodeString &source);

private:
    void LoadValues();
    void SetSections(std::vector<TSection> sections);
    TSection *FindSection(const UnicodeString &section);
    TSection &AddSection(const UnicodeString &section);

    std::vector<TSection> FSections;
    TIniNameIndex FSectionIndex; // name -> position
    TEncoding FEncoding = TEncoding::Default();
};

// An INI file that writes every change through to the disk at once (as the system's profile
// functions do); reads come from the content loaded at construction plus the changes.
class TIniFile : public TMemIniFile {
public:
    using TMemIniFile::TMemIniFile;
    ~TIniFile() override = default;

    void WriteString(const UnicodeString &section, const UnicodeString &name,
                     const UnicodeString &value) override;
    void EraseSection(const UnicodeString &section) override;
    void DeleteKey(const UnicodeString &section, const UnicodeString &name) override;
};

// Two upper-case hexadecimal digits per byte, and back; HexToBytes returns false for an odd
// length or a character that is not a hexadecimal digit.
UnicodeString BytesToHex(const TBytes &bytes);
bool HexToBytes(const UnicodeString &hex, TBytes &bytes);

} // namespace rtl
