// Control items (-5): controls of the platform placed in a document as inline boxes, kept where
// formatting puts them, and printed as pictures of themselves (DrawControlToBitmap).
#pragma once

#include "vizivodu/document/VDItem_Rect.h"

#include <memory>

namespace gfx {
class TBitmap;
class TCanvas;
} // namespace gfx

namespace ui {
class TControl;
}

namespace vizivodu {

class TVDDocXSavingData;

// The control is a child window of the document's parent control (the viewer). The item owns
// it unless FShared; give it a control without another owner that frees it. The control's Tag
// holds its top in the document's client coordinates (the viewer turns it into Top).
class TVDControlItemInfo : public TVDRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    explicit TVDControlItemInfo(TCustomVDData *vdData);
    TVDControlItemInfo(TCustomVDData *vdData, std::unique_ptr<ui::TControl> control,
                       TVDVAlign vAlign);
    ~TVDControlItemInfo() override;

    bool FResizable = false;
    bool FVisible = true; // an invisible control is neither painted nor printed
    bool FShared = false;
    // 1..100: the control's width follows that percentage of the document width.
    int32_t PercentWidth = 0;

    ui::TControl *GetControl() const { return FControl.get(); }
    // The control an application handler left in the item's control variable: the item lets go
    // of its old control without freeing it (the handler freed or kept it) and holds the new one.
    void SwapControl(ui::TControl *control);

    // Copies PercentWidth, FResizable and FVisible (not the control, not FShared).
    void Assign(const TCustomVDItemInfo &source) override;
    bool OwnsControl(ui::TControl *control) override { return control && control == GetControl(); }

    // Sizes: the control's, plus the box around it.
    int32_t GetImageWidth(const TVDStyle *vdStyle) override;
    int32_t GetImageHeight(const TVDStyle *vdStyle) override;
    int32_t GetWidth(const TVDStyle *vdStyle) override { return BoxedWidth(vdStyle); }
    int32_t GetHeight(const TVDStyle *vdStyle) override { return BoxedHeight(vdStyle); }
    int32_t GetWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) override {
        return BoxedWidthEx(vdStyle, sad);
    }
    int32_t GetHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) override {
        return BoxedHeightEx(vdStyle, sad);
    }
    // 20 pixels (with a percentage width) or the control's width, plus the box.
    int32_t GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                        TCustomVDData *vdData) override;
    // Places the control's window at (x, y) of the box (its top through Tag, applied when
    // adjustY) and shows it unless it is invisible or the document is rotated.
    void AdjustInserted(int32_t x, int32_t y, bool adjustY, TCustomVDData *vdData) override;
    // With a percentage width the draw item (and on screen the control) takes that part of
    // docWidth.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // The box only (the control paints its own window).
    void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) override;
    void Focusing() override;
    // The control is hidden while the item is being inserted, hidden, or in the undo list; its
    // parent is the document's parent control except then.
    void Inserting(TCustomVDData *vdData, TVDRawByteString &text, bool safe) override;
    void MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    void MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    void Hiding() override;
    void Unhiding(TCustomVDData *vdData) override;
    bool SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) override;
    bool GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
    // A split picture draw item while printing through a bitmap with MinHeightOnPage.
    std::unique_ptr<TVDDrawLineInfo> CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo,
                                                            PVDScreenAndDevice sad) override;
    // The printing component's picture of the control, else DrawControlToBitmap, put on bkgnd:
    // at the part's place for a split control, else centred (bkgnd grows to hold it).
    bool PrintToBitmap(gfx::TBitmap &bkgnd, bool preview, TCustomVDData *vdData, int32_t dItemNo,
                       int32_t part, TVDColorMode colorMode) override;

private:
    // The parent window controls take in this document; nullptr when it has none.
    static void SetParentOf(ui::TControl &control, TCustomVDData *vdData);
    std::unique_ptr<ui::TControl> FControl;
};

// A new bitmap of the control's size, filled with backgroundColor unless it is clNone, with the
// control drawn into it.
std::unique_ptr<gfx::TBitmap> DrawControlToBitmap(ui::TControl &control,
                                                  gfx::TColor backgroundColor);
// Draws control at (left, top) of canvas: buttons and edit boxes are imitated, panels paint
// themselves and then their children, graphic controls paint a copy of themselves, other
// windowed controls paint themselves with their children; anything else draws nothing.
void DrawControl(ui::TControl &control, gfx::TCanvas &canvas, int32_t left, int32_t top);

} // namespace vizivodu
