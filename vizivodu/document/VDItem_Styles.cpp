// What items do with the style sheet and their document: the actual text style, hyperlink
// answers, the unused-style bookkeeping and renumbering, insertion notices, the undo hand-over
// and word painters on typing.
#include "vizivodu/document/VDItem.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/editing/VDWordPainter.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

// ---- Actual text style ----

int32_t TCustomVDItemInfo::GetActualTextStyleNo(TCustomVDData *vdData) const {
    int32_t n = IsText() ? StyleNo : GetAssociatedTextStyleNo();
    if (!vdData) {
        return n;
    }
    if (n == StyleNoParaDefault) {
        n = vdData->GetParaDefaultTextStyle(ParaNo);
    }
    return n >= 0 ? vdData->GetStyleFromStyleTemplate(n, ParaNo) : n;
}

int32_t TCustomVDItemInfo::GetActualTextStyleNo(const TVDStyle *vdStyle) const {
    const int32_t n = IsText() ? StyleNo : GetAssociatedTextStyleNo();
    if (vdStyle && n == StyleNoParaDefault) {
        const int32_t def = vdStyle->GetParaStyles().GetItem(ParaNo).GetDefStyleNo();
        return def >= 0 ? def : 0;
    }
    return n;
}

bool TVDTextItemInfo::JumpAnswer(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    if (!vdStyle) {
        return false;
    }
    const int32_t n = GetActualTextStyleNo(vdStyle);
    const bool jump = vdStyle->GetTextStyles().GetItem(n).GetJump();
    if (prop == vdbpHotColdJump) {
        return jump && const_cast<TVDStyle *>(vdStyle)->StyleHoverSensitive(n);
    }
    return jump;
}

// ---- Unused styles ----

TVDDeleteUnusedStylesData::TVDDeleteUnusedStylesData(bool textStyles, bool paraStyles,
                                                     bool listStyles)
    : FUsedTextStyles(std::make_unique<TVDIntegerList>()),
      FUsedParaStyles(std::make_unique<TVDIntegerList>()),
      FUsedListStyles(std::make_unique<TVDIntegerList>()), FTextStyles(textStyles),
      FParaStyles(paraStyles), FListStyles(listStyles) {}

TVDDeleteUnusedStylesData::~TVDDeleteUnusedStylesData() = default;

void TVDDeleteUnusedStylesData::MarkUsed(TVDIntegerList &flags, int32_t index) {
    if (index >= 0 && index < flags.GetCount()) {
        flags.Put(index, 1);
    }
}

void TVDDeleteUnusedStylesData::Renumber(const TVDIntegerList &shifts, int32_t &index) {
    if (index >= 0 && index < shifts.GetCount()) {
        index = index - shifts.Get(index) + 1;
    }
}

int32_t TVDDeleteUnusedStylesData::RenumberReference(const TVDIntegerList &shifts, int32_t r) {
    if (r < 0) {
        return r;
    }
    if (r >= shifts.GetCount()) {
        return -1;
    }
    return r - shifts.Get(r) + 1;
}

void TVDDeleteUnusedStylesData::Init(TVDStyle &vdStyle) {
    if (FInitialized) {
        return;
    }
    FInitialized = true;
    FUsedTextStyles->InitWith(FTextStyles ? 0 : 1, vdStyle.GetTextStyles().GetCount());
    FUsedParaStyles->InitWith(FParaStyles ? 0 : 1, vdStyle.GetParaStyles().GetCount());
    FUsedListStyles->InitWith(FListStyles ? 0 : 1, vdStyle.GetListStyles().GetCount());
    if (FTextStyles && vdStyle.GetDefUnicodeStyle() >= 0) {
        if (vdStyle.GetDefUnicodeStyle() < FUsedTextStyles->GetCount()) {
            MarkUsed(*FUsedTextStyles, vdStyle.GetDefUnicodeStyle());
        } else {
            vdStyle.SetDefUnicodeStyle(-1);
        }
    }
    auto markStandard = [](bool cleaned, TVDIntegerList &flags, const TCustomVDInfos &infos) {
        if (!cleaned) {
            return;
        }
        for (int32_t i = 0; i < infos.GetCount(); ++i) {
            if (infos.GetInfo(i)->GetStandard()) {
                MarkUsed(flags, i);
            }
        }
    };
    markStandard(FTextStyles, *FUsedTextStyles, vdStyle.GetTextStyles());
    markStandard(FParaStyles, *FUsedParaStyles, vdStyle.GetParaStyles());
    markStandard(FListStyles, *FUsedListStyles, vdStyle.GetListStyles());
}

namespace {

// Flags to shifts (a used entry gets 1 + the unused entries before it), then frees the unused
// styles from the last to the first.
void FlagsToShifts(TVDIntegerList &flags, TCustomVDInfos &infos) {
    int32_t value = 1;
    for (int32_t i = 0; i < flags.GetCount(); ++i) {
        if (flags.Get(i) != 0) {
            flags.Put(i, value);
        } else {
            ++value;
        }
    }
    for (int32_t i = std::min(flags.GetCount(), infos.GetCount()) - 1; i >= 0; --i) {
        if (flags.Get(i) == 0) {
            infos.Delete(i);
        }
    }
}

} // namespace

