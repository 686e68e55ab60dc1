// Screen and control cursors as the windowing system shows them.
#include "platform/ui/Button.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"

#include <QApplication>
#include <QCursor>
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
