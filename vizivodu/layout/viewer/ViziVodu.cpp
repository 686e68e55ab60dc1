// The viewer control: settings, formatting on demand, painting, the Add family, handler lists.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDRazavIrezIzir.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphics.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/ui/Application.h"

#include <algorithm>

namespace vizivodu {

// ---- Handler lists ----

int32_t TVDEventHandlerList::Find(const ui::TComponent *component) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].Component == component) {
            return int32_t(i);
        }
    }
    return -1;
}

void TVDEventHandlerList::RegisterHandler(ui::TComponent *component, ui::TNotifyEvent event) {
    const int32_t i = Find(component);
    if (i >= 0) {
        FItems[size_t(i)].Event = std::move(event);
    } else {
        FItems.push_back({component, std::move(event)});
    }
}

void TVDEventHandlerList::UnregisterHandler(const ui::TComponent *component) {
    const int32_t i = Find(component);
    if (i >= 0) {
        FItems.erase(FItems.begin() + i);
    }
}

void TVDEventHandlerList::Execute(ui::TComponent *sender) const {
    // A handler may unregister itself: the walk re-checks the bounds.
    for (size_t i = FItems.size(); i-- > 0;) {
        if (i < FItems.size() && FItems[i].Event) {
            ui::TNotifyEvent event = FItems[i].Event;
            event(sender);
        }
    }
}

void TVDDestroyInformer::Release() {
    if (--RefCount > 0) {
        return;
    }
    if (!ControlDestroyed && Owner) {
        Owner->FDestroyInformer = nullptr;
    }
    delete this;
}

// ---- Creation ----

namespace {

std::unique_ptr<TViziVoduVDData> MakeViewerData(TCustomViziVodu &control) {
    return std::make_unique<TViziVoduVDData>(&control);
}

constexpr TVDOptions kDefaultOptions{
    vdoAllowSelection,      vdoScrollToEnd,     vdoShowPageBreaks, vdoAutoCopyUnicodeText,
    vdoAutoCopyVDF,         vdoAutoCopyImage,   vdoAutoCopyRTF,    vdoFormatInvalidate,
    vdoDblClickSelectsWord, vdoRClickDeselects, vdoShowGridLines,  vdoFastFormatting};

} // namespace

const rtl::UnicodeString &TCustomViziVodu::DefaultDelimiters() {
    static const rtl::UnicodeString s(u" .;,:(){}\"/\\<>!?[]\u2018\u2019\u201C\u201D-+*=\u00A0"
                                      u"\u201E\u00AB\u00BB\u2026");
    return s;
}

TCustomViziVodu::TCustomViziVodu(ui::TComponent *owner) : TCustomViziVodu(owner, MakeViewerData) {}

TCustomViziVodu::TCustomViziVodu(ui::TComponent *owner, TMakeData makeData) : TVDScroller(owner) {
    FVDData = makeData(*this);
    FOptions = kDefaultOptions;
    Flags = {vdflUseJumps, vdflTrim, vdflRoot, vdflCanUseCustomPPI, vdflCanProcessGetText};
    FDelimiters = DefaultDelimiters();
    SetColor(gfx::clNone);
    SetBounds(GetLeft(), GetTop(), 100, 40);
    FBackground = std::make_unique<TVDBackground>(true);
    SetBorderStyle(ui::bsSingle);
}

TCustomViziVodu::~TCustomViziVodu() {
    MarkDestroying();
    StopAnimation();
    FBackground.reset();
    Clear();
    FVDData.reset();
    FDocParameters.reset();
    if (FDestroyInformer) {
        FDestroyInformer->ControlDestroyed = true;
        FDestroyInformer = nullptr;
    }
    FStyleTemplatesChangeHandlers.reset();
    FHScrollHandlers.reset();
    FVScrollHandlers.reset();
    FSaveHandlers.reset();
    FClearHandlers.reset();
    FResizeHandlers.reset();
}

TVDDestroyInformer *TCustomViziVodu::GetDestroyInformer() {
    if (!FDestroyInformer) {
        FDestroyInformer = new TVDDestroyInformer(this);
    }
    return FDestroyInformer;
}

// ---- Settings ----

void TCustomViziVodu::SetAllowSelection(bool value) {
    value ? FOptions.Include(vdoAllowSelection) : FOptions.Exclude(vdoAllowSelection);
}

