// The table's component stream: the two wrapper components (TVDTableSW, TD), the table's and
// the cells' published properties, the cells list, the row lists, background pictures, and the
// table stream operations.
#include "vizivodu/formats/vdf/VDTable_Stream.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/tables/VDTable.h"

#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphic.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Streaming.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace vizivodu {

namespace {

// The four sides of a TVDBooleanRect under "VisibleBorders", read and written through the
// holder's copy.
class TVDBooleanRectProps : public rtl::TPersistent {
public:
    std::function<TVDBooleanRect()> Get;
    std::function<void(const TVDBooleanRect &)> Set;

    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
};

template <bool TVDBooleanRect::*Side> auto SideGetter() {
    return [](TVDBooleanRectProps &p) { return p.Get().*Side; };
}

template <bool TVDBooleanRect::*Side> auto SideSetter() {
    return [](TVDBooleanRectProps &p, bool value) {
        TVDBooleanRect rect = p.Get();
        rect.*Side = value;
        p.Set(rect);
    };
}

const rtl::TClassInfo &TVDBooleanRectProps::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TVDBooleanRectProps>("TVDBooleanRect",
                                                &rtl::TPersistent::StaticClassInfo())
            .Bool("Left", SideGetter<&TVDBooleanRect::Left>(), SideSetter<&TVDBooleanRect::Left>())
            .Bool("Top", SideGetter<&TVDBooleanRect::Top>(), SideSetter<&TVDBooleanRect::Top>())
            .Bool("Right", SideGetter<&TVDBooleanRect::Right>(),
                  SideSetter<&TVDBooleanRect::Right>())
            .Bool("Bottom", SideGetter<&TVDBooleanRect::Bottom>(),
                  SideSetter<&TVDBooleanRect::Bottom>())
            .Build();
    return info;
}

// ---- Background pictures: the class name, then the picture as a block ----

bool CanStorePicture(const gfx::TGraphic *picture) {
    return picture != nullptr && !picture->Empty() && GraphicClassOf(*picture) != nullptr;
}

void WriteBackgroundImg(rtl::TStream &stream, const gfx::TGraphic &picture) {
    const std::string_view className = GraphicClassOf(picture)->GetName();
    const auto length = static_cast<int32_t>(className.size());
    stream.WriteBuffer(&length, 4);
    stream.WriteBuffer(className.data(), length);
    VDFSavePictureBinary(stream, picture);
}

// An unknown class gives no picture; an empty block changes nothing.
void ReadBackgroundImg(rtl::TStream &stream,
                       const std::function<void(const gfx::TGraphic *)> &set) {
    if (stream.GetPosition() >= stream.GetSize()) {
        return;
    }
    int32_t length = 0;
    stream.ReadBuffer(&length, 4);
    if (length < 0 || length > stream.GetSize() - stream.GetPosition()) {
        throw rtl::EReadError(std::string_view("Invalid picture class name length"));
    }
    std::string className(static_cast<size_t>(length), '\0');
    stream.ReadBuffer(className.data(), length);
    const TVDGraphicClass *graphicClass = GlobalGraphicHandler->GetGraphicClass(
        rtl::UnicodeString(className.begin(), className.end()));
    if (graphicClass == nullptr) {
        set(nullptr);
        return;
    }
    std::unique_ptr<gfx::TGraphic> picture = TVDGraphicHandler::CreateGraphic(*graphicClass);
    VDFLoadPictureBinary(stream, *picture);
    set(picture.get());
}

rtl::TStreamProc PictureWriter(const gfx::TGraphic *picture, bool store) {
    if (!store || !CanStorePicture(picture)) {
        return {};
    }
    return [picture](rtl::TStream &stream) { WriteBackgroundImg(stream, *picture); };
}

// The rows a stream of info holds: the heading rows first when asked, then the rectangle's.
std::vector<int32_t> WrittenRows(TVDTableItemInfo &table, const TVDTableStreamSaveInfo &info) {
    std::vector<int32_t> rows;
    if (info.SaveHeadingRows) {
        for (int32_t r = 0; r < table.GetRealHeadingRowCount(); ++r) {
            rows.push_back(r);
        }
    }
    for (int32_t r = info.TopRow; r < info.TopRow + info.RowCount; ++r) {
        rows.push_back(r);
    }
    return rows;
}

} // namespace

// ---- The cell under "c" ----

