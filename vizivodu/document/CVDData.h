// The document: an ordered list of items grouped into paragraphs and lines by their option
// bits, with a chain of named checkpoints. Building (the Add family and the paragraph rules),
// item text in its encodings, deleting and clearing, the document tree and what a document
// asks of its root, item properties by index, checkpoints, effective text styles, style
// housekeeping, merging of text items, list-marker registration, enumeration and positions.
//
// Every kind of document derives from TCustomVDData. Settings that belong to a whole control
// live in the document at the top: the operations marked "root" ask GetRootData(), those
// marked "absolute root" GetAbsoluteRootData(); a document that is its own root answers them
// with the neutral values given here (descendants that stand for a control override them).
#pragma once

#include "vizivodu/document/VDItem.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDDataHooks.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

#include <functional>
#include <memory>
#include <vector>

namespace gfx {
class TGraphic;
class TCustomImageList;
} // namespace gfx
namespace ui {
class TControl;
}
namespace rtl {
class TStringList;
}

namespace vizivodu {

class IVDRazavIrezIzirInterface;
class TFontInfo;
class TParaInfo;
class TVDMarkerList;
class TVDSeqList;
class TVDSeqItemInfo;
class TVDDocParameters;
class TVDThumbnailCache;
class TVDGraphicItemInfo;
class TVDControlItemInfo;
class TVDLayoutInfo;
class TVDBackground;
struct TVDFReadContext;
struct TVDHTMLSaveParams;
class TVDRTFReaderProperties;
class TCustomVDRTFTables;
struct TVDRTFSavingData;
class TVDDocXSavingData;
enum TVDRTFErrorCode : uint8_t;

enum TVDState : uint8_t {
    vdstMakingSelection,
    vdstLineSelection,
    vdstDrawHover,
    vdstSkipFormatting,
    vdstFormatting,
    vdstFormattingPart,
    vdstChangingBkPalette,
    vdstCompletelySelected,
    vdstClearing,
    vdstDoNotMoveChildren,
    vdstForceStyleChangeEvent,
    vdstIgnoreNextChar,
    vdstDoNotTab,
    vdstDeselecting,
    vdstUnAssigningChosen,
    vdstNoScroll,
    vdstFinalizingUndo,
    vdstRTFSkipPar,
    vdstLoadingAsPartOfItem,
    vdstLoadingAsSubDoc,
    vdstNoKillFocusEvents,
    vdstEditorUnformatted,
    vdstNameSet,
    vdstFirstParaAborted,
    vdstLastParaAborted,
    vdstInvalidSelection,
    vdstDoNotClearCurTag,
    vdstStartingDragDrop,
    vdstCanDragDropDeleteSelection,
    vdstKeyPress,
    vdstDoNotSaveContent,
    vdstPreserveSoftPageBreaks,
    vdstNoDBExitUpdate,
    vdstSavingPage,
    vdstCreatingInplace,
    vdstNoSpecialCharacters,
    vdstJumpsJustBuilt,
    vdstNoStyleTemplateAdustment,
    vdstTouchMouseDown
};
using TVDStates = rtl::TSet<TVDState, 39>;

enum TVDOption : uint8_t {
    vdoAllowSelection,
    vdoSingleClick,
    vdoScrollToEnd,
    vdoClientTextWidth,
    vdoShowCheckpoints,
    vdoShowPageBreaks,
    vdoShowSpecialCharacters,
    vdoShowHiddenText,
    vdoTagsArePChars,
    vdoAutoCopyText,
    vdoAutoCopyUnicodeText,
    vdoAutoCopyVDF,
    vdoAutoCopyImage,
    vdoAutoCopyRTF,
    vdoFormatInvalidate,
    vdoDblClickSelectsWord,
    vdoRClickDeselects,
    vdoDisallowDrag,
    vdoShowItemHints,
    vdoShowGridLines,
    vdoFastFormatting,
    vdoPercentEncodedURL
};
using TVDOptions = rtl::TSet<TVDOption, 22>;

// The document flags; formatted documents keep them (the root's come from its control).
enum TVDFlag : uint8_t {
    vdflUseJumps,
    vdflIgnoreMouseLeave,
    vdflTrim,
    vdflShareContents,
    vdflUseExternalLeading,
    vdflMouseXYAlwaysCorrect,
    vdflAllowCustomDrawItems,
    vdflPrinting,
    vdflRootEditor,
    vdflRoot,
    vdflRAVoviVevuVado,
    vdflCanUseCustomPPI,
    vdflCanProcessGetText,
    vdflProcessedWidthHeight
};
using TVDFlags = rtl::TSet<TVDFlag, 14>;

enum TVDItemAction : uint8_t {
    vdiaInserting,
    vdiaInserted,
    vdiaTextModifying,
    vdiaDestroying,
    vdiaMovingToUndoList
};

enum TVDBreakStyle : uint8_t { vdbsLine, vdbsRectangle, vdbs3d, vdbsDotted, vdbsDashed };

enum TVDVAlign : uint8_t {
    vdvaBaseline,
    vdvaMiddle,
    vdvaAbsTop,
    vdvaAbsBottom,
    vdvaAbsMiddle,
    vdvaLeft,
    vdvaRight
};

enum TVDLongOperation : uint8_t {
    vdloRTFRead,
    vdloRTFWrite,
    vdloVDFRead,
    vdloVDFWrite,
    vdloHTMLRead,
    vdloHTMLWrite,
    vdloTextRead,
    vdloTextWrite,
    vdloConvertImport,
    vdloConvertExport,
    vdloXMLRead,
    vdloXMLWrite,
    vdloDocXRead,
    vdloDocXWrite,
    vdloOtherRead,
    vdloOtherWrite
};
enum TVDProgressStage : uint8_t { vdpstgStarting, vdpstgRunning, vdpstgEnding };
enum TVDFSaveScope : uint8_t {
    vdfss_Full,
    vdfss_Selection,
    vdfss_Page,
    vdfss_FromPage,
    vdfss_FullInPage
};

// An opaque reference to a checkpoint, handed out and taken back by the checkpoint operations.
using TCheckpointData = TVDCPInfo *;

// EnumItems calls it for each item; clearing cont ends the walk of this level.
using TVDEnumItemsProc =
    std::function<void(TCustomVDData &vdData, int32_t itemNo, int32_t &userData1,
                       const rtl::UnicodeString &userData2, bool &cont)>;
// EnumItemsEx: the procedure may move itemNo, and clears goInside to skip sub-documents.
using TVDEnumItemsProcEx = std::function<void(TCustomVDData &vdData, int32_t &itemNo,
                                              void *&userData, bool &goInside, bool &cont)>;

// The system's warning sound: the handler that a test sets, else the system's default beep.
void SystemBeep();
void SetSystemBeepHandler(std::function<void()> handler);

class TCustomVDData : public TCustomVDDataHooks {
public:
    TCustomVDData();
    ~TCustomVDData() override;
    TCustomVDData(const TCustomVDData &) = delete;
    TCustomVDData &operator=(const TCustomVDData &) = delete;

