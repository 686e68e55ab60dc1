// Fuzz target of the INI reader: any bytes as an INI file, then every value read back as text,
// integer and binary stream.
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    try {
        rtl::TMemoryStream stream;
        stream.Write(data, int32_t(size));
        stream.SetPosition(0);
        rtl::TStringList lines;
        lines.LoadFromStream(stream);
        rtl::TMemIniFile ini(u"");
        ini.SetStrings(lines);
        rtl::TStringList sections, names;
        ini.ReadSections(sections);
        for (int32_t i = 0; i < sections.GetCount(); ++i) {
            ini.ReadSection(sections[i], names);
            for (int32_t j = 0; j < names.GetCount(); ++j) {
                ini.ReadInteger(sections[i], names[j], 0);
                ini.ReadFloat(sections[i], names[j], 0);
                rtl::TMemoryStream bytes;
                try {
                    ini.ReadBinaryStream(sections[i], names[j], bytes);
                } catch (const rtl::EIniFileException &) {
                }
            }
        }
    } catch (const rtl::Exception &) {
        // Refused input is the expected outcome for most mutations.
    }
    return 0;
}
