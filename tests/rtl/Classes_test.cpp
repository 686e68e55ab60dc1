// Streams: memory and file streams, buffer transfers, copying, sizes, and the exact errors.
#include "platform/rtl/Classes.h"

#include "platform/rtl/Exceptions.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>

#include <sys/stat.h>

using namespace rtl;

namespace {

using wbtest::TTempFolder;

void WriteBytes(const UnicodeString &path, const std::string &bytes) {
    wbtest::WriteFileBytes(Utf16ToUtf8(path), bytes);
}

std::string ReadBytes(const UnicodeString &path) {
    return wbtest::ReadFileBytes(Utf16ToUtf8(path));
}

std::string Content(TMemoryStream &stream) {
    const auto *bytes = reinterpret_cast<const char *>(stream.GetMemory());
    return bytes == nullptr ? std::string() : std::string(bytes, stream.GetSize());
}

TMemoryStream StreamOf(const std::string &bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    return stream;
}

template <typename E, typename F> void ExpectError(F &&call, const UnicodeString &message) {
    try {
        call();
        ADD_FAILURE() << "no exception";
    } catch (const E &e) {
        EXPECT_EQ(e.Message(), message);
    }
}

} // namespace

TEST(MemoryStream, ReadsWritesAndSeeks) {
    TMemoryStream stream;
    EXPECT_EQ(stream.Write("hello", 5), 5);
    EXPECT_EQ(stream.GetPosition(), 5);
    EXPECT_EQ(stream.GetSize(), 5);
    EXPECT_EQ(stream.Seek(-2, soEnd), 3);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "lo");
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    EXPECT_EQ(stream.Seek(-4, soCurrent), 1);
    EXPECT_EQ(stream.Write("EL", 2), 2);
    EXPECT_EQ(Content(stream), "hELlo");
}

TEST(MemoryStream, CountsAndPositionsOutsideTheDataTransferNothing) {
    TMemoryStream stream = StreamOf("abc");
    char buffer[4] = {};
    EXPECT_EQ(stream.Read(buffer, -1), 0);
    EXPECT_EQ(stream.Write(buffer, -1), 0);
    stream.SetPosition(-1);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    EXPECT_EQ(stream.Write("x", 1), 0);
    stream.SetPosition(10);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    EXPECT_EQ(Content(stream), "abc");
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream stream = StreamOf("ab");
    stream.Seek(2, soEnd);
    stream.WriteBuffer("z", 1);
    EXPECT_EQ(Content(stream), std::string("ab\0\0z", 5));
    EXPECT_EQ(stream.GetPosition(), 5);
}

TEST(MemoryStream, SetSizeKeepsDataAndLimitsThePosition) {
    TMemoryStream stream = StreamOf("abcdef");
    stream.SetPosition(5);
    stream.SetSize(3);
    EXPECT_EQ(stream.GetPosition(), 3);
    EXPECT_EQ(Content(stream), "abc");
    stream.SetPosition(1);
    stream.SetSize(5);
    EXPECT_EQ(stream.GetPosition(), 1);
    EXPECT_EQ(Content(stream), std::string("abc\0\0", 5));
    stream.Clear();
    EXPECT_EQ(stream.GetSize(), 0);
    EXPECT_EQ(stream.GetPosition(), 0);
    EXPECT_EQ(stream.GetMemory(), nullptr);
}

TEST(MemoryStream, ImpossibleSizesRaiseTheExpansionError) {
    const UnicodeString message = u"Out of memory while expanding memory stream";
    TMemoryStream stream = StreamOf("abc");
    ExpectError<EStreamError>([&] { stream.SetSize(-1); }, message);
    ExpectError<EStreamError>([&] { stream.SetSize(std::numeric_limits<int64_t>::max()); },
                              message);
    stream.SetPosition(std::numeric_limits<int64_t>::max() - 2);
    ExpectError<EStreamError>([&] { stream.Write("abcdef", 6); }, message);
    EXPECT_EQ(Content(stream), "abc");
}

