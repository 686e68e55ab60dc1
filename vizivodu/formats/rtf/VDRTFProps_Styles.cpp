// RTF to document: the text style and the paragraph style of a run, chosen among the
// document's styles (the closest or an equal one) or added to its style sheet.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

#include <cstdlib>

namespace vizivodu {

namespace {

int32_t Sign(int32_t v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

int32_t TextStyleScore(const TFontInfo &s, const TFontInfo &run, const TVDStyle &sheet) {
    int32_t score = 0;
    if (rtl::LowerCase(s.GetFontName()) == rtl::LowerCase(run.GetFontName())) {
        score += 10000;
    }
    if (s.GetCharset() == run.GetCharset()) {
        score += 50000;
    } else if (s.GetCharset() == 1 || run.GetCharset() == 1) {
        score += 12500;
    }
    score += GetIntSimilarity(run.GetSizeDouble(), s.GetSizeDouble(), 5000);
    score += GetColorSimilarity(s.GetColor(), run.GetColor(), 3333, 3000);
    score += GetColorSimilarity(s.GetBackColor(), run.GetBackColor(), 10000, 50000);
    score += GetColorSimilarity(s.GetUnderlineColor(), run.GetUnderlineColor(), 10000, 50000);
    if (s.GetStyleEx().Contains(vdfsAllCaps) == run.GetStyleEx().Contains(vdfsAllCaps)) {
        score += 50000;
    }
    for (gfx::TFontStyle fs : {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut}) {
        if (s.GetStyle().Contains(fs) == run.GetStyle().Contains(fs)) {
            score += 50000;
        }
    }
    if (s.GetStyle().Contains(gfx::fsUnderline) && run.GetStyle().Contains(gfx::fsUnderline) &&
        s.GetUnderlineType() != run.GetUnderlineType()) {
        score -= 25000;
    }
    if (s.GetStyle().Empty() == run.GetStyle().Empty()) {
        score += 50000;
    }
    score +=
        int32_t(rtl::Round((1.0 - std::abs(s.GetCharScale() - run.GetCharScale()) / 100.0) * 300));
    score += GetIntSimilarity(sheet.GetAsTwips(run.GetCharSpacing()),
                              sheet.GetAsTwips(s.GetCharSpacing()), 10000);
    if (s.GetOptions().Contains(vdteoHidden) == run.GetOptions().Contains(vdteoHidden)) {
        score += 5000;
    }
    if (s.GetSubSuperScriptType() == run.GetSubSuperScriptType()) {
        score += 50000;
    }
    score += Sign(s.GetVShift()) == Sign(run.GetVShift())
                 ? GetIntSimilarity(s.GetVShift(), run.GetVShift(), 50000)
                 : -50000;
    if (!s.GetStyleEx().Empty()) {
        score /= 4;
    }
    if (s.GetProtection() == run.GetProtection()) {
        score += 100000;
    }
    return score;
}

} // namespace

void TVDRTFReaderProperties::InitNewTextStyle(TFontInfo &style, bool unicode, int32_t) {
    TVDRTFReader &rr = *FReader;
    const TVDRTFCharProperties &cp = rr.CharProps();
    style.SetStandard(false);
    style.SetJump(InHyperlink());
    style.SetUnicode(unicode);
    style.SetStyle(cp.FStyle);
    const int32_t size = cp.FSizeDouble == 0 ? 1 : cp.FSizeDouble;
    style.SetSizeDouble(size);
    style.SetColor(cp.FColor);
    style.SetBackColor(cp.FBackColor);
    const bool inTable = cp.FFontIndex >= 0 && cp.FFontIndex < rr.FontTable().Count();
    const TFontInfo &normal = FVDStyle->GetTextStyles().GetItem(0);
    style.SetFontName(!cp.FFontName.empty()
                          ? cp.FFontName
                          : (inTable ? rr.FontTable()[cp.FFontIndex].Name : normal.GetFontName()));
    gfx::TFontCharset charset =
        inTable ? rr.FontTable()[cp.FFontIndex].Charset : normal.GetCharset();
    if (cp.FFontName == u"Symbol" || cp.FFontName == u"Wingdings") {
        charset = 2;
    } else if (charset == 254 || charset == 77) {
        charset = 0;
    }
    if (unicode && UseCharsetForUnicode) {
        charset = CharsetForUnicode;
    }
    style.SetCharset(charset);
    style.SetCharScale(cp.FCharScaleX);
    style.SetCharSpacing(FVDStyle->TwipsToUnits(cp.FCharSpacingTw));
    style.SetSubSuperScriptType(TVDSubSuperScriptType(cp.FSScriptType));
    style.SetVShift(int32_t(rtl::Round(double(cp.FVShiftPt) * 100 / size)));
    TVDFontStyles ex;
    if (cp.FAllCaps) {
        ex.Include(vdfsAllCaps);
    }
    style.SetStyleEx(ex);
    style.SetUnderlineType(TVDUnderlineType(cp.FUnderlineType));
    style.SetUnderlineColor(cp.FUnderlineColor);
    TVDTextOptions options;
    if (cp.FHidden) {
        options.Include(vdteoHidden);
    }
    style.SetOptions(options);
}

int32_t TVDRTFReaderProperties::FindClosestTextStyle(const TFontInfo &run) {
    const TFontInfos &styles = FVDStyle->GetTextStyles();
    int32_t best = 0, bestScore = 0;
    for (int32_t i = 0; i < styles.GetCount(); ++i) {
        const TFontInfo &s = styles.GetItem(i);
        if (s.GetUnicode() != run.GetUnicode()) {
            continue;
        }
        if (run.GetJump() ? !s.GetJump() : (s.GetJump() && !UseHypertextStyles)) {
            continue;
        }
        const int32_t score = TextStyleScore(s, run, *FVDStyle);
        if (score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

int32_t TVDRTFReaderProperties::FindOrAddTextStyle(bool unicode, int32_t paraNo) {
    if (TextStyleMode == vdrsUseSpecified) {
        return FTextStyleNo;
    }
    TFontInfo run(nullptr);
    InitNewTextStyle(run, unicode, paraNo);
    if (TextStyleMode == vdrsUseClosest) {
        return FindClosestTextStyle(run);
    }
    const int32_t count = FVDStyle->GetTextStyles().GetCount();
    const int32_t styleNo = FVDStyle->FindTextStyle(run);
    if (FVDStyle->GetTextStyles().GetCount() > count) {
        FCurrentVDData->AfterAddStyle(FVDStyle->GetTextStyles().GetItem(styleNo));
    }
    return styleNo;
}

void TVDRTFReaderProperties::AssignRTFParaProps(TParaInfo &style) {
    const TVDRTFParaProperties &pp = FReader->ParaProps();
    style.SetLeftIndent(FVDStyle->TwipsToUnits(pp.FLeftIndentTw));
    style.SetRightIndent(FVDStyle->TwipsToUnits(pp.FRightIndentTw));
    style.SetFirstIndent(FLastMarkerIndex >= 0 ? FLastMarkerFirstIndent
                                               : FVDStyle->TwipsToUnits(pp.FFirstIndentTw));
    style.SetSpaceBefore(FVDStyle->TwipsToUnits(pp.FSpaceBeforeTw));
    style.SetSpaceAfter(FVDStyle->TwipsToUnits(pp.FSpaceAfterTw));
    style.SetAlignment(TVDAlignment(pp.FAlignment));
    style.SetOutlineLevel(pp.FOutlineLevel);
    if (pp.FLineSpacingMulti && pp.FLineSpacing > 0) {
        style.SetLineSpacingType(vdlsPercent);
        style.SetLineSpacing(pp.FLineSpacing * 100 / 240);
    } else if (pp.FLineSpacing > 0 && pp.FLineSpacing != 240) {
        style.SetLineSpacingType(vdlsLineHeightAtLeast);
        style.SetLineSpacing(FVDStyle->TwipsToUnits(pp.FLineSpacing));
    }
}

int32_t TVDRTFReaderProperties::FindOrAddParaStyle() {
    if (ParaStyleMode == vdrsUseSpecified) {
        return FParaStyleNo;
    }
    TParaInfo run(nullptr);
    AssignRTFParaProps(run);
    if (ParaStyleMode == vdrsAddIfNeeded) {
        const int32_t count = FVDStyle->GetParaStyles().GetCount();
        const int32_t paraNo = FVDStyle->FindParaStyle(run);
        if (FVDStyle->GetParaStyles().GetCount() > count) {
            FCurrentVDData->AfterAddStyle(FVDStyle->GetParaStyles().GetItem(paraNo));
        }
        return paraNo;
    }
    const TParaInfos &styles = FVDStyle->GetParaStyles();
    for (int32_t i = 0; i < styles.GetCount(); ++i) {
        if (styles.GetItem(i).IsEqual(run, {})) {
            return i;
        }
    }
    return 0;
}

} // namespace vizivodu
