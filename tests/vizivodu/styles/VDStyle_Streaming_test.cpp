// Style sheets in the component stream: random sheets round trip field by field, cut and
// damaged streams leave the sheet as it was, and the properties the styles define beside their
// published ones ("Size", "SizeDouble", "SingleSymbols", "ModifiedProps", "LstID", the format
// strings, the templates' ids and property sets).
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streaming.h"
#include "tests/vizivodu/styles/RandomStyleSheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace vizivodu;

namespace {

std::string Saved(TVDStyle &sheet) {
    rtl::TMemoryStream stream;
    sheet.SaveToComponentStream(stream);
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       size_t(stream.GetSize()));
}

void Load(TVDStyle &sheet, const std::string &bytes) {
    rtl::TMemoryStream stream;
    stream.Write(bytes.data(), int32_t(bytes.size()));
    stream.SetPosition(0);
    sheet.LoadFromComponentStream(stream);
}

// A random sheet whose template ids are what the stream keeps: ids are positive, so a 0 (no
// template, as -1) is not stored and reads back as -1.
void FillStreamableSheet(TVDStyle &sheet, std::mt19937 &random) {
    test::FillRandomStyleSheet(sheet, random);
    // A marker font given by a negative height is stored by its whole point size.
    for (rtl::Integer i = 0; i < sheet.GetListStyles().GetCount(); ++i) {
        TVDListLevelCollection &levels = sheet.GetListStyles().GetItem(i).GetLevels();
        for (rtl::Integer k = 0; k < levels.GetCount(); ++k) {
            TVDListLevel &level = levels.GetItem(k);
            if (level.HasFont() && level.GetFont().GetHeight() < 0) {
                level.GetFont().SetSize(level.GetFont().GetSize());
            }
        }
    }
    for (rtl::Integer i = 0; i < sheet.GetTextStyles().GetCount(); ++i) {
        TFontInfo &f = sheet.GetTextStyles().GetItem(i);
        if (f.GetStyleTemplateId() == 0) {
            f.SetStyleTemplateId(-1);
        }
    }
    for (rtl::Integer i = 0; i < sheet.GetParaStyles().GetCount(); ++i) {
        TParaInfo &p = sheet.GetParaStyles().GetItem(i);
        if (p.GetStyleTemplateId() == 0) {
            p.SetStyleTemplateId(-1);
        }
    }
}

// A stream of a sheet without a name whose one text style has the properties that write
// writes (the text style's other properties stay at their defaults).
std::string OneTextStyleStream(const std::function<void(rtl::TWriter &)> &write) {
    rtl::TMemoryStream stream;
    rtl::TWriter w(stream);
    w.WriteSignature();
    w.WriteStr("TVDStyle");
    w.WriteStr("");
    w.WriteStr("TextStyles");
    w.WriteValue(rtl::vaCollection);
    write(w);
    w.WriteListEnd();
    w.WriteListEnd(); // the sheet's properties
    w.WriteListEnd(); // the components inside it
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       size_t(stream.GetSize()));
}

bool Contains(const std::string &bytes, const std::string &part) {
    return bytes.find(part) != std::string::npos;
}

} // namespace

TEST(VDStyleStreaming, RandomSheetsReadBackFieldByField) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        TVDStyle sheet(nullptr);
        FillStreamableSheet(sheet, random);
        TVDStyle back(nullptr);
        Load(back, Saved(sheet));
        ASSERT_EQ(test::DumpStyleSheet(back), test::DumpStyleSheet(sheet)) << "seed " << seed;
    }
}

TEST(VDStyleStreaming, ACutStreamFailsAndLeavesTheSheetAsItWas) {
    std::mt19937 random(7);
    TVDStyle source(nullptr);
    FillStreamableSheet(source, random);
    const std::string bytes = Saved(source);
    TVDStyle sheet(nullptr);
    std::mt19937 other(8);
    FillStreamableSheet(sheet, other);
    const std::vector<std::string> before = test::DumpStyleSheet(sheet);
    for (size_t length = 0; length < bytes.size(); length += 1 + length / 64) {
        EXPECT_THROW(Load(sheet, bytes.substr(0, length)), rtl::Exception) << length;
        ASSERT_EQ(test::DumpStyleSheet(sheet), before) << "cut at " << length;
    }
}

