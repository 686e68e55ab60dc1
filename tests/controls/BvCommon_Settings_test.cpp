// Tests of the settings store (INI file and registry) and the frame controller's persistence.
#include "controls/BvCommon_Settings.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace controls;
using rtl::UnicodeString;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(FDir / "bin");
        TBvRegIniFile::SetProgramForTesting(Path("bin/workbench"), u"");
    }
    void TearDown() override { TBvRegIniFile::SetProgramForTesting(u"", u""); }
    UnicodeString Path(const char *name) const { return Store.Folder().File(name); }
    // The program's folder, the store's and the test's files in one folder of the test's own.
    wbtest::TRegistryStoreScope Store;
    const std::filesystem::path &FDir = Store.Folder().Path();
};

TEST_F(SettingsTest, EmptyIniPathIsTheProgramNameWithIni) {
    TBvRegIniFile store(nullptr);
    store.WriteInteger(u"S", u"N", 4);
    EXPECT_EQ(store.GetPath(), Path("bin/workbench.ini"));
    EXPECT_TRUE(std::filesystem::exists(FDir / "bin/workbench.ini")) << "auto update writes";
    TBvRegIniFile bare(nullptr);
    bare.SetPath(u"settings.cfg");
    EXPECT_EQ(bare.ReadInteger(u"S", u"N", 0), 0);
    EXPECT_EQ(bare.GetPath(), Path("bin/settings.ini"));
}

TEST_F(SettingsTest, SpecialFolderTakesTheSubPath) {
    setenv("XDG_CONFIG_HOME", (FDir / "cfg").string().c_str(), 1);
    TBvRegIniFile store(nullptr);
    store.SetSpecialFolder(sfUserAppDataRoaming);
    store.SetPath(u"Vendor\\Bench\\frames.dat");
    store.WriteBool(u"S", u"B", true);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(store.GetPath(), Path("cfg/Vendor/Bench/frames.ini"));
    EXPECT_TRUE(std::filesystem::exists(FDir / "cfg/Vendor/Bench/frames.ini"));
}

TEST_F(SettingsTest, RegistryPathDefaultsToTheApplicationTitle) {
    TBvRegIniFile::SetProgramForTesting(Path("bin/workbench"), u"WbTitle");
    TBvRegIniFile store(nullptr);
    store.SetPathType(ptRegistry);
    store.WriteString(u"Frame", u"Name", u"x");
    EXPECT_EQ(store.GetPath(), u"\\Software\\Temp\\WbTitle");
    rtl::TRegistry reg;
    EXPECT_TRUE(reg.KeyExists(u"\\Software\\Temp\\WbTitle\\Frame"));
    TBvRegIniFile::SetProgramForTesting(Path("bin/workbench"), u"");
    TBvRegIniFile untitled(nullptr);
    untitled.SetPathType(ptRegistry);
    untitled.ReadString(u"S", u"N", u"");
    EXPECT_EQ(untitled.GetPath(), u"\\Software\\Temp\\workbench");
}

TEST_F(SettingsTest, ChangingThePathTypeRebuildsTheStorage) {
    TBvRegIniFile store(nullptr);
    store.SetPath(u"\\Software\\Bench");
    store.SetPathType(ptRegistry);
    store.WriteString(u"S", u"Where", u"registry");
    store.SetPathType(ptIniFile);
    store.SetPath(Path("bench.ini"));
    EXPECT_EQ(store.ReadString(u"S", u"Where", u"none"), u"none");
    store.WriteString(u"S", u"Where", u"ini");
    store.SetPathType(ptRegistry);
    store.SetPath(u"\\Software\\Bench");
    EXPECT_EQ(store.ReadString(u"S", u"Where", u""), u"registry");
}

