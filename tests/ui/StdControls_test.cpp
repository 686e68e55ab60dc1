// Standard controls: speed-button groups, bit-button kinds, image placement, panel bevels,
// label sizing, combo box and edit events.
#include "UiTestSupport.h"

#include "platform/ui/BitBtn.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/SpeedButton.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

#include <algorithm>
#include <memory>

using namespace ui;

TEST(SpeedButton, GroupKeepsOneButtonDown) {
    TForm form(nullptr);
    auto make = [&](int group) {
        auto *b = new TSpeedButton(&form);
        b->SetParent(&form);
        b->SetGroupIndex(group);
        return b;
    };
    TSpeedButton *on = make(1), *off = make(1), *loose = make(0);
    on->SetDown(true);
    off->Click();
    EXPECT_TRUE(off->GetDown());
    EXPECT_FALSE(on->GetDown());
    off->Click(); // the down button stays down without AllowAllUp
    EXPECT_TRUE(off->GetDown());
    off->SetDown(false);
    EXPECT_TRUE(off->GetDown());
    off->SetAllowAllUp(true);
    off->Click();
    EXPECT_FALSE(off->GetDown());
    loose->SetDown(true); // no group: Down cannot be set
    EXPECT_FALSE(loose->GetDown());
}

TEST(SpeedButton, UserClickPressesAndRaisesOnClick) {
    TForm form(nullptr);
    auto *b = new TSpeedButton(&form);
    b->SetParent(&form);
    b->SetGroupIndex(1);
    int clicks = 0;
    b->OnClick = [&](TComponent *) { ++clicks; };
    form.Show();
    b->ClickAtForTesting(5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b->GetDown());
}

TEST(BitBtn, KindsSetCaptionResultAndRoles) {
    struct Case {
        TBitBtnKind kind;
        const char16_t *caption;
        TModalResult result;
        bool isDefault, isCancel;
    };
    for (const Case &k :
         {Case{bkOK, u"OK", mrOk, true, false}, Case{bkCancel, u"Cancel", mrCancel, false, true},
          Case{bkYes, u"&Yes", mrYes, true, false}, Case{bkNo, u"&No", mrNo, false, true},
          Case{bkAll, u"&All", mrAll, false, false},
          Case{bkClose, u"&Close", mrNone, false, false}}) {
        TBitBtn b(nullptr);
        b.SetKind(k.kind);
        EXPECT_EQ(b.GetCaption(), k.caption);
        EXPECT_EQ(b.GetModalResult(), k.result);
        EXPECT_EQ(b.GetDefault(), k.isDefault);
        EXPECT_EQ(b.GetCancel(), k.isCancel);
    }
}

TEST(BitBtn, GlyphStripSetsTheNumberOfCells) {
    struct Case {
        int w, h, cells;
    };
    for (const Case &k : {Case{64, 16, 4}, Case{80, 16, 1}, Case{32, 16, 2}}) {
        TBitBtn b(nullptr);
        b.SetGlyph(gfx::TBitmap(k.w, k.h));
        EXPECT_EQ(b.GetNumGlyphs(), k.cells) << k.w;
    }
    TBitBtn b(nullptr);
    b.SetNumGlyphs(3);
    b.SetGlyph(gfx::TBitmap(50, 16)); // not a whole multiple: unchanged
    EXPECT_EQ(b.GetNumGlyphs(), 3);
}

TEST(Image, DestRectFollowsCenterProportionalAndStretch) {
    struct Case {
        bool center, proportional, stretch;
        int pw, ph;
        gfx::TRect expected;
    };
    // The control is 177 x 97 (a logo panel's inside).
    const Case cases[] = {
        {false, false, false, 50, 20, gfx::Rect(0, 0, 50, 20)},
        {true, false, false, 50, 20, gfx::Rect(63, 38, 113, 58)},
        {false, false, true, 50, 20, gfx::Rect(0, 0, 177, 97)},
        {true, true, true, 200, 100, gfx::Rect(0, 4, 177, 92)},
        {true, true, true, 100, 200, gfx::Rect(64, 0, 112, 97)},
        {true, true, false, 50, 20, gfx::Rect(63, 38, 113, 58)}, // fits: not enlarged
        {false, true, false, 354, 97, gfx::Rect(0, 0, 177, 48)},
    };
    for (const Case &k : cases) {
        TImage img(nullptr);
        img.SetBounds(0, 0, 177, 97);
        img.SetCenter(k.center);
        img.SetProportional(k.proportional);
        img.SetStretch(k.stretch);
        gfx::TBitmap pic(k.pw, k.ph);
        img.GetPicture().SetGraphic(&pic);
        EXPECT_EQ(img.DestRect(), k.expected) << k.pw << "x" << k.ph;
    }
}

