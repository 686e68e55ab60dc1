// Checked reading of a style section: every value a style reads goes through one reader that
// names the file, section and key of a bad value, and that keeps counts in proportion to the
// section's size.
#pragma once

#include "platform/rtl/System.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <cstdint>
#include <memory>

namespace rtl {
class TCustomIniFile;
}

namespace vizivodu {

// Keys may be missing in any combination (they read as their defaults); a key that is present
// must hold a value of its kind in its range. A count may exceed the number of values in the
// section by at most kSpareCount over the whole load: every stored style writes at least one
// key, so only a damaged file claims more, and a few lines must not make millions of styles.
class TVDIniReader {
public:
    static constexpr int64_t kSpareCount = 64;

    TVDIniReader(rtl::TCustomIniFile &ini, const UnicodeString &section);

    rtl::TCustomIniFile &GetIni() const { return FIni; }
    const UnicodeString &GetSection() const { return FSection; }

    bool Exists(const UnicodeString &key) const;
    // A decimal integer (or what the store reads as one); EViziVoduError when not one.
    int32_t Int(const UnicodeString &key, int32_t def) const;
    // Int within lo .. hi.
    int32_t Range(const UnicodeString &key, int32_t def, int32_t lo, int32_t hi) const;
    bool Bool(const UnicodeString &key, bool def) const;
    UnicodeString Str(const UnicodeString &key, const UnicodeString &def) const;
    UnicodeString LongStr(const UnicodeString &key) const;
    // A count of items to create, taken from the section's allowance.
    int32_t Count(const UnicodeString &key, int32_t def);
    // Bytes stored as two hexadecimal digits each.
    rtl::TBytes Hex(const UnicodeString &key, const UnicodeString &text) const;
    [[noreturn]] void Fail(const UnicodeString &key, const UnicodeString &reason) const;

private:
    rtl::TCustomIniFile &FIni;
    UnicodeString FSection;
    int64_t FAllowance;
};

} // namespace vizivodu

namespace vizivodu {

// The reader of the load under way when it reads the same section of the same store, else a
// new one for the time of the scope: nested style loaders share one allowance of counts.
class TVDIniReaderScope {
public:
    TVDIniReaderScope(rtl::TCustomIniFile &ini, const UnicodeString &section);
    TVDIniReaderScope(const TVDIniReaderScope &) = delete;
    TVDIniReaderScope &operator=(const TVDIniReaderScope &) = delete;
    ~TVDIniReaderScope();

    TVDIniReader &operator*() const { return *FReader; }

private:
    std::unique_ptr<TVDIniReader> FOwn;
    TVDIniReader *FReader = nullptr;
    TVDIniReader *FPrevious = nullptr;
};

} // namespace vizivodu
