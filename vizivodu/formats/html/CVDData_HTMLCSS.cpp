// The HTML writer with CSS: the style sheet as classes (or inline style attributes), the page
// as the body's declarations, paragraphs as p and heading elements, list markers as list
// elements with CSS.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/html/VDHTMLCSSWriter_p.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/StrUtils.h"

namespace vizivodu {

namespace {

struct TBackgroundCSS {
    const char *Repeat;
    const char *Attachment;
    const char *Position; // nullptr: none
};

TBackgroundCSS BackgroundCSS(TBackgroundStyle style) {
    switch (style) {
    case bsTiled:
        return {"repeat", "fixed", nullptr};
    case bsTiledAndScrolled:
        return {"repeat", "scroll", nullptr};
    case bsCentered:
        return {"no-repeat", "fixed", "center center"};
    case bsTopLeft:
        return {"no-repeat", "fixed", "top left"};
    case bsTopRight:
        return {"no-repeat", "fixed", "top right"};
    case bsBottomLeft:
        return {"no-repeat", "fixed", "bottom left"};
    case bsBottomRight:
        return {"no-repeat", "fixed", "bottom right"};
    default:
        return {"no-repeat", "fixed", nullptr};
    }
}

} // namespace

TVDSaveCSSOptions TVDHTMLCSSWriter::CSSOptions() const {
    TVDSaveCSSOptions o;
    const TVDSaveOptions s = FParams.Options;
    if (s.Contains(vdsoNoDefCSSStyle)) {
        o.Include(vdcssNoDefCSSStyle);
    }
    if (s.Contains(vdsoUTF8)) {
        o.Include(vdcssUTF8);
    }
    if (s.Contains(vdsoDefault0Style)) {
        o.Include(vdcssDefault0Style);
    }
    if (s.Contains(vdsoMarkersAsText)) {
        o.Include(vdcssMarkersAsText);
    }
    return o;
}

void TVDHTMLCSSWriter::DocType() {
    const bool strict = FParams.Options.Contains(vdsoMarkersAsText);
    if (FParams.Options.Contains(vdsoXHTML)) {
        const TVDAnsiString charset = FUTF8 ? "UTF-8"
                                            : CharsetToHTMLCharsetName(static_cast<uint8_t>(
                                                  FStyle.GetTextStyles().GetItem(0).GetCharset()));
        Write("<?xml version=\"1.0\"");
        if (!charset.empty()) {
            Write(" encoding=\"" + charset + "\"");
        }
        WriteLine("?>");
        WriteLine(strict ? "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"
                         : "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">");
        WriteLine("<html xmlns=\"http://www.w3.org/1999/xhtml\">");
        return;
    }
    WriteLine(strict ? "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                       "\"http://www.w3.org/TR/html4/strict.dtd\">"
                     : "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
    Write("<html>");
}

TVDAnsiString TVDHTMLCSSWriter::BodyDeclarations(const char *separator, char quote) {
    const std::string s = separator;
    TVDAnsiString css = "margin: " + std::to_string(FParams.TopMargin) + "px " +
                        std::to_string(FParams.RightMargin) + "px " +
                        std::to_string(FParams.BottomMargin) + "px " +
                        std::to_string(FParams.LeftMargin) + "px;";
    if (FParams.Color != gfx::clNone) {
        css += s + "background-color: " + ColorToCSS(FParams.Color) + ";";
    }
    const TVDBackground *back = FParams.Background;
    if (!back || back->Style == bsNoBitmap || !back->GetImage() || back->GetImage()->Empty()) {
        return css;
    }
    const rtl::UnicodeString location =
        FData.SaveBackgroundToHTML(*back->GetImage(), FParams.Color, FParams);
    if (location.empty()) {
        return css;
    }
    const TBackgroundCSS b = BackgroundCSS(back->Style);
    css += s + "background-image: url(" + quote + Encode(location) + quote + ");";
    css += s + "background-repeat: " + b.Repeat + ";";
    css += s + "background-attachment: " + b.Attachment + ";";
    if (back->Style == bsStretched) {
        css += s + "background-size: 100% 100%;";
    } else if (b.Position) {
        css += s + "background-position: " + b.Position + ";";
    }
    return css;
}

void TVDHTMLCSSWriter::StyleBlock() {
    const bool xhtml = FParams.Options.Contains(vdsoXHTML);
    Write("<style type=\"text/css\">");
    WriteLine(xhtml ? "" : "\r\n<!--");
    if (!FInline) {
        WriteLine("body {");
        WriteLine("  " + BodyDeclarations("\r\n  ", '"'));
        WriteLine("}");
        if (FParams.ExternalCSS.empty()) {
            if (FOwnsListBullets) {
                FStyle.GetListStyles().SaveCSSToStream(nullptr, *FParams.ListBullets, CSSOptions(),
                                                       "");
            }
            FStyle.SaveCSSToStream(FStream, CSSOptions());
        }
    }
    if (!FParams.ExtraStyles.empty()) {
        WriteLine(Encode(FParams.ExtraStyles));
    }
    if (!xhtml) {
        Write("-->");
    }
    WriteLine("</style>");
}

void TVDHTMLCSSWriter::Head() {
    const TVDAnsiString end = GetXHTMLTagEnd(FParams.Options);
    DocType();
    WriteLine("<head><title>" + Encode(EscapeHTMLAttrUnicode(FParams.Title)) + "</title>");
    const TVDAnsiString charset = FUTF8 ? "UTF-8"
                                        : CharsetToHTMLCharsetName(static_cast<uint8_t>(
                                              FStyle.GetTextStyles().GetItem(0).GetCharset()));
    if (!charset.empty()) {
        WriteLine("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset +
                  "\"" + end + ">");
    }
    WriteLine("<meta http-equiv=\"Content-Style-Type\" content=\"text/css\"" + end + ">");
    if (!FInline || !FParams.ExtraStyles.empty()) {
        StyleBlock();
    }
    if (!FParams.ExternalCSS.empty() && !FInline) {
        WriteLine("<link type=\"text/css\" href=\"" +
                  Encode(EscapeHTMLAttrUnicode(FParams.ExternalCSS)) + "\" rel=\"stylesheet\"" +
                  end + ">");
    }
    WriteExtra(vd_thms_Head);
    WriteLine("</head>");
    Write("<body");
    if (FInline) {
        Write(" style=\"" + BodyDeclarations(" ", '\'') + "\"");
    }
    const rtl::UnicodeString attr = FData.GetExtraHTMLCode(vd_thms_BodyAttribute, true);
    if (!attr.empty()) {
        Write(" " + Encode(attr));
    }
    WriteLine(">");
    WriteExtra(vd_thms_Body);
}

void TVDHTMLCSSWriter::End() {
    WriteExtra(vd_thms_End);
    WriteLine("</body></html>");
}

} // namespace vizivodu
