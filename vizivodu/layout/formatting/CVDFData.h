// The formatted document: a document with a layout. It formats its items into draw items for a
// width (the driver Format_ with line wrapping and line finishing), answers structure queries
// and hit tests on the draw items, maps positions between items and draw items, reformats
// changed paragraphs in place, paints itself, and keeps the services around the layout
// (repainting requests, item coordinates, checkpoints and jumps, focus, exclusive-or drawing,
// soft page breaks, protection tests, printing widths).
//
// It does not know where it is shown: the size of its area, its margins, scrolling, canvas and
// events are pure virtual operations supplied by its descendants (the viewer's root document,
// table cells, printable documents).
//
// Units: device pixels of the format canvas (screen pixels on screen), document coordinates
// with the margins included. The units are split by role: CVDFData.cpp (state and driver),
// CVDFData_Wrap.cpp (line wrapping), CVDFData_Finish.cpp (line finishing), CVDFData_Hit.cpp
// (positions, hit tests, coordinates), CVDFData_MinWidth.cpp (minimum widths),
// CVDFData_Struct.cpp (structure queries), CVDFData_Partial.cpp (partial reformatting),
// CVDFData_Paint.cpp (painting), CVDFData_Services.cpp (the services).
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/layout/formatting/DLines.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/gfx/Graphics.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Messages.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {
class TControl;
class TWinControl;
} // namespace ui

namespace vizivodu {

class TVDAnimator;
class TVDBackground;
class TCustomMultiPagePtblVDData;
class TCustomVDFormattedData;
class TCustomVDPrint;
class TVDFontInfoCache;
class TVDFloatingDrawItems;
class TVDGraphicInterface;
struct TVDFormattingState;
enum TVDPaletteAction : uint8_t;

// When the checkpoint-visible event is raised while scrolling.
enum TCPEventKind : uint8_t { cpeNone, cpeAsSectionStart, cpeWhenVisible };

// Where a hidden item's position goes when it is converted to a draw item.
enum TVDDrawItemPosition : uint8_t { vddpStrict, vddpBetterAbove, vddpBetterBelow };

// How SearchTextR looks for a text (one-to-one its Boolean arguments).
enum TVDSearchOption : uint8_t {
    vdsroMatchCase,
    vdsroDown,
    vdsroWholeWord,
    vdsroFromStart,
    vdsroMultiItem,
    vdsroSmartStart
};
using TVDSearchOptions = rtl::TSet<TVDSearchOption, 6>;

// Which documents a canvas transform follows.
enum TVDTransformBase : uint8_t {
    vdtrbLocal,
    vdtrbRoot,
    vdtrbAbsRoot,
    vdtrbRecursive,
    vdtrbInplaceBackground
};

enum TVDSelectingState : uint8_t { vdsesInWord, vdsesOutsideWord, vdsesFreeMode, vdsesParaMode };

// The state of a mouse selection in progress.
class TVDSelectingInfo {
public:
    int32_t DrawItemSOffs = 0, DrawItemEOffs = 0;
    int32_t DrawItemSWordOffs1 = 0, DrawItemSWordOffs2 = 0;
    int32_t DrawItemEWordOffs1 = 0, DrawItemEWordOffs2 = 0;
    int32_t DrawItemSNo = 0, DrawItemENo = 0;
    TVDSelectingState SWordState = vdsesInWord;
    TVDSelectingState EWordState = vdsesInWord;

    void InitE(TVDSelectingState sWordState);
    bool IsInSWord(int32_t dItemNo, int32_t dItemOffs) const;
    bool IsBelowSWord(int32_t dItemNo, int32_t dItemOffs) const;
    bool IsAboveSWord(int32_t dItemNo, int32_t dItemOffs) const;
    bool AreWordsEqual() const;
    // The draw item takes no part in the test.
    bool IsEWord(int32_t dItemNo, int32_t wordOffs1, int32_t wordOffs2) const;
    bool IsEFreeStateNeeded(int32_t dItemNo, int32_t dItemOffs) const;
};

// A page start computed by a printing component, shown on screen.
struct TVDSoftPageBreakInfo {
    int32_t ItemNo = 0;
    int32_t Offset = 0;
    int32_t ExtraData = -1;
};
using TVDSoftPageBreakList = std::vector<TVDSoftPageBreakInfo>;

// The insertion point shown while something is dragged over an editor's document; the
// absolute root holds it (GetDragDropCaretInfo). X, Y (top) and Height are in the coordinates
// of VDData, the document the caret stands in (nullptr while it stands nowhere).
struct TVDDragDropCaretInfo {
    int32_t X = 0, Y = 0, Height = 0;
    int32_t ItemNo = -1, ItemOffs = 0;
    TCustomVDFormattedData *VDData = nullptr;
    int32_t RefCount = 0;
};

// Saved canvas transform (PrepareTransform / RestoreTransform).
// Used: a transform was applied; AdvancedMode: the canvas was in advanced graphics mode before,
// with world transform XForm.
struct TVDStoreDocTransform {
    bool Used = false;
    bool AdvancedMode = false;
    gfx::TXForm XForm;
};

// The part of a split full-width item painted on a page (tables define it).
class TVDPaintItemPart {
public:
    virtual ~TVDPaintItemPart() = default;
};

// A rubber-band drawing of the editor or tables (drawn twice it disappears).
using TVDXorDrawingProc = std::function<void(TCustomVDData &sender, int32_t x, int32_t y)>;

class TCustomVDFormattedData : public TCustomVDData {
public:
    TCustomVDFormattedData();
    ~TCustomVDFormattedData() override;

