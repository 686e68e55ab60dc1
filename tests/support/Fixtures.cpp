// Format-settings and registry-store scopes.
#include "tests/support/Fixtures.h"

#include "platform/rtl/Registry.h"

namespace wbtest {

TFormatSettingsScope::TFormatSettingsScope(const rtl::TFormatSettings &settings)
    : FOld(rtl::FormatSettings()) {
    rtl::SetFormatSettings(settings);
}

TFormatSettingsScope::~TFormatSettingsScope() {
    rtl::SetFormatSettings(FOld);
}

namespace {

rtl::TFormatSettings RussianWithDecimalSeparator(char16_t separator) {
    rtl::TFormatSettings settings = rtl::TFormatSettings::Russian();
    settings.DecimalSeparator = separator;
    return settings;
}

} // namespace

TDecimalSeparatorScope::TDecimalSeparatorScope(char16_t separator)
    : TFormatSettingsScope(RussianWithDecimalSeparator(separator)) {}

TRegistryStoreScope::TRegistryStoreScope() {
    rtl::SetRegistryStoreFileForTesting(FFolder.File("registry.ini"));
}

TRegistryStoreScope::~TRegistryStoreScope() {
    rtl::SetRegistryStoreFileForTesting(u"");
}

} // namespace wbtest
