// The style sheet: construction, collections, main sheet, graphic interface, default styles,
// hover queries, tab stops, the invalid picture, the screen cursors the sheet sets and the
// notice of a destroyed image list.
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Resources.h"
#include "platform/ui/Cursors.h"
#include "vizivodu/layout/text/VDUniscribe.h"
#include "vizivodu/layout/text/VDUniscribeGrIn.h"
#include "vizivodu/layout/text/VDWinGrIn.h"

#include <algorithm>

namespace vizivodu {

namespace {

// The screen cursors the documents use, from the program's cursor resources: the pointing hand
// over hypertext (101), the arrow that selects lines (106) and the I-beam laid on its side
// (107). A missing resource leaves its number as it was.
void SetStyleCursors() {
    static const struct {
        ui::TCursor Cursor;
        const char16_t *Resource;
    } cursors[] = {
        {101, u"VD_JUMP_CURSOR"}, {106, u"VD_FLIPARROW_CURSOR"}, {107, u"VD_LAYINGIBEAM_CURSOR"}};
    for (const auto &c : cursors) {
        if (const auto image = gfx::LoadCursorResource(gfx::HInstance, c.Resource)) {
            ui::Screen->SetCursorImage(c.Cursor, image->Image, image->HotX, image->HotY);
        }
    }
}

} // namespace

TVDStyle::TVDStyle(ui::TComponent *owner) : ui::TComponent(owner) {
    SetStyleCursors();
    CreateGraphicInterface();
    FTextStyles = std::make_unique<TFontInfos>(GetTextStyleClass(), this);
    FParaStyles = std::make_unique<TParaInfos>(GetParaStyleClass(), this);
    FListStyles = std::make_unique<TVDListInfos>(GetListStyleClass(), this);
    FStyleTemplates = std::make_unique<TVDStyleTemplateCollection>(this);
    ResetParaStyles();
    ResetTextStyles();
}

TVDStyle::~TVDStyle() {
    for (TVDStyle *user : FMainUsers) {
        user->FMainVDStyle = nullptr;
    }
    ReleaseMainVDStyle();
    FTextStyles.reset();
    FParaStyles.reset();
    FListStyles.reset();
    FInvalidPicture.reset();
    FStyleTemplates.reset();
    FGraphicInterface.reset();
}

// ---- Collections --------------------------------------------------------------------------

TVDCollection::TItemFactory TVDStyle::GetTextStyleClass() const {
    return [](TVDCollection *c) { return std::make_unique<TFontInfo>(c); };
}

TVDCollection::TItemFactory TVDStyle::GetParaStyleClass() const {
    return [](TVDCollection *c) { return std::make_unique<TParaInfo>(c); };
}

TVDCollection::TItemFactory TVDStyle::GetListStyleClass() const {
    return [](TVDCollection *c) { return std::make_unique<TVDListInfo>(c); };
}

void TVDStyle::SetTextStyles(const TFontInfos &value) {
    if (&value != FTextStyles.get()) {
        FTextStyles->Assign(value);
    }
}

void TVDStyle::SetParaStyles(const TParaInfos &value) {
    if (&value != FParaStyles.get()) {
        FParaStyles->Assign(value);
    }
}

void TVDStyle::SetListStyles(const TVDListInfos &value) {
    if (&value != FListStyles.get()) {
        FListStyles->Assign(value);
    }
}

TVDStyleTemplateCollection &TVDStyle::GetStyleTemplates() const {
    const TVDStyle *sheet = this;
    while (sheet->FMainVDStyle) {
        sheet = sheet->FMainVDStyle;
    }
    return *sheet->FStyleTemplates;
}

void TVDStyle::SetStyleTemplates(const TVDStyleTemplateCollection &value) {
    if (&value == &GetStyleTemplates()) {
        return;
    }
    if (FMainVDStyle) {
        throw EViziVoduError(
            "Cannot assign StyleTemplate property because MainVDStyle is assigned");
    }
    FStyleTemplates->Assign(value);
}

// ---- Main sheet and loading ---------------------------------------------------------------

void TVDStyle::SetMainVDStyle(TVDStyle *value) {
    if (value == this) {
        value = nullptr;
    }
    if (value == FMainVDStyle) {
        return;
    }
    // The chain of main sheets is kept free of circles, so this walk ends.
    for (const TVDStyle *sheet = value; sheet; sheet = sheet->FMainVDStyle) {
        if (sheet == this) {
            throw EViziVoduError("Circular references in MainVDStyle are not allowed");
        }
    }
    ReleaseMainVDStyle();
    FMainVDStyle = value;
    if (value) {
        value->FMainUsers.push_back(this);
    }
}

void TVDStyle::ReleaseMainVDStyle() {
    if (FMainVDStyle) {
        auto &users = FMainVDStyle->FMainUsers;
        users.erase(std::remove(users.begin(), users.end(), this), users.end());
        FMainVDStyle = nullptr;
    }
}

void TVDStyle::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    ui::TComponent::Notification(component, operation);
    if (operation == rtl::opRemove && FListStyles) {
        FListStyles->RemoveImageListReferences(component);
    }
}

