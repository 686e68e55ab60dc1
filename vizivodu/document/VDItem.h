// Document items: the base class every item shares (fields, option bits and their setters, the
// overridable operations with their neutral answers), the text item, the intermediate bases of
// non-text, full-line and rectangular items, the item style numbers and the registry that maps
// negative style numbers to item classes, checkpoints, the item list, and the bookkeeping of
// unused styles.
#pragma once

#include "vizivodu/document/VDItemOptions.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

namespace gfx {
class TBitmap;
class TCanvas;
class TGraphic;
} // namespace gfx

namespace ui {
class TControl;
}

namespace rtl {
class TStream;
}

namespace vizivodu {

class TCustomVDData;
class TCustomVDItemInfo;
class TVDStyle;
class TVDGraphicInterface;
class TVDWordPainterList;
class TVDIntegerList;
class TVDDrawLineInfo;
class TVDPaintItemPart;
class TVDMultiDrawItemPart;
class TVDHTMLListCSSList;
struct TVDHTMLSaveArgs;
class TVDDocXSavingData;
class TCustomVDRTFTables;
struct TVDRTFSavingData;

// A user tag of an item or checkpoint.
using TVDTag = rtl::UnicodeString;

// ---- Item style numbers: 0 and above a text style, negative numbers an item kind ----

constexpr int32_t StyleNoParaDefault = std::numeric_limits<int32_t>::max();
constexpr int32_t StyleNoBreak = -1;
constexpr int32_t StyleNoPicture = -3;
constexpr int32_t StyleNoHotspot = -4;
constexpr int32_t StyleNoControl = -5;
constexpr int32_t StyleNoBullet = -6;
constexpr int32_t StyleNoHotPicture = -10;
constexpr int32_t StyleNoListMarker = -11;
constexpr int32_t StyleNoTab = -12;
constexpr int32_t StyleNoTable = -60;
constexpr int32_t StyleNoLabel = -200;
constexpr int32_t StyleNoSequence = -202;
constexpr int32_t StyleNoFootnote = -203;
constexpr int32_t StyleNoEndnote = -204;
constexpr int32_t StyleNoNoteReference = -205;
constexpr int32_t StyleNoSidenote = -206;
constexpr int32_t StyleNoTextBox = -207;
constexpr int32_t StyleNoPageNumber = -208;
constexpr int32_t StyleNoPageCount = -209;

enum TVDItemState : uint8_t { vdisSpellChecked };

enum TVDItemBoolProperty : uint8_t {
    vdbpIgnorePara,
    vdbpFullWidth,
    vdbpValid,
    vdbpRequiresVDFLines,
    vdbpDrawingChangesFont,
    vdbpCanSaveUnicode,
    vdbpAlwaysInText,
    vdbpImmediateControlOwner,
    vdbpResizable,
    vdbpResizeHandlesOutside,
    vdbpHasSubVDData,
    vdbpClickSelect,
    vdbpNoHTML_P,
    vdbpSwitchToAssStyleNo,
    vdbpFloating,
    vdbpKeepWithPrior,
    vdbpDocXInRun,
    vdbpDocXOnlyBeforeAfter,
    vdbpPlaceholder,
    vdbpIsNote,
    vdbpIsPrintField
};

enum TVDItemBoolPropertyEx : uint8_t {
    vdbpDisplayActiveState,
    vdbpPrintToBMP,
    vdbpPrintToBMPIfNoMetafiles,
    vdbpJump,
    vdbpAllowsFocus,
    vdbpHotColdJump,
    vdbpXORFocus,
    vdbpActualPrintSize,
    vdbpHasPrintingWidth
};

// Extra integer properties by number; the ordinal is the number (0..22).
enum TVDExtraItemProperty : uint8_t {
    vdepUnknown,
    vdepVShift,
    vdepVShiftAbs,
    vdepImageWidth,
    vdepImageHeight,
    vdepTransparent,
    vdepTransparentMode,
    vdepTransparentColor,
    vdepMinHeightOnPage,
    vdepSpacing,
    vdepResizable,
    vdepDeleteProtect,
    vdepNoHTMLImageSize,
    vdepAnimationInterval,
    vdepVisible,
    vdepHidden,
    vdepShared,
    vdepBorderWidth,
    vdepColor,
    vdepBorderColor,
    vdepOuterHSpacing,
    vdepOuterVSpacing,
    vdepVAlign
};
constexpr int32_t VDExtraItemPropertyLast = vdepVAlign;

enum TVDExtraItemStrProperty : uint8_t {
    vdespUnknown,
    vdespHint,
    vdespAlt,
    vdespImageFileName,
    vdespTag
};
constexpr int32_t VDExtraItemStrPropertyLast = vdespTag;

enum TVDSubVDDataPos : uint8_t { vddFirst, vddLast, vddChosenUp, vddChosenDown, vddNext, vddPrev };

// The native-format reader's line framing and state (see CVDData's native-format section).
enum TVDFReadMode : uint8_t {
    rmText,
    rmBeforeBinary,
    rmBinary,
    rmBeforeUnicode,
    rmUnicode,
    rmAfterUnicode
};
enum TVDFReadState : uint8_t { rstHeader, rstData, rstSkip };

enum TVDReformatType : uint8_t { vdrfNone, vdrfNormal, vdrfFull, vdrfSVDRepaint, vdrfSVDReformat };

// The keys of the extra properties in the native format, by ordinal ("" for none).
extern const std::string_view VDFExtraIntPropertyNames[VDExtraItemPropertyLast + 1];
extern const std::string_view VDFExtraStrPropertyNames[VDExtraItemStrPropertyLast + 1];

// How an item is drawn (Paint, PaintFullWidth).
enum TVDItemDrawState : uint8_t {
    vdidsSelected,
    vdidsCurrent,
    vdidsHover,
    vdidsPrinting,
    vdidsPreview,
    vdidsPreviewCorrection,
    vdidsControlFocused,
    vdidsControlDisabled,
    vdidsCanUseCustomPPI,
    vdidsRTL,
    vdidsShowSpecialCharacters,
    vdidsDrawInplaceOnMainCanvas,
    vdidsUseWordPainters,
    vdidsPrintSimulation
};
using TVDItemDrawStates = rtl::TSet<TVDItemDrawState, 14>;

// A checkpoint: a named position before an item, linked into its document's chain.
class TVDCPInfo {
public:
    rtl::UnicodeString Name;
    TVDCPInfo *Next = nullptr;
    TVDCPInfo *Prev = nullptr;
    bool RaiseEvent = false;
    bool Persistent = false;
    TCustomVDItemInfo *ItemInfo = nullptr;
    int32_t ItemNo = -1;
    TVDTag Tag;

