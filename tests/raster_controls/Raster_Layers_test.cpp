// Layers: update notices, ordering, hit tests (positioned, scaled, alpha), mouse dispatch and
// cursors, copying collections, the bitmap layer's painting and area mapping, and the image
// control's layers and auto-size.
#include "raster/controls/Raster_Layers.h"

#include "raster/controls/Raster_Image.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace raster;

namespace {

// Counts what a collection reports.
struct TNotices {
    int changing = 0, changes = 0, layerUpdates = 0;
    std::vector<TRect> areas;
    std::vector<TLayerListNotification> list;

    void Watch(TLayerCollection &c) {
        c.OnChanging = [this](TLayerCollection *) { ++changing; };
        c.OnChange = [this](TLayerCollection *) { ++changes; };
        c.OnLayerUpdated = [this](TLayerCollection *, TCustomLayer *) { ++layerUpdates; };
        c.OnAreaUpdated = [this](TLayerCollection *, const TRect &r, uint32_t info) {
            EXPECT_EQ(info, AreaInfoRect);
            areas.push_back(r);
        };
        c.OnListNotify = [this](TLayerCollection *, TLayerListNotification a, TCustomLayer *,
                                int32_t) { list.push_back(a); };
    }
};

TPositionedLayer *AddAt(TLayerCollection &c, const TFloatRect &r) {
    auto *layer = c.Add<TPositionedLayer>();
    layer->SetLocation(r);
    return layer;
}

} // namespace

TEST(LayerNotices, ChangesAreReportedUnlessNoUpdate) {
    TLayerCollection c(nullptr);
    TNotices n;
    n.Watch(c);
    auto *layer = c.Add<TPositionedLayer>();
    EXPECT_EQ(n.list, (std::vector<TLayerListNotification>{lnLayerAdded, lnLayerAdded}));
    n = {};
    n.Watch(c);
    layer->SetLocation({1, 2, 3, 4});
    EXPECT_EQ(n.changing, 1);
    EXPECT_EQ(n.layerUpdates, 1);
    EXPECT_EQ(n.changes, 2); // the layer update, then the visible layer's change
    layer->SetLayerOptions(layer->GetLayerOptions() | loNoUpdate);
    n = {};
    n.Watch(c);
    layer->SetLocation({5, 6, 7, 8});
    EXPECT_EQ(n.changing + n.changes + n.layerUpdates, 0);
}

TEST(LayerNotices, HidingIsReportedOnceThoughTheLayerIsInvisibleAfterwards) {
    TLayerCollection c(nullptr);
    auto *layer = c.Add<TPositionedLayer>();
    TNotices n;
    n.Watch(c);
    layer->SetVisible(false);
    EXPECT_EQ(n.layerUpdates, 1);
    EXPECT_FALSE(layer->GetVisible());
    EXPECT_EQ(layer->GetLayerOptions() & loForceUpdate, 0u);
    layer->SetLocation({1, 1, 2, 2}); // invisible: no more updates
    EXPECT_EQ(n.layerUpdates, 1);
}

TEST(LayerNotices, OrderChangesOnlyWhenTheIndexMoves) {
    TLayerCollection c(nullptr);
    auto *bottom = c.Add<TPositionedLayer>();
    auto *top = c.Add<TPositionedLayer>();
    TNotices n;
    n.Watch(c);
    top->BringToFront();
    bottom->SendToBack();
    EXPECT_EQ(n.changing + n.changes, 0);
    bottom->BringToFront();
    EXPECT_EQ(bottom->GetIndex(), 1);
    EXPECT_EQ(top->GetIndex(), 0);
    EXPECT_EQ(n.changes, 1);
    top->SetIndex(99); // clamped to the top
    EXPECT_EQ(top->GetIndex(), 1);
}

TEST(LayerNotices, UnpairedEndUpdateAndBadIndexesRaise) {
    TLayerCollection c(nullptr);
    EXPECT_THROW(c.EndUpdate(), EBitmapException);
    EXPECT_THROW(c.GetItem(0), rtl::EListError);
    EXPECT_THROW(c.Delete(-1), rtl::EListError);
}

