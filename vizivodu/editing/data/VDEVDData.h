// The editable document data: a viewer's root document extended by the current styles, the
// undo and redo lists with the undoable primitives every edit goes through, the caret (a stop
// among the caret stops of its line), caret movement by keys, inserting items and text,
// deleting the selection, typing, Enter, Delete and Backspace, and reformatting after an edit.
#pragma once

#include "vizivodu/document/VDItem.h"
#include "vizivodu/editing/undo/VDUndo.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/rtl/Sets.h"
#include "platform/rtl/Types.h"

#include <climits>
#include <functional>
#include <memory>
#include <vector>

namespace rtl {
class TStream;
class TStringList;
} // namespace rtl

namespace vizivodu {

class TVDUndoInsertItemsInfo;

enum TVDUndoDest : uint8_t { udNone, udUndo, udRedo };

// The editor control's options that the document reads (the control keeps the set).
enum TVDEditorOption : uint8_t {
    vdoClearTagOnStyleApp,
    vdoCtrlJumps,
    vdoDoNotWantReturns,
    vdoDoNotWantShiftReturns,
    vdoWantTabs,
    vdoAutoSwitchLang,
    vdoHideReadOnlyCaret,
    vdoNoImageResize,
    vdoNoCaretHighlightJumps,
    vdoNoReadOnlyJumps
};
using TVDEditorOptions = rtl::TSet<TVDEditorOption>;

// What a style operation applies: a fixed paragraph style, or new style numbers that the
// editor's current style conversion computes.
enum TVDEStyleConversionType : uint8_t {
    vdscParaStyle,
    vdscTextStyle,
    vdscParaStyleConversion,
    vdscTextStyleConversion,
    vdscParaStyleTemplateReset,
    vdscParaStyleTemplateNoReset,
    vdscTextStyleTemplateReset,
    vdscTextStyleTemplateNoReset
};

class TVDEditVDData;
// The conversion: old style number, paragraph style, the caller's user data, whether text is
// converted; sets the new style number.
using TVDStyleConversionEvent_ =
    std::function<void(TVDEditVDData &sender, int32_t styleNo, int32_t paraStyleNo,
                       int32_t userData, bool appliedToText, int32_t &newStyleNo)>;

// A position in the items: item number and offset.
struct TVDItemPos {
    int32_t ItemNo = -1;
    int32_t Offs = -1;
};

// What a list command does to the markers of the selected paragraphs.
enum TVDParaListOperation : uint8_t { vdplopChange, vdplopRemove, vdplopLevel };

// A list command's arguments.
struct TVDListRequest {
    int32_t ListNo = -1, ListLevel = 0, StartFrom = 1;
    bool UseStartFrom = false;
    TVDParaListOperation Operation = vdplopChange;
};

// A list command's running state: the selection's ends as the user made it (moved with the
// items that come and go) and the variable-width lists whose later numbers need reformatting.
struct TVDListWork {
    TVDItemPos Anchor, Active;
    std::vector<int32_t> ListNos;
    int32_t LastVWMarkerIndex = -1;
};

// A caret stop: X in document coordinates, the draw item, and the position in it (text:
// 1-based character boundary; other items: 0 before, 1 after).
struct TVDCharPos {
    int32_t X = 0;
    int32_t DrawItemNo = -1;
    int32_t Offset = -1;
};
using TVDCharPosCollection = std::vector<TVDCharPos>;

namespace errmsg {
inline constexpr const char16_t *InvalidCaretPosition =
    u"Invalid caret position. Please contact the developer, if you can reproduce this problem";
inline constexpr const char16_t *UndoError = u"Undo error";
inline constexpr const char16_t *CheckpointError = u"Checkpoint error";
} // namespace errmsg

class TVDEditVDData : public TViziVoduVDData {
public:
    explicit TVDEditVDData(TVDScroller *viziVodu);
    ~TVDEditVDData() override;

