// The DOCX halves of the items: tabs, breaks, pictures (DrawingML with a media part),
// controls, bullets, labels, sequences and page fields.
#include "vizivodu/document/VDItem.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Bullet.h"
#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDLabelItem.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/ooxml/VDDocXSavingData.h"
#include "vizivodu/formats/ooxml/VDOOXMLItems_p.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/gfx/Bitmap.h"

#include <cstdio>

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

} // namespace

void TCustomVDItemInfo::SaveOOXML(rtl::TStream &, TCustomVDData *, int32_t, TVDDocXSavingData &,
                                  bool) {}

void TCustomVDItemInfo::SaveOOXMLBeforeRun(rtl::TStream &, TCustomVDData *, int32_t,
                                           TVDDocXSavingData &, bool) {}

void TCustomVDItemInfo::SaveOOXMLAfterRun(rtl::TStream &, TCustomVDData *, int32_t,
                                          TVDDocXSavingData &, bool) {}

void TVDTabItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *, int32_t, TVDDocXSavingData &,
                               bool) {
    OOXMLWrite(stream, "<w:tab/>");
}

void TVDBreakItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                 TVDDocXSavingData &savingData, bool) {
    AnsiString fill;
    AnsiString noShade;
    if (Style == vdbs3d) {
        fill = "\"#a0a0a0\"";
    } else {
        fill = Color == gfx::clNone ? "\"#000000\"" : ColorToHTMLStrAnsi(Color, true);
        noShade = " o:hrnoshade=\"t\"";
    }
    OOXMLWrite(stream,
               "<w:pict><v:rect id=\"hr" + Num(savingData.BreakIndex) +
                   "\" style=\"width:0;height:" + vdData->GetVDStyle()->GetCSSSize(LineWidth) +
                   "\" o:hralign=\"center\" o:hrstd=\"t\"" + noShade +
                   " o:hr=\"t\" fillcolor=" + fill + " stroked=\"f\"/></w:pict>");
    ++savingData.BreakIndex;
}

// ---- Pictures ----

namespace {

AnsiString DrawingHead(const TVDOOXMLDrawing &d, const std::string &extent,
                       const std::string &effect) {
    const std::string dist = "distT=\"" + Num(d.VSpacing) + "\" distB=\"" + Num(d.VSpacing) +
                             "\" distL=\"" + Num(d.HSpacing) + "\" distR=\"" + Num(d.HSpacing) +
                             "\"";
    if (d.VAlign != vdvaLeft && d.VAlign != vdvaRight) {
        return "<wp:inline " + dist + ">" + extent + effect;
    }
    const bool left = d.VAlign == vdvaLeft;
    return "<wp:anchor " + dist +
           " simplePos=\"0\" relativeHeight=\"1\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" "
           "allowOverlap=\"0\"><wp:simplePos x=\"0\" y=\"0\"/><wp:positionH "
           "relativeFrom=\"column\"><wp:align>" +
           (left ? "left" : "right") +
           "</wp:align></wp:positionH><wp:positionV relativeFrom=\"line\"><wp:posOffset>0"
           "</wp:posOffset></wp:positionV>" +
           extent + effect + "<wp:wrapSquare wrapText=\"" + (left ? "right" : "left") + "\"/>";
}

} // namespace

