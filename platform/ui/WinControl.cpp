// TWinControl: children, alignment, focus and keys.
#include "platform/ui/WinControl.h"

#include "platform/ui/Docking.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cstdint>

namespace ui {

// The native bars of a window and the square between them; made on first use.
struct TWindowScrollBars {
    TWindowScrollBar State[2];
    QPointer<QScrollBar> Bars[2];
    QPointer<QWidget> Corner;
};

TWinControl::TWinControl(TComponent *owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();
    ForgetDocking();
    DestroyComponents();
    // Children owned elsewhere outlive us: they lose their parent, and their widgets leave ours.
    for (TControl *c : FControls) {
        c->FParent = nullptr;
        if (QWidget *w = qt::WidgetOf(*c)) {
            w->hide();
            w->setParent(nullptr);
        }
    }
    FControls.clear();
}

TControl *TWinControl::GetControl(int32_t index) const {
    return index >= 0 && index < GetControlCount() ? FControls[size_t(index)] : nullptr;
}

void TWinControl::InsertControl(TControl *c) {
    FControls.push_back(c);
    // A control joining a form whose keyboard cues show shows them too.
    if (TForm *form = GetParentForm()) {
        const uint16_t shown = (form->FocusCuesShown() ? UISF_HIDEFOCUS : 0) |
                               (form->AcceleratorsShown() ? UISF_HIDEACCEL : 0);
        if (shown != 0) {
            c->Perform(WM_UPDATEUISTATE, UIS_CLEAR | (WPARAM(shown) << 16));
        }
    }
    if (c->GetAlign() != alNone) {
        Realign();
    }
}

void TWinControl::RemoveControl(TControl *c) {
    auto it = std::find(FControls.begin(), FControls.end(), c);
    if (it == FControls.end()) {
        return;
    }
    FControls.erase(it);
    if (c->GetAlign() != alNone && !IsDestroying()) {
        Realign();
    }
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    TControl::SetBounds(left, top, width, height);
}

void TWinControl::EnableAlign() {
    if (FAlignDisabled > 0 && --FAlignDisabled == 0) {
        Realign();
    }
}

void TWinControl::Realign() {
    if (FAlignDisabled > 0 || FAligning || IsDestroying()) {
        return;
    }
    gfx::TRect rect = GetClientRect();
    AdjustClientRect(rect);
    FAligning = true;
    AlignControls(rect);
    FAligning = false;
    if (FDockManager) {
        FDockManager->ResetBounds(false);
    }
}

namespace {

// The order in which children of one alignment take their place.
bool AlignsBefore(TAlign align, const TControl *a, const TControl *b) {
    switch (align) {
    case alTop:
        return a->GetTop() < b->GetTop();
    case alBottom:
        return a->GetTop() + a->GetHeight() > b->GetTop() + b->GetHeight();
    case alLeft:
        return a->GetLeft() < b->GetLeft();
    case alRight:
        return a->GetLeft() + a->GetWidth() > b->GetLeft() + b->GetWidth();
    default:
        return false;
    }
}

void PlaceAligned(TControl *c, gfx::TRect &r) {
    const int w = c->GetWidth(), h = c->GetHeight();
    switch (c->GetAlign()) {
    case alTop:
        c->SetBounds(r.Left, r.Top, r.Width(), h);
        r.Top += c->GetHeight();
        break;
    case alBottom:
        c->SetBounds(r.Left, r.Bottom - h, r.Width(), h);
        r.Bottom -= c->GetHeight();
        break;
    case alLeft:
        c->SetBounds(r.Left, r.Top, w, r.Height());
        r.Left += c->GetWidth();
        break;
    case alRight:
        c->SetBounds(r.Right - w, r.Top, w, r.Height());
        r.Right -= c->GetWidth();
        break;
    case alClient:
        c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
        break;
    default:
        break;
    }
}

} // namespace

void TWinControl::AlignControls(gfx::TRect &rect) {
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl *> group;
        for (TControl *c : FControls) {
            if (c->GetAlign() == align && c->GetVisible()) {
                group.push_back(c);
            }
        }
        std::stable_sort(group.begin(), group.end(),
                         [align](TControl *a, TControl *b) { return AlignsBefore(align, a, b); });
        for (TControl *c : group) {
            PlaceAligned(c, rect);
        }
    }
}

