// Tables in the native format: the component stream byte for byte, nested tables with merged
// cells, colours, borders and row settings read back in text and binary mode, rectangles, and
// streams with bad counts, spans or nesting refused with the document kept.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/formats/vdf/VDTable_Stream.h"
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/DocumentTestSupport.h"

#include "platform/gfx/Colors.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::TTestDocument;

namespace {

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

std::unique_ptr<TVDMemoryStream> StreamOf(const std::string &bytes) {
    auto stream = std::make_unique<TVDMemoryStream>();
    stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

std::string CellText(TVDTableCellData &cell) {
    std::string out;
    for (int32_t i = 0; i < cell.ItemCount(); ++i) {
        out += (i > 0 ? "|" : "") + rtl::Utf16ToUtf8(cell.GetItemText(i));
    }
    return out;
}

void SetText(TVDTableCellData &cell, const char16_t *text) {
    cell.Clear();
    cell.AddNL(text, 0, 0);
}

std::string Raw(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) {
        out += static_cast<char>(b);
    }
    return out;
}

// The stream's bytes for a cell entry: spans, then a TD with the two properties every cell
// writes.
std::string DefaultCellEntry(char colSpan, char rowSpan) {
    return std::string("\x02") + colSpan + "\x02" + rowSpan + "\x02TD" + std::string(1, '\0') +
           "\x0A"
           "c.Rotation\x07\x09vdrotNone"
           "\x09"
           "c.Options\x0B" +
           std::string(3, '\0');
}

class TableVDF : public ::testing::Test {
protected:
    TableVDF() : Style(nullptr), Doc(&Style) {}

    std::string Save(TCustomVDData &doc, TVDFOptions options) {
        doc.SetVDFOptions(options);
        TVDMemoryStream stream;
        EXPECT_TRUE(doc.SaveVDFToStream(stream, false, 0, nullptr, nullptr, true));
        return Bytes(stream);
    }
    bool Load(TCustomVDData &doc, const std::string &bytes) {
        uint32_t color = 0;
        return doc.LoadVDFFromStream(*StreamOf(bytes), color, nullptr, nullptr);
    }
    TVDTableItemInfo &AddTable(TCustomVDData &doc, int32_t rows, int32_t cols) {
        auto table = TVDTableItemInfo::CreateEx(rows, cols, &doc);
        TVDTableItemInfo &result = *table;
        doc.AddItem(u"", std::move(table));
        return result;
    }