class TVDCellProps : public rtl::TPersistent {
public:
    TVDCellProps() {
        VisibleBorders.Get = [this] { return Cell->GetVisibleBorders(); };
        VisibleBorders.Set = [this](const TVDBooleanRect &r) { Cell->SetVisibleBorders(r); };
    }
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;

    TVDTableCellData *Cell = nullptr;
    bool SavePictures = false;
    TVDBooleanRectProps VisibleBorders;
};

namespace {

template <class G, class S>
void AddColor(rtl::TClassBuilder<TVDCellProps> &b, const char *name, G get, S set) {
    b.Int(name, get, set).Default(gfx::clNone).Idents(gfx::ColorIdents());
}

} // namespace

const rtl::TClassInfo &TVDCellProps::StaticClassInfo() {
    static const rtl::TClassInfo info = [] {
        using P = TVDCellProps;
        rtl::TClassBuilder<P> b("TVDTableCellData", &rtl::TPersistent::StaticClassInfo());
        AddColor(
            b, "Color", [](P &p) { return p.Cell->GetOwnColor(); },
            [](P &p, TColor v) { p.Cell->SetColor(v); });
        b.Int(
             "Opacity", [](P &p) { return p.Cell->GetOpacity(); },
             [](P &p, TVDOpacity v) { p.Cell->SetOpacity(v); })
            .Default(100000);
        AddColor(
            b, "BorderColor", [](P &p) { return p.Cell->GetBorderColor(); },
            [](P &p, TColor v) { p.Cell->SetBorderColor(v); });
        AddColor(
            b, "BorderLightColor", [](P &p) { return p.Cell->GetBorderLightColor(); },
            [](P &p, TColor v) { p.Cell->SetBorderLightColor(v); });
        b.Int(
             "BestWidth", [](P &p) { return p.Cell->GetBestWidth(); },
             [](P &p, TVDHTMLLength v) { p.Cell->SetBestWidth(v); })
            .Default(0);
        b.Int(
             "BestHeight", [](P &p) { return p.Cell->GetBestHeight(); },
             [](P &p, TVDStyleLength v) { p.Cell->SetBestHeight(v); })
            .Default(0);
        b.Object("VisibleBorders", [](P &p) { return &p.VisibleBorders; }).Stored([](P &p) {
            return !p.Cell->GetVisibleBorders().IsAllEqual(true);
        });
        b.Enum(
             "VAlign", [](P &p) { return p.Cell->GetVAlign(); },
             [](P &p, TVDCellVAlign v) { p.Cell->SetVAlign(v); },
             {"vdcTop", "vdcMiddle", "vdcBottom", "vdcVDefault"})
            .Default(vdcVDefault);
        b.Enum(
             "BackgroundStyle", [](P &p) { return p.Cell->GetBackgroundStyle(); },
             [](P &p, TVDItemBackgroundStyle v) { p.Cell->SetBackgroundStyle(v); },
             {"vdbsColor", "vdbsStretched", "vdbsTiled", "vdbsCentered"})
            .Default(vdbsColor);
        b.Str(
            "BackgroundImageFileName", [](P &p) { return p.Cell->GetBackgroundImageFileName(); },
            [](P &p, const rtl::UnicodeString &v) { p.Cell->SetBackgroundImageFileName(v); });
        b.Str(
            "Hint", [](P &p) { return p.Cell->GetHint(); },
            [](P &p, const rtl::UnicodeString &v) { p.Cell->SetHint(v); });
        b.Enum(
            "Rotation", [](P &p) { return p.Cell->GetRotation(); },
            [](P &p, TVDDocRotation v) { p.Cell->SetRotation(v); },
            {"vdrotNone", "vdrot90", "vdrot180", "vdrot270"});
        b.Str(
            "Tag", [](P &p) { return p.Cell->GetTag(); },
            [](P &p, const rtl::UnicodeString &v) { p.Cell->SetTag(v); });
        b.Set(
            "Options", [](P &p) { return p.Cell->GetCellOptions(); },
            [](P &p, TVDTableCellOptions v) { p.Cell->SetCellOptions(v); },
            {"vdtcoReverseLineOrder", "vdtcoUseVerticalFonts"});
        return b.Build();
    }();
    return info;
}

