// Style records and collections: assignment, duplicates, unit conversion and merging.
#include "vizivodu/styles/VDStyle_Records.h"

#include "platform/rtl/StringList.h"
#include "vizivodu/styles/VDDataHooks.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

namespace vizivodu {

// ---- TCustomVDInfo ------------------------------------------------------------------------

TCustomVDInfo::TCustomVDInfo(TVDCollection *collection) : TVDCollectionItem(collection) {}

void TCustomVDInfo::Assign(const rtl::TPersistent &source) {
    const auto *info = dynamic_cast<const TCustomVDInfo *>(&source);
    if (!info) {
        TVDCollectionItem::Assign(source);
        return;
    }
    FStyleName = info->FStyleName;
    FBaseStyleNo = info->FBaseStyleNo;
    FStandard = info->FStandard;
}

TVDStyle *TCustomVDInfo::GetVDStyle() const {
    const auto *infos = dynamic_cast<const TCustomVDInfos *>(GetCollection());
    return infos ? infos->GetOwner() : nullptr;
}

bool TCustomVDInfo::IsSimpleEqual(const TCustomVDInfo &, TVDSimpleEqualOptions) const {
    return false;
}

bool TCustomVDInfo::IsSimpleEqualEx(TCustomVDInfo &, const TVDIntegerList &) const {
    return false;
}

int32_t TCustomVDInfo::SimilarityValue(const TCustomVDInfo &) const {
    return 0;
}

void TCustomVDInfo::Reset() {
    FBaseStyleNo = -1;
}

void TCustomFontOrParaVDInfo::Assign(const rtl::TPersistent &source) {
    if (const auto *info = dynamic_cast<const TCustomFontOrParaVDInfo *>(&source)) {
        FStyleTemplateId = info->FStyleTemplateId;
    }
    TCustomVDInfo::Assign(source);
}

// ---- TCustomVDInfos -----------------------------------------------------------------------

void TCustomVDInfos::AssignTo(rtl::TStrings &dest) const {
    dest.Clear();
    for (Integer i = 0; i < GetCount(); ++i) {
        dest.Add(GetInfo(i)->GetStyleName());
    }
}

void TCustomVDInfos::ConvertToDifferentUnits(TVDStyleUnits newUnits) {
    for (Integer i = 0; i < GetCount(); ++i) {
        GetInfo(i)->ConvertToDifferentUnits(newUnits);
    }
}

Integer TCustomVDInfos::FindDuplicate(Integer index) const {
    if (GetCount() == 0) {
        return -1;
    }
    const TCustomVDInfo *style = GetInfo(index);
    for (Integer j = 0; j < GetCount(); ++j) {
        if (j == index) {
            continue;
        }
        const TCustomVDInfo *other = GetInfo(j);
        if (const auto *text = dynamic_cast<const TCustomVDFontInfo *>(other)) {
            if (text->IsEqual(static_cast<const TCustomVDFontInfo &>(*style), {})) {
                return j;
            }
        } else if (const auto *para = dynamic_cast<const TCustomVDParaInfo *>(other)) {
            if (para->IsEqual(static_cast<const TCustomVDParaInfo &>(*style), {})) {
                return j;
            }
        } else {
            return -1;
        }
    }
    return -1;
}

TCustomVDInfo *TCustomVDInfos::AppendCopy(const TCustomVDInfo &source, TCustomVDDataHooks *vdData) {
    auto *item = static_cast<TCustomVDInfo *>(Add());
    item->Assign(source);
    if (vdData) {
        vdData->AfterAddStyle(*item);
    }
    return item;
}

void TCustomVDInfos::MergeWith(TCustomVDInfos &source, TVDStyleMergeMode mode,
                               TVDIntegerList &mapping, const TVDIntegerList *textStyleMapping,
                               TCustomVDDataHooks *vdData) {
    mapping.Clear();
    mapping.SetCapacity(source.GetCount());
    const Integer oldCount = GetCount();
    try {
        switch (mode) {
        case vds_merge_SmartMerge:
            SmartMerge(source, mapping, vdData);
            break;
        case vds_merge_Map:
            MapMerge(source, mapping);
            break;
        case vds_merge_Append:
            AppendMerge(source, mapping, vdData);
            break;
        }
        RenumberAppended(oldCount, mapping, textStyleMapping);
    } catch (...) {
        // All or nothing: a bad reference must not leave half a merge in the sheet.
        while (GetCount() > oldCount) {
            Delete(GetCount() - 1);
        }
        mapping.Clear();
        throw;
    }
}

void TCustomVDInfos::SmartMerge(TCustomVDInfos &source, TVDIntegerList &mapping,
                                TCustomVDDataHooks *vdData) {
    TVDIntegerList numberedListTargets;
    for (Integer i = 0; i < source.GetCount(); ++i) {
        TCustomVDInfo &style = *source.GetInfo(i);
        const auto *list = dynamic_cast<const TVDListInfo *>(&style);
        const bool numbered = list && list->HasNumbering();
        auto qualifies = [&](Integer target) {
            return GetInfo(target)->IsSimpleEqualEx(style, mapping) &&
                   !(list && numberedListTargets.IndexOf(target) >= 0);
        };
        Integer target = -1;
        if (!(MergeKeepsNumberedListsApart && numbered)) {
            if (i < GetCount() && qualifies(i)) {
                target = i;
            }
            for (Integer j = 0; target < 0 && j < GetCount(); ++j) {
                if (qualifies(j)) {
                    target = j;
                }
            }
        }
        if (target < 0) {
            target = GetCount();
            TCustomVDInfo *item = AppendCopy(style, nullptr);
            if (list) {
                static_cast<TVDListInfo *>(item)->SetListID(list->GetListID());
            }
            if (vdData) {
                vdData->AfterAddStyle(*item);
            }
        }
        mapping.Add(target);
        if (numbered) {
            numberedListTargets.Add(target);
        }
    }
}

void TCustomVDInfos::MapMerge(const TCustomVDInfos &source, TVDIntegerList &mapping) const {
    for (Integer i = 0; i < source.GetCount(); ++i) {
        const TCustomVDInfo &style = *source.GetInfo(i);
        Integer best = -1;
        int32_t bestScore = 0;
        auto pass = [&](auto &&candidate) {
            for (Integer c = 0; c < GetCount(); ++c) {
                if (!candidate(*GetInfo(c))) {
                    continue;
                }
                const int32_t score = GetInfo(c)->SimilarityValue(style);
                if (best < 0 || score > bestScore) {
                    best = c;
                    bestScore = score;
                }
            }
        };
        if (const auto *text = dynamic_cast<const TFontInfo *>(&style)) {
            // Hypertext keeps to hypertext and Unicode to Unicode before anything else.
            auto sameJump = [&](const TCustomVDInfo &c) {
                const auto *t = dynamic_cast<const TFontInfo *>(&c);
                return t && t->GetJump() == text->GetJump();
            };
            auto sameUnicode = [&](const TCustomVDInfo &c) {
                const auto *t = dynamic_cast<const TFontInfo *>(&c);
                return t && t->GetUnicode() == text->GetUnicode();
            };
            pass([&](const TCustomVDInfo &c) { return sameJump(c) && sameUnicode(c); });
            if (best < 0) {
                pass(sameJump);
            }
            if (best < 0) {
                pass(sameUnicode);
            }
        }
        if (best < 0) {
            pass([](const TCustomVDInfo &) { return true; });
        }
        mapping.Add(best);
    }
}

void TCustomVDInfos::AppendMerge(const TCustomVDInfos &source, TVDIntegerList &mapping,
                                 TCustomVDDataHooks *vdData) {
    for (Integer i = 0; i < source.GetCount(); ++i) {
        mapping.Add(GetCount());
        AppendCopy(*source.GetInfo(i), vdData);
    }
}

void TCustomVDInfos::RenumberAppended(Integer oldCount, const TVDIntegerList &mapping,
                                      const TVDIntegerList *textStyleMapping) {
    for (Integer i = oldCount; i < GetCount(); ++i) {
        TCustomVDInfo &item = *GetInfo(i);
        if (MergedStylesAreNonStandard) {
            item.SetStandard(false);
        }
        if (item.GetBaseStyleNo() >= 0) {
            item.SetBaseStyleNo(mapping.Get(item.GetBaseStyleNo()));
        }
        if (auto *text = dynamic_cast<TFontInfo *>(&item)) {
            if (text->GetNextStyleNo() >= 0) {
                text->SetNextStyleNo(mapping.Get(text->GetNextStyleNo()));
            }
        } else if (auto *para = dynamic_cast<TParaInfo *>(&item)) {
            if (para->GetNextParaNo() >= 0) {
                para->SetNextParaNo(mapping.Get(para->GetNextParaNo()));
            }
            if (para->GetDefStyleNo() >= 0 && textStyleMapping) {
                para->SetDefStyleNo(textStyleMapping->Get(para->GetDefStyleNo()));
            }
        }
    }
}

} // namespace vizivodu
