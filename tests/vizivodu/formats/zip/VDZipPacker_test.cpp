// The ZIP packer: headers, central directory and end record byte for byte, the CRC, the failed
// state, the archive limits, and every archive accepted by unzip -t and Python's zipfile.
#include "vizivodu/formats/zip/VDZipPacker.h"

#include "vizivodu/document/VDClasses.h"

#include "tests/support/Commands.h"

#include "platform/rtl/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <zlib.h>

using namespace vizivodu;

namespace {

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

uint32_t U32(const std::string &s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
    }
    return v;
}

uint16_t U16(const std::string &s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) |
                                 (static_cast<uint8_t>(s[at + 1]) << 8));
}

std::string Inflate(const std::string &raw, size_t size) {
    std::string out(size, '\0');
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.data()));
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : "<inflate failed>";
}

std::string TempDir() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vdzip_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    return dir.string();
}

} // namespace

TEST(ZipPacker, CrcIsTheZipCrc) {
    EXPECT_EQ(VDZipCrc32("abc", 3), 0x352441C2u);
    EXPECT_EQ(VDZipCrc32("", 0), 0u);
    const char one = 0x01; // table entry 1 reached from a zero register
    EXPECT_EQ(VDZipCrc32(&one, 1), crc32(0, reinterpret_cast<const Bytef *>(&one), 1));
    // Eight bytes at a time, then the rest one by one: every split of a run agrees with zlib.
    std::string bytes;
    for (int i = 0; i < 41; ++i) {
        bytes += static_cast<char>((i * 73 + 29) & 0xFF);
    }
    for (size_t n = 0; n <= bytes.size(); ++n) {
        EXPECT_EQ(VDZipCrc32(bytes.data(), n),
                  crc32(0, reinterpret_cast<const Bytef *>(bytes.data()), uInt(n)))
            << n;
    }
}

TEST(ZipPacker, AnEmptyArchiveIsTheEndRecordAlone) {
    TVDMemoryStream stream;
    stream.WriteBuffer("xyz", 3); // the archive starts at the caller's position
    TVDZipPacker zip;
    zip.CreateZipInStream(stream);
    ASSERT_TRUE(zip.Close());
    const std::string b = Bytes(stream).substr(3);
    EXPECT_EQ(b, std::string("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\x03\0\0\0\0\0", 22));
}

TEST(ZipPacker, HeadersAndDirectoryArePinned) {
    TVDMemoryStream stream;
    TVDZipPacker zip;
    zip.CreateZipInStream(stream);
    const std::string content = "hello hello hello";
    ASSERT_TRUE(zip.Add("word/a.xml", content.data(), static_cast<uint32_t>(content.size())));
    ASSERT_TRUE(zip.Add("", nullptr, 0));
    ASSERT_TRUE(zip.Close());
    const std::string b = Bytes(stream);

    // The first local header, name and data.
    EXPECT_EQ(U32(b, 0), 0x04034B50u);
    EXPECT_EQ(U16(b, 4), 20); // version needed
    EXPECT_EQ(U16(b, 6), 0);  // flags
    EXPECT_EQ(U16(b, 8), 8);  // deflate
    EXPECT_EQ(U32(b, 14), VDZipCrc32(content.data(), content.size()));
    const uint32_t packed = U32(b, 18);
    EXPECT_EQ(U32(b, 22), content.size());
    EXPECT_EQ(U16(b, 26), 10); // name length
    EXPECT_EQ(U16(b, 28), 0);  // extra length
    EXPECT_EQ(b.substr(30, 10), "word/a.xml");
    EXPECT_EQ(Inflate(b.substr(40, packed), content.size()), content);

    // The empty file: the empty final block, size 0, CRC 0.
    const size_t second = 40 + packed;
    EXPECT_EQ(U32(b, second), 0x04034B50u);
    EXPECT_EQ(U32(b, second + 14), 0u);
    EXPECT_EQ(U32(b, second + 18), 2u);
    EXPECT_EQ(U32(b, second + 22), 0u);

    // The central directory: a record per file in order, copying the local headers.
    const size_t dir = second + 30 + 2;
    EXPECT_EQ(U32(b, dir), 0x02014B50u);
    EXPECT_EQ(U16(b, dir + 4), 20); // made by
    EXPECT_EQ(b.substr(dir + 6, 26), b.substr(4, 26));
    EXPECT_EQ(b.substr(dir + 32, 10), std::string(10, '\0'));
    EXPECT_EQ(U32(b, dir + 42), 0u); // local header offset
    EXPECT_EQ(b.substr(dir + 46, 10), "word/a.xml");
    const size_t dir2 = dir + 56;
    EXPECT_EQ(b.substr(dir2 + 6, 26), b.substr(second + 4, 26));
    EXPECT_EQ(U32(b, dir2 + 42), second);

    // The end record.
    const size_t end = dir2 + 46;
    ASSERT_EQ(b.size(), end + 22);
    EXPECT_EQ(U32(b, end), 0x06054B50u);
    EXPECT_EQ(U16(b, end + 8), 2);
    EXPECT_EQ(U16(b, end + 10), 2);
    EXPECT_EQ(U32(b, end + 12), end - dir);
    EXPECT_EQ(U32(b, end + 16), dir);
}