void TVDCellProps::DefineProperties(rtl::TFiler &filer) {
    TVDTableCellData &cell = *Cell;
    const bool content = !cell.State.Contains(vdstDoNotSaveContent);
    rtl::TStreamProc writeData;
    if (content && cell.HasData(true)) {
        writeData = [&cell](rtl::TStream &stream) { cell.SaveVDFSubDocument(stream); };
    }
    filer.DefineBinaryProperty(
        "Data", [&cell](rtl::TStream &stream) { cell.LoadVDFSubDocument(stream); }, writeData);
    filer.DefineBinaryProperty(
        "BackgroundImg",
        [&cell](rtl::TStream &stream) {
            ReadBackgroundImg(stream,
                              [&cell](const gfx::TGraphic *p) { cell.SetBackgroundImage(p); });
        },
        PictureWriter(cell.GetBackgroundImage(), content && SavePictures));
}

// The wrapper of the cell being written or read.
class TD : public rtl::TComponent {
public:
    TD() : rtl::TComponent(nullptr) {}
    static const rtl::TClassInfo &StaticClassInfo() {
        static const rtl::TClassInfo info =
            rtl::TClassBuilder<TD>("TD", &rtl::TComponent::StaticClassInfo())
                .Object("c", [](TD &d) { return &d.Props; })
                .Build();
        return info;
    }
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    TVDCellProps Props;
};

// ---- The table under "T" ----

class TVDTableProps : public rtl::TPersistent {
public:
    explicit TVDTableProps(TVDTableItemInfo &table) : Table(table) {
        VisibleBorders.Get = [this] { return Table.GetVisibleBorders(); };
        VisibleBorders.Set = [this](const TVDBooleanRect &r) {
            Table.SetTableVisibleBorders(r.Left, r.Top, r.Right, r.Bottom);
        };
    }
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;

    TVDTableItemInfo &Table;
    TVDBooleanRectProps VisibleBorders;

private:
    void DefineRowList(rtl::TFiler &filer, std::string_view name,
                       const std::function<int32_t(const TVDTableRow &)> &get,
                       const std::function<void(rtl::TReader &, int32_t row)> &read,
                       const std::function<void(rtl::TWriter &, int32_t value)> &write,
                       int32_t defaultValue);
};

namespace {

using TP = TVDTableProps;

void AddTableColors(rtl::TClassBuilder<TP> &b) {
    static constexpr std::pair<const char *, TVDTableColorProperty> colors[] = {
        {"Color", vdtcColor},
        {"BorderColor", vdtcBorderColor},
        {"BorderLightColor", vdtcBorderLightColor},
        {"CellBorderColor", vdtcCellBorderColor},
        {"CellBorderLightColor", vdtcCellBorderLightColor},
        {"VRuleColor", vdtcVRuleColor},
        {"HRuleColor", vdtcHRuleColor},
        {"HeadingRowColor", vdtcHeadingRowColor},
        {"LastRowColor", vdtcLastRowColor},
        {"OddRowsColor", vdtcOddRowsColor},
        {"EvenRowsColor", vdtcEvenRowsColor},
        {"FirstColumnColor", vdtcFirstColumnColor},
        {"LastColumnColor", vdtcLastColumnColor},
        {"OddColumnsColor", vdtcOddColumnsColor},
        {"EvenColumnsColor", vdtcEvenColumnsColor},
    };
    for (const auto &[name, index] : colors) {
        const TVDTableColorProperty i = index;
        b.Int(
             name, [i](TP &p) { return p.Table.GetColor(i); },
             [i](TP &p, TColor v) { p.Table.SetColor(i, v); })
            .Default(TVDTableItemInfo::GetDefaultColorValue(i))
            .Idents(gfx::ColorIdents());
    }
}

// A table length with a default, through its getter and setter.
template <class G, class S>
void AddLength(rtl::TClassBuilder<TP> &b, const char *name, G get, S set, int32_t def) {
    b.Int(
         name, [get](TP &p) { return std::invoke(get, p.Table); },
         [set](TP &p, int32_t v) { std::invoke(set, p.Table, v); })
        .Default(def);
}

const std::vector<std::string> BorderStyleNames = {"vdtbRaised", "vdtbLowered", "vdtbColor",
                                                   "vdtbRaisedColor", "vdtbLoweredColor"};

void AddTableOptions(rtl::TClassBuilder<TP> &b) {
    b.Set(
         "Options", [](TP &p) { return p.Table.GetTableOptions(); },
         [](TP &p, TVDTableOptions v) { p.Table.SetTableOptions(v); },
         {"vdtoEditing", "vdtoRowSizing", "vdtoColSizing", "vdtoRowSelect", "vdtoColSelect",
          "vdtoNoCellSelect", "vdtoRTFSaveCellPixelBestWidth", "vdtoRTFAllowAutofit",
          "vdtoHideGridLines", "vdtoOverlappingCorners", "vdtoCellBelowBorders",
          "vdtoIgnoreContentWidth", "vdtoIgnoreContentHeight"})
        .Default(VDTableDefaultOptions);
    b.Set(
         "PrintOptions", [](TP &p) { return p.Table.GetPrintOptions(); },
         [](TP &p, TVDTablePrintOptions v) { p.Table.SetPrintOptions(v); },
         {"vdtoHalftoneBorders", "vdtoRowsSplit", "vdtoWhiteBackground", "vdtoContinue"})
        .Default(VDTableDefaultPrintOptions);
}

void AddTablePaddings(rtl::TClassBuilder<TP> &b) {
    b.Int(
         "CellHPadding", [](TP &p) { return p.Table.GetCellHPadding(); },
         [](TP &p, int32_t v) { p.Table.SetCellHPadding(v); })
        .Stored([](TP &p) {
            const int32_t h = p.Table.GetCellHPadding();
            return h != p.Table.GetCellVPadding() && h != 1;
        });
    b.Int(
         "CellVPadding", [](TP &p) { return p.Table.GetCellVPadding(); },
         [](TP &p, int32_t v) { p.Table.SetCellVPadding(v); })
        .Stored([](TP &p) {
            const int32_t v = p.Table.GetCellVPadding();
            return v != p.Table.GetCellHPadding() && v != 1;
        });
    b.Int(
         "CellPadding", [](TP &p) { return p.Table.GetCellPadding(); },
         [](TP &p, int32_t v) { p.Table.SetCellPadding(v); })
        .Stored([](TP &p) {
            const int32_t h = p.Table.GetCellHPadding();
            return h == p.Table.GetCellVPadding() && h != 1;
        });
}

} // namespace

