// TBvFrameController: shared frame settings pushed into registered controls, loaded and saved
// through a TBvRegIniFile.
#include "controls/BvCommon_Settings.h"
#include "platform/rtl/Property.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace controls {

namespace {

constexpr TBvFrameControllerProperty AllOrder[] = {
    fcpDisabledColor,   fcpReadOnlyColor,    fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons,      fcpFrameColor,           fcpFrameHotColor,
    fcpFrameHotTrack,   fcpFrameHotStyle,    fcpFrameSides,           fcpFrameStyle,
    fcpFrameVisible,    fcpFramingPreference};

const char16_t *const SideNames[] = {u"FrameSides_Left", u"FrameSides_Top", u"FrameSides_Right",
                                     u"FrameSides_Bottom"};

} // namespace

TBvFrameController::TBvFrameController(ui::TComponent *owner) : ui::TComponent(owner) {}

TBvFrameController::~TBvFrameController() {
    SetRegIniFile(nullptr);
    const std::vector<ui::TControl *> controls = FFrameList;
    FFrameList.clear();
    for (ui::TControl *c : controls) {
        if (auto *n = dynamic_cast<IBvCustomFramingNotification *>(c)) {
            n->FrameControllerFreed(*this);
        }
    }
}

void TBvFrameController::SetFlatButtonColor(TColor v) {
    rtl::SetProperty(FFlatButtonColor, v, [this] { UpdateControlsFor(fcpFlatButtonColor); });
}

void TBvFrameController::SetFlatButtons(bool v) {
    rtl::SetProperty(FFlatButtons, v, [this] { UpdateControlsFor(fcpFlatButtons); });
}

void TBvFrameController::SetDisabledColor(TColor v) {
    rtl::SetProperty(FDisabledColor, v, [this] { UpdateControlsFor(fcpDisabledColor); });
}

void TBvFrameController::SetReadOnlyColor(TColor v) {
    rtl::SetProperty(FReadOnlyColor, v, [this] { UpdateControlsFor(fcpReadOnlyColor); });
}

void TBvFrameController::SetReadOnlyColorOnFocus(bool v) {
    rtl::SetProperty(FReadOnlyColorOnFocus, v,
                     [this] { UpdateControlsFor(fcpReadOnlyColorOnFocus); });
}

void TBvFrameController::SetFocusColor(TColor v) {
    rtl::SetProperty(FFocusColor, v, [this] { UpdateControlsFor(fcpFocusColor); });
}

void TBvFrameController::SetFrameColor(TColor v) {
    rtl::SetProperty(FFrameColor, v, [this] { UpdateControlsFor(fcpFrameColor); });
}

void TBvFrameController::SetFrameHotColor(TColor v) {
    rtl::SetProperty(FFrameHotColor, v, [this] { UpdateControlsFor(fcpFrameHotColor); });
}

void TBvFrameController::SetFrameHotStyle(TFrameStyle v) {
    rtl::SetProperty(FFrameHotStyle, v, [this] { UpdateControlsFor(fcpFrameHotStyle); });
}

void TBvFrameController::SetFrameSides(TSides v) {
    rtl::SetProperty(FFrameSides, v, [this] { UpdateControlsFor(fcpFrameSides); });
}

void TBvFrameController::SetFrameStyle(TFrameStyle v) {
    rtl::SetProperty(FFrameStyle, v, [this] { UpdateControlsFor(fcpFrameStyle); });
}

void TBvFrameController::SetFrameVisible(bool v) {
    rtl::SetProperty(FFrameVisible, v, [this] { UpdateControlsFor(fcpFrameVisible); });
}

void TBvFrameController::SetFramingPreference(TFramingPreference v) {
    rtl::SetProperty(FFramingPreference, v, [this] { UpdateControlsFor(fcpFramingPreference); });
}

void TBvFrameController::SetColor(TColor v) {
    if (v == FColor && !FParentColor) {
        return;
    }
    if (FFocusColor == FColor) {
        FFocusColor = v;
    }
    FParentColor = false;
    FColor = v;
    UpdateControlsFor(fcpColor);
}

void TBvFrameController::SetParentColor(bool v) {
    if (v == FParentColor) {
        return;
    }
    FParentColor = v;
    UpdateControlsFor(fcpParentColor);
    if (!v) {
        UpdateControlsFor(fcpColor);
    }
}

void TBvFrameController::SetFrameHotTrack(bool v) {
    if (v == FFrameHotTrack) {
        return;
    }
    FFrameHotTrack = v;
    if (v) {
        SetFrameVisible(true);
        SetFrameSides(AllSides);
    }
    UpdateControlsFor(fcpFrameHotTrack);
}

