// Style templates: identifiers, names and kinds, links, application to styles, modified
// properties, and the template collection.
#include "vizivodu/styles/VDStyle_Templates.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>
#include <limits>
#include <set>

namespace vizivodu {

namespace {

[[noreturn]] void RaiseNotValidHere() {
    throw EViziVoduError("This property is not valid here");
}

TVDStyle *SheetOf(const TVDStyleTemplate *owner) {
    const TVDStyleTemplateCollection *templates = owner ? owner->GetTemplates() : nullptr;
    return templates ? templates->GetOwner() : nullptr;
}

// Walks a template and its ancestors, stopping at the root or at a template met before (a
// circle that a damaged file could hold). visit returns false to stop early.
template <class Visit> void WalkChain(const TVDStyleTemplate *start, Visit visit) {
    std::set<const TVDStyleTemplate *> seen;
    for (const TVDStyleTemplate *t = start; t && seen.insert(t).second; t = t->GetParent()) {
        if (!visit(*t)) {
            return;
        }
    }
}

bool IsHeadingName(const UnicodeString &name) {
    for (int i = 1; i <= 9; ++i) {
        if (name == rtl::Format(u"heading %d", {i})) {
            return true;
        }
    }
    return false;
}

} // namespace

// ---- The templates' own styles ------------------------------------------------------------

TVDSTFontInfo::TVDSTFontInfo(TVDStyleTemplate *owner) : TCustomVDFontInfo(nullptr), FOwner(owner) {}
TVDStyle *TVDSTFontInfo::GetVDStyle() const {
    return SheetOf(FOwner);
}
void TVDSTFontInfo::SetStyleTemplateId(TVDStyleTemplateId) {
    RaiseNotValidHere();
}
void TVDSTFontInfo::SetStyleName(const UnicodeString &) {
    RaiseNotValidHere();
}
void TVDSTFontInfo::SetStandard(bool) {
    RaiseNotValidHere();
}
void TVDSTFontInfo::SetBaseStyleNo(int32_t) {
    RaiseNotValidHere();
}

TVDSTParaInfo::TVDSTParaInfo(TVDStyleTemplate *owner) : TCustomVDParaInfo(nullptr), FOwner(owner) {}
TVDStyle *TVDSTParaInfo::GetVDStyle() const {
    return SheetOf(FOwner);
}
void TVDSTParaInfo::SetStyleTemplateId(TVDStyleTemplateId) {
    RaiseNotValidHere();
}
void TVDSTParaInfo::SetStyleName(const UnicodeString &) {
    RaiseNotValidHere();
}
void TVDSTParaInfo::SetStandard(bool) {
    RaiseNotValidHere();
}
void TVDSTParaInfo::SetBaseStyleNo(int32_t) {
    RaiseNotValidHere();
}

TVDSTListInfo::TVDSTListInfo(TVDStyleTemplate *owner) : TVDListInfo(nullptr), FOwner(owner) {}
TVDStyle *TVDSTListInfo::GetVDStyle() const {
    return SheetOf(FOwner);
}
void TVDSTListInfo::SetStyleName(const UnicodeString &) {
    RaiseNotValidHere();
}
void TVDSTListInfo::SetStandard(bool) {
    RaiseNotValidHere();
}
void TVDSTListInfo::SetBaseStyleNo(int32_t) {
    RaiseNotValidHere();
}

// ---- TVDStyleTemplate ---------------------------------------------------------------------

TVDStyleTemplate::TVDStyleTemplate(TVDCollection *collection)
    : TVDCollectionItem(collection), FTextStyle(std::make_unique<TVDSTFontInfo>(this)),
      FParaStyle(std::make_unique<TVDSTParaInfo>(this)),
      FListStyle(std::make_unique<TVDSTListInfo>(this)) {
    TVDStyleTemplateCollection *templates = GetTemplates();
    if (templates && !(templates->GetOwner() && templates->GetOwner()->IsLoading())) {
        templates->AssignUniqueName(*this);
    }
}

TVDStyleTemplate::~TVDStyleTemplate() {
    if (FParent) {
        FParent->RemoveChild(this);
    }
    for (auto child = FChildren.rbegin(); child != FChildren.rend(); ++child) {
        (*child)->FParentId = -1;
        (*child)->FParent = nullptr;
    }
    FChildren.clear();
    TVDStyleTemplateCollection *templates = GetTemplates();
    if (!templates) {
        return;
    }
    if (templates->FNormalStyleTemplate == this) {
        templates->FNormalStyleTemplate = nullptr;
    }
    for (Integer i = 0; i < templates->GetCount(); ++i) {
        TVDStyleTemplate &other = templates->GetItem(i);
        if (&other != this && ((FId > 0 && other.FNextId == FId) || other.FNext == this)) {
            other.FNextId = -1;
            other.FNext = nullptr;
        }
    }
}

TVDStyleTemplateCollection *TVDStyleTemplate::GetTemplates() const {
    return static_cast<TVDStyleTemplateCollection *>(GetCollection());
}

void TVDStyleTemplate::Assign(const rtl::TPersistent &source) {
    const auto *s = dynamic_cast<const TVDStyleTemplate *>(&source);
    if (!s) {
        TVDCollectionItem::Assign(source);
        return;
    }
    FTextStyle->Assign(*s->FTextStyle);
    FParaStyle->Assign(*s->FParaStyle);
    if (GetCollection() && GetCollection() == s->GetCollection()) {
        FParentId = s->FParentId;
        FNextId = s->FNextId;
    }
    SetName(s->FName);
    SetKind(s->FKind);
    FQuickAccess = s->FQuickAccess;
    ValidTextProperties = s->ValidTextProperties;
    ValidParaProperties = s->ValidParaProperties;
}

bool TVDStyleTemplate::LinksMaintained() const {
    const TVDStyleTemplateCollection *templates = GetTemplates();
    return templates && templates->GetOwner() && !templates->GetOwner()->IsLoading();
}

TVDStyleTemplateId TVDStyleTemplate::GetId() const {
    if (FId > 0) {
        return FId;
    }
    const TVDStyleTemplateCollection *templates = GetTemplates();
    auto taken = [&](TVDStyleTemplateId id) {
        if (templates) {
            for (Integer i = 0; i < templates->GetCount(); ++i) {
                const TVDStyleTemplate &other = templates->GetItem(i);
                if (&other != this && other.GetId() == id) {
                    return true;
                }
            }
            if (templates->HasForbiddenIds() && templates->FForbiddenIds->IndexOf(id) >= 0) {
                return true;
            }
        }
        return false;
    };
    // The candidate is this template's id while the others are asked, so that one drawing
    // its own id in turn sees it and avoids it.
    do {
        FId = VDRandom(2147483647);
        if (FId == 0) {
            FId = 1;
        }
    } while (taken(FId));
    return FId;
}

void TVDStyleTemplate::SetName(const UnicodeString &value) {
    if (value == FName) {
        return;
    }
    TVDStyleTemplateCollection *templates = GetTemplates();
    if (FName == u"Normal" && templates && templates->FNormalStyleTemplate == this) {
        templates->FNormalStyleTemplate = nullptr;
    }
    FName = value;
    if (FName == u"Normal" && templates) {
        templates->FNormalStyleTemplate = this;
    }
    UpdateKind();
    if (FName == u"Normal") {
        SetParentId(-1);
    }
}

void TVDStyleTemplate::SetKind(TVDStyleTemplateKind value) {
    FKind = value;
    UpdateKind();
}

void TVDStyleTemplate::UpdateKind() {
    if (FName == u"Normal" && FKind != vdstkPara) {
        FKind = vdstkPara;
    } else if (FKind != vdstkParaText && IsHeadingName(FName)) {
        FKind = vdstkParaText;
    } else if (FKind != vdstkText && FName == u"Hyperlink") {
        FKind = vdstkText;
    } else if (FKind == vdstkText && FName == u"caption") {
        FKind = vdstkPara;
    }
}

void TVDStyleTemplate::AddChild(TVDStyleTemplate *child) {
    if (std::find(FChildren.begin(), FChildren.end(), child) == FChildren.end()) {
        FChildren.push_back(child);
    }
}

void TVDStyleTemplate::RemoveChild(TVDStyleTemplate *child) {
    FChildren.erase(std::remove(FChildren.begin(), FChildren.end(), child), FChildren.end());
}

void TVDStyleTemplate::SetParentId(TVDStyleTemplateId value) {
    if (value == FParentId) {
        return;
    }
    if (FName == u"Normal") {
        value = -1;
    }
    const bool maintained = LinksMaintained();
    TVDStyleTemplateCollection *templates = GetTemplates();
    if (maintained) {
        if (TVDStyleTemplate *old = templates->FindItemById(FParentId)) {
            old->RemoveChild(this);
        }
        if (FParent) {
            FParent->RemoveChild(this);
        }
    }
    FParentId = value;
    FParent = nullptr;
    if (!maintained || value <= 0) {
        return;
    }
    TVDStyleTemplate *parent = templates->FindItemById(value);
    if (!parent) {
        return;
    }
    if ((FKind == vdstkText) != (parent->FKind == vdstkText)) {
        FParentId = -1;
        throw EViziVoduError("Wrong kind of StyleTemplate parent");
    }
    if (IsAncestorFor(parent)) {
        FParentId = -1;
        throw EViziVoduError("Circular references in StyleTemplates are not allowed");
    }
    FParent = parent;
    parent->AddChild(this);
}

void TVDStyleTemplate::SetNextId(TVDStyleTemplateId value) {
    if (value == FNextId) {
        return;
    }
    FNextId = value;
    FNext = nullptr;
    if (LinksMaintained() && value > 0) {
        FNext = GetTemplates()->FindItemById(value);
    }
}

bool TVDStyleTemplate::IsAncestorFor(const TVDStyleTemplate *styleTemplate) const {
    bool found = false;
    WalkChain(styleTemplate, [&](const TVDStyleTemplate &t) {
        found = &t == this;
        return !found;
    });
    return found;
}

bool TVDStyleTemplate::IsInheritedFrom(const UnicodeString &name) const {
    bool found = false;
    WalkChain(this, [&](const TVDStyleTemplate &t) {
        found = t.FName == name;
        return !found;
    });
    return found;
}

// ---- Application --------------------------------------------------------------------------

TVDFontInfoProperties TVDStyleTemplate::ApplyTextChain(const TVDStyleTemplate *templ,
                                                       TCustomVDFontInfo &textStyle,
                                                       TVDFontInfoProperties remaining,
                                                       bool withDefaults) {
    TVDFontInfoProperties done;
    WalkChain(templ, [&](const TVDStyleTemplate &t) {
        const TVDFontInfoProperties p = remaining * (t.ValidTextProperties - done);
        if (!p.Empty()) {
            textStyle.AssignSelectedProperties(*t.FTextStyle, p);
            done = done + p;
        }
        return true;
    });
    if (withDefaults) {
        const TVDFontInfoProperties p = remaining - done;
        if (!p.Empty()) {
            const TFontInfo defaults(nullptr);
            textStyle.AssignSelectedProperties(defaults, p);
            done = done + p;
        }
    }
    return done;
}

void TVDStyleTemplate::ApplyToTextStyle(const TVDStyleTemplate *templ, TCustomVDFontInfo &textStyle,
                                        const TVDStyleTemplate *paraStyleTemplate) {
    auto *fontInfo = dynamic_cast<TFontInfo *>(&textStyle);
    TVDFontInfoProperties remaining = AllTextStyleProperties;
    if (fontInfo) {
        remaining = remaining - fontInfo->ModifiedProperties;
    }
    if (!templ) {
        if (fontInfo) {
            fontInfo->SetStyleTemplateId(-1);
        }
    } else {
        if (fontInfo) {
            fontInfo->SetStyleTemplateId(templ->FKind == vdstkPara ? -1 : templ->GetId());
        }
        remaining = remaining - ApplyTextChain(templ, textStyle, remaining, false);
    }
    if (paraStyleTemplate && paraStyleTemplate != templ && paraStyleTemplate->FKind != vdstkText &&
        !remaining.Empty()) {
        remaining = remaining - ApplyTextChain(paraStyleTemplate, textStyle, remaining, true);
    }
    if (!remaining.Empty()) {
        const TFontInfo defaults(nullptr);
        textStyle.AssignSelectedProperties(defaults, remaining);
    }
}

void TVDStyleTemplate::ApplyToParaStyle(const TVDStyleTemplate *templ,
                                        TCustomVDParaInfo &paraStyle) {
    auto *paraInfo = dynamic_cast<TParaInfo *>(&paraStyle);
    if (!templ) {
        if (paraInfo) {
            paraInfo->SetStyleTemplateId(-1);
        }
        return;
    }
    TVDParaInfoProperties remaining = AllParaStyleProperties;
    if (paraInfo) {
        remaining = remaining - paraInfo->ModifiedProperties;
        paraInfo->SetStyleTemplateId(templ->GetId());
    }
    TVDParaInfoProperties done;
    bool stopped = false;
    WalkChain(templ, [&](const TVDStyleTemplate &t) {
        if (t.FKind == vdstkText) {
            stopped = true;
            return false;
        }
        const TVDParaInfoProperties p = remaining * (t.ValidParaProperties - done);
        if (!p.Empty()) {
            paraStyle.AssignSelectedProperties(*t.FParaStyle, p);
            done = done + p;
        }
        return true;
    });
    if (stopped) {
        return;
    }
    const TVDParaInfoProperties p = remaining - done;
    if (!p.Empty()) {
        const TParaInfo defaults(nullptr);
        paraStyle.AssignSelectedProperties(defaults, p);
    }
}

const TVDTabInfos *TVDStyleTemplate::GetTabs(const TVDStyleTemplate *templ) {
    const TVDTabInfos *tabs = nullptr;
    WalkChain(templ, [&](const TVDStyleTemplate &t) {
        if (t.FKind == vdstkText) {
            return false;
        }
        if (t.ValidParaProperties.Contains(vdpiTabs)) {
            tabs = &t.FParaStyle->GetTabs();
            return false;
        }
        return true;
    });
    return tabs;
}

bool TVDStyleTemplate::IncludeTextChain(const TVDStyleTemplate *templ, TFontInfo &textStyle,
                                        TVDFontInfoProperties &possible) {
    bool lastIsNotText = false;
    WalkChain(templ, [&](const TVDStyleTemplate &t) {
        if (possible.Empty()) {
            return false;
        }
        const TVDFontInfoProperties p = possible * t.ValidTextProperties;
        possible = possible - t.ValidTextProperties;
        textStyle.IncludeModifiedProperties(*t.FTextStyle, p);
        lastIsNotText = t.FKind != vdstkText;
        return true;
    });
    return lastIsNotText;
}

void TVDStyleTemplate::UpdateModifiedTextStyleProperties(
    const TVDStyleTemplate *templ, TFontInfo &textStyle,
    const TVDStyleTemplate *paraStyleTemplate) {
    textStyle.ModifiedProperties = {};
    TVDFontInfoProperties possible = AllTextStyleProperties;
    bool useParaTemplate = !templ && !paraStyleTemplate;
    if (templ && templ->FKind != vdstkPara) {
        useParaTemplate = IncludeTextChain(templ, textStyle, possible);
    }
    if (!useParaTemplate && paraStyleTemplate && paraStyleTemplate != templ && !possible.Empty()) {
        IncludeTextChain(paraStyleTemplate, textStyle, possible);
    }
    if (!possible.Empty()) {
        textStyle.IncludeModifiedProperties2(possible);
    }
}

void TVDStyleTemplate::UpdateModifiedParaStyleProperties(const TVDStyleTemplate *templ,
                                                         TParaInfo &paraStyle) {
    paraStyle.ModifiedProperties = {};
    if (!templ) {
        paraStyle.IncludeModifiedProperties2(AllParaStyleProperties);
        return;
    }
    TVDParaInfoProperties possible = AllParaStyleProperties;
    bool stopped = false;
    WalkChain(templ, [&](const TVDStyleTemplate &t) {
        if (possible.Empty()) {
            return false;
        }
        if (t.FKind == vdstkText) {
            stopped = true;
            return false;
        }
        const TVDParaInfoProperties p = possible * t.ValidParaProperties;
        possible = possible - t.ValidParaProperties;
        paraStyle.IncludeModifiedProperties(*t.FParaStyle, p);
        return true;
    });
    if (!stopped && !possible.Empty()) {
        paraStyle.IncludeModifiedProperties2(possible);
    }
}

// ---- TVDStyleTemplateCollection -----------------------------------------------------------

TVDStyleTemplateCollection::TVDStyleTemplateCollection(TVDStyle *owner)
    : TVDCollection([](TVDCollection *c) { return std::make_unique<TVDStyleTemplate>(c); }),
      FOwner(owner) {}

Integer TVDStyleTemplateCollection::FindById(TVDStyleTemplateId id) const {
    if (id <= 0) {
        return -1;
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        if (GetItem(i).GetId() == id) {
            return i;
        }
    }
    return -1;
}

TVDStyleTemplate *TVDStyleTemplateCollection::FindItemById(TVDStyleTemplateId id) const {
    const Integer i = FindById(id);
    return i < 0 ? nullptr : &GetItem(i);
}

Integer TVDStyleTemplateCollection::FindByName(const UnicodeString &name) const {
    for (Integer i = 0; i < GetCount(); ++i) {
        if (GetItem(i).GetName() == name) {
            return i;
        }
    }
    return -1;
}

TVDStyleTemplate *TVDStyleTemplateCollection::FindItemByName(const UnicodeString &name) const {
    const Integer i = FindByName(name);
    return i < 0 ? nullptr : &GetItem(i);
}

UnicodeString TVDStyleTemplateCollection::GetUniqueName(const TVDStyleTemplate *ignoreItem) {
    if (FNameCounter == std::numeric_limits<int32_t>::max()) {
        FNameCounter = 0;
    }
    for (;;) {
        ++FNameCounter;
        const UnicodeString name = rtl::Format(FDefStyleName, {FNameCounter});
        bool used = false;
        for (Integer i = 0; i < GetCount() && !used; ++i) {
            used = &GetItem(i) != ignoreItem && GetItem(i).GetName() == name;
        }
        if (!used) {
            return name;
        }
    }
}

void TVDStyleTemplateCollection::AssignUniqueName(TVDStyleTemplate &templ) {
    const bool alone = GetCount() == 0 || (GetCount() == 1 && &GetItem(0) == &templ);
    if (alone) {
        FNameCounter = 0;
    }
    templ.SetName(GetUniqueName(&templ));
}

UnicodeString TVDStyleTemplateCollection::MakeNameUnique(const UnicodeString &name) const {
    UnicodeString result = name;
    while (FindByName(result) >= 0) {
        result += u"_";
    }
    return result;
}

void TVDStyleTemplateCollection::Sort() {
    rtl::TStringList collation;
    collation.SetCaseSensitive(true);
    SortItems([&](const TVDCollectionItem *a, const TVDCollectionItem *b) {
        return collation.CompareStrings(static_cast<const TVDStyleTemplate *>(a)->GetName(),
                                        static_cast<const TVDStyleTemplate *>(b)->GetName());
    });
}

void TVDStyleTemplateCollection::AssignToStrings(rtl::TStrings &strings, TVDIntegerList *ids,
                                                 TVDStyleTemplateKinds kinds,
                                                 const TVDStyleTemplate *excludeThisStyle,
                                                 bool /*onlyPotentialParents*/) const {
    strings.Clear();
    if (ids) {
        ids->Clear();
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        const TVDStyleTemplate &t = GetItem(i);
        if (!kinds.Contains(t.GetKind()) ||
            (excludeThisStyle && excludeThisStyle->IsAncestorFor(&t))) {
            continue;
        }
        strings.Add(t.GetName());
        if (ids) {
            ids->Add(t.GetId());
        }
    }
}

void TVDStyleTemplateCollection::Assign(const TVDCollection &source) {
    if (const auto *templates = dynamic_cast<const TVDStyleTemplateCollection *>(&source)) {
        AssignStyleTemplates(*templates, false);
    } else {
        TVDCollection::Assign(source);
    }
}

void TVDStyleTemplateCollection::AssignStyleTemplates(const TVDStyleTemplateCollection &source,
                                                      bool copyIds) {
    if (&source == this) {
        return;
    }
    TVDCollection::Assign(source);
    if (copyIds) {
        for (Integer i = 0; i < GetCount(); ++i) {
            GetItem(i).FId = source.GetItem(i).GetId();
        }
        for (Integer i = 0; i < GetCount(); ++i) {
            GetItem(i).SetParentId(source.GetItem(i).GetParentId());
            GetItem(i).SetNextId(source.GetItem(i).GetNextId());
        }
        return;
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        const TVDStyleTemplate &s = source.GetItem(i);
        if (s.GetParent()) {
            GetItem(i).SetParentId(GetItem(s.GetParent()->GetIndex()).GetId());
        }
        if (s.GetNext()) {
            GetItem(i).SetNextId(GetItem(s.GetNext()->GetIndex()).GetId());
        }
    }
}

void TVDStyleTemplateCollection::ClearTextFormat(TCustomVDFontInfo &textStyle) const {
    textStyle.SetStyleTemplateId(-1);
    auto *fontInfo = dynamic_cast<TFontInfo *>(&textStyle);
    if (!fontInfo) {
        textStyle.Reset();
        return;
    }
    fontInfo->ModifiedProperties = {};
    const TVDStyleTemplate *paraTemplate = FindItemById(fontInfo->GetParaStyleTemplateId());
    const TVDStyleTemplate *templ = fontInfo->GetJump() ? FindItemByName(u"Hyperlink") : nullptr;
    TVDStyleTemplate::ApplyToTextStyle(templ, textStyle, paraTemplate);
}

void TVDStyleTemplateCollection::ClearParaFormat(TCustomVDParaInfo &paraStyle) const {
    if (auto *paraInfo = dynamic_cast<TParaInfo *>(&paraStyle)) {
        paraInfo->ModifiedProperties = {};
    }
    if (FNormalStyleTemplate) {
        TVDStyleTemplate::ApplyToParaStyle(FNormalStyleTemplate, paraStyle);
        paraStyle.SetStyleTemplateId(FNormalStyleTemplate->GetId());
    } else {
        paraStyle.Reset();
        paraStyle.SetStyleTemplateId(-1);
    }
}

void TVDStyleTemplateCollection::ConvertToDifferentUnits(TVDStyleUnits newUnits) {
    for (Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).GetTextStyle().ConvertToDifferentUnits(newUnits);
        GetItem(i).GetParaStyle().ConvertToDifferentUnits(newUnits);
    }
}