    // ---- Fields ----
    TVDCPInfo *LastRaisedCP = nullptr;
    TVDXorDrawingProc FXORDrawing;
    const void *FXORDrawingOwner = nullptr; // identifies the installed callback
    TCustomVDItemInfo *FCaptureMouseItem = nullptr;
    std::unique_ptr<TVDSelectingInfo> FSelectingInfo;
    bool XorImageDrawn = false;
    int32_t MouseX = 0, MouseY = 0;
    int32_t nJmps = 0;
    int32_t LastItemFormatted = -1;
    int32_t LastJumpDIMovedAboveFirst = -1, LastJumpDIMovedAboveLast = -1;
    int32_t LastDIMovedAbove = -1;
    int32_t LastJumpDIDowned = -1;
    TCustomVDItemInfo *FPartialSelectedItem = nullptr;
    bool AlreadyFormatted = false;
    std::unique_ptr<TVDSoftPageBreakList> FSoftPageBreaks;
    int32_t FClickedDrawItemNo = -1;
    TCustomVDItemInfo *FActiveItem = nullptr;
    int32_t DocumentWidth = -1;
    int32_t DocumentHeight = 0;
    int32_t TextWidth = -1;
    int32_t FocusedItemNo = -1;
    TVDDrawLines DrawItems;
    int32_t FSelStartNo = -1, FSelEndNo = -1;
    int32_t FSelStartOffs = 0, FSelEndOffs = 0;
    // Draw items of non-text items were made since the draw items were last cleared (only they
    // can hold inserted controls that follow the view).
    bool HasObjectDrawItems = false;

    // ---- Geometry of the area (pure: answered by the descendants), screen pixels ----
    virtual int32_t GetAreaWidth() = 0;
    virtual int32_t GetAreaHeight() = 0;
    virtual int32_t GetLeftMargin() = 0;
    virtual int32_t GetRightMargin() = 0;
    virtual int32_t GetTopMargin() = 0;
    virtual int32_t GetBottomMargin() = 0;
    // 0 or less: no limit.
    virtual int32_t GetMinTextWidth() = 0;
    virtual int32_t GetMaxTextWidth() = 0;
    int32_t GetWidth() override = 0;
    virtual int32_t GetHeight() = 0;
    virtual void SetDocumentAreaSize(int32_t width, int32_t height, bool updateH,
                                     bool allowEvents) = 0;
    virtual void AdjustVScrollUnits() = 0;
    virtual void ScrollTo(int32_t y, bool redraw) = 0;
    virtual void HScrollTo(int32_t x) = 0;
    virtual int32_t GetVSmallStep() = 0;
    virtual TVDBackground *GetBackground() = 0;
    virtual bool IsAssignedCheckpointVisible() = 0;
    virtual void DoCheckpointVisible(TCheckpointData checkpoint) = 0;
    virtual void DoJump(int32_t id) = 0;

    // ---- Geometry with answers here ----
    virtual int32_t GetHOffs() { return 0; }
    virtual int32_t GetVOffs() { return 0; }
    virtual int32_t GetVDDataExtraVOffs() { return 0; }
    virtual rtl::TPoint GetOrigin() { return {}; }
    virtual rtl::TPoint GetOriginEx() { return {}; }
    virtual int32_t GetWidthRot();
    virtual int32_t GetHeightRot();
    virtual int32_t GetAreaWidthRot();
    virtual void GetPrerotatedSize(int32_t &w, int32_t &h);
    virtual int32_t GetFullDocumentHeight() { return DocumentHeight; }
    virtual TVDVerticalAlign GetVerticalAlign() { return vdveraTop; }
    virtual void ResetSubCoords() {}
    virtual void AdjustSpecialControlsCoords(TCustomVDFormattedData *) {}
    virtual void ShowRectangle(int32_t left, int32_t top, int32_t width, int32_t height);
    // Raises the checkpoint-visible event as the kind of GetCPEventKind asks.
    virtual void AfterVScroll();
    virtual TCPEventKind GetCPEventKind() { return cpeNone; }

    // ---- Canvases ----
    // The canvas the document is drawn on (the control's); nullptr when none.
    virtual gfx::TCanvas *GetCanvas() { return nullptr; }
    // The canvas formatting measures on: the root document's answer; defCanvas otherwise.
    virtual gfx::TCanvas *GetFormatCanvasEx(gfx::TCanvas *defCanvas);
    gfx::TCanvas *GetFormatCanvas() { return GetFormatCanvasEx(GetCanvas()); }
    virtual void GetSaDForCanvas(gfx::TCanvas &canvas, TVDScreenAndDevice &sad);

