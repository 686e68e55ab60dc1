// Pictures built into the executable, so that it needs no file beside it but the database.
#pragma once

#include <cstddef>

namespace workbench {

// The workbench's logo as PNG file bytes: shown by the main window, printed by the report.
extern const unsigned char LogoPng[];
extern const std::size_t LogoPngSize;

} // namespace workbench
