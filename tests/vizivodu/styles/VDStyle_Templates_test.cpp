// Style templates: names, kinds of reserved names, identifiers, parent links and their checks,
// application to styles, modified properties, clearing, merging and damaged links.
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/StringList.h"
#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vizivodu;

namespace {

class VDTemplates : public ::testing::Test {
protected:
    VDTemplates() { SetRandomSeedForTesting(5); }
    TVDStyleTemplateCollection &Templates() { return FSheet.GetStyleTemplates(); }
    TVDStyleTemplate &Named(const UnicodeString &name, TVDStyleTemplateKind kind = vdstkParaText) {
        TVDStyleTemplate &t = Templates().Add();
        t.SetName(name);
        t.SetKind(kind);
        return t;
    }
    TVDStyle FSheet{nullptr};
};

} // namespace

TEST_F(VDTemplates, GeneratedNamesStartAgainInAnEmptyCollection) {
    for (int i = 0; i < 3; ++i) {
        Templates().Add();
    }
    EXPECT_EQ(Templates().GetItem(0).GetName(), u"Style 1");
    EXPECT_EQ(Templates().GetItem(2).GetName(), u"Style 3");
    Templates().GetItem(1).SetName(u"Style 4");
    EXPECT_EQ(Templates().Add().GetName(), u"Style 5");
    Templates().Clear();
    EXPECT_EQ(Templates().Add().GetName(), u"Style 1");
    EXPECT_EQ(Templates().MakeNameUnique(u"Style 1"), u"Style 1_");
    EXPECT_EQ(Templates().MakeNameUnique(u"Free"), u"Free");
}

TEST_F(VDTemplates, ReservedNamesForceTheirKind) {
    TVDStyleTemplate &t = Named(u"Plain", vdstkText);
    TVDStyleTemplate &parent = Named(u"Parent", vdstkPara);
    t.SetKind(vdstkPara);
    t.SetParentId(parent.GetId());
    t.SetName(u"Normal");
    EXPECT_EQ(Templates().GetNormalStyleTemplate(), &t);
    EXPECT_EQ(t.GetKind(), vdstkPara);
    EXPECT_EQ(t.GetParentId(), -1);
    EXPECT_EQ(t.GetParent(), nullptr);
    EXPECT_TRUE(parent.GetChildren().empty());
    t.SetName(u"Other");
    EXPECT_EQ(Templates().GetNormalStyleTemplate(), nullptr);

    struct TCase {
        const char16_t *Name;
        TVDStyleTemplateKind Asked, Kept;
    };
    const TCase cases[] = {
        {u"Hyperlink", vdstkPara, vdstkText},     {u"Hyperlink", vdstkParaText, vdstkText},
        {u"heading 3", vdstkText, vdstkParaText}, {u"heading 10", vdstkText, vdstkText},
        {u"Heading 3", vdstkPara, vdstkPara},     {u"caption", vdstkText, vdstkPara},
        {u"Normal", vdstkParaText, vdstkPara},
    };
    for (const TCase &c : cases) {
        TVDStyleTemplate &x = Templates().Add();
        x.SetName(c.Name);
        x.SetKind(c.Asked);
        EXPECT_EQ(x.GetKind(), c.Kept) << rtl::Utf16ToUtf8(c.Name);
    }
}

TEST_F(VDTemplates, ParentLinksRefuseCirclesAndMixedKinds) {
    TVDStyleTemplate &a = Named(u"A");
    TVDStyleTemplate &b = Named(u"B");
    TVDStyleTemplate &c = Named(u"C");
    b.SetParentId(a.GetId());
    c.SetParentId(b.GetId());
    EXPECT_EQ(c.GetParent(), &b);
    EXPECT_TRUE(a.IsAncestorFor(&c));
    EXPECT_TRUE(c.IsInheritedFrom(u"A"));
    try {
        a.SetParentId(c.GetId());
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_STREQ(e.what(), "Circular references in StyleTemplates are not allowed");
    }
    EXPECT_EQ(a.GetParentId(), -1);
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_TRUE(c.GetChildren().empty());

    TVDStyleTemplate &chars = Named(u"Chars", vdstkText);
    try {
        chars.SetParentId(a.GetId());
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_STREQ(e.what(), "Wrong kind of StyleTemplate parent");
    }
    EXPECT_EQ(chars.GetParentId(), -1);
    EXPECT_EQ(a.GetChildren().size(), 1u);
}

