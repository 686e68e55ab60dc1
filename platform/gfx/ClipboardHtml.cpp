// The Windows "HTML Format" fragment header, read and written.
#include "platform/gfx/ClipboardHtml.h"

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/System.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

namespace gfx {

namespace {

// The header's keys take at most this many bytes before the HTML starts (a longer prefix is
// no header).
constexpr size_t MaxHeaderBytes = 4096;

// The value of "key:" on a header line, when it is a number within limit.
std::optional<size_t> HeaderNumber(std::string_view header, std::string_view key, size_t limit) {
    for (size_t at = header.find(key); at != std::string_view::npos;
         at = header.find(key, at + 1)) {
        if (at != 0 && header[at - 1] != '\n' && header[at - 1] != '\r') {
            continue; // a key only starts a line
        }
        size_t p = at + key.size();
        if (p >= header.size() || header[p] != ':') {
            continue;
        }
        ++p;
        size_t value = 0;
        size_t digits = 0;
        for (; p < header.size() && std::isdigit(static_cast<unsigned char>(header[p])); ++p) {
            if (++digits > 10) {
                return std::nullopt;
            }
            value = value * 10 + size_t(header[p] - '0');
        }
        if (digits == 0 || value > limit) {
            return std::nullopt;
        }
        return value;
    }
    return std::nullopt;
}

std::optional<std::pair<size_t, size_t>> HeaderRange(std::string_view header, std::string_view from,
                                                     std::string_view to, size_t size) {
    const std::optional<size_t> start = HeaderNumber(header, from, size);
    const std::optional<size_t> end = HeaderNumber(header, to, size);
    if (!start || !end || *start > *end) {
        return std::nullopt;
    }
    return std::make_pair(*start, *end);
}

std::string TenDigits(size_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%010zu", n);
    return buf;
}

// Byte offsets of the fragment inside html.
std::pair<size_t, size_t> FragmentOf(std::string_view html) {
    constexpr std::string_view startMark = "<!--StartFragment-->";
    constexpr std::string_view endMark = "<!--EndFragment-->";
    const size_t s = html.find(startMark);
    const size_t e = s == std::string_view::npos ? s : html.find(endMark, s);
    if (e != std::string_view::npos) {
        return {s + startMark.size(), e};
    }
    const std::string lower = rtl::LowerCase(std::string(html));
    size_t body = lower.find("<body");
    body = body == std::string::npos ? body : lower.find('>', body);
    const size_t bodyEnd = lower.rfind("</body");
    if (body != std::string::npos && bodyEnd != std::string::npos && bodyEnd > body) {
        return {body + 1, bodyEnd};
    }
    return {0, html.size()};
}

std::string Utf8Of(std::string_view html) {
    if (html.size() >= 2 && uint8_t(html[0]) == 0xFF && uint8_t(html[1]) == 0xFE) {
        std::u16string units;
        for (size_t i = 2; i + 1 < html.size(); i += 2) {
            units.push_back(char16_t(uint8_t(html[i]) | (uint8_t(html[i + 1]) << 8)));
        }
        return rtl::Utf16ToUtf8(units);
    }
    return std::string(html);
}

} // namespace

std::string RemoveHtmlClipboardHeader(std::string_view data) {
    if (data.substr(0, 8) != "Version:") {
        return std::string(data);
    }
    const std::string_view header = data.substr(0, std::min(data.size(), MaxHeaderBytes));
    auto range = HeaderRange(header, "StartHTML", "EndHTML", data.size());
    if (!range) {
        range = HeaderRange(header, "StartFragment", "EndFragment", data.size());
    }
    if (!range) {
        return std::string(data);
    }
    return std::string(data.substr(range->first, range->second - range->first));
}

std::string AddHtmlClipboardHeader(std::string_view source) {
    const std::string html = Utf8Of(source);
    const std::pair<size_t, size_t> fragment = FragmentOf(html);
    const size_t fragStart = fragment.first;
    const size_t fragEnd = fragment.second;
    // Every number has ten digits, so the header's length does not depend on them.
    const auto header = [&](size_t headerSize) {
        return "Version:0.9\r\nStartHTML:" + TenDigits(headerSize) +
               "\r\nEndHTML:" + TenDigits(headerSize + html.size()) +
               "\r\nStartFragment:" + TenDigits(headerSize + fragStart) +
               "\r\nEndFragment:" + TenDigits(headerSize + fragEnd) + "\r\n";
    };
    const size_t headerSize = header(0).size();
    return header(headerSize) + html;
}

} // namespace gfx