void TCustomViziVodu::SetSingleClick(bool value) {
    value ? FOptions.Include(vdoSingleClick) : FOptions.Exclude(vdoSingleClick);
}

void TCustomViziVodu::SetStyle(TVDStyle *value) {
    if (FStyle && FStyle != value) {
        FStyle->RemoveFreeNotification(this);
    }
    FStyle = value;
    if (FStyle) {
        FStyle->FreeNotification(this);
    }
    if (FOptions.Contains(vdoFormatInvalidate) && !GetRazavIrezIzirInterface()) {
        Invalidate();
    }
}

IVDRazavIrezIzirInterface *TCustomViziVodu::GetRazavIrezIzirInterface() {
    IVDRazavIrezIzirInterface *ifc = nullptr;
    if (OnGetRazavIrezIzirInterface) {
        OnGetRazavIrezIzirInterface(this, ifc);
    }
    return ifc;
}

gfx::TCanvas *TCustomViziVodu::GetFormatCanvas(gfx::TCanvas *defCanvas) {
    IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface();
    gfx::TCanvas *canvas = ifc ? ifc->GetCanvas() : nullptr;
    return canvas ? canvas : defCanvas;
}

void TCustomViziVodu::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    TVDScroller::Notification(component, operation);
    if (operation == rtl::opRemove && component == FStyle) {
        // The style sheet is being destroyed: only the pointer is forgotten (no repaint).
        FStyle = nullptr;
    }
}

void TCustomViziVodu::Loaded() {
    TVDScroller::Loaded();
    UpdatePaletteInfo();
    Format();
}

void TCustomViziVodu::SetName(const rtl::UnicodeString &name) {
    FVDData->State.Include(vdstNameSet);
    TVDScroller::SetName(name);
}

void TCustomViziVodu::GetTabOrderList(std::vector<ui::TWinControl *> &list) const {
    TVDScroller::GetTabOrderList(list);
    if (GetTabNavigation() == vdtnNone) {
        return;
    }
    auto *self = const_cast<TCustomViziVodu *>(this);
    for (size_t i = list.size(); i-- > 2;) {
        if (list[i]->GetParent() == this) {
            list.insert(list.begin() + std::ptrdiff_t(i), self);
        }
    }
    if (list.size() > 1) {
        list.push_back(self);
    }
}

TVDDocParameters *TCustomViziVodu::GetDocParameters() {
    if (!FDocParameters) {
        FDocParameters = std::make_unique<TVDDocParameters>();
    }
    return FDocParameters.get();
}

void TCustomViziVodu::SetDocParameters(const TVDDocParameters *value) {
    if (!value) {
        FDocParameters.reset();
    } else if (value != FDocParameters.get()) {
        GetDocParameters()->Assign(*value);
    }
}

void TCustomViziVodu::StyleTemplatesChange() {
    if (OnStyleTemplatesChange) {
        OnStyleTemplatesChange(this);
    }
    if (FStyleTemplatesChangeHandlers) {
        FStyleTemplatesChangeHandlers->Execute(this);
    }
}

gfx::TColor TCustomViziVodu::EffectiveColor() const {
    if (GetColor() != gfx::clNone) {
        return GetColor();
    }
    return FStyle ? FStyle->GetColor() : gfx::clWindow;
}

TBackgroundStyle TCustomViziVodu::GetBackgroundStyle() const {
    return FBackground->Style;
}

void TCustomViziVodu::SetBackgroundStyle(TBackgroundStyle value) {
    FBackground->Style = value;
    DoOnBackBitmapChange();
}

void TCustomViziVodu::SetBackgroundBitmap(const gfx::TGraphic *picture) {
    FBackground->AssignImage(picture, FVDData.get(), true, FVDData.get());
    DoOnBackBitmapChange();
}

void TCustomViziVodu::DoOnBackBitmapChange() {
    if (FVDData->UpdatingBackgroundPalette()) {
        return;
    }
    SetFullRedraw(FBackground->ScrollRequiresFullRedraw() || IsTransparent());
    FVDData->UpdateBackgroundPaletteInfo(*FBackground);
    if (FOptions.Contains(vdoFormatInvalidate)) {
        Invalidate();
    }
}

