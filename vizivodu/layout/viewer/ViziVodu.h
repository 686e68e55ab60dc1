// The viewer control: a scrollable window that shows one rich document. It owns the root
// document data and a background, holds the settings every document operation reads through
// the root data (margins, options, word delimiters, events), formats the document for its
// client width on demand, paints it through buffered painting, and offers the Add family that
// puts items at the end of the document. Adding neither formats nor repaints: the caller
// formats afterwards (Format, FormatAll...). The control works without a window shown: a
// hidden one (the report's, the printing one) formats all the same.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDFloatingBox.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/viewer/VDCtrlData.h"
#include "vizivodu/layout/viewer/VDMessages.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/layout/viewer/VDScroll.h"

#include "platform/rtl/StringList.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace gfx {
class TCustomImageList;
}

namespace vizivodu {

class TVDDocParameters;
class TVDRTFReaderProperties;
class TVDLayoutInfo;
class TViziVoduVDData;

enum TVDAnimationMode : uint8_t { vdaniDisabled, vdaniManualStart, vdaniOnFormat };

// Components with their handlers of one kind of event of the control; the handlers run from
// the last registered to the first.
class TVDEventHandlerList {
public:
    int32_t Find(const ui::TComponent *component) const;
    // A component registered already gets the new handler.
    void RegisterHandler(ui::TComponent *component, ui::TNotifyEvent event);
    void UnregisterHandler(const ui::TComponent *component);
    void Execute(ui::TComponent *sender) const;
    int32_t Count() const { return int32_t(FItems.size()); }

private:
    struct TItem {
        ui::TComponent *Component;
        ui::TNotifyEvent Event;
    };
    std::vector<TItem> FItems;
};

class TCustomViziVodu;

// A flag that outlives its control: a handler that may outlast the control takes a reference
// (AddRef), checks ControlDestroyed before touching the control again, and releases it.
class TVDDestroyInformer {
public:
    explicit TVDDestroyInformer(TCustomViziVodu *owner) : Owner(owner) {}
    void AddRef() { ++RefCount; }
    // Frees the informer at the last release.
    void Release();
    bool ControlDestroyed = false;

private:
    int32_t RefCount = 0;
    TCustomViziVodu *Owner;
};

using TVDJumpEvent = std::function<void(ui::TComponent *sender, int32_t id)>;
using TVDCheckpointEvent =
    std::function<void(ui::TComponent *sender, TCheckpointData checkpointData)>;
using TVDItemActionEvent =
    std::function<void(ui::TComponent *sender, TVDItemAction action, TCustomVDItemInfo &item,
                       TVDRawByteString &text, TCustomVDData &vdData)>;
using TVDProgressEvent = std::function<void(ui::TComponent *sender, TVDLongOperation operation,
                                            TVDProgressStage stage, int32_t percentDone)>;
using TVDItemHintEvent = std::function<void(ui::TComponent *sender, TCustomVDData &vdData,
                                            int32_t itemNo, rtl::UnicodeString &hintText)>;
using TVDAddStyleEvent = std::function<void(ui::TComponent *sender, TCustomVDInfo &styleInfo)>;
using TVDPaintEvent =
    std::function<void(ui::TComponent *sender, gfx::TCanvas &canvas, bool prepaint)>;
using TVDMouseEvent =
    std::function<void(ui::TComponent *sender, ui::TMouseButton button, ui::TShiftState shift,
                       int32_t itemNo, int32_t x, int32_t y)>;
// clickedWord: the word's bytes as stored in its item.
using TVDDblClickEvent = std::function<void(ui::TComponent *sender,
                                            const TVDRawByteString &clickedWord, int32_t styleNo)>;
using TVDRightClickEvent =
    std::function<void(ui::TComponent *sender, const TVDRawByteString &clickedWord, int32_t styleNo,
                       int32_t x, int32_t y)>;
// The application hands the viewer its outside page-layout component (none by default).
using TVDGetRazavIrezIzirInterfaceEvent =
    std::function<void(ui::TComponent *sender, IVDRazavIrezIzirInterface *&ifc)>;
using TVDGetItemCursorEvent = std::function<void(ui::TComponent *sender, TCustomVDData *vdData,
                                                 int32_t itemNo, ui::TCursor &cursor)>;
using TVDURLNeededEvent =
    std::function<void(ui::TComponent *sender, int32_t id, rtl::UnicodeString &url)>;
using TVDReadHyperlinkEvent = std::function<void(
    ui::TComponent *sender, const rtl::UnicodeString &target, const rtl::UnicodeString &extras,
    TVDLoadFormat docFormat, int32_t &styleNo, TVDTag &itemTag, TVDRawByteString &itemName)>;
using TVDWriteHyperlinkEvent = std::function<void(
    ui::TComponent *sender, int32_t id, TCustomVDData *vdData, int32_t itemNo,
    TVDSaveFormat saveFormat, rtl::UnicodeString &target, rtl::UnicodeString &extras)>;
// ctrl: the item's control; the handler may replace or release it.
using TVDControlActionEvent = std::function<void(ui::TComponent *sender, TVDControlAction action,
                                                 int32_t itemNo, ui::TControl *&ctrl)>;
using TVDFPictureNeededEvent = std::function<void(
    ui::TComponent *sender, const rtl::UnicodeString &itemName, TCustomVDItemInfo *item,
    int32_t index1, int32_t index2, std::unique_ptr<gfx::TGraphic> &gr)>;
using TVDFControlNeededEvent =
    std::function<void(ui::TComponent *sender, const rtl::UnicodeString &name, const TVDTag &tag,
                       ui::TControl *&ctrl)>;
using TVDFImageListNeededEvent =
    std::function<void(ui::TComponent *sender, int32_t imageListTag, gfx::TCustomImageList *&il)>;
using TVDSaveComponentToFileEvent =
    std::function<void(ui::TComponent *sender, const rtl::UnicodeString &path, ui::TControl *saveMe,
                       TVDSaveFormat saveFormat, rtl::UnicodeString &outStr)>;
using TVDSaveItemToFileEvent = std::function<void(
    ui::TComponent *sender, const rtl::UnicodeString &path, TCustomVDData *vdData, int32_t itemNo,
    TVDSaveFormat saveFormat, bool unicode, TVDRawByteString &outStr, bool &doDefault)>;
using TVDHTMLSaveImageEvent = std::function<void(
    ui::TComponent *sender, TCustomVDData *vdData, int32_t itemNo, const rtl::UnicodeString &path,
    gfx::TColor backgroundColor, rtl::UnicodeString &location, bool &doDefault)>;
using TVDSaveImageEvent2 =
    std::function<void(ui::TComponent *sender, gfx::TGraphic *graphic, TVDSaveFormat saveFormat,
                       const rtl::UnicodeString &path, const rtl::UnicodeString &imagePrefix,
                       int32_t &imageSaveNo, rtl::UnicodeString &location, bool &doDefault)>;
// obj: the style, table, row or cell the code is for (nullptr for the document).
using TVDSaveRTFExtraEvent =
    std::function<void(ui::TComponent *sender, TVDRTFSaveArea area, const void *obj, int32_t index1,
                       int32_t index2, bool inStyleSheet, TVDAnsiString &rtfCode)>;
using TVDSaveDocXExtraEvent =
    std::function<void(ui::TComponent *sender, TVDDocXSaveArea area, const void *obj,
                       int32_t index1, int32_t index2, TVDAnsiString &ooxmlCode)>;
using TVDSaveHTMLExtraEvent = std::function<void(ui::TComponent *sender, TVDHTMLSaveArea area,
                                                 bool cssVersion, rtl::UnicodeString &htmlCode)>;
using TVDSaveParaToHTMLEvent =
    std::function<void(ui::TComponent *sender, TCustomVDData *vdData, int32_t itemNo,
                       bool paraStart, bool cssVersion, rtl::UnicodeString &htmlCode)>;
using TVDImportPictureEvent =
    std::function<void(ui::TComponent *sender, const rtl::UnicodeString &location, int32_t width,
                       int32_t height, std::unique_ptr<gfx::TGraphic> &graphic)>;
using TVDSpellingCheckEvent = std::function<void(
    ui::TComponent *sender, const rtl::UnicodeString &word, int32_t styleNo, bool &misspelled)>;

// Identifiers of the control's properties read and set by number (GetIntProperty and the like).
enum TVDIntProperty : uint8_t {
    vdipLeftMargin,
    vdipRightMargin,
    vdipTopMargin,
    vdipBottomMargin,
    vdipMaxTextWidth,
    vdipMinTextWidth,
    vdipBackgroundStyle,
    vdipColor,
    vdipBiDiMode,
    vdipDPUnits,
    vdipDPOrientation,
    vdipDPTitlePage,
    vdipDPFacingPages,
    vdipDPMirrorMargins
};
enum TVDStrProperty : uint8_t { vdspDPTitle, vdspDPAuthor, vdspDPComments };
enum TVDFloatProperty : uint8_t {
    vdfpDPLeftMargin,
    vdfpDPRightMargin,
    vdfpDPTopMargin,
    vdfpDPBottomMargin,
    vdfpDPHeaderY,
    vdfpDPFooterY
};

class TCustomViziVodu : public TVDScroller {
public:
    explicit TCustomViziVodu(ui::TComponent *owner);
    ~TCustomViziVodu() override;

