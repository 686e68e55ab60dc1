// HTML text of item text, and the display form of a text run.
#include "vizivodu/document/VDUnicode.h"

#include "vizivodu/document/VDError.h"

#include "platform/rtl/StrUtils.h"

#include <array>
#include <cstring>

namespace vizivodu {

namespace {

constexpr char16_t kSoftHyphen = 0x00AD;
constexpr char16_t kNotSign = 0x00AC;
constexpr char16_t kNonBreakingHyphen = 0x2011;
constexpr char16_t kZeroWidthSpace = 0x200B;
constexpr char16_t kWordJoiner = 0x2060;

char16_t UnitAt(std::string_view raw, size_t i) {
    return static_cast<char16_t>(static_cast<uint8_t>(raw[2 * i]) |
                                 (static_cast<uint8_t>(raw[2 * i + 1]) << 8));
}

void SetUnitAt(TVDRawByteString &raw, size_t i, char16_t ch) {
    raw[2 * i] = static_cast<char>(ch & 0xFF);
    raw[2 * i + 1] = static_cast<char>(ch >> 8);
}

// Upper-casing in the ANSI code page, byte for byte; a letter whose capital the code page lacks
// stays as it is.
TVDRawByteString UpperCaseAnsi(const TVDRawByteString &text) {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            const TVDUnicodeString ch = RawUnicodeToString(AnsiToRawUnicode(0, byte));
            const TVDAnsiString upper =
                RawUnicodeToAnsi(0, StringToRawUnicode(rtl::AnsiUpperCase(ch)));
            t[static_cast<size_t>(b)] =
                (upper.size() == 1 && upper[0] != '?') ? upper[0] : static_cast<char>(b);
        }
        return t;
    }();
    TVDRawByteString result = text;
    for (char &b : result) {
        b = table[static_cast<uint8_t>(b)];
    }
    return result;
}

} // namespace

std::string GetHTMLEntity(char16_t ch) {
    switch (ch) {
    case u'&':
        return "&amp;";
    case u'<':
        return "&lt;";
    case u'>':
        return "&gt;";
    case 0x00A0:
        return "&nbsp;";
    default:
        return {};
    }
}

std::string AnsiCharToHTML(char ch, bool &spacePending, bool specialCode, bool finalSpace) {
    if (!specialCode) {
        switch (ch) {
        case '&':
            spacePending = false;
            return "&amp;";
        case '<':
            spacePending = false;
            return "&lt;";
        case '>':
            spacePending = false;
            return "&gt;";
        case ' ':
            if (finalSpace || spacePending) {
                spacePending = false;
                return "&nbsp;";
            }
            spacePending = true;
            return " ";
        default:
            break;
        }
    }
    spacePending = false;
    return std::string(1, ch);
}

std::string RawUnicodeToHTMLWithEntities(std::string_view raw, bool specialCode,
                                         bool finalSpaceAsNbsp) {
    CheckUnicodeByteLength(raw.size());
    const size_t count = raw.size() / 2;
    std::string out;
    out.reserve(count);
    bool spacePending = false;
    for (size_t i = 0; i < count; ++i) {
        const char16_t ch = UnitAt(raw, i);
        if (ch < 128) {
            const bool finalSpace = finalSpaceAsNbsp && i + 1 == count;
            out += AnsiCharToHTML(static_cast<char>(ch), spacePending, specialCode, finalSpace);
        } else if (ch == 0x00A0) {
            spacePending = false;
            out += "&nbsp;";
        } else {
            spacePending = false;
            out += "&#" + std::to_string(static_cast<unsigned>(ch)) + ";";
        }
    }
    return out;
}

std::string RawUnicodeToHTMLUTF8(std::string_view raw, bool specialCode, bool finalSpaceAsNbsp) {
    CheckUnicodeByteLength(raw.size());
    const size_t count = raw.size() / 2;
    if (specialCode) {
        return rtl::Utf16ToUtf8(RawUnicodeToString(raw));
    }
    std::string out;
    out.reserve(count);
    size_t runStart = 0;
    auto flush = [&](size_t end) {
        if (end > runStart) {
            out += rtl::Utf16ToUtf8(
                RawUnicodeToString(raw.substr(2 * runStart, 2 * (end - runStart))));
        }
    };
    bool prevSpaceJoined = false;
    for (size_t i = 0; i < count; ++i) {
        const char16_t ch = UnitAt(raw, i);
        const std::string entity = GetHTMLEntity(ch);
        if (ch == u' ') {
            if (prevSpaceJoined || (finalSpaceAsNbsp && i + 1 == count)) {
                flush(i);
                out += "&nbsp;";
                runStart = i + 1;
                prevSpaceJoined = false;
            } else {
                prevSpaceJoined = true;
            }
        } else if (!entity.empty()) {
            flush(i);
            out += entity;
            runStart = i + 1;
            prevSpaceJoined = false;
        } else {
            prevSpaceJoined = false;
        }
    }
    flush(count);
    return out;
}

// ---- Display form ----

TVDRawByteString GetTextForDrawingEx(const TVDRawByteString &text, const TVDDrawTextForm &form,
                                     bool softHyphenAtEnd, int32_t &pos1, int32_t &pos2,
                                     bool noChange, bool removeInvisible, bool showSpecial) {
    if (!form.showSoftHyphens) {
        showSpecial = false;
    }
    TVDRawByteString result = text;
    if (form.allCaps) {
        if (form.unicode) {
            // One unit for one unit, so positions kept by the caller stay valid.
            const TVDUnicodeString upper = rtl::AnsiUpperCase(RawUnicodeToString(text));
            result = StringToRawUnicode(upper);
        } else {
            result = UpperCaseAnsi(text);
        }
    }
    if (!form.unicode || noChange) {
        return result;
    }
    CheckUnicodeByteLength(result.size());
    const size_t count = result.size() / 2;
    for (size_t i = 0; i < count; ++i) {
        const char16_t ch = UnitAt(result, i);
        if (ch == kSoftHyphen) {
            if (softHyphenAtEnd && i + 1 == count) {
                SetUnitAt(result, i, u'-');
            } else if (showSpecial) {
                SetUnitAt(result, i, kNotSign);
            }
        } else if (ch == kNonBreakingHyphen) {
            SetUnitAt(result, i, u'-');
        }
    }
    if (removeInvisible) {
        for (size_t j = count; j-- > 0;) {
            const char16_t ch = UnitAt(result, j);
            const bool invisible =
                ch == kSoftHyphen ||
                (!IsVistaOrLater && (ch == kZeroWidthSpace || ch == kWordJoiner));
            if (!invisible) {
                continue;
            }
            result.erase(2 * j, 2);
            const auto at = static_cast<int64_t>(j);
            if (at < int64_t{pos1} - 1) {
                --pos1;
            }
            if (at < int64_t{pos2} - 1) {
                --pos2;
            }
        }
    }
    return result;
}

TVDRawByteString GetTextForDrawing(const TVDRawByteString &text, const TVDDrawTextForm &form,
                                   bool softHyphenAtEnd, bool noChange, bool removeInvisible,
                                   bool showSpecial) {
    int32_t pos1 = 0;
    int32_t pos2 = 0;
    return GetTextForDrawingEx(text, form, softHyphenAtEnd, pos1, pos2, noChange, removeInvisible,
                               showSpecial);
}

} // namespace vizivodu
