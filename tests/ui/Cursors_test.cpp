// Screen and control cursors as the windowing system shows them.
#include "platform/gfx/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

using namespace ui;

namespace {

// The override cursor's shape, or -1 when none is set.
int OverrideShape() {
    const QCursor *c = QApplication::overrideCursor();
    return c ? int(c->shape()) : -1;
}

} // namespace

// Setting the screen cursor twice and back leaves no override behind.
TEST(ScreenCursor, OverridesEveryWindowUntilSetBackToDefault) {
    const struct {
        TCursor cursor;
        int shape;
    } steps[] = {
        {crHourGlass, Qt::WaitCursor}, {crHSplit, Qt::SplitHCursor},
        {104, Qt::ArrowCursor},        {crDefault, -1},
        {crNone, Qt::BlankCursor},     {crDefault, -1},
    };
    for (const auto &step : steps) {
        Screen->SetCursor(step.cursor);
        EXPECT_EQ(Screen->GetCursor(), step.cursor);
        EXPECT_EQ(OverrideShape(), step.shape) << step.cursor;
    }
}

TEST(ControlCursor, ShowsOverItsWidgetAndDefaultTakesTheParents) {
    TForm form(nullptr);
    auto *button = new TButton(&form);
    button->SetCursor(crHandPoint); // before it is placed: applied to its widget still
    button->SetParent(&form);
    QWidget *w = qt::WidgetOf(*button);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
    button->SetCursor(crSizeWE);
    EXPECT_EQ(w->cursor().shape(), Qt::SizeHorCursor);
    button->SetCursor(crDefault);
    EXPECT_FALSE(w->testAttribute(Qt::WA_SetCursor));
}

// A number given a picture shows it, with its hot spot and its alpha as the mask, over controls
// and as the screen's cursor; numbers without one keep the arrow.
TEST(OwnCursors, ANumberWithAPictureShowsItOverControlsAndTheScreen) {
    gfx::TBitmap image;
    image.SetPixelFormat(gfx::pf32bit);
    image.SetSize(16, 16);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            image.ScanLine(y)[x] = x < 8 ? 0xFF000000 : 0; // left half black, right half clear
        }
    }
    EXPECT_FALSE(Screen->HasCursorImage(120));
    Screen->SetCursorImage(120, image, 3, 4);
    EXPECT_TRUE(Screen->HasCursorImage(120));
    TForm form(nullptr);
    auto *button = new TButton(&form);
    button->SetParent(&form);
    button->SetCursor(120);
    const QCursor c = qt::WidgetOf(*button)->cursor();
    EXPECT_EQ(c.shape(), Qt::BitmapCursor);
    EXPECT_EQ(c.hotSpot(), QPoint(3, 4));
    const QImage shown = c.pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(shown.pixel(2, 2)), 255);
    EXPECT_EQ(qAlpha(shown.pixel(12, 2)), 0);
    Screen->SetCursor(120);
    EXPECT_EQ(OverrideShape(), Qt::BitmapCursor);
    Screen->SetCursor(crDefault);
    button->SetCursor(121);
    EXPECT_EQ(qt::WidgetOf(*button)->cursor().shape(), Qt::ArrowCursor);
}
