// The style sheet of rich documents: a component that owns the numbered text, paragraph and
// list styles and the style templates, holds the colours and options documents are drawn with,
// owns the graphic interface through which text is measured and drawn, and converts lengths
// between its units, pixels, twips and device pixels. Documents refer to styles by index and
// never own the sheet; several documents may share one.
#pragma once

#include "platform/gfx/Pen.h"
#include "platform/gfx/Picture.h"
#include "platform/ui/Component.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDDataHooks.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Templates.h"
#include "vizivodu/styles/VDStyle_Text.h"
#include "vizivodu/styles/VDStyle_Types.h"
#include "vizivodu/styles/VDStyle_Units.h"

#include <functional>
#include <memory>
#include <vector>

namespace gfx {
class TCanvas;
}

namespace rtl {
class TCustomIniFile;
}

namespace ui {
class TControl;
}

namespace vizivodu {

class TVDStyle;

using TVDApplyStyleEvent =
    std::function<void(TVDStyle &sender, gfx::TCanvas &canvas, int32_t styleNo, bool &doDefault)>;
using TVDAfterApplyStyleEvent =
    std::function<void(TVDStyle &sender, gfx::TCanvas &canvas, int32_t styleNo)>;
using TVDApplyStyleColorEvent =
    std::function<void(TVDStyle &sender, gfx::TCanvas &canvas, int32_t styleNo,
                       TVDTextDrawStates drawState, TVDColoredParts applyTo, bool &doDefault)>;
using TVDStyleHoverSensitiveEvent =
    std::function<void(TVDStyle &sender, int32_t styleNo, bool &sensitive)>;
using TVDDrawTextBackEvent = std::function<void(
    TVDStyle &sender, gfx::TCanvas &canvas, int32_t styleNo, int32_t left, int32_t top,
    int32_t width, int32_t height, TVDTextDrawStates drawState, bool &doDefault)>;
using TVDDrawParaBackEvent =
    std::function<void(TVDStyle &sender, gfx::TCanvas &canvas, int32_t paraNo,
                       const rtl::TRect &rect, bool &doDefault)>;

using TVDDrawStyleTextEvent =
    std::function<void(TVDStyle &sender, const TVDStyleTextArgs &args, bool &doDefault)>;
using TVDDrawCheckpointEvent =
    std::function<void(TVDStyle &sender, gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t itemNo,
                       int32_t xShift, bool raiseEvent, ui::TControl *control, bool &doDefault)>;
using TVDDrawPageBreakEvent =
    std::function<void(TVDStyle &sender, gfx::TCanvas &canvas, int32_t y, int32_t xShift,
                       TVDPageBreakType pageBreakType, ui::TControl *control, bool &doDefault)>;

// An underline of a type between left and right (nothing when they are equal): the thick
// types twice lineWidth, vdutDouble two lines at y -/+ lineWidth of half the width, the dotted
// and dashed types in DrawPatternHorzLine's patterns.
void DrawUnderline(gfx::TCanvas &canvas, TVDUnderlineType underlineType, TColor color,
                   TVDGraphicInterface &graphicInterface, int32_t lineWidth, int32_t y,
                   int32_t right, int32_t left);
// The one-pixel dotted line under hidden text.
void DrawDottedHorzLine(gfx::TCanvas &canvas, TColor color, int32_t left,
                        TVDGraphicInterface &graphicInterface, int32_t y, int32_t right);

// The next tab stop of a paragraph (GetNextTab), in device pixels.
struct TVDNextTab {
    int32_t Position = 0;
    UnicodeString Leader;
    TVDTabAlign Align = vdtaLeft;
};

class TVDStyle : public ui::TComponent {
public:
    // Builds the sheet: Unicode default styles, the graphic interface of the complex-script
    // engine, the property defaults, the collections, then two paragraph styles ("Centered"
    // second) and six text styles (ResetParaStyles, ResetTextStyles).
    explicit TVDStyle(ui::TComponent *owner);
    ~TVDStyle() override;