    // ---- Settings ----
    TVDOptions GetOptions() const { return FOptions; }
    void SetOptions(TVDOptions value) { FOptions = value; }
    bool GetAllowSelection() const { return FOptions.Contains(vdoAllowSelection); }
    void SetAllowSelection(bool value);
    bool GetSingleClick() const { return FOptions.Contains(vdoSingleClick); }
    void SetSingleClick(bool value);
    TVDFlags Flags;
    const rtl::UnicodeString &GetDelimiters() const { return FDelimiters; }
    void SetDelimiters(const rtl::UnicodeString &value) { FDelimiters = value; }
    static const rtl::UnicodeString &DefaultDelimiters();
    int32_t LeftMargin = 5;
    int32_t RightMargin = 5;
    int32_t TopMargin = 5;
    int32_t BottomMargin = 5;
    int32_t MinTextWidth = 0; // pixels; 0: no limit
    int32_t MaxTextWidth = 0;
    bool WordWrap = true;
    int32_t MaxLength = 0;
    TTextLayout VAlign = tlTop;
    TCPEventKind CPEventKind = cpeNone;
    TVDAnimationMode AnimationMode = vdaniManualStart;
    rtl::UnicodeString NoteText = u"?";
    bool UseStyleTemplates = false;
    TVDStyleTemplateInsertMode StyleTemplateInsertMode = vdstimUseTargetFormatting;
    TVDFOptions VDFOptions{vdfoSavePicturesBody, vdfoSaveControlsBody, vdfoSaveBinary,
                           vdfoSaveDocProperties, vdfoLoadDocProperties};
    // The warnings of the last VDF reading.
    TVDFWarnings VDFWarnings;
    TVDRTFOptions RTFOptions{vdrtfDuplicateUnicode, vdrtfSaveEMFAsWMF, vdrtfSaveJpegAsJpeg,
                             vdrtfSavePngAsPng};
    TVDFReaderStyleMode VDFTextStylesReadMode = vdf_sInsertMerge;
    TVDFReaderStyleMode VDFParaStylesReadMode = vdf_sInsertMerge;
    TVDLiveSpellingMode LiveSpellingMode = vdlspManualStart;
    // Set by an OnImportPicture handler whose picture is invalid.
    bool CurPictureInvalid = false;
    // The document properties; assigning copies the lines.
    rtl::TStringList &GetDocProperties() { return FDocProperties; }
    void SetDocProperties(const rtl::TStrings &value) { FDocProperties.Assign(value); }
    // The page and document parameters, made on first use; setting nullptr frees them, any
    // other value is copied.
    TVDDocParameters *GetDocParameters();
    bool DocParametersAssigned() const { return FDocParameters != nullptr; }
    void SetDocParameters(const TVDDocParameters *value);
    // The RTF reading settings, made on first use.
    TVDRTFReaderProperties *GetRTFReadProperties();
    bool RTFReaderAssigned() const { return FRTFReadProperties != nullptr; }
    // The RTF appended to the document (defined in formats/rtf/ViziVodu_RTF.cpp); true when
    // the reader reports no error.
    bool LoadRTF(const rtl::UnicodeString &fileName);
    bool LoadRTFFromStream(rtl::TStream &stream);
    // The native format (ViziVodu_Files.cpp): loading brings the control's colour and layout
    // record back (margins, text widths, BiDi mode); saving writes them with the background.
    bool LoadVDF(const rtl::UnicodeString &fileName);
    bool LoadVDFFromStream(rtl::TStream &stream);
    bool InsertVDFFromStream(rtl::TStream &stream, int32_t index);
    bool AppendVDFFromStream(rtl::TStream &stream, int32_t paraNo);
    bool SaveVDF(const rtl::UnicodeString &fileName, bool selectionOnly);
    bool SaveVDFToStream(rtl::TStream &stream, bool selectionOnly);
    // RTF of the document or the selection with the control's colour and background; with
    // vdrtfSaveHeaderFooter a whole document gets the headers and footers read with it (those
    // that share the control's style sheet). False when writing failed.
    bool SaveRTF(const rtl::UnicodeString &fileName, bool selectionOnly);
    bool SaveRTFToStream(rtl::TStream &stream, bool selectionOnly);
    // DOCX of the document or the selection with the control's colour and background; with
    // vdrtfSaveHeaderFooter a whole document gets the headers and footers read with it (those
    // that share the control's style sheet). SaveDocX leaves an existing file whole when
    // writing fails. False when writing failed.
    bool SaveDocX(const rtl::UnicodeString &fileName, bool selectionOnly);
    virtual bool SaveDocXToStream(rtl::TStream &stream, bool selectionOnly);
    // A stream of unknown format, after Clear: RTF (8-bit, or UTF-16 holding only ASCII, which
    // sets unicode), else the native format, else text (UTF-16 when isTextUnicode says so or
    // the probe finds it; refused without a word when it holds control characters below 9 or
    // allowLoadText is false). Only the allowed formats are tried; the stream is read from its
    // position on. False when no allowed format loaded.
    bool LoadFromStreamEx(rtl::TStream &stream, TVDYesNoAuto isTextUnicode,
                          TVDLoadFormats allowedFormats, bool allowLoadText, bool &unicode,
                          TVDLoadFormat &loadedFormat);
    bool LoadFromStream(rtl::TStream &stream, TVDYesNoAuto isTextUnicode);
    // Plain text: the root document's loaders; saving a selection writes the innermost chosen
    // sub-document's. SaveText writes 8-bit text, SaveTextW UTF-16 with its signature.
    bool LoadText(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                  bool asSingleParagraph, TVDCodePage codePage);
    bool LoadTextFromStream(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                            bool asSingleParagraph, TVDCodePage codePage);
    bool LoadTextW(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                   bool defAsSingleParagraph);
    bool LoadTextFromStreamW(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                             bool defAsSingleParagraph);
    bool SaveText(const rtl::UnicodeString &fileName, int32_t lineWidth, TVDCodePage codePage);
    bool SaveTextW(const rtl::UnicodeString &fileName, int32_t lineWidth);
    bool SaveTextToStream(const rtl::UnicodeString &path, rtl::TStream &stream, int32_t lineWidth,
                          bool selectionOnly, bool textOnly, TVDCodePage codePage);
    bool SaveTextToStreamW(const rtl::UnicodeString &path, rtl::TStream &stream, int32_t lineWidth,
                           bool selectionOnly, bool textOnly);
    // ---- HTML (bodies in formats/html/) ----
    // The root document as HTML with font tags or with CSS, with the control's effective
    // colour, background and margins. Each call first sets the HTML saving state below
    // (the counter starts at 0).
    bool SaveHTML(const rtl::UnicodeString &fileName, const rtl::UnicodeString &title,
                  const rtl::UnicodeString &imagesPrefix, TVDSaveOptions options);
    bool SaveHTMLToStream(rtl::TStream &stream, const rtl::UnicodeString &path,
                          const rtl::UnicodeString &title, const rtl::UnicodeString &imagesPrefix,
                          TVDSaveOptions options);
    bool SaveHTMLEx(const rtl::UnicodeString &fileName, const rtl::UnicodeString &title,
                    const rtl::UnicodeString &imagesPrefix, const rtl::UnicodeString &extraStyles,
                    const rtl::UnicodeString &externalCSS, const rtl::UnicodeString &cpPrefix,
                    TVDSaveOptions options);
    bool SaveHTMLToStreamEx(rtl::TStream &stream, const rtl::UnicodeString &path,
                            const rtl::UnicodeString &title, const rtl::UnicodeString &imagesPrefix,
                            const rtl::UnicodeString &extraStyles,
                            const rtl::UnicodeString &externalCSS,
                            const rtl::UnicodeString &cpPrefix, TVDSaveOptions options);
    // The state of the last HTML saving, kept until the next one.
    rtl::UnicodeString imgSavePrefix;
    TVDSaveOptions SaveOptions;
    int32_t imgSaveNo = 0;
    gfx::TColor CurrentFileColor = gfx::clNone;

