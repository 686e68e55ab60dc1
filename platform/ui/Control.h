// TControl: the base of everything shown in a window — bounds, alignment, visibility, font,
// colour, caption, mouse events, and the Windows-style message entry (WndProc/Dispatch).
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Types.h"
#include "platform/ui/Component.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Messages.h"

#include <functional>
#include <memory>

namespace ui {

class TWinControl;
class TForm;
class TBasicAction;
class TBasicActionLink;
class TCustomDockForm;

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
// What dragging the control does (dkDock: docks it), and whether a left-button press starts
// it (dmAutomatic) or only code does.
enum TDragKind : uint8_t { dkDrag, dkDock };
enum TDragMode : uint8_t { dmManual, dmAutomatic };
// The control's message entry as others may hook it; empty means WndProc.
using TWndMethod = std::function<void(TMessage &)>;
// Reading order and alignment: bdRightToLeft reads and aligns right to left; the other two
// right-to-left modes keep left alignment (one of them also keeps the scroll bars).
enum TBiDiMode : uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
// How a control takes its action's state: all of it, or only what it has not set itself (a
// control being loaded from a stored form).
enum TActionChangeMode : uint8_t { acmReplaceAll, acmKeepSetValues };

// Minimum and maximum width and height; 0 means no limit.
struct TSizeConstraints {
    int32_t MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

// How screen readers see an own-drawn control: as the standard control it stands for, with
// that control's role, states and default action. Wrapped standard widgets keep their own.
enum TAccessibleRole : uint8_t { arClient, arWindow, arDialog, arPushButton, arSlider };
struct TAccessibleInfo {
    TAccessibleRole Role = arClient;
    bool Pressable = false; // has the default action "Press" (AccessiblePress)
    bool Checkable = false; // stays down when pressed (a button of a group)
    bool Checked = false;
    bool Pressed = false;       // shown pressed right now
    bool DefaultButton = false; // Enter clicks it
    // A control showing a value in a range (a slider): Value within MinValue..MaxValue.
    bool HasValue = false;
    int32_t Value = 0, MinValue = 0, MaxValue = 0;
};

// Transient states of a control: csPaintCopy while it paints a copy of itself into another
// canvas (WM_PAINT carrying that canvas) rather than onto its window.
enum TControlStateFlag : uint8_t { csPaintCopy };
using TControlState = rtl::TSet<TControlStateFlag>;

using TNotifyEvent = std::function<void(TComponent *sender)>;
using TMouseEvent = std::function<void(TComponent *sender, TMouseButton button, TShiftState shift,
                                       int32_t x, int32_t y)>;
using TMouseMoveEvent =
    std::function<void(TComponent *sender, TShiftState shift, int32_t x, int32_t y)>;
using TMouseWheelEvent =
    std::function<void(TComponent *sender, TShiftState shift, int32_t wheelDelta,
                       gfx::TPoint mousePos, bool &handled)>;

// Touch gestures a control asks for. The windowing system's pinch arrives as igZoom, its pan
// as igPan.
enum TInteractiveGesture : uint8_t { igZoom, igPan, igRotate, igTwoFingerTap, igPressAndTap };
using TInteractiveGestures = rtl::TSet<TInteractiveGesture>;
enum TInteractiveGestureFlag : uint8_t { gfBegin, gfInertia, gfEnd };
using TInteractiveGestureFlags = rtl::TSet<TInteractiveGestureFlag>;

// One step of a gesture. Location is in the control's client coordinates; Distance, for igZoom,
// is the distance between the fingers: 100 at the beginning, in proportion afterwards (the
// windowing system reports scale factors, not the fingers' places).
struct TGestureEventInfo {
    TInteractiveGesture GestureID = igZoom;
    gfx::TPoint Location;
    TInteractiveGestureFlags Flags;
    int32_t Distance = 0;
};

// Bounds are in the parent's client coordinates (for a form: on the screen, frame included).
// A control with a parent is shown when it and all its parents are visible. Each control
// is backed by a native widget made by its class; own-drawn classes receive all their input
// and paint requests as messages, wrapped standard widgets report theirs after handling.
class TControl : public TComponent {
public:
    explicit TControl(TComponent *owner);
    ~TControl() override;

    TWinControl *GetParent() const { return FParent; }
    virtual void SetParent(TWinControl *parent);
    // The form containing the control (the outermost one; itself for a form on its own);
    // nullptr when the control stands in no form.
    virtual TForm *GetParentForm() const;

