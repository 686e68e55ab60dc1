// TCanvas::DrawText: the Windows text-in-rectangle layout (alignment, word breaks, prefixes,
// tabs, end ellipsis), measured and drawn with the canvas's own text functions.
#include "platform/gfx/Graphics.h"

#include <algorithm>

namespace gfx {

namespace {

using rtl::UnicodeString;

// "&&" shows one '&'; a single '&' marks the next character as the accelerator and is dropped.
UnicodeString StripPrefixes(const UnicodeString &s) {
    UnicodeString out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'&') {
            if (i + 1 < s.size() && s[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

UnicodeString ExpandTabs(const UnicodeString &s) {
    UnicodeString out;
    for (char16_t c : s) {
        if (c == u'\t') {
            out.append(8 - out.size() % 8, u' ');
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<UnicodeString> Split(const UnicodeString &s, char16_t sep) {
    std::vector<UnicodeString> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == sep) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// Greedy word wrap of one paragraph; a word wider than the width keeps a line of its own.
void WrapParagraph(const UnicodeString &para, int32_t width, TCanvas &c,
                   std::vector<UnicodeString> &lines) {
    UnicodeString line;
    bool first = true;
    for (const UnicodeString &w : Split(para, u' ')) {
        const UnicodeString candidate = first ? w : line + u' ' + w;
        if (!first && c.TextWidth(candidate) > width) {
            lines.push_back(line);
            line = w;
        } else {
            line = candidate;
        }
        first = false;
    }
    lines.push_back(line);
}

std::vector<UnicodeString> LayoutLines(UnicodeString text, int32_t width, uint32_t format,
                                       TCanvas &c) {
    if (!(format & DT_NOPREFIX)) {
        text = StripPrefixes(text);
    }
    if (format & DT_EXPANDTABS) {
        text = ExpandTabs(text);
    }
    std::vector<UnicodeString> lines;
    if (format & DT_SINGLELINE) {
        lines.push_back(text);
        return lines;
    }
    UnicodeString joined;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        }
        joined += text[i];
    }
    for (const UnicodeString &para : Split(joined, u'\n')) {
        if (format & DT_WORDBREAK) {
            WrapParagraph(para, width, c, lines);
        } else {
            lines.push_back(para);
        }
    }
    return lines;
}

// The longest start of line that fits width with "..." after it.
UnicodeString Ellipsis(const UnicodeString &line, int32_t width, TCanvas &c) {
    if (c.TextWidth(line) <= width) {
        return line;
    }
    const UnicodeString dots = u"...";
    std::vector<int32_t> ext;
    int32_t fit = 0;
    c.GetTextExtentExPoint(line, std::max(0, width - c.TextWidth(dots)), &fit, &ext);
    return line.substr(0, size_t(fit)) + dots;
}

int32_t LineLeft(const TRect &r, int32_t lineWidth, uint32_t format) {
    if (format & DT_CENTER) {
        return int32_t(r.Left + (int64_t(r.Right) - r.Left - lineWidth) / 2);
    }
    if (format & DT_RIGHT) {
        return r.Right - lineWidth;
    }
    return r.Left;
}

} // namespace

int32_t TCanvas::DrawText(const rtl::UnicodeString &text, TRect &r, uint32_t format) {
    const int32_t lineHeight = GetTextMetrics().tmHeight;
    const int32_t width = int32_t(std::clamp<int64_t>(int64_t(r.Right) - r.Left, 0, INT32_MAX));
    const std::vector<UnicodeString> lines = LayoutLines(text, width, format, *this);
    const int32_t height = lineHeight * int32_t(lines.size());
    if (format & DT_CALCRECT) {
        int32_t widest = 0;
        for (const UnicodeString &l : lines) {
            widest = std::max(widest, TextWidth(l));
        }
        r.Right = r.Left + widest;
        r.Bottom = r.Top + height;
        return height;
    }
    int32_t y = r.Top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) {
        y = int32_t(r.Top + (int64_t(r.Bottom) - r.Top - lineHeight) / 2);
    } else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) {
        y = r.Bottom - lineHeight;
    }
    // DrawText places lines by their top-left corner whatever the text alignment says.
    const uint32_t align = SetTextAlign(TA_TOP | TA_LEFT | (GetTextAlign() & TA_RTLREADING));
    const uint32_t options = (format & DT_NOCLIP) ? 0u : uint32_t(ETO_CLIPPED);
    for (UnicodeString line : lines) {
        if (format & DT_END_ELLIPSIS) {
            line = Ellipsis(line, width, *this);
        }
        const int32_t x = LineLeft(r, TextWidth(line), format);
        ExtTextOut(x, y, options, &r, line);
        y += lineHeight;
    }
    SetTextAlign(align);
    return height;
}

} // namespace gfx
