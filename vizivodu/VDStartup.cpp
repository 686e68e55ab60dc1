// The library's start-up: one place that runs the units' start-up steps in unit order, since
// C++ gives static initialisers no order across files.
#include "vizivodu/VDStartup.h"

#include "vizivodu/VDStartup_p.h"

namespace vizivodu {

namespace {

bool Initialized = false;

} // namespace

void InitializeLibrary() {
    if (Initialized) {
        return;
    }
    Initialized = true;
    startup::InitializeVDItem();
    startup::InitializeVDGrHandler();
    startup::InitializeVDClipboardFormats();
    startup::InitializeVDLabelItem();
    startup::InitializeVDSeqItem();
    startup::InitializeVDNotes();
    startup::InitializeVDSidenotes();
    startup::InitializeVDFieldItems();
    startup::InitializeVDUniscribe();
    startup::InitializeVDThumbMaker();
    startup::InitializeVDTable();
}

bool IsLibraryInitialized() {
    return Initialized;
}

} // namespace vizivodu