void TVDStyle::Loaded() {
    TComponent::Loaded();
    FLoading = false;
    GetStyleTemplates().UpdateReferences();
}

// ---- Graphic interface --------------------------------------------------------------------

void TVDStyle::CreateGraphicInterface() {
    if (FGraphicInterface) {
        return;
    }
    if (FTextEngine == vdteUniscribe && IsUniscribeAvailable()) {
        FGraphicInterface = std::make_unique<TVDUniscribeGraphicInterface>();
    } else {
        FGraphicInterface = std::make_unique<TVDWinGraphicInterface>();
    }
}

void TVDStyle::SetTextEngine(TVDTextEngine value) {
    if (value == FTextEngine) {
        return;
    }
    FTextEngine = value;
    FGraphicInterface.reset();
    CreateGraphicInterface();
}

// ---- Styles -------------------------------------------------------------------------------

int32_t TVDStyle::AddTextStyle() {
    FTextStyles->Add();
    return FTextStyles->GetCount() - 1;
}

void TVDStyle::DeleteTextStyle(int32_t index) {
    FTextStyles->Delete(index);
}

void TVDStyle::ResetTextStyles() {
    FTextStyles->Clear();
    struct TDefault {
        const char16_t *Name;
        gfx::TFontStyles Style;
        TColor Color;
        bool Jump;
    };
    static const TDefault Defaults[] = {
        {u"Normal text", {}, gfx::clWindowText, false},
        {u"Heading", {gfx::fsBold}, 0xFF0000, false},
        {u"Subheading", {gfx::fsBold}, 0x800000, false},
        {u"Keywords", {gfx::fsItalic}, 0x000080, false},
        {u"Jump 1", {gfx::fsUnderline}, 0x008000, true},
        {u"Jump 2", {gfx::fsUnderline}, 0x008000, true},
    };
    for (const TDefault &d : Defaults) {
        TFontInfo &style = FTextStyles->Add();
        style.SetStyleName(d.Name);
        style.SetStyle(d.Style);
        style.SetColor(d.Color);
        if (d.Jump) {
            style.SetJump(true);
            style.SetJumpCursor(FJumpCursor);
        }
    }
}

void TVDStyle::ResetParaStyles() {
    FParaStyles->Clear();
    FParaStyles->Add();
    TParaInfo &centered = FParaStyles->Add();
    centered.SetStyleName(u"Centered");
    centered.SetAlignment(vdaCenter);
}

void TVDStyle::UpdateModifiedProperties() {
    const TVDStyleTemplateCollection &templates = GetStyleTemplates();
    for (Integer i = 0; i < FParaStyles->GetCount(); ++i) {
        TParaInfo &style = FParaStyles->GetItem(i);
        TVDStyleTemplate::UpdateModifiedParaStyleProperties(
            templates.FindItemById(style.GetStyleTemplateId()), style);
    }
    for (Integer i = 0; i < FTextStyles->GetCount(); ++i) {
        TFontInfo &style = FTextStyles->GetItem(i);
        TVDStyleTemplate::UpdateModifiedTextStyleProperties(
            templates.FindItemById(style.GetStyleTemplateId()), style,
            templates.FindItemById(style.GetParaStyleTemplateId()));
    }
}

int32_t TVDStyle::FindTextStyle(const TFontInfo &textStyle) {
    return FTextStyles->FindSuchStyleEx(0, textStyle, AllTextStyleProperties);
}

