// The system libraries that the platform provides in-process, loaded by name as programs load
// the Windows ones: "usp10.dll" (the complex-script string functions, ScriptString.h).
//
// Names compare without regard to case. A handle stays valid until FreeLibrary; entry points
// are the platform's own functions and stay valid for the life of the process. An entry point
// must be called through the type of the function it names (cast the TFarProc back).
#pragma once

#include <cstdint>

namespace gfx {

using HMODULE = uintptr_t;
using TFarProc = void (*)();

// The library of that name, or 0 when the platform has none.
HMODULE LoadLibraryW(const char16_t *name);
// The entry point of that name in the library, or null.
TFarProc GetProcAddress(HMODULE module, const char *name);
// Releases a handle; false for 0 or a handle LoadLibraryW never gave.
bool FreeLibrary(HMODULE module);

} // namespace gfx
