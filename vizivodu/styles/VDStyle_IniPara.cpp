// The INI keys of paragraph styles: spacing, indents, alignment and options, the border, the
// background and the tab stops, and the paragraph style collection.
#include "vizivodu/styles/VDStyle_Ini.h"

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "vizivodu/styles/VDStyle_Ini_p.h"
#include "vizivodu/styles/VDStyle_Para.h"

namespace vizivodu {

namespace {

constexpr TColor DefaultBorderColor = -16777208;     // clWindowText
constexpr TColor DefaultBackgroundColor = 536870911; // clNone

using P = TVDParaInfoProperty;

struct TParaWriter {
    rtl::TCustomIniFile &Ini;
    const UnicodeString &Section;
    TVDParaInfoProperties Props;

    void Int(bool selected, const UnicodeString &key, int32_t value, int32_t def) const {
        if (selected) {
            IniWriteIntIfNotDefault(Ini, Section, key, value, def);
        }
    }
    void Bool(bool selected, const UnicodeString &key, bool value, bool def) const {
        if (selected) {
            IniWriteBoolIfNotDefault(Ini, Section, key, value, def);
        }
    }
    bool Has(P p) const { return Props.Contains(p); }
};

// The four side members of a rectangle, from the first (left, top, right, bottom order).
struct TSideProps {
    P Left, Top, Right, Bottom;
};
constexpr TSideProps BackgroundOffsets{vdpiBackground_BO_Left, vdpiBackground_BO_Top,
                                       vdpiBackground_BO_Right, vdpiBackground_BO_Bottom};
constexpr TSideProps BorderOffsets{vdpiBorder_BO_Left, vdpiBorder_BO_Top, vdpiBorder_BO_Right,
                                   vdpiBorder_BO_Bottom};
constexpr TSideProps BorderVisible{vdpiBorder_Vis_Left, vdpiBorder_Vis_Top, vdpiBorder_Vis_Right,
                                   vdpiBorder_Vis_Bottom};

void SaveRect(const TParaWriter &w, const UnicodeString &fs, const TVDRect &rect, TSideProps s) {
    w.Int(w.Has(s.Left), IniKey(fs, u"Left"), rect.Left, 0);
    w.Int(w.Has(s.Right), IniKey(fs, u"Right"), rect.Right, 0);
    w.Int(w.Has(s.Top), IniKey(fs, u"Top"), rect.Top, 0);
    w.Int(w.Has(s.Bottom), IniKey(fs, u"Bottom"), rect.Bottom, 0);
}

void SaveBoolRect(const TParaWriter &w, const UnicodeString &fs, const TVDBooleanRect &rect,
                  TSideProps s) {
    w.Bool(w.Has(s.Left), IniKey(fs, u"Left"), rect.Left, true);
    w.Bool(w.Has(s.Right), IniKey(fs, u"Right"), rect.Right, true);
    w.Bool(w.Has(s.Top), IniKey(fs, u"Top"), rect.Top, true);
    w.Bool(w.Has(s.Bottom), IniKey(fs, u"Bottom"), rect.Bottom, true);
}

void SaveBorder(const TParaWriter &w, const UnicodeString &fs, const TVDBorder &b) {
    w.Int(w.Has(vdpiBorder_Width), IniKey(fs, u"Width"), b.Width, 1);
    w.Int(w.Has(vdpiBorder_Style), IniKey(fs, u"Style"), b.Style, vdbNone);
    w.Int(w.Has(vdpiBorder_Color), IniKey(fs, u"Color"), b.Color, DefaultBorderColor);
    w.Int(w.Has(vdpiBorder_InternalWidth), IniKey(fs, u"InternalWidth"), b.InternalWidth, 1);
    SaveRect(w, IniKey(fs, u"Offsets%s"), b.GetBorderOffsets(), BorderOffsets);
    SaveBoolRect(w, IniKey(fs, u"Visible%s"), b.VisibleBorders, BorderVisible);
}

void SaveBackground(const TParaWriter &w, const UnicodeString &fs, const TVDBackgroundRect &b) {
    w.Int(w.Has(vdpiBackground_Color), IniKey(fs, u"Color"), b.Color, DefaultBackgroundColor);
    w.Int(w.Has(vdpiBackground_Opacity), IniKey(fs, u"Opacity"), b.Opacity, 100000);
    SaveRect(w, IniKey(fs, u"Offsets%s"), b.GetBorderOffsets(), BackgroundOffsets);
}

void LoadRect(const TVDIniReader &r, const UnicodeString &fs, TVDRect &rect) {
    rect.Left = r.Int(IniKey(fs, u"Left"), 0);
    rect.Right = r.Int(IniKey(fs, u"Right"), 0);
    rect.Top = r.Int(IniKey(fs, u"Top"), 0);
    rect.Bottom = r.Int(IniKey(fs, u"Bottom"), 0);
}

void LoadBoolRect(const TVDIniReader &r, const UnicodeString &fs, TVDBooleanRect &rect) {
    rect.Left = r.Bool(IniKey(fs, u"Left"), true);
    rect.Right = r.Bool(IniKey(fs, u"Right"), true);
    rect.Top = r.Bool(IniKey(fs, u"Top"), true);
    rect.Bottom = r.Bool(IniKey(fs, u"Bottom"), true);
}

void LoadBorder(const TVDIniReader &r, const UnicodeString &fs, TVDBorder &b) {
    b.Width = r.Int(IniKey(fs, u"Width"), 1);
    b.Style = TVDBorderStyle(r.Range(IniKey(fs, u"Style"), vdbNone, vdbNone, vdbThickOutside));
    b.Color = r.Int(IniKey(fs, u"Color"), DefaultBorderColor);
    b.InternalWidth = r.Int(IniKey(fs, u"InternalWidth"), 1);
    LoadRect(r, IniKey(fs, u"Offsets%s"), b.GetBorderOffsets());
    LoadBoolRect(r, IniKey(fs, u"Visible%s"), b.VisibleBorders);
}

void LoadBackground(const TVDIniReader &r, const UnicodeString &fs, TVDBackgroundRect &b) {
    b.Color = r.Int(IniKey(fs, u"Color"), DefaultBackgroundColor);
    b.Opacity = r.Int(IniKey(fs, u"Opacity"), 100000);
    LoadRect(r, IniKey(fs, u"Offsets%s"), b.GetBorderOffsets());
}

UnicodeString TabFormat(const UnicodeString &fs, Integer i) {
    return IniKey(fs, u"") + u"Tab%s" + rtl::IntToStr(i);
}

void SaveTabs(const TParaWriter &w, const UnicodeString &fs, const TVDTabInfos &tabs) {
    w.Int(true, IniKey(fs, u"TabCount"), tabs.GetCount(), 0);
    for (Integer i = 0; i < tabs.GetCount(); ++i) {
        const TVDTabInfo &tab = tabs.GetItem(i);
        const UnicodeString tfs = TabFormat(fs, i);
        w.Int(true, IniKey(tfs, u"Pos"), tab.GetPosition(), 0);
        w.Int(true, IniKey(tfs, u"Align"), tab.GetAlign(), vdtaLeft);
        if (!tab.GetLeader().empty()) {
            w.Ini.WriteString(w.Section, IniKey(tfs, u"Leader"), tab.GetLeader());
        }
    }
}

void LoadTabs(TVDIniReader &r, const UnicodeString &fs, TVDTabInfos &tabs) {
    tabs.Clear();
    const int32_t count = r.Count(IniKey(fs, u"TabCount"), 0);
    for (Integer i = 0; i < count; ++i) {
        const UnicodeString tfs = TabFormat(fs, i);
        TVDTabInfo &tab = tabs.Add();
        tab.SetAlign(TVDTabAlign(r.Range(IniKey(tfs, u"Align"), vdtaLeft, vdtaLeft, vdtaCenter)));
        tab.SetLeader(r.Str(IniKey(tfs, u"Leader"), u""));
        tab.SetPosition(r.Int(IniKey(tfs, u"Pos"), 0));
    }
}

struct TOptionKey {
    TVDParaOption Option;
    P Property;
    const char16_t *Key;
};
constexpr TOptionKey OptionKeys[] = {
    {vdpaoNoWrap, vdpiNoWrap, u"NoWrap"},
    {vdpaoReadOnly, vdpiReadOnly, u"ReadOnly"},
    {vdpaoStyleProtect, vdpiStyleProtect, u"StyleProtect"},
    {vdpaoDoNotWantReturns, vdpiDoNotWantReturns, u"DoNotWantReturns"},
    {vdpaoKeepLinesTogether, vdpiKeepLinesTogether, u"KeepLinesTogether"},
    {vdpaoKeepWithNext, vdpiKeepWithNext, u"KeepWithNext"},
    {vdpaoWidowOrphanControl, vdpiWidowOrphanControl, u"WidowOrphanControl"},
};

bool HasBorderValue(const TParaWriter &w) {
    for (int p = vdpiBorder_Color; p <= vdpiBorder_Vis_Bottom; ++p) {
        if (w.Has(P(p))) {
            return true;
        }
    }
    return false;
}

} // namespace

void TCustomVDParaInfo::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                  const UnicodeString &fs, TVDParaInfoProperties properties) const {
    TCustomVDInfo::SaveToINI(ini, section, fs);
    const TParaWriter w{ini, section, properties};
    w.Int(w.Has(vdpiSpaceBefore), IniKey(fs, u"SpaceBefore"), FSpaceBefore, 0);
    w.Int(w.Has(vdpiSpaceAfter), IniKey(fs, u"SpaceAfter"), FSpaceAfter, 0);
    w.Int(w.Has(vdpiLeftIndent), IniKey(fs, u"LeftIndent"), FLeftIndent, 0);
    w.Int(w.Has(vdpiRightIndent), IniKey(fs, u"RightIndent"), FRightIndent, 0);
    w.Int(w.Has(vdpiFirstIndent), IniKey(fs, u"FirstIndent"), FFirstIndent, 0);
    const bool spacing = w.Has(vdpiLineSpacing) || w.Has(vdpiLineSpacingType);
    w.Int(spacing, IniKey(fs, u"LineSpacing"), FLineSpacing, 100);
    w.Int(spacing, IniKey(fs, u"LSType"), FLineSpacingType, vdlsPercent);
    w.Int(w.Has(vdpiAlignment), IniKey(fs, u"Alignment"), FAlignment, vdaLeft);
    w.Int(w.Has(vdpiLastLineAlignment), IniKey(fs, u"LastLineAlignment"), FLastLineAlignment,
          vdllaDefault);
    w.Int(w.Has(vdpiBiDiMode), IniKey(fs, u"BiDiMode"), FBiDiMode, vdbdUnspecified);
    w.Int(w.Has(vdpiOutlineLevel), IniKey(fs, u"OutlineLevel"), FOutlineLevel, 0);
    for (const TOptionKey &o : OptionKeys) {
        w.Bool(w.Has(o.Property), IniKey(fs, o.Key), FOptions.Contains(o.Option), false);
    }
    if (HasBorderValue(w)) {
        SaveBorder(w, IniKey(fs, u"Border%s"), FBorder);
    }
    SaveBackground(w, IniKey(fs, u"Background%s"), FBackground);
    if (w.Has(vdpiTabs)) {
        SaveTabs(w, IniKey(fs, u"Tab%s"), FTabs);
    }
    if (const auto *p = dynamic_cast<const TParaInfo *>(this)) {
        w.Int(w.Has(vdpiNextParaNo), IniKey(fs, u"NextParaNo"), p->GetNextParaNo(), -1);
        w.Int(w.Has(vdpiDefStyleNo), IniKey(fs, u"DefStyleNo"), p->GetDefStyleNo(), -1);
    }
}

