// Test support for printing tables: labelled tables, row labels by page and footnotes in cells.
#include "tests/vizivodu/tables/TablePrintTestSupport.h"

namespace vizivodu::test {

TVDTableItemInfo &AddLabelledTable(TPrintFixture &f, int32_t rows, int32_t cols, int32_t heading,
                                   std::mt19937 &rng, int32_t maxWords) {
    auto made = TVDTableItemInfo::CreateEx(rows, cols, &f.Source.GetVDData());
    TVDTableItemInfo &table = *made;
    table.SetHeadingRowCount(heading);
    for (int32_t r = 0; r < rows; ++r) {
        const std::string label = (r < heading ? "H" : "R") + std::to_string(r);
        SetCellText(*table.GetCells(r, 0), rtl::Utf8ToUtf16(label));
        for (int32_t c = 1; c < cols; ++c) {
            std::u16string words;
            const int32_t count = 1 + int32_t(rng() % uint32_t(maxWords));
            for (int32_t w = 0; w < count; ++w) {
                words += u"word ";
            }
            SetCellText(*table.GetCells(r, c), words);
        }
    }
    f.Source.AddItem(u"", std::move(made));
    return table;
}

std::vector<std::vector<std::string>> LabelsByPage(TRecordingPrintFixture &f, int32_t pages) {
    std::vector<std::vector<std::string>> out;
    for (int32_t p = 1; p <= pages; ++p) {
        std::vector<std::string> labels;
        for (const std::u16string &drawn : f.PageTexts(p)) {
            const std::string text = rtl::Utf16ToUtf8(drawn);
            if (!text.empty() && (text[0] == 'H' || text[0] == 'R')) {
                labels.push_back(text);
            }
        }
        out.push_back(labels);
    }
    return out;
}

TVDTablePrintInfo *PrintItem(TPrintFixture &f) {
    for (int32_t i = 0; i < f.Data().DrawItems.Count(); ++i) {
        if (auto *info = dynamic_cast<TVDTablePrintInfo *>(f.Data().DrawItems[i])) {
            return info;
        }
    }
    return nullptr;
}

TVDFootnoteItemInfo &AddCellFootnote(TVDTableItemInfo &table, int32_t row, int32_t col,
                                     const std::u16string &text) {
    return AddNote<TVDFootnoteItemInfo>(*table.GetCells(row, col), [&](TVDFootnoteItemInfo &note) {
        note.GetDocument().AddNL(text, 0, 0);
    });
}

int32_t FootnotePage(TPrintFixture &f, const TVDFootnoteItemInfo &note) {
    const TVDFootnotePtblVDData *printed = f.Print.GetVD().GetFootnoteVDData(&note);
    for (int32_t p = 1; p <= f.Data().GetPagesCount(); ++p) {
        const TVDFootnoteRefList *list = f.Data().Pages->Items(p - 1).FootnoteVDDataList.get();
        if (printed && list && std::find(list->begin(), list->end(), printed) != list->end()) {
            return p;
        }
    }
    return 0;
}

int32_t RowPage(const std::vector<std::vector<std::string>> &labels, const std::string &row) {
    for (size_t p = 0; p < labels.size(); ++p) {
        if (std::find(labels[p].begin(), labels[p].end(), row) != labels[p].end()) {
            return int32_t(p) + 1;
        }
    }
    return 0;
}

} // namespace vizivodu::test
