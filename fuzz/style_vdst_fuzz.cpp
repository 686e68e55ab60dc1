// Style template files (VDST): any bytes as the file, loaded into a template collection in
// both units; a file that loads is saved and must load again.
#include "fuzz/FuzzTarget.h"

#include "vizivodu/styles/VDStyle_Templates.h"

#include <cstdlib>

void wbfuzz::FuzzOne(TInput input) {
    const rtl::UnicodeString file = InputFile(input, "fuzz.vdst");
    vizivodu::TVDStyleTemplateCollection templates(nullptr);
    templates.LoadVDST(file, vizivodu::vdstuTwips);
    const rtl::UnicodeString copy = InputFile({}, "copy.vdst");
    if (!templates.SaveToVDST(copy, vizivodu::vdstuTwips)) {
        std::abort();
    }
    vizivodu::TVDStyleTemplateCollection again(nullptr);
    again.LoadVDST(copy, vizivodu::vdstuPixels);
    if (again.GetCount() != templates.GetCount()) {
        std::abort();
    }
}