    // ---- Collections ----
    TFontInfos &GetTextStyles() { return *FTextStyles; }
    const TFontInfos &GetTextStyles() const { return *FTextStyles; }
    void SetTextStyles(const TFontInfos &value);
    TParaInfos &GetParaStyles() { return *FParaStyles; }
    const TParaInfos &GetParaStyles() const { return *FParaStyles; }
    void SetParaStyles(const TParaInfos &value);
    TVDListInfos &GetListStyles() { return *FListStyles; }
    const TVDListInfos &GetListStyles() const { return *FListStyles; }
    void SetListStyles(const TVDListInfos &value);
    // The templates of MainVDStyle (followed to the end of the chain) when it is set, else the
    // sheet's own.
    TVDStyleTemplateCollection &GetStyleTemplates() const;
    // Copies value into the own templates; EViziVoduError "Cannot assign StyleTemplate
    // property because MainVDStyle is assigned" while MainVDStyle is set.
    void SetStyleTemplates(const TVDStyleTemplateCollection &value);
    // The sheet's own templates, also while MainVDStyle is set.
    TVDStyleTemplateCollection &GetOwnStyleTemplates() const { return *FStyleTemplates; }

    // The item classes of the three collections (used to make collections of the same kind).
    virtual TVDCollection::TItemFactory GetTextStyleClass() const;
    virtual TVDCollection::TItemFactory GetParaStyleClass() const;
    virtual TVDCollection::TItemFactory GetListStyleClass() const;

    // ---- Main sheet ----
    TVDStyle *GetMainVDStyle() const { return FMainVDStyle; }
    // The sheet itself counts as null. A sheet whose chain of main sheets leads back to this
    // one is refused: EViziVoduError "Circular references in MainVDStyle are not allowed", the
    // old value stays. A main sheet that is destroyed leaves its users without one.
    void SetMainVDStyle(TVDStyle *value);

    // ---- Loading ----
    // Between BeginLoading and Loaded the templates keep their parent and next ids without
    // linking them; Loaded links them (UpdateReferences).
    void BeginLoading() { FLoading = true; }
    // Also the component's end of loading after a component stream has been read.
    void Loaded() override;
    bool IsLoading() const { return FLoading; }

    // ---- Graphic interface ----
    TVDGraphicInterface &GetGraphicInterface() const { return *FGraphicInterface; }
    // Makes the interface when there is none: the complex-script engine for vdteUniscribe
    // when it is available, else the GDI engine.
    virtual void CreateGraphicInterface();
    // Replaces the interface (a recording one in tests).
    void SetGraphicInterfaceForTesting(std::unique_ptr<TVDGraphicInterface> value) {
        FGraphicInterface = std::move(value);
    }
    TVDTextEngine GetTextEngine() const { return FTextEngine; }
    // A new engine replaces the interface.
    void SetTextEngine(TVDTextEngine value);

    // ---- Styles ----
    // Appends a text style with the defaults; returns its index.
    int32_t AddTextStyle();
    // Frees the text style at index (which must be valid).
    void DeleteTextStyle(int32_t index);
    // Six text styles: "Normal text", "Heading", "Subheading", "Keywords", "Jump 1", "Jump 2".
    void ResetTextStyles();
    // Two paragraph styles: a default one and "Centered".
    void ResetParaStyles();
    // Recomputes the modified properties of every style against its template.
    void UpdateModifiedProperties();
    // The index of a text style equal to textStyle in every property, appending a copy when
    // there is none.
    virtual int32_t FindTextStyle(const TFontInfo &textStyle);
    virtual int32_t FindParaStyle(const TParaInfo &paraStyle);
    // The style's hover colour, or the sheet's when the style's is clNone.
    TColor GetHoverColor(int32_t styleNo) const;
    // Whether the style looks different under the mouse (OnStyleHoverSensitive may decide).
    bool StyleHoverSensitive(int32_t styleNo);