    // ---- Fields ----
    int32_t FFirstJumpNo = 0;
    TVDCPInfo *FirstCP = nullptr;
    TVDCPInfo *LastCP = nullptr;
    TVDCPInfo *NotAddedCP = nullptr; // the pending checkpoint, owned
    TVDStates State;
    int32_t FFirstParaListNo = -1;
    int32_t FFirstParaLevel = -1;
    int32_t CPCount = 0;

    TVDItemList &GetItems() const { return *FItems; }
    int32_t ItemCount() const { return FItems->Count(); }
    int32_t GetItemCount() const { return ItemCount(); }

    // ---- The tree ----
    virtual TCustomVDData *GetParentData() { return nullptr; }
    virtual TCustomVDData *GetRootData() { return this; }
    virtual TCustomVDData *GetAbsoluteParentData() { return nullptr; }
    virtual TCustomVDData *GetAbsoluteRootData() { return this; }
    virtual TCustomVDData *GetVDData() { return this; }
    virtual TCustomVDData *GetSourceVDData() { return this; }
    virtual TCustomVDData *GetChosenVDData() { return nullptr; }
    virtual TCustomVDItemInfo *GetChosenItem() { return nullptr; }
    TCustomVDData *GetTopLevelChosenVDData();
    // The item of the parent that holds this document, and where in it; -1 for a top document.
    virtual void GetParentInfo(int32_t &parentItemNo, std::unique_ptr<TVDStoreSubVDData> &location);
    int32_t GetAbsoluteRootItemNo(int32_t itemNo);
    virtual bool SharesItems() const { return false; }

    // ---- Answered by the parent: the style sheet ----
    virtual TVDStyle *GetVDStyle();

    // ---- Flags: kept by formatted documents; a plain document has none ----
    virtual TVDFlags GetFlags() { return {}; }
    virtual void SetFlags(TVDFlags) {}

    // ---- Answered by the root ----
    virtual TVDOptions GetOptions();
    // Words wrap at line ends (true for a document that is its own root).
    virtual bool GetWordWrap();
    // The most characters a line holds; 0 or less: no limit.
    virtual int32_t GetMaxLength();
    // The window control that shows the document tree; nullptr when none.
    virtual ui::TControl *GetParentControl();
    virtual void SetOptions(TVDOptions value);
    virtual rtl::UnicodeString GetDelimiters();
    virtual TVDBiDiMode GetBiDiMode();
    virtual TVDDocParameters *GetDocParameters(bool allowCreate);
    // The RTF reading settings of the control that shows the document; nullptr when none.
    virtual TVDRTFReaderProperties *GetRTFReadProperties();
    // The settings of reading and writing the native format and RTF, and the warnings of the
    // last reading (kept by a document that is its own root; none at first).
    virtual TVDFOptions GetVDFOptions();
    virtual void SetVDFOptions(TVDFOptions value);
    virtual TVDRTFOptions GetRTFOptions();
    virtual void SetRTFOptions(TVDRTFOptions value);
    virtual TVDFWarnings GetVDFWarnings();
    virtual void SetVDFWarnings(TVDFWarnings value);
    // How read styles join the sheet (vdf_sInsertMerge for a document that is its own root).
    virtual TVDFReaderStyleMode GetVDFTextStylesReadMode();
    virtual TVDFReaderStyleMode GetVDFParaStylesReadMode();
    // A hyperlink read from RTF, HTML or DOCX: over a bullet it becomes a hotspot, over a
    // picture a hot picture; the root's handler may change the style, tag and name, else the
    // tag is the target.
    virtual void ReadHyperlink(const rtl::UnicodeString &target, const rtl::UnicodeString &extras,
                               TVDLoadFormat docFormat, int32_t &styleNo, TVDTag &itemTag,
                               TVDRawByteString &itemName);
    // What the application supplies while the native format is read: a control, an image list,
    // a picture; nullptr when none.
    virtual ui::TControl *VDFControlNeeded(const rtl::UnicodeString &itemName,
                                           const TVDTag &itemTag);
    gfx::TCustomImageList *VDFImageListNeeded(int32_t imageListTag) override;
    virtual std::unique_ptr<gfx::TGraphic> VDFPictureNeeded(const rtl::UnicodeString &itemName,
                                                            TCustomVDItemInfo *item, int32_t index1,
                                                            int32_t index2);

    // ---- Answered by the parent ----
    // The style maps of a native-format reading, shared by nested readings (all nullptr for a
    // document without a parent that keeps none).
    virtual void InitStyleMappings(TVDIntegerList *&textStylesMapping,
                                   TVDIntegerList *&paraStylesMapping,
                                   TVDIntegerList *&listStylesMapping, TVDStyleUnits *&units);
    virtual void DoneStyleMappings();

