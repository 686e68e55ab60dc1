// Random style sheets for the persistence tests, and the field-by-field dump that compares
// them.
#include "tests/vizivodu/styles/RandomStyleSheet.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/styles/VDStyle_Templates.h"

#include <sstream>

namespace vizivodu::test {

namespace {

int32_t Int(std::mt19937 &r, int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(r);
}
bool Coin(std::mt19937 &r) {
    return Int(r, 0, 1) == 1;
}
TColor Color(std::mt19937 &r) {
    const TColor named[] = {gfx::clNone, gfx::clWindowText, gfx::clRed, gfx::clHighlight};
    return Coin(r) ? named[Int(r, 0, 3)] : Int(r, 0, 0xFFFFFF);
}
template <class Set> Set Bits(std::mt19937 &r, int count) {
    return Set::FromBits(uint64_t(std::uniform_int_distribution<uint64_t>(0, ~uint64_t(0))(r)) &
                         ((uint64_t(1) << count) - 1));
}
// Names with letters of three scripts and inner blanks (INI values lose outer blanks).
UnicodeString Name(std::mt19937 &r, const char16_t *prefix) {
    const char16_t letters[] = u"abcXYZ \u0416\u044f\u4e2d\u00e9";
    UnicodeString s = prefix;
    for (int i = Int(r, 0, 6); i > 0; --i) {
        s += letters[Int(r, 0, 10)];
    }
    return s + u"." + UnicodeString(1, letters[Int(r, 0, 5)]);
}

void FillInfoBase(TCustomVDInfo &info, std::mt19937 &r, const char16_t *prefix) {
    info.SetStyleName(Name(r, prefix));
    info.SetBaseStyleNo(Int(r, -1, 3));
    info.SetStandard(Coin(r));
}

void FillTextStyle(TCustomVDFontInfo &f, std::mt19937 &r) {
    f.SetFontName(Coin(r) ? UnicodeString(u"Arial") : Name(r, u"Face "));
    f.SetSizeDouble(Int(r, 1, 144));
    f.SetColor(Color(r));
    f.SetBackColor(Color(r));
    f.SetHoverColor(Color(r));
    f.SetHoverBackColor(Color(r));
    f.SetUnderlineColor(Color(r));
    f.SetHoverUnderlineColor(Color(r));
    f.SetUnderlineType(TVDUnderlineType(Int(r, 0, vdutThickDashDotDotted)));
    f.SetHoverEffects(Bits<TVDHoverEffects>(r, 1));
    gfx::TFontStyles style;
    for (gfx::TFontStyle s : {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut}) {
        if (Coin(r)) {
            style.Include(s);
        }
    }
    f.SetStyle(style);
    f.SetStyleEx(Bits<TVDFontStyles>(r, 2));
    f.SetVShift(Int(r, -50, 50));
    f.SetCharset(gfx::TFontCharset(Int(r, 0, 255)));
    f.SetProtection(Bits<TVDProtectOptions>(r, 10));
    f.SetOptions(Bits<TVDTextOptions>(r, 5));
    f.SetCharScale(Int(r, 50, 200));
    f.SetCharSpacing(Int(r, -10, 10));
    f.SetSubSuperScriptType(TVDSubSuperScriptType(Int(r, 0, 2)));
    f.SetBiDiMode(TVDBiDiMode(Int(r, 0, 2)));
    f.SetJumpCursor(TCursor(Int(r, -32768, 32767)));
    f.SetParaStyleTemplateId(Int(r, -1, 100));
}

void FillParaStyle(TCustomVDParaInfo &p, std::mt19937 &r) {
    p.SetFirstIndent(Int(r, -100, 100));
    p.SetLeftIndent(Int(r, 0, 300));
    p.SetRightIndent(Int(r, 0, 300));
    p.SetSpaceBefore(Int(r, 0, 50));
    p.SetSpaceAfter(Int(r, 0, 50));
    p.SetLineSpacingType(TVDLineSpacingType(Int(r, 0, 3)));
    p.SetLineSpacing(Int(r, 50, 300));
    p.SetAlignment(TVDAlignment(Int(r, 0, 4)));
    p.SetLastLineAlignment(TVDLastLineAlignment(Int(r, 0, 4)));
    p.SetOptions(Bits<TVDParaOptions>(r, 7));
    p.SetBiDiMode(TVDBiDiMode(Int(r, 0, 2)));
    p.SetOutlineLevel(Int(r, 0, 9));
    TVDBorder &b = p.GetBorder();
    b.Style = TVDBorderStyle(Int(r, 0, 5));
    b.Color = Color(r);
    b.Width = Int(r, 0, 5);
    b.InternalWidth = Int(r, 0, 5);
    b.VisibleBorders.SetValues(Coin(r), Coin(r), Coin(r), Coin(r));
    TVDRect &o = b.GetBorderOffsets();
    o.Left = Int(r, -5, 5), o.Top = Int(r, -5, 5), o.Right = Int(r, -5, 5);
    o.Bottom = Int(r, -5, 5);
    TVDBackgroundRect &g = p.GetBackground();
    g.Color = Color(r);
    g.Opacity = Int(r, 0, 100000);
    g.GetBorderOffsets().SetAll(Int(r, 0, 9));
    g.GetBorderOffsets().Top = Int(r, 0, 9);
    const UnicodeString leaders[] = {u"", u"-", u"=", u"_", u"\u00b7", u"."};
    for (int i = Int(r, 0, 4), pos = 0; i > 0; --i) {
        TVDTabInfo &tab = p.GetTabs().Add();
        tab.SetAlign(TVDTabAlign(Int(r, 0, 2)));
        tab.SetLeader(leaders[Int(r, 0, 5)]);
        tab.SetPosition(pos += Int(r, 1, 200));
    }
}

void FillLevel(TVDListLevel &level, std::mt19937 &r) {
    level.SetListType(TVDListType(Int(r, 0, vdlstUnicodeBullet)));
    level.SetImageIndex(Int(r, 0, 20));
    level.SetFormatString(Name(r, u"%0:s"));
    level.SetFormatStringW(Coin(r) ? UnicodeString() : Name(r, u"\u2022"));
    level.SetLeftIndent(Int(r, 0, 400));
    level.SetFirstIndent(Int(r, -20, 20));
    level.SetMarkerIndent(Int(r, 0, 400));
    level.SetMarkerAlignment(TVDMarkerAlignment(Int(r, 0, 2)));
    level.SetOptions(Bits<TVDListLevelOptions>(r, 2));
    if (Coin(r)) {
        TVDMarkerFont &font = level.GetFont();
        font.SetName(Name(r, u"Marker "));
        font.SetHeight(Int(r, -40, 40));
        font.SetStyle(Coin(r) ? gfx::TFontStyles{gfx::fsBold, gfx::fsStrikeOut}
                              : gfx::TFontStyles{});
        font.SetPitch(gfx::TFontPitch(Int(r, 0, 2)));
        font.SetColor(Color(r));
        font.SetCharset(gfx::TFontCharset(Int(r, 0, 255)));
    }
    if (Coin(r)) {
        gfx::TPicture picture;
        picture.SetGraphic(RandomPicture(r).get());
        level.SetPicture(&picture);
    }
}

void FillSheetSettings(TVDStyle &s, std::mt19937 &r) {
    s.SetUnits(TVDStyleUnits(Int(r, 0, 1)));
    for (auto set :
         {&TVDStyle::SetColor, &TVDStyle::SetHoverColor, &TVDStyle::SetCurrentItemColor,
          &TVDStyle::SetSelColor, &TVDStyle::SetSelTextColor, &TVDStyle::SetInactiveSelColor,
          &TVDStyle::SetInactiveSelTextColor, &TVDStyle::SetCheckpointColor,
          &TVDStyle::SetCheckpointEvColor, &TVDStyle::SetPageBreakColor,
          &TVDStyle::SetSoftPageBreakColor, &TVDStyle::SetLiveSpellingColor,
          &TVDStyle::SetFloatingLineColor, &TVDStyle::SetSpecialCharactersColor,
          &TVDStyle::SetFieldHighlightColor, &TVDStyle::SetDisabledFontColor}) {
        (s.*set)(Color(r));
    }
    s.SetJumpCursor(TCursor(Int(r, -32768, 32767)));
    s.SetLineSelectCursor(TCursor(Int(r, -32768, 32767)));
    s.SetUseSound(Coin(r));
    s.SetSelectionMode(TVDSelectionMode(Int(r, 0, 2)));
    s.SetSelectionStyle(TVDSelectionStyle(Int(r, 0, 1)));
    s.SetSpacesInTab(Int(r, 0, 8));
    s.SetDefTabWidth(Int(r, 1, 1000));
    s.SetDefUnicodeStyle(Int(r, -1, 5));
    s.SetDefCodePage(TVDCodePage(Int(r, 0, 65001)));
    s.SetFieldHighlightType(TVDFieldHighlightType(Int(r, 0, 2)));
    s.SetFootnoteNumbering(TVDSeqType(Int(r, 0, 4)));
    s.SetEndnoteNumbering(TVDSeqType(Int(r, 0, 4)));
    s.SetSidenoteNumbering(TVDSeqType(Int(r, 0, 4)));
    s.SetFootnotePageReset(Coin(r));
    s.SetLineWrapMode(TVDLineWrapMode(Int(r, 0, 2)));
    s.SetSelectionHandleKind(TVDSelectionHandleKind(Int(r, 0, 1)));
}

} // namespace

void FillRandomTemplates(TVDStyleTemplateCollection &templates, std::mt19937 &r) {
    templates.Clear();
    const int count = Int(r, 1, 6);
    for (int i = 0; i < count; ++i) {
        TVDStyleTemplate &t = templates.Add();
        t.SetName(Name(r, (u"T" + rtl::UnicodeString(1, char16_t(u'0' + i)) + u" ").c_str()));
        t.SetKind(TVDStyleTemplateKind(Int(r, 0, 2)));
        t.SetQuickAccess(Coin(r));
        t.ValidTextProperties = Bits<TVDFontInfoProperties>(r, 37);
        t.ValidParaProperties = Bits<TVDParaInfoProperties>(r, 44);
        // Random styles reduced to the valid properties: only those are stored.
        TVDStyleTemplateCollection scratch(nullptr);
        TVDStyleTemplate &full = scratch.Add();
        FillTextStyle(full.GetTextStyle(), r);
        FillParaStyle(full.GetParaStyle(), r);
        t.GetTextStyle().AssignSelectedProperties(full.GetTextStyle(), t.ValidTextProperties);
        t.GetParaStyle().AssignSelectedProperties(full.GetParaStyle(), t.ValidParaProperties);
        if (i > 0 && Coin(r)) {
            // A parent of the same side (character templates under character templates).
            const TVDStyleTemplate &parent = templates.GetItem(Int(r, 0, i - 1));
            if ((parent.GetKind() == vdstkText) == (t.GetKind() == vdstkText)) {
                t.SetParentId(parent.GetId());
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        if (Coin(r)) {
            templates.GetItem(i).SetNextId(templates.GetItem(Int(r, 0, count - 1)).GetId());
        }
    }
}

void FillRandomStyleSheet(TVDStyle &sheet, std::mt19937 &r) {
    FillSheetSettings(sheet, r);
    sheet.GetParaStyles().Clear();
    for (int i = Int(r, 1, 5); i > 0; --i) {
        TParaInfo &p = sheet.GetParaStyles().Add();
        FillInfoBase(p, r, u"Para ");
        FillParaStyle(p, r);
        p.SetStyleTemplateId(Int(r, -1, 50));
        p.SetNextParaNo(Int(r, -1, 4));
        p.SetDefStyleNo(Int(r, -1, 4));
    }
    sheet.GetTextStyles().Clear();
    for (int i = Int(r, 1, 7); i > 0; --i) {
        TFontInfo &f = sheet.GetTextStyles().Add();
        FillInfoBase(f, r, u"Text ");
        FillTextStyle(f, r);
        f.SetStyleTemplateId(Int(r, -1, 50));
        f.SetUnicode(Coin(r));
        f.SetJump(Coin(r));
        f.SetNextStyleNo(Int(r, -1, 6));
    }
    sheet.GetListStyles().Clear();
    for (int i = Int(r, 0, 3); i > 0; --i) {
        TVDListInfo &l = sheet.GetListStyles().Add();
        FillInfoBase(l, r, u"List ");
        l.SetOneLevelPreview(Coin(r));
        l.SetListID(Int(r, 1, 0x7FFFFFFF));
        for (int j = Int(r, 0, 4); j > 0; --j) {
            FillLevel(l.GetLevels().Add(), r);
        }
    }
    FillRandomTemplates(sheet.GetStyleTemplates(), r);
}

std::unique_ptr<gfx::TGraphic> RandomPicture(std::mt19937 &random) {
    auto bitmap = std::make_unique<gfx::TBitmap>(Int(random, 1, 9), Int(random, 1, 9));
    for (int32_t y = 0; y < bitmap->GetHeight(); ++y) {
        uint32_t *row = bitmap->ScanLine(y);
        for (int32_t x = 0; x < bitmap->GetWidth(); ++x) {
            row[x] = 0xFF000000u | uint32_t(Int(random, 0, 0xFFFFFF));
        }
    }
    return bitmap;
}

std::string PictureText(const gfx::TGraphic *graphic) {
    const TVDGraphicClass *graphicClass = graphic ? GraphicClassOf(*graphic) : nullptr;
    if (!graphicClass) {
        return graphic ? "unknown" : "none";
    }
    rtl::TMemoryStream stream;
    graphicClass->SaveToStream(*graphic, stream);
    std::string text(graphicClass->GetName());
    text += ' ';
    static const char Digits[] = "0123456789ABCDEF";
    for (int64_t i = 0; i < stream.GetSize(); ++i) {
        text += Digits[stream.GetMemory()[i] >> 4];
        text += Digits[stream.GetMemory()[i] & 15];
    }
    return text;
}

namespace {

int32_t FontStyleBits(gfx::TFontStyles style) {
    int32_t bits = 0;
    for (gfx::TFontStyle s : {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut}) {
        bits = bits * 2 + (style.Contains(s) ? 1 : 0);
    }
    return bits;
}

class TDump {
public:
    explicit TDump(std::vector<std::string> &lines) : FLines(lines) {}
    void Scope(const std::string &prefix) { FPrefix = prefix; }
    void operator()(const char *field, int64_t value) {
        FLines.push_back(FPrefix + "." + field + "=" + std::to_string(value));
    }
    void operator()(const char *field, const UnicodeString &value) {
        FLines.push_back(FPrefix + "." + field + "='" + rtl::Utf16ToUtf8(value) + "'");
    }

private:
    std::vector<std::string> &FLines;
    std::string FPrefix;
};

void DumpBase(TDump &d, const TCustomVDInfo &info) {
    d("StyleName", info.GetStyleName());
    d("BaseStyleNo", info.GetBaseStyleNo());
    d("Standard", info.GetStandard());
}

void DumpText(TDump &d, const TCustomVDFontInfo &f) {
    d("StyleTemplateId", f.GetStyleTemplateId());
    d("FontName", f.GetFontName());
    d("SizeDouble", f.GetSizeDouble());
    d("Color", f.GetColor());
    d("BackColor", f.GetBackColor());
    d("HoverColor", f.GetHoverColor());
    d("HoverBackColor", f.GetHoverBackColor());
    d("UnderlineColor", f.GetUnderlineColor());
    d("HoverUnderlineColor", f.GetHoverUnderlineColor());
    d("UnderlineType", f.GetUnderlineType());
    d("HoverEffects", int64_t(f.GetHoverEffects().Bits()));
    d("Style", int64_t(FontStyleBits(f.GetStyle())));
    d("StyleEx", int64_t(f.GetStyleEx().Bits()));
    d("VShift", f.GetVShift());
    d("Charset", f.GetCharset());
    d("Protection", int64_t(f.GetProtection().Bits()));
    d("Options", int64_t(f.GetOptions().Bits()));
    d("CharScale", f.GetCharScale());
    d("CharSpacing", f.GetCharSpacing());
    d("SubSuperScriptType", f.GetSubSuperScriptType());
    d("BiDiMode", f.GetBiDiMode());
    d("JumpCursor", f.GetJumpCursor());
    d("ParaStyleTemplateId", f.GetParaStyleTemplateId());
}

void DumpRect(TDump &d, const std::string &what, const TVDRect &rect) {
    d((what + ".Left").c_str(), rect.Left);
    d((what + ".Top").c_str(), rect.Top);
    d((what + ".Right").c_str(), rect.Right);
    d((what + ".Bottom").c_str(), rect.Bottom);
}

void DumpPara(TDump &d, const TCustomVDParaInfo &p) {
    d("StyleTemplateId", p.GetStyleTemplateId());
    d("FirstIndent", p.GetFirstIndent());
    d("LeftIndent", p.GetLeftIndent());
    d("RightIndent", p.GetRightIndent());
    d("SpaceBefore", p.GetSpaceBefore());
    d("SpaceAfter", p.GetSpaceAfter());
    d("LineSpacing", p.GetLineSpacing());
    d("LineSpacingType", p.GetLineSpacingType());
    d("Alignment", p.GetAlignment());
    d("LastLineAlignment", p.GetLastLineAlignment());
    d("Options", int64_t(p.GetOptions().Bits()));
    d("BiDiMode", p.GetBiDiMode());
    d("OutlineLevel", p.GetOutlineLevel());
    const TVDBorder &b = p.GetBorder();
    d("Border.Style", b.Style);
    d("Border.Color", b.Color);
    d("Border.Width", b.Width);
    d("Border.InternalWidth", b.InternalWidth);
    const TVDBooleanRect &v = b.VisibleBorders;
    d("Border.Visible", v.Left * 1000 + v.Top * 100 + v.Right * 10 + v.Bottom);
    DumpRect(d, "Border.Offsets", b.GetBorderOffsets());
    d("Background.Color", p.GetBackground().Color);
    d("Background.Opacity", p.GetBackground().Opacity);
    DumpRect(d, "Background.Offsets", p.GetBackground().GetBorderOffsets());
    const TVDTabInfos &tabs = p.GetTabs();
    d("TabCount", tabs.GetCount());
    for (Integer i = 0; i < tabs.GetCount(); ++i) {
        const std::string tab = "Tab" + std::to_string(i);
        d((tab + ".Position").c_str(), tabs.GetItem(i).GetPosition());
        d((tab + ".Align").c_str(), tabs.GetItem(i).GetAlign());
        d((tab + ".Leader").c_str(), tabs.GetItem(i).GetLeader());
    }
}

void DumpLevel(TDump &d, TVDListLevel &level) {
    d("ListType", level.GetListType());
    d("ImageIndex", level.GetImageIndex());
    d("FormatString", level.GetFormatString());
    d("FormatStringW", level.GetFormatStringW());
    d("LeftIndent", level.GetLeftIndent());
    d("FirstIndent", level.GetFirstIndent());
    d("MarkerIndent", level.GetMarkerIndent());
    d("MarkerAlignment", level.GetMarkerAlignment());
    d("Options", int64_t(level.GetOptions().Bits()));
    d("StartFrom", level.GetStartFrom());
    d("Picture", rtl::Utf8ToUtf16(
                     PictureText(level.HasPicture() ? level.GetPicture().GetGraphic() : nullptr)));
    TVDMarkerFont &font = level.GetFont();
    d("Font.Name", font.GetName());
    d("Font.Height", font.GetHeight());
    d("Font.Style", int64_t(FontStyleBits(font.GetStyle())));
    d("Font.Pitch", font.GetPitch());
    d("Font.Color", font.GetColor());
    d("Font.Charset", font.GetCharset());
}

} // namespace

std::vector<std::string> DumpTemplates(const TVDStyleTemplateCollection &templates) {
    std::vector<std::string> lines;
    TDump d(lines);
    for (Integer i = 0; i < templates.GetCount(); ++i) {
        const TVDStyleTemplate &t = templates.GetItem(i);
        d.Scope("ST" + std::to_string(i));
        d("Id", t.GetId());
        d("Name", t.GetName());
        d("ParentId", t.GetParentId());
        d("Parent", t.GetParent() ? t.GetParent()->GetIndex() : -1);
        d("NextId", t.GetNextId());
        d("Next", t.GetNext() ? t.GetNext()->GetIndex() : -1);
        d("Kind", t.GetKind());
        d("QuickAccess", t.GetQuickAccess());
        d("ValidTextProperties", int64_t(t.ValidTextProperties.Bits()));
        d("ValidParaProperties", int64_t(t.ValidParaProperties.Bits()));
        d.Scope("ST" + std::to_string(i) + ".Text");
        DumpBase(d, t.GetTextStyle());
        DumpText(d, t.GetTextStyle());
        d.Scope("ST" + std::to_string(i) + ".Para");
        DumpBase(d, t.GetParaStyle());
        DumpPara(d, t.GetParaStyle());
    }
    return lines;
}

std::vector<std::string> DumpStyleSheet(const TVDStyle &s) {
    std::vector<std::string> lines;
    TDump d(lines);
    d.Scope("Sheet");
    d("Units", s.GetUnits());
    for (auto get : {&TVDStyle::GetColor, &TVDStyle::GetCurrentItemColor, &TVDStyle::GetSelColor,
                     &TVDStyle::GetSelTextColor, &TVDStyle::GetInactiveSelColor,
                     &TVDStyle::GetInactiveSelTextColor, &TVDStyle::GetCheckpointColor,
                     &TVDStyle::GetCheckpointEvColor, &TVDStyle::GetPageBreakColor,
                     &TVDStyle::GetSoftPageBreakColor, &TVDStyle::GetLiveSpellingColor,
                     &TVDStyle::GetFloatingLineColor, &TVDStyle::GetSpecialCharactersColor,
                     &TVDStyle::GetFieldHighlightColor, &TVDStyle::GetDisabledFontColor}) {
        d("Color", (s.*get)());
    }
    TColor (TVDStyle::*hover)() const = &TVDStyle::GetHoverColor;
    d("HoverColor", (s.*hover)());
    d("JumpCursor", s.GetJumpCursor());
    d("LineSelectCursor", s.GetLineSelectCursor());
    d("UseSound", s.GetUseSound());
    d("SelectionMode", s.GetSelectionMode());
    d("SelectionStyle", s.GetSelectionStyle());
    d("SpacesInTab", s.GetSpacesInTab());
    d("DefTabWidth", s.GetDefTabWidth());
    d("DefUnicodeStyle", s.GetDefUnicodeStyle());
    d("DefCodePage", s.GetDefCodePage());
    d("FieldHighlightType", s.GetFieldHighlightType());
    d("FootnoteNumbering", s.GetFootnoteNumbering());
    d("EndnoteNumbering", s.GetEndnoteNumbering());
    d("SidenoteNumbering", s.GetSidenoteNumbering());
    d("FootnotePageReset", s.GetFootnotePageReset());
    d("LineWrapMode", s.GetLineWrapMode());
    d("SelectionHandleKind", s.GetSelectionHandleKind());
    for (Integer i = 0; i < s.GetParaStyles().GetCount(); ++i) {
        const TParaInfo &p = s.GetParaStyles().GetItem(i);
        d.Scope("Para" + std::to_string(i));
        DumpBase(d, p);
        DumpPara(d, p);
        d("NextParaNo", p.GetNextParaNo());
        d("DefStyleNo", p.GetDefStyleNo());
        d("ModifiedProperties", int64_t(p.ModifiedProperties.Bits()));
    }
    for (Integer i = 0; i < s.GetTextStyles().GetCount(); ++i) {
        const TFontInfo &f = s.GetTextStyles().GetItem(i);
        d.Scope("Font" + std::to_string(i));
        DumpBase(d, f);
        DumpText(d, f);
        d("Unicode", f.GetUnicode());
        d("Jump", f.GetJump());
        d("NextStyleNo", f.GetNextStyleNo());
        d("ModifiedProperties", int64_t(f.ModifiedProperties.Bits()));
    }
    for (Integer i = 0; i < s.GetListStyles().GetCount(); ++i) {
        const TVDListInfo &l = s.GetListStyles().GetItem(i);
        d.Scope("List" + std::to_string(i));
        DumpBase(d, l);
        d("OneLevelPreview", l.GetOneLevelPreview());
        d("ListID", l.GetListID());
        d("LevelsCount", l.GetLevels().GetCount());
        for (Integer j = 0; j < l.GetLevels().GetCount(); ++j) {
            d.Scope("List" + std::to_string(i) + ".Lvl" + std::to_string(j));
            // A copy, so that asking for the marker font does not make one in the sheet.
            TVDListInfo copy(nullptr);
            copy.Assign(l);
            DumpLevel(d, copy.GetLevels().GetItem(j));
        }
    }
    const std::vector<std::string> templates = DumpTemplates(s.GetStyleTemplates());
    lines.insert(lines.end(), templates.begin(), templates.end());
    return lines;
}

} // namespace vizivodu::test