TEST(LayerHitTest, PositionedScaledAndAlpha) {
    TLayerCollection c(nullptr);
    auto *plain = AddAt(c, {10, 10, 20, 20});
    const struct {
        int32_t x, y;
        bool hit;
    } plainCases[] = {
        {10, 10, true}, {19, 19, true}, {20, 10, false}, {10, 20, false}, {9, 15, false}};
    for (const auto &k : plainCases) {
        EXPECT_EQ(plain->HitTest(k.x, k.y), k.hit) << k.x << "," << k.y;
    }
    c.OnGetViewportScale = [](float &sx, float &sy) { sx = sy = 2; };
    c.OnGetViewportShift = [](float &hx, float &hy) { hx = hy = 100; };
    plain->SetScaled(true); // location now in bitmap units: (120, 120, 140, 140) on screen
    EXPECT_TRUE(plain->HitTest(120, 139));
    EXPECT_FALSE(plain->HitTest(15, 15));
    EXPECT_EQ(c.LocalToViewport({1, 2}, true), (TFloatPoint{102, 104}));
    EXPECT_EQ(c.ViewportToLocal({102, 104}, true), (TFloatPoint{1, 2}));
    EXPECT_EQ(c.LocalToViewport({1, 2}, false), (TFloatPoint{1, 2}));
}

TEST(LayerHitTest, AlphaHitFallsThroughTransparentPixels) {
    TLayerCollection c(nullptr);
    auto *below = AddAt(c, {0, 0, 40, 40});
    auto *above = c.Add<TBitmapLayer>();
    above->SetLocation({0, 0, 40, 40});
    above->GetBitmap().SetSize(4, 4);
    above->GetBitmap().Clear(0x00000000u);
    above->GetBitmap().SetPixel(1, 1, 0xFF00FF00u);
    EXPECT_EQ(c.LayerAt(5, 5, loMouseEvents), above); // no alpha test yet
    above->SetAlphaHit(true);
    EXPECT_EQ(c.LayerAt(5, 5, loMouseEvents), below);   // pixel (0, 0): 0.5 rounds to even
    EXPECT_EQ(c.LayerAt(10, 10, loMouseEvents), above); // pixel (1, 1)
}

TEST(LayerMouse, EmptyCollectionHitsNothingAndShowsTheOwnersCursor) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    image->SetCursor(-3);
    TLayerCollection &c = image->GetLayers();
    SetScreenCursor(crDefault);
    EXPECT_EQ(c.DispatchMouseDown(ui::mbLeft, {}, 1, 1), nullptr);
    EXPECT_EQ(c.DispatchMouseMove({}, 1, 1), nullptr);
    EXPECT_EQ(GetScreenCursor(), -3);
    EXPECT_EQ(c.DispatchMouseUp(ui::mbLeft, {}, 1, 1), nullptr);
}

TEST(LayerMouse, PressCapturesUntilTheLastButtonIsReleased) {
    TLayerCollection c(nullptr);
    auto *layer = AddAt(c, {0, 0, 10, 10});
    layer->SetCursor(-2);
    std::vector<std::string> log;
    layer->OnMouseDown = [&](TCustomLayer *, ui::TMouseButton, ui::TShiftState, int32_t, int32_t) {
        log.push_back("down");
    };
    layer->OnMouseMove = [&](TCustomLayer *, ui::TShiftState, int32_t x, int32_t) {
        log.push_back("move " + std::to_string(x));
    };
    layer->OnMouseUp = [&](TCustomLayer *, ui::TMouseButton, ui::TShiftState, int32_t, int32_t) {
        log.push_back("up");
    };
    EXPECT_EQ(c.DispatchMouseDown(ui::mbLeft, {}, 5, 5), layer);
    EXPECT_EQ(c.GetMouseListener(), layer);
    EXPECT_EQ(layer->GetLayerStates(), 1u << lsMouseLeft);
    EXPECT_EQ(c.DispatchMouseMove({}, 50, 50), layer); // outside, but captured
    EXPECT_EQ(GetScreenCursor(), -2);
    EXPECT_EQ(c.DispatchMouseUp(ui::mbLeft, {}, 50, 50), layer);
    EXPECT_EQ(c.GetMouseListener(), nullptr);
    EXPECT_EQ(GetScreenCursor(), crDefault);
    EXPECT_EQ(log, (std::vector<std::string>{"down", "move 50", "up"}));
}

TEST(LayerMouse, NoCaptureLayerIsReportedButNotPressed) {
    TLayerCollection c(nullptr);
    auto *layer = AddAt(c, {0, 0, 10, 10});
    layer->SetLayerOptions(layer->GetLayerOptions() | loNoCapture);
    int downs = 0;
    layer->OnMouseDown = [&](TCustomLayer *, ui::TMouseButton, ui::TShiftState, int32_t, int32_t) {
        ++downs;
    };
    EXPECT_EQ(c.DispatchMouseDown(ui::mbLeft, {}, 5, 5), layer);
    EXPECT_EQ(c.GetMouseListener(), nullptr);
    EXPECT_EQ(downs, 0);
}