    TVDStyle *GetStyle() const { return FStyle; }
    virtual void SetStyle(TVDStyle *value);
    // The control's Color (clNone after creation: the document shows the style sheet's), else
    // the style sheet's colour, else the window colour.
    gfx::TColor EffectiveColor() const;

    TVDBackground &GetBackground() { return *FBackground; }
    TBackgroundStyle GetBackgroundStyle() const;
    void SetBackgroundStyle(TBackgroundStyle value);
    // Copies the picture into the background (nullptr: none).
    void SetBackgroundBitmap(const gfx::TGraphic *picture);
    virtual bool IsTransparent() { return false; }

    // With an outside page-layout component the window stays and the component is told.
    void SetBiDiMode(TVDBiDiMode value) override;
    // The control's own repaint requests, then the page-layout component is told (kind 0 for
    // invalidate, 2 for update). Calls through a plain TControl reach only the window.
    void Invalidate();
    void Update();
    // Accepted only above 0 and, with the vertical bar visible, when the document stays at
    // most 32000 scroll units tall.
    void SetVSmallStep(int32_t value) override;
    int32_t GetFirstJumpNo() const;
    void SetFirstJumpNo(int32_t value);
    TVDTabNavigationType GetTabNavigation() const;
    void SetTabNavigation(TVDTabNavigationType value);

