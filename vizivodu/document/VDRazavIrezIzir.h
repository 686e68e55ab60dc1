// IVDRazavIrezIzirInterface: the outside page-layout component an application may put around a
// viewer (it shows the document as pages and paints it). The system supplies none; documents
// reach the one the application gives through the absolute root's control.
#pragma once

#include "platform/rtl/Types.h"

#include <cstdint>

namespace gfx {
class TCanvas;
}
namespace ui {
class TControl;
}

namespace vizivodu {

class TCustomVDData;

// Every operation has a neutral body: a component implements what it uses. The viewer keeps
// no ownership; the component outlives the viewers that ask for it.
class IVDRazavIrezIzirInterface {
public:
    virtual ~IVDRazavIrezIzirInterface() = default;

    // ---- Told ----
    // The note item itemNo of vdData was read.
    virtual void NoteRead(TCustomVDData *, int32_t) {}
    // The root document of control is about to be saved.
    virtual void BeforeSaving(ui::TControl *) {}
    // The root document starts formatting.
    virtual void FormattingStarts(TCustomVDData *) {}
    // The control formats (true) or clears (false) itself and its extra documents.
    virtual void AllDue(bool) {}
    // The root document of control was cleared.
    virtual void Cleared(ui::TControl *) {}
    // The control's hint changed (its Hint holds it).
    virtual void HintChanged(ui::TControl *) {}
    // The viewer control was invalidated (kind 0) or updated (kind 2).
    virtual void ControlRepainted(ui::TControl *, int32_t) {}
    // The root viewer control's BiDi mode changed.
    virtual void BiDiModeChanged(ui::TControl *) {}
    // The rectangle r (client coordinates of vdData's control) was invalidated; fromLiveSpelling
    // when only misspelling marks changed.
    virtual void RectInvalidated(TCustomVDData *, const rtl::TRect &, bool) {}

    // ---- Asked ----
    // The canvas on which text is measured; nullptr leaves the control's own.
    virtual gfx::TCanvas *GetCanvas() { return nullptr; }
    // Paints the background of vdData behind r (canvas coordinates) instead of the document.
    virtual void DrawBackground(gfx::TCanvas &, TCustomVDData *, bool, const rtl::TRect &) {}
    // Whether hyperlink reading and writing events may run.
    virtual bool AllowsHyperlinkEvents() { return true; }
    // The zoom in percent at which the component shows the document; pictures and backgrounds
    // make their screen copies at that scale.
    virtual int32_t GetZoomPercent() { return 100; }
};

} // namespace vizivodu
