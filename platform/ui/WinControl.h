// TWinControl: a control that holds child controls, lays them out by their Align, takes the
// keyboard focus and receives key messages.
#pragma once

#include "platform/ui/Control.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class IDockManager;
struct TWindowScrollBars;

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

// One of a window's own scroll bars, as the system keeps it: range Min..Max, a page (the
// thumb's size) and the position (Min .. Max - Page + 1). A shown bar stands outside the client
// area, at the bottom (horizontal) or at the right edge (vertical) of the window; the client
// area keeps the window's top-left corner.
struct TWindowScrollBar {
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Page = 0;
    int32_t Pos = 0;
    bool Shown = false;
    bool Enabled = true;
};

// Dock-site events: a dragged control over the site (accept it or not), dropped on it, and a
// docked control leaving it for newTarget (nullptr: floating; allow false keeps it).
using TDockOverEvent =
    std::function<void(TComponent *sender, TControl *source, int32_t x, int32_t y, bool &accept)>;
using TDockDropEvent =
    std::function<void(TComponent *sender, TControl *source, int32_t x, int32_t y)>;
using TUnDockEvent =
    std::function<void(TComponent *sender, TControl *client, TWinControl *newTarget, bool &allow)>;

using TKeyEvent = std::function<void(TComponent *sender, uint16_t &key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent *sender, char16_t &key)>;

// Alignment follows the class library: inside the client area (after AdjustClientRect),
// visible aligned children take their place in the order alTop (by Top), alBottom (lowest
// first), alLeft (by Left), alRight (rightmost first), then alClient gets what remains; equal
// positions keep the children's order. Hidden children take no space.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent *owner);
    ~TWinControl() override;

    int32_t GetControlCount() const { return int32_t(FControls.size()); }
    TControl *GetControl(int32_t index) const;

    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    // Lays the children out now (unless alignment is disabled).
    void Realign();
    void DisableAlign() { ++FAlignDisabled; }
    void EnableAlign();

    bool Focused() const;
    bool CanFocus() const;
    virtual void SetFocus();
    bool GetTabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int32_t GetTabOrder() const { return FTabOrder; }
    void SetTabOrder(int32_t value) { FTabOrder = value; }

    // Sends the message to every child in child order until one sets Result non-zero. A
    // windowed child passes CM_DIALOGKEY, CM_DIALOGCHAR, CM_FOCUSCHANGED and WM_UPDATEUISTATE
    // on to its own children unless it handles them itself.
    void Broadcast(TMessage &message);
    // The windowed controls inside this one in tab order: children by TabOrder (unset ones
    // after, in child order), each followed by its own descendants (as their own
    // GetTabOrderList gives them: a control may list itself again among its children).
    virtual void GetTabOrderList(std::vector<TWinControl *> &list) const;
    // The control after (or before) current in tab order, wrapping around; only controls that
    // can take the focus, with TabStop when checkTabStop, and children of this one when
    // checkParent. current may be nullptr (start at the beginning or end). nullptr if none.
    TWinControl *FindNextControl(TWinControl *current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    // The control after (or before) current in tab order, wrapping around, that accept takes;
    // current itself is never taken (nullptr: start at the beginning or end). nullptr if none.
    TWinControl *FindNextControlWhere(TWinControl *current, bool goForward,
                                      const std::function<bool(TWinControl &)> &accept) const;
    // Focuses that control (Tab with checkTabStop, arrows without: then among the children of
    // this one only).
    void SelectNext(TWinControl *current, bool goForward, bool checkTabStop);
    // Paints the control with its visible children into canvas, its top-left corner at (x, y).
    void PaintTo(gfx::TCanvas &canvas, int32_t x, int32_t y);

    // The window's own scroll bars. Showing or hiding one changes the client area (the control
    // gets WM_SIZE); the user's requests arrive through ScrollBarRequest.
    void SetWindowScrollBar(TScrollBarKind kind, const TWindowScrollBar &bar);
    TWindowScrollBar GetWindowScrollBar(TScrollBarKind kind) const;
    // The client area: the control less its shown scroll bars.
    gfx::TRect GetClientRect() const override;
    // The width of a vertical (height of a horizontal) scroll bar.
    static int32_t ScrollBarSize();

    // Docking: a dock site takes controls dragged onto it; with UseDockManager (the default)
    // a dock manager, made by CreateDockManager when the control becomes a dock site, lays
    // them out and paints their grabbers.
    bool GetDockSite() const { return FDockSite; }
    void SetDockSite(bool value);
    bool GetUseDockManager() const { return FUseDockManager; }
    void SetUseDockManager(bool value);
    IDockManager *GetDockManager() const { return FDockManager.get(); }
    int32_t GetDockClientCount() const { return int32_t(FDockClients.size()); }
    TControl *GetDockClient(int32_t index) const { return FDockClients.at(size_t(index)); }
    // The client rectangle docked controls share (the client area as children align in).
    gfx::TRect GetDockClientRect() const;

    TDockOverEvent OnDockOver;
    TDockDropEvent OnDockDrop;
    TUnDockEvent OnUnDock;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    // A request of the user on a window scroll bar: the SB_ code and, for the thumb codes, the
    // thumb's whole position. The default sends WM_HSCROLL or WM_VSCROLL with the position in
    // the high word (cut to 16 bits, as the message carries it).
    virtual void ScrollBarRequest(TScrollBarKind kind, uint16_t code, int32_t pos);
    void ApplyBoundsToWidget() override;
    // Narrows the rectangle children align in; the default keeps the client rectangle.
    virtual void AdjustClientRect(gfx::TRect &rect) const { (void)rect; }
    virtual void AlignControls(gfx::TRect &rect);
    virtual void KeyDown(uint16_t &key, TShiftState shift);
    virtual void KeyUp(uint16_t &key, TShiftState shift);
    virtual void KeyPress(char16_t &key);
    virtual void DoEnter();
    virtual void DoExit();
    void Dispatch(TMessage &message) override;
    // The dock manager a dock site gets: a TDockTree.
    virtual std::unique_ptr<IDockManager> CreateDockManager();

private:
    friend class TControl;
    void InsertControl(TControl *c);
    void RemoveControl(TControl *c);
    void ForgetDocking();

    std::vector<TControl *> FControls;
    int FAlignDisabled = 0;
    bool FTabStop = false;
    int32_t FTabOrder = -1;
    bool FAligning = false;
    bool FDockSite = false;
    bool FUseDockManager = true;
    std::unique_ptr<IDockManager> FDockManager;
    std::vector<TControl *> FDockClients;
    std::unique_ptr<TWindowScrollBars> FScrollBars;
    void PlaceWindowScrollBars();
};

} // namespace ui
