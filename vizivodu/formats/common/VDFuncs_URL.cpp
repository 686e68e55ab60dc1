// URL and file-path routines shared by the format writers.
#include "vizivodu/formats/common/VDFuncs_URL.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace vizivodu {

namespace {

bool IsPathDelimiter(char16_t ch) {
    return ch == u'/' || ch == u'\\';
}

UnicodeString PercentEncode(const UnicodeString &text, std::u16string_view chars) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    UnicodeString out;
    for (char16_t ch : text) {
        if (chars.find(ch) != std::u16string_view::npos) {
            out += u'%';
            out += kHex[ch >> 4];
            out += kHex[ch & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

// The position of the first "/", "\" or "?" at or after from; npos for none.
size_t FindServerEnd(const UnicodeString &text, size_t from) {
    return text.find_first_of(u"/\\?", from);
}

// The drive of a path: "C:" or "\\server\share" (either slash).
UnicodeString ExtractFileDrive(const UnicodeString &path) {
    if (path.size() >= 2 && path[1] == u':') {
        return path.substr(0, 2);
    }
    if (path.size() >= 2 && IsPathDelimiter(path[0]) && IsPathDelimiter(path[1])) {
        size_t i = path.find_first_of(u"/\\", 2);
        if (i != UnicodeString::npos) {
            i = path.find_first_of(u"/\\", i + 1);
        }
        return path.substr(0, i);
    }
    return {};
}

std::vector<UnicodeString> FolderSegments(const UnicodeString &folder) {
    std::vector<UnicodeString> segments;
    size_t start = 0;
    for (size_t i = 0; i < folder.size(); ++i) {
        if (folder[i] == u'/') {
            segments.push_back(folder.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < folder.size()) {
        segments.push_back(folder.substr(start));
    }
    return segments;
}

UnicodeString FolderOf(const UnicodeString &text) {
    UnicodeString folder = ExtractURLPath(text);
    std::replace(folder.begin(), folder.end(), u'\\', u'/');
    return folder;
}

} // namespace

bool IsURL(const UnicodeString &text) {
    if (IsURLCheck && IsURLCheck(text)) {
        return true;
    }
    static const std::array<std::u16string_view, 11> kPrefixes = {
        u"http://", u"ftp://",  u"file://", u"gopher://", u"mailto:", u"https://",
        u"news:",   u"telnet:", u"wais:",   u"www.",      u"ftp."};
    const UnicodeString lower = rtl::LowerCase(text);
    for (std::u16string_view prefix : kPrefixes) {
        if (lower.size() > prefix.size() && lower.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

bool IsEmailAddress(const UnicodeString &text) {
    const size_t at = text.find(u'@');
    const size_t dot = text.rfind(u'.');
    return at != UnicodeString::npos && dot != UnicodeString::npos && at < dot;
}

UnicodeString PercentEncodeURL(const UnicodeString &text) {
    return PercentEncode(text, u"\n\r \"%+");
}

UnicodeString PercentEncodeSpaces(const UnicodeString &text) {
    return PercentEncode(text, u"\n\r ");
}

UnicodeString DecodeURL(const UnicodeString &text, bool allowCRLF) {
    UnicodeString out;
    std::string bytes;
    auto flush = [&] {
        out += rtl::Utf8ToUtf16(bytes);
        bytes.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u'%' && i + 2 < text.size() && IsHexDigit(text[i + 1]) &&
            IsHexDigit(text[i + 2])) {
            const auto b =
                static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            if ((b == '\r' || b == '\n') && !allowCRLF) {
                flush();
                out += text.substr(i, 3);
            } else {
                bytes += b;
            }
            i += 2;
            continue;
        }
        flush();
        out += ch == u'+' ? u' ' : ch;
    }
    flush();
    return out;
}

UnicodeString FileURLToPath(const UnicodeString &text) {
    if (text.size() < 5 || !rtl::SameText(text.substr(0, 5), u"file:")) {
        return text;
    }
    size_t i = 5;
    while (i < text.size() && IsPathDelimiter(text[i])) {
        ++i;
    }
    UnicodeString path = text.substr(i);
    std::replace(path.begin(), path.end(), u'\\', u'/');
    const bool drive = path.size() >= 2 && path[1] == u':';
    return drive ? path : u"/" + path;
}

UnicodeString ExtractURLServer(const UnicodeString &text) {
    const size_t scheme = text.find(u"://");
    const size_t from = scheme == UnicodeString::npos ? 0 : scheme + 3;
    return text.substr(0, FindServerEnd(text, from));
}

UnicodeString ExtractURLOrFileDrive(const UnicodeString &text) {
    if (text.find(u"://") != UnicodeString::npos) {
        return ExtractURLServer(text);
    }
    return ExtractFileDrive(text);
}

UnicodeString ExtractURLPath(const UnicodeString &text) {
    const UnicodeString rest = text.substr(ExtractURLOrFileDrive(text).size());
    const size_t last = rest.find_last_of(u":/\\");
    return last == UnicodeString::npos ? UnicodeString() : rest.substr(0, last + 1);
}

UnicodeString MakeRelativeURL(const UnicodeString &baseFile, const UnicodeString &target) {
    if (target.find(u'?') != UnicodeString::npos ||
        ExtractURLOrFileDrive(target) != ExtractURLOrFileDrive(baseFile)) {
        return target;
    }
    const std::vector<UnicodeString> base = FolderSegments(FolderOf(baseFile));
    const std::vector<UnicodeString> to = FolderSegments(FolderOf(target));
    size_t common = 0;
    while (common < base.size() && common < to.size() && base[common] == to[common]) {
        ++common;
    }
    UnicodeString result;
    for (size_t i = common; i < base.size(); ++i) {
        result += u"../";
    }
    for (size_t i = common; i < to.size(); ++i) {
        result += to[i] + u"/";
    }
    const size_t nameStart = target.find_last_of(u":/\\");
    return result + (nameStart == UnicodeString::npos ? target : target.substr(nameStart + 1));
}

int32_t HexDigitValue(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') {
        return ch - u'0';
    }
    if (ch >= u'A' && ch <= u'F') {
        return ch - u'A' + 10;
    }
    if (ch >= u'a' && ch <= u'f') {
        return ch - u'a' + 10;
    }
    return -1;
}

bool IsHexDigit(char16_t ch) {
    return HexDigitValue(ch) >= 0;
}

} // namespace vizivodu
