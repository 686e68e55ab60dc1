// Base64 between text, byte arrays and streams; the reference database key; short-string code
// page conversion; repair of XML tags that start with a digit.
#include "ecg/EncDecHelper.h"

#include "ecg/ZavStringHelper.h"
#include "platform/rtl/Classes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace ecg {
namespace {

rtl::UnicodeString B64(const std::string &bytes) {
    return TEncDecHelper::GetBase64StringFromBA(byte_array(bytes.begin(), bytes.end()));
}

byte_array Decode(const rtl::UnicodeString &text) {
    rtl::TMemoryStream stream;
    TEncDecHelper::SetStreamFromBase64String(text, stream);
    const std::uint8_t *memory = stream.GetMemory();
    return memory == nullptr ? byte_array{} : byte_array(memory, memory + stream.GetSize());
}

byte_array Bytes(const std::string &text) {
    return byte_array(text.begin(), text.end());
}

TEST(Base64, Rfc4648Vectors) {
    const std::pair<std::string, rtl::UnicodeString> vectors[] = {
        {"", u""},
        {"f", u"Zg=="},
        {"fo", u"Zm8="},
        {"foo", u"Zm9v"},
        {"foob", u"Zm9vYg=="},
        {"fooba", u"Zm9vYmE="},
        {"foobar", u"Zm9vYmFy"},
        {std::string("\xFF\xFE\x00", 3), u"//4A"}};
    for (const auto &[plain, encoded] : vectors) {
        EXPECT_EQ(B64(plain), encoded) << plain;
        EXPECT_EQ(Decode(encoded), Bytes(plain)) << plain;
    }
}

TEST(Base64, LinesOf76CharactersSeparatedByCrLf) {
    std::string bytes57;
    for (int i = 0; i < 57; ++i) {
        bytes57 += static_cast<char>(i);
    }
    const rtl::UnicodeString oneLine = B64(bytes57);
    EXPECT_EQ(oneLine,
              u"AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4");
    const rtl::UnicodeString twoLines = B64(bytes57 + '\x39');
    EXPECT_EQ(twoLines, oneLine + u"\r\nOQ==");
    const std::string big(57 * 3, 'a');
    const rtl::UnicodeString three = B64(big);
    EXPECT_EQ(three.size(), 3u * 76 + 2 * 2);
    EXPECT_EQ(three.substr(76, 2), u"\r\n");
    EXPECT_NE(three.substr(three.size() - 2), u"\r\n");
    EXPECT_EQ(Decode(three), Bytes(big));
}

TEST(Base64, DecoderSkipsEverythingOutsideTheAlphabet) {
    const byte_array expected = Bytes("foobar!");
    for (const rtl::UnicodeString text :
         {u"Zm9vYmFyIQ==", u"Zm9vYmFyIQ", u"Zm9v\r\nYmFy\r\nIQ==", u" Zm 9v Ym Fy IQ = = ",
          u"Zm9v\tYmFy-IQ==\r\n", u"Zm9vYmFyIQ=\u0416"}) {
        EXPECT_EQ(Decode(text), expected) << rtl::Utf16ToUtf8(text);
    }
    EXPECT_EQ(Decode(u""), byte_array{});
    EXPECT_EQ(Decode(u"Z"), byte_array{});
    EXPECT_EQ(Decode(u"===\r\n"), byte_array{});
}

TEST(Base64, DecodingWritesAtThePositionWithoutRewinding) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer("xyz", 3);
    stream.SetPosition(1);
    TEncDecHelper::SetStreamFromBase64String(u"Zm9v", stream);
    EXPECT_EQ(stream.GetPosition(), 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(stream.GetMemory()), 4), "xfoo");
}

TEST(Base64, StreamIsEncodedFromItsPosition) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer("..foobar", 8);
    stream.SetPosition(2);
    EXPECT_EQ(TEncDecHelper::GetBase64String(stream), u"Zm9vYmFy");
    EXPECT_EQ(stream.GetPosition(), 8);
    EXPECT_EQ(TEncDecHelper::GetBase64String(stream), u"");
    rtl::TMemoryStream empty;
    EXPECT_EQ(TEncDecHelper::GetBase64String(empty), u"");
}

TEST(Base64, TextIsEncodedAsAnsiLinesEndedByCrLf) {
    EXPECT_EQ(TEncDecHelper::GetBase64StringFromString(u"a\nb"), B64("a\r\nb\r\n"));
    EXPECT_EQ(TEncDecHelper::GetBase64StringFromString(u"a\r\n"), B64("a\r\n"));
    EXPECT_EQ(TEncDecHelper::GetBase64StringFromString(rtl::U("Ж")), B64("\xC6\r\n"));
    EXPECT_EQ(TEncDecHelper::GetBase64StringFromString(u""), u"");
}

TEST(Base64, DecodedTextFollowsItsSignatureElseAnsi) {
    EXPECT_EQ(TEncDecHelper::SetStringFromBase64String(B64("x\r\ny")), u"x\r\ny\r\n");
    EXPECT_EQ(TEncDecHelper::SetStringFromBase64String(B64("\xC6")), rtl::U("Ж\r\n"));
    EXPECT_EQ(TEncDecHelper::SetStringFromBase64String(B64("\xEF\xBB\xBF\xD0\x96")),
              rtl::U("Ж\r\n"));
    EXPECT_EQ(TEncDecHelper::SetStringFromBase64String(B64(std::string("\xFF\xFE\x16\x04", 4))),
              rtl::U("Ж\r\n"));
    const rtl::UnicodeString text = rtl::U("Строка 1\r\nLine 2\r\n");
    EXPECT_EQ(
        TEncDecHelper::SetStringFromBase64String(TEncDecHelper::GetBase64StringFromString(text)),
        text);
}