const rtl::TClassInfo &TVDTableProps::StaticClassInfo() {
    static const rtl::TClassInfo info = [] {
        using T = TVDTableItemInfo;
        rtl::TClassBuilder<TP> b("TVDTableItemInfo", &rtl::TPersistent::StaticClassInfo());
        AddTableColors(b);
        AddLength(b, "HeadingRowCount", &T::GetHeadingRowCount, &T::SetHeadingRowCount, 0);
        AddLength(b, "RowBandSize", &T::GetRowBandSize, &T::SetRowBandSize, 1);
        AddLength(b, "ColBandSize", &T::GetColBandSize, &T::SetColBandSize, 1);
        AddLength(b, "Opacity", &T::GetOpacity, &T::SetOpacity, 100000);
        b.Enum(
             "BackgroundStyle", [](TP &p) { return p.Table.GetBackgroundStyle(); },
             [](TP &p, TVDItemBackgroundStyle v) { p.Table.SetBackgroundStyle(v); },
             {"vdbsColor", "vdbsStretched", "vdbsTiled", "vdbsCentered"})
            .Default(vdbsColor);
        AddTableOptions(b);
        AddLength(b, "BestWidth", &T::GetBestWidth, &T::SetBestWidth, 0);
        // The separators are CR LF unless changed.
        b.Str(
             "TextRowSeparator", [](TP &p) { return p.Table.GetTextRowSeparator(); },
             [](TP &p, const rtl::UnicodeString &v) { p.Table.SetTextRowSeparator(v); })
            .Stored([](TP &p) { return p.Table.GetTextRowSeparator() != u"\r\n"; });
        b.Str(
             "TextColSeparator", [](TP &p) { return p.Table.GetTextColSeparator(); },
             [](TP &p, const rtl::UnicodeString &v) { p.Table.SetTextColSeparator(v); })
            .Stored([](TP &p) { return p.Table.GetTextColSeparator() != u"\r\n"; });
        AddLength(b, "BorderWidth", &T::GetTableBorderWidth, &T::SetBorderWidth, 0);
        b.Enum(
             "BorderStyle", [](TP &p) { return p.Table.GetBorderStyle(); },
             [](TP &p, TVDTableBorderStyle v) { p.Table.SetBorderStyle(v); }, BorderStyleNames)
            .Default(vdtbRaised);
        AddLength(b, "BorderVSpacing", &T::GetBorderVSpacing, &T::SetBorderVSpacing, 2);
        AddLength(b, "BorderHSpacing", &T::GetBorderHSpacing, &T::SetBorderHSpacing, 2);
        b.Object("VisibleBorders", [](TP &p) { return &p.VisibleBorders; }).Stored([](TP &p) {
            return !p.Table.GetVisibleBorders().IsAllEqual(true);
        });
        AddTablePaddings(b);
        b.Enum(
             "CellBorderStyle", [](TP &p) { return p.Table.GetCellBorderStyle(); },
             [](TP &p, TVDTableBorderStyle v) { p.Table.SetCellBorderStyle(v); }, BorderStyleNames)
            .Default(vdtbLowered);
        AddLength(b, "CellBorderWidth", &T::GetCellBorderWidth, &T::SetCellBorderWidth, 0);
        AddLength(b, "CellVSpacing", &T::GetCellVSpacing, &T::SetCellVSpacing, 2);
        AddLength(b, "CellHSpacing", &T::GetCellHSpacing, &T::SetCellHSpacing, 2);
        AddLength(b, "VRuleWidth", &T::GetVRuleWidth, &T::SetVRuleWidth, 0);
        AddLength(b, "HRuleWidth", &T::GetHRuleWidth, &T::SetHRuleWidth, 0);
        b.Bool(
             "VOutermostRule", [](TP &p) { return p.Table.GetVOutermostRule(); },
             [](TP &p, bool v) { p.Table.SetVOutermostRule(v); })
            .Default(false);
        b.Bool(
             "HOutermostRule", [](TP &p) { return p.Table.GetHOutermostRule(); },
             [](TP &p, bool v) { p.Table.SetHOutermostRule(v); })
            .Default(false);
        return b.Build();
    }();
    return info;
}