void WriteOOXMLDrawing(rtl::TStream &stream, const TVDOOXMLDrawing &d) {
    const std::string extent =
        "<wp:extent cx=\"" + Num(d.Width) + "\" cy=\"" + Num(d.Height) + "\"/>";
    const std::string b = Num(d.BorderWidth);
    const std::string effect =
        "<wp:effectExtent l=\"" + b + "\" t=\"" + b + "\" r=\"" + b + "\" b=\"" + b + "\"/>";
    const bool anchored = d.VAlign == vdvaLeft || d.VAlign == vdvaRight;
    AnsiString s = "<w:drawing>" + DrawingHead(d, extent, effect);
    s += "<wp:docPr id=\"" + Num(d.DrawingIndex) + "\" name=\"Pic " + Num(d.DrawingIndex) + "\"";
    if (!d.Alt.empty()) {
        s += " title=\"" + MakeOOXMLAttrStr(d.Alt) + "\"";
    }
    s += "/><wp:cNvGraphicFramePr><a:graphicFrameLocks "
         "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
         "noChangeAspect=\"1\"/></wp:cNvGraphicFramePr><a:graphic "
         "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:graphicData "
         "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic "
         "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
         "<pic:nvPicPr><pic:cNvPr id=\"0\"";
    if (!d.Name.empty()) {
        s += " name=\"" + d.Name + "\"";
    }
    s += "/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" + d.RelId +
         "\" cstate=\"print\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr>"
         "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
         Num(d.Width) + "\" cy=\"" + Num(d.Height) +
         "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>";
    if (d.FillColor != gfx::clNone) {
        s += "<a:solidFill><a:srgbClr val=\"" + ColorToOOXMLStr(d.FillColor, false) +
             "\"/></a:solidFill>";
    }
    if (d.BorderColor != gfx::clNone && d.BorderWidth > 0) {
        s += "<a:ln w=\"" + b + "\" cmpd=\"sng\"><a:solidFill><a:srgbClr val=\"" +
             ColorToOOXMLStr(d.BorderColor, false) + "\"/></a:solidFill></a:ln>";
    }
    s += "</pic:spPr></pic:pic></a:graphicData></a:graphic>";
    s += anchored ? "</wp:anchor>" : "</wp:inline>";
    OOXMLWrite(stream, s + "</w:drawing>");
}

namespace {

// The picture as stored in the package: bitmaps and icons become PNG where possible.
std::unique_ptr<gfx::TGraphic> PackageCopy(const gfx::TGraphic &image) {
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    const TVDGraphicType type = handler.GetGraphicType(image);
    if (type == vdgtIcon) {
        return handler.IconToPng(image);
    }
    if (type != vdgtBitmap || !handler.IsPngClassAssigned()) {
        return nullptr;
    }
    std::unique_ptr<gfx::TGraphic> png = handler.CreateGraphicByType(vdgtPNG);
    const TVDGraphicClass *pngClass = handler.GetGraphicClassByType(vdgtPNG);
    try {
        pngClass->Assign(*png, image);
    } catch (const rtl::Exception &) {
        if (dynamic_cast<const gfx::TBitmap *>(&image)) {
            throw;
        }
        pngClass->Assign(*png, *handler.ToBitmap(image));
    }
    return png;
}

} // namespace

void TVDGraphicItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                   TVDDocXSavingData &savingData, bool) {
    gfx::TGraphic *image = GetImage();
    if (!image) {
        OOXMLWrite(stream, "<w:t/>");
        return;
    }
    const std::unique_ptr<gfx::TGraphic> copy = PackageCopy(*image);
    const gfx::TGraphic &g = copy ? *copy : *image;
    const TVDStyle &vdStyle = *vdData->GetVDStyle();
    const TVDStyleLength width =
        ImageWidth >= 1 ? ImageWidth : vdStyle.PixelsToUnits(image->GetWidth());
    const TVDStyleLength height =
        ImageHeight >= 1 ? ImageHeight : vdStyle.PixelsToUnits(image->GetHeight());
    ++savingData.ImageIndex;
    ++savingData.DrawingIndex;
    const rtl::UnicodeString ext = GlobalGraphicHandler->GetGraphicExt(g);
    const AnsiString name = "img" + Num(savingData.ImageIndex) + "." + rtl::Utf16ToUtf8(ext);
    std::vector<AnsiString> &images = savingData.CurCatalog().Images;
    images.push_back(name);
    savingData.AddGraphic(g, name);
    TVDOOXMLDrawing d;
    d.Name = MakeOOXMLStr(rtl::UnicodeString(name.begin(), name.end()));
    d.RelId = "prId" + Num(static_cast<int64_t>(images.size()));
    d.FillColor = BackgroundColor;
    d.BorderColor = BorderColor;
    d.BorderWidth = vdStyle.GetAsEMU(BorderWidth);
    d.HSpacing = vdStyle.GetAsEMU(OuterHSpacing);
    d.VSpacing = vdStyle.GetAsEMU(OuterVSpacing);
    d.Width = vdStyle.GetAsEMU(width);
    d.Height = vdStyle.GetAsEMU(height);
    d.VAlign = VAlign;
    d.DrawingIndex = savingData.DrawingIndex;
    d.Alt = Alt;
    WriteOOXMLDrawing(stream, d);
}

void TVDControlItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                   TVDDocXSavingData &, bool) {
    OOXMLWrite(stream, rtl::Utf16ToUtf8(vdData->SaveComponentToFile({}, GetControl(), vdsfDocX)));
}

void TVDBulletItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *, int32_t,
                                  TVDDocXSavingData &, bool) {
    // Image-list pictures are not stored in the package: the run stays empty.
    OOXMLWrite(stream, "<w:t/>");
}

// ---- Labels, sequences and page fields ----

AnsiString OOXMLLabelRunText(TCustomVDData *vdData, int32_t styleNo,
                             const rtl::UnicodeString &text) {
    const TFontInfos &texts = vdData->GetVDStyle()->GetTextStyles();
    if (styleNo < 0 || styleNo >= texts.GetCount() || !texts.GetItem(styleNo).IsSymbolCharset()) {
        return "<w:t>" + MakeOOXMLStr(text) + "</w:t>";
    }
    const AnsiString font = MakeOOXMLAttrStr(texts.GetItem(styleNo).GetFontName());
    AnsiString s;
    for (const char16_t ch : text) {
        char code[8];
        std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(ch));
        s += "<w:sym w:font=\"" + font + "\" w:char=\"" + code + "\"/>";
    }
    return s;
}

void TVDLabelItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                 TVDDocXSavingData &, bool) {
    OOXMLWrite(stream, OOXMLLabelRunText(vdData, vdData->GetActualStyle(*this), GetText()));
}

void TVDSeqItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                               TVDDocXSavingData &savingData, bool hiddenParent) {
    TVDLabelItemInfo::SaveOOXML(stream, vdData, itemNo, savingData, hiddenParent);
}

void TVDSeqItemInfo::SaveOOXMLBeforeRun(rtl::TStream &stream, TCustomVDData *, int32_t,
                                        TVDDocXSavingData &, bool) {
    static constexpr const char *kSwitches[] = {"", "alphabetic", "ALPHABETIC", "roman", "ROMAN"};
    const int32_t type = static_cast<int32_t>(GetNumberType()) & 0x7F;
    AnsiString numberSwitch;
    if (type >= 1 && type <= 4) {
        numberSwitch = AnsiString(" \\* ") + kSwitches[type];
    }
    const AnsiString resetSwitch = Reset ? " \\r " + Num(StartFrom) : AnsiString();
    OOXMLWrite(stream, "<w:fldSimple w:instr=\" SEQ " + MakeOOXMLAttrStr(SeqName) + numberSwitch +
                           resetSwitch + " \\* MERGEFORMAT \">");
}

void TVDSeqItemInfo::SaveOOXMLAfterRun(rtl::TStream &stream, TCustomVDData *, int32_t,
                                       TVDDocXSavingData &, bool) {
    OOXMLWrite(stream, "</w:fldSimple>");
}

void TCustomVDPageNumberItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *, int32_t,
                                            TVDDocXSavingData &, bool) {
    SaveOOXML(stream);
}

void TCustomVDPageNumberItemInfo::SaveOOXMLBeforeRun(rtl::TStream &stream, TCustomVDData *, int32_t,
                                                     TVDDocXSavingData &, bool) {
    SaveOOXMLBeforeRun(stream);
}

void TCustomVDPageNumberItemInfo::SaveOOXMLAfterRun(rtl::TStream &stream, TCustomVDData *, int32_t,
                                                    TVDDocXSavingData &, bool) {
    SaveOOXMLAfterRun(stream);
}

} // namespace vizivodu