    // ---- Hooks (neutral here) ----
    // A root tells the outside page-layout component that formatting starts.
    virtual void DoBeforeFormat();
    virtual TVDSoftPageBreakList *GetSoftPageBreaks() { return FSoftPageBreaks.get(); }
    virtual void DestroyInplace() {}
    // The in-place editor of this document (a table cell's); nullptr when none.
    virtual ui::TWinControl *GetEditor() { return nullptr; }
    virtual void DrawResizer(gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t, bool, bool, bool) {
    }
    virtual void AfterFormatting(int32_t, int32_t, bool) {}
    virtual void AfterFormattingCaret() {}
    virtual bool GetFirstParaListLevel(int32_t &listNo, int32_t &level);
    virtual bool IsVScrollBarExpected() { return false; }
    virtual void StartPartialFormatting() {}
    virtual bool IgnorePageBreaks() { return false; }
    virtual bool AllowChanging();
    // The selection-changed and hyperlink-drawing events: the absolute root raises them.
    virtual void DoSelect();
    virtual void DoDrawHyperlink(TCustomVDData *vdData, int32_t itemNo, const rtl::TRect &r);
    virtual void DoVDMouseMove(int32_t) {}
    virtual bool GetForceFieldHighlight() { return false; }
    // The drag-and-drop caret of the tree: the absolute root's; nullptr when it keeps none.
    virtual TVDDragDropCaretInfo *GetDragDropCaretInfo();
    virtual void AdjustFocus(int32_t newFocusedItemNo, TCustomVDFormattedData *topLevelVDData,
                             int32_t topLevelItemNo);
    virtual void DeselectPartiallySelectedItem(TCustomVDItemInfo *newPartiallySelected);
    virtual void SetPartialSelectedItem(TCustomVDItemInfo *item);
    virtual void DoOnSelection(bool) {}
    virtual bool FocusedEx() { return false; }
    virtual bool EnabledEx() { return true; }
    virtual int32_t GetParentControlWidth();
    // The palette mode of the control (the root document's answer); palettes do not exist on
    // the platform, so only the mode is kept.
    virtual TVDPaletteAction GetDoInPaletteMode();

    // ---- Events of the control (the viewer's root document raises them; the copy event is
    // asked of the root, the clicks and cursors of the absolute root; a document without
    // either answers none) ----
    virtual bool IsAssignedCopy();
    virtual bool IsAssignedVDMouseUp() { return false; }
    virtual bool IsAssignedVDMouseDown() { return false; }
    virtual bool IsAssignedVDRightClick();
    virtual bool IsAssignedJump() { return false; }
    virtual bool IsAssignedVDDblClick();
    virtual void DoCopy();
    virtual void DoVDMouseUp(ui::TMouseButton, ui::TShiftState, int32_t, int32_t, int32_t) {}
    virtual void DoVDMouseDown(ui::TMouseButton, ui::TShiftState, int32_t, int32_t, int32_t) {}
    // clickedWord: the word's bytes as stored in its item.
    virtual void DoVDRightClick(const TVDRawByteString &clickedWord, int32_t styleNo, int32_t x,
                                int32_t y);
    virtual void DoVDDblClick(const TVDRawByteString &clickedWord, int32_t styleNo);
    virtual void DoGetItemCursor(TCustomVDData *vdData, int32_t itemNo, ui::TCursor &cursor);
    // The cursor over parts that are no hyperlinks.
    virtual ui::TCursor GetNormalCursor() { return ui::crDefault; }
    // The hint of what the mouse is over: the absolute root shows it.
    virtual void SetControlHint(const rtl::UnicodeString &hint);

    // ---- The chosen sub-document (a table cell being edited) ----
    virtual void AssignChosenVDData(TCustomVDData *, TCustomVDItemInfo *) {}
    virtual void SilentReplaceChosenVDData(TCustomVDData *) {}
    virtual void UnassignChosenVDData(TCustomVDData *) { State.Include(vdstForceStyleChangeEvent); }
    // The editor of the chosen cell; nullptr when none.
    virtual ui::TWinControl *GetInplaceEditor() { return nullptr; }

    // ---- Copying the selection to the clipboard (CVDFData_Copy.cpp) ----
    // Each asks the chosen sub-document first (with no colour and no background); without a
    // selection nothing happens. Copy puts every format; CopyDef those the vdoAutoCopy options
    // name and says whether any applies.
    void Copy(gfx::TColor color, TVDBackground *background);
    bool CopyDef(gfx::TColor color, TVDBackground *background);
    void CopyTextA();
    void CopyTextW();
    void CopyText() { CopyTextW(); }
    void CopyImage();
    void CopyVDF(gfx::TColor color, TVDBackground *background);
    void CopyRTF(gfx::TColor color, TVDBackground *background);

    // ---- Searching (CVDFData_Search.cpp) ----
    // Finds s (8-bit text in the default code page, or UTF-16LE code units when unicode) from
    // the start SrchStart gives and selects the first hit in the direction; true when found.
    // Text is compared in UTF-16 whatever the form of s; without vdsroMatchCase both sides are
    // upper-cased. vdsroMultiItem matches across the items of one line (never across a line
    // start); sub-documents (table cells) are searched in their order.
    bool SearchTextR(TVDSearchOptions options, bool unicode, const TVDRawByteString &s);
    // The item and offset a search starts from (editors start from their caret).
    virtual void SrchStart(bool down, bool fromStart, bool smartStart, int32_t &strt,
                           int32_t &offs);
    // Selects a hit (the caret at its start with invert), shows it and raises the selection
    // events.
    virtual void SrchSelectIt(int32_t startItemNo, int32_t startOffs, int32_t endItemNo,
                              int32_t endOffs, bool invert);

    // ---- Animation (layout/viewer/VDAnimate_Hooks.cpp): the viewer's root document keeps the
    // animator list; other documents ask the absolute root. ----
    virtual bool AllowAnimation();
    // Hands animator to the control's list; animator becomes null when no list takes it.
    virtual void InsertAnimator(std::unique_ptr<TVDAnimator> &animator);
    virtual void ResetAniBackground();

