// The paint box and the image control: buffer sizing, repaint modes, one paint per repaint
// without the parent, bitmap placement and scaling, paint stages, and the layer collection.
#include "raster/controls/Raster_Image.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace raster;

namespace {

// Counts the WM_PAINT messages a control gets.
template <class Base> struct PaintCounter : Base {
    using Base::Base;
    int paints = 0;
    void WndProc(ui::TMessage &m) override {
        if (m.Msg == ui::WM_PAINT) {
            ++paints;
        }
        Base::WndProc(m);
    }
};

struct ImageFixture : ::testing::Test {
    std::unique_ptr<ui::TForm> form = std::make_unique<ui::TForm>(nullptr);
    PaintCounter<ui::TCustomControl> *parent = new PaintCounter<ui::TCustomControl>(form.get());
    PaintCounter<TImage32> *image = new PaintCounter<TImage32>(form.get());
    int stagesRun = 0;

    void SetUp() override {
        form->SetClientWidth(300);
        form->SetClientHeight(200);
        parent->SetParent(form.get());
        parent->SetBounds(0, 0, 300, 200);
        image->SetParent(parent);
        image->SetBounds(10, 10, 120, 80);
        image->SetColor(gfx::clRed);
        TPaintStage *custom = image->GetPaintStages().Add();
        custom->Stage = stgCustom;
        image->OnPaintStage = [this](TCustomImage32 *, TBitmap32 *, uint32_t) { ++stagesRun; };
        form->Show();
        image->GrabForTesting(); // let the first paints happen
    }
};

TEST(PaintBoxBuffer, GrowsWithSlackAndShrinksOnlyWellBelowIt) {
    ui::TForm form(nullptr);
    auto *box = new TImage32(&form);
    TBitmap32 &buffer = box->GetBuffer();
    EXPECT_EQ(box->GetWidth(), 192);
    EXPECT_EQ(buffer.GetWidth(), 232); // a new buffer grows with its slack
    struct Step {
        int32_t width, expected;
    } steps[] = {{240, 280}, {192, 192}, {193, 233}, {200, 233}, {193, 233}, {150, 150}};
    for (const Step &s : steps) {
        box->SetBounds(0, 0, s.width, 192);
        EXPECT_EQ(buffer.GetWidth(), s.expected) << s.width;
        EXPECT_EQ(buffer.GetHeight(), 232) << s.width;
    }
    box->SetBounds(0, 0, 0, 0);
    EXPECT_EQ(buffer.GetWidth(), 1);
    EXPECT_EQ(buffer.GetHeight(), 1);
    box->SetBufferOversize(-5);
    EXPECT_EQ(box->GetBufferOversize(), 0);
    box->SetBounds(0, 0, 50, 60);
    EXPECT_EQ(buffer.GetWidth(), 50);
    EXPECT_EQ(buffer.GetHeight(), 60);
}

TEST(PaintBoxMessages, EraseBackgroundErasesNothingAndArrowKeysFollowTheOption) {
    ui::TForm form(nullptr);
    auto *box = new TImage32(&form);
    EXPECT_EQ(box->Perform(ui::WM_ERASEBKGND), 1);
    EXPECT_EQ(box->Perform(ui::WM_GETDLGCODE) & DLGC_WANTARROWS, 0);
    box->SetOptions(pboWantArrowKeys);
    EXPECT_EQ(box->Perform(ui::WM_GETDLGCODE) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    int entered = 0;
    box->OnMouseEnter = [&](ui::TComponent *) { ++entered; };
    box->Perform(ui::CM_MOUSEENTER);
    EXPECT_TRUE(box->GetMouseInControl());
    EXPECT_EQ(entered, 1);
    box->Perform(ui::CM_MOUSELEAVE);
    EXPECT_FALSE(box->GetMouseInControl());
}

TEST_F(ImageFixture, OneRepaintPaintsTheControlOnceAndNotItsParent) {
    parent->paints = 0;
    image->paints = 0;
    stagesRun = 0;
    image->Repaint();
    EXPECT_EQ(image->paints, 1);
    EXPECT_EQ(stagesRun, 1);
    EXPECT_EQ(parent->paints, 0);
    // A paint of a valid buffer copies it without rendering the stages again.
    image->ui::TControl::Repaint();
    EXPECT_EQ(image->paints, 2);
    EXPECT_EQ(stagesRun, 1);
    EXPECT_EQ(parent->paints, 0);
}

TEST_F(ImageFixture, FullRepaintModeKeepsTheOptimiserOffAndRendersTheWholeViewport) {
    EXPECT_EQ(image->GetRepaintMode(), rmFull);
    EXPECT_FALSE(image->GetRepaintOptimizer().GetEnabled());
    image->GetBitmap().SetSize(120, 80);
    image->GetBitmap().Clear(Color32(0, 0, 255));
    image->Repaint();
    EXPECT_EQ(image->GetInvalidRects().GetCount(), 0);
    gfx::TBitmap shot = image->GrabForTesting();
    EXPECT_EQ(shot.GetCanvas().GetPixel(0, 0), gfx::clBlue);
    EXPECT_EQ(shot.GetCanvas().GetPixel(119, 79), gfx::clBlue);
}

TEST_F(ImageFixture, ShowsTheViewersBitmapOneToOne) {
    // The viewer's set-up: bitmap as large as the control, top-left, no scaling.
    image->GetBitmap().SetResamplerClassName("TNearestResampler");
    image->SetupBitmap(true, 0xFF000000u);
    EXPECT_EQ(image->GetBitmap().GetWidth(), 120);
    EXPECT_EQ(image->GetBitmap().GetHeight(), 80);
    EXPECT_EQ(image->GetBitmapRect(), (TRect{0, 0, 120, 80}));
    EXPECT_EQ(image->BitmapToControl(TPoint{7, 9}), (TPoint{7, 9}));
    EXPECT_EQ(image->ControlToBitmap(TPoint{7, 9}), (TPoint{7, 9}));
    TBitmap32 &b = image->GetBitmap();
    b.BeginUpdate();
    b.FillRect(10, 20, 30, 40, Color32(0, 255, 0));
    b.SetPixel(119, 79, Color32(255, 255, 255, 0)); // alpha is ignored on screen
    b.EndUpdate();
    image->Repaint();
    gfx::TBitmap shot = image->GrabForTesting();
    gfx::TCanvas &c = shot.GetCanvas();
    EXPECT_EQ(c.GetPixel(10, 20), gfx::clLime);
    EXPECT_EQ(c.GetPixel(29, 39), gfx::clLime);
    EXPECT_EQ(c.GetPixel(30, 40), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(9, 20), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(119, 79), gfx::clWhite);
}

TEST_F(ImageFixture, AnEmptyBitmapLeavesTheControlsColour) {
    image->GetBitmap().SetSize(0, 0);
    EXPECT_EQ(image->GetBitmapRect(), TRect{});
    EXPECT_EQ(image->BitmapToControl(TPoint{5, 6}), (TPoint{5, 6}));
    image->Repaint();
    gfx::TBitmap shot = image->GrabForTesting();
    EXPECT_EQ(shot.GetCanvas().GetPixel(0, 0), gfx::clRed);
    EXPECT_EQ(shot.GetCanvas().GetPixel(60, 40), gfx::clRed);
}

TEST_F(ImageFixture, ABitmapChangeOutsideAnUpdateRepaints) {
    image->GetBitmap().SetSize(120, 80);
    image->Repaint();
    stagesRun = 0;
    image->GetBitmap().Clear(Color32(255, 255, 0)); // reports a change
    gfx::TBitmap shot = image->GrabForTesting();
    EXPECT_EQ(shot.GetCanvas().GetPixel(5, 5), gfx::clYellow);
    EXPECT_EQ(stagesRun, 1);
}

TEST_F(ImageFixture, OptimizerModeRendersOnlyTheChangedArea) {
    image->GetBitmap().SetSize(120, 80);
    image->GetBitmap().Clear(0xFF000000u);
    image->SetRepaintMode(rmOptimizer);
    EXPECT_TRUE(image->GetRepaintOptimizer().GetEnabled());
    image->GrabForTesting(); // the first paint renders everything
    std::vector<TRect> clips;
    image->OnPaintStage = [&](TCustomImage32 *, TBitmap32 *buffer, uint32_t) {
        clips.push_back(buffer->GetClipRect());
    };
    image->GetBitmap().FillRect(10, 20, 30, 40, Color32(0, 255, 0)); // reports its area
    gfx::TBitmap shot = image->GrabForTesting();
    const TCustomResampler *r = image->GetBitmap().GetResampler();
    const int32_t w = (r ? int32_t(r->GetWidth()) : 0) + 1;
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0], (TRect{10 - w, 20 - w, 30 + w, 40 + w}));
    EXPECT_EQ(shot.GetCanvas().GetPixel(15, 25), gfx::clLime);
    EXPECT_EQ(shot.GetCanvas().GetPixel(50, 50), gfx::clBlack);
}

