// The CSS half of paragraph styles: alignment, direction, indents, line spacing, options,
// border, background, padding and margins as declarations.
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace vizivodu {

namespace {

struct TSides {
    TVDStyleLength Top = 0, Right = 0, Bottom = 0, Left = 0;
    bool operator==(const TSides &) const = default;
};

bool HasBorder(const TVDBorder &border) {
    return border.Style != vdbNone && border.Color != gfx::clNone;
}

TSides OffsetsOf(const TVDRect &r) {
    return {r.Top, r.Right, r.Bottom, r.Left};
}

// The padding a paragraph gets: its border offsets when it has a border, else 0.
TSides BorderPadding(const TCustomVDParaInfo &para) {
    return HasBorder(para.GetBorder()) ? OffsetsOf(para.GetBorder().GetBorderOffsets()) : TSides();
}

TSides Margins(const TCustomVDParaInfo &para, const TSides &padding) {
    const TVDBorder &border = para.GetBorder();
    const TVDStyleLength width = border.Color == gfx::clNone ? 0 : border.GetTotalWidth();
    auto margin = [width](TVDStyleLength space, TVDStyleLength pad) {
        return std::max<TVDStyleLength>(0, space - pad - width);
    };
    return {
        margin(para.GetSpaceBefore(), padding.Top), margin(para.GetRightIndent(), padding.Right),
        margin(para.GetSpaceAfter(), padding.Bottom), margin(para.GetLeftIndent(), padding.Left)};
}

AnsiString FourSizes(const TVDStyle *sheet, const TSides &s) {
    return CSSSize(sheet, s.Top) + " " + CSSSize(sheet, s.Right) + " " + CSSSize(sheet, s.Bottom) +
           " " + CSSSize(sheet, s.Left);
}

void WriteAlignment(const TCustomVDParaInfo &para, const TCustomVDParaInfo *b, bool ignoreLeft,
                    const std::function<void(const AnsiString &)> &put) {
    static constexpr const char *kAlign[] = {"left", "right", "center", "justify", "justify"};
    static constexpr const char *kLast[] = {"auto", "left", "right", "center", "justify"};
    const TVDAlignment align = para.GetAlignment();
    if ((!b && (!ignoreLeft || align != vdaLeft)) || (b && b->GetAlignment() != align)) {
        put(AnsiString(" text-align: ") + kAlign[align] + ";");
        if (align == vdaJustify && b) {
            put(" text-justify: inter-word;");
        } else if (align == vdaDistribute) {
            put(" text-justify: distribute;");
        }
    }
    if ((align == vdaJustify || align == vdaDistribute) &&
        (!b || b->GetAlignment() != align ||
         b->GetLastLineAlignment() != para.GetLastLineAlignment())) {
        put(AnsiString(" text-align-last: ") + kLast[para.GetLastLineAlignment()] + ";");
    }
}

void WriteLineSpacing(const TCustomVDParaInfo &para, const TCustomVDParaInfo *b,
                      const TVDStyle *sheet, const std::function<void(const AnsiString &)> &put) {
    const bool differs = b && (b->GetLineSpacingType() != para.GetLineSpacingType() ||
                               b->GetLineSpacing() != para.GetLineSpacing());
    switch (para.GetLineSpacingType()) {
    case vdlsPercent:
        if ((!b && para.GetLineSpacing() != 100) || differs) {
            char text[48];
            std::snprintf(text, sizeof text, " line-height: %d.%.2d;", para.GetLineSpacing() / 100,
                          para.GetLineSpacing() % 100);
            put(text);
        }
        break;
    case vdlsLineHeightAtLeast:
    case vdlsLineHeightExact:
        if (!b || differs) {
            put(" line-height: " + CSSSize(sheet, para.GetLineSpacing()) + ";");
        }
        break;
    default:
        break;
    }
}

void WriteOptions(const TCustomVDParaInfo &para, const TCustomVDParaInfo *b,
                  const std::function<void(const AnsiString &)> &put) {
    struct TRow {
        TVDParaOption Option;
        const char *On;
        const char *Off;
    };
    static constexpr TRow kRows[] = {
        {vdpaoNoWrap, " white-space: nowrap;", " white-space: normal;"},
        {vdpaoKeepLinesTogether, " page-break-inside: avoid;", " page-break-inside: auto;"},
        {vdpaoKeepWithNext, " page-break-after: avoid;", " page-break-after: auto;"}};
    for (const TRow &row : kRows) {
        if (para.GetOptions().Contains(row.Option)) {
            put(row.On);
        } else if (b && b->GetOptions().Contains(row.Option)) {
            put(row.Off);
        }
    }
    if (para.GetOptions().Contains(vdpaoWidowOrphanControl)) {
        put(" widows: 2;");
        put(" orphans: 2;");
    } else if (b && b->GetOptions().Contains(vdpaoWidowOrphanControl)) {
        put(" widows: 1;");
        put(" orphans: 1;");
    }
}

// Border declarations; the padding the border leaves.
TSides WriteBorder(const TCustomVDParaInfo &para, const TCustomVDParaInfo *b, const TVDStyle *sheet,
                   const std::function<void(const AnsiString &)> &put) {
    const TVDBorder &border = para.GetBorder();
    if (!HasBorder(border)) {
        if (b && HasBorder(b->GetBorder())) {
            put(" border: none;");
        }
        return {};
    }
    put(" border-color: " + ColorToHTMLStrAnsi(border.Color, false) + ";");
    put(AnsiString(" border-style: ") + (border.Style == vdbSingle ? "solid" : "double") + ";");
    put(" border-width: " + CSSSize(sheet, border.GetTotalWidth()) + ";");
    const TVDBooleanRect &visible = border.VisibleBorders;
    if (!visible.Top) {
        put(" border-top: none;");
    }
    if (!visible.Right) {
        put(" border-right: none;");
    }
    if (!visible.Bottom) {
        put(" border-bottom: none;");
    }
    if (!visible.Left) {
        put(" border-left: none;");
    }
    return OffsetsOf(border.GetBorderOffsets());
}

void WriteBackground(const TCustomVDParaInfo &para, const TCustomVDParaInfo *b, TSides &padding,
                     const std::function<void(const AnsiString &)> &put) {
    const TVDBackgroundRect &back = para.GetBackground();
    if ((!b && back.Color != gfx::clNone) || (b && b->GetBackground().Color != back.Color)) {
        put(" background: " + ColorToCSS(back.Color) + ";");
    }
    if (back.Color == gfx::clNone) {
        return;
    }
    if ((!b && back.Opacity != 100000) || (b && b->GetBackground().Opacity != back.Opacity)) {
        put(" background-color: " + ColorOpacityToCSS(back.Color, back.Opacity) + ";");
    }
    const TSides offsets = OffsetsOf(back.GetBorderOffsets());
    padding.Top = std::max(padding.Top, offsets.Top);
    padding.Right = std::max(padding.Right, offsets.Right);
    padding.Bottom = std::max(padding.Bottom, offsets.Bottom);
    padding.Left = std::max(padding.Left, offsets.Left);
}

void WriteMargins(const TCustomVDParaInfo &para, const TSides &margins, bool ignoreStartIndents,
                  TVDBiDiMode mainBiDiMode, const TVDStyle *sheet,
                  const std::function<void(const AnsiString &)> &put) {
    if (!ignoreStartIndents) {
        put(" margin: " + FourSizes(sheet, margins) + ";");
        return;
    }
    const TVDBiDiMode mode =
        para.GetBiDiMode() != vdbdUnspecified ? para.GetBiDiMode() : mainBiDiMode;
    if (mode == vdbdRightToLeft) {
        put(" margin-left: " + CSSSize(sheet, margins.Left) + ";");
    }
    put(" margin-top: " + CSSSize(sheet, margins.Top) + ";");
    if (mode != vdbdRightToLeft) {
        put(" margin-right: " + CSSSize(sheet, margins.Right) + ";");
    }
    put(" margin-bottom: " + CSSSize(sheet, margins.Bottom) + ";");
}

const char *DirectionValue(TVDBiDiMode mode) {
    return mode == vdbdLeftToRight ? "ltr" : mode == vdbdRightToLeft ? "rtl" : "inherit";
}

} // namespace

void TCustomVDParaInfo::SaveCSSToStream(rtl::TStream &stream, const TCustomVDParaInfo *baseStyle,
                                        bool multiline, bool ignoreLeftAlignment,
                                        bool ignoreStartIndents, TVDBiDiMode mainBiDiMode) const {
    const TCustomVDParaInfo *b = baseStyle;
    const TVDStyle *sheet = GetVDStyle();
    const std::function<void(const AnsiString &)> put = [&](const AnsiString &s) {
        WriteCSSProperty(stream, s, multiline);
    };
    WriteAlignment(*this, b, ignoreLeftAlignment, put);
    if ((!b && GetBiDiMode() != vdbdUnspecified) || (b && b->GetBiDiMode() != GetBiDiMode())) {
        put(AnsiString(" direction: ") + DirectionValue(GetBiDiMode()) + ";");
    }
    if (!ignoreStartIndents && (!b || b->GetFirstIndent() != GetFirstIndent())) {
        put(" text-indent: " + CSSSize(sheet, GetFirstIndent()) + ";");
    }
    WriteLineSpacing(*this, b, sheet, put);
    WriteOptions(*this, b, put);
    TSides padding = WriteBorder(*this, b, sheet, put);
    WriteBackground(*this, b, padding, put);
    const TSides basePadding = b ? BorderPadding(*b) : TSides();
    if (!b || padding != basePadding) {
        put(" padding: " + FourSizes(sheet, padding) + ";");
    }
    const TSides margins = Margins(*this, padding);
    if (b && margins == Margins(*b, basePadding)) {
        return;
    }
    WriteMargins(*this, margins, ignoreStartIndents, mainBiDiMode, sheet, put);
}

} // namespace vizivodu