void TVDStyleTemplateCollection::MergeWith(const TVDStyleTemplateCollection &value,
                                           TVDIntegerList *map) {
    if (map) {
        map->Clear();
        map->SetCapacity(value.GetCount());
    }
    const Integer oldCount = GetCount();
    for (Integer i = 0; i < value.GetCount(); ++i) {
        const TVDStyleTemplate &s = value.GetItem(i);
        Integer index = FindByName(s.GetName());
        if (index < 0) {
            Add().Assign(s);
            index = GetCount() - 1;
        }
        if (map) {
            map->Add(index);
        }
    }
    for (Integer i = oldCount; i < GetCount(); ++i) {
        TVDStyleTemplate &t = GetItem(i);
        const TVDStyleTemplate *s = value.FindItemByName(t.GetName());
        if (!s) {
            continue;
        }
        if (s->GetParent()) {
            if (TVDStyleTemplate *parent = FindItemByName(s->GetParent()->GetName())) {
                t.SetParentId(parent->GetId());
            }
        }
        if (s->GetNext()) {
            if (TVDStyleTemplate *next = FindItemByName(s->GetNext()->GetName())) {
                t.SetNextId(next->GetId());
            }
        }
    }
}

void TVDStyleTemplateCollection::UpdateReferences() {
    for (Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).FParent = nullptr;
        GetItem(i).FChildren.clear();
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        TVDStyleTemplate &t = GetItem(i);
        t.FNext = t.FNextId > 0 ? FindItemById(t.FNextId) : nullptr;
        TVDStyleTemplate *parent = t.FParentId > 0 ? FindItemById(t.FParentId) : nullptr;
        if (!parent) {
            continue;
        }
        if (t.IsAncestorFor(parent)) {
            t.FParentId = -1;
            continue;
        }
        t.FParent = parent;
        parent->AddChild(&t);
    }
}

TVDIntegerList &TVDStyleTemplateCollection::GetForbiddenIds() {
    if (!FForbiddenIds) {
        FForbiddenIds = std::make_unique<TVDIntegerList>();
    }
    return *FForbiddenIds;
}

} // namespace vizivodu
