// TMetafile and TMetafileCanvas: recording a canvas's operations with the state they need,
// and playing them back on any canvas.
#include "platform/gfx/Metafile.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Metafile_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace gfx {

TMetaAttributes AttributesOf(const TCanvasState &s);

// The recorder: before each operation it records what changed since the last one.
struct TMetafileCanvas::Recorder final : TCanvasRecorder {
    explicit Recorder(const TDeviceCaps &reference) {
        Records = std::make_shared<TMetafileRecords>();
        Records->Reference = reference;
    }
    void Record(const TCanvas &canvas, const TCanvasOp &op) override;
    // What is recorded starts from the canvas's state when it is made (a new canvas's).
    void Start(const TCanvas &canvas) { Attributes = AttributesOf(StateOf(canvas)); }

    std::shared_ptr<TMetafileRecords> Records;
    TMetaMapping Mapping;       // as last recorded (a new canvas's at first)
    TMetaAttributes Attributes; // as last recorded
    TPoint PenPos;
    bool HasClip = false;
    TRegion Clip;
};

namespace {

bool SamePen(const TPen &a, const TPen &b) {
    return a.GetColor() == b.GetColor() && a.GetWidth() == b.GetWidth() &&
           a.GetStyle() == b.GetStyle() && a.GetMode() == b.GetMode() &&
           a.GetEndCap() == b.GetEndCap() && a.GetJoinStyle() == b.GetJoinStyle();
}

bool SamePattern(const TBitmap *a, const TBitmap *b) {
    if (!a || !b) {
        return a == b;
    }
    if (a->GetWidth() != b->GetWidth() || a->GetHeight() != b->GetHeight()) {
        return false;
    }
    for (int32_t y = 0; y < a->GetHeight(); ++y) {
        if (std::memcmp(a->ScanLine(y), b->ScanLine(y), size_t(a->GetWidth()) * 4) != 0) {
            return false;
        }
    }
    return true;
}

bool SameAttributes(const TMetaAttributes &a, const TCanvasState &s) {
    const TBitmap *pattern = s.Brush.GetBitmap();
    return SamePen(a.Pen, s.Pen) && a.Brush.GetColor() == s.Brush.GetColor() &&
           a.Brush.GetStyle() == s.Brush.GetStyle() &&
           SamePattern(a.Pattern.get(), pattern && !pattern->Empty() ? pattern : nullptr) &&
           a.Font == s.LogFont && a.TextColor == s.TextColor && a.BkColor == s.BkColor &&
           a.BkMode == s.BkMode && a.TextAlign == s.TextAlign && a.CharExtra == s.CharExtra &&
           a.PolyFillMode == s.PolyFillMode && a.BrushOrg == s.BrushOrg;
}

} // namespace

TMetaAttributes AttributesOf(const TCanvasState &s) {
    TMetaAttributes a;
    a.Pen = s.Pen;
    a.Brush = s.Brush;
    a.Brush.SetBitmap(nullptr);
    if (const TBitmap *pattern = s.Brush.GetBitmap(); pattern && !pattern->Empty()) {
        a.Pattern = std::make_shared<TBitmap>(*pattern);
    }
    a.Font = s.LogFont;
    a.TextColor = s.TextColor;
    a.BkColor = s.BkColor;
    a.BkMode = s.BkMode;
    a.TextAlign = s.TextAlign;
    a.CharExtra = s.CharExtra;
    a.PolyFillMode = s.PolyFillMode;
    a.BrushOrg = s.BrushOrg;
    return a;
}

namespace {

// The mapping to record. A canvas that is itself playing a metafile records its whole map as
// a world transform, so that nested recordings keep their places.
TMetaMapping MappingOf(const TCanvasState &s, const TAffine &toDevice) {
    TMetaMapping m;
    if (!s.Playback.IsIdentity()) {
        m.GraphicsMode = GM_ADVANCED;
        m.World = {float(toDevice.M11), float(toDevice.M12), float(toDevice.M21),
                   float(toDevice.M22), float(toDevice.Dx),  float(toDevice.Dy)};
        return m;
    }
    m.Text = s.MapMode == MM_TEXT;
    if (!m.Text) {
        m.WindowExt = s.WindowExt;
        m.ViewportExt = s.ViewportExt;
    }
    m.WindowOrg = s.WindowOrg;
    m.ViewportOrg = s.ViewportOrg;
    m.GraphicsMode = s.GraphicsMode;
    m.World = s.World;
    return m;
}

} // namespace

