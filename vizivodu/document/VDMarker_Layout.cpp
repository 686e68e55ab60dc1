// List markers on the screen and on paper: their size (the extent split around the marker
// position, at least the gap to the text) and their drawing (pictures, images of a list, or the
// number or bullet text in the level's font and the colour mode).
#include "vizivodu/document/VDMarker.h"

#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"

#include <algorithm>

namespace vizivodu {

// ---- List markers ----

bool TVDMarkerItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    if (prop == vdbpActualPrintSize) {
        return true;
    }
    if (prop == vdbpPrintToBMP) {
        const TVDListLevel *level = GetLevelInfo(vdStyle);
        if (!level) {
            return false;
        }
        switch (level->GetListType()) {
        case vdlstImageList:
        case vdlstImageListCounter:
            return true;
        case vdlstPicture: {
            const gfx::TGraphic *graphic =
                level->HasPicture() ? const_cast<TVDListLevel *>(level)->GetPicture().GetGraphic()
                                    : nullptr;
            return !(graphic && GlobalGraphicHandler &&
                     GlobalGraphicHandler->IsVectorGraphic(*graphic));
        }
        default:
            return false;
        }
    }
    return TVDSimpleRectItemInfo::GetBoolValueEx(prop, vdStyle);
}

namespace {

// The picture of a picture level, prepared for a size query; null when there is none.
gfx::TGraphic *MarkerGraphic(const TVDListLevel &level) {
    if (!level.HasPicture()) {
        return nullptr;
    }
    gfx::TGraphic *graphic = const_cast<TVDListLevel &>(level).GetPicture().GetGraphic();
    if (graphic && GlobalGraphicHandler) {
        GlobalGraphicHandler->PrepareGraphic(*graphic);
    }
    return graphic;
}

} // namespace

void TVDMarkerItemInfo::MarkerImageSize(const TVDListLevel &level, int32_t &w, int32_t &h) {
    w = h = 0;
    if (level.GetListType() == vdlstPicture) {
        if (gfx::TGraphic *graphic = MarkerGraphic(level)) {
            w = graphic->GetWidth();
            h = graphic->GetHeight();
        }
    } else if (const gfx::TCustomImageList *images = level.GetImageList()) {
        w = images->GetWidth();
        h = images->GetHeight();
    }
}

namespace {

// The picture or image size of a picture or image-list level; 0 x 0 for other levels.
rtl::TSize LevelImageSize(const TVDListLevel *level) {
    int32_t w = 0, h = 0;
    if (level && (level->GetListType() == vdlstPicture || level->GetListType() == vdlstImageList ||
                  level->GetListType() == vdlstImageListCounter)) {
        TVDMarkerItemInfo::MarkerImageSize(*level, w, h);
    }
    return {w, h};
}

} // namespace

int32_t TVDMarkerItemInfo::GetImageWidth(const TVDStyle *vdStyle) {
    return LevelImageSize(GetLevelInfo(vdStyle)).cx;
}

int32_t TVDMarkerItemInfo::GetImageHeight(const TVDStyle *vdStyle) {
    return LevelImageSize(GetLevelInfo(vdStyle)).cy;
}

void TVDMarkerItemInfo::CalcSize(gfx::TCanvas &canvas, TCustomVDData *vdData, int32_t &markerOffset,
                                 int32_t &hShift, bool rtl, bool minWidthMode,
                                 PVDScreenAndDevice sad, int32_t &overhang, int32_t &descent,
                                 int32_t &height, int32_t &width) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const TVDListLevel *level = style ? GetLevelInfo(style) : nullptr;
    hShift = overhang = descent = height = width = 0;
    if (!level || ListNo < 0 || Level < 0) {
        return;
    }
    int32_t w = 0, h = 0;
    const TVDListType type = level->GetListType();
    if (type == vdlstPicture || type == vdlstImageList || type == vdlstImageListCounter) {
        MarkerImageSize(*level, w, h);
        if (sad && sad->ppixScreen > 0 && sad->ppiyScreen > 0) {
            w = gfx::MulDiv(w, sad->ppixDevice, sad->ppixScreen);
            h = gfx::MulDiv(h, sad->ppiyDevice, sad->ppiyScreen);
        }
    } else {
        gfx::TFont font(const_cast<TVDListLevel *>(level)->GetFont());
        if (vdData->GetFlags().Contains(vdflCanUseCustomPPI) &&
            style->GetTextStyles().PixelsPerInch != 0) {
            font.SetHeight(-gfx::MulDiv(font.GetSize(), style->GetTextStyles().PixelsPerInch, 72));
        }
        canvas.SetFont(font);
        TVDGraphicInterface &gi = style->GetGraphicInterface();
        gi.SetTextCharacterExtra(canvas, 0);
        const rtl::UnicodeString text =
            type == vdlstUnicodeBullet ? level->GetFormatStringW() : DisplayString;
        const gfx::TSize size =
            gi.TextSize(canvas, {.Str = reinterpret_cast<const char *>(text.data()),
                                 .Length = static_cast<int32_t>(text.size()),
                                 .Unicode = true,
                                 .IgnoreSpecialChars = true});
        w = size.cx;
        h = size.cy;
        gfx::TTextMetric tm;
        gi.GetTextMetrics(canvas, tm);
        descent = tm.tmDescent;
    }
    int32_t after = w, before = 0;
    if (level->GetMarkerAlignment() == vdmaRight) {
        after = 0;
        before = w;
    } else if (level->GetMarkerAlignment() == vdmaCenter) {
        after = w / 2;
        before = w - after;
    }
    const int32_t gap = style->GetAsDevicePixelsX(
        level->GetLeftIndent() + level->GetFirstIndent() - level->GetMarkerIndent(), sad);
    height = h;
    if (minWidthMode) {
        width = std::max(after, gap);
        return;
    }
    after = std::max(after, gap);
    if (!rtl) {
        hShift = -before;
        markerOffset = 0;
    } else {
        hShift = before;
        markerOffset = before + after - w;
    }
    width = before + after;
    overhang = hShift;
}