// Whether a control has the focus is its form's business (the form's active control), not the
// window system's: a control keeps it while another window is active, and a click into a
// window that is not active yet focuses the control under the mouse at once.
bool TWinControl::Focused() const {
    if (const TForm *form = GetParentForm(); form && form != this) {
        return form->GetActiveControl() == this;
    }
    QWidget *w = qt::WidgetOf(*this);
    return w && w->hasFocus();
}

bool TWinControl::CanFocus() const {
    return GetVisible() && GetEnabled();
}

void TWinControl::SetFocus() {
    QWidget *w = qt::WidgetOf(*this);
    if (!w) {
        return;
    }
    w->setFocus(Qt::OtherFocusReason);
    // A window that is not active gets no focus-in event; its form learns of the change here.
    if (TForm *form = GetParentForm(); form && form != this && !w->hasFocus()) {
        form->FocusChanged(this);
    }
}

void TWinControl::SetTabStop(bool value) {
    FTabStop = value;
    if (QWidget *w = qt::WidgetOf(*this); w && value) {
        w->setFocusPolicy(Qt::StrongFocus);
    }
}

void TWinControl::Dispatch(TMessage &m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        uint16_t key = uint16_t(m.WParam);
        if (m.Msg == WM_KEYDOWN) {
            KeyDown(key, qt::KeyboardShift());
        } else {
            KeyUp(key, qt::KeyboardShift());
        }
        // A handler that cleared the key swallowed it; a key without a number cannot be.
        m.Result = m.WParam != 0 && key == 0 ? 1 : 0;
        break;
    }
    case WM_CHAR: {
        char16_t ch = char16_t(m.WParam);
        KeyPress(ch);
        m.Result = ch == 0 ? 1 : 0;
        break;
    }
    case WM_ERASEBKGND: {
        // The default erase fills the area being painted with the control's colour.
        gfx::TCanvas &c = ControlCanvas();
        c.GetBrush().SetColor(GetColor());
        c.FillRect(c.GetClipRect());
        m.Result = 1;
        break;
    }
    case WM_GETDLGCODE:
        m.Result = qt::NativeDialogCode(*this);
        break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
    case WM_UPDATEUISTATE:
        Broadcast(m);
        break;
    case WM_SETFOCUS:
        DoEnter();
        if (TForm *form = GetParentForm(); form && !IsDestroying()) {
            form->FocusChanged(this);
        }
        break;
    case WM_SIZE:
        Realign();
        TControl::Dispatch(m);
        break;
    case CM_FONTCHANGED:
        for (size_t i = 0; i < FControls.size(); ++i) {
            FControls[i]->ParentFontChanged();
        }
        break;
    case CM_COLORCHANGED:
        for (size_t i = 0; i < FControls.size(); ++i) {
            FControls[i]->ParentColorChanged();
        }
        break;
    case WM_KILLFOCUS:
        DoExit();
        break;
    default:
        TControl::Dispatch(m);
        break;
    }
}

