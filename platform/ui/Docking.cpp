// Docking: dock sites, the default dock manager, the floating host and the drag-dock protocol.
#include "platform/ui/Docking.h"

#include "platform/ui/Panel.h"

#include <algorithm>
#include <cstdlib>

namespace ui {

namespace {

bool Inside(const gfx::TRect &r, gfx::TPoint p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

// The dock sites in the order they became sites; the last one under the mouse wins.
std::vector<TWinControl *> &DockSites() {
    static std::vector<TWinControl *> sites;
    return sites;
}

// The one drag in progress: Client moves, Capturer receives the mouse meanwhile.
struct TDockDrag {
    TControl *Client = nullptr;
    TControl *Capturer = nullptr;
    gfx::TPoint Start;
    bool Moving = false;
};

TDockDrag &Drag() {
    static TDockDrag drag;
    return drag;
}

// The distance the mouse must move before a press becomes a drag.
constexpr int32_t DragThreshold = 5;

bool Contains(const TControl *outer, const TControl *inner) {
    for (const TControl *c = inner; c; c = c->GetParent()) {
        if (c == outer) {
            return true;
        }
    }
    return false;
}

// The dock site under screenPos that accepts client; nullptr when none.
TWinControl *FindDockSite(TControl *client, gfx::TPoint screenPos) {
    const std::vector<TWinControl *> &sites = DockSites();
    for (auto it = sites.rbegin(); it != sites.rend(); ++it) {
        TWinControl *site = *it;
        // Floating hosts hold one control each: nothing docks into them.
        if (Contains(client, site) || !site->IsShowing() || dynamic_cast<TCustomDockForm *>(site)) {
            continue;
        }
        const gfx::TPoint p = site->ScreenToClient(screenPos);
        if (!Inside(site->GetClientRect(), p)) {
            continue;
        }
        bool accept = true;
        if (site->OnDockOver) {
            site->OnDockOver(site, client, p.X, p.Y, accept);
        }
        if (accept) {
            return site;
        }
    }
    return nullptr;
}

// Mouse messages of the capturer while a drag is in progress; true when taken.
bool DockDragMessage(TControl &receiver, TMessage &m) {
    TDockDrag &d = Drag();
    if (d.Capturer != &receiver || (m.Msg != WM_MOUSEMOVE && m.Msg != WM_LBUTTONUP)) {
        return false;
    }
    const gfx::TPoint p = receiver.ClientToScreen({GetXLParam(m.LParam), GetYLParam(m.LParam)});
    if (!d.Moving && std::abs(p.X - d.Start.X) < DragThreshold &&
        std::abs(p.Y - d.Start.Y) < DragThreshold) {
        if (m.Msg == WM_LBUTTONUP) {
            receiver.SetMouseCapture(false);
            d = {};
        }
        return true;
    }
    d.Moving = true;
    if (m.Msg == WM_MOUSEMOVE) {
        return true;
    }
    TControl *client = d.Client;
    receiver.SetMouseCapture(false);
    d = {};
    if (TWinControl *site = FindDockSite(client, p)) {
        const gfx::TPoint at = site->ScreenToClient(p);
        if (client->ManualDock(site) && site->OnDockDrop) {
            site->OnDockDrop(site, client, at.X, at.Y);
        }
    } else {
        client->ManualFloat(gfx::Bounds(p.X, p.Y, client->GetWidth(), client->GetHeight()));
    }
    return true;
}

} // namespace

// ---- the control's side ----

TWndMethod TControl::GetWindowProc() {
    if (FWindowProc) {
        return FWindowProc;
    }
    return [this](TMessage &m) { WndProc(m); };
}

bool TControl::GetFloating() const {
    return FHostDockSite && FHostDockSite == FFloatHost.get();
}

void TControl::BeginDockDrag(TControl &capturer, gfx::TPoint screenPos) {
    Drag() = {this, &capturer, screenPos, false};
    capturer.SetMouseCapture(true);
}

bool TControl::UndockFrom(TWinControl *newSite) {
    TWinControl *old = FHostDockSite;
    if (!old) {
        return true;
    }
    bool allow = true;
    if (old->OnUnDock) {
        old->OnUnDock(old, this, newSite, allow);
    }
    if (!allow) {
        return false;
    }
    if (old->FDockManager) {
        old->FDockManager->RemoveControl(this);
    }
    std::erase(old->FDockClients, this);
    FHostDockSite = nullptr;
    return true;
}

bool TControl::ManualDock(TWinControl *site, TAlign align) {
    if (!site) {
        const gfx::TPoint at = ClientToScreen({0, 0});
        ManualFloat(gfx::Bounds(at.X, at.Y, GetWidth(), GetHeight()));
        return GetFloating();
    }
    if (site == FHostDockSite || !UndockFrom(site)) {
        return site == FHostDockSite;
    }
    SetParent(site);
    FHostDockSite = site;
    site->FDockClients.push_back(this);
    if (site->FDockManager) {
        SetAlign(alNone);
        site->FDockManager->InsertControl(this, align, nullptr);
    } else {
        SetAlign(align);
    }
    Show();
    if (FFloatHost) {
        FFloatHost->Hide();
        FFloatHost.reset();
    }
    return true;
}

void TControl::ManualFloat(const gfx::TRect &screenRect) {
    if (!GetFloating() && !UndockFrom(nullptr)) {
        return;
    }
    if (!FFloatHost) {
        FFloatHost = std::make_unique<TCustomDockForm>(nullptr);
    }
    TCustomDockForm &host = *FFloatHost;
    host.SetCaption(GetCaption());
    host.SetClientWidth(screenRect.Width());
    host.SetClientHeight(screenRect.Height());
    host.SetBounds(screenRect.Left, screenRect.Top, host.GetWidth(), host.GetHeight());
    if (FHostDockSite != &host) {
        SetParent(&host);
        FHostDockSite = &host;
        host.FDockClients.push_back(this);
    }
    SetAlign(alClient);
    Show();
    host.Show();
    // The window's frame lies outside the client area: move the client area onto the rectangle.
    const gfx::TPoint at = host.ClientToScreen({0, 0});
    host.SetBounds(host.GetLeft() + screenRect.Left - at.X, host.GetTop() + screenRect.Top - at.Y,
                   host.GetWidth(), host.GetHeight());
}

// ---- the site's side ----

void TWinControl::SetDockSite(bool value) {
    if (value == FDockSite) {
        return;
    }
    FDockSite = value;
    if (value) {
        DockSites().push_back(this);
        if (FUseDockManager && !FDockManager) {
            FDockManager = CreateDockManager();
        }
    } else {
        std::erase(DockSites(), this);
    }
}

void TWinControl::SetUseDockManager(bool value) {
    FUseDockManager = value;
    if (value && FDockSite && !FDockManager) {
        FDockManager = CreateDockManager();
    } else if (!value) {
        FDockManager.reset();
    }
}

std::unique_ptr<IDockManager> TWinControl::CreateDockManager() {
    return std::make_unique<TDockTree>(this);
}

gfx::TRect TWinControl::GetDockClientRect() const {
    gfx::TRect r = GetClientRect();
    AdjustClientRect(r);
    return r;
}

void TWinControl::ForgetDocking() {
    if (Drag().Capturer == this || Drag().Client == this) {
        Drag() = {};
    }
    std::erase(DockSites(), this);
    FDockManager.reset();
    for (TControl *c : FDockClients) {
        c->FHostDockSite = nullptr;
    }
    FDockClients.clear();
}

bool TControl::DockDragStep(TMessage &m) {
    if (m.Msg == WM_LBUTTONDOWN && FDragKind == dkDock && FDragMode == dmAutomatic &&
        GetEnabled()) {
        BeginDockDrag(*this, ClientToScreen({GetXLParam(m.LParam), GetYLParam(m.LParam)}));
        return false;
    }
    return Drag().Capturer == this && DockDragMessage(*this, m);
}

void TControl::ForgetDockHost() {
    if (Drag().Capturer == this || Drag().Client == this) {
        Drag() = {};
    }
    if (FHostDockSite) {
        if (FHostDockSite->FDockManager) {
            FHostDockSite->FDockManager->RemoveControl(this);
        }
        std::erase(FHostDockSite->FDockClients, this);
        FHostDockSite = nullptr;
    }
}

// ---- TDockTree ----

TDockTree::TDockTree(TWinControl *dockSite) : FDockSite(dockSite) {
    FOldWndProc = dockSite->GetWindowProc();
    dockSite->SetWindowProc([this](TMessage &m) { SiteMessage(m); });
}

TDockTree::~TDockTree() {
    FDockSite->SetWindowProc(FOldWndProc);
}

void TDockTree::SiteMessage(TMessage &m) {
    if (m.Msg == WM_LBUTTONDOWN) {
        const gfx::TPoint p{GetXLParam(m.LParam), GetYLParam(m.LParam)};
        if (TControl *client = GrabberAt(p)) {
            client->BeginDockDrag(*FDockSite, FDockSite->ClientToScreen(p));
            return;
        }
    }
    FOldWndProc(m);
}

bool TDockTree::SideBySide() const {
    return FDockSite->GetAlign() == alTop || FDockSite->GetAlign() == alBottom;
}

std::vector<gfx::TRect> TDockTree::Zones(size_t count) const {
    std::vector<gfx::TRect> zones;
    const gfx::TRect r = FDockSite->GetDockClientRect();
    const int32_t n = int32_t(count);
    for (int32_t i = 0; i < n; ++i) {
        if (SideBySide()) {
            zones.push_back(
                {r.Left + r.Width() * i / n, r.Top, r.Left + r.Width() * (i + 1) / n, r.Bottom});
        } else {
            zones.push_back(
                {r.Left, r.Top + r.Height() * i / n, r.Right, r.Top + r.Height() * (i + 1) / n});
        }
    }
    return zones;
}

void TDockTree::InsertControl(TControl *control, TAlign insertAt, TControl *dropCtl) {
    (void)insertAt;
    auto at = std::find(FClients.begin(), FClients.end(), dropCtl);
    FClients.insert(at == FClients.end() ? at : at + 1, control);
    ResetBounds(true);
}

void TDockTree::RemoveControl(TControl *control) {
    std::erase(FClients, control);
    ResetBounds(true);
}

void TDockTree::ResetBounds(bool force) {
    (void)force;
    FShown.clear();
    std::copy_if(FClients.begin(), FClients.end(), std::back_inserter(FShown),
                 [](TControl *c) { return c->GetVisible(); });
    FZones = Zones(FShown.size());
    for (size_t i = 0; i < FShown.size(); ++i) {
        gfx::TRect r = FZones[i];
        AdjustDockRect(FShown[i], r);
        FShown[i]->SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0));
    }
    FDockSite->Invalidate();
}

