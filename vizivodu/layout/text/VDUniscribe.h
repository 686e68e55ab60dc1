// The loader of the complex-script library: "usp10.dll" is loaded by name at start-up and the
// entry points of its string functions are resolved by name. The complex-script engine calls
// them through Usp(); a style sheet makes that engine only while IsUniscribeAvailable().
#pragma once

#include "platform/gfx/ScriptString.h"

namespace vizivodu {

// The entry points resolved at start-up; all null while the library is not loaded.
struct TVDUniscribeEntries {
    decltype(&gfx::ScriptStringAnalyse) ScriptStringAnalyse = nullptr;
    decltype(&gfx::ScriptStringCPtoX) ScriptStringCPtoX = nullptr;
    decltype(&gfx::ScriptStringXtoCP) ScriptStringXtoCP = nullptr;
    decltype(&gfx::ScriptStringOut) ScriptStringOut = nullptr;
    decltype(&gfx::ScriptString_pSize) ScriptString_pSize = nullptr;
    decltype(&gfx::ScriptStringFree) ScriptStringFree = nullptr;
    decltype(&gfx::ScriptStringGetLogicalWidths) ScriptStringGetLogicalWidths = nullptr;
    decltype(&gfx::ScriptString_pcOutChars) ScriptString_pcOutChars = nullptr;
    decltype(&gfx::ScriptStringGetOrder) ScriptStringGetOrder = nullptr;
};

// Loads the library by name and resolves the nine entry points; once (the library's start-up).
void LoadUniscribe();
// Frees the library (the library's shutdown); the entry points become null.
void FreeUniscribe();
// True while the library is loaded. The entry points are not checked again.
bool IsUniscribeAvailable();
const TVDUniscribeEntries &Usp();

} // namespace vizivodu