void TWinControl::Broadcast(TMessage &m) {
    // A handler may add or free controls (a click can close the form): walk a copy, skipping
    // the ones gone meanwhile.
    const std::vector<TControl *> children = FControls;
    for (TControl *c : children) {
        if (!qt::IsLiveControl(c) || c->IsDestroying()) {
            continue;
        }
        c->WndProc(m);
        if (m.Result != 0) {
            return;
        }
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl *> &list) const {
    std::vector<TWinControl *> ordered;
    for (TControl *c : FControls) {
        if (auto *wc = dynamic_cast<TWinControl *>(c)) {
            ordered.push_back(wc);
        }
    }
    const auto key = [](const TWinControl *c) {
        return c->GetTabOrder() < 0 ? INT32_MAX : c->GetTabOrder();
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const TWinControl *a, const TWinControl *b) { return key(a) < key(b); });
    for (TWinControl *c : ordered) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

namespace {

// Shown, enabled with all its parents, and able to hold the focus at all.
bool CanTakeFocus(const TWinControl &c) {
    const QWidget *w = qt::WidgetOf(c);
    return w && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus;
}

} // namespace

TWinControl *
TWinControl::FindNextControlWhere(TWinControl *current, bool goForward,
                                  const std::function<bool(TWinControl &)> &accept) const {
    std::vector<TWinControl *> list;
    GetTabOrderList(list);
    const int n = int(list.size());
    if (n == 0) {
        return nullptr;
    }
    const int at = int(std::find(list.begin(), list.end(), current) - list.begin());
    // Unknown current: start just outside the list, so the first candidate is the first (or
    // last) control.
    const int start = at < n ? at : (goForward ? n - 1 : 0);
    for (int step = 1; step <= n; ++step) {
        const int i = ((goForward ? start + step : start - step) % n + n) % n;
        TWinControl *c = list[size_t(i)];
        if (c != current && accept(*c)) {
            return c;
        }
    }
    return nullptr;
}

TWinControl *TWinControl::FindNextControl(TWinControl *current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    return FindNextControlWhere(current, goForward, [&](TWinControl &c) {
        return (!checkTabStop || c.GetTabStop()) && (!checkParent || c.GetParent() == this) &&
               CanTakeFocus(c);
    });
}

void TWinControl::SelectNext(TWinControl *current, bool goForward, bool checkTabStop) {
    TWinControl *next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (!next) {
        return;
    }
    if (QWidget *w = qt::WidgetOf(*next)) {
        // The Tab reasons let a native edit select its text, as Windows edits do.
        w->setFocus(goForward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }
}

void TWinControl::PaintTo(gfx::TCanvas &canvas, int32_t x, int32_t y) {
    QWidget *w = qt::WidgetOf(*this);
    if (!w) {
        return;
    }
    gfx::TBitmap picture;
    gfx::qt::SetImage(picture, w->grab().toImage().convertToFormat(QImage::Format_RGB32));
    canvas.Draw(x, y, picture);
}

// ---- Window scroll bars ----

// Asked of the style once and again only after the style is replaced: the client area of every
// window with a bar, and so the formatting and hit testing of documents, needs it at every turn.
int32_t TWinControl::ScrollBarSize() {
    static QPointer<QStyle> askedOf;
    static int32_t size = 0;
    gfx::qt::EnsureApplication();
    QStyle *style = QApplication::style();
    if (askedOf != style) {
        askedOf = style;
        size = style->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    return size;
}

namespace {

uint16_t ScrollCode(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    default:
        return SB_THUMBTRACK;
    }
}

} // namespace

void TWinControl::ScrollBarRequest(TScrollBarKind kind, uint16_t code, int32_t pos) {
    Perform(kind == sbVertical ? WM_VSCROLL : WM_HSCROLL,
            WPARAM(code) | (WPARAM(uint16_t(pos)) << 16), 0);
}

TWindowScrollBar TWinControl::GetWindowScrollBar(TScrollBarKind kind) const {
    return FScrollBars ? FScrollBars->State[kind] : TWindowScrollBar{};
}

void TWinControl::SetWindowScrollBar(TScrollBarKind kind, const TWindowScrollBar &bar) {
    if (!FScrollBars) {
        if (!bar.Shown) {
            return;
        }
        FScrollBars = std::make_unique<TWindowScrollBars>();
    }
    // Only showing or hiding a bar moves the bars and changes the client area; a new range or
    // position goes to the native bar alone.
    const bool shownChanges = bar.Shown != FScrollBars->State[kind].Shown;
    const gfx::TRect oldClient = shownChanges ? GetClientRect() : gfx::TRect{};
    FScrollBars->State[kind] = bar;
    QPointer<QScrollBar> &native = FScrollBars->Bars[kind];
    QWidget *w = qt::WidgetOf(*this);
    const bool made = !native && w && bar.Shown;
    if (made) {
        native = new QScrollBar(kind == sbVertical ? Qt::Vertical : Qt::Horizontal, w);
        native->setFocusPolicy(Qt::NoFocus);
        QScrollBar *sb = native;
        QObject::connect(sb, &QAbstractSlider::actionTriggered, sb, [this, kind, sb](int action) {
            qt::CallSafely(
                [&] { ScrollBarRequest(kind, ScrollCode(action), sb->sliderPosition()); });
        });
        QObject::connect(sb, &QAbstractSlider::sliderReleased, sb, [this, kind, sb] {
            qt::CallSafely([&] {
                ScrollBarRequest(kind, SB_THUMBPOSITION, sb->sliderPosition());
                ScrollBarRequest(kind, SB_ENDSCROLL, sb->sliderPosition());
            });
        });
    }
    if (native) {
        const QSignalBlocker quiet(native.data());
        native->setRange(bar.Min, std::max(bar.Min, bar.Max - std::max(bar.Page, 1) + 1));
        native->setPageStep(std::max(bar.Page, 1));
        native->setValue(bar.Pos);
        native->setEnabled(bar.Enabled);
    }
    if (!shownChanges && !made) {
        return;
    }
    PlaceWindowScrollBars();
    if (shownChanges) {
        const gfx::TRect client = GetClientRect();
        if (client != oldClient) {
            Perform(WM_SIZE, 0, MakeLParam(client.Width(), client.Height()));
        }
    }
}

gfx::TRect TWinControl::GetClientRect() const {
    gfx::TRect r = TControl::GetClientRect();
    if (!FScrollBars) {
        return r;
    }
    const bool v = FScrollBars->State[sbVertical].Shown, h = FScrollBars->State[sbHorizontal].Shown;
    if (v || h) {
        const int32_t size = ScrollBarSize();
        r.Right -= v ? size : 0;
        r.Bottom -= h ? size : 0;
    }
    return r;
}

void TWinControl::ApplyBoundsToWidget() {
    TControl::ApplyBoundsToWidget();
    PlaceWindowScrollBars();
}

// The bars stand along the right and bottom edges; where both are shown, the square between
// them has the button face's colour.
void TWinControl::PlaceWindowScrollBars() {
    if (!FScrollBars) {
        return;
    }
    const int32_t size = ScrollBarSize();
    const TWindowScrollBar &v = FScrollBars->State[sbVertical];
    const TWindowScrollBar &h = FScrollBars->State[sbHorizontal];
    const int32_t width = GetWidth(), height = GetHeight();
    const int32_t barsBottom = height - (h.Shown ? size : 0);
    const int32_t vLeft = width - size;
    const int32_t hWidth = width - (v.Shown ? size : 0);
    if (QScrollBar *sb = FScrollBars->Bars[sbVertical]) {
        sb->setGeometry(vLeft, 0, size, barsBottom);
        sb->setVisible(v.Shown);
    }
    if (QScrollBar *sb = FScrollBars->Bars[sbHorizontal]) {
        sb->setGeometry(0, barsBottom, hWidth, size);
        sb->setVisible(h.Shown);
    }
    QWidget *w = qt::WidgetOf(*this);
    const bool corner = v.Shown && h.Shown;
    if (!FScrollBars->Corner && corner && w) {
        FScrollBars->Corner = new QWidget(w);
        FScrollBars->Corner->setAutoFillBackground(true);
        QPalette palette = FScrollBars->Corner->palette();
        palette.setColor(QPalette::Window, gfx::qt::ToQColor(gfx::clBtnFace));
        FScrollBars->Corner->setPalette(palette);
    }
    if (QWidget *c = FScrollBars->Corner) {
        c->setGeometry(vLeft, barsBottom, size, size);
        c->setVisible(corner);
    }
}

void TWinControl::KeyDown(uint16_t &key, TShiftState shift) {
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
    }
}

void TWinControl::KeyUp(uint16_t &key, TShiftState shift) {
    if (OnKeyUp) {
        OnKeyUp(this, key, shift);
    }
}

void TWinControl::KeyPress(char16_t &key) {
    if (OnKeyPress) {
        OnKeyPress(this, key);
    }
}

void TWinControl::DoEnter() {
    if (OnEnter) {
        OnEnter(this);
    }
}

void TWinControl::DoExit() {
    if (OnExit) {
        OnExit(this);
    }
}

} // namespace ui