void TVDDeleteUnusedStylesData::ConvertFlagsToShifts(TVDStyle &vdStyle) {
    if (FConvertedToShifts) {
        return;
    }
    FConvertedToShifts = true;
    TFontInfos &texts = vdStyle.GetTextStyles();
    TParaInfos &paras = vdStyle.GetParaStyles();
    TVDListInfos &lists = vdStyle.GetListStyles();
    if (FTextStyles) {
        FlagsToShifts(*FUsedTextStyles, texts);
        for (int32_t i = 0; i < texts.GetCount(); ++i) {
            TFontInfo &t = texts.GetItem(i);
            t.SetBaseStyleNo(RenumberReference(*FUsedTextStyles, t.GetBaseStyleNo()));
            t.SetNextStyleNo(RenumberReference(*FUsedTextStyles, t.GetNextStyleNo()));
        }
        if (vdStyle.GetDefUnicodeStyle() >= 0) {
            vdStyle.SetDefUnicodeStyle(
                RenumberReference(*FUsedTextStyles, vdStyle.GetDefUnicodeStyle()));
        }
    }
    if (FParaStyles) {
        FlagsToShifts(*FUsedParaStyles, paras);
        for (int32_t i = 0; i < paras.GetCount(); ++i) {
            TParaInfo &p = paras.GetItem(i);
            p.SetBaseStyleNo(RenumberReference(*FUsedParaStyles, p.GetBaseStyleNo()));
            p.SetNextParaNo(RenumberReference(*FUsedParaStyles, p.GetNextParaNo()));
        }
    }
    if (FTextStyles) {
        for (int32_t i = 0; i < paras.GetCount(); ++i) {
            TParaInfo &p = paras.GetItem(i);
            p.SetDefStyleNo(RenumberReference(*FUsedTextStyles, p.GetDefStyleNo()));
        }
    }
    if (FListStyles) {
        FlagsToShifts(*FUsedListStyles, lists);
        for (int32_t i = 0; i < lists.GetCount(); ++i) {
            TVDListInfo &l = lists.GetItem(i);
            l.SetBaseStyleNo(RenumberReference(*FUsedListStyles, l.GetBaseStyleNo()));
        }
    }
}

void TCustomVDItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TVDDeleteUnusedStylesData::MarkUsed(data.UsedParaStyles(), ParaNo);
}

void TCustomVDItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TVDDeleteUnusedStylesData::Renumber(data.UsedParaStyles(), ParaNo);
}

void TVDTextItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TCustomVDItemInfo::MarkStylesInUse(data);
    TVDDeleteUnusedStylesData::MarkUsed(data.UsedTextStyles(), StyleNo);
}

void TVDTextItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TCustomVDItemInfo::UpdateStyles(data);
    TVDDeleteUnusedStylesData::Renumber(data.UsedTextStyles(), StyleNo);
}

void TCustomVDItemInfo::ChangeParagraphStyles(const TVDIntegerList *paraMapList,
                                              const TVDIntegerList *newIndices,
                                              TVDIntegerList *oldIndices, int32_t &index) {
    if (ParaNo < 0) {
        return;
    }
    if (oldIndices) {
        oldIndices->Add(ParaNo);
    }
    ParaNo = paraMapList ? paraMapList->Get(ParaNo) : newIndices->Get(index);
    ++index;
}

void TCustomVDItemInfo::ChangeTextStyles(const TVDIntegerList *textMapList,
                                         const TVDIntegerList *newIndices,
                                         TVDIntegerList *oldIndices, int32_t &index) {
    const int32_t old = IsText() ? StyleNo : GetAssociatedTextStyleNo();
    if (old == StyleNoParaDefault || (!IsText() && old < 0)) {
        return;
    }
    if (oldIndices) {
        oldIndices->Add(old);
    }
    const int32_t value = textMapList ? textMapList->Get(old) : newIndices->Get(index);
    if (IsText()) {
        StyleNo = value;
    } else {
        SetAssociatedTextStyleNo(value);
    }
    ++index;
}

// ---- The document's notices ----

void TCustomVDItemInfo::Inserting(TCustomVDData *vdData, TVDRawByteString &text, bool) {
    if (vdData) {
        vdData->ItemAction(vdiaInserting, *this, text, *vdData);
    }
}

void TCustomVDItemInfo::Inserted(TCustomVDData *vdData, int32_t) {
    if (vdData) {
        UpdateAnimator(vdData);
        TVDRawByteString none;
        vdData->ItemAction(vdiaInserted, *this, none, *vdData);
    }
}

void TCustomVDItemInfo::MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) {
    if (vdData) {
        TVDRawByteString text = vdData->GetItemTextR(itemNo);
        vdData->ItemAction(vdiaMovingToUndoList, *this, text, *vdData);
    }
    ClearWordPainters(0);
}

bool TCustomVDItemInfo::AdjustWordPaintersOnInsert(int32_t index, const rtl::UnicodeString &text,
                                                   char16_t ch, TCustomVDData *vdData) {
    const bool delim = vdData && vdData->IsDelimiterW(ch);
    const int32_t extra = delim ? 0 : 1;
    const bool apostrophe = !delim && index >= 2 &&
                            static_cast<int32_t>(text.size()) >= index - 1 &&
                            (text[static_cast<size_t>(index - 2)] == u'\'' ||
                             text[static_cast<size_t>(index - 2)] == 0x2019);
    const int32_t reach = apostrophe ? 2 : extra;
    bool removed = false;
    if (WordPaintList) {
        for (int32_t i = WordPaintList->Count() - 1; i >= 0; --i) {
            TVDWordPainter &p = WordPaintList->Get(i);
            if (index >= p.StartOffs + p.Length + reach) {
                continue;
            }
            if (p.StartOffs < index + extra) {
                WordPaintList->Delete(i);
                removed = true;
            } else {
                ++p.StartOffs;
            }
        }
        if (WordPaintList->Count() == 0) {
            WordPaintList.reset();
        }
    }
    return delim || removed;
}

} // namespace vizivodu