    TAlign GetAlign() const { return FAlign; }
    void SetAlign(TAlign align);
    int32_t GetLeft() const { return FBounds.Left; }
    int32_t GetTop() const { return FBounds.Top; }
    int32_t GetWidth() const { return FBounds.Width(); }
    int32_t GetHeight() const { return FBounds.Height(); }
    void SetLeft(int32_t v) { SetBounds(v, GetTop(), GetWidth(), GetHeight()); }
    void SetTop(int32_t v) { SetBounds(GetLeft(), v, GetWidth(), GetHeight()); }
    void SetWidth(int32_t v) { SetBounds(GetLeft(), GetTop(), v, GetHeight()); }
    void SetHeight(int32_t v) { SetBounds(GetLeft(), GetTop(), GetWidth(), v); }
    virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    gfx::TRect GetBoundsRect() const { return FBounds; }
    TSizeConstraints GetConstraints() const { return FConstraints; }
    void SetConstraints(const TSizeConstraints &c);
    // The client area in the control's own coordinates (0, 0, client width, client height).
    virtual gfx::TRect GetClientRect() const;
    int32_t GetClientWidth() const { return GetClientRect().Width(); }
    int32_t GetClientHeight() const { return GetClientRect().Height(); }
    virtual void SetClientWidth(int32_t w);
    virtual void SetClientHeight(int32_t h);

    bool GetVisible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible (and the form shown).
    bool IsShowing() const;
    bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool enabled);

    gfx::TFont &GetFont() { return FFont; }
    void SetFont(const gfx::TFont &font) { FFont.Assign(font); }
    bool GetParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    gfx::TColor GetColor() const { return FColor; }
    void SetColor(gfx::TColor color);
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool value);

    const rtl::UnicodeString &GetCaption() const { return FText; }
    void SetCaption(const rtl::UnicodeString &text) { SetText(text); }
    virtual rtl::UnicodeString GetText() const { return FText; }
    virtual void SetText(const rtl::UnicodeString &text);
    const rtl::UnicodeString &GetHint() const { return FHint; }
    void SetHint(const rtl::UnicodeString &hint);
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }
    // The cursor over the control; crDefault shows its parent's.
    TCursor GetCursor() const { return FCursor; }
    // The touch gestures the control receives through DoGesture (none by default).
    TInteractiveGestures GetInteractiveGestures() const { return FInteractiveGestures; }
    void SetInteractiveGestures(TInteractiveGestures gestures);
    void SetCursor(TCursor cursor);
    TBiDiMode GetBiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode mode);
    // Whether the control lays out right to left (bdRightToLeft).
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }

    void Invalidate();
    // Asks for a repaint of r (client coordinates) only: areas invalidated before the next
    // paint are united, and that paint's canvas is clipped to their union.
    void InvalidateRect(const gfx::TRect &r);
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();

    gfx::TPoint ClientToScreen(gfx::TPoint p) const;
    gfx::TPoint ScreenToClient(gfx::TPoint p) const;
    // While captured, the control gets the mouse messages wherever the mouse is.
    void SetMouseCapture(bool capture);

    TControlState GetControlState() const { return FControlState; }
    void SetControlState(TControlState state) { FControlState = state; }

    // Sends a message to the control now (through WindowProc) and returns its result. WM_PAINT
    // with a WParam other than 0 paints into the gfx::TCanvas that WParam points at (the
    // device context of the system's message) instead of the control's window.
    LRESULT Perform(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The hookable message entry: a hook keeps the one it replaces and passes messages on to
    // it; restoring it ends the hook.
    TWndMethod GetWindowProc();
    void SetWindowProc(TWndMethod proc) { FWindowProc = std::move(proc); }

    // Docking. The dock site the control is docked in (its floating host while floating), or
    // nullptr. ManualDock moves it into site (nullptr: floats it where it is), placed by the
    // site's dock manager, or by align without one; false when the old site's OnUnDock
    // refuses. ManualFloat puts it alone in a floating tool window whose client area covers
    // screenRect. Dragging with DragKind dkDock (from a press on the control with DragMode
    // dmAutomatic, or on its grabber in a dock site) docks it in the dock site under the mouse
    // that accepts it, or floats it where the mouse is released.
    TWinControl *GetHostDockSite() const { return FHostDockSite; }
    bool GetFloating() const;
    bool ManualDock(TWinControl *site, TAlign align = alNone);
    void ManualFloat(const gfx::TRect &screenRect);
    TDragKind GetDragKind() const { return FDragKind; }
    void SetDragKind(TDragKind kind) { FDragKind = kind; }
    TDragMode GetDragMode() const { return FDragMode; }
    void SetDragMode(TDragMode mode) { FDragMode = mode; }
    // Starts dragging the control to dock it, with capturer receiving the mouse meanwhile;
    // screenPos is where the press was.
    void BeginDockDrag(TControl &capturer, gfx::TPoint screenPos);
    // The control's message entry; the default passes the message to Dispatch.
    virtual void WndProc(TMessage &message);
    // Calls the handler of the message; unknown messages go to DefaultHandler.
    virtual void Dispatch(TMessage &message);
    virtual void DefaultHandler(TMessage &message);

    // Runs the control's click behaviour: OnClick, or without one the action's execution.
    virtual void Click();

    // What the accessibility layer reports: the default is a plain client area named by the
    // caption. AccessiblePress is the default action of a pressable control (a click, as the
    // standard control's "Press" does; nothing while disabled).
    virtual TAccessibleInfo GetAccessibleInfo() const { return {}; }
    // The name given with SetAccessibleName, else the caption.
    virtual rtl::UnicodeString GetAccessibleName() const {
        return FAccessibleName.empty() ? GetCaption() : FAccessibleName;
    }
    // The name a screen reader reads for the control, as a sighted user reads the label or
    // caption beside it (a label's FocusControl sets it); empty: the control's own.
    void SetAccessibleName(const rtl::UnicodeString &name);
    const rtl::UnicodeString &GetAssignedAccessibleName() const { return FAccessibleName; }
    virtual void AccessiblePress() {}
    // A screen reader sets the value of a control that has one (HasValue).
    virtual void AccessibleSetValue(int32_t value) { (void)value; }

    // The palette the control wants realised when it paints (0: none, as on every true-colour
    // display).
    virtual gfx::HPALETTE GetPalette() const { return 0; }

    // Hooks of the control's own native window (a control without a parent): the user resized
    // its client area, or asked to close it (false keeps it open). By default the bounds follow
    // the new size and the window closes.
    virtual void WindowResized(int32_t clientWidth, int32_t clientHeight);
    virtual bool WindowCloseRequested() { return true; }

    // The action the control follows (caption, enabled state, hint, visibility; a click
    // executes it), or nullptr. Linking takes the action's state at once.
    TBasicAction *GetAction() const;
    void SetAction(TBasicAction *action);
    // Lets the action bring its state up to date (its OnUpdate).
    void InitiateAction();

    // The control as it looks now, drawn offscreen; with an area, only that part is painted
    // (the paint's clip is the area) and grabbed.
    gfx::TBitmap GrabForTesting();
    gfx::TBitmap GrabForTesting(const gfx::TRect &area);
    // Native input as a user would give it, at (x, y) in the control (into the child widget
    // there, such as a list's rows): a left click, or a double-click.
    void ClickAtForTesting(int32_t x, int32_t y);
    void DoubleClickAtForTesting(int32_t x, int32_t y);
    // A key press and release (virtual-key number) sent to the focused widget inside the
    // control (else the control's own).
    void KeyPressForTesting(uint16_t vk, TShiftState shift = {});
    // Types text as a keyboard would, one key press and release per character carrying it as
    // its text (no scan codes), into the focused widget inside the control (else the
    // control's own).
    void TypeTextForTesting(const rtl::UnicodeString &text);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    struct Impl;
    Impl &GetImpl() const { return *FImpl; }

protected:
    // Handlers that Dispatch calls; each runs the matching virtual and event.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
    virtual bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, gfx::TPoint mousePos);
    // A step of one of the control's interactive gestures; handled: the control used it.
    virtual void DoGesture(const TGestureEventInfo &, bool &) {}
    virtual void DblClick();
    virtual void Resize();
    virtual void Paint() {}
    // Hooks for descendants: the text, font or colour changed.
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}
    virtual void EnabledChanged() {}
    // Size the control takes when it sizes itself to its content (AutoSize).
    virtual void AdjustSize() {}
    // The canvas of the paint in progress (own-drawn controls), else a measuring canvas.
    gfx::TCanvas &ControlCanvas();
    // Whether a left-button release inside the control counts as a click (own-drawn
    // controls; wrapped widgets click by themselves).
    bool FClickOnMouseUp = false;

    // Tells screen readers that what GetAccessibleInfo reports changed.
    void AccessibleStateChanged();

    // The action changed, or was just linked: the control takes its caption (unless keeping
    // set values and the caption is set to other than the control's name), enabled state,
    // hint and visibility (each unless keeping set values and changed from its default), and
    // leaves clicks to the action (unless keeping set values and OnClick is set).
    virtual void ActionChange(TBasicAction *sender, TActionChangeMode mode);
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

    void RequestParentRealign();
    // Places the native widget at the bounds (forms on their own place their window).
    virtual void ApplyBoundsToWidget();