void TMetafileCanvas::Recorder::Record(const TCanvas &canvas, const TCanvasOp &op) {
    const TCanvasState s = StateOf(canvas);
    const TMetaMapping mapping = MappingOf(s, canvas.GetLogicalToDevice());
    if (!(mapping == Mapping)) {
        Mapping = mapping;
        Records->Records.push_back(TSetMapping{mapping});
    }
    if (Records->Operations == 0 || !SameAttributes(Attributes, s)) {
        Attributes = AttributesOf(s);
        Records->Records.push_back(TSetAttributes{Attributes});
    }
    if (op.Kind == TCanvasOpKind::ExtTextOut && (s.TextAlign & TA_UPDATECP) &&
        !(s.PenPos == PenPos)) {
        PenPos = s.PenPos;
        Records->Records.push_back(TSetPenPos{PenPos});
    }
    TRegion clip;
    const bool hasClip = canvas.GetClipRgn(clip) == 1;
    if (hasClip != HasClip || (hasClip && !(clip == Clip))) {
        HasClip = hasClip;
        Clip = clip;
        Records->Records.push_back(TSetClip{hasClip, clip});
    }
    TDrawOp draw{op, {}};
    if (op.Pixels.IsValid()) {
        const TPixels32 &p = op.Pixels;
        draw.Pixels.resize(size_t(p.Width) * size_t(p.Height));
        for (int32_t y = 0; y < p.Height; ++y) {
            std::memcpy(&draw.Pixels[size_t(y) * size_t(p.Width)],
                        reinterpret_cast<const uint8_t *>(p.Bits) + ptrdiff_t(y) * p.StrideBytes,
                        size_t(p.Width) * 4);
        }
        draw.Op.Pixels = {nullptr, p.Width, p.Height, p.Width * 4};
    }
    Records->Records.push_back(std::move(draw));
    ++Records->Operations;
}

namespace {

TDeviceCaps ScreenReference() {
    TDeviceCaps caps;
    caps.Technology = DT_RASDISPLAY;
    caps.LogPixelsX = caps.LogPixelsY = ScreenPixelsPerInch;
    // The screen the picture is measured against: 1920 x 1080 pixels.
    caps.HorzRes = caps.PhysicalWidth = 1920;
    caps.VertRes = caps.PhysicalHeight = 1080;
    return caps;
}

// The recording device: the reference's resolution, the metafile's size when it has one.
TDeviceCaps RecordingCaps(const TMetafile &metafile, TDeviceCaps reference) {
    reference.Technology = DT_METAFILE;
    reference.Vector = true;
    if (metafile.GetWidth() > 0 && metafile.GetHeight() > 0) {
        reference.HorzRes = reference.PhysicalWidth = metafile.GetWidth();
        reference.VertRes = reference.PhysicalHeight = metafile.GetHeight();
        reference.PhysicalOffsetX = reference.PhysicalOffsetY = 0;
    }
    return reference;
}

} // namespace

TMetafileCanvas::TMetafileCanvas(TMetafile &metafile)
    : TMetafileCanvas(metafile, ScreenReference()) {}

TMetafileCanvas::TMetafileCanvas(TMetafile &metafile, const TCanvas &referenceCanvas)
    : TMetafileCanvas(metafile, referenceCanvas.GetDeviceCapsInfo()) {}

TMetafileCanvas::TMetafileCanvas(TMetafile &metafile, const TDeviceCaps &reference)
    : TCanvas(NewInformationDevice(RecordingCaps(metafile, reference))), FMetafile(metafile),
      FRecorder(std::make_unique<Recorder>(reference)) {
    FRecorder->Start(*this);
    SetRecorder(FRecorder.get());
}

TMetafileCanvas::~TMetafileCanvas() {
    SetRecorder(nullptr);
    const TDeviceCaps &caps = FRecorder->Records->Reference;
    FMetafile.FPixelsPerInch = caps.LogPixelsX > 0 ? caps.LogPixelsX : ScreenPixelsPerInch;
    if (FMetafile.FWidth <= 0 || FMetafile.FHeight <= 0) {
        FMetafile.FWidth = caps.HorzRes;
        FMetafile.FHeight = caps.VertRes;
    }
    FMetafile.FRecords = FRecorder->Records;
    FMetafile.Changed();
}

TMetafile::TMetafile() = default;
TMetafile::TMetafile(const TMetafile &other) : TGraphic(other) {
    *this = other;
}

TMetafile &TMetafile::operator=(const TMetafile &other) {
    if (this != &other) {
        FWidth = other.FWidth;
        FHeight = other.FHeight;
        FMMWidth = other.FMMWidth;
        FMMHeight = other.FMMHeight;
        FPixelsPerInch = other.FPixelsPerInch;
        FEnhanced = other.FEnhanced;
        FRecords = other.FRecords; // records never change once made: shared
        Changed();
    }
    return *this;
}

TMetafile::~TMetafile() = default;

void TMetafile::SetWidth(int32_t width) {
    FWidth = std::max(0, width);
    Changed();
}

