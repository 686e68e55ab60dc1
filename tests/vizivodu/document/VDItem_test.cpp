// Items: the registry and factory, option setters, assignment, word painters, extra properties
// and their native-format lines, picture boxes, break and tab text, page fields, list-marker
// state and formats.
#include "vizivodu/document/VDItem.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/editing/VDWordPainter.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace vizivodu;
using vizivodu::test::TTestDocument;

namespace {

std::string Written(const std::function<void(rtl::TStream &)> &write) {
    rtl::TMemoryStream stream;
    write(stream);
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       static_cast<size_t>(stream.GetSize()));
}

std::string Message(const std::function<void()> &call) {
    try {
        call();
    } catch (const EViziVoduError &e) {
        return rtl::Utf16ToUtf8(e.Message());
    }
    return "no error";
}

class Items : public ::testing::Test {
protected:
    Items() : Style(nullptr), Doc(&Style) {}
    TVDStyle Style;
    TTestDocument Doc;
};

} // namespace

TEST_F(Items, RegistryRefusesTakenAndReservedNumbers) {
    const std::string taken = "Can't register ViziVodu item type - this StyleNo is already "
                              "registered";
    EXPECT_EQ(Message([] { RegisterItemType(-5, &TVDLabelItemInfo::ClassInfo); }), taken);
    EXPECT_EQ(Message([] { RegisterItemType(-9, &TVDLabelItemInfo::ClassInfo); }), taken);
    EXPECT_EQ(Message([] { RegisterItemType(0, &TVDLabelItemInfo::ClassInfo); }), taken);
    RegisterItemType(-70, &TVDLabelItemInfo::ClassInfo);
    RegisterItemType(-70, &TVDLabelItemInfo::ClassInfo); // the same class: one entry
    EXPECT_EQ(Message([] { RegisterItemType(-70, &TVDBreakItemInfo::ClassInfo); }), taken);
    UnregisterItemType(&TVDLabelItemInfo::ClassInfo);
    EXPECT_EQ(CreateItemForStyleNo(-70, nullptr), nullptr);
    EXPECT_EQ(CreateItemForStyleNo(-200, nullptr), nullptr); // unregistered with it
    RegisterItemType(StyleNoLabel, &TVDLabelItemInfo::ClassInfo);
}

TEST_F(Items, FactoryMakesBuiltInAndRegisteredKinds) {
    EXPECT_EQ(CreateItemForStyleNo(-2, &Doc), nullptr);
    auto text = CreateItemForStyleNo(StyleNoParaDefault, &Doc);
    ASSERT_TRUE(dynamic_cast<TVDTextItemInfo *>(text.get()));
    EXPECT_EQ(text->StyleNo, StyleNoParaDefault);
    EXPECT_TRUE(dynamic_cast<TVDBreakItemInfo *>(CreateItemForStyleNo(-1, &Doc).get()));
    EXPECT_TRUE(dynamic_cast<TVDGraphicItemInfo *>(CreateItemForStyleNo(-3, &Doc).get()));
    EXPECT_TRUE(dynamic_cast<TVDHotGraphicItemInfo *>(CreateItemForStyleNo(-10, &Doc).get()));
    EXPECT_TRUE(dynamic_cast<TVDMarkerItemInfo *>(CreateItemForStyleNo(-11, &Doc).get()));
    EXPECT_TRUE(dynamic_cast<TVDTabItemInfo *>(CreateItemForStyleNo(-12, &Doc).get()));
    EXPECT_TRUE(dynamic_cast<TVDLabelItemInfo *>(CreateItemForStyleNo(-200, &Doc).get()));
    EXPECT_TRUE(dynamic_cast<TVDPageNumberItemInfo *>(CreateItemForStyleNo(-208, &Doc).get()));
    EXPECT_TRUE(dynamic_cast<TVDPageCountItemInfo *>(CreateItemForStyleNo(-209, &Doc).get()));
}

