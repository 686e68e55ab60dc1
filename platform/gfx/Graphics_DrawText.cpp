// TCanvas::DrawText: the Windows text-in-rectangle layout (alignment, word breaks, prefixes).
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Canvas_p.h"
#include "platform/gfx/QtBridge_p.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace gfx {

namespace {

// "&&" shows one '&'; a single '&' marks the next character as the accelerator and is dropped.
QString StripPrefixes(const QString &s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
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

QString ExpandTabs(const QString &s) {
    QString out;
    for (QChar c : s) {
        if (c == u'\t') {
            out += QString(8 - out.size() % 8, u' ');
        } else {
            out += c;
        }
    }
    return out;
}

// Greedy word wrap of one paragraph; a word wider than the width keeps a line of its own.
void WrapParagraph(const QString &para, int width, const QFontMetrics &fm, QStringList &lines) {
    const QStringList words = para.split(u' ');
    QString line;
    for (const QString &w : words) {
        const QString candidate = line.isEmpty() ? w : line + u' ' + w;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate) > width) {
            lines << line;
            line = w;
        } else {
            line = candidate;
        }
    }
    lines << line;
}

QStringList LayoutLines(QString text, int width, uint32_t format, const QFontMetrics &fm) {
    if (!(format & DT_NOPREFIX)) {
        text = StripPrefixes(text);
    }
    if (format & DT_EXPANDTABS) {
        text = ExpandTabs(text);
    }
    QStringList lines;
    if (format & DT_SINGLELINE) {
        lines << text;
        return lines;
    }
    text.replace(u"\r\n"_qs, u"\n"_qs);
    for (const QString &para : text.split(u'\n')) {
        if (format & DT_WORDBREAK) {
            WrapParagraph(para, width, fm, lines);
        } else {
            lines << para;
        }
    }
    return lines;
}

int LineLeft(const TRect &r, int lineWidth, uint32_t format) {
    if (format & DT_CENTER) {
        return r.Left + (r.Width() - lineWidth) / 2;
    }
    if (format & DT_RIGHT) {
        return r.Right - lineWidth;
    }
    return r.Left;
}

} // namespace

int32_t TCanvas::DrawText(const rtl::UnicodeString &text, TRect &r, uint32_t format) {
    const QFont f = qt::ToQFont(FFont);
    const QFontMetrics fm(f);
    const int lineHeight = fm.ascent() + fm.descent();
    const QStringList lines = LayoutLines(qt::ToQString(text), r.Width(), format, fm);
    const int height = lineHeight * int(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const QString &l : lines) {
            widest = std::max(widest, fm.horizontalAdvance(l));
        }
        r.Right = r.Left + widest;
        r.Bottom = r.Top + height;
        return height;
    }
    int y = r.Top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) {
        y = r.Top + (r.Height() - lineHeight) / 2;
    } else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) {
        y = r.Bottom - lineHeight;
    }
    QPainter &p = FImpl->Painter();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!(format & DT_NOCLIP)) {
        p.setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
    }
    p.setFont(f);
    for (QString line : lines) {
        if (format & DT_END_ELLIPSIS) {
            line = fm.elidedText(line, Qt::ElideRight, r.Width());
        }
        const int w = fm.horizontalAdvance(line);
        const int x = LineLeft(r, w, format);
        if (FBrush.GetStyle() != bsClear) {
            p.fillRect(QRect(x, y, w, lineHeight), qt::ToQColor(FBrush.GetColor()));
        }
        p.setPen(qt::ToQColor(FFont.GetColor()));
        p.drawText(QPoint(x, y + fm.ascent()), line);
        y += lineHeight;
    }
    p.restore();
    return height;
}

} // namespace gfx
