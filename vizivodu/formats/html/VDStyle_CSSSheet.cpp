// The style sheet as a CSS style sheet: text styles as classes "vdts", paragraph styles as
// classes "vdps", then the list styles.
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/html/VDHTMLListCSSList.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

namespace vizivodu {

namespace {

AnsiString StyleComment(const TCustomVDInfo &style, const TVDStyle &sheet,
                        TVDSaveCSSOptions options) {
    if (!style.GetStandard()) {
        return {};
    }
    AnsiString name = UnicodeToUTF8OrAnsi(style.GetStyleName(), options.Contains(vdcssUTF8),
                                          sheet.GetDefCodePage());
    // A name must not end the comment early.
    ReplaceAllAnsiForward(name, "*/", "* /");
    return " /* " + name + " */";
}

bool IsValidIndex(int32_t index, int32_t count) {
    return index >= 0 && index < count;
}

// Style 0 serves as the body's style and as every other style's base.
bool TextStyle0IsDefault(const TFontInfos &styles, TVDSaveCSSOptions options) {
    const TFontInfo &style0 = styles.GetItem(0);
    return !style0.GetJump() && style0.GetBackColor() == gfx::clNone &&
           !options.Contains(vdcssNoDefCSSStyle);
}

void WriteHoverRule(rtl::TStream &stream, const TVDStyle &sheet, int32_t i, const TFontInfo *base) {
    const TFontInfos &styles = sheet.GetTextStyles();
    const TFontInfo &style = styles.GetItem(i);
    const TColor hoverColor = sheet.GetHoverColor(i);
    if (hoverColor == gfx::clNone && style.GetHoverBackColor() == gfx::clNone &&
        style.GetHoverEffects().Empty()) {
        return;
    }
    const bool plainBase = !base || !base->GetJump();
    const TColor baseHoverColor = base ? sheet.GetHoverColor(base->GetIndex()) : gfx::clNone;
    WriteCSSText(stream, "a.vdts" + std::to_string(i) + ":hover {");
    if ((hoverColor != gfx::clNone && plainBase) || (base && hoverColor != baseHoverColor)) {
        WriteCSSText(stream, " color: " + ColorToCSS(hoverColor) + ";");
    }
    const TColor hoverBack = style.GetHoverBackColor();
    if ((hoverBack != gfx::clNone && plainBase) ||
        (base && hoverBack != base->GetHoverBackColor())) {
        WriteCSSText(stream, " background-color: " + ColorToCSS(hoverBack) + ";");
    }
    const bool hoverUnderline = style.GetHoverEffects().Contains(vdheUnderline);
    const AnsiString decoration = TextDecorationCSS(style, true);
    if (((plainBase && hoverUnderline) ||
         (base && hoverUnderline != base->GetHoverEffects().Contains(vdheUnderline))) &&
        !decoration.empty()) {
        WriteCSSText(stream, " text-decoration: " + decoration + ";");
    }
    const AnsiString border = UnderlineBorderCSS(style, true);
    if (!border.empty() && style.GetHoverUnderlineColor() != gfx::clNone) {
        WriteCSSText(stream, " " + border + ";");
    }
    WriteCSSLine(stream, " }");
}

void WriteTextStyles(rtl::TStream &stream, const TVDStyle &sheet, TVDSaveCSSOptions options) {
    const TFontInfos &styles = sheet.GetTextStyles();
    WriteCSSLine(stream, "/* ========== Text Styles ========== */");
    WriteCSSLine(stream,
                 "hr { color: " + ColorToHTMLStrAnsi(styles.GetItem(0).GetColor(), false) + "}");
    const bool style0IsDefault = TextStyle0IsDefault(styles, options);
    for (int32_t i = options.Contains(vdcssDefault0Style) ? 1 : 0; i < styles.GetCount(); ++i) {
        const TFontInfo &style = styles.GetItem(i);
        const AnsiString comment = StyleComment(style, sheet, options);
        const AnsiString n = std::to_string(i);
        if (i == 0 && style0IsDefault) {
            WriteCSSLine(stream, "body, table, span.vdts0" + comment);
        } else if (style.GetJump()) {
            WriteCSSLine(stream, "a.vdts" + n + ", span.vdts" + n + comment);
        } else {
            WriteCSSLine(stream, "span.vdts" + n + comment);
        }
        const TFontInfo *base = nullptr;
        if (options.Contains(vdcssOnlyDifference) &&
            IsValidIndex(style.GetBaseStyleNo(), styles.GetCount())) {
            base = &styles.GetItem(style.GetBaseStyleNo());
        } else if (i >= 1 && style0IsDefault) {
            base = &styles.GetItem(0);
        }
        WriteCSSLine(stream, "{");
        style.SaveCSSToStream(stream, base, true, options.Contains(vdcssUTF8), style.GetJump());
        WriteCSSLine(stream, "}");
        if (style.GetJump()) {
            WriteHoverRule(stream, sheet, i, base);
        }
    }
}

void WriteParaStyles(rtl::TStream &stream, const TVDStyle &sheet, TVDSaveCSSOptions options) {
    const TParaInfos &styles = sheet.GetParaStyles();
    const bool noDefault = options.Contains(vdcssNoDefCSSStyle);
    WriteCSSLine(stream, "/* ========== Para Styles ========== */");
    for (int32_t i = 0; i < styles.GetCount(); ++i) {
        const TParaInfo &style = styles.GetItem(i);
        const AnsiString comment = StyleComment(style, sheet, options);
        WriteCSSLine(stream,
                     (i == 0 && !noDefault ? AnsiString("p,ul,ol") : ".vdps" + std::to_string(i)) +
                         comment);
        const TParaInfo *base = nullptr;
        if (options.Contains(vdcssOnlyDifference) &&
            IsValidIndex(style.GetBaseStyleNo(), styles.GetCount())) {
            base = &styles.GetItem(style.GetBaseStyleNo());
        } else if (i >= 1 && !noDefault) {
            base = &styles.GetItem(0);
        }
        if (style.IsHeading(6)) {
            base = nullptr;
        }
        WriteCSSLine(stream, "{");
        style.SaveCSSToStream(stream, base, true, options.Contains(vdcssIgnoreLeftAlignment), false,
                              vdbdUnspecified);
        WriteCSSLine(stream, "}");
    }
}

} // namespace

void TVDStyle::SaveCSSToStream(rtl::TStream &stream, TVDSaveCSSOptions options) const {
    WriteTextStyles(stream, *this, options);
    WriteParaStyles(stream, *this, options);
    TVDHTMLListCSSList bullets;
    GetListStyles().SaveCSSToStream(&stream, bullets, options, "/* ========== Lists ========== */");
}

bool TVDStyle::SaveCSS(const UnicodeString &fileName, TVDSaveCSSOptions options) const {
    try {
        rtl::TFileStream stream(fileName, rtl::fmCreate);
        SaveCSSToStream(stream, options);
        return true;
    } catch (const rtl::Exception &) {
        return false;
    }
}

} // namespace vizivodu
