// Multi-line text appended at once: split into paragraphs, line breaks, tab items and page
// breaks.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"

namespace vizivodu {

namespace {

constexpr size_t kProgressThreshold = 1000000; // bytes of text before progress is reported

// Progress of reading a long text: starting, the percentage whenever it changes, ending (also
// when the splitting fails).
class TTextProgress {
public:
    TTextProgress(TCustomVDData &doc, size_t length)
        : FDoc(doc), FLength(length),
          FOn(length > kProgressThreshold && doc.IsAssignedOnProgress()) {
        if (FOn) {
            FDoc.DoProgress(vdloTextRead, vdpstgStarting, 0);
        }
    }
    ~TTextProgress() {
        if (FOn) {
            FDoc.DoProgress(vdloTextRead, vdpstgEnding, 100);
        }
    }
    TTextProgress(const TTextProgress &) = delete;
    TTextProgress &operator=(const TTextProgress &) = delete;

    void Scanned(size_t bytes) {
        if (!FOn) {
            return;
        }
        const int32_t percent = int32_t(uint64_t(bytes) * 100 / FLength);
        if (percent != FPercent) {
            FPercent = percent;
            FDoc.DoProgress(vdloTextRead, vdpstgRunning, percent);
        }
    }

private:
    TCustomVDData &FDoc;
    size_t FLength;
    bool FOn;
    int32_t FPercent = 0;
};

// The add-paragraph mode as it was, put back however the splitting ends.
class TParagraphModeScope {
public:
    explicit TParagraphModeScope(TCustomVDData &doc)
        : FDoc(doc), FMode(doc.GetAddParagraphMode()) {}
    ~TParagraphModeScope() { FDoc.SetAddParagraphMode(FMode); }
    TParagraphModeScope(const TParagraphModeScope &) = delete;
    TParagraphModeScope &operator=(const TParagraphModeScope &) = delete;

private:
    TCustomVDData &FDoc;
    bool FMode;
};

// Where the next piece goes: the paragraph of the first line, then of the others.
struct TSplitState {
    int32_t CurParaNo;
    bool NewPara;
    bool PageBreakPending = false;

    int32_t PieceParaNo() const { return NewPara || PageBreakPending ? CurParaNo : -1; }