    TViziVoduVDData &GetVDData() const { return *FVDData; }
    int32_t ItemCount() const;
    int32_t LineCount() const { return ItemCount(); }
    int32_t DocumentHeight() const;
    int32_t GetFirstItemVisible() const;
    int32_t GetLastItemVisible() const;

    // ---- Formatting ----
    void Format();
    // Formats again keeping the top visible item and the selection.
    void Reformat();
    void FormatTail();
    void FormatAll();
    void ReformatAll();
    void Clear();
    void ClearAll();
    // The canvas text is measured on: the page-layout component's when it gives one.
    virtual gfx::TCanvas *GetFormatCanvas(gfx::TCanvas *defCanvas);
    // The component OnGetRazavIrezIzirInterface supplies; nullptr.
    IVDRazavIrezIzirInterface *GetRazavIrezIzirInterface();
    // The style templates changed: OnStyleTemplatesChange, then the registered handlers (on the
    // control of the absolute root, which the root data asks).
    void StyleTemplatesChange();
    std::unique_ptr<TVDLayoutInfo> CreateLayoutInfo() const;
    virtual void ApplyLayoutInfo(const TVDLayoutInfo &layout);
    // Copies the handlers of another control.
    void AssignEvents(const TCustomViziVodu &source);

    // ---- Building (forwarded to the root data; nothing is formatted) ----
    void AddNL(std::u16string_view s, int32_t styleNo, int32_t paraNo);
    void AddNLTag(std::u16string_view s, int32_t styleNo, int32_t paraNo, const TVDTag &tag);
    void AddNLWTag(std::u16string_view s, int32_t styleNo, int32_t paraNo, const TVDTag &tag);
    void AddNLATag(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo, const TVDTag &tag);
    void AddNLRTag(TVDRawByteString s, int32_t styleNo, int32_t paraNo, const TVDTag &tag);
    void AddNLR(TVDRawByteString s, int32_t styleNo, int32_t paraNo);
    void Add(std::u16string_view s, int32_t styleNo);
    void AddTag(std::u16string_view s, int32_t styleNo, const TVDTag &tag);
    void AddR(TVDRawByteString s, int32_t styleNo);
    void AddRTag(TVDRawByteString s, int32_t styleNo, const TVDTag &tag);
    void AddFmt(const rtl::UnicodeString &formatStr, std::initializer_list<rtl::TVarRec> args,
                int32_t styleNo, int32_t paraNo);
    void AddCenterLine(std::u16string_view s, int32_t styleNo);
    void AddFromNewLine(std::u16string_view s, int32_t styleNo);
    // Multi-line text: AddText continues the current paragraph, AddTextFromNewLine starts one
    // (style 0); the lines after the first get otherParaNo. AddTextNLW adds the text in the
    // actual style's form (UTF-16, or converted to its code page), in one paragraph with
    // defAsSingleParagraph.
    void AddText(std::u16string_view s, int32_t styleNo);
    void AddTextFromNewLine(std::u16string_view s, int32_t styleNo);
    void AddTextNL(std::u16string_view s, int32_t styleNo, int32_t firstParaNo,
                   int32_t otherParaNo);
    void AddTextNLW(std::u16string_view s, int32_t styleNo, int32_t firstParaNo,
                    int32_t otherParaNo, bool defAsSingleParagraph);
    void AddTextNLR(const TVDRawByteString &s, int32_t styleNo, int32_t firstParaNo,
                    int32_t otherParaNo);
    void AddTextNLA(const TVDAnsiString &s, int32_t styleNo, int32_t firstParaNo,
                    int32_t otherParaNo);
    void AddTextBlockNLA(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo);
    void AddTab(int32_t textStyleNo, int32_t paraNo);
    void AddBreak();
    void AddBreakTag(const TVDTag &tag);
    void AddBreakEx(TVDStyleLength width, TVDBreakStyle style, TColor color);
    void AddBreakExTag(TVDStyleLength width, TVDBreakStyle style, TColor color, const TVDTag &tag);
    int32_t AddCheckpoint();
    int32_t AddCheckpointTag(const TVDTag &tag);
    int32_t AddNamedCheckpoint(const rtl::UnicodeString &cpName);
    int32_t AddNamedCheckpointEx(const rtl::UnicodeString &cpName, bool raiseEvent);
    int32_t AddNamedCheckpointExTag(const rtl::UnicodeString &cpName, bool raiseEvent,
                                    const TVDTag &tag);
    void AddPicture(std::unique_ptr<gfx::TGraphic> gr);
    void AddPictureEx(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr, int32_t paraNo,
                      TVDVAlign vAlign);
    void AddPictureExTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                         int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag);
    void AddHotPicture(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr, int32_t paraNo,
                       TVDVAlign vAlign);
    void AddHotPictureTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                          int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag);
    // Image-list bullets and hotspots: the application keeps the image list.
    void AddHotspot(int32_t imageIndex, gfx::TCustomImageList *imageList, bool fromNewLine);
    void AddHotspotEx(const TVDAnsiString &name, int32_t imageIndex, int32_t hotImageIndex,
                      gfx::TCustomImageList *imageList, int32_t paraNo);
    void AddHotspotExTag(const TVDAnsiString &name, int32_t imageIndex, int32_t hotImageIndex,
                         gfx::TCustomImageList *imageList, int32_t paraNo, const TVDTag &tag);
    void AddBullet(int32_t imageIndex, gfx::TCustomImageList *imageList, bool fromNewLine);
    void AddBulletEx(const TVDAnsiString &name, int32_t imageIndex,
                     gfx::TCustomImageList *imageList, int32_t paraNo);
    void AddBulletExTag(const TVDAnsiString &name, int32_t imageIndex,
                        gfx::TCustomImageList *imageList, int32_t paraNo, const TVDTag &tag);
    // The document owns the control from then on and makes this control its parent window;
    // AddControl puts it on a line of its own, centred (paragraph style 1) when asked.
    void AddControl(std::unique_ptr<ui::TControl> ctrl, bool center);
    void AddControlEx(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl, int32_t paraNo,
                      TVDVAlign vAlign);
    void AddControlExTag(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl,
                         int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag);
    void AddItem(const rtl::UnicodeString &text, std::unique_ptr<TCustomVDItemInfo> item);
    void AddItemR(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item, bool adjustPara);
    void AppendFrom(TCustomViziVodu &source);
    void SetAddParagraphMode(bool allowNewPara);

    // ---- Handler registries ----
    void RegisterVScrollHandler(ui::TComponent *c, ui::TNotifyEvent e);
    void UnregisterVScrollHandler(ui::TComponent *c);
    void RegisterHScrollHandler(ui::TComponent *c, ui::TNotifyEvent e);
    void UnregisterHScrollHandler(ui::TComponent *c);
    void RegisterClearHandler(ui::TComponent *c, ui::TNotifyEvent e);
    void UnregisterClearHandler(ui::TComponent *c);
    void RegisterResizeHandler(ui::TComponent *c, ui::TNotifyEvent e);
    void UnregisterResizeHandler(ui::TComponent *c);
    void RegisterSaveHandler(ui::TComponent *c, ui::TNotifyEvent e);
    void UnregisterSaveHandler(ui::TComponent *c);
    void RegisterStyleTemplatesChangeHandler(ui::TComponent *c, ui::TNotifyEvent e) override;
    void UnregisterStyleTemplatesChangeHandler(ui::TComponent *c) override;
    void DoOnClear();
    void DoBeforeSaving();

    // The informer of this control, made on first use (see TVDDestroyInformer).
    TVDDestroyInformer *GetDestroyInformer();

    // ---- Events ----
    TVDJumpEvent OnJump;
    TVDJumpEvent OnVDMouseMove;
    ui::TNotifyEvent OnSelect;
    TVDCheckpointEvent OnCheckpointVisible;
    TVDItemActionEvent OnItemAction;
    TVDProgressEvent OnProgress;
    TVDItemHintEvent OnItemHint;
    TVDAddStyleEvent OnAddStyle;
    TVDPaintEvent OnPaint;
    TVDMouseEvent OnVDMouseDown;
    TVDMouseEvent OnVDMouseUp;
    TVDDblClickEvent OnVDDblClick;
    TVDRightClickEvent OnVDRightClick;
    ui::TNotifyEvent OnCopy;
    TVDGetItemCursorEvent OnGetItemCursor;
    TVDGetRazavIrezIzirInterfaceEvent OnGetRazavIrezIzirInterface;
    TVDURLNeededEvent OnURLNeeded;
    TVDReadHyperlinkEvent OnReadHyperlink;
    TVDWriteHyperlinkEvent OnWriteHyperlink;
    TVDControlActionEvent OnControlAction;
    TVDFPictureNeededEvent OnVDFPictureNeeded;
    TVDFControlNeededEvent OnVDFControlNeeded;
    TVDFImageListNeededEvent OnVDFImageListNeeded;
    TVDSaveComponentToFileEvent OnSaveComponentToFile;
    TVDSaveItemToFileEvent OnSaveItemToFile;
    TVDHTMLSaveImageEvent OnHTMLSaveImage;
    TVDSaveImageEvent2 OnSaveImage2;
    TVDSaveRTFExtraEvent OnSaveRTFExtra;
    TVDSaveDocXExtraEvent OnSaveDocXExtra;
    TVDSaveHTMLExtraEvent OnSaveHTMLExtra;
    TVDSaveParaToHTMLEvent OnSaveParaToHTML;
    TVDImportPictureEvent OnImportPicture;
    TVDSpellingCheckEvent OnSpellingCheck;
    ui::TNotifyEvent OnStyleTemplatesChange;

    // ---- Items and text (ViziVodu_Api.cpp): the root data's operations ----
    TCustomVDItemInfo *GetItem(int32_t itemNo) const;
    int32_t GetItemNo(const TCustomVDItemInfo *item) const;
    int32_t GetItemStyle(int32_t itemNo);
    int32_t GetItemPara(int32_t itemNo);
    bool IsParaStart(int32_t itemNo);
    bool IsFromNewLine(int32_t itemNo);
    TVDRawByteString GetItemTextR(int32_t itemNo);
    void SetItemTextR(int32_t itemNo, TVDRawByteString s);
    TVDUnicodeString GetItemText(int32_t itemNo) { return GetItemTextW(itemNo); }
    TVDUnicodeString GetItemTextW(int32_t itemNo);
    TVDAnsiString GetItemTextA(int32_t itemNo);
    void SetItemText(int32_t itemNo, std::u16string_view s) { SetItemTextW(itemNo, s); }
    void SetItemTextW(int32_t itemNo, std::u16string_view s);
    void SetItemTextA(int32_t itemNo, const TVDAnsiString &s);
    TVDTag GetItemTag(int32_t itemNo);
    void SetItemTag(int32_t itemNo, const TVDTag &tag);
    TVDVAlign GetItemVAlign(int32_t itemNo);
    void SetItemVAlign(int32_t itemNo, TVDVAlign vAlign);
    bool GetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop, int32_t &value);
    bool SetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop, int32_t value);
    bool GetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                 rtl::UnicodeString &value);
    bool SetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                 const rtl::UnicodeString &value);
    bool GetPageBreaksBeforeItems(int32_t index);
    // The control is repainted when it shows page breaks.
    void SetPageBreaksBeforeItems(int32_t index, bool value);
    int32_t GetOffsBeforeItem(int32_t itemNo);
    int32_t GetOffsAfterItem(int32_t itemNo);
    int32_t FindControlItemNo(ui::TControl *ctrl) const;
    // The caller formats afterwards.
    void DeleteSection(const rtl::UnicodeString &cpName);
    void DeleteItems(int32_t firstItemNo, int32_t count);
    void DeleteParas(int32_t firstItemNo, int32_t lastItemNo);

    // ---- Item information, item options, list markers, styles, units, soft page breaks
    // (ViziVodu_ApiItems.cpp): the root data's ----
    void GetPictureInfo(int32_t itemNo, TVDAnsiString &name, gfx::TGraphic *&gr, TVDVAlign &vAlign,
                        TVDTag &tag);
    // True when the size or the alignment changes (the caller formats).
    bool SetPictureInfo(int32_t itemNo, const TVDAnsiString &name,
                        std::unique_ptr<gfx::TGraphic> gr, TVDVAlign vAlign, const TVDTag &tag);
    void GetControlInfo(int32_t itemNo, TVDAnsiString &name, ui::TControl *&ctrl, TVDVAlign &vAlign,
                        TVDTag &tag);
    // True when the vertical alignment changed.
    bool SetControlInfo(int32_t itemNo, const TVDAnsiString &name, TVDVAlign vAlign,
                        const TVDTag &tag);
    void GetBulletInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                       gfx::TCustomImageList *&imageList, TVDTag &tag);
    void SetBulletInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                       gfx::TCustomImageList *imageList, const TVDTag &tag);
    void GetHotspotInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                        int32_t &hotImageIndex, gfx::TCustomImageList *&imageList, TVDTag &tag);
    void SetHotspotInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                        int32_t hotImageIndex, gfx::TCustomImageList *imageList, const TVDTag &tag);
    void GetBreakInfo(int32_t itemNo, TVDStyleLength &width, TVDBreakStyle &style, TColor &color,
                      TVDTag &tag);
    void SetBreakInfo(int32_t itemNo, TVDStyleLength width, TVDBreakStyle style, TColor color,
                      const TVDTag &tag);
    void GetTextInfo(int32_t itemNo, TVDUnicodeString &text, TVDTag &tag);
    // Integer property identifiers; false when the item does not support the property.
    bool GetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t &value);
    bool SetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t value);
    bool GetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop, rtl::UnicodeString &value);
    bool SetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop, const rtl::UnicodeString &value);
    bool GetClearLeft(int32_t index);
    void SetClearLeft(int32_t index, bool value);
    bool GetClearRight(int32_t index);
    void SetClearRight(int32_t index, bool value);
    // vdPrint must be a printing component (TCustomVDPrint); anything else raises
    // EInvalidCast "Invalid class typecast".
    void AssignSoftPageBreaks(ui::TComponent *vdPrint);
    // The control is repainted when breaks were removed.
    void ClearSoftPageBreaks();
    int32_t SetListMarkerInfo(int32_t itemNo, int32_t listNo, int32_t listLevel, int32_t startFrom,
                              int32_t paraNo, bool useStartFrom);
    void RemoveListMarker(int32_t itemNo);
    int32_t GetListMarkerInfo(int32_t itemNo, int32_t &listNo, int32_t &listLevel,
                              int32_t &startFrom, bool &useStartFrom);
    // The display strings recomputed; nothing without a list or a style sheet.
    void RefreshListMarkers();
    void RefreshSequences();
    void DeleteUnusedStyles(bool textStyles, bool paraStyles, bool listStyles);
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data);
    void DeleteMarkedStyles(TVDDeleteUnusedStylesData &data);
    // The document's items and the style sheet in newUnits; nothing without a style sheet or
    // when it has those units already.
    void ConvertDocToDifferentUnits(TVDStyleUnits newUnits);
    void ConvertDocToTwips() { ConvertDocToDifferentUnits(vdstuTwips); }
    void ConvertDocToPixels() { ConvertDocToDifferentUnits(vdstuPixels); }

    // ---- Selection, copying and words (ViziVodu_ApiSelection.cpp): the root data's ----
    // Without a new partially selected item, raising the selection event.
    void Deselect();
    void SelectAll();
    void SelectWordAt(int32_t x, int32_t y);
    bool SelectControl(ui::TControl *control);
    // With reset allowed and partially selected items counted.
    bool SelectionExists();
    void GetSelectionBounds(int32_t &startItemNo, int32_t &startItemOffs, int32_t &endItemNo,
                            int32_t &endItemOffs, bool normalize);
    void SetSelectionBounds(int32_t startItemNo, int32_t startItemOffs, int32_t endItemNo,
                            int32_t endItemOffs);
    // Screen coordinates.
    rtl::TRect GetSelectionRect();
    gfx::TGraphic *GetSelectedImage();
    TVDAnsiString GetSelTextA();
    TVDUnicodeString GetSelTextW();
    TVDUnicodeString GetSelText() { return GetSelTextW(); }
    void CopyTextA();
    void CopyTextW();
    void CopyText() { CopyTextW(); }
    void CopyImage();
    // With the control's effective colour and background.
    void Copy();
    // The word under client (x, y): as stored, as 8-bit text, as UTF-16; itemNo -1 and no word
    // when no item is there.
    void GetWordAtR(int32_t x, int32_t y, TCustomVDFormattedData *&vdData, int32_t &itemNo,
                    TVDRawByteString &word);
    void GetWordAt(int32_t x, int32_t y, TCustomVDFormattedData *&vdData, int32_t &itemNo,
                   TVDUnicodeString &word);
    TVDAnsiString GetWordAtA(int32_t x, int32_t y);
    TVDUnicodeString GetWordAtW(int32_t x, int32_t y);
    TVDUnicodeString GetWordAt(int32_t x, int32_t y) { return GetWordAtW(x, y); }
    // The item holding the keyboard focus in the document tree; nullptr and -1.
    void GetFocusedItem(TCustomVDFormattedData *&vdData, int32_t &itemNo);

    // ---- Checkpoints and jump points (ViziVodu_Api.cpp) ----
    void SetCheckpointInfo(int32_t itemNo, const TVDTag &tag, const rtl::UnicodeString &name,
                           bool raiseEvent);
    bool RemoveCheckpoint(int32_t itemNo);
    TCheckpointData GetFirstCheckpoint();
    TCheckpointData GetNextCheckpoint(TCheckpointData checkpointData);
    TCheckpointData GetLastCheckpoint();
    TCheckpointData GetPrevCheckpoint(TCheckpointData checkpointData);
    TCheckpointData GetItemCheckpoint(int32_t itemNo);
    TCheckpointData FindCheckpointByName(const rtl::UnicodeString &name);
    TCheckpointData FindCheckpointByTag(const TVDTag &tag);
    TCheckpointData GetCheckpointByNo(int32_t no);
    int32_t GetCheckpointNo(TCheckpointData checkpointData);
    int32_t GetCheckpointItemNo(TCheckpointData checkpointData);
    void GetCheckpointInfo(TCheckpointData checkpointData, TVDTag &tag, rtl::UnicodeString &name,
                           bool &raiseEvent);
    void GetCheckpointXY(TCheckpointData checkpointData, int32_t &x, int32_t &y);
    int32_t GetCheckpointYEx(TCheckpointData checkpointData);
    // The document y of checkpoint number no.
    int32_t GetCheckpointY(int32_t no);
    int32_t GetJumpPointY(int32_t id);
    int32_t GetJumpPointItemNo(int32_t id);
    void GetJumpPointLocation(int32_t id, TCustomVDFormattedData *&vdData, int32_t &itemNo);

    // ---- Positions, hit tests and coordinates (ViziVodu_ApiHit.cpp) ----
    int32_t GetLineNo(int32_t itemNo, int32_t itemOffs);
    bool GetItemCoords(int32_t itemNo, int32_t &left, int32_t &top);
    bool GetItemClientCoords(int32_t itemNo, int32_t &left, int32_t &top);
    bool GetItemCoordsEx(TCustomVDFormattedData *vdData, int32_t itemNo, int32_t part,
                         bool allowFloating, rtl::TRect &r);
    // The item at the client point (x, y), looked for down into sub-documents; false when none.
    bool GetItemAt(int32_t x, int32_t y, TCustomVDFormattedData *&vdData, int32_t &itemNo,
                   int32_t &offsetInItem, bool strict);
    rtl::TPoint ClientToDocument(rtl::TPoint p);
    rtl::TPoint DocumentToClient(rtl::TPoint p);

    // ---- Searching (ViziVodu_ApiHit.cpp) ----
    // The root document's SearchTextR; the A form takes 8-bit text in the default code page.
    bool SearchTextA(const TVDAnsiString &s, TVDSearchOptions options);
    bool SearchTextW(std::u16string_view s, TVDSearchOptions options);
    bool SearchText(std::u16string_view s, TVDSearchOptions options) {
        return SearchTextW(s, options);
    }

    // ---- Properties by identifier (ViziVodu_ApiProps.cpp) ----
    // Margins and text widths are stored without formatting; the BiDi mode changes with
    // formatting held off; the document parameters' values create them when missing.
    void SetIntProperty(TVDIntProperty prop, int32_t value);
    // The document parameters' values are 0 while there are none.
    int32_t GetIntProperty(TVDIntProperty prop);
    void SetStrProperty(TVDStrProperty prop, const rtl::UnicodeString &value);
    rtl::UnicodeString GetStrProperty(TVDStrProperty prop);
    void SetFloatProperty(TVDFloatProperty prop, TVDLength value);
    // Without document parameters the defaults (1.25, 1 and 0.5), which creates none.
    TVDLength GetFloatProperty(TVDFloatProperty prop);

    // ---- Animation of pictures (ViziVodu_Animation.cpp) ----
    // Timer 2 drives the animators while animation plays; its ticks go to AnimationTimer.
    static constexpr uintptr_t AnimationTimerId = 2;
    void StartAnimation();
    void StopAnimation();
    // Restarts every animator at its first frame.
    void ResetAnimation();
    void SetAnimationMode(TVDAnimationMode value);
    // Stops the animation and frees the animators and their list.
    void FreeAnimators();
    // One tick of timer 2: the animators advance and the timer is set to the next interval.
    void AnimationTimer();

    // ---- Input: mouse, keyboard, timers, posted events (ViziVodu_Input.cpp) ----
    void TripleClick();
    // Timer 1 scrolls while the mouse selects beyond the window.
    void ActivateScrollTimer(bool slow);
    void DeactivateScrollTimer();
    // A mouse move at the cursor position when it is over the client area.
    void GenerateMouseMove();
    void BeginOleDrag();
    static bool IsCopyShortcut(ui::TShiftState shift, uint16_t key);
    static bool IsCutShortcut(ui::TShiftState shift, uint16_t key);
    static bool IsPasteShortcut(ui::TShiftState shift, uint16_t key);
    // Queues the event for the absolute root's control, which raises it when the message
    // arrives; the control keeps the object until then.
    void PostEvent(std::unique_ptr<TVDMessageData> data);
    // Copies the selection in the formats the vdoAutoCopy options name, with the control's colour
    // and background.
    virtual bool CopyDef();
    int32_t VScrollDelta = 0, HScrollDelta = 0;
    bool ScrollTimerActive = false;
    // The message time of the last left double click; 0: none.
    uint32_t FDblClickTime = 0;

    void WndProc(ui::TMessage &message) override;
    // Marks the root data's state with vdstNameSet.
    void SetName(const rtl::UnicodeString &name) override;
    // Tab passes through the document between its inserted controls: the control stands again
    // before each of them (from the third entry on) and at the end.
    void GetTabOrderList(std::vector<ui::TWinControl *> &list) const override;