void TCustomVDParaInfo::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                    const UnicodeString &fs) {
    TVDIniReaderScope scope(ini, section);
    TVDIniReader &r = *scope;
    TCustomVDInfo::LoadFromINI(ini, section, fs, u"Paragraph Style");
    SetSpaceBefore(r.Int(IniKey(fs, u"SpaceBefore"), 0));
    SetSpaceAfter(r.Int(IniKey(fs, u"SpaceAfter"), 0));
    FLeftIndent = r.Int(IniKey(fs, u"LeftIndent"), 0);
    FRightIndent = r.Int(IniKey(fs, u"RightIndent"), 0);
    FFirstIndent = r.Int(IniKey(fs, u"FirstIndent"), 0);
    FLineSpacing = r.Int(IniKey(fs, u"LineSpacing"), 100);
    FLineSpacingType =
        TVDLineSpacingType(r.Range(IniKey(fs, u"LSType"), 0, 0, vdlsLineHeightExact));
    FAlignment = TVDAlignment(r.Range(IniKey(fs, u"Alignment"), 0, 0, vdaDistribute));
    FLastLineAlignment =
        TVDLastLineAlignment(r.Range(IniKey(fs, u"LastLineAlignment"), 0, 0, vdllaJustify));
    FBiDiMode = TVDBiDiMode(r.Range(IniKey(fs, u"BiDiMode"), 0, 0, vdbdRightToLeft));
    FOutlineLevel = r.Int(IniKey(fs, u"OutlineLevel"), 0);
    FOptions = {};
    for (const TOptionKey &o : OptionKeys) {
        IncludeIf(FOptions, o.Option, r.Bool(IniKey(fs, o.Key), false));
    }
    LoadBorder(r, IniKey(fs, u"Border%s"), FBorder);
    LoadBackground(r, IniKey(fs, u"Background%s"), FBackground);
    LoadTabs(r, IniKey(fs, u"Tab%s"), FTabs);
    if (auto *p = dynamic_cast<TParaInfo *>(this)) {
        p->SetNextParaNo(r.Int(IniKey(fs, u"NextParaNo"), -1));
        p->SetDefStyleNo(r.Int(IniKey(fs, u"DefStyleNo"), -1));
    }
}