    // ---- Font cache of a formatting run ----
    virtual void CreateFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas);
    virtual TVDFontInfoCache *GetFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas,
                                               TCustomVDFormattedData *vdData);
    // Frees the cache (and clears cache) when this document owns it.
    virtual void DestroyFontInfoCache(TVDFontInfoCache *&cache);

    // ---- Construction and clearing ----
    virtual void ClearTemporal();
    void Clear() override;
    void ClearJumps(bool callEvent);
    void Hiding();
    virtual void Deselect(TCustomVDItemInfo *newPartiallySelected, bool makeEvent);
    void SelectAll();
    void ExtendJumpRangeByTag();
    void Normalize();

    // ---- Hidden items and visible-item navigation (CVDFData_Struct.cpp) ----
    bool IsItemHiddenInView(int32_t itemNo);
    bool IsItemInfoHiddenInView(TCustomVDItemInfo &item);
    bool IsLineHiddenFromItem(int32_t itemNo);
    int32_t GetPrevVisibleItemNo(int32_t itemNo);
    int32_t GetNextVisibleItemNo(int32_t itemNo);
    int32_t GetFirstVisibleItemNo();
    int32_t GetLastVisibleItemNo();
    bool IsVisibleParaStart(int32_t itemNo);
    bool IsVisibleFromNewLine(int32_t itemNo);
    bool IsNextVisibleParaStart(int32_t itemNo);
    bool IsNextVisibleFromNewLine(int32_t itemNo);
    int32_t GetVisibleParaStart(int32_t itemNo);
    int32_t GetVisibleLineStart(int32_t itemNo);
    void ExpandToVisiblePara(int32_t firstItemNo, int32_t lastItemNo, int32_t &newFirstItemNo,
                             int32_t &newLastItemNo);
    void ExpandToVisibleLine(int32_t firstItemNo, int32_t lastItemNo, int32_t &newFirstItemNo,
                             int32_t &newLastItemNo);
    int32_t GetVisibleItemPara(int32_t itemNo);
    int32_t GetVisibleItemParaEx(int32_t itemNo, int32_t defParaNo);
    bool IsDrawItemItemStart(int32_t dItemNo);
    bool IsDrawItemParaStart(int32_t dItemNo);
    bool IsDrawItemParaSectionStart(int32_t dItemNo);
    bool IsDrawItemParaEnd(int32_t dItemNo);
    bool IsDrawItemFromNewLine(int32_t dItemNo);
    bool IsDrawItemLastOnWrappedLine(int32_t dItemNo);
    bool IsDrawItemStartsTheSecondParaLine(int32_t dItemNo);
    bool IsDrawItemStartsTheLastParaLine(int32_t dItemNo);
    bool IsDrawItemTextCut(int32_t dItemNo);
    int32_t GetDrawItemStyle(int32_t dItemNo);

    // ---- Settings ----
    bool SpecialCharactersShown();
    TVDDrawLineKind GetStandardDrawLineInfoClass(TCustomVDItemInfo &item, int32_t paraNo);

    // ---- Formatting (CVDFData.cpp, CVDFData_Wrap.cpp, CVDFData_Finish.cpp) ----
    void Format(bool noCaching, bool absRotation);
    // The driver; true when the draw items were rebuilt. canvas null: GetFormatCanvas.
    virtual bool Format_(bool onlyResized, bool forceFormat, bool noScroll, int32_t depth,
                         gfx::TCanvas *canvas, bool onlyTail, bool noCaching, bool reformatting,
                         bool callOnFormat, bool absRotation);
    void SaveFormattingToStream(rtl::TStream &stream);
    virtual void LoadFormattingFromStream(rtl::TStream &stream);
    // Sets the draw item to the new width and moves the other draw items of its line so that
    // the line keeps its alignment.
    void ChangeDItemWidth(int32_t dItemNo, int32_t newWidth);

    // ---- Partial reformatting (CVDFData_Partial.cpp) ----
    void GetParaBoundsEx(int32_t dINo1, int32_t dINo2, int32_t &paraStart, int32_t &paraEnd,
                         bool includeAdjacent);
    void AdjustDrawItemsForFormatParas(int32_t &startDrawItemNo, int32_t &endDrawItemNo,
                                       int32_t itemsInserted);
    void FormatParas(int32_t startDrawItemNo, int32_t endDrawItemNo, int32_t itemsInserted);
    void FormatParasExact(int32_t startDrawItemNo, int32_t endDrawItemNo, int32_t itemsInserted,
                          bool noCaching);
    void BeginFormattingLock();
    void EndFormattingLock();
    void DeleteItems(int32_t firstItemNo, int32_t count) override;
    virtual void DeleteParas(int32_t firstItemNo, int32_t lastItemNo);
    // The last position that must stay on a line together with the end of item itemNo.
    void GetWordEndAfterItem(int32_t &itemNo, int32_t &offs);

    // ---- Positions, hit tests and coordinates (CVDFData_Hit.cpp) ----
    int32_t GetOffsBeforeDrawItem(int32_t dItemNo);
    int32_t GetOffsAfterDrawItem(int32_t dItemNo);
    void DrawItem2Item(int32_t dItemNo, int32_t dItemOffs, int32_t &itemNo, int32_t &itemOffs);
    void Item2DrawItem(int32_t itemNo, int32_t itemOffs, int32_t &dItemNo, int32_t &dItemOffs,
                       TVDDrawItemPosition posIfHidden);
    void Item2FirstDrawItem(int32_t itemNo, int32_t &dItemNo);
    void Item2LastDrawItem(int32_t itemNo, int32_t &dItemNo);
    int32_t FindDrawItemByItem(int32_t itemNo);
    virtual void GetSelBounds(int32_t &startNo, int32_t &endNo, int32_t &startOffs,
                              int32_t &endOffs, bool normalize);
    void StoreSelBounds(int32_t &startNo, int32_t &endNo, int32_t &startOffs, int32_t &endOffs,
                        bool normalize);
    void RestoreSelBounds(int32_t startNo, int32_t endNo, int32_t startOffs, int32_t endOffs,
                          bool preferLineBeginning);
    void ShiftPosToTheNewLine(int32_t &dItemNo, int32_t &dOffs);
    void GetLineDrawItemRange(int32_t dItemNo, int32_t &firstDItemNo, int32_t &lastDItemNo);
    void GetLineVerticalBoundsOrig(int32_t firstDItemNo, int32_t &lineTopY, int32_t &lineBottomY,
                                   int32_t &lastDItemNo);
    void GetLineVerticalBoundsOrigEx(int32_t dItemNo, int32_t &lineTopY, int32_t &lineBottomY,
                                     int32_t &firstDItemNo, int32_t &lastDItemNo);
    virtual int32_t GetTransformedY(int32_t y, int32_t lineTopY, int32_t lineBottomY);
    virtual int32_t GetTransformedDItemTop(int32_t dItemNo);
    virtual int32_t GetTransformedDItemObjectTop(int32_t dItemNo);
    virtual bool IsLineOrderReversed() { return false; }
    // Null when the line order is not reversed.
    std::unique_ptr<std::vector<int32_t>> BuildTransformedYCoords();
    int32_t GetDrawItemNo(int32_t boundLine, int32_t option);
    int32_t GetFirstVisible(int32_t topLine) { return GetDrawItemNo(topLine, 1); }
    virtual int32_t GetFirstItemVisible();
    virtual int32_t GetLastItemVisible();
    void FindDrawItemForSel(int32_t x, int32_t y, int32_t &no, int32_t &offs, bool strict,
                            bool ignoreFloating, bool xyAlreadyRotated, bool xyLocalRotation);
    int32_t FindDrawItemAt(int32_t x, int32_t y);
    void RotateCoordsFromScreenToDoc(int32_t &x, int32_t &y, bool alwaysLocal, bool parentInplace);
    void RotateCoordsFromScreenToDocAbs(int32_t &x, int32_t &y);
    void RotateCoordsFromDocToScreen(int32_t &x, int32_t &y, TVDTransformBase base);
    void RotateRectFromDocToScreen(rtl::TRect &r, TVDTransformBase base);
    void InvalidateDrawItem(int32_t dItemNo, int32_t spacing, bool fromLiveSpelling);
    void InvalidateHighlightedJump();
    void AdjustChildrenCoords();

    // ---- Minimum widths (CVDFData_MinWidth.cpp), device pixels; null sad: screen ----
    int32_t CalculateMinItemWidthPlusEx(int32_t itemNo);
    int32_t CalculateMinItemsWidthPlusEx(int32_t startItemNo, int32_t endItemNo);
    int32_t CalculateParaSectionMinWidthDef(int32_t startItemNo);
    int32_t CalculateParaSectionsMinWidthDef(int32_t startItemNo, int32_t endItemNo);
    int32_t CalculateMinDocWidthPlus(int32_t firstItemNo, PVDScreenAndDevice sad,
                                     gfx::TCanvas &canvas);
    int32_t CalculateMinLineWidth(int32_t firstItemNo, PVDScreenAndDevice sad,
                                  gfx::TCanvas &canvas);
    int32_t CalculateMinWidthAfterInsert(TCustomVDItemInfo &item, int32_t insertItemNo);
    int32_t CalculateParaSectionsMinWidth(int32_t startItemNo, int32_t endItemNo,
                                          int32_t &firstParaItemNo, PVDScreenAndDevice sad,
                                          gfx::TCanvas &canvas);
    int32_t CalculateParaSectionMinWidth(int32_t startItemNo, int32_t &firstParaItemNo,
                                         PVDScreenAndDevice sad, gfx::TCanvas &canvas);
    int32_t CalculateMinItemsWidthPlusWrap(int32_t startItemNo, int32_t endItemNo,
                                           int32_t &firstParaItemNo, PVDScreenAndDevice sad,
                                           gfx::TCanvas &canvas);
    int32_t CalculateMinItemWidthWrap(int32_t itemNo, PVDScreenAndDevice sad, gfx::TCanvas &canvas,
                                      bool ignoreFloating, bool ignoreMarkers);
    int32_t CalculateMinItemsWidthNoWrap(int32_t startItemNo, int32_t endItemNo,
                                         PVDScreenAndDevice sad, gfx::TCanvas &canvas,
                                         bool ignoreFloating, bool ignoreMarkers);
    int32_t CalculateEmptyParaSectionWidth(int32_t itemNo, int32_t &firstParaItemNo,
                                           PVDScreenAndDevice sad, gfx::TCanvas &canvas,
                                           bool eventNegativeFirstIndent);

    // ---- Painting (CVDFData_Paint.cpp) ----
    virtual void DrawBackground(gfx::TCanvas &canvas, const rtl::TRect &r,
                                TVDGraphicInterface &graphicInterface, bool allowThumbnails,
                                bool printing);
    virtual void PaintTo(gfx::TCanvas &canvas, const rtl::TRect &clipRect, bool strictTop,
                         bool strictBottom, bool inplaceOnMainCanvas, bool printMode,
                         bool useWordPainters, int32_t extraXOffs, int32_t extraYOffs,
                         int32_t minDItemNo, int32_t maxDItemNo, TVDPaintItemPart *minItemPart,
                         TVDPaintItemPart *maxItemPart, bool forMetafile);

    // ---- Services (CVDFData_Services.cpp) ----
    void Invalidate();
    void Refresh();
    void UpdateView();
    void InvalidateRect(const rtl::TRect &r, bool fromLiveSpelling);
    bool GetItemCoords(int32_t itemNo, int32_t &left, int32_t &top);
    bool GetItemClientCoords(int32_t itemNo, int32_t &left, int32_t &top);
    bool GetItemCoordsAbsRoot(int32_t itemNo, int32_t part, bool allowFloating, rtl::TRect &r);
    int32_t GetItemPart(int32_t itemNo, int32_t offsetInItem, bool preferPartAfter);
    void GetItemAt(int32_t x, int32_t y, int32_t &itemNo, int32_t &offsetInItem);
    // The item at the document point, looked for down into sub-documents: vdData is the
    // innermost document hit (this one when the hit item has no sub-document there) and
    // inSubVDDataOwnerItem tells whether the item hit in it holds sub-documents; itemNo < 0:
    // nothing. coordRelativeToControl: the point is in the absolute root's coordinates.
    void GetItemAtEx(int32_t x, int32_t y, TCustomVDFormattedData *&vdData, int32_t &itemNo,
                     int32_t &offsetInItem, bool strict, bool closestSubVDData,
                     bool &inSubVDDataOwnerItem, bool ignoreFloating, bool coordRelativeToControl);
    void GetCoordsOfDrawItem(int32_t dItemNo, int32_t dItemOffs, int32_t &x, int32_t &top,
                             int32_t &bottom);
    void GetCoordsOf(int32_t itemNo, int32_t offs, int32_t &x, int32_t &top, int32_t &bottom);
    // The x of every character boundary (0..Length) of a text draw item, in document
    // coordinates, measured on the format canvas (all the draw item's Left without one or for
    // empty text). The caret stops count the space at the left of a justified line; measuring
    // for vertical text uses the vertical fonts.
    struct TCaretXsOptions {
        bool AddSpaceAtLeft = false;
        bool VerticalFonts = false;
    };
    std::vector<int32_t> GetDrawItemCaretXs(int32_t dItemNo, TCaretXsOptions options);
    int32_t GetLineNo(int32_t itemNo, int32_t itemOffs);
    void PrepareTransform(gfx::TCanvas &canvas, TVDStoreDocTransform &oldState, int32_t extraX,
                          int32_t extraY, TVDTransformBase base, int32_t docHeight);
    void RestoreTransform(gfx::TCanvas &canvas, const TVDStoreDocTransform &oldState);
    void DoPrepareTransform(gfx::TCanvas &canvas, TVDStoreDocTransform &oldState, int32_t extraX,
                            int32_t extraY, int32_t hOffs, int32_t vOffs, int32_t width,
                            int32_t height, int32_t docHeight, TVDVerticalAlign vAlign,
                            TVDTransformBase base);
    void GetCheckpointXY(TCheckpointData checkpointData, int32_t &x, int32_t &y);
    int32_t GetCheckpointYEx(TCheckpointData checkpointData);
    int32_t GetJumpPointItemNo(int32_t id);
    int32_t GetJumpPointY(int32_t id);
    void GetJumpPointLocation(int32_t id, TCustomVDFormattedData *&vdData, int32_t &itemNo);
    void BuildJumps(int32_t &startJumpNo);
    int32_t GetNextFocusedItem(int32_t itemNo, bool goForward,
                               TCustomVDFormattedData *&topLevelVDData, int32_t &topLevelItemNo);
    void ClearFocus();
    void AssignXorDrawing(const void *owner, TVDXorDrawingProc proc);
    void UnAssignXorDrawing(const void *owner);
    bool UsingThisXorDrawing(const void *owner) const { return FXORDrawingOwner == owner; }
    bool ClearXorDrawing();
    void XorDrawingEx(int32_t x, int32_t y);
    virtual void XorDrawing();
    // The drag-and-drop caret: placed at an item position (SetDragDropCaret), at a client point
    // (SetDragDropCaretTo: removed, placed in the document hit, drawn and scrolled into view),
    // removed (drawn once more), drawn in invert mode. Nothing without a caret record.
    void SetDragDropCaret(int32_t itemNo, int32_t offs);
    void SetDragDropCaretTo(int32_t x, int32_t y);
    void RemoveDragDropCaret();
    void DrawDragDropCaret(gfx::TCanvas &canvas, bool redirected);
    // Shows the page starts of the printing component's main document (pages 2 onwards).
    void AssignSoftPageBreaks(TCustomVDPrint &vdPrint);
    void AssignSoftPageBreak(TCustomMultiPagePtblVDData &pages, int32_t pageNo);
    bool ClearSoftPageBreaks();
    bool IsProtected(int32_t itemNo, TVDProtectOption option);
    bool IsParaProtected(int32_t paraNo, TVDParaOption option);
    bool IsItemParaProtected(int32_t itemNo);
    virtual bool IsSticking(int32_t firstItemNo, bool noSound);
    bool CanInsertHere(int32_t itemNo, int32_t offs);
    void AdjustItemsPrintingWidth(int32_t firstDrawItemNo, int32_t lastDrawItemNo,
                                  int32_t firstItemPart, int32_t pageNo, int32_t pageCount);
    void AdjustAllItemsPrintingWidth(int32_t pageNo, int32_t pageCount);
    virtual void GetItemBackground(int32_t itemNo, rtl::TRect &r, bool makeImageRect,
                                   gfx::TColor &color, std::unique_ptr<gfx::TBitmap> &bmp,
                                   bool &useBitmap, TVDGraphicInterface &graphicInterface,
                                   bool allowThumbnails, bool printing);
    void DestroyItem(std::unique_ptr<TCustomVDItemInfo> item, bool clearing) override;
    // The items of an in-place editor's document follow the renumbered styles too.
    void AfterDeleteStyles(TVDDeleteUnusedStylesData &data) override;
    // Palettes do not exist on the platform: the background only drops its copy, with
    // vdstChangingBkPalette held.
    void UpdateBackgroundPaletteInfo(TVDBackground &background);
    // The thumbnail of the document's background goes (the thumbnail cache is full).
    virtual void FreeBackgroundThumbnail();
    bool UpdatingBackgroundPalette() const { return State.Contains(vdstChangingBkPalette); }

    // ---- Selection (CVDFData_Selection.cpp, CVDFData_SelectionWords.cpp) ----
    // Queries delegate to the chosen sub-document where it answers for the parent.
    bool SelectionExists(bool allowReset, bool usePartialSelected);
    virtual void GetSelStart(int32_t &dINo, int32_t &dIOffs);
    void GetSelectionBounds(int32_t &startItemNo, int32_t &startItemOffs, int32_t &endItemNo,
                            int32_t &endItemOffs, bool normalize);
    virtual void GetSelectionBoundsEx(int32_t &startItemNo, int32_t &startItemOffs,
                                      int32_t &endItemNo, int32_t &endItemOffs, bool normalize);
    bool GetSingleSelectedItem(TCustomVDFormattedData *&vdData, int32_t &itemNo);
    gfx::TGraphic *GetSelectedImage();
    // The selection as plain text: 8-bit bytes, or UTF-16LE with unicode.
    TVDRawByteString GetSelTextR(bool unicode);
    bool Item_InsideSelection(int32_t itemNo, int32_t itemOffs, bool includeBorders);
    bool DItem_InsideSelection(int32_t dItemNo, int32_t dItemOffs, bool includeBorders);
    bool IsForwardSelection();
    bool IsMultiParagraphSelection();
    bool IsWholeParagraphSelection();
    void GetRangeForSaving(TVDFSaveScope saveScope, int32_t &startItemNo, int32_t &startOffs,
                           int32_t &endItemNo, int32_t &endOffs) override;
    // For the selection: the partially selected item.
    TCustomVDItemInfo *GetItemSavingRange(TVDFSaveScope saveScope) override;
    void DoSetSelectionBounds(int32_t startItemNo, int32_t startItemOffs, int32_t endItemNo,
                              int32_t endItemOffs, bool preferLineBeginning);
    void SetSelectionBounds(int32_t startItemNo, int32_t startItemOffs, int32_t endItemNo,
                            int32_t endItemOffs);
    void SetSelectionBoundsDown(int32_t startItemNo, int32_t startItemOffs, int32_t endItemNo,
                                int32_t endItemOffs);
    void AdjustSelectionOffsets();
    // The live-spelling check of the item being left (editors).
    virtual void CheckCurrentItemSpelling() {}
    void ChooseMe();
    // Word, line and paragraph selection; x, y of FindWordAtR in client coordinates.
    bool FindWordAtR(TVDRawByteString &word, int32_t x, int32_t y, int32_t &styleNo,
                     int32_t &itemNo, int32_t &offs, TCustomVDFormattedData *&vdData);
    bool FindWordAtR_(TVDRawByteString &word, int32_t x, int32_t y, int32_t &styleNo,
                      int32_t &itemNo, int32_t &offs, TCustomVDFormattedData *&vdData,
                      bool coordRelativeToControl);
    void GetWordAtR(int32_t x, int32_t y, TCustomVDFormattedData *&vdData, int32_t &itemNo,
                    TVDRawByteString &word);
    void SelectWordAt(int32_t x, int32_t y);
    void SelectLine(int32_t itemNo, int32_t offs);
    bool ExpandSelectionToParagraph(bool onlyIfMultiple);
    void ExpandSelectionToLines(bool fromStart);
    bool SelectControl(ui::TControl *control);
    // The mouse-drag extension; x, y in document coordinates. True when the selection moved.
    bool SelectTo(int32_t x, int32_t y);
    bool LineSelectTo(int32_t x, int32_t y);
    // SelectTo's adjustment of the moving end to whole words.
    void SelectToAdjustEnd(int32_t dItemNo, int32_t dItemOffs);
    bool IsInsideWord(int32_t dItemNo, int32_t offs);
    void GetWordBounds(int32_t dItemNo, int32_t offs, int32_t &wordOffs1, int32_t &wordOffs2);
    // Prepares FSelectingInfo for a drag from the anchor in word or paragraph mode.
    void InitSelectingInfo(bool paraMode);
    // Geometry: client rectangle, screen rectangle, caret coordinates of both ends.
    void GetSelectionClientRect(rtl::TRect &r);
    rtl::TRect GetSelectionRect();
    bool GetSelectionBoundsCoords(int32_t &x1, int32_t &top1, int32_t &bottom1, int32_t &x2,
                                  int32_t &top2, int32_t &bottom2);

    // ---- The mouse (CVDFData_Mouse.cpp, CVDFData_MouseClicks.cpp); x, y client coordinates
    virtual void MouseMove(ui::TShiftState shift, int32_t x, int32_t y);
    virtual void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y);
    virtual void MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y);
    virtual void MouseLeave();
    // The word under the mouse, at the cursor position (DblClick) or at p.
    virtual void DblClick();
    void DblClickAt(gfx::TPoint p);
    virtual void TripleClick();
    virtual void AdjustMouseUpSelection() {}
    virtual void OnTimerScroll() {}
    void SetMouseCapture(TCustomVDItemInfo *item, int32_t &left, int32_t &top);
    void ReleaseMouseCapture(TCustomVDItemInfo *item);
    virtual bool CancelResize();
    virtual void DoDrag();
    virtual void SetCursor(ui::TCursor cursor);
    virtual gfx::TPoint ClientToScreen(gfx::TPoint p);
    virtual gfx::TPoint ScreenToClient(gfx::TPoint p);
    // The drag of the selection, the root's answers (neutral here).
    virtual bool CanStartDrag();
    virtual void StoreClickPoint(int32_t x, int32_t y);
    virtual bool DragThresholdExceeded(int32_t x, int32_t y);
    virtual bool GetDropSource() { return false; }
    virtual void ReleaseDropSource(bool) {}
    virtual void CreateSelectionHandlesAfterTap();
    bool IsAboveLineSelectMargin(int32_t x, int32_t y);
    void UpdateDrawItemUnderMouse(int32_t x, int32_t y);
    // jumpsJustBuilt: the hyperlinks were numbered again since the last move.
    bool UpdateHoveredJump(int32_t newDrawItemNo, int32_t oldDrawItemNo,
                           bool jumpsJustBuilt = false);
    void MoveCaretToMouse(int32_t x, int32_t y, bool onlyOutsideSelection);
    // The steps of the handlers above.
    void ExtendMouseSelection(int32_t x, int32_t y);
    // Repaints the rows whose selection look changed since the ends were at the old draw items.
    void InvalidateSelectionChange(int32_t oldStartNo, int32_t oldEndNo);
    void MouseDownLeft(ui::TShiftState shift, int32_t x, int32_t y);
    void StartMouseSelection(bool shiftHeld, bool inMargin, int32_t x, int32_t y);
    void EndMouseSelection(int32_t x, int32_t y);
    void MouseUpEvents(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y,
                       int32_t clickedItemNo, bool selectionExisted);
    bool DragThresholdExceededAt(int32_t x, int32_t y) const;
    // The press that may start a drag, in the absolute root's screen coordinates.
    gfx::TPoint FClickPoint;

