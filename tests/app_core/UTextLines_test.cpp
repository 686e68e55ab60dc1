// The line reader of the workbench's text files: it must read every file exactly as the class
// library's string list loads it whole, in every encoding, across its block boundaries.
#include "app/core/UTextLines.h"

#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace workbench {
namespace {

std::vector<UnicodeString> ReadWithReader(const std::string &bytes,
                                          size_t blockBytes = TTextLineReader::DefaultBlockBytes) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    TTextLineReader reader(stream, blockBytes);
    std::vector<UnicodeString> lines;
    UnicodeString line;
    while (reader.Next(line)) {
        lines.push_back(line);
        EXPECT_EQ(reader.GetLineNumber(), static_cast<int64_t>(lines.size()));
    }
    return lines;
}

std::vector<UnicodeString> ReadWithStringList(const std::string &bytes) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    rtl::TStringList list;
    list.LoadFromStream(stream);
    std::vector<UnicodeString> lines;
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        lines.push_back(list[i]);
    }
    return lines;
}

std::string Utf16(const std::u16string &text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t ch : text) {
        const char hi = static_cast<char>(ch >> 8), lo = static_cast<char>(ch & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

// Every case read with blocks of every small size, so that each line break, CR LF pair,
// byte-order signature and UTF-16 unit falls on a block boundary somewhere.
TEST(TextLineReader, ReadsAsTheStringListLoadsTheWholeFileWhateverTheBlocks) {
    const std::string cases[] = {
        "",
        "\r\n",
        "one",
        "one\r\ntwo\r\n",
        "one\ntwo\rthree\r\n\r\nfive",
        "a\r\r\nb\n\rc\n\n",
        "\xDD\xCA\xC3 1251\r\n\xC0\xC1\xC2",               // ANSI (1251) Cyrillic
        "\xEF\xBB\xBF\xD0\xAD\xD0\x9A\xD0\x93\r\nx",       // UTF-8
        "\xEF\xBB\xBF",                                    // a signature only
        "\xEF\xBB",                                        // half a signature: ANSI
        "\xEF\xBB\xBF\xC0\r\xFF\n",                        // malformed UTF-8
        Utf16(u"ЭКГ\r\nline\rend\n", false) + "\x41",      // odd last byte dropped
        Utf16(u"\u0D0A\u0A0D not breaks\r\nbreak", false), // break bytes inside units
        Utf16(u"big\r\nendian\u0D0A", true),
        Utf16(u"", false),
        std::string("nul\0inside\r\n", 13),
    };
    for (const std::string &bytes : cases) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        const std::vector<UnicodeString> expected = ReadWithStringList(bytes);
        EXPECT_EQ(ReadWithReader(bytes), expected);
        for (size_t block = 2; block <= bytes.size() + 2; block += 2) {
            EXPECT_EQ(ReadWithReader(bytes, block), expected) << "blocks of " << block;
        }
    }
}

// Random text from a fixed seed, with breaks, high bytes and signatures, in blocks of a few
// sizes.
TEST(TextLineReader, RandomTextReadsAsTheStringListReadsIt) {
    std::mt19937 random(20261212);
    const char alphabet[] = {'a', 'Z', ' ', '\r', '\n', '\n', '\xC0', '\xFF', '\x0D', '\xD0'};
    const std::string signatures[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (int round = 0; round < 300; ++round) {
        std::string bytes = signatures[random() % 4];
        const size_t length = random() % 64;
        for (size_t i = 0; i < length; ++i) {
            bytes += alphabet[random() % sizeof alphabet];
        }
        const std::vector<UnicodeString> expected = ReadWithStringList(bytes);
        for (const size_t block : {2, 4, 6, 10, 64}) {
            ASSERT_EQ(ReadWithReader(bytes, block), expected)
                << ::testing::PrintToString(bytes) << " in blocks of " << block;
        }
    }
}

} // namespace
} // namespace workbench