    // Copies Name, RaiseEvent, Tag and Persistent (not the links, the item or its index).
    void Assign(const TVDCPInfo &source, bool tagsArePChars);
    std::unique_ptr<TVDCPInfo> CreateCopy(bool tagsArePChars) const;
};

// A stored position of a sub-document inside an item (a cell, a note's text).
class TVDStoreSubVDData {
public:
    virtual ~TVDStoreSubVDData() = default;
    virtual std::unique_ptr<TVDStoreSubVDData> Duplicate() const { return nullptr; }
    // 0 when both name the same sub-document.
    virtual int32_t Compare(const TVDStoreSubVDData &) const { return 0; }
};

// ---- Item classes as class references ----

// What the class library's class reference gives: a name, the base class and the virtual
// constructor. One object per item class, living for the whole program.
class TVDItemClassInfo {
public:
    using TCreate = std::unique_ptr<TCustomVDItemInfo> (*)(TCustomVDData *);
    constexpr TVDItemClassInfo(std::string_view name, const TVDItemClassInfo *parent,
                               TCreate create)
        : FName(name), FParent(parent), FCreate(create) {}
    std::string_view GetName() const { return FName; }
    const TVDItemClassInfo *GetParent() const { return FParent; }
    std::unique_ptr<TCustomVDItemInfo> Create(TCustomVDData *vdData) const {
        return FCreate(vdData);
    }
    // This class or one of its descendants.
    bool InheritsFrom(const TVDItemClassInfo *other) const;

private:
    std::string_view FName;
    const TVDItemClassInfo *FParent;
    TCreate FCreate;
};
using TVDItemClass = const TVDItemClassInfo *;

// Declares the class reference of an item class (defined by VD_DEFINE_ITEM_CLASS).
#define VD_DECLARE_ITEM_CLASS                                                                      \
public:                                                                                            \
    static const TVDItemClassInfo ClassInfo;                                                       \
    TVDItemClass GetClass() const override {                                                       \
        return &ClassInfo;                                                                         \
    }

#define VD_DEFINE_ITEM_CLASS(Class, Base)                                                          \
    const TVDItemClassInfo Class::ClassInfo(                                                       \
        #Class, &Base::ClassInfo, [](TCustomVDData *d) -> std::unique_ptr<TCustomVDItemInfo> {     \
            return std::make_unique<Class>(d);                                                     \
        })