    // ---- Lengths (units of measure) ----
    TVDStyleUnits GetUnits() const { return FUnits; }
    // Changes the unit only; ConvertToDifferentUnits converts the lengths too.
    void SetUnits(TVDStyleUnits value) { FUnits = value; }
    // A style length in screen pixels; a non-zero twips length never gives 0.
    int32_t GetAsPixels(TVDStyleLength value) const;
    // A style length in device pixels of sad (screen pixels for null).
    int32_t GetAsDevicePixelsX(TVDStyleLength value, PVDScreenAndDevice sad) const;
    int32_t GetAsDevicePixelsY(TVDStyleLength value, PVDScreenAndDevice sad) const;
    int32_t GetAsTwips(TVDStyleLength value) const;
    // English metric units: twips x 635, in 64 bits (negative lengths stay negative).
    int64_t GetAsEMU(TVDStyleLength value) const;
    long double GetAsPoints(TVDStyleLength value) const;
    TVDLength GetAsVDUnits(TVDStyleLength value, TVDUnits vdUnits) const;
    TVDStyleLength GetAsDifferentUnits(TVDStyleLength value, TVDStyleUnits units) const;
    // As the instance form; without a sheet (null), value is taken to be in the other unit.
    static TVDStyleLength GetAsDifferentUnits(const TVDStyle *vdStyle, TVDStyleLength value,
                                              TVDStyleUnits units);
    TVDStyleLength TwipsToUnits(int32_t value) const;
    TVDStyleLength PixelsToUnits(int32_t value) const;
    TVDStyleLength DifferentUnitsToUnits(TVDStyleLength value, TVDStyleUnits units) const;
    TVDStyleLength VDUnitsToUnits(TVDLength value, TVDUnits vdUnits) const;
    static int32_t GetAsPixelsEx(TVDStyleLength value, TVDStyleUnits units);
    static int32_t GetAsTwipsEx(TVDStyleLength value, TVDStyleUnits units);
    static TVDStyleLength TwipsToUnitsEx(int32_t value, TVDStyleUnits units);
    static TVDStyleLength PixelsToUnitsEx(int32_t value, TVDStyleUnits units);
    static TVDLength GetAsVDUnitsEx(TVDStyleLength value, TVDStyleUnits units, TVDUnits vdUnits);
    static TVDStyleLength VDUnitsToUnitsEx(TVDLength value, TVDUnits vdUnits, TVDStyleUnits units);
    static int32_t PixelsToTwips(int32_t value);
    static int32_t TwipsToPixels(int32_t value);
    static int32_t VDUnitsToPixels(TVDLength value, TVDUnits vdUnits);
    static TVDLength PixelsToVDUnits(int32_t value, TVDUnits vdUnits);
    // Converts every length of the sheet (default tab width, styles, own templates) to
    // newUnits and then sets Units; nothing when the units are already newUnits.
    void ConvertToDifferentUnits(TVDStyleUnits newUnits);
    void ConvertToTwips() { ConvertToDifferentUnits(vdstuTwips); }
    void ConvertToPixels() { ConvertToDifferentUnits(vdstuPixels); }

    // ---- Text on a canvas ----
    // Selects text style styleNo (the invalid-index style for a bad number) into canvas;
    // OnApplyStyle may do it instead, and OnAfterApplyStyle follows the default.
    void ApplyStyle(gfx::TCanvas &canvas, int32_t styleNo, TVDBiDiMode defBiDiMode,
                    TVDApplyOptions options, PVDExtraFontInfo extraFontInfo);
    // Text colour and background brush of the style for a draw state and colour mode;
    // OnApplyStyleColor may do it instead.
    void ApplyStyleColor(gfx::TCanvas &canvas, int32_t styleNo, TVDTextDrawStates drawState,
                         bool printing, TVDColorMode colorMode);
    void ApplyStyleBackColor(gfx::TCanvas &canvas, int32_t styleNo, TVDTextDrawStates drawState,
                             bool printing, TVDColorMode colorMode);
    void ApplyStyleTextColor(gfx::TCanvas &canvas, int32_t styleNo, TVDTextDrawStates drawState,
                             bool printing, TVDColorMode colorMode);
    // Fills the background of a run of text of the style (OnDrawTextBack first; its refusal
    // counts only when TextBackgroundKind is not vdtbkSimple).
    void DrawTextBack(gfx::TCanvas &canvas, int32_t itemNo, int32_t styleNo,
                      TCustomVDDataHooks *vdData, int32_t left, int32_t top, int32_t width,
                      int32_t height, TVDTextDrawStates drawState, bool printing,
                      TVDColorMode colorMode);
    // Fills the background of paragraph style paraNo in rect (OnDrawParaBack first).
    void DrawParaBack(gfx::TCanvas &canvas, int32_t paraNo, const rtl::TRect &rect, bool printing,
                      TVDColorMode colorMode, bool useOpacity);
    // Draws a fragment in its text style (OnDrawStyleText first, told ItemNo, VDData and
    // OffsetInItem).
    void DrawStyleText(const TVDStyleTextArgs &args);
    // Draws characters index1 .. index2 (from 1) of the fragment selected: the clip region is
    // narrowed to them and the whole fragment drawn; the caller's clip region is back
    // afterwards, also when drawing fails.
    void DrawSelectedStyleText(const TVDStyleTextArgs &args, int32_t index1, int32_t index2);
    // The sign of a checkpoint at (x, y): a circle for an item's checkpoint (itemNo not -1) and
    // a dotted line across the area (OnDrawCheckpoint first). Pen solid, brush clear after.
    void DrawCheckpoint(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t areaLeft, int32_t width,
                        TCustomVDDataHooks *vdData, int32_t itemNo, int32_t xShift, bool raiseEvent,
                        ui::TControl *control);
    // The sign of a page break at y: a line up to the document's width and a small triangle
    // (OnDrawPageBreak first). Pen solid, brush clear after.
    void DrawPageBreak(gfx::TCanvas &canvas, int32_t y, int32_t xShift,
                       TVDPageBreakType pageBreakType, ui::TControl *control,
                       TCustomVDDataHooks *vdData, int32_t itemNo);
    // The next tab stop of paragraph style paraNo after x, in device pixels of sad (null:
    // screen pixels, no margins): a tab stop, the indent leftIndent, or a default stop every
    // DefTabWidth.
    TVDNextTab GetNextTab(int32_t paraNo, int32_t x, PVDScreenAndDevice sad,
                          TVDBiDiMode defBiDiMode, int32_t leftIndent, int32_t rightIndent) const;