TEST(ZipPacker, AfterAFailedAddNothingMoreIsWrittenAndTheFileGoes) {
    const std::string dir = TempDir();
    const rtl::UnicodeString name = rtl::Utf8ToUtf16(dir + "/a.zip");
    TVDZipPacker zip;
    ASSERT_TRUE(zip.CreateZipFile(name));
    ASSERT_TRUE(zip.Add("a", "x", 1));
    const auto size = std::filesystem::file_size(dir + "/a.zip");
    // A name longer than the 16-bit length field cannot be stored.
    const std::string tooLong(70000, 'n');
    EXPECT_FALSE(zip.Add(tooLong, "x", 1));
    EXPECT_TRUE(zip.Failed);
    EXPECT_FALSE(zip.Add("b", "y", 1));
    EXPECT_EQ(std::filesystem::file_size(dir + "/a.zip"), size);
    EXPECT_FALSE(zip.Close());
    EXPECT_FALSE(std::filesystem::exists(dir + "/a.zip"));
    std::filesystem::remove_all(dir);
}

TEST(ZipPacker, AFileThatCannotBeCreatedLeavesNoStream) {
    TVDZipPacker zip;
    EXPECT_FALSE(zip.CreateZipFile(u"/nonexistent-folder/a.zip"));
    EXPECT_FALSE(zip.Close());
}

TEST(ZipPacker, TwoFilesOfOneNameAreBothStored) {
    TVDMemoryStream stream;
    TVDZipPacker zip;
    zip.CreateZipInStream(stream);
    EXPECT_TRUE(zip.Add("same", "1", 1));
    EXPECT_TRUE(zip.Add("same", "2", 1));
    ASSERT_TRUE(zip.Close());
    const std::string b = Bytes(stream);
    EXPECT_EQ(U16(b, b.size() - 22 + 10), 2);
}

TEST(ZipPacker, ArchivesPassUnzipAndPythonZipfile) {
    if (!wbtest::HaveTool("unzip") || !wbtest::HaveTool("python3")) {
        GTEST_SKIP() << "unzip or python3 missing";
    }
    const std::string dir = TempDir();
    const std::string file = dir + "/test.zip";
    TVDZipPacker zip;
    ASSERT_TRUE(zip.CreateZipFile(rtl::Utf8ToUtf16(file)));
    std::string big;
    for (int i = 0; i < 20000; ++i) {
        big += std::to_string(i * 7919 % 1000) + ",";
    }
    ASSERT_TRUE(zip.Add("[Content_Types].xml", "<x/>", 4));
    ASSERT_TRUE(zip.Add("word/document.xml", big.data(), static_cast<uint32_t>(big.size())));
    ASSERT_TRUE(zip.Add("word/empty", nullptr, 0));
    ASSERT_TRUE(zip.Close());
    const std::string unzip = wbtest::RunCommand("unzip -t '" + file + "' 2>&1");
    EXPECT_NE(unzip.find("No errors detected"), std::string::npos) << unzip;
    const std::string py = wbtest::RunCommand(
        "python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); "
        "print(z.testzip(), [(i.filename, i.file_size) for i in z.infolist()])\" '" +
        file + "' 2>&1");
    EXPECT_EQ(py, "None [('[Content_Types].xml', 4), ('word/document.xml', " +
                      std::to_string(big.size()) + "), ('word/empty', 0)]\n");
    std::filesystem::remove_all(dir);
}