void TMetafile::SetHeight(int32_t height) {
    FHeight = std::max(0, height);
    Changed();
}

int32_t TMetafile::GetMMWidth() const {
    return FMMWidth >= 0 ? FMMWidth : int32_t(std::lround(FWidth * 2540.0 / FPixelsPerInch));
}

int32_t TMetafile::GetMMHeight() const {
    return FMMHeight >= 0 ? FMMHeight : int32_t(std::lround(FHeight * 2540.0 / FPixelsPerInch));
}

void TMetafile::SetMMWidth(int32_t hundredthsOfMm) {
    FMMWidth = std::max(0, hundredthsOfMm);
}

void TMetafile::SetMMHeight(int32_t hundredthsOfMm) {
    FMMHeight = std::max(0, hundredthsOfMm);
}

bool TMetafile::Empty() const {
    return !FRecords || FWidth <= 0 || FHeight <= 0;
}

size_t TMetafile::GetOperationCount() const {
    return FRecords ? FRecords->Operations : 0;
}

void TMetafile::Clear() {
    FRecords.reset();
    FWidth = FHeight = 0;
    FMMWidth = FMMHeight = -1;
    Changed();
}

void TMetafile::Play(TCanvas &canvas, const TRect &dest) const {
    if (Empty() || dest.Width() == 0 || dest.Height() == 0) {
        return;
    }
    // The recording's device pixels onto dest (logical units of the canvas).
    const TAffine frame{double(dest.Width()) / FWidth,
                        0,
                        0,
                        double(dest.Height()) / FHeight,
                        double(dest.Left),
                        double(dest.Top)};
    const TCanvasStateGuard saved(canvas);
    canvas.BeginPlayback(frame);
    PlayRecords(canvas, *FRecords);
}

std::vector<uint8_t> TMetafile::EmfBytes() const {
    static const TMetafileRecords empty;
    return WriteEmf(FRecords ? *FRecords : empty, FWidth, FHeight, GetMMWidth(), GetMMHeight());
}

std::vector<uint8_t> TMetafile::WmfBytes() const {
    static const TMetafileRecords empty;
    return WriteWmf(FRecords ? *FRecords : empty, FWidth, FHeight, FPixelsPerInch);
}

void TMetafile::SaveToStream(rtl::TStream &stream) const {
    const std::vector<uint8_t> bytes = FEnhanced ? EmfBytes() : WmfBytes();
    if (bytes.size() > size_t(INT32_MAX)) {
        throw rtl::EWriteError(std::string_view("Stream write error"));
    }
    stream.WriteBuffer(bytes.data(), int32_t(bytes.size()));
}

void TMetafile::SaveToFile(const rtl::UnicodeString &fileName) const {
    const std::filesystem::path path{std::u16string(fileName)};
    std::u16string extension = path.extension().u16string();
    for (char16_t &c : extension) {
        c = c < 0x80 ? char16_t(std::tolower(int(c))) : c;
    }
    const std::vector<uint8_t> bytes = extension == u".wmf" || !FEnhanced ? WmfBytes() : EmfBytes();
    rtl::SaveBytesSafely(fileName, bytes.data(), bytes.size());
}

// Playback. The canvas starts from a new canvas's state under the frame (its private side);
// the records then go through the canvas's own operations.

void TCanvas::BeginPlayback(const TAffine &frame) {
    // The recording's device onto the target's device, through the target's own mapping;
    // clipped to what the target shows.
    const TAffine playback = TAffine::Then(frame, FToDevice);
    ApplyClip();
    const TRegion shown = FEffective;
    FFont = TFont();
    FPen = TPen();
    FBrush = TBrush();
    FFont.GetLogFont(FLogFont);
    FTextColor = FFont.GetColor();
    ObjectsChanged();
    FPenPos = {};
    FTextAlign = 0;
    FCharExtra = 0;
    FPolyFillMode = ALTERNATE;
    FBrushOrg = {};
    FMapMode = MM_TEXT;
    FWindowOrg = FViewportOrg = {};
    FWindowExt = FViewportExt = {1, 1};
    FGraphicsMode = GM_COMPATIBLE;
    FWorld = {};
    FPlayback = playback;
    FHasClip = false;
    FClip = {};
    FHasMetaClip = true;
    FMetaClip = shown;
    UpdateMapping();
    ClipChanged();
}