    // ---- Answered by the absolute root ----
    virtual bool UseStyleTemplates();
    virtual TVDStyleTemplateInsertMode StyleTemplateInsertMode();
    virtual void DoStyleTemplatesChange();
    // Texts the application adds to exported documents ("" when none).
    virtual TVDAnsiString GetExtraRTFCode(TVDRTFSaveArea area, const void *obj, int32_t index1,
                                          int32_t index2, bool inStyleSheet);
    virtual TVDAnsiString GetExtraDocXCode(TVDDocXSaveArea area, const void *obj, int32_t index1,
                                           int32_t index2);
    virtual rtl::UnicodeString GetExtraHTMLCode(TVDHTMLSaveArea area, bool cssVersion);
    virtual rtl::UnicodeString GetParaHTMLCode(TCustomVDData *vdData, int32_t itemNo,
                                               bool paraStart, bool cssVersion);
    // The target and extra attributes of a hyperlink being saved; without a handler at the
    // root the target is the item's tag.
    virtual void WriteHyperlink(int32_t id, TCustomVDData *vdData, int32_t itemNo,
                                TVDSaveFormat saveFormat, rtl::UnicodeString &target,
                                rtl::UnicodeString &extras);
    // True when the application saved the item itself (text holds what it wrote).
    virtual bool SaveItemToFile(const rtl::UnicodeString &path, TCustomVDData *vdData,
                                int32_t itemNo, TVDSaveFormat saveFormat, bool unicode,
                                TVDRawByteString &text);
    // A picture read from an imported document's location; nullptr (invalid unchanged) when the
    // application gives none.
    virtual std::unique_ptr<gfx::TGraphic>
    ImportPicture(const rtl::UnicodeString &location, int32_t width, int32_t height, bool &invalid);
    virtual void SaveImage2(TCustomVDData *vdData, int32_t itemNo, gfx::TGraphic *graphic,
                            TVDSaveFormat saveFormat, const rtl::UnicodeString &path,
                            const rtl::UnicodeString &imagePrefix, int32_t &imageSaveNo,
                            rtl::UnicodeString &location, bool &doDefault);
    // The text that stands for a control in a text format ("" when none).
    virtual rtl::UnicodeString SaveComponentToFile(const rtl::UnicodeString &path,
                                                   ui::TControl *saveMe, TVDSaveFormat saveFormat);
    virtual void HTMLSaveImage(TCustomVDData *vdData, int32_t itemNo,
                               const rtl::UnicodeString &path, gfx::TColor backgroundColor,
                               rtl::UnicodeString &location, bool &doDefault);
    // Tells the absolute root's application of a control item's event (only control items);
    // a handler may replace or release the control (see TVDControlItemInfo::SwapControl).
    virtual void ControlAction(TCustomVDData *vdData, TVDControlAction action, int32_t itemNo,
                               TCustomVDItemInfo &item);
    // The application's side of ControlAction (nothing here; the viewer's root raises its
    // event).
    virtual void ControlAction2(TCustomVDData *, TVDControlAction, int32_t, ui::TControl *&) {}
    virtual TVDThumbnailCache *GetThumbnailCache();
    virtual void ItemAction(TVDItemAction action, TCustomVDItemInfo &item, TVDRawByteString &text,
                            TCustomVDData &vdData);
    // The number text that a note reference shows; empty for a document that is its own root.
    virtual rtl::UnicodeString GetNoteText();
    virtual bool IsAssignedOnProgress();
    virtual void DoProgress(TVDLongOperation operation, TVDProgressStage stage, int32_t percent);
    void AfterAddStyle(TCustomVDInfo &styleInfo) override;

    // ---- Answered by the absolute parent: lists of special items ----
    virtual TVDMarkerList *GetMarkers(bool allowCreate);
    virtual void DestroyMarkers();
    virtual TVDSeqList *GetSeqList(bool allowCreate);
    virtual void DestroySeqList();
    virtual std::vector<TCustomVDItemInfo *> *GetPrintFieldList(bool allowCreate);
    virtual void DestroyPrintFieldList();
    virtual rtl::UnicodeString GetItemHint(TCustomVDData &vdData, int32_t itemNo,
                                           const rtl::UnicodeString &upperHint);

    // ---- Constant answers ----
    // The URL of hyperlink id ("" here; the viewer's root asks its application).
    virtual rtl::UnicodeString GetURL(int32_t) { return {}; }
    virtual rtl::TStringList *GetDocProperties() { return nullptr; }
    virtual std::vector<TCustomVDData *> *GetExtraDocuments() { return nullptr; }
    virtual void DoBeforeSaving() {}
    // ---- The outside page-layout component (CVDData_PageLayout.cpp) ----
    // The absolute root's; nullptr when the application supplies none.
    virtual IVDRazavIrezIzirInterface *GetRazavIrezIzirInterface();
    // Tells the component that the note item itemNo of vdData was read.
    void AfterReadNote(TCustomVDData *vdData, int32_t itemNo);
    virtual bool CanLoadLayout() { return false; }
    virtual uint32_t GetColor() { return 0x1FFFFFFF; } // clNone
    virtual TVDDocRotation GetRotation() { return vdrotNone; }
    virtual bool UseVerticalFonts() { return false; }
    virtual bool KeepTogether() { return false; }
    virtual bool AllowsPageBreaks() { return true; }

    // The refusal beep: the system's warning sound when the style sheet's UseSound is set.
    void Beep();

