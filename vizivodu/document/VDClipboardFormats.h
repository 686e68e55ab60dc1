// The clipboard formats that documents are exchanged in, registered by name at the library's
// start-up so that other programs find them under the same names.
#pragma once

#include <cstdint>

namespace vizivodu {

// Format numbers; 0 until registered (and after a failed registration: no format).
inline uint32_t CF_VDF = 0;  // "ViziVodu Format": length-prefixed native documents
inline uint32_t CF_RTF = 0;  // "Rich Text Format"
inline uint32_t CF_URL = 0;  // "UniformResourceLocator"
inline uint32_t CF_HTML = 0; // "HTML Format"

} // namespace vizivodu
