// Docking: the dock manager interface, the default dock manager (TDockTree) and the floating
// host window of undocked controls.
#pragma once

#include "platform/gfx/Graphics.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WinControl.h"

#include <vector>

namespace ui {

// Lays out and paints the controls docked in one dock site.
class IDockManager {
public:
    virtual ~IDockManager() = default;
    // A control was docked (dropCtl: the docked control it was dropped on, or nullptr).
    virtual void InsertControl(TControl *control, TAlign insertAt, TControl *dropCtl) = 0;
    virtual void RemoveControl(TControl *control) = 0;
    // Places every docked control again (after the site changed size).
    virtual void ResetBounds(bool force) = 0;
    // Paints the grabbers onto the site's canvas (client coordinates).
    virtual void PaintSite(gfx::TCanvas &canvas) = 0;
    // The rectangle (site client coordinates) a control would take when dropped at dropAlign.
    virtual void PositionDockRect(TControl *client, TControl *dropCtl, TAlign dropAlign,
                                  gfx::TRect &dockRect) = 0;
    // The zone of a docked control, grabber included; empty for another control.
    virtual void GetControlBounds(TControl *control, gfx::TRect &bounds) = 0;
};

// The default dock manager: docked controls share the site's dock client rectangle in equal
// zones, side by side in a site aligned alTop or alBottom, else one above the other. Each zone
// has a grabber strip of GrabberSize pixels (AdjustDockRect cuts it off), from which the mouse
// drags the control away. The manager hooks the site's window procedure for those presses
// and restores it when destroyed.
class TDockTree : public IDockManager {
public:
    explicit TDockTree(TWinControl *dockSite);
    ~TDockTree() override;

    void InsertControl(TControl *control, TAlign insertAt, TControl *dropCtl) override;
    void RemoveControl(TControl *control) override;
    void ResetBounds(bool force) override;
    void PaintSite(gfx::TCanvas &canvas) override;
    void PositionDockRect(TControl *client, TControl *dropCtl, TAlign dropAlign,
                          gfx::TRect &dockRect) override;
    void GetControlBounds(TControl *control, gfx::TRect &bounds) override;

    TWinControl *GetDockSite() const { return FDockSite; }
    int32_t GetGrabberSize() const { return FGrabberSize; }
    // The docked control whose grabber holds p (site client coordinates), or nullptr.
    TControl *GrabberAt(gfx::TPoint p) const;

protected:
    // The control's rectangle inside its zone: without the grabber strip (top, or left in a
    // site aligned alTop or alBottom).
    virtual void AdjustDockRect(TControl *control, gfx::TRect &rect);
    // The grabber of a docked control; rect is its zone.
    virtual void PaintDockFrame(gfx::TCanvas &canvas, TControl *control, const gfx::TRect &rect);
    void SetGrabberSize(int32_t size) { FGrabberSize = size; }
    bool SideBySide() const;

private:
    std::vector<gfx::TRect> Zones(size_t count) const;
    void SiteMessage(TMessage &message);

    TWinControl *FDockSite;
    TWndMethod FOldWndProc;
    std::vector<TControl *> FClients; // in docking order
    std::vector<TControl *> FShown;   // the visible ones, each in its zone
    std::vector<gfx::TRect> FZones;
    int32_t FGrabberSize = 12;
};

// The tool window a floating control stands alone in; it takes the control's caption.
class TCustomDockForm : public TForm {
public:
    explicit TCustomDockForm(TComponent *owner);
};

} // namespace ui
