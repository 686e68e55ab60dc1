// The start-up steps of the library's units, called by InitializeLibrary in unit order. A unit
// with registrations to make at start-up declares its step here and defines it in its own
// source file.
#pragma once

namespace vizivodu::startup {} // namespace vizivodu::startup
