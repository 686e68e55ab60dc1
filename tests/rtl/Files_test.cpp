// File names and file operations: path components, Windows-like lookup, moving without replacing.
#include "platform/rtl/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace rtl;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtl_fi_XXXXXX").string();
        FPath = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(FPath); }
    std::string Native(const std::string &name) const { return FPath + "/" + name; }
    UnicodeString File(const std::string &name) const { return Utf8ToUtf16(Native(name)); }

private:
    std::string FPath;
};

void WriteText(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(FileNames, SplitsPathsAtEitherSeparator) {
    struct Case {
        UnicodeString name, path, file, ext;
    } cases[] = {
        {u"/opt/wb/EDF/base.info", u"/opt/wb/EDF/", u"base.info", u".info"},
        {u"C:\\wb\\EDF\\ECG0001.edf", u"C:\\wb\\EDF\\", u"ECG0001.edf", u".edf"},
        {u"/opt/wb/EDF\\", u"/opt/wb/EDF\\", u"", u""},
        {u"Result.txt", u"", u"Result.txt", u".txt"},
        {u"/a.b/c", u"/a.b/", u"c", u""},
        {u"/a/archive.tar.gz", u"/a/", u"archive.tar.gz", u".gz"},
        {u"/a/name.", u"/a/", u"name.", u"."},
        {u"/папка/Отчёт.EMF", u"/папка/", u"Отчёт.EMF", u".EMF"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << Utf16ToUtf8(c.name);
        EXPECT_EQ(ExtractFileName(c.name), c.file) << Utf16ToUtf8(c.name);
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << Utf16ToUtf8(c.name);
    }
}

TEST(FileNames, ChangesTheExtension) {
    struct Case {
        UnicodeString name, ext, result;
    } cases[] = {
        {u"/r/report.wmf", u"bmp", u"/r/reportbmp"},
        {u"/r/report", u"bmp", u"/r/reportbmp"},
        {u"/r/report.emf", u".wmf", u"/r/report.wmf"},
        {u"/r.d/report", u".txt", u"/r.d/report.txt"},
        {u"/r/report.tar.gz", u"", u"/r/report.tar"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ChangeFileExt(c.name, c.ext), c.result) << Utf16ToUtf8(c.name);
    }
}

TEST(FileNames, AddsAndRemovesTheTrailingSeparator) {
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a"), u"/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a/"), u"/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"a\\"), u"a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u""), u"/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/a/"), u"/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/a"), u"/a");
}

TEST(FileNames, ExpandsNamesToAbsolutePaths) {
    EXPECT_EQ(ExpandFileName(u"/a/b/../c/./d"), u"/a/c/d");
    EXPECT_EQ(ExpandFileName(u"\\a\\b\\"), u"/a/b/");
    const UnicodeString cwd = Utf8ToUtf16(std::filesystem::current_path().string());
    EXPECT_EQ(ExpandFileName(u"x.txt"), cwd + u"/x.txt");
    EXPECT_EQ(ToPlatformPath(u"EDF\\base.info"), u"EDF/base.info");
}

TEST(Folders, ExecutableAndTempFoldersEndWithASeparator) {
    const UnicodeString exe = GetExecutableFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.back(), u'/');
    EXPECT_TRUE(DirectoryExists(exe));
    EXPECT_TRUE(FileExists(
        exe + Utf8ToUtf16(std::filesystem::path(program_invocation_name).filename().string())));
    EXPECT_EQ(GetTempFolder().back(), u'/');
}

TEST(FileLookup, FindsExistingNamesWithoutRegardToCase) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Native("EDF/Sub"));
    WriteText(folder.Native("EDF/ECG0001.EDF"), "a");
    WriteText(folder.Native("EDF/ОТЧЁТ.txt"), "b");
    struct Case {
        std::string asked, found;
    } cases[] = {
        {"EDF/ECG0001.EDF", "EDF/ECG0001.EDF"},
        {"EDF/ecg0001.edf", "EDF/ECG0001.EDF"},
        {"edf/Ecg0001.EDF", "EDF/ECG0001.EDF"},
        {"edf\\sub\\", "EDF/Sub/"},
        {"EDF/отчёт.TXT", "EDF/ОТЧЁТ.txt"},
        {"EDF/missing.edf", "EDF/missing.edf"},
        {"nothing\\ECG0001.EDF", "nothing/ECG0001.EDF"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ResolveExistingFileName(folder.File(c.asked)), folder.File(c.found)) << c.asked;
    }
    EXPECT_TRUE(FileExists(folder.File("edf/ecg0001.edf")));
    EXPECT_FALSE(FileExists(folder.File("edf/sub")));
    EXPECT_TRUE(DirectoryExists(folder.File("edf/sub")));
    EXPECT_FALSE(DirectoryExists(folder.File("edf/ecg0001.edf")));
    EXPECT_FALSE(FileExists(folder.File("EDF/ECG0002.EDF")));
}

TEST(FileLookup, PrefersTheExactNameThenTheFirstInByteOrder) {
    TempFolder folder;
    WriteText(folder.Native("b.TXT"), "upper");
    WriteText(folder.Native("b.txt"), "lower");
    EXPECT_EQ(ResolveExistingFileName(folder.File("b.txt")), folder.File("b.txt"));
    EXPECT_EQ(ResolveExistingFileName(folder.File("B.Txt")), folder.File("b.TXT"));
}