    TVDStyle Style;
    TTestDocument Doc;
};

TEST_F(TableVDF, DefaultTableWritesOnlyItsCellsList) {
    auto table = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    TVDMemoryStream stream;
    table->SaveToStream(stream);
    const std::string expected = std::string("TPF0\x0ATVDTableSW", 15) + '\0' + "\x03T.C" +
                                 "\x02\x01\x02\x02\x01" + DefaultCellEntry(1, 1) +
                                 DefaultCellEntry(1, 1) + std::string(3, '\0');
    EXPECT_EQ(Bytes(stream), expected);
}

TEST_F(TableVDF, PropertiesColoursAndRowListsAreWrittenByName) {
    auto table = TVDTableItemInfo::CreateEx(2, 1, &Doc);
    table->SetColor(vdtcColor, gfx::clRed);
    table->SetColor(vdtcHeadingRowColor, 0x123456);
    table->SetCellPadding(4);
    table->SetTableVisibleBorders(true, false, true, true);
    table->SetRowVAlign(vdcBottom, 1);
    TVDMemoryStream stream;
    table->SaveToStream(stream);
    const std::string bytes = Bytes(stream);
    const std::string expectedStart =
        std::string("TPF0\x0ATVDTableSW", 15) + '\0' +
        "\x07T.Color\x07\x05"
        "clRed" +
        "\x11T.HeadingRowColor\x04\x56\x34\x12" + std::string(1, '\0') +
        "\x15T.VisibleBorders.Left\x09\x14T.VisibleBorders.Top\x08" +
        "\x16T.VisibleBorders.Right\x09\x17T.VisibleBorders.Bottom\x09" +
        "\x0DT.CellPadding\x02\x04" + "\x03T.C";
    EXPECT_EQ(bytes.substr(0, expectedStart.size()), expectedStart);
    const std::string rowList =
        "\x0BT.RowVAlign\x01\x02" + std::string(1, '\0') + "\x02\x02" + std::string(1, '\0');
    EXPECT_NE(bytes.find(rowList), std::string::npos);
    EXPECT_EQ(bytes.find("RowPageBreakBefore"), std::string::npos);

    auto copy = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    stream.SetPosition(0);
    copy->LoadFromStream(stream);
    EXPECT_EQ(copy->GetColor(vdtcColor), gfx::clRed);
    EXPECT_EQ(copy->GetColor(vdtcHeadingRowColor), 0x123456);
    EXPECT_EQ(copy->GetCellHPadding(), 4);
    EXPECT_EQ(copy->GetCellVPadding(), 4);
    EXPECT_FALSE(copy->GetVisibleBorders().Top);
    EXPECT_TRUE(copy->GetVisibleBorders().Left);
    EXPECT_EQ(copy->GetRows().Get(1)->VAlign, vdcBottom);
    EXPECT_EQ(copy->GetRowCount(), 2);
}

// A 3 x 3 table: (0,0) merged over 2 x 2 with text, a coloured cell with hidden borders, and a
// nested table with its own merged cell in the bottom-right cell.
void FillTable(TVDTableItemInfo &table, TCustomVDData &doc) {
    table.MergeCells(0, 0, 2, 2, true);
    SetText(*table.GetCells(0, 0), u"merged Привет");
    TVDTableCellData &coloured = *table.GetCells(0, 2);
    coloured.SetColor(0x00FF80);
    coloured.SetBorderColor(gfx::clBlue);
    TVDBooleanRect borders;
    borders.Left = false;
    coloured.SetVisibleBorders(borders);
    coloured.SetHint(u"hint");
    coloured.SetVAlign(vdcBottom);
    table.SetColor(vdtcCellBorderColor, gfx::clGreen);
    table.SetRowKeepTogether(true, 2);
    TVDTableCellData &outer = *table.GetCells(2, 2);
    outer.Clear();
    auto nested = TVDTableItemInfo::CreateEx(2, 2, &outer);
    nested->MergeCells(0, 0, 1, 2, true);
    SetText(*nested->GetCells(0, 0), u"inner");
    nested->SetColor(vdtcBorderColor, gfx::clMaroon);
    outer.AddItem(u"", std::move(nested));
    (void)doc;
}

void ExpectFilled(TVDTableItemInfo &table) {
    ASSERT_EQ(table.GetRowCount(), 3);
    ASSERT_EQ(table.GetColCount(), 3);
    TVDTableCellData *merged = table.GetCells(0, 0);
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->GetColSpan(), 2);
    EXPECT_EQ(merged->GetRowSpan(), 2);
    EXPECT_EQ(table.GetCells(1, 1), nullptr);
    EXPECT_EQ(CellText(*merged), "merged Привет");
    TVDTableCellData &coloured = *table.GetCells(0, 2);
    EXPECT_EQ(coloured.GetOwnColor(), 0x00FF80);
    EXPECT_EQ(coloured.GetBorderColor(), gfx::clBlue);
    EXPECT_FALSE(coloured.GetVisibleBorders().Left);
    EXPECT_TRUE(coloured.GetVisibleBorders().Top);
    EXPECT_EQ(coloured.GetHint(), u"hint");
    EXPECT_EQ(coloured.GetVAlign(), vdcBottom);
    EXPECT_EQ(table.GetColor(vdtcCellBorderColor), gfx::clGreen);
    EXPECT_TRUE(table.GetRows().Get(2)->KeepTogether);
    TVDTableCellData &outer = *table.GetCells(2, 2);
    ASSERT_EQ(outer.ItemCount(), 1);
    auto *nested = dynamic_cast<TVDTableItemInfo *>(outer.GetItem(0));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->GetCells(0, 0)->GetRowSpan(), 2);
    EXPECT_EQ(CellText(*nested->GetCells(0, 0)), "inner");
    EXPECT_EQ(nested->GetColor(vdtcBorderColor), gfx::clMaroon);
}

