// The native format's style records: their framing byte for byte, a whole-document load taking
// the file's styles, inserting by mapping or merging them, style templates by collection and by
// name, and bad records refused with the document and its sheet kept.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Streaming.h"
#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/styles/RandomStyleSheet.h"

#include <gtest/gtest.h>

#include <random>

using namespace vizivodu;
using vizivodu::test::TTestDocument;

namespace {

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

std::string CollectionBytes(TVDCollection &collection) {
    TVDMemoryStream stream;
    rtl::TWriter(stream).WriteCollection(
        dynamic_cast<const rtl::TStreamedItems &>(collection.GetStreamed()));
    return Bytes(stream);
}

std::string Int32(size_t value) {
    const auto v = static_cast<uint32_t>(value);
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

constexpr TVDFOptions StyleOptions{vdfoSaveTextStyles, vdfoSaveParaStyles};

std::string Save(TCustomVDData &doc, TVDFOptions options) {
    doc.SetVDFOptions(options);
    TVDMemoryStream stream;
    EXPECT_TRUE(doc.SaveVDFToStream(stream, false, 0, nullptr, nullptr, true));
    return Bytes(stream);
}

bool Load(TCustomVDData &doc, const std::string &bytes) {
    TVDMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    uint32_t color = 0;
    return doc.LoadVDFFromStream(stream, color, nullptr, nullptr);
}

bool Insert(TCustomVDData &doc, const std::string &bytes) {
    TVDMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    uint32_t color = 0;
    return doc.InsertVDFFromStream(stream, doc.ItemCount(), color, nullptr, nullptr, false);
}

// A sheet with one more text style (bold red, "Accent") and one more paragraph style, and a
// document whose one paragraph uses both.
struct TAccentDocument {
    TAccentDocument() : Style(nullptr), Doc(&Style) {
        TFontInfo &accent = Style.GetTextStyles().Add();
        accent.SetStyleName(u"Accent");
        accent.SetColor(gfx::clRed);
        accent.SetStyle({gfx::fsBold});
        Style.GetParaStyles().Add().SetStyleName(u"Indented");
        Style.GetParaStyles().GetItem(Style.GetParaStyles().GetCount() - 1).SetLeftIndent(40);
        Doc.AddNL(u"accent", AccentNo(), IndentedNo());
    }
    int32_t AccentNo() const { return Style.GetTextStyles().GetCount() - 1; }
    int32_t IndentedNo() const { return Style.GetParaStyles().GetCount() - 1; }

    TVDStyle Style;
    TTestDocument Doc;
};

// The dump of the sheet's style collections (what the style records carry): its settings and
// templates left out.
std::vector<std::string> DumpStyles(const TVDStyle &sheet) {
    std::vector<std::string> lines;
    for (const std::string &line : test::DumpStyleSheet(sheet)) {
        if (line.rfind("Sheet.", 0) != 0 && line.rfind("ST", 0) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

TEST(VDFStyles, RecordsFrameTheSheetsCollectionsInTextMode) {
    TVDStyle style(nullptr);
    style.SetName(u"Main");
    style.GetTextStyles().GetItem(0).SetUnicode(false);
    TTestDocument doc(&style);
    doc.AddNL(u"x", 0, 0);
    const std::string text = CollectionBytes(style.GetTextStyles());
    const std::string para = CollectionBytes(style.GetParaStyles());
    ASSERT_EQ(style.GetListStyles().GetCount(), 0);
    EXPECT_EQ(Save(doc, StyleOptions), "-8 1 3 1\r\n"
                                       "-9 2 0 0 0 0 1\r\nMain\r\n" +
                                           VDFStringToHex(text) +
                                           "\r\n"
                                           "-9 2 0 0 0 0 2\r\nMain\r\n" +
                                           VDFStringToHex(para) +
                                           "\r\n"
                                           "-9 2 0 0 0 0 4\r\nMain\r\n0E00\r\n"
                                           "0 1 0 0 0 0\r\nx\r\n");
    EXPECT_EQ(text.substr(0, 1), "\x0e");
}

TEST(VDFStyles, RecordsFrameTheSheetsCollectionsInBinaryMode) {
    TVDStyle style(nullptr);
    style.GetTextStyles().GetItem(0).SetUnicode(false);
    TTestDocument doc(&style);
    doc.AddNL(u"x", 0, 0);
    const std::string text = CollectionBytes(style.GetTextStyles());
    EXPECT_EQ(Save(doc, TVDFOptions{vdfoSaveTextStyles, vdfoSaveBinary}),
              "-8 1 3 1\r\n-9 2 0 0 2 0 1\r\n\r\n" + Int32(text.size()) + text +
                  "0 1 0 0 0 0\r\nx\r\n");
}

TEST(VDFStyles, OnlyARootWritesStyleRecords) {
    TVDStyle style(nullptr);
    style.GetTextStyles().GetItem(0).SetUnicode(false);
    TTestDocument doc(&style);
    doc.AddNL(u"x", 0, 0);
    doc.SetVDFOptions(StyleOptions);
    TVDMemoryStream stream;
    ASSERT_TRUE(doc.SaveVDFToStream(stream, false, 0, nullptr, nullptr, false));
    EXPECT_EQ(Bytes(stream), "-8 1 3 1\r\n0 1 0 0 0 0\r\nx\r\n");
}

TEST(VDFStyles, AWholeLoadTakesTheFilesStylesInEitherMode) {
    for (const bool binary : {false, true}) {
        std::mt19937 random(binary ? 5 : 6);
        TVDStyle source(nullptr);
        test::FillRandomStyleSheet(source, random);
        // Without templates in use no template ids are saved: they read back as none.
        for (Integer i = 0; i < source.GetTextStyles().GetCount(); ++i) {
            source.GetTextStyles().GetItem(i).SetStyleTemplateId(-1);
        }
        for (Integer i = 0; i < source.GetParaStyles().GetCount(); ++i) {
            source.GetParaStyles().GetItem(i).SetStyleTemplateId(-1);
        }
        TTestDocument doc(&source);
        doc.AddNL(u"text", 0, 0);
        TVDFOptions options = StyleOptions;
        if (binary) {
            options.Include(vdfoSaveBinary);
        }
        const std::string bytes = Save(doc, options);

        TVDStyle target(nullptr);
        target.SetUnits(source.GetUnits());
        TTestDocument loaded(&target);
        loaded.SetVDFOptions(options);
        ASSERT_TRUE(Load(loaded, bytes)) << binary;
        EXPECT_EQ(DumpStyles(target), DumpStyles(source)) << binary;
        EXPECT_EQ(Save(loaded, options), bytes) << binary;
    }
}

TEST(VDFStyles, InsertingMapsMergesOrIgnoresTheFilesStyles) {
    TAccentDocument file;
    const std::string bytes = Save(file.Doc, StyleOptions);
    for (const TVDFReaderStyleMode mode : {vdf_sInsertMerge, vdf_sInsertMap, vdf_sIgnore}) {
        TVDStyle style(nullptr);
        TTestDocument doc(&style);
        doc.TextStylesReadMode = mode;
        doc.ParaStylesReadMode = mode;
        doc.SetVDFOptions({vdfoConvUnknownStylesToZero});
        const int32_t textCount = style.GetTextStyles().GetCount();
        ASSERT_LE(textCount, file.AccentNo()); // the file's index lies beyond this sheet
        ASSERT_TRUE(Insert(doc, bytes)) << mode;
        ASSERT_EQ(doc.ItemCount(), 1);
        const int32_t styleNo = doc.GetItem(0)->StyleNo;
        switch (mode) {
        case vdf_sInsertMerge: { // appended, the item renumbered to it
            ASSERT_EQ(style.GetTextStyles().GetCount(), textCount + 1);
            ASSERT_EQ(styleNo, textCount);
            const TFontInfo &added = style.GetTextStyles().GetItem(styleNo);
            EXPECT_EQ(added.GetStyleName(), u"Accent");
            EXPECT_EQ(added.GetColor(), gfx::clRed);
            EXPECT_EQ(style.GetParaStyles().GetItem(doc.GetItem(0)->ParaNo).GetLeftIndent(), 40);
            break;
        }
        case vdf_sInsertMap: // nothing added, the item takes an existing style
            EXPECT_EQ(style.GetTextStyles().GetCount(), textCount);
            EXPECT_LT(styleNo, textCount);
            EXPECT_FALSE(doc.GetVDFWarnings().Contains(vdfwConvUnknownStyles));
            break;
        default: // the file's index stands, and is beyond the sheet
            EXPECT_EQ(style.GetTextStyles().GetCount(), textCount);
            EXPECT_EQ(styleNo, 0);
            EXPECT_TRUE(doc.GetVDFWarnings().Contains(vdfwConvUnknownStyles));
            break;
        }
    }
}

TEST(VDFStyles, ListMarkersFollowTheMergedListStylesByNumberOrName) {
    for (const bool names : {false, true}) {
        TVDStyle fileStyle(nullptr);
        const std::pair<const char16_t *, TVDListType> lists[] = {{u"X", vdlstDecimal},
                                                                  {u"Y", vdlstUpperRoman}};
        for (const auto &[name, type] : lists) {
            TVDListInfo &list = fileStyle.GetListStyles().Add();
            list.SetStyleName(name);
            list.GetLevels().Add().SetListType(type);
        }
        TTestDocument file(&fileStyle);
        file.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
        file.AddNL(u"item", 0, -1);
        TVDFOptions options = StyleOptions;
        if (names) {
            options.Include(vdfoUseStyleNames);
        }
        const std::string bytes = Save(file, options);

        // The sheet has a list of its own first: X and Y are appended after it.
        TVDStyle style(nullptr);
        TVDListInfo &own = style.GetListStyles().Add();
        own.SetStyleName(u"Z");
        own.GetLevels().Add().SetListType(vdlstBullet);
        TTestDocument doc(&style);
        doc.SetVDFOptions(options);
        ASSERT_TRUE(Insert(doc, bytes)) << names;
        ASSERT_EQ(style.GetListStyles().GetCount(), 3) << names;
        ASSERT_EQ(style.GetListStyles().GetItem(1).GetStyleName(), u"X");
        ASSERT_GE(doc.ItemCount(), 1);
        ASSERT_EQ(doc.GetItem(0)->StyleNo, StyleNoListMarker);
        EXPECT_EQ(static_cast<TVDMarkerItemInfo *>(doc.GetItem(0))->ListNo, 1) << names;
    }
}

TEST(VDFStyles, StyleTemplatesComeWithTheirCollectionOrByName) {
    for (const bool onlyNames : {false, true}) {
        TVDStyle source(nullptr);
        std::mt19937 random(3);
        test::FillRandomTemplates(source.GetStyleTemplates(), random);
        ASSERT_GT(source.GetStyleTemplates().GetCount(), 0);
        TVDStyleTemplate &first = source.GetStyleTemplates().GetItem(0);
        source.GetTextStyles().GetItem(0).SetStyleTemplateId(first.GetId());
        TTestDocument doc(&source);
        doc.StyleTemplates = true;
        doc.AddNL(u"x", 0, 0);
        TVDFOptions options = StyleOptions;
        if (onlyNames) {
            options.Include(vdfoSaveStyleTemplatesOnlyNames);
        }
        const std::string bytes = Save(doc, options);
        EXPECT_EQ(bytes.find(onlyNames
                                 ? "-9 " +
                                       std::to_string(2 * source.GetStyleTemplates().GetCount()) +
                                       " 0 0 0 0 11\r\n"
                                 : std::string("-9 2 0 0 0 0 10\r\n")),
                  10u)
            << onlyNames;

        // Inserted into a sheet that has a template of the same name: the style links to it.
        TVDStyle style(nullptr);
        TVDStyleTemplate &mine = style.GetStyleTemplates().Add();
        mine.SetName(first.GetName());
        TTestDocument target(&style);
        target.StyleTemplates = true;
        ASSERT_TRUE(Insert(target, bytes)) << onlyNames;
        const int32_t no = target.GetItem(0)->StyleNo;
        EXPECT_EQ(style.GetTextStyles().GetItem(no).GetStyleTemplateId(), mine.GetId())
            << onlyNames;
    }
}

TEST(VDFStyles, TemplatesAreGivenOnce) {
    TVDStyle source(nullptr);
    source.GetStyleTemplates().Add().SetName(u"One");
    TTestDocument doc(&source);
    doc.StyleTemplates = true;
    doc.AddNL(u"x", 0, 0);
    std::string bytes = Save(doc, StyleOptions);
    const size_t at = bytes.find("-9 2 0 0 0 0 10\r\n");
    ASSERT_EQ(at, 10u);
    const size_t end = bytes.find("-9 2 0 0 0 0 1\r\n");
    bytes.insert(end, bytes.substr(at, end - at));
    TVDStyle style(nullptr);
    TTestDocument target(&style);
    target.StyleTemplates = true;
    EXPECT_FALSE(Insert(target, bytes));
}

TEST(VDFStyles, ABadStyleRecordFailsAndLeavesTheDocumentAndSheetAsTheyWere) {
    TAccentDocument file;
    const std::string good = Save(file.Doc, StyleOptions);
    const size_t record = good.find("-9 2 0 0 0 0 2\r\n");
    ASSERT_NE(record, std::string::npos);
    const size_t textLine = good.find("\r\n", good.find("\r\n", record) + 2) + 2;
    struct TCase {
        const char *Name;
        std::string Bytes;
    };
    std::string notACollection = good;
    notACollection.replace(textLine, 2, "01"); // the block must begin with the collection tag
    std::string badHex = good;
    badHex.replace(textLine + 2, 2, "ZZ");
    const size_t recordEnd = good.find("\r\n", textLine) + 2;
    std::string afterItems = good + good.substr(record, recordEnd - record);
    std::string cut = good.substr(0, textLine + 40);
    for (const TCase &c : {TCase{"not a collection", notACollection}, TCase{"bad hex", badHex},
                           TCase{"styles after items", afterItems}, TCase{"cut", cut}}) {
        TVDStyle style(nullptr);
        TTestDocument doc(&style);
        doc.AddNL(u"kept", 0, 0);
        const std::vector<std::string> before = test::DumpStyleSheet(style);
        EXPECT_FALSE(Load(doc, c.Bytes)) << c.Name;
        EXPECT_EQ(test::DumpStyleSheet(style), before) << c.Name;
        ASSERT_EQ(doc.ItemCount(), 1) << c.Name;
        EXPECT_EQ(doc.GetItemText(0), u"kept") << c.Name;
    }
}

TEST(VDFStyles, ASubDocumentNeverChangesTheSheet) {
    TAccentDocument file;
    const std::string bytes = Save(file.Doc, StyleOptions);
    TVDStyle style(nullptr);
    TTestDocument root(&style);
    root.AddNL(u"root", 0, 0);
    test::TTestSubDocument sub(root, 0);
    sub.SetVDFOptions({vdfoConvUnknownStylesToZero});
    const std::vector<std::string> before = test::DumpStyleSheet(style);
    TVDMemoryStream block;
    const auto size = static_cast<int32_t>(bytes.size());
    block.WriteBuffer(&size, 4);
    block.WriteBuffer(bytes.data(), size);
    block.SetPosition(0);
    sub.LoadVDFSubDocument(block);
    EXPECT_EQ(test::DumpStyleSheet(style), before);
    ASSERT_EQ(sub.ItemCount(), 1);
    EXPECT_EQ(sub.GetItem(0)->StyleNo, 0);
}