TEST(Stream, ReadBufferPastTheEndRaises) {
    TMemoryStream stream = StreamOf("abc");
    char buffer[4];
    stream.ReadBuffer(buffer, 2);
    ExpectError<EReadError>([&] { stream.ReadBuffer(buffer, 2); }, u"Stream read error");
    stream.ReadBuffer(buffer, 0);
}

TEST(Stream, WriteBufferThatFallsShortRaises) {
    TTempFolder folder;
    WriteBytes(folder.File("ro.bin"), "abc");
    TFileStream readOnly(folder.File("ro.bin"), fmOpenRead);
    ExpectError<EWriteError>([&] { readOnly.WriteBuffer("x", 1); }, u"Stream write error");
}

TEST(Stream, CopyFromCopiesACountOrTheWholeSource) {
    TMemoryStream source = StreamOf("0123456789");
    source.SetPosition(7);
    TMemoryStream whole;
    EXPECT_EQ(whole.CopyFrom(source, 0), 10);
    EXPECT_EQ(Content(whole), "0123456789");

    source.SetPosition(2);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(Content(part), "234");
    EXPECT_EQ(source.GetPosition(), 5);

    ExpectError<EReadError>([&] { part.CopyFrom(source, 6); }, u"Stream read error");
}

TEST(Stream, CopyFromCopiesLargeSourcesInChunks) {
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7);
    }
    TMemoryStream source = StreamOf(big);
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(source, 0), 200000);
    EXPECT_EQ(Content(target), big);
}

TEST(MemoryStream, LoadsAndSavesWholeStreamsAndFiles) {
    TTempFolder folder;
    WriteBytes(folder.File("in.bin"), std::string("\x00\x01\xFF", 3));
    TMemoryStream stream;
    stream.LoadFromFile(folder.File("in.bin"));
    EXPECT_EQ(Content(stream), std::string("\x00\x01\xFF", 3));

    stream.SetPosition(2);
    stream.SaveToFile(folder.File("out.bin"));
    EXPECT_EQ(ReadBytes(folder.File("out.bin")), std::string("\x00\x01\xFF", 3));

    TMemoryStream copy;
    stream.SetPosition(3);
    copy.LoadFromStream(stream);
    EXPECT_EQ(Content(copy), Content(stream));
}

TEST(FileStream, CreatesWritesReadsAndResizes) {
    TTempFolder folder;
    {
        TFileStream file(folder.File("data.bin"), fmCreate);
        file.WriteBuffer("abcdef", 6);
        EXPECT_EQ(file.GetSize(), 6);
        EXPECT_EQ(file.GetPosition(), 6);
        file.SetSize(4);
        EXPECT_EQ(file.GetPosition(), 4);
    }
    EXPECT_EQ(ReadBytes(folder.File("data.bin")), "abcd");
    {
        TFileStream file(folder.File("data.bin"), fmOpenReadWrite | fmShareDenyNone);
        EXPECT_EQ(file.Seek(2, soBeginning), 2);
        file.WriteBuffer("XYZ", 3);
        file.SetPosition(0);
        char buffer[8] = {};
        EXPECT_EQ(file.Read(buffer, 8), 5);
        EXPECT_EQ(std::string(buffer, 5), "abXYZ");
        ExpectError<EReadError>([&] { file.ReadBuffer(buffer, 1); }, u"Stream read error");
    }
    {
        TFileStream file(folder.File("data.bin"), fmCreate);
        EXPECT_EQ(file.GetSize(), 0);
    }
}