void TDockTree::GetControlBounds(TControl *control, gfx::TRect &bounds) {
    bounds = {};
    for (size_t i = 0; i < FShown.size(); ++i) {
        if (FShown[i] == control) {
            bounds = FZones[i];
        }
    }
}

TControl *TDockTree::GrabberAt(gfx::TPoint p) const {
    for (size_t i = 0; i < FShown.size(); ++i) {
        if (Inside(FZones[i], p) && !Inside(FShown[i]->GetBoundsRect(), p)) {
            return FShown[i];
        }
    }
    return nullptr;
}

void TDockTree::PositionDockRect(TControl *client, TControl *dropCtl, TAlign dropAlign,
                                 gfx::TRect &dockRect) {
    (void)dropCtl;
    (void)dropAlign;
    const std::vector<gfx::TRect> zones = Zones(FShown.size() + 1);
    dockRect = zones.back();
    AdjustDockRect(client, dockRect);
}

void TDockTree::AdjustDockRect(TControl *control, gfx::TRect &rect) {
    (void)control;
    if (SideBySide()) {
        rect.Left += FGrabberSize;
    } else {
        rect.Top += FGrabberSize;
    }
}

void TDockTree::PaintSite(gfx::TCanvas &canvas) {
    for (size_t i = 0; i < FShown.size(); ++i) {
        PaintDockFrame(canvas, FShown[i], FZones[i]);
    }
}

void TDockTree::PaintDockFrame(gfx::TCanvas &canvas, TControl *control, const gfx::TRect &zone) {
    (void)control;
    // Two raised bars along the grabber strip.
    for (int32_t k = 0; k < 2; ++k) {
        gfx::TRect bar = SideBySide() ? gfx::Rect(zone.Left + 3 + 4 * k, zone.Top + 2,
                                                  zone.Left + 6 + 4 * k, zone.Bottom - 2)
                                      : gfx::Rect(zone.Left + 2, zone.Top + 3 + 4 * k,
                                                  zone.Right - 2, zone.Top + 6 + 4 * k);
        Frame3D(canvas, bar, gfx::clBtnHighlight, gfx::clBtnShadow, 1);
    }
}

// ---- the floating host ----

TCustomDockForm::TCustomDockForm(TComponent *owner) : TForm(owner) {
    SetBorderStyle(bsToolWindow);
    SetDockSite(true);
    SetUseDockManager(false);
}

} // namespace ui