    // ---- Building ----
    void SetAddParagraphMode(bool allowNewPara) { FAllowNewPara = allowNewPara; }
    bool GetAddParagraphMode() const { return FAllowNewPara; }
    void AddItemR(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item, bool adjustPara);
    void AddItemAsIsR(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item);
    void AddItem(const rtl::UnicodeString &text, std::unique_ptr<TCustomVDItemInfo> item);
    void AddNLRTag(TVDRawByteString s, int32_t styleNo, int32_t paraNo, const TVDTag &tag);
    void AddNLR(TVDRawByteString s, int32_t styleNo, int32_t paraNo);
    void AddNLATag(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo, const TVDTag &tag);
    void AddNLWTagRaw(const TVDRawByteString &s, int32_t styleNo, int32_t paraNo,
                      const TVDTag &tag);
    void AddNLWTag(std::u16string_view s, int32_t styleNo, int32_t paraNo, const TVDTag &tag);
    void AddNLTag(std::u16string_view s, int32_t styleNo, int32_t paraNo, const TVDTag &tag) {
        AddNLWTag(s, styleNo, paraNo, tag);
    }
    void AddNL(std::u16string_view s, int32_t styleNo, int32_t paraNo) {
        AddNLWTag(s, styleNo, paraNo, {});
    }
    // AddNLTag of the formatted text (the class library's Format; a mismatch of format and
    // arguments raises its EConvertError).
    void AddFmt(const rtl::UnicodeString &formatStr, std::initializer_list<rtl::TVarRec> args,
                int32_t styleNo, int32_t paraNo);
    void AddTab(int32_t textStyleNo, int32_t paraNo);
    void AddBreakExTag(TVDStyleLength width, TVDBreakStyle style, TColor color, const TVDTag &tag);
    void AddBreakEx(TVDStyleLength width, TVDBreakStyle style, TColor color) {
        AddBreakExTag(width, style, color, {});
    }
    void AddBreakTag(const TVDTag &tag);
    void AddBreak() { AddBreakTag({}); }
    // The item owns gr from then on.
    void AddPictureExTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                         int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag);
    void AddPictureEx(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr, int32_t paraNo,
                      TVDVAlign vAlign) {
        AddPictureExTag(name, std::move(gr), paraNo, vAlign, {});
    }
    void AddHotPictureTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                          int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag);
    void AddHotPicture(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr, int32_t paraNo,
                       TVDVAlign vAlign) {
        AddHotPictureTag(name, std::move(gr), paraNo, vAlign, {});
    }
    // The item owns ctrl from then on; ctrl's parent window becomes the document's parent
    // control.
    void AddControlExTag(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl,
                         int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag);
    void AddControlEx(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl, int32_t paraNo,
                      TVDVAlign vAlign);
    // Image imageIndex of imageList (which the application keeps) on the text's baseline.
    void AddBulletExTag(const TVDAnsiString &name, int32_t imageIndex,
                        gfx::TCustomImageList *imageList, int32_t paraNo, const TVDTag &tag);
    void AddBulletEx(const TVDAnsiString &name, int32_t imageIndex,
                     gfx::TCustomImageList *imageList, int32_t paraNo) {
        AddBulletExTag(name, imageIndex, imageList, paraNo, {});
    }
    // A bullet that is a hyperlink and shows hotImageIndex while the mouse is over it.
    void AddHotspotExTag(const TVDAnsiString &name, int32_t imageIndex, int32_t hotImageIndex,
                         gfx::TCustomImageList *imageList, int32_t paraNo, const TVDTag &tag);
    void AddHotspotEx(const TVDAnsiString &name, int32_t imageIndex, int32_t hotImageIndex,
                      gfx::TCustomImageList *imageList, int32_t paraNo) {
        AddHotspotExTag(name, imageIndex, hotImageIndex, imageList, paraNo, {});
    }
    // The number of the checkpoint the next appended item receives; when one is pending already,
    // nothing is made and CPCount - 1 is returned.
    int32_t AddNamedCheckpointExTag(const rtl::UnicodeString &cpName, bool raiseEvent,
                                    const TVDTag &tag);

    // ---- Multi-line text (CVDData_Text.cpp) ----
    // 8-bit text split at line ends (CR, LF, their pairs), form feeds (a page break before the
    // next line) and, when the style sheet keeps tabs (SpacesInTab <= 0), tabs (tab items):
    // the first line gets firstParaNo (-1: it continues the current line), the others
    // otherParaNo; asSingleParagraph makes the later lines line breaks of one paragraph.
    // fromAnsi: the text is converted for Unicode styles (from codePage when it is not 0).
    // False when it failed part-way (what was added stays).
    bool AddTextNLARaw(const TVDAnsiString &s, int32_t styleNo, int32_t firstParaNo,
                       int32_t otherParaNo, bool asSingleParagraph, bool fromAnsi,
                       TVDCodePage codePage, const TVDTag &tag);
    void AddTextNLR(const TVDRawByteString &s, int32_t styleNo, int32_t firstParaNo,
                    int32_t otherParaNo, const TVDTag &tag);
    void AddTextNLA(const TVDAnsiString &s, int32_t styleNo, int32_t firstParaNo,
                    int32_t otherParaNo, const TVDTag &tag);
    void AddTextBlockNLA(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo,
                         const TVDTag &tag);
    // UTF-16LE text split the same way, also at VT and U+2028 (line breaks inside the
    // paragraph) and U+2029 (a new paragraph even in single-paragraph mode); a byte-order mark
    // is dropped (a swapped one swaps the text). An odd byte length raises the Unicode error.
    void AddTextNLWRaw(const TVDRawByteString &s, int32_t styleNo, int32_t firstParaNo,
                       int32_t otherParaNo, bool defAsSingleParagraph);
    void AddTextNLW(std::u16string_view s, int32_t styleNo, int32_t firstParaNo,
                    int32_t otherParaNo, bool defAsSingleParagraph);
    void AddTextNL(std::u16string_view s, int32_t styleNo, int32_t firstParaNo,
                   int32_t otherParaNo) {
        AddTextNLW(s, styleNo, firstParaNo, otherParaNo, false);
    }

    // ---- Plain-text files (formats/text/CVDData_TextFile.cpp) ----
    // The rest of the stream as 8-bit text in codePage (0: the style's own), zero bytes shown
    // as "?"; a UTF-8 signature is dropped when codePage is UTF-8. False when it failed.
    bool LoadTextFromStream(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                            bool asSingleParagraph, TVDCodePage codePage);
    // False also when the file cannot be opened.
    bool LoadText(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                  bool asSingleParagraph, TVDCodePage codePage);
    // The rest of the stream as UTF-16LE (a signature says the byte order); False on any
    // failure, an odd byte count included.
    bool LoadTextFromStreamW(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                             bool defAsSingleParagraph);
    // Raises the file error when the file cannot be opened.
    bool LoadTextW(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                   bool defAsSingleParagraph);
    // The document (or selection) as text, CR LF between lines; 8-bit text in codePage (0:
    // the default code page) or UTF-16LE. False when writing failed.
    bool SaveTextToStream(const rtl::UnicodeString &path, rtl::TStream &stream, int32_t lineWidth,
                          bool selectionOnly, bool textOnly, bool unicode,
                          bool unicodeWriteSignature, TVDCodePage codePage, bool root);
    // Writes a temporary file beside fileName and renames it over the name, so that a failed
    // save leaves an existing file whole; UTF-16 text starts with its signature.
    bool SaveText(const rtl::UnicodeString &fileName, int32_t lineWidth, bool unicode,
                  TVDCodePage codePage);

    // ---- RTF (defined in formats/rtf/CVDData_RTF.cpp) ----
    // Appends the RTF to the document with GetRTFReadProperties (rtf_ec_Assertion, nothing
    // changed, when there are none), then merges the item before the appended ones and them
    // where possible. LoadRTF reads relative picture paths against the file's folder.
    TVDRTFErrorCode LoadRTF(const rtl::UnicodeString &fileName);
    TVDRTFErrorCode LoadRTFFromStream(rtl::TStream &stream);

    // ---- HTML (defined in formats/html/) ----
    // The document as HTML with font tags (SaveHTML*) or with CSS (SaveHTML*Ex), whole or one
    // of its three parts (head, content, end) by the options. The file forms write through a
    // temporary file renamed over the name, with Path := the file's folder; a failed save
    // (false) leaves an existing file and no picture files of its own behind. The stream forms
    // give false without a style sheet or on any exception; what was written stays.
    bool SaveHTML(const rtl::UnicodeString &fileName, TVDHTMLSaveParams &params);
    virtual bool SaveHTMLToStream(rtl::TStream &stream, TVDHTMLSaveParams &params);
    bool SaveHTMLEx(const rtl::UnicodeString &fileName, TVDHTMLSaveParams &params);
    virtual bool SaveHTMLToStreamEx(rtl::TStream &stream, TVDHTMLSaveParams &params);
    // The next item exists, continues the line, is a text item and begins with a space.
    bool NextItemFromSpace(int32_t itemNo);
    // The start tag of the hyperlink of itemNo ("" when the document gives no target or
    // extras); classAttr: the CSS writer's class or style attribute.
    TVDAnsiString GetHTMLLinkOpenTag(int32_t itemNo, const TVDAnsiString &classAttr,
                                     TVDSaveOptions options);
    // The named anchor of a checkpoint (nothing for none); count grows by 1.
    void WriteHTMLCheckpoint(rtl::TStream &stream, const TVDCPInfo *checkpoint,
                             TVDSaveOptions options, bool lineBefore,
                             const rtl::UnicodeString &prefix, int32_t &count);
    // The HTML text of itemNo in the output encoding.
    TVDRawByteString GetItemTextForHTML(const rtl::UnicodeString &path, int32_t itemNo,
                                        TVDSaveOptions options, bool useCSS);
    // The location of the saved background picture, "" when none.
    rtl::UnicodeString SaveBackgroundToHTML(const gfx::TGraphic &bmp, TColor color,
                                            TVDHTMLSaveParams &params);
    // Picture files beside a document being saved: the next free name
    // (ImagesPrefix[Path] + counter + ext, the counter advanced); the application's save,
    // else SavePicture. SavePicture raises file and picture errors; the file appears whole or
    // not at all.
    virtual rtl::UnicodeString GetNextFileName(const rtl::UnicodeString &imagesPrefix,
                                               const rtl::UnicodeString &path,
                                               const rtl::UnicodeString &ext, int32_t &imgSaveNo,
                                               bool overrideFiles);
    virtual rtl::UnicodeString DoSavePicture(TVDSaveFormat documentSaveFormat,
                                             TCustomVDData *vdData, int32_t itemNo,
                                             const rtl::UnicodeString &imgSavePrefix,
                                             const rtl::UnicodeString &path, int32_t &imgSaveNo,
                                             bool overrideFiles, TColor currentFileColor,
                                             const gfx::TGraphic &gr);
    rtl::UnicodeString SavePicture(TVDSaveFormat documentSaveFormat,
                                   const rtl::UnicodeString &imgSavePrefix,
                                   const rtl::UnicodeString &path, int32_t &imgSaveNo,
                                   bool overrideFiles, TColor currentFileColor,
                                   const gfx::TGraphic &gr);
    // The picture files SavePicture writes are noted here while a file save runs, so that a
    // failed save removes them (nullptr otherwise).
    std::vector<rtl::UnicodeString> *SavedPictureFiles = nullptr;

    // ---- The checkpoint chain ----
    void SetCP(TCustomVDItemInfo &item, TVDCPInfo *&prevCP, TVDCPInfo *&cp);
    void UnlinkCheckpoint(TVDCPInfo &cp, bool decCPCount);
    void FreeCheckpoint(TVDCPInfo *&cp, bool adjustLinks, bool decCPCount);

    // ---- Deleting and clearing ----
    virtual void DeleteItems(int32_t firstItemNo, int32_t count);
    void DeleteSection(const rtl::UnicodeString &cpName);
    // Frees the item at itemNo; the (now empty) entry stays for the caller to remove.
    void FreeItem(int32_t itemNo, bool clearing);
    virtual void DestroyItem(std::unique_ptr<TCustomVDItemInfo> item, bool clearing);
    virtual void Clear();

    // ---- Item text ----
    int32_t ItemLength(int32_t itemNo);
    int32_t GetOffsBeforeItem(int32_t itemNo);
    int32_t GetOffsAfterItem(int32_t itemNo);
    TVDUnicodeString GetItemTextW(int32_t itemNo);
    TVDUnicodeString GetItemText(int32_t itemNo) { return GetItemTextW(itemNo); }
    TVDUnicodeString GetItemTextExW(int32_t itemNo, const TVDRawByteString &sourceStr);
    TVDAnsiString GetItemTextExA(int32_t itemNo, TVDCodePage codePage);
    TVDAnsiString GetItemTextA(int32_t itemNo);
    TVDRawByteString GetTextInItemFormatA(int32_t itemNo, const TVDAnsiString &s);
    TVDRawByteString GetTextInItemFormatW(int32_t itemNo, std::u16string_view s);
    void SetItemTextW(int32_t itemNo, std::u16string_view s);
    void SetItemText(int32_t itemNo, std::u16string_view s) { SetItemTextW(itemNo, s); }
    void SetItemTextA(int32_t itemNo, const TVDAnsiString &s);
    TVDRawByteString GetItemTextR(int32_t itemNo);
    // Raises the Unicode-operation error for an odd length on a Unicode item.
    void SetItemTextR(int32_t itemNo, TVDRawByteString s);
    // Each tab becomes SpacesInTab spaces (8 without a style sheet; none when 0 or less).
    TVDRawByteString ReplaceTabs(const TVDRawByteString &s, int32_t styleNo, bool unicodeDef);

    // ---- Items ----
    TCustomVDItemInfo *GetItem(int32_t itemNo) const { return FItems->GetObject(itemNo); }
    int32_t GetItemNo(const TCustomVDItemInfo *item) const { return FItems->IndexOfObject(item); }
    void AdjustInItemsRange(int32_t &itemNo) const;
    void Inserting(TCustomVDData *vdData, bool safe);
    void SetParagraphStyleToAll(int32_t paraNo);

    // ---- Code pages, locales, delimiters ----
    TVDCodePage GetStyleCodePage(int32_t styleNo);
    TVDCodePage GetItemCodePage(int32_t itemNo);
    TVDCodePage GetItemCodePage2(TCustomVDItemInfo &item);
    bool IsSymbolCharset(int32_t itemNo);
    uint32_t GetStyleLocale(int32_t styleNo);
    TVDCodePage GetDefaultCodePage();
    bool IsDelimiterW(char16_t ch);
    bool IsDelimiterA(char ch, TVDCodePage codePage);
    bool IsDelimiter(const TVDRawByteString &s, int32_t index, TVDItemOptions itemOptions,
                     TVDCodePage codePage);

    // ---- Moving item lists ----
    void ShareItemsFrom(TCustomVDData &source);
    // Goes back to the document's own (empty) item list without touching the shared one, which
    // may be gone already (its document destroyed).
    void StopSharingItems() { FItems = FOwnItems.get(); }
    void AssignItemsFrom(TCustomVDData &source);
    void AppendFrom(TCustomVDData &source);
    void DrainFrom(TCustomVDData *victim);
    static void ReplaceZeroChars(TVDAnsiString &s);

    // ---- Item properties by index ----
    // EViziVoduError "Can't get or set this kind of information for this item" unless the item
    // is of itemClass or a descendant.
    void CheckItemClass(int32_t itemNo, TVDItemClass itemClass);
    // EViziVoduError "Item index is out of bounds".
    void CheckItemIndex(int32_t itemNo) const;
    void GetPictureInfo(int32_t itemNo, TVDAnsiString &name, gfx::TGraphic *&gr, TVDVAlign &vAlign,
                        TVDTag &tag);
    // True when the size or the alignment changes (the caller must reformat).
    bool SetPictureInfo(int32_t itemNo, const TVDAnsiString &name,
                        std::unique_ptr<gfx::TGraphic> gr, TVDVAlign vAlign, const TVDTag &tag);
    void GetControlInfo(int32_t itemNo, TVDAnsiString &name, ui::TControl *&ctrl, TVDVAlign &vAlign,
                        TVDTag &tag);
    // The control stays; true when the vertical alignment changed.
    bool SetControlInfo(int32_t itemNo, const TVDAnsiString &name, TVDVAlign vAlign,
                        const TVDTag &tag);
    // Bullets and hotspots.
    void GetBulletInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                       gfx::TCustomImageList *&imageList, TVDTag &tag);
    // The item keeps its image list, whatever imageList is given.
    void SetBulletInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                       gfx::TCustomImageList *imageList, const TVDTag &tag);
    void GetHotspotInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                        int32_t &hotImageIndex, gfx::TCustomImageList *&imageList, TVDTag &tag);
    // The item keeps its image list, whatever imageList is given.
    void SetHotspotInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                        int32_t hotImageIndex, gfx::TCustomImageList *imageList, const TVDTag &tag);
    // The first item that owns ctrl; -1 when none.
    int32_t FindControlItemNo(ui::TControl *ctrl) const;
    void GetBreakInfo(int32_t itemNo, TVDStyleLength &width, TVDBreakStyle &style, TColor &color,
                      TVDTag &tag);
    void SetBreakInfo(int32_t itemNo, TVDStyleLength width, TVDBreakStyle style, TColor color,
                      const TVDTag &tag);
    void GetTextInfo(int32_t itemNo, TVDUnicodeString &text, TVDTag &tag);
    TVDTag GetItemTag(int32_t itemNo);
    void SetItemTag(int32_t itemNo, const TVDTag &tag);
    TVDVAlign GetItemVAlign(int32_t itemNo);
    void SetItemVAlign(int32_t itemNo, TVDVAlign vAlign);
    void SetGrouped(int32_t itemNo, bool grouped);
    TVDItemOptions GetItemOptions(int32_t itemNo);
    bool SetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop, int32_t value);
    bool GetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop, int32_t &value);
    bool SetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t value);
    bool GetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t &value);
    bool SetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                 const rtl::UnicodeString &value);
    bool GetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                 rtl::UnicodeString &value);
    bool SetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop, const rtl::UnicodeString &value);
    bool GetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop, rtl::UnicodeString &value);

    // ---- Paragraph structure ----
    bool IsFromNewLine(int32_t itemNo);
    bool IsParaStart(int32_t itemNo);
    int32_t GetItemPara(int32_t itemNo);
    bool GetPageBreaksBeforeItems(int32_t index);
    // On the item right after a list marker, the marker takes the page break.
    void SetPageBreaksBeforeItems(int32_t index, bool value);
    bool GetClearLeft(int32_t index);
    void SetClearLeft(int32_t index, bool value);
    bool GetClearRight(int32_t index);
    void SetClearRight(int32_t index, bool value);
    void SpreadParaNoInPara(int32_t itemNo);
    int32_t GetFirstParaItem(int32_t itemNo);
    int32_t GetFirstParaSectionItem(int32_t itemNo);
    void ExpandToPara(int32_t itemNo1, int32_t itemNo2, int32_t &firstItemNo, int32_t &lastItemNo);
    void ExpandToParaSection(int32_t itemNo1, int32_t itemNo2, int32_t &firstItemNo,
                             int32_t &lastItemNo);
    bool IsHiddenItem(int32_t itemNo);
    bool IsHiddenParaEnd(int32_t firstItemNo);
    int32_t GetNextCharPos(const TVDRawByteString &s, int32_t itemNo, int32_t pos);
    int32_t GetPrevCharPos(const TVDRawByteString &s, int32_t itemNo, int32_t pos);

    // ---- Effective text style ----
    int32_t GetItemStyle(int32_t itemNo);
    // StyleNoParaDefault resolved to the paragraph's default, style templates applied; the item
    // is corrected in place.
    int32_t GetActualStyle(TCustomVDItemInfo &item);
    int32_t GetActualTextStyle(TCustomVDItemInfo &item);
    int32_t GetActualStyleEx(int32_t styleNo, int32_t paraNo);
    int32_t GetStyleFromStyleTemplate(int32_t styleNo, int32_t paraNo);
    virtual void ModifyStyleNoByTemplate(TCustomVDItemInfo &item, int32_t newStyleNo);
    int32_t GetFirstTextStyleNo(bool onlyWithEmptyTags);
    int32_t GetFirstParaStyleNo();
    // The default text style of paragraph style paraNo (0 when it has none).
    int32_t GetParaDefaultTextStyle(int32_t paraNo);

    // ---- Checkpoints ----
    TCheckpointData GetFirstCheckpoint();
    TCheckpointData GetLastCheckpoint();
    TCheckpointData GetNextCheckpoint(TCheckpointData checkpointData);
    TCheckpointData GetPrevCheckpoint(TCheckpointData checkpointData);
    TCheckpointData GetItemCheckpoint(int32_t itemNo);
    TCheckpointData FindCheckpointByName(const rtl::UnicodeString &name);
    TCheckpointData FindCheckpointByTag(const TVDTag &tag);
    TCheckpointData GetCheckpointByNo(int32_t no);
    int32_t GetCheckpointItemNo(TCheckpointData checkpointData);
    int32_t GetCheckpointNo(TCheckpointData checkpointData);
    void GetCheckpointInfo(TCheckpointData checkpointData, TVDTag &tag, rtl::UnicodeString &name,
                           bool &raiseEvent);
    void SetCheckpointInfo(int32_t itemNo, const TVDTag &tag, const rtl::UnicodeString &name,
                           bool raiseEvent);
    bool RemoveCheckpoint(int32_t itemNo);
    void CreateItemCheckpoint(int32_t itemNo, const TVDTag &tag, bool raiseEvent,
                              const rtl::UnicodeString &name);
    void UpdateCPPos(TVDCPInfo &cp, int32_t itemNo);
    void RefreshCheckpointItemNos();
    TVDCPInfo *FindCheckpointBeforeItem(int32_t itemNo);

    // ---- Saving support ----
    TVDFSaveScope GetVDFSaveScope(bool selectionOnly);

    // ---- The native format (formats/vdf/) ----
    // The writer: false when writing failed. An empty document writes nothing.
    bool SaveVDFToStreamEx(rtl::TStream &stream, TVDFSaveScope saveScope, uint32_t color,
                           TVDBackground *background, TVDLayoutInfo *layout, bool root,
                           PVDScreenAndDevice sad);
    bool SaveVDFToStream(rtl::TStream &stream, bool selectionOnly, uint32_t color,
                         TVDBackground *background, TVDLayoutInfo *layout, bool root);
    // Writes a temporary file beside fileName and renames it over the name, so that a failed
    // save leaves an existing file whole; false on any failure.
    bool SaveVDF(const rtl::UnicodeString &fileName, bool selectionOnly, uint32_t color,
                 TVDBackground *background, TVDLayoutInfo *layout, bool root);
    // The reader: inserts at index what the stream holds from its position to its end. False
    // when the data is malformed; the items inserted before the fault stay.
    bool ReadVDFFromStream(rtl::TStream &stream, int32_t &index, bool editFlag, bool appendMode,
                           bool allowReplaceStyles, int32_t appendParaNo, uint32_t &color,
                           TVDBackground *background, TVDLayoutInfo *layout, bool &failed,
                           int32_t &nonFirstItemsAdded, bool &fullReformat);
    bool InsertVDFFromStream(rtl::TStream &stream, int32_t index, uint32_t &color,
                             TVDBackground *background, TVDLayoutInfo *layout,
                             bool allowReplaceStyles);
    bool AppendVDFFromStream(rtl::TStream &stream, int32_t paraNo, uint32_t &color,
                             TVDBackground *background);
    // Clear, then insert at 0 with styles replaced. A stream that fails to load leaves the
    // document as it was: the items are read into a scratch document first.
    bool LoadVDFFromStream(rtl::TStream &stream, uint32_t &color, TVDBackground *background,
                           TVDLayoutInfo *layout);
    bool LoadVDF(const rtl::UnicodeString &fileName, uint32_t &color, TVDBackground *background,
                 TVDLayoutInfo *layout);
    // An Int32 length, then the whole document's VDF (not as a root, no background).
    virtual void SaveVDFSubDocument(rtl::TStream &stream);
    // The block SaveVDFSubDocument writes; EReadError "Error in reading VDF subdocument" when
    // it fails, with the document as it was.
    virtual void LoadVDFSubDocument(rtl::TStream &stream);
    void ApplyLayoutAbortInfo(const TVDLayoutInfo &layout);
    // Inserts the first item read at index; editors merge it with the caret's paragraph.
    virtual bool InsertFirstVDFItem(int32_t &index, TVDRawByteString &s,
                                    std::unique_ptr<TCustomVDItemInfo> &item, bool editFlag,
                                    bool &fullReformat, int32_t &newListNo);
    // The part of the document a save covers: first and last item, and the offsets in them
    // (text items: 1-based characters, the end offset past the last one saved; other items: 0
    // before, 1 after). Here the whole document; the formatted documents answer the selection
    // and printed pages.
    virtual void GetRangeForSaving(TVDFSaveScope saveScope, int32_t &startItemNo,
                                   int32_t &startOffs, int32_t &endItemNo, int32_t &endOffs);
    // The item that saves the range of saveScope itself (a table whose cells are selected), in
    // place of an item range; nullptr when the range is one of items.
    virtual TCustomVDItemInfo *GetItemSavingRange(TVDFSaveScope) { return nullptr; }
    // How deep sub-documents may nest in a stream being read; deeper data fails the read.
    static constexpr int32_t MaxVDFNestingDepth = 64;
    bool SaveProgressInit(int32_t &progress, int32_t max, TVDLongOperation operation);
    void SaveProgressRun(int32_t &progress, int32_t position, int32_t max,
                         TVDLongOperation operation);
    void SaveProgressDone(TVDLongOperation operation);

    // ---- RTF writing (formats/rtf/) ----
    // A complete RTF file (replacing an existing one); false on any failure.
    bool SaveRTF(const rtl::UnicodeString &fileName, bool selectionOnly, gfx::TColor color,
                 TVDBackground *background);
    // The one entry point of every RTF export. level: the table nesting level (0 for a main
    // document, 1 inside a cell of a top-level table); completeDocument: write the header,
    // tables and closing brace; hiddenParent: the text of a hidden item. color, unless
    // clWindow, only enters the colour table. The header and footer documents may be nullptr.
    // An empty range writes nothing. False when writing failed; nothing is raised.
    virtual bool SaveRTFToStream(rtl::TStream &stream, bool selectionOnly, int32_t level,
                                 gfx::TColor color, TVDBackground *background,
                                 TVDRTFSavingData &savingData, TVDRTFDocType docType,
                                 bool completeDocument, bool hiddenParent, TCustomVDData *header,
                                 TCustomVDData *footer, TCustomVDData *firstPageHeader,
                                 TCustomVDData *firstPageFooter, TCustomVDData *evenPagesHeader,
                                 TCustomVDData *evenPagesFooter);
    // The fonts of the text styles (styleToFont: each style's font number) and of list levels.
    void MakeFontTable(TCustomVDRTFTables &rtfTables, TVDIntegerList &styleToFont);
    // The colours of the styles and list levels, one override per list style.
    void MakeRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *listOverrideCountList,
                       bool addDefColors);
    // What the items of this document add to the tables.
    void FillRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *listOverrideCountList);

    // ---- DOCX writing (formats/ooxml/) ----
    // The document, or its selected range, as WordprocessingML. rootDocument: the declaration
    // and the part's root element (document, hdr or ftr by the context's part) are written
    // around it; inCell: the content of a table cell (a cell ending with a table gets a last
    // empty paragraph); hiddenParent: everything is hidden text. color: the page colour of a
    // main part (clNone or clWindow: none). Exceptions of items and hooks propagate.
    virtual void SaveOOXMLDocumentToStream(rtl::TStream &stream, const rtl::UnicodeString &path,
                                           bool selectionOnly, bool rootDocument, bool inCell,
                                           bool hiddenParent, gfx::TColor color,
                                           TVDBackground *background,
                                           TVDDocXSavingData &savingData);
    // A bookmark for a named checkpoint (its id from the context's counter); "" without name.
    TVDAnsiString GetOOXMLCheckpointStr(const TVDCPInfo &cp, TVDDocXSavingData &savingData);
    // The numbering part; the list tables were made with the context's first list-offset list.
    // Afterwards both offset lists hold the lists' first numbering ids. headers: the six header
    // and footer documents, nullptr where absent.
    void SaveOOXMLListTable(rtl::TStream &stream, TVDDocXSavingData &savingData,
                            TCustomVDData *const headers[6]);
    void SaveOOXMLFontTableToStream(rtl::TStream &stream);
    void SaveOOXMLStylesToStream(rtl::TStream &stream);
    // Always writes and answers true.
    bool SaveOOXMLDocumentSettingsToStream(rtl::TStream &stream);
    // False, with nothing written, when there are no core properties.
    bool SaveOOXMLCorePropertiesToStream(rtl::TStream &stream);

    // ---- Bidirectional text ----
    // The paragraph style's mode, or the document's when the style leaves it unspecified.
    TVDBiDiMode GetParaBiDiMode(int32_t paraNo);
    TVDBiDiMode GetItemBiDiMode2(TCustomVDItemInfo &item);
    TVDBiDiMode GetItemBiDiMode(int32_t itemNo) { return GetItemBiDiMode2(*GetItem(itemNo)); }
    // The direction at the start and at the end of a text item: from its text's first and last
    // strongly directed characters.
    void GetItemBiDiModeEx(int32_t itemNo, TVDBiDiMode &start, TVDBiDiMode &ending);

    // ---- Renumbering and units ----
    virtual void ChangeParagraphStyles(const TVDIntegerList *paraMapList,
                                       const TVDIntegerList *newIndices, TVDIntegerList *oldIndices,
                                       int32_t &index);
    virtual void ChangeTextStyles(const TVDIntegerList *textMapList,
                                  const TVDIntegerList *newIndices, TVDIntegerList *oldIndices,
                                  int32_t &index);
    virtual void ConvertToDifferentUnits(TVDStyleUnits newUnits, TVDStyle *vdStyle,
                                         bool convertItems);

    // ---- Styles in use ----
    void DeleteUnusedStyles(bool textStyles, bool paraStyles, bool listStyles);
    virtual void MarkStylesInUse(TVDDeleteUnusedStylesData &data);
    void DoMarkStylesInUse(TVDDeleteUnusedStylesData &data);
    void DoUpdateStyles(TVDDeleteUnusedStylesData &data);
    void DeleteMarkedStyles(TVDDeleteUnusedStylesData &data);
    virtual void AfterDeleteStyles(TVDDeleteUnusedStylesData &) {}
    int32_t GetOrAddTextStyle(const TFontInfo &textStyle);
    int32_t GetOrAddParaStyle(const TParaInfo &paraStyle);

    // ---- Merging text items ----
    bool CanConcateItems(int32_t itemNo, TCustomVDItemInfo *item1, TCustomVDItemInfo *item2,
                         bool ignoreSameAsPrev, bool allowNonText);
    void ConcateItems(int32_t itemNo, TCustomVDItemInfo *item1, TCustomVDItemInfo *item2);
    void MassSimpleConcate(int32_t firstItemNo, int32_t lastItemNo);
    void MassSimpleConcateAll() { MassSimpleConcate(0, ItemCount() - 1); }
    void MassSimpleConcateInSubDocs(int32_t itemNo);

    // ---- Special items ----
    void DoOnAddSpecialItem(int32_t itemNo);
    void DoOnDeleteSpecialItem(TCustomVDItemInfo &item, bool clearing);
    void AddMarkerInList(int32_t itemNo);
    void DeleteMarkerFromList(TCustomVDItemInfo &item, bool clearing);
    // Sequence items join the sequence list after the nearest one before them in document
    // order, and the list recounts their sequence from there.
    void AddSeqInList(int32_t itemNo);
    // An item that an existing list does not hold raises "List index out of bounds (-1)".
    void DeleteSeqFromList(TCustomVDItemInfo &item, bool clearing);
    void AddPrintFieldInList(int32_t itemNo);
    void DeletePrintFieldFromList(TCustomVDItemInfo &item);
    int32_t SetListMarkerInfo(int32_t itemNo, int32_t listNo, int32_t listLevel, int32_t startFrom,
                              int32_t paraNo, bool useStartFrom);
    int32_t GetListMarkerInfo(int32_t itemNo, int32_t &listNo, int32_t &listLevel,
                              int32_t &startFrom, bool &useStartFrom);
    void RecalcMarker(int32_t itemNo, bool allowCreateList);
    void RemoveListMarker(int32_t itemNo);
    TCustomVDItemInfo *FindPrevItemOfClass(int32_t itemNo, TVDItemClass itemClass);
    TCustomVDItemInfo *FindPrevMarkerItem(int32_t itemNo);
    TCustomVDItemInfo *FindPrevSeqItem(int32_t itemNo);
    // Scanning the sequence list from its end down to startIndex + 1: the first index whose
    // item's sequence name is in names (a sorted list); -1 when none or without a list.
    int32_t GetLastSeqIndexOfNames(int32_t startIndex, const rtl::TStringList &names);
    int32_t FindItemContaining(int32_t itemNo, const TCustomVDItemInfo *item);

    // ---- Enumeration and positions ----
    bool EnumItems(const TVDEnumItemsProc &proc, int32_t &userData1,
                   const rtl::UnicodeString &userData2);
    bool EnumItemsEx(const TVDEnumItemsProcEx &proc, void *userData, int32_t firstItemNo);
    // Negative when (this, itemNo1) comes before (vdData2, itemNo2); EViziVoduError "Error when
    // comparing positions in the document" for positions in different trees.
    int32_t CompareItemPositions(int32_t itemNo1, TCustomVDData &vdData2, int32_t itemNo2);

    // ---- Rotation ----
    TVDDocRotation GetRealRotation(bool fromAbsRoot);
    bool IsVerticalText();
    bool IsReallyVerticalText();
    bool IsRotationUsed();

