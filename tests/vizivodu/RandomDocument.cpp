// Random documents for property tests (see RandomDocument.h).
#include "tests/vizivodu/RandomDocument.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/gfx/Bitmap.h"

#include <random>

namespace vizivodu::test {

namespace {

constexpr const char16_t *kRussian[] = {
    u"Электрокардиограмма", u"ритм",     u"синусовый", u"частота", u"сердечных",
    u"сокращений",          u"интервал", u"отведение", u"ёжик",    u"Ю"};
constexpr const char16_t *kLatin[] = {u"lead", u"rhythm",  u"sinus",       u"rate", u"QRS",
                                      u"axis", u"{brace}", u"back\\slash", u"wave", u"T"};

class TMaker {
public:
    TMaker(uint32_t seed, const TRandomDocumentKinds &kinds) : FRandom(seed), FKinds(kinds) {}

    void Fill(TCustomVDData &doc, int32_t nesting);

private:
    int32_t Below(int32_t n) { return static_cast<int32_t>(FRandom() % uint32_t(n)); }
    bool Chance(int32_t percent) { return Below(100) < percent; }
    std::u16string Words();
    void AddParagraph(TCustomVDData &doc, int32_t nesting);
    void AddRun(TCustomVDData &doc, int32_t paraNo);
    void AddPicture(TCustomVDData &doc);
    void AddNote(TCustomVDData &doc);
    void AddTable(TCustomVDData &doc, int32_t nesting);

    std::mt19937 FRandom;
    TRandomDocumentKinds FKinds;
};

std::u16string TMaker::Words() {
    std::u16string s;
    const int32_t n = 1 + Below(6);
    for (int32_t i = 0; i < n; ++i) {
        if (!s.empty()) {
            s += u' ';
        }
        s += Chance(60) ? kRussian[Below(10)] : kLatin[Below(10)];
    }
    return s;
}

void TMaker::AddRun(TCustomVDData &doc, int32_t paraNo) {
    doc.AddNL(Words(), Below(7), paraNo);
}

void TMaker::AddPicture(TCustomVDData &doc) {
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetPixelFormat(gfx::pf24bit);
    bitmap->SetSize(2 + Below(6), 2 + Below(6));
    auto item = std::make_unique<TVDGraphicItemInfo>(&doc, std::move(bitmap), vdvaBaseline);
    item->ParaNo = -1;
    doc.AddItem(u"", std::move(item));
}

void TMaker::AddNote(TCustomVDData &doc) {
    const std::u16string text = Words();
    auto fill = [&](TCustomVDNoteItemInfo &note) { note.GetDocument().AddNL(text, 0, 0); };
    if (Chance(50)) {
        test::AddNote<TVDFootnoteItemInfo>(doc, [&](TVDFootnoteItemInfo &n) { fill(n); });
    } else {
        test::AddNote<TVDEndnoteItemInfo>(doc, [&](TVDEndnoteItemInfo &n) { fill(n); });
    }
}

void TMaker::AddTable(TCustomVDData &doc, int32_t nesting) {
    const int32_t rows = 1 + Below(3);
    const int32_t cols = 1 + Below(3);
    auto table = TVDTableItemInfo::CreateEx(rows, cols, &doc);
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            TVDTableCellData &cell = *table->GetCells(r, c);
            cell.Clear();
            TRandomDocumentKinds inner = FKinds;
            inner.Notes = false;
            TMaker maker(static_cast<uint32_t>(FRandom()), inner);
            maker.Fill(cell, nesting - 1);
        }
    }
    if (rows > 1 && Chance(50) && table->CanMergeCells(0, 0, 1, 2, false)) {
        table->MergeCells(0, 0, 1, 2, false);
    }
    if (cols > 1 && Chance(50) && table->CanMergeCells(rows - 1, 0, 2, 1, false)) {
        table->MergeCells(rows - 1, 0, 2, 1, false);
    }
    doc.AddItem(u"", std::move(table));
}