    // ---- Fields ----
    int32_t FPrevTextStyleNo = 0;
    TVDTag FCurTag;
    int32_t FCurTagStyleNo = -1;
    // The x kept while the caret moves up and down; INT_MAX when unset.
    int32_t FUpDownMovingX = INT_MAX;
    int32_t FCurTextStyleNo = 0;
    int32_t FCurParaStyleNo = 0;
    std::unique_ptr<TVDUndoList> UndoList;
    std::unique_ptr<TVDUndoList> RedoList;
    TVDUndoDest UndoDest = udNone;
    int32_t CaretDrawItemNo = -1;
    int32_t CaretOffs = -1;
    TVDCharPosCollection CharEnds;
    int32_t CaretHeight = 0;
    // The caret rectangle in client coordinates, as last shown.
    rtl::TRect FCustomCaretRect{};
    bool FVDFInserted = false;
    // Read-only: nothing may change (the editor control's ReadOnly).
    bool ReadOnly = false;
    // The editor control's change report (Modified, OnChange, live spelling); called with the
    // clear-redo flag after the document's own handling.
    std::function<void(bool clearRedo)> OnDoChange;
    // The editor's item-text-edit event: may change the tag and style of edited text.
    std::function<void(const TVDRawByteString &oldText, TCustomVDData &vdData, int32_t itemNo,
                       TVDTag &newTag, int32_t &newStyleNo)>
        OnItemTextEdit;
    bool Modified = false;

    // ---- Overrides ----
    void Clear() override;
    void ClearTemporal() override;
    bool Format_(bool onlyResized, bool forceFormat, bool noScroll, int32_t depth,
                 gfx::TCanvas *canvas, bool onlyTail, bool noCaching, bool reformatting,
                 bool callOnFormat, bool absRotation) override;
    void GetSelStart(int32_t &dINo, int32_t &dIOffs) override;
    bool AllowChanging() override;
    void AfterVScroll() override {}

    // ---- Undo grouping (VDEVDData_Undo.cpp) ----
    void BeginUndoSequence(TVDUndoType undoType, bool allowFinalize);
    void BeginNamedUndoSequence(TVDUndoType undoType, const rtl::UnicodeString &caption,
                                bool allowFinalize);
    void BeginRedoSequence(TVDUndoType undoType, const rtl::UnicodeString &caption);
    void EndUndoSequence();
    void SetUndoGroupMode(bool groupUndo) { UndoList->SetUndoGroupMode(groupUndo); }
    void FinalizeUndoGroup();
    TVDUndoList *GetUndoList();
    // The last item of the paragraph that holds itemNo (visible paragraph starts).
    int32_t GetParaEndItemNo(int32_t itemNo);

    // ---- Undoable primitives (VDEVDData_Undo.cpp, VDEVDData_Primitives.cpp) ----
    void Do_InsertItem(int32_t itemNo, TVDRawByteString &s, std::unique_ptr<TCustomVDItemInfo> item,
                       bool fromUndo, bool &fullReformat);
    // items: in reverse document order (as Do_DeleteItems collects them); taken.
    void Do_InsertItems(int32_t itemNo, std::vector<std::unique_ptr<TCustomVDItemInfo>> &items,
                        bool fromUndo, bool &fullReformat);
    TVDUndoInsertItemsInfo *Do_InsertItems_1(int32_t itemNo, int32_t count);
    void Do_InsertItems_2(int32_t itemNo, int32_t count, TVDUndoInsertItemsInfo *ui,
                          bool &fullReformat);
    void Do_DeleteItem(int32_t itemNo, bool &fullReformat);
    void Do_DeleteItems(int32_t startItemNo, int32_t endItemNo, bool &fullReformat);
    void Do_InsertSubstring(int32_t itemNo, int32_t index, const TVDRawByteString &s);
    void Do_DeleteSubstring(int32_t itemNo, int32_t index, int32_t aLength);
    void Do_ChangeTextR(int32_t itemNo, const TVDRawByteString &s);
    bool Do_Para(int32_t firstItemNo, int32_t endItemNo, int32_t paraNo, bool &fullReformat);
    bool Do_ParaList(int32_t startItemNo, const std::vector<int32_t> &paraList, bool &fullReformat);
    void Do_StyleNo(int32_t itemNo, int32_t styleNo);
    void Do_AssociatedTextStyleNo(int32_t itemNo, int32_t textStyleNo);
    void Do_NewLine(int32_t itemNo, bool sameAsPrev, int32_t paraNo, bool &fullReformat);
    void Do_BR(int32_t itemNo, bool br, bool &fullReformat);
    void Do_PageBreak(int32_t itemNo, bool pageBreak);
    void Do_ClearTextFlow(int32_t itemNo, bool left, bool right);
    void Do_Tag(int32_t itemNo, const TVDTag &tag, bool assignAsIs);
    void Do_ExtraIntProperty(int32_t itemNo, int32_t prop, int32_t value);
    void Do_ExtraStrProperty(int32_t itemNo, int32_t prop, const rtl::UnicodeString &value);
    void Do_ChangeVAlign(int32_t itemNo, TVDVAlign vAlign);
    // itemNo -1: the document's pending checkpoint after the last item.
    void Do_AddCP(int32_t itemNo, std::unique_ptr<TVDCPInfo> checkpoint);
    void Do_DeleteCP(int32_t itemNo);
    void Do_MoveCP(int32_t srcItemNo, int32_t destItemNo);
    void Do_Concate(int32_t firstItemNo);
    void Do_ReformateRange(int32_t startNo, int32_t endNo, bool superReformat);
    // The typed-text fast path of the typing records: stores text without a record.
    void StoreTypedText(int32_t itemNo, TVDRawByteString s);