    // ---- Persistence seams ----
    // The sheet in an INI section, an INI file or the registry, and lengths as CSS text;
    // defined by the persistence units.
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section);
    void SaveINI(const UnicodeString &fileName, const UnicodeString &section) const;
    void LoadINI(const UnicodeString &fileName, const UnicodeString &section);
    void SaveReg(const UnicodeString &baseKey) const;
    void LoadReg(const UnicodeString &baseKey);
    AnsiString GetCSSSize(TVDStyleLength value) const;
    AnsiString GetCSSSizeInPoints(TVDStyleLength value) const;
    // The sheet as a CSS style sheet: text styles, paragraph styles, list styles.
    void SaveCSSToStream(rtl::TStream &stream, TVDSaveCSSOptions options) const;
    // Creates or truncates the file and writes the sheet; false on any failure.
    bool SaveCSS(const UnicodeString &fileName, TVDSaveCSSOptions options) const;

    // The sheet as the root of a component stream (its published properties with the invalid
    // picture, collections and templates).
    void SaveToComponentStream(rtl::TStream &stream);
    // Reads a sheet written so: what the stream does not hold keeps its value here. A cut or
    // damaged stream raises the stream's error (an rtl::Exception) and leaves the sheet as it
    // was.
    void LoadFromComponentStream(rtl::TStream &stream);
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    // ---- Invalid picture ----
    // The picture shown for a picture that cannot be shown; made on first call.
    gfx::TPicture &GetInvalidPicture();
    // Null frees it (the next call makes it again); another picture is copied.
    void SetInvalidPicture(const gfx::TPicture *value);
    // The invalid picture as the component stream reads and writes it (made on first call).
    rtl::TPersistent &GetStreamedInvalidPicture();