int32_t TVDStyle::FindParaStyle(const TParaInfo &paraStyle) {
    return FParaStyles->FindSuchStyleEx(0, paraStyle, AllParaStyleProperties);
}

TColor TVDStyle::GetHoverColor(int32_t styleNo) const {
    const TColor color = FTextStyles->GetItem(styleNo).GetHoverColor();
    return color != gfx::clNone ? color : FHoverColor;
}

bool TVDStyle::StyleHoverSensitive(int32_t styleNo) {
    const TFontInfo &style = FTextStyles->GetItem(styleNo);
    bool sensitive = GetHoverColor(styleNo) != gfx::clNone ||
                     style.GetHoverBackColor() != style.GetBackColor() ||
                     style.GetHoverUnderlineColor() != gfx::clNone ||
                     !style.GetHoverEffects().Empty();
    if (OnStyleHoverSensitive) {
        OnStyleHoverSensitive(*this, styleNo, sensitive);
    }
    return sensitive;
}

// ---- Tab stops ----------------------------------------------------------------------------

TVDNextTab TVDStyle::GetNextTab(int32_t paraNo, int32_t x, PVDScreenAndDevice sad,
                                TVDBiDiMode defBiDiMode, int32_t leftIndent,
                                int32_t rightIndent) const {
    const TParaInfo &para = FParaStyles->GetItem(paraNo);
    const TVDBiDiMode bidi = defBiDiMode != vdbdUnspecified ? defBiDiMode : para.GetBiDiMode();
    const bool rightToLeft = bidi == vdbdRightToLeft;
    const int32_t margin = sad ? sad->LeftMargin : 0;
    x -= margin;
    int32_t indentStop = leftIndent;
    if (rightToLeft) {
        indentStop = rightIndent;
        x += rightIndent - leftIndent;
    }
    auto finish = [&](TVDNextTab tab) {
        if (rightToLeft) {
            tab.Position = leftIndent + tab.Position - rightIndent;
        }
        return tab;
    };
    const TVDNextTab atIndent{indentStop + margin, {}, vdtaLeft};
    const TVDTabInfos &tabs = para.GetTabs();
    int32_t lastStop = 0;
    for (Integer i = 0; i < tabs.GetCount(); ++i) {
        const TVDTabInfo &tab = tabs.GetItem(i);
        lastStop = GetAsDevicePixelsX(tab.GetPosition(), sad);
        if (x < indentStop && indentStop < lastStop) {
            return finish(atIndent);
        }
        if (x < lastStop) {
            return finish({lastStop + margin, tab.GetLeader(), tab.GetAlign()});
        }
    }
    if (x < indentStop && (tabs.GetCount() == 0 || lastStop < indentStop)) {
        return finish(atIndent);
    }
    const int32_t w = std::max(1, GetAsDevicePixelsX(FDefTabWidth, sad));
    return finish({w * ((x + w) / w) + margin, {}, vdtaLeft});
}

// ---- Invalid picture ----------------------------------------------------------------------

gfx::TPicture &TVDStyle::GetInvalidPicture() {
    if (!FInvalidPicture) {
        // A white square with a red frame and a red cross: a picture that could not be shown.
        constexpr int32_t Size = 16;
        gfx::TBitmap bitmap(Size, Size);
        for (int32_t y = 0; y < Size; ++y) {
            uint32_t *row = bitmap.ScanLine(y);
            for (int32_t x = 0; x < Size; ++x) {
                const bool frame = x == 0 || y == 0 || x == Size - 1 || y == Size - 1;
                const bool cross = x == y || x == Size - 1 - y;
                row[x] = frame || cross ? 0xFFFF0000u : 0xFFFFFFFFu;
            }
        }
        FInvalidPicture = std::make_unique<gfx::TPicture>();
        FInvalidPicture->SetGraphic(&bitmap);
    }
    return *FInvalidPicture;
}

void TVDStyle::SetInvalidPicture(const gfx::TPicture *value) {
    if (!value) {
        FInvalidPicture.reset();
        return;
    }
    if (value != FInvalidPicture.get()) {
        if (!FInvalidPicture) {
            FInvalidPicture = std::make_unique<gfx::TPicture>();
        }
        FInvalidPicture->Assign(*value);
    }
}

} // namespace vizivodu
