// The image control: bitmap placement and scaling, paint stages, layers and mouse dispatch.
#include "raster/controls/Raster_Image.h"

#include "platform/gfx/Graphics.h"

#include <cmath>
#include <limits>

namespace raster {

namespace {

class TUpdateGuard {
public:
    explicit TUpdateGuard(TNotifiablePersistent &object) : FObject(object) {
        FObject.BeginUpdate();
    }
    ~TUpdateGuard() { FObject.EndUpdate(); }
    TUpdateGuard(const TUpdateGuard &) = delete;
    TUpdateGuard &operator=(const TUpdateGuard &) = delete;

private:
    TNotifiablePersistent &FObject;
};

int32_t Rnd(double v) {
    return Round(v);
}

} // namespace

TCustomImage32::TCustomImage32(ui::TComponent *owner)
    : TCustomPaintBox32(owner), FBitmap(std::make_unique<TBitmap32>()),
      FLayers(std::make_unique<TLayerCollection>(this)) {
    FBitmap->OnResize = [this](TNotifiablePersistent *) { BitmapSizeChanged(); };
    FLayers->OnChange = [this](TLayerCollection *) { Changed(); };
    FLayers->OnGDIUpdate = [this](TLayerCollection *) { Repaint(); };
    FLayers->OnGetViewportScale = [this](float &sx, float &sy) {
        RefreshCache();
        sx = CachedScaleX;
        sy = CachedScaleY;
    };
    FLayers->OnGetViewportShift = [this](float &sx, float &sy) {
        RefreshCache();
        sx = CachedShiftX;
        sy = CachedShiftY;
    };
    GetRepaintOptimizer().RegisterLayerCollection(FLayers.get());
    SetRepaintMode(rmFull);
    AddDefaultStages();
}

TCustomImage32::~TCustomImage32() {
    BeginUpdate();
    GetRepaintOptimizer().UnregisterLayerCollection(FLayers.get());
    FLayers.reset();
    FBitmap->OnResize = nullptr;
    FBitmap->OnChange = nullptr;
    FBitmap->OnAreaChanged = nullptr;
}

void TCustomImage32::AddDefaultStages() {
    const struct {
        bool runTime;
        uint32_t stage;
        uint32_t parameter;
    } defaults[] = {{true, stgClearBackground, 0},
                    {false, stgControlFrame, 0},
                    {true, stgDrawBitmap, 0},
                    {false, stgBitmapFrame, 0},
                    {true, stgDrawLayers, loVisible}};
    for (const auto &d : defaults) {
        TPaintStage *s = FPaintStages.Add();
        s->DsgnTime = true;
        s->RunTime = d.runTime;
        s->Stage = d.stage;
        s->Parameter = d.parameter;
    }
}

// ---- Updates and notifications ------------------------------------------------------------

void TCustomImage32::SetupBitmap(bool doClear, TColor32 clearColor) {
    FBitmap->BeginUpdate();
    const TRect vp = GetViewportRect();
    FBitmap->SetSize(vp.Width(), vp.Height());
    if (doClear) {
        FBitmap->Clear(clearColor);
    }
    FBitmap->EndUpdate();
    DropCache();
    Changed();
}

void TCustomImage32::BeginUpdate() {
    ++FUpdateCount;
}

void TCustomImage32::EndUpdate() {
    if (FUpdateCount <= 0) {
        throw EBitmapException("Unpaired EndUpdate call");
    }
    --FUpdateCount;
}

void TCustomImage32::Changed() {
    if (FUpdateCount == 0) {
        Invalidate();
        if (OnChange) {
            OnChange(this);
        }
    }
}

void TCustomImage32::Update(const TRect &rect) {
    if (GetRepaintOptimizer().GetEnabled()) {
        GetRepaintOptimizer().AreaUpdateHandler(rect, AreaInfoRect);
    }
}

void TCustomImage32::Invalidate() {
    FBufferValid = false;
    CacheValid = false;
    TCustomPaintBox32::Invalidate();
}

void TCustomImage32::Repaint() {
    Invalidate();
    ui::TControl::Update();
}

void TCustomImage32::Resize() {
    DropCache();
    TCustomPaintBox32::Resize();
}

void TCustomImage32::DropCache() {
    if (GetRepaintOptimizer().GetEnabled()) {
        GetRepaintOptimizer().Reset();
    }
    CacheValid = false;
}

void TCustomImage32::InitStages() {
    if (OnInitStages) {
        OnInitStages(this);
    }
}

void TCustomImage32::ScaleChanged() {
    if (OnScaleChange) {
        OnScaleChange(this);
    }
}

void TCustomImage32::BitmapContentChanged(const TRect &) {
    Changed();
}

void TCustomImage32::BitmapSizeChanged() {
    if (FAutoSize) {
        int32_t w = FBitmap->GetWidth(), h = FBitmap->GetHeight();
        if (FScaleMode == smScale) {
            w = Rnd(w * FScaleX);
            h = Rnd(h * FScaleY);
        }
        if (w > 0 && h > 0) {
            SetBounds(GetLeft(), GetTop(), w, h);
        }
    }
    if (FUpdateCount == 0 && OnBitmapResize) {
        OnBitmapResize(this);
    }
    DropCache();
    ForceFullInvalidate();
}

void TCustomImage32::SetAutoSize(bool value) {
    if (value != FAutoSize) {
        FAutoSize = value;
        AdjustSize();
    }
}

bool TCustomImage32::CanAutoSize(int32_t &newWidth, int32_t &newHeight) {
    DropCache();
    int32_t w = FBitmap->GetWidth(), h = FBitmap->GetHeight();
    if (FScaleMode == smScale) {
        w = Rnd(w * FScaleX);
        h = Rnd(h * FScaleY);
    }
    const ui::TAlign align = GetAlign();
    if (align == ui::alNone || align == ui::alLeft || align == ui::alRight) {
        newWidth = w;
    }
    if (align == ui::alNone || align == ui::alTop || align == ui::alBottom) {
        newHeight = h;
    }
    return true;
}

void TCustomImage32::AdjustSize() {
    if (!FAutoSize || !FBitmap) {
        return;
    }
    int32_t w = GetWidth(), h = GetHeight();
    if (CanAutoSize(w, h)) {
        SetBounds(GetLeft(), GetTop(), w, h);
    }
}

void TCustomImage32::BitmapChangeNotify() {
    GetRepaintOptimizer().Reset();
    BitmapContentChanged(FBitmap->BoundsRect());
}

TRect TCustomImage32::BitmapAreaToControl(const TRect &area) {
    TRect r = area;
    const int32_t w =
        FBitmap->GetResampler() ? int32_t(FBitmap->GetResampler()->GetWidth()) + 1 : 1;
    GrowRect(r, w, w);
    const TPoint tl = BitmapToControl(TPoint{r.Left, r.Top});
    const TPoint br = BitmapToControl(TPoint{r.Right, r.Bottom});
    return {tl.X, tl.Y, br.X, br.Y};
}

void TCustomImage32::ForEachTile(const TRect &r,
                                 const std::function<void(const TRect &)> &f) const {
    if (FBitmapAlign != baTile) {
        f(r);
        return;
    }
    const TRect &c = CachedBitmapRect;
    if (c.Right <= 0 || c.Bottom <= 0) {
        return; // an empty control has no tiles to update
    }
    for (int32_t j = 0; j <= GetBuffer().GetHeight() / c.Bottom; ++j) {
        for (int32_t i = 0; i <= GetBuffer().GetWidth() / c.Right; ++i) {
            TRect t = r;
            MoveRect(t, i * c.Right, j * c.Bottom);
            f(t);
        }
    }
}

void TCustomImage32::BitmapAreaNotify(const TRect &area, bool direct) {
    const TRect r = BitmapAreaToControl(area);
    if (!direct) {
        ForEachTile(r, [this](const TRect &t) {
            GetRepaintOptimizer().AreaUpdateHandler(t, AreaInfoRect);
        });
        BitmapContentChanged(area);
        return;
    }
    ForEachTile(r, [this](const TRect &t) { FInvalidRects.Add(t); });
    if (FUpdateCount == 0) {
        if (!Painting()) {
            TCustomPaintBox32::Repaint();
        }
        if (OnChange) {
            OnChange(this);
        }
    }
}

void TCustomImage32::SetRepaintMode(TRepaintMode value) {
    TCustomPaintBox32::SetRepaintMode(value);
    switch (value) {
    case rmDirect:
        FBitmap->OnAreaChanged = [this](TCustomBitmap32 *, const TRect &a, uint32_t) {
            BitmapAreaNotify(a, true);
        };
        FBitmap->OnChange = nullptr;
        break;
    case rmOptimizer:
        FBitmap->OnAreaChanged = [this](TCustomBitmap32 *, const TRect &a, uint32_t) {
            BitmapAreaNotify(a, false);
        };
        FBitmap->OnChange = nullptr;
        break;
    default:
        FBitmap->OnAreaChanged = nullptr;
        FBitmap->OnChange = [this](TNotifiablePersistent *) { BitmapChangeNotify(); };
        break;
    }
}

// ---- Properties ---------------------------------------------------------------------------

void TCustomImage32::SetBitmap(const TBitmap32 *value) {
    DropCache();
    FBitmap->Assign(value);
}

void TCustomImage32::SetBitmapAlign(TBitmapAlign value) {
    DropCache();
    FBitmapAlign = value;
    Changed();
}

void TCustomImage32::SetOnBitmapPixelCombine(TPixelCombineEvent value) {
    FBitmap->OnPixelCombine = std::move(value);
    Changed();
}

void TCustomImage32::SetScaleMode(TScaleMode value) {
    if (value != FScaleMode) {
        DropCache();
        FScaleMode = value;
        Changed();
    }
}

void TCustomImage32::SetOffsetHorz(float value) {
    if (value != FOffsetHorz) {
        FOffsetHorz = value;
        DropCache();
        Changed();
    }
}

void TCustomImage32::SetOffsetVert(float value) {
    if (value != FOffsetVert) {
        FOffsetVert = value;
        DropCache();
        Changed();
    }
}

void TCustomImage32::SetScaleFields(float value, bool x, bool y) {
    value = std::max(value, 0.001f);
    if ((x && value != FScaleX) || (!x && y && value != FScaleY)) {
        DropCache();
        if (x) {
            FScaleX = CachedScaleX = value;
            CachedRecScaleX = 1 / value;
        }
        if (y) {
            FScaleY = CachedScaleY = value;
            CachedRecScaleY = 1 / value;
        }
        ScaleChanged();
        Changed();
    }
}

void TCustomImage32::SetScale(float value) {
    SetScaleFields(value, true, true);
}

void TCustomImage32::SetScaleX(float value) {
    SetScaleFields(value, true, false);
}

void TCustomImage32::SetScaleY(float value) {
    SetScaleFields(value, false, true);
}

// ---- Geometry -----------------------------------------------------------------------------

TSize TCustomImage32::GetBitmapSize() const {
    if (FBitmap->Empty() || GetWidth() == 0 || GetHeight() == 0) {
        return {0, 0};
    }
    const TRect vp = GetViewportRect();
    const int32_t vw = vp.Width(), vh = vp.Height();
    const int32_t bw = FBitmap->GetWidth(), bh = FBitmap->GetHeight();
    TScaleMode mode = FScaleMode;
    if (mode == smOptimal) {
        mode = (vw < bw || vh < bh) ? smResize : smNormal;
    } else if (mode == smOptimalScaled) {
        mode = (vw < Rnd(bw * FScaleX) || vh < Rnd(bh * FScaleY)) ? smResize : smScale;
    }
    TSize s{bw, bh};
    switch (mode) {
    case smStretch:
        s = {vw, vh};
        break;
    case smResize: {
        const float rx = float(vw) / float(bw);
        const float ry = float(vh) / float(bh);
        s = rx >= ry ? TSize{Rnd(bw * ry), vh} : TSize{vw, Rnd(bh * rx)};
        break;
    }
    case smScale:
        s = {Rnd(bw * FScaleX), Rnd(bh * FScaleY)};
        break;
    default:
        break;
    }
    return {std::max(s.cx, 0), std::max(s.cy, 0)};
}

TRect TCustomImage32::GetBitmapRect() const {
    if (FBitmap->Empty()) {
        return {};
    }
    const TSize s = GetBitmapSize();
    TRect r{0, 0, s.cx, s.cy};
    if (FBitmapAlign == baCenter) {
        MoveRect(r, (GetWidth() - s.cx) / 2, (GetHeight() - s.cy) / 2);
    } else if (FBitmapAlign == baCustom) {
        MoveRect(r, Rnd(FOffsetHorz), Rnd(FOffsetVert));
    }
    return r;
}

void TCustomImage32::RefreshCache() {
    if (CacheValid) {
        return;
    }
    CachedBitmapRect = GetBitmapRect();
    if (FBitmap->Empty()) {
        CachedShiftX = CachedShiftY = 0;
        CachedScaleX = CachedScaleY = 1;
    } else {
        CachedShiftX = float(CachedBitmapRect.Left);
        CachedShiftY = float(CachedBitmapRect.Top);
        CachedScaleX = float(CachedBitmapRect.Width()) / float(FBitmap->GetWidth());
        CachedScaleY = float(CachedBitmapRect.Height()) / float(FBitmap->GetHeight());
    }
    CachedRecScaleX = CachedScaleX == 0 ? 0 : 1 / CachedScaleX;
    CachedRecScaleY = CachedScaleY == 0 ? 0 : 1 / CachedScaleY;
    CacheValid = true;
}

TPoint TCustomImage32::BitmapToControl(const TPoint &p) {
    RefreshCache();
    return {int32_t(p.X * CachedScaleX + CachedShiftX), int32_t(p.Y * CachedScaleY + CachedShiftY)};
}

TFloatPoint TCustomImage32::BitmapToControl(const TFloatPoint &p) {
    RefreshCache();
    return {p.X * CachedScaleX + CachedShiftX, p.Y * CachedScaleY + CachedShiftY};
}

TPoint TCustomImage32::ControlToBitmap(const TPoint &p) {
    RefreshCache();
    auto map = [](int32_t v, float shift, float rec) {
        return rec == 0 ? std::numeric_limits<int32_t>::max()
                        : int32_t(std::floor((v - shift) * rec));
    };
    return {map(p.X, CachedShiftX, CachedRecScaleX), map(p.Y, CachedShiftY, CachedRecScaleY)};
}

TFloatPoint TCustomImage32::ControlToBitmap(const TFloatPoint &p) {
    RefreshCache();
    auto map = [](float v, float shift, float rec) {
        return rec == 0 ? 2147483648.0f : (v - shift) * rec;
    };
    return {map(p.X, CachedShiftX, CachedRecScaleX), map(p.Y, CachedShiftY, CachedRecScaleY)};
}

// ---- Rendering ----------------------------------------------------------------------------

void TCustomImage32::ExecStage(uint32_t stage, TBitmap32 &dest, int32_t stageNum) {
    switch (stage) {
    case stgCustom:
        ExecCustom(dest, stageNum);
        break;
    case stgClearBuffer:
        ExecClearBuffer(dest, stageNum);
        break;
    case stgClearBackground:
        ExecClearBackgnd(dest, stageNum);
        break;
    case stgDrawBitmap:
        ExecDrawBitmap(dest, stageNum);
        break;
    case stgDrawLayers:
        ExecDrawLayers(dest, stageNum);
        break;
    case stgControlFrame:
        ExecControlFrame(dest, stageNum);
        break;
    case stgBitmapFrame:
        ExecBitmapFrame(dest, stageNum);
        break;
    default:
        break; // unknown stage kinds are skipped
    }
}

void TCustomImage32::PaintBuffer() {
    TCustomRepaintOptimizer &opt = GetRepaintOptimizer();
    if (opt.GetEnabled()) {
        opt.BeginPaintBuffer();
    }
    RefreshCache();
    std::vector<int32_t> stages; // the run-time stages with a known kind, in order
    for (int32_t i = 0; i < FPaintStages.Count(); ++i) {
        const TPaintStage &s = FPaintStages[i];
        if (s.RunTime && s.Stage >= stgCustom && s.Stage <= stgBitmapFrame) {
            stages.push_back(i);
        }
    }
    TBitmap32 &buffer = GetBuffer();
    {
        TUpdateGuard update(buffer);
        const TRect vp = GetViewportRect();
        auto runAll = [&](const TRect &clip) {
            buffer.SetClipRect(clip);
            for (int32_t i : stages) {
                ExecStage(FPaintStages[i].Stage, buffer, i);
            }
        };
        if (FInvalidRects.GetCount() == 0) {
            runAll(vp);
        } else {
            for (int32_t i = 0; i < FInvalidRects.GetCount(); ++i) {
                runAll(*FInvalidRects.Get(i));
            }
            buffer.SetClipRect(vp);
        }
    }
    if (opt.GetEnabled()) {
        opt.EndPaintBuffer();
    }
    FBufferValid = true;
}

bool TCustomImage32::InvalidRectsReady() {
    PrepareInvalidRects();
    return FInvalidRects.GetCount() > 0;
}

void TCustomImage32::ExecCustom(TBitmap32 &dest, int32_t stageNum) {
    if (OnPaintStage) {
        OnPaintStage(this, &dest, uint32_t(stageNum));
    }
}

void TCustomImage32::ExecClearBuffer(TBitmap32 &dest, int32_t) {
    dest.Clear(ColorToColor32(GetColor()));
}

void TCustomImage32::ExecClearBackgnd(TBitmap32 &dest, int32_t) {
    const TColor32 c = ColorToColor32(GetColor());
    if (FInvalidRects.GetCount() > 0) {
        for (int32_t i = 0; i < FInvalidRects.GetCount(); ++i) {
            dest.FillRectS(*FInvalidRects.Get(i), c);
        }
        return;
    }
    if (FBitmap->Empty() || FBitmap->GetDrawMode() != dmOpaque) {
        dest.Clear(c);
        return;
    }
    const TRect &r = CachedBitmapRect;
    const int32_t w = GetWidth(), h = GetHeight();
    if (FBitmapAlign == baTile || (r.Left <= 0 && r.Right >= w && r.Top <= 0 && r.Bottom >= h)) {
        return;
    }
    dest.FillRectS(0, 0, w, r.Top, c);
    dest.FillRectS(0, r.Bottom, w, h, c);
    dest.FillRectS(0, r.Top, r.Left, r.Bottom, c);
    dest.FillRectS(r.Right, r.Top, w, r.Bottom, c);
}

void TCustomImage32::ExecDrawBitmap(TBitmap32 &dest, int32_t) {
    const TRect &r = CachedBitmapRect;
    if (FBitmap->Empty() || RectIsEmpty(r)) {
        return;
    }
    TThreadPersistent &bitmap = *FBitmap;
    bitmap.Lock();
    struct TUnlock {
        TThreadPersistent &b;
        ~TUnlock() { b.Unlock(); }
    } unlock{bitmap};
    if (FBitmapAlign != baTile) {
        FBitmap->DrawTo(&dest, r);
        return;
    }
    for (int32_t j = 0; j <= dest.GetHeight() / r.Bottom; ++j) {
        for (int32_t i = 0; i <= dest.GetWidth() / r.Right; ++i) {
            TRect t = r;
            MoveRect(t, i * r.Right, j * r.Bottom);
            FBitmap->DrawTo(&dest, t);
        }
    }
}

void TCustomImage32::ExecDrawLayers(TBitmap32 &dest, int32_t stageNum) {
    const uint32_t mask = FPaintStages[stageNum].Parameter;
    for (int32_t i = 0; i < FLayers->GetCount(); ++i) {
        TCustomLayer *layer = FLayers->GetItem(i);
        if ((layer->GetLayerOptions() & mask) != 0) {
            layer->RenderLayer(dest);
        }
    }
}

void TCustomImage32::ExecControlFrame(TBitmap32 &dest, int32_t) {
    dest.GetCanvas().DrawFocusRect(gfx::Rect(0, 0, GetWidth(), GetHeight()));
}

void TCustomImage32::ExecBitmapFrame(TBitmap32 &dest, int32_t) {
    const TRect &r = CachedBitmapRect;
    dest.GetCanvas().DrawFocusRect(gfx::Rect(r.Left, r.Top, r.Right, r.Bottom));
}

void TCustomImage32::PaintGDIOverlay() {
    for (int32_t i = 0; i < FLayers->GetCount(); ++i) {
        TCustomLayer *layer = FLayers->GetItem(i);
        if ((layer->GetLayerOptions() & loGDIOverlay) != 0) {
            layer->PaintOnCanvas(GetCanvas());
        }
    }
    TCustomPaintBox32::PaintGDIOverlay();
}

void TCustomImage32::PaintTo(TBitmap32 *dest, const TRect &destRect) {
    if (dest == nullptr) {
        return;
    }
    const TRepaintMode oldMode = GetRepaintMode();
    SetRepaintMode(rmFull);
    CachedBitmapRect = destRect;
    if (destRect.Width() < 1 || destRect.Height() < 1 || FBitmap->Empty()) {
        CachedShiftX = CachedShiftY = 0;
        CachedScaleX = CachedScaleY = 1;
    } else {
        CachedShiftX = float(destRect.Left);
        CachedShiftY = float(destRect.Top);
        CachedScaleX = float(destRect.Width()) / float(FBitmap->GetWidth());
        CachedScaleY = float(destRect.Height()) / float(FBitmap->GetHeight());
    }
    CacheValid = true;
    PaintToMode = true;
    struct TRestore {
        TCustomImage32 &img;
        TRepaintMode mode;
        ~TRestore() {
            img.PaintToMode = false;
            img.CacheValid = false;
            img.SetRepaintMode(mode);
        }
    } restore{*this, oldMode};
    for (int32_t i = 0; i < FPaintStages.Count(); ++i) {
        if (FPaintStages[i].RunTime) {
            ExecStage(FPaintStages[i].Stage, *dest, i);
        }
    }
}

// ---- Mouse --------------------------------------------------------------------------------

void TCustomImage32::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                               int32_t y) {
    TCustomPaintBox32::MouseDown(button, shift, x, y);
    if (GetTabStop() && CanFocus()) {
        SetFocus();
    }
    TCustomLayer *layer =
        FLayers->GetMouseEvents() ? FLayers->DispatchMouseDown(button, shift, x, y) : nullptr;
    if (button == ui::mbLeft || FLayers->GetMouseListener() != nullptr) {
        SetMouseCapture(true);
    }
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y, layer);
    }
}

void TCustomImage32::MouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
    TCustomPaintBox32::MouseMove(shift, x, y);
    TCustomLayer *layer =
        FLayers->GetMouseEvents() ? FLayers->DispatchMouseMove(shift, x, y) : nullptr;
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y, layer);
    }
}

void TCustomImage32::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) {
    TCustomLayer *layer =
        FLayers->GetMouseEvents() ? FLayers->DispatchMouseUp(button, shift, x, y) : nullptr;
    if (button == ui::mbLeft || FLayers->GetMouseListener() != nullptr) {
        SetMouseCapture(false);
    }
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y, layer);
    }
}

void TCustomImage32::DblClick() {
    FLayers->SetMouseListener(nullptr);
    MouseUp(ui::mbLeft, {}, 0, 0);
    TCustomPaintBox32::DblClick();
}

void TCustomImage32::DoMouseLeave() {
    if (FLayers->GetMouseEvents() && FLayers->GetMouseListener() == nullptr) {
        SetScreenCursor(crDefault);
    }
    TCustomPaintBox32::DoMouseLeave();
}

} // namespace raster
