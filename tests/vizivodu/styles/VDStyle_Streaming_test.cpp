// Style sheets in the component stream: random sheets round trip field by field, cut and
// damaged streams leave the sheet as it was, and the properties the styles define beside their
// published ones ("Size", "SizeDouble", "SingleSymbols", "ModifiedProps", "LstID", the format
// strings, the templates' ids and property sets), pictures, and empty collections left out.
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streaming.h"
#include "tests/vizivodu/styles/RandomStyleSheet.h"
#include "vizivodu/document/VDGrHandler.h"

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

std::string InvalidPictureText(TVDStyle &sheet) {
    return test::PictureText(sheet.GetInvalidPicture().GetGraphic());
}

// A random sheet whose template ids are what the stream keeps: ids are positive, so a 0 (no
// template, as -1) is not stored and reads back as -1.
void FillStreamableSheet(TVDStyle &sheet, std::mt19937 &random) {
    test::FillRandomStyleSheet(sheet, random);
    if (random() % 2 == 0) {
        gfx::TPicture picture;
        picture.SetGraphic(test::RandomPicture(random).get());
        sheet.SetInvalidPicture(&picture);
    }
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
        ASSERT_EQ(InvalidPictureText(back), InvalidPictureText(sheet)) << "seed " << seed;
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

namespace {

// The bytes of a picture's "Data" value: the class name as a short string, then its data.
std::string PictureData(const gfx::TGraphic &graphic) {
    const TVDGraphicClass &graphicClass = *GraphicClassOf(graphic);
    rtl::TMemoryStream data;
    graphicClass.SaveToStream(graphic, data);
    const std::string name(graphicClass.GetName());
    std::string bytes(1, char(name.size()));
    bytes += name;
    bytes.append(reinterpret_cast<const char *>(data.GetMemory()), size_t(data.GetSize()));
    return bytes;
}

std::string BinaryValue(const std::string &bytes) {
    std::string value(1, char(rtl::vaBinary));
    const auto length = uint32_t(bytes.size());
    for (int shift = 0; shift < 32; shift += 8) {
        value += char((length >> shift) & 0xFF);
    }
    return value + bytes;
}

gfx::TBitmap TwoPixels() {
    gfx::TBitmap bitmap(2, 1);
    bitmap.ScanLine(0)[0] = 0xFF102030u;
    bitmap.ScanLine(0)[1] = 0xFFC0B0A0u;
    return bitmap;
}

} // namespace

TEST(VDStyleStreaming, PicturesAreStoredAsClassNameAndData) {
    TVDStyle sheet(nullptr);
    const gfx::TBitmap bitmap = TwoPixels();
    gfx::TPicture picture;
    picture.SetGraphic(&bitmap);
    sheet.SetInvalidPicture(&picture);
    TVDListLevel &level = sheet.GetListStyles().Add().GetLevels().Add();
    level.SetPicture(&picture);
    const std::string value = BinaryValue(PictureData(bitmap));
    ASSERT_EQ(PictureData(bitmap).substr(0, 8), "\x07TBitmap");
    const std::string bytes = Saved(sheet);
    EXPECT_TRUE(Contains(bytes, "\x0cPicture.Data" + value));
    EXPECT_TRUE(Contains(bytes, "\x13InvalidPicture.Data" + value));

    TVDStyle back(nullptr);
    Load(back, bytes);
    const TVDListLevel &read = back.GetListStyles().GetItem(0).GetLevels().GetItem(0);
    ASSERT_TRUE(read.HasPicture());
    EXPECT_EQ(test::PictureText(
                  back.GetListStyles().GetItem(0).GetLevels().GetItem(0).GetPicture().GetGraphic()),
              test::PictureText(&bitmap));
    EXPECT_EQ(InvalidPictureText(back), test::PictureText(&bitmap));
}

TEST(VDStyleStreaming, ALevelWithoutAPictureStoresNone) {
    TVDStyle sheet(nullptr);
    sheet.GetListStyles().Add().GetLevels().Add().GetPicture(); // made, but empty
    EXPECT_FALSE(Contains(Saved(sheet), "\x0cPicture.Data"));
    // The sheet's invalid picture is made by its getter, so it is always there.
    EXPECT_TRUE(Contains(Saved(sheet), "InvalidPicture.Data"));
}

TEST(VDStyleStreaming, PictureDataOfAnUnknownOrDamagedKindIsHandled) {
    const gfx::TBitmap bitmap = TwoPixels();
    const std::string good = PictureData(bitmap);
    struct TCase {
        const char *Name;
        std::string Data;
        bool Refused;    // the whole read fails and the sheet stays as it was
        bool HasPicture; // otherwise: whether the level has a picture
    };
    const TCase cases[] = {
        {"unknown class", "\x07TNoSuch" + good.substr(8), false, false},
        {"empty value", "", false, false},
        {"name longer than the value", "\x40TBitmap", true, false},
        {"bad bitmap data", "\x07TBitmapBM\x01\x02", true, false},
        {"cut bitmap header", good.substr(0, 20), true, false},
    };
    for (const TCase &c : cases) {
        TVDStyle source(nullptr);
        gfx::TPicture picture;
        picture.SetGraphic(&bitmap);
        source.GetListStyles().Add().GetLevels().Add().SetPicture(&picture);
        std::string bytes = Saved(source);
        const std::string stored = "\x0cPicture.Data" + BinaryValue(good);
        const size_t at = bytes.find(stored);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, stored.size(), "\x0cPicture.Data" + BinaryValue(c.Data));

        TVDStyle sheet(nullptr);
        sheet.GetListStyles().Add().SetStyleName(u"Before");
        sheet.SetDefTabWidth(5);
        const std::vector<std::string> before = test::DumpStyleSheet(sheet);
        if (c.Refused) {
            EXPECT_THROW(Load(sheet, bytes), rtl::Exception) << c.Name;
            EXPECT_EQ(test::DumpStyleSheet(sheet), before) << c.Name;
            continue;
        }
        Load(sheet, bytes);
        EXPECT_EQ(sheet.GetListStyles().GetItem(0).GetLevels().GetItem(0).HasPicture(),
                  c.HasPicture)
            << c.Name;
    }
}

TEST(VDStyleStreaming, EmptyCollectionsAreLeftOutAndKeepTheTargetsItems) {
    TVDStyle sheet(nullptr);
    sheet.GetParaStyles().GetItem(0).GetTabs().Clear();
    const std::string bytes = Saved(sheet);
    EXPECT_FALSE(Contains(bytes, "\x0aListStyles"));
    EXPECT_FALSE(Contains(bytes, "\x0eStyleTemplates"));
    TVDStyle back(nullptr);
    back.GetListStyles().Add().SetStyleName(u"Kept");
    Load(back, bytes);
    ASSERT_EQ(back.GetListStyles().GetCount(), 1);
    EXPECT_EQ(back.GetListStyles().GetItem(0).GetStyleName(), u"Kept");
}
