// The complex-script library's handle and entry points, process-wide: written at start-up and
// at shutdown, only read in between.
#include "vizivodu/layout/text/VDUniscribe.h"

#include "platform/gfx/Modules.h"
#include "vizivodu/VDStartup_p.h"

namespace vizivodu {

namespace {

gfx::HMODULE Library = 0;
TVDUniscribeEntries Entries;

template <class F> void Resolve(F &entry, const char *name) {
    entry = reinterpret_cast<F>(gfx::GetProcAddress(Library, name));
}

} // namespace

void LoadUniscribe() {
    Library = gfx::LoadLibraryW(u"usp10.dll");
    if (Library == 0) {
        return;
    }
    Resolve(Entries.ScriptStringAnalyse, "ScriptStringAnalyse");
    Resolve(Entries.ScriptStringCPtoX, "ScriptStringCPtoX");
    Resolve(Entries.ScriptStringXtoCP, "ScriptStringXtoCP");
    Resolve(Entries.ScriptStringOut, "ScriptStringOut");
    Resolve(Entries.ScriptString_pSize, "ScriptString_pSize");
    Resolve(Entries.ScriptStringFree, "ScriptStringFree");
    Resolve(Entries.ScriptStringGetLogicalWidths, "ScriptStringGetLogicalWidths");
    Resolve(Entries.ScriptString_pcOutChars, "ScriptString_pcOutChars");
    Resolve(Entries.ScriptStringGetOrder, "ScriptStringGetOrder");
}

void FreeUniscribe() {
    if (Library != 0) {
        gfx::FreeLibrary(Library);
    }
    Library = 0;
    Entries = TVDUniscribeEntries();
}

bool IsUniscribeAvailable() {
    return Library != 0;
}

const TVDUniscribeEntries &Usp() {
    return Entries;
}

namespace startup {

void InitializeVDUniscribe() {
    LoadUniscribe();
}

} // namespace startup

} // namespace vizivodu
