// INI reader (settings store, registry store): any bytes as an INI file, then every value read
// back as text, integer, real and binary stream.
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"

void wbfuzz::FuzzOne(TInput input) {
    rtl::TMemoryStream stream;
    stream.Write(input.data(), int32_t(input.size()));
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
            ini.ReadString(sections[i], names[j], u"");
            ini.ReadInteger(sections[i], names[j], 0);
            ini.ReadFloat(sections[i], names[j], 0);
            rtl::TMemoryStream bytes;
            try {
                ini.ReadBinaryStream(sections[i], names[j], bytes);
            } catch (const rtl::EIniFileException &) {
                // A value that is not hexadecimal: refused, the other values still read.
            }
        }
    }
}
