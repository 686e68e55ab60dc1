// The writer of one document body as WordprocessingML: paragraphs with their properties, runs,
// breaks, bookmarks, hyperlinks, and the items' own markup.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/formats/ooxml/VDDocXSavingData.h"

namespace vizivodu {

class TVDOOXMLDocWriter {
public:
    TVDOOXMLDocWriter(TCustomVDData &data, rtl::TStream &stream, const rtl::UnicodeString &path,
                      TVDDocXSavingData &savingData, bool hiddenParent);

    // The items from the range's first to its last one; offsets as GetRangeForSaving gives.
    void WriteItems(int32_t startItemNo, int32_t startOffs, int32_t endItemNo, int32_t endOffs,
                    bool report);
    void CloseParagraph();
    // The last item written stands outside paragraphs (a table).
    bool LastWasOutsideParagraph() const { return FLastOutside; }
    bool WroteNothing() const { return FFirstWritten; }

private:
    void WriteItem(int32_t itemNo, int32_t fromOffs, int32_t toOffs);
    void StartParagraph(int32_t itemNo, TCustomVDItemInfo &item);
    AnsiString ParaProperties(int32_t itemNo, TCustomVDItemInfo &item);
    AnsiString NumberingProperties(TCustomVDItemInfo *marker);
    AnsiString RunProperties(int32_t styleNo, int32_t itemNo, bool symbol);
    void UpdateHyperlink(int32_t itemNo, TCustomVDItemInfo &item);
    void CloseHyperlink();
    void WriteText(int32_t itemNo, TCustomVDItemInfo &item, int32_t fromOffs, int32_t toOffs);
    void WriteSymbols(int32_t itemNo, int32_t styleNo);
    void WriteNonText(int32_t itemNo, TCustomVDItemInfo &item);
    void WriteRunContent(int32_t itemNo, TCustomVDItemInfo &item);
    // The application's saved form of the item, as UTF-8; false when it supplies none.
    bool ApplicationText(int32_t itemNo, AnsiString &text);

    TCustomVDData &FData;
    rtl::TStream &FStream;
    rtl::UnicodeString FPath;
    TVDDocXSavingData &FSaving;
    const TVDStyle &FStyle;
    bool FHiddenParent;
    bool FParaOpen = false;
    bool FFirstWritten = true;
    bool FLastOutside = false;
    bool FLinkOpen = false;
    rtl::UnicodeString FLinkTarget;
    rtl::UnicodeString FLinkAnchor;
    rtl::UnicodeString FLinkExtras;
};

} // namespace vizivodu