// Which styles items use, while unused styles are deleted (driven by the document).
class TVDDeleteUnusedStylesData {
public:
    TVDDeleteUnusedStylesData(bool textStyles, bool paraStyles, bool listStyles);
    ~TVDDeleteUnusedStylesData();

    // Sizes the flag lists to the style counts (once); kinds not cleaned count as all used.
    void Init(TVDStyle &vdStyle);
    // Deletes the unused styles and turns the flags into renumbering shifts (once): a used
    // style i moves to i - entry + 1.
    void ConvertFlagsToShifts(TVDStyle &vdStyle);

    TVDIntegerList &UsedTextStyles() { return *FUsedTextStyles; }
    TVDIntegerList &UsedParaStyles() { return *FUsedParaStyles; }
    TVDIntegerList &UsedListStyles() { return *FUsedListStyles; }
    bool TextStyles() const { return FTextStyles; }
    bool ParaStyles() const { return FParaStyles; }
    bool ListStyles() const { return FListStyles; }
    bool ConvertedToShifts() const { return FConvertedToShifts; }

    // The rule that renumbers one stored style reference r through a flag list: negative
    // stays, beyond the list becomes -1, otherwise r - entry[r] + 1.
    static int32_t RenumberReference(const TVDIntegerList &shifts, int32_t r);
    // Marks index as used when it lies inside the list.
    static void MarkUsed(TVDIntegerList &flags, int32_t index);
    // index := index - entry + 1 when index lies inside the list.
    static void Renumber(const TVDIntegerList &shifts, int32_t &index);

private:
    bool FInitialized = false;
    bool FConvertedToShifts = false;
    std::unique_ptr<TVDIntegerList> FUsedTextStyles;
    std::unique_ptr<TVDIntegerList> FUsedParaStyles;
    std::unique_ptr<TVDIntegerList> FUsedListStyles;
    bool FTextStyles;
    bool FParaStyles;
    bool FListStyles;
};

// ---- The item base class ----

class TCustomVDItemInfo {
public:
    static const TVDItemClassInfo ClassInfo;
    virtual TVDItemClass GetClass() const { return &ClassInfo; }

    explicit TCustomVDItemInfo(TCustomVDData *vdData);
    virtual ~TCustomVDItemInfo();
    TCustomVDItemInfo(const TCustomVDItemInfo &) = delete;
    TCustomVDItemInfo &operator=(const TCustomVDItemInfo &) = delete;

    // Fields, in their order.
    TVDRawByteString ItemText; // characters of a text item, name of any other item
    int32_t StyleNo = 0;
    int32_t ParaNo = 0;
    TVDItemOptions ItemOptions;
    uint8_t ItemState = 0; // bit vdisSpellChecked
    std::unique_ptr<TVDWordPainterList> WordPaintList;
    TVDCPInfo *Checkpoint = nullptr; // owned by the document's checkpoint chain
    int32_t JumpID = 0;
    TVDTag Tag;
    int32_t DrawItemNo = -1;
    rtl::UnicodeString Hint;