void TVDTableProps::DefineRowList(rtl::TFiler &filer, std::string_view name,
                                  const std::function<int32_t(const TVDTableRow &)> &get,
                                  const std::function<void(rtl::TReader &, int32_t row)> &read,
                                  const std::function<void(rtl::TWriter &, int32_t value)> &write,
                                  int32_t defaultValue) {
    TVDTableStreamSaveInfo *info = Table.FStreamSaveInfo;
    const std::vector<int32_t> rows = info ? WrittenRows(Table, *info) : std::vector<int32_t>();
    const bool stored = std::any_of(rows.begin(), rows.end(), [&](int32_t r) {
        return get(*Table.GetRows().Get(r)) != defaultValue;
    });
    rtl::TWriterProc writeData;
    if (stored) {
        writeData = [&, rows](rtl::TWriter &writer) {
            writer.WriteListBegin();
            for (int32_t r : rows) {
                write(writer, get(*Table.GetRows().Get(r)));
            }
            writer.WriteListEnd();
        };
    }
    // Values past the table's last row are read and dropped.
    const auto readData = [this, read](rtl::TReader &reader) {
        int32_t row = Table.FStreamSaveInfo ? Table.FStreamSaveInfo->TopRow : 0;
        reader.ReadListBegin();
        while (!reader.EndOfList()) {
            read(reader, row >= 0 && row < Table.GetRowCount() ? row : -1);
            ++row;
        }
        reader.ReadListEnd();
    };
    filer.DefineProperty(name, readData, writeData);
}

void TVDTableProps::DefineProperties(rtl::TFiler &filer) {
    TVDTableStreamSaveInfo *info = Table.FStreamSaveInfo;
    filer.DefineBinaryProperty(
        "BackgroundImg",
        [this](rtl::TStream &stream) {
            ReadBackgroundImg(stream,
                              [this](const gfx::TGraphic *p) { Table.SetBackgroundImage(p); });
        },
        PictureWriter(Table.GetBackgroundImage(), info != nullptr && info->SavePictures));
    filer.DefineProperty(
        "C", [this](rtl::TReader &reader) { Table.ReadStreamCells(reader); },
        [this](rtl::TWriter &writer) { Table.WriteStreamCells(writer); });
    DefineRowList(
        filer, "RowVAlign", [](const TVDTableRow &r) { return int32_t(r.VAlign); },
        [this](rtl::TReader &reader, int32_t row) {
            const int32_t value = reader.ReadInteger();
            if (value < vdcTop || value > vdcVDefault) {
                throw rtl::EReadError(std::string_view("Invalid property value"));
            }
            if (row >= 0) {
                Table.SetRowVAlign(static_cast<TVDCellVAlign>(value), row);
            }
        },
        [](rtl::TWriter &writer, int32_t value) { writer.WriteInteger(value); }, vdcTop);
    DefineRowList(
        filer, "RowPageBreakBefore",
        [](const TVDTableRow &r) { return int32_t(r.PageBreakBefore); },
        [this](rtl::TReader &reader, int32_t row) {
            const bool value = reader.ReadBoolean();
            if (row >= 0) {
                Table.SetRowPageBreakBefore(value, row);
            }
        },
        [](rtl::TWriter &writer, int32_t value) { writer.WriteBoolean(value != 0); }, 0);
    DefineRowList(
        filer, "RowKeepTogether", [](const TVDTableRow &r) { return int32_t(r.KeepTogether); },
        [this](rtl::TReader &reader, int32_t row) {
            const bool value = reader.ReadBoolean();
            if (row >= 0) {
                Table.SetRowKeepTogether(value, row);
            }
        },
        [](rtl::TWriter &writer, int32_t value) { writer.WriteBoolean(value != 0); }, 0);
}

