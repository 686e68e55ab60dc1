// Box properties and box position of sidenotes and text boxes: numbered properties, their
// native-format lines, unit conversion and the inner space of a box.
#include "vizivodu/document/VDFloatingBox.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDFloatingPos.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>
#include <array>

namespace vizivodu {

namespace {

struct TBoxProp {
    int32_t Id;
    std::string_view Name; // the line key is "box" + Name
    int32_t Default;
};

constexpr std::array<TBoxProp, 23> kBoxProps = {{
    {600, "width", 100},
    {601, "height", 100},
    {602, "widthtype", 0},
    {603, "heighttype", vdbhtAuto},
    {604, "bordercolor", static_cast<int32_t>(gfx::clWindowText)},
    {605, "borderwidth", 1},
    {606, "borderiwidth", 1},
    {607, "borderstyle", vdbSingle},
    {608, "vb_left", 1},
    {609, "vb_top", 1},
    {610, "vb_right", 1},
    {611, "vb_bottom", 1},
    {612, "bo_left", 10},
    {613, "bo_top", 5},
    {614, "bo_right", 10},
    {615, "bo_bottom", 5},
    {616, "color", static_cast<int32_t>(gfx::clWindow)},
    {617, "padding_left", 10},
    {618, "padding_top", 5},
    {619, "padding_right", 10},
    {620, "padding_bottom", 5},
    {621, "contentvalign", tlTop},
    {622, "opacity", 100000},
}};
// The order of the lines written.
constexpr std::array<int32_t, 23> kBoxWriteOrder = {600, 601, 621, 602, 603, 604, 605, 606,
                                                    607, 608, 609, 610, 611, 612, 613, 614,
                                                    615, 616, 622, 617, 618, 619, 620};

constexpr std::array<TBoxProp, 10> kPosProps = {{
    {500, "hanchor", vdhanCharacter},
    {501, "hposkind", vdfpkAbsPosition},
    {502, "hoffs", 0},
    {503, "halign", vdfphalLeft},
    {504, "vanchor", vdvanLine},
    {505, "vposkind", vdfpkAbsPosition},
    {506, "voffs", 0},
    {507, "valign", vdfpvalTop},
    {508, "reltocell", 1},
    {509, "posintext", vdpitAboveText},
}};
constexpr std::array<int32_t, 10> kPosWriteOrder = {500, 501, 503, 502, 504,
                                                    505, 507, 506, 509, 508};

template <size_t N> const TBoxProp *FindProp(const std::array<TBoxProp, N> &props, int32_t id) {
    for (const TBoxProp &p : props) {
        if (p.Id == id) {
            return &p;
        }
    }
    return nullptr;
}

template <size_t N>
const TBoxProp *FindPropByKey(const std::array<TBoxProp, N> &props, std::string_view key) {
    if (key.substr(0, 3) != "box") {
        return nullptr;
    }
    for (const TBoxProp &p : props) {
        if (p.Name == key.substr(3)) {
            return &p;
        }
    }
    return nullptr;
}

// An enumeration value of count members, or false.
template <class E> bool SetEnum(E &field, int32_t value, int32_t count) {
    if (value < 0 || value >= count) {
        return false;
    }
    field = static_cast<E>(value);
    return true;
}

int32_t Clamped(int32_t v) {
    return std::max(0, v);
}

TVDStyleLength Converted(const TVDStyle *vdStyle, TVDStyleLength value, TVDStyleUnits units) {
    return TVDStyle::GetAsDifferentUnits(vdStyle, value, units);
}

} // namespace

bool ReadBoxPropertyValue(const rtl::UnicodeString &value, int32_t &result) {
    const std::string text = rtl::Utf16ToUtf8(value);
    const char *p = text.c_str();
    return VDFReadInteger(p, result) && *p == '\0';
}

TVDBoxBorder::TVDBoxBorder() : TVDBorder(std::make_unique<TVDBoxPaddingRect>()) {
    Style = vdbSingle;
}

TVDBoxBackgroundRect::TVDBoxBackgroundRect()
    : TVDBackgroundRect(std::make_unique<TVDBoxPaddingRect>()) {
    Color = gfx::clWindow;
}

// ---- Box properties ----

TVDBoxProperties::TVDBoxProperties() = default;

void TVDBoxProperties::Assign(const TVDBoxProperties &source) {
    FBorder.Assign(source.FBorder);
    FBackground.Assign(source.FBackground);
    Width = source.Width;
    Height = source.Height;
    WidthType = source.WidthType;
    HeightType = source.HeightType;
    VAlign = source.VAlign;
}

bool TVDBoxProperties::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    const TVDRect &bo = FBorder.GetBorderOffsets();
    const TVDRect &pad = FBackground.GetBorderOffsets();
    const TVDBooleanRect &vb = FBorder.VisibleBorders;
    switch (prop) {
    case 600:
        value = Width;
        break;
    case 601:
        value = Height;
        break;
    case 602:
        value = WidthType;
        break;
    case 603:
        value = HeightType;
        break;
    case 604:
        value = static_cast<int32_t>(FBorder.Color);
        break;
    case 605:
        value = FBorder.Width;
        break;
    case 606:
        value = FBorder.InternalWidth;
        break;
    case 607:
        value = FBorder.Style;
        break;
    case 608:
        value = vb.Left;
        break;
    case 609:
        value = vb.Top;
        break;
    case 610:
        value = vb.Right;
        break;
    case 611:
        value = vb.Bottom;
        break;
    case 612:
        value = bo.Left;
        break;
    case 613:
        value = bo.Top;
        break;
    case 614:
        value = bo.Right;
        break;
    case 615:
        value = bo.Bottom;
        break;
    case 616:
        value = static_cast<int32_t>(FBackground.Color);
        break;
    case 617:
        value = pad.Left;
        break;
    case 618:
        value = pad.Top;
        break;
    case 619:
        value = pad.Right;
        break;
    case 620:
        value = pad.Bottom;
        break;
    case 621:
        value = VAlign;
        break;
    case 622:
        value = FBackground.Opacity;
        break;
    default:
        return false;
    }
    return true;
}

