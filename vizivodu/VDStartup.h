// The start-up of the rich-document library: the registrations its units make before any
// style sheet or document exists, in the order of the units.
#pragma once

namespace vizivodu {

// Runs every unit's start-up once, in unit order; later calls do nothing. The application and
// the tests call it before they create style sheets or documents. How a unit adds its step:
// docs/vizivodu.md.
void InitializeLibrary();

// True once InitializeLibrary has run.
bool IsLibraryInitialized();

} // namespace vizivodu