TEST_F(ImageFixture, DirectModeRepaintsEachChangeAtOnce) {
    image->GetBitmap().SetSize(120, 80);
    image->GetBitmap().Clear(0xFF000000u);
    image->SetRepaintMode(rmDirect);
    image->GrabForTesting();
    image->paints = 0;
    image->GetBitmap().SetPixel(2, 2, Color32(255, 255, 255)); // silent
    image->GetBitmap().Changed(TRect{0, 0, 5, 5});
    EXPECT_EQ(image->paints, 1);
    EXPECT_EQ(image->GrabForTesting().GetCanvas().GetPixel(2, 2), gfx::clWhite);
}

TEST(ImageGeometry, BitmapSizeFollowsTheScaleMode) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    struct Case {
        TScaleMode mode;
        int32_t vw, vh, bw, bh;
        float scale;
        TSize expected;
    } cases[] = {
        {smNormal, 100, 100, 200, 100, 1, {200, 100}},
        {smStretch, 100, 70, 200, 100, 1, {100, 70}},
        {smResize, 100, 100, 200, 100, 1, {100, 50}},
        {smResize, 400, 100, 200, 100, 1, {200, 100}},
        {smOptimal, 400, 300, 200, 100, 1, {200, 100}}, // smaller: its own size
        {smOptimal, 100, 100, 200, 100, 1, {100, 50}},  // larger: fitted
        {smScale, 100, 100, 200, 100, 1.5f, {300, 150}},
        {smOptimalScaled, 400, 400, 100, 50, 2, {200, 100}},
        {smOptimalScaled, 100, 100, 100, 50, 2, {100, 50}},
    };
    for (const Case &c : cases) {
        image->SetBounds(0, 0, c.vw, c.vh);
        image->GetBitmap().SetSize(c.bw, c.bh);
        image->SetScaleMode(c.mode);
        image->SetScale(c.scale);
        EXPECT_EQ(image->GetBitmapSize(), c.expected) << int(c.mode) << " " << c.vw;
    }
}