int32_t TVDMarkerItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                                       TCustomVDData *vdData) {
    if (!canvas || !vdData) {
        return 0;
    }
    int32_t offset = 0, hShift = 0, overhang = 0, descent = 0, height = 0, width = 0;
    const bool rtl = vdData->GetParaBiDiMode(ParaNo) == vdbdRightToLeft;
    CalcSize(*canvas, vdData, offset, hShift, rtl, true, sad, overhang, descent, height, width);
    return width;
}

void TVDMarkerItemInfo::OnDocWidthChange(int32_t, TVDDrawLineInfo &dli, bool printing,
                                         gfx::TCanvas &canvas, TCustomVDData *vdData,
                                         PVDScreenAndDevice sad, int32_t &hShift, int32_t &desc,
                                         bool, bool, bool) {
    auto *justify = dynamic_cast<TVDJustifyDrawLineInfo *>(&dli);
    if (!justify) {
        throw EViziVoduError("Incorrect drawing item type for a marker");
    }
    int32_t offset = justify->GetMarkerOffset();
    int32_t overhang = 0, height = 0, width = 0;
    const bool rtl = vdData->GetParaBiDiMode(ParaNo) == vdbdRightToLeft;
    CalcSize(canvas, vdData, offset, hShift, rtl, false, sad, overhang, desc, height, width);
    justify->SetMarkerOffset(offset);
    dli.Width = width;
    dli.Height = height;
    if (!printing) {
        FWidth = width;
        FHeight = height;
        FDescent = desc;
        FOverhang = overhang;
    }
}

void TVDMarkerItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                              TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) {
    TVDMarkerDrawing drawing;
    drawing.CanUseCustomPPI = state.Contains(vdidsCanUseCustomPPI);
    drawing.Disabled = state.Contains(vdidsControlDisabled);
    drawing.ForMetafile = forMetafile;
    DrawMarker(x, y, canvas, dli, vdData, drawing);
}

void TVDMarkerItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t, bool, bool,
                              const TVDScreenAndDevice &sad, int32_t, TVDColorMode colorMode,
                              TCustomVDData *vdData, int32_t dItemNo, int32_t, bool forMetafile) {
    TVDDrawLineInfo *dli = DrawItemOf(vdData, dItemNo);
    if (!dli) {
        return;
    }
    TVDMarkerDrawing drawing;
    drawing.ColorMode = colorMode;
    drawing.CanUseCustomPPI = vdData->GetFlags().Contains(vdflCanUseCustomPPI);
    drawing.ForMetafile = forMetafile;
    drawing.SaD = &sad;
    DrawMarker(x, y, canvas, *dli, vdData, drawing);
}

// The bitmap has the picture's (or image's) own size: the marker's offset inside its draw item
// is left to the page.
bool TVDMarkerItemInfo::PrintToBitmap(gfx::TBitmap &bkgnd, bool, TCustomVDData *vdData,
                                      int32_t dItemNo, int32_t, TVDColorMode colorMode) {
    TVDDrawLineInfo *dli = DrawItemOf(vdData, dItemNo);
    if (!dli) {
        return false;
    }
    TVDMarkerDrawing drawing;
    drawing.ColorMode = colorMode;
    drawing.CanUseCustomPPI = vdData->GetFlags().Contains(vdflCanUseCustomPPI);
    drawing.NoOffset = true;
    DrawMarker(0, 0, bkgnd.GetCanvas(), *dli, vdData, drawing);
    return true;
}

