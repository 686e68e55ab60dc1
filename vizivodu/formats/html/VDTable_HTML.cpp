// The table's HTML half: the table element with its attributes (or an inline style), one row
// element per row, one cell element per cell of its own with its span, and the cell's document
// written inside by the document writer of the same form.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_URL.h"
#include "vizivodu/formats/html/VDHTMLItems_p.h"
#include "vizivodu/formats/html/VDHTMLSave.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"

namespace vizivodu {

void TVDTableItemInfo::GetExtraCellCode(int32_t, int32_t, TVDAnsiString &images,
                                        TVDAnsiString &positions, TVDAnsiString &repeats) const {
    images.clear();
    positions.clear();
    repeats.clear();
}

namespace {

class TTableHTMLWriter {
public:
    TTableHTMLWriter(TVDTableItemInfo &table, rtl::TStream &stream, TCustomVDData *vdData,
                     TVDHTMLSaveArgs &args)
        : T(table), S(stream), D(vdData), A(args), St(*vdData->GetVDStyle()),
          FCSSAttrs(args.UseCSS || args.SaveOptions.Contains(vdsoForceNonTextCSS)),
          FSizesInCSS(args.UseCSS && args.SaveOptions.Contains(vdsoMarkersAsText)) {}
    void Write(int32_t itemNo);

private:
    TVDAnsiString Attr(const char *name, const TVDAnsiString &value,
                       const char *defaultValue = "") const {
        if (value.empty() || value == defaultValue) {
            return {};
        }
        return std::string(" ") + name + "=" + QuoteHTMLAttrValue(value, A.SaveOptions);
    }
    TVDAnsiString Pixels(TVDStyleLength v) const { return std::to_string(St.GetAsPixels(v)); }
    TVDAnsiString HTMLLength(TVDHTMLLength v) const {
        return v < 0 ? "\"" + std::to_string(-v) + "%\"" : (v > 0 ? Pixels(v) : "");
    }
    TVDAnsiString CSSLength(TVDHTMLLength v) const {
        return v < 0 ? std::to_string(-v) + "%" : (v > 0 ? St.GetCSSSize(v) : "");
    }
    bool WholePixels(TVDStyleLength v) const { return St.GetCSSSize(v) == Pixels(v) + "px"; }
    int32_t HalfSpacing() const {
        return static_cast<int32_t>(
            rtl::Round(static_cast<double>(T.GetCellVSpacing() + T.GetCellHSpacing()) / 2));
    }
    TVDAnsiString Picture(const TVDBackground *back, const rtl::UnicodeString &fileName,
                          int32_t itemNo, TColor color);
    TVDAnsiString TableStyle(const TVDAnsiString &picture) const;
    TVDAnsiString BorderColorsCSS(TColor color, TColor light, TVDTableBorderStyle style,
                                  const char *sep) const;
    TVDAnsiString CommonCellStyle(TColor color, TColor light) const;
    TVDAnsiString CellStyle(TVDTableCellData &cell, int32_t row, int32_t col,
                            const TVDAnsiString &picture);
    void WriteCell(TVDTableCellData &cell, int32_t row, int32_t col, int32_t itemNo);