bool TVDBoxProperties::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    TVDRect &bo = FBorder.GetBorderOffsets();
    TVDRect &pad = FBackground.GetBorderOffsets();
    TVDBooleanRect &vb = FBorder.VisibleBorders;
    switch (prop) {
    case 600:
        Width = value;
        return true;
    case 601:
        Height = value;
        return true;
    case 602:
        return SetEnum(WidthType, value, vdbwtRelOuterMargin + 1);
    case 603:
        return SetEnum(HeightType, value, vdbhtAuto + 1);
    case 604:
        FBorder.Color = static_cast<TColor>(value);
        return true;
    case 605:
        FBorder.Width = value;
        return true;
    case 606:
        FBorder.InternalWidth = value;
        return true;
    case 607:
        return SetEnum(FBorder.Style, value, vdbThickOutside + 1);
    case 608:
        vb.Left = value != 0;
        return true;
    case 609:
        vb.Top = value != 0;
        return true;
    case 610:
        vb.Right = value != 0;
        return true;
    case 611:
        vb.Bottom = value != 0;
        return true;
    case 612:
        bo.Left = value;
        return true;
    case 613:
        bo.Top = value;
        return true;
    case 614:
        bo.Right = value;
        return true;
    case 615:
        bo.Bottom = value;
        return true;
    case 616:
        FBackground.Color = static_cast<TColor>(value);
        return true;
    case 617:
        pad.Left = value;
        return true;
    case 618:
        pad.Top = value;
        return true;
    case 619:
        pad.Right = value;
        return true;
    case 620:
        pad.Bottom = value;
        return true;
    case 621:
        return SetEnum(VAlign, value, tlBottom + 1);
    case 622:
        FBackground.Opacity = value;
        return true;
    default:
        return false;
    }
}

bool TVDBoxProperties::GetExtraIntPropertyReformat(int32_t prop,
                                                   TVDReformatType &reformatType) const {
    if (prop < 600 || prop > 622) {
        return false;
    }
    const bool appearance =
        prop == 604 || (prop >= 608 && prop <= 611) || prop == 616 || prop == 622;
    reformatType = appearance ? vdrfSVDRepaint : vdrfSVDReformat;
    return true;
}