void TCustomViziVodu::SetBiDiMode(TVDBiDiMode value) {
    if (value == GetBiDiMode()) {
        return;
    }
    IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface();
    if (ifc) {
        StoreBiDiMode(value);
    } else {
        TVDScroller::SetBiDiMode(value);
    }
    FVDData->Deselect(nullptr, true);
    if (ifc && Flags.Contains(vdflRoot)) {
        ifc->BiDiModeChanged(this);
    }
    if (!FVDData->State.Contains(vdstSkipFormatting)) {
        Format();
    }
}

void TCustomViziVodu::Invalidate() {
    TVDScroller::Invalidate();
    TellRepainted(0);
}

void TCustomViziVodu::Update() {
    TVDScroller::Update();
    TellRepainted(2);
}

void TCustomViziVodu::TellRepainted(int32_t kind) {
    if (!FVDData) {
        return;
    }
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->ControlRepainted(this, kind);
    }
}

void TCustomViziVodu::SetVSmallStep(int32_t value) {
    if (value <= 0 || (GetVScrollVisible() && DocumentHeight() / value > 32000)) {
        return;
    }
    TVDScroller::SetVSmallStep(value);
}

int32_t TCustomViziVodu::GetFirstJumpNo() const {
    return FVDData->FFirstJumpNo;
}

void TCustomViziVodu::SetFirstJumpNo(int32_t value) {
    FVDData->FFirstJumpNo = value;
}

TVDTabNavigationType TCustomViziVodu::GetTabNavigation() const {
    return FVDData->TabNavigation;
}

void TCustomViziVodu::SetTabNavigation(TVDTabNavigationType value) {
    FVDData->TabNavigation = value;
}

int32_t TCustomViziVodu::ItemCount() const {
    return FVDData->ItemCount();
}

int32_t TCustomViziVodu::DocumentHeight() const {
    return FVDData->DocumentHeight;
}

int32_t TCustomViziVodu::GetFirstItemVisible() const {
    return FVDData->GetFirstItemVisible();
}

int32_t TCustomViziVodu::GetLastItemVisible() const {
    return FVDData->GetLastItemVisible();
}

// Palettes do not exist on the platform: the items and the background only drop their
// palette copies.
void TCustomViziVodu::UpdatePaletteInfo() {
    TVDScroller::UpdatePaletteInfo();
    FVDData->UpdateBackgroundPaletteInfo(*FBackground);
    Invalidate();
}

std::unique_ptr<TVDLayoutInfo> TCustomViziVodu::CreateLayoutInfo() const {
    auto layout = std::make_unique<TVDLayoutInfo>();
    layout->LeftMargin = LeftMargin;
    layout->RightMargin = RightMargin;
    layout->TopMargin = TopMargin;
    layout->BottomMargin = BottomMargin;
    layout->MinTextWidth = MinTextWidth;
    layout->MaxTextWidth = MaxTextWidth;
    layout->BiDiMode = GetBiDiMode();
    return layout;
}

void TCustomViziVodu::ApplyLayoutInfo(const TVDLayoutInfo &layout) {
    LeftMargin = layout.LeftMargin;
    RightMargin = layout.RightMargin;
    TopMargin = layout.TopMargin;
    BottomMargin = layout.BottomMargin;
    MinTextWidth = layout.MinTextWidth;
    MaxTextWidth = layout.MaxTextWidth;
    const rtl::TFlagScope skip(FVDData->State, vdstSkipFormatting);
    SetBiDiMode(layout.BiDiMode);
}