private:
    friend class TWinControl;
    void ParentFontChanged();
    void ParentColorChanged();
    void DispatchMouse(TMessage &m);
    void PaintInto(gfx::TCanvas &canvas);

    bool UndockFrom(TWinControl *newSite);
    // A press starting a dock drag, or the capturer's mouse during one; true when taken.
    bool DockDragStep(TMessage &message);
    void ForgetDockHost();

    std::unique_ptr<Impl> FImpl;
    std::unique_ptr<TBasicActionLink> FActionLink;
    TWndMethod FWindowProc;
    TWinControl *FHostDockSite = nullptr;
    std::unique_ptr<TCustomDockForm> FFloatHost;
    TDragKind FDragKind = dkDrag;
    TDragMode FDragMode = dmManual;
    TWinControl *FParent = nullptr;
    TAlign FAlign = alNone;
    gfx::TRect FBounds;
    TSizeConstraints FConstraints;
    bool FVisible = true;
    bool FEnabled = true;
    gfx::TFont FFont;
    bool FParentFont = true;
    gfx::TColor FColor = gfx::clBtnFace;
    bool FParentColor = false;
    rtl::UnicodeString FText;
    rtl::UnicodeString FAccessibleName;
    rtl::UnicodeString FHint;
    bool FShowHint = false;
    TCursor FCursor = crDefault;
    TInteractiveGestures FInteractiveGestures;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FMouseDownInside = false;
    TControlState FControlState;
};

} // namespace ui
