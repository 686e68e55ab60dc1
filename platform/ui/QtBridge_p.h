// Internal to platform/ui: how the implementation files reach the native widgets behind
// controls. Qt classes are only declared here; callers include Qt themselves.
#pragma once

#include "platform/gfx/Graphics.h"
#include "platform/ui/Control.h"

#include <functional>
#include <memory>

class QEvent;
class QKeyEvent;
class QObject;
class QPainter;
class QWidget;

namespace ui::qt {

// The widget behind a control (nullptr once Qt destroyed it).
QWidget *WidgetOf(const TControl &control);
// Gives the control its widget (taken over: destroyed with the control). Own-drawn widgets
// route every input and paint through the control's WndProc; others are only observed.
void AttachWidget(TControl &control, QWidget *widget, bool ownDrawn);
// Shows cursor over the widget (crDefault: its parent's).
void ApplyCursor(QWidget &widget, TCursor cursor);
// Asks the windowing system for the widget's touch gestures (igZoom: pinches, igPan: pans).
void ApplyGestures(QWidget &widget, TInteractiveGestures gestures);
// A plain widget that paints and takes input through the control's messages: for a windowed
// control (it erases its background and can take the focus) or a graphic one.
enum class TOwnDrawnKind : uint8_t { Graphic, Windowed };
QWidget *NewOwnDrawnWidget(TControl &control, TOwnDrawnKind kind);
// Screen readers see an own-drawn widget through its control's accessibility hooks (installed
// once, with the first own-drawn widget). The Changed calls tell them that the control's name
// or state (pressed, checked, default) changed.
void EnsureAccessibility();
void AccessibleNameChanged(QWidget *widget);
void AccessibleStateChanged(QWidget *widget);
// An event filter on the widget (and its viewport) reporting input to the control as messages.
std::unique_ptr<QObject> NewObserver(TControl &control, QWidget *widget);
// Draws the system caret (Caret.h) over what the control painted, when it is the caret's and
// the caret shows now.
void PaintCaret(const TControl &control, QPainter &painter);
// Runs an event handler; an exception leaving it goes to the application's error display.
void CallSafely(const std::function<void()> &handler);
// Queues a call for the control with the posted messages, in posting order: made (through
// CallSafely) by the message loop or ProcessMessages unless the control was destroyed meanwhile.
void PostCall(TControl *control, std::function<void()> call);
// Translates a Qt input event into the control's message; true when the message consumed it.
bool DeliverAsMessage(TControl &control, QEvent *event, bool ownDrawn);
// The canvas of the paint in progress (nullptr after it) and the canvas keeping the control's
// pen, brush and font between paints.
void SetPaintCanvas(TControl &control, gfx::TCanvas *canvas);
gfx::TCanvas &StateCanvas(TControl &control);
// Registry of live controls, so that posted messages never reach a destroyed one.
void RegisterControl(TControl *control);
void UnregisterControl(TControl *control);
bool IsLiveControl(const TControl *control);
// The widget property that names a widget's control; the control of a widget or of the
// nearest ancestor that has one (nullptr when none is alive).
inline constexpr char ControlProperty[] = "wbControl";
TControl *ControlOfWidget(QWidget *widget);
bool IsOwnDrawn(const TControl &control);
// The WM_GETDLGCODE answer of the control's native widget (0 for own-drawn ones).
LRESULT NativeDialogCode(const TControl &control);
// The shift state of the keyboard and mouse buttons now.
TShiftState KeyboardShift();
// Makes the picture the application's icon (none when empty), also for the forms that lost
// their own icon.
void SetApplicationIcon(const gfx::TGraphic &graphic);
// The Windows virtual key of a key event (0 when the key has none: its characters still go
// to the control). Letters of layouts without Latin letters are named by their place.
uint16_t ToVirtualKey(const QKeyEvent &event);
// A Qt key code for a virtual key (0 when there is none); for the testing hooks.
int ToQtKey(uint16_t vk);

} // namespace ui::qt
