// Paragraph borders, backgrounds and tab stops: the four-sided length and flag records, the
// border and background of a paragraph style (also the base of the floating boxes' ones), and
// the sorted tab stops, with copying, comparison by property masks, similarity scores, unit
// conversion and drawing through the graphic interface.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/Types.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDCollection.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <memory>

namespace gfx {
class TCanvas;
}

namespace rtl {
class TCustomIniFile;
}

namespace vizivodu {

class TVDStyle;
class TVDGraphicInterface;

// One property of a paragraph style, for masks of properties to compare, copy or keep.
enum TVDParaInfoProperty : uint8_t {
    vdpiFirstIndent,
    vdpiLeftIndent,
    vdpiRightIndent,
    vdpiSpaceBefore,
    vdpiSpaceAfter,
    vdpiAlignment,
    vdpiLastLineAlignment,
    vdpiNextParaNo,
    vdpiDefStyleNo,
    vdpiLineSpacing,
    vdpiLineSpacingType,
    vdpiBackground_Color,
    vdpiBackground_Opacity,
    vdpiBackground_BO_Left,
    vdpiBackground_BO_Top,
    vdpiBackground_BO_Right,
    vdpiBackground_BO_Bottom,
    vdpiBorder_Color,
    vdpiBorder_Style,
    vdpiBorder_Width,
    vdpiBorder_InternalWidth,
    vdpiBorder_BO_Left,
    vdpiBorder_BO_Top,
    vdpiBorder_BO_Right,
    vdpiBorder_BO_Bottom,
    vdpiBorder_Vis_Left,
    vdpiBorder_Vis_Top,
    vdpiBorder_Vis_Right,
    vdpiBorder_Vis_Bottom,
    vdpiNoWrap,
    vdpiReadOnly,
    vdpiStyleProtect,
    vdpiDoNotWantReturns,
    vdpiKeepLinesTogether,
    vdpiKeepWithNext,
    vdpiWidowOrphanControl,
    vdpiTabs,
    vdpiBiDiMode,
    vdpiOutlineLevel,
    vdpiCustom,
    vdpiCustom2,
    vdpiCustom3,
    vdpiCustom4,
    vdpiCustom5
};
using TVDParaInfoProperties = rtl::TSet<TVDParaInfoProperty>;
inline constexpr TVDParaInfoProperties AllParaStyleProperties =
    TVDParaInfoProperties::FromBits((uint64_t(1) << 44) - 1);

enum TVDSide : uint8_t { vdsLeft, vdsTop, vdsRight, vdsBottom };
using TVDSides = rtl::TSet<TVDSide>;

// Four lengths in style units, default 0.
class TVDRect : public rtl::TPersistent {
public:
    TVDRect() = default;
    TVDRect(const TVDRect &) = default;
    TVDRect &operator=(const TVDRect &) = default;
    ~TVDRect() override = default;

    using rtl::TPersistent::Assign;
    void Assign(const TVDRect &source) { *this = source; }
    // Published: Left, Right, Top, Bottom, default 0.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    // Copies only the given sides.
    void AssignValidProperties(const TVDRect &source, TVDSides sides);
    void SetAll(TVDStyleLength value);
    void AssignToRect(rtl::TRect &rect) const;
    // Raises each side of rect to this one's when this one is greater.
    void AssignToRectIfGreater(rtl::TRect &rect) const;
    // Widens rect by the sides in screen pixels (left and top outwards to the left and up);
    // a negative side counts as 0 unless allowNegativeValues.
    void InflateRect(rtl::TRect &rect, const TVDStyle &vdStyle, bool allowNegativeValues) const;
    // The same in device pixels of sad.
    void InflateRectSaD(rtl::TRect &rect, const TVDStyle &vdStyle, PVDScreenAndDevice sad,
                        bool allowNegativeValues) const;
    bool IsEqual(const TVDRect &value) const;
    bool IsAllEqual(TVDStyleLength value) const;
    // Equal on every side not in ignore.
    bool IsEqualIgnoring(const TVDRect &value, TVDSides ignore) const;
    // (Sum over the sides of GetIntSimilarity(side, other side, weight)) div divisor.
    int32_t SimilarityValue(const TVDRect &value, int32_t weight, int32_t divisor) const;
    void ConvertToDifferentUnits(const TVDStyle *vdStyle, TVDStyleUnits newUnits);
    // Persistence seams (the paragraph style writers define them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section, const UnicodeString &fs,
                   TVDStyleLength defValue) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs, TVDStyleLength defValue);

    TVDStyleLength Left = 0;
    TVDStyleLength Top = 0;
    TVDStyleLength Right = 0;
    TVDStyleLength Bottom = 0;
};