// The stream's root: the table under "T" and the cell wrapper it owns.
class TVDTableSW : public rtl::TComponent {
public:
    explicit TVDTableSW(TVDTableItemInfo &table) : rtl::TComponent(nullptr), Props(table) {}
    static const rtl::TClassInfo &StaticClassInfo() {
        static const rtl::TClassInfo info =
            rtl::TClassBuilder<TVDTableSW>("TVDTableSW", &rtl::TComponent::StaticClassInfo())
                .Object("T", [](TVDTableSW &sw) { return &sw.Props; })
                .Build();
        return info;
    }
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    TVDTableProps Props;
    TD Cells;
};

// ---- The cells list ----

void TVDTableItemInfo::WriteStreamCells(rtl::TWriter &writer) {
    TVDTableStreamSaveInfo &info = *FStreamSaveInfo;
    const std::vector<int32_t> rows = WrittenRows(*this, info);
    writer.WriteInteger(static_cast<int64_t>(rows.size()));
    if (rows.empty()) {
        return;
    }
    writer.WriteInteger(info.ColCount);
    writer.WriteListBegin();
    const auto headingCount = static_cast<int32_t>(rows.size()) - info.RowCount;
    const int32_t bottom = info.TopRow + info.RowCount;
    const int32_t right = info.LeftCol + info.ColCount;
    TD &td = *info.CellWrapper;
    td.Props.SavePictures = info.SavePictures;
    for (int32_t i = 0; i < static_cast<int32_t>(rows.size()); ++i) {
        const int32_t r = rows[static_cast<size_t>(i)];
        for (int32_t c = info.LeftCol; c < right; ++c) {
            int32_t mRow = r;
            int32_t mCol = c;
            TVDTableCellData *cell = GetCells(r, c);
            if (cell == nullptr && i >= headingCount) {
                TVDTableCellData *main = FRows->GetMainCell(r, c, mRow, mCol);
                // A merged cell that starts outside what is written goes at its first
                // position inside, once.
                const bool first = info.Part != nullptr ? i == headingCount && mCol == c
                                                        : r == std::max(mRow, info.TopRow) &&
                                                              c == std::max(mCol, info.LeftCol);
                cell = first ? main : nullptr;
            }
            if (cell == nullptr) {
                continue;
            }
            writer.WriteInteger(std::min(right - c, mCol + cell->GetColSpan() - c));
            writer.WriteInteger(std::min(bottom - r, mRow + cell->GetRowSpan() - r));
            const rtl::TFlagScope noContent(
                cell->State, vdstDoNotSaveContent,
                cell->State.Contains(vdstDoNotSaveContent) ||
                    (info.SelectionOnly && !IsCellSelected(mRow, mCol)));
            td.Props.Cell = cell;
            writer.WriteComponent(td);
        }
    }
    writer.WriteListEnd();
}

void TVDTableItemInfo::DropScreenStateForReading() {
    FLastCellMovedAbove = nullptr;
    FocusedCellRow = FocusedCellCol = -1;
    ChosenCellRow = ChosenCellCol = -1;
    FSelStartRow = FSelStartCol = -1;
    FSelRowOffs = FSelColOffs = 0;
    FState.Exclude(vdtsSelExists);
    Fmt->Clear();
}

