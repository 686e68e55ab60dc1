// The document's side of the outside page-layout component: the absolute root answers for the
// tree, and notes read into a document are announced to it.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDRazavIrezIzir.h"

namespace vizivodu {

IVDRazavIrezIzirInterface *TCustomVDData::GetRazavIrezIzirInterface() {
    TCustomVDData *root = GetAbsoluteRootData();
    return root && root != this ? root->GetRazavIrezIzirInterface() : nullptr;
}

void TCustomVDData::AfterReadNote(TCustomVDData *vdData, int32_t itemNo) {
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->NoteRead(vdData, itemNo);
    }
}

} // namespace vizivodu