// Four side flags; the constructor gives all four one value (true by default).
class TVDBooleanRect : public rtl::TPersistent {
public:
    explicit TVDBooleanRect(bool defValue = true)
        : Left(defValue), Top(defValue), Right(defValue), Bottom(defValue) {}
    // A pointer is no flag (nor an owner: the stream makes no rectangles).
    explicit TVDBooleanRect(const volatile void *) = delete;

    using rtl::TPersistent::Assign;
    void Assign(const TVDBooleanRect &source) { *this = source; }
    // Published: Left, Top, Right, Bottom, default true.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void AssignValidProperties(const TVDBooleanRect &source, TVDSides sides);
    void SetAll(bool value) { Left = Top = Right = Bottom = value; }
    void SetValues(bool aLeft, bool aTop, bool aRight, bool aBottom);
    void GetValues(bool &aLeft, bool &aTop, bool &aRight, bool &aBottom) const;
    bool IsEqual(const TVDBooleanRect &value) const;
    bool IsEqual2(bool aLeft, bool aTop, bool aRight, bool aBottom) const;
    bool IsAllEqual(bool value) const;
    bool IsEqualIgnoring(const TVDBooleanRect &value, TVDSides ignore) const;
    // Persistence seams (the paragraph style writers define them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section, const UnicodeString &fs,
                   bool defValue) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs, bool defValue);

    bool Left;
    bool Top;
    bool Right;
    bool Bottom;
};

enum TVDBorderStyle : uint8_t {
    vdbNone,
    vdbSingle,
    vdbDouble,
    vdbTriple,
    vdbThickInside,
    vdbThickOutside
};

// A paragraph border: lines of Width with gaps of InternalWidth, on the visible sides, at
// BorderOffsets from the paragraph's text rectangle. Defaults: vdbNone, clWindowText, widths 1,
// all sides visible, offsets 0.
class TVDBorder : public rtl::TPersistent {
public:
    // borderOffsets replaces the plain offset rectangle (the boxes' borders give their own).
    explicit TVDBorder(std::unique_ptr<TVDRect> borderOffsets = nullptr);
    TVDBorder(const TVDBorder &) = delete;
    TVDBorder &operator=(const TVDBorder &) = delete;
    ~TVDBorder() override = default;

    void Reset();
    using rtl::TPersistent::Assign;
    void Assign(const TVDBorder &source);
    // Published: Color, Style, Width, InternalWidth, VisibleBorders, BorderOffsets.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    // Thickness of the whole border in style units: 0, Width, 2 Width + InternalWidth,
    // 3 Width + 2 InternalWidth, 3 Width + InternalWidth for the two thick styles.
    TVDStyleLength GetTotalWidth() const;
    bool IsEqual(const TVDBorder &value) const;
    // Equal in every member whose vdpiBorder_ property is not in ignoreList.
    bool IsEqual_Para(const TVDBorder &value, TVDParaInfoProperties ignoreList) const;
    void AssignValidProperties(const TVDBorder &source, TVDParaInfoProperties validProperties);
    int32_t SimilarityValue(const TVDBorder &value, int32_t wht) const;
    void ConvertToDifferentUnits(const TVDStyle *vdStyle, TVDStyleUnits newUnits);
    // Persistence seams (the paragraph style writers define them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                   const UnicodeString &fs) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs);
    // Whether negative offsets move the border into the text rectangle (boxes: no).
    virtual bool AllowNegativeOffsets() const { return true; }

    // Draws the border around rect on the screen, through the graphic interface's FillRect.
    void Draw(const rtl::TRect &rect, gfx::TCanvas &canvas, const TVDStyle &vdStyle,
              TVDGraphicInterface &graphicInterface) const;
    // The same scaled to the device resolution of sad, in a colour mode.
    void DrawSaD(const rtl::TRect &rect, gfx::TCanvas &canvas, const TVDStyle &vdStyle,
                 PVDScreenAndDevice sad, TVDColorMode colorMode,
                 TVDGraphicInterface &graphicInterface) const;

    TColor Color = gfx::clWindowText;
    TVDBorderStyle Style = vdbNone;
    TVDStyleLength Width = 1;
    TVDStyleLength InternalWidth = 1;
    TVDBooleanRect VisibleBorders;
    TVDRect &GetBorderOffsets() const { return *FBorderOffsets; }

private:
    struct TLineWidths {
        int32_t WX, WY, IX, IY;
    };
    void DoDraw(rtl::TRect rect, gfx::TCanvas &canvas, const TLineWidths &widths, TColor color,
                TVDGraphicInterface &graphicInterface) const;

    std::unique_ptr<TVDRect> FBorderOffsets;
};