    bool IsText() const { return StyleNo >= 0; }

    // ---- Option setters: they keep the paragraph rules (see VDItem.cpp) ----
    bool GetSameAsPrev() const { return ItemOptions.Contains(vdioSameAsPrev); }
    void SetSameAsPrev(bool value);
    bool GetBR() const { return ItemOptions.Contains(vdioBR); }
    void SetBR(bool value);
    bool GetPageBreakBefore() const { return ItemOptions.Contains(vdioPageBreakBefore); }
    void SetPageBreakBefore(bool value);
    bool GetClearLeft() const { return ItemOptions.Contains(vdioClearLeft); }
    void SetClearLeft(bool value);
    bool GetClearRight() const { return ItemOptions.Contains(vdioClearRight); }
    void SetClearRight(bool value);
    // SameAsPrev, BR, PageBreakBefore, ClearLeft and ClearRight from source, in that order.
    void AssignParaProperties(const TCustomVDItemInfo &source);
    bool CanBeBorderStart() const;
    bool ParaStart(bool countBR) const;

    // A new item of the same class with this item's properties (not its text); the
    // checkpoint is copied when asked.
    std::unique_ptr<TCustomVDItemInfo> CreateCopy(TCustomVDData *vdData, bool copyCheckpoint) const;
    // The text style the item really uses: StyleNo of a text item, AssociatedTextStyleNo of
    // another; StyleNoParaDefault resolved and style templates applied through the document.
    int32_t GetActualTextStyleNo(TCustomVDData *vdData) const;
    int32_t GetActualTextStyleNo(const TVDStyle *vdStyle) const;

    // ---- Word painters (positions 1-based in the item's text) ----
    void ClearLiveSpellingResult();
    void ClearWordPainters(int32_t index);
    bool AdjustWordPaintersOnInsert(int32_t index, const rtl::UnicodeString &text, char16_t ch,
                                    TCustomVDData *vdData);
    // Removes every painter that overlaps the deleted characters and shifts the ones after
    // them; true when one was removed.
    bool AdjustWordPaintersOnDelete(int32_t index, int32_t count);
    bool GetMisspelling(int32_t offs, int32_t &misOffs, int32_t &misLength) const;
    bool IsMisspelled(int32_t index) const;
    bool ValidateMisspelledWord(const rtl::UnicodeString &itemText, const rtl::UnicodeString &word);
    void AddMisspelling(int32_t startOffs, int32_t length);

    // Parses one "key=value" line of the native format into an extra property.
    void ReadVDFExtraProperty(std::string_view s, bool utf8Strings);

