// Stored forms holding properties that no longer exist load into today's properties.
#include "controls/BvButton.h"
#include "controls/BvCommon_Settings.h"
#include "controls/BvPanel.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streaming.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using namespace controls;

// A root component stream "TPF0", class, name, the properties that props writes, no children.
void WriteForm(rtl::TMemoryStream &stream, const std::string &className,
               const std::function<void(rtl::TWriter &)> &props) {
    rtl::TWriter w(stream);
    w.WriteSignature();
    w.WriteStr(className);
    w.WriteStr("Stored1");
    props(w);
    w.WriteListEnd();
    w.WriteListEnd();
    stream.Seek(0, rtl::soBeginning);
}

void ReadForm(rtl::TMemoryStream &stream, rtl::TComponent &root) {
    rtl::TReader r(stream);
    r.ReadRootComponent(root);
}

TEST(OldProperties, PanelReadsFrameSidesThemeAwareAndUseGradients) {
    struct Case {
        bool useGradients;
        TBvVisualStyle expected;
    };
    for (Case c : {Case{true, vsGradient}, Case{false, vsWinXP}}) {
        rtl::TMemoryStream s;
        WriteForm(s, "TBvPanel", [&](rtl::TWriter &w) {
            w.WriteStr("FrameSides");
            w.WriteSet(0b0011, {"sdLeft", "sdTop", "sdRight", "sdBottom"});
            w.WriteStr("ThemeAware");
            w.WriteBoolean(false);
            w.WriteStr("UseGradients");
            w.WriteBoolean(c.useGradients);
        });
        TBvPanel panel(nullptr);
        ReadForm(s, panel);
        EXPECT_EQ(panel.GetName(), u"Stored1");
        EXPECT_EQ(panel.GetVisualStyle(), c.expected);
        EXPECT_EQ(panel.GetBorderSides(), AllSides) << "FrameSides is dropped";
        EXPECT_EQ(s.GetPosition(), s.GetSize()) << "every value is read past";
    }
}

TEST(OldProperties, ButtonReadsFrameFlatIntoHotTrack) {
    for (bool flat : {true, false}) {
        rtl::TMemoryStream s;
        WriteForm(s, "TBvBitBtn", [&](rtl::TWriter &w) {
            w.WriteStr("FrameFlat");
            w.WriteBoolean(flat);
        });
        TBvBitBtn button(nullptr);
        button.SetHotTrack(!flat);
        ReadForm(s, button);
        EXPECT_EQ(button.GetHotTrack(), flat);
    }
}

TEST(OldProperties, FrameControllerReadsItsObsoleteNames) {
    rtl::TMemoryStream s;
    WriteForm(s, "TBvFrameController", [&](rtl::TWriter &w) {
        w.WriteStr("FrameFlat");
        w.WriteBoolean(true);
        w.WriteStr("FrameFocusStyle");
        w.WriteIdent("fsButtonDown");
        w.WriteStr("FrameFlatStyle");
        w.WriteIdent("fsWhatever");
    });
    TBvFrameController controller(nullptr);
    ReadForm(s, controller);
    EXPECT_TRUE(controller.GetFrameHotTrack());
    EXPECT_EQ(controller.GetFrameStyle(), fsStatus);
    EXPECT_EQ(controller.GetFrameHotStyle(), fsButtonDown) << "FrameFocusStyle comes last";
}

// A value of the wrong kind under an obsolete name fails as any property does, naming it.
TEST(OldProperties, WrongKindOfValueIsAnErrorNamingTheProperty) {
    struct Case {
        const char *name;
        const char16_t *message;
        std::function<void(rtl::TWriter &)> value;
    };
    const Case cases[] = {
        {"FrameSides", u"Error reading Stored1.FrameSides: Invalid property value",
         [](rtl::TWriter &w) { w.WriteInteger(3); }},
        {"ThemeAware", u"Error reading Stored1.ThemeAware: Invalid property value",
         [](rtl::TWriter &w) { w.WriteIdent("fsFlat"); }},
        {"UseGradients", u"Error reading Stored1.UseGradients: Invalid property value",
         [](rtl::TWriter &w) { w.WriteString(u"yes"); }},
    };
    for (const Case &c : cases) {
        rtl::TMemoryStream s;
        WriteForm(s, "TBvPanel", [&](rtl::TWriter &w) {
            w.WriteStr(c.name);
            c.value(w);
        });
        TBvPanel panel(nullptr);
        try {
            ReadForm(s, panel);
            ADD_FAILURE() << c.name;
        } catch (const rtl::EReadError &e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    rtl::TMemoryStream s;
    WriteForm(s, "TBvFrameController", [&](rtl::TWriter &w) {
        w.WriteStr("FrameFocusStyle");
        w.WriteIdent("fsSparkly");
    });
    TBvFrameController controller(nullptr);
    EXPECT_THROW(ReadForm(s, controller), rtl::EReadError);
    EXPECT_EQ(controller.GetFrameHotStyle(), fsFlatBold);
}

} // namespace