    // ---- The caret (VDEVDData_Caret.cpp) ----
    void PrepareForEdit();
    void OnChangeCaretLine(int32_t dlOffs);
    void ChangeCaret(bool forceCreate, bool scrollToCaret, bool dontChangeStyle,
                     bool refreshBefore);
    bool IsCharOffsAtTheLineEndAndItemEnd(int32_t offs);
    bool IsCharOffsAtTheLineStartAndItemStart(int32_t offs);
    int32_t GetCurItemNo();
    int32_t GetOffsetInCurItem();
    TCustomVDItemInfo *GetCurItem();
    // A caret that lands on a list marker goes to the next draw item's start (backwards: to
    // the previous draw item's end, unless the marker is the first draw item).
    void MoveCaretOffMarker(bool forward);
    // Puts the caret at an item position: stops rebuilt, off a list marker forwards.
    void SetCaretToItem(int32_t itemNo, int32_t offs);
    // The x of every stop of a text draw item (character boundaries 0..Length), document
    // coordinates.
    std::vector<int32_t> GetDrawItemStopXs(int32_t dItemNo);

    // ---- Caret movement (VDEVDData_Keys.cpp); True: at the document's edge ----
    bool OnLeftPress(bool shift, bool ctrl);
    bool OnRightPress(bool shift, bool ctrl);
    bool OnUpPress(bool shift, bool ctrl);
    bool OnDownPress(bool shift, bool ctrl);
    bool OnHomePress(bool shift, bool ctrl);
    bool OnEndPress(bool shift, bool ctrl);
    bool OnPgUpPress(bool shift);
    bool OnPgDownPress(bool shift);
    void UpdateSelectionEnd();

    // ---- Inserting and deleting (VDEVDData_Insert.cpp) ----
    bool InsertSomething(std::unique_ptr<TCustomVDItemInfo> info, TVDRawByteString &s,
                         TVDRawByteString &splitText, bool autoTag, bool caretBefore,
                         bool callTEEvent);
    bool DeleteSelection_();
    bool CanDelete();
    void Reformat_(bool fullFormat, int32_t startDrawItem, int32_t endDrawItem, int32_t itemsAdded);
    // The document's minimum width as formatting measures it (DocumentWidth's units).
    int32_t GetMinDocWidth();
    // The draw items of the paragraphs that hold the items, in the present formatting: the
    // range a partial reformatting after changing those items covers.
    void GetParaDrawRange(int32_t firstItem, int32_t lastItem, int32_t &startDI, int32_t &endDI);