void TMaker::AddParagraph(TCustomVDData &doc, int32_t nesting) {
    const int32_t paraNo = Below(5);
    const int32_t kind = Below(100);
    if (FKinds.Tables && nesting > 0 && kind < 8) {
        AddTable(doc, nesting);
        return;
    }
    if (FKinds.Breaks && kind < 12) {
        doc.AddBreak();
        return;
    }
    if (FKinds.Lists && kind < 30) {
        auto marker = std::make_unique<TVDMarkerItemInfo>(&doc, 0, Below(3), 5, Chance(20));
        marker->ParaNo = paraNo;
        doc.AddItem(u"", std::move(marker));
        AddRun(doc, -1);
    } else {
        AddRun(doc, paraNo);
    }
    const int32_t extra = Below(4);
    for (int32_t i = 0; i < extra; ++i) {
        const int32_t what = Below(100);
        if (what < 25) {
            doc.AddTab(Below(7), -1);
        } else if (what < 40) {
            AddRun(doc, -1);
            doc.GetItem(doc.ItemCount() - 1)->SetBR(true);
            continue;
        } else if (FKinds.Pictures && what < 50) {
            AddPicture(doc);
        } else if (FKinds.Notes && what < 60) {
            AddNote(doc);
        }
        AddRun(doc, -1);
    }
}

void TMaker::Fill(TCustomVDData &doc, int32_t nesting) {
    const int32_t paragraphs = 1 + Below(nesting >= 2 ? 12 : 3);
    for (int32_t i = 0; i < paragraphs; ++i) {
        AddParagraph(doc, nesting);
    }
}

} // namespace

void AddRandomDocumentStyles(TVDStyle &style) {
    TFontInfos &texts = style.GetTextStyles();
    const char16_t *fonts[] = {u"Arial", u"Times New Roman", u"Courier New"};
    for (int32_t i = 1; i <= 6; ++i) {
        TFontInfo &t = texts.Add();
        t.SetFontName(fonts[i % 3]);
        t.SetSizeDouble(16 + 4 * i);
        t.SetCharset(204);
        gfx::TFontStyles fs;
        if (i % 2 == 1) {
            fs.Include(gfx::fsBold);
        }
        if (i % 3 == 2) {
            fs.Include(gfx::fsItalic);
        }
        if (i == 4) {
            fs.Include(gfx::fsUnderline);
        }
        t.SetStyle(fs);
        t.SetColor(i == 5 ? gfx::TColor(0x0000C0) : gfx::clWindowText);
        t.SetStyleName(u"Text " + std::u16string(1, char16_t(u'0' + i)));
    }
    TParaInfos &paras = style.GetParaStyles();
    for (int32_t i = 1; i <= 4; ++i) {
        TParaInfo &p = paras.Add();
        p.SetAlignment(static_cast<TVDAlignment>(i % 4));
        p.SetLeftIndent(10 * i);
        p.SetFirstIndent(i == 2 ? 15 : 0);
        p.SetSpaceBefore(2 * i);
        p.SetSpaceAfter(i);
        p.SetStyleName(u"Paragraph " + std::u16string(1, char16_t(u'0' + i)));
    }
    TVDListInfo &list = style.GetListStyles().Add();
    const TVDListType types[] = {vdlstDecimal, vdlstLowerAlpha, vdlstUpperRoman};
    for (int32_t k = 0; k < 3; ++k) {
        TVDListLevel &level = list.GetLevels().Add();
        level.SetListType(types[k]);
        level.SetFormatString(k == 0 ? u"%0:s." : k == 1 ? u"%0:s.%1:s)" : u"(%2:s)");
        level.SetLeftIndent(20 * (k + 1));
        level.SetMarkerIndent(10 * k);
    }
}

void FillRandomDocument(TCustomVDData &doc, uint32_t seed, const TRandomDocumentKinds &kinds,
                        int32_t nesting) {
    TMaker(seed, kinds).Fill(doc, nesting);
}

} // namespace vizivodu::test