    // ---- Overridable operations (neutral answers here) ----
    virtual int32_t GetAssociatedTextStyleNo() const { return -1; }
    virtual void SetAssociatedTextStyleNo(int32_t) {}
    // The sub-document at a point relative to the item's draw item (the nearest one with the
    // last argument).
    virtual TCustomVDData *GetSubVDDataAt(int32_t, int32_t, bool) { return nullptr; }
    // 5 screen pixels (scaled to the device when sad is given).
    virtual int32_t GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                                TCustomVDData *vdData);
    virtual gfx::TGraphic *AsImage() { return nullptr; }
    // Plain-text form; lineWidth is the width of the line in characters.
    virtual TVDRawByteString AsText(int32_t lineWidth, TCustomVDData *vdData,
                                    const TVDRawByteString &text, bool textOnly, bool unicode,
                                    TVDCodePage codePage);
    // ---- Saving a selection held inside the item (a table's selected cells) ----
    // Writes the selected part as plain text; an item without such a selection writes nothing.
    virtual void SaveTextSelection(rtl::TStream &, TCustomVDData *, int32_t,
                                   const rtl::UnicodeString &, bool, bool, TVDCodePage) {}
    virtual bool GetBoolValue(TVDItemBoolProperty prop) const;
    virtual bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const;
    virtual int32_t GetImageWidth(const TVDStyle *) { return 0; }
    virtual int32_t GetImageHeight(const TVDStyle *) { return 0; }
    virtual int32_t GetImageWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad);
    virtual int32_t GetImageHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad);
    // Style lengths around the content on each side.
    virtual int32_t GetBorderWidth() const { return 0; }
    virtual int32_t GetBorderHeight() const { return 0; }
    virtual void Inserting(TCustomVDData *vdData, TVDRawByteString &text, bool safe);
    virtual void Inserted(TCustomVDData *vdData, int32_t itemNo);
    virtual void UpdateAnimator(TCustomVDData *) {}
    virtual void RemoveLinkToAnimator() {}
    virtual uint32_t GetSubDocColor() const;

    // Second table.
    virtual TVDRawByteString GetVDFHeaderTail(TCustomVDData *) const { return {}; }
    virtual int32_t GetVDFExtraPropertyCount() const;
    virtual void SaveVDFExtraProperties(rtl::TStream &stream) const;
    // ---- The native format (bodies in formats/vdf/) ----
    // The fields after the common ones on the item's header line; false refuses the header.
    virtual bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                                   bool &assStyleNameUsed);
    // One data line (lineNo of lineCount, 0-based); the item may change the read type, mode
    // and state (a picture announces its binary block) and gather its name. False refuses the
    // line and fails the read. Here: an extra-property line.
    virtual bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType,
                             int32_t lineNo, int32_t lineCount, TVDRawByteString &name,
                             TVDFReadMode &readMode, TVDFReadState &readState, bool utf8,
                             bool &assStyleNameUsed);
    // The item's record: header and data lines (nothing here). part: the page part of an
    // item split across pages, or nullptr.
    virtual void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                         int32_t paraNo, const TVDRawByteString &name, TVDMultiDrawItemPart *part,
                         bool forceSameAsPrev, PVDScreenAndDevice sad);
    // ---- RTF (bodies in formats/rtf/) ----
    // The item's RTF at table nesting level `level` (nothing here).
    virtual void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                         TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent);
    // Adds the fonts, colours and list overrides the item will need; rtfTables may be nullptr
    // (only the override counts are wanted then).
    virtual void FillRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *listOverrideCountList,
                               TCustomVDData *vdData);
    // The selection inside the item (cells of a table); nothing here.
    virtual void SaveVDFSelection(rtl::TStream &, TCustomVDData *, int32_t, int32_t) {}
    // ---- HTML (bodies in formats/html/) ----
    // Writes the item as HTML inside the document being written (nothing here); args carries
    // the writer's folder, picture prefix and counter, colour and options.
    virtual void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                            const TVDRawByteString &text, TVDHTMLSaveArgs &args);
    // ---- DOCX (bodies in formats/ooxml/) ----
    // The item's content inside its run, and what stands before and after the run (nothing
    // here). Items outside paragraphs (tables) write their whole markup in SaveOOXML.
    virtual void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                           TVDDocXSavingData &savingData, bool hiddenParent);
    virtual void SaveOOXMLBeforeRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                    TVDDocXSavingData &savingData, bool hiddenParent);
    virtual void SaveOOXMLAfterRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                   TVDDocXSavingData &savingData, bool hiddenParent);
    virtual void BeforeLoading(TVDLoadFormat) {}
    virtual void AfterLoading(TVDLoadFormat) {}
    // Copies StyleNo (same class only), ParaNo, ItemOptions and Hint.
    virtual void Assign(const TCustomVDItemInfo &source);
    virtual void TransferProperties(const TCustomVDItemInfo &, TCustomVDData *) {}
    virtual void MovingToUndoList(int32_t itemNo, TCustomVDData *vdData);
    virtual void MovingFromUndoList(int32_t, TCustomVDData *) {}
    virtual void Hiding() {}
    virtual void Unhiding(TCustomVDData *) {}
    virtual void MarkStylesInUse(TVDDeleteUnusedStylesData &data);
    virtual void UpdateStyles(TVDDeleteUnusedStylesData &data);
    // The sub-documents of the item, nullptr when it has none at that position.
    virtual TCustomVDData *GetSubVDData(std::unique_ptr<TVDStoreSubVDData> &storeState,
                                        TVDSubVDDataPos position);
    virtual bool SetExtraIntProperty(TVDExtraItemProperty, int32_t) { return false; }
    virtual bool GetExtraIntProperty(TVDExtraItemProperty, int32_t &) const { return false; }
    virtual bool SetExtraIntPropertyEx(int32_t prop, int32_t value);
    virtual bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const;
    virtual bool SetExtraStrProperty(TVDExtraItemStrProperty prop, const rtl::UnicodeString &v);
    virtual bool GetExtraStrProperty(TVDExtraItemStrProperty prop, rtl::UnicodeString &v) const;
    virtual bool SetExtraStrPropertyEx(int32_t prop, const rtl::UnicodeString &value);
    virtual bool GetExtraStrPropertyEx(int32_t prop, rtl::UnicodeString &value) const;
    virtual TVDReformatType GetExtraIntPropertyReformat(int32_t) const { return vdrfNormal; }
    virtual TVDReformatType GetExtraStrPropertyReformat(int32_t) const { return vdrfNone; }
    virtual bool SetExtraCustomProperty(std::string_view, const rtl::UnicodeString &) {
        return false;
    }
    virtual void ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive);
    virtual void ChangeParagraphStyles(const TVDIntegerList *paraMapList,
                                       const TVDIntegerList *newIndices, TVDIntegerList *oldIndices,
                                       int32_t &index);
    virtual void ChangeTextStyles(const TVDIntegerList *textMapList,
                                  const TVDIntegerList *newIndices, TVDIntegerList *oldIndices,
                                  int32_t &index);

    // ---- Layout: formatting, painting and the formatted document's notices ----
    // (neutral answers here; bodies in VDItem_Layout.cpp)
    // Sizes the item's draw item for a document docWidth device pixels wide: hShift is added to
    // the object's left, desc is how far it reaches below the baseline (0 and 1 here).
    virtual void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                                  gfx::TCanvas &canvas, TCustomVDData *vdData,
                                  PVDScreenAndDevice sad, int32_t &hShift, int32_t &desc,
                                  bool noCaching, bool reformatting, bool useFormatCanvas);
    // Draws the item with its draw item's top-left corner at (x, y) (nothing here).
    virtual void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                       TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile);
    // Full-line items paint between left and right from top (nothing here).
    virtual void PaintFullWidth(int32_t left, int32_t right, int32_t top, gfx::TCanvas &canvas,
                                TVDItemDrawStates state, TVDStyle &style,
                                const rtl::TRect &clipRect, TCustomVDData *vdData,
                                int32_t drawItemNo, int32_t extraX, int32_t extraY,
                                TVDPaintItemPart *paintPart, bool forMetafile);
    // Draws the item into bkgnd, which arrives filled with what lies behind it; false when
    // nothing was drawn (here).
    virtual bool PrintToBitmap(gfx::TBitmap &bkgnd, bool preview, TCustomVDData *vdData,
                               int32_t dItemNo, int32_t part, TVDColorMode colorMode);
    // Prints the item on a page with its draw item's top-left corner at (x, y), printer
    // pixels of sad; x2: the right limit of a full-width item; part: the page part of a split
    // item (-1: whole); pageNo: the job's page. Here the item prints as it paints, in print
    // mode (PaintFullWidth up to x2 for full-width items, else Paint).
    virtual void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t x2, bool preview,
                       bool correction, const TVDScreenAndDevice &sad, int32_t part,
                       TVDColorMode colorMode, TCustomVDData *vdData, int32_t dItemNo,
                       int32_t pageNo, bool forMetafile);
    // Paints into rect of canvas (fullRect: the whole area it belongs to) the background the
    // item puts under what it holds, for a piece printed through a bitmap (nothing here).
    virtual void DrawBackgroundForPrinting(gfx::TCanvas &canvas, const rtl::TRect &rect,
                                           const rtl::TRect &fullRect, TVDColorMode colorMode,
                                           int32_t itemBackgroundLayer,
                                           TVDGraphicInterface &graphicInterface,
                                           bool allowBitmaps);
    // A draw item of the class the formatted document's GetStandardDrawLineInfoClass names.
    virtual std::unique_ptr<TVDDrawLineInfo>
    CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo, PVDScreenAndDevice sad);
    virtual int32_t GetSoftPageBreakDY(int32_t data) { return data; }
    virtual void AdjustSubitemsDIWidth(int32_t, int32_t, int32_t, TVDDrawLineInfo &) {}
    // The draw item's object width here.
    virtual int32_t GetFinalPrintingWidth(gfx::TCanvas &canvas, TVDDrawLineInfo &dli,
                                          TCustomVDData *vdData, int32_t pageNo, int32_t pageCount);
    // The item's own formatting data: "-1, then the data" for items that have any.
    virtual void SaveFormattingToStream(rtl::TStream &) {}
    virtual void LoadFormattingFromStream(rtl::TStream &) {}
    virtual void ResetSubCoords() {}
    virtual void ClearSoftPageBreaks() {}
    // Hyperlinks inside the item take numbers from startJumpNo on.
    virtual void BuildJumps(int32_t &) {}
    virtual void Focusing() {}
    virtual bool MoveFocus(bool, TCustomVDData *&, int32_t &) { return false; }
    virtual void ClearFocus() {}
    virtual void Execute(TCustomVDData *) {}
    // The item stops being the chosen one of its control (a table leaves its chosen cell).
    virtual void CleanUpChosen() {}
    virtual bool OwnsControl(ui::TControl *) { return false; }
    virtual bool AdjustFocusToControl(ui::TControl *, TCustomVDData *&, int32_t &) { return false; }

    // ---- Selection and the mouse (neutral here; bodies of the items that hold selections,
    // sub-documents or hyperlinks). Points are document coordinates relative to the item's
    // draw item; a true answer from MouseMove means the item set the cursor.
    virtual bool PartiallySelected() { return false; }
    virtual void DeselectPartial() {}
    virtual void ChooseSubVDData(const TVDStoreSubVDData &) {}
    virtual bool OwnsInplaceEditor(ui::TControl *) { return false; }
    virtual bool MouseMove(ui::TShiftState, int32_t, int32_t, int32_t, TCustomVDData *) {
        return false;
    }
    virtual bool MouseDown(ui::TMouseButton, ui::TShiftState, int32_t, int32_t, int32_t,
                           TCustomVDData *) {
        return false;
    }
    virtual bool MouseUp(ui::TMouseButton, ui::TShiftState, int32_t, int32_t, int32_t,
                         TCustomVDData *) {
        return false;
    }
    virtual void MouseLeave(TCustomVDData *, int32_t) {}
    // The cursor over a non-text hyperlink item.
    virtual ui::TCursor GetHypertextCursor(const TVDStyle *) { return ui::crHandPoint; }
};