// The reference database's key: the seed's ANSI bytes, taken without a length byte, shifted
// right by one bit at even and two bits at odd positions.
TEST(ReferenceKey, KeyBytesFromTheSeed) {
    byte_array seed;
    StringToBytes(u"KELVORATHIN", seed, false);
    byte_array key;
    for (std::size_t i = 0; i < seed.size(); ++i) {
        key.push_back(static_cast<std::uint8_t>(seed[i] >> (1 + i % 2)));
    }
    EXPECT_EQ(key, (byte_array{37, 17, 38, 21, 39, 20, 32, 21, 36, 18, 39}));
    EXPECT_EQ(TEncDecHelper::GetBase64StringFromBA(key), u"JREmFScUIBUkEic=");

    // Codes 1, 5 and 12 scrambled with the key, as a "base.info" payload carries them.
    byte_array scrambled = key;
    scrambled[0] ^= 1;
    scrambled[1] ^= 5;
    scrambled[2] ^= 12;
    EXPECT_EQ(TEncDecHelper::GetBase64StringFromBA(scrambled), u"JBQqFScUIBUkEic=");
    const byte_array decoded = Decode(u"JBQqFScUIBUkEic=");
    ASSERT_EQ(decoded.size(), 11u);
    EXPECT_EQ(decoded[0] ^ key[0], 1);
    EXPECT_EQ(decoded[1] ^ key[1], 5);
    EXPECT_EQ(decoded[2] ^ key[2], 12);
    EXPECT_EQ(decoded[10] ^ key[10], 0);
}

TEST(SegmentData, CopiesTheWholeStreamWhateverItsPosition) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    EXPECT_EQ(TEncDecHelper::GetSegmentDATA(&stream), Bytes("abc"));
    EXPECT_EQ(TEncDecHelper::GetSegmentDATA(nullptr), byte_array{});
    std::unique_ptr<rtl::TMemoryStream> out = std::make_unique<rtl::TMemoryStream>();
    TEncDecHelper::SetSegmentDATA(std::nullopt, out);
    EXPECT_EQ(out, nullptr);
    TEncDecHelper::SetSegmentDATA(Bytes("xy"), out);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->GetPosition(), 0);
    EXPECT_EQ(TEncDecHelper::GetSegmentDATA(out.get()), Bytes("xy"));
    TEncDecHelper::SetSegmentDATA(byte_array{}, out);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->GetSize(), 0);
}

TEST(ShortStrings, CoderAndDecoderBetweenAnsiAndOem) {
    const std::string ansi = "\xCF\xF0\xE8\xE2\xE5\xF2"; // "Привет" in 1251
    const std::string oem = "\x8F\xE0\xA8\xA2\xA5\xE2";  // in 866
    EXPECT_EQ(TEncDecHelper::Coder(ansi + "  "), oem + "  ");
    EXPECT_EQ(TEncDecHelper::Decoder(oem + "  \x01 "), ansi);
    EXPECT_EQ(TEncDecHelper::Decoder(TEncDecHelper::Coder(ansi)), ansi);
    EXPECT_EQ(TEncDecHelper::Coder(std::string(300, 'a')).size(), 255u);
}

class XmlFile : public ::testing::Test {
protected:
    void Write(const std::string &bytes) const { wbtest::WriteFileBytes(Folder / "a.xml", bytes); }
    std::string Contents() const { return wbtest::ReadFileBytes(Folder / "a.xml"); }
    rtl::UnicodeString Name() const { return Folder.File("a.xml"); }

    wbtest::TTempFolder Folder;
};

TEST_F(XmlFile, TagsStartingWithADigitGetTheNodeName) {
    Write("<r><1a>1st</1a><a1/><2>x</2></r>\r\n");
    EXPECT_EQ(TEncDecHelper::CorrectXMLDigitNodes(Name(), u"n"), 0);
    EXPECT_EQ(Contents(), "<r><n1a>1st</n1a><a1/><n2>x</n2></r>\r\n");
}

TEST_F(XmlFile, NodeNameIsAReplacementTemplate) {
    Write("<1a/>\r\n");
    EXPECT_EQ(TEncDecHelper::CorrectXMLDigitNodes(Name(), u"x$1"), 0);
    EXPECT_EQ(Contents(), "<x11a/>\r\n");
    Write("<1a/>\r\n");
    EXPECT_EQ(TEncDecHelper::CorrectXMLDigitNodes(Name(), u"y\\\\"), 0);
    EXPECT_EQ(Contents(), "<y\\1a/>\r\n");
}

TEST_F(XmlFile, KeepsTheEncodingItWasReadIn) {
    Write("\xEF\xBB\xBF<1\xD0\x96>\r\n");
    EXPECT_EQ(TEncDecHelper::CorrectXMLDigitNodes(Name(), u"n"), 0);
    EXPECT_EQ(Contents(), "\xEF\xBB\xBF<n1\xD0\x96>\r\n");
    Write("<1\xC6>\n");
    EXPECT_EQ(TEncDecHelper::CorrectXMLDigitNodes(Name(), u"n"), 0);
    EXPECT_EQ(Contents(), "<n1\xC6>\r\n");
}

TEST_F(XmlFile, MissingFileGivesMinusOne) {
    EXPECT_EQ(TEncDecHelper::CorrectXMLDigitNodes(Name() + u".missing", u"n"), -1);
}

} // namespace
} // namespace ecg
