// Style sheet from an INI section: any bytes as an INI file, loaded into a sheet as section
// "VDStyle"; what loads is saved and must load again to the same sheet's keys.
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "vizivodu/styles/VDStyle.h"

#include <cstdlib>

void wbfuzz::FuzzOne(TInput input) {
    rtl::TMemoryStream stream;
    stream.Write(input.data(), int32_t(input.size()));
    stream.SetPosition(0);
    rtl::TStringList lines;
    lines.LoadFromStream(stream);
    rtl::TMemIniFile ini(u"fuzz.ini");
    ini.SetStrings(lines);
    vizivodu::TVDStyle sheet(nullptr);
    sheet.LoadFromINI(ini, u"VDStyle");
    rtl::TMemIniFile saved(u"saved.ini");
    sheet.SaveToINI(saved, u"VDStyle");
    vizivodu::TVDStyle again(nullptr);
    again.LoadFromINI(saved, u"VDStyle");
    rtl::TMemIniFile savedAgain(u"again.ini");
    again.SaveToINI(savedAgain, u"VDStyle");
    rtl::TStringList a, b;
    saved.GetStrings(a);
    savedAgain.GetStrings(b);
    if (a.GetText() != b.GetText()) {
        std::abort(); // what one load read, a second load of its saving must read alike
    }
}
