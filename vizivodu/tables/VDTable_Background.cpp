// What lies under an item drawn inside a cell: the layers of the paragraph, the cell, the table
// and the table's document, composed into a bitmap when one of them is a picture or partly
// transparent, else given as one colour.
#include "vizivodu/tables/VDTable_p.h"

#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"

namespace vizivodu {

namespace {

// A bitmap of r's size filled with color (nothing for clNone); created when there is none.
void PrepareBitmap(std::unique_ptr<gfx::TBitmap> &bmp, const rtl::TRect &r, TColor color,
                   bool &useBitmap, TVDGraphicInterface &gi) {
    useBitmap = true;
    if (!bmp) {
        bmp = std::make_unique<gfx::TBitmap>();
    }
    bmp->SetSize(r.Width(), r.Height());
    bmp->GetCanvas().GetBrush().SetStyle(gfx::bsSolid);
    if (color != gfx::clNone) {
        gi.FillColorRect(bmp->GetCanvas(), rtl::Rect(0, 0, r.Width(), r.Height()), color);
    }
}

// The table's layer: 0 none, 1 an opaque colour, 2 a picture that covers what lies under it,
// 3 partly transparent.
int32_t TableLayer(const TVDTableItemInfo &table, const TVDBackgroundRect &tableParagraph) {
    const TColor color = table.GetColor(vdtcColor);
    const TVDOpacity opacity = table.GetOpacity();
    const TVDBackground *background = table.GetTableBackground();
    if (background && background->Visible()) {
        const bool opaque =
            (color != gfx::clNone && opacity >= 100000) ||
            (tableParagraph.Color != gfx::clNone && tableParagraph.Opacity >= 100000) ||
            !background->IsSemitransparent();
        return opaque ? 2 : 3;
    }
    const bool tableColour = color != gfx::clNone && opacity > 0;
    const bool paragraphColour = tableParagraph.Color != gfx::clNone && tableParagraph.Opacity > 0;
    if (!tableColour && !paragraphColour) {
        return 0;
    }
    const bool partly =
        (tableColour && opacity < 100000) || (paragraphColour && tableParagraph.Opacity < 100000);
    return partly ? 3 : 1;
}

} // namespace

int32_t TVDTableCellData::CellLayer(TColor color, bool paragraphLayer) const {
    const bool picture = FBackground && FBackground->Visible();
    if (!picture && !paragraphLayer && !HasExtraBackground()) {
        if (color == gfx::clNone || FOpacity == 0) {
            return 0;
        }
        return FOpacity >= 100000 ? 1 : 3;
    }
    const bool seeThrough = color == gfx::clNone || FOpacity < 100000;
    return seeThrough && (!FBackground || FBackground->IsSemitransparent()) ? 3 : 2;
}

void TVDTableCellData::DrawCellLayer(gfx::TBitmap &bmp, const rtl::TRect &r, TColor color,
                                     TVDGraphicInterface &gi, bool allowThumbnails) {
    gfx::TCanvas &canvas = bmp.GetCanvas();
    const rtl::TRect all = rtl::Rect(0, 0, r.Width(), r.Height());
    if (FBackground) {
        FBackground->Draw(canvas, all, 0, 0, -r.Left, -r.Top, FWidth, FHeight, color, FOpacity,
                          true, false, gi, this, this, allowThumbnails);
    } else if (color != gfx::clNone && FOpacity > 0) {
        gi.FillRectAlpha(canvas, all, color, OpacityToAlpha(FOpacity));
    }
    DrawExtraBackground(canvas, rtl::Rect(-r.Left, -r.Top, FWidth - r.Left, FHeight - r.Top), false,
                        false, nullptr, nullptr, false);
}

void TVDTableCellData::GetItemBackground(int32_t itemNo, rtl::TRect &r, bool makeImageRect,
                                         TColor &color, std::unique_ptr<gfx::TBitmap> &bmp,
                                         bool &useBitmap, TVDGraphicInterface &gi,
                                         bool allowThumbnails, bool printing) {
    TVDTableItemInfo *table = GetTable();
    TVDStyle *style = GetVDStyle();
    auto &data = static_cast<TCustomVDFormattedData &>(*GetVDData());
    if (!table || !style) {
        TVDItemFormattedData::GetItemBackground(itemNo, r, makeImageRect, color, bmp, useBitmap, gi,
                                                allowThumbnails, printing);
        return;
    }
    useBitmap = false;
    const TVDBackgroundRect &paragraph =
        style->GetParaStyles().GetItem(data.GetItemPara(itemNo)).GetBackground();
    if (paragraph.Color != gfx::clNone && paragraph.Opacity >= 100000) {
        color = paragraph.Color;
        return;
    }
    const bool paragraphLayer = paragraph.Color != gfx::clNone && paragraph.Opacity >= 1;
    if (!printing && (State.Contains(vdstCompletelySelected) || table->IsInsideSelection())) {
        color = style->GetSelColor();
        if (color != gfx::clNone) {
            return;
        }
    }
    color = GetCellColor();
    if (makeImageRect) {
        ImageRect(data, itemNo, r);
    }
    const int32_t cellLayer = CellLayer(color, paragraphLayer);
    if (cellLayer == 1) {
        return;
    }
    if (cellLayer == 2) {
        PrepareBitmap(bmp, r, color, useBitmap, gi);
        DrawCellLayer(*bmp, r, color, gi, allowThumbnails);
    } else if (!ComposeTableLayer(*table, *style, r, cellLayer, color, bmp, useBitmap, gi,
                                  allowThumbnails, printing)) {
        return;
    }
    paragraph.Draw(rtl::Rect(0, 0, r.Width() - 1, r.Height() - 1), bmp->GetCanvas(), printing,
                   vdcmColor, gi, true);
}

// The item's picture rectangle in the cell box's coordinates.
void TVDTableCellData::ImageRect(TCustomVDFormattedData &data, int32_t itemNo, rtl::TRect &r) {
    TVDStyle &style = *GetVDStyle();
    TCustomVDItemInfo *item = data.GetItem(itemNo);
    const int32_t d = item->DrawItemNo;
    if (d < 0 || d >= data.DrawItems.Count()) {
        return;
    }
    r = rtl::Bounds(data.DrawItems[d]->Left + style.GetAsPixels(item->GetBorderWidth()),
                    data.GetTransformedDItemTop(d) + style.GetAsPixels(item->GetBorderHeight()),
                    item->GetImageWidth(&style), item->GetImageHeight(&style));
    const bool edited = &data != this;
    if (edited) {
        r.Offset(0, GetExtraVOffs());
    }
    if (GetRotation() != vdrotNone) {
        r = rtl::Rect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    }
    data.RotateRectFromDocToScreen(r, vdtrbLocal);
    if (!edited) {
        r.Offset(HPad(), VPad());
    }
}

// Steps in when the cell lets something through (cellLayer 0 or 3): the table's layer, and
// below it, when needed, the document's. False when a plain colour is the whole answer.
bool TVDTableCellData::ComposeTableLayer(TVDTableItemInfo &table, TVDStyle &style, rtl::TRect &r,
                                         int32_t cellLayer, TColor &color,
                                         std::unique_ptr<gfx::TBitmap> &bmp, bool &useBitmap,
                                         TVDGraphicInterface &gi, bool allowThumbnails,
                                         bool printing) {
    TCustomVDData *main = table.GetRows().GetMainVDData();
    const TVDBackgroundRect &tableParagraph =
        style.GetParaStyles().GetItem(table.ParaNo).GetBackground();
    const int32_t tableLayer = TableLayer(table, tableParagraph);
    const TColor cellColor = color;
    const TColor tableColor =
        table.GetColor(vdtcColor) != gfx::clNone ? table.GetColor(vdtcColor) : tableParagraph.Color;
    if (tableLayer == 1 || tableLayer == 2) {
        color = tableColor;
        if (tableLayer == 1 && cellLayer == 0) {
            return false;
        }
        PrepareBitmap(bmp, r, color, useBitmap, gi);
        if (tableLayer == 2) {
            DrawTableLayer(table, *bmp, r, color, gi, allowThumbnails);
        }
        if (cellLayer != 0) {
            DrawCellLayer(*bmp, r, cellColor, gi, allowThumbnails);
        }
        return true;
    }
    auto *formatted = dynamic_cast<TCustomVDFormattedData *>(main);
    int32_t tableLeft = 0;
    int32_t tableTop = 0;
    if (formatted && formatted->GetItemCoords(table.GetMyItemNo(), tableLeft, tableTop)) {
        rtl::TRect under = r;
        under.Offset(tableLeft + FLeft, tableTop + FTop);
        formatted->GetItemBackground(table.GetMyItemNo(), under, false, color, bmp, useBitmap, gi,
                                     allowThumbnails, printing);
    }
    if (tableLayer == 3) {
        if (!useBitmap) {
            PrepareBitmap(bmp, r, color, useBitmap, gi);
        }
        if (table.GetTableBackground() && table.GetTableBackground()->Visible()) {
            DrawTableLayer(table, *bmp, r, table.GetColor(vdtcColor), gi, allowThumbnails);
        } else if (table.GetColor(vdtcColor) != gfx::clNone && table.GetOpacity() > 0) {
            gi.FillRectAlpha(bmp->GetCanvas(), rtl::Rect(0, 0, r.Width(), r.Height()),
                             table.GetColor(vdtcColor), OpacityToAlpha(table.GetOpacity()));
        }
    }
    if (cellLayer != 3) {
        return useBitmap;
    }
    if (!useBitmap) {
        PrepareBitmap(bmp, r, color, useBitmap, gi);
    }
    DrawCellLayer(*bmp, r, cellColor, gi, allowThumbnails);
    return true;
}

// The table's picture as it lies under this cell.
void TVDTableCellData::DrawTableLayer(TVDTableItemInfo &table, gfx::TBitmap &bmp,
                                      const rtl::TRect &r, TColor color, TVDGraphicInterface &gi,
                                      bool allowThumbnails) {
    if (TVDBackground *background = table.GetTableBackground()) {
        const TVDTableItemFormattingInfo &fmt = table.GetFormattingInfo();
        background->Draw(bmp.GetCanvas(), rtl::Rect(0, 0, r.Width(), r.Height()), 0, 0,
                         -(FLeft + r.Left), -(FTop + r.Top), fmt.FWidth, fmt.FHeight, color,
                         table.GetOpacity(), true, false, gi, table.GetRows().GetMainVDData(),
                         &table, allowThumbnails);
    }
}

void TVDTableItemInfo::DrawBackgroundUnderCell(gfx::TCanvas &canvas, TVDTableCellData &cell,
                                               const rtl::TRect &rect,
                                               TVDGraphicInterface &graphicInterface,
                                               bool allowThumbnails) {
    TVDStyle *style = GetStyle();
    if (!style) {
        return;
    }
    const rtl::TRect r = rtl::Rect(0, 0, rect.Width(), rect.Height());
    if (FColors[vdtcColor] == gfx::clNone || FOpacity < 100000) {
        style->GetParaStyles().GetItem(ParaNo).GetBackground().Draw(
            rtl::Rect(0, 0, r.Right - 1, r.Bottom - 1), canvas, false, vdcmColor, graphicInterface,
            true);
    }
    if (FBackground && FBackground->Visible()) {
        FBackground->Draw(canvas, r, 0, 0, -(cell.GetLeft() + rect.Left),
                          -(cell.GetTop() + cell.GetExtraVOffs() + rect.Top), Fmt->FWidth,
                          Fmt->FHeight, FColors[vdtcColor], FOpacity, true, false, graphicInterface,
                          FRows->GetMainVDData(), this, allowThumbnails);
    } else if (FColors[vdtcColor] != gfx::clNone) {
        graphicInterface.FillRectAlpha(canvas, r, FColors[vdtcColor], OpacityToAlpha(FOpacity));
    }
}

} // namespace vizivodu