TEST_F(SettingsTest, RegistrySectionValuesAreFormattedByType) {
    TBvRegIniFile store(nullptr);
    store.SetPathType(ptRegistry);
    store.SetPath(u"\\Software\\Bench\\");
    store.WriteInteger(u"S", u"Count", 12);
    store.WriteString(u"S", u"Name", u"abc");
    rtl::TMemoryStream bytes;
    bytes.Write("\x0A\xFF", 2);
    bytes.SetPosition(0);
    store.WriteBinaryStream(u"S", u"Bin", bytes);
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Bench\\S", false));
    reg.WriteString(u"", u"dflt");
    rtl::TStringList lines;
    store.ReadSectionValues(u"S", lines);
    ASSERT_EQ(lines.GetCount(), 4);
    EXPECT_EQ(lines[0], u"Default=dflt");
    EXPECT_EQ(lines[1], u"Bin=0A FF ");
    EXPECT_EQ(lines[2], u"Count=12");
    EXPECT_EQ(lines[3], u"Name=abc");
}

TEST_F(SettingsTest, DeferredIniUpdateWritesOnDestruction) {
    {
        TBvRegIniFile store(nullptr);
        store.SetAutoUpdateIniFile(false);
        store.SetPath(Path("late.ini"));
        store.WriteInteger(u"S", u"N", 7);
        EXPECT_FALSE(std::filesystem::exists(FDir / "late.ini"));
    }
    rtl::TMemIniFile ini(Path("late.ini"));
    EXPECT_EQ(ini.ReadInteger(u"S", u"N", 0), 7);
}

void ExpectDefaults(const TBvFrameController &c, TColor disabled) {
    EXPECT_EQ(c.GetColor(), gfx::clWindow);
    EXPECT_EQ(c.GetFlatButtonColor(), gfx::clBtnFace);
    EXPECT_TRUE(c.GetFlatButtons());
    EXPECT_EQ(c.GetDisabledColor(), disabled);
    EXPECT_EQ(c.GetReadOnlyColor(), gfx::clInfoBk);
    EXPECT_FALSE(c.GetReadOnlyColorOnFocus());
    EXPECT_EQ(c.GetFocusColor(), gfx::clWindow);
    EXPECT_EQ(c.GetFrameColor(), gfx::clBtnShadow);
    EXPECT_EQ(c.GetFrameHotColor(), gfx::clBtnShadow);
    EXPECT_EQ(c.GetFrameHotStyle(), fsFlatBold);
    EXPECT_FALSE(c.GetFrameHotTrack());
    EXPECT_EQ(c.GetFrameSides(), AllSides);
    EXPECT_EQ(c.GetFrameStyle(), fsFlat);
    EXPECT_FALSE(c.GetFrameVisible());
    EXPECT_EQ(c.GetFramingPreference(), fpXPThemes);
}

TEST_F(SettingsTest, ControllerLoadsDefaultsAndRoundTrips) {
    TBvRegIniFile store(nullptr);
    store.SetPath(Path("frames.ini"));
    TBvFrameController fresh(nullptr);
    ExpectDefaults(fresh, gfx::clBtnFace);
    fresh.SetRegIniFile(&store);
    fresh.Load(u"Empty");
    ExpectDefaults(fresh, gfx::clWindow); // the loading default differs from the new one

    TBvFrameController a(nullptr);
    a.SetRegIniFile(&store);
    a.SetColor(gfx::RGB(1, 2, 3));
    a.SetFlatButtons(false);
    a.SetReadOnlyColorOnFocus(true);
    a.SetFrameHotStyle(fsLowered);
    a.SetFrameStyle(fsGroove);
    a.SetFrameSides(TSides{sdLeft, sdBottom});
    a.SetFrameVisible(true);
    a.SetFramingPreference(fpCustomFraming);
    a.Save(u"Frames");
    TBvFrameController b(nullptr);
    b.SetRegIniFile(&store);
    b.Load(u"Frames");
    EXPECT_EQ(b.GetColor(), gfx::RGB(1, 2, 3));
    EXPECT_EQ(b.GetFocusColor(), gfx::RGB(1, 2, 3));
    EXPECT_FALSE(b.GetFlatButtons());
    EXPECT_TRUE(b.GetReadOnlyColorOnFocus());
    EXPECT_EQ(b.GetFrameHotStyle(), fsLowered);
    EXPECT_EQ(b.GetFrameStyle(), fsGroove);
    EXPECT_EQ(b.GetFrameSides(), (TSides{sdLeft, sdBottom}));
    EXPECT_TRUE(b.GetFrameVisible());
    EXPECT_EQ(b.GetFramingPreference(), fpCustomFraming);
    rtl::TMemIniFile ini(Path("frames.ini"));
    EXPECT_EQ(ini.ReadString(u"Frames", u"FrameSides_Top", u""), u"0");
    EXPECT_EQ(ini.ReadString(u"Frames", u"FrameHotStyle", u""), u"4");
}