TEST_F(Items, OptionSettersKeepTheParagraphRules) {
    TVDBreakItemInfo rule(&Doc);
    rule.SetBR(true);
    EXPECT_FALSE(rule.GetBR());
    TVDTextItemInfo text(&Doc);
    text.SetSameAsPrev(true);
    text.SetBR(true);
    EXPECT_TRUE(text.GetBR());
    EXPECT_FALSE(text.GetSameAsPrev());
    text.SetClearLeft(true);
    text.SetSameAsPrev(true); // keeps the clearing bit
    EXPECT_TRUE(text.ItemOptions.Contains(vdioClearLeft));
    TVDTextItemInfo other(&Doc);
    other.SetSameAsPrev(true);
    other.SetClearLeft(true); // refused while continuing a line
    EXPECT_FALSE(other.GetClearLeft());
    other.SetPageBreakBefore(true);
    EXPECT_FALSE(other.GetSameAsPrev());
    EXPECT_EQ(GetVDFItemOptions(TVDItemOptions{vdioBR, vdioUnicode, vdioClearLeft}, true),
              (TVDItemOptions{vdioSameAsPrev, vdioUnicode}));
}

TEST_F(Items, AssignFromAnotherClassKeepsTheStyleNumber) {
    TVDTextItemInfo text(&Doc);
    text.StyleNo = 4;
    text.ParaNo = 2;
    text.Hint = u"hint";
    text.ItemOptions = {vdioSameAsPrev};
    TVDBreakItemInfo rule(&Doc);
    rule.Assign(text);
    EXPECT_EQ(rule.StyleNo, StyleNoBreak);
    EXPECT_EQ(rule.ParaNo, 2);
    EXPECT_EQ(rule.Hint, u"hint");
    EXPECT_TRUE(rule.GetSameAsPrev());
}

TEST_F(Items, MisspellingsAroundAWord) {
    TVDTextItemInfo item(&Doc);
    item.AddMisspelling(3, 4); // characters 3..6
    int32_t offs = 0;
    int32_t length = 0;
    EXPECT_TRUE(item.GetMisspelling(7, offs, length)); // just after the word counts here
    EXPECT_EQ(offs, 3);
    EXPECT_FALSE(item.IsMisspelled(7)); // but not here
    EXPECT_TRUE(item.IsMisspelled(6));
    item.ClearWordPainters(1);
    EXPECT_EQ(item.WordPaintList, nullptr);
}

TEST_F(Items, TypingNextToAPaintedWord) {
    TVDTextItemInfo item(&Doc);
    item.AddMisspelling(1, 4);                                             // "wrod" in "wrod's"
    EXPECT_TRUE(item.AdjustWordPaintersOnInsert(3, u"wrXod", u' ', &Doc)); // a delimiter inside
    EXPECT_EQ(item.WordPaintList, nullptr);
    item.AddMisspelling(1, 4);
    // A letter typed right after an apostrophe that follows the word also removes it.
    EXPECT_TRUE(item.AdjustWordPaintersOnInsert(6, u"wrod's", u's', &Doc));
    EXPECT_EQ(item.WordPaintList, nullptr);
    item.AddMisspelling(10, 3);
    EXPECT_FALSE(item.AdjustWordPaintersOnInsert(2, u"abcdefghijk", u'x', &Doc));
    EXPECT_EQ(item.WordPaintList->Get(0).StartOffs, 11); // moved along
}

TEST_F(Items, DeletingAcrossAPaintedWordRemovesItsPainter) {
    TVDTextItemInfo item(&Doc);
    item.AddMisspelling(3, 10); // characters 3..12
    item.AddMisspelling(20, 2);
    EXPECT_TRUE(item.AdjustWordPaintersOnDelete(1, 5)); // deletes characters 1..5
    ASSERT_TRUE(item.WordPaintList);
    ASSERT_EQ(item.WordPaintList->Count(), 1);
    EXPECT_EQ(item.WordPaintList->Get(0).StartOffs, 15); // the later word moved back
    EXPECT_FALSE(item.AdjustWordPaintersOnDelete(1, 1));
    EXPECT_EQ(item.WordPaintList->Get(0).StartOffs, 14);
}