// A paragraph background: a colour with an opacity over the text rectangle widened by
// BorderOffsets. Defaults: clNone, opaque (100000), offsets 0.
class TVDBackgroundRect : public rtl::TPersistent {
public:
    explicit TVDBackgroundRect(std::unique_ptr<TVDRect> borderOffsets = nullptr);
    TVDBackgroundRect(const TVDBackgroundRect &) = delete;
    TVDBackgroundRect &operator=(const TVDBackgroundRect &) = delete;
    ~TVDBackgroundRect() override = default;

    void Reset();
    using rtl::TPersistent::Assign;
    void Assign(const TVDBackgroundRect &source);
    // Published: BorderOffsets, Color, Opacity.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    // Widens rect by the offsets in screen pixels.
    void PrepareDraw(rtl::TRect &rect, const TVDStyle &vdStyle) const;
    // The same in device pixels of sad.
    void PrepareDrawSaD(rtl::TRect &rect, const TVDStyle &vdStyle, PVDScreenAndDevice sad) const;
    // Fills rect, which includes its right and bottom edges, with the colour for the colour
    // mode, at the opacity when useOpacity, else opaque. Nothing for clNone, opacity 0 or the
    // black-and-white modes. Leaves the pen solid and the brush clear.
    void Draw(const rtl::TRect &rect, gfx::TCanvas &canvas, bool printing, TVDColorMode colorMode,
              TVDGraphicInterface &graphicInterface, bool useOpacity) const;
    // The colour is not clNone and the opacity lies in 1 .. 99999.
    bool IsSemitransparent() const;
    bool IsEqual(const TVDBackgroundRect &value) const;
    bool IsEqual_Para(const TVDBackgroundRect &value, TVDParaInfoProperties ignoreList) const;
    void AssignValidProperties(const TVDBackgroundRect &source,
                               TVDParaInfoProperties validProperties);
    int32_t SimilarityValue(const TVDBackgroundRect &value, int32_t wht) const;
    virtual bool AllowNegativeOffsets() const { return true; }
    // Persistence seams (the paragraph style writers define them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                   const UnicodeString &fs) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs);

    TColor Color = gfx::clNone;
    TVDOpacity Opacity = 100000;
    TVDRect &GetBorderOffsets() const { return *FBorderOffsets; }

private:
    std::unique_ptr<TVDRect> FBorderOffsets;
};

enum TVDTabAlign : uint8_t { vdtaLeft, vdtaRight, vdtaCenter };

class TVDTabInfos;

// A tab stop: Position from the left edge of the text area, alignment and leader.
class TVDTabInfo : public TVDCollectionItem {
public:
    explicit TVDTabInfo(TVDCollection *collection) : TVDCollectionItem(collection) {}

    // Position through its setter (so the owner re-sorts), Align, Leader.
    void Assign(const rtl::TPersistent &source) override;
    // Published: Position, Align, Leader (stored when not empty).
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    // "left at 100", with " (" + the leader six times + ")" when there is a leader.
    UnicodeString GetDisplayName() const override;
    bool IsEqual(const TVDTabInfo &value) const;
    int32_t SimilarityValue(const TVDTabInfo &value, int32_t wht) const;

    TVDStyleLength GetPosition() const { return FPosition; }
    // A new value moves the stop to its sorted place in its collection.
    void SetPosition(TVDStyleLength value);
    TVDTabAlign GetAlign() const { return FAlign; }
    void SetAlign(TVDTabAlign value) { FAlign = value; }
    const UnicodeString &GetLeader() const { return FLeader; }
    void SetLeader(const UnicodeString &value) { FLeader = value; }

private:
    friend class TVDTabInfos;
    TVDStyleLength FPosition = 0;
    TVDTabAlign FAlign = vdtaLeft;
    UnicodeString FLeader;
};

// The tab stops of a paragraph style, kept in ascending order of Position (positions are
// expected to be distinct).
class TVDTabInfos : public TVDCollection {
public:
    TVDTabInfos();

    TVDTabInfo &Add();
    TVDTabInfo &GetItem(Integer index) const {
        return *static_cast<TVDTabInfo *>(TVDCollection::GetItem(index));
    }
    void SortTabs();
    // The index of the stop at position, -1 when none.
    Integer Find(TVDStyleLength position) const;
    bool IsEqual(const TVDTabInfos &value) const;
    // Deletes every stop that value lacks or has differently.
    void Intersect(const TVDTabInfos &value);
    // Each source stop replaces the stop at its position, or is added.
    void AddFrom(const TVDTabInfos &source);
    // Deletes the stops at the listed positions.
    void DeleteList(const TVDIntegerList &positions);
    int32_t SimilarityValue(const TVDTabInfos &value, int32_t wht) const;
    void ConvertToDifferentUnits(const TVDStyle *vdStyle, TVDStyleUnits newUnits);
    // Persistence seams (the paragraph style writers define them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                   const UnicodeString &fs) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs);
};

} // namespace vizivodu