TEST_F(VDTemplates, IdentifiersAreDrawnWhenFirstAskedFor) {
    TVDStyleTemplate &a = Templates().Add();
    TVDStyleTemplate &b = Templates().Add();
    Templates().GetForbiddenIds().Add(12345);
    EXPECT_EQ(Templates().FindById(0), -1);
    EXPECT_EQ(Templates().FindById(-3), -1);
    const TVDStyleTemplateId idB = b.GetId();
    EXPECT_GT(idB, 0);
    EXPECT_EQ(Templates().FindById(idB), 1); // draws a's id on the way
    EXPECT_GT(a.GetId(), 0);
    EXPECT_NE(a.GetId(), idB);
    EXPECT_EQ(Templates().FindItemById(a.GetId()), &a);
    EXPECT_EQ(Templates().FindItemByName(u"Style 2"), &b);
    EXPECT_EQ(Templates().FindByName(u"style 2"), -1);
}

TEST_F(VDTemplates, ApplyingAChildTakesTheNearestDefinition) {
    TVDStyleTemplate &parent = Named(u"Parent");
    parent.GetTextStyle().SetSizeDouble(30);
    parent.GetTextStyle().SetColor(gfx::clRed);
    parent.ValidTextProperties = {vdfiSize, vdfiColor};
    TVDStyleTemplate &child = Named(u"Child");
    child.SetParentId(parent.GetId());
    child.GetTextStyle().SetSizeDouble(40);
    child.ValidTextProperties = {vdfiSize};

    TFontInfo &style = FSheet.GetTextStyles().GetItem(1); // bold blue heading
    style.ModifiedProperties = {vdfiBold};
    TVDStyleTemplate::ApplyToTextStyle(&child, style, nullptr);
    EXPECT_EQ(style.GetSizeDouble(), 40);
    EXPECT_EQ(style.GetColor(), gfx::clRed);
    EXPECT_EQ(style.GetStyle(), gfx::TFontStyles{gfx::fsBold}); // modified: kept
    EXPECT_EQ(style.GetStyleTemplateId(), child.GetId());

    style.ModifiedProperties = {vdfiColor};
    style.SetColor(gfx::clGreen);
    style.SetFontName(u"Tahoma");
    TVDStyleTemplate::ApplyToTextStyle(&child, style, nullptr);
    EXPECT_EQ(style.GetColor(), gfx::clGreen); // keeps its modified colour
    EXPECT_EQ(style.GetFontName(), u"Arial");  // defined by no template: the default
    EXPECT_TRUE(style.GetStyle().Empty());

    TVDStyleTemplate::ApplyToTextStyle(nullptr, style, nullptr);
    EXPECT_EQ(style.GetStyleTemplateId(), -1);
}

TEST_F(VDTemplates, ParagraphTemplateFillsTheRestOfATextStyle) {
    TVDStyleTemplate &para = Named(u"Body", vdstkPara);
    para.GetTextStyle().SetFontName(u"Times New Roman");
    para.ValidTextProperties = {vdfiFontName};
    TVDStyleTemplate &chars = Named(u"Strong", vdstkText);
    chars.GetTextStyle().SetStyle({gfx::fsBold});
    chars.ValidTextProperties = {vdfiBold};
    TFontInfo style(nullptr);
    TVDStyleTemplate::ApplyToTextStyle(&chars, style, &para);
    EXPECT_EQ(style.GetStyle(), gfx::TFontStyles{gfx::fsBold});
    EXPECT_EQ(style.GetFontName(), u"Times New Roman");
    EXPECT_EQ(style.GetStyleTemplateId(), chars.GetId());
    // A paragraph template as the text style's own template leaves no template id.
    TVDStyleTemplate::ApplyToTextStyle(&para, style, nullptr);
    EXPECT_EQ(style.GetStyleTemplateId(), -1);
}