// A run of text in one text style.
class TVDTextItemInfo : public TCustomVDItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    using TCustomVDItemInfo::TCustomVDItemInfo;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data) override;
    void UpdateStyles(TVDDeleteUnusedStylesData &data) override;
    // The hint, a quoted string, when the line goes on.
    bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                           bool &assStyleNameUsed) override;

private:
    // vdbpJump, vdbpAllowsFocus, vdbpXORFocus: the actual text style is a hyperlink;
    // vdbpHotColdJump: and the style sheet finds it hover-sensitive.
    bool JumpAnswer(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const;
};

// Every item that is not text.
class TVDNonTextItemInfo : public TCustomVDItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    using TCustomVDItemInfo::TCustomVDItemInfo;

    bool DeleteProtect = false;
    bool Hidden = false;

    void Assign(const TCustomVDItemInfo &source) override;
    bool SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) override;
    bool GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;

    virtual int32_t GetLeftOverhang() const { return 0; }
    virtual int32_t GetHeight(const TVDStyle *) { return 0; }
    virtual int32_t GetWidth(const TVDStyle *) { return 0; }
    virtual int32_t GetHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad);
    virtual int32_t GetWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad);
    virtual bool HasThumbnail() const { return false; }
    virtual void FreeThumbnail() {}
    // Moves the window of an inserted control to (x, y) of the document (nothing here).
    virtual void AdjustInserted(int32_t, int32_t, bool, TCustomVDData *) {}
};

