// Searching a formatted document: within items or across the items of a line, forwards or
// backwards, with or without case and whole words, down into sub-documents.
//
// The search works on UTF-16 text: an 8-bit item is converted with its code page and an 8-bit
// search string with the document's default code page, so that an item of any form is matched
// by a string of any form without the losses of a conversion to 8 bits. Positions found are
// converted back to item characters (code units of a Unicode item, bytes of an 8-bit one).
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/VDItem.h"
#include "vizivodu/document/VDUnicode.h"

#include "platform/rtl/CodePages.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace vizivodu {

namespace {

constexpr int32_t StyleNoTab = -12;

// The upper case of every UTF-16 code unit, made once: a search that ignores case maps each
// unit through it instead of asking the Unicode tables per character. Surrogates (and the few
// characters whose upper case is not one unit) stay as they are.
const std::vector<char16_t> &UpperCaseTable() {
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> t(0x10000);
        for (size_t c = 0; c < t.size(); ++c) {
            t[c] = char16_t(c);
            if (c < 0xD800 || c >= 0xE000) {
                const std::u16string upper = rtl::AnsiUpperCase(std::u16string(1, char16_t(c)));
                t[c] = upper.size() == 1 ? upper[0] : char16_t(c);
            }
        }
        return t;
    }();
    return table;
}

std::u16string UpperCased(std::u16string text) {
    const std::vector<char16_t> &table = UpperCaseTable();
    for (char16_t &c : text) {
        c = table[c];
    }
    return text;
}

// One piece of the text searched: where its characters come from.
struct TSearchPiece {
    int32_t ItemNo;
    int32_t StartOffs;   // item offset of the piece's first character (0 for a tab item)
    std::u16string Text; // in search form
    bool Tab = false;
};

// Searches the sub-documents of item from first on in the order of next: the first one with
// options as they are (a chosen cell continues from its selection), the others from their
// start.
bool SearchSubDocumentsOf(TCustomVDItemInfo &item, TVDSubVDDataPos first, TVDSubVDDataPos next,
                          TVDSearchOptions options, const std::u16string &s) {
    std::unique_ptr<TVDStoreSubVDData> state;
    for (TCustomVDData *sub = item.GetSubVDData(state, first); sub;
         sub = item.GetSubVDData(state, next)) {
        auto *formatted = dynamic_cast<TCustomVDFormattedData *>(sub);
        if (formatted && formatted->SearchTextR(options, true, StringToRawUnicode(s))) {
            return true;
        }
        options.Include(vdsroFromStart);
    }
    return false;
}

class TVDSearcher {
public:
    TVDSearcher(TCustomVDFormattedData &vdData, TVDSearchOptions options, std::u16string s)
        : D(vdData), Down(options.Contains(vdsroDown)), MatchCase(options.Contains(vdsroMatchCase)),
          WholeWord(options.Contains(vdsroWholeWord)), MultiItem(options.Contains(vdsroMultiItem)),
          Options(options), S(std::move(s)) {}

    bool Run(int32_t strt, int32_t offs, int32_t skipItemNo);

private:
    std::u16string SearchForm(std::u16string text) const {
        return MatchCase ? text : UpperCased(std::move(text));
    }
    // The item's characters [first, first + count) in search form; count < 0: to the end.
    std::u16string ItemText(int32_t itemNo, int32_t first, int32_t count);
    // Item characters in the first units of piece (an 8-bit item counts its bytes).
    int32_t ItemChars(const TSearchPiece &piece, size_t units);
    bool IsWholeWord(const std::u16string &text, size_t pos) const;
    // 0-based position of the first (down) or last (up) hit in text; npos when none.
    size_t Find(const std::u16string &text) const;
    size_t FindFirst(const std::u16string &text, size_t from) const;
    // Selects the hit at pos in the pieces' concatenated text.
    void SelectHit(size_t pos);
    bool SearchPieces();
    bool SearchItem(int32_t itemNo);
    bool SearchSubDocuments(int32_t itemNo, TVDSubVDDataPos first, TVDSubVDDataPos next);
    void AddPiece(TSearchPiece piece);
    bool PieceDone(TSearchPiece piece);

    TCustomVDFormattedData &D;
    bool Down, MatchCase, WholeWord, MultiItem;
    TVDSearchOptions Options;
    std::u16string S;
    std::vector<TSearchPiece> Pieces; // the run of a multi-item search, in document order
};

std::u16string TVDSearcher::ItemText(int32_t itemNo, int32_t first, int32_t count) {
    const TVDRawByteString raw = D.GetItemTextR(itemNo);
    const TCustomVDItemInfo &item = *D.GetItem(itemNo);
    std::u16string text;
    if (item.ItemOptions.Contains(vdioUnicode)) {
        text = RawUnicodeToString(raw);
    } else {
        const size_t from = std::min(raw.size(), size_t(std::max(first, 0)));
        const size_t n = count < 0 ? std::string::npos : size_t(count);
        return SearchForm(
            rtl::AnsiToUnicode(std::string_view(raw).substr(from, n), D.GetItemCodePage(itemNo)));
    }
    const size_t from = std::min(text.size(), size_t(std::max(first, 0)));
    return SearchForm(text.substr(from, count < 0 ? std::u16string::npos : size_t(count)));
}