TEST(Image, PaintsThePictureIntoItsPlace) {
    TForm form(nullptr);
    auto *img = new TImage(&form);
    img->SetParent(&form);
    img->SetBounds(0, 0, 40, 40);
    img->SetStretch(true);
    gfx::TBitmap pic(2, 2);
    pic.GetCanvas().SetPixel(0, 0, gfx::clRed);
    img->GetPicture().SetGraphic(&pic);
    form.Show();
    gfx::TBitmap shot = img->GrabForTesting();
    EXPECT_EQ(shot.GetCanvas().GetPixel(5, 5), gfx::clRed);
    EXPECT_EQ(shot.GetCanvas().GetPixel(35, 35), gfx::clWhite);
}

TEST(Panel, RaisedBevelAndCaption) {
    TForm form(nullptr);
    auto *p = new TPanel(&form);
    p->SetParent(&form);
    p->SetBounds(0, 0, 120, 33);
    p->SetCaption(u"Подписанты");
    p->SetAlignment(taLeftJustify);
    form.Show();
    gfx::TBitmap shot = p->GrabForTesting();
    gfx::TCanvas &c = shot.GetCanvas();
    EXPECT_EQ(uint32_t(c.GetPixel(0, 0)), gfx::ColorToRGB(gfx::clBtnHighlight));
    EXPECT_EQ(uint32_t(c.GetPixel(119, 32)), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(uint32_t(c.GetPixel(118, 2)), gfx::ColorToRGB(gfx::clBtnFace));
    EXPECT_GT(uitest::DarkPixels(shot, gfx::Rect(1, 1, 60, 32)), 0); // the caption, at the left
    EXPECT_EQ(uitest::DarkPixels(shot, gfx::Rect(90, 1, 119, 32)), 0);
}

namespace {

// The box of the dark pixels of a picture.
gfx::TRect InkBounds(gfx::TBitmap &b) {
    gfx::TRect r{b.GetWidth(), b.GetHeight(), 0, 0};
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x) {
            if (uitest::IsDark(b.GetCanvas().GetPixel(x, y))) {
                r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                     std::max(r.Bottom, y + 1)};
            }
        }
    }
    return r;
}

} // namespace

// The caption is drawn in the panel's font, bold 12 points as the main window's panels have it:
// as much ink, as wide and as tall as the same text in that font on a bitmap.
TEST(Panel, CaptionIsDrawnInThePanelsFont) {
    TForm form(nullptr);
    auto *p = new TPanel(&form);
    p->SetParent(&form);
    p->SetBounds(0, 0, 300, 33);
    p->SetBevelKind(bkTile);
    p->SetAlignment(taLeftJustify);
    p->SetCaption(u"Подписанты");
    p->GetFont().SetName(u"Tahoma");
    p->GetFont().SetSize(12);
    p->GetFont().SetStyle({gfx::fsBold});
    form.Show();
    gfx::TBitmap shot = p->GrabForTesting(gfx::Rect(2, 2, 298, 31));
    const auto drawn = [&](gfx::TFontStyles style) {
        gfx::TBitmap b(296, 29);
        b.GetCanvas().GetBrush().SetColor(gfx::clBtnFace);
        b.GetCanvas().FillRect(gfx::Rect(0, 0, 296, 29));
        b.GetCanvas().SetFont(p->GetFont());
        b.GetCanvas().GetFont().SetStyle(style);
        b.GetCanvas().GetBrush().SetStyle(gfx::bsClear);
        b.GetCanvas().TextOut(0, 0, p->GetCaption());
        return b;
    };
    gfx::TBitmap same = drawn({gfx::fsBold}), regular = drawn({});
    const gfx::TRect ours = InkBounds(shot), theirs = InkBounds(same);
    EXPECT_EQ(ours.Width(), theirs.Width());
    EXPECT_EQ(ours.Height(), theirs.Height());
    const gfx::TRect all = gfx::Rect(0, 0, 296, 29);
    const int ink = uitest::DarkPixels(shot, all);
    EXPECT_NEAR(ink, uitest::DarkPixels(same, all), uitest::DarkPixels(same, all) / 10);
    // Tahoma has no bold face of its own: bold is the regular face emboldened, with more ink.
    EXPECT_GT(ink, uitest::DarkPixels(regular, all) * 115 / 100);
}

TEST(Panel, WithoutBevelChildrenUseTheWholeArea) {
    TPanel p(nullptr);
    p.SetBevelOuter(bvNone);
    p.SetBounds(0, 0, 100, 25);
    auto *child = new TPanel(&p);
    child->SetParent(&p);
    child->SetAlign(alClient);
    EXPECT_EQ(child->GetBoundsRect(), gfx::Rect(0, 0, 100, 25));
}

