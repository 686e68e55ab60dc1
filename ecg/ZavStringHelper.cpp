// Splitting text at a delimiter, and strings to and from byte arrays.
#include "ecg/ZavStringHelper.h"

#include "platform/rtl/CodePages.h"

#include <algorithm>
#include <string_view>

namespace ecg {

std::unique_ptr<rtl::TStringList> SplitString(const rtl::UnicodeString &s,
                                              const rtl::UnicodeString &delimiter) {
    auto parts = std::make_unique<rtl::TStringList>();
    std::u16string_view rest = s;
    while (!rest.empty()) {
        const std::size_t at = delimiter.empty() ? rest.npos : rest.find(delimiter);
        if (at == rest.npos) {
            parts->Add(rtl::UnicodeString(rest));
            break;
        }
        parts->Add(rtl::UnicodeString(rest.substr(0, at)));
        rest.remove_prefix(at + delimiter.size());
    }
    return parts;
}

rtl::UnicodeString BytesToString(const byte_array &bytes, bool lengthByte, bool utf8) {
    if (bytes.empty()) {
        return {};
    }
    const auto *chars = reinterpret_cast<const char *>(bytes.data());
    std::string_view text(chars, bytes.size());
    if (lengthByte) {
        text = text.substr(1, std::min<std::size_t>(bytes[0], bytes.size() - 1));
    }
    if (text.empty()) {
        return {};
    }
    return utf8 ? rtl::Utf8ToUtf16(text) : rtl::AnsiToUnicode(text, rtl::CP_ACP);
}

void StringToBytes(const rtl::UnicodeString &s, byte_array &bytes, bool lengthByte) {
    const rtl::AnsiString ansi = rtl::UnicodeToAnsi(s, rtl::CP_ACP);
    const std::size_t n = ansi.size() + (lengthByte ? 1 : 0);
    if (bytes.empty() || bytes.size() > n + 1) {
        bytes.resize(n);
    }
    if (bytes.empty()) {
        return;
    }
    std::size_t count = std::min(n, bytes.size() - 1);
    if (lengthByte) {
        // The count names only characters of the text (an array one byte longer than needed
        // would otherwise count its stale last byte), and a short string's length byte cannot
        // count beyond 255.
        count = std::min({count, ansi.size(), std::size_t{255}});
        bytes[0] = static_cast<std::uint8_t>(count);
        std::copy_n(ansi.begin(), count, bytes.begin() + 1);
    } else {
        std::copy_n(ansi.begin(), std::min(count + 1, ansi.size()), bytes.begin());
    }
}

} // namespace ecg
