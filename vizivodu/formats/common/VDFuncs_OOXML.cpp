// Office Open XML text routines shared by the format writers.
#include "vizivodu/formats/common/VDFuncs_OOXML.h"

#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_URL.h"

namespace vizivodu {

namespace {

AnsiString EscapeXMLUtf8(const UnicodeString &s, bool quotes) {
    return EscapeHTMLAnsi(rtl::Utf16ToUtf8(ControlCharsToQuestion(s)), quotes, false);
}

std::string_view NamespaceOf(std::string_view prefix) {
    struct TRow {
        std::string_view Prefix, Namespace;
    };
    static constexpr TRow kExact[] = {
        {"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
        {"dc", "http://purl.org/dc/elements/1.1/"},
        {"m", "http://schemas.openxmlformats.org/officeDocument/2006/math"},
        {"mc", "http://schemas.openxmlformats.org/markup-compatibility/2006"},
        {"ve", "http://schemas.openxmlformats.org/markup-compatibility/2006"},
        {"v", "urn:schemas-microsoft-com:vml"},
        {"w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main"},
        {"wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
        {"w10", "urn:schemas-microsoft-com:office:word"},
        {"wne", "http://schemas.microsoft.com/office/word/2006/wordml"},
        {"wp14", "http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing"},
        {"wps", "http://schemas.microsoft.com/office/word/2010/wordprocessingShape"}};
    for (const TRow &row : kExact) {
        if (row.Prefix == prefix) {
            return row.Namespace;
        }
    }
    if (prefix.starts_with('o')) {
        return "urn:schemas-microsoft-com:office:office";
    }
    if (prefix.starts_with('r')) {
        return "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    }
    return {};
}

} // namespace

AnsiString ColorToOOXMLStr(TColor color, bool allowAuto) {
    if (allowAuto && (color == gfx::clWindowText || color == gfx::clNone)) {
        return "auto";
    }
    uint32_t rgb = 0xFFFFFF;
    if (color == gfx::clWindowText) {
        rgb = 0;
    } else if (color != gfx::clNone) {
        rgb = gfx::ColorToRGB(color);
    }
    static const char kUpper[] = "0123456789ABCDEF";
    AnsiString s;
    for (uint8_t b : {gfx::GetRValue(rgb), gfx::GetGValue(rgb), gfx::GetBValue(rgb)}) {
        s += kUpper[b >> 4];
        s += kUpper[b & 15];
    }
    return s;
}

AnsiString MakeOOXMLStr(const UnicodeString &s) {
    return EscapeXMLUtf8(s, false);
}

AnsiString MakeOOXMLStrW(const UnicodeString &s) {
    return EscapeXMLUtf8(s, false);
}

AnsiString MakeOOXMLAttrStr(const UnicodeString &s) {
    return EscapeXMLUtf8(s, true);
}

AnsiString MakeOOXMLURL(const UnicodeString &s, bool spacesOnly) {
    const UnicodeString escaped = EscapeHTMLAttrUnicode(s);
    return rtl::Utf16ToUtf8(spacesOnly ? PercentEncodeSpaces(escaped) : PercentEncodeURL(escaped));
}

AnsiString GetOOXMLBoolProp(std::string_view name, bool value) {
    return "<w:" + AnsiString(name) + (value ? "" : " w:val=\"0\"") + "/>";
}

AnsiString GetOOXMLStrProp(std::string_view name, std::string_view value) {
    return "<w:" + AnsiString(name) + " w:val=\"" + AnsiString(value) + "\"/>";
}

AnsiString GetOOXMLIntProp(std::string_view name, int32_t value) {
    return GetOOXMLStrProp(name, std::to_string(value));
}

AnsiString GetOOXMLColorProp(std::string_view name, TColor color) {
    return GetOOXMLStrProp(name, ColorToOOXMLStr(color, true));
}

AnsiString GetOOXMLNamespaceAttrs(std::initializer_list<std::string_view> prefixes) {
    AnsiString s;
    for (std::string_view prefix : prefixes) {
        const std::string_view ns = NamespaceOf(prefix);
        if (!ns.empty()) {
            AppendWithSpaceAnsi(s, "xmlns:" + AnsiString(prefix) + "=\"" + AnsiString(ns) + "\"");
        }
    }
    return s;
}

} // namespace vizivodu