TEST(FileStream, OpenErrorsCarryThePathAndTheSystemReason) {
    TTempFolder folder;
    const UnicodeString dir = Utf8ToUtf16(folder.Path().string());
    WriteBytes(folder.File("exists.bin"), "x");
    struct Case {
        UnicodeString name;
        uint16_t mode;
        UnicodeString message;
    } cases[] = {
        {dir + u"/missing.bin", fmOpenRead,
         u"Cannot open file \"" + dir + u"/missing.bin\". Не удается найти указанный файл"},
        {dir + u"/no/such/missing.bin", fmOpenRead,
         u"Cannot open file \"" + dir +
             u"/no/such/missing.bin\". Системе не удается найти указанный путь"},
        {dir + u"\\no\\new.bin", fmCreate,
         u"Cannot create file \"" + dir +
             u"/no/new.bin\". Системе не удается найти указанный путь"},
        {dir, fmOpenRead, u"Cannot open file \"" + dir + u"\". Отказано в доступе"},
        {dir + u"/exists.bin", fmCreate | fmExclusive,
         u"Cannot create file \"" + dir + u"/exists.bin\". Файл существует"},
    };
    for (const Case &c : cases) {
        try {
            TFileStream file(c.name, c.mode);
            ADD_FAILURE() << "no exception for " << Utf16ToUtf8(c.name);
        } catch (const EFOpenError &e) {
            EXPECT_EQ(e.Message(), c.message);
            EXPECT_NE(c.mode & fmCreate, fmCreate);
        } catch (const EFCreateError &e) {
            EXPECT_EQ(e.Message(), c.message);
            EXPECT_EQ(c.mode & fmCreate, fmCreate);
        }
    }
}

TEST(FileStream, FifosAndDevicesAreRefusedWithoutWaiting) {
    TTempFolder folder;
    const std::string fifo = (folder / "record.edf").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const UnicodeString &name : {Utf8ToUtf16(fifo), UnicodeString(u"/dev/zero")}) {
        for (const uint16_t mode : {uint16_t(fmOpenRead), uint16_t(fmOpenReadWrite)}) {
            try {
                TFileStream file(name, mode);
                ADD_FAILURE() << "opened " << Utf16ToUtf8(name);
            } catch (const EFOpenError &e) {
                EXPECT_EQ(e.Message(), u"Cannot open file \"" + name +
                                           u"\". Это не файл, а устройство или канал");
            }
        }
    }
    EXPECT_THROW(TFileStream(Utf8ToUtf16(fifo), fmCreate), EFCreateError);
}

TEST(FileStream, OpensAnExistingFileWhateverTheCaseOfItsName) {
    TTempFolder folder;
    std::filesystem::create_directory(folder / "EDF");
    WriteBytes(folder.File("EDF/ECG0001.EDF"), "record");
    for (const char16_t *name : {u"EDF/ECG0001.EDF", u"EDF/ecg0001.edf", u"edf\\Ecg0001.Edf"}) {
        TFileStream file(folder.File("") + name, fmOpenRead);
        EXPECT_EQ(file.GetSize(), 6) << Utf16ToUtf8(name);
        EXPECT_EQ(file.GetFileName(), folder.File("EDF/ECG0001.EDF"));
    }
}

TEST(FileStream, CreatingUnderAnotherCaseReplacesTheExistingFile) {
    TTempFolder folder;
    WriteBytes(folder.File("Report.txt"), "old content");
    {
        TFileStream file(folder.File("REPORT.TXT"), fmCreate);
        file.WriteBuffer("new", 3);
    }
    EXPECT_EQ(ReadBytes(folder.File("Report.txt")), "new");
    EXPECT_FALSE(std::filesystem::exists(folder / "REPORT.TXT"));
}

TEST(FileStream, CreatesANewFileInAFolderNamedInAnotherCase) {
    TTempFolder folder;
    std::filesystem::create_directory(folder / "Out");
    {
        TFileStream file(folder.File("OUT\\picture.emf"), fmCreate);
        file.WriteBuffer("emf", 3);
    }
    EXPECT_EQ(ReadBytes(folder.File("Out/picture.emf")), "emf");
}