int32_t TVDSearcher::ItemChars(const TSearchPiece &piece, size_t units) {
    if (piece.Tab) {
        return int32_t(std::min<size_t>(units, 1));
    }
    if (D.GetItem(piece.ItemNo)->ItemOptions.Contains(vdioUnicode)) {
        return int32_t(units);
    }
    // Upper-casing keeps the length, so the prefix of the search form stands for the item's.
    const std::u16string prefix = ItemText(piece.ItemNo, piece.StartOffs - 1, -1).substr(0, units);
    return int32_t(rtl::UnicodeToAnsi(prefix, D.GetItemCodePage(piece.ItemNo)).size());
}

bool TVDSearcher::IsWholeWord(const std::u16string &text, size_t pos) const {
    const size_t end = pos + S.size();
    return (pos == 0 || D.IsDelimiterW(text[pos - 1])) &&
           (end >= text.size() || D.IsDelimiterW(text[end]));
}

size_t TVDSearcher::FindFirst(const std::u16string &text, size_t from) const {
    for (size_t pos = text.find(S, from); pos != std::u16string::npos;
         pos = text.find(S, pos + 1)) {
        if (!WholeWord || IsWholeWord(text, pos)) {
            return pos;
        }
    }
    return std::u16string::npos;
}

size_t TVDSearcher::Find(const std::u16string &text) const {
    size_t hit = FindFirst(text, 0);
    if (Down) {
        return hit;
    }
    // The last of the first occurrences found one after another (overlapping ones count).
    for (size_t next = hit; next != std::u16string::npos; next = FindFirst(text, next + 1)) {
        hit = next;
    }
    return hit;
}

void TVDSearcher::SelectHit(size_t pos) {
    const size_t end = pos + S.size();
    size_t pieceStart = 0;
    int32_t startItem = -1, startOffs = 0, endItem = -1, endOffs = 0;
    for (const TSearchPiece &p : Pieces) {
        const size_t pieceEnd = pieceStart + p.Text.size();
        if (startItem < 0 && pos < pieceEnd) {
            startItem = p.ItemNo;
            startOffs = p.StartOffs + ItemChars(p, pos - pieceStart);
        }
        if (end <= pieceEnd) {
            endItem = p.ItemNo;
            endOffs = p.StartOffs + ItemChars(p, end - pieceStart);
            break;
        }
        pieceStart = pieceEnd;
    }
    D.SrchSelectIt(startItem, startOffs, endItem, endOffs, !Down);
}

bool TVDSearcher::SearchPieces() {
    std::u16string joined;
    if (Pieces.size() > 1) {
        for (const TSearchPiece &p : Pieces) {
            joined += p.Text;
        }
    }
    const std::u16string &text = Pieces.size() == 1 ? Pieces[0].Text : joined;
    const size_t pos = text.empty() ? std::u16string::npos : Find(text);
    if (pos == std::u16string::npos) {
        Pieces.clear();
        return false;
    }
    SelectHit(pos);
    return true;
}

void TVDSearcher::AddPiece(TSearchPiece piece) {
    if (Down) {
        Pieces.push_back(std::move(piece));
    } else {
        Pieces.insert(Pieces.begin(), std::move(piece));
    }
}

// A piece of one item: a run piece, or searched at once without multi-item search.
bool TVDSearcher::PieceDone(TSearchPiece piece) {
    if (MultiItem) {
        AddPiece(std::move(piece));
        return false;
    }
    Pieces.assign(1, std::move(piece));
    const bool found = SearchPieces();
    Pieces.clear();
    return found;
}

bool TVDSearcher::SearchSubDocuments(int32_t itemNo, TVDSubVDDataPos first, TVDSubVDDataPos next) {
    return SearchSubDocumentsOf(*D.GetItem(itemNo), first, next, Options, S);
}

bool TVDSearcher::SearchItem(int32_t itemNo) {
    TCustomVDItemInfo *item = D.GetItem(itemNo);
    if (item->StyleNo == StyleNoTab) {
        if (MultiItem) {
            AddPiece({itemNo, 0, u"\t", true});
            return false;
        }
        if (S == u"\t") {
            D.SrchSelectIt(itemNo, 0, itemNo, 1, !Down);
            return true;
        }
        return false;
    }
    if (!item->IsText()) {
        if (MultiItem && SearchPieces()) {
            return true;
        }
        return Down ? SearchSubDocuments(itemNo, vddFirst, vddNext)
                    : SearchSubDocuments(itemNo, vddLast, vddPrev);
    }
    return PieceDone({itemNo, 1, ItemText(itemNo, 0, -1)});
}

