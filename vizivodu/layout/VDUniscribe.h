// Availability of the complex-script text engine.
#pragma once

namespace vizivodu {

// The shaping core serves both graphic interfaces, so the complex-script engine is available
// wherever it is asked for.
inline bool IsUniscribeAvailable() {
    return true;
}

} // namespace vizivodu