protected:
    // Descendants with their own class of root data make it with makeData.
    using TMakeData = std::unique_ptr<TViziVoduVDData> (*)(TCustomViziVodu &control);
    TCustomViziVodu(ui::TComponent *owner, TMakeData makeData);

    void Paint() override;
    void Resize() override;
    // Inserted controls keep the places the formatting gives them.
    void AlignControls(gfx::TRect &) override {}
    void CreateWnd() override;
    void ResetScrollPos() override;
    void InitScrollBars() override;
    void DoVScrolled() override;
    void DoHScrolled() override;
    void UpdatePaletteInfo() override;
    void DoOnBackBitmapChange();
    void Loaded() override;
    // The style sheet going away leaves the control without one.
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;
    // The one formatting routine every path ends in.
    void FormatInternal(bool onlyResized, bool forceFormat, bool onlyTail, bool noCaching,
                        bool reformatting, bool callOnFormat);
    // The "Style is not defined" message painted instead of a document without a style sheet.
    void PaintMessage(const rtl::UnicodeString &text);
    // ---- Input (ViziVodu_Input.cpp) ----
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(ui::TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    void DblClick() override;
    void KeyDown(uint16_t &key, ui::TShiftState shift) override;
    // The messages of the input side; true when handled.
    bool InputMessage(ui::TMessage &message);
    void HandlePostedEvent(ui::LPARAM data);
    bool TimerMessage(uintptr_t id);
    void EditMessage(ui::TMessage &message);
    void FocusMessage(ui::TMessage &message);
    void ContextMenuMessage(ui::TMessage &message);
    void DoGesture(const ui::TGestureEventInfo &info, bool &handled) override;

private:
    friend class TVDDestroyInformer;
    friend class TViziVoduVDData;

    // Properties by identifier (ViziVodu_ApiProps.cpp).
    void SetBiDiModeUnformatted(int32_t value);
    // Tells the page-layout component of a repaint request (ViziVodu.cpp).
    void TellRepainted(int32_t kind);
    void SetDocParameterIntProperty(TVDIntProperty prop, int32_t value);

    static void RegisterIn(std::unique_ptr<TVDEventHandlerList> &list, ui::TComponent *c,
                           ui::TNotifyEvent e);
    static void UnregisterIn(std::unique_ptr<TVDEventHandlerList> &list, ui::TComponent *c);

    TVDDestroyInformer *FDestroyInformer = nullptr;
    TVDOptions FOptions;
    rtl::UnicodeString FDelimiters;
    TVDStyle *FStyle = nullptr;
    std::unique_ptr<TVDBackground> FBackground;
    std::unique_ptr<TViziVoduVDData> FVDData;
    std::unique_ptr<TVDEventHandlerList> FStyleTemplatesChangeHandlers, FHScrollHandlers,
        FVScrollHandlers, FSaveHandlers, FClearHandlers, FResizeHandlers;
    rtl::TStringList FDocProperties;
    std::unique_ptr<TVDDocParameters> FDocParameters;
    std::unique_ptr<TVDRTFReaderProperties> FRTFReadProperties;
    bool FPrinting = false;
    // Posted events not delivered yet (input).
    std::deque<std::unique_ptr<TVDMessageData>> FPostedEvents;
};

// The published form of the viewer.
class TViziVodu : public TCustomViziVodu {
public:
    explicit TViziVodu(ui::TComponent *owner) : TCustomViziVodu(owner) {}
};

} // namespace vizivodu