void TCustomViziVodu::AssignEvents(const TCustomViziVodu &source) {
    OnSaveHTMLExtra = source.OnSaveHTMLExtra;
    OnSaveRTFExtra = source.OnSaveRTFExtra;
    OnSaveDocXExtra = source.OnSaveDocXExtra;
    OnSaveComponentToFile = source.OnSaveComponentToFile;
    OnSaveItemToFile = source.OnSaveItemToFile;
    OnSaveParaToHTML = source.OnSaveParaToHTML;
    OnURLNeeded = source.OnURLNeeded;
    OnSelect = source.OnSelect;
    OnImportPicture = source.OnImportPicture;
    OnVDRightClick = source.OnVDRightClick;
    OnVDFPictureNeeded = source.OnVDFPictureNeeded;
    OnVDFImageListNeeded = source.OnVDFImageListNeeded;
    OnVDFControlNeeded = source.OnVDFControlNeeded;
    OnVDDblClick = source.OnVDDblClick;
    OnJump = source.OnJump;
    OnVDMouseMove = source.OnVDMouseMove;
    OnCopy = source.OnCopy;
    OnVDMouseDown = source.OnVDMouseDown;
    OnVDMouseUp = source.OnVDMouseUp;
    OnControlAction = source.OnControlAction;
    OnItemAction = source.OnItemAction;
    OnClick = source.OnClick;
    OnKeyDown = source.OnKeyDown;
    OnKeyUp = source.OnKeyUp;
    OnKeyPress = source.OnKeyPress;
    OnHTMLSaveImage = source.OnHTMLSaveImage;
    OnSaveImage2 = source.OnSaveImage2;
    OnStyleTemplatesChange = source.OnStyleTemplatesChange;
    OnDblClick = source.OnDblClick;
    OnItemHint = source.OnItemHint;
    OnReadHyperlink = source.OnReadHyperlink;
    OnWriteHyperlink = source.OnWriteHyperlink;
    OnGetRazavIrezIzirInterface = source.OnGetRazavIrezIzirInterface;
    OnPaint = source.OnPaint;
}

// ---- Formatting ----

void TCustomViziVodu::FormatInternal(bool onlyResized, bool forceFormat, bool onlyTail,
                                     bool noCaching, bool reformatting, bool callOnFormat) {
    if (GetVSmallStep() == 0) {
        return;
    }
    FVDData->Format_(onlyResized, forceFormat, false, 0, GetFormatCanvas(&GetCanvas()), onlyTail,
                     noCaching, reformatting, callOnFormat, false);
}

void TCustomViziVodu::Format() {
    if (IsDestroying()) {
        return;
    }
    FormatInternal(false, true, false, true, false, true);
    if (FOptions.Contains(vdoFormatInvalidate)) {
        Invalidate();
    }
    if (AnimationMode == vdaniOnFormat) {
        StartAnimation();
    }
}

void TCustomViziVodu::Reformat() {
    if (FVDData->State.Contains(vdstEditorUnformatted)) {
        Format();
        return;
    }
    FormatInternal(true, true, false, true, true, true);
    if (FOptions.Contains(vdoFormatInvalidate)) {
        Invalidate();
    }
}

void TCustomViziVodu::FormatTail() {
    FormatInternal(false, true, true, true, false, true);
    if (FOptions.Contains(vdoFormatInvalidate)) {
        Invalidate();
    }
}

namespace {

// The viewers whose root data stand in the list.
template <class F> void ForEachExtraViewer(TViziVoduVDData &data, F f) {
    if (std::vector<TCustomVDData *> *extra = data.GetExtraDocuments()) {
        for (TCustomVDData *d : *extra) {
            if (auto *root = dynamic_cast<TViziVoduVDData *>(d)) {
                if (TCustomViziVodu *viewer = root->Viewer()) {
                    f(*viewer);
                }
            }
        }
    }
}

} // namespace

void TCustomViziVodu::FormatAll() {
    ForEachExtraViewer(*FVDData, [](TCustomViziVodu &v) { v.Format(); });
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->AllDue(true);
    }
    Format();
}

void TCustomViziVodu::ReformatAll() {
    ForEachExtraViewer(*FVDData, [](TCustomViziVodu &v) { v.Reformat(); });
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->AllDue(true);
    }
    Reformat();
}

void TCustomViziVodu::Clear() {
    if (FVDData) {
        FVDData->Clear();
    }
}

void TCustomViziVodu::ClearAll() {
    if (std::vector<TCustomVDData *> *extra = FVDData->GetExtraDocuments()) {
        for (TCustomVDData *d : *extra) {
            d->Clear();
        }
    }
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->AllDue(false);
    }
    Clear();
}

// ---- Window ----

void TCustomViziVodu::CreateWnd() {
    TVDScroller::CreateWnd();
}

void TCustomViziVodu::ResetScrollPos() {
    if (FVDData->ItemCount() == 0) {
        TVDScroller::ResetScrollPos();
    }
}