void TBvFrameController::SetRegIniFile(TBvRegIniFile *v) {
    if (v == FRegIniFile) {
        return;
    }
    if (FRegIniFile) {
        std::erase(FRegIniFile->FUsers, this);
    }
    FRegIniFile = v;
    if (v) {
        v->FUsers.push_back(this);
    }
}

void TBvFrameController::AddControl(ui::TControl *control) {
    if (!control || std::find(FFrameList.begin(), FFrameList.end(), control) != FFrameList.end()) {
        return;
    }
    FFrameList.push_back(control);
    UpdateControl(control, fcpAll);
}

void TBvFrameController::RemoveControl(ui::TControl *control) {
    std::erase(FFrameList, control);
}

void TBvFrameController::EndUpdate() {
    if (--FUpdateCount <= 0) {
        FUpdateCount = 0;
        UpdateControlsFor(fcpAll);
    }
}

void TBvFrameController::UpdateControlsFor(TBvFrameControllerProperty setting) {
    if (FUpdateCount > 0 || FFrameList.empty()) {
        return;
    }
    const std::vector<ui::TControl *> controls = FFrameList;
    for (ui::TControl *c : controls) {
        UpdateControl(c, setting);
    }
}

void TBvFrameController::UpdateControl(ui::TControl *control, TBvFrameControllerProperty setting) {
    if (auto *n = dynamic_cast<IBvCustomFramingNotification *>(control)) {
        n->ApplyFramingSettings();
        return;
    }
    auto *props = dynamic_cast<IBvFramingProperties *>(control);
    if (!props) {
        return;
    }
    const TBvFrameControllerNotifications accepted = props->AcceptedFramingSettings();
    auto apply = [&](TBvFrameControllerProperty p) {
        if (accepted.Contains(p)) {
            props->SetFramingProperty(p, *this);
        }
    };
    if (setting != fcpAll) {
        apply(setting);
        return;
    }
    apply(fcpParentColor);
    if (!FParentColor) {
        apply(fcpColor);
    }
    for (TBvFrameControllerProperty p : AllOrder) {
        apply(p);
    }
}