bool TVDSearcher::Run(int32_t strt, int32_t offs, int32_t skipItemNo) {
    const int32_t count = D.ItemCount();
    const int32_t step = Down ? 1 : -1;
    int32_t i = strt;
    if (i == skipItemNo) {
        i += step;
    } else if (D.GetItem(i)->IsText() && !D.IsItemHiddenInView(i)) {
        // The rest of the start item in the direction of the search.
        const TSearchPiece piece = Down ? TSearchPiece{i, offs, ItemText(i, offs - 1, -1)}
                                        : TSearchPiece{i, 1, ItemText(i, 0, offs - 1)};
        if (PieceDone(piece)) {
            return true;
        }
        if (!Down && MultiItem && (i == 0 || D.IsVisibleFromNewLine(i)) && SearchPieces()) {
            return true;
        }
        i += step;
    }
    for (; i >= 0 && i < count; i += step) {
        if (D.IsItemHiddenInView(i)) {
            continue;
        }
        if (Down && MultiItem && D.IsVisibleFromNewLine(i) && SearchPieces()) {
            return true;
        }
        if (SearchItem(i)) {
            return true;
        }
        if (!Down && MultiItem && (i == 0 || D.IsVisibleFromNewLine(i)) && SearchPieces()) {
            return true;
        }
    }
    return Down && MultiItem && SearchPieces();
}

// The search string in UTF-16.
std::u16string SearchString(TCustomVDFormattedData &d, bool unicode, const TVDRawByteString &s) {
    if (unicode) {
        return RawUnicodeToString(s.substr(0, s.size() & ~size_t(1)));
    }
    return rtl::AnsiToUnicode(s, d.GetDefaultCodePage());
}

} // namespace

void TCustomVDFormattedData::SrchStart(bool down, bool fromStart, bool smartStart, int32_t &strt,
                                       int32_t &offs) {
    int32_t startNo, endNo, startOffs, endOffs;
    GetSelBounds(startNo, endNo, startOffs, endOffs, false);
    const bool selected = startNo >= 0 && endNo >= 0 && (startNo != endNo || startOffs != endOffs);
    if (fromStart) {
        strt = down ? GetFirstVisibleItemNo() : GetLastVisibleItemNo();
        offs = strt < 0 ? 0 : down ? GetOffsBeforeItem(strt) : GetOffsAfterItem(strt) + 1;
    } else if (selected && !smartStart) {
        DrawItem2Item(endNo, endOffs, strt, offs);
    } else if (selected) {
        StoreSelBounds(startNo, endNo, startOffs, endOffs, true);
        if (down) {
            strt = startNo;
            offs = startOffs + 1;
            if (startOffs >= GetOffsAfterItem(startNo) && startNo + 1 < ItemCount()) {
                strt = startNo + 1;
                offs = GetOffsBeforeItem(strt) + 1;
            }
        } else {
            strt = endNo;
            offs = endOffs - 1;
            if (endOffs <= GetOffsBeforeItem(endNo) && endNo > 0) {
                strt = endNo - 1;
                offs = GetOffsAfterItem(strt) - 1;
            }
        }
    } else {
        strt = down ? GetFirstItemVisible() : GetLastItemVisible();
        offs = strt < 0 ? 0 : down ? GetOffsBeforeItem(strt) : GetOffsAfterItem(strt) + 1;
    }
    strt = std::max(strt, 0);
}

void TCustomVDFormattedData::SrchSelectIt(int32_t startItemNo, int32_t startOffs, int32_t endItemNo,
                                          int32_t endOffs, bool invert) {
    DeselectPartiallySelectedItem(nullptr);
    if (invert) {
        RestoreSelBounds(endItemNo, startItemNo, endOffs, startOffs, false);
    } else {
        RestoreSelBounds(startItemNo, endItemNo, startOffs, endOffs, false);
    }
    const int32_t first = std::min(FSelStartNo, FSelEndNo);
    if (first >= 0 && first < DrawItems.Count()) {
        const TVDDrawLineInfo &di = *DrawItems[first];
        ShowRectangle(di.Left, GetTransformedDItemTop(first), di.Width, di.Height);
    }
    DoOnSelection(true);
    DoSelect();
    Invalidate();
}

bool TCustomVDFormattedData::SearchTextR(TVDSearchOptions options, bool unicode,
                                         const TVDRawByteString &s) {
    const std::u16string text = SearchString(*this, unicode, s);
    if (text.empty() || ItemCount() == 0) {
        return false;
    }
    const bool down = options.Contains(vdsroDown);
    const std::u16string form = options.Contains(vdsroMatchCase) ? text : UpperCased(text);
    int32_t skip = -1;
    TCustomVDItemInfo *current = GetChosenItem() ? GetChosenItem() : FPartialSelectedItem;
    if (!options.Contains(vdsroFromStart) && current) {
        skip = GetItemNo(current);
        if (down ? SearchSubDocumentsOf(*current, vddChosenDown, vddNext, options, form)
                 : SearchSubDocumentsOf(*current, vddChosenUp, vddPrev, options, form)) {
            return true;
        }
    }
    int32_t strt = 0, offs = 0;
    SrchStart(down, options.Contains(vdsroFromStart), options.Contains(vdsroSmartStart), strt,
              offs);
    if (strt >= ItemCount()) {
        return false;
    }
    return TVDSearcher(*this, options, form).Run(strt, offs, skip);
}

} // namespace vizivodu