protected:
    // The paragraph rules applied to an item about to be appended.
    void PrepareItemForAdding(TCustomVDItemInfo &item);
    // The paragraph an item given paraNo joins when appended: -1 continues the last item's
    // paragraph (0 after a full-width item or in an empty document). Text is converted for the
    // style of that paragraph, so that its bytes and its Unicode flag always agree.
    int32_t ParaNoForAdding(int32_t paraNo);

private:
    TVDItemList *FItems = nullptr;
    std::unique_ptr<TVDItemList> FOwnItems;
    bool FAllowNewPara = true;
    // Root answers of a document that is its own root.
    TVDOptions FRootOptions;
    TVDFOptions FRootVDFOptions;
    TVDRTFOptions FRootRTFOptions;
    TVDFWarnings FRootVDFWarnings;
    std::unique_ptr<TVDMarkerList> FMarkers;
    std::unique_ptr<TVDSeqList> FSeqList;
    std::unique_ptr<std::vector<TCustomVDItemInfo *>> FPrintFields;

    // Sequence numbers after a changed start, reset or name: every sequence from the item on.
    void RecountSequencesFrom(TVDSeqItemInfo &item);
    bool EnumLevel(const TVDEnumItemsProc &proc, int32_t &userData1,
                   const rtl::UnicodeString &userData2);
    TCustomVDItemInfo *FindPrevItemOfClassInside(TCustomVDData &data, int32_t fromItemNo,
                                                 TVDItemClass itemClass);
    void MarkStyleDependencies(TVDDeleteUnusedStylesData &data);
};

} // namespace vizivodu