    TVDTableItemInfo &T;
    rtl::TStream &S;
    TCustomVDData *D;
    TVDHTMLSaveArgs &A;
    const TVDStyle &St;
    const bool FCSSAttrs;
    const bool FSizesInCSS;
    TVDAnsiString FCommonCellStyle;
    bool FCommonMade = false;
};

TVDAnsiString TTableHTMLWriter::Picture(const TVDBackground *back,
                                        const rtl::UnicodeString &fileName, int32_t itemNo,
                                        TColor color) {
    if (!back || !back->Visible()) {
        return {};
    }
    rtl::UnicodeString location;
    if (A.SaveOptions.Contains(vdsoUseItemImageFileNames) && !fileName.empty()) {
        location = MakeRelativeURL(A.Path, fileName);
    } else {
        bool doDefault = true;
        D->HTMLSaveImage(D, itemNo, A.Path, color, location, doDefault);
        if (doDefault) {
            location = D->DoSavePicture(vdsfHTML, D, itemNo, A.ImgSavePrefix, A.Path, A.ImgSaveNo,
                                        A.SaveOptions.Contains(vdsoOverrideImages), color,
                                        *back->GetImage());
        }
    }
    return HTMLEncode(BackslashesToSlashes(location), A, D);
}

TVDAnsiString TTableHTMLWriter::BorderColorsCSS(TColor color, TColor light,
                                                TVDTableBorderStyle style, const char *sep) const {
    const TVDAnsiString c = ColorToCSS(color), l = ColorToCSS(light);
    const std::string s = sep;
    switch (style) {
    case vdtbColor:
        return "border-color" + s + ": " + c + "; border-style: solid;";
    case vdtbRaisedColor:
        return "border-color" + s + ": " + l + " " + c + " " + c + " " + l +
               "; border-style: solid;";
    case vdtbLoweredColor:
        return "border-color" + s + ": " + c + " " + l + " " + l + " " + c +
               "; border-style: solid;";
    default:
        return {};
    }
}

TVDAnsiString TTableHTMLWriter::TableStyle(const TVDAnsiString &picture) const {
    if (!FCSSAttrs) {
        return {};
    }
    TVDAnsiString css;
    const TVDStyleLength border = T.GetTableBorderWidth();
    if (border <= 0) {
        css = "border-width: 0px;";
    } else {
        if (T.GetBorderStyle() == vdtbLowered) {
            AppendWithSpaceAnsi(css, "border-style: inset;");
        } else if (T.GetBorderStyle() != vdtbColor || A.UseCSS) {
            AppendWithSpaceAnsi(css, BorderColorsCSS(T.GetColor(vdtcBorderColor),
                                                     T.GetColor(vdtcBorderLightColor),
                                                     T.GetBorderStyle(), ""));
        }
        if (!WholePixels(border)) {
            AppendWithSpaceAnsi(css, "border-width: " + St.GetCSSSize(border) + ";");
        }
    }
    if (T.GetBackgroundStyle() == vdbsStretched) {
        AppendWithSpaceAnsi(css, "background-size: 100% 100%; background-repeat: no-repeat;");
    } else if (T.GetBackgroundStyle() == vdbsCentered) {
        AppendWithSpaceAnsi(css,
                            "background-position: center center; background-repeat: no-repeat;");
    }
    if (A.UseCSS && !picture.empty()) {
        AppendWithSpaceAnsi(css, "background-image: url('" + picture + "');");
    }
    const TColor color = T.GetColor(vdtcColor);
    if (color != gfx::clNone) {
        AppendWithSpaceAnsi(css, "background-color: " + ColorToCSS(color) + ";");
        if (T.GetOpacity() != 100000) {
            AppendWithSpaceAnsi(
                css, "background-color: " + ColorOpacityToCSS(color, T.GetOpacity()) + ";");
        }
    }
    if (HalfSpacing() < 0) {
        AppendWithSpaceAnsi(css, "border-collapse: collapse;");
    } else {
        const TVDStyleLength h = std::max(0, T.GetCellHSpacing());
        const TVDStyleLength v = std::max(0, T.GetCellVSpacing());
        AppendWithSpaceAnsi(css, h == v ? "border-spacing: " + St.GetCSSSize(h) + ";"
                                        : "border-spacing: " + St.GetCSSSize(h) + " " +
                                              St.GetCSSSize(v) + ";");
        if (h < T.GetBorderHSpacing() || v < T.GetBorderVSpacing()) {
            const TVDStyleLength ph = std::max(0, T.GetBorderHSpacing() - T.GetCellHSpacing());
            const TVDStyleLength pv = std::max(0, T.GetBorderVSpacing() - T.GetCellVSpacing());
            if (ph + pv > 0) {
                AppendWithSpaceAnsi(css, ph == pv ? "padding: " + St.GetCSSSize(ph) + ";"
                                                  : "padding: " + St.GetCSSSize(pv) + " " +
                                                        St.GetCSSSize(ph) + ";");
            }
        }
    }
    if (border > 0) {
        const TVDBooleanRect &vis = T.GetVisibleBorders();
        const std::pair<bool, const char *> sides[] = {{vis.Top, "border-top: none;"},
                                                       {vis.Right, "border-right: none;"},
                                                       {vis.Bottom, "border-bottom: none;"},
                                                       {vis.Left, "border-left: none;"}};
        for (const auto &[visible, text] : sides) {
            if (!visible) {
                AppendWithSpaceAnsi(css, text);
            }
        }
    }
    return css;
}

TVDAnsiString TTableHTMLWriter::CommonCellStyle(TColor color, TColor light) const {
    TVDAnsiString css;
    const int32_t cell = St.GetAsPixels(T.GetCellBorderWidth());
    const int32_t table = St.GetAsPixels(T.GetTableBorderWidth());
    const bool byAttribute = (cell == table && cell <= 1) || (cell == 1 && table >= 2);
    if (!byAttribute || !WholePixels(T.GetCellBorderWidth())) {
        AppendWithSpaceAnsi(css, "border-width : " + St.GetCSSSize(T.GetCellBorderWidth()) + ";");
    }
    if (T.GetCellBorderWidth() > 0) {
        switch (T.GetCellBorderStyle()) {
        case vdtbRaised:
            AppendWithSpaceAnsi(css, "border-style: outset;");
            break;
        case vdtbLowered:
            AppendWithSpaceAnsi(css, "border-style: inset;");
            break;
        case vdtbColor:
            AppendWithSpaceAnsi(css, BorderColorsCSS(color, light, vdtbColor, ""));
            break;
        default:
            AppendWithSpaceAnsi(css, BorderColorsCSS(color, light, T.GetCellBorderStyle(), " "));
            break;
        }
    }
    AppendWithSpaceAnsi(css, T.GetCellVPadding() == T.GetCellHPadding()
                                 ? "padding: " + St.GetCSSSize(T.GetCellVPadding()) + ";"
                                 : "padding: " + St.GetCSSSize(T.GetCellVPadding()) + " " +
                                       St.GetCSSSize(T.GetCellHPadding()) + ";");
    return css;
}

TVDAnsiString TTableHTMLWriter::CellStyle(TVDTableCellData &cell, int32_t row, int32_t col,
                                          const TVDAnsiString &picture) {
    if (!FCSSAttrs) {
        return {};
    }
    TVDAnsiString css;
    if (cell.GetBorderColor() == gfx::clNone && cell.GetBorderLightColor() == gfx::clNone) {
        if (!FCommonMade) {
            FCommonCellStyle = CommonCellStyle(T.GetColor(vdtcCellBorderColor),
                                               T.GetColor(vdtcCellBorderLightColor));
            FCommonMade = true;
        }
        css = FCommonCellStyle;
    } else {
        css = CommonCellStyle(
            cell.GetBorderColor() != gfx::clNone ? cell.GetBorderColor()
                                                 : T.GetColor(vdtcCellBorderColor),
            cell.GetBorderLightColor() != gfx::clNone ? cell.GetBorderLightColor()
                                                      : T.GetColor(vdtcCellBorderLightColor));
    }
    TVDAnsiString images, positions, repeats;
    T.GetExtraCellCode(row, col, images, positions, repeats);
    if (A.UseCSS && !picture.empty()) {
        const TVDItemBackgroundStyle style = cell.GetBackgroundStyle();
        AppendWithSeparatorAnsi(images, "url('" + picture + "')", ", ");
        AppendWithSeparatorAnsi(positions,
                                style == vdbsStretched
                                    ? "100%"
                                    : (style == vdbsCentered ? "center center" : "left top"),
                                ", ");
        AppendWithSeparatorAnsi(
            repeats, style == vdbsStretched || style == vdbsCentered ? "no-repeat" : "repeat",
            ", ");
    }
    if (!images.empty()) {
        AppendWithSpaceAnsi(css, "background-image: " + images + ";");
        AppendWithSpaceAnsi(css, "background-position: " + positions + ";");
        AppendWithSpaceAnsi(css, "background-repeat: " + repeats + ";");
    }
    if (T.GetCellBorderWidth() > 0) {
        const TVDBooleanRect &vis = cell.GetVisibleBorders();
        const std::pair<bool, const char *> sides[] = {{vis.Top, "border-top: none;"},
                                                       {vis.Right, "border-right: none;"},
                                                       {vis.Bottom, "border-bottom: none;"},
                                                       {vis.Left, "border-left: none;"}};
        for (const auto &[visible, text] : sides) {
            if (!visible) {
                AppendWithSpaceAnsi(css, text);
            }
        }
    }
    const TColor color = T.GetCellColor(row, col, false, false);
    if (color != T.GetColor(vdtcColor) || cell.GetOpacity() != 100000 || T.GetOpacity() != 100000) {
        AppendWithSpaceAnsi(css, "background-color: " + ColorToCSS(color) + ";");
        if (color != gfx::clNone && cell.GetOpacity() != 100000) {
            AppendWithSpaceAnsi(
                css, "background-color: " + ColorOpacityToCSS(color, cell.GetOpacity()) + ";");
        }
    }
    if (FSizesInCSS) {
        if (!CSSLength(cell.GetBestWidth()).empty()) {
            AppendWithSpaceAnsi(css, "width: " + CSSLength(cell.GetBestWidth()) + ";");
        }
        if (cell.GetBestHeight() > 0) {
            AppendWithSpaceAnsi(css, "height: " + St.GetCSSSize(cell.GetBestHeight()) + ";");
        }
    }
    return css;
}

const char *VAlignName(TVDCellVAlign vAlign) {
    switch (vAlign) {
    case vdcTop:
        return "top";
    case vdcMiddle:
        return "middle";
    case vdcBottom:
        return "bottom";
    default:
        return "";
    }
}

void TTableHTMLWriter::WriteCell(TVDTableCellData &cell, int32_t row, int32_t col, int32_t itemNo) {
    const TColor color = T.GetCellColor(row, col, true, true);
    const TVDAnsiString picture =
        Picture(cell.GetCellBackground(), cell.GetBackgroundImageFileName(), itemNo, color);
    TVDAnsiString attrs = Attr("colspan", std::to_string(cell.GetColSpan()), "1") +
                          Attr("rowspan", std::to_string(cell.GetRowSpan()), "1");
    if (!FSizesInCSS) {
        attrs += Attr("width", HTMLLength(cell.GetBestWidth())) +
                 Attr("height", cell.GetBestHeight() > 0 ? Pixels(cell.GetBestHeight()) : "");
    }
    attrs += Attr("valign", VAlignName(cell.GetVAlign()));
    if (!A.UseCSS) {
        const TColor own = T.GetCellColor(row, col, false, false);
        if (own != T.GetColor(vdtcColor)) {
            attrs += Attr("bgcolor", ColorToHTMLStrAnsi(own, false));
        }
        if (!picture.empty()) {
            attrs += " background=\"" + picture + "\"";
        }
    }
    const TVDAnsiString css = CellStyle(cell, row, col, picture);
    WriteCSSText(S, "<td" + attrs + (css.empty() ? "" : " style=\"" + css + "\"") + ">");
    if (!cell.HasData(true)) {
        WriteCSSText(S, "<br" + GetXHTMLTagEnd(A.SaveOptions) + ">");
    } else {
        TVDHTMLSaveParams params;
        params.Path = A.Path;
        params.ImagesPrefix = A.ImgSavePrefix;
        params.ImgSaveNo = A.ImgSaveNo;
        params.Options = A.SaveOptions;
        params.Options.Exclude(vdsoFirstOnly);
        params.Options.Exclude(vdsoLastOnly);
        params.Options.Include(vdsoMiddleOnly);
        params.Color = color;
        params.CurrentFileColor = color;
        params.Bullets = A.Bullets;
        params.ListBullets = A.ListBullets;
        const bool ok =
            A.UseCSS ? cell.SaveHTMLToStreamEx(S, params) : cell.SaveHTMLToStream(S, params);
        A.ImgSaveNo = params.ImgSaveNo;
        if (!ok) {
            throw EViziVoduError(u"HTML export of a table cell failed");
        }
    }
    WriteCSSText(S, "</td>");
}

void TTableHTMLWriter::Write(int32_t itemNo) {
    const TVDAnsiString picture = Picture(T.GetTableBackground(), T.GetBackgroundImageFileName(),
                                          itemNo, T.GetColor(vdtcColor));
    TVDAnsiString attrs = Attr("width", HTMLLength(T.GetBestWidth()));
    const bool oneBorder = FCSSAttrs && T.GetTableBorderWidth() <= 0 && T.GetCellBorderWidth() != 0;
    attrs += " border=" +
             QuoteHTMLAttrValue(oneBorder ? "1" : Pixels(T.GetTableBorderWidth()), A.SaveOptions);
    if (!(A.UseCSS && FSizesInCSS)) {
        attrs += Attr("cellpadding", Pixels(T.GetCellPadding())) +
                 Attr("cellspacing", Pixels(HalfSpacing()));
    }
    if (!A.UseCSS) {
        const TColor c = T.GetColor(vdtcBorderColor), l = T.GetColor(vdtcBorderLightColor);
        switch (T.GetBorderStyle()) {
        case vdtbColor:
            attrs += Attr("bordercolor", ColorToHTMLStrAnsi(c, false));
            break;
        case vdtbRaisedColor:
            attrs += Attr("bordercolorlight", ColorToHTMLStrAnsi(l, false)) +
                     Attr("bordercolordark", ColorToHTMLStrAnsi(c, false));
            break;
        case vdtbLoweredColor:
            attrs += Attr("bordercolorlight", ColorToHTMLStrAnsi(c, false)) +
                     Attr("bordercolordark", ColorToHTMLStrAnsi(l, false));
            break;
        default:
            break;
        }
        attrs += Attr("bgcolor", ColorToHTMLStrAnsi(T.GetColor(vdtcColor), false));
        if (!picture.empty()) {
            attrs += " background=\"" + picture + "\"";
        }
    }
    const TVDAnsiString css = TableStyle(picture);
    WriteCSSText(S, "<table" + attrs + (css.empty() ? "" : " style=\"" + css + "\"") + ">");
    for (int32_t r = 0; r < T.GetRowCount(); ++r) {
        WriteCSSText(S, "<tr" + Attr("valign", VAlignName(T.GetRows().Get(r)->VAlign)) + ">");
        for (int32_t c = 0; c < T.GetColCount(); ++c) {
            if (TVDTableCellData *cell = T.GetCells(r, c)) {
                WriteCell(*cell, r, c, itemNo);
            }
        }
        WriteCSSLine(S, "</tr>");
    }
    WriteCSSLine(S, "</table>");
}

} // namespace

void TVDTableItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                  const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    TTableHTMLWriter(*this, stream, vdData, args).Write(itemNo);
}

} // namespace vizivodu