bool TVDBoxProperties::SetExtraCustomProperty(std::string_view propName,
                                              const rtl::UnicodeString &value) {
    const TBoxProp *p = FindPropByKey(kBoxProps, propName);
    int32_t number = 0;
    return p && ReadBoxPropertyValue(value, number) && SetExtraIntPropertyEx(p->Id, number);
}

int32_t TVDBoxProperties::GetChangedPropertyCount() const {
    int32_t count = 0;
    for (const TBoxProp &p : kBoxProps) {
        int32_t value = 0;
        GetExtraIntPropertyEx(p.Id, value);
        count += value != p.Default;
    }
    return count;
}

void TVDBoxProperties::SaveVDFExtraProperties(rtl::TStream &stream) const {
    for (int32_t id : kBoxWriteOrder) {
        const TBoxProp &p = *FindProp(kBoxProps, id);
        int32_t value = 0;
        GetExtraIntPropertyEx(id, value);
        if (value != p.Default) {
            WriteVDFExtraIntPropertyByName(stream, "box" + std::string(p.Name), value);
        }
    }
}

void TVDBoxProperties::ConvertToDifferentUnits(TVDStyleUnits newUnits, const TVDStyle *vdStyle) {
    if (WidthType == vdbwtAbsolute) {
        Width = Converted(vdStyle, Width, newUnits);
    }
    if (HeightType == vdbhtAbsolute) {
        Height = Converted(vdStyle, Height, newUnits);
    }
    FBorder.ConvertToDifferentUnits(vdStyle, newUnits);
    FBackground.GetBorderOffsets().ConvertToDifferentUnits(vdStyle, newUnits);
}

namespace {

int32_t Padding(int32_t background, int32_t offset, int32_t thickness) {
    return std::max(Clamped(background), Clamped(offset) + thickness);
}

} // namespace

int32_t TVDBoxProperties::GetTotalLeftPaddingSaD(const TVDStyle &s, PVDScreenAndDevice sad) const {
    return Padding(s.GetAsDevicePixelsX(FBackground.GetBorderOffsets().Left, sad),
                   s.GetAsDevicePixelsX(FBorder.GetBorderOffsets().Left, sad),
                   s.GetAsDevicePixelsX(FBorder.GetTotalWidth(), sad));
}

int32_t TVDBoxProperties::GetTotalRightPaddingSaD(const TVDStyle &s, PVDScreenAndDevice sad) const {
    return Padding(s.GetAsDevicePixelsX(FBackground.GetBorderOffsets().Right, sad),
                   s.GetAsDevicePixelsX(FBorder.GetBorderOffsets().Right, sad),
                   s.GetAsDevicePixelsX(FBorder.GetTotalWidth(), sad));
}

int32_t TVDBoxProperties::GetTotalTopPaddingSaD(const TVDStyle &s, PVDScreenAndDevice sad) const {
    return Padding(s.GetAsDevicePixelsY(FBackground.GetBorderOffsets().Top, sad),
                   s.GetAsDevicePixelsY(FBorder.GetBorderOffsets().Top, sad),
                   s.GetAsDevicePixelsY(FBorder.GetTotalWidth(), sad));
}

int32_t TVDBoxProperties::GetTotalBottomPaddingSaD(const TVDStyle &s,
                                                   PVDScreenAndDevice sad) const {
    return Padding(s.GetAsDevicePixelsY(FBackground.GetBorderOffsets().Bottom, sad),
                   s.GetAsDevicePixelsY(FBorder.GetBorderOffsets().Bottom, sad),
                   s.GetAsDevicePixelsY(FBorder.GetTotalWidth(), sad));
}

int32_t TVDBoxProperties::GetMinWidth(const TVDStyle &s) const {
    return GetTotalLeftPadding(s) + GetTotalRightPadding(s);
}

