// The libraries by name: a fixed table of the platform's modules and their entry points.
#include "platform/gfx/Modules.h"

#include "platform/gfx/ScriptString.h"

#include <cstring>
#include <string_view>

namespace gfx {

namespace {

struct TEntry {
    const char *Name;
    TFarProc Proc;
};

template <class F> TFarProc Proc(F *f) {
    return reinterpret_cast<TFarProc>(f);
}

const TEntry Usp10Entries[] = {
    {"ScriptStringAnalyse", Proc(&ScriptStringAnalyse)},
    {"ScriptStringCPtoX", Proc(&ScriptStringCPtoX)},
    {"ScriptStringXtoCP", Proc(&ScriptStringXtoCP)},
    {"ScriptStringOut", Proc(&ScriptStringOut)},
    {"ScriptString_pSize", Proc(&ScriptString_pSize)},
    {"ScriptStringFree", Proc(&ScriptStringFree)},
    {"ScriptStringGetLogicalWidths", Proc(&ScriptStringGetLogicalWidths)},
    {"ScriptString_pcOutChars", Proc(&ScriptString_pcOutChars)},
    {"ScriptStringGetOrder", Proc(&ScriptStringGetOrder)},
};

struct TModule {
    const char16_t *Name;
    const TEntry *Entries;
    size_t Count;
};

const TModule Modules[] = {
    {u"usp10.dll", Usp10Entries, sizeof(Usp10Entries) / sizeof(Usp10Entries[0])},
};

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Handles are the table index plus one.
const TModule *ModuleOf(HMODULE module) {
    const size_t count = sizeof(Modules) / sizeof(Modules[0]);
    return module >= 1 && module <= count ? &Modules[module - 1] : nullptr;
}

} // namespace

HMODULE LoadLibraryW(const char16_t *name) {
    if (!name) {
        return 0;
    }
    for (size_t i = 0; i < sizeof(Modules) / sizeof(Modules[0]); ++i) {
        if (SameName(name, Modules[i].Name)) {
            return HMODULE(i + 1);
        }
    }
    return 0;
}

TFarProc GetProcAddress(HMODULE module, const char *name) {
    const TModule *m = ModuleOf(module);
    if (!m || !name) {
        return nullptr;
    }
    for (size_t i = 0; i < m->Count; ++i) {
        if (std::strcmp(m->Entries[i].Name, name) == 0) {
            return m->Entries[i].Proc;
        }
    }
    return nullptr;
}

bool FreeLibrary(HMODULE module) {
    return ModuleOf(module) != nullptr;
}

} // namespace gfx