    // ---- Properties ----
    int32_t GetSpacesInTab() const { return FSpacesInTab; }
    void SetSpacesInTab(int32_t value) { FSpacesInTab = value; }
    TVDStyleLength GetDefTabWidth() const { return FDefTabWidth; }
    void SetDefTabWidth(TVDStyleLength value) { FDefTabWidth = value; }
    TCursor GetJumpCursor() const { return FJumpCursor; }
    void SetJumpCursor(TCursor value) { FJumpCursor = value; }
    TCursor GetLineSelectCursor() const { return FLineSelectCursor; }
    void SetLineSelectCursor(TCursor value) { FLineSelectCursor = value; }
    bool GetFullRedraw() const { return FFullRedraw; }
    void SetFullRedraw(bool value) { FFullRedraw = value; }
    bool GetUseSound() const { return FUseSound; }
    void SetUseSound(bool value) { FUseSound = value; }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TColor GetHoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor value) { FHoverColor = value; }
    TColor GetCurrentItemColor() const { return FCurrentItemColor; }
    void SetCurrentItemColor(TColor value) { FCurrentItemColor = value; }
    TColor GetSelColor() const { return FSelColor; }
    void SetSelColor(TColor value) { FSelColor = value; }
    TColor GetSelTextColor() const { return FSelTextColor; }
    void SetSelTextColor(TColor value) { FSelTextColor = value; }
    TColor GetInactiveSelColor() const { return FInactiveSelColor; }
    void SetInactiveSelColor(TColor value) { FInactiveSelColor = value; }
    TColor GetInactiveSelTextColor() const { return FInactiveSelTextColor; }
    void SetInactiveSelTextColor(TColor value) { FInactiveSelTextColor = value; }
    TColor GetCheckpointColor() const { return FCheckpointColor; }
    void SetCheckpointColor(TColor value) { FCheckpointColor = value; }
    TColor GetCheckpointEvColor() const { return FCheckpointEvColor; }
    void SetCheckpointEvColor(TColor value) { FCheckpointEvColor = value; }
    TColor GetPageBreakColor() const { return FPageBreakColor; }
    void SetPageBreakColor(TColor value) { FPageBreakColor = value; }
    TColor GetSoftPageBreakColor() const { return FSoftPageBreakColor; }
    void SetSoftPageBreakColor(TColor value) { FSoftPageBreakColor = value; }
    TColor GetLiveSpellingColor() const { return FLiveSpellingColor; }
    void SetLiveSpellingColor(TColor value) { FLiveSpellingColor = value; }
    TColor GetFloatingLineColor() const { return FFloatingLineColor; }
    void SetFloatingLineColor(TColor value) { FFloatingLineColor = value; }
    TColor GetSpecialCharactersColor() const { return FSpecialCharactersColor; }
    void SetSpecialCharactersColor(TColor value) { FSpecialCharactersColor = value; }
    TColor GetGridColor() const { return FGridColor; }
    void SetGridColor(TColor value) { FGridColor = value; }
    TColor GetGridReadOnlyColor() const { return FGridReadOnlyColor; }
    void SetGridReadOnlyColor(TColor value) { FGridReadOnlyColor = value; }
    gfx::TPenStyle GetGridStyle() const { return FGridStyle; }
    void SetGridStyle(gfx::TPenStyle value) { FGridStyle = value; }
    gfx::TPenStyle GetGridReadOnlyStyle() const { return FGridReadOnlyStyle; }
    void SetGridReadOnlyStyle(gfx::TPenStyle value) { FGridReadOnlyStyle = value; }
    TVDSelectionMode GetSelectionMode() const { return FSelectionMode; }
    void SetSelectionMode(TVDSelectionMode value) { FSelectionMode = value; }
    TVDSelectionStyle GetSelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TVDSelectionStyle value) { FSelectionStyle = value; }
    TVDTextBackgroundKind GetTextBackgroundKind() const { return FTextBackgroundKind; }
    void SetTextBackgroundKind(TVDTextBackgroundKind value) { FTextBackgroundKind = value; }
    TColor GetFieldHighlightColor() const { return FFieldHighlightColor; }
    void SetFieldHighlightColor(TColor value) { FFieldHighlightColor = value; }
    TVDFieldHighlightType GetFieldHighlightType() const { return FFieldHighlightType; }
    void SetFieldHighlightType(TVDFieldHighlightType value) { FFieldHighlightType = value; }
    TColor GetDisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor value) { FDisabledFontColor = value; }
    TVDSeqType GetFootnoteNumbering() const { return FFootnoteNumbering; }
    void SetFootnoteNumbering(TVDSeqType value) { FFootnoteNumbering = value; }
    TVDSeqType GetEndnoteNumbering() const { return FEndnoteNumbering; }
    void SetEndnoteNumbering(TVDSeqType value) { FEndnoteNumbering = value; }
    TVDSeqType GetSidenoteNumbering() const { return FSidenoteNumbering; }
    void SetSidenoteNumbering(TVDSeqType value) { FSidenoteNumbering = value; }
    bool GetFootnotePageReset() const { return FFootnotePageReset; }
    void SetFootnotePageReset(bool value) { FFootnotePageReset = value; }
    TVDLineWrapMode GetLineWrapMode() const { return FLineWrapMode; }
    void SetLineWrapMode(TVDLineWrapMode value) { FLineWrapMode = value; }
    int32_t GetDefUnicodeStyle() const { return FDefUnicodeStyle; }
    void SetDefUnicodeStyle(int32_t value) { FDefUnicodeStyle = value; }
    TVDCodePage GetDefCodePage() const { return FDefCodePage; }
    void SetDefCodePage(TVDCodePage value) { FDefCodePage = value; }
    TFontQuality GetFontQuality() const { return FFontQuality; }
    void SetFontQuality(TFontQuality value) { FFontQuality = value; }
    TVDSelectionHandleKind GetSelectionHandleKind() const { return FSelectionHandleKind; }
    void SetSelectionHandleKind(TVDSelectionHandleKind value) { FSelectionHandleKind = value; }

    // ---- Events ----
    TVDApplyStyleEvent OnApplyStyle;
    TVDAfterApplyStyleEvent OnAfterApplyStyle;
    TVDApplyStyleColorEvent OnApplyStyleColor;
    TVDStyleHoverSensitiveEvent OnStyleHoverSensitive;
    TVDDrawTextBackEvent OnDrawTextBack;
    TVDDrawParaBackEvent OnDrawParaBack;
    TVDDrawStyleTextEvent OnDrawStyleText;
    TVDDrawCheckpointEvent OnDrawCheckpoint;
    TVDDrawPageBreakEvent OnDrawPageBreak;

    // ---- Public state ----
    // New text styles store Unicode text.
    bool DefaultUnicodeStyles = true;
    bool SaveStyleTemplatesForNonMain = false;
    // The template ids of styles are neither saved nor streamed.
    bool IgnoreStyleTemplates = false;
    // The item being drawn, set before an event is raised so that a handler can tell.
    int32_t ItemNo = -1;
    int32_t OffsetInItem = 0;
    TCustomVDDataHooks *VDData = nullptr;