void TVDTableItemInfo::ReadStreamCells(rtl::TReader &reader) {
    DropScreenStateForReading();
    TVDTableStreamSaveInfo &info = *FStreamSaveInfo;
    const int32_t rowCount = reader.ReadInteger();
    if (rowCount < 0) {
        throw rtl::EReadError(std::string_view("Wrong end of cells list"));
    }
    if (rowCount == 0) {
        FRows->Reset(0, 0);
        return;
    }
    const int32_t colCount = reader.ReadInteger();
    if (colCount < 0) {
        throw rtl::EReadError(std::string_view("Wrong end of cells list"));
    }
    reader.ReadListBegin();
    if (info.TopRow != 0 || info.LeftCol != 0 || info.NoReset) {
        ReadCellsInPlace(reader, rowCount, colCount);
    } else {
        ReadCellsResetting(reader, rowCount, colCount);
    }
    if (!reader.EndOfList()) {
        throw rtl::EReadError(std::string_view("Wrong end of cells list"));
    }
    reader.ReadListEnd();
}

void TVDTableItemInfo::ReadStreamCell(rtl::TReader &reader, TVDTableCellData &cell) {
    TD &td = *FStreamSaveInfo->CellWrapper;
    try {
        cell.ResetProperties();
        td.Props.Cell = &cell;
        reader.ReadComponent(&td);
    } catch (const rtl::Exception &) {
        FStreamSaveInfo->LoadResult = false;
        throw;
    }
}

// The grid is built from the entries, one new cell per entry, rather than as rowCount x
// colCount cells merged afterwards: a merged cell costs one entry, not one document per
// position it covers. The result is the same: an entry whose rectangle would cross a cell
// placed before keeps spans of 1, as the merge would refuse it.
void TVDTableItemInfo::ReadCellsResetting(rtl::TReader &reader, int32_t rowCount,
                                          int32_t colCount) {
    const int64_t positions = int64_t(rowCount) * std::max(colCount, 1);
    if (positions > MaxStreamTablePositions) {
        throw rtl::EReadError(
            rtl::Format(rtl::UnicodeString(u"Table of %d x %d cells is too large to read"),
                        {rowCount, colCount}));
    }
    FRows->Reset(rowCount, 0);
    for (int32_t r = 0; r < rowCount; ++r) {
        for (int32_t c = 0; c < colCount; ++c) {
            FRows->Get(r)->InsertEmpty(c);
        }
    }
    std::vector<bool> covered(static_cast<size_t>(rowCount) * static_cast<size_t>(colCount));
    const auto at = [colCount](int32_t r, int32_t c) { return size_t(r) * size_t(colCount) + c; };
    // A read that fails part-way still leaves every position covered by one cell.
    const rtl::TScopeExit fill([&]() noexcept {
        for (int32_t r = 0; r < rowCount; ++r) {
            for (int32_t c = 0; c < colCount; ++c) {
                if (!covered[at(r, c)]) {
                    TVDTableRow *row = FRows->Get(r);
                    row->Put(c, CreateCell(row));
                }
            }
        }
    });
    for (int32_t r = 0; r < rowCount; ++r) {
        for (int32_t c = 0; c < colCount; ++c) {
            if (covered[at(r, c)]) {
                continue;
            }
            if (reader.EndOfList()) {
                throw rtl::EReadError(std::string_view("Wrong end of cells list"));
            }
            int32_t colSpan = reader.ReadInteger();
            int32_t rowSpan = reader.ReadInteger();
            if (colSpan < 1 || rowSpan < 1) {
                throw EViziVoduError(u"Parameters for cell merging are not correct");
            }
            colSpan = std::min(colSpan, colCount - c);
            rowSpan = std::min(rowSpan, rowCount - r);
            for (int32_t rr = r; rr < r + rowSpan && colSpan * rowSpan > 1; ++rr) {
                for (int32_t cc = c; cc < c + colSpan; ++cc) {
                    if (covered[at(rr, cc)]) {
                        colSpan = rowSpan = 1;
                        break;
                    }
                }
            }
            for (int32_t rr = r; rr < r + rowSpan; ++rr) {
                for (int32_t cc = c; cc < c + colSpan; ++cc) {
                    covered[at(rr, cc)] = true;
                }
            }
            TVDTableRow *row = FRows->Get(r);
            row->Put(c, CreateCell(row));
            TVDTableCellData &cell = *row->Get(c);
            cell.FColSpan = colSpan;
            cell.FRowSpan = rowSpan;
            ReadStreamCell(reader, cell);
        }
    }
}

