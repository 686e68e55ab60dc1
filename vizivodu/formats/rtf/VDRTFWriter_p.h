// The state of one document's RTF writing and what the writer's units share: the
// document frame, the style sheet, the list table and overrides, paragraph and character
// formatting, and the marker font of list levels.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/CVDData_Helpers.h"

#include <string_view>
#include <vector>

namespace gfx {
class TFont;
class TGraphic;
class TCustomImageList;
} // namespace gfx

namespace vizivodu {

class TVDListLevel;
class TVDStyle;

// Bytes as they stand.
void RTFWrite(rtl::TStream &stream, std::string_view s);
// Bytes followed by CR LF.
void RTFWriteLine(rtl::TStream &stream, std::string_view s);

// "\f", "\b", "\i", "\ul", "\strike", "\fs", "\lang", "\cf" of a list level's marker font.
AnsiString RTFMarkerFontWords(const gfx::TFont &font, const TVDStyle &vdStyle,
                              const TCustomVDRTFTables &rtfTables);

// One "{\pict ...}" group of a graphic shown at width x height style units (0 or less: its
// natural size); nothing for nullptr.
void WriteRTFPicture(rtl::TStream &stream, const TVDStyle &vdStyle, const gfx::TGraphic *graphic,
                     TVDRTFOptions options, TVDStyleLength width, TVDStyleLength height);
// An image of an image list as a device-independent bitmap; nothing for a missing image.
void WriteRTFImageListImage(rtl::TStream &stream, gfx::TCustomImageList *imageList,
                            int32_t imageIndex);

// The writer of one SaveRTFToStream call: the styles last written and the counters.
class TVDRTFDocWriter {
public:
    TVDRTFDocWriter(TCustomVDData &data, rtl::TStream &stream, TVDRTFSavingData &savingData,
                    int32_t level, TVDRTFDocType docType, bool hiddenParent);

    // The frame of a complete document: header, tables, style sheet, list table, headers and
    // footers, extra code.
    void WriteFrame(TCustomVDData *const headers[6], gfx::TColor color);
    // The items from the range's first to its last item.
    void WriteItems(int32_t startItemNo, int32_t startOffs, int32_t endItemNo, int32_t endOffs,
                    bool selectionOnly);
    // The paragraph formatting of paragraph style index, with the list marker that begins
    // the paragraph (nullptr when none).
    void WriteParaFormatting(int32_t index, TCustomVDItemInfo *marker, bool inStyleSheet);
    void WriteCharFormatting(int32_t index, bool inStyleSheet);
    void WriteBookmark(const rtl::UnicodeString &name);
    // The bookmark of a checkpoint after the last item; an empty name gets a made-up one.
    void WriteEndBookmark(const rtl::UnicodeString &name);
    // The paragraph's first item when it is a list marker; nullptr otherwise.
    TCustomVDItemInfo *ParaMarker(int32_t firstParaItemNo);

private:
    void WriteFontTable();
    void WriteColorTable();
    void WriteStyleSheet();
    void WriteListTable(TCustomVDData *const headers[6]);
    void WriteListLevel(int32_t listNo, TVDListLevel &level);
    void WriteListOverrides(TCustomVDData *const headers[6], const std::vector<int32_t> &listIds);
    void WriteExtra(TVDRTFSaveArea area, const void *obj, int32_t index1, int32_t index2,
                    bool inStyleSheet);
    // One item; startOffs/endOffs cut a text item of a selection (0 for whole).
    void WriteItem(int32_t itemNo, int32_t fromOffs, int32_t toOffs, int32_t prevItemNo);
    void WriteLineStart(int32_t itemNo, TCustomVDItemInfo &item, int32_t prevItemNo);
    void WriteHyperlinkStart(int32_t itemNo, TCustomVDItemInfo &item, bool &fieldOpen);
    void WriteTextLike(int32_t itemNo, TCustomVDItemInfo &item, int32_t styleNo, int32_t fromOffs,
                       int32_t toOffs);
    void WriteDirection(int32_t itemNo, int32_t styleNo, bool styleChanged);
    void WriteOther(int32_t itemNo, TCustomVDItemInfo &item);
    bool WrittenByApplication(int32_t itemNo);

    TCustomVDData &FData;
    rtl::TStream &FStream;
    TVDRTFSavingData &FSaving;
    const TVDStyle &FStyle;
    int32_t FLevel;
    TVDRTFDocType FDocType;
    bool FHiddenParent;
    bool FDuplicateUnicode;
    bool FFirstWritten = true;
    int32_t FLastParaStyle = -1;
    int32_t FLastTextStyle = -1;
    int32_t FLastDirPara = -1;
    bool FDirectionWritten = false;
    const TVDListLevel *FLastListLevel = nullptr;
    int32_t FBookmarkCount = 0;
};

} // namespace vizivodu
