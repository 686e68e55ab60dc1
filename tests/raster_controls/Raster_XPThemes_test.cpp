// The visual-styles loader on a theme source of our own: no library, styles switched off, a
// library without a required entry point, theme changes, shutdown, and the range bars drawing
// their parts through the themes.
#include "raster/controls/Raster_XPThemes.h"

#include "raster/controls/Raster_RangeBars.h"

#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace raster;

namespace {

// What the fake library was asked, shared with the test after the loader has taken it.
struct TThemeLog {
    std::vector<std::string> calls;
    std::vector<std::pair<int32_t, int32_t>> drawn; // part, state
    HTHEME next = 100;
};

class TFakeThemeLibrary : public TThemeLibrary {
public:
    TFakeThemeLibrary(TThemeLog &log, bool active, std::set<std::string> missing = {})
        : FLog(log), FActive(active), FMissing(std::move(missing)) {}
    bool HasEntryPoint(const std::string &name) const override { return !FMissing.count(name); }
    HTHEME OpenThemeData(const rtl::UnicodeString &classList) override {
        FLog.calls.push_back("open " + std::string(classList.begin(), classList.end()));
        return FLog.next++;
    }
    int32_t CloseThemeData(HTHEME theme) override {
        FLog.calls.push_back("close " + std::to_string(theme));
        return 0;
    }
    int32_t DrawThemeBackground(HTHEME theme, gfx::TCanvas &, int32_t part, int32_t state,
                                const TRect &, const TRect *clip) override {
        EXPECT_EQ(theme, ScrollBarTheme());
        EXPECT_EQ(clip, nullptr);
        FLog.drawn.emplace_back(part, state);
        return 0;
    }
    bool IsThemeActive() override { return FActive; }
    bool IsAppThemed() override { return FActive; }

private:
    TThemeLog &FLog;
    bool FActive;
    std::set<std::string> FMissing;
};

class ThemesTest : public ::testing::Test {
protected:
    TThemeLog log;
    void Restart(bool active, std::set<std::string> missing = {}) {
        FinalizeThemes();
        SetThemeLibraryLoader([this, active, missing](const rtl::UnicodeString &name) {
            EXPECT_EQ(name, u"uxtheme.dll");
            return std::make_unique<TFakeThemeLibrary>(log, active, missing);
        });
        InitializeThemes();
    }
    void TearDown() override {
        FinalizeThemes();
        SetThemeLibraryLoader(nullptr);
        InitializeThemes();
    }
};

} // namespace

TEST_F(ThemesTest, OurPlatformHasNoThemeByDefault) {
    FinalizeThemes();
    SetThemeLibraryLoader(nullptr);
    InitializeThemes();
    EXPECT_FALSE(ThemesInUse());
    EXPECT_FALSE(ThemesAvailable());
    EXPECT_EQ(ScrollBarTheme(), 0u);
    EXPECT_EQ(ThemeApi(), nullptr);
}

TEST_F(ThemesTest, StylesSwitchedOffOpenNoTheme) {
    Restart(false);
    EXPECT_FALSE(ThemesAvailable());
    EXPECT_FALSE(ThemesInUse());
    EXPECT_EQ(ScrollBarTheme(), 0u);
    EXPECT_EQ(GlobalsTheme(), 0u);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(ThemesTest, LibraryWithoutARequiredEntryPointIsUnloaded) {
    Restart(true, {"EnableTheming"});
    EXPECT_FALSE(ThemesInUse());
    EXPECT_EQ(ThemeApi(), nullptr);
    Restart(true, {"DrawThemeEdge"}); // an optional one may be missing
    EXPECT_TRUE(ThemesInUse());
}

TEST_F(ThemesTest, ThemeChangeReopensTheThemes) {
    Restart(true);
    EXPECT_TRUE(ThemesInUse());
    EXPECT_EQ(ScrollBarTheme(), 100u);
    EXPECT_EQ(GlobalsTheme(), 101u);
    ui::TMessage m{ui::WM_THEMECHANGED, 0, 0, 7};
    ThemeNexus()->WndProc(m);
    EXPECT_EQ(m.Result, 0);
    EXPECT_TRUE(ThemesInUse());
    EXPECT_EQ(ScrollBarTheme(), 102u);
    EXPECT_EQ(GlobalsTheme(), 103u);
    FinalizeThemes();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"open SCROLLBAR", "open GLOBALS", "close 100",
                                                   "close 101", "open SCROLLBAR", "open GLOBALS",
                                                   "close 102", "close 103"}));
    EXPECT_EQ(ThemeApi(), nullptr);
    EXPECT_EQ(ScrollBarTheme(), 0u);
}

TEST_F(ThemesTest, DefaultStyleRangeBarDrawsItsPartsThroughTheTheme) {
    Restart(true);
    ui::TForm form(nullptr);
    auto *bar = new TGaugeBar(&form);
    bar->SetParent(&form);
    bar->SetKind(sbVertical);
    bar->SetShowArrows(true);
    bar->SetShowHandleGrip(true);
    bar->SetBounds(0, 0, 16, 200);
    bar->SetPosition(50);
    log.drawn.clear();
    bar->GrabForTesting();
    // Up and down arrows (normal), the two tracks (up 6, down 7), the vertical thumb and grip.
    EXPECT_EQ(log.drawn, (std::vector<std::pair<int32_t, int32_t>>{
                             {1, 1}, {1, 5}, {6, 1}, {7, 1}, {3, 1}, {9, 0}}));
}