TEST_F(VDTemplates, ApplyingToAParagraphStopsAtACharacterTemplate) {
    TVDStyleTemplate &root = Named(u"Root", vdstkPara);
    root.GetParaStyle().SetLeftIndent(30);
    root.ValidParaProperties = {vdpiLeftIndent};
    TVDStyleTemplate &child = Named(u"Child", vdstkPara);
    child.SetParentId(root.GetId());
    child.GetParaStyle().SetAlignment(vdaRight);
    child.ValidParaProperties = {vdpiAlignment};

    TParaInfo style(nullptr);
    style.SetSpaceAfter(7);
    style.SetRightIndent(3);
    style.ModifiedProperties = {vdpiRightIndent};
    TVDStyleTemplate::ApplyToParaStyle(&child, style);
    EXPECT_EQ(style.GetAlignment(), vdaRight);
    EXPECT_EQ(style.GetLeftIndent(), 30);
    EXPECT_EQ(style.GetSpaceAfter(), 0); // the default
    EXPECT_EQ(style.GetRightIndent(), 3);
    EXPECT_EQ(style.GetStyleTemplateId(), child.GetId());

    TVDStyleTemplate &chars = Named(u"Chars", vdstkText);
    chars.GetParaStyle().SetAlignment(vdaCenter);
    chars.ValidParaProperties = {vdpiAlignment};
    style.SetSpaceAfter(7);
    TVDStyleTemplate::ApplyToParaStyle(&chars, style);
    EXPECT_EQ(style.GetAlignment(), vdaRight);
    EXPECT_EQ(style.GetSpaceAfter(), 7);
    EXPECT_EQ(TVDStyleTemplate::GetTabs(&chars), nullptr);
    root.ValidParaProperties.Include(vdpiTabs);
    EXPECT_EQ(TVDStyleTemplate::GetTabs(&child), &root.GetParaStyle().GetTabs());
    EXPECT_EQ(TVDStyleTemplate::GetTabs(nullptr), nullptr);
}

TEST_F(VDTemplates, ModifiedPropertiesAgainstTheChainAndTheDefaults) {
    TVDStyleTemplate &templ = Named(u"Base");
    templ.GetTextStyle().SetColor(gfx::clRed);
    templ.ValidTextProperties = {vdfiColor};
    TFontInfo style(nullptr);
    style.SetColor(gfx::clRed);
    style.SetSizeDouble(28);
    TVDStyleTemplate::UpdateModifiedTextStyleProperties(&templ, style, nullptr);
    EXPECT_EQ(style.ModifiedProperties, TVDFontInfoProperties{vdfiSize});
    style.SetColor(gfx::clBlue);
    TVDStyleTemplate::UpdateModifiedTextStyleProperties(&templ, style, nullptr);
    EXPECT_EQ(style.ModifiedProperties, (TVDFontInfoProperties{vdfiSize, vdfiColor}));

    TVDStyleTemplate &para = Named(u"Para", vdstkPara);
    para.GetParaStyle().SetLeftIndent(12);
    para.ValidParaProperties = {vdpiLeftIndent};
    TParaInfo paraStyle(nullptr);
    paraStyle.SetLeftIndent(12);
    paraStyle.SetRightIndent(1);
    TVDStyleTemplate::UpdateModifiedParaStyleProperties(&para, paraStyle);
    EXPECT_EQ(paraStyle.ModifiedProperties,
              (TVDParaInfoProperties{vdpiRightIndent, vdpiLineSpacing, vdpiLineSpacingType}));
    TVDStyleTemplate::UpdateModifiedParaStyleProperties(nullptr, paraStyle);
    EXPECT_TRUE(paraStyle.ModifiedProperties.Contains(vdpiLeftIndent));

    // The sheet recomputes every style against the templates its ids name.
    FSheet.GetTextStyles().GetItem(0).SetStyleTemplateId(templ.GetId());
    FSheet.UpdateModifiedProperties();
    EXPECT_EQ(FSheet.GetTextStyles().GetItem(0).ModifiedProperties,
              TVDFontInfoProperties{vdfiColor});
    EXPECT_EQ(FSheet.GetTextStyles().GetItem(1).ModifiedProperties,
              (TVDFontInfoProperties{vdfiBold, vdfiColor}));
}