TEST_F(Items, ExtraPropertyLines) {
    TVDGraphicItemInfo picture(&Doc);
    picture.ReadVDFExtraProperty("vshift=abc", true);
    EXPECT_EQ(picture.VShift, 0);
    picture.VShift = 7;
    picture.ReadVDFExtraProperty("vshift", true); // no "=": ignored
    EXPECT_EQ(picture.VShift, 7);
    picture.ReadVDFExtraProperty("vshift=-12", true);
    EXPECT_EQ(picture.VShift, -12);
    picture.ReadVDFExtraProperty("vshift=99999999999", true); // outside 32 bits: 0
    EXPECT_EQ(picture.VShift, 0);
    picture.ReadVDFExtraProperty("hint=line\x01\x02two", true);
    EXPECT_EQ(picture.Hint, u"line\r\ntwo");
    picture.ReadVDFExtraProperty("spacing=-4", true);
    EXPECT_EQ(picture.Spacing, 0);
    int32_t value = 0;
    EXPECT_FALSE(picture.GetExtraIntPropertyEx(23, value));
    EXPECT_FALSE(picture.SetExtraStrPropertyEx(5, u"x"));
    EXPECT_TRUE(picture.SetExtraStrPropertyEx(vdespAlt, u"logo"));
    EXPECT_EQ(Written([&](rtl::TStream &s) { picture.SaveVDFExtraProperties(s); }),
              "hint=line\x01\x02two\r\nspacing=0\r\nalt=logo\r\n");
    EXPECT_EQ(picture.GetVDFExtraPropertyCount(), 3);
}

TEST_F(Items, PictureBoxSizes) {
    TVDGraphicItemInfo picture(&Doc, std::make_unique<gfx::TBitmap>(100, 50), vdvaBaseline);
    EXPECT_EQ(picture.GetWidth(&Style), 102); // spacing 1 on every side
    EXPECT_EQ(picture.GetHeight(&Style), 52);
    picture.BorderWidth = 2;
    picture.OuterHSpacing = 3;
    EXPECT_EQ(picture.GetWidth(&Style), 112);
    picture.BorderColor = gfx::clNone; // no border drawn, but it still counts
    EXPECT_EQ(picture.GetWidth(&Style), 112);
    picture.ImageWidth = 200;
    EXPECT_EQ(picture.GetImageWidth(&Style), 200);
    const TVDScreenAndDevice printer{96, 96, 600, 600, 0, 0};
    picture.ImageWidth = 0;
    EXPECT_EQ(picture.GetImageWidthEx(&Style, &printer), 625);
    EXPECT_TRUE(picture.GetBoolValue(vdbpValid));
    EXPECT_TRUE(picture.GetBoolValueEx(vdbpPrintToBMP, &Style));
    TVDGraphicItemInfo empty(&Doc);
    EXPECT_FALSE(empty.GetBoolValue(vdbpValid));
}