    // ---- Typing and text (VDEVDData_Typing.cpp) ----
    void KeyPress(char16_t key);
    void InsertTextTyping(const TVDRawByteString &text, char16_t key);
    bool InsertTextOfStyle(TVDRawByteString &s, TVDRawByteString &text, int32_t styleNo,
                           bool autoTag, bool caretBefore);
    // Raw UTF-16 text with line structure.
    void InsertTextW_(const TVDRawByteString &text, bool autoTag, bool caretBefore);
    bool InsertVDFFromStreamEd_(rtl::TStream &stream);
    bool InsertRTFFromStreamEd_(rtl::TStream &stream);
    bool InsertFirstVDFItem(int32_t &index, TVDRawByteString &s,
                            std::unique_ptr<TCustomVDItemInfo> &item, bool editFlag,
                            bool &fullReformat, int32_t &newListNo) override;
    void ConcateAfterAdding(int32_t &insertPoint, int32_t &lastInserted, int32_t &offs,
                            int32_t &itemsAdded);

    // ---- Reformatting and change (VDEVDData_Typing.cpp) ----
    void Change() { ChangeEx(true); }
    void ChangeEx(bool clearRedo);
    void Reformat(bool fullFormat, bool forceFormat, bool noScroll, int32_t itemNo,
                  bool updateView);
    void ReformatEx(bool fullFormat, bool forceFormat, bool noScroll, int32_t itemNo,
                    bool updateView, int32_t selStartNo, int32_t selStartOffs, int32_t selEndNo,
                    int32_t selEndOffs);
    void DoAfterFormatAndCaretPositioning(bool updateControl);
    int32_t GetActualCurStyleNo();
    void ClearCurTag();
    bool CanKeepTagForStyle(int32_t styleNo, int32_t newStyleNo);
    void AssignCurTag();
    bool DoItemTextEdit(const TVDRawByteString &oldText, int32_t itemNo);
    bool DoItemTextEditEx(const TVDRawByteString &oldText, int32_t itemNo, TVDUndoType undoType);
    bool HasPersistentCheckpoint(int32_t itemNo);
    bool ParaHasPersistentCheckpoint(int32_t itemNo);
    bool MovePersistentCheckpoint(int32_t itemNo, bool prev);
    // A new text item of the registered class: "like item X" (options cleared but SameAsPrev
    // and Unicode, X's tag, no checkpoint) or empty text in a given style.
    std::unique_ptr<TCustomVDItemInfo> CreateTextItemLike(const TCustomVDItemInfo &x);
    std::unique_ptr<TCustomVDItemInfo> CreateEmptyTextItem(int32_t styleNo, int32_t paraNo);

    // ---- Enter, Delete, Backspace (VDEVDData_Enter.cpp) ----
    bool OnEnterPress_(bool shift, bool recursive);
    void OnDeletePress_(bool ctrl, bool movedFromLineEnd);
    void OnBackSpacePress_(bool ctrl, bool multiDelete, bool fromNextLine,
                           int32_t forceDeleteCount);
    int32_t GetNextParaNo(int32_t paraNo);
    int32_t GetNextStyleNo(int32_t styleNo, int32_t paraNo, bool newLine);

    // ---- Applying styles (VDEVDData_Styles.cpp) ----
    // The editor control's options (default: Ctrl makes links active, Tab reaches the editor).
    TVDEditorOptions EditorOptions{vdoCtrlJumps, vdoWantTabs};
    // The editor control's conversion of the style operation in progress.
    TVDStyleConversionEvent_ FCurStyleConversion;
    // The paragraphs of the selection (or of the caret) take paraStyleNo (vdscParaStyle) or the
    // conversion's answer per paragraph (userData = paraStyleNo); the caller groups the undo.
    void ApplyParaStyle(int32_t paraStyleNo, TVDEStyleConversionType convType, bool recursive,
                        bool callOnChange);
    // Converts the text styles of exactly the selected characters (one undo group); without a
    // selection only the current text style changes (an empty item at the caret at once).
    void ApplyStyleConversion_(int32_t userData, TVDEStyleConversionType convType, bool recursive);