TEST(Label, AutoSizeTakesTheCaptionsExtent) {
    TForm form(nullptr);
    auto *l = new TLabel(&form);
    l->SetParent(&form);
    l->GetFont().SetSize(12);
    l->SetCaption(u"Путь к файлу Result.txt");
    gfx::TBitmap measure(1, 1);
    measure.GetCanvas().SetFont(l->GetFont());
    EXPECT_EQ(l->GetWidth(), measure.GetCanvas().TextWidth(u"Путь к файлу Result.txt"));
    EXPECT_EQ(l->GetHeight(), measure.GetCanvas().TextHeight(u"Путь"));
}

TEST(Controls, ChildrenTakeTheParentsFontUntilTheyGetTheirOwn) {
    TForm form(nullptr);
    form.GetFont().SetName(u"Tahoma");
    form.GetFont().SetSize(8);
    auto *e = new TEdit(&form);
    e->SetParent(&form);
    EXPECT_EQ(e->GetFont().GetSize(), 8);
    e->GetFont().SetSize(10);
    EXPECT_FALSE(e->GetParentFont());
    form.GetFont().SetSize(12);
    EXPECT_EQ(e->GetFont().GetSize(), 10);
}

// A screen reader reads an edit by the label that names it, as a sighted user does.
TEST(Label, NamesItsFocusControlForScreenReaders) {
    TForm form(nullptr);
    auto *label = new TLabel(&form); // owned by the form
    label->SetParent(&form);
    label->SetCaption(rtl::U("&Имя && фамилия:"));
    auto *edit = new TEdit(&form); // owned by the form
    edit->SetParent(&form);
    edit->SetText(u"typed");
    label->SetFocusControl(edit);
    form.Show();
    const QString expected = QString::fromUtf8("Имя & фамилия:");
    EXPECT_EQ(edit->GetAccessibleName(), rtl::U("Имя & фамилия:"));
    QAccessibleInterface *named = QAccessible::queryAccessibleInterface(qt::WidgetOf(*edit));
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->text(QAccessible::Name), expected);
    label->SetCaption(u"Other:");
    EXPECT_EQ(named->text(QAccessible::Name), QStringLiteral("Other:"));
    delete edit;
    EXPECT_EQ(label->GetFocusControl(), nullptr);
}

TEST(ComboBox, OnChangeRunsForTheUsersChoiceOnly) {
    TForm form(nullptr);
    auto *cb = new TComboBox(&form);
    cb->SetParent(&form);
    cb->SetStyle(csDropDownList);
    for (const char16_t *s : {u"2 mV/см", u"1 mV/см", u"0.5 mV/см"}) {
        cb->GetItems().Add(s);
    }
    int changes = 0;
    cb->OnChange = [&](TComponent *) { ++changes; };
    EXPECT_EQ(cb->GetItemIndex(), -1);
    cb->SetItemIndex(1);
    EXPECT_EQ(cb->GetText(), u"1 mV/см");
    EXPECT_EQ(changes, 0);
    cb->SelectForTesting(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(cb->GetItemIndex(), 2);
    EXPECT_EQ(cb->GetItems().GetCount(), 3);
}

TEST(Edit, TextAndOnChange) {
    TEdit e(nullptr);
    int changes = 0;
    e.OnChange = [&](TComponent *) { ++changes; };
    e.SetText(u"C:\\EDF\\Result.txt");
    EXPECT_EQ(e.GetText(), u"C:\\EDF\\Result.txt");
    EXPECT_EQ(changes, 1);
    e.SetReadOnly(true);
    EXPECT_TRUE(e.GetReadOnly());
}

TEST(Edit, TextKeepsALeadingByteOrderMarkAndUnpairedSurrogates) {
    TEdit e(nullptr);
    const rtl::UnicodeString text = u"\uFEFFx\xD800y";
    e.SetText(text);
    EXPECT_EQ(e.GetText(), text);
}

TEST(Button, DisabledCaptionIsDrawnGreyNotBlack) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    auto make = [&](bool enabled) {
        auto *b = new TButton(&form);
        b->SetParent(&form);
        b->SetBounds(10, enabled ? 10 : 50, 120, 30);
        b->SetCaption(u"Перезагрузить");
        b->SetEnabled(enabled);
        return b;
    };
    TButton *enabled = make(true), *disabled = make(false);
    form.Show();
    // The darkest pixel of each button is a pixel of its caption.
    auto darkest = [](TButton *b) {
        gfx::TBitmap shot = b->GrabForTesting();
        int least = 3 * 255;
        for (int y = 0; y < shot.GetHeight(); ++y) {
            for (int x = 0; x < shot.GetWidth(); ++x) {
                const uint32_t c = uint32_t(shot.GetCanvas().GetPixel(x, y));
                least = std::min<int>(least, (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
            }
        }
        return least / 3;
    };
    EXPECT_LT(darkest(enabled), 40);
    EXPECT_GT(darkest(disabled), 100);
}