TEST_F(Items, TheLogoFloatsAtTheRightOfItsParagraph) {
    std::ifstream file(std::string(WB_TEST_DATA) + "/../../data/logo.png", std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    auto logo = std::make_unique<gfx::TPngImage>();
    logo->LoadFromMemory(bytes.data(), bytes.size());
    const int32_t width = logo->GetWidth();
    ASSERT_GT(width, 0);
    Doc.AddNL(u"Отчет", 0, 0);
    Doc.AddPictureEx("", std::move(logo), 1, vdvaRight);
    auto &item = static_cast<TVDGraphicItemInfo &>(*Doc.GetItem(1));
    EXPECT_TRUE(Doc.IsParaStart(1));
    EXPECT_EQ(item.ParaNo, 1);
    EXPECT_EQ(item.VAlign, vdvaRight);
    EXPECT_TRUE(item.GetBoolValue(vdbpFloating));
    EXPECT_EQ(item.GetWidth(&Style), width + 2);
    EXPECT_EQ(item.GetVDFHeaderTail(&Doc), "6");
    bool named = false;
    const char *left = "5";
    EXPECT_TRUE(item.ReadVDFHeaderTail(left, nullptr, true, named));
    EXPECT_FALSE(item.GetBoolValue(vdbpFloating) && item.VAlign != vdvaLeft);
    const char *bad = "9";
    EXPECT_FALSE(item.ReadVDFHeaderTail(bad, nullptr, true, named));
}

TEST_F(Items, BreaksAndTabsAsText) {
    TVDBreakItemInfo thin(&Doc);
    EXPECT_EQ(thin.AsText(10, &Doc, "", false, false, 0), std::string(10, '-'));
    thin.LineWidth = 3;
    EXPECT_EQ(thin.AsText(10, &Doc, "", false, false, 0), std::string(10, '='));
    EXPECT_EQ(thin.AsText(0, &Doc, "", false, false, 0), "=");
    TVDTabItemInfo tab(&Doc);
    EXPECT_EQ(tab.AsText(10, &Doc, "", false, false, 0), "\t");
    EXPECT_EQ(thin.GetVDFHeaderTail(&Doc), "536870911 0 3");
    bool named = false;
    const char *none = "";
    EXPECT_TRUE(thin.ReadVDFHeaderTail(none, &Doc, true, named));
    EXPECT_EQ(thin.LineWidth, 1);
    EXPECT_EQ(thin.Color, gfx::clNone);
    const char *partial = "5 1 x";
    EXPECT_FALSE(thin.ReadVDFHeaderTail(partial, &Doc, true, named));
    TVDBreakItemInfo narrow(&Doc, 44, vdbsDotted, 0xFF);
    EXPECT_EQ(narrow.LineWidth, 44);
}

TEST_F(Items, PageNumberTexts) {
    TVDPageNumberItemInfo number(&Doc);
    EXPECT_EQ(number.GetText(), u"{p}");
    const std::vector<std::pair<TVDPageNumberType, std::u16string>> cases = {
        {vdpntDefault, u"12"},    {vdpntDecimal, u"12"},   {vdpntDecimalDash, u"- 12 -"},
        {vdpntLowerAlpha, u"l"},  {vdpntUpperAlpha, u"L"}, {vdpntLowerRoman, u"xii"},
        {vdpntUpperRoman, u"XII"}};
    for (const auto &[type, text] : cases) {
        number.NumberType = type;
        EXPECT_EQ(number.GetTextForPrinting(&Doc, nullptr, 12, 30), text);
    }
    number.NumberType = vdpntLowerAlpha;
    EXPECT_EQ(number.GetTextForPrinting(&Doc, nullptr, 27, 30), u"aa");
    EXPECT_EQ(number.GetTextForFormatting(&Doc), u"n");
    EXPECT_EQ(number.GetNumberText(0), u"?");
    number.AlwaysUseText = true;
    number.GetTextForPrinting(&Doc, nullptr, 3, 30);
    EXPECT_EQ(number.GetText(), u"c");

    TVDPageCountItemInfo count(&Doc, vdpntUpperRoman, 0);
    EXPECT_EQ(count.GetText(), u"{P}");
    EXPECT_EQ(count.GetTextForPrinting(&Doc, nullptr, 1, 12), u"12");
    EXPECT_EQ(count.GetTextForFormatting(&Doc), u"00");
    EXPECT_EQ(Written([&](rtl::TStream &s) { count.SaveRTF(s, false); }),
              "{\\field\\fldedit{\\*\\fldinst {NUMPAGES  \\\\* ROMAN \\\\* MERGEFORMAT }}"
              "{\\fldrslt {?}}}");
}

TEST_F(Items, PageNumberFieldOutput) {
    TVDPageNumberItemInfo number(&Doc);
    number.Hidden = true;
    EXPECT_EQ(Written([&](rtl::TStream &s) { number.SaveRTF(s, false); }),
              "{\\v{\\field\\fldedit{\\*\\fldinst {PAGE  \\\\* MERGEFORMAT }}{\\fldrslt "
              "{1}}}}");
    number.NumberType = vdpntUpperRoman;
    EXPECT_EQ(Written([&](rtl::TStream &s) {
                  number.SaveOOXMLBeforeRun(s);
                  number.SaveOOXML(s);
                  number.SaveOOXMLAfterRun(s);
              }),
              "<w:fldSimple w:instr=\" PAGE  \\* ROMAN \\* MERGEFORMAT \"><w:t>I</w:t>"
              "</w:fldSimple>");
}

TEST_F(Items, PageNumberTypeTravelsAsAnExtraLine) {
    TVDPageNumberItemInfo number(&Doc);
    EXPECT_EQ(number.GetVDFExtraPropertyCount(), 0);
    number.NumberType = vdpntLowerRoman;
    EXPECT_EQ(Written([&](rtl::TStream &s) { number.SaveVDFExtraProperties(s); }),
              "pagenumbertype=5\r\n");
    TVDPageNumberItemInfo read(&Doc);
    read.ReadVDFExtraProperty("pagenumbertype=5", true);
    EXPECT_EQ(read.NumberType, vdpntLowerRoman);
    read.ReadVDFExtraProperty("pagenumbertype=77", true); // not a number type: kept
    EXPECT_EQ(read.NumberType, vdpntLowerRoman);
    EXPECT_EQ(read.GetExtraIntPropertyReformat(600), vdrfNormal);
}

TEST_F(Items, PageFieldsAreRegisteredAsPrintFields) {
    Doc.AddItem(u"", std::make_unique<TVDPageCountItemInfo>(&Doc));
    ASSERT_TRUE(Doc.GetPrintFieldList(false));
    EXPECT_EQ(Doc.GetPrintFieldList(false)->size(), 1u);
    Doc.GetItem(0)->MovingToUndoList(0, &Doc);
    EXPECT_EQ(Doc.GetPrintFieldList(false), nullptr);
    Doc.GetItem(0)->MovingFromUndoList(0, &Doc);
    EXPECT_EQ(Doc.GetPrintFieldList(false)->size(), 1u);
}

TEST_F(Items, NumberingStateOfThreeMarkers) {
    TVDMarkerList list;
    std::vector<std::unique_ptr<TVDMarkerItemInfo>> markers;
    for (int i = 0; i < 3; ++i) {
        markers.push_back(std::make_unique<TVDMarkerItemInfo>(&Doc, 0, i, 1, i == 1));
        markers.back()->Counter = 10 + i;
        list.Add(markers.back().get());
    }
    const std::string state = Written([&](rtl::TStream &s) { list.SaveToStream(s, 3, true); });
    ASSERT_EQ(state.size(), 4u + 59u);
    EXPECT_EQ(state.substr(0, 4), std::string("\x3B\0\0\0", 4));
    rtl::TMemoryStream stream;
    stream.WriteBuffer(state.data(), static_cast<int32_t>(state.size()));
    stream.SetPosition(0);
    TVDMarkerList loaded;
    loaded.LoadFromStream(stream, &Doc, true);
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.Get(2)->Counter, 12);
    EXPECT_TRUE(loaded.Get(1)->Reset);
}