    // ---- Lists (VDEVDData_Lists.cpp) ----
    // Applies, changes, re-levels (by listLevel) or removes the markers of the selected
    // paragraphs (or the caret's) as one vdutList group; recursive has no effect.
    void ApplyListStyle(int32_t listNo, int32_t listLevel, int32_t startFrom, bool useStartFrom,
                        bool recursive, TVDParaListOperation operation);
    void ApplyListStyle_(const TVDListRequest &request, int32_t &itemsAdded, int32_t &startNo,
                         int32_t &endNo, TVDListWork &work);
    // Collects the variable-width lists and sequences of the paragraphs startNo..endNo whose
    // later numbers an edit there may change; forDeletion: the range is about to go.
    void PrepareForUpdateRangeAfterMarkersOrSeq(int32_t startNo, int32_t endNo, bool forDeletion,
                                                int32_t &firstItemNo, int32_t &lastMarkerIndex,
                                                int32_t &lastSeqIndex,
                                                std::vector<int32_t> &listNos,
                                                rtl::TStringList &seqNames);
    // Reformats the paragraphs after firstItemNo down to the last marker or sequence item of
    // those lists (the whole document when that item is no longer found).
    void UpdateAfterMarkersOrSeq(int32_t firstItemNo, int32_t lastMarkerIndex, int32_t lastSeqIndex,
                                 const std::vector<int32_t> *listNos,
                                 const rtl::TStringList *seqNames);
    void UpdateRangeAfterMarkersOrSeq(int32_t startNo, int32_t endNo);
    // Puts a copy of the marker of itemNo's paragraph (not delete-protected, hidden or
    // restarting, so it continues the numbering) at destItemNo; False when the paragraph has
    // no marker (or, with skipHidden, a hidden one).
    bool InsertParaMarkerCopy(int32_t itemNo, int32_t destItemNo, bool undoable, bool skipHidden,
                              bool &fullReformat);