void TCustomViziVodu::InitScrollBars() {
    if (FVDData->ItemCount() == 0) {
        TVDScroller::InitScrollBars();
    } else {
        FormatInternal(true, false, false, false, false, true);
    }
}

void TCustomViziVodu::Resize() {
    if (!Flags.Contains(vdflPrinting)) {
        FormatInternal(true, false, false, false, false, true);
    }
    TVDScroller::Resize();
    if (FResizeHandlers && FVDData->GetAbsoluteRootData() == FVDData.get()) {
        FResizeHandlers->Execute(this);
    }
}

void TCustomViziVodu::DoVScrolled() {
    TVDScroller::DoVScrolled();
    if (FVScrollHandlers) {
        FVScrollHandlers->Execute(this);
    }
    FVDData->AfterVScroll();
}

void TCustomViziVodu::DoHScrolled() {
    TVDScroller::DoHScrolled();
    if (FHScrollHandlers) {
        FHScrollHandlers->Execute(this);
    }
}

void TCustomViziVodu::WndProc(ui::TMessage &message) {
    switch (message.Msg) {
    case ui::WM_ERASEBKGND:
        // The buffered painting covers the whole area.
        message.Result = 1;
        return;
    default:
        if (!InputMessage(message)) {
            TVDScroller::WndProc(message);
        }
    }
}

// ---- Painting ----

void TCustomViziVodu::PaintMessage(const rtl::UnicodeString &text) {
    gfx::TCanvas &canvas = GetCanvas();
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetBrush().SetColor(EffectiveColor());
    canvas.FillRect(canvas.GetClipRect());
    canvas.GetFont().SetName(u"MS Sans Serif");
    canvas.GetFont().SetSize(8);
    canvas.GetFont().SetStyle({});
    canvas.GetFont().SetColor(gfx::clWindowText);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    gfx::TRect r = GetClientRect();
    canvas.DrawText(text, r, gfx::DT_WORDBREAK);
}

void TCustomViziVodu::Paint() {
    if (!FStyle) {
        PaintMessage(rtl::Format(u"Style is not defined\rCreate a TVDStyle object and assign it "
                                 u"to %s.Style",
                                 {GetName()}));
        return;
    }
    if (GetRazavIrezIzirInterface()) {
        return; // the page-layout component paints the document
    }
    const bool xorShown = FVDData->ClearXorDrawing();
    FVDData->PaintBuffered();
    if (OnPaint) {
        OnPaint(this, GetCanvas(), false);
    }
    if (xorShown) {
        FVDData->XorDrawing();
    }
}

// ---- Building ----

void TCustomViziVodu::AddNL(std::u16string_view s, int32_t styleNo, int32_t paraNo) {
    AddNLWTag(s, styleNo, paraNo, {});
}

void TCustomViziVodu::AddNLTag(std::u16string_view s, int32_t styleNo, int32_t paraNo,
                               const TVDTag &tag) {
    FVDData->AddNLWTag(s, styleNo, paraNo, tag);
}

void TCustomViziVodu::AddNLWTag(std::u16string_view s, int32_t styleNo, int32_t paraNo,
                                const TVDTag &tag) {
    FVDData->AddNLWTag(s, styleNo, paraNo, tag);
}

void TCustomViziVodu::AddNLATag(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo,
                                const TVDTag &tag) {
    FVDData->AddNLATag(s, styleNo, paraNo, tag);
}

void TCustomViziVodu::AddNLRTag(TVDRawByteString s, int32_t styleNo, int32_t paraNo,
                                const TVDTag &tag) {
    FVDData->AddNLRTag(std::move(s), styleNo, paraNo, tag);
}

void TCustomViziVodu::AddNLR(TVDRawByteString s, int32_t styleNo, int32_t paraNo) {
    FVDData->AddNLR(std::move(s), styleNo, paraNo);
}

void TCustomViziVodu::Add(std::u16string_view s, int32_t styleNo) {
    FVDData->AddNLWTag(s, styleNo, -1, {});
}

void TCustomViziVodu::AddTag(std::u16string_view s, int32_t styleNo, const TVDTag &tag) {
    FVDData->AddNLWTag(s, styleNo, -1, tag);
}

void TCustomViziVodu::AddR(TVDRawByteString s, int32_t styleNo) {
    FVDData->AddNLRTag(std::move(s), styleNo, -1, {});
}