TEST(ImageGeometry, AlignmentScaleLimitAndZeroScale) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    image->SetBounds(0, 0, 101, 60);
    image->GetBitmap().SetSize(50, 20);
    image->SetBitmapAlign(baCenter);
    EXPECT_EQ(image->GetBitmapRect(), (TRect{25, 20, 75, 40}));
    image->SetBitmapAlign(baCustom);
    image->SetOffsetHorz(2.5f);
    image->SetOffsetVert(3.5f);
    EXPECT_EQ(image->GetBitmapRect(), (TRect{2, 4, 52, 24})); // halves to even
    image->SetScale(0);
    EXPECT_FLOAT_EQ(image->GetScale(), 0.001f);
    // A scale that sizes the bitmap to 0 pixels cannot be inverted.
    image->SetScaleMode(smScale);
    image->SetBitmapAlign(baTopLeft);
    EXPECT_EQ(image->ControlToBitmap(TPoint{3, 3}).X, std::numeric_limits<int32_t>::max());
}

TEST(ImageUpdates, TheBitmapPixelCombineEventLivesInTheBitmapAndSettingItRepaints) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    int changes = 0;
    image->OnChange = [&](TCustomImage32 *) { ++changes; };
    int combined = 0;
    image->SetOnBitmapPixelCombine([&](TColor32, TColor32 &, TColor32) { ++combined; });
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(image->GetBitmap().OnPixelCombine);
    TColor32 b = 0;
    image->GetOnBitmapPixelCombine()(0, b, 0);
    EXPECT_EQ(combined, 1);
    image->BeginUpdate(); // inside an update bracket the change is not reported
    image->SetOnBitmapPixelCombine(nullptr);
    image->EndUpdate();
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(image->GetBitmap().OnPixelCombine);
}

TEST(PaintStages, EditingAndUnknownKinds) {
    TPaintStages stages;
    stages.Add()->Stage = stgDrawBitmap;
    TPaintStage *first = stages.Insert(-3);
    EXPECT_TRUE(first->RunTime);
    EXPECT_FALSE(first->DsgnTime);
    EXPECT_EQ(first->Stage, 0u);
    stages.Insert(99)->Stage = stgDrawLayers;
    ASSERT_EQ(stages.Count(), 3);
    EXPECT_EQ(stages[1].Stage, uint32_t(stgDrawBitmap));
    EXPECT_EQ(stages[2].Stage, uint32_t(stgDrawLayers));
    try {
        stages.Delete(3);
        FAIL() << "no error";
    } catch (const rtl::EListError &e) {
        EXPECT_EQ(e.Message(), u"Invalid stage index");
    }
    stages.Delete(0);
    EXPECT_EQ(stages.Count(), 2);
}

TEST_F(ImageFixture, StagesOfUnknownKindAreSkippedAndPaintToUsesTheRunTimeStages) {
    image->GetPaintStages().Add()->Stage = 0;
    image->GetPaintStages().Add()->Stage = 8;
    image->GetBitmap().SetSize(4, 4);
    image->GetBitmap().Clear(Color32(0, 0, 255));
    stagesRun = 0;
    image->Repaint();
    EXPECT_EQ(stagesRun, 1);
    TBitmap32 dest;
    dest.SetSize(10, 10);
    dest.Clear(0xFF000000u);
    image->PaintTo(&dest, TRect{2, 2, 6, 6});
    EXPECT_EQ(dest.GetPixel(3, 3), Color32(0, 0, 255));
    EXPECT_EQ(dest.GetPixel(7, 7), Color32(255, 0, 0)); // the background stage, in red
    EXPECT_EQ(stagesRun, 2);
    EXPECT_EQ(image->GetRepaintMode(), rmFull);
}