    // The item just added opened the paragraph after a form feed: it carries the page break.
    void PlacePageBreak(TCustomVDData &doc) {
        if (PageBreakPending) {
            doc.SetPageBreaksBeforeItems(doc.ItemCount() - 1, true);
            PageBreakPending = false;
        }
    }
};

// Tabs stay as tab items when the style sheet does not turn them into spaces.
bool TabsAsItems(TVDStyle *style) {
    return style && style->GetSpacesInTab() <= 0;
}

} // namespace

bool TCustomVDData::AddTextNLARaw(const TVDAnsiString &s, int32_t styleNo, int32_t firstParaNo,
                                  int32_t otherParaNo, bool asSingleParagraph, bool fromAnsi,
                                  TVDCodePage codePage, const TVDTag &tag) {
    TTextProgress progress(*this, s.size());
    const TParagraphModeScope mode(*this);
    TVDStyle *style = GetVDStyle();
    const bool tabsAsItems = TabsAsItems(style);
    const bool unicodeStyle = style && styleNo >= 0 && styleNo != StyleNoParaDefault &&
                              styleNo < style->GetTextStyles().GetCount() &&
                              style->GetTextStyles().GetItem(styleNo).GetUnicode();
    TSplitState state{firstParaNo, firstParaNo >= 0};
    const auto addPiece = [&](size_t from, size_t to) {
        if (to == from && !state.NewPara) {
            return;
        }
        const TVDAnsiString piece = s.substr(from, to - from);
        const int32_t paraNo = state.PieceParaNo();
        if (!fromAnsi) {
            AddNLRTag(piece, styleNo, paraNo, tag);
        } else if (codePage != 0 && unicodeStyle) {
            AddNLRTag(AnsiToRawUnicode(codePage, piece), styleNo, paraNo, tag);
        } else {
            AddNLATag(piece, styleNo, paraNo, tag);
        }
        state.NewPara = false;
        state.PlacePageBreak(*this);
        if (asSingleParagraph) {
            SetAddParagraphMode(false);
        }
        progress.Scanned(to);
    };
    try {
        size_t start = 0;
        char partner = 0; // the half of a CR LF (LF CR) pair expected next
        for (size_t i = 0; i < s.size(); ++i) {
            const char ch = s[i];
            if (partner != 0 && ch == partner) {
                partner = 0;
                start = i + 1;
                continue;
            }
            partner = 0;
            if (ch != '\n' && ch != '\f' && ch != '\r' && !(ch == '\t' && tabsAsItems)) {
                continue;
            }
            addPiece(start, i);
            start = i + 1;
            if (ch == '\t') {
                AddTab(styleNo, state.NewPara ? state.CurParaNo : -1);
                state.NewPara = false;
                state.PlacePageBreak(*this);
                continue;
            }
            if (ch == '\f') {
                state.PageBreakPending = AllowsPageBreaks();
            } else {
                partner = ch == '\n' ? '\r' : '\n';
            }
            state.NewPara = true;
            state.CurParaNo = otherParaNo;
        }
        addPiece(start, s.size());
    } catch (const rtl::Exception &) {
        return false;
    }
    return true;
}

void TCustomVDData::AddTextNLR(const TVDRawByteString &s, int32_t styleNo, int32_t firstParaNo,
                               int32_t otherParaNo, const TVDTag &tag) {
    AddTextNLARaw(s, styleNo, firstParaNo, otherParaNo, false, false, 0, tag);
}

void TCustomVDData::AddTextNLA(const TVDAnsiString &s, int32_t styleNo, int32_t firstParaNo,
                               int32_t otherParaNo, const TVDTag &tag) {
    AddTextNLARaw(s, styleNo, firstParaNo, otherParaNo, false, true, 0, tag);
}

void TCustomVDData::AddTextBlockNLA(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo,
                                    const TVDTag &tag) {
    AddTextNLARaw(s, styleNo, paraNo, paraNo, true, true, 0, tag);
}

void TCustomVDData::AddTextNLWRaw(const TVDRawByteString &s, int32_t styleNo, int32_t firstParaNo,
                                  int32_t otherParaNo, bool defAsSingleParagraph) {
    CheckUnicodeByteLength(s.size());
    const TParagraphModeScope mode(*this);
    TVDUnicodeString text = RawUnicodeToString(s);
    size_t first = 0;
    if (!text.empty() && text[0] == u'\uFEFF') {
        first = 1;
    } else if (!text.empty() && text[0] == u'\uFFFE') {
        first = 1;
        for (char16_t &ch : text) {
            ch = char16_t((ch << 8) | (ch >> 8));
        }
    }
    if (first == text.size()) {
        if (firstParaNo != -1) {
            AddNLWTagRaw({}, styleNo, firstParaNo, {});
        }
        return;
    }
    TTextProgress progress(*this, s.size());
    const bool tabsAsItems = TabsAsItems(GetVDStyle());
    const bool allowNewPara2 = !defAsSingleParagraph;
    TSplitState state{firstParaNo, firstParaNo >= 0};
    const auto addPiece = [&](size_t from, size_t to) {
        if (to == from && !state.NewPara) {
            return;
        }
        AddNLWTagRaw(StringToRawUnicode(std::u16string_view(text).substr(from, to - from)), styleNo,
                     state.PieceParaNo(), {});
        state.NewPara = false;
        state.PlacePageBreak(*this);
    };
    size_t start = first;
    char16_t partner = 0;
    for (size_t i = first; i < text.size(); ++i) {
        if (i % 500 == 0) {
            progress.Scanned(2 * (i + 1));
        }
        const char16_t ch = text[i];
        if (partner != 0 && ch == partner) {
            partner = 0;
            start = i + 1;
            continue;
        }
        partner = 0;
        if (ch == u'\t' && tabsAsItems) {
            if (i > start) {
                addPiece(start, i);
            }
            AddTab(styleNo, state.NewPara ? state.CurParaNo : -1);
            state.NewPara = false;
            state.PlacePageBreak(*this);
            SetAddParagraphMode(allowNewPara2);
            start = i + 1;
            continue;
        }
        if (ch != u'\n' && ch != u'\r' && ch != u'\v' && ch != u'\f' && ch != u'\u2028' &&
            ch != u'\u2029') {
            continue;
        }
        addPiece(start, i);
        switch (ch) {
        case u'\n':
        case u'\r':
            SetAddParagraphMode(allowNewPara2);
            partner = ch == u'\n' ? u'\r' : u'\n';
            break;
        case u'\f':
            state.PageBreakPending = AllowsPageBreaks();
            break;
        case u'\u2029':
            SetAddParagraphMode(true);
            break;
        default: // VT, LINE SEPARATOR
            SetAddParagraphMode(false);
            break;
        }
        state.CurParaNo = otherParaNo;
        state.NewPara = true;
        start = i + 1;
    }
    addPiece(start, text.size());
}

void TCustomVDData::AddTextNLW(std::u16string_view s, int32_t styleNo, int32_t firstParaNo,
                               int32_t otherParaNo, bool defAsSingleParagraph) {
    AddTextNLWRaw(StringToRawUnicode(s), styleNo, firstParaNo, otherParaNo, defAsSingleParagraph);
}

} // namespace vizivodu