namespace {

void PlayMapping(TCanvas &c, const TMetaMapping &map) {
    c.SetMapMode(map.Text ? MM_TEXT : MM_ANISOTROPIC);
    c.SetWindowExtEx(map.WindowExt.cx, map.WindowExt.cy);
    c.SetViewportExtEx(map.ViewportExt.cx, map.ViewportExt.cy);
    c.SetWindowOrgEx(map.WindowOrg.X, map.WindowOrg.Y);
    c.SetViewportOrgEx(map.ViewportOrg.X, map.ViewportOrg.Y);
    c.SetGraphicsMode(GM_ADVANCED);
    c.SetWorldTransform(map.World);
    if (map.GraphicsMode == GM_COMPATIBLE) {
        c.ModifyWorldTransform({}, MWT_IDENTITY);
        c.SetGraphicsMode(GM_COMPATIBLE);
    }
}

void PlayAttributes(TCanvas &c, const TMetaAttributes &at) {
    // Objects first: the brush sets the background, which follows.
    c.GetPen() = at.Pen;
    c.GetBrush() = at.Brush;
    c.GetBrush().SetBitmap(at.Pattern.get());
    c.SelectLogFont(at.Font);
    c.SetTextColor(at.TextColor);
    c.SetBkColor(at.BkColor);
    c.SetBkMode(at.BkMode);
    c.SetTextAlign(at.TextAlign);
    c.SetTextCharacterExtra(at.CharExtra);
    c.SetPolyFillMode(at.PolyFillMode);
    c.SetBrushOrg(at.BrushOrg);
}

void PlayOp(TCanvas &c, const TDrawOp &d) {
    const TCanvasOp &op = d.Op;
    const TRect &r = op.Rect;
    const auto &p = op.Points;
    switch (op.Kind) {
    case TCanvasOpKind::LineTo:
        c.MoveTo(p[0].X, p[0].Y);
        c.LineTo(p[1].X, p[1].Y);
        break;
    case TCanvasOpKind::Polyline:
        c.Polyline(p);
        break;
    case TCanvasOpKind::PolyPolygon: {
        std::vector<std::vector<TPoint>> polygons;
        size_t at = 0;
        for (const uint32_t count : op.Counts) {
            polygons.emplace_back(p.begin() + ptrdiff_t(at), p.begin() + ptrdiff_t(at + count));
            at += count;
        }
        c.PolyPolygon(polygons);
        break;
    }
    case TCanvasOpKind::Rectangle:
        c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        break;
    case TCanvasOpKind::RoundRect:
        c.RoundRect(r.Left, r.Top, r.Right, r.Bottom, op.Corner.cx, op.Corner.cy);
        break;
    case TCanvasOpKind::Ellipse:
        c.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        break;
    case TCanvasOpKind::Arc:
        c.Arc(r.Left, r.Top, r.Right, r.Bottom, p[0].X, p[0].Y, p[1].X, p[1].Y);
        break;
    case TCanvasOpKind::Pie:
        c.Pie(r.Left, r.Top, r.Right, r.Bottom, p[0].X, p[0].Y, p[1].X, p[1].Y);
        break;
    case TCanvasOpKind::Chord:
        c.Chord(r.Left, r.Top, r.Right, r.Bottom, p[0].X, p[0].Y, p[1].X, p[1].Y);
        break;
    case TCanvasOpKind::FillRect:
        c.FillRect(r);
        break;
    case TCanvasOpKind::FrameRect:
        c.FrameRect(r);
        break;
    case TCanvasOpKind::FillRectAlpha:
        c.FillRectAlpha(r, op.Color, op.Alpha);
        break;
    case TCanvasOpKind::FocusRect:
        c.DrawFocusRect(r);
        break;
    case TCanvasOpKind::SetPixel:
        c.SetPixel(p[0].X, p[0].Y, op.Color);
        break;
    case TCanvasOpKind::ExtTextOut:
        c.ExtTextOut(p[0].X, p[0].Y, op.Options, op.HasRect ? &r : nullptr, op.Text, op.Dx);
        break;
    case TCanvasOpKind::StretchPixels:
        c.StretchPixels(r, PixelsOf(d), op.Source, op.Smooth);
        break;
    case TCanvasOpKind::AlphaBlend:
        c.AlphaBlend(r, PixelsOf(d), op.Source, op.Blend, op.Smooth);
        break;
    }
}

} // namespace

void PlayRecords(TCanvas &canvas, const TMetafileRecords &records) {
    for (const TMetaRecord &record : records.Records) {
        if (const auto *m = std::get_if<TSetMapping>(&record)) {
            PlayMapping(canvas, m->Mapping);
        } else if (const auto *a = std::get_if<TSetAttributes>(&record)) {
            PlayAttributes(canvas, a->Attributes);
        } else if (const auto *p = std::get_if<TSetPenPos>(&record)) {
            canvas.SetPenPos(p->PenPos);
        } else if (const auto *c = std::get_if<TSetClip>(&record)) {
            canvas.SelectClipRgn(c->HasClip ? &c->Clip : nullptr);
        } else if (const auto *d = std::get_if<TDrawOp>(&record)) {
            PlayOp(canvas, *d);
        }
    }
}

} // namespace gfx