TEST(ImageUpdates, AnUnpairedEndUpdateFails) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    image->BeginUpdate();
    image->EndUpdate();
    try {
        image->EndUpdate();
        FAIL() << "no error";
    } catch (const EBitmapException &e) {
        EXPECT_EQ(e.Message(), u"Unpaired EndUpdate call");
    }
}

TEST(ImageMouse, EventsReportNoLayerOverAnEmptyCollection) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    image->SetParent(&form);
    std::vector<TCustomLayer *> seen;
    image->OnMouseDown = [&](TCustomImage32 *, ui::TMouseButton, ui::TShiftState, int32_t, int32_t,
                             TCustomLayer *l) { seen.push_back(l); };
    image->OnMouseUp = [&](TCustomImage32 *, ui::TMouseButton, ui::TShiftState, int32_t, int32_t,
                           TCustomLayer *l) { seen.push_back(l); };
    image->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(5, 5));
    image->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(5, 5));
    EXPECT_EQ(seen, (std::vector<TCustomLayer *>{nullptr, nullptr}));
}

// ---- Layers -------------------------------------------------------------------------------

struct LayerFixture : ::testing::Test {
    TLayerCollection layers{nullptr};
    int updated = 0, changed = 0;
    void SetUp() override {
        layers.OnLayerUpdated = [this](TLayerCollection *, TCustomLayer *) { ++updated; };
        layers.OnChange = [this](TLayerCollection *) { ++changed; };
    }
};

TEST_F(LayerFixture, AnEmptyCollectionHitsNoLayer) {
    EXPECT_EQ(layers.DispatchMouseDown(ui::mbLeft, {}, 1, 1), nullptr);
    EXPECT_EQ(layers.DispatchMouseMove({}, 1, 1), nullptr);
    EXPECT_EQ(layers.DispatchMouseUp(ui::mbLeft, {}, 1, 1), nullptr);
}

TEST_F(LayerFixture, HidingAVisibleLayerIsReportedOnce) {
    TCustomLayer *layer = layers.Add<TCustomLayer>();
    updated = 0;
    layer->SetVisible(false);
    EXPECT_EQ(updated, 1);
    EXPECT_FALSE(layer->GetVisible());
    EXPECT_EQ(layer->GetLayerOptions() & loForceUpdate, 0u);
    layer->SetLayerOptions(layer->GetLayerOptions() | loMouseEvents); // invisible: silent
    EXPECT_EQ(updated, 1);
}

TEST_F(LayerFixture, OrderChangesThatChangeNothingReportNothing) {
    TCustomLayer *bottom = layers.Add<TCustomLayer>();
    TCustomLayer *top = layers.Add<TCustomLayer>();
    changed = 0;
    top->BringToFront();
    bottom->SendToBack();
    EXPECT_EQ(changed, 0);
    bottom->BringToFront();
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(bottom->GetIndex(), 1);
    EXPECT_EQ(top->GetIndex(), 0);
}

TEST_F(LayerFixture, ALayerWithNoUpdateChangesSilently) {
    TCustomLayer *layer = layers.Add<TCustomLayer>();
    layer->SetLayerOptions(loVisible | loNoUpdate);
    updated = changed = 0;
    layer->SetLayerOptions(loVisible | loNoUpdate | loMouseEvents);
    layer->Changed();
    EXPECT_EQ(updated, 0);
    EXPECT_EQ(changed, 0);
}

TEST_F(LayerFixture, PressedLayerListensUntilItsButtonsAreReleased) {
    TCustomLayer *layer = layers.Add<TCustomLayer>();
    layer->SetMouseEvents(true);
    EXPECT_EQ(layers.DispatchMouseDown(ui::mbLeft, {}, 1, 1), layer);
    EXPECT_EQ(layers.GetMouseListener(), layer);
    EXPECT_EQ(layer->GetLayerStates(), 1u << lsMouseLeft);
    EXPECT_EQ(layers.DispatchMouseUp(ui::mbLeft, {}, 1, 1), layer);
    EXPECT_EQ(layers.GetMouseListener(), nullptr);
    layers.Delete(0);
    EXPECT_EQ(layers.GetCount(), 0);
    EXPECT_THROW(layers.Delete(0), rtl::EListError);
}

TEST_F(LayerFixture, AnUnpairedEndUpdateFails) {
    EXPECT_THROW(layers.EndUpdate(), EBitmapException);
}

} // namespace