// Items that take a whole line (breaks, tables).
class TVDFullLineItemInfo : public TVDNonTextItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    using TVDNonTextItemInfo::TVDNonTextItemInfo;
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
};

// Rectangular inline items.
class TVDSimpleRectItemInfo : public TVDNonTextItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    using TVDNonTextItemInfo::TVDNonTextItemInfo;
};

// The items of a document in document order; owns them. An item's text lives in the item.
class TVDItemList {
public:
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    // Index errors: EListError "List index out of bounds (%d)".
    TCustomVDItemInfo *GetObject(int32_t index) const;
    const TVDRawByteString &GetItem(int32_t index) const { return GetObject(index)->ItemText; }
    void SetItem(int32_t index, TVDRawByteString value) {
        GetObject(index)->ItemText = std::move(value);
    }
    // Stores text into the item, then appends / inserts it.
    void AddObject(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item);
    void InsertObject(int32_t index, TVDRawByteString text,
                      std::unique_ptr<TCustomVDItemInfo> item);
    int32_t IndexOfObject(const TCustomVDItemInfo *item) const;
    // Takes the item out of the list entry without freeing it (the entry stays, empty, until
    // removed); the caller owns it.
    std::unique_ptr<TCustomVDItemInfo> ReleaseObject(int32_t index);
    // Replaces the entry's item; the old one is handed back, not freed.
    std::unique_ptr<TCustomVDItemInfo> SetObject(int32_t index,
                                                 std::unique_ptr<TCustomVDItemInfo> item);
    // Removes entries (their items, if any are left in them, are freed).
    void Delete(int32_t index, int32_t count = 1);
    void Clear() { FItems.clear(); }
    void Reserve(int32_t capacity) { FItems.reserve(static_cast<size_t>(capacity)); }

private:
    void CheckIndex(int32_t index) const;
    std::vector<std::unique_ptr<TCustomVDItemInfo>> FItems;
};

