// The HTML halves of the items: pictures as img tags (with the box as CSS), breaks as rules,
// tabs as blanks, controls as the application's text, bullets and hotspots as image files.
#include "vizivodu/document/VDItem.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Bullet.h"
#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/common/VDFuncs_URL.h"
#include "vizivodu/formats/html/VDHTMLItems_p.h"
#include "vizivodu/formats/html/VDHTMLSave.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/ImgList.h"
#include "platform/rtl/StrUtils.h"

namespace vizivodu {

TVDAnsiString HTMLEncode(const rtl::UnicodeString &s, const TVDHTMLSaveArgs &args,
                         TCustomVDData *vdData) {
    return UnicodeToHTMLEncoding(s, args.SaveOptions.Contains(vdsoUTF8), vdData->GetVDStyle());
}

void TCustomVDItemInfo::SaveToHTML(rtl::TStream &, TCustomVDData *, int32_t,
                                   const TVDRawByteString &, TVDHTMLSaveArgs &) {}

// ---- The box of rectangular items ----

namespace {

const char *VAlignCSSValue(TVDVAlign vAlign) {
    switch (vAlign) {
    case vdvaMiddle:
    case vdvaAbsMiddle:
        return "middle";
    case vdvaAbsTop:
        return "text-top";
    case vdvaAbsBottom:
        return "text-bottom";
    case vdvaLeft:
        return "left";
    case vdvaRight:
        return "right";
    default:
        return nullptr;
    }
}

const char *VAlignAttrValue(TVDVAlign vAlign) {
    switch (vAlign) {
    case vdvaMiddle:
        return "middle";
    case vdvaAbsTop:
        return "top";
    case vdvaAbsBottom:
        return "absbottom";
    case vdvaAbsMiddle:
        return "absmiddle";
    case vdvaLeft:
        return "left";
    case vdvaRight:
        return "right";
    default:
        return nullptr;
    }
}

} // namespace

TVDAnsiString GetRectItemCSS(TVDRectItemInfo &item, const TVDStyle &vdStyle) {
    TVDAnsiString css;
    const int32_t height = item.GetImageHeight(&vdStyle);
    if (item.VShift != 0 && height != 0 && item.VAlign == vdvaBaseline) {
        AppendWithSpaceAnsi(
            css, item.VShiftAbs
                     ? "vertical-align : " + vdStyle.GetCSSSize(item.VShift) + ";"
                     : "vertical-align : " + std::to_string(height * item.VShift / 100) + "px;");
    }
    if (const char *value = VAlignCSSValue(item.VAlign)) {
        const bool floating = item.VAlign == vdvaLeft || item.VAlign == vdvaRight;
        AppendWithSpaceAnsi(css, std::string(floating ? "float" : "vertical-align") + ": " + value +
                                     ";");
    }
    if (item.Hidden) {
        AppendWithSpaceAnsi(css, "display: none;");
    }
    if (item.Spacing > 0) {
        AppendWithSpaceAnsi(css, "padding : " + vdStyle.GetCSSSize(item.Spacing) + ";");
    }
    if (item.BackgroundColor != gfx::clNone) {
        AppendWithSpaceAnsi(css, "background-color : " + ColorToCSS(item.BackgroundColor) + ";");
    }
    if (item.BorderWidth > 0) {
        AppendWithSpaceAnsi(css, "border : " + ColorToCSS(item.BorderColor) + " solid " +
                                     vdStyle.GetCSSSize(item.BorderWidth) + ";");
    }
    if (item.OuterVSpacing > 0 || item.OuterHSpacing > 0) {
        AppendWithSpaceAnsi(css, "margin : " + vdStyle.GetCSSSize(item.OuterVSpacing) + " " +
                                     vdStyle.GetCSSSize(item.OuterHSpacing) + ";");
    }
    return css;
}

// ---- Pictures ----

rtl::UnicodeString TVDGraphicItemInfo::GetMoreImgAttributes(TCustomVDData *, int32_t,
                                                            const TVDHTMLSaveArgs &) {
    return {};
}

namespace {

rtl::UnicodeString PictureLocation(TVDGraphicItemInfo &item, TCustomVDData *vdData, int32_t itemNo,
                                   TVDHTMLSaveArgs &args) {
    const bool useFileName =
        !item.ImageFileName.empty() && args.SaveOptions.Contains(vdsoUseItemImageFileNames);
    rtl::UnicodeString location =
        useFileName ? MakeRelativeURL(args.Path, item.ImageFileName) : rtl::UnicodeString();
    bool doDefault = true;
    vdData->HTMLSaveImage(vdData, itemNo, args.Path, args.CurrentFileColor, location, doDefault);
    if (!doDefault) {
        return location;
    }
    if (useFileName) {
        return MakeRelativeURL(args.Path, item.ImageFileName);
    }
    if (!item.GetImage()) {
        return {};
    }
    const TColor back =
        item.BackgroundColor != gfx::clNone ? item.BackgroundColor : args.CurrentFileColor;
    return vdData->DoSavePicture(vdsfHTML, vdData, itemNo, args.ImgSavePrefix, args.Path,
                                 args.ImgSaveNo, args.SaveOptions.Contains(vdsoOverrideImages),
                                 back, *item.GetImage());
}

TVDAnsiString PictureAttributes(TVDGraphicItemInfo &item, TCustomVDData *vdData,
                                const TVDHTMLSaveArgs &args) {
    const TVDStyle &vdStyle = *vdData->GetVDStyle();
    const TVDSaveOptions options = args.SaveOptions;
    TVDAnsiString list;
    if (!args.UseCSS && (item.BorderWidth > 0 || options.Contains(vdsoNoHypertextImageBorders))) {
        AppendWithSpaceAnsi(
            list, "border=" + IntToHTMLAttrValue(vdStyle.GetAsPixels(item.BorderWidth), options));
    }
    if ((options.Contains(vdsoImageSizes) && !item.NoHTMLImageSize) || item.ImageWidth > 0 ||
        item.ImageHeight > 0) {
        AppendWithSpaceAnsi(
            list, "width=" + IntToHTMLAttrValue(item.GetImageWidth(&vdStyle), options) +
                      " height=" + IntToHTMLAttrValue(item.GetImageHeight(&vdStyle), options));
    }
    if (!item.Alt.empty() || args.UseCSS) {
        AppendWithSpaceAnsi(
            list, "alt=\"" + HTMLEncode(EscapeHTMLAttrUnicode(item.Alt), args, vdData) + "\"");
    }
    if (!args.UseCSS && item.Spacing > 0) {
        AppendWithSpaceAnsi(
            list, "hspace=" +
                      IntToHTMLAttrValue(vdStyle.GetAsPixels(item.Spacing + item.OuterHSpacing),
                                         options) +
                      " vspace=" +
                      IntToHTMLAttrValue(vdStyle.GetAsPixels(item.Spacing + item.OuterVSpacing),
                                         options));
    }
    if (!item.Hint.empty()) {
        AppendWithSpaceAnsi(list, HTMLEncode(MakeHintAttribute(vdsfHTML, item.Hint), args, vdData));
    }
    const TVDAnsiString css = args.UseCSS ? GetRectItemCSS(item, vdStyle) : TVDAnsiString();
    if (!css.empty()) {
        AppendWithSpaceAnsi(list, "style=\"" + css + "\"");
    }
    return list.empty() ? " " : " " + list + " ";
}

} // namespace

void TVDGraphicItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                    const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    const rtl::UnicodeString location = PictureLocation(*this, vdData, itemNo, args);
    if (location.empty()) {
        return;
    }
    TVDAnsiString align;
    if (!args.UseCSS) {
        if (const char *value = VAlignAttrValue(VAlign)) {
            align = " align=" + QuoteHTMLAttrValue(value, args.SaveOptions);
        }
    }
    WriteCSSText(stream, "<img" + align + PictureAttributes(*this, vdData, args) + "src=\"" +
                             HTMLEncode(BackslashesToSlashes(location), args, vdData) + "\"" +
                             HTMLEncode(GetMoreImgAttributes(vdData, itemNo, args), args, vdData) +
                             GetXHTMLTagEnd(args.SaveOptions) + ">");
}