TEST_F(Items, NumberingStateWithBadCountsFailsCleanly) {
    for (int32_t count : {-1, 1000000, 0x7FFFFFFF}) {
        rtl::TMemoryStream stream;
        const int32_t head[2] = {0, count};
        stream.WriteBuffer(head, 8);
        stream.WriteBuffer(std::string(17, '\0').data(), 17);
        stream.SetPosition(0);
        TVDMarkerList list;
        EXPECT_THROW(list.LoadFromStream(stream, &Doc, false), rtl::EReadError) << count;
        EXPECT_EQ(list.Count(), 0);
    }
}

TEST_F(Items, MarkerFormatsThatCannotBeFormatted) {
    rtl::UnicodeString out;
    EXPECT_TRUE(FormatMarkerText(u"%0:s.%1:s", {u"1", u"2"}, out));
    EXPECT_EQ(out, u"1.2");
    EXPECT_TRUE(FormatMarkerText(u"%-3s|%2s|%.1s|%%", {u"a", u"b", u"xyz"}, out));
    EXPECT_EQ(out, u"a  | b|x|%");
    EXPECT_FALSE(FormatMarkerText(u"%d", {u"1"}, out));
    EXPECT_FALSE(FormatMarkerText(u"%5:s", {u"1"}, out));
    EXPECT_FALSE(FormatMarkerText(u"%", {u"1"}, out));

    TVDListInfo &list = Style.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetListType(vdlstDecimal);
    level.SetFormatString(u"%9:s %d");
    Doc.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
    EXPECT_EQ(static_cast<TVDMarkerItemInfo *>(Doc.GetItem(0))->DisplayString, u"1");
    level.SetListType(vdlstBullet);
    level.SetFormatString(u"%d");
    Doc.RecalcMarker(0, false);
    EXPECT_EQ(static_cast<TVDMarkerItemInfo *>(Doc.GetItem(0))->DisplayString, u"%d");
}
