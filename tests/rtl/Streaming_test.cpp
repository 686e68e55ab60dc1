// The component stream's values: the exact bytes of every value type, reading them back and
// skipping them, the 10-byte extended format, and refusing malformed values.
#include "platform/rtl/Streaming.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>

using namespace rtl;

namespace {

std::string Hex(const uint8_t *p, size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        if (i) {
            s += ' ';
        }
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

std::string Written(const std::function<void(TWriter &)> &write) {
    TMemoryStream stream;
    TWriter writer(stream);
    write(writer);
    return Hex(stream.GetMemory(), size_t(stream.GetSize()));
}

TMemoryStream StreamOf(const std::string &hex) {
    TMemoryStream s;
    for (size_t i = 0; i + 1 < hex.size(); i += 3) {
        const auto b = uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16));
        s.Write(&b, 1);
    }
    s.SetPosition(0);
    return s;
}

std::string ReadError(const std::string &hex, const std::function<void(TReader &)> &read) {
    TMemoryStream s = StreamOf(hex);
    TReader reader(s);
    try {
        read(reader);
    } catch (const EReadError &e) {
        return e.what();
    }
    return "no error";
}

} // namespace

// Each value's bytes, as the class library writes them; then the reader takes it back and
// SkipValue passes over exactly those bytes.
TEST(Streaming, EveryValueTypeHasItsBytesAndReadsBack) {
    struct Case {
        const char *what;
        std::function<void(TWriter &)> write;
        std::string bytes;
        std::function<void(TReader &)> check;
    };
    const UnicodeString lstring(300, u'a');
    std::string lhex = "0C 2C 01 00 00";
    for (int i = 0; i < 300; ++i) {
        lhex += " 61";
    }
    const Case cases[] = {
        {"int8", [](TWriter &w) { w.WriteInteger(-128); }, "02 80",
         [](TReader &r) { EXPECT_EQ(r.ReadInteger(), -128); }},
        {"int16", [](TWriter &w) { w.WriteInteger(128); }, "03 80 00",
         [](TReader &r) { EXPECT_EQ(r.ReadInteger(), 128); }},
        {"int32", [](TWriter &w) { w.WriteInteger(-32769); }, "04 FF 7F FF FF",
         [](TReader &r) { EXPECT_EQ(r.ReadInteger(), -32769); }},
        {"int64", [](TWriter &w) { w.WriteInteger(int64_t(1) << 31); },
         "13 00 00 00 80 00 00 00 00",
         [](TReader &r) { EXPECT_EQ(r.ReadInt64(), int64_t(1) << 31); }},
        {"extended", [](TWriter &w) { w.WriteFloat(1.0L); }, "05 00 00 00 00 00 00 00 80 FF 3F",
         [](TReader &r) { EXPECT_EQ(r.ReadFloat(), 1.0L); }},
        {"single", [](TWriter &w) { w.WriteSingle(1.5f); }, "0F 00 00 C0 3F",
         [](TReader &r) { EXPECT_EQ(r.ReadSingle(), 1.5f); }},
        {"double", [](TWriter &w) { w.WriteDouble(-2.0); }, "15 00 00 00 00 00 00 00 C0",
         [](TReader &r) { EXPECT_EQ(r.ReadDouble(), -2.0); }},
        {"date", [](TWriter &w) { w.WriteDate(1.5); }, "11 00 00 00 00 00 00 F8 3F",
         [](TReader &r) { EXPECT_EQ(r.ReadDate(), 1.5); }},
        {"currency", [](TWriter &w) { w.WriteCurrency(12345); }, "10 39 30 00 00 00 00 00 00",
         [](TReader &r) { EXPECT_EQ(r.ReadCurrency(), 12345); }},
        {"empty string", [](TWriter &w) { w.WriteString(u""); }, "12 00 00 00 00",
         [](TReader &r) { EXPECT_EQ(r.ReadString(), u""); }},
        {"ascii string", [](TWriter &w) { w.WriteString(u"abc"); }, "06 03 61 62 63",
         [](TReader &r) { EXPECT_EQ(r.ReadString(), u"abc"); }},
        {"long ascii string", [&](TWriter &w) { w.WriteString(lstring); }, lhex,
         [&](TReader &r) { EXPECT_EQ(r.ReadString(), lstring); }},
        {"utf-8 string", [](TWriter &w) { w.WriteString(u"A\u00e9"); }, "14 03 00 00 00 41 C3 A9",
         [](TReader &r) { EXPECT_EQ(r.ReadString(), u"A\u00e9"); }},
        // Cyrillic takes two bytes a character in UTF-8 too: not shorter, so UTF-16.
        {"wide string", [](TWriter &w) { w.WriteString(u"\u041e\u0442"); },
         "12 02 00 00 00 1E 04 42 04",
         [](TReader &r) { EXPECT_EQ(r.ReadString(), u"\u041e\u0442"); }},
        {"ident", [](TWriter &w) { w.WriteIdent("clRed"); }, "07 05 63 6C 52 65 64",
         [](TReader &r) { EXPECT_EQ(r.ReadIdent(), u"clRed"); }},
        {"ident true", [](TWriter &w) { w.WriteIdent("TRUE"); }, "09",
         [](TReader &r) { EXPECT_EQ(r.ReadIdent(), u"True"); }},
        {"ident nil", [](TWriter &w) { w.WriteIdent("nil"); }, "0D",
         [](TReader &r) { EXPECT_EQ(r.ReadIdent(), u"nil"); }},
        {"ident null", [](TWriter &w) { w.WriteIdent("null"); }, "00",
         [](TReader &r) { EXPECT_EQ(r.ReadIdent(), u"Null"); }},
        {"false", [](TWriter &w) { w.WriteBoolean(false); }, "08",
         [](TReader &r) { EXPECT_FALSE(r.ReadBoolean()); }},
        {"true", [](TWriter &w) { w.WriteBoolean(true); }, "09",
         [](TReader &r) { EXPECT_TRUE(r.ReadBoolean()); }},
        {"binary", [](TWriter &w) { w.WriteBinary("\x01\xFE", 2); }, "0A 02 00 00 00 01 FE",
         [](TReader &r) {
             EXPECT_EQ(r.ReadBinary(), (TBytes{1, 0xFE}));
         }},
        // Members in ascending order whatever order the names came in.
        {"set",
         [](TWriter &w) {
             w.WriteSet(0b101, {"a", "b", "c"});
         },
         "0B 01 61 01 63 00",
         [](TReader &r) {
             EXPECT_EQ(r.ReadSet({"A", "b", "C"}), 0b101u);
         }},
        {"empty set", [](TWriter &w) { w.WriteSet(0, {"a"}); }, "0B 00",
         [](TReader &r) { EXPECT_EQ(r.ReadSet({"a"}), 0u); }},
        {"list",
         [](TWriter &w) {
             w.WriteListBegin();
             w.WriteInteger(1);
             w.WriteString(u"x");
             w.WriteListEnd();
         },
         "01 02 01 06 01 78 00",
         [](TReader &r) {
             r.ReadListBegin();
             EXPECT_EQ(r.ReadInteger(), 1);
             EXPECT_EQ(r.ReadString(), u"x");
             EXPECT_TRUE(r.EndOfList());
             r.ReadListEnd();
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = Written(c.write);
        EXPECT_EQ(bytes, c.bytes);
        TMemoryStream s = StreamOf(bytes);
        TReader reader(s);
        c.check(reader);
        EXPECT_EQ(s.GetPosition(), s.GetSize());
        s.SetPosition(0);
        reader.SkipValue();
        EXPECT_EQ(s.GetPosition(), s.GetSize());
    }
}

TEST(Streaming, ReadersTakeTheValueTypesTheyAreMeantTo) {
    struct Case {
        const char *bytes;
        long double asFloat;
    };
    // Every floating-point form, a currency, and integers, read as a float.
    const Case floats[] = {{"05 00 00 00 00 00 00 00 C0 00 40", 3.0L},
                           {"15 00 00 00 00 00 00 E0 3F", 0.5L},
                           {"0F 00 00 80 BF", -1.0L},
                           {"11 00 00 00 00 00 00 00 40", 2.0L},
                           {"10 10 27 00 00 00 00 00 00", 1.0L},
                           {"02 FE", -2.0L},
                           {"13 00 00 00 00 01 00 00 00", 4294967296.0L}};
    for (const Case &c : floats) {
        SCOPED_TRACE(c.bytes);
        TMemoryStream s = StreamOf(c.bytes);
        TReader reader(s);
        EXPECT_EQ(reader.ReadFloat(), c.asFloat);
    }
    // Strings of the old 8-bit forms are in the ANSI code page (1251).
    TMemoryStream ansi = StreamOf("06 02 CE F2");
    EXPECT_EQ(TReader(ansi).ReadString(), u"\u041e\u0442");
    // Integers and floats read as a currency are scaled to ten-thousandths.
    TMemoryStream integer = StreamOf("02 03");
    EXPECT_EQ(TReader(integer).ReadCurrency(), 30000);
    TMemoryStream fraction = StreamOf("15 00 00 00 00 00 00 E0 3F");
    EXPECT_EQ(TReader(fraction).ReadCurrency(), 5000);
}

TEST(Streaming, ValuesOfAnotherTypeAreInvalid) {
    struct Case {
        const char *what;
        const char *bytes;
        std::function<void(TReader &)> read;
    };
    const Case cases[] = {
        {"integer from a string", "06 01 31", [](TReader &r) { r.ReadInteger(); }},
        {"integer from an int64", "13 00 00 00 00 00 00 00 00",
         [](TReader &r) { r.ReadInteger(); }},
        {"string from an integer", "02 01", [](TReader &r) { r.ReadString(); }},
        {"float from a string", "06 01 31", [](TReader &r) { r.ReadFloat(); }},
        {"ident from a string", "06 01 31", [](TReader &r) { r.ReadIdent(); }},
        {"binary from a list", "01 00", [](TReader &r) { r.ReadBinary(); }},
        {"list from an integer", "02 01", [](TReader &r) { r.ReadListBegin(); }},
        {"set member unknown", "0B 01 7A 00", [](TReader &r) { r.ReadSet({"a"}); }},
        {"currency beyond 64 bits", "13 FF FF FF FF FF FF FF 7F",
         [](TReader &r) { r.ReadCurrency(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadError(c.bytes, c.read), "Invalid property value");
    }
}

// The class library read any tag but vaTrue as False, leaving the rest of the value to be read
// as what follows.
TEST(Streaming, BooleanOfAnotherTypeIsInvalid) {
    EXPECT_EQ(ReadError("04 01 00 00 00", [](TReader &r) { r.ReadBoolean(); }),
              "Invalid property value");
}

TEST(Streaming, MalformedValuesFailWithTheirMessage) {
    struct Case {
        const char *what;
        std::string bytes;
        const char *message;
    };
    const Case cases[] = {
        {"unknown tag", "16", "Invalid stream format"},
        {"tag far beyond", "FF", "Invalid stream format"},
        {"negative length", "0C FF FF FF FF", "Invalid stream format"},
        {"negative wide length", "12 00 00 00 80", "Invalid stream format"},
        // Announced lengths beyond the stream fail before anything is allocated for them.
        {"huge length", "0A FF FF FF 7F 00", "Stream read error"},
        {"huge wide length", "12 FF FF FF 3F 00 00", "Stream read error"},
        {"short integer", "04 01 02", "Stream read error"},
        {"short extended", "05 00 00 00", "Stream read error"},
        {"short name", "07 05 61 62", "Stream read error"},
        {"unended list", "01 02 01", "Stream read error"},
        {"unended set", "0B 01 61", "Stream read error"},
        {"empty", "", "Stream read error"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadError(c.bytes, [](TReader &r) { r.SkipValue(); }), c.message);
    }
    EXPECT_EQ(ReadError("0A FF FF FF 7F 00", [](TReader &r) { r.ReadBinary(); }),
              "Stream read error");
    EXPECT_EQ(ReadError("0C FF FF FF 7F 00", [](TReader &r) { r.ReadString(); }),
              "Stream read error");
}

TEST(Streaming, NestingDeeperThanTheLimitIsRefused) {
    std::string within, beyond;
    for (int i = 0; i < kMaxStreamDepth; ++i) {
        within += "01 ";
    }
    for (int i = 0; i < kMaxStreamDepth; ++i) {
        within += i + 1 < kMaxStreamDepth ? "00 " : "00";
    }
    for (int i = 0; i < 100000; ++i) {
        beyond += "01 ";
    }
    EXPECT_EQ(ReadError(within, [](TReader &r) { r.SkipValue(); }), "no error");
    EXPECT_EQ(ReadError(beyond, [](TReader &r) { r.SkipValue(); }), "Invalid stream format");
    std::string collections;
    for (int i = 0; i < 1000; ++i) {
        collections += "0E 01 08 43 68 69 6C 64 72 65 6E ";
    }
    EXPECT_EQ(ReadError(collections, [](TReader &r) { r.SkipValue(); }), "Invalid stream format");
}

// A name's UTF-8 form longer than a length byte can say was cut off silently, which could also
// cut a character in two; it is refused.
TEST(Streaming, WriteStrRefusesNamesLongerThan255Bytes) {
    EXPECT_NO_THROW(Written([](TWriter &w) { w.WriteStr(std::string(255, 'n')); }));
    EXPECT_THROW(Written([](TWriter &w) { w.WriteStr(std::string(256, 'n')); }), EWriteError);
}

// UTF-8 cannot carry an unpaired surrogate (it would become U+FFFD): such text is written as
// UTF-16 and reads back unchanged.
TEST(Streaming, WriteStringKeepsUnpairedSurrogates) {
    const UnicodeString text = {u'a', char16_t(0xD800), u'b', u'c', u'd', u'e'};
    const std::string bytes = Written([&](TWriter &w) { w.WriteString(text); });
    EXPECT_EQ(bytes.substr(0, 14), "12 06 00 00 00");
    TMemoryStream s = StreamOf(bytes);
    EXPECT_EQ(TReader(s).ReadString(), text);
}

TEST(Streaming, ExtendedNumbersHaveTheX87Layout) {
    struct Case {
        long double value;
        const char *bytes;
    };
    const Case cases[] = {
        {0.0L, "00 00 00 00 00 00 00 00 00 00"},
        {-0.0L, "00 00 00 00 00 00 00 00 00 80"},
        {1.0L, "00 00 00 00 00 00 00 80 FF 3F"},
        {-1.5L, "00 00 00 00 00 00 00 C0 FF BF"},
        {0.1L, "CD CC CC CC CC CC CC CC FB 3F"},
        {HUGE_VALL, "00 00 00 00 00 00 00 80 FF 7F"},
        {-HUGE_VALL, "00 00 00 00 00 00 00 80 FF FF"},
        {std::nanl(""), "00 00 00 00 00 00 00 C0 FF 7F"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        const auto bytes = ExtendedToBytes(c.value);
        EXPECT_EQ(Hex(bytes.data(), 10), c.bytes);
        const long double back = BytesToExtended(bytes);
        if (std::isnan(c.value)) {
            EXPECT_TRUE(std::isnan(back));
        } else {
            EXPECT_EQ(back, c.value);
            EXPECT_EQ(std::signbit(back), std::signbit(c.value));
        }
    }
}

// Where long double is the x87 format itself, every value's bytes are its memory image, both
// ways: normal numbers over the whole exponent range, and denormals.
TEST(Streaming, ExtendedNumbersMatchTheHardwareFormat) {
    if constexpr (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "long double is not the x87 extended format here";
    }
    std::mt19937_64 random(20240607);
    for (int i = 0; i < 100000; ++i) {
        std::array<uint8_t, 10> image{};
        uint64_t significand = random();
        const auto top = uint16_t(random());
        const bool denormal = i % 10 == 0;
        const uint16_t exponent = denormal ? 0 : uint16_t(1 + (top & 0x7FFF) % 0x7FFE);
        significand = denormal ? significand >> 1 : significand | (uint64_t(1) << 63);
        const uint16_t field = uint16_t(exponent | (top & 0x8000));
        std::memcpy(image.data(), &significand, 8);
        std::memcpy(image.data() + 8, &field, 2);
        long double value = 0;
        std::memcpy(&value, image.data(), 10);
        ASSERT_EQ(ExtendedToBytes(value), image) << Hex(image.data(), 10);
        const long double back = BytesToExtended(image);
        ASSERT_EQ(std::memcmp(&back, image.data(), 10), 0) << Hex(image.data(), 10);
    }
    EXPECT_EQ(Hex(ExtendedToBytes(LDBL_MAX).data(), 10), "FF FF FF FF FF FF FF FF FE 7F");
    EXPECT_EQ(Hex(ExtendedToBytes(LDBL_TRUE_MIN).data(), 10), "01 00 00 00 00 00 00 00 00 00");
}