// The options an item writes into its native-format header: with forceSameAsPrev it continues
// the line and drops BR, page break and float clearing.
TVDItemOptions GetVDFItemOptions(TVDItemOptions options, bool forceSameAsPrev);

// Extra-property lines "key=value".
void WriteVDFExtraIntProperty(rtl::TStream &stream, TVDExtraItemProperty prop, int32_t value);
void WriteVDFExtraStrProperty(rtl::TStream &stream, TVDExtraItemStrProperty prop,
                              const rtl::UnicodeString &value);
void WriteVDFExtraStrPropertyByName(rtl::TStream &stream, std::string_view name,
                                    const rtl::UnicodeString &value);
void WriteVDFExtraIntPropertyByName(rtl::TStream &stream, std::string_view name, int32_t value);

// ---- Registry ----

// The class created for style numbers 0 and above (TVDTextItemInfo after start-up).
extern TVDItemClass ViziVoduTextItemClass;
// Registers an item class for a negative style number below -9. Registering the same class
// again changes nothing; -9 and above, or a number taken by another class, raise
// EViziVoduError "Can't register ViziVodu item type - this StyleNo is already registered".
void RegisterItemType(int32_t styleNo, TVDItemClass itemClass);
// Removes every entry of the class.
void UnregisterItemType(TVDItemClass itemClass);
// A new empty item for the style number (built-in numbers first, then the registry) with its
// StyleNo set; nullptr for a negative number without a class.
std::unique_ptr<TCustomVDItemInfo> CreateItemForStyleNo(int32_t styleNo, TCustomVDData *vdData);
// Makes the registry and sets the text item class (the item unit's start-up).
void InitializeItemRegistry();
void FinalizeItemRegistry();

} // namespace vizivodu