TEST_F(VDTemplates, ClearingFormats) {
    TVDStyleTemplate &link = Named(u"Hyperlink");
    link.GetTextStyle().SetColor(gfx::clBlue);
    link.ValidTextProperties = {vdfiColor};
    TFontInfo &jump = FSheet.GetTextStyles().GetItem(4);
    jump.ModifiedProperties = {vdfiColor};
    FSheet.GetStyleTemplates().ClearTextFormat(jump);
    EXPECT_EQ(jump.GetColor(), gfx::clBlue);
    EXPECT_EQ(jump.GetStyleTemplateId(), link.GetId());
    EXPECT_TRUE(jump.ModifiedProperties.Empty());
    TFontInfo &plain = FSheet.GetTextStyles().GetItem(1);
    Templates().ClearTextFormat(plain);
    EXPECT_EQ(plain.GetColor(), gfx::clWindowText);
    EXPECT_TRUE(plain.GetStyle().Empty());

    TParaInfo &para = FSheet.GetParaStyles().GetItem(1);
    Templates().ClearParaFormat(para);
    EXPECT_EQ(para.GetAlignment(), vdaLeft);
    EXPECT_EQ(para.GetStyleTemplateId(), -1);
    TVDStyleTemplate &normal = Named(u"Normal");
    normal.GetParaStyle().SetAlignment(vdaJustify);
    normal.ValidParaProperties = {vdpiAlignment};
    Templates().ClearParaFormat(para);
    EXPECT_EQ(para.GetAlignment(), vdaJustify);
    EXPECT_EQ(para.GetStyleTemplateId(), normal.GetId());
}

TEST_F(VDTemplates, LinksAreResolvedAfterLoading) {
    TVDStyleTemplate &a = Named(u"A");
    const TVDStyleTemplateId idA = a.GetId();
    FSheet.BeginLoading();
    TVDStyleTemplate &b = Templates().Add();
    b.SetName(u"B");
    b.SetParentId(idA);
    b.SetNextId(idA);
    EXPECT_EQ(b.GetParent(), nullptr);
    EXPECT_EQ(b.GetNext(), nullptr);
    FSheet.Loaded();
    EXPECT_EQ(b.GetParent(), &a);
    EXPECT_EQ(b.GetNext(), &a);
    EXPECT_EQ(a.GetChildren(), (std::vector<TVDStyleTemplate *>{&b}));
}

TEST_F(VDTemplates, UpdateReferencesDropsCircularParentLinks) {
    TVDStyleTemplateCollection free(nullptr); // no sheet: ids are stored without links
    TVDStyleTemplate &self = free.Add();
    TVDStyleTemplate &x = free.Add();
    TVDStyleTemplate &y = free.Add();
    self.SetParentId(self.GetId());
    x.SetParentId(y.GetId());
    y.SetParentId(x.GetId());
    free.UpdateReferences();
    EXPECT_EQ(self.GetParent(), nullptr);
    EXPECT_EQ(self.GetParentId(), -1);
    // One link of the circle stays; walks up the chain end.
    EXPECT_EQ(x.GetParent(), &y);
    EXPECT_EQ(y.GetParent(), nullptr);
    EXPECT_EQ(y.GetParentId(), -1);
    TFontInfo style(nullptr);
    TVDStyleTemplate::ApplyToTextStyle(&x, style, nullptr);
    TVDStyleTemplate::UpdateModifiedTextStyleProperties(&x, style, nullptr);
    EXPECT_TRUE(x.IsInheritedFrom(u"Style 3"));
}

TEST_F(VDTemplates, DestroyingATemplateUnlinksItsChildrenAndFollowers) {
    TVDStyleTemplate &a = Named(u"A");
    TVDStyleTemplate &b = Named(u"B");
    b.SetParentId(a.GetId());
    b.SetNextId(a.GetId());
    a.SetName(u"Normal");
    EXPECT_EQ(Templates().GetNormalStyleTemplate(), &a);
    Templates().Delete(0);
    EXPECT_EQ(Templates().GetNormalStyleTemplate(), nullptr);
    EXPECT_EQ(b.GetParentId(), -1);
    EXPECT_EQ(b.GetParent(), nullptr);
    EXPECT_EQ(b.GetNextId(), -1);
    EXPECT_EQ(b.GetNext(), nullptr);
}