TEST_F(TableVDF, NestedTablesWithMergedCellsComeBackInEveryMode) {
    Doc.AddNL(u"before", 0, 0);
    FillTable(AddTable(Doc, 3, 3), Doc);
    Doc.AddNL(u"after", 0, 0);
    for (TVDFOptions options : {TVDFOptions{}, TVDFOptions{vdfoSaveBinary},
                                TVDFOptions{vdfoUseStyleNames, vdfoSavePicturesBody},
                                TVDFOptions{vdfoSaveBinary, vdfoUseStyleNames}}) {
        const std::string saved = Save(Doc, options);
        TTestDocument copy(&Style);
        copy.SetVDFOptions(options);
        ASSERT_TRUE(Load(copy, saved)) << saved;
        ASSERT_EQ(copy.ItemCount(), 3);
        auto *table = dynamic_cast<TVDTableItemInfo *>(copy.GetItem(1));
        ASSERT_NE(table, nullptr);
        ExpectFilled(*table);
        EXPECT_EQ(Save(copy, options), saved);
    }
}

TEST_F(TableVDF, RectangleClipsAMergedCellCrossingItsLeftEdge) {
    auto table = TVDTableItemInfo::CreateEx(3, 3, &Doc);
    table->MergeCells(1, 0, 2, 1, true);
    SetText(*table->GetCells(1, 0), u"wide");
    SetText(*table->GetCells(1, 2), u"right");
    TVDMemoryStream stream;
    table->SaveRectangleToStream(stream, 1, 1, 2, 2, false, false);
    auto copy = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    stream.SetPosition(0);
    copy->LoadFromStream(stream);
    ASSERT_EQ(copy->GetRowCount(), 2);
    ASSERT_EQ(copy->GetColCount(), 2);
    EXPECT_EQ(CellText(*copy->GetCells(0, 0)), "wide");
    EXPECT_EQ(copy->GetCells(0, 0)->GetColSpan(), 1);
    EXPECT_EQ(CellText(*copy->GetCells(0, 1)), "right");
}

TEST_F(TableVDF, MergedCellCoveringTheRectanglesCornerIsWrittenOnce) {
    // The cell starts above and to the left of the rectangle and covers its whole left column.
    auto table = TVDTableItemInfo::CreateEx(4, 3, &Doc);
    table->MergeCells(0, 0, 2, 4, true);
    SetText(*table->GetCells(0, 0), u"big");
    TVDMemoryStream stream;
    table->SaveRectangleToStream(stream, 1, 1, 3, 2, false, false);
    auto copy = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    stream.SetPosition(0);
    copy->LoadFromStream(stream);
    ASSERT_EQ(copy->GetRowCount(), 3);
    TVDTableCellData *big = copy->GetCells(0, 0);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->GetRowSpan(), 3);
    EXPECT_EQ(big->GetColSpan(), 1);
    EXPECT_EQ(CellText(*big), "big");
}

TEST_F(TableVDF, LoadingInPlaceFillsCellsAndRefusesALargerFragment) {
    auto source = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    SetText(*source->GetCells(0, 0), u"a");
    SetText(*source->GetCells(0, 1), u"b");
    TVDMemoryStream stream;
    source->SaveToStream(stream);
    auto target = TVDTableItemInfo::CreateEx(2, 3, &Doc);
    stream.SetPosition(0);
    target->LoadFromStreamEx(stream, 1, 1, false);
    EXPECT_EQ(target->GetRowCount(), 2);
    EXPECT_EQ(CellText(*target->GetCells(1, 1)), "a");
    EXPECT_EQ(CellText(*target->GetCells(1, 2)), "b");
    stream.SetPosition(0);
    try {
        target->LoadFromStreamEx(stream, 1, 2, false);
        FAIL() << "a fragment past the table's last column was read";
    } catch (const rtl::EReadError &e) {
        EXPECT_NE(rtl::Utf16ToUtf8(e.Message()).find("Wrong end of cells list"), std::string::npos);
    }
}