TEST(FileOperations, MoveFileNoReplaceRefusesAnExistingTarget) {
    TempFolder folder;
    WriteText(folder.Native("new.tmp"), "new picture");
    WriteText(folder.Native("chosen.emf"), "old picture");
    EXPECT_FALSE(MoveFileNoReplace(folder.File("new.tmp"), folder.File("chosen.emf")));
    EXPECT_EQ(ReadText(folder.Native("chosen.emf")), "old picture");
    EXPECT_EQ(ReadText(folder.Native("new.tmp")), "new picture");

    EXPECT_FALSE(MoveFileNoReplace(folder.File("new.tmp"), folder.File("CHOSEN.EMF")));
    EXPECT_EQ(ReadText(folder.Native("chosen.emf")), "old picture");

    EXPECT_TRUE(MoveFileNoReplace(folder.File("NEW.TMP"), folder.File("other.emf")));
    EXPECT_EQ(ReadText(folder.Native("other.emf")), "new picture");
    EXPECT_FALSE(std::filesystem::exists(folder.Native("new.tmp")));
    EXPECT_FALSE(MoveFileNoReplace(folder.File("new.tmp"), folder.File("third.emf")));
}

TEST(FileOperations, RenameFileReplacesTheTarget) {
    TempFolder folder;
    WriteText(folder.Native("a.tmp"), "fresh");
    WriteText(folder.Native("b.emf"), "stale");
    EXPECT_TRUE(RenameFile(folder.File("A.TMP"), folder.File("b.emf")));
    EXPECT_EQ(ReadText(folder.Native("b.emf")), "fresh");
    EXPECT_FALSE(std::filesystem::exists(folder.Native("a.tmp")));
    EXPECT_FALSE(RenameFile(folder.File("a.tmp"), folder.File("c.emf")));
    EXPECT_TRUE(RenameFile(folder.File("b.emf"), folder.File("B.EMF")));
    EXPECT_EQ(ReadText(folder.Native("B.EMF")), "fresh");
    EXPECT_FALSE(std::filesystem::exists(folder.Native("b.emf")));
}

TEST(FileLookup, NamesForWritingUseTheFolderFoundWithoutRegardToCase) {
    TempFolder folder;
    std::filesystem::create_directory(folder.Native("EDF"));
    WriteText(folder.Native("EDF/Base.info"), "x");
    EXPECT_EQ(ResolveFileNameForWriting(folder.File("edf/base.INFO")),
              folder.File("EDF/Base.info"));
    EXPECT_EQ(ResolveFileNameForWriting(folder.File("edf\\new.txt")), folder.File("EDF/new.txt"));
    EXPECT_EQ(ResolveFileNameForWriting(folder.File("none/new.txt")), folder.File("none/new.txt"));
    EXPECT_EQ(ResolveFileNameForWriting(u"plain.txt"), u"plain.txt");
}

TEST(FileOperations, DeleteFileRemovesFilesOnly) {
    TempFolder folder;
    WriteText(folder.Native("Gone.txt"), "x");
    std::filesystem::create_directory(folder.Native("dir"));
    EXPECT_TRUE(DeleteFile(folder.File("gone.TXT")));
    EXPECT_FALSE(std::filesystem::exists(folder.Native("Gone.txt")));
    EXPECT_FALSE(DeleteFile(folder.File("gone.txt")));
    EXPECT_FALSE(DeleteFile(folder.File("dir")));
    EXPECT_TRUE(std::filesystem::exists(folder.Native("dir")));
}

TEST(FileOperations, CreatesFolders) {
    TempFolder folder;
    EXPECT_FALSE(CreateDir(folder.File("a/b")));
    EXPECT_TRUE(ForceDirectories(folder.File("a\\b\\c\\")));
    EXPECT_TRUE(DirectoryExists(folder.File("a/b/c")));
    EXPECT_TRUE(ForceDirectories(folder.File("a/b/c")));
    EXPECT_TRUE(CreateDir(folder.File("a/d")));
    EXPECT_FALSE(CreateDir(folder.File("a/d")));
}

TEST(FileErrors, UseTheWindowsWordsForCommonCases) {
    TempFolder folder;
    struct Case {
        int error;
        UnicodeString name;
        UnicodeString text;
    } cases[] = {
        {ENOENT, folder.File("missing.txt"), u"Не удается найти указанный файл"},
        {ENOENT, folder.File("no/missing.txt"), u"Системе не удается найти указанный путь"},
        {ENOENT, u"relative.txt", u"Не удается найти указанный файл"},
        {ENOTDIR, folder.File("x"), u"Системе не удается найти указанный путь"},
        {EACCES, folder.File("x"), u"Отказано в доступе"},
        {EISDIR, folder.File("x"), u"Отказано в доступе"},
        {EEXIST, folder.File("x"), u"Файл существует"},
        {ENOSPC, folder.File("x"), u"Недостаточно места на диске"},
        {ENODEV, folder.File("x"), u"Это не файл, а устройство или канал"},
        {EIO, folder.File("x"), u"Input/output error"}, // the C library's words
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FileErrorMessage(c.error, c.name), c.text) << c.error;
    }
}