TEST_F(SettingsTest, LoadAndSaveWithoutStoreRaise) {
    TBvFrameController c(nullptr);
    c.SetFrameStyle(fsBump);
    try {
        c.Load(u"S");
        FAIL();
    } catch (const ENoRegIniFile &e) {
        EXPECT_STREQ(e.what(),
                     "Cannot load Custom Framing settings--No TBvRegIniFile component specified");
    }
    try {
        c.Save(u"S");
        FAIL();
    } catch (const ENoRegIniFile &e) {
        EXPECT_STREQ(e.what(),
                     "Cannot save Custom Framing settings--No TBvRegIniFile component specified");
    }
    EXPECT_EQ(c.GetFrameStyle(), fsBump);
}

// Mended: a stored style number outside the frame styles made an invalid enumeration value.
TEST_F(SettingsTest, LoadRejectsOutOfRangeFrameStyle) {
    TBvRegIniFile store(nullptr);
    store.SetPath(Path("bad.ini"));
    store.WriteInteger(u"S", u"FrameStyle", 99);
    store.WriteInteger(u"S", u"FrameHotStyle", fsFlatRounded);
    TBvFrameController c(nullptr);
    c.SetRegIniFile(&store);
    c.Load(u"S");
    EXPECT_EQ(c.GetFrameStyle(), fsFlat);
    EXPECT_EQ(c.GetFrameHotStyle(), fsFlatBold);
}

TEST_F(SettingsTest, ColourMovesFocusColourAlong) {
    TBvFrameController c(nullptr);
    c.SetColor(gfx::clRed);
    EXPECT_EQ(c.GetFocusColor(), gfx::clRed);
    c.SetFocusColor(gfx::clBlue);
    c.SetColor(gfx::clLime);
    EXPECT_EQ(c.GetFocusColor(), gfx::clBlue);
    c.SetParentColor(true);
    c.SetColor(gfx::clAqua);
    EXPECT_FALSE(c.GetParentColor());
    EXPECT_EQ(c.GetColor(), gfx::clAqua);
}

TEST_F(SettingsTest, AssignCopiesAnotherControllersSettingsOnly) {
    TBvFrameController a(nullptr);
    a.SetColor(gfx::RGB(4, 5, 6));
    a.SetFrameStyle(fsGroove);
    TBvFrameController b(nullptr);
    b.Assign(a);
    EXPECT_EQ(b.GetColor(), gfx::RGB(4, 5, 6));
    EXPECT_EQ(b.GetFrameStyle(), fsGroove);
    TBvRegIniFile other(nullptr);
    EXPECT_THROW(b.Assign(other), rtl::EConvertError);
    EXPECT_EQ(b.GetFrameStyle(), fsGroove);
}

TEST_F(SettingsTest, ForgetsADestroyedStore) {
    TBvFrameController c(nullptr);
    {
        TBvRegIniFile store(nullptr);
        c.SetRegIniFile(&store);
    }
    EXPECT_EQ(c.GetRegIniFile(), nullptr);
    EXPECT_THROW(c.Load(u"S"), ENoRegIniFile);
}

} // namespace