void TCustomViziVodu::AddRTag(TVDRawByteString s, int32_t styleNo, const TVDTag &tag) {
    FVDData->AddNLRTag(std::move(s), styleNo, -1, tag);
}

void TCustomViziVodu::AddFmt(const rtl::UnicodeString &formatStr,
                             std::initializer_list<rtl::TVarRec> args, int32_t styleNo,
                             int32_t paraNo) {
    FVDData->AddFmt(formatStr, args, styleNo, paraNo);
}

void TCustomViziVodu::AddCenterLine(std::u16string_view s, int32_t styleNo) {
    AddNLTag(s, styleNo, 1, {});
}

void TCustomViziVodu::AddFromNewLine(std::u16string_view s, int32_t styleNo) {
    AddNLTag(s, styleNo, 0, {});
}

void TCustomViziVodu::AddText(std::u16string_view s, int32_t styleNo) {
    AddTextNLW(s, styleNo, -1, 0, false);
}

void TCustomViziVodu::AddTextFromNewLine(std::u16string_view s, int32_t styleNo) {
    AddTextNLW(s, styleNo, 0, 0, false);
}

void TCustomViziVodu::AddTextNL(std::u16string_view s, int32_t styleNo, int32_t firstParaNo,
                                int32_t otherParaNo) {
    AddTextNLW(s, styleNo, firstParaNo, otherParaNo, false);
}

// The text style is decided by the paragraph the first line joins: continuing the current
// paragraph in its default style means the last item's paragraph.
void TCustomViziVodu::AddTextNLW(std::u16string_view s, int32_t styleNo, int32_t firstParaNo,
                                 int32_t otherParaNo, bool defAsSingleParagraph) {
    const TVDRawByteString raw = StringToRawUnicode(s);
    if (!FStyle) {
        FVDData->AddTextNLWRaw(raw, styleNo, firstParaNo, otherParaNo, defAsSingleParagraph);
        return;
    }
    const bool paraDefault = styleNo < 0 || styleNo == StyleNoParaDefault;
    int32_t paraNo = firstParaNo;
    if (firstParaNo == -1 && paraDefault) {
        paraNo = FVDData->ItemCount() > 0 ? FVDData->GetItemPara(FVDData->ItemCount() - 1) : 0;
    }
    const int32_t actual =
        FVDData->GetActualStyleEx(paraDefault ? StyleNoParaDefault : styleNo, std::max(paraNo, 0));
    if (FStyle->GetTextStyles().GetItem(actual).GetUnicode()) {
        FVDData->AddTextNLWRaw(raw, styleNo, firstParaNo, otherParaNo, defAsSingleParagraph);
        return;
    }
    const TVDAnsiString text = RawUnicodeToAnsi(FVDData->GetStyleCodePage(actual), raw);
    if (defAsSingleParagraph) {
        FVDData->AddTextBlockNLA(text, styleNo, firstParaNo, {});
    } else {
        FVDData->AddTextNLR(text, styleNo, firstParaNo, otherParaNo, {});
    }
}

void TCustomViziVodu::AddTextNLR(const TVDRawByteString &s, int32_t styleNo, int32_t firstParaNo,
                                 int32_t otherParaNo) {
    FVDData->AddTextNLR(s, styleNo, firstParaNo, otherParaNo, {});
}

void TCustomViziVodu::AddTextNLA(const TVDAnsiString &s, int32_t styleNo, int32_t firstParaNo,
                                 int32_t otherParaNo) {
    FVDData->AddTextNLA(s, styleNo, firstParaNo, otherParaNo, {});
}

void TCustomViziVodu::AddTextBlockNLA(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo) {
    FVDData->AddTextBlockNLA(s, styleNo, paraNo, {});
}

void TCustomViziVodu::AddTab(int32_t textStyleNo, int32_t paraNo) {
    FVDData->AddTab(textStyleNo, paraNo);
}

void TCustomViziVodu::AddBreak() {
    FVDData->AddBreakTag({});
}

void TCustomViziVodu::AddBreakTag(const TVDTag &tag) {
    FVDData->AddBreakTag(tag);
}

void TCustomViziVodu::AddBreakEx(TVDStyleLength width, TVDBreakStyle style, TColor color) {
    FVDData->AddBreakEx(width, style, color);
}

