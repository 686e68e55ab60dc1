// Paragraph borders, backgrounds and tab stops.
#include "vizivodu/styles/VDStyle_Borders.h"

#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Canvas_p.h"

#include "platform/rtl/ScopeExit.h"

namespace vizivodu {

namespace {

// The sides of a mask of paragraph properties, from the mask's members for left, top, right
// and bottom (in that order of the enumeration).
TVDSides SidesOf(TVDParaInfoProperties props, TVDParaInfoProperty left) {
    TVDSides sides;
    for (int i = 0; i < 4; ++i) {
        if (props.Contains(TVDParaInfoProperty(left + i))) {
            sides.Include(TVDSide(i));
        }
    }
    return sides;
}

// The border colour under a colour mode: the black-and-white modes draw black.
TColor BorderColorForMode(TColor color, TVDColorMode mode) {
    if (mode == vdcmBlackAndWhite || mode == vdcmBlackOnWhite) {
        return gfx::clBlack;
    }
    return GetTextColorForMode(color, mode);
}

} // namespace

// ---- TVDRect ------------------------------------------------------------------------------

void TVDRect::AssignValidProperties(const TVDRect &source, TVDSides sides) {
    if (sides.Contains(vdsLeft)) {
        Left = source.Left;
    }
    if (sides.Contains(vdsTop)) {
        Top = source.Top;
    }
    if (sides.Contains(vdsRight)) {
        Right = source.Right;
    }
    if (sides.Contains(vdsBottom)) {
        Bottom = source.Bottom;
    }
}

void TVDRect::SetAll(TVDStyleLength value) {
    Left = Top = Right = Bottom = value;
}

void TVDRect::AssignToRect(rtl::TRect &rect) const {
    rect = rtl::Rect(Left, Top, Right, Bottom);
}

void TVDRect::AssignToRectIfGreater(rtl::TRect &rect) const {
    rect.Left = std::max(rect.Left, Left);
    rect.Top = std::max(rect.Top, Top);
    rect.Right = std::max(rect.Right, Right);
    rect.Bottom = std::max(rect.Bottom, Bottom);
}

void TVDRect::InflateRect(rtl::TRect &rect, const TVDStyle &vdStyle,
                          bool allowNegativeValues) const {
    auto px = [&](TVDStyleLength v) {
        const int32_t p = vdStyle.GetAsPixels(v);
        return allowNegativeValues ? p : ClampToNonNegative(p);
    };
    rect.Left -= px(Left);
    rect.Top -= px(Top);
    rect.Right += px(Right);
    rect.Bottom += px(Bottom);
}

void TVDRect::InflateRectSaD(rtl::TRect &rect, const TVDStyle &vdStyle, PVDScreenAndDevice sad,
                             bool allowNegativeValues) const {
    auto clamp = [&](int32_t p) { return allowNegativeValues ? p : ClampToNonNegative(p); };
    rect.Left -= clamp(vdStyle.GetAsDevicePixelsX(Left, sad));
    rect.Top -= clamp(vdStyle.GetAsDevicePixelsY(Top, sad));
    rect.Right += clamp(vdStyle.GetAsDevicePixelsX(Right, sad));
    rect.Bottom += clamp(vdStyle.GetAsDevicePixelsY(Bottom, sad));
}

bool TVDRect::IsEqual(const TVDRect &value) const {
    return IsEqualIgnoring(value, {});
}

bool TVDRect::IsAllEqual(TVDStyleLength value) const {
    return Left == value && Top == value && Right == value && Bottom == value;
}

bool TVDRect::IsEqualIgnoring(const TVDRect &value, TVDSides ignore) const {
    return (ignore.Contains(vdsLeft) || Left == value.Left) &&
           (ignore.Contains(vdsTop) || Top == value.Top) &&
           (ignore.Contains(vdsRight) || Right == value.Right) &&
           (ignore.Contains(vdsBottom) || Bottom == value.Bottom);
}

int32_t TVDRect::SimilarityValue(const TVDRect &value, int32_t weight, int32_t divisor) const {
    return (GetIntSimilarity(Left, value.Left, weight) + GetIntSimilarity(Top, value.Top, weight) +
            GetIntSimilarity(Right, value.Right, weight) +
            GetIntSimilarity(Bottom, value.Bottom, weight)) /
           divisor;
}

void TVDRect::ConvertToDifferentUnits(const TVDStyle *vdStyle, TVDStyleUnits newUnits) {
    Left = TVDStyle::GetAsDifferentUnits(vdStyle, Left, newUnits);
    Top = TVDStyle::GetAsDifferentUnits(vdStyle, Top, newUnits);
    Right = TVDStyle::GetAsDifferentUnits(vdStyle, Right, newUnits);
    Bottom = TVDStyle::GetAsDifferentUnits(vdStyle, Bottom, newUnits);
}

// ---- TVDBooleanRect -----------------------------------------------------------------------

void TVDBooleanRect::AssignValidProperties(const TVDBooleanRect &source, TVDSides sides) {
    if (sides.Contains(vdsLeft)) {
        Left = source.Left;
    }
    if (sides.Contains(vdsTop)) {
        Top = source.Top;
    }
    if (sides.Contains(vdsRight)) {
        Right = source.Right;
    }
    if (sides.Contains(vdsBottom)) {
        Bottom = source.Bottom;
    }
}

void TVDBooleanRect::SetValues(bool aLeft, bool aTop, bool aRight, bool aBottom) {
    Left = aLeft;
    Top = aTop;
    Right = aRight;
    Bottom = aBottom;
}

void TVDBooleanRect::GetValues(bool &aLeft, bool &aTop, bool &aRight, bool &aBottom) const {
    aLeft = Left;
    aTop = Top;
    aRight = Right;
    aBottom = Bottom;
}

bool TVDBooleanRect::IsEqual(const TVDBooleanRect &value) const {
    return IsEqualIgnoring(value, {});
}

bool TVDBooleanRect::IsEqual2(bool aLeft, bool aTop, bool aRight, bool aBottom) const {
    return Left == aLeft && Top == aTop && Right == aRight && Bottom == aBottom;
}

bool TVDBooleanRect::IsAllEqual(bool value) const {
    return IsEqual2(value, value, value, value);
}

bool TVDBooleanRect::IsEqualIgnoring(const TVDBooleanRect &value, TVDSides ignore) const {
    return (ignore.Contains(vdsLeft) || Left == value.Left) &&
           (ignore.Contains(vdsTop) || Top == value.Top) &&
           (ignore.Contains(vdsRight) || Right == value.Right) &&
           (ignore.Contains(vdsBottom) || Bottom == value.Bottom);
}

// ---- TVDBorder ----------------------------------------------------------------------------

TVDBorder::TVDBorder(std::unique_ptr<TVDRect> borderOffsets)
    : FBorderOffsets(borderOffsets ? std::move(borderOffsets) : std::make_unique<TVDRect>()) {}

void TVDBorder::Reset() {
    FBorderOffsets->SetAll(0);
    VisibleBorders.SetAll(true);
    Style = vdbNone;
    Color = gfx::clWindowText;
    Width = 1;
    InternalWidth = 1;
}

void TVDBorder::Assign(const TVDBorder &source) {
    Width = source.Width;
    Style = source.Style;
    Color = source.Color;
    InternalWidth = source.InternalWidth;
    VisibleBorders.Assign(source.VisibleBorders);
    FBorderOffsets->Assign(*source.FBorderOffsets);
}

TVDStyleLength TVDBorder::GetTotalWidth() const {
    switch (Style) {
    case vdbNone:
        return 0;
    case vdbSingle:
        return Width;
    case vdbDouble:
        return 2 * Width + InternalWidth;
    case vdbTriple:
        return 3 * Width + 2 * InternalWidth;
    case vdbThickInside:
    case vdbThickOutside:
        return 3 * Width + InternalWidth;
    }
    return 0;
}

bool TVDBorder::IsEqual(const TVDBorder &value) const {
    return Style == value.Style && Color == value.Color && Width == value.Width &&
           InternalWidth == value.InternalWidth && FBorderOffsets->IsEqual(*value.FBorderOffsets) &&
           VisibleBorders.IsEqual(value.VisibleBorders);
}

bool TVDBorder::IsEqual_Para(const TVDBorder &value, TVDParaInfoProperties ignoreList) const {
    auto same = [&](TVDParaInfoProperty p, bool equal) { return ignoreList.Contains(p) || equal; };
    return same(vdpiBorder_Color, Color == value.Color) &&
           same(vdpiBorder_Style, Style == value.Style) &&
           same(vdpiBorder_Width, Width == value.Width) &&
           same(vdpiBorder_InternalWidth, InternalWidth == value.InternalWidth) &&
           FBorderOffsets->IsEqualIgnoring(*value.FBorderOffsets,
                                           SidesOf(ignoreList, vdpiBorder_BO_Left)) &&
           VisibleBorders.IsEqualIgnoring(value.VisibleBorders,
                                          SidesOf(ignoreList, vdpiBorder_Vis_Left));
}

void TVDBorder::AssignValidProperties(const TVDBorder &source,
                                      TVDParaInfoProperties validProperties) {
    if (validProperties.Contains(vdpiBorder_Color)) {
        Color = source.Color;
    }
    if (validProperties.Contains(vdpiBorder_Style)) {
        Style = source.Style;
    }
    if (validProperties.Contains(vdpiBorder_Width)) {
        Width = source.Width;
    }
    if (validProperties.Contains(vdpiBorder_InternalWidth)) {
        InternalWidth = source.InternalWidth;
    }
    FBorderOffsets->AssignValidProperties(*source.FBorderOffsets,
                                          SidesOf(validProperties, vdpiBorder_BO_Left));
    VisibleBorders.AssignValidProperties(source.VisibleBorders,
                                         SidesOf(validProperties, vdpiBorder_Vis_Left));
}

int32_t TVDBorder::SimilarityValue(const TVDBorder &value, int32_t wht) const {
    const bool visible[4] = {VisibleBorders.Left, VisibleBorders.Top, VisibleBorders.Right,
                             VisibleBorders.Bottom};
    const bool otherVisible[4] = {value.VisibleBorders.Left, value.VisibleBorders.Top,
                                  value.VisibleBorders.Right, value.VisibleBorders.Bottom};
    const TVDStyleLength offsets[4] = {FBorderOffsets->Left, FBorderOffsets->Top,
                                       FBorderOffsets->Right, FBorderOffsets->Bottom};
    const TVDStyleLength otherOffsets[4] = {value.FBorderOffsets->Left, value.FBorderOffsets->Top,
                                            value.FBorderOffsets->Right,
                                            value.FBorderOffsets->Bottom};
    int32_t sidesScore = 0;
    int32_t inBoth = 0;
    for (int i = 0; i < 4; ++i) {
        const bool present = Style != vdbNone && visible[i];
        const bool otherPresent = value.Style != vdbNone && otherVisible[i];
        if (present && otherPresent) {
            ++inBoth;
            sidesScore += GetIntSimilarity(offsets[i], otherOffsets[i], 100 / wht);
        } else if (present || otherPresent) {
            sidesScore -= 20000;
        } else {
            sidesScore += 20000;
        }
    }
    int32_t score = 0;
    if (inBoth > 0) {
        score = inBoth * (GetColorSimilarity(Color, value.Color, 3333, 3000) +
                          GetIntSimilarity(Width, value.Width, 1000 / wht) +
                          GetIntSimilarity(InternalWidth, value.InternalWidth, 1000 / wht) +
                          (Style == value.Style ? 1000 : 0));
    }
    return score + sidesScore;
}

void TVDBorder::ConvertToDifferentUnits(const TVDStyle *vdStyle, TVDStyleUnits newUnits) {
    FBorderOffsets->ConvertToDifferentUnits(vdStyle, newUnits);
    Width = TVDStyle::GetAsDifferentUnits(vdStyle, Width, newUnits);
    InternalWidth = TVDStyle::GetAsDifferentUnits(vdStyle, InternalWidth, newUnits);
}

void TVDBorder::Draw(const rtl::TRect &rect, gfx::TCanvas &canvas, const TVDStyle &vdStyle,
                     TVDGraphicInterface &graphicInterface) const {
    if (Style == vdbNone) {
        return;
    }
    rtl::TRect r = rect;
    FBorderOffsets->InflateRect(r, vdStyle, AllowNegativeOffsets());
    const int32_t w = vdStyle.GetAsPixels(Width);
    const int32_t iw = vdStyle.GetAsPixels(InternalWidth);
    DoDraw(r, canvas, {w, w, iw, iw}, Color, graphicInterface);
}

void TVDBorder::DrawSaD(const rtl::TRect &rect, gfx::TCanvas &canvas, const TVDStyle &vdStyle,
                        PVDScreenAndDevice sad, TVDColorMode colorMode,
                        TVDGraphicInterface &graphicInterface) const {
    if (Style == vdbNone) {
        return;
    }
    rtl::TRect r = rect;
    FBorderOffsets->InflateRectSaD(r, vdStyle, sad, AllowNegativeOffsets());
    const TLineWidths widths{vdStyle.GetAsDevicePixelsX(Width, sad),
                             vdStyle.GetAsDevicePixelsY(Width, sad),
                             vdStyle.GetAsDevicePixelsX(InternalWidth, sad),
                             vdStyle.GetAsDevicePixelsY(InternalWidth, sad)};
    DoDraw(r, canvas, widths, BorderColorForMode(Color, colorMode), graphicInterface);
}

void TVDBorder::DoDraw(rtl::TRect r, gfx::TCanvas &canvas, const TLineWidths &widths, TColor color,
                       TVDGraphicInterface &graphicInterface) const {
    r.Inflate(1, 1);
    canvas::PrepareSolidFill(canvas, color);
    const int lines = Style == vdbSingle ? 1 : Style == vdbTriple ? 3 : 2;
    for (int k = lines; k >= 1; --k) {
        const bool thick =
            (k == 1 && Style == vdbThickOutside) || (k == 2 && Style == vdbThickInside);
        const int32_t h = thick ? 2 * widths.WY : widths.WY;
        const int32_t v = widths.WX == widths.WY ? h : (thick ? 2 * widths.WX : widths.WX);
        const auto [l, t, right, b] = r;
        if (VisibleBorders.Top) {
            graphicInterface.FillRect(canvas, rtl::Rect(l - v + 1, t - h + 1, right + v, t + 1));
        }
        if (VisibleBorders.Bottom) {
            graphicInterface.FillRect(canvas, rtl::Rect(l - v + 1, b, right + v, b + h));
        }
        if (VisibleBorders.Right) {
            graphicInterface.FillRect(canvas, rtl::Rect(right, t - h + 1, right + v, b + h));
        }
        if (VisibleBorders.Left) {
            graphicInterface.FillRect(canvas, rtl::Rect(l - v + 1, t - h + 1, l + 1, b + h));
        }
        r.Inflate(widths.IX + v, widths.IY + h);
    }
    canvas::ResetPenWidth(canvas);
}

// ---- TVDBackgroundRect --------------------------------------------------------------------

TVDBackgroundRect::TVDBackgroundRect(std::unique_ptr<TVDRect> borderOffsets)
    : FBorderOffsets(borderOffsets ? std::move(borderOffsets) : std::make_unique<TVDRect>()) {}

void TVDBackgroundRect::Reset() {
    FBorderOffsets->SetAll(0);
    Color = gfx::clNone;
    Opacity = 100000;
}

void TVDBackgroundRect::Assign(const TVDBackgroundRect &source) {
    Color = source.Color;
    FBorderOffsets->Assign(*source.FBorderOffsets);
    Opacity = source.Opacity;
}

void TVDBackgroundRect::PrepareDraw(rtl::TRect &rect, const TVDStyle &vdStyle) const {
    FBorderOffsets->InflateRect(rect, vdStyle, AllowNegativeOffsets());
}

void TVDBackgroundRect::PrepareDrawSaD(rtl::TRect &rect, const TVDStyle &vdStyle,
                                       PVDScreenAndDevice sad) const {
    FBorderOffsets->InflateRectSaD(rect, vdStyle, sad, AllowNegativeOffsets());
}

void TVDBackgroundRect::Draw(const rtl::TRect &rect, gfx::TCanvas &canvas, bool /*printing*/,
                             TVDColorMode colorMode, TVDGraphicInterface &graphicInterface,
                             bool useOpacity) const {
    if (Color == gfx::clNone || Opacity == 0 || colorMode == vdcmBlackAndWhite ||
        colorMode == vdcmBlackOnWhite) {
        return;
    }
    const TColor color = GetBackColorForMode(Color, colorMode);
    canvas::PrepareSolidFill(canvas, color);
    // The given rectangle includes its right and bottom edges.
    const rtl::TRect r = rtl::Rect(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
    const uint8_t alpha = useOpacity ? OpacityToAlpha(Opacity) : 255;
    graphicInterface.FillRectAlpha(canvas, r, color, alpha);
    canvas::SolidPenClearBrush(canvas);
}

bool TVDBackgroundRect::IsSemitransparent() const {
    return Color != gfx::clNone && Opacity >= 1 && Opacity <= 99999;
}

bool TVDBackgroundRect::IsEqual(const TVDBackgroundRect &value) const {
    return Color == value.Color && Opacity == value.Opacity &&
           FBorderOffsets->IsEqual(*value.FBorderOffsets);
}

bool TVDBackgroundRect::IsEqual_Para(const TVDBackgroundRect &value,
                                     TVDParaInfoProperties ignoreList) const {
    return (ignoreList.Contains(vdpiBackground_Color) || Color == value.Color) &&
           (ignoreList.Contains(vdpiBackground_Opacity) || Opacity == value.Opacity) &&
           FBorderOffsets->IsEqualIgnoring(*value.FBorderOffsets,
                                           SidesOf(ignoreList, vdpiBackground_BO_Left));
}

void TVDBackgroundRect::AssignValidProperties(const TVDBackgroundRect &source,
                                              TVDParaInfoProperties validProperties) {
    if (validProperties.Contains(vdpiBackground_Color)) {
        Color = source.Color;
    }
    if (validProperties.Contains(vdpiBackground_Opacity)) {
        Opacity = source.Opacity;
    }
    FBorderOffsets->AssignValidProperties(*source.FBorderOffsets,
                                          SidesOf(validProperties, vdpiBackground_BO_Left));
}

int32_t TVDBackgroundRect::SimilarityValue(const TVDBackgroundRect &value, int32_t wht) const {
    return GetColorSimilarity(Color, value.Color, 10000, 50000) +
           GetIntSimilarity(Opacity, value.Opacity, 1000) +
           FBorderOffsets->SimilarityValue(*value.FBorderOffsets, 100, wht);
}

// ---- Tab stops ----------------------------------------------------------------------------

void TVDTabInfo::Assign(const rtl::TPersistent &source) {
    const auto *tab = dynamic_cast<const TVDTabInfo *>(&source);
    if (!tab) {
        TVDCollectionItem::Assign(source);
        return;
    }
    SetPosition(tab->FPosition);
    FAlign = tab->FAlign;
    FLeader = tab->FLeader;
}

UnicodeString TVDTabInfo::GetDisplayName() const {
    static const char16_t *const AlignWords[] = {u"left", u"right", u"center"};
    UnicodeString name = AlignWords[FAlign];
    name += u" at ";
    name += rtl::Utf8ToUtf16(std::to_string(FPosition));
    if (!FLeader.empty()) {
        name += u" (";
        for (int i = 0; i < 6; ++i) {
            name += FLeader;
        }
        name += u")";
    }
    return name;
}

bool TVDTabInfo::IsEqual(const TVDTabInfo &value) const {
    return FPosition == value.FPosition && FAlign == value.FAlign && FLeader == value.FLeader;
}

int32_t TVDTabInfo::SimilarityValue(const TVDTabInfo &value, int32_t wht) const {
    return GetIntSimilarity(FPosition, value.FPosition, 200 / wht) +
           (FAlign == value.FAlign ? 100 : 0) + (FLeader == value.FLeader ? 50 : 0);
}

void TVDTabInfo::SetPosition(TVDStyleLength value) {
    if (value == FPosition) {
        return;
    }
    FPosition = value;
    if (auto *tabs = dynamic_cast<TVDTabInfos *>(GetCollection())) {
        const rtl::TUpdateScope update(*tabs);
        tabs->SortTabs();
    }
}

TVDTabInfos::TVDTabInfos()
    : TVDCollection([](TVDCollection *c) { return std::make_unique<TVDTabInfo>(c); }) {}

TVDTabInfo &TVDTabInfos::Add() {
    return static_cast<TVDTabInfo &>(*TVDCollection::Add());
}

void TVDTabInfos::SortTabs() {
    SortItems([](const TVDCollectionItem *a, const TVDCollectionItem *b) {
        const TVDStyleLength pa = static_cast<const TVDTabInfo *>(a)->GetPosition();
        const TVDStyleLength pb = static_cast<const TVDTabInfo *>(b)->GetPosition();
        return pa < pb ? -1 : pa > pb ? 1 : 0;
    });
}

Integer TVDTabInfos::Find(TVDStyleLength position) const {
    Integer low = 0;
    Integer high = GetCount() - 1;
    while (low <= high) {
        const Integer middle = low + (high - low) / 2;
        const TVDStyleLength p = GetItem(middle).GetPosition();
        if (p == position) {
            return middle;
        }
        if (p < position) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return -1;
}

bool TVDTabInfos::IsEqual(const TVDTabInfos &value) const {
    if (GetCount() != value.GetCount()) {
        return false;
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        if (!GetItem(i).IsEqual(value.GetItem(i))) {
            return false;
        }
    }
    return true;
}

void TVDTabInfos::Intersect(const TVDTabInfos &value) {
    for (Integer i = GetCount() - 1; i >= 0; --i) {
        const Integer j = value.Find(GetItem(i).GetPosition());
        if (j < 0 || !GetItem(i).IsEqual(value.GetItem(j))) {
            Delete(i);
        }
    }
}

void TVDTabInfos::AddFrom(const TVDTabInfos &source) {
    for (Integer i = 0; i < source.GetCount(); ++i) {
        const TVDTabInfo &tab = source.GetItem(i);
        const Integer j = Find(tab.GetPosition());
        (j >= 0 ? GetItem(j) : Add()).Assign(tab);
    }
    // A stop added at position 0 keeps its place at the end (its position did not change):
    // put it in order, so that Find keeps working.
    SortTabs();
}

void TVDTabInfos::DeleteList(const TVDIntegerList &positions) {
    for (Integer position : positions) {
        const Integer i = Find(position);
        if (i >= 0) {
            Delete(i);
        }
    }
}

int32_t TVDTabInfos::SimilarityValue(const TVDTabInfos &value, int32_t wht) const {
    const Integer n = GetCount();
    const Integer m = value.GetCount();
    const Integer k = std::min(n, m);
    int32_t score = 0;
    for (Integer i = 0; i < k; ++i) {
        score += GetItem(i).SimilarityValue(value.GetItem(i), wht);
    }
    return score + 800 * k - 400 * n - 400 * m;
}

void TVDTabInfos::ConvertToDifferentUnits(const TVDStyle *vdStyle, TVDStyleUnits newUnits) {
    {
        const rtl::TUpdateScope update(*this);
        for (Integer i = 0; i < GetCount(); ++i) {
            TVDTabInfo &tab = GetItem(i);
            tab.FPosition = TVDStyle::GetAsDifferentUnits(vdStyle, tab.FPosition, newUnits);
        }
    }
    SortTabs();
}

} // namespace vizivodu
