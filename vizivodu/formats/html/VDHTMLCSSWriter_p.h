// The HTML writer with CSS: its state and steps (head and body declarations in
// CVDData_HTMLCSS.cpp, the content in CVDData_HTMLCSSContent.cpp).
#pragma once

#include "vizivodu/formats/html/VDHTMLWriter_p.h"

namespace vizivodu {

class TVDHTMLCSSWriter : public TVDHTMLWriterBase {
public:
    TVDHTMLCSSWriter(TCustomVDData &data, rtl::TStream &stream, TVDHTMLSaveParams &params)
        : TVDHTMLWriterBase(data, stream, params, true),
          FInline(params.Options.Contains(vdsoInlineCSS)) {
        if (!FParams.ListBullets) {
            FParams.ListBullets = &FOwnListBullets;
            FOwnsListBullets = true;
        }
    }
    ~TVDHTMLCSSWriter() {
        if (FOwnsListBullets) {
            FParams.ListBullets = nullptr;
        }
    }
    void Head();
    void Content();
    void End();

private:
    void DocType();
    void StyleBlock();
    TVDAnsiString BodyDeclarations(const char *separator, char quote);
    TVDSaveCSSOptions CSSOptions() const;
    TVDAnsiString TextStyleAttr(int32_t styleNo) const;
    TVDAnsiString ParaInlineCSS(int32_t itemNo, bool ignoreStartIndents) const;
    TVDAnsiString ParaAttrs(int32_t itemNo) const;
    TVDAnsiString ElementName(int32_t paraNo) const;
    void CloseBlock();
    void NewLine(int32_t itemNo);
    void StartParagraph(int32_t itemNo, bool division);
    void StartListItem(TVDMarkerItemInfo &marker, int32_t itemNo);
    void StartTextMarkerParagraph(TVDMarkerItemInfo &marker, int32_t itemNo);
    void SaveItem(int32_t itemNo);
    void SaveTextItem(int32_t itemNo, TCustomVDItemInfo &item);
    bool PlainStyle0() const;

    const bool FInline;
    TVDHTMLListCSSList FOwnListBullets;
    bool FOwnsListBullets = false;
    bool FParaOpen = false;
    bool FItemOpen = false;
    TVDAnsiString FParaElement; // "div" or the element name of the open paragraph
    int32_t FParaItemNo = 0;
};

} // namespace vizivodu