void TCustomViziVodu::AddBreakExTag(TVDStyleLength width, TVDBreakStyle style, TColor color,
                                    const TVDTag &tag) {
    FVDData->AddBreakExTag(width, style, color, tag);
}

int32_t TCustomViziVodu::AddCheckpoint() {
    return FVDData->AddNamedCheckpointExTag({}, false, {});
}

int32_t TCustomViziVodu::AddCheckpointTag(const TVDTag &tag) {
    return FVDData->AddNamedCheckpointExTag({}, false, tag);
}

int32_t TCustomViziVodu::AddNamedCheckpoint(const rtl::UnicodeString &cpName) {
    return FVDData->AddNamedCheckpointExTag(cpName, false, {});
}

int32_t TCustomViziVodu::AddNamedCheckpointEx(const rtl::UnicodeString &cpName, bool raiseEvent) {
    return FVDData->AddNamedCheckpointExTag(cpName, raiseEvent, {});
}

int32_t TCustomViziVodu::AddNamedCheckpointExTag(const rtl::UnicodeString &cpName, bool raiseEvent,
                                                 const TVDTag &tag) {
    return FVDData->AddNamedCheckpointExTag(cpName, raiseEvent, tag);
}

void TCustomViziVodu::AddPicture(std::unique_ptr<gfx::TGraphic> gr) {
    FVDData->AddPictureExTag({}, std::move(gr), 1, vdvaBaseline, {});
}

void TCustomViziVodu::AddPictureEx(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                                   int32_t paraNo, TVDVAlign vAlign) {
    FVDData->AddPictureExTag(name, std::move(gr), paraNo, vAlign, {});
}

void TCustomViziVodu::AddPictureExTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                                      int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag) {
    FVDData->AddPictureExTag(name, std::move(gr), paraNo, vAlign, tag);
}

void TCustomViziVodu::AddHotspot(int32_t imageIndex, gfx::TCustomImageList *imageList,
                                 bool fromNewLine) {
    FVDData->AddHotspotExTag({}, imageIndex, imageIndex, imageList, fromNewLine ? 0 : -1, {});
}

void TCustomViziVodu::AddHotspotEx(const TVDAnsiString &name, int32_t imageIndex,
                                   int32_t hotImageIndex, gfx::TCustomImageList *imageList,
                                   int32_t paraNo) {
    FVDData->AddHotspotEx(name, imageIndex, hotImageIndex, imageList, paraNo);
}

void TCustomViziVodu::AddHotspotExTag(const TVDAnsiString &name, int32_t imageIndex,
                                      int32_t hotImageIndex, gfx::TCustomImageList *imageList,
                                      int32_t paraNo, const TVDTag &tag) {
    FVDData->AddHotspotExTag(name, imageIndex, hotImageIndex, imageList, paraNo, tag);
}

void TCustomViziVodu::AddBullet(int32_t imageIndex, gfx::TCustomImageList *imageList,
                                bool fromNewLine) {
    FVDData->AddBulletExTag({}, imageIndex, imageList, fromNewLine ? 0 : -1, {});
}

void TCustomViziVodu::AddBulletEx(const TVDAnsiString &name, int32_t imageIndex,
                                  gfx::TCustomImageList *imageList, int32_t paraNo) {
    FVDData->AddBulletEx(name, imageIndex, imageList, paraNo);
}

void TCustomViziVodu::AddBulletExTag(const TVDAnsiString &name, int32_t imageIndex,
                                     gfx::TCustomImageList *imageList, int32_t paraNo,
                                     const TVDTag &tag) {
    FVDData->AddBulletExTag(name, imageIndex, imageList, paraNo, tag);
}

void TCustomViziVodu::AddControl(std::unique_ptr<ui::TControl> ctrl, bool center) {
    FVDData->AddControlExTag({}, std::move(ctrl), center ? 1 : 0, vdvaBaseline, {});
}

void TCustomViziVodu::AddControlEx(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl,
                                   int32_t paraNo, TVDVAlign vAlign) {
    FVDData->AddControlEx(name, std::move(ctrl), paraNo, vAlign);
}

void TCustomViziVodu::AddControlExTag(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl,
                                      int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag) {
    FVDData->AddControlExTag(name, std::move(ctrl), paraNo, vAlign, tag);
}

