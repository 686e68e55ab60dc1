// Symbol and Wingdings text to Unicode and to HTML.
#include "vizivodu/formats/common/VDFuncs_Symbol.h"

#include "vizivodu/formats/common/VDFuncs_HTML.h"

#include <array>

namespace vizivodu {

namespace {

// The Adobe Symbol encoding's Unicode mapping for the codes 32 to 254 (0: no character).
constexpr char16_t kSymbolToUnicode[223] = {
    // 32
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F,
    // 48
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F,
    // 64
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A,
    0x039B, 0x039C, 0x039D, 0x039F,
    // 80
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
    0x2234, 0x005D, 0x22A5, 0x005F,
    // 96
    0xF8E5, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA,
    0x03BB, 0x03BC, 0x03BD, 0x03BF,
    // 112
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B,
    0x007C, 0x007D, 0x223C, 0,
    // 128
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 144
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 160
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194,
    0x2190, 0x2191, 0x2192, 0x2193,
    // 176
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248,
    0x2026, 0xF8E6, 0xF8E7, 0x21B5,
    // 192
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284,
    0x2282, 0x2286, 0x2208, 0x2209,
    // 208
    0x2220, 0x2207, 0xF6DA, 0xF6D9, 0xF6DB, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4,
    0x21D0, 0x21D1, 0x21D2, 0x21D3,
    // 224
    0x25CA, 0x2329, 0xF8E8, 0xF8E9, 0xF8EA, 0x2211, 0xF8EB, 0xF8EC, 0xF8ED, 0xF8EE, 0xF8EF, 0xF8F0,
    0xF8F1, 0xF8F2, 0xF8F3, 0xF8F4,
    // 240
    0, 0x232A, 0x222B, 0x2320, 0xF8F5, 0x2321, 0xF8F6, 0xF8F7, 0xF8F8, 0xF8F9, 0xF8FA, 0xF8FB,
    0xF8FC, 0xF8FD, 0xF8FE};

// HTML names of the codes 32 to 254: entity names, numeric forms, plain characters, or empty.
constexpr std::string_view kSymbolHTMLNames[223] = {
    // 32
    " ", "!", "forall", "#", "exist", "%", "&", "?", "(", ")", "lowast", "+", ",", "minus", ".",
    "/",
    // 48
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ":", ";", "<", "=", ">", "?",
    // 64
    "cong", "Alpha", "Beta", "Chi", "Delta", "Epsilon", "Phi", "Gamma", "Eta", "Iota", "thetasym",
    "Kappa", "Lambda", "Mu", "Nu", "Omicron",
    // 80
    "Pi", "Theta", "Rho", "Sigma", "Tau", "Upsilon", "sigmaf", "Omega", "Xi", "Psi", "Zeta", "[",
    "there4", "]", "perp", "_",
    // 96
    "oline", "alpha", "beta", "chi", "delta", "epsilon", "phi", "gamma", "eta", "iota", "#981",
    "kappa", "lambda", "mu", "nu", "omicron",
    // 112
    "pi", "theta", "rho", "sigma", "tau", "upsilon", "piv", "omega", "xi", "psi", "zeta", "{", "|",
    "}", "sim", "",
    // 128
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    // 144
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    // 160
    "euro", "upsih", "prime", "le", "frasl", "infin", "fnof", "clubs", "diams", "hearts", "spades",
    "harr", "larr", "uarr", "rarr", "darr",
    // 176
    "deg", "plusmn", "Prime", "ge", "times", "prop", "part", "#9679", "divide", "ne", "equiv",
    "asymp", "hellip", "#9168", "#9135", "crarr",
    // 192
    "alefsym", "image", "real", "weierp", "otimes", "oplus", "empty", "cap", "cup", "sup", "supe",
    "nsub", "sub", "sube", "isin", "notin",
    // 208
    "ang", "nabla", "reg", "copy", "trade", "prod", "radic", "sdot", "not", "and", "or", "hArr",
    "lArr", "uArr", "rArr", "dArr",
    // 224
    "loz", "lang", "reg", "copy", "trade", "sum", "#9115", "#9116", "#9117", "#9121", "#9122",
    "#9123", "#9127", "#9128", "#9129", "#9130",
    // 240
    "", "rang", "int", "#8992", "#9134", "#8993", "#9118", "#9119", "#9120", "#9124", "#9125",
    "#9126", "#9131", "#9132", "#9133"};

// The codes 32 to 254 of Wingdings that have their own character; 0 stands for U+2022.
constexpr char16_t kWingdings[223] = {
    // 32
    0x0020, 0x270F, 0x2702, 0x2701, 0, 0, 0, 0, 0x260E, 0x2706, 0x2709, 0x2709, 0, 0, 0, 0,
    // 48
    0, 0, 0, 0, 0, 0, 0x231B, 0x2328, 0, 0, 0, 0, 0, 0, 0x2707, 0x270D,
    // 64
    0x270D, 0x270C, 0, 0, 0, 0x261C, 0x261E, 0x261D, 0x261F, 0x270B, 0x263A, 0x263A, 0x2639, 0,
    0x2620, 0x2690,
    // 80
    0x2690, 0x2708, 0x263C, 0, 0x2744, 0x271E, 0x271E, 0x271E, 0x2720, 0x2721, 0x262A, 0x262F,
    0x0950, 0x2638, 0x2648, 0x2649,
    // 96
    0x264A, 0x264B, 0x264C, 0x264D, 0x264E, 0x264F, 0x2650, 0x2651, 0x2652, 0x2653, 0x0026, 0x0026,
    0x25CF, 0x274D, 0x25A0, 0x25A1,
    // 112
    0x25A1, 0x2751, 0x2752, 0x2B27, 0x29EB, 0x25C6, 0x2756, 0x2B25, 0x2327, 0x2353, 0x2318, 0x2740,
    0x273F, 0x275D, 0x275E, 0x25AF,
    // 128
    0x24EA, 0x2460, 0x2461, 0x2462, 0x2463, 0x2464, 0x2465, 0x2466, 0x2467, 0x2468, 0x2469, 0x24FF,
    0x2777, 0x2778, 0x2779, 0x277A,
    // 144
    0x277B, 0x277C, 0x277D, 0x277E, 0x277F, 0x2780, 0, 0, 0, 0, 0, 0, 0, 0, 0x00B7, 0,
    // 160
    0x25AA, 0x25CB, 0x2B55, 0x2B55, 0x25C9, 0x25CE, 0x2B55, 0x25A0, 0x25FB, 0x2726, 0x2726, 0x2605,
    0x2736, 0x2734, 0x2739, 0x2735,
    // 176
    0x2316, 0x2316, 0x27E1, 0x2311, 0x003F, 0x272A, 0x2730, 0x25CE, 0x25CE, 0x25CE, 0x25CE, 0x25CE,
    0x25CE, 0x25CE, 0x25CE, 0x25CE,
    // 192
    0x25CE, 0x25CE, 0x25CE, 0x21D9, 0x21D8, 0x21D6, 0x21D7, 0x21D6, 0x21D7, 0x21D9, 0x21D8, 0, 0, 0,
    0, 0,
    // 208
    0, 0, 0, 0, 0, 0x232B, 0x2326, 0x21D0, 0x27A2, 0x21D1, 0x21D3, 0x21D0, 0x27B2, 0x21D1, 0x21D3,
    0x2190,
    // 224
    0x2192, 0x2191, 0x2193, 0x2196, 0x2197, 0x2199, 0x2198, 0x2190, 0x2794, 0x2191, 0x2193, 0x2196,
    0x2197, 0x2199, 0x2198, 0x21E6,
    // 240
    0x21E8, 0x21E7, 0x21E9, 0x2B04, 0x21F3, 0x2B00, 0x2B01, 0x2B03, 0x2B02, 0x25AD, 0x25AB, 0x2717,
    0x2713, 0x2612, 0x2611};

void AppendUnit(TVDRawByteString &raw, char16_t unit) {
    raw += static_cast<char>(unit & 0xFF);
    raw += static_cast<char>(unit >> 8);
}

AnsiString RawToEscapedUTF8(const TVDRawByteString &raw, bool trailingNbsp) {
    return EscapeHTMLTextAnsi(rtl::Utf16ToUtf8(RawUnicodeToString(raw)), false, trailingNbsp);
}

void TrailingBlankToNbsp(AnsiString &s, bool trailingNbsp) {
    if (trailingNbsp && !s.empty() && s.back() == ' ') {
        s.pop_back();
        s += "&nbsp;";
    }
}

} // namespace

char16_t SymbolCodeToUnicode(uint8_t code) {
    return code >= 32 && code <= 254 ? kSymbolToUnicode[code - 32] : 0;
}

std::string_view SymbolCodeToHTMLName(uint8_t code) {
    return code >= 32 && code <= 254 ? kSymbolHTMLNames[code - 32] : std::string_view();
}

char16_t WingdingsCharToUnicode(uint8_t code) {
    const char16_t unit = code >= 32 && code <= 254 ? kWingdings[code - 32] : 0;
    return unit != 0 ? unit : 0x2022;
}

TVDRawByteString SymbolAnsiToUnicodeRaw(std::string_view s) {
    TVDRawByteString raw;
    for (char ch : s) {
        const char16_t unit = SymbolCodeToUnicode(static_cast<uint8_t>(ch));
        if (unit != 0) {
            AppendUnit(raw, unit);
        }
    }
    return raw;
}

TVDRawByteString SymbolRawToUnicodeRaw(std::string_view raw) {
    return SymbolAnsiToUnicodeRaw(UnicodeRawToSymbolAnsi(raw));
}

TVDRawByteString WingdingsAnsiToUnicodeRaw(std::string_view s) {
    TVDRawByteString raw;
    for (char ch : s) {
        AppendUnit(raw, WingdingsCharToUnicode(static_cast<uint8_t>(ch)));
    }
    return raw;
}

TVDRawByteString WingdingsRawToUnicodeRaw(std::string_view raw) {
    return WingdingsAnsiToUnicodeRaw(UnicodeRawToSymbolAnsi(raw));
}

AnsiString SymbolAnsiToHTML(std::string_view s, bool utf8, bool trailingNbsp) {
    if (utf8) {
        return RawToEscapedUTF8(SymbolAnsiToUnicodeRaw(s), trailingNbsp);
    }
    AnsiString out;
    for (char ch : s) {
        const std::string_view name = SymbolCodeToHTMLName(static_cast<uint8_t>(ch));
        if (name.size() > 1) {
            out += "&" + AnsiString(name) + ";";
        } else if (name.size() == 1) {
            out += EscapeHTMLAnsi(name, false, false);
        }
    }
    TrailingBlankToNbsp(out, trailingNbsp);
    return out;
}

AnsiString SymbolRawToHTML(std::string_view raw, bool utf8, bool trailingNbsp) {
    if (utf8) {
        return RawToEscapedUTF8(SymbolRawToUnicodeRaw(raw), trailingNbsp);
    }
    return SymbolAnsiToHTML(UnicodeRawToSymbolAnsi(raw), false, trailingNbsp);
}

AnsiString SymbolUnicodeToHTML(const UnicodeString &s, bool utf8, bool trailingNbsp) {
    return SymbolRawToHTML(StringToRawUnicode(s), utf8, trailingNbsp);
}

AnsiString WingdingsAnsiToHTML(std::string_view s, bool utf8, bool trailingNbsp) {
    if (utf8) {
        return RawToEscapedUTF8(WingdingsAnsiToUnicodeRaw(s), trailingNbsp);
    }
    AnsiString out;
    for (char ch : s) {
        out += "&#" + std::to_string(WingdingsCharToUnicode(static_cast<uint8_t>(ch))) + ";";
    }
    return out;
}

AnsiString WingdingsRawToHTML(std::string_view raw, bool utf8, bool trailingNbsp) {
    if (utf8) {
        return RawToEscapedUTF8(WingdingsRawToUnicodeRaw(raw), trailingNbsp);
    }
    return WingdingsAnsiToHTML(UnicodeRawToSymbolAnsi(raw), false, trailingNbsp);
}

AnsiString WingdingsUnicodeToHTML(const UnicodeString &s, bool utf8, bool trailingNbsp) {
    return WingdingsRawToHTML(StringToRawUnicode(s), utf8, trailingNbsp);
}

} // namespace vizivodu