    // ---- Style protections ----
    bool IsParaReadOnly(int32_t itemNo);
    bool IsUnicodeStyle(int32_t styleNo);

private:
    TCustomVDItemInfo *PlaceCaretAfterFormat(bool tracked, int32_t itemNo, int32_t itemOffs,
                                             bool full);
    void FollowCurrentStyles(bool dontChangeStyle);
    void ShowCaretRect(int32_t dItemNo, int32_t x);
    void AppendStopsOf(int32_t d, int32_t first, int32_t dlOffs);
    void FinishMove(bool shift);
    int32_t WordLeftCount(int32_t itemNo, int32_t p);
    int32_t WordRightCount(int32_t itemNo, int32_t p);
    void MoveVertically(int32_t index, bool up, bool shift, bool ctrl);
    void ParagraphJump(bool up, bool shift);
    // InsertSomething's placing step: where the new item goes and what it takes over.
    bool PlaceNewItem(TCustomVDItemInfo &info, int32_t &insertAt, int32_t &paraToApply,
                      bool autoTag, bool callTEEvent, TVDRawByteString &splitText,
                      int32_t &itemsInserted);
    bool PlaceBeforeItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t &insertAt,
                         int32_t &paraToApply);
    // PlaceNewItem's cases by the caret's item: not text, text (split at the caret when
    // inside), and an empty text item that the new item replaces.
    bool PlaceAtNonTextItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t offs,
                            int32_t &insertAt, int32_t &paraToApply);
    bool PlaceAtTextItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t offs, bool callTEEvent,
                         TVDRawByteString &splitText, int32_t &insertAt, int32_t &paraToApply,
                         int32_t &itemsInserted);
    bool SplitTextForInsert(int32_t itemNo, int32_t offs, bool callTEEvent,
                            TVDRawByteString &splitText);
    bool ReplaceEmptyItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t &insertAt,
                          int32_t &paraToApply, int32_t &itemsInserted);
    void DeleteRange(int32_t startNo, int32_t startOffs, int32_t endNo, int32_t endOffs,
                     bool &fullReformat, int32_t &caretItemNo, int32_t &caretOffs,
                     int32_t &removed);
    void DeleteWholeItem(int32_t itemNo, int32_t &caretItemNo, int32_t &caretOffs,
                         bool &fullReformat, int32_t &removed, bool keepLine);
    // Records the items put in after the first (insertPoint) as one run, joins the run with
    // its neighbours, reformats the paragraphs startDI..endDI and places the caret.
    void FinishTextInsert(int32_t insertPoint, int32_t further, bool caretBefore, bool fullReformat,
                          int32_t startDI, int32_t endDI);
    std::unique_ptr<TCustomVDItemInfo> MakePieceItem(const std::u16string &text, bool tab);
    // Where the editing insertion put the first item of a native-format reading.
    int32_t FInsertedFirstIndex = -1;
    int32_t FItemCountAfterFirst = 0;
    int32_t FInsertStartDI = 0, FInsertEndDI = 0;
    bool JoinLines(int32_t itemNo, int32_t nextNo);
    void BackspaceInText(int32_t itemNo, int32_t offs, int32_t count);
    bool EnterAtLineBoundary(int32_t itemNo, bool atLineStart, bool shift);
    // Backspace's cases: at the start of an item (joining with what precedes it), and removing
    // a whole item; JoinWithPrevious is False when a protection refuses.
    void BackspaceAtItemStart(int32_t itemNo, int32_t offs, bool ctrl, bool multiDelete,
                              int32_t forceDeleteCount);
    bool JoinWithPrevious(int32_t itemNo, bool afterMarker, int32_t &caretItemNo,
                          int32_t &caretOffs, bool &fr, int32_t &removed);
    void BackspaceWholeItem(int32_t itemNo, int32_t offs);
    void RemovePageBreakAt(int32_t itemNo, int32_t offs);
    bool EnterInsideLine(int32_t itemNo, int32_t offs, bool shift);
    // Puts the caret at an item position, shows it with scrolling, after-format handling.
    void ShowCaretAt(int32_t caretItemNo, int32_t caretOffs);
    // Typing's steps: the item typed text goes into (-1: a new item; False: refused) and the
    // insertion, as a compact typing record where it can be one.
    bool FindTypingTarget(int32_t itemNo, int32_t offs, bool unicodeStyle, int32_t &target,
                          int32_t &pos);
    void TypeIntoItem(int32_t t, int32_t pos, const TVDRawByteString &text, bool unicodeStyle);
    // Style conversion's steps (VDEVDData_Styles.cpp).
    int32_t ConvertedStyle(int32_t styleNo, int32_t paraNo, int32_t userData, bool appliedToText);
    void ConvertTextItem(int32_t itemNo, int32_t styleNo);
    bool ConvertWholeItem(int32_t itemNo, int32_t userData);
    // Characters from..to (0-based, end excluded) of a text item, in styleNo's encoding.
    TVDRawByteString TextPiece(int32_t itemNo, int32_t from, int32_t to, int32_t styleNo);
    // Moves characters from..to of the item into a new item of styleNo before or after it.
    void SplitOffPiece(int32_t itemNo, int32_t from, int32_t to, bool before, int32_t styleNo,
                       bool keepTag, bool takeCheckpoint);
    // Converts characters a..b-1 (1-based) of one item; returns the converted piece's item.
    int32_t ConvertPartOfItem(int32_t itemNo, int32_t a, int32_t b, int32_t userData,
                              int32_t &added);
    void ConvertSelectedItems(int32_t s, int32_t a, int32_t e, int32_t b, int32_t userData,
                              int32_t &added, int32_t &convFirst, int32_t &convLast);
    void JoinConverted(int32_t first, int32_t last, TVDItemPos &selStart, TVDItemPos &selEnd,
                       int32_t &added);
    void ConvertAtCaret(int32_t userData, int32_t newCur);
    void ConvertSelection(int32_t userData, int32_t newCur);
    // List command steps (VDEVDData_Lists.cpp).
    bool IsVariableWidthList(int32_t listNo);
    void GetCaretOrSelection(TVDItemPos &anchor, TVDItemPos &active);
    // The list command on the paragraph starting at itemNo; returns the items added.
    int32_t ApplyListToPara(const TVDListRequest &r, int32_t itemNo, bool firstPara,
                            TVDListWork &work);
    int32_t LastMarkerIndexOfLists(int32_t startIndex, const std::vector<int32_t> &listNos);
    void RefreshNumberedRange(int32_t first, int32_t last, bool full);
};

} // namespace vizivodu