TEST(LayerCollectionCopy, AssignCopiesLayersOfTheirOwnClass) {
    TLayerCollection a(nullptr), b(nullptr);
    auto *p = AddAt(a, {1, 2, 3, 4});
    p->SetTag(7);
    auto *bl = a.Add<TBitmapLayer>();
    bl->GetBitmap().SetSize(3, 2);
    bl->SetCropped(true);
    AddAt(b, {9, 9, 9, 9});
    b.Assign(a);
    ASSERT_EQ(b.GetCount(), 2);
    auto *p2 = dynamic_cast<TPositionedLayer *>(b[0]);
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p2->GetLocation(), (TFloatRect{1, 2, 3, 4}));
    EXPECT_EQ(p2->GetTag(), 7);
    auto *bl2 = dynamic_cast<TBitmapLayer *>(b[1]);
    ASSERT_NE(bl2, nullptr);
    EXPECT_EQ(bl2->GetBitmap().GetWidth(), 3);
    EXPECT_TRUE(bl2->GetCropped());
    b.SetItem(0, *b[1]);
    EXPECT_EQ(dynamic_cast<TPositionedLayer *>(b[0])->GetLocation(), bl->GetLocation());
}

TEST(BitmapLayer, BitmapChangesReportTheirAreaInTheControl) {
    TLayerCollection c(nullptr);
    TNotices n;
    auto *layer = c.Add<TBitmapLayer>();
    layer->GetBitmap().SetSize(50, 25);
    layer->SetLocation({10, 20, 110, 70}); // scale 2 both ways
    n.Watch(c);
    layer->GetBitmap().FillRectS(5, 5, 10, 10, 0xFFFFFFFFu);
    // (5, 5, 10, 10) x 2 + (10, 20) grown by the nearest resampler's width + 1; a drawn fill
    // reports its area twice (the fill, then the clipped form).
    EXPECT_EQ(n.areas, (std::vector<TRect>{{18, 28, 32, 42}, {18, 28, 32, 42}}));
}

TEST(BitmapLayer, PaintsStretchedIntoItsLocationAndCroppedToTheImage) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    image->SetBounds(0, 0, 100, 100);
    image->GetBitmap().SetSize(50, 50);
    auto *layer = image->GetLayers().Add<TBitmapLayer>();
    layer->GetBitmap().SetSize(2, 2);
    layer->GetBitmap().Clear(0xFFFF0000u);
    layer->SetLocation({40, 40, 80, 80});
    TBitmap32 buffer;
    buffer.SetSize(100, 100);
    buffer.Clear(0xFF000000u);
    layer->RenderLayer(buffer);
    EXPECT_EQ(buffer.GetPixel(40, 40), 0xFFFF0000u);
    EXPECT_EQ(buffer.GetPixel(79, 79), 0xFFFF0000u);
    EXPECT_EQ(buffer.GetPixel(80, 80), 0xFF000000u);
    buffer.Clear(0xFF000000u);
    layer->SetCropped(true); // the image's bitmap covers (0, 0, 50, 50)
    layer->RenderLayer(buffer);
    EXPECT_EQ(buffer.GetPixel(49, 49), 0xFFFF0000u);
    EXPECT_EQ(buffer.GetPixel(50, 50), 0xFF000000u);
}

TEST(ImageLayers, SetLayersCopiesAndAutoSizeFollowsTheBitmap) {
    ui::TForm form(nullptr);
    auto *image = new TImage32(&form);
    TLayerCollection source(nullptr);
    AddAt(source, {1, 1, 5, 5});
    image->SetLayers(source);
    EXPECT_EQ(image->GetLayers().GetCount(), 1);
    EXPECT_EQ(image->GetLayers().GetOwner(), image);
    image->SetAutoSize(true);
    image->GetBitmap().SetSize(120, 30);
    EXPECT_EQ(image->GetWidth(), 120);
    EXPECT_EQ(image->GetHeight(), 30);
    image->SetScaleMode(smScale);
    image->SetScale(2);
    image->GetBitmap().SetSize(10, 15);
    EXPECT_EQ(image->GetWidth(), 20);
    EXPECT_EQ(image->GetHeight(), 30);
    image->SetAlign(ui::alTop); // the width follows the alignment, the height the bitmap
    int32_t w = 77, h = 0;
    EXPECT_TRUE(image->CanAutoSize(w, h));
    EXPECT_EQ(w, 77);
    EXPECT_EQ(h, 30);
}