// ---- Breaks and tabs ----

namespace {

TVDAnsiString BreakCSS(const TVDBreakItemInfo &item, const TVDStyle &vdStyle, TColor color) {
    const TVDAnsiString c = ColorToHTMLStrAnsi(color, false);
    TVDAnsiString css = "height: " + vdStyle.GetCSSSize(item.LineWidth) + ";";
    if (item.Style != vdbs3d) {
        AppendWithSpaceAnsi(css, "color : " + c + ";");
    }
    switch (item.Style) {
    case vdbsLine:
        AppendWithSpaceAnsi(css, " background-color : " + c + "; border-width : 0px;");
        break;
    case vdbsRectangle:
    case vdbsDotted:
    case vdbsDashed: {
        const char *border = item.Style == vdbsRectangle
                                 ? "solid"
                                 : (item.Style == vdbsDotted ? "dotted" : "dashed");
        AppendWithSpaceAnsi(css, std::string("background-color : transparent; border-style : ") +
                                     border + "; border-color : " + c + ";");
        if (item.Style == vdbsRectangle) {
            AppendWithSpaceAnsi(css, "border-width : 1px;");
        }
        break;
    }
    default:
        break;
    }
    if (item.Hidden) {
        AppendWithSpaceAnsi(css, "display: none;");
    }
    return css;
}

} // namespace

void TVDBreakItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                  const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    const TVDStyle &vdStyle = *vdData->GetVDStyle();
    const TVDAnsiString hint =
        Hint.empty() ? "" : HTMLEncode(MakeHintAttribute(vdsfHTML, Hint), args, vdData) + " ";
    const TColor color =
        Color != gfx::clNone ? Color : vdStyle.GetTextStyles().GetItem(0).GetColor();
    const bool plain = !args.SaveOptions.Contains(vdsoForceNonTextCSS) && !args.UseCSS;
    const TVDAnsiString css = plain ? "" : BreakCSS(*this, vdStyle, color);
    const TVDAnsiString noshade =
        plain && Style != vdbs3d ? GetHTMLBoolAttr("noshade", args.SaveOptions) + " " : "";
    const TVDAnsiString end = GetXHTMLTagEnd(args.SaveOptions);
    if (plain || css.empty()) {
        WriteCSSText(stream,
                     "<hr " + noshade + "size=" +
                         IntToHTMLAttrValue(vdStyle.GetAsPixels(LineWidth), args.SaveOptions) +
                         " " + hint + "color=" + ColorToHTMLStrAnsi(color, true) + end + ">");
    } else {
        WriteCSSText(stream, "<hr " + noshade + hint + "style=\"" + css + "\"" + end + ">");
    }
}

void TVDTabItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    int32_t count = vdData->GetVDStyle()->GetSpacesInTab();
    if (count <= 0) {
        count = 8;
    }
    TVDAnsiString unit = " &nbsp;";
    int32_t length = 2;
    if (!Leader.empty()) {
        unit = EscapeHTMLTextAnsi(HTMLEncode(Leader, args, vdData), false,
                                  vdData->NextItemFromSpace(itemNo));
        length = static_cast<int32_t>(Leader.size());
    }
    const bool hide = args.UseCSS && Hidden;
    if (hide) {
        WriteCSSText(stream, "<span style=\"{display: none}\">");
    }
    for (int32_t i = 0; i < (count + length - 1) / length; ++i) {
        WriteCSSText(stream, unit);
    }
    if (hide) {
        WriteCSSText(stream, "</span>");
    }
}

// ---- Controls ----

void TVDControlItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                    const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    const rtl::UnicodeString text = vdData->SaveComponentToFile(args.Path, GetControl(), vdsfHTML);
    if (!text.empty()) {
        WriteCSSText(stream, HTMLEncode(text, args, vdData));
    }
}

// ---- Bullets and hotspots ----

rtl::UnicodeString SaveImageListImageToHTML(gfx::TCustomImageList *imageList, int32_t imageIndex,
                                            const gfx::TGraphic *graphic, TColor backColor,
                                            TCustomVDData *vdData, int32_t itemNo,
                                            TVDHTMLSaveArgs &args) {
    if (args.Bullets) {
        for (const TVDHTMLBulletInfo &info : *args.Bullets) {
            if (info.ImageList == imageList && info.ImageIndex == imageIndex &&
                info.Graphic == graphic && info.BackColor == backColor) {
                return info.FileName;
            }
        }
    }
    const int32_t w = imageList ? imageList->GetWidth() : (graphic ? graphic->GetWidth() : 0);
    const int32_t h = imageList ? imageList->GetHeight() : (graphic ? graphic->GetHeight() : 0);
    gfx::TBitmap bitmap(w, h);
    gfx::TCanvas &canvas = bitmap.GetCanvas();
    canvas.GetBrush().SetColor(backColor == gfx::clNone ? gfx::TColor(0xFFFFFF) : backColor);
    canvas.FillRect(gfx::TRect{0, 0, w, h});
    if (imageList) {
        imageList->Draw(canvas, 0, 0, imageIndex);
    } else if (graphic) {
        canvas.Draw(0, 0, *graphic);
    }
    const rtl::UnicodeString location = BackslashesToSlashes(vdData->DoSavePicture(
        vdsfHTML, vdData, itemNo, args.ImgSavePrefix, args.Path, args.ImgSaveNo,
        args.SaveOptions.Contains(vdsoOverrideImages), backColor, bitmap));
    if (args.Bullets) {
        args.Bullets->push_back({location, imageList, imageIndex, backColor, graphic});
    }
    return location;
}

void TVDBulletItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                   const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    rtl::UnicodeString location;
    bool doDefault = true;
    vdData->HTMLSaveImage(vdData, itemNo, args.Path, args.CurrentFileColor, location, doDefault);
    if (doDefault && GetImageList()) {
        location = SaveImageListImageToHTML(GetImageList(), ImageIndex, nullptr,
                                            BackgroundColor != gfx::clNone ? BackgroundColor
                                                                           : args.CurrentFileColor,
                                            vdData, itemNo, args);
    }
    const TVDStyle &vdStyle = *vdData->GetVDStyle();
    TVDAnsiString size =
        args.SaveOptions.Contains(vdsoNoHypertextImageBorders) ? " border=0 " : " ";
    if (args.SaveOptions.Contains(vdsoImageSizes) && !NoHTMLImageSize && GetImageList()) {
        size += "width=" + std::to_string(GetImageList()->GetWidth()) +
                " height=" + std::to_string(GetImageList()->GetHeight()) + " ";
    }
    TVDAnsiString list;
    const TVDAnsiString css = args.UseCSS ? GetRectItemCSS(*this, vdStyle) : TVDAnsiString();
    if (!css.empty()) {
        AppendWithSpaceAnsi(list, "style=\"" + css + "\"");
    }
    if (!Alt.empty() || args.UseCSS) {
        AppendWithSpaceAnsi(list,
                            "alt=\"" + HTMLEncode(EscapeHTMLAttrUnicode(Alt), args, vdData) + "\"");
    }
    if (!Hint.empty()) {
        AppendWithSpaceAnsi(list, HTMLEncode(MakeHintAttribute(vdsfHTML, Hint), args, vdData));
    }
    WriteCSSText(stream, "<img" + size + (list.empty() ? "" : " " + list + " ") + "src=\"" +
                             HTMLEncode(location, args, vdData) + "\"" +
                             GetXHTMLTagEnd(args.SaveOptions) + ">");
}

} // namespace vizivodu