int32_t TVDBoxProperties::GetMinHeight(const TVDStyle &s) const {
    return GetTotalTopPadding(s) + GetTotalBottomPadding(s);
}

rtl::TRect TVDBoxProperties::GetInternalRect(const rtl::TRect &externalRect,
                                             const TVDStyle &vdStyle) const {
    rtl::TRect r = externalRect;
    r.Left += GetTotalLeftPadding(vdStyle);
    r.Top += GetTotalTopPadding(vdStyle);
    r.Right -= GetTotalRightPadding(vdStyle);
    r.Bottom -= GetTotalBottomPadding(vdStyle);
    return r;
}

// ---- Box position ----

bool TVDBoxPosition::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    switch (prop) {
    case 500:
        value = HorizontalAnchor;
        break;
    case 501:
        value = HorizontalPositionKind;
        break;
    case 502:
        value = HorizontalOffset;
        break;
    case 503:
        value = HorizontalAlignment;
        break;
    case 504:
        value = VerticalAnchor;
        break;
    case 505:
        value = VerticalPositionKind;
        break;
    case 506:
        value = VerticalOffset;
        break;
    case 507:
        value = VerticalAlignment;
        break;
    case 508:
        value = RelativeToCell;
        break;
    case 509:
        value = PositionInText;
        break;
    default:
        return false;
    }
    return true;
}

bool TVDBoxPosition::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    switch (prop) {
    case 500:
        return SetEnum(HorizontalAnchor, value, vdhanOuterMargin + 1);
    case 501:
        return SetEnum(HorizontalPositionKind, value, vdfpkPercentPosition + 1);
    case 502:
        HorizontalOffset = value;
        return true;
    case 503:
        return SetEnum(HorizontalAlignment, value, vdfphalRight + 1);
    case 504:
        return SetEnum(VerticalAnchor, value, vdvanBottomMargin + 1);
    case 505:
        return SetEnum(VerticalPositionKind, value, vdfpkPercentPosition + 1);
    case 506:
        VerticalOffset = value;
        return true;
    case 507:
        return SetEnum(VerticalAlignment, value, vdfpvalBottom + 1);
    case 508:
        RelativeToCell = value != 0;
        return true;
    case 509:
        return SetEnum(PositionInText, value, vdpitBelowText + 1);
    default:
        return false;
    }
}

bool TVDBoxPosition::GetExtraIntPropertyReformat(int32_t prop,
                                                 TVDReformatType &reformatType) const {
    if (prop < 500 || prop > 509) {
        return false;
    }
    reformatType = vdrfSVDReformat;
    return true;
}

bool TVDBoxPosition::SetExtraCustomProperty(std::string_view propName,
                                            const rtl::UnicodeString &value) {
    const TBoxProp *p = FindPropByKey(kPosProps, propName);
    int32_t number = 0;
    return p && ReadBoxPropertyValue(value, number) && SetExtraIntPropertyEx(p->Id, number);
}

int32_t TVDBoxPosition::GetChangedPropertyCount() const {
    int32_t count = 0;
    for (const TBoxProp &p : kPosProps) {
        int32_t value = 0;
        GetExtraIntPropertyEx(p.Id, value);
        count += value != p.Default;
    }
    return count;
}

void TVDBoxPosition::SaveVDFExtraProperties(rtl::TStream &stream) const {
    for (int32_t id : kPosWriteOrder) {
        const TBoxProp &p = *FindProp(kPosProps, id);
        int32_t value = 0;
        GetExtraIntPropertyEx(id, value);
        if (value != p.Default) {
            WriteVDFExtraIntPropertyByName(stream, "box" + std::string(p.Name), value);
        }
    }
}

void TVDBoxPosition::ConvertToDifferentUnits(TVDStyleUnits newUnits, const TVDStyle *vdStyle) {
    if (VerticalPositionKind == vdfpkAbsPosition) {
        VerticalOffset = Converted(vdStyle, VerticalOffset, newUnits);
    }
    if (HorizontalPositionKind == vdfpkAbsPosition) {
        HorizontalOffset = Converted(vdStyle, HorizontalOffset, newUnits);
    }
}

} // namespace vizivodu