protected:
    // ---- Line wrapping and finishing (CVDFData_Wrap.cpp, CVDFData_Finish.cpp) ----
    void InitFormattingState(TVDFormattingState &state, bool noCaching, bool reformatting);
    void FormatItem(const TVDRawByteString *text, int32_t length, TVDFormattingState &state,
                    const TVDScreenAndDevice &sad, gfx::TCanvas &canvas, int32_t itemNo);
    void FinishTab(TVDFormattingState &state);
    void FinishLine(const TVDScreenAndDevice &sad, bool isParaEnd, TVDFormattingState &state,
                    int32_t &extraHeight);
    void FormatHiddenItem(int32_t itemNo);
    void FormatRange(int32_t firstItemNo, int32_t lastItemNo, TVDFormattingState &state,
                     const TVDScreenAndDevice &sad, gfx::TCanvas &canvas);

private:
    friend class TVDWrapper;
    friend class TVDLineFinisher;
    friend class TVDPainter;
    friend class TVDMinWidths;

    void RunFormatting(TVDFormattingState &state, const TVDScreenAndDevice &sad,
                       gfx::TCanvas &canvas, int32_t firstItemNo);
    void FormatParasRun(int32_t startDrawItemNo, int32_t endDrawItemNo, int32_t itemsInserted,
                        bool noCaching, gfx::TCanvas &canvas, rtl::TRect &invalid,
                        int32_t &firstItem, int32_t &lastItem);
    // Removes the draw items of the items after itemNo (and any pending hole).
    void DropDrawItemsAfter(int32_t itemNo);
    std::unique_ptr<TVDFontInfoCache> FOwnFontCache; // a cache made for this document
    // The minimum document width of the last formatting of all items, in device pixels at
    // FMinDocWidthPPI (0: none). A resize of the unchanged document uses it instead of
    // measuring every item again; changing items through the partial reformatting or clearing
    // forgets it.
    int32_t FMinDocWidth = 0;
    int32_t FMinDocWidthPPI = 0;

protected:
    void ForgetMinDocWidth() { FMinDocWidthPPI = 0; }
};

} // namespace vizivodu