void TParaInfos::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const {
    ini.WriteInteger(section, u"ParasCount", GetCount());
    for (Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).SaveToINI(ini, section, u"Para%s" + rtl::IntToStr(i), AllParaStyleProperties);
    }
}

void TParaInfos::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section) {
    TVDIniReaderScope scope(ini, section);
    const int32_t count = (*scope).Count(u"ParasCount", 2);
    Clear();
    for (Integer i = 0; i < count; ++i) {
        Add().LoadFromINI(ini, section, u"Para%s" + rtl::IntToStr(i));
    }
}

// The seams of the parts, for callers that store one part alone: every member selected.

void TVDBorder::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                          const UnicodeString &fs) const {
    SaveBorder(TParaWriter{ini, section, AllParaStyleProperties}, fs, *this);
}

void TVDBorder::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                            const UnicodeString &fs) {
    TVDIniReaderScope scope(ini, section);
    LoadBorder(*scope, fs, *this);
}

void TVDBackgroundRect::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                  const UnicodeString &fs) const {
    SaveBackground(TParaWriter{ini, section, AllParaStyleProperties}, fs, *this);
}

void TVDBackgroundRect::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                    const UnicodeString &fs) {
    TVDIniReaderScope scope(ini, section);
    LoadBackground(*scope, fs, *this);
}

void TVDTabInfos::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                            const UnicodeString &fs) const {
    SaveTabs(TParaWriter{ini, section, AllParaStyleProperties}, fs, *this);
}

void TVDTabInfos::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                              const UnicodeString &fs) {
    TVDIniReaderScope scope(ini, section);
    LoadTabs(*scope, fs, *this);
}

} // namespace vizivodu