// Component streams of a table with bad counts, spans and lists: each fails the document's load
// and leaves it as it was.
TEST_F(TableVDF, BadCellListsFailTheLoadAndKeepTheDocument) {
    const std::string root = std::string("TPF0\x0ATVDTableSW", 15) + '\0' + "\x03T.C";
    const std::string end = std::string(3, '\0');
    const std::string cell = DefaultCellEntry(1, 1);
    const struct {
        const char *name;
        std::string stream;
    } cases[] = {
        {"a billion cells",
         root + Raw({4, 0x00, 0xCA, 0x9A, 0x3B, 4, 0x00, 0xCA, 0x9A, 0x3B, 1}) + end},
        {"rows times columns past the limit", root + Raw({4, 0, 0, 1, 0, 4, 0, 0, 1, 0, 1}) + end},
        {"negative rows", root + "\x02\xFF\x02\x01\x01" + end},
        {"negative columns", root + "\x02\x01\x02\xFF\x01" + end},
        {"a missing entry", root + "\x02\x01\x02\x02\x01" + cell + end},
        {"an entry left over", root + "\x02\x01\x02\x01\x01" + cell + cell + end},
        {"a zero span", root + "\x02\x01\x02\x01\x01" + Raw({2, 0}) + cell.substr(2) + end},
        {"a cut stream", root + "\x02\x01\x02\x01\x01" + cell.substr(0, 9)},
        {"a list that is not one", root + "\x02\x01\x02\x01\x02" + end},
    };
    for (const auto &c : cases) {
        std::string hex;
        for (unsigned char b : c.stream) {
            static const char digits[] = "0123456789ABCDEF";
            hex += digits[b >> 4];
            hex += digits[b & 15];
        }
        TTestDocument doc(&Style);
        doc.AddNL(u"kept", 0, 0);
        const std::string record = "-60 3 0 0 0 0 \r\n\r\n2\r\n" + hex + "\r\n";
        EXPECT_FALSE(Load(doc, record)) << c.name;
        ASSERT_EQ(doc.ItemCount(), 1) << c.name;
        EXPECT_EQ(rtl::Utf16ToUtf8(doc.GetItemText(0)), "kept") << c.name;
    }
}

TEST_F(TableVDF, ATableThatFailsPartWayIsStillAWholeGrid) {
    const std::string stream = std::string("TPF0\x0ATVDTableSW", 15) + '\0' + "\x03T.C" +
                               "\x02\x02\x02\x02\x01" + DefaultCellEntry(2, 1) +
                               "\x02\x01\x02\x01\x02TD" + '\0' +
                               "\x05"
                               "c.Bad\x02\x01";
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    EXPECT_THROW(table->LoadFromStream(*StreamOf(stream)), rtl::Exception);
    ASSERT_EQ(table->GetRowCount(), 2);
    ASSERT_EQ(table->GetColCount(), 2);
    EXPECT_EQ(table->GetCells(0, 0)->GetColSpan(), 2);
    EXPECT_EQ(table->GetCells(0, 1), nullptr);
    EXPECT_NE(table->GetCells(1, 0), nullptr);
    EXPECT_NE(table->GetCells(1, 1), nullptr);
}

TEST_F(TableVDF, TablesNestedTooDeepFailCleanly) {
    auto innermost = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    std::unique_ptr<TVDTableItemInfo> current = std::move(innermost);
    for (int level = 0; level < TCustomVDData::MaxVDFNestingDepth + 2; ++level) {
        auto outer = TVDTableItemInfo::CreateEx(1, 1, &Doc);
        TVDTableCellData &cell = *outer->GetCells(0, 0);
        cell.Clear();
        cell.AddItem(u"", std::move(current));
        current = std::move(outer);
    }
    Doc.AddItem(u"", std::move(current));
    // Binary mode: in text mode every level's stream is a hexadecimal line inside the next,
    // doubling the size with each level.
    const std::string saved = Save(Doc, {vdfoSaveBinary});
    TTestDocument copy(&Style);
    copy.SetVDFOptions({vdfoSaveBinary});
    EXPECT_FALSE(Load(copy, saved));
    EXPECT_EQ(copy.ItemCount(), 0);
}

} // namespace