void TVDTableItemInfo::ReadCellsInPlace(rtl::TReader &reader, int32_t rowCount, int32_t colCount) {
    const TVDTableStreamSaveInfo &info = *FStreamSaveInfo;
    if (info.TopRow < 0 || info.LeftCol < 0 || int64_t(info.TopRow) + rowCount > GetRowCount() ||
        int64_t(info.LeftCol) + colCount > GetColCount()) {
        throw rtl::EReadError(std::string_view("Wrong end of cells list"));
    }
    for (int32_t r = info.TopRow; r < info.TopRow + rowCount; ++r) {
        for (int32_t c = info.LeftCol; c < info.LeftCol + colCount; ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (cell == nullptr) {
                continue;
            }
            if (reader.EndOfList()) {
                throw rtl::EReadError(std::string_view("Wrong end of cells list"));
            }
            const int32_t colSpan = reader.ReadInteger();
            const int32_t rowSpan = reader.ReadInteger();
            try {
                FRows->MergeCells(r, c, colSpan, rowSpan, true, true);
            } catch (const rtl::Exception &) {
                FStreamSaveInfo->LoadResult = false;
                throw;
            }
            ReadStreamCell(reader, *cell);
        }
    }
}

// ---- Stream operations ----

void TVDTableItemInfo::WriteStreamComponent(rtl::TStream &stream, TVDTableStreamSaveInfo &info) {
    if (FStreamSaveInfo != nullptr) {
        throw EViziVoduError(u"ViziVodu Error");
    }
    TVDTableSW wrapper(*this);
    info.CellWrapper = &wrapper.Cells;
    FStreamSaveInfo = &info;
    const rtl::TScopeExit done([this]() noexcept { FStreamSaveInfo = nullptr; });
    rtl::TWriter writer(stream);
    writer.WriteRootComponent(wrapper);
}

void TVDTableItemInfo::ReadStreamComponent(rtl::TStream &stream, TVDTableStreamSaveInfo &info) {
    if (FStreamSaveInfo != nullptr) {
        throw EViziVoduError(u"ViziVodu Error");
    }
    TVDTableSW wrapper(*this);
    info.CellWrapper = &wrapper.Cells;
    FStreamSaveInfo = &info;
    const rtl::TScopeExit done([this]() noexcept { FStreamSaveInfo = nullptr; });
    rtl::TReader reader(stream);
    reader.ReadRootComponent(wrapper);
}

void TVDTableItemInfo::SaveToStream(rtl::TStream &stream) {
    SaveRowsToStream(stream, 0, GetRowCount(), false);
}

void TVDTableItemInfo::SaveRowsToStream(rtl::TStream &stream, int32_t index, int32_t count,
                                        bool fragmentOnly) {
    SaveRectangleToStream(stream, index, 0, count, GetColCount(), false, fragmentOnly);
}

void TVDTableItemInfo::SaveRectangleToStream(rtl::TStream &stream, int32_t topRow, int32_t leftCol,
                                             int32_t rowCount, int32_t colCount, bool selectionOnly,
                                             bool fragmentOnly) {
    if (FStreamSaveInfo != nullptr) {
        throw EViziVoduError(u"ViziVodu Error");
    }
    if (topRow < 0 || leftCol < 0 || rowCount < 0 || colCount < 0 ||
        int64_t(topRow) + rowCount > GetRowCount() || int64_t(leftCol) + colCount > GetColCount()) {
        throw EViziVoduError(u"Invalid row or column index");
    }
    TVDTableStreamSaveInfo info;
    info.TopRow = topRow;
    info.LeftCol = leftCol;
    info.RowCount = rowCount;
    info.ColCount = colCount;
    info.SelectionOnly = selectionOnly;
    TCustomVDData *document = FRows->GetMainVDData();
    info.SavePictures =
        document != nullptr && document->GetVDFOptions().Contains(vdfoSavePicturesBody);
    const rtl::TFlagScope fragment(FState, vdtsSavingFragment,
                                   fragmentOnly || FState.Contains(vdtsSavingFragment));
    WriteStreamComponent(stream, info);
}

void TVDTableItemInfo::LoadFromStreamEx(rtl::TStream &stream, int32_t startRow, int32_t startCol,
                                        bool allowReset) {
    TVDTableStreamSaveInfo info;
    info.TopRow = startRow;
    info.LeftCol = startCol;
    info.NoReset = !allowReset;
    ReadStreamComponent(stream, info);
}

} // namespace vizivodu