protected:
    // An image list being destroyed: the list styles' levels that show it forget it (the levels
    // ask for this notice when they are given an image list).
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    void RaiseApplyStyleColor(gfx::TCanvas &canvas, int32_t styleNo, TVDTextDrawStates drawState,
                              TVDColoredParts applyTo, bool &doDefault);
    void ReleaseMainVDStyle();

    std::unique_ptr<TVDGraphicInterface> FGraphicInterface;
    TVDTextEngine FTextEngine = vdteUniscribe;
    std::unique_ptr<TFontInfos> FTextStyles;
    std::unique_ptr<TParaInfos> FParaStyles;
    std::unique_ptr<TVDListInfos> FListStyles;
    std::unique_ptr<TVDStyleTemplateCollection> FStyleTemplates;
    std::unique_ptr<gfx::TPicture> FInvalidPicture;
    std::unique_ptr<rtl::TPersistent> FStreamedInvalidPicture;
    TVDStyle *FMainVDStyle = nullptr;
    // The sheets whose MainVDStyle is this one.
    std::vector<TVDStyle *> FMainUsers;
    bool FLoading = false;

    TVDStyleUnits FUnits = vdstuPixels;
    int32_t FSpacesInTab = 0;
    TVDStyleLength FDefTabWidth = 48;
    TCursor FJumpCursor = 101;
    TCursor FLineSelectCursor = 106;
    bool FFullRedraw = false;
    bool FUseSound = true;
    TColor FColor = gfx::clWindow;
    TColor FHoverColor = gfx::clNone;
    TColor FCurrentItemColor = gfx::clNone;
    TColor FSelColor = gfx::clHighlight;
    TColor FSelTextColor = gfx::clHighlightText;
    TColor FInactiveSelColor = gfx::clHighlight;
    TColor FInactiveSelTextColor = gfx::clHighlightText;
    TColor FCheckpointColor = gfx::clGreen;
    TColor FCheckpointEvColor = gfx::clLime;
    TColor FPageBreakColor = gfx::clBtnShadow;
    TColor FSoftPageBreakColor = gfx::clBtnFace;
    TColor FLiveSpellingColor = gfx::clRed;
    TColor FFloatingLineColor = 0xBDA28A;
    TColor FSpecialCharactersColor = gfx::clNone;
    TColor FGridColor = gfx::clBtnFace;
    TColor FGridReadOnlyColor = gfx::clBtnFace;
    gfx::TPenStyle FGridStyle = gfx::psDot;
    gfx::TPenStyle FGridReadOnlyStyle = gfx::psClear;
    TVDSelectionMode FSelectionMode = vdsmWord;
    TVDSelectionStyle FSelectionStyle = vdssItems;
    TVDTextBackgroundKind FTextBackgroundKind = vdtbkItems;
    TColor FFieldHighlightColor = gfx::clBtnFace;
    TVDFieldHighlightType FFieldHighlightType = vdfhCurrent;
    TColor FDisabledFontColor = gfx::clNone;
    TVDSeqType FFootnoteNumbering = vdseqDecimal;
    TVDSeqType FEndnoteNumbering = vdseqLowerRoman;
    TVDSeqType FSidenoteNumbering = vdseqLowerAlpha;
    bool FFootnotePageReset = true;
    TVDLineWrapMode FLineWrapMode = vdWrapNormal;
    int32_t FDefUnicodeStyle = -1;
    TVDCodePage FDefCodePage = 0;
    TFontQuality FFontQuality = fqDefault;
    TVDSelectionHandleKind FSelectionHandleKind = vdshkWedge;
};

} // namespace vizivodu