void TCustomViziVodu::AddHotPicture(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                                    int32_t paraNo, TVDVAlign vAlign) {
    FVDData->AddHotPictureTag(name, std::move(gr), paraNo, vAlign, {});
}

void TCustomViziVodu::AddHotPictureTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                                       int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag) {
    FVDData->AddHotPictureTag(name, std::move(gr), paraNo, vAlign, tag);
}

void TCustomViziVodu::AddItem(const rtl::UnicodeString &text,
                              std::unique_ptr<TCustomVDItemInfo> item) {
    FVDData->AddItem(text, std::move(item));
}

void TCustomViziVodu::AddItemR(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item,
                               bool adjustPara) {
    FVDData->AddItemR(std::move(text), std::move(item), adjustPara);
}

void TCustomViziVodu::AppendFrom(TCustomViziVodu &source) {
    FVDData->AppendFrom(*source.FVDData);
}

void TCustomViziVodu::SetAddParagraphMode(bool allowNewPara) {
    FVDData->SetAddParagraphMode(allowNewPara);
}

// ---- Handler registries ----

void TCustomViziVodu::RegisterIn(std::unique_ptr<TVDEventHandlerList> &list, ui::TComponent *c,
                                 ui::TNotifyEvent e) {
    if (!list) {
        list = std::make_unique<TVDEventHandlerList>();
    }
    list->RegisterHandler(c, std::move(e));
}

void TCustomViziVodu::UnregisterIn(std::unique_ptr<TVDEventHandlerList> &list, ui::TComponent *c) {
    if (!list) {
        return;
    }
    list->UnregisterHandler(c);
    if (list->Count() == 0) {
        list.reset();
    }
}

void TCustomViziVodu::RegisterVScrollHandler(ui::TComponent *c, ui::TNotifyEvent e) {
    RegisterIn(FVScrollHandlers, c, std::move(e));
}

void TCustomViziVodu::UnregisterVScrollHandler(ui::TComponent *c) {
    UnregisterIn(FVScrollHandlers, c);
}

void TCustomViziVodu::RegisterHScrollHandler(ui::TComponent *c, ui::TNotifyEvent e) {
    RegisterIn(FHScrollHandlers, c, std::move(e));
}

void TCustomViziVodu::UnregisterHScrollHandler(ui::TComponent *c) {
    UnregisterIn(FHScrollHandlers, c);
}

void TCustomViziVodu::RegisterClearHandler(ui::TComponent *c, ui::TNotifyEvent e) {
    RegisterIn(FClearHandlers, c, std::move(e));
}

void TCustomViziVodu::UnregisterClearHandler(ui::TComponent *c) {
    UnregisterIn(FClearHandlers, c);
}

void TCustomViziVodu::RegisterResizeHandler(ui::TComponent *c, ui::TNotifyEvent e) {
    RegisterIn(FResizeHandlers, c, std::move(e));
}

void TCustomViziVodu::UnregisterResizeHandler(ui::TComponent *c) {
    UnregisterIn(FResizeHandlers, c);
}

void TCustomViziVodu::RegisterSaveHandler(ui::TComponent *c, ui::TNotifyEvent e) {
    RegisterIn(FSaveHandlers, c, std::move(e));
}

void TCustomViziVodu::UnregisterSaveHandler(ui::TComponent *c) {
    UnregisterIn(FSaveHandlers, c);
}

void TCustomViziVodu::RegisterStyleTemplatesChangeHandler(ui::TComponent *c, ui::TNotifyEvent e) {
    RegisterIn(FStyleTemplatesChangeHandlers, c, std::move(e));
}

void TCustomViziVodu::UnregisterStyleTemplatesChangeHandler(ui::TComponent *c) {
    UnregisterIn(FStyleTemplatesChangeHandlers, c);
}

void TCustomViziVodu::DoOnClear() {
    if (Flags.Contains(vdflRoot) && FClearHandlers) {
        FClearHandlers->Execute(this);
    }
}

void TCustomViziVodu::DoBeforeSaving() {
    if (Flags.Contains(vdflRoot) && FSaveHandlers) {
        FSaveHandlers->Execute(this);
    }
}

} // namespace vizivodu