TEST(VDStyleStreaming, ADamagedStreamLoadsWholeOrLeavesTheSheetAsItWas) {
    std::mt19937 random(11);
    TVDStyle source(nullptr);
    FillStreamableSheet(source, random);
    const std::string bytes = Saved(source);
    TVDStyle sheet(nullptr);
    const std::vector<std::string> before = test::DumpStyleSheet(sheet);
    std::mt19937 damage(12);
    int refused = 0;
    for (int i = 0; i < 300; ++i) {
        std::string damaged = bytes;
        damaged[damage() % damaged.size()] = char(damage() % 256);
        TVDStyle target(nullptr);
        try {
            Load(target, damaged);
        } catch (const rtl::Exception &) {
            ++refused;
            ASSERT_EQ(test::DumpStyleSheet(target), before) << "damage " << i;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(VDStyleStreaming, WhatTheStreamDoesNotHoldKeepsItsValue) {
    TVDStyle sheet(nullptr);
    sheet.GetListStyles().Add().SetStyleName(u"Kept");
    sheet.SetDefTabWidth(77);
    Load(sheet, OneTextStyleStream([](rtl::TWriter &w) {
             w.WriteListBegin();
             w.WriteStr("StyleName");
             w.WriteString(u"Only");
             w.WriteListEnd();
         }));
    ASSERT_EQ(sheet.GetTextStyles().GetCount(), 1);
    EXPECT_EQ(sheet.GetTextStyles().GetItem(0).GetStyleName(), u"Only");
    ASSERT_EQ(sheet.GetListStyles().GetCount(), 1);
    EXPECT_EQ(sheet.GetListStyles().GetItem(0).GetStyleName(), u"Kept");
    EXPECT_EQ(sheet.GetDefTabWidth(), 77);
}

TEST(VDStyleStreaming, SizesInHalfPointsUseSizeDouble) {
    struct TCase {
        int32_t SizeDouble;
        bool HasSize;
        bool HasSizeDouble;
    };
    for (const TCase &c : {TCase{20, true, false}, TCase{24, true, true}, TCase{21, false, true}}) {
        TVDStyle sheet(nullptr);
        while (sheet.GetTextStyles().GetCount() > 1) {
            sheet.DeleteTextStyle(1);
        }
        sheet.GetTextStyles().GetItem(0).SetSizeDouble(c.SizeDouble);
        const std::string bytes = Saved(sheet);
        EXPECT_EQ(Contains(bytes, "\x04Size\x02" + std::string(1, char(c.SizeDouble / 2))),
                  c.HasSize)
            << c.SizeDouble;
        EXPECT_EQ(Contains(bytes, "\x0aSizeDouble\x02" + std::string(1, char(c.SizeDouble))),
                  c.HasSizeDouble)
            << c.SizeDouble;
        TVDStyle back(nullptr);
        Load(back, bytes);
        EXPECT_EQ(back.GetTextStyles().GetItem(0).GetSizeDouble(), c.SizeDouble);
    }
}

TEST(VDStyleStreaming, SingleSymbolsProtectsTheStyle) {
    TVDStyle sheet(nullptr);
    Load(sheet, OneTextStyleStream([](rtl::TWriter &w) {
             w.WriteListBegin();
             w.WriteStr("SingleSymbols");
             w.WriteBoolean(true);
             w.WriteListEnd();
         }));
    EXPECT_EQ(sheet.GetTextStyles().GetItem(0).GetProtection(),
              (TVDProtectOptions{vdprStyleProtect, vdprDoNotAutoSwitch}));
}

TEST(VDStyleStreaming, PropertySetsSkipUnknownNamesAndRefuseOtherValues) {
    TVDStyle sheet(nullptr);
    Load(sheet, OneTextStyleStream([](rtl::TWriter &w) {
             w.WriteListBegin();
             w.WriteStr("ModifiedProps");
             w.WriteValue(rtl::vaSet);
             for (const char *name : {"vdfiFontName", "vdfiFromAFutureVersion", "vdfiColor", ""}) {
                 w.WriteStr(name);
             }
             w.WriteListEnd();
         }));
    EXPECT_EQ(sheet.GetTextStyles().GetItem(0).ModifiedProperties,
              (TVDFontInfoProperties{vdfiFontName, vdfiColor}));

    const std::vector<std::string> before = test::DumpStyleSheet(sheet);
    try {
        Load(sheet, OneTextStyleStream([](rtl::TWriter &w) {
                 w.WriteListBegin();
                 w.WriteStr("ModifiedProps");
                 w.WriteInteger(3);
                 w.WriteListEnd();
             }));
        FAIL();
    } catch (const rtl::Exception &e) {
        EXPECT_NE(e.Message().find(u"Invalid value of property ModifiedProps (text)"),
                  UnicodeString::npos);
    }
    EXPECT_EQ(test::DumpStyleSheet(sheet), before);
}

TEST(VDStyleStreaming, IgnoredTemplatesStreamNoTemplateIds) {
    TVDStyle sheet(nullptr);
    TFontInfo &f = sheet.GetTextStyles().GetItem(0);
    f.SetStyleTemplateId(12);
    f.ModifiedProperties = {vdfiColor};
    EXPECT_TRUE(Contains(Saved(sheet), "\x0fStyleTemplateId"));
    EXPECT_TRUE(Contains(Saved(sheet), "\x0dModifiedProps"));
    sheet.IgnoreStyleTemplates = true;
    EXPECT_FALSE(Contains(Saved(sheet), "\x0fStyleTemplateId"));
    EXPECT_FALSE(Contains(Saved(sheet), "\x0dModifiedProps"));
}

TEST(VDStyleStreaming, LongFormatStringsUseTheLongStringForm) {
    struct TCase {
        size_t Length;
        bool LongCode;  // "FormatStringCode" as vaLString
        bool LongCodeW; // "FormatStringCodeW" as vaLString
    };
    for (const TCase &c :
         {TCase{63, false, false}, TCase{64, false, true}, TCase{128, true, true}}) {
        TVDStyle sheet(nullptr);
        TVDListLevel &level = sheet.GetListStyles().Add().GetLevels().Add();
        level.SetFormatString(UnicodeString(c.Length, u'\u0436'));
        const std::string bytes = Saved(sheet);
        EXPECT_EQ(Contains(bytes, "\x10"
                                  "FormatStringCode\x0c"),
                  c.LongCode)
            << c.Length;
        EXPECT_EQ(Contains(bytes, "\x11"
                                  "FormatStringCodeW\x0c"),
                  c.LongCodeW)
            << c.Length;
        TVDStyle back(nullptr);
        Load(back, bytes);
        EXPECT_EQ(back.GetListStyles().GetItem(0).GetLevels().GetItem(0).GetFormatString(),
                  level.GetFormatString());
    }
}
