// Scopes that set a piece of global state for one test and put the old state back: the format
// settings and the emulated registry's store file.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "tests/support/TempFolder.h"

namespace wbtest {

// Sets the global format settings; the previous ones come back when the scope ends.
class TFormatSettingsScope {
public:
    explicit TFormatSettingsScope(const rtl::TFormatSettings &settings);
    ~TFormatSettingsScope();
    TFormatSettingsScope(const TFormatSettingsScope &) = delete;
    TFormatSettingsScope &operator=(const TFormatSettingsScope &) = delete;

private:
    rtl::TFormatSettings FOld;
};

// The Russian settings (the emulated system's) with the given decimal separator.
class TDecimalSeparatorScope : public TFormatSettingsScope {
public:
    explicit TDecimalSeparatorScope(char16_t separator);
};

// Points the emulated registry at an empty store file in a folder of its own, so that a test
// neither sees nor changes the user's settings; the default store comes back when it ends.
class TRegistryStoreScope {
public:
    TRegistryStoreScope();
    ~TRegistryStoreScope();
    TRegistryStoreScope(const TRegistryStoreScope &) = delete;
    TRegistryStoreScope &operator=(const TRegistryStoreScope &) = delete;

    // The folder that holds the store ("registry.ini"); tests may keep their own files there.
    const TTempFolder &Folder() const { return FFolder; }

private:
    TTempFolder FFolder;
};

} // namespace wbtest