TEST_F(VDTemplates, MergeAddsMissingTemplatesByName) {
    Named(u"Shared");
    TVDStyleTemplateCollection other(nullptr);
    TVDStyleTemplate &shared = other.Add();
    shared.SetName(u"Shared");
    shared.GetTextStyle().SetSizeDouble(50);
    shared.ValidTextProperties = {vdfiSize};
    TVDStyleTemplate &extra = other.Add();
    extra.SetName(u"Extra");
    TVDIntegerList map;
    Templates().MergeWith(other, &map);
    EXPECT_EQ(std::vector<rtl::Integer>(map.begin(), map.end()), (std::vector<rtl::Integer>{0, 1}));
    EXPECT_TRUE(Templates().GetItem(0).ValidTextProperties.Empty()); // nothing copied
    EXPECT_EQ(Templates().GetItem(1).GetName(), u"Extra");
}

TEST_F(VDTemplates, MergeLinksAppendedTemplatesByName) {
    TVDStyle other(nullptr);
    TVDStyleTemplate &base = other.GetStyleTemplates().Add();
    base.SetName(u"Base");
    TVDStyleTemplate &derived = other.GetStyleTemplates().Add();
    derived.SetName(u"Derived");
    derived.SetParentId(base.GetId());
    Templates().MergeWith(other.GetStyleTemplates(), nullptr);
    ASSERT_EQ(Templates().GetCount(), 2);
    EXPECT_EQ(Templates().GetItem(1).GetParent(), &Templates().GetItem(0));
}

TEST_F(VDTemplates, CopiesWithAndWithoutIds) {
    TVDStyleTemplate &a = Named(u"A");
    TVDStyleTemplate &b = Named(u"B");
    b.SetParentId(a.GetId());
    b.SetNextId(a.GetId());
    TVDStyle copySheet(nullptr);
    TVDStyleTemplateCollection &copy = copySheet.GetStyleTemplates();
    copy.AssignStyleTemplates(Templates(), true);
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.GetItem(0).GetId(), a.GetId());
    EXPECT_EQ(copy.GetItem(1).GetParent(), &copy.GetItem(0));
    EXPECT_EQ(copy.GetItem(1).GetName(), u"B");

    TVDStyle renumbered(nullptr);
    renumbered.GetStyleTemplates().GetForbiddenIds().Add(a.GetId());
    renumbered.GetStyleTemplates().Assign(Templates());
    TVDStyleTemplateCollection &r = renumbered.GetStyleTemplates();
    EXPECT_NE(r.GetItem(0).GetId(), a.GetId());
    EXPECT_EQ(r.GetItem(1).GetParentId(), r.GetItem(0).GetId());
    EXPECT_EQ(r.GetItem(1).GetNext(), &r.GetItem(0));
}

TEST_F(VDTemplates, SortAndLists) {
    Named(u"beta");
    TVDStyleTemplate &alpha = Named(u"Alpha", vdstkText);
    TVDStyleTemplate &child = Named(u"Gamma");
    child.SetParentId(Templates().GetItem(0).GetId());
    Templates().Sort();
    EXPECT_EQ(Templates().GetItem(0).GetName(), u"Alpha");
    EXPECT_EQ(Templates().GetItem(1).GetName(), u"beta");
    EXPECT_EQ(alpha.GetIndex(), 0);

    rtl::TStringList names;
    TVDIntegerList ids;
    Templates().AssignToStrings(names, &ids, {vdstkParaText}, &Templates().GetItem(1), false);
    EXPECT_EQ(names.GetCount(), 0); // beta itself and its child Gamma are left out
    Templates().AssignToStrings(names, &ids, {vdstkParaText, vdstkText}, nullptr, false);
    EXPECT_EQ(names.GetText(), u"Alpha\r\nbeta\r\nGamma\r\n");
    EXPECT_EQ(ids.Get(2), child.GetId());
}

TEST_F(VDTemplates, TemplateStylesRefuseSheetMembers) {
    TVDStyleTemplate &t = Named(u"T");
    EXPECT_EQ(t.GetTextStyle().GetVDStyle(), &FSheet);
    EXPECT_EQ(t.GetParaStyle().GetVDStyle(), &FSheet);
    try {
        t.GetTextStyle().SetStyleName(u"x");
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_STREQ(e.what(), "This property is not valid here");
    }
    EXPECT_THROW(t.GetParaStyle().SetBaseStyleNo(1), EViziVoduError);
    EXPECT_THROW(t.GetListStyle().SetStandard(false), EViziVoduError);
}