namespace {

// Image index of an image-list level for the marker's counter; -1 when the list has none.
int32_t MarkerImageIndex(const TVDListLevel &level, int32_t counter) {
    const gfx::TCustomImageList *images = level.GetImageList();
    const int32_t index =
        level.GetImageIndex() + (level.GetListType() == vdlstImageListCounter ? counter - 1 : 0);
    return images && index >= 0 && index < images->GetCount() ? index : -1;
}

} // namespace

void TVDMarkerItemInfo::DrawMarker(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDDrawLineInfo &dli,
                                   TCustomVDData *vdData, const TVDMarkerDrawing &drawing) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const TVDListLevel *level = style ? GetLevelInfo(style) : nullptr;
    if (!level || ListNo < 0 || Level < 0) {
        return;
    }
    auto *justify = dynamic_cast<TVDJustifyDrawLineInfo *>(&dli);
    if (!justify) {
        throw EViziVoduError("Incorrect drawing item type for a marker");
    }
    const TVDListType type = level->GetListType();
    const int32_t x0 = drawing.NoOffset ? x : x + justify->GetMarkerOffset();
    if (type == vdlstPicture || type == vdlstImageList || type == vdlstImageListCounter) {
        DrawMarkerPicture(x0, y, canvas, *level, *style, drawing);
        return;
    }
    gfx::TFont font(const_cast<TVDListLevel *>(level)->GetFont());
    if (drawing.CanUseCustomPPI && style->GetTextStyles().PixelsPerInch != 0) {
        font.SetHeight(-gfx::MulDiv(font.GetSize(), style->GetTextStyles().PixelsPerInch, 72));
    }
    font.SetColor(GetTextColorForMode(font.GetColor(), drawing.ColorMode));
    if (drawing.Disabled && style->GetDisabledFontColor() != gfx::clNone) {
        font.SetColor(style->GetDisabledFontColor());
    }
    canvas.SetFont(font);
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    gi.SetTextCharacterExtra(canvas, 0);
    const bool rightToLeft = vdData->GetParaBiDiMode(ParaNo) == vdbdRightToLeft;
    gi.SetTextAlign(canvas, rightToLeft ? uint32_t(gfx::TA_RTLREADING) : 0u);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    const rtl::UnicodeString text =
        type == vdlstUnicodeBullet ? level->GetFormatStringW() : DisplayString;
    gi.TextOut(canvas, x0, y,
               {.Str = reinterpret_cast<const char *>(text.data()),
                .Length = static_cast<int32_t>(text.size()),
                .Unicode = true},
               drawing.ForMetafile ? vdtoMetafile : vdtoDevice);
}

// On the screen and in bitmaps the picture keeps its own size; on a device it is stretched to
// the size formatting gave the marker there.
void TVDMarkerItemInfo::DrawMarkerPicture(int32_t x, int32_t y, gfx::TCanvas &canvas,
                                          const TVDListLevel &level, TVDStyle &style,
                                          const TVDMarkerDrawing &drawing) {
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    if (level.GetListType() == vdlstPicture) {
        gfx::TGraphic *graphic = MarkerGraphic(level);
        if (!graphic) {
            return;
        }
        if (drawing.SaD) {
            DrawOrPrintGraphic(canvas, x, y, graphic->GetWidth(), graphic->GetHeight(), drawing.SaD,
                               *graphic, vdgdStretch, gi);
        } else {
            gi.DrawGraphic(canvas, x, y, *graphic);
        }
        return;
    }
    const int32_t index = MarkerImageIndex(level, Counter);
    if (index < 0) {
        return;
    }
    const gfx::TCustomImageList &images = *level.GetImageList();
    if (!drawing.SaD || drawing.SaD->ppixScreen <= 0 || drawing.SaD->ppiyScreen <= 0) {
        gi.DrawImageList(canvas, images, index, x, y, gfx::clNone);
        return;
    }
    // Scaled by the world transform, so that what lies under the image's transparent pixels
    // stays.
    const gfx::TCanvasStateGuard saved(canvas);
    canvas.SetGraphicsMode(gfx::GM_ADVANCED);
    gfx::TXForm scale;
    scale.eM11 = float(drawing.SaD->ppixDevice) / float(drawing.SaD->ppixScreen);
    scale.eM22 = float(drawing.SaD->ppiyDevice) / float(drawing.SaD->ppiyScreen);
    scale.eDx = float(x);
    scale.eDy = float(y);
    canvas.ModifyWorldTransform(scale, gfx::MWT_LEFTMULTIPLY);
    gi.DrawImageList(canvas, images, index, 0, 0, gfx::clNone);
}

} // namespace vizivodu