void TBvFrameController::Assign(const rtl::TPersistent &source) {
    const auto *other = dynamic_cast<const TBvFrameController *>(&source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    const TBvFrameController &s = *other;
    const rtl::TUpdateScope update(*this);
    FColor = s.FColor;
    FParentColor = s.FParentColor;
    FFlatButtonColor = s.FFlatButtonColor;
    FFlatButtons = s.FFlatButtons;
    FDisabledColor = s.FDisabledColor;
    FReadOnlyColor = s.FReadOnlyColor;
    FReadOnlyColorOnFocus = s.FReadOnlyColorOnFocus;
    FFocusColor = s.FFocusColor;
    FFrameColor = s.FFrameColor;
    FFrameHotColor = s.FFrameHotColor;
    FFrameHotTrack = s.FFrameHotTrack;
    FFrameHotStyle = s.FFrameHotStyle;
    FFrameSides = s.FFrameSides;
    FFrameStyle = s.FFrameStyle;
    FFrameVisible = s.FFrameVisible;
    FFramingPreference = s.FFramingPreference;
}

void TBvFrameController::Load(const rtl::UnicodeString &section) {
    if (!FRegIniFile) {
        throw ENoRegIniFile(
            std::string_view("Cannot load Custom Framing settings--No TBvRegIniFile component "
                             "specified"));
    }
    const rtl::TUpdateScope update(*this);
    LoadValues(section);
}

void TBvFrameController::LoadValues(const rtl::UnicodeString &s) {
    TBvRegIniFile &ini = *FRegIniFile;
    SetColor(ini.ReadInteger(s, u"Color", gfx::clWindow));
    SetFlatButtonColor(ini.ReadInteger(s, u"FlatButtonColor", gfx::clBtnFace));
    SetFlatButtons(ini.ReadBool(s, u"FlatButtons", true));
    SetDisabledColor(ini.ReadInteger(s, u"DisabledColor", gfx::clWindow));
    SetReadOnlyColor(ini.ReadInteger(s, u"ReadOnlyColor", gfx::clInfoBk));
    SetReadOnlyColorOnFocus(ini.ReadBool(s, u"ReadOnlyColorOnFocus", false));
    SetFocusColor(ini.ReadInteger(s, u"FocusColor", gfx::clWindow));
    SetFrameColor(ini.ReadInteger(s, u"FrameColor", gfx::clBtnShadow));
    SetFrameHotColor(ini.ReadInteger(s, u"FrameHotColor", gfx::clBtnShadow));
    // Stored style numbers outside the frame styles fall back to the defaults.
    const int32_t hot = ini.ReadInteger(s, u"FrameHotStyle", fsFlatBold);
    SetFrameHotStyle(hot >= fsNone && hot <= fsFlatBold ? TFrameStyle(hot) : fsFlatBold);
    SetFrameHotTrack(ini.ReadBool(s, u"FrameHotTrack", false));
    TSides sides;
    for (int i = 0; i < 4; ++i) {
        if (ini.ReadBool(s, SideNames[i], true)) {
            sides.Include(TSide(i));
        }
    }
    SetFrameSides(sides);
    const int32_t style = ini.ReadInteger(s, u"FrameStyle", fsFlat);
    SetFrameStyle(style >= fsNone && style <= fsFlatBold ? TFrameStyle(style) : fsFlat);
    SetFrameVisible(ini.ReadBool(s, u"FrameVisible", false));
    const int32_t pref = ini.ReadInteger(s, u"FramingPreference", fpXPThemes);
    SetFramingPreference(pref == fpCustomFraming ? fpCustomFraming : fpXPThemes);
}

void TBvFrameController::Save(const rtl::UnicodeString &s) {
    if (!FRegIniFile) {
        throw ENoRegIniFile(
            std::string_view("Cannot save Custom Framing settings--No TBvRegIniFile component "
                             "specified"));
    }
    TBvRegIniFile &ini = *FRegIniFile;
    ini.WriteInteger(s, u"Color", FColor);
    ini.WriteInteger(s, u"FlatButtonColor", FFlatButtonColor);
    ini.WriteBool(s, u"FlatButtons", FFlatButtons);
    ini.WriteInteger(s, u"DisabledColor", FDisabledColor);
    ini.WriteInteger(s, u"ReadOnlyColor", FReadOnlyColor);
    ini.WriteBool(s, u"ReadOnlyColorOnFocus", FReadOnlyColorOnFocus);
    ini.WriteInteger(s, u"FocusColor", FFocusColor);
    ini.WriteInteger(s, u"FrameColor", FFrameColor);
    ini.WriteInteger(s, u"FrameHotColor", FFrameHotColor);
    ini.WriteInteger(s, u"FrameHotStyle", FFrameHotStyle);
    ini.WriteBool(s, u"FrameHotTrack", FFrameHotTrack);
    for (int i = 0; i < 4; ++i) {
        ini.WriteBool(s, SideNames[i], FFrameSides.Contains(TSide(i)));
    }
    ini.WriteInteger(s, u"FrameStyle", FFrameStyle);
    ini.WriteBool(s, u"FrameVisible", FFrameVisible);
    ini.WriteInteger(s, u"FramingPreference", FFramingPreference);
}

void TBvOldPropReader::ReadOldSetProp(rtl::TReader &reader) {
    if (reader.ReadValue() != rtl::vaSet) {
        throw rtl::EReadError("Invalid property value");
    }
    while (!reader.ReadStr().empty()) {
    }
}

TFrameStyleEx FrameStyleFromName(const rtl::UnicodeString &name) {
    static constexpr const char16_t *Names[] = {
        u"fsNone",   u"fsFlat",     u"fsGroove", u"fsBump",  u"fsLowered",  u"fsButtonDown",
        u"fsRaised", u"fsButtonUp", u"fsStatus", u"fsPopup", u"fsFlatBold", u"fsFlatRounded"};
    for (size_t i = 0; i < std::size(Names); ++i) {
        if (name == Names[i]) {
            return TFrameStyleEx(i);
        }
    }
    throw rtl::EReadError("Invalid property value");
}

void TBvFrameController::DefineProperties(rtl::TFiler &filer) {
    TComponent::DefineProperties(filer);
    filer.DefineProperty(
        "FrameFlat",
        [this](rtl::TReader &reader) {
            const bool flat = reader.ReadBoolean();
            SetFrameHotTrack(flat);
            if (flat) {
                SetFrameStyle(fsStatus);
                SetFrameHotStyle(fsLowered);
            }
        },
        nullptr);
    filer.DefineProperty(
        "FrameFocusStyle",
        [this](rtl::TReader &reader) { SetFrameHotStyle(FrameStyleFromName(reader.ReadIdent())); },
        nullptr);
    filer.DefineProperty("FrameFlatStyle", TBvOldPropReader::ReadOldIdentProp, nullptr);
}

} // namespace controls
